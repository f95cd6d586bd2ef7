// A chosen time zone for tests and tools: installs itself on construction and
// puts back the one it replaced on destruction.
#pragma once

#include "platform/time_zone.h"

namespace zelmor::testing {

class FixedTimeZone final : public platform::TimeZone {
 public:
  explicit FixedTimeZone(int standardBias) : FBias(standardBias) {}
  int StandardBias() override { return FBias; }

 private:
  int FBias;
  platform::Service<platform::TimeZone>::ScopedOverride FInstalled{this};
};

}  // namespace zelmor::testing
