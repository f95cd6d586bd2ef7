// The running processes as the library sees them: listing and ending them by
// executable name, the machine-wide single-instance guard, the caller's own rights
// and memory.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/service.h"

namespace zelmor::platform {

struct RunningProcess {
  std::int64_t Id = 0;
  // When it started, in the system's own units: with Id it names one process for good,
  // so an id the system has since handed to another process is never mistaken for it.
  std::uint64_t StartTime = 0;
  // The executable file name without folder.
  std::u16string Name;
};

class ProcessControl {
 public:
  static constexpr const char* kServiceName = "process control";
  virtual ~ProcessControl() = default;
  // Every live process the system lets this program see (ended ones not yet reaped
  // are left out), the caller's own included, in no particular order.
  virtual std::vector<RunningProcess> Snapshot() = 0;
  // Ends the process at once, as the system's forced termination does, but only if it
  // is still the one the snapshot saw. True when it was told to end.
  virtual bool End(const RunningProcess& process) = 0;
  // The caller's own process id.
  virtual std::int64_t OwnId() = 0;
  // Claims the machine-wide guard `name`. False when another live process holds it.
  // With `keep` the guard stays held until this process ends (however it ends); without
  // it, it is let go at once, so the call only tests.
  virtual bool ClaimInstance(std::u16string_view name, bool keep) = 0;
  // The caller runs with the system's administrator rights.
  virtual bool IsAdministrator() = 0;
  // Bytes of memory the caller's process has in use right now (its resident set).
  virtual std::uint64_t MemoryInUse() = 0;
  // Gives the memory the process has freed but still holds back to the system, as far
  // as the system allows; never fails.
  virtual void TrimMemory() = 0;
  // Asks the system to power the machine off (or restart it), closing every program.
  // False where the system has no such service for us or refused.
  virtual bool PowerOff(bool restart) = 0;
};

}  // namespace zelmor::platform
