// Replacing, comparing prefixes and suffixes, membership tests, locating
// characters, defaults for empty texts, joining, and the dynamic-array helpers.
#include <algorithm>

#include "core/integer_text.h"
#include "core/text.h"
#include "core/text_kit.h"
#include "strings/mString.h"

namespace zelmor {

namespace {

// Full folding: every letter to its upper case, accented and non-Latin ones
// included, by Unicode's simple mapping (one code unit to one, so positions and
// lengths never change).
char16_t FoldFull(char16_t c) { return UpperChar(c); }

bool EqualFull(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i] && FoldFull(a[i]) != FoldFull(b[i])) return false;
  return true;
}

bool EqualAscii(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  return true;
}

struct FullFold {
  char16_t operator()(char16_t c) const { return FoldFull(c); }
};

template <class Range>
int IndexOfFolded(std::u16string_view asTexto, const Range& items) {
  int i = 0;
  for (const auto& item : items) {
    if (EqualFull(asTexto, item)) return i;
    ++i;
  }
  return -1;
}

template <class Range>
bool ContainsAllFolded(std::u16string_view asTexto, const Range& items) {
  for (const auto& item : items) {
    const std::u16string_view v(item);
    if (!v.empty() && textkit::Searcher<FullFold>(v).Find(asTexto) == std::u16string_view::npos) return false;
  }
  return true;
}

template <class Searcher>
std::u16string ReplaceAll(std::u16string_view Texto, const Searcher& este, std::u16string_view PorEste) {
  const std::size_t m = este.Size();
  std::size_t pos = este.Find(Texto);
  if (pos == std::u16string_view::npos) return std::u16string(Texto);
  // Size the result once: by the text when it cannot grow, else by counting.
  std::size_t size = Texto.size();
  if (PorEste.size() > m) {
    std::size_t count = 0;
    for (std::size_t p = pos; p != std::u16string_view::npos; p = este.Find(Texto, p + m)) ++count;
    size += count * (PorEste.size() - m);
  }
  std::u16string out;
  out.reserve(size);
  std::size_t start = 0;
  for (; pos != std::u16string_view::npos; pos = este.Find(Texto, start)) {
    out.append(Texto.substr(start, pos - start));
    out.append(PorEste);
    start = pos + m;
  }
  out.append(Texto.substr(start));
  return out;
}

// The Concatena rule applied to a whole sequence: the separator goes between the
// accumulated text and the next element once the accumulated text is not empty.
template <class Range, class Writer>
std::u16string JoinByRule(const Range& items, std::u16string_view sep, Writer write) {
  std::size_t size = 0;
  bool filled = false;
  for (const auto& item : items) {
    const std::size_t n = write(item, nullptr);
    if (filled) size += sep.size();
    size += n;
    filled = filled || n > 0;
  }
  std::u16string out;
  out.reserve(size);
  for (const auto& item : items) {
    if (!out.empty()) out.append(sep);
    write(item, &out);
  }
  return out;
}

std::size_t WriteText(std::u16string_view s, std::u16string* out) {
  if (out) out->append(s);
  return s.size();
}

std::size_t WriteQuoted(std::u16string_view s, std::u16string* out) {
  if (out) textkit::AppendQuoted(*out, s);
  return textkit::QuotedLength(s);
}

std::size_t WriteInt(std::int32_t v, std::u16string* out) {
  if (out) AppendInteger(*out, v);
  const std::uint32_t magnitude = v < 0 ? 0u - static_cast<std::uint32_t>(v) : static_cast<std::uint32_t>(v);
  return static_cast<std::size_t>(DecimalDigitCount(magnitude) + (v < 0 ? 1 : 0));
}

template <class Range>
std::u16string JoinTexts(const Range& items, std::u16string_view sep, bool quoted) {
  if (quoted) return JoinByRule(items, sep, [](std::u16string_view s, std::u16string* o) { return WriteQuoted(s, o); });
  return JoinByRule(items, sep, [](std::u16string_view s, std::u16string* o) { return WriteText(s, o); });
}

