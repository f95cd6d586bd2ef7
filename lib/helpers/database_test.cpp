#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "calendar/calendar.h"
#include "core/text.h"
#include "helpers/helpers.h"
#include "helpers/query.h"
#include "platform/database.h"
#include "platform/service.h"
#include "testing/file_tree.h"

namespace zelmor {
namespace {

using T = TzelFieldType;

class DatabaseHelpers : public ::testing::Test {
 protected:
  void SetUp() override {
    Db = platform::Service<platform::Databases>::Get().Connect(Files.Path("vendas.db"), false);
    Exec(
        u"create table itens(id integer primary key, nome text, valor real, dia date, ativo boolean);\r\n"
        u"create index itens_valor on itens(valor)");
  }

  std::int64_t Exec(std::u16string_view sql, std::vector<TzelParam> params = {}) {
    auto q = TmRot::CreateQuery(*Db);
    q->SQL.Add(std::u16string(sql));
    q->Params = std::move(params);
    return q->ExecSQL();
  }

  std::unique_ptr<TzelQuery> Select(std::u16string_view sql, std::vector<TzelParam> params = {}) {
    auto q = TmRot::CreateQuery(*Db);
    q->SQL.Add(std::u16string(sql));
    q->Params = std::move(params);
    q->Open();
    return q;
  }

  std::u16string DatabaseError(TzelQuery& q) {
    try {
      q.Open();
    } catch (const EDatabaseError& e) {
      EXPECT_STREQ(e.Kind(), "database");
      return e.Message();
    }
    ADD_FAILURE() << "no error for " << U16ToUtf8(q.SQL.Text());
    return {};
  }

  testing::FileTree Files;
  std::unique_ptr<platform::DbConnection> Db;
};

TEST_F(DatabaseHelpers, ValuesAreBoundNotPastedAndComeBackTyped) {
  const TDateTime dia = EncodeDate(2026, 12, 11);
  const TDateTime hora = EncodeDateTime(2026, 12, 11, 14, 5, 9, 123);
  struct Case {
    std::u16string Nome;
    Variant Valor, Dia, Ativo;
  };
  // Texts that would break or change SQL pasted together: quotes, parameter-like
  // names, a time, an attempt to end the statement.
  const Case cases[] = {
      {u"O'Hara", 1234.5, dia, true},
      {u":nome", Variant{}, hora, false},
      {u"às 10:30", -0.25, Variant{}, Variant{}},
      {u"'); drop table itens; --", 1e15, dia, true},
      {u"", 0.0, std::u16string(u"2026-01-31"), false},
  };
  std::int64_t id = 0;
  for (const auto& c : cases) {
    ++id;
    EXPECT_EQ(Exec(u"insert into itens(id, nome, valor, dia, ativo) values(:id, :nome, :valor, :dia, :ATIVO)",
                   {{u"id", T::Inteiro, id},
                    {u"nome", T::Texto, c.Nome},
                    {u"valor", T::Flutuante, c.Valor},
                    {u"dia", T::Data, c.Dia},
                    {u"ativo", T::Booleano, c.Ativo}}),
              1);
  }
  id = 0;
  for (const auto& c : cases) {
    ++id;
    auto q = Select(u"select nome, valor, dia, ativo from itens where id = :id", {{u"id", T::Inteiro, id}});
    ASSERT_FALSE(q->Eof()) << id;
    const std::string at = "row " + std::to_string(id);
    EXPECT_EQ(q->FieldByName(u"NOME"), Variant(c.Nome)) << at;
    EXPECT_EQ(q->FieldByName(u"valor"), c.Valor) << at;
    EXPECT_EQ(q->FieldByName(u"ativo"), c.Ativo) << at;
    const Variant d = q->FieldByName(u"dia");
    if (auto t = std::get_if<TDateTime>(&c.Dia)) {
      ASSERT_TRUE(std::holds_alternative<TDateTime>(d)) << at;
      EXPECT_NEAR(std::get<TDateTime>(d).Value, t->Value, 1e-9) << at;  // to the millisecond
    } else if (std::holds_alternative<std::u16string>(c.Dia)) {
      EXPECT_EQ(d, Variant(EncodeDate(2026, 1, 31))) << at;  // an ISO text given for a date
    } else {
      EXPECT_EQ(d, Variant{}) << at;
    }
    q->Next();
    EXPECT_TRUE(q->Eof());
    EXPECT_EQ(q->FieldByName(u"nome"), Variant{}) << "past the end";
  }
  EXPECT_THROW(Select(u"select 1 as um")->FieldByName(u"dois"), EArgumentError);
  // A date column holding something that is not a date gives its text.
  Exec(u"update itens set dia = 'amanhã' where id = 1");
  EXPECT_EQ(Select(u"select dia from itens where id = 1")->Fields(0), Variant(std::u16string(u"amanhã")));
}

TEST_F(DatabaseHelpers, RecordCountWalksToTheEndAndComesBackToTheFirst) {
  Exec(u"begin");
  for (std::int64_t i = 1; i <= 40; ++i)
    Exec(u"insert into itens(id, valor) values(:id, :valor)",
         {{u"id", T::Inteiro, i}, {u"valor", T::Flutuante, i * 2.5}});
  Exec(u"commit");
  struct Case {
    double Min;
    int Expected;
  };
  for (const Case c : {Case{0, 40}, Case{50, 20}, Case{99.9, 1}, Case{100, 0}}) {
    auto q = Select(u"select id from itens where valor > :min order by id", {{u"min", T::Flutuante, c.Min}});
    EXPECT_EQ(TmRot::RecordCount(*q), c.Expected) << c.Min;
    EXPECT_FALSE(q->ControlsDisabled());
    EXPECT_EQ(TmRot::QueryRecordCount(*q), c.Expected) << c.Min;
    if (c.Expected == 0) {
      EXPECT_TRUE(q->Eof());
      continue;
    }
    ASSERT_FALSE(q->Eof());
    EXPECT_EQ(q->Fields(0), Variant(std::int64_t{41 - c.Expected})) << "back on the first record";
  }
  // A closed query counts nothing and is at its end.
  auto closed = TmRot::CreateQuery(*Db);
  EXPECT_EQ(TmRot::QueryRecordCount(*closed), 0);
}

// A data set whose records are numbers in memory, recording whether controls were
// disabled at each move; it can be told to fail at a record.
class Numbers final : public TzelDataSet {
 public:
  explicit Numbers(int count, int failAt = -1) : FCount(count), FFailAt(failAt) {}
  void First() override { Move(0); }
  void Next() override { Move(FAt + 1); }
  bool Eof() const override { return FAt >= FCount; }
  int At() const { return FAt; }
  bool MovedWithControlsOn = false;

