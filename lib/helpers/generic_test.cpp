#include <gtest/gtest.h>

#include "core/text.h"
#include "helpers/helpers.h"
#include "helpers/query.h"
#include "testing/recorded_dialogs.h"

namespace zelmor {
namespace {

TEST(GenericHelpers, NullAndEmptyAreDifferentValues) {
  const Variant null;
  const Variant empty = std::u16string();
  EXPECT_EQ(TmRot::IfNull(null, u"x"), u"x");
  EXPECT_EQ(TmRot::IfNull(empty, u"x"), u"");
  EXPECT_EQ(TmRot::IfIntNull(null, 7), 7);
  EXPECT_EQ(TmRot::IfIntNull(Variant{std::int64_t{42}}, 7), 42);
  EXPECT_DOUBLE_EQ(TmRot::IfNull(Variant{std::u16string(u"25")}, 1.0), 25.0);
  EXPECT_TRUE(TmRot::IfNull(Variant{}, true));
  EXPECT_FALSE(TmRot::IfNull(Variant{false}, true));
  EXPECT_TRUE(std::holds_alternative<std::monostate>(TmRot::GetVariantValueString(u"", true)));
  EXPECT_EQ(TmRot::GetVariantValueString(u"", false), Variant{std::u16string()});
  EXPECT_TRUE(std::holds_alternative<std::monostate>(TmRot::GetVariantValueInt(0, true)));
  EXPECT_EQ(TmRot::GetVariantValueInt(0, false), Variant{std::int64_t{0}});
  EXPECT_TRUE(std::holds_alternative<std::monostate>(TmRot::GetVariantValueDouble(0.0, true)));
  EXPECT_TRUE(
      std::holds_alternative<std::monostate>(TmRot::NullIf(Variant{std::int64_t{3}}, Variant{std::int64_t{3}})));
  EXPECT_EQ(TmRot::NullIf(Variant{std::int64_t{3}}, Variant{std::int64_t{4}}), Variant{std::int64_t{3}});
  EXPECT_EQ(TmRot::ArrayVarToStr({Variant{}, Variant{std::u16string(u"a")}, Variant{std::int64_t{5}}}),
            (TzelArrayString{u"", u"a", u"5"}));
  EXPECT_EQ(TmRot::ArrayVarToInt({Variant{}, Variant{std::u16string(u"x")}, Variant{std::u16string(u"12")}}),
            (TzelArrayInteger{0, 0, 12}));
  EXPECT_DOUBLE_EQ(TmRot::VarToFloat(Variant{}), 0.0);
}

TEST(GenericHelpers, ChoicesAndDefaults) {
  EXPECT_EQ(TmRot::IfVazio(u"  ", u"x"), u"x");
  EXPECT_EQ(TmRot::IfVazio(u" a ", u"x"), u" a ");
  EXPECT_EQ(TmRot::IfThen(true, u"a", u"b"), u"a");
  EXPECT_EQ(TmRot::IfThen(false, 1, 2), 2);
  EXPECT_EQ(TmRot::BoolToStr(true), u"Sim");
  EXPECT_EQ(TmRot::BoolToStr(false), u"Não");
  EXPECT_EQ(TmRot::MaxInt(-3, 2), 2);
  EXPECT_EQ(TmRot::Max(Currency::FromRaw(5), Currency::FromRaw(-5)), Currency::FromRaw(5));
  EXPECT_NEAR(TmRot::CubagemM3(100, 50, 20), 0.1, 1e-12);
}

TEST(GenericHelpers, ParallelArrayLookups) {
  testing::RecordedDialogs dialogs;
  EXPECT_EQ(TmRot::CaseDo(u"c", {u"a", u"b"}, {u"1", u"2"}, u"d"), u"d");
  EXPECT_EQ(TmRot::CaseDo(u"b", {u"a", u"b", u"b"}, {u"1", u"2", u"3"}, u"d"), u"2");
  EXPECT_EQ(TmRot::CaseDo(u"A", {u"a"}, {u"1"}, u"d"), u"d");  // case counts
  EXPECT_EQ(TmRot::CaseDoInt(2, {1, 2}, {u"um", u"dois"}, u"?"), u"dois");
  EXPECT_TRUE(dialogs.Records.empty());
  EXPECT_THROW(TmRot::CaseDo(u"a", {u"a", u"b"}, {u"1"}, u"d"), EAbort);
  EXPECT_THROW(TmRot::CaseDoInt(1, {1}, {}, u"d"), EAbort);
  int shown = 0;
  for (const auto& r : dialogs.Records) shown += r.Text == u"CaseDo: Quantidade de parâmetros incorretas";
  EXPECT_EQ(shown, 2);
  // No length check here: only positions present in both arrays are looked at.
  EXPECT_EQ(TmRot::CaseDoInteger(3, {1, 2, 3}, {10, 20}, -1), -1);
  EXPECT_EQ(TmRot::CaseDoInteger(2, {1, 2, 3}, {10, 20}, -1), 20);
  EXPECT_TRUE(TmRot::ContemStr(u"b", {u"a", u"b"}));
  EXPECT_FALSE(TmRot::ContemStr(u"B", {u"a", u"b"}));
  EXPECT_TRUE(TmRot::ContemInt(3, {1, 3}));
  TzelArrayInteger ints;
  TmRot::AddArrayInt(ints, 4);
  TmRot::AddArrayInt(ints, 5);
  EXPECT_EQ(ints, (TzelArrayInteger{4, 5}));
  TmRot::ClearArrayInt(ints);
  EXPECT_TRUE(ints.empty());
}

TEST(GenericHelpers, ByteArrayToStringStaysInsideTheArray) {
  const std::vector<std::uint8_t> bytes{0x41, 0xE9, 0x00, 0xFF};
  struct Case {
    std::int32_t Size;
    std::u16string Expected;
  };
  const Case cases[] = {
      {0, u""},
      {2, u"A\u00E9"},
      {4, std::u16string(u"A\u00E9\0\u00FF", 4)},
      {100, std::u16string(u"A\u00E9\0\u00FF", 4)},
      {-1, u""},
  };
  for (const auto& c : cases) EXPECT_EQ(TmRot::ByteArrayToString(bytes, c.Size), c.Expected) << c.Size;
}

TEST(GenericHelpers, StringListDistinctKeepsFirstOccurrencesInOrder) {
  struct Case {
    std::vector<std::u16string> In, Out;
  };
  const Case cases[] = {
      {{u"a", u"B", u"A", u"b", u"c"}, {u"a", u"B", u"c"}},
      {{}, {}},
      {{u"", u"", u"x"}, {u"", u"x"}},
      {{u"ção", u"ÇÃO", u"cao"}, {u"ção", u"cao"}},
  };
  for (const auto& c : cases) {
    TStringList l;
    l.Items = c.In;
    TmRot::StringListDistinct(l);
    EXPECT_EQ(l.Items, c.Out);
  }
}

TzelQuery MakeQuery(std::u16string_view sql) {
  TzelQuery q;
  q.SQL.Add(sql);
  return q;
}

TEST(QueryToSQL, WritesLiteralsInOnePass) {
  using T = TzelFieldType;
  struct Param {
    const char16_t* Name;
    T Type;
    Variant Value;
  };
  struct Case {
    const char16_t* Sql;
    std::vector<Param> Params;
    const char16_t* Expected;
  };
  const Case cases[] = {
      {u"select * from t where a = :a and b = :b",
       {{u"a", T::Texto, std::u16string(u"O'Hara")}, {u"b", T::Texto, Variant{}}},
       u"select * from t where a = 'O''Hara' and b = null\r\n"},
      // Values holding colons are copied out, never read as parameters again.
      {u"update t set h = :h, n = :n where id = :id",
       {{u"h", T::Texto, std::u16string(u"10:30")},
        {u"n", T::Texto, std::u16string(u":n")},
        {u"id", T::Inteiro, std::int64_t{7}}},
       u"update t set h = '10:30', n = ':n' where id = 7\r\n"},
      // A quote cannot end the string: every inner quote is doubled.
      {u"select :x", {{u"x", T::Texto, std::u16string(u"'; drop table t; --")}}, u"select '''; drop table t; --'\r\n"},
      {u"insert into t values(:v,:d)",
       {{u"v", T::Flutuante, 1234.5}, {u"d", T::Data, TDateTime(43439.0)}},
       u"insert into t values(1234.5,'2018-12-05')\r\n"},
      {u"select 1", {}, u"select 1\r\n"},
  };
  for (const auto& c : cases) {
    TzelQuery q = MakeQuery(c.Sql);
    for (const auto& p : c.Params) q.SetParam(p.Name, p.Type, p.Value);
    EXPECT_EQ(TmRot::QueryToSQL(q), c.Expected) << U16ToUtf8(c.Sql);
  }
}

TEST(QueryToSQL, ReportsMissingParametersAndUnhandledTypes) {
  TzelQuery q = MakeQuery(u"select :nada");
  try {
    TmRot::QueryToSQL(q);
    FAIL() << "no error";
  } catch (const EArgumentError& e) {
    EXPECT_EQ(e.Message(), u"Parâmetro \"nada\" não localizado!");
  }
  q.SetParam(u"nada", TzelFieldType::Booleano, true);
  try {
    TmRot::QueryToSQL(q);
    FAIL() << "no error";
  } catch (const EArgumentError& e) {
    EXPECT_EQ(e.Message(), u"Tipo de dados do parâmetro \"nada\" não tratado para transofrmar em SQL");
  }
}

}  // namespace
}  // namespace zelmor
