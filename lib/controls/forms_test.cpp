// Form state in a real configuration file, forms made once, the list of open forms
// and the display mode switch.
#include <gtest/gtest.h>

#include "config/mIniReg.h"
#include "controls/controls.h"
#include "system/system.h"
#include "testing/control_tree.h"
#include "testing/file_tree.h"

namespace zelmor {
namespace {

using platform::ControlKind;
using testing::MemoryControl;

// frmCliente owns two edits (one inside a panel), a memo, a nameless edit and a label.
struct ClientForm {
  ClientForm() {
    form.FName = u"frmCliente";
    form.FKind = ControlKind::Form;
    panel.FKind = ControlKind::Panel;
    label.FName = u"lbNome";
    label.FCaption = u"Nome";
    for (MemoryControl* c : {&nome, &cidade, &obs, &nameless}) c->FKind = ControlKind::Edit;
    nome.FName = u"edNome";
    cidade.FName = u"edCidade";
    obs.FName = u"mmObs";
    for (MemoryControl* c : {&panel, &label, &nome, &cidade, &obs, &nameless}) c->OwnedBy(form);
  }
  MemoryControl form{0};
  MemoryControl panel{0, &form}, label{1, &form};
  MemoryControl nome{0, &panel}, cidade{1, &form}, obs{2, &form}, nameless{3, &form};
};

TEST(FormStateTest, SaveThenLoadRestoresTheTexts) {
  testing::FileTree t;
  const std::u16string ini = t.Path("estado.ini");
  ClientForm before;
  before.nome.FText = u"José da Silva";
  before.cidade.FText = u"São Paulo";
  before.obs.FText = u"";
  before.nameless.FText = u"not kept";
  TmRot::SalvarEstadoForm(&before.form, ini);
  EXPECT_EQ(TmINI::Ler(u"frmCliente", u"edNome", u"?", ini), u"José da Silva");
  EXPECT_EQ(TmINI::Ler(u"frmCliente", u"lbNome", u"absent", ini), u"absent");  // labels are not stored

  ClientForm after;
  after.obs.FText = u"typed before loading";
  after.nameless.FText = u"mine";
  after.label.FText = u"untouched";
  TmRot::CarregarEstadoForm(&after.form, ini);
  EXPECT_EQ(after.nome.FText, u"José da Silva");
  EXPECT_EQ(after.cidade.FText, u"São Paulo");
  EXPECT_EQ(after.obs.FText, u"");  // an empty value is a value
  EXPECT_EQ(after.nameless.FText, u"mine");
  EXPECT_EQ(after.label.FText, u"untouched");
}

TEST(FormStateTest, AMultiLineTextIsRefusedAfterTheRestIsSaved) {
  testing::FileTree t;
  const std::u16string ini = t.Path("estado.ini");
  ClientForm f;
  f.nome.FText = u"Ana";
  f.cidade.FText = u"linha 1\r\nlinha 2";  // a line cannot hold it
  f.obs.FText = u"depois";
  EXPECT_THROW(TmRot::SalvarEstadoForm(&f.form, ini), EArgumentError);
  EXPECT_EQ(TmINI::Ler(u"frmCliente", u"edNome", u"?", ini), u"Ana");
  EXPECT_EQ(TmINI::Ler(u"frmCliente", u"mmObs", u"?", ini), u"depois");
  EXPECT_EQ(TmINI::Ler(u"frmCliente", u"edCidade", u"?", ini), u"?");
}

TEST(FormStateTest, MissingEntriesLeaveTheTexts) {
  testing::FileTree t;
  struct Case {
    const char* what;
    std::string content;  // "-": no file at all
  };
  const Case cases[] = {
      {"no file", "-"},
      {"empty file", ""},
      {"other form's section", "[frmProduto]\nedNome=Caneta\n"},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string name = "case" + std::to_string(++n) + ".ini";
    if (c.content != "-") t.Write(name, c.content);
    ClientForm f;
    f.nome.FText = u"Maria";
    TmRot::CarregarEstadoForm(&f.form, t.Path(name));
    EXPECT_EQ(f.nome.FText, u"Maria");
    EXPECT_EQ(f.cidade.FText, u"");
  }
}

// A form class whose forms count how many were made.
struct Made {
  int count = 0;
  platform::FormClass Class(std::u16string name) {
    return {name, [this, name](platform::Control* owner) {
              ++count;
              auto* f = new MemoryControl(0, static_cast<MemoryControl*>(owner));
              f->FClass = name;
              f->FKind = ControlKind::Form;
              return f;
            }};
  }
};

TEST(FormsTest, CreateFormMakesAnApplicationFormOnce) {
  testing::MemoryForms forms;
  platform::Service<platform::Forms>::ScopedOverride use(&forms);
  Made made;
  TForm* first = TmRot::CreateForm(made.Class(u"TfrmCliente"), nullptr);
  EXPECT_EQ(TmRot::CreateForm(made.Class(u"TfrmCliente"), nullptr), first);
  EXPECT_EQ(made.count, 1);
  // Another class, even one whose name starts the same, is a new form.
  TForm* other = TmRot::CreateForm(made.Class(u"TfrmClienteBusca"), nullptr);
  EXPECT_NE(other, first);
  EXPECT_EQ(forms.ApplicationForms(), (std::vector<platform::Control*>{first, other}));
  // A form owned by another component is not the application's: the next call makes one.
  MemoryControl owner;
  std::unique_ptr<platform::Control> owned(TmRot::CreateForm(made.Class(u"TfrmDialogo"), &owner));
  std::unique_ptr<platform::Control> again(TmRot::CreateForm(made.Class(u"TfrmDialogo"), &owner));
  EXPECT_NE(owned, again);
  EXPECT_EQ(forms.Adopted.size(), 2u);
  EXPECT_THROW(TmRot::CreateForm({u"TSemFabrica", nullptr}, nullptr), EArgumentError);
}

TEST(FormsTest, GetFormAtualListsTheScreenLastFirst) {
  testing::MemoryForms forms;
  platform::Service<platform::Forms>::ScopedOverride use(&forms);
  std::vector<std::unique_ptr<MemoryControl>> keep;
  struct Case {
    std::vector<std::u16string> screen;
    std::u16string expected;
  };
  const Case cases[] = {
      {{}, u""},
      {{u"frmPrincipal"}, u"frmPrincipal"},
      {{u"frmVenda", u"dbxAguardeForm", u"frmPrincipal", u"MainVerticalForm"}, u"frmPrincipal -> frmVenda"},
      {{u"sobreombrixform", u"frmA", u"frmB"}, u"frmB -> frmA"},  // names compared without case
      {{u"frmSobreOmbrixForm2"}, u"frmSobreOmbrixForm2"},         // whole names only
  };
  for (const Case& c : cases) {
    forms.OnScreen.clear();
    for (const std::u16string& name : c.screen) {
      keep.push_back(std::make_unique<MemoryControl>());
      keep.back()->FName = name;
      forms.OnScreen.push_back(keep.back().get());
    }
    EXPECT_EQ(TmRot::GetFormAtual(), c.expected);
  }
}

TEST(DisplayTest, MudarPara800x600TakesTheFirstModeDeepEnough) {
  EXPECT_FALSE(TmRot::MudarPara800x600());  // Linux: no modes to switch to
  testing::MemoryDisplay display;
  platform::Service<platform::Display>::ScopedOverride use(&display);
  display.List = {{1024, 768, 32}, {800, 600, 8}, {600, 800, 32}, {800, 600, 16}, {800, 600, 32}};
  EXPECT_TRUE(TmRot::MudarPara800x600());
  ASSERT_EQ(display.Set.size(), 1u);
  EXPECT_EQ(display.Set[0].BitsPerPixel, 16);
  display.Accepts = false;  // the system refusing the mode is no success
  EXPECT_FALSE(TmRot::MudarPara800x600());
  display.List = {{800, 600, 8}, {640, 480, 32}};
  display.Set.clear();
  EXPECT_FALSE(TmRot::MudarPara800x600());
  EXPECT_TRUE(display.Set.empty());
}

}  // namespace
}  // namespace zelmor
