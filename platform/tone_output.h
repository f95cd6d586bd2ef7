// Square tones on the machine's sound output, for the library's beeps.
#pragma once

#include <cstdint>

#include "platform/service.h"

namespace zelmor::platform {

class ToneOutput {
 public:
  static constexpr const char* kServiceName = "tone output";
  virtual ~ToneOutput() = default;

  // Starts a square tone of `frequency` hertz lasting `milliseconds` and returns at
  // once; the tone plays on its own. A tone still sounding is cut first. Without a
  // sound device nothing is heard (the caller keeps time by the clock either way).
  virtual void Start(std::uint32_t frequency, std::uint32_t milliseconds) = 0;

  // Returns when the tone started last has been played out (at once when none is).
  virtual void Finish() = 0;

  // Cuts the tone that is sounding, if any.
  virtual void Stop() = 0;
};

}  // namespace zelmor::platform
