#include "adapters/linux/alsa_tone_output.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <future>

#include "testing/alsa_capture.h"

namespace zelmor::adapters {
namespace {

TEST(AlsaToneOutput, PlaysTheSquareToneIntoTheDevice) {
  testing::AlsaCapture capture;
  AlsaToneOutput output;  // the "default" PCM, here the test's capture device
  output.Start(1000, 200);
  output.Finish();
  const std::vector<std::int16_t> samples = capture.Samples();
  const int changes = testing::SignChanges(samples);
  std::printf("1000 Hz for 200 ms through ALSA: %zu samples, %d sign changes (2·f·ms/1000 = 400)\n", samples.size(),
              changes);
  EXPECT_EQ(samples.size(), 9600u);
  EXPECT_LE(std::abs(changes - 400), 1);
}

TEST(AlsaToneOutput, ANewToneReplacesTheOneBeforeIt) {
  testing::AlsaCapture capture;
  AlsaToneOutput output;
  output.Start(2000, 85);
  output.Start(2000, 85);  // cuts the first where it stands
  output.Finish();
  output.Start(440, 50);
  output.Finish();
  // The file device starts its file afresh at each opening: the last tone is what is left.
  const std::vector<std::int16_t> samples = capture.Samples();
  EXPECT_EQ(samples.size(), 2400u);
  EXPECT_LE(std::abs(testing::SignChanges(samples) - 44), 1);
}

TEST(AlsaToneOutput, WithoutADeviceATonePassesInSilenceAtOnce) {
  testing::AlsaCapture none(testing::AlsaCapture::Device::None);
  AlsaToneOutput output;
  // A tone of ten minutes: waited out, it would still be playing long after the minute
  // the test gives it (a generous deadline for a call that should return at once).
  std::future<void> played = std::async(std::launch::async, [&] {
    output.Start(1000, 600000);
    output.Finish();
    output.Stop();
  });
  EXPECT_EQ(played.wait_for(std::chrono::seconds(60)), std::future_status::ready);
  played.wait();
  EXPECT_TRUE(none.Samples().empty());
}

}  // namespace
}  // namespace zelmor::adapters
