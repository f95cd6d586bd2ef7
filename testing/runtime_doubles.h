// Stand-ins for the runtime services: an event pump on a virtual clock, a tone
// output that records what it was asked to play, fixed version facts and
// environment, a session that is remote or not. Each installs itself on
// construction and puts back the service it replaced on destruction.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/event_pump.h"
#include "platform/session_info.h"
#include "platform/system_environment.h"
#include "platform/tone_output.h"

namespace zelmor::testing {

// An event pump whose ticks move only when it is asked to wait: DispatchFor(ms)
// advances the clock to the next timer or by `ms`, whichever comes first, so waits of
// any length run instantly and the counter can be started near its wrap.
class VirtualEventPump final : public platform::EventPump {
 public:
  explicit VirtualEventPump(std::uint32_t startTicks = 0) : FTicks(startTicks) {}

  std::uint32_t Ticks() override { return FTicks; }
  bool DispatchPending() override;
  bool DispatchFor(std::uint32_t milliseconds) override;

  // Runs `call` at the first dispatch at least `delayMs` after now.
  void Post(std::function<void()> call, std::uint32_t delayMs = 0);
  void PostQuit() { FQuit = true; }

  int DispatchCount() const { return FDispatches; }
  // Virtual milliseconds waited in all, across wraps of the counter.
  std::uint64_t Waited() const { return FWaited; }

 private:
  std::uint32_t FTicks;
  std::uint64_t FWaited = 0;
  std::uint64_t FPosted = 0;
  int FDispatches = 0;
  bool FQuit = false;
  // Keyed by (virtual time of day since construction, order of posting).
  std::map<std::pair<std::uint64_t, std::uint64_t>, std::function<void()>> FTimers;
  platform::Service<platform::EventPump>::ScopedOverride FInstalled{this};
};

// Records every tone asked of it, with the pump's tick count at the time.
class RecordingToneOutput final : public platform::ToneOutput {
 public:
  enum class Kind { Start, Finish, Stop };
  struct Event {
    Kind What;
    std::uint32_t Ticks;
    std::uint32_t Frequency = 0;
    std::uint32_t Milliseconds = 0;
    bool operator==(const Event&) const = default;
  };

  void Start(std::uint32_t frequency, std::uint32_t milliseconds) override;
  void Finish() override;
  void Stop() override;
  const std::vector<Event>& Events() const { return FEvents; }

 private:
  std::vector<Event> FEvents;
  platform::Service<platform::ToneOutput>::ScopedOverride FInstalled{this};
};

class FixedSystemEnvironment final : public platform::SystemEnvironment {
 public:
  explicit FixedSystemEnvironment(platform::WindowsVersionFacts facts = {},
                                  std::map<std::u16string, std::u16string> variables = {})
      : FFacts(std::move(facts)), FVariables(std::move(variables)) {}
  platform::WindowsVersionFacts WindowsVersion() override { return FFacts; }
  std::optional<std::u16string> Variable(std::u16string_view name) override;

 private:
  platform::WindowsVersionFacts FFacts;
  std::map<std::u16string, std::u16string> FVariables;
  platform::Service<platform::SystemEnvironment>::ScopedOverride FInstalled{this};
};

// Wall-clock time and the calling thread's processor time since construction, to show
// that a wait sleeps rather than spins.
class WaitMeter {
 public:
  WaitMeter();
  double ElapsedMs() const;
  double CpuMs() const;

 private:
  double FStart, FCpuStart;
};

class FixedSession final : public platform::SessionInfo {
 public:
  explicit FixedSession(bool remote, std::uint32_t idleSeconds = 0) : FRemote(remote), FIdle(idleSeconds) {}
  bool IsRemote() override { return FRemote; }
  std::uint32_t IdleSeconds() override { return FIdle; }

 private:
  bool FRemote;
  std::uint32_t FIdle;
  platform::Service<platform::SessionInfo>::ScopedOverride FInstalled{this};
};

}  // namespace zelmor::testing
