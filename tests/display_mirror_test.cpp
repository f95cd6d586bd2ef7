// The display mirrored to a pole display: a pseudo-terminal stands in for the serial
// device, and what the program writes to it is decoded back into the two lines.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <pty.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <nlohmann/json.hpp>
#include <thread>
#include <vector>

#include "testing/temp_store.h"
#include "tests/process_util.h"

namespace zelmor::testing {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The device's side: reads CD5220 frames (FF, ESC Q A line CR, ESC Q B line CR).
class FakePole {
 public:
  FakePole() {
    EXPECT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
    ::fcntl(master, F_SETFL, O_NONBLOCK);
    // Not inherited by the program under test, or closing our end would not unplug it.
    ::fcntl(master, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave, F_SETFD, FD_CLOEXEC);
  }
  ~FakePole() {
    CloseDevice();
    if (slave >= 0) ::close(slave);
  }
  void CloseDevice() {
    if (master >= 0) ::close(master);
    master = -1;
  }

  // The next two lines the device is told to show, or false after `timeout`.
  bool NextLines(std::string& upper, std::string& lower, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
      const std::size_t a = bytes.find("\x1BQA"), ca = bytes.find('\r', a == std::string::npos ? 0 : a);
      const std::size_t b = bytes.find("\x1BQB", a == std::string::npos ? 0 : a);
      const std::size_t cb = b == std::string::npos ? b : bytes.find('\r', b);
      if (a != std::string::npos && ca != std::string::npos && cb != std::string::npos) {
        upper = bytes.substr(a + 3, ca - a - 3);
        lower = bytes.substr(b + 3, cb - b - 3);
        bytes.erase(0, cb + 1);
        return true;
      }
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      if (left <= 0) return false;
      pollfd p{master, POLLIN, 0};
      if (::poll(&p, 1, static_cast<int>(left)) <= 0) continue;
      char buf[4096];
      const ssize_t n = ::read(master, buf, sizeof buf);
      if (n > 0) bytes.append(buf, static_cast<std::size_t>(n));
    }
  }

  int master = -1, slave = -1;
  char name[256] = {};
  std::string bytes;
};

class DisplayMirror : public ::testing::Test {
 protected:
  void Start(std::vector<std::string> extra) {
    port = FreePort();
    std::vector<std::string> args{"--port", std::to_string(port), "--mirror", pole.name};
    args.insert(args.end(), extra.begin(), extra.end());
    quindel = std::make_unique<ChildProcess>(
        BinDir() + "/quindel", args, std::vector<std::string>{"LC_ALL=pt_BR.UTF-8", "XDG_CONFIG_HOME=" + home.Path()},
        std::vector<std::string>{"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"});
  }
  nlohmann::json NextEcho() {
    std::string line;
    if (!quindel->ReadLine(line, 10s)) return nullptr;
    return nlohmann::json::parse(line, nullptr, false);
  }
  ProcessResult Send(const std::string& l1, const std::string& l2) {
    return RunProcess(BinDir() + "/zelmor", {"display", "send", "--port", std::to_string(port), l1, l2});
  }

  FakePole pole;
  int port = 0;
  TemporaryFolder home;
  std::unique_ptr<ChildProcess> quindel;
};

TEST_F(DisplayMirror, TheDeviceShowsWhatFitsInItsCodePage) {
  Start({"--mirror-codepage", "860"});
  ASSERT_TRUE(NextEcho().is_object()) << quindel->Err();
  std::string upper, lower;
  ASSERT_TRUE(pole.NextLines(upper, lower, 10s)) << quindel->Err();
  EXPECT_EQ(upper, "   Zelmor Quindel   ");  // the start-up text, centred on 40 columns, re-centred on 20
  EXPECT_EQ(lower, "- aguardando comunic");

  ASSERT_EQ(Send("Pão de açúcar", "R$ 3,99").ExitCode, 0);
  ASSERT_TRUE(pole.NextLines(upper, lower, 10s));
  EXPECT_EQ(upper,
            "P\x84o de a\x87\xA3"
            "car       ");
  EXPECT_EQ(lower, "R$ 3,99             ");

  // From a message's last byte on the socket to its frame on the device.
  std::vector<double> ms;
  for (int i = 0; i < 20; ++i) {
    const std::string text = "Item " + std::to_string(i) +
                             "\xBF"
                             "1,00";
    const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<std::uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    const auto sent = Clock::now();
    ASSERT_EQ(::send(s, text.data(), text.size(), 0), static_cast<ssize_t>(text.size()));
    ASSERT_TRUE(pole.NextLines(upper, lower, 10s));
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - sent).count());
    ::close(s);
    EXPECT_EQ(upper.substr(0, 7), "Item " + std::to_string(i) + (i < 10 ? " " : ""));
  }
  std::sort(ms.begin(), ms.end());
  // A figure for the README, not a bound: each frame already had to come, in order, within the wait.
  std::printf("message to pole display bytes: median %.2f ms, worst %.2f ms (20 messages)\n", ms[10], ms.back());
}

