// Messages, the message window and the wait window. Under `zelmor call` they go to
// the headless dialogs: each message is written to standard error and questions are
// answered from ZELMOR_DIALOG_ANSWERS (comma-separated, first in first out) or with the
// default button; `zelmor dialog` shows the real windows. Routines that take a control
// of the program (the focus to give back after an abort) are called without one here.
#include "dialogs/dbxAguardeUnit.h"
#include "dialogs/mMensagem.h"
#include "tools/zelmor/registry.h"

namespace zelmor::cli {

ZELMOR_ENUM_NAMES(TMsgDlgType, "mtWarning", "mtError", "mtInformation", "mtConfirmation", "mtCustom");
ZELMOR_ENUM_NAMES(TDlgType, "dlgInformation", "dlgError", "dlgWarning", "dlgSimple");

ZELMOR_ROUTINES(dialogs) {
  using Sv = std::u16string_view;
  const char* kTypes = "Tipo: 0 mtWarning, 1 mtError, 2 mtInformation, 3 mtConfirmation, 4 mtCustom";

  Register("TmDialogForm.Executar", &TmDialogForm::Executar,
           {"Titulo", "Mensagem", "Detalhes", "Tipo", "FocoNao", "aiTempoOK", "abMonoEspacada", "CentralizarNoOwner"},
           {false, 0, false, false}, kTypes);
  Register("TmDialogForm.ExecutarOpcao", &TmDialogForm::ExecutarOpcao,
           {"asTitulo", "asMensagem", "asDetalhes", "asCapOk", "asCapCancelar"});
  Register("TmDialogForm.TextoDetalhes", &TmDialogForm::TextoDetalhes, {"Detalhes"});
  Register("TmDialogForm.TextoCopia", &TmDialogForm::TextoCopia, {"Titulo", "Corpo"});

  Register("dbxAguardeUnit.ShowWaitWindow", &ShowWaitWindow,
           {"InfoText", "MainText", "GaugeMax", "RepaintNow", "AllowCancel", "AllowClose"}, {0, true, false, false});
  Register("dbxAguardeUnit.CloseWaitWindow", &CloseWaitWindow, {});
  Register("TdbxAguardeForm.TextoTempo", &TdbxAguardeForm::TextoTempo, {"Posicao", "Maximo", "DecorridoMs"});

  Register("TmDlg.Informa", static_cast<void (*)(Sv, bool)>(&TmDlg::Informa), {"Texto", "GravaLog"}, {false});
  Register("TmDlg.Informa", static_cast<void (*)(const TzelArrayString&, bool)>(&TmDlg::Informa),
           {"aaTexto", "abGravaLog"}, {false});
  Register("TmDlg.Informa", static_cast<void (*)(Sv, Sv, Sv)>(&TmDlg::Informa), {"Titulo", "Texto", "Detalhes"});
  Register("TmDlg.Alerta", static_cast<void (*)(Sv, bool)>(&TmDlg::Alerta), {"Texto", "GravaLog"}, {false});
  Register("TmDlg.Alerta", static_cast<void (*)(Sv, Sv, Sv)>(&TmDlg::Alerta), {"Titulo", "Texto", "Detalhes"});
  Register("TmDlg.Erro", static_cast<void (*)(Sv, bool)>(&TmDlg::Erro), {"Texto", "GravaLog"}, {false});
  Register("TmDlg.Erro", static_cast<void (*)(Sv, Sv, Sv, int, Sv)>(&TmDlg::Erro),
           {"Titulo", "Texto", "Detalhes", "SegundosFechar", "ExceptionMessage"});
  Register("TmDlg.Confirma", static_cast<bool (*)(Sv, bool, bool, bool)>(&TmDlg::Confirma),
           {"Texto", "FocoNao", "abAguardeHide", "CentralizarNoOwner"}, {false, true, false});
  Register("TmDlg.Confirma", static_cast<bool (*)(Sv, Sv, Sv, bool, bool)>(&TmDlg::Confirma),
           {"Titulo", "Texto", "Detalhes", "FocoNao", "CentralizarNoOwner"});
  Register("TmDlg.InformaTimer", &TmDlg::InformaTimer, {"asTexto", "aiSegundos"});
  Register("TmDlg.ConfirmaTimer", static_cast<void (*)(Sv, Sv, int)>(&TmDlg::ConfirmaTimer),
           {"asTitulo", "asTexto", "aiSegundos"});
  Register("TmDlg.ConfirmaTimer", static_cast<void (*)(Sv, int)>(&TmDlg::ConfirmaTimer), {"Texto", "iSegundos"});
  Register("TmDlg.ConfirmaOkTimer", &TmDlg::ConfirmaOkTimer, {"asTitulo", "asTexto", "aiSegundos"});
  Register("TmDlg.ErroTimer", &TmDlg::ErroTimer, {"asTitulo", "asTexto", "asDetalhes", "aiSegundos"});

  // Not confirmed: the silent abort comes back as {"error": …, "kind": "abort"}.
  Register("TmDlg.ConfirmaExit",
           +[](Sv Texto, bool FocoBotaoNao) { TmDlg::ConfirmaExit(Texto, FocoBotaoNao, nullptr); },
           {"Texto", "FocoBotaoNao"}, {false});
  Register("TmDlg.ConfirmaExit",
           +[](Sv Titulo, Sv Texto, Sv Detalhes, bool FocoBotaoNao) {
             TmDlg::ConfirmaExit(Titulo, Texto, Detalhes, FocoBotaoNao, nullptr);
           },
           {"Titulo", "Texto", "Detalhes", "FocoBotaoNao"});
  Register("TmDlg.ConfirmaExitMono",
           +[](Sv Titulo, Sv Texto, Sv Detalhes, bool FocoBotaoNao) {
             TmDlg::ConfirmaExitMono(Titulo, Texto, Detalhes, FocoBotaoNao, nullptr);
           },
           {"Titulo", "Texto", "Detalhes", "FocoBotaoNao"}, {false});
  Register("TmDlg.InformaAbort",
           +[](bool Condicao, Sv Texto, bool GravaLog) { TmDlg::InformaAbort(Condicao, Texto, nullptr, GravaLog); },
           {"Condicao", "Texto", "GravaLog"}, {false});
  Register("TmDlg.InformaAbort",
           +[](bool Condicao, Sv Titulo, Sv Texto, Sv Detalhes) {
             TmDlg::InformaAbort(Condicao, Titulo, Texto, Detalhes, nullptr);
           },
           {"Condicao", "Titulo", "Texto", "Detalhes"});

  Register("TmDlg.Show", &TmDlg::Show, {"Botoes", "Texto", "BtnPadrao", "Titulo", "TipoDlg", "X", "Y", "abAguardeHide"},
           {0, 0, true}, "the position (1-6) of the button pressed, 0 for the close box");
  // Handlers cannot cross the command line: FechaClique as 0/1 per position, none given: every button closes.
  Register("TmDlg.MensagemEventos",
           +[](const TzelArrayString& Botoes, const TzelArrayInteger& FechaClique, Sv Titulo, Sv Texto) {
             std::vector<bool> closes;
             for (int v : FechaClique) closes.push_back(v != 0);
             return TmDlg::MensagemEventos(Botoes, {}, closes, Titulo, Texto);
           },
           {"Botoes", "FechaClique", "Titulo", "Texto"});
  Register("TmDlg.ConfirmaUsuarioDesatento", &TmDlg::ConfirmaUsuarioDesatento, {"Texto"});
  Register("TmDlg.ShowMono", &TmDlg::ShowMono, {"Texto", "Titulo", "TipoDlg", "Bitmap", "Cor"}, {"", 0x20000000},
           "Cor as 0x00BBGGRR; 536870912 (clDefault) keeps the window's colour");
  Register("TmDlg.MsgTratada", &TmDlg::MsgTratada, {"asMessage"});
  Register("TmDlg.GetMsgTratada", &TmDlg::GetMsgTratada, {"asMessage"});
  Register("TmDlg.MensagemPostgres", &TmDlg::MensagemPostgres, {});
  // The command line has no control to attach to: like a window handle 0, nothing happens.
  Register(
      "TmDlg.setBalloon",
      +[](Sv cText, Sv cTitle, TDlgType cDlgType) { TmDlg::setBalloon(nullptr, cText, cTitle, cDlgType); },
      {"cText", "cTitle", "cDlgType"}, {}, "no control from the command line: does nothing");
}

}  // namespace zelmor::cli
