// The XML reader's text searches. Every search is the first occurrence at or after
// a 1-based position; 0 is "not found", as the callers' position arithmetic expects.
#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

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

// ---- The tag index of a held text ----

}  // namespace

namespace xml_index {

// The four tag forms of a name k.
enum Kind : std::uint32_t { kStart, kAttr, kEmpty, kEnd };

std::size_t TagLength(std::size_t key, Kind kind) {
  switch (kind) {
    case kStart:
    case kAttr: return key + 2;   // "<k>", "<k "
    case kEmpty: return key + 4;  // "<k />"
    case kEnd: return key + 3;    // "</k>"
  }
  return key;
}

// A tag name ends at any of these. A name without them matches "<k>" at i exactly when
// the characters after the "<" at i run up to the first of them, that run is k and the
// one ending it is ">"; so an index of every "<" by the run after it and the character
// ending the run finds the same tags as the plain search. Other names are searched.
bool EndsName(char16_t c) { return c == u'<' || c == u'>' || c == u' ' || c == u'/'; }

bool Indexable(SV key) { return !key.empty() && std::none_of(key.begin(), key.end(), EndsName); }

// From the length and three characters: cheap, and a collision only costs a compare.
std::uint32_t HashName(const char16_t* p, std::size_t n) {
  const std::uint32_t h = static_cast<std::uint32_t>(n) * 0x9E3779B1u ^ p[0] * 0x85EBCA77u ^ p[n - 1] * 0xC2B2AE3Du ^
                          p[n / 2] * 0x27D4EB2Fu;
  return h ^ (h >> 15);
}

bool SameName(const char16_t* a, const char16_t* b, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i)
    if (a[i] != b[i]) return false;
  return true;
}

// Every tag of the text by name and form, as sorted positions of its "<" (0-based).
// Names are kept as places in the text, so the index holds no pointer into it.
struct TagIndex {
  bool built = false;
  // False past 4 G characters or kMostNames names: the plain search serves.
  bool usable = false;
  // Far more names than any real document has; a text with more is not worth the memory.
  static constexpr std::size_t kMostNames = 65536;
  std::size_t length = 0;

  static constexpr std::uint32_t kFree = UINT32_MAX;
  struct Name {
    std::uint32_t at = 0, size = 0, hash = 0, id = kFree;
  };
  std::vector<Name> table;  // open addressing, a power of two in size
  std::vector<Name> byId;
  // Per id * 4 + kind, the positions in text order; kept with their memory between texts.
  std::vector<std::vector<std::uint32_t>> groups;

  void Build(SV text) {
    built = true;
    length = text.size();
    usable = text.size() < UINT32_MAX;
    byId.clear();
    for (auto& g : groups) g.clear();
    if (!usable) return;
    table.assign(std::max<std::size_t>(table.size(), 256), Name{});
    open.clear();
    const std::size_t n = text.size();
    const char16_t* c = text.data();
    for (std::size_t i = 0; i < n;) {
      if (c[i] != u'<') {
        ++i;
        continue;
      }
      const std::size_t at = i + 1;
      std::size_t r = at;
      while (r < n && !EndsName(c[r])) ++r;
      if (r == n) break;
      if (r > at) {
        if (c[r] == u'>') {
          open.push_back(Add(text, at, r - at, kStart, i));
        } else if (c[r] == u' ') {
          const std::uint32_t id = Add(text, at, r - at, kAttr, i);
          if (r + 2 < n && c[r + 1] == u'/' && c[r + 2] == u'>')
            Put(id, kEmpty, i);
          else
            open.push_back(id);
        }
      } else if (c[r] == u'/') {
        const std::size_t at2 = r + 1;
        // An end tag mostly closes the last tag opened: its name is checked first.
        if (!open.empty()) {
          const Name& last = byId[open.back()];
          if (at2 + last.size < n && c[at2 + last.size] == u'>' && SameName(c + at2, c + last.at, last.size)) {
            Put(last.id, kEnd, i);
            open.pop_back();
            i = at2 + last.size;
            continue;
          }
        }
        for (r = at2; r < n && !EndsName(c[r]);) ++r;
        if (r > at2 && r < n && c[r] == u'>') {
          // Tags left open (or not closed by name) are dropped when a tag a few
          // levels down closes, so the check above keeps hitting.
          const std::uint32_t id = Add(text, at2, r - at2, kEnd, i);
          for (std::size_t back = 0; back < 8 && back < open.size(); ++back)
            if (open[open.size() - 1 - back] == id) {
              open.resize(open.size() - 1 - back);
              break;
            }
        }
      }
      i = r;
      if (byId.size() > kMostNames) {
        usable = false;
        return;
      }
    }
  }

