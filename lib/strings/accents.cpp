// Accents and special characters: the accent table and its three users, the list
// of valid characters, the escaped 7-bit form, and the normalised name key.
#include <algorithm>
#include <array>

#include "core/integer_text.h"
#include "core/text.h"
#include "core/text_kit.h"
#include "strings/mString.h"

namespace zelmor {

using textkit::BoundedText;
using textkit::Trim;

namespace {

// What a Latin-1 character becomes: itself, another character, or nothing.
constexpr char16_t kDrop = 0xFFFF;

struct CharMap {
  std::array<char16_t, 256> To{};
  char16_t operator[](char16_t c) const { return c < 256 ? To[c] : c; }
};

// Accented letters and ª to their base letters; º is left to each caller.
constexpr CharMap MakeLetterMap() {
  CharMap m;
  for (int c = 0; c < 256; ++c) m.To[c] = static_cast<char16_t>(c);
  auto set = [&m](int from, int to, char16_t r) {
    for (int c = from; c <= to; ++c) m.To[c] = r;
  };
  set(192, 196, u'A');
  set(199, 199, u'C');
  set(200, 203, u'E');
  set(204, 207, u'I');
  set(209, 209, u'N');
  set(210, 214, u'O');
  set(217, 220, u'U');
  set(224, 228, u'a');
  set(231, 231, u'c');
  set(232, 235, u'e');
  set(236, 239, u'i');
  set(241, 241, u'n');
  set(242, 246, u'o');
  set(249, 252, u'u');
  set(170, 170, u'a');
  return m;
}

constexpr CharMap WithChanges(CharMap m, std::initializer_list<int> dropped, char16_t ordinal) {
  for (int c : dropped) m.To[c] = kDrop;
  m.To[186] = ordinal;
  return m;
}

constexpr CharMap kLetters = MakeLetterMap();
// RemoveAcentos: the quotes " ' ` ~ and the acute accent go away.
constexpr CharMap kAccents = WithChanges(kLetters, {34, 39, 96, 126, 180}, 186);
constexpr CharMap kAccentsOrdinal = WithChanges(kLetters, {34, 39, 96, 126, 180}, u'o');
// RemoveAcentosSQL: the double and single quotes stay; º is always "o".
constexpr CharMap kAccentsSql = WithChanges(kLetters, {96, 126, 180}, u'o');

std::u16string MapText(std::u16string_view s, const CharMap& m) {
  BoundedText out(s.size());
  for (char16_t c : s) {
    const char16_t r = m[c];
    if (r != kDrop) out.Add(r);
  }
  return out.Take();
}

struct Latin1Set {
  std::array<bool, 256> In{};
  bool Contains(char16_t c) const { return c < 256 && In[c]; }
};

constexpr Latin1Set MakeSet(std::u16string_view members) {
  Latin1Set s;
  for (char16_t c : members) s.In[c] = true;
  return s;
}

constexpr Latin1Set kSpecialKept =
    MakeSet(u" 0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ~'\"!@#$%^&*()_-+=|/\\{}[]:;,.<>");

// The list has no ê Ê î Î û Û ñ Ñ: those letters are dropped.
constexpr Latin1Set kValid = MakeSet(
    u"abcdefghijklmnopqrstuvxwyzçABCDEFGHIJKLMNOPQRSTUVXWYZÇ1234567890àáãäâèéëìíïòóôõöùúüýÿÀÁÃÄÂÈÉËÌÍÏÒÓÔÕÖÙÚÜÝ"
    u"!@#$%&*()_+=-\"{}[]/\\|?;:<>,.' ");

constexpr char16_t kEscape = 0xE6;     // æ
constexpr char16_t kEscapedAe = 0xBE;  // ¾ stands for a literal æ

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

int HexWidth(char16_t c) { return c < 0x100 ? 2 : c < 0x1000 ? 3 : 4; }

}  // namespace

std::u16string TmStr::RemoveAcentos(std::u16string_view Texto, bool abRemovePequenoO) {
  return MapText(Texto, abRemovePequenoO ? kAccentsOrdinal : kAccents);
}

std::u16string TmStr::RemoveAcentosSQL(std::u16string_view Texto) { return MapText(Texto, kAccentsSql); }

std::u16string TmStr::LimparStringParaSQL(std::u16string_view Texto) {
  std::u16string s = RemoveAcentosSQL(Texto);
  for (char16_t& c : s)
    if (c == u'/' || c == u'\\') c = u'_';
  return s;
}

std::u16string TmStr::RemoveCaracteresEspeciais(std::u16string_view Texto) {
  std::u16string out(Texto);
  for (char16_t& c : out) {
    if (kSpecialKept.Contains(c)) continue;
    const char16_t letter = c == 186 ? u'o' : kLetters[c];
    c = (letter != c && letter < 128) ? letter : u' ';
  }
  return out;
}

std::u16string TmStr::SomenteCaracteresValidos(std::u16string_view asTexto) {
  BoundedText out(asTexto.size());
  for (char16_t c : asTexto) {
    if (kValid.Contains(c))
      out.Add(c);
    else if (c == u'\r' || c == u'\n')
      out.Add(u' ');
  }
  return out.Take();
}

std::u16string TmStr::SomenteCaracteresValidosXML_WS(std::u16string_view asTexto) {
  std::u16string s = SomenteCaracteresValidos(asTexto);
  for (char16_t& c : s)
    if (c == u'\\') c = u'/';
  const std::u16string_view t = Trim(s);
  if (t.size() == s.size()) return s;
  return std::u16string(t);
}

std::u16string TmStr::Asc2Ansi(std::u16string_view Original) {
  std::size_t size = 0;
  for (char16_t c : Original)
    size += (c >= 32 && c <= 126) || c == kEscape ? 1 : 1 + static_cast<std::size_t>(HexWidth(c));
  std::u16string out;
  out.reserve(size);
  for (char16_t c : Original) {
    if (c >= 32 && c <= 126) {
      out.push_back(c == u'"' ? u'_' : c == u'\'' ? u'-' : c == u'`' ? u'~' : c);
    } else if (c == kEscape) {
      out.push_back(kEscapedAe);
    } else {
      out.push_back(kEscape);
      AppendUnsigned<16>(out, c, HexWidth(c), true);
    }
  }
  return out;
}

std::u16string TmStr::Ansi2Asc(std::u16string_view Original) {
  // One pass, left to right: a decoded character is never read again, so a decoded
  // "æ" or "¾" stays what it is.
  BoundedText out(Original.size());
  for (std::size_t i = 0; i < Original.size();) {
    const char16_t c = Original[i];
    if (c == kEscapedAe) {
      out.Add(kEscape);
      ++i;
      continue;
    }
    if (c != kEscape) {
      out.Add(c);
      ++i;
      continue;
    }
    // Up to two characters after the "æ" make the code; anything not hex gives 0.
    const std::size_t digits = std::min<std::size_t>(2, Original.size() - i - 1);
    int code = digits == 0 ? -1 : 0;
    for (std::size_t k = 1; k <= digits && code >= 0; ++k) {
      const int d = HexDigit(Original[i + k]);
      code = d < 0 ? -1 : code * 16 + d;
    }
    out.Add(static_cast<char16_t>(code < 0 ? 0 : code));
    i += 1 + digits;
  }
  return out.Take();
}

std::u16string TmStr::Clear(std::u16string_view S) {
  // RemoveEspacosDuplos, Trim, RemoveAcentos (º → o) and ASCII lower case in one
  // pass. Trimming first is the same: collapsing spaces never touches the ends.
  const std::u16string_view t = Trim(S);
  BoundedText out(t.size());
  for (std::size_t i = 0; i < t.size(); ++i) {
    if (t[i] == u' ' && i > 0 && t[i - 1] == u' ') continue;
    const char16_t r = kAccentsOrdinal[t[i]];
    if (r != kDrop) out.Add(AsciiLower(r));
  }
  return out.Take();
}

}  // namespace zelmor
