// Keeping only digits, letters or a chosen set of characters; removing line
// breaks, duplicate spaces and leading characters; the small SQL helpers.
// Accents and the escaped 7-bit form are in accents.cpp.
#include <algorithm>

#include "core/text.h"
#include "core/text_kit.h"
#include "regional/regional_copies.h"
#include "strings/mString.h"

namespace zelmor {

using textkit::BoundedText;
using textkit::IsAsciiLetter;
using textkit::IsDigit;
using textkit::Trim;

namespace {

template <class Keep>
std::u16string Filter(std::u16string_view s, Keep keep) {
  BoundedText out(s.size());
  for (char16_t c : s)
    if (keep(c)) out.Add(c);
  return out.Take();
}

bool IsAlphanumeric(char16_t c) { return c == u' ' || IsDigit(c) || IsAsciiLetter(c); }

bool IsPlainText(char16_t c) {
  return (c >= 32 && c <= 126) || (c >= 192 && c <= 214) || (c >= 217 && c <= 220) || (c >= 224 && c <= 252);
}

}  // namespace

// ----- TCharSet ---------------------------------------------------------------

TmStr::TCharSet::TCharSet(std::u16string_view Membros) {
  for (char16_t c : Membros)
    if (c < 256) FBits[c >> 6] |= std::uint64_t{1} << (c & 63);
}

TmStr::TCharSet TmStr::TCharSet::Range(char16_t De, char16_t Ate) {
  TCharSet s;
  for (unsigned c = De; c <= std::min<unsigned>(Ate, 255); ++c) s.FBits[c >> 6] |= std::uint64_t{1} << (c & 63);
  return s;
}

TmStr::TCharSet TmStr::TCharSet::operator+(const TCharSet& o) const {
  TCharSet s;
  for (int i = 0; i < 4; ++i) s.FBits[i] = FBits[i] | o.FBits[i];
  return s;
}

// ----- Keeping ----------------------------------------------------------------

std::u16string TmStr::SomenteNumeros(std::u16string_view Texto, bool DeleteDecimalSeparator) {
  const std::u16string_view t = Trim(Texto);
  if (DeleteDecimalSeparator) return Filter(t, IsDigit);
  const char16_t sep = RegionalCopies().DecimalSeparator;
  return Filter(t, [sep](char16_t c) { return IsDigit(c) || c == sep; });
}

std::u16string TmStr::SomenteLetras(std::u16string_view Texto, std::u16string_view IgnorarCaracter) {
  // Only a one-character text can equal a character.
  if (IgnorarCaracter.size() != 1) return Filter(Trim(Texto), IsAsciiLetter);
  const char16_t kept = IgnorarCaracter[0];
  return Filter(Trim(Texto), [kept](char16_t c) { return IsAsciiLetter(c) || c == kept; });
}

std::u16string TmStr::SomenteAlfa(std::u16string_view Texto, std::u16string_view asCaracterSubstituir) {
  const std::u16string_view t = Trim(Texto);
  if (asCaracterSubstituir.empty()) return Filter(t, IsAlphanumeric);
  const char16_t sub = asCaracterSubstituir[0];
  std::u16string out(t);
  for (char16_t& c : out)
    if (!IsAlphanumeric(c)) c = sub;
  return out;
}

std::u16string TmStr::SomenteASCII(std::u16string_view Texto) { return Filter(Trim(Texto), IsPlainText); }

std::u16string TmStr::Somente(std::u16string_view asTexto, const TCharSet& asLista, bool abTrim) {
  return Filter(abTrim ? Trim(asTexto) : asTexto, [&asLista](char16_t c) { return asLista.Contains(c); });
}

std::u16string TmStr::RemoveNumeros(std::u16string_view Texto) {
  return Filter(Texto, [](char16_t c) { return !IsDigit(c); });
}

// ----- Removing ---------------------------------------------------------------

std::u16string TmStr::RemoveEnter(std::u16string_view asText) {
  BoundedText out(asText.size());
  for (char16_t c : asText) {
    if (c == u'\n') continue;
    out.Add(c == u'\r' ? u' ' : c);
  }
  return out.Take();
}

std::u16string TmStr::RemoveEspacosDuplos(std::u16string_view S) {
  BoundedText out(S.size());
  bool afterSpace = false;
  for (char16_t c : S) {
    if (c == u' ' && afterSpace) continue;
    afterSpace = c == u' ';
    out.Add(c);
  }
  return out.Take();
}

std::u16string TmStr::RemoveZerosEsquerda(std::u16string_view Texto) { return RemoveCaracterLeft(Texto, u'0'); }

std::u16string TmStr::RemoveCaracterLeft(std::u16string_view Texto, char16_t Caracter) {
  std::size_t i = 0;
  while (i < Texto.size() && Texto[i] == Caracter) ++i;
  return std::u16string(Texto.substr(i));
}

int TmStr::ContarRepeticaoCaracter(std::u16string_view Texto, char16_t Caracter) {
  return static_cast<int>(std::count(Texto.begin(), Texto.end(), Caracter));
}

// ----- Tests and SQL helpers --------------------------------------------------

bool TmStr::IsNumero(std::u16string_view asText, bool abTrueIfEmpty) {
  if (asText.empty()) return abTrueIfEmpty;
  // SomenteNumeros(asText, false) == asText, without building it: nothing may be
  // trimmed away and nothing filtered out.
  if (Trim(asText).size() != asText.size()) return false;
  const char16_t sep = RegionalCopies().DecimalSeparator;
  return std::all_of(asText.begin(), asText.end(), [sep](char16_t c) { return IsDigit(c) || c == sep; });
}

std::u16string TmStr::IfVazioNull(std::u16string_view asValor) {
  if (Trim(asValor).empty()) return u"null";
  std::u16string out;
  out.reserve(textkit::QuotedLength(asValor));
  out.push_back(u'\'');
  for (char16_t c : asValor) {
    out.push_back(AsciiUpper(c));
    if (c == u'\'') out.push_back(u'\'');
  }
  out.push_back(u'\'');
  return out;
}

std::u16string TmStr::IfZeroNull(std::int32_t aiValor) { return aiValor == 0 ? u"null" : IntToStr(aiValor); }

std::u16string TmStr::Plural(bool Condicao) { return Condicao ? u"s" : u""; }

void TmStr::RemoverBOM_StringList(TStringList& Lista) {
  if (Lista.Count() == 0) return;
  std::u16string& first = Lista[0];
  if (first.size() > 2 && first[0] == 239 && first[1] == 187 && first[2] == 191) first.erase(0, 3);
}

}  // namespace zelmor
