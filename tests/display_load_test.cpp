// The built display program under load, headless, its echo telling what it shows:
// 2,000 idle connections held open throughout, then bursts of resets, clients that
// trickle their bytes, a client streaming 64 MiB, and every byte value. After each
// phase a new client's message is shown (the display never stops showing the latest
// message), at most one error box is ever open, and the resident memory stays within
// a stated bound of what it was with the idle connections alone.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

#include "core/cp1252.h"
#include "core/text.h"
#include "testing/temp_store.h"
#include "tests/process_util.h"

namespace zelmor::testing {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int kIdle = 2000;
// How far the resident memory may rise above what it was with the idle connections
// alone, across two rounds of every later phase (the 64 MiB streams included).
constexpr long kMostGrowthKiB = 48 * 1024;
// How far it may rise in a second round of the same load: nothing kept per message or
// per connection. The display runs with the C library's mapping threshold fixed: left
// to itself, the library raises it once the first big read buffer is freed, so later
// big buffers come from the heap, which then keeps a few MiB that vary with how the
// stream was cut into reads (4.2, 5.0 and 8.1 MiB were seen on a loaded machine, 0 on
// an idle one): noise of the allocator's, not memory the display holds.
constexpr long kMostRoundGrowthKiB = 8 * 1024;

bool SendAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// One message from a client of its own, closed in order afterwards.
bool SendMessage(int port, std::string_view bytes) {
  const int fd = ConnectLoopback(port);
  if (fd < 0) return false;
  const bool sent = SendAll(fd, bytes);
  ::close(fd);
  return sent;
}

void Reset(int fd) {
  struct linger l {
    1, 0
  };
  ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &l, sizeof l);
  ::close(fd);
}

