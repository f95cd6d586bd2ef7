// Small numeric helpers: multiples, ranges, binary text, SQL "IN" lists, the
// modulo-10 check digit and volumes.
#include <cmath>

#include "core/text.h"
#include "datetime/mConvert.h"
#include "parsing/conversions.h"
#include "strings/mString.h"

namespace zelmor {

namespace {

// The quotient, computed in floating point, has no fraction.
bool WholeQuotient(double valor, double multiplo) {
  if (valor == 0) {
    if (multiplo == 0 || std::isnan(multiplo)) throw EInvalidOp(u"Operação de ponto flutuante inválida");
    throw EZeroDivide(u"Divisão de ponto flutuante por zero");
  }
  const double q = multiplo / valor;
  return q == std::trunc(q);
}

}  // namespace

bool TmConv::IsMultiplo(std::int32_t Valor, std::int32_t Multiplo) {
  if (Multiplo == 0 || Multiplo == 1 || Multiplo < Valor) return false;
  return WholeQuotient(Valor, Multiplo);
}

bool TmConv::IsMultiplo(double Valor, double Multiplo) {
  if (Multiplo == 0 || Valor > Multiplo) return false;
  return WholeQuotient(Valor, Multiplo);
}

bool TmConv::IsMultiplo(std::int32_t Valor, double Multiplo) {
  if (Multiplo == 0 || Multiplo == 1 || Valor > Multiplo) return false;
  return WholeQuotient(Valor, Multiplo);
}

bool TmConv::IsMultiplo(double Valor, std::int32_t Multiplo) {
  if (Multiplo == 0 || Multiplo == 1 || Multiplo < Valor) return false;
  return WholeQuotient(Valor, Multiplo);
}

bool TmConv::InRangeInt(std::int32_t aiNumero, std::int32_t aiInicial, std::int32_t aiFinal) {
  return aiInicial <= aiNumero && aiNumero <= aiFinal;
}

std::u16string TmConv::IntToBin(std::int32_t Valor, std::int32_t DigitosBinario) {
  if (DigitosBinario < 0) return {};
  std::u16string out(static_cast<std::size_t>(DigitosBinario) + 1, u'0');
  const auto bits = static_cast<std::uint32_t>(Valor);
  for (std::int32_t i = DigitosBinario, k = 0; i >= 0; --i, ++k)
    if ((bits >> (i & 31)) & 1u) out[static_cast<std::size_t>(k)] = u'1';
  return out;
}

std::u16string TmConv::ArrayIntToInStr(const TzelArrayInteger& aaInt, std::u16string_view asSeparador) {
  return TmStr::ArrayIntToStr(aaInt, asSeparador);  // integers are never empty: a plain join
}

std::u16string TmConv::Modulo10(std::u16string_view Codigo) {
  int sum = 0;
  int weight = 2;
  for (std::size_t i = Codigo.size(); i-- > 0;) {
    const char16_t c = Codigo[i];
    // A non-digit fails the way reading it as a number does.
    const int digit = (c >= u'0' && c <= u'9') ? c - u'0' : StrToInt(std::u16string_view(&Codigo[i], 1));
    int product = digit * weight;
    if (product > 9) product = product / 10 + product % 10;
    sum += product;
    weight = 3 - weight;
  }
  const int rest = sum % 10;
  return std::u16string(1, static_cast<char16_t>(u'0' + (rest == 0 ? 0 : 10 - rest)));
}

double TmConv::CalcCubaCm(double Altura, double Largura, double Profundidade) {
  return Altura * Largura * Profundidade;
}

double TmConv::CalcCubaM(double AlturaCm, double LarguraCm, double ProdundidadeCM) {
  return AlturaCm * LarguraCm * ProdundidadeCM / 1000000.0;
}

}  // namespace zelmor
