// The service registry: what is installed is what is answered, an override puts
// back what it replaced, and a service nobody installed stops the program by name.
#include <gtest/gtest.h>

#include "platform/clock.h"
#include "platform/text_metrics.h"

namespace zelmor::platform {
namespace {

class StoppedClock final : public Clock {
 public:
  explicit StoppedClock(int year) { FNow.Year = year; }
  LocalDateTime Now() override { return FNow; }
  int BiasMinutes() override { return 0; }

 private:
  LocalDateTime FNow;
};

TEST(ServiceTest, OverridesNestAndPutBackWhatTheyReplaced) {
  StoppedClock a(2001), b(2002);
  ASSERT_FALSE(Service<Clock>::Installed());
  {
    Service<Clock>::ScopedOverride outer(&a);
    EXPECT_EQ(Service<Clock>::Get().Now().Year, 2001);
    {
      Service<Clock>::ScopedOverride inner(&b);
      EXPECT_EQ(Service<Clock>::Get().Now().Year, 2002);
    }
    EXPECT_EQ(Service<Clock>::Get().Now().Year, 2001);
  }
  EXPECT_FALSE(Service<Clock>::Installed());
}

TEST(ServiceTest, SetAnswersTheOneItReplaces) {
  StoppedClock a(2001);
  EXPECT_EQ(Service<Clock>::Set(&a), nullptr);
  EXPECT_EQ(Service<Clock>::Set(nullptr), &a);
}

TEST(ServiceDeathTest, AMissingServiceStopsTheProgramNamingIt) {
  ASSERT_FALSE(Service<Clock>::Installed());
  EXPECT_DEATH(Service<Clock>::Get(), "no clock service is installed");
}

// What the loader below installs, and how often it ran.
StoppedClock gLoaded(2010);
int gLoads = 0;
void LoadClock() {
  ++gLoads;
  Service<Clock>::Set(&gLoaded);
}
void LoadNothing() {}

TEST(ServiceTest, ALoaderRunsOnTheFirstAskOnlyAndAnInstalledServiceWins) {
  ASSERT_FALSE(Service<Clock>::Installed());
  gLoads = 0;
  Service<Clock>::SetLoader(&LoadClock);
  StoppedClock set(2020);
  {
    // Installed before the first ask: the loader never runs.
    Service<Clock>::ScopedOverride installed(&set);
    EXPECT_EQ(Service<Clock>::Get().Now().Year, 2020);
    EXPECT_EQ(gLoads, 0);
  }
  EXPECT_FALSE(Service<Clock>::Installed());
  EXPECT_EQ(Service<Clock>::Get().Now().Year, 2010);
  EXPECT_EQ(Service<Clock>::Get().Now().Year, 2010);
  EXPECT_EQ(gLoads, 1);
  EXPECT_TRUE(Service<Clock>::Installed());
  Service<Clock>::SetLoader(nullptr);
  Service<Clock>::Set(nullptr);
}

TEST(ServiceDeathTest, ALoaderThatInstallsNothingStillStopsTheProgramNamingTheService) {
  ASSERT_FALSE(Service<Clock>::Installed());
  Service<Clock>::SetLoader(&LoadNothing);
  EXPECT_DEATH(Service<Clock>::Get(), "no clock service is installed");
  Service<Clock>::SetLoader(nullptr);
}

TEST(ServiceTest, ALoaderRunsBeforeTheFallback) {
  ASSERT_FALSE(Service<TextMetrics>::Installed());
  static FixedPitchTextMetrics loaded(10, 30, 640);
  Service<TextMetrics>::SetLoader(+[] { Service<TextMetrics>::Set(&loaded); });
  EXPECT_EQ(Service<TextMetrics>::Get().TextWidth(u"abc"), 30);
  Service<TextMetrics>::SetLoader(nullptr);
  Service<TextMetrics>::Set(nullptr);
  EXPECT_EQ(&Service<TextMetrics>::Get(), &TextMetrics::Fallback());
}

TEST(ServiceTest, TheTextMeasurerFallsBackToTheEstimate) {
  ASSERT_FALSE(Service<TextMetrics>::Installed());
  EXPECT_EQ(&Service<TextMetrics>::Get(), &TextMetrics::Fallback());
  EXPECT_EQ(Service<TextMetrics>::Get().TextWidth(u"abc"), 24);
  FixedPitchTextMetrics wide(20, 30, 640);
  Service<TextMetrics>::ScopedOverride installed(&wide);
  EXPECT_EQ(Service<TextMetrics>::Get().TextWidth(u"abc"), 60);
}

}  // namespace
}  // namespace zelmor::platform
