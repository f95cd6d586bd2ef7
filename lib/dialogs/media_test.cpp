#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "adapters/linux/alsa_tone_output.h"
#include "adapters/linux/headless_event_pump.h"
#include "dialogs/mMedia.h"
#include "testing/alsa_capture.h"
#include "testing/runtime_doubles.h"

namespace zelmor {
namespace {

using testing::RecordingToneOutput;
using testing::VirtualEventPump;
using Event = RecordingToneOutput::Event;
using Kind = RecordingToneOutput::Kind;

// ---- What is played when, on a virtual clock ----

class Sounds : public ::testing::Test {
 protected:
  VirtualEventPump FPump;
  RecordingToneOutput FTones;
};

TEST_F(Sounds, BipIsOneTenthOfASecondAt2kHz) {
  TmSpeaker::Bip();
  EXPECT_EQ(FTones.Events(), (std::vector<Event>{{Kind::Start, 0, 2000, 100}, {Kind::Finish, 100}}));
  EXPECT_EQ(FPump.Waited(), 100u);
}

TEST_F(Sounds, SomOKIsTwoShortTonesWithAPause) {
  TmSpeaker::SomOK();
  EXPECT_EQ(FTones.Events(),
            (std::vector<Event>{
                {Kind::Start, 0, 2000, 85}, {Kind::Finish, 85}, {Kind::Start, 135, 2000, 85}, {Kind::Finish, 220}}));
}

TEST_F(Sounds, BipErroPausesBetweenItsThreeTonesANegativePauseBeingNone) {
  struct Case {
    std::int32_t Velocidade;
    std::uint32_t Pause;
  };
  for (const Case& c : {Case{300, 300}, Case{0, 0}, Case{-1, 0}, Case{-2147483647 - 1, 0}}) {
    VirtualEventPump pump;
    RecordingToneOutput tones;
    TmSpeaker::BipErro(c.Velocidade);
    const std::uint32_t p = c.Pause;
    EXPECT_EQ(tones.Events(), (std::vector<Event>{{Kind::Start, 0, 1000, 220},
                                                  {Kind::Finish, 220},
                                                  {Kind::Start, 220 + p, 1000, 220},
                                                  {Kind::Finish, 440 + p},
                                                  {Kind::Start, 440 + 2 * p, 1000, 220},
                                                  {Kind::Finish, 660 + 2 * p}}))
        << c.Velocidade;
    EXPECT_EQ(pump.Waited(), 660u + 2 * p);
  }
}

TEST_F(Sounds, TooLowATonePlaysNothingButTakesItsTime) {
  TmSpeaker::PlaySound(18, 100);
  EXPECT_EQ(FTones.Events(), (std::vector<Event>{{Kind::Finish, 100}}));
  EXPECT_EQ(FPump.Waited(), 100u);
  TmSpeaker::PlaySound(19, 100);
  EXPECT_EQ(FTones.Events().at(1), (Event{Kind::Start, 100, 19, 100}));
}

TEST_F(Sounds, AToneOfNoLengthReturnsAfterOneRoundOfEvents) {
  TmSpeaker::PlaySound(1000, 0);
  EXPECT_EQ(FTones.Events(), (std::vector<Event>{{Kind::Finish, 0}}));
  EXPECT_EQ(FPump.DispatchCount(), 1);
  EXPECT_EQ(FPump.Waited(), 0u);
}

TEST_F(Sounds, EventsGoOnDuringATone) {
  bool handled = false;
  FPump.Post(
      [&] {
        handled = true;
        TmSpeaker::NoSound();  // a key press that silences the beep
      },
      40);
  TmSpeaker::PlaySound(2000, 100);
  EXPECT_TRUE(handled);
  EXPECT_EQ(FTones.Events(), (std::vector<Event>{{Kind::Start, 0, 2000, 100}, {Kind::Stop, 40}, {Kind::Finish, 100}}));
}

// ---- Through ALSA and the headless pump, in real time ----

class RealSounds : public ::testing::Test {
 protected:
  adapters::HeadlessEventPump FPump;
  platform::Service<platform::EventPump>::ScopedOverride FPumpInstalled{&FPump};
  adapters::AlsaToneOutput FOutput;
  platform::Service<platform::ToneOutput>::ScopedOverride FOutputInstalled{&FOutput};
};

TEST_F(RealSounds, ADeviceThatDoesNotPaceStillSoundsForTheWholeDuration) {
  testing::AlsaCapture capture;
  const testing::WaitMeter meter;
  TmSpeaker::PlaySound(2000, 250);
  const double elapsed = meter.ElapsedMs(), cpu = meter.CpuMs();
  const std::vector<std::int16_t> samples = capture.Samples();
  const int changes = testing::SignChanges(samples);
  std::printf(
      "PlaySound(2000, 250) into an ALSA file device: %.1f ms (%.1f ms of processor time), %zu samples, "
      "%d sign changes (expected 1000)\n",
      elapsed, cpu, samples.size(), changes);
  EXPECT_GE(elapsed, 250);
  EXPECT_LT(cpu, 0.5 * elapsed);  // the rest of the time is slept, not spun
  // Exactly the tone's length of sound, however long the machine took to write it.
  EXPECT_EQ(samples.size(), 12000u);
  EXPECT_LE(std::abs(changes - 1000), 1);
}

TEST_F(RealSounds, WithoutASoundDeviceATonesTimeIsASilentWait) {
  testing::AlsaCapture none(testing::AlsaCapture::Device::None);
  const testing::WaitMeter meter;
  TmSpeaker::BipErro(-5);
  const double elapsed = meter.ElapsedMs(), cpu = meter.CpuMs();
  std::printf("BipErro(-5) without a sound device: %.1f ms (%.1f ms of processor time)\n", elapsed, cpu);
  EXPECT_GE(elapsed, 660);
  EXPECT_LT(cpu, 0.5 * elapsed);  // a wait that sleeps
}

}  // namespace
}  // namespace zelmor
