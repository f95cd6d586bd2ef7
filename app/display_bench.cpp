// The display program under load, as a real process on loopback: messages shown
// per second and send-to-echo latency with 1, 10 and 100 concurrent clients;
// resident memory across 10,000 connect/send/close cycles; a 1 MiB message.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <thread>

#include "tests/process_util.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;
using zelmor::testing::ChildProcess;

// The display started headless with --echo; a reader thread drains the echo
// lines (the program would block on a full pipe otherwise) and timestamps them.
class Display {
 public:
  Display() : FPort(zelmor::testing::FreePort()) {
    // The window keeps its position in the user's settings: not the real user's.
    FConfigHome = (std::filesystem::temp_directory_path() / "zelmor-bench-XXXXXX").string();
    if (!mkdtemp(FConfigHome.data())) FConfigHome.clear();
    FChild = std::make_unique<ChildProcess>(zelmor::testing::BinDir() + "/quindel",
                                            std::vector<std::string>{"--port", std::to_string(FPort)},
                                            std::vector<std::string>{"XDG_CONFIG_HOME=" + FConfigHome},
                                            std::vector<std::string>{"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"});
    FReader = std::thread([this] {
      std::string line;
      // Quiet spells are normal: keep draining until told to stop (a full pipe
      // would block the display).
      while (!FStop) {
        if (!FChild->ReadLine(line, 200ms)) {
          std::this_thread::sleep_for(20ms);  // also keeps a dead child from spinning this loop
          continue;
        }
        auto now = Clock::now();
        auto j = nlohmann::json::parse(line, nullptr, false);
        if (!j.is_object()) continue;
        std::lock_guard lock(FMutex);
        FLines.push_back({now, j["line1"].get<std::string>().substr(0, 64)});
        FCv.notify_all();
      }
    });
    WaitFor("             Zelmor Quindel             ", 10s);
  }
  ~Display() {
    FStop = true;
    FChild->Kill();
    FReader.join();
    std::error_code ec;
    if (!FConfigHome.empty()) std::filesystem::remove_all(FConfigHome, ec);
  }

  int Connect() const {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(FPort));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    if (connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
      close(fd);
      return -1;
    }
    return fd;
  }

  // Waits until an echo whose line 1 is `line1` arrives; returns its time.
  std::optional<Clock::time_point> WaitFor(const std::string& line1, std::chrono::milliseconds timeout) {
    std::unique_lock lock(FMutex);
    auto deadline = Clock::now() + timeout;
    for (;;) {
      while (!FLines.empty()) {
        auto e = FLines.front();
        FLines.pop_front();
        if (e.Line1 == line1) return e.At;
      }
      if (FCv.wait_until(lock, deadline) == std::cv_status::timeout && FLines.empty()) return std::nullopt;
    }
  }
  // Collects the arrival time of each line 1 in `wanted` (bounded by `timeout`).
  std::map<std::string, Clock::time_point> WaitForAll(std::set<std::string> wanted, std::chrono::milliseconds timeout) {
    std::map<std::string, Clock::time_point> seen;
    std::unique_lock lock(FMutex);
    auto deadline = Clock::now() + timeout;
    while (!wanted.empty()) {
      while (!FLines.empty()) {
        auto e = FLines.front();
        FLines.pop_front();
        if (wanted.erase(e.Line1)) seen[e.Line1] = e.At;
      }
      if (wanted.empty()) break;
      if (FCv.wait_until(lock, deadline) == std::cv_status::timeout) break;
    }
    return seen;
  }
  long RssKiB() const { return FChild->RssKiB(); }

 private:
  struct Echo {
    Clock::time_point At;
    std::string Line1;
  };
  int FPort;
  std::string FConfigHome;
  std::unique_ptr<ChildProcess> FChild;
  std::thread FReader;
  std::atomic<bool> FStop{false};
  std::mutex FMutex;
  std::condition_variable FCv;
  std::deque<Echo> FLines;
};

bool SendAll(int fd, const std::string& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return false;
    sent += static_cast<std::size_t>(n);
  }
  return true;
}

double Percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[std::min(v.size() - 1, static_cast<std::size_t>(p * static_cast<double>(v.size())))];
}

