// The XML reader against pugixml on electronic invoices of 1 MB and 10 MB: the same
// queries on the same text in the same process (20 values by path, the key attribute
// and every item's product code), each side keeping its document object from one
// round to the next as a program reading invoice after invoice does. pugixml parses
// and queries; the reader takes the text and queries. Run the pairs interleaved:
//   xml_bench --benchmark_enable_random_interleaving=true --benchmark_repetitions=10
// (tools/bench/compare_xml.sh does that and prints the ratios).
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/cp1252.h"
#include "platform/file_system.h"
#include "testing/file_tree.h"
#include "textfile/text_file.h"
#include "xml/mXML.h"

#ifdef ZELMOR_HAVE_PUGIXML
#include <pugixml.hpp>
#endif

namespace zelmor {
namespace {

using testing::FileTree;

// An invoice of about `bytes` bytes: header, parties, items, and the totals at the end.
std::string Invoice(std::size_t bytes) {
  std::string x =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?><nfeProc versao=\"4.00\"><NFe><infNFe Id=\"NFe35180512345678000195550010000012341000012345\" versao=\"4.00\">"
      "<ide><cUF>35</cUF><cNF>00001234</cNF><natOp>VENDA</natOp><mod>55</mod><serie>1</serie><nNF>1234</nNF>"
      "<dhEmi>2018-05-02T10:11:12-03:00</dhEmi><tpNF>1</tpNF></ide>"
      "<emit><CNPJ>12345678000195</CNPJ><xNome>EMPRESA &amp; FILHOS LTDA</xNome><enderEmit><xLgr>RUA A</xLgr>"
      "<nro>100</nro><xMun>SAO PAULO</xMun><UF>SP</UF></enderEmit><IE>123456789012</IE></emit>"
      "<dest><CPF>12345678909</CPF><xNome>CLIENTE</xNome><enderDest><xMun>CAMPINAS</xMun><UF>SP</UF></enderDest></dest>";
  for (int i = 1; x.size() < bytes - 2000; ++i) {
    const std::string n = std::to_string(i);
    x +=
        "<det nItem=\"" + n + "\"><prod><cProd>" + n +
        "</cProd><cEAN>7891234567895</cEAN><xProd>PRODUTO DE TESTE NUMERO " + n +
        " COM DESCRICAO LONGA PARA OCUPAR ESPACO</xProd><NCM>22030000</NCM><CFOP>5102</CFOP><uCom>UN</uCom>"
        "<qCom>1.0000</qCom><vUnCom>10.00</vUnCom><vProd>10.00</vProd></prod><imposto><ICMS><ICMS00><orig>0</orig>"
        "<CST>00</CST><modBC>3</modBC><vBC>10.00</vBC><pICMS>18.00</pICMS><vICMS>1.80</vICMS></ICMS00></ICMS>"
        "<PIS><PISAliq><CST>01</CST><vBC>10.00</vBC><pPIS>1.65</pPIS><vPIS>0.17</vPIS></PISAliq></PIS></imposto></det>";
  }
  x +=
      "<total><ICMSTot><vBC>5000.00</vBC><vICMS>900.00</vICMS><vProd>5000.00</vProd><vFrete>0.00</vFrete>"
      "<vDesc>0.00</vDesc><vPIS>85.00</vPIS><vCOFINS>390.00</vCOFINS><vNF>5000.00</vNF></ICMSTot></total>"
      "<transp><modFrete>9</modFrete></transp><infAdic><infCpl>OBRIGADO</infCpl></infAdic></infNFe></NFe>"
      "<protNFe versao=\"4.00\"><infProt><nProt>135180000000001</nProt><cStat>100</cStat></infProt></protNFe></nfeProc>";
  return x;
}

// The 20 values, as paths below nfeProc/NFe/infNFe.
const std::vector<TzelArrayString>& Paths() {
  static const std::vector<TzelArrayString> p = {
      {u"ide", u"cUF"},
      {u"ide", u"nNF"},
      {u"ide", u"serie"},
      {u"ide", u"dhEmi"},
      {u"ide", u"natOp"},
      {u"emit", u"CNPJ"},
      {u"emit", u"xNome"},
      {u"emit", u"IE"},
      {u"emit", u"enderEmit", u"xMun"},
      {u"emit", u"enderEmit", u"UF"},
      {u"dest", u"CPF"},
      {u"dest", u"xNome"},
      {u"dest", u"enderDest", u"xMun"},
      {u"total", u"ICMSTot", u"vBC"},
      {u"total", u"ICMSTot", u"vICMS"},
      {u"total", u"ICMSTot", u"vProd"},
      {u"total", u"ICMSTot", u"vNF"},
      {u"total", u"ICMSTot", u"vPIS"},
      {u"transp", u"modFrete"},
      {u"infAdic", u"infCpl"},
  };
  return p;
}

const std::vector<TzelArrayString>& FullPaths() {
  static const std::vector<TzelArrayString> p = [] {
    std::vector<TzelArrayString> r;
    for (const auto& tail : Paths()) {
      TzelArrayString full{u"nfeProc", u"NFe", u"infNFe"};
      full.insert(full.end(), tail.begin(), tail.end());
      r.push_back(std::move(full));
    }
    return r;
  }();
  return p;
}

// One document per size, as bytes, as the reader's text and as a file.
struct Input {
  std::string bytes;
  std::u16string text;
  std::unique_ptr<FileTree> files;
};

const Input& InputOf(std::size_t megabytes) {
  static std::map<std::size_t, Input> inputs;
  auto [it, fresh] = inputs.try_emplace(megabytes);
  if (fresh) {
    it->second.bytes = Invoice(megabytes * 1000000);
    it->second.text = cp1252::Decode(it->second.bytes);
    it->second.files = std::make_unique<FileTree>();
    it->second.files->Write("nfe.xml", it->second.bytes);
  }
  return it->second;
}

// What each side reads, kept between rounds as a program keeps its buffers.
template <class Str>
struct Answers {
  std::vector<Str> values = std::vector<Str>(FullPaths().size());
  Str id;
  std::vector<Str> products;
};

void Query(const TmXMLLeitura& doc, Answers<std::u16string>& a) {
  for (std::size_t i = 0; i < FullPaths().size(); ++i) a.values[i] = doc.ElementoStr(FullPaths()[i], u"");
  a.id = doc.AtributoStr(u"infNFe", u"Id", u"");
  doc.Elemento(u"cProd", a.products);
}

// The same through the overloads on a given text, narrowed to infNFe first.
void QueryNarrowed(const TmXMLLeitura& doc, Answers<std::u16string>& a) {
  std::u16string inf;
  doc.Elemento(TzelArrayString{u"nfeProc", u"NFe", u"infNFe"}, inf);
  for (std::size_t i = 0; i < Paths().size(); ++i)
    a.values[i] = TmXMLLeitura::pfConvertSpecialEntities(TmXMLLeitura::ElementoStr(inf, Paths()[i], u""));
  a.id = doc.AtributoStr(u"infNFe", u"Id", u"");
  TmXMLLeitura::Elemento(inf, u"cProd", a.products);
}

std::size_t Megabytes(const benchmark::State& state) { return static_cast<std::size_t>(state.range(0)); }

void Finish(benchmark::State& state, bool ok, const char* what) {
  if (!ok) state.SkipWithError(what);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(InputOf(Megabytes(state)).bytes.size()));
}

bool Plausible(const Answers<std::u16string>& a) {
  return a.values[0] == u"35" && a.values[19] == u"OBRIGADO" && a.values[6] == u"EMPRESA & FILHOS LTDA" &&
         a.id.size() == 47 && a.products.size() > 1000;
}

void BM_Reader(benchmark::State& state) {
  const Input& in = InputOf(Megabytes(state));
  TmXMLLeitura doc;
  Answers<std::u16string> a;
  for (auto _ : state) {
    doc.SetXML(in.text);
    Query(doc, a);
  }
  Finish(state, Plausible(a), "the reader read something else");
}
BENCHMARK(BM_Reader)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_ReaderNarrowed(benchmark::State& state) {
  const Input& in = InputOf(Megabytes(state));
  TmXMLLeitura doc;
  Answers<std::u16string> a;
  for (auto _ : state) {
    doc.SetXML(in.text);
    QueryNarrowed(doc, a);
  }
  Finish(state, Plausible(a), "the reader read something else");
}
BENCHMARK(BM_ReaderNarrowed)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_ReaderFromFile(benchmark::State& state) {
  const std::u16string path = InputOf(Megabytes(state)).files->Path("nfe.xml");
  TmXMLLeitura doc;
  Answers<std::u16string> a;
  for (auto _ : state) {
    doc.SetArquivo(path);
    Query(doc, a);
  }
  Finish(state, Plausible(a), "the reader read something else");
}
BENCHMARK(BM_ReaderFromFile)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

// Loading alone, split in two: the file's bytes, then those bytes as the reader's
// text (Windows-1252 lines into UTF-16), which pugixml does not do; it parses the
// UTF-8 bytes where they lie.
void BM_FileBytes(benchmark::State& state) {
  const std::u16string path = InputOf(Megabytes(state)).files->Path("nfe.xml");
  std::string bytes;
  for (auto _ : state) {
    if (!platform::Service<platform::FileSystem>::Get().ReadAll(path, bytes)) state.SkipWithError("no file");
    benchmark::DoNotOptimize(bytes.data());
  }
  Finish(state, bytes == InputOf(Megabytes(state)).bytes, "the bytes read are not the file's");
}
BENCHMARK(BM_FileBytes)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_FileText(benchmark::State& state) {
  const std::u16string path = InputOf(Megabytes(state)).files->Path("nfe.xml");
  std::u16string text;
  for (auto _ : state) {
    text_file::ReadAnsiText(path, text);
    benchmark::DoNotOptimize(text.data());
  }
  Finish(state, text == InputOf(Megabytes(state)).text + u"\r\n", "the text read is not the file's");
}
BENCHMARK(BM_FileText)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

#ifdef ZELMOR_HAVE_PUGIXML
void Query(const pugi::xml_document& doc, Answers<std::string>& a) {
  const pugi::xml_node inf = doc.child("nfeProc").child("NFe").child("infNFe");
  for (std::size_t i = 0; i < Paths().size(); ++i) {
    pugi::xml_node n = inf;
    for (const auto& k : Paths()[i]) n = n.child(std::string(k.begin(), k.end()).c_str());
    a.values[i] = n.child_value();
  }
  a.id = inf.attribute("Id").value();
  a.products.clear();
  for (pugi::xml_node det : inf.children("det")) a.products.emplace_back(det.child("prod").child_value("cProd"));
}

// Both sides must read the same values, or the comparison means nothing.
bool SameAnswers(const Answers<std::string>& theirs, std::size_t megabytes) {
  TmXMLLeitura doc;
  doc.SetXML(InputOf(megabytes).text);
  Answers<std::u16string> ours;
  Query(doc, ours);
  auto same = [](const std::string& t, const std::u16string& o) { return cp1252::Decode(t) == o; };
  for (std::size_t i = 0; i < ours.values.size(); ++i)
    if (!same(theirs.values[i], ours.values[i])) return false;
  if (!same(theirs.id, ours.id) || theirs.products.size() != ours.products.size()) return false;
  for (std::size_t i = 0; i < ours.products.size(); ++i)
    if (!same(theirs.products[i], ours.products[i])) return false;
  return Plausible(ours);
}

void BM_Pugixml(benchmark::State& state) {
  const Input& in = InputOf(Megabytes(state));
  pugi::xml_document doc;
  Answers<std::string> a;
  bool parsed = true;
  for (auto _ : state) {
    parsed = doc.load_buffer(in.bytes.data(), in.bytes.size()) && parsed;
    Query(doc, a);
  }
  Finish(state, parsed && SameAnswers(a, Megabytes(state)), "pugixml read something else");
}
BENCHMARK(BM_Pugixml)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_PugixmlFromFile(benchmark::State& state) {
  const std::string path = InputOf(Megabytes(state)).files->Native("nfe.xml");
  pugi::xml_document doc;
  Answers<std::string> a;
  bool parsed = true;
  for (auto _ : state) {
    parsed = doc.load_file(path.c_str()) && parsed;
    Query(doc, a);
  }
  Finish(state, parsed && SameAnswers(a, Megabytes(state)), "pugixml read something else");
}
BENCHMARK(BM_PugixmlFromFile)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
}  // namespace zelmor
