// The system's time zone as the library needs it: the standard offset from UTC,
// in the sign convention of a time-zone bias (minutes to add to local time to get UTC).
#pragma once

#include "platform/service.h"

namespace zelmor::platform {

class TimeZone {
 public:
  static constexpr const char* kServiceName = "time zone";
  virtual ~TimeZone() = default;
  // Minutes to add to local standard time to get UTC: Brasília (UTC−3) gives 180,
  // Central Europe −60, India −330. Whether daylight-saving time is in force right
  // now does not change it (Clock::BiasMinutes is the current one).
  virtual int StandardBias() = 0;
};

}  // namespace zelmor::platform
