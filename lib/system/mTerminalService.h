// TmTS: whether the program runs in a remote session (a remote desktop, a remote
// shell, a display on another machine), so callers can spare effects that are
// expensive over a remote connection.
#pragma once

#include <string>
#include <string_view>

namespace zelmor {

class TmTS {
 public:
  TmTS() = delete;

  // The value of the process environment variable `EnVar`, empty when it is not set:
  // the same routine as TmRot::GetVariavelAmbiente.
  static std::u16string GetVariavelAmbiente(std::u16string_view EnVar);
  // The name the system gives the process's logon, from the variable "SESSIONNAME"
  // ("Console" on a Windows machine's own screen); empty when it is not set, as on
  // Linux, which has no such name.
  static std::u16string GetSecaoLogado();
  // True when the system reports the session as remote. On Linux: logind's remote
  // flag for the session, a remote shell's or remote-desktop server's environment
  // (SSH_CONNECTION, SSH_CLIENT, SSH_TTY, XRDP_SESSION), or a DISPLAY on another host.
  static bool IsTerminalService();
};

}  // namespace zelmor
