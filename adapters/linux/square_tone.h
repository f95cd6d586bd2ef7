// Samples of a square tone, rendered in pieces without drift: sample n is high in
// the even half-periods and low in the odd ones, counted exactly in integers, so a
// tone of f hertz over t seconds changes sign about 2·f·t times.
#pragma once

#include <cstdint>
#include <span>

namespace zelmor::adapters {

struct SquareTone {
  std::uint32_t Frequency = 0;  // hertz; 0 or above half the sample rate is silence
  std::uint32_t SampleRate = 48000;
  std::int16_t Amplitude = 8000;

  // Samples in `milliseconds` at the sample rate, rounded to the nearest.
  std::uint64_t SampleCount(std::uint32_t milliseconds) const;
  // Writes samples first .. first + out.size() - 1.
  void Render(std::uint64_t first, std::span<std::int16_t> out) const;
};

}  // namespace zelmor::adapters
