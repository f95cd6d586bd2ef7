#include "platform/time_zone.h"

#include <atomic>

namespace zelmor::platform {
namespace {

std::atomic<TimeZone*> gTimeZone{nullptr};

}  // namespace

TimeZone& GetTimeZone() {
  TimeZone* z = gTimeZone.load();
  return z ? *z : SystemTimeZone();
}
void SetTimeZone(TimeZone* zone) { gTimeZone.store(zone); }

}  // namespace zelmor::platform
