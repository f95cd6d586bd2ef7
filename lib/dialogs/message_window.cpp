// What the message window shows for each type, and the texts its details pane and
// Ctrl+C work with.
#include "dialogs/mMensagemPlus.h"

#include "core/text_kit.h"
#include "strings/mString.h"

namespace zelmor {
namespace {

struct Presentation {
  const char16_t* Caption;
  std::uint32_t Colour;  // 0xRRGGBB
};

constexpr Presentation kPresentations[] = {
    {u"Atenção", 0xF04E00},      // mtWarning: orange
    {u"Erro", 0xFF0000},         // mtError: red
    {u"Informação", 0x0000FF},   // mtInformation: blue
    {u"Confirmação", 0x800080},  // mtConfirmation: purple
    {u"Título", 0x0000FF},       // mtCustom: the design caption and colour
};

// Every line-break form, and any "¿" already there, as CR LF.
std::u16string LineBreaksAsCrLf(std::u16string_view s) {
  std::u16string t = TmStr::Replace(s, u"\r\n", u"¿");
  t = TmStr::Replace(t, u"\n", u"¿");
  t = TmStr::Replace(t, u"\r", u"¿");
  return TmStr::Replace(t, u"¿", u"\r\n");
}

}  // namespace

platform::DialogKind DialogKindOf(TMsgDlgType Tipo) {
  switch (Tipo) {
    case mtWarning: return platform::DialogKind::Warning;
    case mtError: return platform::DialogKind::Error;
    case mtInformation: return platform::DialogKind::Information;
    case mtConfirmation: return platform::DialogKind::Confirmation;
    default: return platform::DialogKind::Custom;
  }
}

std::u16string TmDialogForm::TextoDetalhes(std::u16string_view Detalhes) {
  std::u16string t = LineBreaksAsCrLf(TmStr::RemoveEspacosDuplos(Detalhes));
  if (textkit::Trim(t).empty()) return {};
  return t;
}

std::u16string TmDialogForm::TextoCopia(std::u16string_view Titulo, std::u16string_view Corpo) {
  // Only line breaks here: a "¿" in the body is the user's text and stays.
  std::u16string body = TmStr::Replace(Corpo, u"\r\n", u"\n");
  body = TmStr::Replace(body, u"\r", u"\n");
  body = TmStr::Replace(body, u"\n", u"\r\n");
  return std::u16string(Titulo) + u"\r\n\r\n" + body;
}

platform::MessageWindow TmDialogForm::Descricao(std::u16string_view Titulo, std::u16string_view Mensagem,
                                                std::u16string_view Detalhes, TMsgDlgType Tipo, bool FocoNao,
                                                int aiTempoOK, bool abMonoEspacada, bool CentralizarNoOwner) {
  if (Tipo > mtCustom) Tipo = mtCustom;
  platform::MessageWindow w;
  w.Kind = DialogKindOf(Tipo);
  w.Caption = kPresentations[Tipo].Caption;
  w.HeadlineColour = kPresentations[Tipo].Colour;
  w.Icon = Tipo != mtCustom;
  w.Headline = Titulo;
  w.Body = Mensagem;
  w.Details = TextoDetalhes(Detalhes);
  w.Monospaced = abMonoEspacada;
  w.CentreOnOwner = CentralizarNoOwner;
  if (Tipo == mtConfirmation) {
    w.CancelShown = true;
    if (aiTempoOK == 0) {
      w.OkCaption = u"&Sim";
      w.CancelCaption = u"&Não";
    }
    w.CancelFirst = FocoNao;
  }
  // The countdown runs only on a plain OK button (not on Sim).
  w.Countdown = aiTempoOK > 0 && w.OkCaption == u"&OK" ? aiTempoOK : 0;
  return w;
}

bool TmDialogForm::Executar(std::u16string_view Titulo, std::u16string_view Mensagem, std::u16string_view Detalhes,
                            TMsgDlgType Tipo, bool FocoNao, int aiTempoOK, bool abMonoEspacada,
                            bool CentralizarNoOwner) {
  const platform::MessageWindow w =
      Descricao(Titulo, Mensagem, Detalhes, Tipo, FocoNao, aiTempoOK, abMonoEspacada, CentralizarNoOwner);
  platform::Dialogs& dialogs = platform::Service<platform::Dialogs>::Get();
  dialogs.PlaySystemSound(w.Kind);
  return dialogs.ShowMessageWindow(w);
}

bool TmDialogForm::ExecutarOpcao(std::u16string_view asTitulo, std::u16string_view asMensagem,
                                 std::u16string_view asDetalhes, std::u16string_view asCapOk,
                                 std::u16string_view asCapCancelar) {
  platform::MessageWindow w;
  w.Kind = platform::DialogKind::Information;
  w.Caption = asTitulo;
  w.Headline = asTitulo;
  w.Body = asMensagem;
  w.Details = TextoDetalhes(asDetalhes);
  w.HeadlineColour = 0x0000FF;
  w.OkCaption = asCapOk;
  w.OkWidth = 95;
  w.CancelCaption = asCapCancelar;
  w.CancelShown = true;
  platform::Dialogs& dialogs = platform::Service<platform::Dialogs>::Get();
  dialogs.PlaySystemSound(w.Kind);
  return dialogs.ShowMessageWindow(w);
}

}  // namespace zelmor
