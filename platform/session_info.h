// The logon session the program runs in.
#pragma once

#include <cstdint>

#include "platform/service.h"

namespace zelmor::platform {

class SessionInfo {
 public:
  static constexpr const char* kServiceName = "session information";
  virtual ~SessionInfo() = default;

  // True when the session is used from another machine (a remote desktop, a remote
  // shell, a display on another host), where screen effects are expensive.
  virtual bool IsRemote() = 0;
  // Whole seconds since the last keyboard or mouse input of the session's user; 0 when
  // the system cannot tell.
  virtual std::uint32_t IdleSeconds() = 0;
};

}  // namespace zelmor::platform
