// The desktop-entry writer: Exec quoting, value escaping, and files that
// desktop-file-validate accepts and that gio launches with the arguments intact.
#include "shell/desktop_entry.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "core/errors.h"
#include "core/text.h"
#include "testing/file_tree.h"
#include "testing/run_program.h"

namespace zelmor {
namespace {

using testing::FileTree;

struct ExecCase {
  std::vector<std::u16string> Arguments;
  std::u16string Expected;
};

TEST(DesktopEntry, ExecArgumentsQuotedWhereTheFormatReservesCharacters) {
  const ExecCase cases[] = {
      {{u"/opt/caixa/pdv"}, u"/opt/caixa/pdv"},
      {{u"/opt/caixa/pdv", u"--loja", u"Loja 1"}, u"/opt/caixa/pdv --loja \"Loja 1\""},
      {{u"/opt/Meus Programas/pdv"}, u"\"/opt/Meus Programas/pdv\""},
      {{u"p", u""}, u"p \"\""},
      {{u"p", u"50%"}, u"p 50%%"},
      {{u"p", u"%f"}, u"p %%f"},
      {{u"p", u"a\"b"}, u"p \"a\\\"b\""},
      {{u"p", u"$HOME"}, u"p \"\\$HOME\""},
      {{u"p", u"`id`"}, u"p \"\\`id\\`\""},
      {{u"p", u"C:\\dir"}, u"p \"C:\\\\dir\""},
      {{u"p", u"a;b|c&d"}, u"p \"a;b|c&d\""},
      {{u"p", u"it's"}, u"p \"it's\""},
      {{u"p", u"~/x", u"*.txt"}, u"p \"~/x\" \"*.txt\""},
      {{u"p", u"São João"}, u"p \"São João\""},
      {{u"p", u"a=b"}, u"p a=b"},
  };
  for (const ExecCase& c : cases) {
    EXPECT_EQ(DesktopExecArguments(c.Arguments), c.Expected) << U16ToUtf8(c.Expected);
  }
}

TEST(DesktopEntry, TextEscapesValuesAndLeavesOutEmptyKeys) {
  DesktopEntry e;
  e.Name = u" Caixa\tLoja";
  e.Exec = {u"/opt/caixa/pdv", u"C:\\x"};
  e.Path = u"/opt/caixa";
  EXPECT_EQ(DesktopEntryText(e),
            "[Desktop Entry]\nType=Application\nName=\\sCaixa\\tLoja\n"
            "Exec=/opt/caixa/pdv \"C:\\\\\\\\x\"\nPath=/opt/caixa\nTerminal=false\n");
}

TEST(DesktopEntry, RefusesWhatCannotBeWritten) {
  DesktopEntry noName;
  noName.Exec = {u"/bin/true"};
  EXPECT_THROW(DesktopEntryText(noName), EArgumentError);
  DesktopEntry noExec;
  noExec.Name = u"x";
  EXPECT_THROW(DesktopEntryText(noExec), EArgumentError);
  DesktopEntry notUtf8;  // a file name whose bytes are not UTF-8, in its escaped form
  notUtf8.Name = u"x";
  notUtf8.Exec = {u"/opt/a\xDCFF"};
  EXPECT_THROW(DesktopEntryText(notUtf8), EArgumentError);
}

// Runs a command and answers its exit code and what it printed.
int Capture(const std::string& command, std::string& output) {
  output.clear();
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return -1;
  char buffer[512];
  while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
  return pclose(pipe);
}

// Every awkward argument at once, written to a file, validated, launched.
TEST(DesktopEntry, WrittenFilePassesTheValidatorAndLaunchesWithTheSameArguments) {
  FileTree t;
  const std::vector<std::u16string> awkward = {u"Loja 1",     u"",          u"50%",     u"%f",   u"a\"b", u"$HOME",
                                               u"`id`",       u"C:\\dir\\", u"a;b|c&d", u"it's", u"~/x",  u"São João",
                                               u"two\nlines", u"tab\there", u"#(x)",    u"a=b"};
  DesktopEntry e;
  e.Name = u"Caixa São João";
  e.Comment = u"Frente de caixa";
  e.Path = t.Path("pasta com espaço");
  t.Folder("pasta com espaço");
  // The program writes its working folder, then each argument, each ended by a NUL.
  e.Exec = {u"/bin/sh", u"-c", u"{ pwd; printf '\\0'; printf '%s\\0' \"$@\"; } > \"$0.tmp\" && mv \"$0.tmp\" \"$0\"",
            t.Path("saida")};
  e.Exec.insert(e.Exec.end(), awkward.begin(), awkward.end());
  WriteDesktopEntry(t.Path("caixa.desktop"), e);

  std::string output;
  if (testing::RunQuietly({"desktop-file-validate", "--help"}) < 0)
    GTEST_SKIP() << "desktop-file-utils is not installed";
  EXPECT_EQ(Capture("desktop-file-validate '" + t.Native("caixa.desktop") + "'", output), 0) << output;
  EXPECT_EQ(output, "");

  if (testing::RunQuietly({"gio", "help"}) < 0) GTEST_SKIP() << "gio (libglib2.0-bin) is not installed";
  ASSERT_EQ(Capture("gio launch '" + t.Native("caixa.desktop") + "'", output), 0) << output;
  // gio does not wait for the program; it renames its output into place when done.
  for (int i = 0; i < 100 && !t.Exists("saida"); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  std::string got = t.Read("saida");
  std::vector<std::string> parts;
  for (std::size_t start = 0, end; (end = got.find('\0', start)) != std::string::npos; start = end + 1) {
    parts.push_back(got.substr(start, end - start));
  }
  ASSERT_EQ(parts.size(), awkward.size() + 1) << got;
  EXPECT_EQ(parts[0], t.Native("pasta com espaço") + "\n");
  for (std::size_t i = 0; i < awkward.size(); ++i) EXPECT_EQ(parts[i + 1], U16ToUtf8(awkward[i])) << i;
}

}  // namespace
}  // namespace zelmor
