// TmConv: conversions between text and numbers in Brazilian and SQL forms,
// comparison, truncation and rounding at a number of decimals, and small numeric
// helpers. Class-level operations only; nothing keeps state.
//
// Which separators a routine reads matters:
//   * "copied" separators are the regional copies taken at start-up
//     (startup/regional_copies.h; TmReg.SetPadraoBrasil may set them to "," and ".");
//   * "live" settings are FormatSettings(), which parsing and general-format
//     writing use.
// With Brazilian settings both are "," (decimal) and "." (thousands).
//
// The central rule: truncation, comparison and the arithmetic rounding work on the
// decimal text of a value — its general format, 15 significant digits — not on the
// base-2 double, so 0.29 truncates to 0.29 and not to 0.28.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/errors.h"
#include "core/types.h"
#include "mConst.h"

namespace zelmor {

// The floating-point errors a division raises: a zero divisor of a non-zero
// value, and 0 / 0.
ZELMOR_DECLARE_ERROR(EZeroDivide, "zero-divide");  // "Divisão de ponto flutuante por zero"
ZELMOR_DECLARE_ERROR(EInvalidOp, "invalid-op");    // "Operação de ponto flutuante inválida"

class TmConv {
 public:
  TmConv() = delete;

  // ---- Text to numbers ----

  // Lenient parse of a typed amount; never raises. Negative when the text holds "-"
  // anywhere or both "(" and ")"; only digits and the copied decimal separator are
  // read (symbols, blanks, thousands points, letters dropped); 0 when nothing is left
  // or the rest is not a number (two decimal separators).
  //   Str2Float(u"R$ 1.234,56") == 1234.56; Str2Float(u"(1.234,56)") == -1234.56;
  //   Str2Float(u"12-34") == -1234; Str2Float(u"1,2,3") == 0
  static double Str2Float(std::u16string_view Valor);
  // A number with a decimal point (SQL form): every copied thousands separator becomes
  // the copied decimal separator, then Str2Float. StrAnsi2Float(u"1234.56") == 1234.56;
  // a grouped text such as u"1,234.56" gives 0.
  static double StrAnsi2Float(std::u16string_view Valor);
  // Digits and the copied decimal separator only (sign dropped), every "." removed,
  // parsed with the live settings; raises EConvertError ("'…' não é um valor de ponto
  // flutuante válido") when nothing usable is left. StrFormated2Float(u"-1.234,50") == 1234.5
  static double StrFormated2Float(std::u16string_view asValor);
  // StrFormated2Float, or `adDefault` for an empty text or one it cannot read.
  static double StrFormated2FloatDef(std::u16string_view asValor, double adDefault);
  // Str2Float written in the general format with a decimal point:
  //   Str2FloatAnsi(u"R$ 1.234,50") == u"1234.5"
  static std::u16string Str2FloatAnsi(std::u16string_view Valor);
  // `Valor` in the general format with a decimal point and no grouping, for SQL:
  //   FloatToAnsi(1234.5) == u"1234.5"
  static std::u16string FloatToAnsi(double Valor);
  // `Valor` formatted with the number pattern `Formato` (live settings), then every ","
  // made ".": grouping and decimal points both come out as ".".
  //   FloatToAnsiFormated(1234.5, u"0.00") == u"1234.50"
  static std::u16string FloatToAnsiFormated(double Valor, std::u16string_view Formato);
  // An SQL date in month-first order "MM/DD/YYYY[ time]" (in single quotes with
  // `pComAspas`): the date plus the time (00:00 when missing or unreadable);
  // `pDefaultParamErro` when the month, day or four-digit year do not form a date.
  //   StrAnsiToDate(u"'12/05/2018 10:30:00'", 0, true) == 2018-12-05 10:30
  static TDateTime StrAnsiToDate(std::u16string_view pData, TDateTime pDefaultParamErro, bool pComAspas = false);
  // The platform's whole-number parsing (blanks before, a sign, nothing after the
  // digits); `DefaultParaErro` when it fails.
  static std::int32_t ToInt(std::u16string_view Texto, std::int32_t DefaultParaErro = 0);
  static std::int64_t ToInt64(std::u16string_view Texto, std::int32_t DefaultParaErro = 0);
  // True when the first character is "S", "s" or "1": ToBoolean(u"sim") is true,
  // ToBoolean(u"true") false.
  static bool ToBoolean(std::u16string_view Texto);
  // "S" or "N"; with `ComAspas` in SQL quotes: "'S'".
  static std::u16string FromBoolean(bool Valor, bool ComAspas = false);

  // ---- Truncation, comparison and rounding ----

