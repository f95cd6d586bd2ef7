#include <gtest/gtest.h>

#include <cstdint>
#include <thread>
#include <vector>

#include "adapters/linux/headless_event_pump.h"
#include "system/system.h"
#include "testing/runtime_doubles.h"

namespace zelmor {
namespace {

using testing::VirtualEventPump;

TEST(Delay, ZeroDispatchesWhatIsPendingOnceAndReturns) {
  VirtualEventPump pump;
  int ran = 0;
  pump.Post([&] {
    ++ran;
    pump.Post([&] { ++ran; });  // posted during the dispatch: left for the next one
  });
  TmRot::Delay(0);
  EXPECT_EQ(ran, 1);
  EXPECT_EQ(pump.DispatchCount(), 1);
  EXPECT_EQ(pump.Waited(), 0u);
}

TEST(Delay, WaitsTheWholePeriodWhereverTheTickCounterStands) {
  for (std::uint32_t start : {0u, 1000u, 0xFFFFFFFFu - 999u, 0xFFFFFFFFu - 10u, 0xFFFFFFFFu}) {
    VirtualEventPump pump(start);
    TmRot::Delay(1000);
    EXPECT_EQ(pump.Waited(), 1000u) << start;
    EXPECT_EQ(static_cast<std::uint32_t>(pump.Ticks() - start), 1000u) << start;
  }
}

TEST(Delay, RunsTheEventsThatArriveDuringTheWait) {
  VirtualEventPump pump(0xFFFFFF00u);  // and the counter wraps on the way
  std::vector<std::uint64_t> at;
  pump.Post([&] { at.push_back(pump.Waited()); }, 300);
  pump.Post([&] { at.push_back(pump.Waited()); }, 700);
  pump.Post([&] { at.push_back(pump.Waited()); }, 1500);
  TmRot::Delay(1000);
  EXPECT_EQ(at, (std::vector<std::uint64_t>{300, 700}));
  EXPECT_EQ(pump.Waited(), 1000u);
}

TEST(Delay, WaitsNestWhenAHandlerWaitsItself) {
  VirtualEventPump pump;
  bool inner = false;
  pump.Post(
      [&] {
        TmRot::Delay(400);
        inner = true;
      },
      100);
  TmRot::Delay(300);
  EXPECT_TRUE(inner);
  EXPECT_EQ(pump.Waited(), 500u);  // the handler's 400 ms from 100 ms on; the outer wait had passed by then
}

TEST(DoEvents, FalseOnAnEmptyQueueTrueOnceQuitIsAskedAndAfter) {
  VirtualEventPump pump;
  EXPECT_FALSE(TmRot::DoEvents());
  int ran = 0;
  pump.Post([&] { ++ran; });
  EXPECT_FALSE(TmRot::DoEvents());
  EXPECT_EQ(ran, 1);
  pump.Post([&] { pump.PostQuit(); });
  EXPECT_TRUE(TmRot::DoEvents());
  EXPECT_TRUE(TmRot::DoEvents());  // the request stays for the loop that must end
}

// ---- On the headless pump of tools and tests, in real time ----
// (How a wait sleeps and wakes on it and on the GUI's pump: adapters/qt/event_pump_qt_test.cpp.)

class HeadlessDelay : public ::testing::Test {
 protected:
  adapters::HeadlessEventPump FPump;
  platform::Service<platform::EventPump>::ScopedOverride FInstalled{&FPump};
};

TEST_F(HeadlessDelay, OnAnotherThreadItOnlySleeps) {
  bool ran = false;
  FPump.Post([&] { ran = true; });
  std::thread other([] { TmRot::Delay(30); });
  other.join();
  EXPECT_FALSE(ran);  // the pump's events belong to its own thread
  TmRot::Delay(0);
  EXPECT_TRUE(ran);
}

}  // namespace
}  // namespace zelmor
