// Launchers on the desktop folder of a home the test makes.
#include <gtest/gtest.h>

#include "controls/controls.h"
#include "testing/file_tree.h"
#include "testing/run_program.h"

namespace zelmor {
namespace {

using testing::FileTree;
using testing::ScopedEnv;

struct Home {
  Home() { t.Folder("config"); }
  FileTree t;
  ScopedEnv home{"HOME", t.Native().c_str()};
  ScopedEnv config{"XDG_CONFIG_HOME", t.Native("config").c_str()};
};

TEST(DesktopShortcutTest, CreateReplaceAndDelete) {
  Home h;
  ASSERT_TRUE(TmRot::CriaAtalhoDesktop(u"Caixa da Loja", u"/opt/caixa/bin/caixa"));
  const std::string text = h.t.Read("Desktop/Caixa da Loja.desktop");
  EXPECT_NE(text.find("\nName=Caixa da Loja\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\nExec=/opt/caixa/bin/caixa\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\nPath=/opt/caixa/bin\n"), std::string::npos) << text;
  if (testing::RunQuietly({"desktop-file-validate", "--help"}) >= 0) {
    EXPECT_EQ(testing::RunQuietly({"desktop-file-validate", h.t.Native("Desktop/Caixa da Loja.desktop")}), 0);
  }
  // The same name again replaces the launcher.
  ASSERT_TRUE(TmRot::CriaAtalhoDesktop(u"Caixa da Loja", u"/srv/pdv/pdv"));
  EXPECT_NE(h.t.Read("Desktop/Caixa da Loja.desktop").find("\nExec=/srv/pdv/pdv\n"), std::string::npos);

  EXPECT_TRUE(TmRot::DeletaAtalhoDesktop(u"Caixa da Loja"));
  EXPECT_FALSE(h.t.Exists("Desktop/Caixa da Loja.desktop"));
  EXPECT_FALSE(TmRot::DeletaAtalhoDesktop(u"Caixa da Loja"));
}

TEST(DesktopShortcutTest, NamesThatAreNoFileOfTheDesktop) {
  Home h;
  h.t.Write("Desktop/a1.desktop", "[Desktop Entry]\n");
  h.t.Write("escape.desktop", "[Desktop Entry]\n");
  for (const char16_t* name : {u"", u"../escape", u"sub/dir", u".."}) {
    EXPECT_FALSE(TmRot::CriaAtalhoDesktop(name, u"/bin/true"));
    EXPECT_FALSE(TmRot::DeletaAtalhoDesktop(name));
  }
  EXPECT_TRUE(h.t.Exists("escape.desktop"));
  // A mask character is part of the name: only that exact file would go.
  EXPECT_FALSE(TmRot::DeletaAtalhoDesktop(u"a*"));
  EXPECT_TRUE(h.t.Exists("Desktop/a1.desktop"));
}

TEST(DesktopShortcutTest, FalseWhenTheDesktopCannotBeWritten) {
  Home h;
  h.t.Write("Desktop", "a file where the folder should be");
  EXPECT_FALSE(TmRot::CriaAtalhoDesktop(u"Caixa", u"/opt/caixa/caixa"));
}

}  // namespace
}  // namespace zelmor
