#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <thread>

#include "calendar/calendar.h"
#include "core/text.h"
#include "mLib.h"
#include "testing/file_tree.h"
#include "testing/fixtures.h"
#include "testing/recorded_dialogs.h"

namespace zelmor {
namespace {

using testing::FileTree;
using testing::ScopedEnv;
using Texts = std::vector<std::u16string>;

// Listings show local times: the tests fix the zone to UTC.
class UtcTime {
 public:
  UtcTime() { tzset(); }

 private:
  struct Reload {
    ~Reload() { tzset(); }
  } FReload;
  ScopedEnv FTz{"TZ", "UTC"};
};

constexpr std::time_t kMay2 = 1525255872;  // 2018-05-02 10:11:12 UTC

TEST(GetFilesTest, NamesPathsDetailsAndDateLimits) {
  UtcTime utc;
  testing::FixedRegionalSettings br;
  testing::RecordedDialogs dialogs;
  FileTree t;
  t.Write("b.xml", "12345", kMay2);
  t.Write("a.xml", "1", kMay2 + 86400);
  t.Write(".oculto.xml", "", kMay2);
  t.Write("c.txt", "", kMay2);
  t.Folder("pasta.xml");
  TStringList out;
  ASSERT_TRUE(TmFile::GetFiles(out, t.Path("*.xml"), false, false, -1, -1));
  EXPECT_EQ(out.Items, (Texts{u"a.xml", u"b.xml"}));
  ASSERT_TRUE(TmFile::GetFiles(out, t.Path("*.xml"), true, true, -1, -1));
  EXPECT_EQ(out.Items, (Texts{t.Path("a.xml;03/05/2018 10:11:12;1"), t.Path("b.xml;02/05/2018 10:11:12;5")}));
  // Limits are inclusive, to the second.
  const TDateTime may2 = EncodeDateTime(2018, 5, 2, 10, 11, 12, 0);
  ASSERT_TRUE(TmFile::GetFiles(out, t.Path("*.xml"), false, false, may2, may2));
  EXPECT_EQ(out.Items, (Texts{u"b.xml"}));
  ASSERT_TRUE(TmFile::GetFiles(out, t.Path("*.xml"), false, false, may2 + 1.0 / 86400, -1));
  EXPECT_EQ(out.Items, (Texts{u"a.xml"}));
  EXPECT_FALSE(TmFile::GetFiles(out, t.Path("*.xml"), false, false, EncodeDate(2019, 1, 1), -1));
  EXPECT_EQ(out.Count(), 0);
  EXPECT_FALSE(TmFile::GetFiles(out, t.Path("falta/*.xml"), false, false, -1, -1));
  EXPECT_EQ(dialogs.BusyDepth, 0);
  EXPECT_GT(dialogs.BusyBegins, 0);
}

TEST(GetFilesTest, RecordsByNameOrByTime) {
  UtcTime utc;
  testing::FixedRegionalSettings br;
  FileTree t;
  t.Write("b.xml", "bb", kMay2);
  t.Write("a.xml", "a", kMay2 + 60);
  t.Write("ação.xml", "", kMay2);
  t.Write("x;y.xml", "xyz", kMay2 + 60);  // a ";" in the name stays in the name
  TzelArrayArquivo list;
  ASSERT_TRUE(TmFile::GetFiles(list, t.Path("*.xml"), false));
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[0].Nome, t.Path("a.xml"));
  EXPECT_EQ(list[1].Nome, t.Path("ação.xml"));  // next to "a", not after "z"
  EXPECT_EQ(list[2].Nome, t.Path("b.xml"));
  EXPECT_EQ(list[3].Nome, t.Path("x;y.xml"));
  EXPECT_EQ(list[3].Tamanho, 3);
  EXPECT_EQ(list[3].DataHora, EncodeDateTime(2018, 5, 2, 10, 12, 12, 0));
  ASSERT_TRUE(TmFile::GetFiles(list, t.Path("*.xml"), true));
  Texts order;
  for (const auto& a : list) order.push_back(TmFile::FileName(a.Nome));
  EXPECT_EQ(order, (Texts{u"ação.xml", u"b.xml", u"a.xml", u"x;y.xml"}));  // equal times keep the name order
  EXPECT_FALSE(TmFile::GetFiles(list, t.Path("*.txt"), true));
  EXPECT_TRUE(list.empty());
}

TEST(RecursiveListingTest, DepthFirstHiddenFilesInDotFoldersOut) {
  FileTree t;
  t.Write("r/b.txt", "");
  t.Write("r/.h.txt", "");
  t.Write("r/x.dat", "");
  t.Write("r/a/z.txt", "");
  t.Write("r/a/aa/y.txt", "");
  t.Write("r/b/w.txt", "");
  t.Write("r/.git/config.txt", "");
  t.Link("r/b/laco", "..");  // back to r: walked once
  TStringList out;
  ASSERT_TRUE(TmFile::GetFilesRecursive(out, t.Path("r/*.txt"), true));
  EXPECT_EQ(out.Items, (Texts{t.Path("r/.h.txt"), t.Path("r/b.txt"), t.Path("r/a/z.txt"), t.Path("r/a/aa/y.txt"),
                              t.Path("r/b/w.txt")}));
  TzelArrayString names;
  ASSERT_TRUE(TmFile::GetFilesRecursive(names, t.Path("r/*.TXT"), false));
  EXPECT_EQ(names, (Texts{u".h.txt", u"b.txt", u"z.txt", u"y.txt", u"w.txt"}));
  EXPECT_FALSE(TmFile::GetFilesRecursive(out, t.Path("r/*.xml"), true));
  EXPECT_FALSE(TmFile::GetFilesRecursive(out, t.Path("falta/*.txt"), true));
  // Without a folder, the walk starts in the current folder.
  const auto here = std::filesystem::current_path();
  std::filesystem::current_path(t.Native("r/a"));
  ASSERT_TRUE(TmFile::GetFilesRecursive(out, u"*.txt", true));
  std::filesystem::current_path(here);
  EXPECT_EQ(out.Items, (Texts{u"z.txt", u"aa/y.txt"}));
}

TEST(FolderListingTest, FoldersOfAFolder) {
  testing::RecordedDialogs dialogs;
  FileTree t;
  t.Folder("x/sub");
  t.Folder("x/.oculta");
  t.Write("x/arquivo", "");
  t.Link("x/elo", "sub");
  TStringList out;
  ASSERT_TRUE(TmFile::GetDirectories(t.Path("x"), out, false));
  EXPECT_EQ(out.Items, (Texts{u".", u"..", u"elo", u"sub"}));
  ASSERT_TRUE(TmFile::GetDirectories(t.Path("x/"), out, true));
  EXPECT_EQ(out.Items, (Texts{t.Path("x/."), t.Path("x/.."), t.Path("x/elo"), t.Path("x/sub")}));
  EXPECT_FALSE(TmFile::GetDirectories(t.Path("falta"), out, false));
  EXPECT_EQ(out.Count(), 0);
  ASSERT_TRUE(TmFile::GetDirectories(u"/", out, false));
  EXPECT_NE(out.Items.front(), u".");  // the root has neither "." nor ".."
  EXPECT_EQ(dialogs.BusyDepth, 0);
}

TEST(FolderListingTest, FoldersOfATree) {
  FileTree t;
  t.Folder("r/a/x");
  t.Folder("r/b");
  t.Folder("r/.git/objects");
  t.Write("r/a/arquivo", "");
  t.Link("r/a/x/laco", t.Native("r"));
  TStringList out;
  ASSERT_TRUE(TmFile::GetDirectoriesRecursive(out, t.Path("r")));
  // The link is a folder and is listed; it leads back to r, which is not walked again.
  EXPECT_EQ(out.Items, (Texts{t.Path("r/a/"), t.Path("r/b/"), t.Path("r/a/x/"), t.Path("r/a/x/laco/")}));
  EXPECT_FALSE(TmFile::GetDirectoriesRecursive(out, t.Path("r/b/")));
}

// Real processes: a copy of `sleep` under each name, counted and then ended.
class Processes {
 public:
  explicit Processes(const FileTree& t) : FTree(t) {}
  ~Processes() {
    for (pid_t p : FPids) {
      kill(p, SIGKILL);
      waitpid(p, nullptr, 0);
    }
  }
  void Start(const std::string& name) {
    const std::string exe = FTree.Native(name);
    if (!std::filesystem::exists(exe)) std::filesystem::copy_file("/bin/sleep", exe);
    char* argv[] = {const_cast<char*>(exe.c_str()), const_cast<char*>("30"), nullptr};
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, exe.c_str(), nullptr, nullptr, argv, environ), 0);
    FPids.push_back(pid);
  }

 private:
  const FileTree& FTree;
  std::vector<pid_t> FPids;
};

TEST(ProcessCountTest, NamesAgreeOnFifteenCharacters) {
  FileTree t;
  Processes p(t);
  p.Start("caixa.exe");
  p.Start("caixa.exe");
  p.Start("aplicativo_de_vendas.exe");
  p.Start("aplicativo_de_vendas2.exe");
  // Wait (bounded) until the children have replaced themselves with the copies.
  for (int i = 0; i < 200 && TmFile::GetNumeroProcessos(u"CAIXA.EXE") < 2; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(TmFile::GetNumeroProcessos(u"CAIXA.EXE"), 2);
  EXPECT_EQ(TmFile::GetNumeroProcessos(u"Aplicativo_De_Vendas.exe"), 2);
  EXPECT_EQ(TmFile::GetNumeroProcessos(u"caixa"), 0);
  EXPECT_EQ(TmFile::GetNumeroProcessos(u"nenhum-processo-assim"), 0);
}

}  // namespace
}  // namespace zelmor
