#include "testing/alsa_capture.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace zelmor::testing {

AlsaCapture::AlsaCapture(Device device)
    : FConfig(FFolder.Path() + "/asound.conf"), FCapture(FFolder.Path() + "/tone.raw") {
  std::ofstream conf(FConfig);
  if (device == Device::Capture) {
    conf << "pcm.!default {\n"
            "  type file\n"
            "  slave.pcm { type null }\n"
            "  file \""
         << FCapture
         << "\"\n"
            "  format \"raw\"\n"
            "}\n";
  } else {
    conf << "# no PCM devices at all\n";
  }
  conf.close();
  if (const char* previous = std::getenv("ALSA_CONFIG_PATH")) {
    FPrevious = previous;
    FHadPrevious = true;
  }
  setenv("ALSA_CONFIG_PATH", FConfig.c_str(), 1);
}

AlsaCapture::~AlsaCapture() {
  if (FHadPrevious) {
    setenv("ALSA_CONFIG_PATH", FPrevious.c_str(), 1);
  } else {
    unsetenv("ALSA_CONFIG_PATH");
  }
}

std::vector<std::int16_t> AlsaCapture::Samples() const {
  std::ifstream f(FCapture, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  std::vector<std::int16_t> samples(bytes.size() / 2);
  for (std::size_t i = 0; i < samples.size(); ++i)
    samples[i] = static_cast<std::int16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                           static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  return samples;
}

int SignChanges(const std::vector<std::int16_t>& samples) {
  int changes = 0;
  for (std::size_t i = 1; i < samples.size(); ++i)
    if ((samples[i - 1] < 0) != (samples[i] < 0)) ++changes;
  return changes;
}

}  // namespace zelmor::testing
