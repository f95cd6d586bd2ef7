#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "core/text.h"
#include "files/files.h"
#include "platform/program_start.h"
#include "processes/processes.h"
#include "testing/file_tree.h"
#include "testing/process_table.h"
#include "testing/recorded_dialogs.h"
#include "testing/runtime_doubles.h"

namespace zelmor {
namespace {

using Clock = std::chrono::steady_clock;

// The system's sleep program, found on PATH.
std::string SleepProgram() {
  std::istringstream path(std::getenv("PATH") ? std::getenv("PATH") : "");
  std::string dir;
  while (std::getline(path, dir, ':'))
    if (!dir.empty() && access((dir + "/sleep").c_str(), X_OK) == 0) return dir + "/sleep";
  return {};
}

// Copies of the sleep program under a name of our own, started without waiting; the
// processes are ended (and reaped by the service) when the fixture goes.
class RenamedSleepers : public ::testing::Test {
 protected:
  std::u16string Copy(const std::string& name) {
    const std::string from = SleepProgram();
    if (from.empty()) return {};
    std::filesystem::copy_file(from, FDir.Native(name));
    std::filesystem::permissions(FDir.Native(name), std::filesystem::perms::owner_all);
    return FDir.Path(name);
  }
  bool Start(const std::u16string& program) {
    platform::ProgramStart s;
    s.Arguments = {program, u"30"};
    return platform::Service<platform::Processes>::Get().Start(s);
  }
  // Waits (bounded) until ProcessoAtivo gives `state`.
  static bool Becomes(std::u16string_view name, bool state) {
    const auto limit = Clock::now() + std::chrono::seconds(10);
    while (Clock::now() < limit) {
      if (TmRot::ProcessoAtivo(name) == state) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
  }
  void TearDown() override {
    for (const auto& name : {FName, FOther}) TmRot::InativarProcesso(Utf8ToU16(name));
  }
  // Names of this test process's own, so tests running beside it are never touched.
  const std::string FId = std::to_string(getpid());
  const std::string FName = "Caixa Zel " + FId + ".EXE";
  const std::string FOther = "zelmor-other-sleeper-" + FId;
  testing::FileTree FDir;
  testing::RecordedDialogs FDialogs;
};

TEST_F(RenamedSleepers, FoundByFileNameInAnyCaseAndEndedTogether) {
  const std::u16string program = Copy(FName);
  ASSERT_FALSE(program.empty()) << "no sleep program on PATH";
  const std::u16string other = Copy(FOther);
  const std::u16string id = Utf8ToU16(FId);
  const std::u16string lower = u"caixa zel " + id + u".exe";
  EXPECT_FALSE(TmRot::ProcessoAtivo(lower));
  ASSERT_TRUE(Start(program));
  ASSERT_TRUE(Start(program));
  ASSERT_TRUE(Start(other));
  ASSERT_TRUE(Becomes(lower, true));
  for (const std::u16string& name :
       {u"CAIXA ZEL " + id + u".exe", u"C:\\Apps\\" + lower, u"/opt/pdv/Caixa Zel " + id + u".EXE", program})
    EXPECT_TRUE(TmRot::ProcessoAtivo(name)) << U16ToUtf8(name);
  for (const std::u16string& name : {u"Caixa Zel " + id, u"Caixa" + id, std::u16string(), u"zel " + id + u".exe"})
    EXPECT_FALSE(TmRot::ProcessoAtivo(name)) << U16ToUtf8(name);

  EXPECT_TRUE(TmRot::InativarProcesso(lower));
  EXPECT_FALSE(TmRot::ProcessoAtivo(program));
  // Only that name was ended.
  EXPECT_TRUE(TmRot::ProcessoAtivo(other));
  EXPECT_TRUE(TmRot::FinalizarProcesso(other));
  EXPECT_FALSE(TmRot::ProcessoAtivo(other));
  EXPECT_TRUE(FDialogs.Messages.empty());
}

TEST_F(RenamedSleepers, EndingWhatIsNotRunningSucceedsAtOnce) {
  testing::VirtualEventPump pump;  // counts what the routines wait for
  EXPECT_TRUE(TmRot::FinalizarProcesso(u"zelmor-never-started.exe"));
  EXPECT_TRUE(TmRot::InativarProcesso(u"zelmor-never-started.exe"));
  EXPECT_EQ(pump.Waited(), 0u);
}

TEST(ExecWin, ExitCodesWorkingFolderAndFailures) {
  testing::FileTree dir;
  std::uint32_t code = 99;
  EXPECT_FALSE(TmRot::ExecWin(u"", u"", u"", 1, false, code));
  EXPECT_EQ(code, 0u);
  EXPECT_FALSE(TmRot::ExecWin(u" ", u" ", u"  ", 1, true));
  EXPECT_FALSE(TmRot::ExecWinWait(u"", u"zelmor-no-such-program", u"", 1, code));

  struct Case {
    const char16_t* Program;
    const char16_t* Params;
    std::uint32_t Code;
  };
  for (const Case& c : {Case{u"true", u"", 0}, Case{u"false", u"", 1}, Case{u"sh", u"-c \"exit 42\"", 42},
                        Case{u"sh", u"-c \"kill -TERM $$\"", 143}, Case{u"", u"sh -c \"exit 5\"", 5},
                        Case{u"sh -c", u"\"exit 6\"", 6}}) {
    code = 99;
    EXPECT_TRUE(TmRot::ExecWinWait(u"", c.Program, c.Params, 0, code)) << U16ToUtf8(c.Params);
    EXPECT_EQ(code, c.Code) << U16ToUtf8(c.Program) << " " << U16ToUtf8(c.Params);
  }

  ASSERT_TRUE(TmRot::ExecWinWait(dir.Path(), u"sh", u"-c \"pwd > here.txt\"", 0, code));
  char real[4096];
  ASSERT_NE(realpath(dir.Root().c_str(), real), nullptr);
  EXPECT_EQ(dir.Read("here.txt"), std::string(real) + "\n");
}

TEST(ExecWin, NothingACallerPassesRunsAnotherCommand) {
  testing::FileTree dir;
  const std::string marker = dir.Native("ran");
  const std::u16string m = Utf8ToU16(marker);
  const std::u16string params =
      u"\"[%s]\\n\" \"$(touch " + m + u")\" `touch " + m + u"` ; touch " + m + u" | touch " + m + u" && touch " + m;
  std::uint32_t code = 1;
  ASSERT_TRUE(TmRot::ExecWinWait(dir.Path(), u"printf", params + u" > out", 0, code));
  EXPECT_EQ(code, 0u);
  EXPECT_FALSE(dir.Exists("ran"));
  EXPECT_FALSE(dir.Exists("out"));
  ASSERT_TRUE(TmRot::WinExec32(u"printf " + params, 0));
  ASSERT_TRUE(TmRot::ExecDOSWait(dir.Path(), u"printf", params, 0));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_FALSE(dir.Exists("ran"));
}

TEST(ExecWin, ProgramPathsWithBlanks) {
  testing::FileTree dir;
  dir.Write("my tools/run me.sh", "#!/bin/sh\nprintf '%s|' \"$@\" > \"$(dirname \"$0\")/args\"\n");
  std::filesystem::permissions(dir.Native("my tools/run me.sh"), std::filesystem::perms::owner_all);
  std::uint32_t code = 1;
  ASSERT_TRUE(TmRot::ExecWinWait(u"", dir.Path("my tools/run me.sh"), u"a \"b c\"", 0, code));
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(dir.Read("my tools/args"), "a|b c|");
  // Without parameters the program gets none.
  ASSERT_TRUE(TmRot::ExecDOSWait(u"", dir.Path("my tools/run me.sh"), u"  ", 0));
  EXPECT_EQ(dir.Read("my tools/args"), "|");
}

// Params that begin with a blank are the whole command line: the program runs under
// its first word as its own name, with the rest as its arguments; other Params follow
// the program's own name.
TEST(ExecDOSWait, ParamsBeginningWithABlankAreTheWholeCommandLine) {
  testing::FileTree dir;
  dir.Write("run.sh", "#!/bin/sh\nprintf '%s|' \"$@\" > \"$(dirname \"$0\")/args\"\n");
  std::filesystem::permissions(dir.Native("run.sh"), std::filesystem::perms::owner_all);
  const std::u16string script = dir.Path("run.sh");
  // sh -c with nothing after its command shows its own name as $0.
  const std::u16string ownName = u"-c \"printf %s \\\"$0\\\" > args\"";
  struct Case {
    std::u16string Program;
    std::u16string Params;
    const char* Args;
  };
  for (const Case& c :
       {Case{script, u" x y", "y|"}, Case{script, u"x y", "x|y|"}, Case{script, u"\t\"x 1\" \"y z\" w", "y z|w|"},
        Case{script, u"  ", "|"}, Case{u"sh", u" zelmor-name " + ownName, "zelmor-name"}, Case{u"sh", ownName, "sh"}}) {
    std::filesystem::remove(dir.Native("args"));
    ASSERT_TRUE(TmRot::ExecDOSWait(dir.Path(), c.Program, c.Params, 0)) << U16ToUtf8(c.Params);
    EXPECT_EQ(dir.Read("args"), c.Args) << U16ToUtf8(c.Program) << " [" << U16ToUtf8(c.Params) << "]";
  }
}

TEST(GfExecBATDOSWait, WritesTheScriptAndRunsItInItsFolder) {
  testing::FileTree dir;
  TStringList commands;
  commands.Add(u"echo um > saida.txt");
  commands.Add(u"printf 'ação\\n' >> saida.txt");
  commands.Add(u"exit 3");
  EXPECT_TRUE(TmRot::gfExecBATDOSWait(TmFile::DirBarra(dir.Path()), u"tarefa.bat", commands, false));
  EXPECT_EQ(dir.Read("tarefa.bat"), "echo um > saida.txt\nprintf 'ação\\n' >> saida.txt\nexit 3\n");
  EXPECT_EQ(dir.Read("saida.txt"), "um\nação\n");
  EXPECT_THROW(TmRot::gfExecBATDOSWait(TmFile::DirBarra(dir.Path("missing")), u"x.bat", commands, false), EFileError);
}

// The script names files as the system does (UTF-8): a character outside Windows-1252
// never turns into a "?" that the shell reads as a wildcard. A line that cannot be
// written exactly is refused before anything is written or run.
TEST(GfExecBATDOSWait, NamesOutsideWindows1252ReachTheShellExactly) {
  testing::FileTree dir;
  dir.Write("ab.txt", "outro");
  dir.Write("日本.txt", "apagar");
  dir.Write("relação.txt", "conteúdo");
  const std::u16string folder = TmFile::DirBarra(dir.Path());
  TStringList commands;
  commands.Add(u"rm -f " + folder + u"日本.txt");
  commands.Add(u"cat " + folder + u"relação.txt > " + folder + u"lido.txt");
  ASSERT_TRUE(TmRot::gfExecBATDOSWait(folder, u"limpa.sh", commands, false));
  EXPECT_FALSE(dir.Exists("日本.txt"));
  EXPECT_EQ(dir.Read("ab.txt"), "outro");
  EXPECT_EQ(dir.Read("lido.txt"), "conteúdo");

  for (const std::u16string& bad : {std::u16string(u"echo \xD800 > x"), std::u16string(u"echo a\nrm -f ab.txt"),
                                    std::u16string(u"echo a\rb"), std::u16string(u"echo a\0b", 8)}) {
    TStringList script;
    script.Add(u"touch ran");
    script.Add(bad);
    try {
      TmRot::gfExecBATDOSWait(folder, u"recusado.sh", script, false);
      ADD_FAILURE() << "written: " << U16ToUtf8(bad);
    } catch (const EFileError& e) {
      EXPECT_NE(e.Message().find(u"linha 2"), std::u16string::npos) << U16ToUtf8(e.Message());
    }
    EXPECT_FALSE(dir.Exists("recusado.sh"));
    EXPECT_FALSE(dir.Exists("ran"));
  }
  EXPECT_EQ(dir.Read("ab.txt"), "outro");
}

TEST(IsSingleInstance, OneHolderAcrossProcessesUntilItEnds) {
  const std::u16string name = u"zelmor-test-guard-" + IntToStr(getpid());
  // Only testing leaves the guard free.
  EXPECT_TRUE(TmRot::IsSingleInstance(name, false));
  EXPECT_TRUE(TmRot::IsSingleInstance(name, false));

  // Another process holds it for as long as it lives.
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t holder = fork();
  ASSERT_GE(holder, 0);
  if (holder == 0) {
    const char ok = TmRot::IsSingleInstance(name, true) ? 'y' : 'n';
    (void)!write(ready[1], &ok, 1);
    pause();
    _exit(0);
  }
  char ok = 0;
  ASSERT_EQ(read(ready[0], &ok, 1), 1);
  EXPECT_EQ(ok, 'y');
  EXPECT_FALSE(TmRot::IsSingleInstance(name, false));
  EXPECT_FALSE(TmRot::IsSingleInstance(name, true));
  kill(holder, SIGKILL);
  waitpid(holder, nullptr, 0);
  close(ready[0]);
  close(ready[1]);
  EXPECT_TRUE(TmRot::IsSingleInstance(name, true));
  // Now ours: a second claim, here or anywhere, is refused.
  EXPECT_FALSE(TmRot::IsSingleInstance(name, false));
  const pid_t tester = fork();
  if (tester == 0) _exit(TmRot::IsSingleInstance(name, false) ? 0 : 1);
  int status = 0;
  waitpid(tester, &status, 0);
  EXPECT_EQ(WEXITSTATUS(status), 1);
  // Names too long for a socket address stay apart.
  const std::u16string longName(200, u'x');
  EXPECT_TRUE(TmRot::IsSingleInstance(longName + u"a", true));
  EXPECT_TRUE(TmRot::IsSingleInstance(longName + u"b", true));
  EXPECT_FALSE(TmRot::IsSingleInstance(longName + u"a", false));
}

TEST(AbreSite, SaysWhyWhenNoOpenerCanStartAndNothingForABlankAddress) {
  testing::FileTree empty;
  testing::ScopedEnv path("PATH", empty.Root().c_str());
  testing::RecordedDialogs dialogs;
  TmRot::AbreSite(u"  ");
  EXPECT_TRUE(dialogs.Messages.empty());
  TmRot::AbreSite(u"https://example.com/");
  ASSERT_EQ(dialogs.Messages.size(), 1u);
  EXPECT_EQ(dialogs.Messages[0].rfind(u"Não foi possível abrir o site.\rMensagem original:xdg-open: ", 0), 0u)
      << U16ToUtf8(dialogs.Messages[0]);
}

// Five rounds of ending and waiting, then the user is asked; the waits are virtual, so
// the 45 s the user would sit through take no time here.
TEST(FinalizarProcesso, AsksTheUserAfterFiveFailedRounds) {
  const std::u16string question =
      u"Foram executadas 5 tentativas de finalizar o teimoso mas não houve sucesso!\r\rContinuar mesmo assim?";
  struct Case {
    const char* label;
    int endsAfter;  // -1: not running at all
    std::deque<int> answer;
    bool result;
    std::size_t requests;
    bool asked;
    std::uint64_t waited;  // virtual milliseconds
  };
  for (const Case& c : {Case{"never ends, user goes on", 0, {1}, true, 5, true, 5 * (11 * 500 + 3000) + 3000},
                        Case{"never ends, user stops", 0, {0}, false, 5, true, 5 * (11 * 500 + 3000) + 3000},
                        Case{"ends at the second request", 2, {}, true, 2, false, 11 * 500 + 3000 + 3000},
                        Case{"not running", -1, {}, true, 0, false, 0}}) {
    SCOPED_TRACE(c.label);
    testing::VirtualEventPump pump;
    testing::RecordedDialogs dialogs;
    testing::ProcessTable table;
    if (c.endsAfter >= 0) table.Add(u"/opt/pdv/TEIMOSO", c.endsAfter);
    table.Add(u"outro");
    dialogs.Script = c.answer;
    EXPECT_EQ(TmRot::FinalizarProcesso(u"teimoso"), c.result);
    EXPECT_EQ(table.EndRequests.size(), c.requests);
    EXPECT_EQ(dialogs.Messages, c.asked ? std::vector<std::u16string>{question} : std::vector<std::u16string>{});
    EXPECT_GE(pump.Waited(), c.waited);
    EXPECT_LT(pump.Waited(), c.waited + 1000);
  }
}

// Many small blocks freed behind one that is kept: the allocator holds their pages until
// it is told to give them back. (A sanitizer's allocator has its own rules: skipped there.)
TEST(TrimAppMemorySize, GivesFreedMemoryBack) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer's allocator keeps freed memory in quarantine";
#else
  std::vector<char*> blocks;
  for (int i = 0; i < 100000; ++i) {
    blocks.push_back(static_cast<char*>(std::malloc(1000)));
    std::memset(blocks.back(), i & 0x7F, 1000);  // every page touched, so it is resident
  }
  char* volatile kept = static_cast<char*>(std::malloc(1000));
  const std::uint32_t used = TmRot::GetCurrentMemoryUsage();
  for (char* b : blocks) std::free(b);
  const std::uint32_t held = TmRot::GetCurrentMemoryUsage();
  TmRot::TrimAppMemorySize();
  const std::uint32_t trimmed = TmRot::GetCurrentMemoryUsage();
  std::free(kept);
  EXPECT_GE(held + 10u * 1024u * 1024u, used) << "the allocator gave the blocks back by itself";
  EXPECT_LT(trimmed + 50u * 1024u * 1024u, held) << used << " -> " << held << " -> " << trimmed;
#endif
}

TEST(GetCurrentMemoryUsage, GrowsWithMemoryInUse) {
  const std::uint32_t before = TmRot::GetCurrentMemoryUsage();
  EXPECT_GT(before, 1024u * 1024u);
  std::string block(64 * 1024 * 1024, 'x');
  EXPECT_GE(TmRot::GetCurrentMemoryUsage(), before + 60u * 1024u * 1024u);
  EXPECT_EQ(block[12345], 'x');
}

}  // namespace
}  // namespace zelmor
