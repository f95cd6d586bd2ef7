#include <gtest/gtest.h>

#include "core/errors.h"
#include "core/text.h"
#include "mLib.h"
#include "testing/file_tree.h"

namespace zelmor {
namespace {

using testing::FileTree;
using Names = std::vector<std::string>;

TEST(BackupTest, RotationKeepsTheNewestFirst) {
  FileTree t;
  t.Write("log.txt", "atual");
  t.Write("log.001", "um");
  t.Write("log.003", "tres");
  TmFile::GerenciaBackup(t.Path(), u"log.txt", 3);
  EXPECT_EQ(t.Names(), (Names{"log.001", "log.002"}));
  EXPECT_EQ(t.Read("log.001"), "atual");
  EXPECT_EQ(t.Read("log.002"), "um");
  // Rotating again and again never keeps more than the maximum.
  for (int i = 0; i < 4; ++i) {
    t.Write("log.txt", "v" + std::to_string(i));
    TmFile::GerenciaBackup(t.Path() + u"/", u"log.txt", 3);
  }
  EXPECT_EQ(t.Names(), (Names{"log.001", "log.002", "log.003"}));
  EXPECT_EQ(t.Read("log.001"), "v3");
  EXPECT_EQ(t.Read("log.003"), "v1");
  // Nothing to back up: no error, and no copy is thrown away.
  TmFile::GerenciaBackup(t.Path(), u"log.txt", 3);
  EXPECT_EQ(t.Names(), (Names{"log.001", "log.002", "log.003"}));
  EXPECT_EQ(t.Read("log.001"), "v3");
}

TEST(BackupTest, NumbersPastThreeDigitsAndNoNumberedCopies) {
  FileTree t;
  t.Write("d.fdb", "x");
  t.Write("d.999", "velho");
  TmFile::GerenciaBackup(t.Path(), u"d.fdb", 1000);
  EXPECT_EQ(t.Names(), (Names{"d.001", "d.1000"}));
  // With no numbered copies wanted, the file becomes .001 only when that name is free.
  t.Write("z", "z1");
  TmFile::GerenciaBackup(t.Path(), u"z", 0);
  EXPECT_EQ(t.Read("z.001"), "z1");
  t.Write("z", "z2");
  TmFile::GerenciaBackup(t.Path(), u"z", 0);
  EXPECT_EQ(t.Read("z"), "z2");
  EXPECT_EQ(t.Read("z.001"), "z1");
}

// The rotation walks the copies that exist, not every number up to the maximum: the
// largest maximum finishes (walking every number would take hours) and moves each
// copy up by one, the one at the maximum going.
TEST(BackupTest, AHugeMaximumWalksOnlyTheCopiesThatExist) {
  FileTree t;
  t.Write("log.txt", "atual");
  for (const char* n : {"001", "002", "1000", "2147483646", "2147483647"}) t.Write(std::string("log.") + n, n);
  // Not numbered copies as the rotation names them.
  for (const char* n : {"log.0001", "log.01", "log.abc", "log.99999999999", "log.2147483648", "LOG.003", "log.txt.004"})
    t.Write(n, "outro");
  TmFile::GerenciaBackup(t.Path(), u"log.txt", 2147483647);
  EXPECT_EQ(t.Names(), (Names{"LOG.003", "log.0001", "log.001", "log.002", "log.003", "log.01", "log.1001",
                              "log.2147483647", "log.2147483648", "log.99999999999", "log.abc", "log.txt.004"}));
  EXPECT_EQ(t.Read("log.001"), "atual");
  EXPECT_EQ(t.Read("log.002"), "001");
  EXPECT_EQ(t.Read("log.003"), "002");
  EXPECT_EQ(t.Read("log.1001"), "1000");
  EXPECT_EQ(t.Read("log.2147483647"), "2147483646");
  EXPECT_EQ(t.Read("log.0001"), "outro");
}

// When the oldest copy cannot go, nothing can move up, and the file itself cannot
// become .001: that is reported, so the caller does not write over its only copy.
TEST(BackupTest, AFailedRotationIsReported) {
  FileTree t;
  t.Write("log.txt", "atual");
  t.Write("log.001", "um");
  t.Write("log.002", "dois");
  t.ReadOnly("log.002");
  try {
    TmFile::GerenciaBackup(t.Path(), u"log.txt", 2);
    FAIL() << "no error";
  } catch (const EFileError& e) {
    EXPECT_NE(e.Message().find(u"log.001"), std::u16string::npos) << U16ToUtf8(e.Message());
  }
  EXPECT_EQ(t.Read("log.txt"), "atual");
  EXPECT_EQ(t.Read("log.001"), "um");
  EXPECT_EQ(t.Read("log.002"), "dois");
}

TEST(FolderCheckTest, WritableMissingAndBrokenFolders) {
  FileTree t;
  t.Folder("ok");
  t.Write("arquivo", "");
  std::u16string msg = u"lixo";
  EXPECT_TRUE(TmFile::VerificarPermissaoPasta({t.Path("ok")}, msg, false));
  EXPECT_EQ(msg, u"");
  EXPECT_TRUE(t.Names("ok").empty());  // the test file is gone

  EXPECT_FALSE(TmFile::VerificarPermissaoPasta({t.Path("a"), t.Path("ok"), t.Path("b")}, msg, false));
  EXPECT_EQ(msg, u"Diretório \"" + t.Path("a") + u"\" não existe.\rDiretório \"" + t.Path("b") + u"\" não existe.");

  EXPECT_TRUE(TmFile::VerificarPermissaoPasta({t.Path("novo/sub")}, msg, true));
  EXPECT_TRUE(t.Exists("novo/sub"));
  EXPECT_FALSE(TmFile::VerificarPermissaoPasta({t.Path("arquivo/sub")}, msg, true));
  EXPECT_EQ(msg, u"Diretório \"" + t.Path("arquivo/sub") + u"\" não existe e não pode ser criado.");
  // A folder nobody may write in, not even root.
  EXPECT_FALSE(TmFile::VerificarPermissaoPasta({u"/proc"}, msg, false));
  EXPECT_EQ(msg.rfind(u"Diretório \"/proc\" com erro de gravação. Msg.Original: ", 0), 0u) << U16ToUtf8(msg);
  EXPECT_FALSE(TmFile::VerificarPermissaoPasta({u""}, msg, true));
  EXPECT_EQ(msg, u"Diretório \"\" com erro. Msg.OriginalUnable to create directory");
}

TEST(FolderCheckTest, EmptyFolders) {
  FileTree t;
  t.Folder("vazia");
  t.Write("oculto/.h", "");
  EXPECT_TRUE(TmFile::IsDirectoryEmpty(t.Path("vazia")));
  EXPECT_FALSE(TmFile::IsDirectoryEmpty(t.Path("oculto/")));
  EXPECT_TRUE(TmFile::IsDirectoryEmpty(t.Path("falta")));
  EXPECT_FALSE(TmFile::IsDirectoryEmpty(t.Path()));
}

TEST(PortTest, OnlyParallelAndSerialPortsAreDevices) {
  std::u16string msg = u"lixo";
  EXPECT_FALSE(TmFile::PortaOK(1, TTipoImpressao::tiREDE, msg));
  EXPECT_EQ(msg, u"");
  EXPECT_FALSE(TmFile::PortaOK(1, TTipoImpressao::tiPRN, msg));
  EXPECT_FALSE(TmFile::PortaOK(0, TTipoImpressao::tiCOM, msg));
  EXPECT_FALSE(TmFile::PortaOK(999, TTipoImpressao::tiLPT, msg));
  EXPECT_EQ(msg, u"");
}

}  // namespace
}  // namespace zelmor
