#include "platform/services.h"

#include <atomic>

namespace zelmor::platform {
namespace {

std::atomic<Clock*> gClock{nullptr};
std::atomic<RegionalSettingsSource*> gRegional{nullptr};
std::atomic<ProcessInfo*> gProcess{nullptr};

}  // namespace

Clock& GetClock() {
  Clock* c = gClock.load();
  return c ? *c : SystemClock();
}
void SetClock(Clock* clock) { gClock.store(clock); }

RegionalSettingsSource& GetRegionalSettingsSource() {
  RegionalSettingsSource* r = gRegional.load();
  return r ? *r : SystemRegionalSettings();
}
void SetRegionalSettingsSource(RegionalSettingsSource* source) { gRegional.store(source); }

ProcessInfo& GetProcessInfo() {
  ProcessInfo* p = gProcess.load();
  return p ? *p : SystemProcessInfo();
}
void SetProcessInfo(ProcessInfo* info) { gProcess.store(info); }

}  // namespace zelmor::platform
