#include "testing/runtime_doubles.h"

#include <time.h>

#include <algorithm>

namespace zelmor::testing {

void VirtualEventPump::Post(std::function<void()> call, std::uint32_t delayMs) {
  FTimers.emplace(std::make_pair(FWaited + delayMs, FPosted++), std::move(call));
}

bool VirtualEventPump::DispatchPending() {
  ++FDispatches;
  // What is due now; a call that posts another runs it at the next dispatch.
  const std::uint64_t postedBefore = FPosted;
  for (auto it = FTimers.begin(); it != FTimers.end() && it->first.first <= FWaited && !FQuit;) {
    if (it->first.second >= postedBefore) {
      ++it;
      continue;
    }
    std::function<void()> call = std::move(it->second);
    FTimers.erase(it);
    call();
    it = FTimers.begin();
  }
  return FQuit;
}

bool VirtualEventPump::DispatchFor(std::uint32_t milliseconds) {
  // To the next timer, but by at least a millisecond so that time always moves.
  std::uint64_t step = milliseconds;
  if (!FQuit && !FTimers.empty()) {
    const std::uint64_t due = FTimers.begin()->first.first;
    step = std::min<std::uint64_t>(step, due > FWaited ? due - FWaited : 1);
  }
  FWaited += step;
  FTicks += static_cast<std::uint32_t>(step);
  return FQuit ? true : DispatchPending();
}

void RecordingToneOutput::Start(std::uint32_t frequency, std::uint32_t milliseconds) {
  FEvents.push_back({Kind::Start, platform::Service<platform::EventPump>::Get().Ticks(), frequency, milliseconds});
}

void RecordingToneOutput::Finish() {
  FEvents.push_back({Kind::Finish, platform::Service<platform::EventPump>::Get().Ticks()});
}

void RecordingToneOutput::Stop() {
  FEvents.push_back({Kind::Stop, platform::Service<platform::EventPump>::Get().Ticks()});
}

std::optional<std::u16string> FixedSystemEnvironment::Variable(std::u16string_view name) {
  auto it = FVariables.find(std::u16string(name));
  if (it == FVariables.end()) return std::nullopt;
  return it->second;
}

namespace {

double Milliseconds(clockid_t clock) {
  timespec ts{};
  clock_gettime(clock, &ts);
  return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

}  // namespace

WaitMeter::WaitMeter() : FStart(Milliseconds(CLOCK_MONOTONIC)), FCpuStart(Milliseconds(CLOCK_THREAD_CPUTIME_ID)) {}
double WaitMeter::ElapsedMs() const { return Milliseconds(CLOCK_MONOTONIC) - FStart; }
double WaitMeter::CpuMs() const { return Milliseconds(CLOCK_THREAD_CPUTIME_ID) - FCpuStart; }

}  // namespace zelmor::testing
