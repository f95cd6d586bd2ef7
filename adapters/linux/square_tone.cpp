#include "adapters/linux/square_tone.h"

namespace zelmor::adapters {

std::uint64_t SquareTone::SampleCount(std::uint32_t milliseconds) const {
  return (std::uint64_t{SampleRate} * milliseconds + 500) / 1000;
}

void SquareTone::Render(std::uint64_t first, std::span<std::int16_t> out) const {
  const bool audible = Frequency > 0 && SampleRate > 0 && std::uint64_t{Frequency} * 2 <= SampleRate;
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (!audible) {
      out[i] = 0;
      continue;
    }
    // The half-period that sample n falls in: floor(2·f·n / rate).
    const std::uint64_t half = 2 * std::uint64_t{Frequency} * (first + i) / SampleRate;
    out[i] = (half % 2 == 0) ? Amplitude : static_cast<std::int16_t>(-Amplitude);
  }
}

}  // namespace zelmor::adapters
