// The XML reader, zip archives and FTP transfers through `zelmor call`, on real
// files and against a real FTP server on 127.0.0.1.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "ftp/testdata/ftp_server_process.h"
#include "testing/file_tree.h"
#include "tests/process_util.h"

namespace zelmor::testing {
namespace {

using nlohmann::json;

std::string Quoted(const std::string& s) { return json(s).dump(); }

TEST(ExchangeCall, XmlReader) {
  FileTree t;
  t.Write("nota.xml",
          "<NFe><infNFe Id=\"NFe35\" versao=\"4.00\"><ide><nNF>1234</nNF><dhEmi>2018-05-02</dhEmi></ide>"
          "<emit><xNome>A &amp;amp; B</xNome></emit><det>1</det><det>2</det></infNFe></NFe>");
  const auto lines = ZelmorBatch({
      R"j(["TmXMLLeitura.XML",)j" + Quoted(t.Native("nota.xml")) + "]",
      R"j(["TmXMLLeitura.ElementoInt","<a><b>42</b></a>",["a","b"],-1])j",
      R"j(["TmXMLLeitura.ElementoStr","<e>A &amp;amp; B</e>",["e"]])j",
      R"j(["TmXMLLeitura.Elemento","<a>1</a><a>2</a>","a",1,""])j",
      R"j(["TmXMLLeitura.ElementoLista","<a>1</a><a>2</a>","a",[]])j",
      R"j(["TmXMLLeitura.AtributoStr","<i Id=\"NFe35\" versao=\"4.00\">","i","versao"])j",
      R"j(["TmXMLLeitura.ElementoDt","<d>2018-05-02T10:11:12-03:00</d>",["d"]])j",
      R"j(["TmXMLLeitura.pfTagValida","<![CDATA[a &amp; b]]>"])j",
      R"j(["TmXMLLeitura.XML",)j" + Quoted(t.Native("falta.xml")) + "]",
  });
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[0]["result"].get<std::string>().substr(0, 5), "<NFe>");
  EXPECT_EQ(lines[1], json::parse(R"j({"result":42})j"));
  EXPECT_EQ(lines[2], json::parse(R"j({"result":"A &amp; B"})j"));
  EXPECT_EQ(lines[3], json::parse(R"j({"result":true,"aiPosInicial":6,"asResult":"1"})j"));
  EXPECT_EQ(lines[4], json::parse(R"j({"result":true,"aaResult":["1","2"]})j"));
  EXPECT_EQ(lines[5], json::parse(R"j({"result":"4.00"})j"));
  EXPECT_EQ(lines[6], json::parse(R"j({"result":"2018-05-02T10:11:12"})j"));
  EXPECT_EQ(lines[7], json::parse(R"j({"result":"a & b"})j"));
  EXPECT_EQ(lines[8]["kind"], "file");
}

TEST(ExchangeCall, ZipRoundTrip) {
  FileTree t;
  t.Write("src/a.txt", "aaa");
  t.Write("src/nota.xml", "<n/>");
  const auto lines = ZelmorBatch({
      R"j(["TZip.Compactar",)j" + Quoted(t.Native("src/*")) + "," + Quoted(t.Native("x.zip")) + "]",
      R"j(["TZip.Compactar",[)j" + Quoted(t.Native("src/a.txt")) + "]," + Quoted(t.Native("y.zip")) + "]",
      R"j(["TZip.DescompactarRetornarNomes",)j" + Quoted(t.Native("x.zip")) + "," + Quoted(t.Native("d")) +
          R"j(,"*.XML",[]])j",
      R"j(["TZip.DescompactarRetornarNome",)j" + Quoted(t.Native("y.zip")) + "," + Quoted(t.Native("e/")) +
          R"j(,"*.pdf",""])j",
      R"j(["TZip.Descompactar",)j" + Quoted(t.Native("falta.zip")) + "," + Quoted(t.Native("e/")) + "]",
  });
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], json::parse(R"j({"result":true})j"));
  EXPECT_EQ(lines[1], json::parse(R"j({"result":true})j"));
  EXPECT_EQ(lines[2]["result"], true);
  EXPECT_EQ(lines[2]["Arquivos"], json::array({t.Native("d/nota.xml")}));
  EXPECT_EQ(t.Read("d/nota.xml"), "<n/>");
  EXPECT_EQ(lines[3], json::parse(R"j({"result":false,"NomeArquivo":""})j"));
  EXPECT_EQ(lines[4]["kind"], "file");
}

TEST(ExchangeCall, FtpOneCallTransfers) {
  if (!FtpServerProcess::Available()) GTEST_SKIP() << "python3-pyftpdlib is not installed";
  FileTree t;
  t.Write("remoto/web/Versoes.ini", "[versao]\r\n");
  t.Write("local/envio.txt", "0123456789");
  t.Folder("baixados");
  FtpServerProcess server(ZELMOR_FTP_TESTDATA "/ftp_server.py", t.Native("remoto"), "caixa", "s3nha",
                          {"--lifetime", "60"});
  ASSERT_GT(server.Port(), 0);
  const std::string login = R"j("127.0.0.1","caixa","s3nha",)j" + std::to_string(server.Port()) + ",";
  const auto lines = ZelmorBatch({
      R"j(["TZelmorFTP.Download",)j" + login + R"j("/web/Versoes.ini",)j" + Quoted(t.Native("baixados")) + ",true]",
      R"j(["TZelmorFTP.Download",)j" + login + R"j("/web/falta.ini",)j" + Quoted(t.Native("baixados")) + "]",
      R"j(["TZelmorFTP.Upload",)j" + login + Quoted(t.Native("local/envio.txt")) + R"j(,"/web"])j",
      R"j(["TZelmorFTP.Download","127.0.0.1","caixa","errada",)j" + std::to_string(server.Port()) +
          R"j(,"/web/Versoes.ini","/tmp"])j",
  });
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0]["result"], true);
  EXPECT_EQ(t.Read("baixados/Versoes.ini"), "[versao]\r\n");
  EXPECT_EQ(lines[1]["result"], false);
  EXPECT_EQ(lines[1]["MsgErro"].get<std::string>().substr(0, 4), "550 ");
  EXPECT_EQ(lines[2]["result"], true);
  EXPECT_EQ(t.Read("remoto/web/envio.txt"), "0123456789");
  EXPECT_EQ(lines[3]["kind"], "network");
}

}  // namespace
}  // namespace zelmor::testing
