// The text and number routines through `zelmor call`, run as a process.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tests/process_util.h"

namespace zelmor::testing {
namespace {

TEST(TextNumbersCall, EveryThemeAnswers) {
  const std::pair<std::string, std::string> cases[] = {
      {R"j(["TmStr.SomenteNumeros","R$ 1.234,56"])j", R"j({"result":"1234,56"})j"},
      {R"j(["mStr.RemoveAcentos","Ação º",false])j", R"j({"result":"Acao º"})j"},
      {R"j(["TmStr.Somente"," 12ab34 ","0123456789"])j", R"j({"result":"1234"})j"},
      {R"j(["TmStr.Ansi2Asc","JoæE3o"])j", R"j({"result":"João"})j"},
      {R"j(["TmStr.Contem","São Paulo",["RJ","SÃO PAULO"]])j", R"j({"result":true})j"},
      {R"j(["TmStr.Concatena","a","b",", "])j", R"j({"result":null,"asEste":"a, b"})j"},
      {R"j(["TmStr.Concatena",["","a","","b"],","])j", R"j({"result":"a,,b"})j"},
      {R"j(["TmStr.ArrayStrConcatToStr",["x","y"],";",true])j", R"j({"result":"'x';'y'"})j"},
      {R"j(["TmStr.ArrayCharToString",["a","b"]])j", R"j({"result":"ab"})j"},
      {R"j(["TmStr.AddArray",[1,2],3])j", R"j({"result":null,"aalista":[1,2,3]})j"},
      {R"j(["TmStr.Split","a,,b",","])j", R"j({"result":["a","","b"]})j"},
      {R"j(["TmStr.SplitB","a;;b",";",[]])j", R"j({"result":null,"aoOut":["a",";",";","b"]})j"},
      {R"j(["TmStr.CopyStr","abc[def]ghi","[","]"])j", R"j({"result":"def"})j"},
      {R"j(["TmConv.Str2Float","(1.234,56)"])j", R"j({"result":-1234.56})j"},
      {R"j(["mConv.Trunca",0.29,2])j", R"j({"result":0.29})j"},
      {R"j(["TmConv.ArredondaAritmetica",2.675,2])j", R"j({"result":2.68})j"},
      {R"j(["TmConv.IsMultiplo(double,double)",1,1])j", R"j({"result":true})j"},
      {R"j(["TmConv.IsMultiplo",1,1])j", R"j({"result":false})j"},
      {R"j(["TmConv.StrAnsiToDate","'12/05/2018 10:30:00'","1899-12-30",true])j",
       R"j({"result":"2018-12-05T10:30:00"})j"},
  };
  std::vector<std::string> requests;
  for (const auto& c : cases) requests.push_back(c.first);
  const auto lines = ZelmorBatch(requests);
  ASSERT_EQ(lines.size(), std::size(cases));
  for (std::size_t i = 0; i < lines.size(); ++i)
    EXPECT_EQ(lines[i], nlohmann::json::parse(cases[i].second)) << cases[i].first;
}

TEST(TextNumbersCall, ErrorsKeepTheirKindAndMessage) {
  const auto lines = ZelmorBatch({
      R"j(["TmConv.StrFormated2Float","abc"])j",
      R"j(["TmConv.Divide",1,0])j",
      R"j(["TmConv.Modulo10","12a"])j",
      R"j(["TmStr.GetStringPart","a;b",";",-1])j",
      R"j(["TmStr.ArrayCharToString",["ab"]])j",
  });
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0]["kind"], "conversion");
  EXPECT_EQ(lines[0]["error"], "'' não é um valor de ponto flutuante válido");
  EXPECT_EQ(lines[1]["kind"], "zero-divide");
  EXPECT_EQ(lines[2]["error"], "'a' não é um valor inteiro válido");
  EXPECT_EQ(lines[3]["kind"], "list");
  EXPECT_EQ(lines[4]["kind"], "argument");
}

}  // namespace
}  // namespace zelmor::testing
