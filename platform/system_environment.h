// What the running system says about itself: its Windows version facts (none on
// other systems) and the process environment.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/service.h"

namespace zelmor::platform {

// The version facts the library's version naming reads, as a Windows system gives
// them. A system that is not Windows leaves them all empty and zero.
struct WindowsVersionFacts {
  // The "FileVersion" text of the system's version program ("10.0.17134.1 (...)"),
  // empty when there is none.
  std::u16string FileVersion;
  // The system's version numbers and service-pack level, as the version tests see them.
  int Major = 0;
  int Minor = 0;
  int ServicePackMajor = 0;
  // The product type is not the workstation type.
  bool Server = false;
};

class SystemEnvironment {
 public:
  static constexpr const char* kServiceName = "system environment";
  virtual ~SystemEnvironment() = default;

  virtual WindowsVersionFacts WindowsVersion() = 0;

  // The value of the process environment variable `name`, or nothing when it is not set.
  virtual std::optional<std::u16string> Variable(std::u16string_view name) = 0;
};

}  // namespace zelmor::platform
