// The system's time zone as the library needs it: the standard offset from UTC,
// in the sign convention of a time-zone bias (minutes to add to local time to get UTC).
#pragma once

namespace zelmor::platform {

class TimeZone {
 public:
  virtual ~TimeZone() = default;
  // Minutes to add to local standard time to get UTC: Brasília (UTC−3) gives 180,
  // Central Europe −60, India −330. Whether daylight-saving time is in force right
  // now does not change it (Clock::BiasMinutes is the current one).
  virtual int StandardBias() = 0;
};

// The time zone service: the system's one unless a replacement is installed
// (nullptr restores the system's).
TimeZone& GetTimeZone();
void SetTimeZone(TimeZone* zone);
TimeZone& SystemTimeZone();

}  // namespace zelmor::platform
