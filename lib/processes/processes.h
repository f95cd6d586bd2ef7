// TmRot's process routines: finding and ending processes, starting programs from
// Windows command lines, scheduled tasks, power, memory and idle time.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/types.h"
#include "mConst.h"
#include "system/system.h"

namespace zelmor {

namespace TmRot {

// ---- Processes and external programs (processes/) ----
// Programs are started without a shell: a command line is read into arguments the
// Windows way (SplitCommandLine), so nothing in it can run another command. Window-show
// codes mean nothing here and are accepted as given. Exit codes of programs ended by a
// signal are 128 + the signal's number, as the shell reports them.

// Claims the machine-wide guard `MutexName`. False when another process holds it.
// With `KeepMutex` it stays held until this process ends (however it ends); without
// it the call only tests.
//   IsSingleInstance(u"PDV", true) in one program, then IsSingleInstance(u"PDV", false)
//   in another == false
bool IsSingleInstance(std::u16string_view MutexName, bool KeepMutex);
// Whether a running process has the executable file name of `NomeExe` (the folder
// part dropped, letter case ignored). A failure is shown with TmDlg::Erro (logged) and
// gives false.
//   ProcessoAtivo(u"/opt/pdv/Caixa.exe") == ProcessoAtivo(u"caixa.EXE")
bool ProcessoAtivo(std::u16string_view NomeExe);
// Ends every process of that name (this program itself excepted), then waits up to
// 11 x 500 ms, dispatching events, for them to be gone. True when none is left.
bool InativarProcesso(std::u16string_view NomeExe);
// Ends the process, trying up to 5 times 3 s apart; when it still runs, asks the user
// whether to go on anyway and answers that. True at once when it is not running.
bool FinalizarProcesso(std::u16string_view cProcesso);
// Starts the command line without waiting. True when the program started.
//   WinExec32(u"xdg-open \"/tmp/nota fiscal.pdf\"", 1)
bool WinExec32(std::u16string_view ProgramaEParametros, std::uint16_t cTipoShow);
// Starts `ExecutableFile` (a path, or a name looked up on PATH) with `Params` read as
// a Windows command line, in `WorkDir` when it is not blank. With
// `abWaitForCompletion` waits for it, dispatches pending events once and gives its
// exit code. False when both are blank or the program cannot start.
//   ExecWin(u"", u"sh", u"-c \"exit 3\"", 1, true, code) == true, code == 3
bool ExecWin(std::u16string_view WorkDir, std::u16string_view ExecutableFile, std::u16string_view Params,
             std::uint32_t WindowStyle, bool abWaitForCompletion, std::uint32_t& aiExitCode);
bool ExecWin(std::u16string_view WorkDir, std::u16string_view ExecutableFile, std::u16string_view Params,
             std::uint32_t WindowStyle, bool abWaitForCompletion);
// ExecWin, waiting.
bool ExecWinWait(std::u16string_view WorkDir, std::u16string_view ExecutableFile, std::u16string_view Params,
                 std::uint32_t WindowStyle, std::uint32_t& aiExitCode);
bool ExecWinWait(std::u16string_view WorkDir, std::u16string_view ExecutableFile, std::u16string_view Params,
                 std::uint32_t WindowStyle);
// Starts `ExecutableFile` with `Params` (none when blank) and waits for it; the exit
// code is not reported. False when it cannot start.
bool ExecDOSWait(std::u16string_view WorkDir, std::u16string_view ExecutableFile, std::u16string_view Params,
                 std::uint32_t WindowStyle);
// Writes the lines of `asComando` to the script `asDiretorio` + `asNomeBAT`
// (replaced; Windows-1252, one command a line) and runs it with the system's shell
// in that folder, waiting. Raises EFileError when the script cannot be written.
bool gfExecBATDOSWait(std::u16string_view asDiretorio, std::u16string_view asNomeBAT, const TStringList& asComando,
                      bool abMostrarJanelaDOS);
// Runs the program with administrator rights: directly when this program has them,
// else through pkexec (which asks the user), else false. Waiting, a refusal is false.
bool RunAsAdmin(TWinControl* ahWnd, std::u16string_view lsFileName, std::u16string_view lsParams,
                bool abWaitForCompletion, std::uint32_t& aiExitCode);
bool RunAsAdmin(TWinControl* ahWnd, std::u16string_view lsFileName, std::u16string_view lsParams,
                bool abWaitForCompletion);
// Opens a folder or document with the desktop's preferred program (xdg-open); a
// failure is ignored.
void AbreExplorer(TWinControl* chwnd, std::u16string_view cLocal);
// Opens `asUrl` in the desktop's browser (xdg-open). When that cannot start, shows
// "Não foi possível abrir o site." and the system's reason (logged).
void AbreSite(std::u16string_view asUrl);
// The system's services console and Internet-options panel. Linux has neither, and
// a shell that cannot open them is ignored: both do nothing here.
void ServicosWindows();
void PropriedadesInternet();
// Schedules `asCmdLine` (a Windows command line) at `ahHora` (its time of day) every
// day when `asDiasSemana` is "*", else on the listed days ("MON,WED", the three-letter
// English names). A task of that name is removed first, and that has finished before
// the new one is made. Made as a systemd user timer where the user's systemd runs,
// else as a crontab line; false where neither exists, for a bad day list, or when the
// tool refused. `asExecCmd` gets the command that made it, for the caller's log.
bool AgendarWindowsTaks(std::u16string_view asNomeTarefa, std::u16string_view asCmdLine, TDateTime ahHora,
                        std::u16string_view asDiasSemana, std::u16string& asExecCmd);
bool AgendarWindowsTaks(std::u16string_view asNomeTarefa, std::u16string_view asCmdLine, TDateTime ahHora,
                        std::u16string_view asDiasSemana);
// Asks the system to power off or restart. Only where systemd manages the machine
// and lets this user do it; false otherwise.
bool DesligarPC();
bool Reboot();
// Bytes of memory this process has in use (its resident set), capped at 4 GiB - 1.
std::uint32_t GetCurrentMemoryUsage();
// Gives the memory this process has freed back to the system, then handles the
// pending events once.
void TrimAppMemorySize();
// Whole seconds since the user's last keyboard or mouse input: the X display's,
// else the terminal's; 0 when the system cannot tell.
std::uint32_t SecondsIdle();

}  // namespace TmRot

}  // namespace zelmor
