// TmRot: the library's general system routines, as class-level operations, and
// the federative-units table TmUF. Implementations are split by theme into the
// .cpp files of this folder.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/errors.h"
#include "core/types.h"
#include "forms/colors.h"
#include "mConst.h"
#include "platform/dialogs.h"
#include "system/federative_units.h"
#include "system/mVersaoWindows.h"

namespace zelmor {

class TzelDataSet;  // helpers/query.h
class TzelQuery;    // helpers/query.h
namespace platform {
class DbConnection;  // platform/database.h
}

// A windowed control of the program (the GUI adapter wraps its widgets).
using TWinControl = platform::Control;
// The program's forms, menus, pop-up menus, printer font and screen points (controls/).
using TForm = platform::Control;
using TFormClass = platform::FormClass;
using TMenuItem = platform::MenuItem;
using TPopupMenu = platform::PopupMenu;
using TFont = platform::Font;
using TPoint = platform::Point;

// Where ShowPopMenu opens a menu: below the control or to its right.
enum class TPosPopup : std::uint8_t { ppAbaixo, ppDireita };

// A fiscal check that failed: an access key that disagrees with its data, an
// instalment or apportionment asked with impossible figures.
ZELMOR_DECLARE_ERROR(EFiscalError, "fiscal");

class TmRot {
 public:
  TmRot() = delete;

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
  static bool IsSingleInstance(std::u16string_view MutexName, bool KeepMutex);
  // Whether a running process has the executable file name of `NomeExe` (the folder
  // part dropped, letter case ignored). A failure is shown with TmDlg::Erro (logged) and
  // gives false.
  //   ProcessoAtivo(u"/opt/pdv/Caixa.exe") == ProcessoAtivo(u"caixa.EXE")
  static bool ProcessoAtivo(std::u16string_view NomeExe);
  // Ends every process of that name (this program itself excepted), then waits up to
  // 11 x 500 ms, dispatching events, for them to be gone. True when none is left.
  static bool InativarProcesso(std::u16string_view NomeExe);
  // Ends the process, trying up to 5 times 3 s apart; when it still runs, asks the user
  // whether to go on anyway and answers that. True at once when it is not running.
  static bool FinalizarProcesso(std::u16string_view cProcesso);
  // Starts the command line without waiting. True when the program started.
  //   WinExec32(u"xdg-open \"/tmp/nota fiscal.pdf\"", 1)
  static bool WinExec32(std::u16string_view ProgramaEParametros, std::uint16_t cTipoShow);
  // Starts `ExecutableFile` (a path, or a name looked up on PATH) with `Params` read as
  // a Windows command line, in `WorkDir` when it is not blank. With
  // `abWaitForCompletion` waits for it, dispatches pending events once and gives its
  // exit code. False when both are blank or the program cannot start.
  //   ExecWin(u"", u"sh", u"-c \"exit 3\"", 1, true, code) == true, code == 3
  static bool ExecWin(std::u16string_view WorkDir, std::u16string_view ExecutableFile, std::u16string_view Params,
                      std::uint32_t WindowStyle, bool abWaitForCompletion, std::uint32_t& aiExitCode);
  static bool ExecWin(std::u16string_view WorkDir, std::u16string_view ExecutableFile, std::u16string_view Params,
                      std::uint32_t WindowStyle, bool abWaitForCompletion);
  // ExecWin, waiting.
  static bool ExecWinWait(std::u16string_view WorkDir, std::u16string_view ExecutableFile,
                          std::u16string_view Params, std::uint32_t WindowStyle, std::uint32_t& aiExitCode);
  static bool ExecWinWait(std::u16string_view WorkDir, std::u16string_view ExecutableFile,
                          std::u16string_view Params, std::uint32_t WindowStyle);
  // Starts `ExecutableFile` with `Params` (none when blank) and waits for it; the exit
  // code is not reported. False when it cannot start.
  static bool ExecDOSWait(std::u16string_view WorkDir, std::u16string_view ExecutableFile,
                          std::u16string_view Params, std::uint32_t WindowStyle);
  // Writes the lines of `asComando` to the script `asDiretorio` + `asNomeBAT`
  // (replaced; Windows-1252, one command a line) and runs it with the system's shell
  // in that folder, waiting. Raises EFileError when the script cannot be written.
  static bool gfExecBATDOSWait(std::u16string_view asDiretorio, std::u16string_view asNomeBAT,
                               const TStringList& asComando, bool abMostrarJanelaDOS);
  // Runs the program with administrator rights: directly when this program has them,
  // else through pkexec (which asks the user), else false. Waiting, a refusal is false.
  static bool RunAsAdmin(TWinControl* ahWnd, std::u16string_view lsFileName, std::u16string_view lsParams,
                         bool abWaitForCompletion, std::uint32_t& aiExitCode);
  static bool RunAsAdmin(TWinControl* ahWnd, std::u16string_view lsFileName, std::u16string_view lsParams,
                         bool abWaitForCompletion);
  // Opens a folder or document with the desktop's preferred program (xdg-open); a
  // failure is ignored.
  static void AbreExplorer(TWinControl* chwnd, std::u16string_view cLocal);
  // Opens `asUrl` in the desktop's browser (xdg-open). When that cannot start, shows
  // "Não foi possível abrir o site." and the system's reason (logged).
  static void AbreSite(std::u16string_view asUrl);
  // The system's services console and Internet-options panel. Linux has neither, and
  // a shell that cannot open them is ignored: both do nothing here.
  static void ServicosWindows();
  static void PropriedadesInternet();
  // Schedules `asCmdLine` (a Windows command line) at `ahHora` (its time of day) every
  // day when `asDiasSemana` is "*", else on the listed days ("MON,WED", the three-letter
  // English names). A task of that name is removed first, and that has finished before
  // the new one is made. Made as a systemd user timer where the user's systemd runs,
  // else as a crontab line; false where neither exists, for a bad day list, or when the
  // tool refused. `asExecCmd` gets the command that made it, for the caller's log.
  static bool AgendarWindowsTaks(std::u16string_view asNomeTarefa, std::u16string_view asCmdLine,
                                 TDateTime ahHora, std::u16string_view asDiasSemana, std::u16string& asExecCmd);
  static bool AgendarWindowsTaks(std::u16string_view asNomeTarefa, std::u16string_view asCmdLine,
                                 TDateTime ahHora, std::u16string_view asDiasSemana);
  // Asks the system to power off or restart. Only where systemd manages the machine
  // and lets this user do it; false otherwise.
  static bool DesligarPC();
  static bool Reboot();
  // Bytes of memory this process has in use (its resident set), capped at 4 GiB - 1.
  static std::uint32_t GetCurrentMemoryUsage();
  // Gives the memory this process has freed back to the system, then handles the
  // pending events once.
  static void TrimAppMemorySize();
  // Whole seconds since the user's last keyboard or mouse input: the X display's,
  // else the terminal's; 0 when the system cannot tell.
  static std::uint32_t SecondsIdle();

