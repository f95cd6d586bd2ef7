#include "adapters/qt/dialogs_qt.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <vector>

#include "adapters/qt/event_pump_qt.h"
#include "adapters/qt/qstring.h"
#include "adapters/qt/text_metrics_qt.h"
#include "core/errors.h"
#include "core/text.h"
#include "dialogs/dbxAguardeUnit.h"
#include "dialogs/mMensagem.h"
#include "testing/runtime_doubles.h"

namespace zelmor::adapters {
namespace {

// Drives the modal window that a call opens: each step runs on the window then shown,
// `delay` ms after the previous step (the first after the window appears). Polls every
// 20 ms; whatever still stands after 20 s is closed, so no test can hang.
class Driver : public QObject {
 public:
  using Step = std::function<void(QWidget*)>;
  void Add(int delayMs, Step step) { FSteps.push_back({delayMs, std::move(step)}); }

  Driver() {
    FClock.start();
    connect(&FTimer, &QTimer::timeout, this, [this] { Poll(); });
    FTimer.start(20);
  }
  std::size_t Done() const { return FNext; }

 private:
  void Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (FClock.elapsed() > 20000) {
      if (modal) modal->close();
      return;
    }
    if (!modal || FNext >= FSteps.size()) {
      FSince.invalidate();
      return;
    }
    if (!FSince.isValid()) FSince.start();
    if (FSince.elapsed() < FSteps[FNext].first) return;
    FSince.restart();
    FSteps[FNext++].second(modal);
  }

  std::vector<std::pair<int, Step>> FSteps;
  std::size_t FNext = 0;
  QTimer FTimer;
  QElapsedTimer FClock, FSince;
};

// Takes the countdowns of the dialogs shown while it lives off the real clock, so the
// test sends each second itself. As a dialog is shown, before its countdown starts, the
// period of its timer is noted and the timer is set far beyond any test's length.
class HeldCountdown : public QObject {
 public:
  HeldCountdown() { qApp->installEventFilter(this); }
  ~HeldCountdown() override { qApp->removeEventFilter(this); }
  // The period the dialog's countdown timer had (0 before a dialog with one was shown).
  int Period() const { return FPeriod; }

  // One period of the countdown in the window `w`, delivered as the event loop
  // delivers it: only a running timer ticks.
  static void Tick(QWidget* w) {
    QTimer* timer = TimerOf(w);
    if (!timer || !timer->isActive()) return;
    QTimerEvent event(timer->timerId());
    QCoreApplication::sendEvent(timer, &event);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && qobject_cast<QDialog*>(watched))
      if (QTimer* timer = TimerOf(watched)) {
        FPeriod = timer->interval();
        timer->setInterval(24 * 60 * 60 * 1000);
      }
    return false;
  }

 private:
  static QTimer* TimerOf(QObject* w) { return w->findChild<QTimer*>(QString(), Qt::FindDirectChildrenOnly); }
  int FPeriod = 0;
};

QPushButton* Button(QWidget* w, const char* name) { return w->findChild<QPushButton*>(QString::fromLatin1(name)); }

void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeModalWidget();
  QTest::keyClick(target, static_cast<Qt::Key>(key), mods);
}

class QtDialogsTest : public ::testing::Test {
 protected:
  QtDialogs FDialogs;
  platform::Service<platform::Dialogs>::ScopedOverride FIn{&FDialogs};
  platform::Service<platform::BusyCursor>::ScopedOverride FCursor{&FDialogs};
  QtEventPump FPump;
  platform::Service<platform::EventPump>::ScopedOverride FPumpIn{&FPump};
  testing::RecordingToneOutput FTones;
};

