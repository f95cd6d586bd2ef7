// Layout, templates, bases and names routines through `zelmor call`, run as a process.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tests/process_util.h"

namespace zelmor::testing {
namespace {

TEST(TextLayoutCall, EveryThemeAnswers) {
  const std::pair<std::string, std::string> cases[] = {
      {R"j(["TmStr.QuebraTexto","um dois tres",7])j", R"j({"result":null,"asLista":["um dois","tres"]})j"},
      {R"j(["TmStr.JustificarMonoEspacado","a b c",7])j", R"j({"result":"a  b  c"})j"},
      {R"j(["TmStr.FormataParagrafo","um dois tres quatro",10,0,true])j",
       R"j({"result":["um    dois","tres","quatro"]})j"},
      {R"j(["TmStr.FormatarParagrafo",["antes"],"a\r\nb",10])j", R"j({"result":null,"Saida":["antes","a","b"]})j"},
      {R"j(["TmStr.FormataColunas",["1","2","3","4","5","6","7"],[],10,3,2,true])j",
       R"j({"result":null,"Resultado":["1 4 6 ","2 5 7 ","3     "]})j"},
      {R"j(["TmStr.GetStringInfo","aaa bbb ccc",{"CharWidth":10,"LineHeight":20,"ScreenWidth":1000},70])j",
       R"j({"result":{"LineCount":2,"MaxLineWidth":70,"TextHeight":40,"ScreenText":"aaa bbb\r\nccc"}})j"},
      // Without a GUI the installed measurer is the fixed-pitch estimate: 8 × 16 pixels.
      {R"j(["TmStr.GetStringInfo","abc"])j",
       R"j({"result":{"LineCount":1,"MaxLineWidth":24,"TextHeight":16,"ScreenText":"abc"}})j"},
      {R"j(["TmStr.FmtSql","id = {0} and nome = {1}",[5,"O'Neil"]])j", R"j({"result":"id = 5 and nome = 'O''Neil'"})j"},
      {R"j(["TmStr.Fmt","{0} em {1}: {2}",[1234.5,{"DateTime":"2024-03-01"},[1,"a",null]],["flagSQL"]])j",
       R"j({"result":"1234.5 em '2024-03-01': 1, 'a', null"})j"},
      {R"j(["TmStr.Fmt","{0}|{1}|{2}",[{"Currency":1234.5},true,{}],["flagHuman","flagBoolSN"]])j",
       R"j({"result":"1.234,50|S|"})j"},
      {R"j(["TmStr.QuotedList","1,2,3,",","])j", R"j({"result":"'1','2','3'"})j"},
      {R"j(["TmStr.HexaToDecimal","ff"])j", R"j({"result":255})j"},
      {R"j(["TmStr.DecimalToHex",-1])j", R"j({"result":"FFFFFFFF"})j"},
      {R"j(["TmStr.DecToBin",-5])j", R"j({"result":"-101"})j"},
      {R"j(["TmStr.DesHeximiza","4F6CE1"])j", R"j({"result":"Olá"})j"},
      {R"j(["TmStr.Decrip","1030","A"])j", R"j({"result":"a"})j"},
      {R"j(["TmStr.Capitaliza","JOÃO DA SILVA"])j", R"j({"result":"João da Silva"})j"},
      {R"j(["TmStr.AbreviarNome","Comércio de Alimentos Santa Luzia Ltda",30])j",
       R"j({"result":"COM.DE ALIM.SANTA LUZIA LTDA"})j"},
      {R"j(["mStr.IsEmailValido","fulano@empresa.com.br"])j", R"j({"result":true,"osMsgErro":""})j"},
      {R"j(["TmStr.IsEmailValido","a b@x"])j",
       R"j({"result":false,"osMsgErro":"Verifique se o domínio foi informado corretamente (após o @). Para estar correto, ele precisa ter pelo menos um ponto.\rO caracter ' ' é inválido em emails."})j"},
  };
  std::vector<std::string> requests;
  for (const auto& c : cases) requests.push_back(c.first);
  const auto lines = ZelmorBatch(requests);
  ASSERT_EQ(lines.size(), std::size(cases));
  for (std::size_t i = 0; i < lines.size(); ++i)
    EXPECT_EQ(lines[i], nlohmann::json::parse(cases[i].second)) << cases[i].first;
}

TEST(TextLayoutCall, PackedAndScrambledTextsComeBackThroughJson) {
  const auto first = ZelmorBatch({
      R"j(["TmStr.ComprimeString","the tea, Olá"])j",
      R"j(["TmStr.Encrip","Preço à vista","chave"])j",
      R"j(["TmStr.CriptoNumero",1234.5])j",
  });
  ASSERT_EQ(first.size(), 3u);
  const auto second = ZelmorBatch({
      nlohmann::json::array({"TmStr.DescomprimeString", first[0]["result"]}).dump(),
      nlohmann::json::array({"TmStr.Decrip", first[1]["result"], "chave"}).dump(),
      nlohmann::json::array({"TmStr.DescriptoNumero", first[2]["result"]}).dump(),
  });
  ASSERT_EQ(second.size(), 3u);
  EXPECT_EQ(second[0]["result"], "the tea, Olá");
  EXPECT_EQ(second[1]["result"], "Preço à vista");
  EXPECT_EQ(second[2]["result"], "1234,50");
}

TEST(TextLayoutCall, ErrorsKeepTheirKindAndMessage) {
  const auto lines = ZelmorBatch({
      R"j(["TmStr.FmtSql","{0}",[1,2]])j",
      R"j(["TmStr.Fmt","{0}",[1],["flagX"]])j",
      R"j(["TmStr.HexaToDecimal","xyz"])j",
      R"j(["TmStr.ComprimeString","5 €"])j",
      R"j(["TmStr.DescomprimeString","abc"])j",
  });
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0]["error"], "FormatSt. Posição {1} não localizada.");
  EXPECT_EQ(lines[1]["kind"], "argument");
  EXPECT_EQ(lines[2]["kind"], "conversion");
  EXPECT_EQ(lines[2]["error"], "'xyz' não é um valor hexadecimal válido");
  EXPECT_EQ(lines[3]["error"], "O caractere de código 8364 não pode ser compactado.");
  EXPECT_EQ(lines[4]["error"], "Texto compactado inválido: falta a marca de fim.");
}

}  // namespace
}  // namespace zelmor::testing