  // ---- Network and machine information (network/) ----

  // The machine's host name; with `RemoveDominio` cut at the first "."; "NomePC" when
  // the system gives none.
  static std::u16string GetComputerName(bool RemoveDominio);
  // The login name of the user the process runs as; "NomeUsuarioWin" when it has none.
  static std::u16string GetWindowsUser();
  // The first IPv4 address of an interface that is up (loopback left out, since the
  // host name resolves to a loopback address); empty when there is none.
  //   GetLocalIP() == u"192.168.0.15"
  static std::u16string GetLocalIP();
  // Every such address, in the system's interface order.
  static TStringList GetLocalIPs();
  // Whether `Ip` is one of GetLocalIPs().
  static bool IsIPLocal(std::u16string_view Ip);
  // The first network card's hardware address as "00-1A-2B-3C-4D-5E"; empty when none.
  static std::u16string GetLocalEnderecoMac();
  // Up to `Retries` echo requests of `BufferSize` bytes to `Address`, each given 1 s to
  // answer and followed by a pause of `aSleep` ms; true at the first reply.
  static bool Ping(std::u16string_view Address, std::uint16_t Retries, std::uint16_t BufferSize,
                   std::int32_t aSleep);
  // Network drives and printer ports do not exist here: always false.
  static bool NetConnect(std::u16string_view DriveOrPort, std::u16string_view NetworkPath, std::u16string_view User,
                         std::u16string_view Password);
  static bool NetDisconnect(std::u16string_view DriveOrPort);
  // Whether some interface other than loopback is up with an IPv4 address.
  static bool StatusInternet();
  // The body of an HTTP GET of `asURL`, read as Windows-1252. Raises ENetworkError
  // when the transfer fails or the server answers with an error status.
  static std::u16string DownloadStrURL(std::u16string_view asURL);
  // The body of `URL` read as UTF-8 (the whole body at once). An address without "?"
  // gets "?" and the time as "yymmddhhnnss", so no cache answers. Raises ENetworkError.
  static std::u16string GetStringFromUrl(std::u16string_view URL);
  // Downloads into `asDestFile` (the time is appended as in GetStringFromUrl) through a
  // temporary file renamed over it when complete: a failed download leaves the old file
  // as it was, and an HTTP error status is a failure. With `abShowException` the failure
  // raises ENetworkError, else it gives false.
  static bool DownloadFileHTTP(std::u16string_view asSourceFileUrl, std::u16string_view asDestFile,
                               bool abShowException);
  // Logical processor ids per package as the processor reports them (0 when unknown).
  static std::uint8_t GetProcessadorCount();
  // The processor's brand text, cut at its first zero character.
  static std::u16string GetProcessadorStr();
  // Decimal megabytes free to the user on the disk of the home folder; 0 when unknown.
  //   1 500 000 000 free bytes give 1500
  static std::int32_t HDLivreMb();
  // Now and the standard offset from UTC: "05/12/2018 14:07:00 - GMT (-03:00)";
  // zones east of UTC are written with "+" ("GMT (+05:30)").
  static std::u16string FusoHorarioComputador();
  // Writes the program's resource `asResourceName` of type `asResType` (the files
  // TmFile::ExtraiArquivoExe reads) to «asOutFolder/NAME.TYPE», creating the folder.
  // A missing resource raises EFileError before anything is touched. When the old file
  // cannot be deleted or the new one is not there afterwards, "Não foi possivel
  // extrair o arquivo "NAME.TYPE"" is shown (logged) if `abShowFailMessage`. With
  // `abDescompactZIP` a "ZIP" resource is unpacked into that folder and, unpacked,
  // deleted. (lib/shell/resources.cpp)
  static void ExtractResource(std::u16string_view asResType, std::u16string_view asResourceName,
                              std::u16string_view asOutFolder, bool abDescompactZIP, bool abShowFailMessage);

