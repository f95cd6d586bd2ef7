// The built display program as a process, headless, fed by the built `zelmor`
// tool as a separate client process; its --echo output shows what it displays.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <functional>

#include <nlohmann/json.hpp>

#include "testing/temp_store.h"
#include "tests/process_util.h"

namespace zelmor::testing {
namespace {

using namespace std::chrono_literals;

class DisplayProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    port = FreePort();
    // No display server: the program must notice and run headless with the echo on.
    quindel = std::make_unique<ChildProcess>(BinDir() + "/quindel", std::vector<std::string>{"--port", std::to_string(port)},
                                             std::vector<std::string>{"LC_ALL=pt_BR.UTF-8", "XDG_CONFIG_HOME=" + home.Path()},
                                             std::vector<std::string>{"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"});
  }

  nlohmann::json NextEcho() {
    std::string line;
    if (!quindel->ReadLine(line, 10s)) return nullptr;
    return nlohmann::json::parse(line, nullptr, false);
  }

  ProcessResult Send(const std::vector<std::string>& lines) {
    std::vector<std::string> args{"display", "send", "--port", std::to_string(port)};
    args.insert(args.end(), lines.begin(), lines.end());
    return RunProcess(BinDir() + "/zelmor", args);
  }

  int port = 0;
  TemporaryFolder home;  // the window keeps its position in the user's settings: not the real user's
  std::unique_ptr<ChildProcess> quindel;
};

TEST_F(DisplayProcess, HeadlessEchoShowsStartUpAndMessages) {
  nlohmann::json start = NextEcho();
  ASSERT_TRUE(start.is_object()) << quindel->Err();
  EXPECT_EQ(start["line1"], "             Zelmor Quindel             ");
  EXPECT_EQ(start["line2"], "       - aguardando comunicacao -       ");
  EXPECT_NE(quindel->Err().find("headless"), std::string::npos);

  struct {
    std::vector<std::string> send;
    std::string line1, line2;
  } cases[] = {
      {{"Total", "12,50"}, "Total", "12,50"},
      {{"Pão de açúcar", "€ 3,99"}, "Pão de açúcar", "€ 3,99"},
      {{"Só a linha 1"}, "Só a linha 1", ""},
  };
  for (const auto& c : cases) {
    ProcessResult r = Send(c.send);
    ASSERT_EQ(r.ExitCode, 0) << r.Err;
    nlohmann::json echo = NextEcho();
    ASSERT_TRUE(echo.is_object());
    EXPECT_EQ(echo["line1"], c.line1);
    EXPECT_EQ(echo["line2"], c.line2);
  }
}

TEST_F(DisplayProcess, RawBytesFromAnotherClient) {
  ASSERT_TRUE(NextEcho().is_object());
  // The protocol as a POS speaks it, through a plain shell pipe.
  ProcessResult r = RunProcess("/bin/sh", {"-c", "printf 'Total\\27712,50' | nc -q1 127.0.0.1 " + std::to_string(port)});
  nlohmann::json echo = NextEcho();
  ASSERT_TRUE(echo.is_object()) << r.Err;
  EXPECT_EQ(echo["line1"], "Total");
  EXPECT_EQ(echo["line2"], "12,50");
}

// The display starts, and shows what it is sent, whatever is in the place of the
// settings store: a pipe nobody writes to, a device, a store too deep to be real.
// It reports the store's fault on standard error and opens at the default place.
TEST(DisplayProcessStore, StartsWhateverTheStoreIs) {
  const struct {
    const char* what;
    std::function<void(const std::string&)> make;
  } cases[] = {
      {"a pipe", [](const std::string& store) { ASSERT_EQ(mkfifo(store.c_str(), 0600), 0); }},
      {"a device", [](const std::string& store) { ASSERT_EQ(symlink("/dev/zero", store.c_str()), 0); }},
      {"100,000 levels",
       [](const std::string& store) {
         std::string deep = "Zelmor Registry Version 2\n[HKEY_CURRENT_USER";
         for (int i = 0; i < 100000; ++i) deep += "\\k";
         deep += "]\nEnd of Zelmor Registry\n";
         std::ofstream(store, std::ios::binary) << deep;
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TemporaryFolder home;
    ASSERT_EQ(mkdir((home.Path() + "/zelmor").c_str(), 0700), 0);
    c.make(home.Path() + "/zelmor/registry.reg");
    const int port = FreePort();
    ChildProcess quindel(BinDir() + "/quindel", {"--port", std::to_string(port)},
                         {"LC_ALL=pt_BR.UTF-8", "XDG_CONFIG_HOME=" + home.Path()},
                         {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"});
    std::string line;
    ASSERT_TRUE(quindel.ReadLine(line, 10s)) << quindel.Err();
    EXPECT_NE(line.find("Zelmor Quindel"), std::string::npos) << line;
    ProcessResult r = RunProcess(BinDir() + "/zelmor", {"display", "send", "--port", std::to_string(port), "Total", "1,00"});
    ASSERT_EQ(r.ExitCode, 0) << r.Err;
    ASSERT_TRUE(quindel.ReadLine(line, 10s)) << quindel.Err();
    EXPECT_NE(line.find("Total"), std::string::npos) << line;
    EXPECT_NE(quindel.Err().find("registro do usuário"), std::string::npos) << quindel.Err();
  }
}

TEST(DisplayProcessCli, SendFailsClearlyWithoutADisplay) {
  ProcessResult r = RunProcess(BinDir() + "/zelmor", {"display", "send", "--port", std::to_string(FreePort()), "x"});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("cannot connect"), std::string::npos) << r.Err;
  r = RunProcess(BinDir() + "/zelmor", {"display", "send"});
  EXPECT_EQ(r.ExitCode, 2);
}

}  // namespace
}  // namespace zelmor::testing