  // The positions of `kind` tags of `key` (which must be Indexable), sorted.
  std::pair<const std::uint32_t*, const std::uint32_t*> Find(SV text, SV key, Kind kind) const {
    const std::uint32_t h = HashName(key.data(), key.size());
    const std::size_t mask = table.size() - 1;
    for (std::size_t slot = h & mask;; slot = (slot + 1) & mask) {
      const Name& e = table[slot];
      if (e.id == kFree) return {nullptr, nullptr};
      if (e.hash == h && e.size == key.size() && SameName(key.data(), text.data() + e.at, e.size)) {
        const std::vector<std::uint32_t>& g = groups[std::size_t{e.id} * 4 + kind];
        return {g.data(), g.data() + g.size()};
      }
    }
  }

 private:
  std::vector<std::uint32_t> open;  // the ids of the tags opened and not yet closed

  void Put(std::uint32_t id, Kind kind, std::size_t pos) {
    groups[std::size_t{id} * 4 + kind].push_back(static_cast<std::uint32_t>(pos));
  }

  std::uint32_t Add(SV text, std::size_t at, std::size_t size, Kind kind, std::size_t pos) {
    const char16_t* p = text.data() + at;
    const std::uint32_t h = HashName(p, size);
    const std::size_t mask = table.size() - 1;
    std::size_t slot = h & mask;
    for (; table[slot].id != kFree; slot = (slot + 1) & mask) {
      const Name& e = table[slot];
      if (e.hash == h && e.size == size && SameName(p, text.data() + e.at, size)) break;
    }
    std::uint32_t id = table[slot].id;
    if (id == kFree) {
      id = static_cast<std::uint32_t>(byId.size());
      table[slot] = Name{static_cast<std::uint32_t>(at), static_cast<std::uint32_t>(size), h, id};
      byId.push_back(table[slot]);
      if (groups.size() < byId.size() * 4) groups.resize(byId.size() * 4);
      if (byId.size() * 2 > table.size()) Grow();
    }
    Put(id, kind, pos);
    return id;
  }

  void Grow() {
    std::vector<Name> old(table.size() * 2, Name{});
    old.swap(table);
    const std::size_t mask = table.size() - 1;
    for (const Name& e : old) {
      if (e.id == kFree) continue;
      std::size_t slot = e.hash & mask;
      while (table[slot].id != kFree) slot = (slot + 1) & mask;
      table[slot] = e;
    }
  }
};

}  // namespace xml_index

namespace {

using xml_index::Kind;
using xml_index::TagLength;

std::u16string TagText(SV k, Kind kind) {
  switch (kind) {
    case xml_index::kStart: return StartTag(k);
    case xml_index::kAttr: return AttrTag(k);
    case xml_index::kEmpty: return EmptyTag(k);
    case xml_index::kEnd: return EndTag(k);
  }
  return {};
}

// Finds the first tag of a form at or after a 1-based position of `xml`: by scanning
// the text, for the readings on a given text ...
struct ScanSearch {
  std::size_t Tag(SV xml, SV key, Kind kind, std::size_t from) const { return Pos(TagText(key, kind), xml, from); }
};

// ... and through the index of the held text `whole`, of which `xml` is a piece.
struct IndexSearch {
  const xml_index::TagIndex& index;
  SV whole;

