// Version texts compared field by field, and read from real executables.
#include <gtest/gtest.h>

#include <string>

#include "core/text.h"
#include "files/files.h"
#include "testing/file_tree.h"

namespace zelmor {
namespace {

using T = TmFile::geTiposComparacao;

struct CompareCase {
  const char16_t* Atual;
  const char16_t* Maior;
  T Tipo;
  bool Expected;
};

TEST(VersaoMaior, ComparesFieldsAsNumbersOfUpToFiveDigits) {
  const CompareCase cases[] = {
      {u"1.2", u"1.10", T::tcMaior, true},  // numbers, not texts
      {u"1.10", u"1.2", T::tcMaior, false},
      {u"1.2", u"1.2.0", T::tcMaior, true},  // more fields: greater
      {u"1.2.0", u"1.2", T::tcMenor, true},
      {u"1.2", u"1.2", T::tcIgual, true},
      {u"1.2", u"1.2", T::tcDiferente, false},
      {u"1.2", u"1.2", T::tcMaiorIgual, true},
      {u"1.2", u"1.2", T::tcMenorIgual, true},
      {u"1.2", u"1.2", T::tcMaior, false},
      {u"1.123456", u"1.23456", T::tcIgual, true},  // only the last five characters count
      {u"", u"0", T::tcIgual, true},                // an empty text is one empty field
      {u"", u"0.0", T::tcMaior, true},
      {u"1.4.0.27", u"1.4.0.28", T::tcMaior, true},
      {u"1.4.0.27", u"1.4.0.28", T::tcMenorIgual, false},
      {u"2.0", u"1.99999", T::tcMenor, true},
  };
  for (const CompareCase& c : cases) {
    EXPECT_EQ(TmFile::VersaoMaior(c.Atual, c.Maior, c.Tipo), c.Expected)
        << U16ToUtf8(c.Atual) << " / " << U16ToUtf8(c.Maior) << " " << static_cast<int>(c.Tipo);
  }
}

TEST(NovaVersao, BlankCurrentVersionAlwaysTakesTheNewOne) {
  EXPECT_TRUE(TmFile::NovaVersao(u"", u""));
  EXPECT_TRUE(TmFile::NovaVersao(u"  ", u"0.0"));
  EXPECT_TRUE(TmFile::NovaVersao(u"1.2", u"1.3"));
  EXPECT_FALSE(TmFile::NovaVersao(u"1.3", u"1.3"));
  EXPECT_FALSE(TmFile::NovaVersao(u"1.3", u"1.2.9"));
}

std::u16string Fixture(const char* name) { return Utf8ToU16(std::string(ZELMOR_SYSTEM_TESTDATA) + "/" + name); }

TEST(GetVersaoArquivo, ReadsResourcesAndPicksFields) {
  EXPECT_EQ(TmFile::GetVersaoArquivo(Fixture("app32.exe")), u"1.2.3.4");
  // A blank file version gives way to the product version.
  EXPECT_EQ(TmFile::GetVersaoArquivo(Fixture("product_only.exe")), u"5.6.7.8");
  EXPECT_EQ(TmFile::GetVersaoArquivo(Fixture("no_version.exe")), u"");
  EXPECT_EQ(TmFile::GetVersaoArquivo(Fixture("nao_existe.exe")), u"");
  EXPECT_EQ(TmFile::GetTagVersaoScript(Fixture("app32.exe"), 2), u"2");
  EXPECT_EQ(TmFile::GetTagVersaoScript(Fixture("app32.exe"), 9), u"");
  EXPECT_EQ(TmFile::GetTagVersaoScript(Fixture("no_version.exe"), 1), u"");
  EXPECT_EQ(TmFile::GetTagVersaoApp(Fixture("app32.exe"), {1, 2, 3}), u"1.2.3");
  EXPECT_EQ(TmFile::GetTagVersaoApp(Fixture("app32.exe"), {4, 1}), u"4.1");
  EXPECT_EQ(TmFile::GetTagVersaoApp(Fixture("app32.exe"), {1, 9, 2}), u"1..2");  // an empty field keeps its "."
}

}  // namespace
}  // namespace zelmor
