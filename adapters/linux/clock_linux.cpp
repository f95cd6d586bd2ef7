#include <sys/time.h>

#include <ctime>

#include "adapters/linux/system_services.h"

namespace zelmor::adapters {
namespace {

using platform::LocalDateTime;

class LinuxClock final : public platform::Clock {
 public:
  LocalDateTime Now() override {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    std::tm tm{};
    localtime_r(&ts.tv_sec, &tm);
    LocalDateTime d;
    d.Year = tm.tm_year + 1900;
    d.Month = tm.tm_mon + 1;
    d.Day = tm.tm_mday;
    d.Hour = tm.tm_hour;
    d.Minute = tm.tm_min;
    d.Second = tm.tm_sec > 59 ? 59 : tm.tm_sec;  // a leap second is not a time of day here
    d.Millisecond = static_cast<int>(ts.tv_nsec / 1000000);
    return d;
  }

  int BiasMinutes() override {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return static_cast<int>(-tm.tm_gmtoff / 60);
  }
};

}  // namespace

platform::Clock& SystemClock() {
  static LinuxClock clock;
  return clock;
}

}  // namespace zelmor::adapters
