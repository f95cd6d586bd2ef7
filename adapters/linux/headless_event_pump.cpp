#include "adapters/linux/headless_event_pump.h"

#include "adapters/linux/system_services.h"

namespace zelmor::adapters {

HeadlessEventPump::HeadlessEventPump() : FOwner(std::this_thread::get_id()) {}

std::uint32_t HeadlessEventPump::Ticks() {
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch());
  return static_cast<std::uint32_t>(ms.count());
}

void HeadlessEventPump::Post(std::function<void()> call, std::uint32_t delayMs) {
  {
    std::lock_guard lock(FMutex);
    FQueue.emplace(std::make_pair(Clock::now() + std::chrono::milliseconds(delayMs), FPosted++), std::move(call));
  }
  FWake.notify_all();
}

void HeadlessEventPump::PostQuit(int code) {
  {
    std::lock_guard lock(FMutex);
    FQuit = code;
  }
  FWake.notify_all();
}

bool HeadlessEventPump::DispatchPending() {
  if (!OnOwnerThread()) return false;  // another thread has no queue of its own here
  // Only what is pending now: a call that posts itself again runs at the next dispatch.
  std::unique_lock lock(FMutex);
  const Clock::time_point now = Clock::now();
  const std::uint64_t postedBefore = FPosted;
  for (;;) {
    if (FQuit) return true;
    auto it = FQueue.begin();
    while (it != FQueue.end() && it->first.first <= now && it->first.second >= postedBefore) ++it;
    if (it == FQueue.end() || it->first.first > now) return false;
    std::function<void()> call = std::move(it->second);
    FQueue.erase(it);
    lock.unlock();
    call();
    lock.lock();
  }
}

void HeadlessEventPump::WaitForWork(Clock::time_point deadline) {
  std::unique_lock lock(FMutex);
  const std::uint64_t posted = FPosted;
  if (!FQueue.empty()) deadline = std::min(deadline, FQueue.begin()->first.first);
  FWake.wait_until(lock, deadline, [&] { return FQuit || FPosted != posted; });
}

bool HeadlessEventPump::DispatchFor(std::uint32_t milliseconds) {
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
  if (!OnOwnerThread()) {
    std::this_thread::sleep_until(deadline);
    return false;
  }
  for (;;) {
    if (DispatchPending()) {
      std::this_thread::sleep_until(deadline);
      return true;
    }
    if (Clock::now() >= deadline) return false;
    WaitForWork(deadline);
  }
}

int HeadlessEventPump::Run() {
  while (!DispatchPending()) WaitForWork(Clock::now() + std::chrono::hours(1));
  std::lock_guard lock(FMutex);
  const int code = *FQuit;
  FQuit.reset();
  return code;
}

platform::EventPump& SystemEventPump() {
  // Made by InstallSystemServices, so it belongs to the thread that starts the program.
  static HeadlessEventPump pump;
  return pump;
}

}  // namespace zelmor::adapters
