// The one source of "today" and "now" for the library, so tests can fix the clock.
#pragma once

#include "platform/service.h"

namespace zelmor::platform {

// A broken-down local date and time.
struct LocalDateTime {
  int Year = 1899, Month = 12, Day = 30;
  int Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
};

class Clock {
 public:
  static constexpr const char* kServiceName = "clock";
  virtual ~Clock() = default;
  // The current local date and time, with milliseconds.
  virtual LocalDateTime Now() = 0;
  // Minutes to add to local time to get UTC (the sign convention of the platform's
  // time-zone bias: Brasília, UTC−3, gives 180).
  virtual int BiasMinutes() = 0;
};

}  // namespace zelmor::platform
