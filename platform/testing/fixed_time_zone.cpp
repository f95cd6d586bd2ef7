#include "platform/testing/fixed_time_zone.h"

namespace zelmor::testing {

FixedTimeZone::FixedTimeZone(int standardBias) : FBias(standardBias) { platform::SetTimeZone(this); }
FixedTimeZone::~FixedTimeZone() { platform::SetTimeZone(nullptr); }

}  // namespace zelmor::testing
