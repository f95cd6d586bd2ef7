// The focus, enabling, form-state and menu rules on real widgets (offscreen platform),
// and lines printed through QPrinter into a PDF whose pages are counted.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTextEdit>

#include "adapters/qt/controls_qt.h"
#include "adapters/qt/qstring.h"
#include "config/mIniReg.h"
#include "mRotinas.h"
#include "testing/file_tree.h"

namespace zelmor::adapters {
namespace {

using platform::ControlKind;

// frmCliente: a group box with name and city edits, a notes memo, a spin box, a button.
struct ClientForm {
  ClientForm() {
    form.setObjectName(QStringLiteral("frmCliente"));
    form.setWindowTitle(QStringLiteral("Clientes"));
    group->setObjectName(QStringLiteral("gbDados"));
    nome->setObjectName(QStringLiteral("edNome"));
    cidade->setObjectName(QStringLiteral("edCidade"));
    obs->setObjectName(QStringLiteral("mmObs"));
    notas->setObjectName(QStringLiteral("mmNotas"));
    quantidade->setObjectName(QStringLiteral("seQuantidade"));
    group->setGeometry(10, 20, 300, 200);
    nome->setGeometry(5, 30, 120, 24);
    QWidget::setTabOrder(nome, cidade);
    QWidget::setTabOrder(cidade, obs);
  }
  QWidget form;
  QGroupBox* group = new QGroupBox(QStringLiteral("Dados"), &form);
  QLineEdit* nome = new QLineEdit(group);
  QLineEdit* cidade = new QLineEdit(group);
  QTextEdit* obs = new QTextEdit(&form);
  QPlainTextEdit* notas = new QPlainTextEdit(&form);
  QSpinBox* quantidade = new QSpinBox(&form);
  QPushButton* ok = new QPushButton(QStringLiteral("&OK"), &form);
};

TEST(QtControlsTest, KindsOfWidgets) {
  ClientForm f;
  struct Case {
    QWidget* widget;
    ControlKind kind;
  };
  const Case cases[] = {
      {&f.form, ControlKind::Form},
      {f.group, ControlKind::Panel},
      {f.nome, ControlKind::Edit},
      {f.obs, ControlKind::Edit},
      {f.notas, ControlKind::Edit},
      {f.quantidade, ControlKind::Other},
      {f.ok, ControlKind::Other},
      {f.quantidade->findChild<QLineEdit*>(), ControlKind::Other},  // part of the spin box
  };
  for (const Case& c : cases) EXPECT_EQ(QtControl::Of(c.widget)->Kind(), c.kind) << c.widget->metaObject()->className();
}

TEST(QtControlsTest, FormStateRoundTripsThroughTheFile) {
  testing::FileTree t;
  const std::u16string ini = t.Path("estado.ini");
  {
    ClientForm f;
    f.nome->setText(QStringLiteral("José"));
    f.cidade->setText(QStringLiteral("Campinas"));
    f.obs->setPlainText(QStringLiteral("cliente antigo"));
    f.notas->setPlainText(QStringLiteral("paga em dia"));
    f.quantidade->setValue(7);
    TmRot::SalvarEstadoForm(QtControl::Of(&f.form), ini);
  }
  // The four edits are stored; the spin box and its own line edit are not.
  TStringList keys;
  TmINI::LerSecao(keys, u"frmCliente", ini);
  EXPECT_EQ(keys.Count(), 4);
  EXPECT_EQ(TmINI::Ler(u"frmCliente", u"qt_spinbox_lineedit", u"absent", ini), u"absent");
  ClientForm g;
  g.cidade->setText(QStringLiteral("before"));
  TmRot::CarregarEstadoForm(QtControl::Of(&g.form), ini);
  EXPECT_EQ(g.nome->text(), QStringLiteral("José"));
  EXPECT_EQ(g.cidade->text(), QStringLiteral("Campinas"));
  EXPECT_EQ(g.obs->toPlainText(), QStringLiteral("cliente antigo"));
  EXPECT_EQ(g.notas->toPlainText(), QStringLiteral("paga em dia"));
  EXPECT_EQ(g.quantidade->value(), 0);
}

TEST(QtControlsTest, FocusAndEnablingOnWidgets) {
  ClientForm f;
  f.form.show();
  QApplication::setActiveWindow(&f.form);
  f.nome->setEnabled(false);
  EXPECT_TRUE(TmRot::SetFocus(QtControl::Of(f.group)));  // the group box hands it on
  QApplication::processEvents();
  EXPECT_TRUE(f.cidade->hasFocus());
  EXPECT_TRUE(TmRot::Focused({QtControl::Of(f.nome), QtControl::Of(f.cidade)}));
  TWinControl *first = nullptr, *last = nullptr;
  ASSERT_TRUE(TmRot::GetFirstAndLastControl(QtControl::Of(f.group), first, last));
  EXPECT_EQ(first, QtControl::Of(f.nome));
  EXPECT_EQ(last, QtControl::Of(f.cidade));

  TmRot::HabilitaControles(QtControl::Of(&f.form), false);
  EXPECT_TRUE(f.group->isEnabled());  // a panel keeps its state
  EXPECT_FALSE(f.cidade->isEnabled() || f.ok->isEnabled() || f.obs->isEnabled());
  TmRot::HabilitaControles(QtControl::Of(&f.form), true);
  EXPECT_TRUE(f.nome->isEnabled() && f.cidade->isEnabled() && f.ok->isEnabled());
  TmRot::AlterarHabilitacaoFilhos(QtControl::Of(&f.form), false, false);
  EXPECT_FALSE(f.group->isEnabled());
  EXPECT_FALSE(TmRot::CanFocus(QtControl::Of(f.nome)));  // its group box is disabled
  EXPECT_TRUE(QtControl::Of(f.nome)->Enabled());         // but it was not touched itself

  EXPECT_EQ(TmRot::GetCaptionRecursivo(QtControl::Of(f.ok), false, u" / "), u"Clientes / &OK");
  EXPECT_EQ(TmRot::GetCaptionRecursivo(QtControl::Of(f.nome), true, u" / "), u"Dados");
}

TEST(QtControlsTest, PopupOpensBelowOrBesideTheControl) {
  ClientForm f;
  f.form.setGeometry(100, 100, 400, 300);
  f.form.show();
  QMenu menu;
  menu.addAction(QStringLiteral("Copiar"));
  QtPopupMenu popup(&menu);
  const QPoint corner = f.nome->mapToGlobal(QPoint(0, 0));
  TmRot::ShowPopMenu(QtControl::Of(f.nome), &popup, TPosPopup::ppAbaixo);
  ASSERT_TRUE(menu.isVisible());
  EXPECT_EQ(menu.pos(), corner + QPoint(0, f.nome->height()));
  menu.hide();
  TmRot::ShowPopMenu(QtControl::Of(f.nome), &popup, TPosPopup::ppDireita);
  EXPECT_EQ(menu.pos(), corner + QPoint(f.nome->width(), 0));
  menu.hide();
}

TEST(QtControlsTest, MenuRulesOnActions) {
  QMenuBar bar;
  QMenu* arquivo = bar.addMenu(QStringLiteral("&Arquivo"));
  QMenu* exportar = arquivo->addMenu(QStringLiteral("&Exportar"));
  QAction* pdf = exportar->addAction(QStringLiteral("P&DF"));
  QAction* sair = arquivo->addAction(QStringLiteral("&Sair"));
  QMenu context;
  QAction* copiar = context.addAction(QStringLiteral("&Copiar"));

  struct Case {
    QAction* action;
    std::u16string path, top;
  };
  const Case cases[] = {
      {pdf, u"Arquivo > Exportar > PDF", u"Arquivo"},
      {sair, u"Arquivo > Sair", u"Arquivo"},
      {arquivo->menuAction(), u"Arquivo", u"Arquivo"},  // a top-level item: its caption alone
      {copiar, u"Copiar", u"Copiar"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TmRot::CaminhoMenu(QtMenuItem::Of(c.action), u" > "), c.path);
    EXPECT_EQ(TmRot::CaminhoMenuPai(QtMenuItem::Of(c.action)), c.top);
  }
  EXPECT_EQ(TmRot::MenuPai(QtMenuItem::Of(pdf)), QtMenuItem::Of(arquivo->menuAction()));

  EXPECT_TRUE(TmRot::MenuEnabled(QtMenuItem::Of(pdf)));
  exportar->menuAction()->setEnabled(false);
  EXPECT_FALSE(TmRot::MenuEnabled(QtMenuItem::Of(pdf)));
  EXPECT_TRUE(TmRot::MenuEnabled(QtMenuItem::Of(sair)));
  arquivo->menuAction()->setVisible(false);
  EXPECT_FALSE(TmRot::MenuVisible(QtMenuItem::Of(sair)));
  EXPECT_TRUE(TmRot::MenuVisible(QtMenuItem::Of(copiar)));
}

TEST(QtControlsTest, FormsMadeOnceAndListedAsShown) {
  QtForms forms;
  platform::Service<platform::Forms>::ScopedOverride use(&forms);
  int made = 0;
  auto maker = [&made](bool dialog) {
    return [&made, dialog](platform::Control*) -> platform::Control* {
      ++made;
      QWidget* w = dialog ? new QDialog : new QWidget;
      w->setObjectName(QStringLiteral("frmCliente"));
      return QtControl::Of(w);
    };
  };
  const TFormClass widget{u"QWidget", maker(false)}, dialog{u"QDialog", maker(true)};
  TForm* a = TmRot::CreateForm(widget, nullptr);
  EXPECT_EQ(TmRot::CreateForm(widget, nullptr), a);
  EXPECT_EQ(made, 1);
  TForm* d = TmRot::CreateForm(dialog, nullptr);  // the class must match exactly
  EXPECT_NE(d, a);
  EXPECT_EQ(TmRot::CreateForm(dialog, nullptr), d);
  EXPECT_EQ(made, 2);
  EXPECT_EQ(forms.ApplicationForms(), (std::vector<platform::Control*>{a, d}));

  QWidget principal;
  principal.setObjectName(QStringLiteral("frmPrincipal"));
  principal.show();
  QWidget venda;
  venda.setObjectName(QStringLiteral("frmVenda"));
  venda.show();
  QApplication::setActiveWindow(&venda);
  QApplication::processEvents();
  const std::u16string atual = TmRot::GetFormAtual();
  // The active form is first on the screen's list, so it comes last.
  EXPECT_EQ(atual.substr(atual.size() - 8), u"frmVenda");
  EXPECT_NE(atual.find(u"frmPrincipal -> "), std::u16string::npos);
  EXPECT_EQ(atual.find(u"frmCliente"), std::u16string::npos);  // made, never shown
}

TEST(QtControlsTest, ForceForegroundWindowRestoresAndActivates) {
  QtForms forms;
  platform::Service<platform::Forms>::ScopedOverride use(&forms);
  QWidget caixa, venda;
  caixa.show();
  venda.show();
  QApplication::setActiveWindow(&venda);
  QApplication::processEvents();
  ASSERT_EQ(QApplication::activeWindow(), &venda);

  EXPECT_TRUE(TmRot::ForceForegroundWindow(QtControl::Of(&caixa)));
  EXPECT_EQ(QApplication::activeWindow(), &caixa);
  EXPECT_TRUE(TmRot::ForceForegroundWindow(QtControl::Of(&caixa)));  // already in front

  // A minimized form comes back; any control stands for its window.
  venda.showMinimized();
  QApplication::processEvents();
  QLineEdit* edit = new QLineEdit(&venda);
  EXPECT_TRUE(TmRot::ForceForegroundWindow(QtControl::Of(edit)));
  EXPECT_FALSE(venda.isMinimized());
  EXPECT_EQ(QApplication::activeWindow(), &venda);
  EXPECT_FALSE(TmRot::ForceForegroundWindow(nullptr));
}

// The pages of a PDF file, as its page objects.
int PdfPages(const QString& file) {
  QFile f(file);
  if (!f.open(QIODevice::ReadOnly)) return -1;
  const QString text = QString::fromLatin1(f.readAll());
  return static_cast<int>(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"))));
}

TEST(QtControlsTest, PrintStringsFillsAsManyPdfPagesAsTheLinesNeed) {
  testing::FileTree t;
  TFont font;
  font.Name = u"DejaVu Sans Mono";
  font.Size = 12;
  // The page's own measures, from a job that prints nothing.
  int lineHeight = 0, pageHeight = 0;
  {
    QtPrinter probe(ToQString(t.Path("probe.pdf")));
    probe.BeginDoc();
    probe.SetFont(font);
    lineHeight = probe.TextHeight(u"A");
    pageHeight = probe.PageHeight();
    probe.EndDoc();
  }
  ASSERT_GT(lineHeight, 0);
  const int perPage = (pageHeight - 10 - lineHeight) / (lineHeight + 5) + 1;
  ASSERT_GT(perPage, 10);
  struct Case {
    int lines, pages;
  };
  const Case cases[] = {{1, 1}, {perPage, 1}, {perPage + 1, 2}, {3 * perPage + 7, 4}};
  for (const Case& c : cases) {
    const QString pdf = ToQString(t.Path("linhas" + std::to_string(c.lines) + ".pdf"));
    QtPrinter printer(pdf);
    platform::Service<platform::Printer>::ScopedOverride use(&printer);
    TzelArrayString lines;
    for (int i = 0; i < c.lines; ++i) lines.push_back(u"Item " + std::u16string(1, u'A' + i % 26));
    TmRot::PrintStrings(lines, font);
    EXPECT_EQ(PdfPages(pdf), c.pages) << c.lines << " lines, " << perPage << " per page";
  }
}

}  // namespace
}  // namespace zelmor::adapters
