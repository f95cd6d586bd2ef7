// Integers in hexadecimal and binary, texts as hexadecimal digits, the packed
// text form, and the symmetric disguising routines (keyed XOR, the hexadecimal
// chain of Encrip/Decrip, and the digit alphabets of the disguised amounts).
#include <array>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "core/errors.h"
#include "core/integer_text.h"
#include "core/text.h"
#include "core/text_kit.h"
#include "format/format_number.h"
#include "regional/format_settings.h"
#include "strings/mString.h"

namespace zelmor {

namespace {

[[noreturn]] void NotHex(std::u16string_view s) {
  throw EConvertError(u"'" + std::u16string(s) + u"' não é um valor hexadecimal válido");
}

// The low byte of `v` as two upper-case hexadecimal digits.
void AppendHex2(std::u16string& out, unsigned v) { AppendUnsigned<16>(out, v & 0xFFu, 2, true); }

std::mt19937& Random() {
  thread_local std::mt19937 gen{std::random_device{}()};
  return gen;
}

// ---- The packed text form ----

// The letters packed in two units, at indexes 4 to 14.
constexpr std::u16string_view kPackedLetters = u"etaonirshdl";
constexpr std::size_t kPackedLimit = 1024;

class UnitWriter {
 public:
  void Put(unsigned unit) {
    if (FUnits % 4 == 0) FBytes.push_back(0);
    FBytes.back() = static_cast<char16_t>(FBytes.back() | (unit << (6 - 2 * (FUnits % 4))));
    ++FUnits;
  }
  std::size_t Units() const { return FUnits; }
  std::u16string Take() { return std::move(FBytes); }

 private:
  std::u16string FBytes;
  std::size_t FUnits = 0;
};

class UnitReader {
 public:
  explicit UnitReader(std::u16string_view bytes) : FBytes(bytes) {}
  bool Get(unsigned& unit) {
    if (FUnit >= FBytes.size() * 4) return false;
    unit = (FBytes[FUnit / 4] >> (6 - 2 * (FUnit % 4))) & 3u;
    ++FUnit;
    return true;
  }

