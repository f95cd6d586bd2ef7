#include "adapters/qt/event_pump_qt.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>

#include "mRotinas.h"
#include "testing/runtime_doubles.h"

namespace zelmor::adapters {
namespace {

class QtDelay : public ::testing::Test {
 protected:
  QtEventPump FPump;
  platform::Service<platform::EventPump>::ScopedOverride FInstalled{&FPump};
};

TEST_F(QtDelay, ZeroRunsAPostedTimer) {
  bool ran = false;
  QTimer::singleShot(0, [&] { ran = true; });
  TmRot::Delay(0);
  EXPECT_TRUE(ran);
  EXPECT_FALSE(TmRot::DoEvents());  // nothing pending, no quit
}

TEST_F(QtDelay, SleepsInTheEventLoopInsteadOfSpinning) {
  int ticks = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
  timer.start(100);
  const testing::WaitMeter meter;
  TmRot::Delay(2000);
  const double cpu = meter.CpuMs(), elapsed = meter.ElapsedMs();
  std::printf("Delay(2000) on the Qt event loop: %.1f ms elapsed, %.3f ms of processor time, %d timer events\n",
              elapsed, cpu, ticks);
  EXPECT_GE(elapsed, 1999);  // the wait is counted on a millisecond tick, which may start just before it turns
  EXPECT_LT(elapsed, 3000);
  EXPECT_LT(cpu, 0.05 * elapsed);
  EXPECT_GE(ticks, 10);  // the timer kept firing through the wait
  EXPECT_LE(ticks, 21);  // Qt's coarse timers may fire up to 5 % early
}

TEST_F(QtDelay, AQuitDuringAWaitIsReportedAndStillEndsTheApplicationsLoop) {
  bool quitSeen = false;
  bool laterRan = false;
  double waited = 0;
  QTimer::singleShot(0, [&] {
    QTimer::singleShot(0, [] { QCoreApplication::exit(5); });
    TmRot::Delay(20);  // the exit arrives during the wait, which keeps its length ...
    const auto start = std::chrono::steady_clock::now();
    QTimer::singleShot(0, [&] { laterRan = true; });
    TmRot::Delay(50);  // ... and later waits only sleep
    waited = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    quitSeen = TmRot::DoEvents();
  });
  EXPECT_EQ(QCoreApplication::exec(), 5);
  EXPECT_TRUE(quitSeen);
  EXPECT_FALSE(laterRan);
  EXPECT_GE(waited, 50.0);
  // The loop has ended; the request is gone with it.
  EXPECT_FALSE(TmRot::DoEvents());
}

}  // namespace
}  // namespace zelmor::adapters
