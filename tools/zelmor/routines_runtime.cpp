// Waiting and event pumping, the Windows version and environment, remote sessions
// and sounds.
#include "dialogs/mMedia.h"
#include "mRotinas.h"
#include "system/mTerminalService.h"
#include "tools/zelmor/registry.h"

namespace zelmor::cli {

ZELMOR_ROUTINES(runtime) {
  Register("TmRot.Delay", &TmRot::Delay, {"MSecs"}, {}, "waits, dispatching the tool's events");
  Register("TmRot.DoEvents", &TmRot::DoEvents, {});

  Register("TmRot.VersaoWindowsStr", &TmRot::VersaoWindowsStr, {});
  Register("TmRot.VersaoWindows", &TmRot::VersaoWindows, {});
  Register("TmRot.GetFileVersao", &TmRot::GetFileVersao, {"csExeName", "aiQtdNiveis", "asSeparador"});
  Register("TmRot.GetVariavelAmbiente", &TmRot::GetVariavelAmbiente, {"EnVar"});

  Register("TmTS.GetVariavelAmbiente", &TmTS::GetVariavelAmbiente, {"EnVar"});
  Register("TmTS.GetSecaoLogado", &TmTS::GetSecaoLogado, {});
  Register("TmTS.IsTerminalService", &TmTS::IsTerminalService, {});

  Register("TmSpeaker.PlaySound", &TmSpeaker::PlaySound, {"Freq", "MSecs"});
  Register("TmSpeaker.Bip", &TmSpeaker::Bip, {});
  Register("TmSpeaker.SomOK", &TmSpeaker::SomOK, {});
  Register("TmSpeaker.BipErro", &TmSpeaker::BipErro, {"Velocidade"});
  Register("TmSpeaker.NoSound", &TmSpeaker::NoSound, {});
}

}  // namespace zelmor::cli
