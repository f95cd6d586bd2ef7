// Message digests from the machine's crypto library, fed in pieces so a large file
// never has to sit in memory.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/service.h"

namespace zelmor::platform {

class Digest {
 public:
  virtual ~Digest() = default;
  virtual void Update(std::string_view bytes) = 0;
  // The raw digest; the object is spent afterwards.
  virtual std::string Final() = 0;
};

class Digests {
 public:
  static constexpr const char* kServiceName = "digests";
  virtual ~Digests() = default;
  virtual std::unique_ptr<Digest> NewMd5() = 0;
  virtual std::unique_ptr<Digest> NewSha256() = 0;
};

}  // namespace zelmor::platform
