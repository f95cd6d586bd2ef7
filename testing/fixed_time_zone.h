// A chosen time zone for tests and tools: installs itself on construction and
// restores the system's on destruction.
#pragma once

#include "platform/time_zone.h"

namespace zelmor::testing {

class FixedTimeZone final : public platform::TimeZone {
 public:
  explicit FixedTimeZone(int standardBias);
  ~FixedTimeZone() override;
  int StandardBias() override { return FBias; }

 private:
  int FBias;
};

}  // namespace zelmor::testing
