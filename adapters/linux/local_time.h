// Instants as the local date and time of the system's time zone (the TZ rules,
// daylight-saving time included).
#pragma once

#include <ctime>

#include "platform/clock.h"

namespace zelmor::adapters {

// The local date and time of `seconds` since 1970 UTC plus `nanoseconds`; a leap
// second reads as :59. The 1899-12-30 default when the system cannot convert it.
platform::LocalDateTime LocalTimeOf(std::time_t seconds, long nanoseconds);

}  // namespace zelmor::adapters
