// The XML reader on a 1 MB electronic-invoice-sized document: 20 values read by
// path, next to pugixml parsing the same document and reading the same 20 values
// (where pugixml is installed). Both from the file, and both from text in memory.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "core/cp1252.h"
#include "testing/file_tree.h"
#include "xml/mXML.h"

#ifdef ZELMOR_HAVE_PUGIXML
#include <pugixml.hpp>
#endif

namespace zelmor {
namespace {

using testing::FileTree;

// An invoice with its header, parties, ~500 items and the totals at the end.
std::string Invoice() {
  std::string x = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><nfeProc versao=\"4.00\"><NFe><infNFe Id=\"NFe35180512345678000195550010000012341000012345\" versao=\"4.00\">"
                  "<ide><cUF>35</cUF><cNF>00001234</cNF><natOp>VENDA</natOp><mod>55</mod><serie>1</serie><nNF>1234</nNF>"
                  "<dhEmi>2018-05-02T10:11:12-03:00</dhEmi><tpNF>1</tpNF></ide>"
                  "<emit><CNPJ>12345678000195</CNPJ><xNome>EMPRESA &amp; FILHOS LTDA</xNome><enderEmit><xLgr>RUA A</xLgr>"
                  "<nro>100</nro><xMun>SAO PAULO</xMun><UF>SP</UF></enderEmit><IE>123456789012</IE></emit>"
                  "<dest><CPF>12345678909</CPF><xNome>CLIENTE</xNome><enderDest><xMun>CAMPINAS</xMun><UF>SP</UF></enderDest></dest>";
  for (int i = 1; x.size() < 1000000 - 2000; ++i) {
    const std::string n = std::to_string(i);
    x += "<det nItem=\"" + n + "\"><prod><cProd>" + n + "</cProd><cEAN>7891234567895</cEAN><xProd>PRODUTO DE TESTE NUMERO " +
         n + " COM DESCRICAO LONGA PARA OCUPAR ESPACO</xProd><NCM>22030000</NCM><CFOP>5102</CFOP><uCom>UN</uCom>"
         "<qCom>1.0000</qCom><vUnCom>10.00</vUnCom><vProd>10.00</vProd></prod><imposto><ICMS><ICMS00><orig>0</orig>"
         "<CST>00</CST><modBC>3</modBC><vBC>10.00</vBC><pICMS>18.00</pICMS><vICMS>1.80</vICMS></ICMS00></ICMS>"
         "<PIS><PISAliq><CST>01</CST><vBC>10.00</vBC><pPIS>1.65</pPIS><vPIS>0.17</vPIS></PISAliq></PIS></imposto></det>";
  }
  x += "<total><ICMSTot><vBC>5000.00</vBC><vICMS>900.00</vICMS><vProd>5000.00</vProd><vFrete>0.00</vFrete>"
       "<vDesc>0.00</vDesc><vPIS>85.00</vPIS><vCOFINS>390.00</vCOFINS><vNF>5000.00</vNF></ICMSTot></total>"
       "<transp><modFrete>9</modFrete></transp><infAdic><infCpl>OBRIGADO</infCpl></infAdic></infNFe></NFe>"
       "<protNFe versao=\"4.00\"><infProt><nProt>135180000000001</nProt><cStat>100</cStat></infProt></protNFe></nfeProc>";
  return x;
}

// The 20 values, as paths below nfeProc/NFe/infNFe.
const std::vector<std::vector<std::u16string>>& Paths() {
  static const std::vector<std::vector<std::u16string>> p = {
      {u"ide", u"cUF"},          {u"ide", u"nNF"},           {u"ide", u"serie"},         {u"ide", u"dhEmi"},
      {u"ide", u"natOp"},        {u"emit", u"CNPJ"},         {u"emit", u"xNome"},        {u"emit", u"IE"},
      {u"emit", u"enderEmit", u"xMun"}, {u"emit", u"enderEmit", u"UF"}, {u"dest", u"CPF"}, {u"dest", u"xNome"},
      {u"dest", u"enderDest", u"xMun"}, {u"total", u"ICMSTot", u"vBC"}, {u"total", u"ICMSTot", u"vICMS"},
      {u"total", u"ICMSTot", u"vProd"}, {u"total", u"ICMSTot", u"vNF"}, {u"total", u"ICMSTot", u"vPIS"},
      {u"transp", u"modFrete"},  {u"infAdic", u"infCpl"},
  };
  return p;
}

const FileTree& Files() {
  static const std::unique_ptr<FileTree> t = [] {
    auto f = std::make_unique<FileTree>();
    f->Write("nfe.xml", Invoice());
    return f;
  }();
  return *t;
}

// The way callers read many values: narrow to infNFe once, then read inside it.
std::size_t ReadOurs(const TmXMLLeitura& doc) {
  std::u16string inf;
  doc.Elemento(TzelArrayString{u"nfeProc", u"NFe", u"infNFe"}, inf);
  std::size_t total = 0;
  for (const auto& p : Paths()) total += TmXMLLeitura::ElementoStr(inf, p, u"").size();
  return total;
}

void BM_XmlReaderFromFile(benchmark::State& state) {
  const std::u16string path = Files().Path("nfe.xml");
  for (auto _ : state) {
    TmXMLLeitura doc(path);
    if (ReadOurs(doc) == 0) state.SkipWithError("nothing read");
  }
  state.SetBytesProcessed(state.iterations() * 1000000);
}
BENCHMARK(BM_XmlReaderFromFile)->Unit(benchmark::kMillisecond);

void BM_XmlReaderInMemory(benchmark::State& state) {
  TmXMLLeitura doc;
  doc.SetXML(cp1252::Decode(Invoice()));
  for (auto _ : state) benchmark::DoNotOptimize(ReadOurs(doc));
}
BENCHMARK(BM_XmlReaderInMemory)->Unit(benchmark::kMillisecond);

// Each of the 20 paths from the top of the whole document, as a naive caller does.
void BM_XmlReaderWholeDocumentPaths(benchmark::State& state) {
  TmXMLLeitura doc;
  doc.SetXML(cp1252::Decode(Invoice()));
  for (auto _ : state) {
    std::size_t total = 0;
    for (const auto& p : Paths()) {
      TzelArrayString full{u"nfeProc", u"NFe", u"infNFe"};
      full.insert(full.end(), p.begin(), p.end());
      total += doc.ElementoStr(full, u"").size();
    }
    benchmark::DoNotOptimize(total);
  }
}
BENCHMARK(BM_XmlReaderWholeDocumentPaths)->Unit(benchmark::kMillisecond);

#ifdef ZELMOR_HAVE_PUGIXML
std::size_t ReadPugi(const pugi::xml_document& doc) {
  const pugi::xml_node inf = doc.child("nfeProc").child("NFe").child("infNFe");
  std::size_t total = 0;
  for (const auto& p : Paths()) {
    pugi::xml_node n = inf;
    for (const auto& k : p) n = n.child(std::string(k.begin(), k.end()).c_str());
    total += std::char_traits<char>::length(n.child_value());
  }
  return total;
}

void BM_PugixmlFromFile(benchmark::State& state) {
  const std::string path = Files().Native("nfe.xml");
  for (auto _ : state) {
    pugi::xml_document doc;
    if (!doc.load_file(path.c_str()) || ReadPugi(doc) == 0) state.SkipWithError("pugixml failed");
  }
  state.SetBytesProcessed(state.iterations() * 1000000);
}
BENCHMARK(BM_PugixmlFromFile)->Unit(benchmark::kMillisecond);

void BM_PugixmlInMemory(benchmark::State& state) {
  const std::string text = Invoice();
  for (auto _ : state) {
    pugi::xml_document doc;
    doc.load_buffer(text.data(), text.size());
    benchmark::DoNotOptimize(ReadPugi(doc));
  }
}
BENCHMARK(BM_PugixmlInMemory)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
}  // namespace zelmor
