// Padding, centring, zero filling and field extraction.
#include <algorithm>
#include <cstdlib>

#include "format/format_number.h"
#include "strings/mString.h"

namespace zelmor {
namespace {

std::size_t PadCount(int Tamanho, std::size_t used) {
  return Tamanho > 0 && static_cast<std::size_t>(Tamanho) > used ? static_cast<std::size_t>(Tamanho) - used : 0;
}

}  // namespace

std::u16string TmStr::PadLeft(std::u16string_view Texto, int Tamanho, char16_t PadChar, bool abCortarTexto) {
  std::u16string r;
  const std::size_t pad = PadCount(Tamanho, Texto.size());
  r.reserve(Texto.size() + pad);
  r.append(Texto);
  r.append(pad, PadChar);
  if (abCortarTexto && r.size() > static_cast<std::size_t>(std::max(Tamanho, 0)))
    r.resize(static_cast<std::size_t>(std::max(Tamanho, 0)));
  return r;
}

std::u16string TmStr::PadRight(std::u16string_view Texto, int Tamanho, char16_t PadChar, bool abCortarTexto) {
  const std::size_t pad = PadCount(Tamanho, Texto.size());
  if (abCortarTexto) {
    const std::size_t width = static_cast<std::size_t>(std::max(Tamanho, 0));
    if (pad + Texto.size() > width) return std::u16string(Texto.substr(Texto.size() - width));
  }
  std::u16string r;
  r.reserve(Texto.size() + pad);
  r.append(pad, PadChar);
  r.append(Texto);
  return r;
}

std::u16string TmStr::PadRightStrFim(std::u16string_view Texto, int Tamanho, char16_t PadChar,
                                     std::u16string_view StrFim) {
  std::u16string r;
  r.append(PadCount(Tamanho, Texto.size() + StrFim.size()), PadChar);
  r.append(StrFim);
  r.append(Texto);
  const std::size_t width = static_cast<std::size_t>(std::max(Tamanho, 0));
  if (r.size() > width) r.erase(0, r.size() - width);
  return r;
}

std::u16string TmStr::PadCenter(std::u16string_view Texto, int Tamanho, char16_t PadChar) {
  if (Tamanho <= 0) return {};
  const std::size_t width = static_cast<std::size_t>(Tamanho);
  if (Texto.size() <= width) {
    // Steps alternate right, left, right...: the right side gets the odd one.
    const std::size_t d = width - Texto.size();
    std::u16string r;
    r.reserve(width);
    r.append(d / 2, PadChar);
    r.append(Texto);
    r.append(d - d / 2, PadChar);
    return r;
  }
  // Cuts alternate left, right, left...: the left side loses the odd one.
  const std::size_t e = Texto.size() - width;
  return std::u16string(Texto.substr(e - e / 2, width));
}

std::u16string TmStr::RealPadLeft(std::u16string_view asTexto, int aiTamanho, char16_t acPadChar, bool abCortarTexto) {
  return PadRight(asTexto, aiTamanho, acPadChar, abCortarTexto);
}

std::u16string TmStr::RealPadRight(std::u16string_view asTexto, int aiTamanho, char16_t acPadChar, bool abCortarTexto) {
  return PadLeft(asTexto, aiTamanho, acPadChar, abCortarTexto);
}

std::u16string TmStr::CopyRight(std::u16string_view Texto, int Tamanho) {
  if (Tamanho < 0) Tamanho = 0;
  if (static_cast<std::size_t>(Tamanho) < Texto.size())
    return std::u16string(Texto.substr(Texto.size() - static_cast<std::size_t>(Tamanho)));
  return std::u16string(Texto);
}

std::u16string TmStr::Space(int Qtd) { return std::u16string(Qtd > 0 ? static_cast<std::size_t>(Qtd) : 0, u' '); }

std::u16string TmStr::RepeteStr(std::u16string_view Texto, int Qtd) {
  std::u16string r;
  if (Qtd <= 0) return r;
  r.reserve(Texto.size() * static_cast<std::size_t>(Qtd));
  for (int i = 0; i < Qtd; ++i) r.append(Texto);
  return r;
}

std::u16string TmStr::StrZero(std::int32_t Valor, int Tamanho) {
  if (Tamanho <= 0) return FormatFloat(u"", Valor);
  return FormatFloat(std::u16string(static_cast<std::size_t>(Tamanho), u'0'), Valor);
}

std::u16string TmStr::StrZeroNegativo(std::int32_t Valor, int Tamanho, bool RemoveNegativo) {
  if (Valor >= 0) return StrZero(Valor, Tamanho);
  // Widen first: the magnitude of INT32_MIN does not fit in 32 bits.
  const std::int64_t magnitude = -static_cast<std::int64_t>(Valor);
  std::u16string digits = FormatFloat(std::u16string(static_cast<std::size_t>(std::max(Tamanho - 1, 1)), u'0'),
                                      static_cast<double>(magnitude));
  return RemoveNegativo ? digits : u"-" + digits;
}

std::u16string TmStr::StrZeroFloat(double Valor, int Tamanho, int Decimais) {
  std::u16string s = FloatToStrF(Valor, FloatFormat::Fixed, 15, Decimais);
  std::erase(s, u'-');
  if (Tamanho > 0 && s.size() < static_cast<std::size_t>(Tamanho))
    s.insert(0, static_cast<std::size_t>(Tamanho) - s.size(), u'0');
  return s;
}

std::u16string TmStr::Separa(std::u16string_view Texto, char16_t Separador, int Posicao) {
  if (Posicao < 1) Posicao = 1;
  int field = 1;
  std::size_t start = 0;
  for (std::size_t i = 0; i < Texto.size(); ++i) {
    if (Texto[i] != Separador) continue;
    if (field == Posicao) return std::u16string(Texto.substr(start, i - start));
    ++field;
    start = i + 1;
  }
  return field == Posicao ? std::u16string(Texto.substr(start)) : std::u16string();
}

int TmStr::Ocorre(std::u16string_view Texto, std::u16string_view SubTexto) {
  if (Texto.empty() || SubTexto.empty()) return 0;
  int count = 0;
  std::size_t pos = 0;
  while ((pos = Texto.find(SubTexto, pos)) != std::u16string_view::npos) {
    ++count;
    pos += SubTexto.size();
  }
  return count;
}

}  // namespace zelmor
