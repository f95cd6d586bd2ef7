// The logon session the program runs in.
#pragma once

#include "platform/service.h"

namespace zelmor::platform {

class SessionInfo {
 public:
  static constexpr const char* kServiceName = "session information";
  virtual ~SessionInfo() = default;

  // True when the session is used from another machine (a remote desktop, a remote
  // shell, a display on another host), where screen effects are expensive.
  virtual bool IsRemote() = 0;
};

}  // namespace zelmor::platform
