#include "adapters/linux/session_linux.h"

#include "adapters/linux/system_services.h"

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

namespace zelmor::adapters {
namespace {

bool Set(const char* name) {
  const char* v = std::getenv(name);
  return v && *v;
}

// logind's answer for the process's own session, asked through libsystemd loaded at
// run time, so the program neither needs it to build nor to run.
std::optional<bool> LogindRemote() {
  using GetSession = int (*)(int pid, char** session);
  using IsRemote = int (*)(const char* session);
  static void* const library = dlopen("libsystemd.so.0", RTLD_NOW | RTLD_LOCAL);
  if (!library) return std::nullopt;
  static const auto getSession = reinterpret_cast<GetSession>(dlsym(library, "sd_pid_get_session"));
  static const auto isRemote = reinterpret_cast<IsRemote>(dlsym(library, "sd_session_is_remote"));
  if (!getSession || !isRemote) return std::nullopt;
  char* session = nullptr;
  if (getSession(0, &session) < 0 || !session) return std::nullopt;
  const int remote = isRemote(session);
  std::free(session);
  if (remote < 0) return std::nullopt;
  return remote > 0;
}

}  // namespace

SessionFacts ReadSessionFacts() {
  SessionFacts f;
  f.LogindRemote = LogindRemote();
  f.SshEnvironment = Set("SSH_CONNECTION") || Set("SSH_CLIENT") || Set("SSH_TTY");
  f.XrdpEnvironment = Set("XRDP_SESSION");
  if (const char* d = std::getenv("DISPLAY")) f.Display = d;
  return f;
}

bool DisplayHasHost(const std::string& display) {
  const std::size_t colon = display.rfind(':');
  if (colon == std::string::npos || display.starts_with('/')) return false;
  // "host::0" is the old DECnet form; the host is still what comes first.
  std::string host = display.substr(0, colon);
  while (!host.empty() && host.back() == ':') host.pop_back();
  return !host.empty() && host != "unix";
}

bool IsRemoteSession(const SessionFacts& facts) {
  return facts.LogindRemote.value_or(false) || facts.SshEnvironment || facts.XrdpEnvironment ||
         DisplayHasHost(facts.Display);
}

std::optional<std::uint64_t> XIdleMilliseconds() {
  const char* display = std::getenv("DISPLAY");
  if (display == nullptr || *display == '\0') return std::nullopt;
  // The layout of XScreenSaverInfo (X11/extensions/scrnsaver.h), which is stable.
  struct Info {
    unsigned long window;
    int state, kind;
    unsigned long til_or_since, idle, eventMask;
  };
  using Open = void* (*)(const char*);
  using Close = int (*)(void*);
  using Root = unsigned long (*)(void*);
  using Free = int (*)(void*);
  using Alloc = Info* (*)();
  using Query = int (*)(void*, unsigned long, Info*);
  static void* const x11 = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
  static void* const xss = dlopen("libXss.so.1", RTLD_NOW | RTLD_LOCAL);
  if (x11 == nullptr || xss == nullptr) return std::nullopt;
  static const auto open = reinterpret_cast<Open>(dlsym(x11, "XOpenDisplay"));
  static const auto closeDisplay = reinterpret_cast<Close>(dlsym(x11, "XCloseDisplay"));
  static const auto root = reinterpret_cast<Root>(dlsym(x11, "XDefaultRootWindow"));
  static const auto xfree = reinterpret_cast<Free>(dlsym(x11, "XFree"));
  static const auto alloc = reinterpret_cast<Alloc>(dlsym(xss, "XScreenSaverAllocInfo"));
  static const auto query = reinterpret_cast<Query>(dlsym(xss, "XScreenSaverQueryInfo"));
  if (!open || !closeDisplay || !root || !xfree || !alloc || !query) return std::nullopt;
  void* dpy = open(display);
  if (dpy == nullptr) return std::nullopt;
  std::optional<std::uint64_t> idle;
  if (Info* info = alloc()) {
    if (query(dpy, root(dpy), info) != 0) idle = info->idle;
    xfree(info);
  }
  closeDisplay(dpy);
  return idle;
}

std::optional<std::uint64_t> TerminalIdleSeconds(int fd, std::time_t now) {
  struct stat st {};
  if (!isatty(fd) || fstat(fd, &st) != 0) return std::nullopt;
  return now > st.st_atime ? static_cast<std::uint64_t>(now - st.st_atime) : 0;
}

std::uint32_t SessionIdleSeconds() {
  std::optional<std::uint64_t> seconds;
  if (const auto ms = XIdleMilliseconds()) seconds = *ms / 1000;
  for (int fd = 0; fd <= 2 && !seconds; ++fd) seconds = TerminalIdleSeconds(fd, std::time(nullptr));
  return static_cast<std::uint32_t>(std::min<std::uint64_t>(seconds.value_or(0), 0xFFFFFFFFu));
}

platform::SessionInfo& SystemSessionInfo() {
  static LinuxSessionInfo session;
  return session;
}

}  // namespace zelmor::adapters
