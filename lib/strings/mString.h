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

  // ---- State registrations (state_registration.cpp) ----

  // ---- Amounts in words (words.cpp) ----

  // ---- Value and document formatting (formatting.cpp) ----

  // ---- Bar codes (barcodes.cpp) ----

  // ---- Character filtering and accents (filtering.cpp) ----

  // ---- Text wrapping, justification and columns (layout.cpp) ----

  // ---- Template formatting and value lists (templates.cpp) ----

  // ---- Number bases, compact text and scrambling (bases.cpp) ----

  // ---- Searching, comparing and joining (searching.cpp) ----

  // ---- Names, abbreviation and e-mail checks (names.cpp) ----

  // ---- Splitting and text between markers (splitting.cpp) ----
};

}  // namespace zelmor
