// The time zone from the C library's view of TZ / /etc/localtime. The standard
// offset is found by sampling January and July of the current year, so the
// answer does not change with the season and both hemispheres are covered.
#include <ctime>
#include <initializer_list>

#include "adapters/linux/system_services.h"

namespace zelmor::adapters {
namespace {

class LinuxTimeZone final : public platform::TimeZone {
 public:
  int StandardBias() override {
    tzset();  // TZ may have changed since the last call
    std::time_t now = std::time(nullptr);
    std::tm today{};
    localtime_r(&now, &today);
    for (int month : {0, 6}) {
      std::tm probe{};
      probe.tm_year = today.tm_year;
      probe.tm_mon = month;
      probe.tm_mday = 1;
      probe.tm_hour = 12;
      probe.tm_isdst = -1;
      std::time_t t = std::mktime(&probe);
      std::tm local{};
      if (t != static_cast<std::time_t>(-1) && localtime_r(&t, &local) && local.tm_isdst == 0)
        return static_cast<int>(-local.tm_gmtoff / 60);
    }
    // A zone on daylight time all year still has a standard offset on record.
    return static_cast<int>(timezone / 60);
  }
};

}  // namespace

platform::TimeZone& SystemTimeZone() {
  static LinuxTimeZone zone;
  return zone;
}

}  // namespace zelmor::adapters
