// Launchers on the desktop folder of a home the test makes, and exit-code names.
#include <gtest/gtest.h>

#include <string>

#include "core/text.h"
#include "shell/shell.h"
#include "testing/file_tree.h"
#include "testing/recorded_dialogs.h"
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

TEST(SelecionaArquivo, AsksInTheRightFolderWithTheFilePreselected) {
  testing::FileTree t;
  t.Write("notas/nfe.xml", "<nfe/>");
  t.Folder("vazia");
  testing::RecordedDialogs dialogs;
  struct Case {
    const char* label;
    std::string diretorio;  // below the tree
    std::string folder, selected;
  };
  for (const Case& c : {Case{"an existing file", "notas/nfe.xml", "notas/", "nfe.xml"},
                        Case{"a file not there yet", "notas/nova.xml", "notas/", ""},
                        Case{"a folder with its separator", "vazia/", "vazia/", ""},
                        Case{"a folder without it", "vazia", "vazia/", ""}}) {
    SCOPED_TRACE(c.label);
    dialogs.FileRequests.clear();
    dialogs.FileAnswer = t.Path("notas/nfe.xml");
    EXPECT_EQ(TmFile::SelecionaArquivo(u"XML|*.xml", t.Path(c.diretorio)), t.Path("notas/nfe.xml"));
    ASSERT_EQ(dialogs.FileRequests.size(), 1u);
    EXPECT_EQ(dialogs.FileRequests[0].Title, u"Abrir arquivo (XML|*.xml)");
    EXPECT_EQ(dialogs.FileRequests[0].Filter, u"XML|*.xml");
    EXPECT_EQ(dialogs.FileRequests[0].Folder, t.Path(c.folder));
    EXPECT_EQ(dialogs.FileRequests[0].Selected, Utf8ToU16(c.selected));
  }
  dialogs.FileAnswer.reset();  // cancelled
  EXPECT_EQ(TmFile::SelecionaArquivo(u"*.txt", t.Path("vazia")), u"");
}

}  // namespace
}  // namespace zelmor
