#include "files/GravaLogsUnit.h"

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/errors.h"
#include "core/text.h"
#include "mLib.h"
#include "testing/file_tree.h"
#include "testing/fixtures.h"

namespace zelmor {
namespace {

using testing::FileTree;

const std::string kSep(80, '-');

class LogWriterTest : public ::testing::Test {
 protected:
  testing::FixedRegionalSettings FBrazil;
  testing::FixedClock FClock{{2018, 5, 2, 10, 11, 12, 0}};
  FileTree FTree;

  // The log's lines (Windows-1252 file, CR LF).
  std::vector<std::string> Lines(const std::string& name) const {
    std::vector<std::string> lines;
    const std::string bytes = FTree.Read(name);
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
      lines.push_back(bytes.substr(start, end - start));
    EXPECT_EQ(start, bytes.size()) << "every line ends with CR LF";
    return lines;
  }
  void WriteLines(const std::string& name, int count) const {
    std::string s;
    for (int i = 1; i <= count; ++i) s += "velha " + std::to_string(i) + "\r\n";
    FTree.Write(name, s);
  }
};

TEST_F(LogWriterTest, FirstEntryCreatesTheLog) {
  TGravaLogs::Execute(u"frmVenda", u"caixa.log", u"Caixa aberto", FTree.Path() + u"/", 100);
  EXPECT_EQ(Lines("caixa.log"), (std::vector<std::string>{kSep, "2018/05/02 10:11:12 - frmVenda-> Caixa aberto"}));
  FClock.Set({2018, 5, 2, 10, 11, 13, 0});
  TGravaLogs::Execute(u"", u"caixa.log", u"Ação", FTree.Path() + u"/", 100);
  EXPECT_EQ(Lines("caixa.log"), (std::vector<std::string>{kSep, "2018/05/02 10:11:13 - -> A\xe7\xe3o", kSep,
                                                          "2018/05/02 10:11:12 - frmVenda-> Caixa aberto"}));
}

TEST_F(LogWriterTest, OldLinesAreCutToTheMaximum) {
  struct {
    int maximum;
    std::size_t lines;
  } cases[] = {{4, 6}, {0, 2}, {-3, 2}, {10, 12}, {50, 12}};
  for (const auto& c : cases) {
    WriteLines("a.log", 10);
    TGravaLogs::Execute(u"x", u"a.log", u"nova", FTree.Path() + u"/", c.maximum);
    const auto lines = Lines("a.log");
    ASSERT_EQ(lines.size(), c.lines) << c.maximum;
    EXPECT_EQ(lines[0], kSep);
    EXPECT_EQ(lines[1], "2018/05/02 10:11:12 - x-> nova");
    if (lines.size() > 2) {
      EXPECT_EQ(lines[2], "velha 1");  // the newest old lines are kept
      EXPECT_EQ(lines.back(), "velha " + std::to_string(lines.size() - 2));
    }
  }
}

TEST_F(LogWriterTest, FoldersAsGiven) {
  // Blank: the program's folder.
  testing::FixedProcessInfo exe(FTree.Path("bin/quindel"));
  TGravaLogs::Execute(u"", u"a.log", u"m", u"   ", 10);
  EXPECT_EQ(Lines("bin/a.log").size(), 2u);
  // A folder without its separator runs into the name; a missing one is created.
  TGravaLogs::Execute(u"", u"a.log", u"m", FTree.Path("logs"), 10);
  EXPECT_TRUE(FTree.Exists("logsa.log"));
  TGravaLogs::Execute(u"", u"a.log", u"m", FTree.Path("novos/logs/"), 10);
  EXPECT_TRUE(FTree.Exists("novos/logs/a.log"));
  FTree.Write("arquivo", "");
  EXPECT_THROW(TGravaLogs::Execute(u"", u"a.log", u"m", FTree.Path("arquivo/sub/"), 10), EFileError);
}

TEST_F(LogWriterTest, StepByStep) {
  TGravaLogs log(u"frm");
  log.SetNomeLog(u"p.log");
  log.SetMaximoLinhas(-1);
  EXPECT_EQ(log.MaximoLinhas(), 0);
  log.setDiretorio(FTree.Path() + u"/");
  log.loadLogMensagem();
  log.addMensagem(u"um", false);
  log.addMensagem(u"dois\r\ntres", true);  // one item now, two lines once read again
  EXPECT_EQ(log.Logs().Count(), 3);
  log.gravaLogMensagem();
  EXPECT_EQ(Lines("p.log"), (std::vector<std::string>{kSep, "2018/05/02 10:11:12 - frm-> dois", "tres",
                                                      "2018/05/02 10:11:12 - frm-> um"}));
  TGravaLogs again(u"frm");
  again.SetNomeLog(u"p.log");
  again.SetMaximoLinhas(100);
  again.setDiretorio(FTree.Path() + u"/");
  again.loadLogMensagem();
  EXPECT_EQ(again.Logs().Count(), 4);
}

TEST_F(LogWriterTest, TheLogKeepsItsEncoding) {
  FTree.Write("u.log",
              "\xEF\xBB\xBF"
              "antiga \xC3\xA7\r\n");
  TGravaLogs::Execute(u"", u"u.log", u"ç", FTree.Path() + u"/", 10);
  EXPECT_EQ(FTree.Read("u.log"),
            "\xEF\xBB\xBF" + kSep + "\r\n2018/05/02 10:11:12 - -> \xC3\xA7\r\nantiga \xC3\xA7\r\n");
}

// The rewrite is one step: a log that cannot be written stays as it was.
TEST_F(LogWriterTest, AFailedWriteLeavesThePreviousLog) {
  WriteLines("ro.log", 3);
  FTree.ReadOnly("ro.log");
  EXPECT_THROW(TGravaLogs::Execute(u"", u"ro.log", u"m", FTree.Path() + u"/", 10), EFileError);
  EXPECT_EQ(Lines("ro.log"), (std::vector<std::string>{"velha 1", "velha 2", "velha 3"}));
  EXPECT_EQ(FTree.Names(), (std::vector<std::string>{"ro.log"}));
}

// Four processes add 50 entries each to one log at the same time: every entry is kept,
// once, each writer's in the order it wrote them.
TEST_F(LogWriterTest, WritersInOtherProcessesLoseNoEntry) {
  constexpr int kWriters = 4, kEach = 50;
  const std::u16string folder = FTree.Path() + u"/";
  std::vector<pid_t> children;
  for (int w = 0; w < kWriters; ++w) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      int code = 0;
      try {
        for (int i = 0; i < kEach; ++i)
          TGravaLogs::Execute(u"w", u"caixa.log", u"entrada " + IntToStr(w) + u"." + IntToStr(i), folder, 100000);
      } catch (...) {
        code = 3;
      }
      _exit(code);
    }
    children.push_back(pid);
  }
  for (const pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }
  std::map<std::string, int> seen;
  std::vector<int> last(kWriters, kEach);  // newest on top: each writer's numbers go down
  for (const std::string& line : Lines("caixa.log")) {
    if (line == kSep) continue;
    const auto at = line.find("w-> entrada ");
    ASSERT_NE(at, std::string::npos) << line;
    const std::string entry = line.substr(at + 12);
    ++seen[entry];
    const int w = std::stoi(entry.substr(0, entry.find('.'))), i = std::stoi(entry.substr(entry.find('.') + 1));
    ASSERT_TRUE(w >= 0 && w < kWriters) << line;
    EXPECT_EQ(i, last[w] - 1) << line;
    last[w] = i;
  }
  EXPECT_EQ(seen.size(), static_cast<std::size_t>(kWriters * kEach));
  for (const auto& [entry, count] : seen) EXPECT_EQ(count, 1) << entry;
  EXPECT_EQ(FTree.Names(), std::vector<std::string>{"caixa.log"});  // no lock file left beside
}

TEST_F(LogWriterTest, TheDialogHooksDoNothing) {
  TGravaLogs::GravaLogMsg(u"qualquer coisa");
  TGravaLogs::EnviaLogsEmail(FTree.Path(), u".log");
  EXPECT_TRUE(FTree.Names().empty());
}

}  // namespace
}  // namespace zelmor
