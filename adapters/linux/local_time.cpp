#include "adapters/linux/local_time.h"

namespace zelmor::adapters {

platform::LocalDateTime LocalTimeOf(std::time_t seconds, long nanoseconds) {
  std::tm tm{};
  if (!localtime_r(&seconds, &tm)) return {};
  platform::LocalDateTime d;
  d.Year = tm.tm_year + 1900;
  d.Month = tm.tm_mon + 1;
  d.Day = tm.tm_mday;
  d.Hour = tm.tm_hour;
  d.Minute = tm.tm_min;
  d.Second = tm.tm_sec > 59 ? 59 : tm.tm_sec;  // a leap second is not a time of day here
  d.Millisecond = static_cast<int>(nanoseconds / 1000000);
  return d;
}

}  // namespace zelmor::adapters