TEST_F(QtDialogsTest, ConfirmationAnsweredWithEnterOnTheFocusedButton) {
  struct Case {
    bool FocoNao;
    std::vector<int> Keys;
    bool Result;
  };
  const Case cases[] = {
      {false, {Qt::Key_Return}, true},
      {true, {Qt::Key_Return}, false},
      {false, {Qt::Key_Tab, Qt::Key_Return}, false},
      {false, {Qt::Key_Escape}, false},
  };
  for (const Case& c : cases) {
    Driver d;
    QStringList captions;
    d.Add(0, [&](QWidget* w) { captions << Button(w, "OkBtn")->text() << Button(w, "CancelarBtn")->text(); });
    for (int k : c.Keys) d.Add(0, [k](QWidget*) { Key(k); });
    EXPECT_EQ(TmDlg::Confirma(u"Gravar a venda?", c.FocoNao), c.Result);
    EXPECT_EQ(captions, (QStringList{QStringLiteral("&Sim"), QStringLiteral("&Não")}));
  }
}

TEST_F(QtDialogsTest, CountdownCaptionsAndTheWindowClosesItself) {
  HeldCountdown clock;
  Driver d;
  QStringList captions;
  bool pauseShown = false, cancelShown = true;
  for (int i = 0; i < 3; ++i)
    d.Add(0, [&](QWidget* w) {
      captions << Button(w, "OkBtn")->text();
      pauseShown = w->findChild<QToolButton*>(QStringLiteral("btPause"))->isVisible();
      cancelShown = Button(w, "CancelarBtn")->isVisible();
      HeldCountdown::Tick(w);
    });
  EXPECT_TRUE(TmDialogForm::Executar(u"Atenção", u"Sem papel", u"", mtWarning, false, 3));
  // Three seconds: three ticks of one second, and the third closed the window.
  EXPECT_EQ(clock.Period(), 1000);
  EXPECT_EQ(d.Done(), 3u);
  EXPECT_EQ(captions, (QStringList{QStringLiteral("&OK[3]"), QStringLiteral("&OK[2]"), QStringLiteral("&OK[1]")}));
  EXPECT_TRUE(pauseShown);
  EXPECT_FALSE(cancelShown);
}

TEST_F(QtDialogsTest, PushPinAndDetailsStopTheCountdown) {
  for (const char* stopper : {"btPause", "DetalhesBtn"}) {
    SCOPED_TRACE(stopper);
    HeldCountdown clock;
    Driver d;
    QString after;
    d.Add(0, [&](QWidget* w) {
      if (auto* pin = w->findChild<QToolButton*>(QString::fromLatin1(stopper)))
        pin->click();
      else
        Button(w, stopper)->click();
      for (int second = 0; second < 3; ++second) HeldCountdown::Tick(w);
    });
    d.Add(0, [&](QWidget* w) {
      after = Button(w, "OkBtn")->text();
      Button(w, "CancelarBtn")->click();  // hidden for a confirmation with countdown? no: shown
    });
    const bool r = TmDialogForm::Executar(u"T", u"x", u"detalhe", mtConfirmation, false, 2);
    EXPECT_EQ(clock.Period(), 1000);
    EXPECT_EQ(after, QStringLiteral("OK"));  // still open after the 2 seconds, no accelerator
    EXPECT_FALSE(r);
  }
}

TEST_F(QtDialogsTest, ConfirmOkTimerEndsWithTrue) {
  HeldCountdown clock;
  Driver d;
  QString cancel;
  d.Add(0, [&](QWidget* w) {
    cancel = Button(w, "CancelarBtn")->text();
    HeldCountdown::Tick(w);
  });
  EXPECT_TRUE(TmDlg::ConfirmaOkTimer(u"Imprimir", u"Imprimir o cupom?", 1));
  EXPECT_EQ(clock.Period(), 1000);
  EXPECT_EQ(cancel, QStringLiteral("Cancela&r"));
}

