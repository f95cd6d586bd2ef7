// Other processes and external programs: the single-instance guard, finding and
// ending processes, starting programs, scheduled tasks, the power switch.
#include "mRotinas.h"
#include "tools/zelmor/registry.h"

namespace zelmor::cli {

using Text = std::u16string_view;

ZELMOR_ROUTINES(processes) {
  Register("TmRot.IsSingleInstance", &TmRot::IsSingleInstance, {"MutexName", "KeepMutex"}, {false},
           "a kept guard lasts only as long as the tool runs");
  Register("TmRot.ProcessoAtivo", &TmRot::ProcessoAtivo, {"NomeExe"});
  Register("TmRot.InativarProcesso", &TmRot::InativarProcesso, {"NomeExe"});
  Register("TmRot.FinalizarProcesso", &TmRot::FinalizarProcesso, {"cProcesso"});
  Register("TmRot.WinExec32", &TmRot::WinExec32, {"ProgramaEParametros", "cTipoShow"}, {1});
  Register("TmRot.ExecWin",
           static_cast<bool (*)(Text, Text, Text, std::uint32_t, bool, std::uint32_t&)>(&TmRot::ExecWin),
           {"WorkDir", "ExecutableFile", "Params", "WindowStyle", "abWaitForCompletion", "aiExitCode"}, {1, false, 0});
  Register("TmRot.ExecWinWait",
           static_cast<bool (*)(Text, Text, Text, std::uint32_t, std::uint32_t&)>(&TmRot::ExecWinWait),
           {"WorkDir", "ExecutableFile", "Params", "WindowStyle", "aiExitCode"}, {1, 0});
  Register("TmRot.ExecDOSWait", &TmRot::ExecDOSWait, {"WorkDir", "ExecutableFile", "Params", "WindowStyle"}, {1});
  Register("TmRot.gfExecBATDOSWait", &TmRot::gfExecBATDOSWait,
           {"asDiretorio", "asNomeBAT", "asComando", "abMostrarJanelaDOS"}, {false});
  // The owner window means nothing to the tool: these take the other parameters.
  Register("TmRot.RunAsAdmin",
           +[](Text lsFileName, Text lsParams, bool abWaitForCompletion, std::uint32_t& aiExitCode) {
             return TmRot::RunAsAdmin(nullptr, lsFileName, lsParams, abWaitForCompletion, aiExitCode);
           },
           {"lsFileName", "lsParams", "abWaitForCompletion", "aiExitCode"}, {"", false, 0});
  Register("TmRot.AbreExplorer", +[](Text cLocal) { TmRot::AbreExplorer(nullptr, cLocal); }, {"cLocal"});
  Register("TmRot.AbreSite", &TmRot::AbreSite, {"asUrl"});
  Register("TmRot.ServicosWindows", &TmRot::ServicosWindows, {}, {}, "does nothing: Linux has no services console");
  Register("TmRot.PropriedadesInternet", &TmRot::PropriedadesInternet, {}, {},
           "does nothing: Linux has no Internet-options panel");
  Register("TmRot.AgendarWindowsTaks",
           static_cast<bool (*)(Text, Text, TDateTime, Text, std::u16string&)>(&TmRot::AgendarWindowsTaks),
           {"asNomeTarefa", "asCmdLine", "ahHora", "asDiasSemana", "asExecCmd"}, {"*", ""});
  Register("TmRot.DesligarPC", &TmRot::DesligarPC, {}, {}, "powers the machine off where systemd lets the user");
  Register("TmRot.Reboot", &TmRot::Reboot, {}, {}, "restarts the machine where systemd lets the user");
  Register("TmRot.GetCurrentMemoryUsage", &TmRot::GetCurrentMemoryUsage, {});
  Register("TmRot.TrimAppMemorySize", &TmRot::TrimAppMemorySize, {});
  Register("TmRot.SecondsIdle", &TmRot::SecondsIdle, {});
}

}  // namespace zelmor::cli
