// Programs started from the shell routines: fake tools on a PATH the test makes.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "core/text.h"
#include "mLib.h"
#include "testing/file_tree.h"
#include "testing/recorded_dialogs.h"

namespace zelmor {
namespace {

// Waits (at most five seconds) for a file a started program writes.
bool WaitForFile(const std::string& path) {
  for (int i = 0; i < 500; ++i) {
    if (std::filesystem::exists(path) && std::filesystem::file_size(path) > 0) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

// A fake program on PATH that writes its arguments, one a line, to `out`.
void FakeProgram(const testing::FileTree& tree, const std::string& name, const std::string& out) {
  tree.Write("bin/" + name,
             "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + out + ".tmp' && mv '" + out + ".tmp' '" + out + "'\n");
  ASSERT_EQ(chmod(tree.Native("bin/" + name).c_str(), 0755), 0);
}

TEST(RegistraDll, StartsTheToolSilentlyOrSaysItCouldNot) {
  testing::FileTree tree;
  testing::RecordedDialogs dialogs;
  {
    testing::ScopedEnv path("PATH", tree.Native("nothing").c_str());
    EXPECT_FALSE(TmFile::RegistraDll(u"/opt/app/comp.dll"));
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(dialogs.Messages[0].rfind(u"não foi possível copiar ou registrar a dll /opt/app/comp.dll.\r(", 0), 0u)
        << U16ToUtf8(dialogs.Messages[0]);
  }
  FakeProgram(tree, "regsvr32", tree.Native("args"));
  testing::ScopedEnv path("PATH", (tree.Native("bin") + ":/usr/bin:/bin").c_str());
  EXPECT_TRUE(TmFile::RegistraDll(u"/opt/my app/comp.dll"));
  ASSERT_TRUE(WaitForFile(tree.Native("args")));
  EXPECT_EQ(tree.Read("args"), "/opt/my app/comp.dll\n/s\n");
  EXPECT_EQ(dialogs.Messages.size(), 1u);  // nothing more shown
}

TEST(WinExec32, StartsTheCommandLineWithoutWaiting) {
  testing::FileTree tree;
  FakeProgram(tree, "prog", tree.Native("args"));
  EXPECT_TRUE(TmFile::WinExec32(u"\"" + tree.Path("bin/prog") + u"\" a \"b c\""));
  ASSERT_TRUE(WaitForFile(tree.Native("args")));
  EXPECT_EQ(tree.Read("args"), "a\nb c\n");
  EXPECT_FALSE(TmFile::WinExec32(tree.Path("bin/missing")));
}

TEST(OpenExplorerFileSelect, OpensTheFilesFolder) {
  testing::FileTree tree;
  testing::RecordedDialogs dialogs;
  FakeProgram(tree, "xdg-open", tree.Native("args"));
  testing::ScopedEnv path("PATH", (tree.Native("bin") + ":/usr/bin:/bin").c_str());
  testing::ScopedEnv bus("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus");  // no file manager answers
  tree.Write("docs/nota.xml", "<a/>");
  TmFile::OpenExplorerFileSelect(tree.Path("docs/nota.xml"));
  ASSERT_TRUE(WaitForFile(tree.Native("args")));
  EXPECT_EQ(tree.Read("args"), tree.Native("docs/") + "\n");
}

// The file manager's interface asked through gdbus (a stand-in on PATH here): the file
// goes as an encoded URI; when nothing answers, the folder opens instead.
TEST(OpenExplorerFileSelect, AsksTheFileManagerToSelectTheFile) {
  for (bool answers : {true, false}) {
    SCOPED_TRACE(answers);
    testing::FileTree tree;
    testing::RecordedDialogs dialogs;
    tree.Write("bin/gdbus", "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + tree.Native("gdbus") + "'\nexit " +
                                (answers ? "0" : "1") + "\n");
    ASSERT_EQ(chmod(tree.Native("bin/gdbus").c_str(), 0755), 0);
    FakeProgram(tree, "xdg-open", tree.Native("args"));
    testing::ScopedEnv path("PATH", (tree.Native("bin") + ":/usr/bin:/bin").c_str());
    tree.Write("docs/nota fiscal 'ação'.xml", "<a/>");
    TmFile::OpenExplorerFileSelect(tree.Path("docs/nota fiscal 'ação'.xml"));
    ASSERT_TRUE(tree.Exists("gdbus"));  // asked, and waited for
    const std::string uri = "file://" + tree.Native("docs/") + "nota%20fiscal%20%27a%C3%A7%C3%A3o%27.xml";
    EXPECT_EQ(tree.Read("gdbus"),
              "call\n--session\n--timeout\n5\n--dest\norg.freedesktop.FileManager1\n--object-path\n"
              "/org/freedesktop/FileManager1\n--method\norg.freedesktop.FileManager1.ShowItems\n['" +
                  uri + "']\n\n");
    if (answers) {
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
      EXPECT_FALSE(tree.Exists("args")) << "the folder was opened as well";
    } else {
      ASSERT_TRUE(WaitForFile(tree.Native("args")));
      EXPECT_EQ(tree.Read("args"), tree.Native("docs/") + "\n");
    }
  }
}

}  // namespace
}  // namespace zelmor
