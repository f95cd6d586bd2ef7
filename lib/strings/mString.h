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
  //
  // Character classes are code points: every character above 255 is outside every
  // class. "Trim" below removes the characters with codes up to 32 from both ends.

  // A set of 8-bit character codes for `Somente`. Built from a text of its members
  // or a list of members (members above 255 are ignored), or from ranges:
  //   TmStr::TCharSet(u"0123456789") + TmStr::TCharSet::Range(u'A', u'F')
  class TCharSet {
   public:
    constexpr TCharSet() = default;
    TCharSet(std::u16string_view Membros);  // NOLINT: a text of members reads as the set
    TCharSet(const char16_t* Membros) : TCharSet(std::u16string_view(Membros)) {}  // NOLINT
    TCharSet(std::initializer_list<char16_t> Membros)  // NOLINT: Somente(s, {u'0', u'1'}, true)
        : TCharSet(std::u16string_view(Membros.begin(), Membros.size())) {}
    static TCharSet Range(char16_t De, char16_t Ate);
    bool Contains(char16_t c) const { return c < 256 && ((FBits[c >> 6] >> (c & 63)) & 1u) != 0; }
    TCharSet operator+(const TCharSet& o) const;

   private:
    std::uint64_t FBits[4] = {0, 0, 0, 0};
  };

  // The digits of the trimmed `Texto`, keeping the decimal separator of the regional
  // copies unless `DeleteDecimalSeparator`. Callers that need digits only pass true.
  //   SomenteNumeros(u"R$ 1.234,56", false) == u"1234,56"; (…, true) == u"123456"
  static std::u16string SomenteNumeros(std::u16string_view Texto, bool DeleteDecimalSeparator = false);
  // The ASCII letters of the trimmed `Texto`, plus characters equal to the one-character
  // `IgnorarCaracter` (empty: none). Accented letters are removed.
  //   SomenteLetras(u"Ação 1-2", u"-") == u"Ao-"
  static std::u16string SomenteLetras(std::u16string_view Texto, std::u16string_view IgnorarCaracter = {});
  // The trimmed `Texto` with every character outside space, digits and ASCII letters
  // replaced by the first character of `asCaracterSubstituir` (removed when it is empty).
  //   SomenteAlfa(u"a-b.c", u"_") == u"a_b_c"
  static std::u16string SomenteAlfa(std::u16string_view Texto, std::u16string_view asCaracterSubstituir = {});
  // The trimmed `Texto` keeping only plain-text characters: 32–126, 192–214, 217–220, 224–252.
  //   SomenteASCII(u"Olá\tmundo×") == u"Olámundo"
  static std::u16string SomenteASCII(std::u16string_view Texto);
  // The characters of `asTexto` (trimmed first when `abTrim`) that belong to `asLista`.
  //   Somente(u" 12ab34 ", u"0123456789", true) == u"1234"
  static std::u16string Somente(std::u16string_view asTexto, const TCharSet& asLista, bool abTrim = true);
  // `Texto` without the digits '0'–'9'; nothing is trimmed.
  static std::u16string RemoveNumeros(std::u16string_view Texto);
  // Accents stripped by the accent table: À–Ä → A, Ç → C, ñ → n, ª → a ...; the quotes
  // " ' ` ~ ´ are removed; º becomes "o" only with `abRemovePequenoO`.
  //   RemoveAcentos(u"Ação º", true) == u"Acao o"; RemoveAcentos(u"D'Ávila", true) == u"DAvila"
  static std::u16string RemoveAcentos(std::u16string_view Texto, bool abRemovePequenoO = true);
  // As RemoveAcentos, but the double and single quotes are kept and º always becomes "o".
  //   RemoveAcentosSQL(u"D'Ávila") == u"D'Avila"
  static std::u16string RemoveAcentosSQL(std::u16string_view Texto);
  // RemoveAcentosSQL, then every '/' and '\' becomes '_'.
  static std::u16string LimparStringParaSQL(std::u16string_view Texto);
  // Same length as `Texto`: letters, digits, the space and ~'"!@#$%^&*()_-+=|/\{}[]:;,.<>
  // are kept, accented letters, ª and º mapped by the accent table, anything else
  // (` ´ ? tabs, line breaks, other symbols) made a space.
  //   RemoveCaracteresEspeciais(u"a?b`c") == u"a b c"
  static std::u16string RemoveCaracteresEspeciais(std::u16string_view Texto);
  // Only the characters of the library's list of valid characters (ASCII letters and
  // digits, most Portuguese accented letters, common punctuation and the space); CR and
  // LF become spaces; everything else is dropped — ê Ê î Î û Û ñ Ñ included.
  //   SomenteCaracteresValidos(u"Você\r\n~ok") == u"Voc  ok"
  static std::u16string SomenteCaracteresValidos(std::u16string_view asTexto);
  // SomenteCaracteresValidos, then '\' becomes '/', then trimmed: safe for XML web services.
  static std::u16string SomenteCaracteresValidosXML_WS(std::u16string_view asTexto);
  // The 7-bit escaped form: 32–126 kept except " → _, ' → -, ` → ~; æ → ¾; any other
  // character → "æ" + its code in upper-case hex, at least two digits.
  //   Asc2Ansi(u"é\n") == u"æE9æ0A"
  static std::u16string Asc2Ansi(std::u16string_view Original);
  // Decodes Asc2Ansi's form: each "æ" with the (up to) two characters after it becomes the
  // character of that hex code (0 when invalid), and each "¾" becomes "æ". Every character
  // up to 255 comes back except the three quotes; codes above 255 do not.
  //   Ansi2Asc(Asc2Ansi(u"João")) == u"João"
  static std::u16string Ansi2Asc(std::u16string_view Original);
  // Line feeds removed and carriage returns made spaces (CR LF → one space).
  static std::u16string RemoveEnter(std::u16string_view asText);
  // Every run of spaces made one space (tabs are not touched).
  //   RemoveEspacosDuplos(u"a   b") == u"a b"
  static std::u16string RemoveEspacosDuplos(std::u16string_view S);
  // Leading '0' characters removed: RemoveZerosEsquerda(u"0,5") == u",5"; u"000" gives empty.
  static std::u16string RemoveZerosEsquerda(std::u16string_view Texto);
  // Leading occurrences of `Caracter` removed.
  static std::u16string RemoveCaracterLeft(std::u16string_view Texto, char16_t Caracter);
  // How many characters of `Texto` equal `Caracter`.
  static int ContarRepeticaoCaracter(std::u16string_view Texto, char16_t Caracter);
  // A normalised key for comparing names: single spaces, trimmed, accents removed
  // (º → o), ASCII lower case. Clear(u"  São  PAULO ") == u"sao paulo"
  static std::u16string Clear(std::u16string_view S);
  // `abTrueIfEmpty` for an empty text; otherwise true when `asText` is only digits and
  // the copied decimal separator, with no blanks or sign: "12,5" yes, " 12" and "-5" no.
  static bool IsNumero(std::u16string_view asText, bool abTrueIfEmpty = false);
  // "null" when `asValor` is blank, else the value with ASCII letters upper-cased, in SQL quotes.
  //   IfVazioNull(u"it's") == u"'IT''S'"
  static std::u16string IfVazioNull(std::u16string_view asValor);
  // "null" for 0, else the decimal text.
  static std::u16string IfZeroNull(std::int32_t aiValor);
  // "s" when `Condicao`, else empty: IntToStr(n) + u" item" + Plural(n != 1).
  static std::u16string Plural(bool Condicao);
  // Removes a UTF-8 byte-order mark read as single-byte text (characters 239 187 191)
  // from the start of the first line of `Lista`, when that line is longer than two.
  static void RemoverBOM_StringList(TStringList& Lista);

  // ---- Text wrapping, justification and columns (layout.cpp) ----

  // ---- Template formatting and value lists (templates.cpp) ----

  // ---- Number bases, compact text and scrambling (bases.cpp) ----

  // ---- Searching, comparing and joining (searching.cpp) ----
  //
  // Two case foldings: ASCII ('a'–'z' only) and full (every letter, accented ones
  // included). Each routine names the one it uses. "Open array" parameters take a
  // braced list in place ({u"SP", u"RJ"}) or the matching dynamic array.

  // `Texto` with every `Este` replaced by `PorEste`, left to right and non-overlapping;
  // `IgnoraCaseSensitive` matches with full folding. An empty `Este` changes nothing.
  //   Replace(u"Ação e AÇÃO", u"ação", u"x", true) == u"x e x"
  static std::u16string Replace(std::u16string_view Texto, std::u16string_view Este, std::u16string_view PorEste,
                                bool IgnoraCaseSensitive = false);
  // Whether `Texto` begins with `Value` (ASCII folding with `abIgnoreCase`); an empty
  // `Value` always matches. StartsWith(u"ação", u"AÇ", true) is false.
  static bool StartsWith(std::u16string_view Texto, std::u16string_view Value, bool abIgnoreCase = false);
  // Whether `Texto` ends with `Value`, case-sensitively; an empty `Value` always matches.
  static bool EndsWith(std::u16string_view Texto, std::u16string_view Value);
  // Equality after ASCII folding: "abc" = "ABC", but "ação" ≠ "AÇÃO".
  static bool EqualsIgnoreCase(std::u16string_view asValue, std::u16string_view asValue2);
  // 0-based index of the first element equal to `asTexto` under full folding, or -1.
  // Equality, not containment: ContemPos(u"são paulo", {u"RJ", u"SÃO PAULO"}) == 1
  static int ContemPos(std::u16string_view asTexto, std::initializer_list<std::u16string_view> aaTextos);
  static int ContemPos(std::u16string_view asTexto, const TzelArrayString& aaTextos);
  // ContemPos(…) >= 0: Contem(u"sp", {u"SP", u"RJ"}) is true, Contem(u"Paulo", {u"São Paulo"}) false.
  static bool Contem(std::u16string_view asTexto, std::initializer_list<std::u16string_view> aaTextos);
  static bool Contem(std::u16string_view asTexto, const TzelArrayString& aaTextos);
  // Whether `asTexto` contains every element as a substring, under full folding; an
  // empty list gives true. ContemTodos(u"Nota Fiscal Eletrônica", {u"nota", u"ELETRÔNICA"})
  static bool ContemTodos(std::u16string_view asTexto, std::initializer_list<std::u16string_view> aaTextos);
  static bool ContemTodos(std::u16string_view asTexto, const TzelArrayString& aaTextos);
  // Whether any element equals `aiInteiro`.
  static bool ContemInt(std::int32_t aiInteiro, std::initializer_list<std::int32_t> aaArrayInteiro);
  static bool ContemInt(std::int32_t aiInteiro, const TzelArrayInteger& aaArrayInteiro);
  // Position of the last occurrence of `asSubStr`, counted from the end of `asStr`
  // (its last character is 1) to the occurrence's last character; 0 when absent or empty.
  //   PosReverse(u"ab", u"xxabyy") == 3
  static int PosReverse(std::u16string_view asSubStr, std::u16string_view asStr);
  // 1-based position of the first '0'–'9', 0 when none.
  static int PosPrimeiroNumero(std::u16string_view asText);
  // Scanning from the end, the 1-based position of the `QtdeCaracter`-th occurrence of
  // `Caracter` (0 or less counts as 1); 0 when there are fewer.
  //   GetPosCaracterBackJumpingNCaracter(u"a\\b\\c", u'\\', 2) == 2
  static int GetPosCaracterBackJumpingNCaracter(std::u16string_view Texto, char16_t Caracter, int QtdeCaracter);
  // `asValue` unless it is empty (a text of spaces is not empty), else `asDefault`.
  static std::u16string Coalesce(std::u16string_view asValue, std::u16string_view asDefault);
  // Appends `asComEste` to `asEste` with the separator only between parts: an empty
  // `asEste` becomes `asComEste` alone; an empty `asComEste` still adds a separator.
  // With `asValidaSeJaExiste` nothing is appended when `asComEste` is already one of the
  // parts of `asEste` between separators (contained in it, for an empty separator).
  //   s = u"a"; Concatena(s, u"b", u", "); s == u"a, b"
  static void Concatena(std::u16string& asEste, std::u16string_view asComEste,
                        std::u16string_view asSeparadorSePreenchido, bool asValidaSeJaExiste = false);
  // The elements joined by the Concatena rule: leading empty elements vanish, a later
  // empty one leaves two separators. Concatena({u"", u"a", u"", u"b"}, u",") == u"a,,b"
  static std::u16string Concatena(const TzelArrayString& aaLista, std::u16string_view asSeparador);
  // Prefixes `asComEste` to `asEste` with the separator only between parts.
  //   s = u"b"; ConcatenaInicio(s, u"a", u"/"); s == u"a/b"
  static void ConcatenaInicio(std::u16string& asEste, std::u16string_view asComEste,
                              std::u16string_view asSeparadorSePreenchido);
  // The elements joined by the Concatena rule; with `abQuoted` each is first put in SQL
  // quotes (inner quotes doubled). ArrayConcatToStr({u"a", u"b"}, u", ", true) == u"'a', 'b'"
  static std::u16string ArrayConcatToStr(const TzelArrayString& aaArrayStr, std::u16string_view asSeparador,
                                         bool abQuoted = false);
  // The same for the other array-of-texts type.
  static std::u16string ArrayStrConcatToStr(const TArrayStr& aaArrayStr, std::u16string_view asSeparador,
                                            bool abQuoted = false);
  // The decimal texts joined with `asSeparador`: ArrayIntToStr({1, 2, 3}, u",") == u"1,2,3"
  static std::u16string ArrayIntToStr(std::initializer_list<std::int32_t> aaArrayInt, std::u16string_view asSeparador);
  static std::u16string ArrayIntToStr(const TzelArrayInteger& aaArrayInt, std::u16string_view asSeparador);
  // A text of the characters in order, NUL characters included.
  static std::u16string ArrayCharToString(std::initializer_list<char16_t> aaChar);
  static std::u16string ArrayCharToString(const std::vector<char16_t>& aaChar);
  // Appends one value at the end of the array.
  static void AddArray(TzelArrayString& aalista, std::u16string_view asValor);
  static void AddArray(TzelArrayInteger& aalista, std::int32_t aiValor);
  // Empties the array.
  static void ClearArray(TzelArrayString& aalista);
  static void ClearArray(TzelArrayInteger& aalista);
  // A new string list with the elements in order; the caller owns it.
  static TStringList zelAStrToTStrings(const TzelArrayString& aaZelStr);

  // ---- Names, abbreviation and e-mail checks (names.cpp) ----

  // ---- Splitting and text between markers (splitting.cpp) ----

  // Appends the fields of `Texto` split at `Separador` to `MatrizSaida` (cleared first
  // when `LimpaMatrizSaida`), untrimmed; with `IgnorarStringVazias` fields that are empty
  // after trimming are skipped. An empty text is one empty field.
  //   Split(u"a , ,b", u',', list, true, true) → "a ", "b"
  static void Split(std::u16string_view Texto, char16_t Separador, TStringList& MatrizSaida,
                    bool IgnorarStringVazias = false, bool LimpaMatrizSaida = true);
  // Every field, empty ones included: Split(u"a,,b", u',') == {u"a", u"", u"b"}; an empty
  // text gives one empty field.
  static TzelArrayString Split(std::u16string_view asTexto, char16_t asSeparador);
  // The non-empty fields as 32-bit integers, 0 for a field that is not one.
  //   SplitInt(u"1;x;;3", u';') == {1, 0, 3}
  static TzelArrayInteger SplitInt(std::u16string_view asTexto, char16_t asSeparador);
  // Appends CSV fields to `asMatrizSaida` (cleared first when `abLimpaMatrizSaida`).
  // A double quote toggles quoting and is dropped; inside quotes the separator is text.
  // A trailing separator gives no final empty field; "" inside quotes is not a quote.
  //   SplitCSV(list, u"\"x,y\",z,", u',') → "x,y", "z"
  static void SplitCSV(TStringList& asMatrizSaida, std::u16string_view asTexto, char16_t asSeparador,
                       bool abLimpaMatrizSaida = true);
  // Clears `aoOut` and fills it with the non-empty runs and each separator as an item of
  // its own: SplitB(u"a;b;;c", u';', out) → "a", ";", "b", ";", ";", "c"
  static void SplitB(std::u16string_view asText, char16_t asSplitToken, TStringList& aoOut);
  // Every field put in SQL quotes (a field already between single quotes is kept) and
  // joined by the separator. SplitInQuotedStr(u"a,'b',c", u',') == u"'a','b','c'";
  // an empty text gives u"''".
  static std::u16string SplitInQuotedStr(std::u16string_view asTexto, char16_t asSeparador);
  // Item `aiIndexPart` (0-based) of the SplitB list, empty past the end; separators are
  // items: in u"a;b" index 1 is u";" and 2 is u"b". A negative index raises
  // EStringListError (strings/list_error.h).
  static std::u16string GetStringPart(std::u16string_view asText, char16_t asSplitChar, int aiIndexPart);
  // The text after the first `asInicio` up to the first `asFim` of the whole text
  // (searched from the start); empty when either is missing or the end comes first.
  //   CopyStr(u"abc[def]ghi", u"[", u"]") == u"def"
  static std::u16string CopyStr(std::u16string_view asTexto, std::u16string_view asInicio, std::u16string_view asFim);
};

}  // namespace zelmor
