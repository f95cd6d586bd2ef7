#include <gtest/gtest.h>

#include "controls/controls.h"
#include "system/system.h"
#include "testing/control_tree.h"

namespace zelmor {
namespace {

using platform::ControlKind;
using testing::MemoryControl;

// A form with a panel of three edits (tab order 2, 0, 1) and a button beside it.
struct Form {
  Form() {
    form.FKind = ControlKind::Form;
    form.FCaption = u"Clientes";
    form.X = 100, form.Y = 50;
    panel.FKind = ControlKind::Panel;
    panel.FCaption = u"Dados";
    panel.X = 10, panel.Y = 20, panel.W = 300, panel.H = 200;
    for (MemoryControl* e : {&nome, &cpf, &fone}) e->FKind = ControlKind::Edit;
    nome.X = 5, nome.Y = 7, nome.W = 120, nome.H = 21;
  }
  MemoryControl form{0};
  MemoryControl panel{0, &form};
  MemoryControl nome{2, &panel}, cpf{0, &panel}, fone{1, &panel};
  MemoryControl ok{1, &form};
};

TEST(ControlTreeTest, PanelHandsTheFocusToItsFirstChildThatTakesIt) {
  struct Case {
    const char* what;
    bool cpfOn, foneShown, cpfRefuses;
    bool result;
    MemoryControl Form::*focused;  // nullptr: nobody has it
  };
  const Case cases[] = {
      {"first in tab order", true, true, false, true, &Form::cpf},
      {"first disabled: the next", false, true, false, true, &Form::fone},
      {"first disabled, next hidden: the last", false, false, false, true, &Form::nome},
      // A control the toolkit refuses still ends the search: it could take the focus.
      {"toolkit refuses", true, true, true, true, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Form f;
    f.cpf.On = c.cpfOn;
    f.fone.Shown = c.foneShown;
    f.cpf.Refuses = c.cpfRefuses;
    EXPECT_EQ(TmRot::SetFocus(&f.panel), c.result);
    for (MemoryControl Form::*m : {&Form::nome, &Form::cpf, &Form::fone, &Form::panel})
      EXPECT_EQ(TmRot::Focused(&(f.*m)), m == c.focused);
  }
}

TEST(ControlTreeTest, PanelWithNoFocusableChildFallsBackToItself) {
  Form f;
  for (MemoryControl* e : {&f.nome, &f.cpf, &f.fone}) e->On = false;
  EXPECT_TRUE(TmRot::SetFocus(&f.panel));  // the panel itself can be focused
  EXPECT_TRUE(f.panel.HasFocus);
  f.form.On = false;
  f.panel.HasFocus = false;
  EXPECT_FALSE(TmRot::SetFocus(&f.panel));
  EXPECT_FALSE(f.panel.HasFocus);
}

TEST(ControlTreeTest, FocusedAnswersForAnyOfTheControls) {
  Form f;
  EXPECT_FALSE(TmRot::Focused({&f.nome, nullptr, &f.fone}));
  f.fone.HasFocus = true;
  EXPECT_TRUE(TmRot::Focused({&f.nome, nullptr, &f.fone}));
  EXPECT_FALSE(TmRot::Focused(std::vector<TWinControl*>{}));
  EXPECT_FALSE(TmRot::Focused(static_cast<TWinControl*>(nullptr)));
}

TEST(ControlTreeTest, FirstAndLastFollowTheTabOrder) {
  Form f;
  TWinControl *first = &f.ok, *last = &f.ok;
  EXPECT_TRUE(TmRot::GetFirstAndLastControl(&f.panel, first, last));
  EXPECT_EQ(first, &f.cpf);
  EXPECT_EQ(last, &f.nome);
  EXPECT_FALSE(TmRot::GetFirstAndLastControl(&f.ok, first, last));
  EXPECT_EQ(first, nullptr);
  EXPECT_EQ(last, nullptr);
}

TEST(ControlTreeTest, EnablingGroups) {
  {
    // HabilitaControles descends into panels but leaves the panel's own state.
    Form f;
    f.panel.On = false;
    TmRot::HabilitaControles(&f.form, false);
    EXPECT_FALSE(f.panel.On);
    EXPECT_FALSE(f.ok.On);
    EXPECT_FALSE(f.nome.On || f.cpf.On || f.fone.On);
    TmRot::HabilitaControles(&f.form, true);
    EXPECT_FALSE(f.panel.On);
    EXPECT_TRUE(f.ok.On && f.nome.On && f.cpf.On && f.fone.On);
  }
  {
    // AlterarHabilitacaoFilhos sets the children themselves, grandchildren on request.
    Form f;
    TmRot::AlterarHabilitacaoFilhos(&f.form, false, false);
    EXPECT_FALSE(f.panel.On || f.ok.On);
    EXPECT_TRUE(f.nome.On && f.cpf.On && f.fone.On);
    TmRot::AlterarHabilitacaoFilhos(&f.form, false, true);
    EXPECT_FALSE(f.nome.On || f.cpf.On || f.fone.On);
    EXPECT_TRUE(f.form.On);
  }
}

TEST(ControlTreeTest, PositionsAddUpTheParentChainAndTheMenuBar) {
  testing::MemoryForms forms;
  forms.MenuBar = 19;
  platform::Service<platform::Forms>::ScopedOverride use(&forms);
  Form f;
  EXPECT_EQ(TmRot::GetAbsolutePos(&f.nome), (TPoint{100 + 10 + 5, 50 + 20 + 7 + 19}));
  EXPECT_EQ(TmRot::GetPopupPos(&f.nome), (TPoint{115, 96 + 21}));
  EXPECT_EQ(TmRot::GetAbsolutePos(nullptr), (TPoint{0, 0}));

  testing::MemoryPopupMenu menu;
  TmRot::ShowPopMenu(&f.nome, &menu, TPosPopup::ppAbaixo);
  TmRot::ShowPopMenu(&f.nome, &menu, TPosPopup::ppDireita);
  TmRot::ShowPopMenu(nullptr, &menu, TPosPopup::ppDireita);
  // In the panel's client area, then on the screen through the panel and the form.
  const std::vector<TPoint> expected = {{5 + 110, 7 + 21 + 70}, {5 + 120 + 110, 7 + 70}};
  EXPECT_EQ(menu.Shown, expected);
}

TEST(ControlTreeTest, CaptionChain) {
  Form f;
  MemoryControl label(0, &f.panel);
  label.FCaption = u"Nome";
  struct Case {
    MemoryControl Form::*control;  // nullptr: the label
    bool ignoreForm;
    std::u16string expected;
  };
  const Case cases[] = {
      {nullptr, false, u"Clientes - Dados - Nome"},
      {nullptr, true, u"Dados - Nome"},           // the panel sits on the form: the chain stops there
      {&Form::nome, false, u"Clientes - Dados"},  // no caption of its own, no separator
      {&Form::panel, true, u"Dados"},
      {&Form::form, true, u"Clientes"},
  };
  for (const Case& c : cases) {
    TWinControl* control = c.control ? static_cast<TWinControl*>(&(f.*c.control)) : &label;
    EXPECT_EQ(TmRot::GetCaptionRecursivo(control, c.ignoreForm, u" - "), c.expected);
  }
  f.form.FCaption.clear();
  f.panel.FCaption.clear();
  EXPECT_EQ(TmRot::GetCaptionRecursivo(&label, false, u" - "), u"Nome");
}

}  // namespace
}  // namespace zelmor
