// The built display program as a process, headless, fed by the built `zelmor`
// tool as a separate client process; its --echo output shows what it displays.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>
#include <thread>

#include "testing/temp_store.h"
#include "tests/process_util.h"

namespace zelmor::testing {
namespace {

using namespace std::chrono_literals;

const std::vector<std::string> kNoDisplayServer{"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};

// Connects and closes with a reset: the display reports an error on that connection.
void ResetConnection(int port) {
  const int fd = ConnectLoopback(port);
  ASSERT_GE(fd, 0);
  struct linger l {
    1, 0
  };
  ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &l, sizeof l);
  ::close(fd);
}

// Waits (bounded) until `port` accepts connections.
bool Listening(int port) {
  for (int i = 0; i < 200; ++i) {
    const int fd = ConnectLoopback(port);
    if (fd >= 0) {
      ::close(fd);
      return true;
    }
    std::this_thread::sleep_for(50ms);
  }
  return false;
}

class DisplayProcess : public ::testing::Test {
 protected:
  void SetUp() override { Start("exec \"$0\" --port \"$1\""); }

  // Starts the display through a shell line (`$0` the program, `$1` the port), which
  // can set limits or close streams before it execs the display in its own place.
  void Start(const std::string& shellLine) {
    port = FreePort();
    // No display server: the program must notice and run headless with the echo on.
    quindel = std::make_unique<ChildProcess>(
        "/bin/sh", std::vector<std::string>{"-c", shellLine, BinDir() + "/quindel", std::to_string(port)},
        std::vector<std::string>{"LC_ALL=pt_BR.UTF-8", "XDG_CONFIG_HOME=" + home.Path()}, kNoDisplayServer);
  }

