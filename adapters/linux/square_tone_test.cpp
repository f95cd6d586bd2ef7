#include "adapters/linux/square_tone.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "testing/alsa_capture.h"

namespace zelmor::adapters {
namespace {

std::vector<std::int16_t> Render(const SquareTone& tone, std::uint32_t ms, std::size_t piece) {
  std::vector<std::int16_t> out(tone.SampleCount(ms));
  for (std::size_t at = 0; at < out.size(); at += piece)
    tone.Render(at, std::span(out).subspan(at, std::min(piece, out.size() - at)));
  return out;
}

struct ToneCase {
  std::uint32_t Frequency, Milliseconds, SampleRate;
};

TEST(SquareTone, ChangesSignTwiceAPeriodWithoutDriftAcrossPieces) {
  for (const ToneCase& c :
       {ToneCase{2000, 100, 48000}, ToneCase{2000, 85, 48000}, ToneCase{1000, 220, 48000}, ToneCase{440, 1000, 44100},
        ToneCase{19, 2000, 8000}, ToneCase{7919, 333, 44100}, ToneCase{24000, 10, 48000}}) {
    SCOPED_TRACE(::testing::Message() << c.Frequency << " Hz, " << c.Milliseconds << " ms at " << c.SampleRate);
    const SquareTone tone{c.Frequency, c.SampleRate};
    const std::vector<std::int16_t> whole = Render(tone, c.Milliseconds, 1u << 30);
    EXPECT_EQ(whole.size(), std::uint64_t{c.SampleRate} * c.Milliseconds / 1000);
    // Exactly the half-periods begun after the first sample; about 2·f·ms/1000.
    const int changes = testing::SignChanges(whole);
    EXPECT_EQ(changes, 2 * std::uint64_t{c.Frequency} * (whole.size() - 1) / c.SampleRate);
    EXPECT_LE(std::abs(changes - 2.0 * c.Frequency * c.Milliseconds / 1000), 2.0);
    // Rendered in pieces of 10 ms (as the device gets them), or odd ones, it is the same tone.
    EXPECT_EQ(Render(tone, c.Milliseconds, c.SampleRate / 100), whole);
    EXPECT_EQ(Render(tone, c.Milliseconds, 997), whole);
    for (std::int16_t s : whole) ASSERT_EQ(std::abs(s), tone.Amplitude);
  }
}

TEST(SquareTone, WhatCannotBeSampledIsSilence) {
  for (std::uint32_t f : {0u, 24001u, 65535u}) {
    const std::vector<std::int16_t> out = Render(SquareTone{f, 48000}, 50, 480);
    EXPECT_EQ(out.size(), 2400u);
    EXPECT_EQ(std::count(out.begin(), out.end(), 0), 2400) << f;
  }
}

}  // namespace
}  // namespace zelmor::adapters
