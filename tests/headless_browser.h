// A real browser for the tests and tools: Debian's Chromium, headless, driven over its
// debugging protocol on a pair of pipes (no port to find, nothing else can talk to it).
// Every call has a time limit; the browser and its profile folder go with the object.
#pragma once

#include <chrono>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

namespace zelmor::testing {

// The Chromium program on the PATH, or empty when there is none.
std::string FindChromium();

// The page at `url` as the browser has it once loaded (`--dump-dom`), or nullopt when the
// browser did not answer in `timeout`.
std::optional<std::string> DumpDom(const std::string& chromium, const std::string& url,
                                   std::chrono::milliseconds timeout = std::chrono::seconds(60));

class HeadlessBrowser {
 public:
  // Starts the browser with one blank page, `width` x `height` pixels.
  explicit HeadlessBrowser(const std::string& chromium, int width = 1000, int height = 200);
  ~HeadlessBrowser();
  HeadlessBrowser(const HeadlessBrowser&) = delete;
  HeadlessBrowser& operator=(const HeadlessBrowser&) = delete;

  // True once the browser answered and its page could be driven.
  bool Ready() const { return !FSession.empty(); }
  // Loads `url` in the page and waits for it to load.
  bool Open(const std::string& url, std::chrono::milliseconds timeout = std::chrono::seconds(30));
  // The value of a script expression in the page (a promise is waited for), or nullopt
  // on a failure or a thrown exception.
  std::optional<nlohmann::json> Evaluate(const std::string& expression,
                                         std::chrono::milliseconds timeout = std::chrono::seconds(10));
  // Waits until `expression` is true in the page (checked every `every`), for at most `timeout`.
  bool WaitFor(const std::string& expression, std::chrono::milliseconds timeout,
               std::chrono::milliseconds every = std::chrono::milliseconds(20));
  // The page laid out at `width` x `height` pixels, as a PNG picture, or empty.
  std::string Screenshot(int width, int height, std::chrono::milliseconds timeout = std::chrono::seconds(30));
  // What the browser said on standard error (for a failure's message).
  std::string Log() const;

 private:
  // Sends a command and waits for its answer; events that come first are skipped.
  std::optional<nlohmann::json> Call(const std::string& method, const nlohmann::json& params,
                                     std::chrono::milliseconds timeout, bool inPage = true);
  bool Receive(std::string& message, std::chrono::steady_clock::time_point deadline);

  int FPid = -1;
  int FToBrowser = -1;
  int FFromBrowser = -1;
  std::string FProfile;
  std::string FBuffer;
  std::string FSession;
  int FNextId = 0;
};

}  // namespace zelmor::testing
