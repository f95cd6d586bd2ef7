// The event loop of the calling thread, as the library's waiting routines need it:
// run what is pending, and sleep in the dispatcher until the next event or a
// deadline. The GUI's implementation drives its toolkit's loop; tools and tests
// use a headless one with posted calls and timers.
#pragma once

#include <cstdint>

#include "platform/service.h"

namespace zelmor::platform {

class EventPump {
 public:
  static constexpr const char* kServiceName = "event pump";
  virtual ~EventPump() = default;

  // Milliseconds on the system's monotonic tick counter, as a 32-bit count that wraps
  // about every 49.7 days: differences are taken as unsigned.
  virtual std::uint32_t Ticks() = 0;

  // Dispatches every event already pending for the calling thread, once each. True when
  // a request to end the program's event loop was met; the request stays in force, so
  // that loop still ends once control returns to it.
  virtual bool DispatchPending() = 0;

  // Dispatches events as they arrive for `milliseconds`, sleeping while there are none
  // (no busy waiting). May return a little early; callers measure with Ticks(). After a
  // request to end the event loop it only sleeps, and answers true.
  virtual bool DispatchFor(std::uint32_t milliseconds) = 0;
};

}  // namespace zelmor::platform
