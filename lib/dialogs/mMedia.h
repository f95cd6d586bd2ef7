// TmSpeaker: the short tones point-of-sale programs give as audible feedback: a
// beep, a double confirmation beep and a triple error beep. Square tones through the
// platform's tone output; durations and pauses are kept by the clock with
// TmRot::Delay, so the program's events go on being dispatched meanwhile.
#pragma once

#include <cstdint>

namespace zelmor {

class TmSpeaker {
 public:
  TmSpeaker() = delete;

  // One square tone of `Freq` hertz for `MSecs` milliseconds; returns when it has
  // ended, MSecs after the call however fast or slow the device is (and just as late
  // with no sound device: a silent wait). 18 Hz or less sounds nothing but still waits.
  //   PlaySound(2000, 100): a 2 kHz beep of a tenth of a second
  static void PlaySound(std::uint16_t Freq, std::uint32_t MSecs);
  // 2000 Hz for 100 ms.
  static void Bip();
  // 2000 Hz for 85 ms, a pause of 50 ms, 2000 Hz for 85 ms.
  static void SomOK();
  // 1000 Hz for 220 ms three times, with pauses of `Velocidade` ms between them; a
  // negative pause counts as 0 (three tones with no gap).
  static void BipErro(std::int32_t Velocidade);
  // Cuts a tone that is still sounding (from an event handler run during a tone).
  static void NoSound();
};

}  // namespace zelmor
