#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "calendar/calendar.h"
#include "core/cp1252.h"
#include "core/errors.h"
#include "testing/file_tree.h"
#include "testing/fixtures.h"
#include "xml/mXML.h"

namespace zelmor {
namespace {

using SV = std::u16string_view;
using X = TmXMLLeitura;

TEST(XmlReaderTest, WhichOccurrenceIsFound) {
  struct {
    SV xml, key;
    bool keep;
    bool found;
    SV result;
  } cases[] = {
      {u"<a>1</a><a>2</a>", u"a", false, true, u"1"},
      {u"<a></a><a>2</a>", u"a", false, false, u""},  // an empty element ends the search
      {u"<a x=\"1\">v</a>", u"a", false, true, u"v"},
      {u"<a x=\"1\">v</a>", u"a", true, true, u"<a x=\"1\">v</a>"},
      {u"<a>v</a>", u"a", true, true, u"<a>v</a>"},
      {u"<a />", u"a", false, false, u""},
      {u"<a/>", u"a", false, false, u""},                      // neither tag form matches
      {u"<ab>1</ab><a>2</a>", u"a", false, true, u"2"},        // whole names only
      {u"<a />x<a>2</a>", u"a", false, true, u"2"},            // a plain start tag wins over "<a />"
      {u"<a />x<a y=\"1\">2</a>", u"a", false, false, u""},    // otherwise "<a />" ends the search
      {u"<a x=\"1\" />", u"a", true, true, u"<a x=\"1\" />"},  // ended by "/>"
      {u"<a x=\"1\" />", u"a", false, false, u""},             // no content between > and />? "/>" is before
      {u"<A>1</A>", u"a", false, false, u""},                  // case-sensitive
      {u"<a><a>x</a></a>", u"a", false, true, u"<a>x"},        // same-name nesting does not pair
      {u"<a> &amp; </a>", u"a", false, true, u" &amp; "},      // content as written
      // A stray end tag before the start tag does not hide the element.
      {u"</a><a>1</a>", u"a", false, true, u"1"},
      {u"<a>1", u"a", false, false, u""},
      {u"", u"a", false, false, u""},
  };
  for (const auto& c : cases) {
    std::u16string r = u"lixo";
    EXPECT_EQ(X::Elemento(c.xml, c.key, r, c.keep), c.found) << std::string(c.xml.begin(), c.xml.end());
    EXPECT_EQ(r, c.result) << std::string(c.xml.begin(), c.xml.end());
  }
}

TEST(XmlReaderTest, PositionsMovePastEachEndTag) {
  int p = 1;
  std::u16string r;
  ASSERT_TRUE(X::Elemento(u"<a>1</a><a>22</a>", u"a", p, r, false));
  EXPECT_EQ(r, u"1");
  EXPECT_EQ(p, 6);  // just after the "<" of "</a>"
  ASSERT_TRUE(X::Elemento(u"<a>1</a><a>22</a>", u"a", p, r, false));
  EXPECT_EQ(r, u"22");
  EXPECT_FALSE(X::Elemento(u"<a>1</a><a>22</a>", u"a", p, r, false));
  p = 1000;  // past the end
  EXPECT_FALSE(X::Elemento(u"<a>1</a>", u"a", p, r, false));
}

TEST(XmlReaderTest, EveryOccurrenceStopsAtTheFirstItCannotTake) {
  struct {
    SV xml;
    TzelArrayString expected;
  } cases[] = {
      {u"<a>1</a><a>2</a>", {u"1", u"2"}},          {u"<a></a><a>2</a>", {}}, {u"<a>1</a><a></a><a>3</a>", {u"1"}},
      {u"<a>1</a>x<a y=\"z\">2</a>", {u"1", u"2"}}, {u"<b>1</b>", {}},
  };
  for (const auto& c : cases) {
    TzelArrayString r{u"lixo"};
    EXPECT_EQ(X::Elemento(c.xml, u"a", r, false), !c.expected.empty());
    EXPECT_EQ(r, c.expected);
  }
}

TEST(XmlReaderTest, PathsAreChainsOfFirstOccurrences) {
  const SV xml =
      u"<pedido><num>1</num><cliente><nome>Ana</nome></cliente><nome>Outro</nome></pedido>"
      u"<pedido><cliente><nome>Bia</nome></cliente></pedido>";
  std::u16string r;
  EXPECT_TRUE(X::Elemento(xml, TzelArrayString{u"pedido", u"cliente", u"nome"}, r));
  EXPECT_EQ(r, u"Ana");
  EXPECT_FALSE(X::Elemento(xml, TzelArrayString{u"pedido", u"fornecedor", u"nome"}, r));
  EXPECT_EQ(r, u"");
  EXPECT_FALSE(X::Elemento(xml, TzelArrayString{}, r));
  EXPECT_TRUE(X::Elemento(xml, TzelArrayString{u"pedido", u"cliente"}, r, true));
  EXPECT_EQ(r, u"<cliente><nome>Ana</nome></cliente>");
}

TEST(XmlReaderTest, TypedReadersFallBackToTheirDefaults) {
  testing::FixedRegionalSettings brasil;
  const SV xml =
      u"<n><i>42</i><x>abc</x><f>12.50</f><g>1.234,5</g><d>2018-05-02</d>"
      u"<t>2018-05-02T10:11:12-03:00</t><br>02/05/2018</br><e>a &amp;amp; b</e></n>";
  EXPECT_EQ(X::ElementoInt(xml, {u"n", u"i"}, -1), 42);
  EXPECT_EQ(X::ElementoInt(xml, {u"n", u"x"}, -1), -1);
  EXPECT_EQ(X::ElementoInt(xml, {u"n", u"falta"}, -1), -1);
  EXPECT_DOUBLE_EQ(X::ElementoFloat(xml, {u"n", u"f"}, -1), 12.5);
  EXPECT_DOUBLE_EQ(X::ElementoFloat(xml, {u"n", u"g"}, -1), -1);  // "1,234,5" does not convert
  EXPECT_EQ(X::ElementoCurr(xml, {u"n", u"f"}, Currency::FromRaw(1)).Raw, 125000);
  EXPECT_EQ(X::ElementoCurr(xml, {u"n", u"x"}, Currency::FromRaw(7)).Raw, 7);
  EXPECT_DOUBLE_EQ(X::ElementoDt(xml, {u"n", u"d"}, -1), EncodeDate(2018, 5, 2));
  EXPECT_DOUBLE_EQ(X::ElementoDt(xml, {u"n", u"t"}, -1), EncodeDate(2018, 5, 2) + EncodeTime(10, 11, 12, 0));
  EXPECT_DOUBLE_EQ(X::ElementoDt(xml, {u"n", u"br"}, -1), -1);  // already day-first: "18//2/02/0"
  EXPECT_EQ(X::ElementoStr(xml, {u"n", u"e"}, u"d"), u"a &amp; b");
  EXPECT_EQ(X::ElementoStr(xml, {u"n", u"falta"}, u"&lt;d&gt;"), u"<d>");  // the default is decoded too

  // On the held text the entities are decoded a second time.
  X doc;
  doc.SetXML(xml);
  EXPECT_EQ(doc.ElementoStr({u"n", u"e"}, u"d"), u"a & b");
  EXPECT_EQ(doc.ElementoInt({u"n", u"i"}, 0), 42);
  EXPECT_EQ(doc.ElementoStr({u"n", u"i"}, u"", true), u"<i>42</i>");
}

TEST(XmlReaderTest, AttributesOfTheFirstElementWithAttributes) {
  struct {
    SV xml, key, attr;
    bool found;
    SV result;
  } cases[] = {
      {u"<a x=\"1\" y=\"2\">", u"a", u"y", true, u"2"},
      {u"<a y=\"2\" x=\"1\">", u"a", u"y", true, u"2"},      // the first attribute has no blank before it
      {u"<a y='2'>", u"a", u"y", false, u""},                // double quotes only
      {u"<a xy=\"3\">", u"a", u"y", true, u"3"},             // a longer name ending in y
      {u"<a x=\"1\"/><a y=\"2\">", u"a", u"y", false, u""},  // only the first "<a "
      {u"<a y=\"&amp;\" />", u"a", u"y", true, u"&amp;"},    // as written
      {u"<a y=\"\">", u"a", u"y", false, u""},
      {u"<a y=\"2", u"a", u"y", false, u""},  // no ">"
      {u"<ab y=\"2\">", u"a", u"y", false, u""},
  };
  for (const auto& c : cases) {
    std::u16string r = u"lixo";
    EXPECT_EQ(X::Atributo(c.xml, c.key, c.attr, r), c.found) << std::string(c.xml.begin(), c.xml.end());
    EXPECT_EQ(r, c.result);
  }
  testing::FixedRegionalSettings brasil;
  X doc;
  doc.SetXML(u"<infNFe Id=\"NFe1&amp;amp;\" dh=\"2018-05-02T10:11:12\">");
  EXPECT_EQ(doc.AtributoStr(u"infNFe", u"Id", u""), u"NFe1&");
  EXPECT_EQ(X::AtributoStr(doc.XML(), u"infNFe", u"Id", u""), u"NFe1&amp;");
  EXPECT_EQ(doc.AtributoStr(u"infNFe", u"versao", u"4.00"), u"4.00");
  EXPECT_DOUBLE_EQ(doc.AtributoDt(u"infNFe", u"dh", 0), EncodeDate(2018, 5, 2) + EncodeTime(10, 11, 12, 0));
  EXPECT_DOUBLE_EQ(doc.AtributoDt(u"infNFe", u"Id", -2), -2);
}

TEST(XmlReaderTest, TheFixedEntitySet) {
  struct {
    SV in, out;
  } cases[] = {
      {u"&quot;&amp;&lt;&gt;&circ;&tilde;", u"\"&<>^~"},
      {u"&QUOT;&AMP;&LT;&GT;&CIRC;&TILDE;", u"\"&<>^~"},
      {u"&amp;lt;", u"<"},       // decoded one after the other
      {u"&amp;amp;", u"&amp;"},  // but each replacement scans once
      {u"&Amp; &apos; &#233;", u"&Amp; &apos; &#233;"},
      {u"sem entidades", u"sem entidades"},
  };
  for (const auto& c : cases) EXPECT_EQ(X::pfConvertSpecialEntities(c.in), c.out);
  EXPECT_EQ(X::pfTagValida(u"<![CDATA[a &amp; b]]>"), u"a & b");
  EXPECT_EQ(X::pfTagValida(u"<![cdata[x]]>"), u"x");
  EXPECT_EQ(X::pfTagValida(u"<![Cdata[x]]>"), u"<![Cdata[x");
}

TEST(XmlReaderTest, LoadingAFileReadsItsBytesAsWindows1252) {
  testing::FileTree t;
  t.Write("nota.xml", "\xEF\xBB\xBF<a>\xC3\xA7</a>\n<b>2</b>");
  X doc(t.Path("nota.xml"));
  EXPECT_EQ(doc.Arquivo(), t.Path("nota.xml"));
  EXPECT_EQ(doc.XML(), u"\u00EF\u00BB\u00BF<a>Ã§</a>\r\n<b>2</b>\r\n");
  std::u16string r;
  EXPECT_TRUE(doc.Elemento(u"a", r));
  EXPECT_EQ(r, u"Ã§");
  // A missing file raises; the name is kept and the text stays.
  EXPECT_THROW(doc.SetArquivo(t.Path("falta.xml")), EFileError);
  EXPECT_EQ(doc.Arquivo(), t.Path("falta.xml"));
  EXPECT_TRUE(doc.Elemento(u"b", r));
  doc.SetArquivo(u"");
  EXPECT_EQ(doc.Arquivo(), u"");
  EXPECT_TRUE(doc.Elemento(u"b", r));
  EXPECT_THROW(X{t.Path("falta.xml")}, EFileError);

  // Every line end becomes CR LF, the last line gets one, and each byte is one character.
  struct {
    std::string bytes;
    SV text;
  } cases[] = {
      {"a\rb\r\nc\nd", u"a\r\nb\r\nc\r\nd\r\n"},
      {"a\r\r\n\n", u"a\r\n\r\n\r\n"},
      {"a\r", u"a\r\n"},
      {"\n", u"\r\n"},
      {"", u""},
      {"\x80\xE7\xFF", u"\u20AC\u00E7\u00FF\r\n"},
      // Long runs, read eight bytes at a time up to a line end or a byte past ASCII.
      {"<nota>abcdefghij\r\nklmnopqrstu\xE7vwxyz0123456789\rABCDEFGH\nIJKLMNOPQRS\x81T",
       u"<nota>abcdefghij\r\nklmnopqrstu\u00E7vwxyz0123456789\r\nABCDEFGH\r\nIJKLMNOPQRS\u0081T\r\n"},
      {"0123456789abcdef\n\n\n\r\r0123456789abcdef", u"0123456789abcdef\r\n\r\n\r\n\r\n\r\n0123456789abcdef\r\n"},
  };
  for (const auto& c : cases) {
    t.Write("linhas.xml", c.bytes);
    doc.SetArquivo(t.Path("linhas.xml"));
    EXPECT_EQ(doc.XML(), c.text) << c.bytes;
  }
}

// Loading reads plain bytes a block at a time and makes room for the text before each
// line: line ends and bytes the code page maps elsewhere must be found wherever they
// fall in a block, lines shorter than the room allows must still fit, and a document
// loaded after a longer one must not keep any of it. Against the rule byte by byte.
TEST(XmlReaderTest, LoadingGivesWhatEachByteGives) {
  auto byteByByte = [](const std::string& bytes) {
    std::u16string t;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      if (bytes[i] == '\r' || bytes[i] == '\n') {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        t += u"\r\n";
      } else {
        t += cp1252::DecodeByte(static_cast<unsigned char>(bytes[i]));
      }
    }
    if (!bytes.empty() && bytes.back() != '\r' && bytes.back() != '\n') t += u"\r\n";
    return t;
  };
  std::vector<std::string> files;
  const std::string line = "<det><xProd>PRODUTO DE TESTE</xProd></det>";
  for (const char* odd : {"\n", "\r", "\r\n", "\n\r", "\x80", "\x9D", "\xE7", "\x80\n"}) {
    for (std::size_t at = 0; at <= 33; ++at) files.push_back(line.substr(0, at) + odd + line.substr(at));
  }
  // Lines too short for the first room, longest first so each load reuses a longer text.
  files.push_back(std::string(3000, '\n'));
  files.push_back(std::string(2999, '\r') + "x");
  for (std::string_view each : {"a\n", "ab\r", "abcdefg\n"}) {
    std::string f;
    for (int k = 0; k < 400; ++k) f += each;
    files.push_back(f);
  }
  files.push_back("\n");
  files.push_back("");
  testing::FileTree t;
  X doc;
  for (const std::string& f : files) {
    t.Write("nota.xml", f);
    doc.SetArquivo(t.Path("nota.xml"));
    ASSERT_EQ(doc.XML(), byteByByte(f)) << f.substr(0, 60);
  }
}

// ---- The held text is read through an index of its tags: every reading there must
// give what the same reading gives on the text passed in the call. ----

// Every reading of `key` (and of paths through it) on the held text against the same
// reading on the text given; `what` names the case in a failure.
void ExpectSameAsGivenText(const X& doc, SV key, SV attr, const std::string& what) {
  const std::u16string xml = doc.XML();
  for (bool keep : {false, true}) {
    std::u16string held = u"lixo", given = u"lixo";
    EXPECT_EQ(doc.Elemento(key, held, keep), X::Elemento(xml, key, given, keep)) << what;
    EXPECT_EQ(held, given) << what;
    TzelArrayString heldAll{u"lixo"}, givenAll{u"lixo"};
    EXPECT_EQ(doc.Elemento(key, heldAll, keep), X::Elemento(xml, key, givenAll, keep)) << what;
    EXPECT_EQ(heldAll, givenAll) << what;
    const std::u16string k(key);
    for (const TzelArrayString& path : {TzelArrayString{u"r", k}, TzelArrayString{k, k}, TzelArrayString{k, u"b"}}) {
      EXPECT_EQ(doc.Elemento(path, held, keep), X::Elemento(xml, path, given, keep)) << what;
      EXPECT_EQ(held, given) << what;
      // The held form decodes entities once more than the given one.
      EXPECT_EQ(doc.ElementoStr(path, u"-", keep), X::pfConvertSpecialEntities(X::ElementoStr(xml, path, u"-", keep)))
          << what;
    }
  }
  const TzelArrayString one{std::u16string(key)};
  EXPECT_EQ(doc.ElementoInt(one, -7), X::ElementoInt(xml, one, -7)) << what;
  std::u16string held = u"lixo", given = u"lixo";
  EXPECT_EQ(doc.Atributo(key, attr, held), X::Atributo(xml, key, attr, given)) << what;
  EXPECT_EQ(held, given) << what;
}

std::string Narrow(SV s) { return std::string(s.begin(), s.end()); }

TEST(XmlReaderTest, TheHeldTextReadsAsTheGivenText) {
  struct {
    SV xml, key;
    SV expected;  // what Elemento finds on the held text, as a check that the case is live
  } cases[] = {
      {u"<r><a>1</a><a>2</a></r>", u"a", u"1"},                   // repeated names
      {u"<a><a>x</a></a><a>y</a>", u"a", u"<a>x"},                // one name nested in itself
      {u"<r><b><a>in</a></b><a>out</a></r>", u"a", u"in"},        // nesting
      {u"<!-- <a>c</a> --><a>t</a>", u"a", u"c"},                 // comments are text
      {u"<r><![CDATA[<a>d</a>]]><a>t</a></r>", u"a", u"d"},       // CDATA too
      {u"</a><a>1</a>", u"a", u"1"},                              // a stray end tag first
      {u"<a x=\"1\">v</a><a>w</a>", u"a", u"w"},                  // a plain tag anywhere wins
      {u"<a x=\"1\" /><a y=\"2\">v</a>", u"a", u"<a y=\"2\">v"},  // "<a " then "</a>"
      {u"<a y=\"2\">v</a><a />", u"a", u""},                      // "<a />" anywhere ends the search
      {u"<a x=\"1\"/>", u"a", u""},
      {u"<a b=\"1\">v<b>w</b></a>", u"b", u"w"},
      {u"<ab>1</ab><a>2</a><a b>3</a b>", u"a", u"2"},  // whole names only
      {u"<a b>3</a b><a>2</a>", u"a b", u"3"},          // names the index does not hold
      {u"<a/b>3</a/b>", u"a/b", u"3"},
      {u"<>e</><a>1</a>", u"", u"e"},
      {u"<a>1</a", u"a", u""},  // cut short
      {u"<a>1</a><a", u"a", u"1"},
      {u"<a>1</a></", u"a", u"1"},
      {u"<a>1</a>< a>2</ a>", u"a", u"1"},
      {u"<r><a>\u00e7</a></r>", u"a", u"\u00e7"},
      {u"<\u00e7>1</\u00e7>", u"\u00e7", u"1"},
      {u"<a x=\"1\">v</a>", u"a", u"v"},
      {u"", u"a", u""},
  };
  for (const auto& c : cases) {
    X doc;
    doc.SetXML(c.xml);
    std::u16string r;
    doc.Elemento(c.key, r);
    EXPECT_EQ(r, c.expected) << Narrow(c.xml);
    ExpectSameAsGivenText(doc, c.key, u"x", Narrow(c.xml));
    ExpectSameAsGivenText(doc, u"b", u"y", Narrow(c.xml));
  }
}

// Short texts made of the characters tags are made of, every one read both ways.
TEST(XmlReaderTest, TheHeldTextReadsAsTheGivenTextOnGeneratedTexts) {
  static constexpr char16_t kPieces[][6] = {u"<", u">",   u"/",    u" ",   u"a",   u"b",   u"r",    u"\"",  u"=",
                                            u"x", u"<a>", u"</a>", u"<a ", u" />", u"<b>", u"</b>", u"<r>", u"</r>"};
  std::mt19937 random(20181205);
  std::uniform_int_distribution<std::size_t> piece(0, std::size(kPieces) - 1), length(0, 14);
  X doc;  // one object: each text replaces the last, as a program reads one after another
  for (int round = 0; round < 3000; ++round) {
    std::u16string xml;
    for (std::size_t k = length(random); k > 0; --k) xml += kPieces[piece(random)];
    doc.SetXML(xml);
    for (SV key : {SV(u"a"), SV(u"b"), SV(u"r"), SV(u"a b")}) ExpectSameAsGivenText(doc, key, u"x", Narrow(xml));
    if (::testing::Test::HasFailure()) break;
  }
}

// A text of very many different names is searched without the index; it reads the same.
TEST(XmlReaderTest, ATextOfVeryManyNamesReadsAsTheGivenText) {
  std::u16string xml;
  for (int i = 0; i < 70000; ++i) {
    const std::u16string k = u"n" + cp1252::Decode(std::to_string(i));
    xml += u"<" + k + u">" + k + u"</" + k + u">";
  }
  xml += u"<r><a x=\"1\">v</a></r>";
  X doc;
  doc.SetXML(xml);
  std::u16string r;
  ASSERT_TRUE(doc.Elemento(u"n69999", r));
  EXPECT_EQ(r, u"n69999");
  ExpectSameAsGivenText(doc, u"a", u"x", "many names");
  ExpectSameAsGivenText(doc, u"n12345", u"x", "many names");
  // A short text after it is indexed again, and reads the same too.
  doc.SetXML(u"<r><a>1</a><b>2</b></r>");
  ExpectSameAsGivenText(doc, u"a", u"x", "after many names");
}

TEST(XmlReaderTest, AChangedTextIsReadAfresh) {
  X doc;
  std::u16string r;
  doc.SetXML(u"<a>1</a><b>2</b>");
  ASSERT_TRUE(doc.Elemento(u"a", r));
  EXPECT_EQ(r, u"1");
  // The same length with the tags elsewhere: a stale index would cut the wrong places.
  doc.SetXML(u"<b>2</b><a>3</a>");
  ASSERT_TRUE(doc.Elemento(u"a", r));
  EXPECT_EQ(r, u"3");
  EXPECT_EQ(doc.ElementoStr({u"b"}, u""), u"2");
  // The same text again reads the same.
  doc.SetXML(u"<b>2</b><a>3</a>");
  EXPECT_EQ(doc.ElementoStr({u"a"}, u""), u"3");
  doc.SetXML(u"");
  EXPECT_FALSE(doc.Elemento(u"a", r));

  // A file changed on disk and loaded again.
  testing::FileTree t;
  t.Write("nota.xml", "<n><v>1</v></n>");
  doc.SetArquivo(t.Path("nota.xml"));
  EXPECT_EQ(doc.ElementoInt({u"n", u"v"}, 0), 1);
  t.Write("nota.xml", "<n><w>2</w><v>9</v></n>");
  doc.SetArquivo(t.Path("nota.xml"));
  EXPECT_EQ(doc.ElementoInt({u"n", u"v"}, 0), 9);
  // A failed load keeps the text and what was read from it.
  EXPECT_THROW(doc.SetArquivo(t.Path("falta.xml")), EFileError);
  EXPECT_EQ(doc.ElementoInt({u"n", u"v"}, 0), 9);

  // Copies read their own text.
  X copy = doc;
  doc.SetXML(u"<n><v>5</v></n>");
  EXPECT_EQ(copy.ElementoInt({u"n", u"v"}, 0), 9);
  EXPECT_EQ(doc.ElementoInt({u"n", u"v"}, 0), 5);
  copy = doc;
  EXPECT_EQ(copy.ElementoInt({u"n", u"v"}, 0), 5);
  X moved = std::move(copy);
  EXPECT_EQ(moved.ElementoInt({u"n", u"v"}, 0), 5);
}

// A derived class writing the text itself tells the reader so.
class EditedReader : public X {
 public:
  void Replace(SV from, SV to) {
    tsXML.replace(tsXML.find(from), from.size(), to);
    TextChanged();
  }
};

TEST(XmlReaderTest, ATextEditedInPlaceIsReadAfresh) {
  EditedReader doc;
  doc.SetXML(u"<a>1</a><c>2</c>");
  EXPECT_EQ(doc.ElementoStr({u"c"}, u""), u"2");
  doc.Replace(u"<c>2</c>", u"<d>2</d>");  // the same length
  EXPECT_EQ(doc.ElementoStr({u"c"}, u"none"), u"none");
  EXPECT_EQ(doc.ElementoStr({u"d"}, u""), u"2");
}

}  // namespace
}  // namespace zelmor
