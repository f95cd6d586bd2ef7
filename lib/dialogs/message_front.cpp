// TmDlg: presets over the message window and the standard dialog.
#include "core/cp1252.h"
#include "core/text.h"
#include "dialogs/dbxAguardeUnit.h"
#include "dialogs/mMedia.h"
#include "dialogs/mMensagem.h"
#include "files/GravaLogsUnit.h"
#include "strings/mString.h"

namespace zelmor {
namespace {

constexpr std::u16string_view kMarker = u"[#MSG]";
constexpr std::u16string_view kMarkerEnd = u"SQL:";

platform::Dialogs& Service() { return platform::Service<platform::Dialogs>::Get(); }

// The wait window never hides a message.
void Preamble() { CloseWaitWindow(); }

// The taskbar button shows `state` while the message is open, nothing afterwards.
class Attention {
 public:
  explicit Attention(platform::Attention state) { Service().SetAttention(state); }
  ~Attention() { Service().SetAttention(platform::Attention::None); }
  Attention(const Attention&) = delete;
  Attention& operator=(const Attention&) = delete;
};

void Log(bool on, std::u16string_view text) {
  if (on) TGravaLogs::GravaLogMsg(text);
}

[[noreturn]] void Abort(TWinControl* Foco) {
  TmRot::SetFocus(Foco);
  throw EAbort(u"Operação cancelada");
}

// Captions of a standard button: 8-bit text in the code page, at most 255 characters.
std::u16string ButtonCaption(std::u16string_view caption) {
  return cp1252::Decode(cp1252::Encode(caption.substr(0, 255)));
}

platform::StandardDialog PositionedButtons(const TzelArrayString& Botoes, std::u16string_view Texto,
                                           std::u16string_view Titulo, platform::DialogKind Kind) {
  platform::StandardDialog d;
  d.Kind = Kind;
  d.Caption = Titulo;
  d.Text = Texto;
  for (std::size_t k = 0; k < Botoes.size(); ++k) {
    if (Botoes[k].empty()) continue;
    platform::DialogButton b;
    b.Caption = ButtonCaption(Botoes[k]);
    b.Result = static_cast<int>(k) + 1;
    d.Buttons.push_back(std::move(b));
  }
  return d;
}

}  // namespace

// ---- On the message window ----

void TmDlg::Informa(std::u16string_view Texto, bool GravaLog) {
  Preamble();
  {
    const Attention paused(platform::Attention::Paused);
    TmDialogForm::Executar(u"Informação", Texto, u"", mtInformation);
  }
  Log(GravaLog, Texto);
}

void TmDlg::Informa(const TzelArrayString& aaTexto, bool abGravaLog) {
  Informa(TmStr::Concatena(aaTexto, u"\r"), abGravaLog);
}

void TmDlg::Informa(std::u16string_view Titulo, std::u16string_view Texto, std::u16string_view Detalhes) {
  Preamble();
  const Attention paused(platform::Attention::Paused);
  TmDialogForm::Executar(Titulo, Texto, Detalhes, mtInformation);
}

void TmDlg::Alerta(std::u16string_view Texto, bool GravaLog) {
  Preamble();
  {
    const Attention paused(platform::Attention::Paused);
    TmDialogForm::Executar(u"Atenção", Texto, u"", mtWarning);
  }
  Log(GravaLog, Texto);
}

void TmDlg::Alerta(std::u16string_view Titulo, std::u16string_view Texto, std::u16string_view Detalhes) {
  Preamble();
  const Attention paused(platform::Attention::Paused);
  TmDialogForm::Executar(Titulo, Texto, Detalhes, mtWarning);
}

void TmDlg::Erro(std::u16string_view Texto, bool GravaLog) {
  Erro(u"Ocorreu um erro", Texto, u"", 0, u"");
  Log(GravaLog, Texto);
}

void TmDlg::Erro(std::u16string_view Titulo, std::u16string_view Texto, std::u16string_view Detalhes,
                 int SegundosFechar, std::u16string_view ExceptionMessage) {
  Preamble();
  const std::u16string m = MsgTratada(ExceptionMessage) ? GetMsgTratada(ExceptionMessage) : std::u16string();
  if (!m.empty()) {
    Informa(m, true);
    return;
  }
  std::u16string details(Detalhes);
  if (!ExceptionMessage.empty()) details += u" Msg.Original:" + std::u16string(ExceptionMessage);
  const Attention error(platform::Attention::Error);
  TmDialogForm::Executar(Titulo.empty() ? u"Ocorreu um erro" : Titulo, Texto, details, mtError, false, SegundosFechar);
}

bool TmDlg::Confirma(std::u16string_view Texto, bool FocoNao, bool, bool CentralizarNoOwner) {
  Preamble();
  const Attention paused(platform::Attention::Paused);
  return TmDialogForm::Executar(u"Confirmação", Texto, u"", mtConfirmation, FocoNao, 0, false, CentralizarNoOwner);
}

bool TmDlg::Confirma(std::u16string_view Titulo, std::u16string_view Texto, std::u16string_view Detalhes, bool FocoNao,
                     bool CentralizarNoOwner) {
  Preamble();
  const Attention paused(platform::Attention::Paused);
  return TmDialogForm::Executar(Titulo, Texto, Detalhes, mtConfirmation, FocoNao, 0, false, CentralizarNoOwner);
}

void TmDlg::InformaTimer(std::u16string_view asTexto, int aiSegundos) {
  Preamble();
  TmDialogForm::Executar(u"Informação", asTexto, u"", mtInformation, false, aiSegundos);
}

void TmDlg::ConfirmaTimer(std::u16string_view asTitulo, std::u16string_view asTexto, int aiSegundos) {
  Preamble();
  TmDialogForm::Executar(asTitulo, asTexto, u"", mtWarning, false, aiSegundos);
}

bool TmDlg::ConfirmaOkTimer(std::u16string_view asTitulo, std::u16string_view asTexto, int aiSegundos) {
  Preamble();
  return TmDialogForm::Executar(asTitulo, asTexto, u"", mtConfirmation, false, aiSegundos);
}

bool TmDlg::ErroTimer(std::u16string_view asTitulo, std::u16string_view asTexto, std::u16string_view asDetalhes,
                      int aiSegundos) {
  Preamble();
  return TmDialogForm::Executar(asTitulo, asTexto, asDetalhes, mtError, false, aiSegundos);
}

// ---- Confirm or abort ----

void TmDlg::ConfirmaExit(std::u16string_view Texto, bool FocoBotaoNao, TWinControl* Foco) {
  Preamble();
  Service().PlaySystemSound(platform::DialogKind::Confirmation);
  if (!Confirma(Texto, FocoBotaoNao, true, false)) Abort(Foco);
}

void TmDlg::ConfirmaExit(std::u16string_view Titulo, std::u16string_view Texto, std::u16string_view Detalhes,
                         bool FocoBotaoNao, TWinControl* Foco) {
  Preamble();
  Service().PlaySystemSound(platform::DialogKind::Confirmation);
  if (!Confirma(Titulo, Texto, Detalhes, FocoBotaoNao, false)) Abort(Foco);
}

void TmDlg::ConfirmaExitMono(std::u16string_view Titulo, std::u16string_view Texto, std::u16string_view Detalhes,
                             bool FocoBotaoNao, TWinControl* Foco) {
  Preamble();
  Service().PlaySystemSound(platform::DialogKind::Confirmation);
  if (!TmDialogForm::Executar(Titulo, Texto, Detalhes, mtConfirmation, FocoBotaoNao, 0, true, false)) Abort(Foco);
}

void TmDlg::InformaAbort(bool Condicao, std::u16string_view Texto, TWinControl* Foco, bool GravaLog,
                         const TRotinaCallBack& Rotina) {
  if (!Condicao) return;
  Preamble();
  Service().PlaySystemSound(platform::DialogKind::Confirmation);
  Alerta(Texto, GravaLog);
  if (Rotina) Rotina();
  Abort(Foco);
}

void TmDlg::InformaAbort(bool Condicao, std::u16string_view Titulo, std::u16string_view Texto,
                         std::u16string_view Detalhes, TWinControl* Foco) {
  if (!Condicao) return;
  Preamble();
  Alerta(Titulo, Texto, Detalhes);
  Abort(Foco);
}

// ---- On the standard dialog ----

int TmDlg::Show(const TzelArrayString& Botoes, std::u16string_view Texto, int BtnPadrao, std::u16string_view Titulo,
                TMsgDlgType TipoDlg, int X, int Y, bool) {
  Preamble();
  if (Botoes.size() > 6) {
    Erro(u"Máximo 6 botões!", true);
    return 0;
  }
  platform::StandardDialog d = PositionedButtons(Botoes, Texto, Titulo, DialogKindOf(TipoDlg));
  if (X > 0) d.Top = X;
  if (Y > 0) d.Left = Y;
  for (std::size_t i = 0; i < d.Buttons.size(); ++i)
    if (d.Buttons[i].Result == BtnPadrao) d.FocusButton = static_cast<int>(i);
  return Service().ShowStandardDialog(d);
}

int TmDlg::MensagemEventos(const TzelArrayString& Botoes, const std::vector<TBotaoEvent>& Events,
                           const std::vector<bool>& FechaClique, std::u16string_view Titulo, std::u16string_view Texto,
                           bool) {
  Preamble();
  if (Botoes.size() > 6) {
    Erro(u"Máximo 6 botões!", true);
    return 0;
  }
  platform::StandardDialog d = PositionedButtons(Botoes, Texto, Titulo, platform::DialogKind::Information);
  d.WidenButtons = true;
  for (platform::DialogButton& b : d.Buttons) {
    const std::size_t k = static_cast<std::size_t>(b.Result) - 1;
    if (k < Events.size() && Events[k]) {
      const int sender = b.Result;
      b.OnClick = [handler = Events[k], sender] { handler(sender); };
    }
    if (k < FechaClique.size()) b.Closes = FechaClique[k];
  }
  return Service().ShowStandardDialog(d);
}

void TmDlg::ConfirmaTimer(std::u16string_view Texto, int iSegundos) {
  Preamble();
  platform::StandardDialog d;
  d.Kind = platform::DialogKind::Confirmation;
  d.Caption = u"Confirmação";
  d.Text = Texto;
  d.Buttons.push_back({u"&Ok [" + IntToStr(iSegundos) + u"]", 1, true, nullptr, false});
  d.CountsDown = true;
  Service().ShowStandardDialog(d);
}

bool TmDlg::ConfirmaUsuarioDesatento(std::u16string_view Texto) {
  Preamble();
  platform::StandardDialog d;
  d.Kind = platform::DialogKind::Confirmation;
  d.Caption = u"Confirmação";
  d.Text = Texto;
  constexpr int kSim = 6, kNao = 7, kOk = 1;  // the standard results of Yes, No and OK
  d.Buttons.push_back({u"&Sim", kSim, true, nullptr, false});
  d.Buttons.push_back({u"&Não", kNao, true, nullptr, false});
  // Enter and Space land on an invisible button that only beeps.
  d.Buttons.push_back({u"OK", kOk, false, [] { TmSpeaker::Bip(); }, true});
  d.FocusButton = 2;
  return Service().ShowStandardDialog(d) == kSim;
}

void TmDlg::ShowMono(std::u16string_view Texto, std::u16string_view Titulo, TMsgDlgType TipoDlg,
                     std::u16string_view Bitmap, TColor Cor) {
  Preamble();
  platform::StandardDialog d;
  d.Kind = DialogKindOf(TipoDlg);
  d.Caption = Titulo;
  d.Text = TmStr::Replace(Texto, u" ", u"\u00A0");  // breaks only at line breaks
  d.Monospaced = true;
  d.IconFile = Bitmap;
  // 0x00BBGGRR; system colours (top byte set) and the default keep the window's own.
  if ((static_cast<std::uint32_t>(Cor) & 0xFF000000u) == 0 && Cor != clDefault) {
    const auto c = static_cast<std::uint32_t>(Cor);
    d.Background = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
  }
  d.Buttons.push_back({u"OK", 1, true, nullptr, false});
  Service().ShowStandardDialog(d);
}

// ---- Other ----

bool TmDlg::MsgTratada(std::u16string_view asMessage) { return asMessage.find(kMarker) != std::u16string_view::npos; }

std::u16string TmDlg::GetMsgTratada(std::u16string_view asMessage) {
  const std::size_t at = asMessage.find(kMarker);
  if (at == std::u16string_view::npos) return std::u16string(asMessage);
  std::u16string_view m = asMessage.substr(at + kMarker.size());
  const std::size_t end = m.find(kMarkerEnd);
  if (end != std::u16string_view::npos) m = m.substr(0, end);
  return std::u16string(m);
}

void TmDlg::setBalloon(TWinControl* chwnd, std::u16string_view cText, std::u16string_view cTitle, TDlgType cDlgType) {
  if (!chwnd || !chwnd->HasWindow()) return;
  chwnd->SetBalloon(cText, cTitle.substr(0, 255), static_cast<int>(cDlgType));
}

void TmDlg::MensagemPostgres() {}

}  // namespace zelmor
