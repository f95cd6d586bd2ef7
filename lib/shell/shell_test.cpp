// Launchers on the desktop folder of a home the test makes, and exit-code names.
#include <gtest/gtest.h>

#include <string>

#include "files/mFileUtil.h"
#include "testing/file_tree.h"
#include "testing/run_program.h"

namespace zelmor {
namespace {

using testing::FileTree;
using testing::ScopedEnv;

TEST(CriarAtalhoDesktop, WritesAValidLauncherNamedAfterTheProgram) {
  FileTree t;
  t.Folder("config");
  ScopedEnv home("HOME", t.Native().c_str());
  ScopedEnv config("XDG_CONFIG_HOME", t.Native("config").c_str());
  ASSERT_TRUE(TmFile::CriarAtalhoDesktop(u"/opt/caixa/caixa.exe", u"/auto \"Loja 1\""));
  const std::string text = t.Read("Desktop/caixa.desktop");
  EXPECT_NE(text.find("\nName=caixa\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\nExec=/opt/caixa/caixa.exe /auto \"Loja 1\"\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\nPath=/opt/caixa\n"), std::string::npos) << text;
  if (testing::RunQuietly({"desktop-file-validate", "--help"}) >= 0) {
    EXPECT_EQ(testing::RunQuietly({"desktop-file-validate", t.Native("Desktop/caixa.desktop")}), 0);
  }
  // Again: the launcher is replaced, not refused.
  EXPECT_TRUE(TmFile::CriarAtalhoDesktop(u"/opt/caixa/caixa.exe", u""));
  EXPECT_NE(t.Read("Desktop/caixa.desktop").find("\nExec=/opt/caixa/caixa.exe\n"), std::string::npos);
}

TEST(CriarAtalhoDesktop, FalseWhenTheLauncherCannotBeWritten) {
  FileTree t;
  t.Folder("config");
  t.Folder("Desktop");
  ScopedEnv home("HOME", t.Native().c_str());
  ScopedEnv config("XDG_CONFIG_HOME", t.Native("config").c_str());
  EXPECT_FALSE(TmFile::CriarAtalhoDesktop(u"/opt/caixa/", u""));  // no program name
  t.Write("Desktop/caixa.desktop", "old");
  t.ReadOnly("Desktop/caixa.desktop");  // refused even to root
  EXPECT_FALSE(TmFile::CriarAtalhoDesktop(u"/opt/caixa/caixa", u""));
  EXPECT_EQ(t.Read("Desktop/caixa.desktop"), "old");
}

TEST(GetMsgExitCode, NamesTheCodesOfInterruptedProcesses) {
  EXPECT_EQ(TmFile::GetMsgExitCode(0xC000013Au), u"Cancelamento do processo (Prompt fechado)");
  EXPECT_EQ(TmFile::GetMsgExitCode(255), u"Cancelamento do processo (Ctrl + C)");
  EXPECT_EQ(TmFile::GetMsgExitCode(1), u"Processo finalizado (Gerenciador de tarefas)");
  EXPECT_EQ(TmFile::GetMsgExitCode(0), u"");
  EXPECT_EQ(TmFile::GetMsgExitCode(2), u"");
}

}  // namespace
}  // namespace zelmor
