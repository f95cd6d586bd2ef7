#include <gtest/gtest.h>

#include "controls/controls.h"
#include "system/system.h"
#include "testing/control_tree.h"

namespace zelmor {
namespace {

using testing::MemoryMenuItem;

// A menu bar (its root has no caption) with Arquivo > Exportar > PDF.
struct Menu {
  MemoryMenuItem bar{u""};
  MemoryMenuItem arquivo{u"&Arquivo", &bar};
  MemoryMenuItem exportar{u"&Exportar && enviar", &arquivo};
  MemoryMenuItem pdf{u"P&DF", &exportar};
  MemoryMenuItem loose{u"&Sozinho"};  // a pop-up menu's item with no parent at all
};

TEST(MenusTest, PathsAndTopItems) {
  Menu m;
  struct Case {
    MemoryMenuItem Menu::*item;
    std::u16string path, top;
    MemoryMenuItem Menu::*pai;
  };
  const Case cases[] = {
      {&Menu::pdf, u"Arquivo > Exportar  enviar > PDF", u"Arquivo", &Menu::arquivo},
      {&Menu::exportar, u"Arquivo > Exportar  enviar", u"Arquivo", &Menu::arquivo},
      {&Menu::arquivo, u"Arquivo", u"Arquivo", &Menu::arquivo},  // a top-level item: its caption alone
      {&Menu::loose, u"Sozinho", u"Sozinho", &Menu::loose},
  };
  for (const Case& c : cases) {
    TMenuItem* item = &(m.*c.item);
    EXPECT_EQ(TmRot::CaminhoMenu(item, u" > "), c.path);
    EXPECT_EQ(TmRot::CaminhoMenuPai(item), c.top);
    EXPECT_EQ(TmRot::MenuPai(item), &(m.*c.pai));
  }
  EXPECT_EQ(TmRot::CaminhoMenu(&m.pdf, u""), u"ArquivoExportar  enviarPDF");
  EXPECT_EQ(TmRot::MenuPai(nullptr), nullptr);
  EXPECT_EQ(TmRot::CaminhoMenuPai(nullptr), u"");
}

TEST(MenusTest, AnItemWithAnUncaptionedItemAboveEndsThePath) {
  // A separator-like item without caption in the middle cuts the path there.
  Menu m;
  m.exportar.FCaption.clear();
  EXPECT_EQ(TmRot::CaminhoMenu(&m.pdf, u"/"), u"PDF");
  EXPECT_EQ(TmRot::MenuPai(&m.pdf), &m.pdf);
}

TEST(MenusTest, VisibleAndEnabledNeedTheWholeChain) {
  struct Case {
    const char* what;
    bool MemoryMenuItem::*flag;
    MemoryMenuItem Menu::*off;
    bool pdf, arquivo;
  };
  const Case cases[] = {
      {"hidden leaf", &MemoryMenuItem::Shown, &Menu::pdf, false, true},
      {"hidden middle", &MemoryMenuItem::Shown, &Menu::exportar, false, true},
      {"hidden bar", &MemoryMenuItem::Shown, &Menu::bar, false, false},
      {"disabled top", &MemoryMenuItem::On, &Menu::arquivo, false, false},
      {"disabled leaf", &MemoryMenuItem::On, &Menu::pdf, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Menu m;
    const bool visibility = c.flag == &MemoryMenuItem::Shown;
    auto rule = visibility ? &TmRot::MenuVisible : &TmRot::MenuEnabled;
    auto other = visibility ? &TmRot::MenuEnabled : &TmRot::MenuVisible;
    EXPECT_TRUE(rule(&m.pdf));
    (m.*c.off).*c.flag = false;
    EXPECT_EQ(rule(&m.pdf), c.pdf);
    EXPECT_EQ(rule(&m.arquivo), c.arquivo);
    EXPECT_TRUE(other(&m.pdf));
  }
  EXPECT_FALSE(TmRot::MenuVisible(nullptr));
  EXPECT_FALSE(TmRot::MenuEnabled(nullptr));
}

}  // namespace
}  // namespace zelmor