  // ---- Access-key check and instalments (fiscal.cpp) ----

  // Checks the 44-character access key against the values it was built from, field by
  // field; a parameter left blank is not checked, and a number may be given without its
  // leading zeros. `asUF` is the unit's numeric code ("35") or its abbreviation ("SP").
  // The issuer's CNPJ may have letters (compared as capitals, in either case typed).
  // Raises EFiscalError naming the first field that disagrees; an empty key is not checked.
  //   ValidaChaveAcesso(key, u"35", u"2405", u"", u"55", u"1", u"123", u"1", u"") passes for
  //   a key of SP, May 2024, model 55, series 001, number 000000123, issue form 1.
  static void ValidaChaveAcesso(std::u16string_view asChaveAcesso, std::u16string_view asUF,
                                std::u16string_view asAAMM, std::u16string_view asCNPJ, std::u16string_view asMod,
                                std::u16string_view asSerie, std::u16string_view asNrNF,
                                std::u16string_view asTpEmis, std::u16string_view asDV);
  // Instalment `aiNrParcela` of `aiQtdParcelas`: the total divided and cut to cents, the
  // remainder added to the first instalment (or to the last with `abAdicionarDifAoFinal`),
  // so the instalments always add up to the total. Raises EFiscalError for a quantity
  // below 1 or a number outside 1..quantity.
  //   GetValorParcela(100.00, 3, 1, false) == 33.34; GetValorParcela(100.00, 3, 1, true) == 33.33
  static Currency GetValorParcela(Currency adValorTotal, int aiQtdParcelas, int aiNrParcela,
                                  bool abAdicionarDifAoFinal);
  // One item's share of `adValorTotalRatear`, in proportion to its value, cut to cents; the
  // last item takes what is left so the shares add up exactly. Raises EFiscalError when
  // either total is zero.
  //   10.00 over items of 1.00, 1.00, 1.00 gives 3.33, 3.33 and, for the last, 3.34
  static Currency GetValorRateioItem(Currency adValorTotal, Currency adValorTotalItem, Currency adValorTotalRatear,
                                     Currency adTotalAcumuladoRateiro, bool abIsUtilmoItem);
  // Clears `aoLista` and fills it with the program's fixed list of 100 CNPJs (14 digits
  // each) in a fixed order; true.
  static bool GetListaCNPJBlocoXDezembro(TStringList& aoLista);

  // ---- Form and control helpers (forms.cpp) ----