  // Waits (bounded) for `text` on the display's standard error.
  bool ErrSays(const std::string& text) {
    for (int i = 0; i < 200; ++i) {
      if (quindel->Err().find(text) != std::string::npos) return true;
      std::this_thread::sleep_for(50ms);
    }
    return false;
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
  ProcessResult r =
      RunProcess("/bin/sh", {"-c", "printf 'Total\\27712,50' | nc -q1 127.0.0.1 " + std::to_string(port)});
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
    ProcessResult r =
        RunProcess(BinDir() + "/zelmor", {"display", "send", "--port", std::to_string(port), "Total", "1,00"});
    ASSERT_EQ(r.ExitCode, 0) << r.Err;
    ASSERT_TRUE(quindel.ReadLine(line, 10s)) << quindel.Err();
    EXPECT_NE(line.find("Total"), std::string::npos) << line;
    EXPECT_NE(quindel.Err().find("registro do usuário"), std::string::npos) << quindel.Err();
  }
}

TEST_F(DisplayProcess, DescriptorExhaustionNeitherSpinsNorShutsOutNewClients) {
  quindel.reset();
  Start("ulimit -n 64 && exec \"$0\" --port \"$1\"");
  ASSERT_TRUE(NextEcho().is_object()) << quindel->Err();
  std::vector<int> idle;
  for (int i = 0; i < 100; ++i) {
    const int fd = ConnectLoopback(port);
    ASSERT_GE(fd, 0);
    idle.push_back(fd);
  }
  // The display has met its limit before the measurement starts.
  ASSERT_TRUE(ErrSays("the most this display holds")) << quindel->Err();
  const auto start = std::chrono::steady_clock::now();
  const double before = quindel->CpuSeconds();
  ProcessResult r = Send({"depois", "de 100"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  nlohmann::json echo = NextEcho();
  ASSERT_TRUE(echo.is_object()) << quindel->Err();
  EXPECT_EQ(echo["line1"], "depois");
  std::this_thread::sleep_for(2s);  // what the display does meanwhile is measured, not timed
  const double used = quindel->CpuSeconds() - before;
  const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("display CPU time with 100 idle clients under ulimit -n 64: %.2f s of %.2f s\n", used, elapsed);
  EXPECT_LT(used, 0.2 * elapsed);  // a spinning loop would use all of it
  // The oldest idle clients were closed to make room.
  char c;
  EXPECT_EQ(::recv(idle.front(), &c, 1, MSG_DONTWAIT), 0);
  for (int fd : idle) ::close(fd);
}

TEST_F(DisplayProcess, ClosedStandardStreamsStayClosedToSockets) {
  quindel.reset();
  Start("exec \"$0\" --port \"$1\" <&- >&- 2>&-");
  ASSERT_TRUE(Listening(port));
  const std::string fds = "/proc/" + std::to_string(quindel->Pid()) + "/fd/";
  for (const char* n : {"0", "1", "2"}) {
    char target[256] = {};
    ASSERT_GT(::readlink((fds + n).c_str(), target, sizeof target - 1), 0) << n;
    EXPECT_STREQ(target, "/dev/null") << "descriptor " << n;
  }
  for (int i = 0; i < 5; ++i) ResetConnection(port);  // error lines go to standard error
  ASSERT_EQ(Send({"ainda", "aqui"}).ExitCode, 0);
  std::this_thread::sleep_for(300ms);
  EXPECT_TRUE(quindel->Running()) << "ended by signal " << quindel->Signal();
}

TEST_F(DisplayProcess, ReadersThatGoAwayDoNotEndTheDisplay) {
  ASSERT_TRUE(NextEcho().is_object());
  // Standard error is a pipe nobody reads any more: each reset writes an error line into it.
  quindel->CloseErr();
  for (int i = 0; i < 5; ++i) ResetConnection(port);
  ASSERT_EQ(Send({"erro", "fechado"}).ExitCode, 0);
  nlohmann::json echo = NextEcho();
  ASSERT_TRUE(echo.is_object()) << "ended by signal " << quindel->Signal();
  EXPECT_EQ(echo["line1"], "erro");
  // The echo's reader goes away too (as `| head -n 1` does).
  quindel->CloseOut();
  for (int i = 0; i < 3; ++i) ASSERT_EQ(Send({"sem", "leitor"}).ExitCode, 0);
  std::this_thread::sleep_for(300ms);
  EXPECT_TRUE(quindel->Running()) << "ended by signal " << quindel->Signal();
}

TEST_F(DisplayProcess, AnEchoReaderThatDoesNotReadNeverHoldsUpTheDisplay) {
  ASSERT_TRUE(NextEcho().is_object());
  // Echo lines of control bytes, far more than a pipe holds, with nobody reading them.
  const std::string message(2000, '\x01');
  for (int i = 0; i < 400; ++i) {
    const int fd = ConnectLoopback(port);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::send(fd, message.data(), message.size(), MSG_NOSIGNAL), static_cast<ssize_t>(message.size()));
    ::close(fd);
  }
  // The window still serves connections: an error on one reaches standard error.
  ResetConnection(port);
  EXPECT_TRUE(ErrSays("Asynchronous socket error")) << quindel->Err();
  // Reading again: each echoed line is bounded and marked where it was cut.
  std::string line;
  ASSERT_TRUE(quindel->ReadLine(line, 10s));
  nlohmann::json echo = nlohmann::json::parse(line, nullptr, false);
  ASSERT_TRUE(echo.is_object());
  const std::string first = echo["line1"];
  EXPECT_EQ(first.substr(first.size() - 10), "\xE2\x80\xA6[+1000]");
  EXPECT_LT(line.size(), 7000u);
  // Once the reader catches up the drop is said, and new changes are echoed again.
  for (int i = 0; i < 1000 && quindel->ReadLine(line, 200ms); ++i) {
  }
  ASSERT_EQ(Send({"de novo", "lido"}).ExitCode, 0);
  echo = NextEcho();
  ASSERT_TRUE(echo.is_object());
  EXPECT_EQ(echo["line1"], "de novo");
  EXPECT_TRUE(ErrSays("changes were not echoed")) << quindel->Err();
}

TEST(DisplayProcessCli, HeadlessDisplayThatCannotListenEnds) {
  const int taken = FreePort();
  const int blocker = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<std::uint16_t>(taken));
  ASSERT_EQ(::bind(blocker, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
  ASSERT_EQ(::listen(blocker, 1), 0);
  TemporaryFolder home;
  ChildProcess quindel(BinDir() + "/quindel", {"--port", std::to_string(taken)}, {"XDG_CONFIG_HOME=" + home.Path()},
                       kNoDisplayServer);
  EXPECT_EQ(quindel.Wait(20s), 1);
  EXPECT_NE(quindel.Err().find("Address already in use"), std::string::npos) << quindel.Err();
  // Drawn off screen by choice: nobody sees the box either.
  ProcessResult chosen = RunProcess(BinDir() + "/quindel", {"--port", std::to_string(taken)}, {}, 20s,
                                    {"QT_QPA_PLATFORM=offscreen", "XDG_CONFIG_HOME=" + home.Path()});
  EXPECT_EQ(chosen.ExitCode, 1) << chosen.Err;
  ::close(blocker);
}

TEST(DisplayProcessCli, PortsOutsideOneTo65535AreRefused) {
  for (const char* bad : {"99999", "", "0", "-1", "22OO", "65536"}) {
    ProcessResult r = RunProcess(BinDir() + "/quindel", {"--port", bad}, {}, 10s, {"QT_QPA_PLATFORM=offscreen"});
    EXPECT_EQ(r.ExitCode, 2) << bad;
    EXPECT_NE(r.Err.find("1 to 65535"), std::string::npos) << bad << ": " << r.Err;
    r = RunProcess(BinDir() + "/zelmor", {"display", "send", "--port", bad, "x"});
    EXPECT_EQ(r.ExitCode, 2) << bad;
    EXPECT_NE(r.Err.find("1 to 65535"), std::string::npos) << bad << ": " << r.Err;
  }
  ProcessResult r = RunProcess(BinDir() + "/quindel", {"--port"}, {}, 10s, {"QT_QPA_PLATFORM=offscreen"});
  EXPECT_EQ(r.ExitCode, 2);
}

TEST(DisplayProcessCli, SendRefusesALineHoldingTheSeparator) {
  const int port = FreePort();
  ProcessResult r =
      RunProcess(BinDir() + "/zelmor", {"display", "send", "--port", std::to_string(port), "¿Qué pasa?", "R$ 3,99"});
  EXPECT_EQ(r.ExitCode, 2);
  EXPECT_NE(r.Err.find("¿"), std::string::npos) << r.Err;
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
