#include "adapters/linux/session_linux.h"

#include "adapters/linux/system_services.h"

#include <dlfcn.h>

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

platform::SessionInfo& SystemSessionInfo() {
  static LinuxSessionInfo session;
  return session;
}

}  // namespace zelmor::adapters
