#include "dialogs/mMedia.h"
#include "platform/tone_output.h"
#include "system/system.h"

namespace zelmor {
namespace {

// Below this the old speaker path never programmed a tone; the wait still happens.
constexpr std::uint16_t kLowestTone = 19;

platform::ToneOutput& Output() { return platform::Service<platform::ToneOutput>::Get(); }

}  // namespace

void TmSpeaker::PlaySound(std::uint16_t Freq, std::uint32_t MSecs) {
  platform::ToneOutput& output = Output();
  if (Freq >= kLowestTone && MSecs > 0) output.Start(Freq, MSecs);
  TmRot::Delay(MSecs);
  output.Finish();
}

void TmSpeaker::Bip() { PlaySound(2000, 100); }

void TmSpeaker::SomOK() {
  PlaySound(2000, 85);
  TmRot::Delay(50);
  PlaySound(2000, 85);
}

void TmSpeaker::BipErro(std::int32_t Velocidade) {
  const std::uint32_t pause = Velocidade > 0 ? static_cast<std::uint32_t>(Velocidade) : 0;
  for (int tone = 0; tone < 3; ++tone) {
    if (tone > 0) TmRot::Delay(pause);
    PlaySound(1000, 220);
  }
}

void TmSpeaker::NoSound() { Output().Stop(); }

}  // namespace zelmor
