// TmStr: the library's text routines, as class-level operations on UTF-16 text.
// Positions are 1-based and lengths count UTF-16 code units; an empty text and a
// missing text are the same thing. No routine keeps state between calls.
// Implementations are split by theme into the .cpp files of this folder.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/types.h"
#include "mConst.h"

namespace zelmor {

class TmStr {
 public:
  TmStr() = delete;

  // ---- Padding, centring and field extraction (padding.cpp) ----

  // `Texto` followed by `PadChar`s up to `Tamanho` (left-aligned). With
  // `abCortarTexto` a longer result keeps its first `Tamanho` characters.
  //   PadLeft(u"AB", 4, u'.', false) == u"AB.."
  static std::u16string PadLeft(std::u16string_view Texto, int Tamanho, char16_t PadChar = u' ',
                                bool abCortarTexto = false);
  // `PadChar`s then `Texto` up to `Tamanho` (right-aligned). With `abCortarTexto`
  // a longer result keeps its last `Tamanho` characters.
  //   PadRight(u"ABCDEF", 3, u' ', true) == u"DEF"
  static std::u16string PadRight(std::u16string_view Texto, int Tamanho, char16_t PadChar = u' ',
                                 bool abCortarTexto = false);
  // Padding, then `StrFim`, then `Texto`, always cut to the last `Tamanho` characters.
  //   PadRightStrFim(u"12", 6, u' ', u"R$") == u"  R$12"
  static std::u16string PadRightStrFim(std::u16string_view Texto, int Tamanho, char16_t PadChar,
                                       std::u16string_view StrFim);
  // Exactly `Tamanho` characters: pads right first, then left; cuts left first, then right.
  // A negative width gives an empty text.
  //   PadCenter(u"AB", 5, u'*') == u"*AB**"; PadCenter(u"ABCDE", 2, u' ') == u"CD"
  static std::u16string PadCenter(std::u16string_view Texto, int Tamanho, char16_t PadChar = u' ');
  // Padding on the left: the same result as PadRight.
  static std::u16string RealPadLeft(std::u16string_view asTexto, int aiTamanho, char16_t acPadChar = u' ',
                                    bool abCortarTexto = false);
  // Padding on the right: the same result as PadLeft.
  static std::u16string RealPadRight(std::u16string_view asTexto, int aiTamanho, char16_t acPadChar = u' ',
                                     bool abCortarTexto = false);
  // The last `Tamanho` characters, or `Texto` when it is not longer.
  static std::u16string CopyRight(std::u16string_view Texto, int Tamanho);
  // `Qtd` spaces (none for 0 or less).
  static std::u16string Space(int Qtd);
  // `Texto` repeated `Qtd` times (empty for 0 or less).
  static std::u16string RepeteStr(std::u16string_view Texto, int Qtd);
  // `Valor` with leading zeros to `Tamanho` digits; the sign goes in front and is not
  // counted; never cut; width 0 or less gives the plain decimal form.
  //   StrZero(42, 5) == u"00042"; StrZero(-42, 5) == u"-00042"; StrZero(1234, 2) == u"1234"
  static std::u16string StrZero(std::int32_t Valor, int Tamanho);
  // As StrZero, but a negative value's sign takes the place of the first digit.
  // With `RemoveNegativo` a negative value is written without its sign.
  //   StrZeroNegativo(-5, 3, false) == u"-05"
  static std::u16string StrZeroNegativo(std::int32_t Valor, int Tamanho, bool RemoveNegativo);
  // Fixed-point with `Decimais` decimals and the live decimal separator, sign removed,
  // '0's in front up to `Tamanho` (never cut).
  //   StrZeroFloat(-3.5, 8, 2) == u"00003,50" (Brazilian settings)
  static std::u16string StrZeroFloat(double Valor, int Tamanho, int Decimais);
  // The `Posicao`-th field (1-based; below 1 counts as 1) of `Texto` split at `Separador`;
  // empty when the text has fewer fields. Fields are returned exactly as they stand.
  //   Separa(u"Total¿12,50", u'¿', 2) == u"12,50"
  static std::u16string Separa(std::u16string_view Texto, char16_t Separador, int Posicao);
  // Non-overlapping, case-sensitive occurrences of `SubTexto` in `Texto`, left to right.
  //   Ocorre(u"aaa", u"aa") == 1
  static int Ocorre(std::u16string_view Texto, std::u16string_view SubTexto);

  // ---- Brazilian document check digits (check_digits.cpp) ----

  // Modulo-11 check digit with weights 2..9 from the right; when 11 − (Σ mod 11) is
  // above 9 the digit is `aiValorCasoCalculoMaior9`, written as it is. A non-digit in
  // `S` raises EConvertError.
  //   CalcModulo11(u"0000", 0) == u"0"; CalcModulo11(u"0000", 1) == u"1"
  static std::u16string CalcModulo11(std::u16string_view S, int aiValorCasoCalculoMaior9);
  // The two check digits of a CPF (9 base digits) or of a CNPJ (12 or more characters,
  // the first 12 used); empty for any other length and for an all-zero base.
  //   CalculaDigitoCnpjCpf(u"123456789") == u"09"; CalculaDigitoCnpjCpf(u"112223330001") == u"81"
  static std::u16string CalculaDigitoCnpjCpf(std::u16string_view Numero);
  // True for a valid CPF (11 digits) or CNPJ (14 digits), typed bare or with '.', '-' and
  // '/'; any other character, and numbers of one repeated digit, are false.
  //   IsCPFValido(u"123.456.789-09") == true; IsCPFValido(u"123 456 789 09") == false
  static bool IsCPFValido(std::u16string_view Codigo);
  // True for a PIS whose 11 digits (punctuation ignored) carry the right check digit.
  //   IsPISValido(u"120.54135.91-9") == true
  static bool IsPISValido(std::u16string_view Codigo);
  // The 44-digit access key of an electronic fiscal document. Arguments are not
  // validated: an unknown state or out-of-range numbers give a key of the wrong length.
  // `aiControle` −1 uses the document number as the control code.
  static std::u16string CalculaChaveEletronica(std::u16string_view asUF, TDateTime ahDtEmisDocto,
                                               std::u16string_view asCNPJEmissor,
                                               TModeloDocumentoEletronico aeTipo, int aiSerie, int aiNumero,
                                               int aiTpEmissao, int aiControle);

