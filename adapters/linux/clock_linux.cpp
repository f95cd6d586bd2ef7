#include <sys/time.h>

#include <ctime>

#include "adapters/linux/local_time.h"
#include "adapters/linux/system_services.h"

namespace zelmor::adapters {
namespace {

using platform::LocalDateTime;

class LinuxClock final : public platform::Clock {
 public:
  LocalDateTime Now() override {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return LocalTimeOf(ts.tv_sec, ts.tv_nsec);
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