  std::size_t Tag(SV xml, SV key, Kind kind, std::size_t from) const {
    if (!index.usable || !xml_index::Indexable(key)) return Pos(TagText(key, kind), xml, from);
    if (from == 0) from = 1;
    if (from > xml.size() + 1) return 0;
    const std::size_t base = static_cast<std::size_t>(xml.data() - whole.data());
    const auto [b, e] = index.Find(whole, key, kind);
    const std::uint32_t* it = std::lower_bound(b, e, base + from - 1);
    // Only a tag wholly inside the piece is in it; a later one cannot be either.
    if (it == e || *it + xml_index::TagLength(key.size(), kind) > base + xml.size()) return 0;
    return *it - base + 1;
  }
};

// The element search itself: the 1-based span [s, e) of what the reader takes, and
// the position after the end tag; false when it takes nothing. Spans let a path walk
// narrow the text without copying it.
struct Span {
  std::size_t s = 0, e = 0;
};

template <class Search>
bool FindElement(const Search& find, SV xml, SV key, std::size_t from, bool keep, Span& span, std::size_t& next) {
  std::size_t s = find.Tag(xml, key, xml_index::kStart, from);
  if (s == 0) {
    if (find.Tag(xml, key, xml_index::kEmpty, from) != 0) return false;
    s = find.Tag(xml, key, xml_index::kAttr, from);
    if (s == 0) return false;
    if (!keep) {
      s = Pos(u">", xml, s);
      if (s == 0) return false;
      s += 1;
    }
  } else if (!keep) {
    s += TagLength(key.size(), xml_index::kStart);
  }
  // The end tag is looked for after the start tag: a stray end tag earlier in the
  // text would otherwise pair with it and hide the element.
  std::size_t e = find.Tag(xml, key, xml_index::kEnd, s);
  bool slash = false;
  if (e == 0) {
    e = Pos(u"/>", xml, s);
    if (e == 0) return false;
    slash = true;
  }
  next = e + 1;
  if (keep) e += slash ? 2 : TagLength(key.size(), xml_index::kEnd);
  span = {s, e};
  return e > s && s <= xml.size();
}

SV SpanText(SV xml, const Span& span) { return xml.substr(span.s - 1, span.e - span.s); }

template <class Search>
bool CoreElement(const Search& find, SV xml, SV key, int& pos, std::u16string& result, bool keep) {
  result.clear();
  const std::size_t from = pos < 1 ? 1 : static_cast<std::size_t>(pos);
  Span span;
  std::size_t next = 0;
  const bool found = FindElement(find, xml, key, from, keep, span, next);
  if (next != 0) pos = static_cast<int>(std::min<std::size_t>(next, INT32_MAX));
  if (found) result = SpanText(xml, span);
  return found;
}

// The path walked inside `xml`; false when a step finds nothing.
template <class Search>
bool FindPath(const Search& find, SV xml, const TzelArrayString& keys, bool keep, SV& found) {
  if (keys.empty()) return false;
  SV t = xml;
  for (const std::u16string& k : keys) {
    Span span;
    std::size_t next;
    if (!FindElement(find, t, k, 1, keep, span, next)) return false;
    t = SpanText(t, span);
  }
  found = t;
  return !found.empty();
}

template <class Search>
bool PathText(const Search& find, SV xml, const TzelArrayString& keys, std::u16string& result, bool keep) {
  SV found;
  const bool ok = FindPath(find, xml, keys, keep, found);
  result = ok ? std::u16string(found) : std::u16string();
  return ok;
}

template <class Search>
bool EveryElement(const Search& find, SV xml, SV key, TzelArrayString& result, bool keep) {
  result.clear();
  int p = 1;
  std::u16string r;
  // Each success moves p past an end tag that lies after the previous p, so the walk ends.
  while (CoreElement(find, xml, key, p, r, keep)) result.push_back(std::move(r));
  return !result.empty();
}

template <class Search>
bool Attribute(const Search& find, SV xml, SV key, SV attr, std::u16string& result) {
  result.clear();
  std::size_t s = find.Tag(xml, key, xml_index::kAttr, 1);
  if (s == 0) return false;
  s += TagLength(key.size(), xml_index::kAttr);
  const std::size_t g = Pos(u">", xml, s);
  if (g == 0) return false;
  const std::u16string tagText = Between(xml, s, g);
  const SV t = textkit::Trim(tagText);
  const std::u16string spaced = u" " + std::u16string(attr) + u"=\"";
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
  result = Between(t, v, c);
  return !result.empty();
}

int ToInt(bool found, SV t, int deflt) {
  int v;
  return found && TryStrToInt(t, v) ? v : deflt;
}

double ToFloat(bool found, SV t, double deflt) {
  double v;
  return found && TryStrToFloat(DecimalComma(std::u16string(t)), v) ? v : deflt;
}

Currency ToCurr(bool found, SV t, Currency deflt) {
  Currency v;
  return found && TryStrToCurr(DecimalComma(std::u16string(t)), v) ? v : deflt;
}

}  // namespace

