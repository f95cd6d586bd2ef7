// How long a message takes from the till to a browser showing the web page: a real TCP
// client sends to the display (started headless with --web), and the page stamps the
// moment its DOM holds the new lines. Prints the median and the worst of the runs.
//   web_latency_bench [--runs N] [--screenshot FILE.png]
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "tests/headless_browser.h"
#include "tests/process_util.h"

namespace {

using namespace std::chrono_literals;
using zelmor::testing::ChildProcess;
using zelmor::testing::HeadlessBrowser;

double NowEpochMs() {
  return std::chrono::duration<double, std::milli>(std::chrono::system_clock::now().time_since_epoch()).count();
}

std::string Js(const std::string& text) { return nlohmann::json(text).dump(); }

}  // namespace

int main(int argc, char** argv) {
  int runs = 100;
  std::string screenshot;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
      runs = std::clamp(std::atoi(argv[++i]), 1, 100000);
    } else if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc) {
      screenshot = argv[++i];
    } else {
      std::fprintf(stderr, "usage: web_latency_bench [--runs N] [--screenshot FILE.png]\n");
      return 2;
    }
  }
  const std::string chromium = zelmor::testing::FindChromium();
  if (chromium.empty()) {
    std::fprintf(stderr, "web_latency_bench: no chromium on the PATH\n");
    return 1;
  }
  // The window keeps its position in the user's settings: not the real user's.
  std::string home = (std::filesystem::temp_directory_path() / "zelmor-bench-XXXXXX").string();
  if (!mkdtemp(home.data())) return 1;
  const int port = zelmor::testing::FreePort();
  ChildProcess display(zelmor::testing::BinDir() + "/quindel", {"--port", std::to_string(port), "--web", "127.0.0.1:0"},
                       {"XDG_CONFIG_HOME=" + home, "LC_ALL=C.UTF-8"},
                       {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"});
  std::string url;
  const std::regex said(R"(web page on (http://\S+/))");
  for (int i = 0; i < 1000 && url.empty(); ++i) {
    std::smatch m;
    const std::string err = display.Err();
    if (std::regex_search(err, m, said))
      url = m[1];
    else
      std::this_thread::sleep_for(20ms);
  }
  if (url.empty()) {
    std::fprintf(stderr, "web_latency_bench: the display did not start: %s\n", display.Err().c_str());
    return 1;
  }
  // The echo is drained so the display never has to drop it.
  std::atomic<bool> stop{false};
  std::thread drain([&] {
    std::string line;
    for (int i = 0; i < 10000000 && !stop; ++i)
      if (!display.ReadLine(line, 200ms)) std::this_thread::sleep_for(10ms);
  });

  int code = 0;
  {
    HeadlessBrowser browser(chromium, 1000, 160);
    if (!browser.Ready() || !browser.Open(url) ||
        !browser.WaitFor("!document.body.classList.contains('offline') && document.fonts.status === 'loaded'", 30s)) {
      std::fprintf(stderr, "web_latency_bench: the browser did not open the page\n%s\n", browser.Log().c_str());
      code = 1;
    }
    std::vector<double> dom, seen;
    const int warmUp = 5;
    for (int i = 0; code == 0 && i < warmUp + runs; ++i) {
      const std::string line1 = "Item " + std::to_string(i);
      const std::string message = line1 +
                                  "\xBF"
                                  "R$ " +
                                  std::to_string(i) + ",00";
      const int s = zelmor::testing::ConnectLoopback(port);
      if (s < 0) {
        code = 1;
        break;
      }
      const auto started = std::chrono::steady_clock::now();
      const bool sent = ::send(s, message.data(), message.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(message.size());
      const double lastByte = NowEpochMs();
      // The page stamps its own clock when the lines are in its DOM; this only waits for it.
      const auto at = browser.Evaluate(
          "new Promise(done => { const check = () => (window.quindelShown && window.quindelShown.line1 === " +
              Js(line1) + ") ? done(window.quindelShown.at) : setTimeout(check, 1); check(); })",
          10s);
      const auto answered = std::chrono::steady_clock::now();
      ::close(s);
      if (!sent || !at || !at->is_number()) {
        std::fprintf(stderr, "web_latency_bench: message %d never reached the page\n", i);
        code = 1;
        break;
      }
      if (i < warmUp) continue;
      dom.push_back(at->get<double>() - lastByte);
      seen.push_back(std::chrono::duration<double, std::milli>(answered - started).count());
    }
    if (code == 0) {
      std::sort(dom.begin(), dom.end());
      std::sort(seen.begin(), seen.end());
      const auto median = [](const std::vector<double>& v) {
        return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
      };
      std::printf("message's last byte to the page's DOM: median %.2f ms, worst %.2f ms, best %.2f ms (%d messages)\n",
                  median(dom), dom.back(), dom.front(), runs);
      std::printf("  the same seen by this tool through the browser's debugging pipe: median %.2f ms, worst %.2f ms\n",
                  median(seen), seen.back());
    }
    if (code == 0 && !screenshot.empty()) {
      const int s = zelmor::testing::ConnectLoopback(port);
      const std::string message =
          "CAFE EXPRESSO 2x         R$ 9,00\xBF"
          "TOTAL                    R$ 21,50";
      if (s >= 0) {
        (void)::send(s, message.data(), message.size(), MSG_NOSIGNAL);
        ::close(s);
      }
      browser.WaitFor("document.getElementById('line2').textContent.startsWith('TOTAL')", 10s);
      // As tall as the two lines are at that width.
      const auto tall = browser.Evaluate(
          "Math.ceil(document.getElementById('lcd').getBoundingClientRect().height * 800 / "
          "document.documentElement.clientWidth)");
      const std::string png = browser.Screenshot(800, tall && tall->is_number() ? tall->get<int>() : 120);
      std::ofstream(screenshot, std::ios::binary) << png;
      std::printf("screenshot: %s (%zu bytes)\n", screenshot.c_str(), png.size());
      if (png.empty()) code = 1;
    }
  }
  stop = true;
  display.Kill();
  drain.join();
  std::error_code ec;
  std::filesystem::remove_all(home, ec);
  return code;
}
