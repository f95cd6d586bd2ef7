// The query helpers and the remaining generic helpers through `zelmor call`, on an
// SQLite file the test fills through the library.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "helpers/query.h"
#include "mRotinas.h"
#include "platform/service.h"
#include "testing/file_tree.h"
#include "tests/process_util.h"

namespace zelmor::testing {
namespace {

using nlohmann::json;

TEST(DatabaseCall, QueriesCrossAsJsonAndCountOnARealDatabase) {
  FileTree t;
  {
    auto db = platform::Service<platform::Databases>::Get().Connect(t.Path("loja.db"), false);
    auto q = TmRot::CreateQuery(*db);
    q->SQL.Add(u"create table clientes(id integer primary key, nome text, cidade text);");
    q->SQL.Add(u"insert into clientes(nome, cidade) values(:a, 'Recife'), (:b, 'Recife'), ('Ana', 'Natal')");
    q->SetParam(u"a", TzelFieldType::Texto, std::u16string(u"O'Hara"));
    q->SetParam(u"b", TzelFieldType::Texto, std::u16string(u":cidade"));
    q->ExecSQL();
  }
  const std::string banco = json(t.Native("loja.db")).dump();
  auto count = [&](const char* routine, const std::string& cidade) {
    return R"j([")j" + std::string(routine) +
           R"j(",{"SQL":["select * from clientes","where cidade = :cidade"],"Params":[{"Nome":"cidade","Tipo":"Texto","Valor":)j" +
           json(cidade).dump() + R"j(}],"Banco":)j" + banco + "}]";
  };
  const auto lines = ZelmorBatch({
      count("TmRot.QueryRecordCount", "Recife"),
      count("TmRot.RecordCount", "Natal"),
      count("TmRot.QueryRecordCount", "Recife' or 'x'='x"),  // bound, so it matches nothing
      R"j(["TmRot.QueryRecordCount",{"SQL":"select * from fornecedores","Banco":)j" + banco + "}]",
      R"j(["TmRot.QueryRecordCount",{"SQL":"select 1","Banco":)j" + json(t.Native("nao_existe.db")).dump() + "}]",
      R"j(["TmRot.QueryToSQL",{"SQL":["update t set h = :h,","d = :d where n = :n"],"Params":[)j"
      R"j({"Nome":"h","Valor":"10:30 :n"},{"Nome":"d","Tipo":"Data","Valor":"2026-12-11"},)j"
      R"j({"Nome":"n","Tipo":"Inteiro","Valor":null}]}])j",
      R"j(["TmRot.QueryToSQL",{"SQL":"select :x"}])j",
      R"j(["TmRot.QueryToSQL",{"SQL":"select :x","Params":[{"Nome":"x","Tipo":"Booleano","Valor":true}]}])j",
      R"j(["TmRot.QueryToSQL",{"SQL":"select :x","Params":[{"Nome":"x","Tipo":"Moeda","Valor":1}]}])j",
  });
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[0], json::parse(R"j({"result":2})j"));
  EXPECT_EQ(lines[1], json::parse(R"j({"result":1})j"));
  EXPECT_EQ(lines[2], json::parse(R"j({"result":0})j"));
  EXPECT_EQ(
      lines[3],
      json::parse(R"j({"error":"no such table: fornecedores\r\nselect * from fornecedores","kind":"database"})j"));
  EXPECT_EQ(lines[4].value("kind", ""), "database") << lines[4];
  EXPECT_FALSE(t.Exists("nao_existe.db")) << "a count must not create the database";
  EXPECT_EQ(lines[5],
            json::parse(R"j({"result":"update t set h = '10:30 :n',\r\nd = '2026-12-11' where n = null\r\n"})j"));
  EXPECT_EQ(lines[6], json::parse(R"j({"error":"Parâmetro \"x\" não localizado!","kind":"argument"})j"));
  EXPECT_EQ(
      lines[7],
      json::parse(
          R"j({"error":"Tipo de dados do parâmetro \"x\" não tratado para transofrmar em SQL","kind":"argument"})j"));
  EXPECT_EQ(lines[8].value("kind", ""), "argument") << lines[8];
}

TEST(DatabaseCall, OverloadsArraysAndTheCharacterSwap) {
  struct Case {
    std::string Request;
    const char* Expected;
  };
  const Case cases[] = {
      {R"j(["TmRot.IfThen(bool,int,int)",false,3,4])j", R"j({"result":4})j"},
      {R"j(["TmRot.IfThen(bool,bool,bool)",true,false,true])j", R"j({"result":false})j"},
      {R"j(["TmRot.IfThen(bool,char,char)",true,"S","N"])j", R"j({"result":"S"})j"},
      {R"j(["TmRot.IfThen(bool,variant,variant)",false,"x",null])j", R"j({"result":null})j"},
      {R"j(["TmRot.IfFloat",false,1.5,2.25])j", R"j({"result":2.25})j"},
      {R"j(["TmRot.IfThenDate",true,"2026-12-11","1899-12-30"])j", R"j({"result":"2026-12-11"})j"},
      // Only null takes the default; otherwise the value in the default's type.
      {R"j(["TmRot.IfNull(variant,double)",null,1.5])j", R"j({"result":1.5})j"},
      {R"j(["TmRot.IfNull(variant,double)",7,1.5])j", R"j({"result":7.0})j"},
      {R"j(["TmRot.IfNull(variant,text)",7,"x"])j", R"j({"result":"7"})j"},
      {R"j(["TmRot.IfNull(variant,text)","","x"])j", R"j({"result":""})j"},
      {R"j(["TmRot.IfNull(variant,bool)",null,true])j", R"j({"result":true})j"},
      {R"j(["TmRot.IfNull(variant,bool)",0,true])j", R"j({"result":false})j"},
      {R"j(["TmRot.IfDateNull",null,"2026-12-11"])j", R"j({"result":"2026-12-11"})j"},
      {R"j(["TmRot.AddArrayStr",["a"],"b"])j", R"j({"result":null,"aaStr":["a","b"]})j"},
      {R"j(["TmRot.AddArrayInt",[],7])j", R"j({"result":null,"aaInt":[7]})j"},
      {R"j(["TmRot.ClearArrayInt",[1,2]])j", R"j({"result":null,"aaInt":[]})j"},
      {R"j(["TmRot.ClearArrayStr",["a"]])j", R"j({"result":null,"aaStr":[]})j"},
      // A size beyond the array is clipped, never read past.
      {R"j(["TmRot.ByteArrayToString",[79,108,225],10])j", R"j({"result":"Olá"})j"},
      {R"j(["TmRot.ByteArrayToString",[79,108,225],2])j", R"j({"result":"Ol"})j"},
      {R"j(["TmRot.ByteArrayToString",[256],1])j", nullptr},
      {R"j(["TmRot.ZelmorCript","SENHA 2026"])j", R"j({"result":"ÜÒÝÅØ·2¬26"})j"},
      {R"j(["TmRot.ZelmorCript","ÜÒÝÅØ·2¬26"])j", R"j({"result":"SENHA 2026"})j"},
  };
  std::vector<std::string> requests;
  for (const auto& c : cases) requests.push_back(c.Request);
  const auto lines = ZelmorBatch(requests);
  ASSERT_EQ(lines.size(), std::size(cases));
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (cases[i].Expected)
      EXPECT_EQ(lines[i], json::parse(cases[i].Expected)) << cases[i].Request;
    else
      EXPECT_EQ(lines[i].value("kind", ""), "argument") << cases[i].Request << " gave " << lines[i];
  }
}

}  // namespace
}  // namespace zelmor::testing