TmXMLLeitura::TmXMLLeitura(std::u16string_view asArquivo) { SetArquivo(asArquivo); }
TmXMLLeitura::TmXMLLeitura(const TmXMLLeitura& other) : tsArquivo(other.tsArquivo), tsXML(other.tsXML) {}
TmXMLLeitura& TmXMLLeitura::operator=(const TmXMLLeitura& other) {
  tsArquivo = other.tsArquivo;
  tsXML = other.tsXML;
  TextChanged();
  return *this;
}
TmXMLLeitura::TmXMLLeitura(TmXMLLeitura&& other) noexcept = default;
TmXMLLeitura& TmXMLLeitura::operator=(TmXMLLeitura&& other) noexcept = default;
TmXMLLeitura::~TmXMLLeitura() = default;

void TmXMLLeitura::SetArquivo(std::u16string_view Value) {
  tsArquivo = Value;
  if (!Value.empty()) {
    // Into the text's own memory, as the index keeps its own between texts.
    text_file::ReadAnsiText(Value, tsXML);
    TextChanged();
  }
}

void TmXMLLeitura::SetXML(std::u16string_view Value) {
  tsXML = Value;
  TextChanged();
}

// The index keeps its memory for the next text, as the text itself does.
void TmXMLLeitura::TextChanged() {
  if (FIndex) FIndex->built = false;
}

const xml_index::TagIndex& TmXMLLeitura::Index() const {
  if (!FIndex) FIndex = std::make_unique<xml_index::TagIndex>();
  // A text whose length changed without TextChanged() is not the indexed one either.
  if (!FIndex->built || FIndex->length != tsXML.size()) FIndex->Build(tsXML);
  return *FIndex;
}

bool TmXMLLeitura::Elemento(SV asXML, SV asChave, int& aiPosInicial, std::u16string& asResult, bool abManterTag) {
  return CoreElement(ScanSearch{}, asXML, asChave, aiPosInicial, asResult, abManterTag);
}

bool TmXMLLeitura::Elemento(SV asChave, std::u16string& asResult, bool abManterTag) const {
  int p = 1;
  return CoreElement(IndexSearch{Index(), tsXML}, tsXML, asChave, p, asResult, abManterTag);
}

bool TmXMLLeitura::Elemento(SV asXML, SV asChave, std::u16string& asResult, bool abManterTag) {
  int p = 1;
  return Elemento(asXML, asChave, p, asResult, abManterTag);
}

bool TmXMLLeitura::Elemento(const TzelArrayString& aaChaves, std::u16string& asResult, bool abManterTag) const {
  return PathText(IndexSearch{Index(), tsXML}, tsXML, aaChaves, asResult, abManterTag);
}

bool TmXMLLeitura::Elemento(SV asXML, const TzelArrayString& aaChaves, std::u16string& asResult, bool abManterTag) {
  return PathText(ScanSearch{}, asXML, aaChaves, asResult, abManterTag);
}

bool TmXMLLeitura::Elemento(SV asChave, TzelArrayString& aaResult, bool abManterTag) const {
  return EveryElement(IndexSearch{Index(), tsXML}, tsXML, asChave, aaResult, abManterTag);
}

bool TmXMLLeitura::Elemento(SV asXML, SV asChave, TzelArrayString& aaResult, bool abManterTag) {
  return EveryElement(ScanSearch{}, asXML, asChave, aaResult, abManterTag);
}