  // ---- State registrations (state_registration.cpp) ----

  // True when `aIE` is a valid state registration (IE) of `aUF` (exact capitals: "sp"
  // matches no state) by that state's rule; punctuation is ignored, and for SP a leading
  // "P" marks the rural-producer form. Also true for an individual (an 11-character
  // `aCGC`), a blank IE and an IE containing "ISENTO".
  //   isIEValido(u"SP", u"110.042.490.114", u"") == true; isIEValido(u"sp", u"110042490114", u"") == false
  static bool isIEValido(std::u16string_view aUF, std::u16string_view aIE, std::u16string_view aCGC);
  // True for a two-letter abbreviation of the 27 units or "FN", in either case.
  //   IsEstadoValido(u"sp") == true; IsEstadoValido(u"GR") == false
  static bool IsEstadoValido(std::u16string_view Estado);
  // The unit's full name, or an empty text (also for "FN").
  //   EstadoExtenso(u"pe") == u"Pernambuco"
  static std::u16string EstadoExtenso(std::u16string_view Estado);
  // A second opinion from the outside state-registration library, loaded on first use
  // from the program's folder and downloaded there when missing: empty when valid,
  // otherwise the library's verdict or the download failure as a message. "ISENTO" is
  // valid without asking. A library file that cannot be loaded raises ESharedLibraryError.
  //   ValidarInscricaoDLLSintegra(u"110.042.490.114", u"SP") == u"" (when the library agrees)
  static std::u16string ValidarInscricaoDLLSintegra(std::u16string_view IE, std::u16string_view UF);

  // ---- Amounts in words (words.cpp) ----

  // `Valor`, rounded to cents, in Brazilian Portuguese words with the caller's currency
  // names; zero is "Zero". Covers 0 to 999.999.999.999,99; a negative amount is written
  // after "Menos", and an amount of a trillion or more gives an empty text.
  //   Extenso(21315.17, u"Real", u"Reais", u"Centavo", u"Centavos") ==
  //     u"Vinte e Um Mil, Trezentos e Quinze Reais e Dezessete Centavos"
  static std::u16string Extenso(Currency Valor, std::u16string_view IntSing, std::u16string_view IntPlural,
                                std::u16string_view DecSing, std::u16string_view DecPlural);
  // The amount in reais, upper case and without accents, broken into a line of `Linha1`
  // and a line of `Linha2` characters filled with '*' and joined by "^"; empty when the
  // words do not fit in the two lines.
  //   QuebraExtenso(10.00, 15, 5) == u"DEZ REAIS******^*****"
  static std::u16string QuebraExtenso(double Valor, int Linha1, int Linha2);

  // ---- Value and document formatting (formatting.cpp) ----

  // ---- Bar codes (barcodes.cpp) ----

  // The EAN-13 check digit of `Valor` zero-filled on the left to 12 digits (so also right
  // for EAN-8 and UPC-A); a longer `Valor` is used by its first 12. A non-digit raises
  // EConvertError.
  //   GetCodBarraDigito(u"789123456789") == u"5"
  static std::u16string GetCodBarraDigito(std::u16string_view Valor);
  // `Valor` followed by its EAN check digit.
  //   GeraCodBarra(u"789123456789") == u"7891234567895"
  static std::u16string GeraCodBarra(std::u16string_view Valor);
  // The GTIN-14 check digit of `Valor` zero-filled on the left to 13 digits.
  //   GetCodBarra14Digito(u"1789123456789") == u"2"
  static std::u16string GetCodBarra14Digito(std::u16string_view Valor);
  // `Valor` followed by its GTIN-14 check digit.
  static std::u16string GeraCodBarra14(std::u16string_view Valor);
  // True for a complete EAN-8/UPC-A/EAN-13 code whose last digit checks; with
  // `abValidar14Digito` a 14-digit code is checked as GTIN-14. Empty, zero and
  // non-numeric codes are false.
  //   IsCodBarraValido(u"7891234567895", false) == true
  static bool IsCodBarraValido(std::u16string_view Valor, bool abValidar14Digito);
  // True for a complete, non-zero GTIN-14 code whose last digit checks.
  static bool IsCodBarra14Valido(std::u16string_view Valor);
  // The code grouped in threes from the right before its check digit, which follows a dot.
  //   FormataCodigoBarrasPonto(u"7891234567895") == u"789.123.456.789.5"
  static std::u16string FormataCodigoBarrasPonto(std::u16string_view Codigo);
  // A random, well-formed 30-digit CMC-7 cheque line: field 1 (7), check of field 2,
  // field 2 (10), check of field 1, field 3 (10), check of field 3.
  static std::u16string GetCmc7();

  // ---- Character filtering and accents (filtering.cpp) ----

  // ---- Text wrapping, justification and columns (layout.cpp) ----

  // ---- Template formatting and value lists (templates.cpp) ----

  // ---- Number bases, compact text and scrambling (bases.cpp) ----

  // ---- Searching, comparing and joining (searching.cpp) ----

  // ---- Names, abbreviation and e-mail checks (names.cpp) ----

  // ---- Splitting and text between markers (splitting.cpp) ----
};

}  // namespace zelmor
