// Square tones through ALSA (libasound): each tone is rendered on a thread of its
// own into the PCM device, 16-bit mono. A device that cannot be opened makes the
// tone silent; timing is the caller's, by the clock.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

#include "platform/tone_output.h"

namespace zelmor::adapters {

class AlsaToneOutput final : public platform::ToneOutput {
 public:
  // `device`: an ALSA PCM name ("default", "hw:0", or one of an ALSA configuration).
  explicit AlsaToneOutput(std::string device = "default", std::uint32_t sampleRate = 48000);
  ~AlsaToneOutput() override;
  AlsaToneOutput(const AlsaToneOutput&) = delete;
  AlsaToneOutput& operator=(const AlsaToneOutput&) = delete;

  void Start(std::uint32_t frequency, std::uint32_t milliseconds) override;
  void Finish() override;
  void Stop() override;

 private:
  void Play(std::uint32_t frequency, std::uint32_t milliseconds);

  const std::string FDevice;
  const std::uint32_t FSampleRate;
  std::thread FThread;
  std::atomic<bool> FCancel{false};
};

}  // namespace zelmor::adapters
