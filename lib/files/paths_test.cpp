#include <gtest/gtest.h>

#include <unistd.h>

#include "core/errors.h"
#include "core/text.h"
#include "mLib.h"
#include "testing/file_tree.h"
#include "testing/recorded_dialogs.h"

namespace zelmor {
namespace {

using testing::FileTree;
using testing::ScopedEnv;

std::string U8(std::u16string_view s) { return U16ToUtf8(s); }

TEST(PathTextTest, TakingPathsApart) {
  struct {
    std::u16string in, dir, name, ext, semExt;
  } cases[] = {
      {u"/a/b.txt", u"/a/", u"b.txt", u".txt", u"b"},
      {u"/dir.old/rel.2018.txt", u"/dir.old/", u"rel.2018.txt", u".txt", u"rel"},
      {u"/dir.old/semext", u"/dir.old/", u"semext", u"", u"semext"},
      {u"nome.xml", u"", u"nome.xml", u".xml", u"nome"},
      {u"/a/", u"/a/", u"", u"", u""},
      {u"", u"", u"", u"", u""},
      {u"C:\\dados\\a.txt", u"", u"C:\\dados\\a.txt", u".txt", u"C:\\dados\\a"},  // no drives, no backslash separator
      {u"/a/.bashrc", u"/a/", u".bashrc", u".bashrc", u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.in));
    EXPECT_EQ(TmFile::ExtractDir(c.in), c.dir);
    EXPECT_EQ(TmFile::FileDirectoryName(c.in), c.dir);
    EXPECT_EQ(TmFile::FileName(c.in), c.name);
    EXPECT_EQ(TmFile::FileExtension(c.in), c.ext);
    EXPECT_EQ(TmFile::FileNameSemExt(c.in), c.semExt);
  }
}

TEST(PathTextTest, BuildingPaths) {
  EXPECT_EQ(TmFile::SetFileExt(u"NOTA.XML", u"xml"), u"NOTA.XML");
  EXPECT_EQ(TmFile::SetFileExt(u"nota", u"xml"), u"nota.xml");
  EXPECT_EQ(TmFile::SetFileExt(u"nota.txt", u"xml"), u"nota.txt.xml");
  EXPECT_EQ(TmFile::SetFileExt(u"AÇÃO.xml", u"XML"), u"AÇÃO.xml");

  struct {
    std::u16string base, rel, out;
  } abs[] = {
      {u"/a/b/c", u"../../x.txt", u"/a/x.txt"},
      {u"/a/b/", u"../c/d.txt", u"/a/c/d.txt"},
      {u"/a/b", u"c/d.txt", u"/a/b/c/d.txt"},
      {u"/a/b", u"../../../x.txt", u"x.txt"},   // more steps than levels: the base is gone
      {u"/a/b", u"c/../d.txt", u"/a/c/d.txt"},  // each "../" anywhere climbs once
  };
  for (const auto& c : abs) EXPECT_EQ(TmFile::ExtractAbsoluteFile(c.base, c.rel), c.out) << U8(c.base + u" " + c.rel);

  struct {
    std::u16string in;
    int levels;
    std::u16string out;
  } up[] = {
      {u"/a/b/c/", 1, u"/a/b/"}, {u"/a/b/c/", 0, u"/a/b/c/"},
      {u"/a/b/c/", 3, u"/"},     {u"/a/b/c/", 4, u""},
      {u"/a/b", 1, u"/"},        {u"/", 1, u""},
      {u"/", 0, u"/"},           {u"abc", 0, u""},
  };
  for (const auto& c : up) EXPECT_EQ(TmFile::SubirNivel(c.in, c.levels), c.out) << U8(c.in) << ' ' << c.levels;

  struct {
    std::u16string in, out;
  } parent[] = {{u"", u""}, {u"/a/b/", u"/a/"}, {u"/a/b", u"/a/"}, {u"/", u"/"}, {u"/a", u"/"}, {u"abc", u"abc/"}};
  for (const auto& c : parent) EXPECT_EQ(TmFile::DirectoryGetParent(c.in), c.out) << U8(c.in);

  EXPECT_EQ(TmFile::LimpaNomeArquivo(u"a/b:c*d?.txt"), u"abcd.txt");
  EXPECT_EQ(TmFile::LimpaNomeArquivo(u"\"x\\y<z>|w\""), u"xyzw");
}

TEST(PathTextTest, BackslashEscapes) {
  EXPECT_EQ(TmFile::DirAnsi(u"a\\b\\\\c/d"), u"a\\\\b\\\\\\\\c/d");
  struct {
    std::u16string in, out;
  } read[] = {{u"a\\\\b", u"a\\b"}, {u"\\\\\\\\", u"\\\\"}, {u"\\\\\\", u"\\\\"}, {u"\\", u"\\"}, {u"", u""}};
  for (const auto& c : read) EXPECT_EQ(TmFile::DirAnsiRead(c.in), c.out) << U8(c.in);
  EXPECT_EQ(TmFile::DirAnsiRead(TmFile::DirAnsi(u"x\\y\\z")), u"x\\y\\z");
}

TEST(PathTextTest, ZelmorRoot) {
  EXPECT_EQ(TmFile::GetZelmorRoot(u"/qualquer/coisa", true), u"/ZELMOR/");
  EXPECT_EQ(TmFile::GetZelmorRoot(u"relativo", true), u"/ZELMOR/");
  EXPECT_EQ(TmFile::GetZelmorRoot(u"//srv/dados/zelmor/app", true), u"//srv/dados/zelmor/");
  EXPECT_EQ(TmFile::GetZelmorRoot(u"//srv/Zelmor", false), u"//srv/Zelmor/");
  EXPECT_EQ(TmFile::GetZelmorRoot(u"//srv/dados/app", false), u"");
  try {
    TmFile::GetZelmorRoot(u"//srv/dados/app", true);
    FAIL() << "no error";
  } catch (const EFileError& e) {
    EXPECT_EQ(e.Message(), u"Path inválido para obter o root da Zelmor!");
  }
}

TEST(PathFilesTest, ExistenceFollowsTheWindowsSelection) {
  FileTree t;
  t.Write("a.xml", "x");
  t.Write("B.XML", "x");
  t.Write(".oculto.xml", "x");
  t.Folder("pasta.xml");
  t.Link("elo", "a.xml");
  t.Link("quebrado", "nada");
  EXPECT_TRUE(TmFile::FileExists(t.Path("a.xml")));
  EXPECT_TRUE(TmFile::FileExists(t.Path("*.xml")));
  EXPECT_TRUE(TmFile::FileExists(t.Path("b.*")));           // masks ignore case
  EXPECT_FALSE(TmFile::FileExists(t.Path("b.xml")));        // an exact name does not
  EXPECT_FALSE(TmFile::FileExists(t.Path(".oculto.xml")));  // hidden
  EXPECT_FALSE(TmFile::FileExists(t.Path("pasta.xml")));    // a folder
  EXPECT_FALSE(TmFile::FileExists(t.Path("*.txt")));
  EXPECT_TRUE(TmFile::FileExists(t.Path("elo")));
  EXPECT_FALSE(TmFile::FileExists(t.Path("falta/a.xml")));
  EXPECT_FALSE(TmFile::FileExists(u""));
  EXPECT_TRUE(TmFile::DirectoryExists(t.Path("pasta.xml")));
  EXPECT_TRUE(TmFile::DirectoryExists(t.Path("pasta.xml/")));
  EXPECT_FALSE(TmFile::DirectoryExists(t.Path("a.xml")));
  EXPECT_FALSE(TmFile::DirectoryExists(u""));
  EXPECT_EQ(TmFile::getFileNameDOS(t.Path("a.xml")), t.Path("a.xml"));
  EXPECT_EQ(TmFile::getFileNameDOS(t.Path("falta")), u"");
}

TEST(PathFilesTest, UniqueNamesSkipEveryEntry) {
  FileTree t;
  t.Write("x.txt", "");
  t.Write("x_1.txt", "");
  EXPECT_EQ(TmFile::GetUniqueFilePath(t.Path("x.txt")), t.Path("x_2.txt"));
  EXPECT_EQ(TmFile::GetUniqueFilePath(t.Path("y.txt")), t.Path("y.txt"));
  // Hidden files, folders and dangling links are taken names too.
  t.Write(".h", "");
  t.Write(".h_1", "");
  EXPECT_EQ(TmFile::GetUniqueFilePath(t.Path(".h")), t.Path("_1.h"));
  t.Folder("semext");
  t.Link("semext_1", "nada");
  EXPECT_EQ(TmFile::GetUniqueFilePath(t.Path("semext")), t.Path("semext_2"));
}

TEST(PathFilesTest, TemporaryFileNames) {
  FileTree t;
  ScopedEnv tmp("TMPDIR", t.Root().c_str());
  EXPECT_EQ(TmFile::PastaWindowsTemp(), t.Path() + u"/");
  const std::u16string a = TmFile::GetNomeArquivoTemp(u"unico"), b = TmFile::GetNomeArquivoTemp(u"un");
  ASSERT_NE(a, u"");
  EXPECT_NE(a, b);
  EXPECT_EQ(a.substr(0, 3), u"uni");
  EXPECT_EQ(b.substr(0, 2), u"un");
  EXPECT_TRUE(TmStr::EndsWith(a, u".tmp"));
  EXPECT_EQ(a.find(u'/'), std::u16string::npos);
  EXPECT_EQ(t.Read(U8(a)), "");  // created, empty
  EXPECT_EQ(t.Names().size(), 2u);
}

TEST(PathFilesTest, CreatingFolders) {
  FileTree t;
  EXPECT_TRUE(TmFile::CreateDirectory(t.Path("a/b/c")));
  EXPECT_TRUE(t.Exists("a/b/c"));
  EXPECT_TRUE(TmFile::CreateDirectory(t.Path("a/b/c/")));  // already there
  t.Write("arquivo", "");
  EXPECT_FALSE(TmFile::CreateDirectory(t.Path("arquivo/sub")));
  // Every folder is attempted; one failure makes the whole false.
  EXPECT_FALSE(TmFile::CriarDiretorios({t.Path("arquivo/x"), t.Path("d/e")}));
  EXPECT_TRUE(t.Exists("d/e"));
  EXPECT_TRUE(TmFile::CriarDiretorios({t.Path("f"), t.Path("g/h")}));
  try {
    TmFile::CriarDiretorios({t.Path("i"), u"", t.Path("j")});
    FAIL() << "no error";
  } catch (const EFileError& e) {
    EXPECT_EQ(e.Message(), u"Unable to create directory");
  }
  EXPECT_TRUE(t.Exists("i"));
  EXPECT_FALSE(t.Exists("j"));
}

// The folders come from the XDG settings of the environment; the data folders are made.
TEST(SpecialFoldersTest, XdgFolders) {
  FileTree t;
  t.Write("config/user-dirs.dirs",
          "# written by xdg-user-dirs-update\nXDG_DOCUMENTS_DIR=\"$HOME/Documentos\"\n"
          "XDG_DESKTOP_DIR=\"$HOME/Área de trabalho\"\n");
  ScopedEnv home("HOME", t.Native("casa").c_str());
  ScopedEnv config("XDG_CONFIG_HOME", t.Native("config").c_str());
  ScopedEnv data("XDG_DATA_HOME", t.Native("dados").c_str());
  ScopedEnv dirs("XDG_DATA_DIRS", "/opt/share:/usr/share");
  const std::u16string root = t.Path();
  EXPECT_EQ(TmFile::GetPastaDesktop(), root + u"/casa/Área de trabalho/");
  EXPECT_EQ(TmFile::PastaWindowsDesktop(), root + u"/casa/Área de trabalho/");
  EXPECT_EQ(TmFile::GetPastaDadosApplicativos(), root + u"/dados/");
  EXPECT_EQ(TmFile::GetPastaAppDataLocal(), root + u"/dados/");
  EXPECT_EQ(TmFile::GetPastaApp(), root + u"/dados/");
  EXPECT_EQ(TmFile::GetPastaStartMenu(), root + u"/dados/applications/");
  EXPECT_EQ(TmFile::GetPastaAllUsersStartMenu(), u"/opt/share/applications/");
  // Folders Linux has not: the failure result, with its separator.
  EXPECT_EQ(TmFile::PastaWindows(), u"/");
  EXPECT_EQ(TmFile::PastaWindowsSystem(), u"/");
  EXPECT_EQ(TmFile::PastaWindowsSystem32(), u"/");

  EXPECT_FALSE(t.Exists("dados/Zelmor"));
  EXPECT_EQ(TmFile::GetDataUserFolderOmbrix(), root + u"/dados/Zelmor/Ombrix/");
  EXPECT_EQ(TmFile::GetDataUserFolderTemp(), root + u"/dados/Zelmor/Temp/");
  EXPECT_EQ(TmFile::GetDataUserFolderZelmor(), root + u"/dados/Zelmor/");
  EXPECT_TRUE(t.Exists("dados/Zelmor/Ombrix"));
  EXPECT_TRUE(t.Exists("dados/Zelmor/Temp"));
}

TEST(SpecialFoldersTest, DefaultsWithoutXdgSettings) {
  FileTree t;
  ScopedEnv home("HOME", t.Native("casa").c_str());
  ScopedEnv config("XDG_CONFIG_HOME", nullptr);
  ScopedEnv data("XDG_DATA_HOME", "relativo/ignorado");  // not absolute: ignored
  ScopedEnv dirs("XDG_DATA_DIRS", nullptr);
  ScopedEnv tmp("TMPDIR", nullptr);
  EXPECT_EQ(TmFile::GetPastaDesktop(), t.Path("casa/Desktop/"));
  EXPECT_EQ(TmFile::GetPastaAppDataLocal(), t.Path("casa/.local/share/"));
  EXPECT_EQ(TmFile::GetPastaAllUsersStartMenu(), u"/usr/local/share/applications/");
  EXPECT_EQ(TmFile::PastaWindowsTemp(), u"/tmp/");
  // A data folder that cannot be made is still the answer.
  ScopedEnv noData("XDG_DATA_HOME", "/proc/zelmor-nao-pode");
  EXPECT_EQ(TmFile::GetDataUserFolderZelmor(), u"/proc/zelmor-nao-pode/Zelmor/");
}

TEST(FolderDialogTest, PickingAFolder) {
  testing::RecordedDialogs dialogs;
  FileTree t;
  t.Folder("dados");
  // Cancelled: GetPasta is empty, GetPastaDef gives back its start without the separator.
  EXPECT_EQ(TmFile::GetPasta(), u"");
  EXPECT_EQ(TmFile::GetPastaDef(t.Path("dados/")), t.Path("dados"));
  ASSERT_EQ(dialogs.FolderRequests.size(), 2u);
  EXPECT_EQ(dialogs.FolderRequests[0].Title, u"Selecione uma pasta");
  EXPECT_EQ(dialogs.FolderRequests[0].Initial, u"");
  EXPECT_EQ(dialogs.FolderRequests[1].Initial, t.Path("dados"));
  EXPECT_TRUE(dialogs.FolderRequests[1].Centred);
  EXPECT_EQ(TmFile::GetPastaDef(t.Path("falta/")), t.Path("falta"));
  EXPECT_EQ(dialogs.FolderRequests[2].Initial, u"");  // nothing to select
  // Confirmed: GetPasta without, GetPastaDef with the trailing separator; the root keeps its own.
  dialogs.FolderAnswer = t.Path("dados");
  EXPECT_EQ(TmFile::GetPasta(), t.Path("dados"));
  EXPECT_EQ(TmFile::GetPastaDef(u""), t.Path("dados/"));
  dialogs.FolderAnswer = std::u16string(u"/");
  EXPECT_EQ(TmFile::GetPasta(), u"/");
}

}  // namespace
}  // namespace zelmor