int OpenDescriptors(int pid) {
  int n = 0;
  for (const auto& e : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/fd"))
    n += e.exists() ? 1 : 0;
  return n;
}

class DisplayLoad : public ::testing::Test {
 protected:
  void SetUp() override {
    // Room for the idle connections, the test's side of them and everything else.
    rlimit r{};
    getrlimit(RLIMIT_NOFILE, &r);
    if (r.rlim_cur < 8192) {
      r.rlim_cur = std::min<rlim_t>(8192, r.rlim_max);
      setrlimit(RLIMIT_NOFILE, &r);
    }
    if (r.rlim_cur < 2 * kIdle + 200) GTEST_SKIP() << "the descriptor limit (" << r.rlim_cur << ") is too low";
    port = FreePort();
    quindel =
        std::make_unique<ChildProcess>("/bin/sh",
                                       std::vector<std::string>{"-c", "ulimit -n 8192 && exec \"$0\" --port \"$1\"",
                                                                BinDir() + "/quindel", std::to_string(port)},
                                       std::vector<std::string>{"LC_ALL=pt_BR.UTF-8", "XDG_CONFIG_HOME=" + home.Path(),
                                                                "MALLOC_MMAP_THRESHOLD_=131072"},
                                       std::vector<std::string>{"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"});
  }
  void TearDown() override {
    for (int fd : idle) ::close(fd);
  }

  // Reads the echo (bounded in lines and time) until the two lines are `line1` and
  // `line2`: what the display shows last. Lines echoed meanwhile are counted.
  bool Shows(const std::string& line1, const std::string& line2, std::chrono::milliseconds within = 20s) {
    const auto deadline = Clock::now() + within;
    std::string line;
    for (long n = 0; n < 10'000'000 && Clock::now() < deadline; ++n) {
      if (!quindel->ReadLine(line, 200ms)) continue;
      ++echoed;
      const auto j = nlohmann::json::parse(line, nullptr, false);
      if (j.is_object() && j["line1"] == line1 && j["line2"] == line2) return true;
    }
    return false;
  }

  // Errors said on standard error, and those said while a box was open already.
  int ErrorLines(bool boxedOnly) {
    const std::string err = quindel->Err();
    int n = 0;
    for (std::size_t at = 0; (at = err.find("socket error", at)) != std::string::npos; ++at) {
      const std::size_t end = err.find('\n', at);
      const bool logged = err.substr(at, end - at).find("an error box is open already") != std::string::npos;
      n += (!boxedOnly || !logged) ? 1 : 0;
    }
    return n;
  }

  TemporaryFolder home;
  int port = 0;
  std::unique_ptr<ChildProcess> quindel;
  std::vector<int> idle;
  long echoed = 0;
};

// One round of load after the idle connections: resets, slow clients, the 64 MiB
// stream, every byte value. Each phase ends with a new client's message shown.
struct Round {
  double Resets = 0, Slow = 0, Stream = 0, WorstQuick = 0;
  long PeakKiB = 0;
};

TEST_F(DisplayLoad, KeepsShowingTheLatestMessageUnderLoad) {
  ASSERT_TRUE(Shows("             Zelmor Quindel             ", "       - aguardando comunicacao -       "))
      << quindel->Err();
  const long startKiB = quindel->RssKiB();

  // 2,000 idle connections, held to the end.
  auto phase = Clock::now();
  for (int i = 0; i < kIdle; ++i) {
    const int fd = ConnectLoopback(port);
    ASSERT_GE(fd, 0) << "connection " << i;
    idle.push_back(fd);
  }
  ASSERT_TRUE(SendMessage(port,
                          "depois de 2000\xBF"
                          "conexoes"));
  ASSERT_TRUE(Shows("depois de 2000", "conexoes")) << quindel->Err();
  const double idleSeconds = std::chrono::duration<double>(Clock::now() - phase).count();
  EXPECT_GE(OpenDescriptors(quindel->Pid()), kIdle) << "the display let idle connections go";
  std::this_thread::sleep_for(300ms);
  const long idleKiB = quindel->RssKiB();

  auto round = [&](const std::string& tag, Round& r) {
    // Resets: connections closed with RST, some after a half-sent message.
    auto phase = Clock::now();
    for (int i = 0; i < 500; ++i) {
      const int fd = ConnectLoopback(port);
      ASSERT_GE(fd, 0);
      if (i % 2) SendAll(fd, "meia mensa");
      Reset(fd);
    }
    ASSERT_TRUE(SendMessage(port, "depois dos\xBFresets " + tag));
    ASSERT_TRUE(Shows("depois dos", "resets " + tag)) << quindel->Err();
    r.Resets = std::chrono::duration<double>(Clock::now() - phase).count();

    // Slow clients: 100 trickle a byte every 5 ms while a quick one sends every 100 ms.
    phase = Clock::now();
    std::atomic<bool> stop{false};
    std::thread trickle([&] {
      std::vector<int> slow;
      for (int i = 0; i < 100; ++i)
        if (const int fd = ConnectLoopback(port); fd >= 0) slow.push_back(fd);
      for (int k = 0; k < 600 && !stop; ++k) {
        for (int fd : slow) ::send(fd, "x", 1, MSG_NOSIGNAL | MSG_DONTWAIT);
        std::this_thread::sleep_for(5ms);
      }
      for (int fd : slow) ::close(fd);
    });
    for (int i = 0; i < 10; ++i) {
      std::this_thread::sleep_for(100ms);
      const auto sent = Clock::now();
      const std::string text = "rapido " + std::to_string(i);
      ASSERT_TRUE(SendMessage(port, text + "\xBF" + "entre lentos"));
      // Trickled bytes are messages too; this one is shown in its turn.
      ASSERT_TRUE(Shows(text, "entre lentos")) << quindel->Err();
      r.WorstQuick = std::max(r.WorstQuick, std::chrono::duration<double>(Clock::now() - sent).count());
    }
    stop = true;
    trickle.join();
    ASSERT_TRUE(SendMessage(port, "depois dos\xBFlentos " + tag));
    ASSERT_TRUE(Shows("depois dos", "lentos " + tag)) << quindel->Err();
    r.Slow = std::chrono::duration<double>(Clock::now() - phase).count();

    // One client streams 64 MiB of every byte value; the echo is read meanwhile.
    phase = Clock::now();
    std::atomic<bool> streamed{false};
    std::thread stream([&] {
      const int fd = ConnectLoopback(port);
      if (fd < 0) return;
      timeval most{30, 0};  // a display that stopped reading fails the send instead of holding the test
      ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &most, sizeof most);
      std::string chunk(1 << 20, '\0');
      for (std::size_t i = 0; i < chunk.size(); ++i) chunk[i] = static_cast<char>(i * 131 % 256);
      bool all = true;
      for (int i = 0; i < 64 && all; ++i) all = SendAll(fd, chunk);
      ::close(fd);
      streamed = all;
    });
    std::string line;
    for (long n = 0; !streamed && Clock::now() < phase + 120s; ++n) {
      if (quindel->ReadLine(line, 20ms)) ++echoed;
      if (n % 16 == 0) r.PeakKiB = std::max(r.PeakKiB, quindel->RssKiB());
    }
    stream.join();
    EXPECT_TRUE(streamed) << "the 64 MiB did not all go in";
    ASSERT_TRUE(SendMessage(port,
                            "depois de\xBF"
                            "64 MiB " +
                                tag));
    ASSERT_TRUE(Shows("depois de", "64 MiB " + tag, 60s)) << quindel->Err();
    r.Stream = std::chrono::duration<double>(Clock::now() - phase).count();

    // Every byte value: in one message, and each one alone.
    std::string all(256, '\0');
    for (int b = 0; b < 256; ++b) all[static_cast<std::size_t>(b)] = static_cast<char>(b);
    ASSERT_TRUE(SendMessage(port, all));
    ASSERT_TRUE(Shows(U16ToUtf8(cp1252::Decode(all.substr(0, 0xBF))), U16ToUtf8(cp1252::Decode(all.substr(0xC0)))))
        << quindel->Err();
    for (int b = 0; b < 256; ++b) {
      const std::string one(1, static_cast<char>(b));
      ASSERT_TRUE(SendMessage(port, one));
      ASSERT_TRUE(Shows(b == 0xBF ? "" : U16ToUtf8(cp1252::Decode(one)), "")) << "byte " << b;
    }
  };

  Round first, second;
  round("1", first);
  if (HasFatalFailure()) return;
  std::this_thread::sleep_for(300ms);
  const long firstKiB = quindel->RssKiB();
  round("2", second);
  if (HasFatalFailure()) return;
  std::this_thread::sleep_for(300ms);
  const long secondKiB = quindel->RssKiB();

  EXPECT_GT(ErrorLines(false), 0) << "no reset was reported: " << quindel->Err();
  EXPECT_LE(ErrorLines(true), 1) << "more than one error box: " << quindel->Err();
  EXPECT_TRUE(quindel->Running());
  // Flat: a second round of the same load leaves the memory where the first did.
  EXPECT_LT(secondKiB - idleKiB, kMostGrowthKiB)
      << "resident memory rose from " << idleKiB << " to " << secondKiB << " KiB";
  EXPECT_LT(secondKiB - firstKiB, kMostRoundGrowthKiB)
      << "after round 1: " << firstKiB << " KiB, after round 2: " << secondKiB;
  std::printf(
      "VmRSS: %ld KiB at start, %ld with %d idle connections (%.2f s to open), %ld after round 1 (peak %ld), "
      "%ld after round 2 (peak %ld)\n",
      startKiB, idleKiB, kIdle, idleSeconds, firstKiB, first.PeakKiB, secondKiB, second.PeakKiB);
  for (const Round* r : {&first, &second})
    std::printf(
        "round: 500 resets %.2f s; 100 slow clients %.2f s (worst latency of a quick message %.0f ms); "
        "64 MiB stream %.2f s (%.0f MiB/s)\n",
        r->Resets, r->Slow, r->WorstQuick * 1000, r->Stream, 64 / r->Stream);
  std::printf("echo lines read: %ld; errors said: %d, of which in a box: %d\n", echoed, ErrorLines(false),
              ErrorLines(true));
}

}  // namespace
}  // namespace zelmor::testing