TEST_F(QtDialogsTest, DetailsFoldOutAndAreSavedInUtf8) {
  QTemporaryDir dir;
  Driver d;
  bool buttonShown = false;
  QString memo;
  QSize folded, unfolded, folded2;
  d.Add(0, [&](QWidget* w) {
    auto* form = static_cast<MessageWindowQt*>(w);
    buttonShown = Button(w, "DetalhesBtn")->isVisible();
    memo = w->findChild<QPlainTextEdit*>(QStringLiteral("DetalhesMemo"))->toPlainText();
    folded = w->size();
    Button(w, "DetalhesBtn")->click();
    unfolded = w->size();
    form->AskFileName = [&] { return dir.filePath(QStringLiteral("erro.txt")); };
    Button(w, "SalvarBtn")->click();
    Button(w, "DetalhesBtn")->click();
    folded2 = w->size();
    Key(Qt::Key_Escape);
  });
  TmDlg::Erro(u"", u"Falhou", u"ação   negada¿código ✓", 0, u"timeout");
  EXPECT_TRUE(buttonShown);
  EXPECT_EQ(memo, QStringLiteral("ação negada\ncódigo ✓ Msg.Original:timeout"));
  EXPECT_EQ(unfolded, folded + QSize(8, 165));
  EXPECT_EQ(folded2, folded);
  QFile f(dir.filePath(QStringLiteral("erro.txt")));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QStringLiteral("ação negada\r\ncódigo ✓ Msg.Original:timeout\r\n").toUtf8());

  Driver blank;
  bool shown = true;
  blank.Add(0, [&](QWidget* w) {
    shown = Button(w, "DetalhesBtn")->isVisible();
    Key(Qt::Key_Return);
  });
  TmDialogForm::Executar(u"T", u"x", u"   ", mtInformation);
  EXPECT_FALSE(shown);
}

TEST_F(QtDialogsTest, SizeMinimumAndLongBodiesScroll) {
  Driver d;
  QSize small;
  d.Add(0, [&](QWidget* w) {
    small = w->size();
    Key(Qt::Key_Return);
  });
  TmDlg::Informa(u"ok");
  EXPECT_EQ(small, QSize(370, 212));

  // Two hundred lines: the window stays on the screen and the body scrolls.
  std::u16string body;
  for (int i = 0; i < 200; ++i) body += u"linha " + IntToStr(i) + u"\n";
  Driver d2;
  QSize big;
  int scroll = 0;
  QString laidOut;
  d2.Add(0, [&](QWidget* w) {
    big = w->size();
    scroll = w->findChild<QScrollArea*>(QStringLiteral("BodyArea"))->verticalScrollBar()->maximum();
    Key(Qt::Key_Return);
  });
  TmDlg::Alerta(body);
  const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
  EXPECT_LE(big.height(), screen.height());
  EXPECT_GT(scroll, 0);

  // A long paragraph is broken where it was measured: the label holds the lines.
  std::u16string para;
  for (int i = 0; i < 80; ++i) para += u"palavra ";
  Driver d3;
  int labelWidth = 0, windowWidth = 0;
  d3.Add(0, [&](QWidget* w) {
    auto* label = w->findChild<QLabel*>(QStringLiteral("BodyLabel"));
    laidOut = label->text();
    labelWidth = label->width();
    windowWidth = w->width();
    Key(Qt::Key_Return);
  });
  TmDlg::Informa(para);
  EXPECT_GT(laidOut.count(u'\n'), 1);
  EXPECT_LE(labelWidth + 59, windowWidth);
}

TEST_F(QtDialogsTest, CtrlCCopiesHeadlineAndBody) {
  Driver d;
  d.Add(0, [](QWidget*) {
    Key(Qt::Key_C, Qt::ControlModifier);
    Key(Qt::Key_Return);
  });
  QGuiApplication::clipboard()->clear();
  TmDialogForm::Executar(u"Falha", u"linha 1\nlinha 2", u"", mtError);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("Falha\r\n\r\nlinha 1\r\nlinha 2"));
}

