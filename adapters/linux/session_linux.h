// Whether the Linux session is used remotely, from what the system tells: logind's
// remote flag for the process's session (through libsystemd when it is there), the
// environment a remote shell or a remote-desktop server leaves (SSH_CONNECTION,
// SSH_CLIENT, SSH_TTY, XRDP_SESSION), and an X display on another host ("host:0").
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

#include "platform/session_info.h"

namespace zelmor::adapters {

struct SessionFacts {
  std::optional<bool> LogindRemote;  // nothing when logind could not be asked
  bool SshEnvironment = false;
  bool XrdpEnvironment = false;
  std::string Display;  // DISPLAY, empty when unset
};

// The facts of the running process.
SessionFacts ReadSessionFacts();

// Remote when any fact says so.
//   a DISPLAY of "pdv-3:0" makes it remote, one of ":0" does not
bool IsRemoteSession(const SessionFacts& facts);

// Whether an X display name has a host part: "pdv-3:0.0", "10.0.0.5:1", "localhost:10.0"
// do; ":0", "unix:0" and socket paths ("/tmp/.X11-unix/X0") do not.
bool DisplayHasHost(const std::string& display);

// Milliseconds since the last keyboard or mouse input on the X display named by
// DISPLAY, from the server's screen-saver extension (libX11 and libXss are loaded at
// run time); nothing without a reachable server or the extension.
std::optional<std::uint64_t> XIdleMilliseconds();
// Seconds from the last input on terminal `fd` (the time it was last read, as `w`
// shows it) to `now`; nothing when `fd` is not a terminal.
std::optional<std::uint64_t> TerminalIdleSeconds(int fd, std::time_t now);
// The X display's idle time where there is one, else that of the first of standard
// input, output and error that is a terminal; 0 when neither tells.
std::uint32_t SessionIdleSeconds();

class LinuxSessionInfo final : public platform::SessionInfo {
 public:
  bool IsRemote() override { return IsRemoteSession(ReadSessionFacts()); }
  std::uint32_t IdleSeconds() override { return SessionIdleSeconds(); }
};

}  // namespace zelmor::adapters