template <class Range>
std::u16string JoinInts(const Range& items, std::u16string_view sep) {
  return JoinByRule(items, sep, [](std::int32_t v, std::u16string* o) { return WriteInt(v, o); });
}

}  // namespace

// ----- Replacing and comparing ------------------------------------------------

std::u16string TmStr::Replace(std::u16string_view Texto, std::u16string_view Este, std::u16string_view PorEste,
                              bool IgnoraCaseSensitive) {
  if (Este.empty()) return std::u16string(Texto);
  if (IgnoraCaseSensitive) return ReplaceAll(Texto, textkit::Searcher<FullFold>(Este), PorEste);
  return ReplaceAll(Texto, textkit::Searcher<>(Este), PorEste);
}

bool TmStr::StartsWith(std::u16string_view Texto, std::u16string_view Value, bool abIgnoreCase) {
  if (Value.size() > Texto.size()) return false;
  const std::u16string_view head = Texto.substr(0, Value.size());
  return abIgnoreCase ? EqualAscii(head, Value) : head == Value;
}

bool TmStr::EndsWith(std::u16string_view Texto, std::u16string_view Value) {
  return Value.size() <= Texto.size() && Texto.substr(Texto.size() - Value.size()) == Value;
}

bool TmStr::EqualsIgnoreCase(std::u16string_view asValue, std::u16string_view asValue2) {
  return EqualAscii(asValue, asValue2);
}

// ----- Membership -------------------------------------------------------------

int TmStr::ContemPos(std::u16string_view asTexto, std::initializer_list<std::u16string_view> aaTextos) {
  return IndexOfFolded(asTexto, aaTextos);
}
int TmStr::ContemPos(std::u16string_view asTexto, const TzelArrayString& aaTextos) {
  return IndexOfFolded(asTexto, aaTextos);
}

bool TmStr::Contem(std::u16string_view asTexto, std::initializer_list<std::u16string_view> aaTextos) {
  return ContemPos(asTexto, aaTextos) >= 0;
}
bool TmStr::Contem(std::u16string_view asTexto, const TzelArrayString& aaTextos) {
  return ContemPos(asTexto, aaTextos) >= 0;
}

bool TmStr::ContemTodos(std::u16string_view asTexto, std::initializer_list<std::u16string_view> aaTextos) {
  return ContainsAllFolded(asTexto, aaTextos);
}
bool TmStr::ContemTodos(std::u16string_view asTexto, const TzelArrayString& aaTextos) {
  return ContainsAllFolded(asTexto, aaTextos);
}

bool TmStr::ContemInt(std::int32_t aiInteiro, std::initializer_list<std::int32_t> aaArrayInteiro) {
  return std::find(aaArrayInteiro.begin(), aaArrayInteiro.end(), aiInteiro) != aaArrayInteiro.end();
}
bool TmStr::ContemInt(std::int32_t aiInteiro, const TzelArrayInteger& aaArrayInteiro) {
  return std::find(aaArrayInteiro.begin(), aaArrayInteiro.end(), aiInteiro) != aaArrayInteiro.end();
}

// ----- Locating ---------------------------------------------------------------

int TmStr::PosReverse(std::u16string_view asSubStr, std::u16string_view asStr) {
  if (asSubStr.empty()) return 0;
  const std::size_t start = textkit::Searcher<>(asSubStr).FindLast(asStr);
  if (start == std::u16string_view::npos) return 0;
  // The reversed search finds the occurrence that ends last, counted from the end.
  return static_cast<int>(asStr.size() - (start + asSubStr.size() - 1));
}

int TmStr::PosPrimeiroNumero(std::u16string_view asText) {
  const auto it = std::find_if(asText.begin(), asText.end(), textkit::IsDigit);
  return it == asText.end() ? 0 : static_cast<int>(it - asText.begin()) + 1;
}

int TmStr::GetPosCaracterBackJumpingNCaracter(std::u16string_view Texto, char16_t Caracter, int QtdeCaracter) {
  const int wanted = std::max(QtdeCaracter, 1);
  int seen = 0;
  for (std::size_t i = Texto.size(); i-- > 0;)
    if (Texto[i] == Caracter && ++seen == wanted) return static_cast<int>(i) + 1;
  return 0;
}