  // ---- Generic helpers (generic.cpp) ----
  // Defined in helpers/: CaseDo asks through TmDlg and QueryToSQL writes through TmConv/TmDt.
  // Null is std::monostate; an empty text is a value, never null.
  static std::u16string IfThen(bool Condicao, std::u16string_view RTrue, std::u16string_view RFalse);
  // Literals would otherwise pick the Boolean overload (pointer to bool beats the view).
  static std::u16string IfThen(bool Condicao, const char16_t* RTrue, const char16_t* RFalse) {
    return IfThen(Condicao, std::u16string_view(RTrue), std::u16string_view(RFalse));
  }
  static std::int32_t IfThen(bool Condicao, std::int32_t RTrue, std::int32_t RFalse);
  static bool IfThen(bool Condicao, bool RTrue, bool RFalse);
  static char16_t IfThen(bool Condicao, char16_t RTrue, char16_t RFalse);
  static Variant IfThen(bool Condicao, const Variant& RTrue, const Variant& RFalse);
  static double IfThenFloat(bool Condicao, double RTrue, double RFalse);
  static double IfFloat(bool Condicao, double RTrue, double RFalse);
  static TDateTime IfThenDate(bool Condicao, TDateTime RTrue, TDateTime RFalse);
  static std::u16string IfVazio(std::u16string_view Variavel, std::u16string_view RespSeVazio);
  static double IfNull(const Variant& V, double ValueIfNull);
  static std::u16string IfNull(const Variant& V, std::u16string_view ValueIfNull);
  static bool IfNull(const Variant& V, bool ValueIfNull);
  static std::u16string IfNull(const Variant& V, const char16_t* ValueIfNull) {
    return IfNull(V, std::u16string_view(ValueIfNull));
  }
  static Variant IfNull(const Variant& V, const Variant& ValueIfNull);
  static std::int32_t IfIntNull(const Variant& V, std::int32_t ValueIfNull);
  static TDateTime IfDateNull(const Variant& V, TDateTime ValueIfNull);
  static Variant NullIf(const Variant& aoValue, const Variant& aoNullValue);
  static std::u16string CaseDo(std::u16string_view Valor, const TzelArrayString& ComparaCom,
                               const TzelArrayString& Retornos, std::u16string_view Default);
  static std::u16string CaseDoInt(std::int32_t Valor, const TzelArrayInteger& ComparaCom,
                                  const TzelArrayString& Retornos, std::u16string_view Default);
  static std::int32_t CaseDoInteger(std::int32_t aiValor, const TzelArrayInteger& aiResultado,
                                    const TzelArrayInteger& aiRetorno, std::int32_t aiDefault);
  static bool ContemInt(std::int32_t aiValor, const TzelArrayInteger& aiValores);
  static bool ContemStr(std::u16string_view asValor, const TzelArrayString& asValores);
  static void AddArrayInt(TzelArrayInteger& aaInt, std::int32_t aiInt);
  static void AddArrayStr(TzelArrayString& aaStr, std::u16string_view asStr);
  static void ClearArrayInt(TzelArrayInteger& aaInt);
  static void ClearArrayStr(TzelArrayString& aaStr);
  static TzelArrayInteger ArrayVarToInt(const TzelArrayVariant& aaVar);
  static TzelArrayString ArrayVarToStr(const TzelArrayVariant& aaVar);
  // The variant's text; null gives the empty text.
  static std::u16string VarToStr(const Variant& V);
  static double VarToFloat(const Variant& avValue);
  static Variant GetVariantValueDouble(double adValue, bool abNullIfZero);
  static Variant GetVariantValueInt(std::int32_t aiValue, bool abNullIfZero);
  static Variant GetVariantValueString(std::u16string_view asValue, bool abNullIfEmpty);
  static std::u16string BoolToStr(bool abValue);
  // Never reads past the array: a size beyond it (or below zero) is clipped.
  static std::u16string ByteArrayToString(const std::vector<std::uint8_t>& arBytes, std::int32_t aiSize);
  static std::u16string QueryToSQL(const TzelQuery& aoQuery);
  // A new query on the connection, owned by the caller (helpers/query.h).
  static std::unique_ptr<TzelQuery> CreateQuery(platform::DbConnection& aoConnetion);
  // The records from the first to the end, with the data set's controls disabled
  // meanwhile; afterwards on the first record again, controls enabled (also on failure).
  static std::int32_t RecordCount(TzelDataSet& aoDataSet);
  // The same count without touching the controls; afterwards on the first record.
  static std::int32_t QueryRecordCount(TzelQuery& aoQuery);
  static double CubagemM3(double lVL_ALTURA, double lVL_LARGURA, double lVL_PROFUNDIDADE);
  // Keeps the first occurrence of each text (case ignored), in order; linear time.
  static void StringListDistinct(TStringList& aoList);
  static Currency Max(Currency adValue1, Currency adValue2);
  static std::int32_t MaxInt(std::int32_t aiValue1, std::int32_t aiValue2);
  // 32 upper-case hexadecimal digits; a text is hashed as its UTF-8 bytes.
  static std::u16string MD5(std::u16string_view asTexto);
  // Read in pieces; error "Arquivo <name> não encontrado" when there is no such file.
  static std::u16string MD5File(std::u16string_view asArquivo);
  // Swaps each character found in a fixed table of pairs for the other of its pair
  // (capitals, the blank and some signs against accented letters and symbols); other
  // characters stay. Applied twice it gives the text back.
  //   ZelmorCript(ZelmorCript(s)) == s
  static std::u16string ZelmorCript(std::u16string_view s);