TEST_F(QtDialogsTest, ShowButtonsByPositionFocusAndClose) {
  Driver d;
  QStringList captions;
  d.Add(0, [&](QWidget* w) {
    for (QPushButton* b : static_cast<StandardDialogQt*>(w)->Buttons()) captions << b->text();
    Button(w, "Button3")->click();
  });
  EXPECT_EQ(TmDlg::Show({u"A", u"", u"C"}, u"Escolha", 1, u"Opções", mtInformation), 3);
  EXPECT_EQ(captions, (QStringList{QStringLiteral("A"), QStringLiteral("C")}));

  Driver closeBox;
  closeBox.Add(0, [](QWidget* w) { w->close(); });
  EXPECT_EQ(TmDlg::Show({u"A", u"", u"C"}, u"Escolha", 1, u"Opções", mtInformation), 0);

  Driver focus;
  focus.Add(0, [](QWidget*) { Key(Qt::Key_Space); });
  EXPECT_EQ(TmDlg::Show({u"1", u"2", u"3", u"4", u"5"}, u"x", 5, u"t", mtWarning), 5);
}

TEST_F(QtDialogsTest, UnattendedConfirmationOnlyBeepsOnEnter) {
  Driver d;
  bool stillOpen = false;
  d.Add(0, [](QWidget*) { Key(Qt::Key_Return); });
  d.Add(50, [](QWidget*) { Key(Qt::Key_Space); });
  d.Add(50, [](QWidget*) { Key(Qt::Key_Return); });
  d.Add(200, [&](QWidget* w) {
    stillOpen = w->isVisible();
    Button(w, "Button7")->click();  // Não
  });
  EXPECT_FALSE(TmDlg::ConfirmaUsuarioDesatento(u"Cancelar a venda?"));
  EXPECT_TRUE(stillOpen);
  int beeps = 0;
  for (const auto& e : FTones.Events())
    if (e.What == testing::RecordingToneOutput::Kind::Start && e.Frequency == 2000) ++beeps;
  EXPECT_EQ(beeps, 3);

  Driver letter;
  letter.Add(0, [](QWidget*) { Key(Qt::Key_S); });
  EXPECT_TRUE(TmDlg::ConfirmaUsuarioDesatento(u"Cancelar a venda?"));
}

TEST_F(QtDialogsTest, EventButtonsThatStayOpen) {
  int printed = 0;
  const TBotaoEvent print = [&](int) { ++printed; };
  Driver d;
  bool open = false;
  d.Add(0, [](QWidget* w) { Button(w, "Button1")->click(); });
  d.Add(0, [](QWidget* w) { Button(w, "Button1")->click(); });
  d.Add(0, [&](QWidget* w) {
    open = w->isVisible();
    Button(w, "Button2")->click();
  });
  EXPECT_EQ(TmDlg::MensagemEventos({u"Imprimir segunda via", u"Fechar"}, {print}, {false, true}, u"Venda", u"Pronto"),
            2);
  EXPECT_EQ(printed, 2);
  EXPECT_TRUE(open);
}

TEST_F(QtDialogsTest, StandardCountdownClosesAtZero) {
  HeldCountdown clock;
  Driver d;
  QStringList captions;
  for (int i = 0; i < 2; ++i)
    d.Add(0, [&](QWidget* w) {
      captions << Button(w, "Button1")->text();
      HeldCountdown::Tick(w);
    });
  TmDlg::ConfirmaTimer(u"Imprimindo...", 2);
  // Two ticks of one second, and the second closed the window.
  EXPECT_EQ(clock.Period(), 1000);
  EXPECT_EQ(d.Done(), 2u);
  EXPECT_EQ(captions, (QStringList{QStringLiteral("&Ok [2]"), QStringLiteral("&Ok [1]")}));
}

WaitWindowQt* OnlyWaitWindow() {
  WaitWindowQt* found = nullptr;
  int count = 0;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* ww = qobject_cast<WaitWindowQt*>(w)) {
      found = ww;
      ++count;
    }
  return count == 1 ? found : nullptr;
}