std::u16string TmStr::Coalesce(std::u16string_view asValue, std::u16string_view asDefault) {
  return std::u16string(asValue.empty() ? asDefault : asValue);
}

// ----- Joining ----------------------------------------------------------------

namespace {

// Whether `value` is already one of the parts of `text` between separators (or,
// with no separator, anywhere in it).
bool AlreadyPresent(std::u16string_view text, std::u16string_view value, std::u16string_view sep) {
  if (sep.empty()) return textkit::Searcher<>(value).Find(text) != std::u16string_view::npos;
  const textkit::Searcher<> separator(sep);
  for (std::size_t start = 0;;) {
    const std::size_t end = separator.Find(text, start);
    if (text.substr(start, end == std::u16string_view::npos ? std::u16string_view::npos : end - start) == value)
      return true;
    if (end == std::u16string_view::npos) return false;
    start = end + sep.size();
  }
}

}  // namespace

void TmStr::Concatena(std::u16string& asEste, std::u16string_view asComEste,
                      std::u16string_view asSeparadorSePreenchido, bool asValidaSeJaExiste) {
  if (asEste.empty()) {
    asEste.assign(asComEste);
    return;
  }
  if (asValidaSeJaExiste && !asComEste.empty() && AlreadyPresent(asEste, asComEste, asSeparadorSePreenchido)) return;
  asEste.reserve(asEste.size() + asSeparadorSePreenchido.size() + asComEste.size());
  asEste.append(asSeparadorSePreenchido);
  asEste.append(asComEste);
}

std::u16string TmStr::Concatena(const TzelArrayString& aaLista, std::u16string_view asSeparador) {
  return JoinTexts(aaLista, asSeparador, false);
}

void TmStr::ConcatenaInicio(std::u16string& asEste, std::u16string_view asComEste,
                            std::u16string_view asSeparadorSePreenchido) {
  if (asEste.empty()) {
    asEste.assign(asComEste);
    return;
  }
  std::u16string prefix;
  prefix.reserve(asComEste.size() + asSeparadorSePreenchido.size());
  prefix.append(asComEste);
  prefix.append(asSeparadorSePreenchido);
  asEste.insert(0, prefix);
}

std::u16string TmStr::ArrayConcatToStr(const TzelArrayString& aaArrayStr, std::u16string_view asSeparador,
                                       bool abQuoted) {
  return JoinTexts(aaArrayStr, asSeparador, abQuoted);
}

std::u16string TmStr::ArrayStrConcatToStr(const TArrayStr& aaArrayStr, std::u16string_view asSeparador, bool abQuoted) {
  return JoinTexts(aaArrayStr, asSeparador, abQuoted);
}

std::u16string TmStr::ArrayIntToStr(std::initializer_list<std::int32_t> aaArrayInt, std::u16string_view asSeparador) {
  return JoinInts(aaArrayInt, asSeparador);
}
std::u16string TmStr::ArrayIntToStr(const TzelArrayInteger& aaArrayInt, std::u16string_view asSeparador) {
  return JoinInts(aaArrayInt, asSeparador);
}

std::u16string TmStr::ArrayCharToString(std::initializer_list<char16_t> aaChar) {
  return std::u16string(aaChar.begin(), aaChar.end());
}
std::u16string TmStr::ArrayCharToString(const std::vector<char16_t>& aaChar) {
  return std::u16string(aaChar.begin(), aaChar.end());
}

// ----- Dynamic arrays ---------------------------------------------------------

void TmStr::AddArray(TzelArrayString& aalista, std::u16string_view asValor) { aalista.emplace_back(asValor); }
void TmStr::AddArray(TzelArrayInteger& aalista, std::int32_t aiValor) { aalista.push_back(aiValor); }
void TmStr::ClearArray(TzelArrayString& aalista) { aalista.clear(); }
void TmStr::ClearArray(TzelArrayInteger& aalista) { aalista.clear(); }

TStringList TmStr::zelAStrToTStrings(const TzelArrayString& aaZelStr) {
  TStringList l;
  l.Items.assign(aaZelStr.begin(), aaZelStr.end());
  return l;
}

}  // namespace zelmor