 private:
  void Move(int to) {
    if (!ControlsDisabled()) MovedWithControlsOn = true;
    if (to == FFailAt) throw EDatabaseError(u"disk I/O error");
    FAt = to;
  }
  int FCount, FFailAt, FAt = 0;
};

TEST(RecordCount, DisablesControlsWhileCountingAndEnablesThemAfterAFailure) {
  Numbers ok(5);
  ok.Next();
  ok.Next();
  ok.MovedWithControlsOn = false;
  EXPECT_EQ(TmRot::RecordCount(ok), 5);
  EXPECT_FALSE(ok.MovedWithControlsOn);
  EXPECT_FALSE(ok.ControlsDisabled());
  EXPECT_EQ(ok.At(), 0);

  Numbers failing(5, 3);
  EXPECT_THROW(TmRot::RecordCount(failing), EDatabaseError);
  EXPECT_FALSE(failing.ControlsDisabled());
  EXPECT_EQ(failing.At(), 0);

  // The switch nests: a caller's own disabling is still in force afterwards.
  Numbers nested(3);
  nested.DisableControls();
  EXPECT_EQ(TmRot::RecordCount(nested), 3);
  EXPECT_TRUE(nested.ControlsDisabled());
}

TEST_F(DatabaseHelpers, ErrorsCarryTheDatabaseMessageAndTheStatement) {
  struct Case {
    std::u16string Sql;
    std::vector<TzelParam> Params;
    std::u16string Message;
  };
  const Case cases[] = {
      {u"select * from nada where nome = :nome",
       {{u"nome", T::Texto, std::u16string(u"O'Hara")}},
       u"no such table: nada\r\nselect * from nada where nome = 'O''Hara'"},
      {u"selec 1", {}, u"near \"selec\": syntax error\r\nselec 1"},
      // A parameter nobody gave: the statement is shown as written.
      {u"select * from itens where id = :id",
       {},
       u"Parâmetro \"id\" não localizado!\r\nselect * from itens where id = :id"},
      {u"select 1; select 2", {}, u"Só um comando SQL pode ser aberto de cada vez\r\nselect 1; select 2"},
  };
  for (const auto& c : cases) {
    auto q = TmRot::CreateQuery(*Db);
    q->SQL.Add(c.Sql);
    q->Params = c.Params;
    EXPECT_EQ(DatabaseError(*q), c.Message) << U16ToUtf8(c.Sql);
    EXPECT_FALSE(q->Active());
  }
  // A constraint broken by a write.
  Exec(u"insert into itens(id) values(1)");
  try {
    Exec(u"insert into itens(id) values(:id)", {{u"id", T::Inteiro, std::int64_t{1}}});
    ADD_FAILURE() << "duplicate key accepted";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), u"UNIQUE constraint failed: itens.id\r\ninsert into itens(id) values(1)");
  }
  TzelQuery unbound;
  unbound.SQL.Add(u"select 1");
  EXPECT_THROW(unbound.Open(), EArgumentError);
}

TEST(Databases, AReadOnlyConnectionNeverCreatesTheFile) {
  testing::FileTree files;
  auto& databases = platform::Service<platform::Databases>::Get();
  EXPECT_THROW(databases.Connect(files.Path("nao_existe.db"), true), EDatabaseError);
  EXPECT_FALSE(files.Exists("nao_existe.db"));
  {
    auto db = databases.Connect(files.Path("novo.db"), false);
    db->Execute(u"create table t(x)", {});
  }
  auto ro = databases.Connect(files.Path("novo.db"), true);
  EXPECT_THROW(ro->Execute(u"insert into t values(1)", {}), EDatabaseError);
  // A cursor outlives its connection object.
  auto cursor = ro->Open(u"select count(*) from t", {});
  ro.reset();
  EXPECT_EQ(cursor->Field(0), platform::DbValue(std::int64_t{0}));
}

TEST(ZelmorCript, SwapsPairsAndGivesTheTextBackWhenAppliedTwice) {
  // Texts already kept swapped in settings files depend on the table staying as it is.
  EXPECT_EQ(TmRot::ZelmorCript(u"PDV 01"), u"ÛÃV·¬1");
  EXPECT_EQ(TmRot::ZelmorCript(u"ÛÃV·¬1"), u"PDV 01");
  EXPECT_EQ(TmRot::ZelmorCript(u"caixa"), u"caixa");  // outside the table
  for (char32_t c = 0; c <= 0xFFFF; ++c) {
    const std::u16string one(1, static_cast<char16_t>(c));
    ASSERT_EQ(TmRot::ZelmorCript(TmRot::ZelmorCript(one)), one) << static_cast<unsigned>(c);
  }
}

}  // namespace
}  // namespace zelmor
