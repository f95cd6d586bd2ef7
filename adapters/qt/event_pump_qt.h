// The event pump of the GUI: Qt's own event loop, run nested. Waiting runs a local
// QEventLoop until a precise timer ends it, so the thread sleeps in the dispatcher
// between events; a request to quit the application (which ends every running loop)
// is noticed, left in force, and turns the rest of a wait into plain sleep.
#pragma once

#include <cstdint>

#include "platform/event_pump.h"

namespace zelmor::adapters {

class QtEventPump final : public platform::EventPump {
 public:
  std::uint32_t Ticks() override;
  bool DispatchPending() override;
  bool DispatchFor(std::uint32_t milliseconds) override;
};

// Installs the Qt pump for the life of the process, over the headless one. Call once,
// after the application object is created.
void InstallQtEventPump();

}  // namespace zelmor::adapters
