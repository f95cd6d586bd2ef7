#include "tests/headless_browser.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/process_util.h"

namespace zelmor::testing {
namespace {

using Clock = std::chrono::steady_clock;

// Root needs --no-sandbox; the rest keeps a test's browser quiet and alone.
std::vector<std::string> CommonArguments(const std::string& profile) {
  return {"--headless",
          "--no-sandbox",
          "--disable-gpu",
          "--no-first-run",
          "--no-default-browser-check",
          "--disable-extensions",
          "--disable-background-networking",
          "--disable-component-update",
          "--disable-sync",
          "--password-store=basic",
          "--use-mock-keychain",
          "--user-data-dir=" + profile};
}

std::string MakeProfile() {
  std::string pattern = (std::filesystem::temp_directory_path() / "zelmor-browser-XXXXXX").string();
  if (!mkdtemp(pattern.data())) return {};
  return pattern;
}

std::string DecodeBase64(const std::string& text) {
  std::string out;
  unsigned bits = 0;
  int count = 0;
  for (char c : text) {
    int v;
    if (c >= 'A' && c <= 'Z')
      v = c - 'A';
    else if (c >= 'a' && c <= 'z')
      v = c - 'a' + 26;
    else if (c >= '0' && c <= '9')
      v = c - '0' + 52;
    else if (c == '+')
      v = 62;
    else if (c == '/')
      v = 63;
    else
      continue;
    bits = (bits << 6) | static_cast<unsigned>(v);
    count += 6;
    if (count >= 8) {
      count -= 8;
      out += static_cast<char>((bits >> count) & 0xFF);
    }
  }
  return out;
}

}  // namespace

std::string FindChromium() {
  const char* path = std::getenv("PATH");
  std::stringstream dirs(path ? path : "/usr/bin:/bin");
  for (std::string dir; std::getline(dirs, dir, ':');) {
    for (const char* name : {"chromium", "chromium-browser"}) {
      const std::string candidate = dir + "/" + name;
      if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    }
  }
  return {};
}

std::optional<std::string> DumpDom(const std::string& chromium, const std::string& url,
                                   std::chrono::milliseconds timeout) {
  const std::string profile = MakeProfile();
  std::vector<std::string> args = CommonArguments(profile);
  args.push_back("--dump-dom");
  args.push_back(url);
  ProcessResult r = RunProcess(chromium, args, {}, timeout);
  std::error_code ec;
  std::filesystem::remove_all(profile, ec);
  if (r.ExitCode != 0) return std::nullopt;
  return r.Out;
}

HeadlessBrowser::HeadlessBrowser(const std::string& chromium, int width, int height) {
  FProfile = MakeProfile();
  if (FProfile.empty()) return;
  int toBrowser[2], fromBrowser[2];
  if (pipe2(toBrowser, O_CLOEXEC) || pipe2(fromBrowser, O_CLOEXEC)) return;
  std::vector<std::string> args = CommonArguments(FProfile);
  args.push_back("--remote-debugging-pipe");
  args.push_back("--hide-scrollbars");
  args.push_back("--window-size=" + std::to_string(width) + "," + std::to_string(height));
  args.push_back("about:blank");
  std::vector<char*> argv{const_cast<char*>(chromium.c_str())};
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  const std::string log = FProfile + "/browser.log";
  const pid_t pid = fork();
  if (pid == 0) {
    // Its own process group, so its helper processes end with it.
    setpgid(0, 0);
    const int devnull = open("/dev/null", O_RDWR);
    const int err = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(devnull, 0);
    dup2(devnull, 1);
    dup2(err >= 0 ? err : devnull, 2);
    // The protocol's pipe: the browser reads commands on 3 and answers on 4.
    dup2(toBrowser[0], 3);
    dup2(fromBrowser[1], 4);
    execv(chromium.c_str(), argv.data());
    _exit(127);
  }
  ::close(toBrowser[0]);
  ::close(fromBrowser[1]);
  FToBrowser = toBrowser[1];
  FFromBrowser = fromBrowser[0];
  if (pid < 0) return;
  FPid = pid;
  setpgid(pid, pid);
  ::signal(SIGPIPE, SIG_IGN);

  const auto targets = Call("Target.getTargets", nlohmann::json::object(), std::chrono::seconds(60), false);
  if (!targets) return;
  std::string target;
  for (const auto& t : (*targets)["targetInfos"])
    if (t.value("type", "") == "page") target = t.value("targetId", "");
  if (target.empty()) return;
  const auto attached =
      Call("Target.attachToTarget", {{"targetId", target}, {"flatten", true}}, std::chrono::seconds(30), false);
  if (!attached) return;
  FSession = attached->value("sessionId", "");
}

HeadlessBrowser::~HeadlessBrowser() {
  if (FPid > 0) {
    Call("Browser.close", nlohmann::json::object(), std::chrono::seconds(5), false);
    // Up to 5 s for it to end by itself, then the whole group.
    bool ended = false;
    for (int i = 0; i < 250 && !ended; ++i) {
      ended = ::waitpid(FPid, nullptr, WNOHANG) == FPid;
      if (!ended) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ::kill(-FPid, SIGKILL);
    if (!ended) ::waitpid(FPid, nullptr, 0);
  }
  if (FToBrowser >= 0) ::close(FToBrowser);
  if (FFromBrowser >= 0) ::close(FFromBrowser);
  if (!FProfile.empty()) {
    std::error_code ec;
    std::filesystem::remove_all(FProfile, ec);
  }
}

std::string HeadlessBrowser::Log() const {
  std::ifstream in(FProfile + "/browser.log");
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

bool HeadlessBrowser::Receive(std::string& message, Clock::time_point deadline) {
  for (;;) {
    const std::size_t end = FBuffer.find('\0');
    if (end != std::string::npos) {
      message = FBuffer.substr(0, end);
      FBuffer.erase(0, end + 1);
      return true;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0 || FFromBrowser < 0) return false;
    pollfd p{FFromBrowser, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(left)) <= 0) continue;
    char buf[65536];
    const ssize_t n = ::read(FFromBrowser, buf, sizeof buf);
    if (n <= 0) return false;
    FBuffer.append(buf, static_cast<std::size_t>(n));
  }
}

std::optional<nlohmann::json> HeadlessBrowser::Call(const std::string& method, const nlohmann::json& params,
                                                    std::chrono::milliseconds timeout, bool inPage) {
  if (FToBrowser < 0 || (inPage && FSession.empty())) return std::nullopt;
  const int id = ++FNextId;
  nlohmann::json command{{"id", id}, {"method", method}, {"params", params}};
  if (inPage) command["sessionId"] = FSession;
  std::string bytes = command.dump();
  bytes.push_back('\0');
  for (std::size_t done = 0; done < bytes.size();) {
    const ssize_t n = ::write(FToBrowser, bytes.data() + done, bytes.size() - done);
    if (n <= 0) return std::nullopt;
    done += static_cast<std::size_t>(n);
  }
  const auto deadline = Clock::now() + timeout;
  std::string message;
  while (Receive(message, deadline)) {
    auto answer = nlohmann::json::parse(message, nullptr, false);
    if (!answer.is_object() || answer.value("id", -1) != id) continue;  // an event, or an older answer
    if (answer.contains("error")) return std::nullopt;
    return answer.value("result", nlohmann::json::object());
  }
  return std::nullopt;
}

bool HeadlessBrowser::Open(const std::string& url, std::chrono::milliseconds timeout) {
  if (!Call("Page.navigate", {{"url", url}}, timeout)) return false;
  return WaitFor("document.readyState === 'complete' && location.href.startsWith(" + nlohmann::json(url).dump() + ")",
                 timeout);
}

std::optional<nlohmann::json> HeadlessBrowser::Evaluate(const std::string& expression,
                                                        std::chrono::milliseconds timeout) {
  const auto r =
      Call("Runtime.evaluate", {{"expression", expression}, {"returnByValue", true}, {"awaitPromise", true}}, timeout);
  if (!r || r->contains("exceptionDetails")) return std::nullopt;
  return (*r)["result"].value("value", nlohmann::json());
}

bool HeadlessBrowser::WaitFor(const std::string& expression, std::chrono::milliseconds timeout,
                              std::chrono::milliseconds every) {
  const auto deadline = Clock::now() + timeout;
  const long tries = timeout / std::max(every, std::chrono::milliseconds(1)) + 2;
  for (long i = 0; i < tries; ++i) {
    const auto v = Evaluate("Boolean(" + expression + ")", timeout);
    if (v && v->is_boolean() && v->get<bool>()) return true;
    if (Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(every);
  }
  return false;
}

std::string HeadlessBrowser::Screenshot(int width, int height, std::chrono::milliseconds timeout) {
  // The headless window's own size is not the page's: the page is told its size.
  if (!Call("Emulation.setDeviceMetricsOverride",
            {{"width", width}, {"height", height}, {"deviceScaleFactor", 1}, {"mobile", false}}, timeout))
    return {};
  // Two frames, so the page has laid itself out for the new size.
  Evaluate("new Promise(done => requestAnimationFrame(() => requestAnimationFrame(() => done(true))))", timeout);
  const auto r = Call("Page.captureScreenshot", {{"format", "png"}}, timeout);
  if (!r || !r->contains("data")) return {};
  return DecodeBase64((*r)["data"].get<std::string>());
}

}  // namespace zelmor::testing
