// TmXMLLeitura: reads values out of XML texts by element name, by a path of names
// or by attribute. It is a plain, case-sensitive text search, not a parser: no tree,
// no well-formedness, no namespaces; only a fixed set of named entities is decoded.
// Positions are 1-based character positions, as everywhere in the library.
//
// For an element name k it looks for "<k>", "</k>", "<k />" (one space) and "<k "
// (a start tag with attributes). The first start tag is paired with the first end
// tag after it, so elements of one name nested in each other do not pair up.
//
// The readings on the held text find tags through an index of the text's tags, built
// by the first reading after the text changes (SetXML, SetArquivo) and kept until the
// next change: reading many values from one large document costs one pass over it, not
// one per value. The results are those of the plain search. As before, an object is
// used by one thread at a time, reading included.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "core/types.h"
#include "mConst.h"

namespace zelmor {

namespace xml_index {
struct TagIndex;
}

class TmXMLLeitura {
 public:
  // Sets Arquivo := `asArquivo` (loading it when it is not empty).
  explicit TmXMLLeitura(std::u16string_view asArquivo = u"");
  // A copy takes the texts and builds its own index when it first reads.
  TmXMLLeitura(const TmXMLLeitura& other);
  TmXMLLeitura& operator=(const TmXMLLeitura& other);
  TmXMLLeitura(TmXMLLeitura&& other) noexcept;
  TmXMLLeitura& operator=(TmXMLLeitura&& other) noexcept;
  ~TmXMLLeitura();

  // The file the document came from, and the document text itself.
  const std::u16string& Arquivo() const { return tsArquivo; }
  // Remembers the name and, when it is not empty, reads the file's bytes as
  // Windows-1252 lines (UTF-8 "ç" arrives as "Ã§"). A missing file raises EFileError
  // with the name already kept and the text unchanged; an empty name keeps the text.
  void SetArquivo(std::u16string_view Value);
  const std::u16string& XML() const { return tsXML; }
  void SetXML(std::u16string_view Value);

  // ---- Elements ----

  // The content of the first element `asChave` found from `aiPosInicial` (or the whole
  // element, tags included, with `abManterTag`); `aiPosInicial` moves past its end tag.
  // False when none is found, when "<k />" comes first, or when the content is empty.
  //   Elemento(u"<a>1</a><a>2</a>", u"a", p = 1, r, false): r == u"1", p == 5
  static bool Elemento(std::u16string_view asXML, std::u16string_view asChave, int& aiPosInicial,
                       std::u16string& asResult, bool abManterTag = false);
  // The first occurrence, in the held text or in `asXML`.
  bool Elemento(std::u16string_view asChave, std::u16string& asResult, bool abManterTag = false) const;
  static bool Elemento(std::u16string_view asXML, std::u16string_view asChave, std::u16string& asResult,
                       bool abManterTag = false);
  // A path of names, each searched inside the previous one's content:
  // {u"pedido", u"cliente", u"nome"} is the first nome of the first cliente of the first pedido.
  bool Elemento(const TzelArrayString& aaChaves, std::u16string& asResult, bool abManterTag = false) const;
  static bool Elemento(std::u16string_view asXML, const TzelArrayString& aaChaves, std::u16string& asResult,
                       bool abManterTag = false);
  // Every occurrence, in order; the walk stops at the first one that is empty or "<k />".
  bool Elemento(std::u16string_view asChave, TzelArrayString& aaResult, bool abManterTag = false) const;
  static bool Elemento(std::u16string_view asXML, std::u16string_view asChave, TzelArrayString& aaResult,
                       bool abManterTag = false);

  // ---- Typed values by path (the default when the path fails or the text does not convert) ----

  // The text with the entities decoded (the default too). On the held text the
  // entities are decoded twice, so "&amp;amp;" gives "&" there and "&amp;" on `asXML`.
  std::u16string ElementoStr(const TzelArrayString& aaChaves, std::u16string_view asDefault,
                             bool abManterTag = false) const;
  static std::u16string ElementoStr(std::u16string_view asXML, const TzelArrayString& aaChaves,
                                    std::u16string_view asDefault, bool abManterTag = false);
  // A 32-bit integer as StrToInt reads it.
  int ElementoInt(const TzelArrayString& aaChaves, int aiDefault) const;
  static int ElementoInt(std::u16string_view asXML, const TzelArrayString& aaChaves, int aiDefault);
  // Every "." becomes "," before the regional conversion: right with a decimal comma.
  //   "12.50" == 12.5 with Brazilian settings; "1.234,5" gives the default
  double ElementoFloat(const TzelArrayString& aaChaves, double avDefault) const;
  static double ElementoFloat(std::u16string_view asXML, const TzelArrayString& aaChaves, double avDefault);
  Currency ElementoCurr(const TzelArrayString& aaChaves, Currency avDefault) const;
  static Currency ElementoCurr(std::u16string_view asXML, const TzelArrayString& aaChaves, Currency avDefault);
  // "2018-05-02" or "2018-05-02T10:11:12-03:00" rearranged into "02/05/2018[ 10:11:12]"
  // and converted with the regional settings (day-month-year order expected).
  TDateTime ElementoDt(const TzelArrayString& aaChaves, TDateTime adDefault) const;
  static TDateTime ElementoDt(std::u16string_view asXML, const TzelArrayString& aaChaves, TDateTime adDefault);

  // ---- Attributes (of the first "<k " of the text; double-quoted values only) ----

  // The value as written (no entity decoding); false when missing or empty.
  //   Atributo(u"<a x=\"1\" y=\"2\">", u"a", u"y", r): r == u"2"
  bool Atributo(std::u16string_view asChave, std::u16string_view asAttr, std::u16string& asResult) const;
  static bool Atributo(std::u16string_view asXML, std::u16string_view asChave, std::u16string_view asAttr,
                       std::u16string& asResult);
  // The value or the default, entities decoded (twice on the held text, as ElementoStr).
  std::u16string AtributoStr(std::u16string_view asChave, std::u16string_view asAttr,
                             std::u16string_view asDefault) const;
  static std::u16string AtributoStr(std::u16string_view asXML, std::u16string_view asChave, std::u16string_view asAttr,
                                    std::u16string_view asDefault);
  // The value rearranged and converted as ElementoDt.
  TDateTime AtributoDt(std::u16string_view asChave, std::u16string_view asAttr, TDateTime ahDefault) const;
  static TDateTime AtributoDt(std::u16string_view asXML, std::u16string_view asChave, std::u16string_view asAttr,
                              TDateTime ahDefault);

  // ---- Cleaning values ----

  // Decodes &quot; &amp; &lt; &gt; &circ; &tilde; and their upper-case forms, one
  // after the other, each over the previous result: "&amp;lt;" gives "<", "&amp;amp;"
  // gives "&amp;"; "&Amp;", "&apos;" and numeric references stay as written.
  static std::u16string pfConvertSpecialEntities(std::u16string_view asValor);
  // Drops "<![CDATA[", "<![cdata[" and "]]>", then decodes the entities.
  //   pfTagValida(u"<![CDATA[a &amp; b]]>") == u"a & b"
  static std::u16string pfTagValida(std::u16string_view asTag);

 protected:
  // A derived class that writes tsXML other than through SetXML calls TextChanged().
  std::u16string tsArquivo;
  std::u16string tsXML;
  void TextChanged();

 private:
  // The held text's tags, built when first needed (see above).
  const xml_index::TagIndex& Index() const;
  mutable std::unique_ptr<xml_index::TagIndex> FIndex;
};

}  // namespace zelmor