  // ---- Windows version and environment (environment.cpp) ----

  // "Windows " and the name of the Windows version the program runs on, from the
  // system's version facts (WindowsVersionName, unit mVersaoWindows). A system that is
  // not Windows has none: "Windows ?".
  //   VersaoWindowsStr() == u"Windows 10" on Windows 10 and 11
  static std::u16string VersaoWindowsStr();
  // The family of VersaoWindowsStr() (WindowsVersionFamily): vw10 on Windows 10 and 11,
  // vwNT where nothing is known.
  static TVersaoWindows VersaoWindows();
  // The version text of the executable `csExeName`: the "FileVersion" of a Windows
  // executable's version resource, or the version our own Linux programs are stamped
  // with. With `aiQtdNiveis` 1 to 3 only that many "."-separated parts remain (fewer
  // when the text has fewer); then every "." becomes `asSeparador` unless it is ".".
  // Empty for a missing file, a file without a version, or any failure.
  //   GetFileVersao(u"app.exe", 2, u",") == u"1,2" for a version 1.2.3.4
  static std::u16string GetFileVersao(std::u16string_view csExeName, std::int32_t aiQtdNiveis,
                                      std::u16string_view asSeparador);
  // The value of the process environment variable `EnVar` (whole, however long), empty
  // when it is not set. TmTS::GetVariavelAmbiente is this same routine.
  //   GetVariavelAmbiente(u"HOME") == u"/home/caixa"
  static std::u16string GetVariavelAmbiente(std::u16string_view EnVar);

  // ---- Focus (focus.cpp) ----

  // Gives `pControle` the focus. A panel hands it to the first of its windowed children,
  // in tab order, that takes it; any other control takes it when CanFocus. False for none.
  static bool SetFocus(TWinControl* pControle);
  // True when the control and every parent up the chain are enabled and visible.
  static bool CanFocus(TWinControl* pControle);
  // Clears `aoLista` and fills it with the control's direct windowed children in
  // ascending tab order; true when there is any.
  static bool GetListaOrdenadaWinControl(TWinControl* aoControle, std::vector<TWinControl*>& aoLista);

  // ---- Forms, controls, menus, printing and shortcuts (controls/) ----

  // True when any of the controls (or the one control) has the focus.
  static bool Focused(const std::vector<TWinControl*>& aoControles);
  static bool Focused(TWinControl* aoControle);
  // Brings the page holding a control to the front; the program has no tab pages, so
  // there is nothing to do.
  static void SetPageControl(TWinControl* pControle);
  // The first and the last of the control's children in tab order (both nullptr when it
  // has none); true when there is any.
  static bool GetFirstAndLastControl(TWinControl* aoControle, TWinControl*& aoPrimeiro, TWinControl*& aoUltimo);

  // Writes the text of every edit control the form owns to `asIniFile`: section = the
  // form's name, key = the control's name.
  static void SalvarEstadoForm(TForm* aoForm, std::u16string_view asIniFile);
  // Reads those texts back; a control without a name or without a key keeps its text.
  static void CarregarEstadoForm(TForm* aoForm, std::u16string_view asIniFile);

