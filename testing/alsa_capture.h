// An ALSA configuration made for a test: the "default" PCM writes the raw samples it
// is given to a file (a `type file` device over the `null` one), or there is no
// device at all. Installed through ALSA_CONFIG_PATH for the object's lifetime.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "testing/temp_store.h"

namespace zelmor::testing {

class AlsaCapture {
 public:
  enum class Device { Capture, None };
  explicit AlsaCapture(Device device = Device::Capture);
  ~AlsaCapture();
  AlsaCapture(const AlsaCapture&) = delete;
  AlsaCapture& operator=(const AlsaCapture&) = delete;

  // The configuration file, for a child process's ALSA_CONFIG_PATH.
  const std::string& ConfigPath() const { return FConfig; }
  // The signed 16-bit samples written so far (empty when nothing was played).
  std::vector<std::int16_t> Samples() const;

 private:
  TemporaryFolder FFolder;
  std::string FConfig;
  std::string FCapture;
  std::string FPrevious;
  bool FHadPrevious = false;
};

// How many times the samples change sign: a square tone of f hertz over t seconds
// does about 2·f·t times.
int SignChanges(const std::vector<std::int16_t>& samples);

}  // namespace zelmor::testing