TEST_F(DisplayMirror, AnUnpluggedDeviceIsReportedOnceAndTheWindowGoesOn) {
  Start({});
  ASSERT_TRUE(NextEcho().is_object()) << quindel->Err();
  std::string upper, lower;
  ASSERT_TRUE(pole.NextLines(upper, lower, 10s));
  pole.CloseDevice();  // the other end is gone: writes fail with an I/O error
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(Send("Item " + std::to_string(i), "").ExitCode, 0);
    const nlohmann::json echo = NextEcho();
    ASSERT_TRUE(echo.is_object()) << quindel->Err();
    EXPECT_EQ(echo["line1"], "Item " + std::to_string(i));
  }
  std::string err;
  for (int i = 0; i < 50 && err.find("pole display") == std::string::npos; ++i) {
    std::this_thread::sleep_for(100ms);
    err = quindel->Err();
  }
  const std::size_t first = err.find("pole display");
  ASSERT_NE(first, std::string::npos) << err;
  EXPECT_EQ(err.find("pole display", first + 1), std::string::npos) << "reported once: " << err;
}

TEST_F(DisplayMirror, ADeviceThatComesBackGetsTheNewestLines) {
  // The program opens the device through a link, as through a udev name; "plugging in" points
  // the link at a new pseudo-terminal.
  const std::string link = home.Path() + "/pole";
  ASSERT_EQ(::symlink(pole.name, link.c_str()), 0);
  std::strcpy(pole.name, link.c_str());
  Start({});
  ASSERT_TRUE(NextEcho().is_object()) << quindel->Err();
  std::string upper, lower;
  ASSERT_TRUE(pole.NextLines(upper, lower, 10s));
  pole.CloseDevice();
  ASSERT_EQ(Send("Enquanto fora", "").ExitCode, 0);
  ASSERT_TRUE(NextEcho().is_object());

  FakePole replugged;
  ASSERT_EQ(::unlink(link.c_str()), 0);
  ASSERT_EQ(::symlink(replugged.name, link.c_str()), 0);
  ASSERT_EQ(Send("De volta", "R$ 1,00").ExitCode, 0);
  ASSERT_TRUE(NextEcho().is_object());
  // Within the retry second: the start bytes, then the newest lines.
  ASSERT_TRUE(replugged.NextLines(upper, lower, 10s)) << quindel->Err();
  EXPECT_EQ(upper, "De volta            ");
  EXPECT_EQ(lower, "R$ 1,00             ");
  // The report comes through the display's own error writer, a little after the bytes.
  std::string err = quindel->Err();
  for (int i = 0; i < 50 && err.find("is back") == std::string::npos; ++i) {
    std::this_thread::sleep_for(100ms);
    err = quindel->Err();
  }
  EXPECT_NE(err.find("is back"), std::string::npos) << err;
}

TEST(DisplayMirrorOptions, BadValuesAreRefused) {
  struct {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {{"--baud", "9600"}, "need --mirror"},
      {{"--mirror", "/dev/null", "--baud", "12345"}, "--baud"},
      {{"--mirror", "/dev/null", "--mirror-codepage", "1250"}, "--mirror-codepage"},
      {{"--mirror", "/dev/null", "--mirror-protocol", "vfd"}, "usage"},
  };
  for (const auto& c : cases) {
    const ProcessResult r = RunProcess(BinDir() + "/quindel", c.args, {}, 10s, {"QT_QPA_PLATFORM=offscreen"});
    EXPECT_EQ(r.ExitCode, 2);
    EXPECT_NE(r.Err.find(c.message), std::string::npos) << r.Err;
  }
  const ProcessResult help = RunProcess(BinDir() + "/quindel", {"--help"});
  EXPECT_EQ(help.ExitCode, 0);
  EXPECT_NE(help.Out.find("--mirror-protocol"), std::string::npos);
}

}  // namespace
}  // namespace zelmor::testing
