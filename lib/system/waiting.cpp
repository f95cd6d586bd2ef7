// Waiting while the program's events keep flowing, through the event pump.
#include "platform/event_pump.h"
#include "system/system.h"

namespace zelmor {

void TmRot::Delay(std::uint32_t MSecs) {
  platform::EventPump& pump = platform::Service<platform::EventPump>::Get();
  const std::uint32_t start = pump.Ticks();
  pump.DispatchPending();
  // Unsigned differences: a counter that wraps meanwhile still gives the time elapsed.
  for (std::uint32_t elapsed = pump.Ticks() - start; elapsed < MSecs; elapsed = pump.Ticks() - start)
    pump.DispatchFor(MSecs - elapsed);
}

bool TmRot::DoEvents() { return platform::Service<platform::EventPump>::Get().DispatchPending(); }

}  // namespace zelmor
