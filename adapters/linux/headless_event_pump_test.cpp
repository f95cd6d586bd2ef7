#include "adapters/linux/headless_event_pump.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>

#include "mRotinas.h"

namespace zelmor::adapters {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

TEST(HeadlessEventPump, RunsCallsByDueTimeThenInTheOrderPosted) {
  HeadlessEventPump pump;
  std::string order;
  pump.Post([&] { order += 'c'; }, 40);
  pump.Post([&] { order += 'a'; });
  pump.Post([&] { order += 'b'; });
  pump.Post([&] { order += 'd'; }, 20);
  EXPECT_FALSE(pump.DispatchPending());
  EXPECT_EQ(order, "ab");
  EXPECT_FALSE(pump.DispatchFor(100));
  EXPECT_EQ(order, "abdc");
}

TEST(HeadlessEventPump, AQuitRequestEndsTheLoopEvenWhenAHandlerSawItFirst) {
  HeadlessEventPump pump;
  platform::Service<platform::EventPump>::ScopedOverride installed(&pump);
  bool seen = false;
  bool after = false;
  pump.Post([&] {
    pump.PostQuit(7);
    seen = TmRot::DoEvents();  // a handler pumping meets the request ...
  });
  pump.Post([&] { after = true; }, 5000);
  EXPECT_EQ(pump.Run(), 7);  // ... and the loop still ends, with its code
  EXPECT_TRUE(seen);
  EXPECT_FALSE(after);
  EXPECT_FALSE(pump.DispatchPending());  // taken off by the loop that ended
}

TEST(HeadlessEventPump, AfterAQuitRequestAWaitOnlySleepsItsTime) {
  HeadlessEventPump pump;
  bool ran = false;
  pump.Post([&] { ran = true; });
  pump.PostQuit(0);
  const auto start = steady_clock::now();
  EXPECT_TRUE(pump.DispatchFor(60));
  EXPECT_GE(steady_clock::now() - start, milliseconds(60));
  EXPECT_FALSE(ran);
}

TEST(HeadlessEventPump, TicksFollowTheMonotonicClock) {
  HeadlessEventPump pump;
  const auto outerStart = steady_clock::now();
  const std::uint32_t before = pump.Ticks();
  const auto innerStart = steady_clock::now();
  std::this_thread::sleep_for(milliseconds(30));
  const auto innerEnd = steady_clock::now();
  const std::uint32_t passed = pump.Ticks() - before;
  const auto outerEnd = steady_clock::now();
  EXPECT_GE(passed, 30u);
  // Between what the clock measured around the two readings and between them (whole
  // milliseconds on both sides), however long the machine took.
  const auto ms = [](auto d) { return std::chrono::duration_cast<milliseconds>(d).count(); };
  EXPECT_GE(std::int64_t{passed} + 1, ms(innerEnd - innerStart));
  EXPECT_LE(std::int64_t{passed}, ms(outerEnd - outerStart) + 1);
}

}  // namespace
}  // namespace zelmor::adapters
