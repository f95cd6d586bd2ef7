#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "adapters/linux/system_services.h"
#include "core/text.h"
#include "testing/file_tree.h"

namespace zelmor::adapters {
namespace {

using platform::ProgramStart;

ProgramStart Waited(std::vector<std::u16string> args) {
  ProgramStart s;
  s.Arguments = std::move(args);
  s.Wait = true;
  return s;
}

TEST(SystemProcesses, ExitCodesAreTheShellsIncluding128PlusTheSignal) {
  // The display program ignores SIGPIPE; its children must still die of it.
  struct sigaction ignore {
  }, old{};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGPIPE, &ignore, &old);
  struct Case {
    const char16_t* Script;
    int Code;
  };
  for (const Case& c :
       {Case{u"exit 0", 0}, Case{u"exit 3", 3}, Case{u"exit 255", 255}, Case{u"kill -TERM $$", 128 + SIGTERM},
        Case{u"kill -KILL $$", 128 + SIGKILL}, Case{u"kill -PIPE $$", 128 + SIGPIPE}}) {
    int code = -1;
    std::string error;
    ASSERT_TRUE(SystemProcesses().Start(Waited({u"sh", u"-c", c.Script}), &code, &error)) << error;
    EXPECT_EQ(code, c.Code) << U16ToUtf8(c.Script);
  }
  sigaction(SIGPIPE, &old, nullptr);
}

TEST(SystemProcesses, ArgumentsArriveWordForWordAndRunNothing) {
  testing::FileTree dir;
  const std::u16string marker = dir.Path("ran");
  ProgramStart s = Waited({u"printf", u"[%s]\\n", u"$(touch " + marker + u")", u"a b", u"`id`;echo x", u"", u"ç"});
  s.StandardOutput = dir.Path("out");
  int code = -1;
  ASSERT_TRUE(SystemProcesses().Start(s, &code));
  EXPECT_EQ(code, 0);
  EXPECT_EQ(dir.Read("out"), "[$(touch " + dir.Native("ran") + ")]\n[a b]\n[`id`;echo x]\n[]\n[ç]\n");
  EXPECT_FALSE(dir.Exists("ran"));
}

TEST(SystemProcesses, StartsInTheWorkingFolderWithTheGivenInput) {
  testing::FileTree dir;
  dir.Folder("work");
  dir.Write("in", "linha\n");
  ProgramStart s = Waited({u"sh", u"-c", u"pwd; cat"});
  s.WorkingFolder = dir.Path("work");
  s.StandardInput = dir.Path("in");
  s.StandardOutput = dir.Path("out");
  ASSERT_TRUE(SystemProcesses().Start(s));
  char real[4096];
  ASSERT_NE(realpath(dir.Native("work").c_str(), real), nullptr);
  EXPECT_EQ(dir.Read("out"), std::string(real) + "\nlinha\n");
}

// A program given apart from the arguments runs under the first argument as its name.
TEST(SystemProcesses, AProgramApartSeesTheFirstArgumentAsItsName) {
  testing::FileTree dir;
  struct Case {
    std::vector<std::u16string> Arguments;
    const char* Out;
  };
  for (const Case& c : {Case{{u"own-name", u"-c", u"printf '%s' \"$0\" > out"}, "own-name"},
                        Case{{u"", u"-c", u"printf '%s' \"$0\" > out"}, ""}}) {
    ProgramStart s = Waited(c.Arguments);
    s.Program = u"sh";
    s.WorkingFolder = dir.Path();
    int code = -1;
    ASSERT_TRUE(SystemProcesses().Start(s, &code));
    EXPECT_EQ(code, 0);
    EXPECT_EQ(dir.Read("out"), c.Out);
  }
  ProgramStart missing = Waited({u"sh"});
  missing.Program = dir.Path("no-such-program");
  std::string error;
  EXPECT_FALSE(SystemProcesses().Start(missing, nullptr, &error));
  EXPECT_NE(error.find("no-such-program"), std::string::npos) << error;
}

TEST(SystemProcesses, AMissingProgramOrFolderIsAFailureThatSaysWhy) {
  testing::FileTree dir;
  for (ProgramStart s :
       {Waited({u"no-such-program-zelmor"}), Waited({dir.Path("missing/prog")}), Waited({}), Waited({u""})}) {
    std::string error;
    int code = 77;
    EXPECT_FALSE(SystemProcesses().Start(s, &code, &error));
    EXPECT_FALSE(error.empty());
  }
  ProgramStart inMissingFolder = Waited({u"true"});
  inMissingFolder.WorkingFolder = dir.Path("nowhere");
  EXPECT_FALSE(SystemProcesses().Start(inMissingFolder));
}

TEST(SystemProcesses, TheChildKeepsNoDescriptorOfOurs) {
  testing::FileTree dir;
  dir.Write("held", "x");
  // A plain file and a listening socket, neither marked close-on-exec, at numbers the
  // child would never open by itself.
  const int file = open(dir.Native("held").c_str(), O_RDONLY);
  const int sock = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(bind(sock, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  ASSERT_EQ(listen(sock, 1), 0);
  ASSERT_EQ(dup2(file, 60), 60);
  ASSERT_EQ(dup2(sock, 61), 61);
  ProgramStart s = Waited({u"ls", u"/proc/self/fd"});
  s.StandardOutput = dir.Path("fds");
  ASSERT_TRUE(SystemProcesses().Start(s));
  for (int fd : {file, sock, 60, 61}) close(fd);
  // ls itself holds 0-2 and the folder it lists.
  std::istringstream listed(dir.Read("fds"));
  std::string fd;
  int count = 0;
  while (std::getline(listed, fd)) {
    EXPECT_LE(std::stoi(fd), 3) << "inherited descriptor " << fd;
    ++count;
  }
  EXPECT_GE(count, 3);
}

TEST(SystemProcesses, AChildNotWaitedForIsReapedWhenItEnds) {
  testing::FileTree dir;
  ProgramStart s;
  s.Arguments = {u"sh", u"-c", u"echo $$"};
  s.StandardOutput = dir.Path("pid");
  ASSERT_TRUE(SystemProcesses().Start(s));
  std::string pid;
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  bool gone = false;
  while (std::chrono::steady_clock::now() < limit) {
    if (pid.empty() || pid.back() != '\n') pid = dir.Read("pid");
    // A zombie keeps its /proc entry until it is reaped.
    if (!pid.empty() && pid.back() == '\n' && access(("/proc/" + pid.substr(0, pid.size() - 1)).c_str(), F_OK) != 0) {
      gone = true;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_TRUE(gone) << "child " << pid << " still listed";
}

}  // namespace
}  // namespace zelmor::adapters