std::u16string TmXMLLeitura::ElementoStr(const TzelArrayString& aaChaves, SV asDefault, bool abManterTag) const {
  SV found;
  const bool ok = FindPath(IndexSearch{Index(), tsXML}, tsXML, aaChaves, abManterTag, found);
  return pfConvertSpecialEntities(pfConvertSpecialEntities(ok ? found : asDefault));
}

std::u16string TmXMLLeitura::ElementoStr(SV asXML, const TzelArrayString& aaChaves, SV asDefault, bool abManterTag) {
  SV found;
  return pfConvertSpecialEntities(FindPath(ScanSearch{}, asXML, aaChaves, abManterTag, found) ? found : asDefault);
}

int TmXMLLeitura::ElementoInt(const TzelArrayString& aaChaves, int aiDefault) const {
  SV t;
  return ToInt(FindPath(IndexSearch{Index(), tsXML}, tsXML, aaChaves, false, t), t, aiDefault);
}

int TmXMLLeitura::ElementoInt(SV asXML, const TzelArrayString& aaChaves, int aiDefault) {
  SV t;
  return ToInt(FindPath(ScanSearch{}, asXML, aaChaves, false, t), t, aiDefault);
}

double TmXMLLeitura::ElementoFloat(const TzelArrayString& aaChaves, double avDefault) const {
  SV t;
  return ToFloat(FindPath(IndexSearch{Index(), tsXML}, tsXML, aaChaves, false, t), t, avDefault);
}

double TmXMLLeitura::ElementoFloat(SV asXML, const TzelArrayString& aaChaves, double avDefault) {
  SV t;
  return ToFloat(FindPath(ScanSearch{}, asXML, aaChaves, false, t), t, avDefault);
}

Currency TmXMLLeitura::ElementoCurr(const TzelArrayString& aaChaves, Currency avDefault) const {
  SV t;
  return ToCurr(FindPath(IndexSearch{Index(), tsXML}, tsXML, aaChaves, false, t), t, avDefault);
}

Currency TmXMLLeitura::ElementoCurr(SV asXML, const TzelArrayString& aaChaves, Currency avDefault) {
  SV t;
  return ToCurr(FindPath(ScanSearch{}, asXML, aaChaves, false, t), t, avDefault);
}

TDateTime TmXMLLeitura::ElementoDt(const TzelArrayString& aaChaves, TDateTime adDefault) const {
  SV t;
  const bool found = FindPath(IndexSearch{Index(), tsXML}, tsXML, aaChaves, false, t);
  return ToDateTime(found, t, adDefault);
}

TDateTime TmXMLLeitura::ElementoDt(SV asXML, const TzelArrayString& aaChaves, TDateTime adDefault) {
  SV t;
  const bool found = FindPath(ScanSearch{}, asXML, aaChaves, false, t);
  return ToDateTime(found, t, adDefault);
}

bool TmXMLLeitura::Atributo(SV asChave, SV asAttr, std::u16string& asResult) const {
  return Attribute(IndexSearch{Index(), tsXML}, tsXML, asChave, asAttr, asResult);
}

bool TmXMLLeitura::Atributo(SV asXML, SV asChave, SV asAttr, std::u16string& asResult) {
  return Attribute(ScanSearch{}, asXML, asChave, asAttr, asResult);
}

std::u16string TmXMLLeitura::AtributoStr(SV asChave, SV asAttr, SV asDefault) const {
  std::u16string r;
  if (!Atributo(asChave, asAttr, r)) r = asDefault;
  return pfConvertSpecialEntities(pfConvertSpecialEntities(r));
}

std::u16string TmXMLLeitura::AtributoStr(SV asXML, SV asChave, SV asAttr, SV asDefault) {
  std::u16string r;
  if (!Atributo(asXML, asChave, asAttr, r)) r = asDefault;
  return pfConvertSpecialEntities(r);
}

TDateTime TmXMLLeitura::AtributoDt(SV asChave, SV asAttr, TDateTime ahDefault) const {
  std::u16string t;
  const bool found = Atributo(asChave, asAttr, t);
  return ToDateTime(found, t, ahDefault);
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