// Each round, every client sends one message at the same moment; the round ends
// when the display has echoed all of them.
void BM_MessagesConcurrentClients(benchmark::State& state) {
  const int clients = static_cast<int>(state.range(0));
  Display display;
  std::vector<int> fds;
  for (int i = 0; i < clients; ++i) fds.push_back(display.Connect());
  std::vector<double> latenciesUs;
  long seq = 0, shown = 0;
  for (auto _ : state) {
    std::set<std::string> wanted;
    std::vector<Clock::time_point> sentAt(static_cast<std::size_t>(clients));
    std::vector<std::string> ids(static_cast<std::size_t>(clients));
    for (int i = 0; i < clients; ++i) {
      ids[static_cast<std::size_t>(i)] = "c" + std::to_string(i) + "-" + std::to_string(seq++);
      wanted.insert(ids[static_cast<std::size_t>(i)]);
    }
    for (int i = 0; i < clients; ++i) {
      sentAt[static_cast<std::size_t>(i)] = Clock::now();
      SendAll(fds[static_cast<std::size_t>(i)], ids[static_cast<std::size_t>(i)] +
                                                    "\xBF"
                                                    "9,99");
    }
    auto seen = display.WaitForAll(wanted, 10s);
    for (int i = 0; i < clients; ++i) {
      auto it = seen.find(ids[static_cast<std::size_t>(i)]);
      if (it == seen.end()) continue;
      ++shown;
      latenciesUs.push_back(
          std::chrono::duration<double, std::micro>(it->second - sentAt[static_cast<std::size_t>(i)]).count());
    }
  }
  for (int fd : fds) close(fd);
  state.counters["msgs_per_s"] = benchmark::Counter(static_cast<double>(shown), benchmark::Counter::kIsRate);
  state.counters["p50_us"] = Percentile(latenciesUs, 0.50);
  state.counters["p99_us"] = Percentile(latenciesUs, 0.99);
  state.counters["lost"] = static_cast<double>(seq - shown);
}
BENCHMARK(BM_MessagesConcurrentClients)->Arg(1)->Arg(10)->Arg(100)->UseRealTime()->MinTime(2.0);

// 10,000 connect/send/close cycles: resident memory must stay flat.
void BM_RssAcrossConnectionCycles(benchmark::State& state) {
  for (auto _ : state) {
    Display display;
    // Warm up so allocator pools and first-use caches are in place before "before".
    for (int i = 0; i < 500; ++i) {
      int fd = display.Connect();
      SendAll(fd, "w\xBFx");
      close(fd);
    }
    int probe = display.Connect();
    SendAll(probe,
            "warm\xBF"
            "done");
    display.WaitFor("warm", 10s);
    close(probe);
    std::this_thread::sleep_for(200ms);
    // Two rounds of 10,000: a leak per connection grows both rounds alike;
    // allocator pools settling grow the first round only.
    auto round = [&](const std::string& tag) {
      for (int i = 0; i < 10000; ++i) {
        int fd = display.Connect();
        if (fd < 0) continue;
        SendAll(fd, "cycle\xBF" + std::to_string(i));
        close(fd);
      }
      int last = display.Connect();
      SendAll(last, tag +
                        "\xBF"
                        "one");
      display.WaitFor(tag, 30s);
      close(last);
      std::this_thread::sleep_for(200ms);
      return display.RssKiB();
    };
    const long before = display.RssKiB();
    const long after = round("first");
    const long second = round("second");
    state.counters["rss_before_KiB"] = static_cast<double>(before);
    state.counters["rss_after_KiB"] = static_cast<double>(after);
    state.counters["rss_after_20k_KiB"] = static_cast<double>(second);
    state.counters["rss_growth_second_10k_KiB"] = static_cast<double>(second - after);
    state.counters["rss_growth_KiB"] = static_cast<double>(after - before);
  }
}
BENCHMARK(BM_RssAcrossConnectionCycles)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

// A 1 MiB message from one client, then a small one from another: how long the
// display takes to show the small one is how long the big one held the window.
void BM_OneMiBMessage(benchmark::State& state) {
  Display display;
  int big = display.Connect();
  int small = display.Connect();
  std::string payload(1 << 20, 'A');
  payload[10] = '\xBF';
  std::vector<double> stallMs;
  long n = 0;
  for (auto _ : state) {
    SendAll(big, payload);
    std::this_thread::sleep_for(5ms);
    auto sent = Clock::now();
    SendAll(small, "ping" + std::to_string(n) +
                       "\xBF"
                       "x");
    auto seen = display.WaitFor("ping" + std::to_string(n), 10s);
    ++n;
    if (seen) stallMs.push_back(std::chrono::duration<double, std::milli>(*seen - sent).count());
  }
  close(big);
  close(small);
  state.counters["ping_after_1MiB_max_ms"] = stallMs.empty() ? -1 : *std::max_element(stallMs.begin(), stallMs.end());
  state.counters["ping_after_1MiB_p50_ms"] = Percentile(stallMs, 0.5);
}
BENCHMARK(BM_OneMiBMessage)->Iterations(20)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
