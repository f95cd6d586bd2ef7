// The XML reader's text searches. Every search is the first occurrence at or after
// a 1-based position; 0 is "not found", as the callers' position arithmetic expects.
#include <algorithm>
#include <cstdint>
#include <string>

#include "core/text_kit.h"
#include "parsing/conversions.h"
#include "textfile/text_file.h"
#include "xml/mXML.h"

namespace zelmor {

namespace {

using SV = std::u16string_view;

// 1-based position of `what` in `text` at or after `from` (1-based); 0 when absent.
// Tags are short and "<" is everywhere in XML, so a plain first-character scan stops
// at every tag; Horspool's skip on the last character (a table on its low byte, where
// a collision only shortens a skip) jumps a tag's length at a time instead.
std::size_t Pos(SV what, SV text, std::size_t from = 1) {
  if (from == 0) from = 1;
  if (from > text.size() + 1) return 0;
  const std::size_t m = what.size();
  if (m < 3) {
    const std::size_t i = text.find(what, from - 1);
    return i == SV::npos ? 0 : i + 1;
  }
  if (text.size() - (from - 1) < m) return 0;
  std::uint8_t skip[256];
  const std::uint8_t most = static_cast<std::uint8_t>(std::min<std::size_t>(m, 255));
  std::fill(std::begin(skip), std::end(skip), most);
  for (std::size_t k = 0; k + 1 < m; ++k)
    skip[what[k] & 0xFF] = static_cast<std::uint8_t>(std::min<std::size_t>(m - 1 - k, most));
  const char16_t last = what[m - 1];
  for (std::size_t i = from - 1; i + m <= text.size();) {
    const char16_t c = text[i + m - 1];
    if (c == last && text.compare(i, m - 1, what, 0, m - 1) == 0) return i + 1;
    i += skip[c & 0xFF];
  }
  return 0;
}

// Characters `from` (1-based) up to but not including `to`; empty when `to` <= `from`.
std::u16string Between(SV text, std::size_t from, std::size_t to) {
  if (to <= from || from == 0 || from > text.size()) return {};
  return std::u16string(text.substr(from - 1, to - from));
}

// Every occurrence of `what` replaced by `with`, scanning once left to right.
std::u16string ReplaceAll(std::u16string s, SV what, SV with) {
  std::size_t i = s.find(what);
  if (i == std::u16string::npos) return s;
  std::u16string out;
  out.reserve(s.size());
  std::size_t from = 0;
  for (; i != std::u16string::npos; i = s.find(what, from)) {
    out.append(s, from, i - from);
    out.append(with);
    from = i + what.size();
  }
  out.append(s, from, std::u16string::npos);
  return out;
}

std::u16string StartTag(SV k) { return u"<" + std::u16string(k) + u">"; }
std::u16string EndTag(SV k) { return u"</" + std::u16string(k) + u">"; }
std::u16string EmptyTag(SV k) { return u"<" + std::u16string(k) + u" />"; }
std::u16string AttrTag(SV k) { return u"<" + std::u16string(k) + u" "; }

// "2018-05-02T10:11:12-03:00" -> "02/05/2018 10:11:12"; "2018-05-02" -> "02/05/2018".
// Short or odd texts are cut the same way and then fail to convert.
std::u16string DayFirst(SV t) {
  auto copy = [t](std::size_t from, std::size_t count) -> SV {
    if (from > t.size()) return {};
    return t.substr(from - 1, count);
  };
  std::u16string r;
  r.append(copy(9, 2)).append(u"/").append(copy(6, 2)).append(u"/").append(copy(1, 4));
  if (t.size() > 10) r.append(u" ").append(copy(12, 8));
  return r;
}

TDateTime ToDateTime(bool found, SV t, TDateTime deflt) {
  TDateTime v;
  if (found && TryStrToDateTime(DayFirst(t), v)) return v;
  return deflt;
}

std::u16string DecimalComma(std::u16string t) {
  std::replace(t.begin(), t.end(), u'.', u',');
  return t;
}

// The element search itself: the 1-based span [s, e) of what the reader takes, and
// the position after the end tag; false when it takes nothing. Spans let a path walk
// narrow the text without copying it.
struct Span {
  std::size_t s = 0, e = 0;
};

bool FindElement(SV xml, SV key, std::size_t from, bool keep, Span& span, std::size_t& next) {
  const std::u16string start = StartTag(key);
  std::size_t s = Pos(start, xml, from);
  if (s == 0) {
    if (Pos(EmptyTag(key), xml, from) != 0) return false;
    s = Pos(AttrTag(key), xml, from);
    if (s == 0) return false;
    if (!keep) {
      s = Pos(u">", xml, s);
      if (s == 0) return false;
      s += 1;
    }
  } else if (!keep) {
    s += start.size();
  }
  // The end tag is looked for after the start tag: a stray end tag earlier in the
  // text would otherwise pair with it and hide the element.
  const std::u16string end = EndTag(key);
  std::size_t e = Pos(end, xml, s);
  bool slash = false;
  if (e == 0) {
    e = Pos(u"/>", xml, s);
    if (e == 0) return false;
    slash = true;
  }
  next = e + 1;
  if (keep) e += slash ? 2 : end.size();
  span = {s, e};
  return e > s && s <= xml.size();
}

SV SpanText(SV xml, const Span& span) { return xml.substr(span.s - 1, span.e - span.s); }

// The path walked inside `xml`; false when a step finds nothing.
bool FindPath(SV xml, const TzelArrayString& keys, bool keep, SV& found) {
  if (keys.empty()) return false;
  SV t = xml;
  for (const std::u16string& k : keys) {
    Span span;
    std::size_t next;
    if (!FindElement(t, k, 1, keep, span, next)) return false;
    t = SpanText(t, span);
  }
  found = t;
  return !found.empty();
}

}  // namespace

TmXMLLeitura::TmXMLLeitura(std::u16string_view asArquivo) { SetArquivo(asArquivo); }

void TmXMLLeitura::SetArquivo(std::u16string_view Value) {
  tsArquivo = Value;
  if (!Value.empty()) tsXML = text_file::ReadAnsiText(Value);
}

bool TmXMLLeitura::Elemento(SV asXML, SV asChave, int& aiPosInicial, std::u16string& asResult, bool abManterTag) {
  asResult.clear();
  const std::size_t from = aiPosInicial < 1 ? 1 : static_cast<std::size_t>(aiPosInicial);
  Span span;
  std::size_t next = 0;
  const bool found = FindElement(asXML, asChave, from, abManterTag, span, next);
  if (next != 0) aiPosInicial = static_cast<int>(std::min<std::size_t>(next, INT32_MAX));
  if (found) asResult = SpanText(asXML, span);
  return found;
}

bool TmXMLLeitura::Elemento(SV asChave, std::u16string& asResult, bool abManterTag) const {
  return Elemento(tsXML, asChave, asResult, abManterTag);
}

bool TmXMLLeitura::Elemento(SV asXML, SV asChave, std::u16string& asResult, bool abManterTag) {
  int p = 1;
  return Elemento(asXML, asChave, p, asResult, abManterTag);
}

bool TmXMLLeitura::Elemento(const TzelArrayString& aaChaves, std::u16string& asResult, bool abManterTag) const {
  return Elemento(tsXML, aaChaves, asResult, abManterTag);
}

bool TmXMLLeitura::Elemento(SV asXML, const TzelArrayString& aaChaves, std::u16string& asResult, bool abManterTag) {
  SV found;
  const bool ok = FindPath(asXML, aaChaves, abManterTag, found);
  asResult = ok ? std::u16string(found) : std::u16string();
  return ok;
}

bool TmXMLLeitura::Elemento(SV asChave, TzelArrayString& aaResult, bool abManterTag) const {
  return Elemento(tsXML, asChave, aaResult, abManterTag);
}

bool TmXMLLeitura::Elemento(SV asXML, SV asChave, TzelArrayString& aaResult, bool abManterTag) {
  aaResult.clear();
  int p = 1;
  std::u16string r;
  // Each success moves p past an end tag that lies after the previous p, so the walk ends.
  while (Elemento(asXML, asChave, p, r, abManterTag)) aaResult.push_back(std::move(r));
  return !aaResult.empty();
}

std::u16string TmXMLLeitura::ElementoStr(const TzelArrayString& aaChaves, SV asDefault, bool abManterTag) const {
  return pfConvertSpecialEntities(ElementoStr(tsXML, aaChaves, asDefault, abManterTag));
}

std::u16string TmXMLLeitura::ElementoStr(SV asXML, const TzelArrayString& aaChaves, SV asDefault, bool abManterTag) {
  SV found;
  return pfConvertSpecialEntities(FindPath(asXML, aaChaves, abManterTag, found) ? found : asDefault);
}

int TmXMLLeitura::ElementoInt(const TzelArrayString& aaChaves, int aiDefault) const {
  return ElementoInt(tsXML, aaChaves, aiDefault);
}

int TmXMLLeitura::ElementoInt(SV asXML, const TzelArrayString& aaChaves, int aiDefault) {
  SV t;
  int v;
  return FindPath(asXML, aaChaves, false, t) && TryStrToInt(t, v) ? v : aiDefault;
}

double TmXMLLeitura::ElementoFloat(const TzelArrayString& aaChaves, double avDefault) const {
  return ElementoFloat(tsXML, aaChaves, avDefault);
}

double TmXMLLeitura::ElementoFloat(SV asXML, const TzelArrayString& aaChaves, double avDefault) {
  SV t;
  double v;
  return FindPath(asXML, aaChaves, false, t) && TryStrToFloat(DecimalComma(std::u16string(t)), v) ? v : avDefault;
}

Currency TmXMLLeitura::ElementoCurr(const TzelArrayString& aaChaves, Currency avDefault) const {
  return ElementoCurr(tsXML, aaChaves, avDefault);
}

Currency TmXMLLeitura::ElementoCurr(SV asXML, const TzelArrayString& aaChaves, Currency avDefault) {
  SV t;
  Currency v;
  return FindPath(asXML, aaChaves, false, t) && TryStrToCurr(DecimalComma(std::u16string(t)), v) ? v : avDefault;
}

TDateTime TmXMLLeitura::ElementoDt(const TzelArrayString& aaChaves, TDateTime adDefault) const {
  return ElementoDt(tsXML, aaChaves, adDefault);
}

TDateTime TmXMLLeitura::ElementoDt(SV asXML, const TzelArrayString& aaChaves, TDateTime adDefault) {
  SV t;
  const bool found = FindPath(asXML, aaChaves, false, t);
  return ToDateTime(found, t, adDefault);
}

bool TmXMLLeitura::Atributo(SV asChave, SV asAttr, std::u16string& asResult) const {
  return Atributo(tsXML, asChave, asAttr, asResult);
}

bool TmXMLLeitura::Atributo(SV asXML, SV asChave, SV asAttr, std::u16string& asResult) {
  asResult.clear();
  const std::u16string tag = AttrTag(asChave);
  std::size_t s = Pos(tag, asXML);
  if (s == 0) return false;
  s += tag.size();
  const std::size_t g = Pos(u">", asXML, s);
  if (g == 0) return false;
  const std::u16string tagText = Between(asXML, s, g);
  const SV t = textkit::Trim(tagText);
  const std::u16string spaced = u" " + std::u16string(asAttr) + u"=\"";
  std::size_t v = Pos(spaced, t);
  if (v != 0) {
    v += spaced.size();
  } else {
    const SV bare = SV(spaced).substr(1);
    v = Pos(bare, t);
    if (v == 0) return false;
    v += bare.size();
  }
  const std::size_t c = Pos(u"\"", t, v);
  if (c == 0) return false;
  asResult = Between(t, v, c);
  return !asResult.empty();
}

std::u16string TmXMLLeitura::AtributoStr(SV asChave, SV asAttr, SV asDefault) const {
  return pfConvertSpecialEntities(AtributoStr(tsXML, asChave, asAttr, asDefault));
}

std::u16string TmXMLLeitura::AtributoStr(SV asXML, SV asChave, SV asAttr, SV asDefault) {
  std::u16string r;
  if (!Atributo(asXML, asChave, asAttr, r)) r = asDefault;
  return pfConvertSpecialEntities(r);
}

TDateTime TmXMLLeitura::AtributoDt(SV asChave, SV asAttr, TDateTime ahDefault) const {
  return AtributoDt(tsXML, asChave, asAttr, ahDefault);
}

TDateTime TmXMLLeitura::AtributoDt(SV asXML, SV asChave, SV asAttr, TDateTime ahDefault) {
  std::u16string t;
  const bool found = Atributo(asXML, asChave, asAttr, t);
  return ToDateTime(found, t, ahDefault);
}

std::u16string TmXMLLeitura::pfConvertSpecialEntities(SV asValor) {
  static constexpr std::pair<SV, SV> kEntidades[] = {
      {u"&quot;", u"\""}, {u"&amp;", u"&"}, {u"&lt;", u"<"}, {u"&gt;", u">"}, {u"&circ;", u"^"}, {u"&tilde;", u"~"},
      {u"&QUOT;", u"\""}, {u"&AMP;", u"&"}, {u"&LT;", u"<"}, {u"&GT;", u">"}, {u"&CIRC;", u"^"}, {u"&TILDE;", u"~"},
  };
  std::u16string s(asValor);
  if (s.find(u'&') == std::u16string::npos) return s;
  for (const auto& [entidade, caracter] : kEntidades) s = ReplaceAll(std::move(s), entidade, caracter);
  return s;
}

std::u16string TmXMLLeitura::pfTagValida(SV asTag) {
  std::u16string s(asTag);
  for (SV marker : {SV(u"<![CDATA["), SV(u"<![cdata["), SV(u"]]>")}) s = ReplaceAll(std::move(s), marker, u"");
  return pfConvertSpecialEntities(s);
}

}  // namespace zelmor
