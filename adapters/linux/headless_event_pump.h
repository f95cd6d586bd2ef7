// The event pump of programs without a GUI (the command-line tool, tests): a queue
// of calls posted to the thread that made the pump, timers, and a quit request.
// Waiting sleeps on a condition variable until the next timer, a new post or the
// deadline. Other threads can post; only the owning thread dispatches.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

#include "platform/event_pump.h"

namespace zelmor::adapters {

class HeadlessEventPump final : public platform::EventPump {
 public:
  HeadlessEventPump();

  std::uint32_t Ticks() override;
  bool DispatchPending() override;
  bool DispatchFor(std::uint32_t milliseconds) override;

  // Queues `call` to run on the owning thread once `delayMs` have passed (0: at the
  // next dispatch). Calls due at the same time run in the order they were posted.
  // Any thread may post.
  void Post(std::function<void()> call, std::uint32_t delayMs = 0);
  // Asks the event loop to end with `code` (any thread).
  void PostQuit(int code);
  // The owning thread's event loop: dispatches until a quit request, which it takes
  // off and whose code it answers.
  int Run();

 private:
  using Clock = std::chrono::steady_clock;
  // Sleeps until something is posted, the first timer is due, or `deadline`.
  void WaitForWork(Clock::time_point deadline);
  bool OnOwnerThread() const { return std::this_thread::get_id() == FOwner; }

  const std::thread::id FOwner;
  std::mutex FMutex;
  std::condition_variable FWake;
  // Ordered by due time, then by the order of posting.
  std::map<std::pair<Clock::time_point, std::uint64_t>, std::function<void()>> FQueue;
  std::uint64_t FPosted = 0;
  std::optional<int> FQuit;
};

}  // namespace zelmor::adapters
