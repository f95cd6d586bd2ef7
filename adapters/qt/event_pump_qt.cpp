#include "adapters/qt/event_pump_qt.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <thread>

namespace zelmor::adapters {
namespace {

// What our own timer ends a nested loop with; anything else (the application's exit
// code, or -1 when its exit was already asked) means the application is quitting.
constexpr int kOwnExit = 0x5A17D00D;

// Runs a nested loop until `milliseconds` pass (0: one round of what is pending).
// False when the application asked to quit meanwhile or before.
bool RunNested(std::uint32_t milliseconds) {
  QEventLoop loop;
  QTimer timer;
  timer.setSingleShot(true);
  timer.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer, &QTimer::timeout, &loop, [&loop] { loop.exit(kOwnExit); });
  if (milliseconds == 0) {
    // Queued behind what is already posted, so that runs first.
    QMetaObject::invokeMethod(
        &loop, [&loop] { loop.exit(kOwnExit); }, Qt::QueuedConnection);
  } else {
    timer.start(std::chrono::milliseconds(milliseconds));
  }
  return loop.exec(QEventLoop::AllEvents) == kOwnExit;
}

}  // namespace

std::uint32_t QtEventPump::Ticks() {
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch());
  return static_cast<std::uint32_t>(ms.count());
}

bool QtEventPump::DispatchPending() { return !RunNested(0); }

bool QtEventPump::DispatchFor(std::uint32_t milliseconds) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
  // Qt's timers count whole milliseconds and may fire a little early: wait out the rest.
  for (Clock::duration left = std::chrono::milliseconds(milliseconds); left > Clock::duration::zero();
       left = deadline - Clock::now()) {
    const auto ms = std::max<std::int64_t>(1, std::chrono::ceil<std::chrono::milliseconds>(left).count());
    if (!RunNested(static_cast<std::uint32_t>(ms))) {
      // The application is ending: no more dispatching, but the wait keeps its length.
      std::this_thread::sleep_until(deadline);
      return true;
    }
  }
  return false;
}

void InstallQtEventPump() {
  static QtEventPump pump;
  platform::Service<platform::EventPump>::Set(&pump);
}

}  // namespace zelmor::adapters
