#include <gtest/gtest.h>

#include <functional>

#include "core/errors.h"
#include "dialogs/dbxAguardeUnit.h"
#include "dialogs/mMensagem.h"
#include "testing/control_tree.h"
#include "testing/recorded_dialogs.h"
#include "testing/runtime_doubles.h"

namespace zelmor {
namespace {

using platform::Attention;
using platform::DialogKind;
using Event = adapters::HeadlessDialogs::Event;

using FakeControl = testing::MemoryControl;

class DialogFrontTest : public ::testing::Test {
 protected:
  testing::RecordedDialogs FDialogs;
  testing::VirtualEventPump FPump;
  platform::Service<platform::EventPump>::ScopedOverride FPumpIn{&FPump};
  testing::RecordingToneOutput FTones;

  const adapters::HeadlessDialogs::Record& LastWindow() {
    for (auto it = FDialogs.Records.rbegin(); it != FDialogs.Records.rend(); ++it)
      if (it->What == Event::MessageWindow || it->What == Event::StandardDialog) return *it;
    throw std::logic_error("no window was shown");
  }
  std::vector<Attention> AttentionStates() const {
    std::vector<Attention> out;
    for (const auto& r : FDialogs.Records)
      if (r.What == Event::Attention) out.push_back(r.State);
    return out;
  }
};

TEST_F(DialogFrontTest, PresetsOverTheMessageWindow) {
  struct Case {
    const char* Name;
    std::function<void()> Call;
    DialogKind Kind;
    const char16_t* Headline;
    const char16_t* Body;
    const char16_t* Details;
    int Countdown;
    Attention WhileOpen;
  };
  const Case cases[] = {
      {"Informa", [] { TmDlg::Informa(u"Caixa aberto"); }, DialogKind::Information, u"Informação", u"Caixa aberto", u"",
       0, Attention::Paused},
      {"Informa array",
       [] {
         TmDlg::Informa(TzelArrayString{u"a", u"", u"b"});
       },
       DialogKind::Information, u"Informação", u"a\r\rb", u"", 0, Attention::Paused},
      {"Informa 3", [] { TmDlg::Informa(u"T", u"x", u"d"); }, DialogKind::Information, u"T", u"x", u"d", 0,
       Attention::Paused},
      {"Alerta", [] { TmDlg::Alerta(u"Sem papel", true); }, DialogKind::Warning, u"Atenção", u"Sem papel", u"", 0,
       Attention::Paused},
      {"Alerta 3", [] { TmDlg::Alerta(u"T", u"x", u"d"); }, DialogKind::Warning, u"T", u"x", u"d", 0,
       Attention::Paused},
      {"Erro", [] { TmDlg::Erro(u"Falhou"); }, DialogKind::Error, u"Ocorreu um erro", u"Falhou", u"", 0,
       Attention::Error},
      {"Erro 5", [] { TmDlg::Erro(u"", u"Falhou", u"linha", 0, u"timeout"); }, DialogKind::Error, u"Ocorreu um erro",
       u"Falhou", u"linha Msg.Original:timeout", 0, Attention::Error},
      {"Erro 5 titled", [] { TmDlg::Erro(u"Venda", u"Falhou", u"", 7, u""); }, DialogKind::Error, u"Venda", u"Falhou",
       u"", 7, Attention::Error},
      {"Confirma", [] { TmDlg::Confirma(u"Gravar?"); }, DialogKind::Confirmation, u"Confirmação", u"Gravar?", u"", 0,
       Attention::Paused},
      {"Confirma 5", [] { TmDlg::Confirma(u"T", u"x", u"d", false, false); }, DialogKind::Confirmation, u"T", u"x",
       u"d", 0, Attention::Paused},
      {"InformaTimer", [] { TmDlg::InformaTimer(u"Pronto", 3); }, DialogKind::Information, u"Informação", u"Pronto",
       u"", 3, Attention::None},
      {"ConfirmaTimer 3", [] { TmDlg::ConfirmaTimer(u"T", u"x", 4); }, DialogKind::Warning, u"T", u"x", u"", 4,
       Attention::None},
      {"ConfirmaOkTimer", [] { TmDlg::ConfirmaOkTimer(u"T", u"x", 5); }, DialogKind::Confirmation, u"T", u"x", u"", 5,
       Attention::None},
      {"ErroTimer", [] { TmDlg::ErroTimer(u"T", u"x", u"d", 2); }, DialogKind::Error, u"T", u"x", u"d", 2,
       Attention::None},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    FDialogs.Records.clear();
    c.Call();
    const auto& w = LastWindow();
    EXPECT_EQ(w.What, Event::MessageWindow);
    EXPECT_EQ(w.Kind, c.Kind);
    EXPECT_EQ(w.Headline, c.Headline);
    EXPECT_EQ(w.Text, c.Body);
    EXPECT_EQ(w.Details, c.Details);
    EXPECT_EQ(w.Countdown, c.Countdown);
    // Paused or red while open, nothing afterwards; the timers leave the taskbar alone.
    const std::vector<Attention> states = AttentionStates();
    ASSERT_FALSE(states.empty());
    EXPECT_EQ(states.back(), Attention::None);
    if (c.WhileOpen != Attention::None) {
      ASSERT_GE(states.size(), 2u);
      EXPECT_EQ(states[states.size() - 2], c.WhileOpen);
    } else {
      EXPECT_EQ(states.size(), 1u);  // only the wait window's closing
    }
  }
}

TEST_F(DialogFrontTest, EveryMessageClosesTheWaitWindowFirst) {
  FakeControl edit;
  const std::function<void()> calls[] = {
      [] { TmDlg::Informa(u"a"); },
      [] { TmDlg::Informa(TzelArrayString{u"a"}); },
      [] { TmDlg::Informa(u"t", u"a", u""); },
      [] { TmDlg::Alerta(u"a"); },
      [] { TmDlg::Alerta(u"t", u"a", u""); },
      [] { TmDlg::Erro(u"a"); },
      [] { TmDlg::Erro(u"t", u"a", u"", 0, u"x"); },
      [] { TmDlg::Erro(u"t", u"a", u"", 0, u"[#MSG]tratada"); },
      [] { TmDlg::Confirma(u"a", false, false); },  // abAguardeHide false closes it all the same
      [] { TmDlg::Confirma(u"t", u"a", u"", false, false); },
      [] { TmDlg::InformaTimer(u"a", 1); },
      [] { TmDlg::ConfirmaTimer(u"t", u"a", 1); },
      [] { TmDlg::ConfirmaOkTimer(u"t", u"a", 1); },
      [] { TmDlg::ErroTimer(u"t", u"a", u"", 1); },
      [&] { TmDlg::ConfirmaExit(u"a", false, &edit); },
      [&] { TmDlg::ConfirmaExit(u"t", u"a", u"", false, &edit); },
      [&] { TmDlg::ConfirmaExitMono(u"t", u"a", u"", false, &edit); },
      [&] { EXPECT_THROW(TmDlg::InformaAbort(true, u"a", &edit), EAbort); },
      [&] { EXPECT_THROW(TmDlg::InformaAbort(true, u"t", u"a", u"", &edit), EAbort); },
      [] { TmDlg::Show({u"A"}, u"a", 1, u"t", mtInformation); },
      [] {
        TmDlg::Show({u"1", u"2", u"3", u"4", u"5", u"6", u"7"}, u"a", 1, u"t", mtInformation);
      },
      [] { TmDlg::MensagemEventos({u"A"}, {}, {}, u"t", u"a"); },
      [] { TmDlg::ConfirmaTimer(u"a", 2); },
      [] { TmDlg::ConfirmaUsuarioDesatento(u"a"); },
      [] { TmDlg::ShowMono(u"a", u"t", mtInformation); },
  };
  int index = 0;
  for (const auto& call : calls) {
    SCOPED_TRACE(index++);
    FDialogs.Records.clear();
    ShowWaitWindow(u"Aguarde...", u"Atualizando arquivos", 0, true, false, false);
    ASSERT_TRUE(TdbxAguardeForm::Existe());
    call();
    EXPECT_FALSE(TdbxAguardeForm::Existe());
    int windows = 0;
    bool closed = false;
    for (const auto& r : FDialogs.Records) {
      if (r.What == Event::WaitClosed) closed = true;
      if (r.What == Event::MessageWindow || r.What == Event::StandardDialog) {
        ++windows;
        EXPECT_TRUE(closed);
        EXPECT_FALSE(r.WaitOpen);
      }
    }
    EXPECT_GE(windows, 1);
  }
}

TEST_F(DialogFrontTest, InformaAbortWithoutTheConditionDoesNothingAtAll) {
  FakeControl edit;
  ShowWaitWindow(u"Aguarde...", u"", 0, true, false, false);
  FDialogs.Records.clear();
  EXPECT_NO_THROW(TmDlg::InformaAbort(false, u"a", &edit));
  EXPECT_NO_THROW(TmDlg::InformaAbort(false, u"t", u"a", u"", &edit));
  EXPECT_TRUE(TdbxAguardeForm::Existe());
  EXPECT_TRUE(FDialogs.Records.empty());
  EXPECT_FALSE(edit.HasFocus);
}

TEST_F(DialogFrontTest, HandledMessagesShowAsInformation) {
  TmDlg::Erro(u"", u"Falhou", u"d", 0, u"ERROR: [#MSG]Cliente bloqueado SQL: select 1");
  const auto windows = FDialogs.Of(Event::MessageWindow);
  ASSERT_EQ(windows.size(), 1u);
  EXPECT_EQ(windows[0]->Kind, DialogKind::Information);
  EXPECT_EQ(windows[0]->Headline, u"Informação");
  EXPECT_EQ(windows[0]->Text, u"Cliente bloqueado ");

  const struct {
    const char16_t* In;
    bool Marked;
    const char16_t* Out;
  } cases[] = {
      {u"ERROR: [#MSG]Sem saldo SQL: x", true, u"Sem saldo "},
      {u"sem marca", false, u"sem marca"},
      {u"[#MSG]a[#MSG]b", true, u"a[#MSG]b"},
      {u"SQL: antes [#MSG]depois", true, u"depois"},
      {u"[#MSG]", true, u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TmDlg::MsgTratada(c.In), c.Marked) << std::u16string(c.In).size();
    EXPECT_EQ(TmDlg::GetMsgTratada(c.In), c.Out);
  }
  // A marker with nothing after it is no message: the error box shows.
  FDialogs.Records.clear();
  TmDlg::Erro(u"", u"Falhou", u"", 0, u"[#MSG]SQL: x");
  ASSERT_EQ(FDialogs.Of(Event::MessageWindow).size(), 1u);
  EXPECT_EQ(FDialogs.Of(Event::MessageWindow)[0]->Kind, DialogKind::Error);
}

TEST_F(DialogFrontTest, ConfirmationsAnswerFromTheScriptOrTheFocusedButton) {
  EXPECT_TRUE(TmDlg::Confirma(u"Gravar?"));          // Sim has the focus
  EXPECT_FALSE(TmDlg::Confirma(u"Excluir?", true));  // Não has it
  FDialogs.Script = {0, 1};
  EXPECT_FALSE(TmDlg::Confirma(u"Gravar?"));
  EXPECT_TRUE(TmDlg::Confirma(u"Excluir?", true));
  EXPECT_EQ(LastWindow().Buttons, (std::vector<std::u16string>{u"&Sim", u"&Não"}));
  EXPECT_TRUE(TmDlg::ConfirmaOkTimer(u"T", u"x", 5));  // the countdown's end is OK
  EXPECT_EQ(LastWindow().Buttons, (std::vector<std::u16string>{u"&OK", u"Cancela&r"}));
}

TEST_F(DialogFrontTest, AbortHelpersFocusTheControlAndAbortSilently) {
  FakeControl panel(0);
  panel.FKind = platform::ControlKind::Panel;
  FakeControl first(1, &panel), second(2, &panel);
  first.On = false;  // the first in tab order cannot take it: the next one does

  FDialogs.Script = {0};
  EXPECT_THROW(TmDlg::ConfirmaExit(u"Sair sem gravar?", false, &panel), EAbort);
  EXPECT_FALSE(first.HasFocus);
  EXPECT_TRUE(second.HasFocus);
  // The question sound comes before the question.
  const auto sounds = FDialogs.Of(Event::Sound);
  ASSERT_FALSE(sounds.empty());
  EXPECT_EQ(sounds[0]->Kind, DialogKind::Confirmation);

  FDialogs.Script = {1};
  EXPECT_NO_THROW(TmDlg::ConfirmaExit(u"T", u"x", u"", false, nullptr));
  FDialogs.Script = {0};
  EXPECT_THROW(TmDlg::ConfirmaExitMono(u"T", u"x", u"", false, nullptr), EAbort);
  EXPECT_TRUE(LastWindow().Monospaced);

  bool ran = false;
  EXPECT_THROW(TmDlg::InformaAbort(true, u"Informe o CPF", &first, false, [&] { ran = true; }), EAbort);
  EXPECT_TRUE(ran);
  EXPECT_EQ(LastWindow().Kind, DialogKind::Warning);
  EXPECT_EQ(LastWindow().Text, u"Informe o CPF");
}

TEST_F(DialogFrontTest, FocusRoutines) {
  FakeControl form(0), panel(0, &form), a(2, &panel), b(1, &panel);
  panel.FKind = platform::ControlKind::Panel;
  EXPECT_TRUE(TmRot::CanFocus(&a));
  form.Shown = false;
  EXPECT_FALSE(TmRot::CanFocus(&a));  // a hidden parent hides it
  EXPECT_FALSE(TmRot::SetFocus(&panel));
  form.Shown = true;
  EXPECT_TRUE(TmRot::SetFocus(&panel));
  EXPECT_TRUE(b.HasFocus);  // tab order 1 before 2
  EXPECT_FALSE(a.HasFocus);
  std::vector<TWinControl*> list;
  EXPECT_TRUE(TmRot::GetListaOrdenadaWinControl(&panel, list));
  EXPECT_EQ(list, (std::vector<TWinControl*>{&b, &a}));
  EXPECT_FALSE(TmRot::GetListaOrdenadaWinControl(&a, list));
  EXPECT_TRUE(list.empty());
  EXPECT_FALSE(TmRot::SetFocus(nullptr));
  EXPECT_FALSE(TmRot::CanFocus(nullptr));
}

TEST_F(DialogFrontTest, ShowPlacesButtonsByPosition) {
  FDialogs.Script = {3};
  EXPECT_EQ(TmDlg::Show({u"A", u"", u"C"}, u"Escolha", 1, u"Opções", mtWarning, 10, 20), 3);
  const auto& w = LastWindow();
  EXPECT_EQ(w.Buttons, (std::vector<std::u16string>{u"A", u"C"}));
  EXPECT_EQ(w.Caption, u"Opções");
  EXPECT_EQ(w.Kind, DialogKind::Warning);
  FDialogs.Script = {0};  // the close box
  EXPECT_EQ(TmDlg::Show({u"A", u"", u"C"}, u"Escolha", 1, u"Opções", mtWarning), 0);
  // The default button answers when nobody does.
  EXPECT_EQ(TmDlg::Show({u"1", u"2", u"3", u"4", u"5"}, u"x", 5, u"t", mtInformation), 5);
  EXPECT_EQ(TmDlg::Show({u"1", u"2", u"3"}, u"x", 9, u"t", mtInformation), 1);
  // Captions are code-page text of at most 255 characters.
  TmDlg::Show({u"€ ok \u4E2D", std::u16string(300, u'x')}, u"x", 1, u"t", mtInformation);
  EXPECT_EQ(LastWindow().Buttons[0], u"€ ok ?");
  EXPECT_EQ(LastWindow().Buttons[1].size(), 255u);
}

TEST_F(DialogFrontTest, SevenButtonsAreRefused) {
  EXPECT_EQ(TmDlg::Show({u"1", u"2", u"3", u"4", u"5", u"6", u"7"}, u"x", 1, u"t", mtInformation), 0);
  EXPECT_EQ(FDialogs.Of(Event::StandardDialog).size(), 0u);
  ASSERT_EQ(FDialogs.Of(Event::MessageWindow).size(), 1u);
  EXPECT_EQ(FDialogs.Of(Event::MessageWindow)[0]->Text, u"Máximo 6 botões!");
  EXPECT_EQ(FDialogs.Of(Event::MessageWindow)[0]->Kind, DialogKind::Error);
  EXPECT_EQ(TmDlg::MensagemEventos({u"1", u"2", u"3", u"4", u"5", u"6", u"7"}, {}, {}, u"t", u"x"), 0);
  EXPECT_EQ(FDialogs.Of(Event::MessageWindow).size(), 2u);
}

TEST_F(DialogFrontTest, EventButtonsThatDoNotCloseRunTheirHandlerAndStay) {
  std::vector<int> clicked;
  const TBotaoEvent log = [&](int sender) { clicked.push_back(sender); };
  FDialogs.Script = {1, 1, 2};
  EXPECT_EQ(TmDlg::MensagemEventos({u"Imprimir", u"Fechar"}, {log, log}, {false, true}, u"Venda", u"Pronto"), 2);
  EXPECT_EQ(clicked, (std::vector<int>{1, 1, 2}));
  EXPECT_EQ(LastWindow().Kind, DialogKind::Information);
  // Positions missing from the arrays have no handler and close.
  clicked.clear();
  FDialogs.Script = {3};
  EXPECT_EQ(TmDlg::MensagemEventos({u"A", u"B", u"C"}, {log}, {false}, u"t", u"x"), 3);
  EXPECT_TRUE(clicked.empty());
}

TEST_F(DialogFrontTest, UnattendedConfirmationBeepsOnEnterAndNeedsAChoice) {
  // Nobody answers: Enter lands on the invisible button, which beeps and does not close.
  EXPECT_FALSE(TmDlg::ConfirmaUsuarioDesatento(u"Cancelar a venda?"));
  ASSERT_FALSE(FTones.Events().empty());
  EXPECT_EQ(FTones.Events()[0].Frequency, 2000u);
  const auto& w = LastWindow();
  EXPECT_EQ(w.Caption, u"Confirmação");
  EXPECT_EQ(w.Buttons, (std::vector<std::u16string>{u"&Sim", u"&Não", u"OK"}));
  FDialogs.Script = {1, 1, 6};  // Enter twice, then Sim
  EXPECT_TRUE(TmDlg::ConfirmaUsuarioDesatento(u"Cancelar a venda?"));
  FDialogs.Script = {7};
  EXPECT_FALSE(TmDlg::ConfirmaUsuarioDesatento(u"Cancelar a venda?"));
}

TEST_F(DialogFrontTest, StandardDialogPresets) {
  TmDlg::ConfirmaTimer(u"Imprimindo", 5);
  EXPECT_EQ(LastWindow().Caption, u"Confirmação");
  EXPECT_EQ(LastWindow().Buttons, (std::vector<std::u16string>{u"&Ok [5]"}));
  EXPECT_EQ(LastWindow().Countdown, 1);
  TmDlg::ShowMono(u"Total   10,00\nItens 2", u"Cupom", mtCustom);
  EXPECT_EQ(LastWindow().Text, u"Total\u00A0\u00A0\u00A010,00\nItens\u00A02");
  EXPECT_TRUE(LastWindow().Monospaced);
  EXPECT_EQ(LastWindow().Caption, u"Cupom");
}

TEST_F(DialogFrontTest, BalloonNeedsAControlWithAWindow) {
  FakeControl edit, unborn;
  unborn.Window = false;
  TmDlg::setBalloon(nullptr, u"x", u"y", dlgError);
  TmDlg::setBalloon(&unborn, u"x", u"y", dlgError);
  EXPECT_TRUE(unborn.Balloon.empty());
  TmDlg::setBalloon(&edit, u"Valor inválido", std::u16string(300, u't'), dlgWarning);
  EXPECT_EQ(edit.Balloon, std::u16string(255, u't') + u"|Valor inválido|2");
  TmDlg::MensagemPostgres();
  EXPECT_TRUE(FDialogs.Records.empty());
}

TEST_F(DialogFrontTest, WaitWindowOpensOnceAndUpdates) {
  ShowWaitWindow(u"Aguarde...", u"Baixando", 100, true, true, false);
  ShowWaitWindow(u"", u"Gravando", 0, true, false, false);
  EXPECT_TRUE(TdbxAguardeForm::Existe());
  EXPECT_EQ(FDialogs.Wait.Info, u"Aguarde...");  // an empty text leaves the line
  EXPECT_EQ(FDialogs.Wait.Main, u"Gravando");
  EXPECT_TRUE(FDialogs.Wait.BarShown);  // the bar stays, the time line goes
  EXPECT_FALSE(FDialogs.Wait.TimeShown);
  EXPECT_FALSE(FDialogs.Wait.AllowCancel);
  EXPECT_TRUE(FDialogs.Wait.AllowClose);  // fixed when it opened
  EXPECT_EQ(FDialogs.AttentionState, Attention::Indeterminate);
  CloseWaitWindow();
  EXPECT_FALSE(TdbxAguardeForm::Existe());
  EXPECT_EQ(FDialogs.AttentionState, Attention::None);

  bool handled = false;
  ShowWaitWindow(u"Aguarde...", u"", 10, true, true, false);
  TdbxAguardeForm::SetOnCancelClick([&] { handled = TdbxAguardeForm::Cancelou(); });
  TdbxAguardeForm::SetPosicao(4);
  EXPECT_EQ(TdbxAguardeForm::Posicao(), 4);
  FDialogs.PressWaitCancel();
  EXPECT_TRUE(handled);
  EXPECT_EQ(FDialogs.Wait.Info, u"CANCELANDO OPERAÇÃO...");
  EXPECT_TRUE(TdbxAguardeForm::Existe());  // until the working code closes it
  CloseWaitWindow();
  EXPECT_FALSE(TdbxAguardeForm::Cancelou());
}

}  // namespace
}  // namespace zelmor
