// TmDlg: how the whole library talks to the user: information, warnings, errors,
// confirmations, messages that close themselves, dialogs with free buttons and button
// handlers, helpers that show a message and silently abort the caller's input check,
// and balloon tips. Every message first closes the wait window, so none is hidden
// behind it; several light up the taskbar button while open. Members with `GravaLog`
// hand the text to TGravaLogs::GravaLogMsg once the dialog has closed.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/mMensagemPlus.h"
#include "forms/colors.h"
#include "mConst.h"
#include "system/system.h"

namespace zelmor {

// The icon of a balloon tip.
enum TDlgType : std::uint8_t { dlgInformation, dlgError, dlgWarning, dlgSimple };
// A button handler; the sender is the button's position (1 to 6).
using TBotaoEvent = std::function<void(int Sender)>;
using TRotinaCallBack = std::function<void()>;

class TmDlg {
 public:
  TmDlg() = delete;

  // ---- On the message window ----

  // "Informação" with `Texto`; the taskbar button paused (yellow) while open.
  static void Informa(std::u16string_view Texto, bool GravaLog = false);
  // The items joined with CR (an empty item after the first leaves an empty line).
  //   Informa({u"a", u"", u"b"}) shows a, an empty line, b
  static void Informa(const TzelArrayString& aaTexto, bool abGravaLog = false);
  static void Informa(std::u16string_view Titulo, std::u16string_view Texto, std::u16string_view Detalhes);
  // "Atenção" with `Texto`.
  static void Alerta(std::u16string_view Texto, bool GravaLog = false);
  static void Alerta(std::u16string_view Titulo, std::u16string_view Texto, std::u16string_view Detalhes);
  // "Ocorreu um erro" with `Texto`; the taskbar button red while open.
  static void Erro(std::u16string_view Texto, bool GravaLog = false);
  // An error box headed `Titulo` (or "Ocorreu um erro"), with `Detalhes` and, after
  // " Msg.Original:", the exception's message. A message the database marked for the
  // user ("[#MSG]" … "SQL:") is shown as information instead, and logged.
  //   Erro(u"", u"Falhou", u"", 0, u"ERROR: [#MSG]Cliente bloqueado SQL: select 1")
  //     → Informa(u"Cliente bloqueado ", true)
  static void Erro(std::u16string_view Titulo, std::u16string_view Texto, std::u16string_view Detalhes,
                   int SegundosFechar, std::u16string_view ExceptionMessage);
  // "Confirmação": Sim / Não (`FocoNao` starts on Não); true for Sim.
  // `abAguardeHide` is accepted and has no effect: the wait window is always closed.
  static bool Confirma(std::u16string_view Texto, bool FocoNao = false, bool abAguardeHide = true,
                       bool CentralizarNoOwner = false);
  static bool Confirma(std::u16string_view Titulo, std::u16string_view Texto, std::u16string_view Detalhes,
                       bool FocoNao, bool CentralizarNoOwner);
  // Information that closes itself after `aiSegundos`.
  static void InformaTimer(std::u16string_view asTexto, int aiSegundos);
  // A warning that closes itself after `aiSegundos`.
  static void ConfirmaTimer(std::u16string_view asTitulo, std::u16string_view asTexto, int aiSegundos);
  // OK / Cancelar counting down on OK; true for OK or when the countdown ends.
  static bool ConfirmaOkTimer(std::u16string_view asTitulo, std::u16string_view asTexto, int aiSegundos);
  // An error with details that closes itself after `aiSegundos`; true for OK or the end.
  static bool ErroTimer(std::u16string_view asTitulo, std::u16string_view asTexto, std::u16string_view asDetalhes,
                        int aiSegundos);

  // ---- Confirm or abort (input checks) ----
  // When the user does not confirm, the focus goes to `Foco` (may be null) and the
  // caller's operation ends with the silent EAbort.