TEST_F(QtDialogsTest, WaitWindowIsOneWindowAndCannotBeClosedUnlessAllowed) {
  ShowWaitWindow(u"Aguarde...", u"Baixando", 100, true, true, false);
  ShowWaitWindow(u"", u"Gravando", 0, true, false, false);
  WaitWindowQt* w = OnlyWaitWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->findChild<QLabel*>(QStringLiteral("PrincLabel"))->text(), QStringLiteral("Gravando"));
  EXPECT_EQ(w->findChild<QLabel*>(QStringLiteral("InfoLabel"))->text(), QStringLiteral("Aguarde..."));
  EXPECT_TRUE(w->findChild<QProgressBar*>(QStringLiteral("pgbSituacao"))->isVisible());
  EXPECT_FALSE(w->findChild<QLabel*>(QStringLiteral("lblTempo"))->isVisible());
  EXPECT_FALSE(Button(w, "CancelarBtn")->isEnabled());
  EXPECT_TRUE(w->Closable());  // cancelling was allowed when it opened
  CloseWaitWindow();
  EXPECT_EQ(OnlyWaitWindow(), nullptr);

  ShowWaitWindow(u"Aguarde...", u"Atualizando arquivos", 0, true, false, false);
  w = OnlyWaitWindow();
  ASSERT_NE(w, nullptr);
  w->close();  // what Alt+F4 asks
  QApplication::processEvents();
  EXPECT_TRUE(w->isVisible());
  EXPECT_FALSE(TdbxAguardeForm::Cancelou());

  // A message closes it first.
  Driver d;
  bool waitOpenDuringMessage = true;
  d.Add(0, [&](QWidget*) {
    waitOpenDuringMessage = OnlyWaitWindow() != nullptr;
    Key(Qt::Key_Return);
  });
  TmDlg::Informa(u"Pronto");
  EXPECT_FALSE(waitOpenDuringMessage);
  EXPECT_FALSE(TdbxAguardeForm::Existe());
}

TEST_F(QtDialogsTest, WaitWindowCancelAndTimeLine) {
  ShowWaitWindow(u"Aguarde...", u"Baixando", 100, true, true, false);
  WaitWindowQt* w = OnlyWaitWindow();
  ASSERT_NE(w, nullptr);
  bool handled = false;
  TdbxAguardeForm::SetOnCancelClick([&] { handled = TdbxAguardeForm::Cancelou(); });
  TdbxAguardeForm::SetPosicao(0);
  TdbxAguardeForm::ppCalculaTempo();
  EXPECT_EQ(w->findChild<QLabel*>(QStringLiteral("lblTempo"))->text(), QStringLiteral("0/100"));
  TmRot::Delay(120);
  TdbxAguardeForm::SetPosicao(25);
  TdbxAguardeForm::ppCalculaTempo();
  EXPECT_TRUE(w->findChild<QLabel*>(QStringLiteral("lblTempo"))
                  ->text()
                  .startsWith(QStringLiteral("25/100 - Percorrido 00:00:00 - Restante 00:00:0")));
  QTest::mouseClick(Button(w, "CancelarBtn"), Qt::LeftButton);
  EXPECT_TRUE(handled);
  auto* info = w->findChild<QLabel*>(QStringLiteral("InfoLabel"));
  EXPECT_EQ(info->text(), QStringLiteral("CANCELANDO OPERAÇÃO..."));
  EXPECT_EQ(info->palette().color(QPalette::WindowText), QColor(Qt::red));
  EXPECT_TRUE(TdbxAguardeForm::Existe());
  // Allowed to close: the close box counts as cancelling.
  CloseWaitWindow();
  ShowWaitWindow(u"Aguarde...", u"", 0, true, false, true);
  w = OnlyWaitWindow();
  ASSERT_NE(w, nullptr);
  w->close();
  EXPECT_FALSE(w->isVisible());
  EXPECT_TRUE(TdbxAguardeForm::Cancelou());
  CloseWaitWindow();
}

