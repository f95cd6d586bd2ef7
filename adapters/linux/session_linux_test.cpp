#include "adapters/linux/session_linux.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "testing/run_program.h"

namespace zelmor::adapters {
namespace {

TEST(DisplayHasHost, OnlyADisplayOnAnotherHostHasOne) {
  struct Case {
    const char* Display;
    bool Host;
  };
  for (const Case& c : {Case{"pdv-3:0", true}, Case{"pdv-3.loja.local:0.0", true}, Case{"10.0.0.5:1", true},
                        Case{"localhost:10.0", true}, Case{"::1:0", true}, Case{"decnet::0", true}, Case{":0", false},
                        Case{":1.0", false}, Case{"unix:0", false}, Case{"/tmp/.X11-unix/X0", false}, Case{"", false},
                        Case{"garbage", false}})
    EXPECT_EQ(DisplayHasHost(c.Display), c.Host) << c.Display;
}

TEST(IsRemoteSession, AnyFactThatSaysRemoteMakesItRemote) {
  struct Case {
    std::optional<bool> Logind;
    bool Ssh, Xrdp;
    const char* Display;
    bool Remote;
  };
  for (const Case& c : {Case{std::nullopt, false, false, "", false}, Case{false, false, false, ":0", false},
                        Case{true, false, false, ":0", true}, Case{std::nullopt, true, false, "", true},
                        Case{false, true, false, ":0", true}, Case{std::nullopt, false, true, ":10", true},
                        Case{false, false, false, "caixa-1:0", true}}) {
    SessionFacts f;
    f.LogindRemote = c.Logind;
    f.SshEnvironment = c.Ssh;
    f.XrdpEnvironment = c.Xrdp;
    f.Display = c.Display;
    EXPECT_EQ(IsRemoteSession(f), c.Remote) << c.Display << " " << c.Ssh << c.Xrdp;
  }
}

// Clears the variables the session is judged by, and puts them back afterwards.
class SessionEnvironment : public ::testing::Test {
 protected:
  static constexpr const char* kNames[] = {"SSH_CONNECTION", "SSH_CLIENT", "SSH_TTY", "XRDP_SESSION", "DISPLAY"};
  void SetUp() override {
    for (const char* n : kNames) {
      if (const char* v = std::getenv(n)) FSaved.emplace_back(n, v);
      unsetenv(n);
    }
  }
  void TearDown() override {
    for (const char* n : kNames) unsetenv(n);
    for (const auto& [n, v] : FSaved) setenv(n.c_str(), v.c_str(), 1);
  }
  std::vector<std::pair<std::string, std::string>> FSaved;
};

TEST_F(SessionEnvironment, TakesTheRemoteShellsAndRemoteDesktopsEnvironment) {
  SessionFacts f = ReadSessionFacts();
  // Where logind knows this process's session as remote, nothing below can be local.
  if (f.LogindRemote.value_or(false)) GTEST_SKIP() << "the tests run in a remote logind session";
  EXPECT_FALSE(f.SshEnvironment);
  EXPECT_FALSE(f.XrdpEnvironment);
  EXPECT_EQ(f.Display, "");
  EXPECT_FALSE(LinuxSessionInfo().IsRemote());

  for (const char* n : {"SSH_CONNECTION", "SSH_CLIENT", "SSH_TTY"}) {
    setenv(n, "192.0.2.7 50022 192.0.2.1 22", 1);
    EXPECT_TRUE(ReadSessionFacts().SshEnvironment) << n;
    EXPECT_TRUE(LinuxSessionInfo().IsRemote()) << n;
    unsetenv(n);
  }
  setenv("XRDP_SESSION", "1", 1);
  EXPECT_TRUE(LinuxSessionInfo().IsRemote());
  unsetenv("XRDP_SESSION");
  setenv("DISPLAY", "caixa-2:0", 1);
  EXPECT_TRUE(LinuxSessionInfo().IsRemote());
  setenv("DISPLAY", ":0", 1);
  EXPECT_FALSE(LinuxSessionInfo().IsRemote());
}

TEST(TerminalIdleSeconds, CountsFromTheTerminalsLastInput) {
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(grantpt(master), 0);
  ASSERT_EQ(unlockpt(master), 0);
  const int tty = open(ptsname(master), O_RDWR | O_NOCTTY);
  ASSERT_GE(tty, 0);
  const std::time_t now = std::time(nullptr);
  const timespec times[2] = {{now - 100, 0}, {now - 100, 0}};
  ASSERT_EQ(futimens(tty, times), 0);
  EXPECT_EQ(TerminalIdleSeconds(tty, now), 100u);
  EXPECT_EQ(TerminalIdleSeconds(tty, now - 200), 0u);  // a clock set back counts as no idle time

  // A key typed on the terminal and read makes it busy again: idle from no later than the
  // moment before it was typed (the system moves a terminal's times only by 8 s or more,
  // and this one stood 100 s back).
  const std::time_t typed = std::time(nullptr);
  ASSERT_EQ(write(master, "x\n", 2), 2);
  char c[8];
  ASSERT_GT(read(tty, c, sizeof c), 0);
  const auto after = TerminalIdleSeconds(tty, typed);
  ASSERT_TRUE(after.has_value());
  EXPECT_EQ(*after, 0u);

  // A file or a pipe is no terminal.
  int pipe_fds[2];
  ASSERT_EQ(pipe(pipe_fds), 0);
  EXPECT_EQ(TerminalIdleSeconds(pipe_fds[0], now), std::nullopt);
  for (int fd : {pipe_fds[0], pipe_fds[1], tty, master}) close(fd);
}

// The idle time of a real X server (Xvfb) that has had no input since it started.
TEST_F(SessionEnvironment, XIdleTimeComesFromTheServer) {
  EXPECT_EQ(XIdleMilliseconds(), std::nullopt);  // no DISPLAY
  if (access("/usr/bin/Xvfb", X_OK) != 0) GTEST_SKIP() << "Xvfb is not installed";
  // -noreset: the server would otherwise start over, idle time and all, each time its
  // last client leaves. A display number of this process's own, so parallel tests never meet.
  const std::string number = std::to_string(200 + getpid() % 500);
  const std::string socket = "/tmp/.X11-unix/X" + number;
  const std::string name = ":" + number;
  const pid_t server =
      testing::StartQuietly({"/usr/bin/Xvfb", name, "-nolisten", "tcp", "-noreset", "-screen", "0", "320x240x24"});
  ASSERT_GT(server, 0);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (access(socket.c_str(), F_OK) != 0 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  setenv("DISPLAY", name.c_str(), 1);
  std::optional<std::uint64_t> first;
  while (!(first = XIdleMilliseconds()) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  std::this_thread::sleep_for(std::chrono::milliseconds(1200));
  const auto later = XIdleMilliseconds();
  const std::uint32_t seconds = LinuxSessionInfo().IdleSeconds();
  kill(server, SIGTERM);
  waitpid(server, nullptr, 0);
  ASSERT_TRUE(first.has_value()) << "Xvfb did not answer on " << name;
  ASSERT_TRUE(later.has_value());
  EXPECT_GE(*later, *first + 1100);
  EXPECT_GE(seconds, 1u);
  // A display nobody serves tells nothing, and the session falls back.
  EXPECT_EQ(XIdleMilliseconds(), std::nullopt);
}

}  // namespace
}  // namespace zelmor::adapters