  static void ConfirmaExit(std::u16string_view Texto, bool FocoBotaoNao, TWinControl* Foco);
  static void ConfirmaExit(std::u16string_view Titulo, std::u16string_view Texto, std::u16string_view Detalhes,
                           bool FocoBotaoNao, TWinControl* Foco);
  // As ConfirmaExit, the body in a fixed-pitch face.
  static void ConfirmaExitMono(std::u16string_view Titulo, std::u16string_view Texto, std::u16string_view Detalhes,
                               bool FocoBotaoNao, TWinControl* Foco);
  // Only when `Condicao`: a warning, then `Rotina` when given, then the abort.
  // Without `Condicao` nothing at all happens (the wait window stays).
  static void InformaAbort(bool Condicao, std::u16string_view Texto, TWinControl* Foco, bool GravaLog = false,
                           const TRotinaCallBack& Rotina = nullptr);
  static void InformaAbort(bool Condicao, std::u16string_view Titulo, std::u16string_view Texto,
                           std::u16string_view Detalhes, TWinControl* Foco);

  // ---- On the standard dialog ----

  // Up to 6 buttons captioned by `Botoes` at positions 1 to 6 (an empty caption leaves
  // a gap); the button at `BtnPadrao` has the focus. `X` > 0 is the window's top and
  // `Y` > 0 its left. The position of the button pressed; 0 for the close box. More
  // than 6 captions: the error "Máximo 6 botões!" and 0.
  //   Show({u"A", u"", u"C"}, u"Escolha", 1, u"Opções", mtInformation, 0, 0, true): C gives 3
  static int Show(const TzelArrayString& Botoes, std::u16string_view Texto, int BtnPadrao, std::u16string_view Titulo,
                  TMsgDlgType TipoDlg, int X = 0, int Y = 0, bool abAguardeHide = true);
  // As Show, information type, with a handler per position; a button whose
  // `FechaClique` is false runs its handler and the dialog stays. Positions missing from
  // `Events` or `FechaClique` have no handler and close.
  static int MensagemEventos(const TzelArrayString& Botoes, const std::vector<TBotaoEvent>& Events,
                             const std::vector<bool>& FechaClique, std::u16string_view Titulo,
                             std::u16string_view Texto, bool abAguardeHide = true);
  // "Confirmação" with one button "&Ok [n]" counting down; closes itself at 0.
  static void ConfirmaTimer(std::u16string_view Texto, int iSegundos);
  // A confirmation Enter cannot answer: Enter and Space only beep; Sim or Não must be
  // chosen (mouse, Tab, S, N). True only for Sim.
  static bool ConfirmaUsuarioDesatento(std::u16string_view Texto);
  // `Texto` in a fixed-pitch face, lines broken only at line breaks, one OK button;
  // `Bitmap` (an image file) replaces the type's icon, `Cor` is the background
  // (clDefault or a system colour: the window's own).
  static void ShowMono(std::u16string_view Texto, std::u16string_view Titulo, TMsgDlgType TipoDlg,
                       std::u16string_view Bitmap = {}, TColor Cor = clDefault);

  // ---- Other ----

  // Whether `asMessage` carries the handled-message marker "[#MSG]".
  static bool MsgTratada(std::u16string_view asMessage);
  // The text after the first "[#MSG]", cut before the first "SQL:"; unchanged without the marker.
  //   GetMsgTratada(u"ERROR: [#MSG]Sem saldo SQL: x") == u"Sem saldo "
  static std::u16string GetMsgTratada(std::u16string_view asMessage);
  // A balloon tip over `chwnd` with `cText`, titled `cTitle` (up to 255 characters).
  // Nothing is created for no control or one without a window yet.
  static void setBalloon(TWinControl* chwnd, std::u16string_view cText, std::u16string_view cTitle, TDlgType cDlgType);
  // Does nothing.
  static void MensagemPostgres();
};

}  // namespace zelmor