  // Cuts `Valor` toward zero at `Decimais` decimals (0 for fewer) of its 15-significant-
  // digit decimal form: Trunca(2.679, 2) == 2.67, Trunca(-2.679, 2) == -2.67,
  // Trunca(0.29, 2) == 0.29. Exponent-form values (below 0.0001, from 1e15) are cut
  // as the number they stand for: Trunca(1.5e-5, 2) == 0, Trunca(1.5e-5, 5) == 0.00001.
  // NaN and infinities come back unchanged.
  static double Trunca(double Valor, int Decimais);
  // Rounds the double itself: integer part + the fraction × 10^p rounded half to even
  // (p = `Precisao`, 0 below 1). Arredonda(0.125, 2) == 0.12, Arredonda(0.375, 2) == 0.38;
  // only the fraction is rounded, so Arredonda(2.5, 0) == 2 and Arredonda(3.5, 0) == 3.
  static double Arredonda(double Valor, int Precisao);
  // Arredonda(Trunca(Valor, Precisao + 1), Precisao): digits past the one after the
  // precision never count. TruncaArredonda(0.1251, 2) == 0.12 (Arredonda gives 0.13).
  // A negative `Precisao` counts as 0.
  static double TruncaArredonda(double Valor, int Precisao);
  // The same as TruncaArredonda.
  static double FloatComp(double Valor1, int Decimais);
  // Whether both values written in the general format after TruncaArredonda at
  // `Decimais` are the same text. FloatIgual(0.125, 0.1249, 2) is true.
  static bool FloatIgual(double Valor1, double Valor2, int Decimais);
  // Rounds on decimal digits at `AQtdeCasas` places (see docs/numbers.md for the whole
  // rule). A dropped 5 rounds up after an odd kept digit or a 0, and after 2, 4, 6 or 8
  // only when a later digit is not 0; only six decimals of the fraction are read.
  // Without `ArredondarValor` it truncates. Negative values round as their magnitude;
  // 0 places rounds on the units digit by the same rule.
  //   ArredondaAritmetica(2.675, 2) == 2.68; (0.125, 2) == 0.12; (0.105, 2) == 0.11;
  //   (0.995, 2) == 1; (2.679, 2, false) == 2.67
  static double ArredondaAritmetica(double AValorEntrada, int AQtdeCasas, bool ArredondarValor = true);
  // The amount in cents cut toward zero, for comparisons: 12.3456 → 1234, -0.019 → -1.
  // Amounts past the 32-bit range give its nearest end.
  static std::int32_t FormatCurrencyToCompare(Currency Valor);
  // `Valor1` / `Valor2`, but 0 when the quotient's general format has an exponent
  // (magnitude below 0.0001, or 1e15 and more): Divide(1, 100000) == 0. A zero divisor
  // raises EZeroDivide (EInvalidOp for 0 / 0).
  static double Divide(double Valor1, double Valor2);
  // 0 for values below 0.0001 (every negative value included), else `Valor`.
  static double ConfereBugZero(double Valor);

  // ---- Small helpers ----

  // Whether `Multiplo` is a whole multiple of `Valor` (the float quotient has no
  // fraction). Each overload has its own guards that answer false first:
  //   int, int:       Multiplo 0 or 1, or Multiplo < Valor
  //   double, double: Multiplo 0, or Valor > Multiplo
  //   int, double:    Multiplo 0 or 1, or Valor > Multiplo
  //   double, int:    Multiplo 0 or 1, or Multiplo < Valor
  // IsMultiplo(3, 12) is true, IsMultiplo(12, 3) false, IsMultiplo(1, 1) false but
  // IsMultiplo(1.0, 1.0) true. A `Valor` of 0 past the guards raises EZeroDivide.
  static bool IsMultiplo(std::int32_t Valor, std::int32_t Multiplo);
  static bool IsMultiplo(double Valor, double Multiplo);
  static bool IsMultiplo(std::int32_t Valor, double Multiplo);
  static bool IsMultiplo(double Valor, std::int32_t Multiplo);
  // aiInicial <= aiNumero <= aiFinal.
  static bool InRangeInt(std::int32_t aiNumero, std::int32_t aiInicial, std::int32_t aiFinal);
  // Bits `DigitosBinario` down to 0 (bit numbers modulo 32), so DigitosBinario + 1
  // characters: IntToBin(5, 3) == u"0101"; a negative count gives empty text.
  static std::u16string IntToBin(std::int32_t Valor, std::int32_t DigitosBinario);
  // The decimal texts joined by `asSeparador`, for an SQL "IN" list:
  //   ArrayIntToInStr({1, 2, 3}, u",") == u"1,2,3"
  static std::u16string ArrayIntToInStr(const TzelArrayInteger& aaInt, std::u16string_view asSeparador);
  // The modulo-10 check digit (weights 2, 1, 2, … from the right, two-digit products
  // summed): Modulo10(u"261533") == u"4". A non-digit raises EConvertError.
  static std::u16string Modulo10(std::u16string_view Codigo);
  // Altura × Largura × Profundidade.
  static double CalcCubaCm(double Altura, double Largura, double Profundidade);
  // The same product of centimetres in cubic metres (divided by 1 000 000).
  static double CalcCubaM(double AlturaCm, double LarguraCm, double ProdundidadeCM);
};

}  // namespace zelmor
