#include "adapters/linux/session_linux.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zelmor::adapters {
namespace {

TEST(DisplayHasHost, OnlyADisplayOnAnotherHostHasOne) {
  struct Case {
    const char* Display;
    bool Host;
  };
  for (const Case& c : {Case{"pdv-3:0", true}, Case{"pdv-3.loja.local:0.0", true}, Case{"10.0.0.5:1", true},
                        Case{"localhost:10.0", true}, Case{"::1:0", true}, Case{"decnet::0", true},
                        Case{":0", false}, Case{":1.0", false}, Case{"unix:0", false},
                        Case{"/tmp/.X11-unix/X0", false}, Case{"", false}, Case{"garbage", false}})
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

}  // namespace
}  // namespace zelmor::adapters
