// Other processes and external programs: finding and ending processes by name, the
// single-instance guard, starting programs from Windows command lines, elevation,
// the desktop's opener and the power switch.
#include <algorithm>
#include <exception>
#include <string>
#include <vector>

#include "core/text.h"
#include "core/text_kit.h"
#include "dialogs/mMensagem.h"
#include "platform/file_system.h"
#include "platform/program_start.h"
#include "platform/running_processes.h"
#include "platform/session_info.h"
#include "processes/command_line.h"
#include "processes/processes.h"
#include "system/system.h"

namespace zelmor {
namespace {

platform::ProcessControl& Control() { return platform::Service<platform::ProcessControl>::Get(); }

// The executable file name as processes are compared: no folder, capitals.
std::u16string ProcessKey(std::u16string_view name) {
  const auto cut = name.find_last_of(u"/\\");
  return UpperCase(cut == std::u16string_view::npos ? name : name.substr(cut + 1));
}

std::u16string ErrorText(const std::exception& e) {
  if (const auto* z = dynamic_cast<const EZelmorError*>(&e)) return z->Message();
  return Utf8ToU16(e.what());
}

// `params` read as the arguments after a program's name.
std::vector<std::u16string> SplitParams(std::u16string_view params) {
  std::vector<std::u16string> args = SplitCommandLine(u"x " + std::u16string(params));
  args.erase(args.begin());
  return args;
}

// The program and its arguments. A program text with blanks is a path with blanks
// when such a file exists, else a command line of its own (a caller may pass "prog -x").
std::vector<std::u16string> ProgramArguments(std::u16string_view exe, std::u16string_view params) {
  const std::u16string program(textkit::Trim(exe));
  if (program.empty()) return SplitCommandLine(params);
  std::vector<std::u16string> args;
  if (program.find_first_of(u" \t") != std::u16string::npos &&
      !platform::Service<platform::FileSystem>::Get().EntryExists(program))
    args = SplitCommandLine(program);
  else
    args = {program};
  for (auto& a : SplitParams(params)) args.push_back(std::move(a));
  return args;
}

// `program`, when given, is the file to run and args[0] only the name it sees.
bool Run(std::vector<std::u16string> args, std::u16string_view workDir, bool wait, std::uint32_t* exitCode,
         std::u16string program = {}) {
  platform::ProgramStart start;
  start.Arguments = std::move(args);
  start.Program = std::move(program);
  start.WorkingFolder = std::u16string(textkit::Trim(workDir));
  start.Wait = wait;
  int code = 0;
  if (!platform::Service<platform::Processes>::Get().Start(start, &code)) return false;
  if (exitCode) *exitCode = static_cast<std::uint32_t>(code);
  return true;
}

// The folder part of a path, empty when it has none.
std::u16string FolderOf(std::u16string_view path) {
  const auto cut = path.find_last_of(u"/\\");
  return cut == std::u16string_view::npos ? std::u16string() : std::u16string(path.substr(0, cut + 1));
}

}  // namespace

bool TmRot::IsSingleInstance(std::u16string_view MutexName, bool KeepMutex) {
  return Control().ClaimInstance(MutexName, KeepMutex);
}

bool TmRot::ProcessoAtivo(std::u16string_view NomeExe) {
  try {
    const std::u16string wanted = ProcessKey(NomeExe);
    if (wanted.empty()) return false;
    for (const auto& p : Control().Snapshot())
      if (ProcessKey(p.Name) == wanted) return true;
    return false;
  } catch (const std::exception& e) {
    TmDlg::Erro(ErrorText(e), true);
    return false;
  }
}

bool TmRot::InativarProcesso(std::u16string_view NomeExe) {
  try {
    const std::u16string wanted = ProcessKey(NomeExe);
    const std::int64_t self = Control().OwnId();
    for (const auto& p : Control().Snapshot())
      if (p.Id != self && ProcessKey(p.Name) == wanted) Control().End(p);
    for (int wait = 0; wait < 11 && ProcessoAtivo(NomeExe); ++wait) Delay(500);
    return !ProcessoAtivo(NomeExe);
  } catch (const std::exception& e) {
    TmDlg::Erro(ErrorText(e), true);
    return false;
  }
}

bool TmRot::FinalizarProcesso(std::u16string_view cProcesso) {
  if (!ProcessoAtivo(cProcesso)) return true;
  for (int attempt = 0; attempt < 5; ++attempt) {
    if (!ProcessoAtivo(cProcesso)) break;
    InativarProcesso(cProcesso);
    Delay(3000);
  }
  if (!ProcessoAtivo(cProcesso)) return true;
  Delay(3000);
  if (!ProcessoAtivo(cProcesso)) return true;
  return TmDlg::Confirma(u"Foram executadas 5 tentativas de finalizar o " + std::u16string(cProcesso) +
                             u" mas não houve sucesso!\r\rContinuar mesmo assim?",
                         false, false, true);
}

bool TmRot::WinExec32(std::u16string_view ProgramaEParametros, std::uint16_t /*cTipoShow*/) {
  std::vector<std::u16string> args = SplitCommandLine(ProgramaEParametros);
  if (args.empty() || args[0].empty()) return false;
  return Run(std::move(args), {}, false, nullptr);
}

bool TmRot::ExecWin(std::u16string_view WorkDir, std::u16string_view ExecutableFile, std::u16string_view Params,
                    std::uint32_t /*WindowStyle*/, bool abWaitForCompletion, std::uint32_t& aiExitCode) {
  aiExitCode = 0;
  std::vector<std::u16string> args = ProgramArguments(ExecutableFile, Params);
  if (args.empty() || args[0].empty()) return false;
  if (!Run(std::move(args), WorkDir, abWaitForCompletion, &aiExitCode)) return false;
  if (abWaitForCompletion) DoEvents();
  return true;
}

bool TmRot::ExecWin(std::u16string_view WorkDir, std::u16string_view ExecutableFile, std::u16string_view Params,
                    std::uint32_t WindowStyle, bool abWaitForCompletion) {
  std::uint32_t code = 0;
  return ExecWin(WorkDir, ExecutableFile, Params, WindowStyle, abWaitForCompletion, code);
}

bool TmRot::ExecWinWait(std::u16string_view WorkDir, std::u16string_view ExecutableFile, std::u16string_view Params,
                        std::uint32_t WindowStyle, std::uint32_t& aiExitCode) {
  return ExecWin(WorkDir, ExecutableFile, Params, WindowStyle, true, aiExitCode);
}

bool TmRot::ExecWinWait(std::u16string_view WorkDir, std::u16string_view ExecutableFile, std::u16string_view Params,
                        std::uint32_t WindowStyle) {
  std::uint32_t code = 0;
  return ExecWin(WorkDir, ExecutableFile, Params, WindowStyle, true, code);
}

bool TmRot::ExecDOSWait(std::u16string_view WorkDir, std::u16string_view ExecutableFile, std::u16string_view Params,
                        std::uint32_t /*WindowStyle*/) {
  const std::u16string program(textkit::Trim(ExecutableFile));
  if (program.empty()) return false;
  if (textkit::Trim(Params).empty()) return Run({program}, WorkDir, true, nullptr);
  // Params that begin with a blank are the whole command line, the name the program
  // sees for itself included: " x y" runs the program as "x" with the one argument "y".
  if (Params.front() == u' ' || Params.front() == u'\t')
    return Run(SplitCommandLine(Params), WorkDir, true, nullptr, program);
  std::vector<std::u16string> args{program};
  for (auto& a : SplitParams(Params)) args.push_back(std::move(a));
  return Run(std::move(args), WorkDir, true, nullptr);
}

bool TmRot::gfExecBATDOSWait(std::u16string_view asDiretorio, std::u16string_view asNomeBAT,
                             const TStringList& asComando, bool abMostrarJanelaDOS) {
  // The system's shell reads the script, so its lines end with LF alone (a CR would
  // become part of every command), and it reads them as UTF-8, as file names are: a
  // character written as anything else (Windows-1252's "?") could name other files.
  // A line that cannot be written exactly is refused and nothing is written or run.
  std::string bytes;
  for (int i = 0; i < asComando.Count(); ++i) {
    const std::u16string& line = asComando[i];
    const std::string encoded = U16ToUtf8(line, Utf8Invalid::Escape);
    std::u16string_view why;
    if (line.find_first_of(std::u16string_view(u"\r\n\0", 3)) != std::u16string::npos)
      why = u"tem uma quebra de linha ou um caractere nulo";
    else if (Utf8ToU16(encoded, Utf8Invalid::Escape) != line)
      why = u"tem um caractere inválido (metade de um par UTF-16)";
    if (!why.empty())
      throw EFileError(u"Não foi possível gravar o script \"" + std::u16string(asDiretorio) +
                       std::u16string(asNomeBAT) + u"\": a linha " + IntToStr(i + 1) +
                       u" não pode ser gravada exatamente, pois " + std::u16string(why));
    bytes += encoded;
    bytes += '\n';
  }
  const std::u16string script = std::u16string(asDiretorio) + std::u16string(asNomeBAT);
  platform::Service<platform::FileSystem>::Get().Replace(script, bytes);
  (void)abMostrarJanelaDOS;
  return Run({u"sh", script}, asDiretorio, true, nullptr);
}

bool TmRot::RunAsAdmin(TWinControl* /*ahWnd*/, std::u16string_view lsFileName, std::u16string_view lsParams,
                       bool abWaitForCompletion, std::uint32_t& aiExitCode) {
  aiExitCode = 0;
  if (Control().IsAdministrator())
    return ExecWin(FolderOf(lsFileName), lsFileName, lsParams, 1, abWaitForCompletion, aiExitCode);
  const std::u16string program(textkit::Trim(lsFileName));
  if (program.empty()) return false;
  std::vector<std::u16string> args{u"pkexec", program};
  for (auto& a : SplitParams(lsParams)) args.push_back(std::move(a));
  if (!Run(std::move(args), {}, abWaitForCompletion, &aiExitCode)) return false;
  if (!abWaitForCompletion) return true;
  DoEvents();
  // pkexec's own answers: 126 the user dismissed the request, 127 not authorised.
  if (aiExitCode == 126 || aiExitCode == 127) {
    aiExitCode = 0;
    return false;
  }
  return true;
}

bool TmRot::RunAsAdmin(TWinControl* ahWnd, std::u16string_view lsFileName, std::u16string_view lsParams,
                       bool abWaitForCompletion) {
  std::uint32_t code = 0;
  return RunAsAdmin(ahWnd, lsFileName, lsParams, abWaitForCompletion, code);
}

void TmRot::AbreExplorer(TWinControl* /*chwnd*/, std::u16string_view cLocal) {
  if (textkit::Trim(cLocal).empty()) return;
  Run({u"xdg-open", std::u16string(cLocal)}, {}, false, nullptr);
}

void TmRot::AbreSite(std::u16string_view asUrl) {
  if (textkit::Trim(asUrl).empty()) return;
  platform::ProgramStart start;
  start.Arguments = {u"xdg-open", std::u16string(textkit::Trim(asUrl))};
  std::string why;
  if (platform::Service<platform::Processes>::Get().Start(start, nullptr, &why)) return;
  TmDlg::Erro(u"Não foi possível abrir o site.\rMensagem original:" + Utf8ToU16(why), true);
}

bool TmRot::DesligarPC() { return Control().PowerOff(false); }

bool TmRot::Reboot() { return Control().PowerOff(true); }

void TmRot::ServicosWindows() {}

void TmRot::PropriedadesInternet() {}

void TmRot::TrimAppMemorySize() {
  Control().TrimMemory();
  DoEvents();
}

std::uint32_t TmRot::SecondsIdle() { return platform::Service<platform::SessionInfo>::Get().IdleSeconds(); }

std::uint32_t TmRot::GetCurrentMemoryUsage() {
  return static_cast<std::uint32_t>(std::min<std::uint64_t>(Control().MemoryInUse(), 0xFFFFFFFFu));
}

}  // namespace zelmor
