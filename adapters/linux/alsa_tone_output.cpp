#include "adapters/linux/alsa_tone_output.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <mutex>
#include <vector>

#include "adapters/linux/outside_modules.h"
#include "adapters/linux/square_tone.h"
#include "adapters/linux/system_services.h"

namespace zelmor::adapters {
namespace {

// Short enough that a cut tone stops promptly, long enough not to underrun.
constexpr unsigned kLatencyMicroseconds = 50000;
constexpr std::uint32_t kChunkMilliseconds = 10;

// A machine without a sound card is normal for a point of sale: the library's own
// messages about it would only litter standard error. Failures are handled here.
void QuietAlsaMessages(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

AlsaToneOutput::AlsaToneOutput(std::string device, std::uint32_t sampleRate)
    : FDevice(std::move(device)), FSampleRate(sampleRate) {
  static std::once_flag quiet;
  std::call_once(quiet, [] { snd_lib_error_set_handler(&QuietAlsaMessages); });
}

AlsaToneOutput::~AlsaToneOutput() { Stop(); }

void AlsaToneOutput::Start(std::uint32_t frequency, std::uint32_t milliseconds) {
  Stop();
  FCancel = false;
  FThread = std::thread([this, frequency, milliseconds] { Play(frequency, milliseconds); });
}

void AlsaToneOutput::Finish() {
  if (FThread.joinable()) FThread.join();
}

void AlsaToneOutput::Stop() {
  FCancel = true;
  Finish();
}

void AlsaToneOutput::Play(std::uint32_t frequency, std::uint32_t milliseconds) {
  snd_pcm_t* pcm = nullptr;
  // Opened without blocking so that a device held by another program fails at once
  // instead of waiting; writes then block as usual.
  if (snd_pcm_open(&pcm, FDevice.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) return;
  if (snd_pcm_nonblock(pcm, 0) < 0 || snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED, 1,
                                                         FSampleRate, 1, kLatencyMicroseconds) < 0) {
    snd_pcm_close(pcm);
    return;
  }
  const SquareTone tone{frequency, FSampleRate};
  const std::uint64_t total = tone.SampleCount(milliseconds);
  std::vector<std::int16_t> chunk(std::max<std::uint64_t>(1, tone.SampleCount(kChunkMilliseconds)));
  std::uint64_t done = 0;
  while (done < total && !FCancel) {
    const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), total - done));
    tone.Render(done, std::span(chunk.data(), n));
    std::size_t written = 0;
    while (written < n && !FCancel) {
      snd_pcm_sframes_t r = snd_pcm_writei(pcm, chunk.data() + written, n - written);
      if (r < 0) r = snd_pcm_recover(pcm, static_cast<int>(r), 1);
      if (r < 0) {
        snd_pcm_close(pcm);
        return;
      }
      written += static_cast<std::size_t>(r);
    }
    done += written;
  }
  if (FCancel) {
    snd_pcm_drop(pcm);
  } else {
    snd_pcm_drain(pcm);
  }
  snd_pcm_close(pcm);
}

platform::ToneOutput& SystemToneOutput() {
  static AlsaToneOutput output;
  return output;
}

}  // namespace zelmor::adapters

// The sound module's entry (outside_modules.h).
void zelmor_install_sound_services() {
  zelmor::platform::Service<zelmor::platform::ToneOutput>::Set(&zelmor::adapters::SystemToneOutput());
}
