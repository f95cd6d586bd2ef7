// TConfigStatic and TmINI: one file open per call, on real files.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "calendar/calendar.h"
#include "config/mConfigStaticUnit.h"
#include "config/mIniReg.h"
#include "core/errors.h"
#include "core/text.h"
#include "mLib.h"
#include "testing/fixtures.h"
#include "testing/temp_store.h"

namespace zelmor {
namespace {

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// A rewrite replaces the file, so a file that keeps its inode was not written.
ino_t Inode(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

class StaticTest : public ::testing::Test {
 protected:
  std::string Path() const { return folder.Path() + "/loja.ini"; }
  std::u16string File() const { return Utf8ToU16(Path()); }
  testing::TemporaryFolder folder;
  testing::FixedRegionalSettings brazil{RegionalSettings::Brazilian()};
};

TEST_F(StaticTest, EveryTypeRoundTripsThroughBothClasses) {
  const std::u16string f = File();
  const TDateTime day = EncodeDate(2026, 12, 9);
  const TDateTime moment = EncodeDateTime(2026, 12, 9, 14, 5, 9, 0);
  TConfigStatic::Gravar(u"Loja", u"Nome", u"Padaria", f);
  TConfigStatic::Gravar(u"Loja", u"Caixa", 3, f);
  TConfigStatic::Gravar(u"Loja", u"Ativo", true, f);
  TConfigStatic::GravarFloat(u"Loja", u"Taxa", 2.5, f);
  TConfigStatic::GravarCurr(u"Loja", u"Troco", Currency::FromRaw(1234500), f);
  TConfigStatic::GravarDate(u"Loja", u"Abertura", day, f);
  TConfigStatic::GravarDateTime(u"Loja", u"Ultima", moment, f);
  TmINI::GravarConfig(u"Nome", u"Geral", f);
  TmINI::GravarConfig(u"Versao", 7, f);
  TmINI::GravarConfig(u"Debug", false, f);
  TmINI::GravarFloatConfig(u"Fator", 0.125, f);
  TmINI::GravarCurrConfig(u"Limite", Currency::FromRaw(10000), f);
  TmINI::GravarDateConfig(u"Inicio", day, f);

  EXPECT_EQ(FileBytes(Path()),
            "[Loja]\r\nNome=Padaria\r\nCaixa=3\r\nAtivo=1\r\nTaxa=2,5\r\nTroco=123,45\r\nAbertura=09/12/2026\r\n"
            "Ultima=09/12/2026 14:05:09\r\n\r\n[Config]\r\nNome=Geral\r\nVersao=7\r\nDebug=0\r\nFator=0,125\r\n"
            "Limite=1\r\nInicio=09/12/2026\r\n");

  EXPECT_EQ(TmINI::Ler(u"loja", u"nome", u"", f), u"Padaria");
  EXPECT_EQ(TConfigStatic::Ler(u"Loja", u"Caixa", 0, f), 3);
  EXPECT_EQ(TmINI::LerInt(u"Loja", u"Caixa", 0, f), TmINI::Ler(u"Loja", u"Caixa", 0, f));
  EXPECT_TRUE(TConfigStatic::Ler(u"Loja", u"Ativo", false, f));
  EXPECT_EQ(TmINI::LerFloat(u"Loja", u"Taxa", 0.0, f), 2.5);
  EXPECT_EQ(TConfigStatic::LerCurr(u"Loja", u"Troco", Currency(), f), Currency::FromRaw(1234500));
  EXPECT_EQ(TmINI::LerDate(u"Loja", u"Abertura", 0, f), day);
  EXPECT_NEAR(TConfigStatic::LerDateTime(u"Loja", u"Ultima", 0, f), moment, 1e-9);
  EXPECT_EQ(TConfigStatic::LerConfig(u"Nome", u"", f), u"Geral");
  EXPECT_EQ(TmINI::LerConfig(u"Versao", 0, f), 7);
  EXPECT_FALSE(TmINI::LerConfig(u"Debug", true, f));
  EXPECT_EQ(TConfigStatic::LerFloatConfig(u"Fator", 0.0, f), 0.125);
  EXPECT_EQ(TmINI::LerCurrConfig(u"Limite", Currency(), f), Currency::FromRaw(10000));
  EXPECT_EQ(TConfigStatic::LerDateConfig(u"Inicio", 0, f), day);
  EXPECT_EQ(TmINI::LerDateTimeConfig(u"Inicio", 1.5, f), day);  // a date alone is a date-time at midnight

  TStringList out;
  mINI::LerSecoes(out, f);
  EXPECT_EQ(out.Items, (std::vector<std::u16string>{u"Loja", u"Config"}));
  TConfigStatic::LerSecao(out, u"config", f);
  EXPECT_EQ(out.Count(), 6);
  TmINI::LerSecaoValues(out, u"Config", f);
  EXPECT_EQ(out[1], u"Versao=7");
}

TEST_F(StaticTest, EmptyValuesConfigSectionAndMissingFiles) {
  const std::u16string f = File();
  EXPECT_EQ(TConfigStatic::Ler(u"A", u"x", u"padrão", f), u"padrão");
  EXPECT_EQ(Inode(Path()), 0u) << "a read must not create the file";
  TConfigStatic::Gravar(u"A", u"x", u"1", f);
  TConfigStatic::Gravar(u"A", u"n", u"", f);
  EXPECT_EQ(FileBytes(Path()), "[A]\r\nx=1\r\nn=\r\n");
  TConfigStatic::Gravar(u"A", u"x", u"", f);
  EXPECT_EQ(FileBytes(Path()), "[A]\r\nn=\r\n");
  EXPECT_EQ(TConfigStatic::LerConfig(u"n", u"padrão", f), u"padrão");  // only in another section
}

TEST_F(StaticTest, CallsThatChangeNothingLeaveTheFileAlone) {
  const std::u16string f = File();
  TConfigStatic::Gravar(u"A", u"x", u"1", f);
  const ino_t before = Inode(Path());
  TConfigStatic::LimparSecao(u"Nenhuma", f);
  TmINI::Limpa(u"Nenhuma", f);
  TConfigStatic::Excluir(u"A", u"nada", f);
  TConfigStatic::Ler(u"A", u"x", u"", f);
  EXPECT_EQ(Inode(Path()), before);
  TmINI::Excluir(u"A", u"x", f);
  EXPECT_NE(Inode(Path()), before);
  EXPECT_EQ(FileBytes(Path()), "[A]\r\n");
  TmINI::Limpa(u"a", f);
  EXPECT_EQ(FileBytes(Path()), "");
}

TEST_F(StaticTest, AnEmptyFileNameIsTheExecutablesIni) {
  testing::FixedProcessInfo process(Utf8ToU16(folder.Path() + "/display.exe"));
  TConfigStatic::GravarConfig(u"Porta", 2200);
  EXPECT_EQ(FileBytes(folder.Path() + "/display.ini"), "[Config]\r\nPorta=2200\r\n");
  EXPECT_EQ(TmINI::LerConfig(u"Porta", 0), 2200);
}

TEST_F(StaticTest, UnreadableFilesFailAndUnwritableChangesAreLostQuietly) {
  std::filesystem::create_directory(Path());  // a folder where the file should be
  EXPECT_THROW(TConfigStatic::Ler(u"A", u"x", u"", File()), EFileError);
  const std::u16string nowhere = Utf8ToU16(folder.Path() + "/no/such/folder/x.ini");
  EXPECT_NO_THROW(TConfigStatic::Gravar(u"A", u"x", u"1", nowhere));
  EXPECT_EQ(TConfigStatic::Ler(u"A", u"x", u"lost", nowhere), u"lost");
}

}  // namespace
}  // namespace zelmor