TEST_F(QtDialogsTest, FocusAndBalloonOnWidgets) {
  QWidget form;
  auto* panel = new QWidget(&form);
  auto* first = new QPushButton(QStringLiteral("1"), panel);
  auto* second = new QPushButton(QStringLiteral("2"), panel);
  QWidget::setTabOrder(first, second);
  first->setEnabled(false);
  form.show();
  QApplication::setActiveWindow(&form);
  EXPECT_TRUE(TmRot::SetFocus(QtControl::Of(panel)));
  QApplication::processEvents();
  EXPECT_TRUE(second->hasFocus());
  EXPECT_FALSE(TmRot::CanFocus(QtControl::Of(first)));
  EXPECT_EQ(QtControl::Of(second), QtControl::Of(second));  // one wrapper per widget
  TmDlg::setBalloon(QtControl::Of(second), u"Valor <inválido>", u"CPF", dlgWarning);
  EXPECT_EQ(second->toolTip(), QStringLiteral("<b>CPF</b><br>Valor &lt;inválido&gt;"));
}

// Each dialog as it looks, rendered offscreen into ZELMOR_SCREENSHOTS (or the build's
// folder). The check: the headline is drawn in its type's colour.
TEST_F(QtDialogsTest, Screenshots) {
  const QByteArray env = qgetenv("ZELMOR_SCREENSHOTS");
  const QString dir = env.isEmpty() ? QStringLiteral(ZELMOR_SCREENSHOT_DIR) : QString::fromUtf8(env);
  ASSERT_TRUE(QDir().mkpath(dir));
  const auto shoot = [&](const char* name, QColor expect = QColor()) {
    return [=](QWidget* w) {
      const QImage img = w->grab().toImage();
      img.save(dir + QStringLiteral("/") + QString::fromLatin1(name) + QStringLiteral(".png"));
      if (expect.isValid()) {
        int hits = 0;
        for (int y = 20; y < 45 && y < img.height(); ++y)
          for (int x = 59; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            if (std::abs(c.red() - expect.red()) < 40 && std::abs(c.green() - expect.green()) < 40 &&
                std::abs(c.blue() - expect.blue()) < 40)
              ++hits;
          }
        EXPECT_GT(hits, 5) << name;
      }
      w->close();
    };
  };
  struct Shot {
    const char* Name;
    QColor Colour;
    std::function<void()> Call;
  };
  const Shot shots[] = {
      {"informa", QColor(0, 0, 255), [] { TmDlg::Informa(u"Caixa aberto às 08:00 por Maria."); }},
      {"alerta", QColor(240, 78, 0), [] { TmDlg::Alerta(u"Impressora sem papel.\nTroque a bobina e tente de novo."); }},
      {"erro", QColor(255, 0, 0),
       [] { TmDlg::Erro(u"", u"Não foi possível gravar a venda.", u"tabela vendas", 0, u"timeout"); }},
      {"confirma", QColor(128, 0, 128), [] { TmDlg::Confirma(u"Deseja cancelar o cupom 000123?"); }},
      {"confirma_ok_timer", QColor(128, 0, 128),
       [] { TmDlg::ConfirmaOkTimer(u"Imprimir", u"Imprimir a segunda via?", 9); }},
      {"custom", QColor(), [] { TmDialogForm::Executar(u"Mensagem", u"Sem ícone e sem som.", u"", mtCustom); }},
      {"executar_opcao", QColor(0, 0, 255),
       [] { TmDialogForm::ExecutarOpcao(u"Fechamento", u"Fechar o caixa agora?", u"", u"Fechar caixa", u"Depois"); }},
      {"show", QColor(),
       [] {
         TmDlg::Show({u"Dinheiro", u"Cartão", u"", u"Pix"}, u"Forma de pagamento:", 1, u"Pagamento", mtConfirmation);
       }},
      {"usuario_desatento", QColor(), [] { TmDlg::ConfirmaUsuarioDesatento(u"Excluir todos os itens da venda?"); }},
      {"show_mono", QColor(),
       [] { TmDlg::ShowMono(u"Item   Qtd   Valor\nArroz    2   10,00\nFeijão   1    8,50", u"Cupom", mtInformation); }},
  };
  for (const Shot& s : shots) {
    Driver d;
    d.Add(100, shoot(s.Name, s.Colour));
    s.Call();
    EXPECT_EQ(d.Done(), 1u) << s.Name;
  }
  // The details unfolded.
  Driver d;
  d.Add(100, [](QWidget* w) { Button(w, "DetalhesBtn")->click(); });
  d.Add(100, shoot("erro_detalhes"));
  TmDlg::Erro(u"Falha na comunicação", u"O servidor não respondeu.", u"POST /vendas\nHTTP 504 Gateway Timeout", 0, u"");

  ShowWaitWindow(u"Baixando arquivos...", u"Atualizando o sistema", 100, true, true, false);
  TdbxAguardeForm::SetPosicao(40);
  TdbxAguardeForm::ppCalculaTempo();
  WaitWindowQt* w = OnlyWaitWindow();
  ASSERT_NE(w, nullptr);
  QApplication::processEvents();
  EXPECT_TRUE(w->grab().toImage().save(dir + QStringLiteral("/aguarde.png")));
  CloseWaitWindow();
}

