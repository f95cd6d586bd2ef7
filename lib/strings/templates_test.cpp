#include <gtest/gtest.h>

#include "calendar/calendar.h"
#include "core/errors.h"
#include "core/text.h"
#include "mLib.h"
#include "testing/fixtures.h"

namespace zelmor {
namespace {

using F = TmStr::TFormatStFlags;

class TemplatesTest : public ::testing::Test {
 protected:
  testing::FixedRegionalSettings brasil{RegionalSettings::Brazilian()};
};

TEST_F(TemplatesTest, ValuesByTypeForPeopleAndForSql) {
  const TDateTime data = EncodeDate(2024, 3, 1);
  const TDateTime hora = EncodeTime(14, 5, 9, 0);
  const TDateTime dataHora = EncodeDateTime(2024, 3, 1, 14, 5, 9, 0);
  const F sql{TmStr::flagSQL}, humano{TmStr::flagHuman}, nenhum{};
  const struct {
    TmStr::TFmtParam valor;
    F flags;
    std::u16string esperado;
  } cases[] = {
      {5, sql, u"5"},
      {std::int64_t{9007199254740993}, sql, u"9007199254740993"},
      {-42, nenhum, u"-42"},
      {1234.5, sql, u"1234.5"},  // no grouping, "." decimals
      {-0.25, sql, u"-0.25"},
      {1.5e-5, sql, u"1.5E-5"},
      {1234.5, humano, u"1.234,50"},
      {1234.5, nenhum, u"1234,5"},  // the general format
      {Currency::FromDouble(12.5), sql, u"12.5"},
      {Currency::FromDouble(1234.5), humano, u"1.234,50"},
      {data, sql, u"'2024-03-01'"},
      {hora, sql, u"'14:05:09'"},
      {dataHora, sql, u"'2024-03-01 14:05:09'"},
      {data, nenhum, u"01/03/2024"},
      {hora, nenhum, u"14:05"},  // the short time
      {dataHora, nenhum, u"01/03/2024 14:05:09"},
      {true, nenhum, u"True"},
      {false, sql, u"False"},
      {true, F{TmStr::flagBoolSN}, u"S"},
      {false, F{TmStr::flagSQL, TmStr::flagBoolSN}, u"'N'"},
      {u"O'Neil", sql, u"'O''Neil'"},
      {u"O'Neil", nenhum, u"O'Neil"},
      {u"C:\\temp\\x", F{TmStr::flagSQL, TmStr::flagSQL_ConverteStr}, u"E'C:\\\\temp\\\\x'"},
      {u"C:\\temp", F{TmStr::flagSQL_ConverteStr}, u"C:\\temp"},  // only in SQL mode
      {u"\u00BF\u00BFnow()\u00BF\u00BF", sql, u"now()"},          // an SQL expression passed through
      {u"\u00BF\u00BF", nenhum, u"\u00BF\u00BF"},
      {std::monostate{}, sql, u"null"},
      {std::monostate{}, humano, u""},
      {TmStr::TFmtParam(), sql, u""},  // empty writes nothing
      {TzelArrayVariant{1, 2, u"a"}, sql, u"1, 2, 'a'"},
      {TzelArrayVariant{1, 2, u"a"}, nenhum, u"[1, 2, 'a']"},
      {TzelArrayVariant{1.5, std::monostate{}, data}, sql, u"1.5, null, '2024-03-01'"},  // ready for in (...)
      {TzelArrayVariant{1.5}, humano, u"[1,50]"},
      {TzelArrayVariant{u"a\\b"}, F{TmStr::flagSQL, TmStr::flagSQL_ConverteStr}, u"E'a\\\\b'"},
      {TzelArrayVariant{}, nenhum, u"[]"},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(TmStr::Fmt(u"<{0}>", {cases[i].valor}, cases[i].flags), u"<" + cases[i].esperado + u">") << "case " << i;
}

TEST_F(TemplatesTest, TemplatesAndPlaceholders) {
  EXPECT_EQ(TmStr::FmtSql(u"select * from t where id = {0} and nome = {1}", {5, u"O'Neil"}),
            u"select * from t where id = 5 and nome = 'O''Neil'");
  EXPECT_EQ(TmStr::Fmt(u"{0}{\\n}{1}", {u"a", u"b"}, {}), u"a\rb");
  EXPECT_EQ(TmStr::Fmt(u"{0}-{0}-{1}", {7, 8}, {}), u"7-7-8");
  EXPECT_EQ(TmStr::Fmt(u"{0}", {u"{1}!", u"x"}, {}), u"x!");      // a value brings in a later placeholder
  EXPECT_EQ(TmStr::Fmt(u"{1}{0}", {u"{0}", u"b"}, {}), u"b{0}");  // but is not filled in again by itself
  EXPECT_EQ(TmStr::Fmt(u"sem valores {0}", {}, {}), u"sem valores {0}");
  TmStr::TFmtParams onze;
  std::u16string modelo;
  for (int i = 0; i < 11; ++i) {
    onze.push_back(i);
    modelo += u"{" + IntToStr(i) + u"}";
  }
  EXPECT_EQ(TmStr::Fmt(modelo, onze, {}), u"012345678910");
}

TEST_F(TemplatesTest, AMissingPlaceholderIsAnError) {
  const struct {
    std::u16string modelo;
    TmStr::TFmtParams valores;
    std::u16string mensagem;
  } cases[] = {
      {u"{0}", {1, 2}, u"FormatSt. Posição {1} não localizada."},
      {u"{1}", {1, 2}, u"FormatSt. Posição {0} não localizada."},
      {u"", {u"x"}, u"FormatSt. Posição {0} não localizada."},
  };
  for (const auto& c : cases) {
    try {
      TmStr::FmtSql(c.modelo, c.valores);
      ADD_FAILURE() << "no error for " << U16ToUtf8(c.modelo);
    } catch (const EZelmorError& e) {
      EXPECT_EQ(e.Message(), c.mensagem);
    }
  }
}

TEST(TemplatesSettingsTest, SqlNumbersDoNotDependOnTheRegionalSeparators) {
  testing::FixedRegionalSettings eua{RegionalSettings::UnitedStates()};
  EXPECT_EQ(TmStr::FmtSql(u"{0}", {1234.5}), u"1234.5");
  EXPECT_EQ(TmStr::Fmt(u"{0}", {1234.5}, {TmStr::flagHuman}), u"1,234.50");
  EXPECT_EQ(TmStr::FmtSql(u"{0}", {EncodeDateTime(2024, 12, 31, 23, 59, 58, 0)}), u"'2024-12-31 23:59:58'");
}

TEST(TemplatesFlagsTest, TheSetHoldsItsFlagsAsBits) {
  constexpr TmStr::TFormatStFlags f{TmStr::flagHuman, TmStr::flagSQL_ConverteStr};
  static_assert(f.Bits() == 0b1010);
  EXPECT_TRUE(f.Contains(TmStr::flagHuman));
  EXPECT_FALSE(f.Contains(TmStr::flagSQL));
  EXPECT_EQ(TmStr::TFormatStFlags::FromBits(0xFF).Bits(), 15);
}

TEST(GetStringFilterInTest, ListsForSqlFilters) {
  const struct {
    std::u16string lista, separador;
    bool quoted;
    std::u16string esperado;
  } cases[] = {
      {u"1,2,3,", u",", true, u"'1','2','3'"},
      {u"1,2,3", u",", false, u"1,2,3"},
      {u"a;b;", u";", false, u"a;b"},
      {u"O'Neil,x", u",", true, u"'O''Neil','x'"},
      {u"a,,b", u",", true, u"'a','','b'"},
      {u"1, 2, ", u", ", true, u"'1', ' 2'"},  // a longer trailing separator goes whole
      {u"", u",", true, u"''"},
      {u"", u",", false, u""},
      {u"abc", u"", true, u"'abc'"},  // no separator: one field
  };
  for (const auto& c : cases)
    EXPECT_EQ(TmStr::GetStringFilterIn(c.lista, c.separador, c.quoted), c.esperado) << U16ToUtf8(c.lista);
  EXPECT_EQ(TmStr::QuotedList(u"10,20,", u","), u"'10','20'");
  EXPECT_EQ(mStr::QuotedList(u"10", u","), u"'10'");
}

}  // namespace
}  // namespace zelmor
