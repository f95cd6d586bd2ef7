// Facts about the running process and the others on the machine.
#pragma once

#include <string>
#include <vector>

#include "platform/service.h"

namespace zelmor::platform {

class ProcessInfo {
 public:
  static constexpr const char* kServiceName = "process information";
  virtual ~ProcessInfo() = default;
  // Full path of the running program's own executable file, as the system reports it.
  virtual std::u16string ExecutablePath() = 0;
  // The executable file name (without folder) of every running process the system
  // lets this program see, one per process, in no particular order.
  virtual std::vector<std::u16string> RunningExecutableNames() = 0;
};

// The platform's path separator.
#ifdef _WIN32
inline constexpr char16_t PathDelim = u'\\';
#else
inline constexpr char16_t PathDelim = u'/';
#endif

}  // namespace zelmor::platform