TEST(QtFileFilter, WindowsPairsBecomeQtFilters) {
  struct Case {
    std::u16string_view filter;
    const char* qt;
  };
  for (const Case& c : {Case{u"XML|*.xml", "XML (*.xml)"},
                        Case{u"XML|*.xml|Todos os arquivos|*.*", "XML (*.xml);;Todos os arquivos (*)"},
                        Case{u"Imagens|*.png;*.jpg", "Imagens (*.png *.jpg)"}, Case{u"*.txt", "*.txt"},
                        Case{u"*.txt;*.csv", "*.txt *.csv"}, Case{u"Notas|*.xml|Sem padrão", "Notas (*.xml)"}})
    EXPECT_EQ(QtFileFilter(c.filter).toStdString(), c.qt) << U16ToUtf8(c.filter);
}

TEST_F(QtDialogsTest, OpenFileDialogStartsInTheFolderWithTheFileSelected) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QFile file(dir.filePath(QStringLiteral("nfe.xml")));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  QString title, folder;
  QStringList filters, selected;
  Driver accept;
  accept.Add(50, [&](QWidget* w) {
    auto* dialog = qobject_cast<QFileDialog*>(w);
    if (dialog == nullptr) return w->close(), void();
    title = dialog->windowTitle();
    folder = dialog->directory().absolutePath();
    filters = dialog->nameFilters();
    selected = dialog->selectedFiles();
    static_cast<QDialog*>(dialog)->accept();  // QFileDialog hides it
  });
  std::u16string chosen;
  EXPECT_TRUE(FDialogs.SelectFile(u"Abrir arquivo (XML|*.xml)", u"XML|*.xml|Todos|*.*", FromQString(dir.path()),
                                  u"nfe.xml", chosen));
  EXPECT_EQ(title, QStringLiteral("Abrir arquivo (XML|*.xml)"));
  EXPECT_EQ(folder, QDir(dir.path()).absolutePath());
  EXPECT_EQ(filters, (QStringList{QStringLiteral("XML (*.xml)"), QStringLiteral("Todos (*)")}));
  EXPECT_EQ(selected, QStringList{file.fileName()});
  EXPECT_EQ(chosen, FromQString(file.fileName()));

  Driver cancel;
  cancel.Add(50, [](QWidget* w) { w->close(); });
  chosen = u"antes";
  EXPECT_FALSE(FDialogs.SelectFile(u"Abrir", u"*.xml", FromQString(dir.path()), u"", chosen));
  EXPECT_EQ(chosen, u"antes");
}

}  // namespace
}  // namespace zelmor::adapters