 private:
  std::u16string_view FBytes;
  std::size_t FUnit = 0;
};

[[noreturn]] void BadPacked(std::u16string_view why) {
  throw EConvertError(u"Texto compactado inválido: " + std::u16string(why));
}

// ---- The alphabets of the disguised amounts ----

// Row r is used after the leading digit r: digit d is written as character d of the
// row (1-based), 0 as the tenth. Every row is a permutation of the ten digits that
// moves every digit, so the disguised amount still reads as a number.
constexpr std::array<std::u16string_view, 10> kAlfabetos = {
    u"9086421735", u"4376985201", u"7158930624", u"6328790541", u"3782409165",
    u"7406983215", u"4826309175", u"5182076349", u"6403198527", u"5390126748",
};

}  // namespace

// ---- Bases ----

std::int32_t TmStr::HexaToDecimal(std::u16string_view HexaStr) {
  std::uint32_t r = 0;
  for (std::size_t i = 0; i < HexaStr.size(); ++i) {
    const int d = HexDigitValue(HexaStr[i]);
    if (d < 0) NotHex(HexaStr);
    const std::size_t fromRight = HexaStr.size() - 1 - i;
    if (fromRight < 8) r += static_cast<std::uint32_t>(d) << (4 * fromRight);  // 16^8 wraps to nothing
  }
  return static_cast<std::int32_t>(r);
}

std::u16string TmStr::DecimalToHex(std::int32_t Decimal) {
  std::u16string r;
  AppendUnsigned<16>(r, static_cast<std::uint32_t>(Decimal), 1, true);
  return r;
}

std::u16string TmStr::DecToBin(std::int32_t N) {
  std::uint32_t v = N < 0 ? static_cast<std::uint32_t>(-static_cast<std::int64_t>(N)) : static_cast<std::uint32_t>(N);
  if (v == 0) return std::u16string(32, u'0');
  std::u16string r = N < 0 ? u"-" : u"";
  AppendUnsigned<2>(r, v);
  return r;
}

std::u16string TmStr::Heximiza(std::u16string_view Palavra) {
  std::u16string r;
  r.reserve(Palavra.size() * 2);
  for (char16_t c : Palavra) r += DecimalToHex(c);
  return r;
}

std::u16string TmStr::DesHeximiza(std::u16string_view Palavra) {
  // A lone last digit would otherwise be dropped without a word.
  if (Palavra.size() % 2 != 0) NotHex(Palavra);
  std::u16string r;
  r.reserve(Palavra.size() / 2);
  for (std::size_t i = 0; i < Palavra.size(); i += 2) {
    const int hi = HexDigitValue(Palavra[i]), lo = HexDigitValue(Palavra[i + 1]);
    if (hi < 0 || lo < 0) NotHex(Palavra);
    r += static_cast<char16_t>(hi * 16 + lo);
  }
  return r;
}

// ---- Packed text ----

std::u16string TmStr::ComprimeString(std::u16string_view Original) {
  UnitWriter w;
  auto putCode = [&w](unsigned code) {
    w.Put(3);
    w.Put(3);
    for (int shift = 6; shift >= 0; shift -= 2) w.Put((code >> shift) & 3u);
  };
  for (char16_t c : Original) {
    if (c == u' ') {
      w.Put(0);
    } else if (const std::size_t k = kPackedLetters.find(c); k != std::u16string_view::npos) {
      w.Put(static_cast<unsigned>((k + 4) / 4));
      w.Put(static_cast<unsigned>((k + 4) % 4));
    } else if (c >= 1 && c <= 255) {
      putCode(c);
    } else {
      // Code 0 is the end mark and only the low 8 bits of a code are kept.
      throw EConvertError(u"O caractere de código " + IntToStr(c) + u" não pode ser compactado.");
    }
    // Stop as soon as the form cannot fit, before a long text is walked to its end.
    if (w.Units() + 6 > kPackedLimit * 4) throw EConvertError(u"O texto compactado passaria de 1024 caracteres.");
  }
  putCode(0);
  return w.Take();
}

std::u16string TmStr::DescomprimeString(std::u16string_view Original) {
  if (Original.empty()) return {};
  for (char16_t c : Original)
    if (c > 255) BadPacked(u"caractere de código " + IntToStr(c) + u".");
  UnitReader rd(Original);
  std::u16string r;
  unsigned u = 0, v = 0;
  while (rd.Get(u)) {
    if (u == 0) {
      r += u' ';
      continue;
    }
    if (!rd.Get(v)) break;
    const unsigned index = u * 4 + v;
    if (index != 15) {
      r += kPackedLetters[index - 4];
      continue;
    }
    unsigned code = 0;
    for (int k = 0; k < 4; ++k) {
      if (!rd.Get(v)) BadPacked(u"falta a marca de fim.");
      code = code << 2 | v;
    }
    if (code == 0) return r;
    r += static_cast<char16_t>(code);
  }
  BadPacked(u"falta a marca de fim.");
}

// ---- Scrambling ----

std::u16string TmStr::Criptografa(std::u16string_view Palavra, std::u16string_view Chave) {
  std::u16string r(Palavra);
  for (std::size_t i = 0; i < r.size(); ++i) {
    const char16_t k = Chave.empty() ? 0 : Chave[i % Chave.size()];
    r[i] = static_cast<char16_t>(r[i] ^ 0xFFFFu ^ k);
  }
  return r;
}

std::u16string TmStr::Encrip(std::u16string_view Texto, std::u16string_view Chave) {
  for (char16_t c : Texto)
    if (c < 1 || c > 255) return u"Erro";
  for (char16_t k : Chave)
    if (k > 255) return u"Erro";
  auto key = [&](std::size_t i) -> unsigned { return Chave.empty() ? 0u : Chave[i % Chave.size()]; };
  // The chain cannot carry code 255 out of a link whose value is 255 (it reads back as
  // 0); such a start is passed over for the next one.
  const unsigned first = std::uniform_int_distribution<unsigned>(0, 255)(Random());
  for (unsigned t = 0; t < 256; ++t) {
    unsigned b = (first + t) & 255u;
    std::u16string r;
    r.reserve(2 + Texto.size() * 2);
    AppendHex2(r, b);
    bool ok = true;
    for (std::size_t i = 0; i < Texto.size() && ok; ++i) {
      ok = !(b == 255 && Texto[i] == 255);
      b = ((b + Texto[i]) % 255) ^ key(i);
      AppendHex2(r, b);
    }
    if (ok) return r;
  }
  return u"Erro";
}

std::u16string TmStr::Decrip(std::u16string_view Texto, std::u16string_view Chave) {
  if (Texto.empty()) return {};
  if (Texto.size() % 2 != 0) return u"Erro";
  for (char16_t c : Texto)
    if (HexDigitValue(c) < 0) return u"Erro";
  for (char16_t k : Chave)
    if (k > 255) return u"Erro";
  auto pair = [&](std::size_t p) {
    return static_cast<unsigned>(HexDigitValue(Texto[p]) * 16 + HexDigitValue(Texto[p + 1]));
  };
  unsigned b = pair(0);
  std::u16string r;
  r.reserve(Texto.size() / 2);
  for (std::size_t p = 2, i = 0; p < Texto.size(); p += 2, ++i) {
    const unsigned c = pair(p);
    const unsigned d = c ^ (Chave.empty() ? 0u : Chave[i % Chave.size()]);
    r += static_cast<char16_t>(b < d ? d - b : d + 255 - b);
    b = c;
  }
  return r;
}

std::u16string TmStr::CriptoNumero(double Valor) {
  // The pattern writes exponent forms from 1e18 up, which have no cents to disguise.
  if (!std::isfinite(Valor) || std::fabs(Valor) >= 1e18) return {};
  const std::u16string texto = FormatFloat(u"#,##0.00", Valor);
  const unsigned r = std::uniform_int_distribution<unsigned>(1, 9)(Random());
  const std::u16string_view alfabeto = kAlfabetos[r];
  std::u16string s(1, static_cast<char16_t>(u'0' + r));
  for (char16_t c : texto)
    if (textkit::IsDigit(c)) s += alfabeto[static_cast<std::size_t>(c - u'0' + 9) % 10];
  std::u16string grouped = FormataNumeroPontos(s);
  // The sign stays visible: without it a debit would come back as a credit.
  return texto.find(u'-') != std::u16string::npos ? u"-" + grouped : grouped;
}

std::u16string TmStr::DescriptoNumero(std::u16string_view Valor) {
  // Digits only: a decimal separator of "." would otherwise keep the grouping dots.
  const std::u16string digitos = SomenteNumeros(Valor, true);
  if (digitos.empty()) return {};
  const std::u16string_view alfabeto = kAlfabetos[static_cast<std::size_t>(digitos[0] - u'0')];
  std::u16string s;
  for (std::size_t i = 1; i < digitos.size(); ++i)
    s += static_cast<char16_t>(u'0' + (alfabeto.find(digitos[i]) + 1) % 10);
  if (s.size() < 3) s.insert(0, 3 - s.size(), u'0');
  s.insert(s.size() - 2, 1, FormatSettings().DecimalSeparator);
  const std::u16string_view t = textkit::Trim(Valor);
  return !t.empty() && t.front() == u'-' ? u"-" + s : s;
}

}  // namespace zelmor