  // Sets Enabled on every direct child; a panel keeps its own state and its children
  // are set instead.
  static void HabilitaControles(TWinControl* aoComponente, bool aoEnabled);
  // Sets Enabled on every direct child and, with `abRecursive`, on their children too.
  static void AlterarHabilitacaoFilhos(TWinControl* aoParent, bool abEnabled, bool abRecursive);

  // The top-level item above `aoMenu` (the highest whose parent has no caption).
  static TMenuItem* MenuPai(TMenuItem* aoMenu);
  // The captions from the top-level item down to `aoMenu`, without "&", joined by
  // `abPrefixo`.  CaminhoMenu(Abrir, u" > ") == u"Arquivo > Abrir"
  static std::u16string CaminhoMenu(TMenuItem* aoMenu, std::u16string_view abPrefixo);
  // The caption of MenuPai without "&".
  static std::u16string CaminhoMenuPai(TMenuItem* aoMenu);
  // True when the item and every item above it are visible / enabled.
  static bool MenuVisible(TMenuItem* aoMenu);
  static bool MenuEnabled(TMenuItem* aoMenu);

  // The control's left and top plus those of every parent, the top plus the system's
  // menu-bar height; (0, 0) for no control.
  static TPoint GetAbsolutePos(TWinControl* aoControl);
  // GetAbsolutePos with the control's height added to Y: where a menu below it opens.
  static TPoint GetPopupPos(TWinControl* aoControl);
  // Opens `aoPopMenu` below the control or to its right.
  static void ShowPopMenu(TWinControl* aoControle, TPopupMenu* aoPopMenu, TPosPopup aePosicao);

  // The captions from the top (or from below the form, with `abIgnoraForm`) down to
  // the control, joined by `asSeparador`; empty captions add nothing.
  //   GetCaptionRecursivo(label, false, u" - ") == u"Clientes - Dados - Nome"
  static std::u16string GetCaptionRecursivo(TWinControl* aoComp, bool abIgnoraForm, std::u16string_view asSeparador);

  // The colour's name or its "$" text (ColorToString); with `abSomenteHexadecimal`,
  // "$00" and the blue, green and red bytes.  ColorToStr(0x0080FF, true) == u"$000080FF"
  static std::u16string ColorToStr(TColor aoCor, bool abSomenteHexadecimal);
  // A text colour readable on `aoCor`: black on light colours (bytes adding up to more
  // than 384), on the button face and on the default colour; white otherwise.
  static TColor InverteCor(TColor aoCor);

  // The application's form of exactly this class when there is one; else a new one,
  // owned by `aoOwner`, or by the application when that is nullptr.
  static TForm* CreateForm(const TFormClass& aoClass, TWinControl* aoOwner);
  // The names of the forms on screen, last first, joined by " -> " (the about box, the
  // main vertical form and the wait window are left out).
  static std::u16string GetFormAtual();
  // Brings the form to the front: restored when minimized, raised and made the active
  // window. Whether it is the active window afterwards (a window manager may refuse);
  // false for no form.
  static bool ForceForegroundWindow(TWinControl* hwnd);

  // Prints the lines on the default printer in `aoFont`, from the top-left corner down;
  // a line that would not fit on the page starts a new one.
  static void PrintStrings(const TzelArrayString& aoStrings, const TFont& aoFont);

  // Sets the first 800 x 600 mode of at least 16 bits per pixel the display lists;
  // false when there is none (always, on Linux: see platform::Display).
  static bool MudarPara800x600();

  // A launcher `Nome`.desktop on the user's desktop starting `CaminhoCompleto` in its
  // folder; one of that name is replaced. True when the launcher exists afterwards.
  static bool CriaAtalhoDesktop(std::u16string_view Nome, std::u16string_view CaminhoCompleto);
  // Deletes the launcher `Nome`.desktop from the desktop; false when there is none.
  static bool DeletaAtalhoDesktop(std::u16string_view Nome);

  // ---- Waiting and message pumping (waiting.cpp) ----

  // Waits `MSecs` milliseconds while the program's events go on being dispatched: the
  // pending ones at once, then each as it arrives; between them the thread sleeps. The
  // time is measured on the 32-bit tick counter, so its wrap does no harm. Handlers of
  // the program may run re-entrantly meanwhile. Delay(0) dispatches what is pending once.
  static void Delay(std::uint32_t MSecs);
  // Dispatches every pending event of the calling thread once. True when a request to
  // end the program's event loop was met (the request stays in force, so the loop still
  // ends); false otherwise, as on an empty queue.
  static bool DoEvents();
};

}  // namespace zelmor
