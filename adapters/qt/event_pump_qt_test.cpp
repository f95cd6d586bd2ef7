// The library's waits on both event pumps: the headless one of tools and tests and the
// GUI's Qt one, in real time, through one typed test; then what only the Qt loop has.
#include "adapters/qt/event_pump_qt.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <utility>

#include "adapters/linux/headless_event_pump.h"
#include "mRotinas.h"
#include "testing/runtime_doubles.h"

namespace zelmor::adapters {
namespace {

using namespace std::chrono_literals;

// Each pump with the way its own events arrive: a call posted from any thread, and a
// timer that repeats.
struct HeadlessPump {
  HeadlessEventPump Pump;
  std::function<void()> Repeat;
  void PostFromAnyThread(std::function<void()> call) { Pump.Post(std::move(call)); }
  void Every(std::uint32_t ms, std::function<void()> call) {
    Repeat = [this, ms, call] {
      call();
      Pump.Post(Repeat, ms);
    };
    Pump.Post(Repeat, ms);
  }
  // Timer events a 100 ms timer gives in a 2000 ms wait, at most.
  static constexpr int kMostTicks = 20;
};

struct QtPump {
  QtEventPump Pump;
  QTimer Repeat;
  void PostFromAnyThread(std::function<void()> call) {
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(call), Qt::QueuedConnection);
  }
  void Every(std::uint32_t ms, std::function<void()> call) {
    QObject::connect(&Repeat, &QTimer::timeout, std::move(call));
    Repeat.start(static_cast<int>(ms));
  }
  static constexpr int kMostTicks = 21;  // Qt's coarse timers may fire up to 5 % early
};

struct PumpName {
  template <class T>
  static std::string GetName(int) {
    return std::is_same_v<T, HeadlessPump> ? "Headless" : "Qt";
  }
};

template <class P>
class Delay : public ::testing::Test {
 protected:
  P F;
  platform::Service<platform::EventPump>::ScopedOverride FInstalled{&F.Pump};
};
using Pumps = ::testing::Types<HeadlessPump, QtPump>;
TYPED_TEST_SUITE(Delay, Pumps, PumpName);

TYPED_TEST(Delay, ZeroRunsAPostedCall) {
  bool ran = false;
  this->F.PostFromAnyThread([&] { ran = true; });
  TmRot::Delay(0);
  EXPECT_TRUE(ran);
  EXPECT_FALSE(TmRot::DoEvents());  // nothing pending, no quit
}

TYPED_TEST(Delay, SleepsInTheDispatcherInsteadOfSpinning) {
  int ticks = 0;
  this->F.Every(100, [&] { ++ticks; });  // events keep flowing through the wait
  const testing::WaitMeter meter;
  TmRot::Delay(2000);
  const double cpu = meter.CpuMs(), elapsed = meter.ElapsedMs();
  std::printf("Delay(2000): %.1f ms elapsed, %.3f ms of processor time, %d timer events\n", elapsed, cpu, ticks);
  EXPECT_GE(elapsed, 1999);        // the wait is counted on a millisecond tick, which may start just before it turns
  EXPECT_LT(cpu, 0.05 * elapsed);  // a spinning wait would use all of it
  // The timer kept firing through the wait, and the wait ended when it was due: a wait
  // that overran would have seen more of them.
  EXPECT_GE(ticks, 10);
  EXPECT_LE(ticks, TypeParam::kMostTicks);
}

TYPED_TEST(Delay, WakesForWhatAnotherThreadPosts) {
  // Another thread posts each call only once the one before it has run, so all of them
  // run within one wait only if every post wakes the sleeping pump at once.
  constexpr int kCalls = 5;
  std::atomic<int> ran{0};
  std::atomic<bool> over{false};
  std::thread other([&] {
    for (int i = 0; i < kCalls && !over; ++i) {
      std::this_thread::sleep_for(10ms);  // so the pump is asleep when the call comes
      this->F.PostFromAnyThread([&] { ++ran; });
      while (ran <= i && !over) std::this_thread::sleep_for(1ms);
    }
  });
  TmRot::Delay(2000);
  over = true;
  other.join();
  EXPECT_EQ(ran, kCalls);
}

// ---- The Qt loop only ----

class QtDelay : public ::testing::Test {
 protected:
  QtEventPump FPump;
  platform::Service<platform::EventPump>::ScopedOverride FInstalled{&FPump};
};

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
