// TmStr: the library's text routines on UTF-16 text, a namespace of plain functions.
// Positions are 1-based and lengths count UTF-16 code units; an empty text and a
// missing text are the same thing. No routine keeps state between calls.
// Implementations are split by theme into the .cpp files of this folder.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/types.h"
#include "mConst.h"
#include "platform/text_metrics.h"

namespace zelmor {

namespace TmStr {

// ---- Padding, centring and field extraction (padding.cpp) ----

// `Texto` followed by `PadChar`s up to `Tamanho` (left-aligned). With
// `abCortarTexto` a longer result keeps its first `Tamanho` characters.
//   PadLeft(u"AB", 4, u'.', false) == u"AB.."
std::u16string PadLeft(std::u16string_view Texto, int Tamanho, char16_t PadChar = u' ', bool abCortarTexto = false);
// `PadChar`s then `Texto` up to `Tamanho` (right-aligned). With `abCortarTexto`
// a longer result keeps its last `Tamanho` characters.
//   PadRight(u"ABCDEF", 3, u' ', true) == u"DEF"
std::u16string PadRight(std::u16string_view Texto, int Tamanho, char16_t PadChar = u' ', bool abCortarTexto = false);
// Padding, then `StrFim`, then `Texto`, always cut to the last `Tamanho` characters.
//   PadRightStrFim(u"12", 6, u' ', u"R$") == u"  R$12"
std::u16string PadRightStrFim(std::u16string_view Texto, int Tamanho, char16_t PadChar, std::u16string_view StrFim);
// Exactly `Tamanho` characters: pads right first, then left; cuts left first, then right.
// A negative width gives an empty text.
//   PadCenter(u"AB", 5, u'*') == u"*AB**"; PadCenter(u"ABCDE", 2, u' ') == u"CD"
std::u16string PadCenter(std::u16string_view Texto, int Tamanho, char16_t PadChar = u' ');
// Padding on the left: the same result as PadRight.
std::u16string RealPadLeft(std::u16string_view asTexto, int aiTamanho, char16_t acPadChar = u' ',
                           bool abCortarTexto = false);
// Padding on the right: the same result as PadLeft.
std::u16string RealPadRight(std::u16string_view asTexto, int aiTamanho, char16_t acPadChar = u' ',
                            bool abCortarTexto = false);
// The last `Tamanho` characters, or `Texto` when it is not longer.
std::u16string CopyRight(std::u16string_view Texto, int Tamanho);
// `Qtd` spaces (none for 0 or less).
std::u16string Space(int Qtd);
// `Texto` repeated `Qtd` times (empty for 0 or less).
std::u16string RepeteStr(std::u16string_view Texto, int Qtd);
// `Valor` with leading zeros to `Tamanho` digits; the sign goes in front and is not
// counted; never cut; width 0 or less gives the plain decimal form.
//   StrZero(42, 5) == u"00042"; StrZero(-42, 5) == u"-00042"; StrZero(1234, 2) == u"1234"
std::u16string StrZero(std::int32_t Valor, int Tamanho);
// As StrZero, but a negative value's sign takes the place of the first digit.
// With `RemoveNegativo` a negative value is written without its sign.
//   StrZeroNegativo(-5, 3, false) == u"-05"
std::u16string StrZeroNegativo(std::int32_t Valor, int Tamanho, bool RemoveNegativo);
// Fixed-point with `Decimais` decimals and the live decimal separator, sign removed,
// '0's in front up to `Tamanho` (never cut).
//   StrZeroFloat(-3.5, 8, 2) == u"00003,50" (Brazilian settings)
std::u16string StrZeroFloat(double Valor, int Tamanho, int Decimais);
// The `Posicao`-th field (1-based; below 1 counts as 1) of `Texto` split at `Separador`;
// empty when the text has fewer fields. Fields are returned exactly as they stand.
//   Separa(u"Total¿12,50", u'¿', 2) == u"12,50"
std::u16string Separa(std::u16string_view Texto, char16_t Separador, int Posicao);
// Non-overlapping, case-sensitive occurrences of `SubTexto` in `Texto`, left to right.
//   Ocorre(u"aaa", u"aa") == 1
int Ocorre(std::u16string_view Texto, std::u16string_view SubTexto);

// ---- Brazilian document check digits (check_digits.cpp) ----

// Modulo-11 check digit with weights 2..9 from the right; when 11 − (Σ mod 11) is
// above 9 the digit is `aiValorCasoCalculoMaior9`, written as it is. A capital letter
// counts its code minus 48 ('A' 17 … 'Z' 42, as in an access key whose issuer has
// letters); any other non-digit in `S` raises EConvertError.
//   CalcModulo11(u"0000", 0) == u"0"; CalcModulo11(u"0000", 1) == u"1"
std::u16string CalcModulo11(std::u16string_view S, int aiValorCasoCalculoMaior9);
// The two check digits of a CPF (9 base digits) or of a CNPJ (12 or more characters,
// the first 12 used); empty for any other length and for an all-zero base. In a CNPJ
// the capitals 'A'–'Z' count their code minus 48 (17–42) and any other non-digit,
// a lower-case letter included, counts 0: capitalise a typed base first.
//   CalculaDigitoCnpjCpf(u"123456789") == u"09"; CalculaDigitoCnpjCpf(u"112223330001") == u"81"
//   CalculaDigitoCnpjCpf(u"12ABC34501DE") == u"35"
std::u16string CalculaDigitoCnpjCpf(std::u16string_view Numero);
// True for a valid CPF (11 digits) or CNPJ (14 characters: letters, in either case, may
// stand in its 12-character base), typed bare or with '.', '-' and '/'; any other
// character, a letter in a CPF or in the check digits, and numbers of one repeated
// character are false.
//   IsCPFValido(u"123.456.789-09") == true; IsCPFValido(u"123 456 789 09") == false
//   IsCPFValido(u"12.ABC.345/01DE-35") == true
bool IsCPFValido(std::u16string_view Codigo);
// True for a PIS whose 11 digits (punctuation ignored) carry the right check digit.
//   IsPISValido(u"120.54135.91-9") == true
bool IsPISValido(std::u16string_view Codigo);
// The 44-character access key of an electronic fiscal document. Arguments are not
// validated: an unknown state or out-of-range numbers give a key of the wrong length.
// `aiControle` −1 uses the document number as the control code. Letters of an
// alphanumeric issuer CNPJ go into the key as capitals and count in its check digit.
std::u16string CalculaChaveEletronica(std::u16string_view asUF, TDateTime ahDtEmisDocto,
                                      std::u16string_view asCNPJEmissor, TModeloDocumentoEletronico aeTipo, int aiSerie,
                                      int aiNumero, int aiTpEmissao, int aiControle);

// ---- State registrations (state_registration.cpp) ----

// True when `aIE` is a valid state registration (IE) of `aUF` (exact capitals: "sp"
// matches no state) by that state's rule; punctuation is ignored, and for SP a leading
// "P" marks the rural-producer form. Also true for an individual (an 11-character
// `aCGC`), a blank IE and an IE containing "ISENTO".
//   isIEValido(u"SP", u"110.042.490.114", u"") == true; isIEValido(u"sp", u"110042490114", u"") == false
bool isIEValido(std::u16string_view aUF, std::u16string_view aIE, std::u16string_view aCGC);
// True for a two-letter abbreviation of the 27 units or "FN", in either case.
//   IsEstadoValido(u"sp") == true; IsEstadoValido(u"GR") == false
bool IsEstadoValido(std::u16string_view Estado);
// The unit's full name, or an empty text (also for "FN").
//   EstadoExtenso(u"pe") == u"Pernambuco"
std::u16string EstadoExtenso(std::u16string_view Estado);
// A second opinion from the outside state-registration library, loaded on first use
// from the program's folder and downloaded there when missing: empty when valid,
// otherwise the library's verdict or the download failure as a message. "ISENTO" is
// valid without asking. A library file that cannot be loaded raises ESharedLibraryError.
//   ValidarInscricaoDLLSintegra(u"110.042.490.114", u"SP") == u"" (when the library agrees)
std::u16string ValidarInscricaoDLLSintegra(std::u16string_view IE, std::u16string_view UF);

// ---- Amounts in words (words.cpp) ----

// `Valor`, rounded to cents, in Brazilian Portuguese words with the caller's currency
// names; zero is "Zero". Covers 0 to 999.999.999.999,99; a negative amount is written
// after "Menos", and an amount of a trillion or more gives an empty text.
//   Extenso(21315.17, u"Real", u"Reais", u"Centavo", u"Centavos") ==
//     u"Vinte e Um Mil, Trezentos e Quinze Reais e Dezessete Centavos"
std::u16string Extenso(Currency Valor, std::u16string_view IntSing, std::u16string_view IntPlural,
                       std::u16string_view DecSing, std::u16string_view DecPlural);
// The amount in reais, upper case and without accents, broken into a line of `Linha1`
// and a line of `Linha2` characters filled with '*' and joined by "^"; empty when the
// words do not fit in the two lines.
//   QuebraExtenso(10.00, 15, 5) == u"DEZ REAIS******^*****"
std::u16string QuebraExtenso(double Valor, int Linha1, int Linha2);

// ---- Value and document formatting (formatting.cpp) ----
// Numbers and dates use the live format settings (decimal comma, thousands point and
// day/month/year in Brazil).

// FormatFloat(Formato, Valor); with `abPontoQuandoZero` a zero value is ". ".
//   Formata(1234.5, u"#,##0.00", false) == u"1.234,50"; Formata(0, u"0.00", true) == u". "
std::u16string Formata(double Valor, std::u16string_view Formato, bool abPontoQuandoZero);
// `adValor` grouped in thousands with `adDecimais` decimals.
//   Formata(1234.567, 2) == u"1.234,57"; Formata(1234.567, 0) == u"1.235"
std::u16string Formata(double adValor, int adDecimais);
// `Valor` formatted with `Formato`, then right-aligned in `Tamanho` as the text PadRight.
//   PadRight(12.5, 8, u' ', u"0.00", true) == u"   12,50"
std::u16string PadRight(double Valor, int Tamanho, char16_t PadChar, std::u16string_view Formato, bool abCortarTexto);
// As the value PadRight, but zero shows as a lone "." at the right of the width.
//   PadRightPonto(0, 5, u' ', u"0.00", true) == u"    ."
std::u16string PadRightPonto(double Valor, int Tamanho, char16_t PadChar, std::u16string_view Formato,
                             bool abCortarTexto);
// A report column of `Tamanho` characters with `Decimal` decimals: thousands points
// dropped from the left until the value fits, asterisks when it cannot; a value that
// shows as zero can be a lone dot in the decimal point's column ("-0"/"0" for small
// values with `cIsAtivaMenosZero`). `cStrFinal` goes between the fill and the value.
//   FormataValor(1234567.89, 10, 2, true, false, u' ', u"") == u"1234567,89"
std::u16string FormataValor(double Valor, int Tamanho, int Decimal, bool MostraPontoNoLugarDeZero,
                            bool cIsAtivaMenosZero, char16_t cPreenchimentoVazio, std::u16string_view cStrFinal);
// A report column of `Tamanho` characters: the value formatted and right-aligned, zero
// shown as a dot (under the decimal separator when `Alinhado`), optionally without
// the leading thousands point above a million or a thousand.
//   FormataPonto(0, 8, true, u"#,##0.00", false, false, false) == u"     .  "
std::u16string FormataPonto(double Valor, int Tamanho, bool Alinhado, std::u16string_view Formato, bool NumInteiro,
                            bool MilhaoSemPonto, bool MilSemPonto);
// A column for three-decimal values: whole values lose ",000", zero becomes a dot.
//   FormataPonto3Casas(12, 8, u"#,##0.000") == u"  12    "
std::u16string FormataPonto3Casas(Currency Valor, int Tamanho, std::u16string_view Formato);
// `Valor` with the decimals of `Formato`, the extra decimals cut rather than rounded,
// right-aligned in `Tamanho` (a longer text keeps its first `Tamanho` characters).
//   FormataPontoEx(1.256, 6, u"0.00") == u"  1,25"
std::u16string FormataPontoEx(double Valor, int Tamanho, std::u16string_view Formato);
// The digits with a decimal comma (a point with `abAnsi`) before the last `aiCasasDecimais`.
//   FormataDecimal(u"12345", 2, false) == u"123,45"; FormataDecimal(u"5", 2, false) == u",5"
std::u16string FormataDecimal(std::u16string_view asValor, int aiCasasDecimais, bool abAnsi);
// Grouped in threes from the right with dots: FormataNumeroPontos(u"1234567") == u"1.234.567"
std::u16string FormataNumeroPontos(std::u16string_view Numero);
std::u16string FormataNumeroPontos(std::int32_t Numero);
// A byte count in bytes, Kb, Mb or Gb (steps of 1024 above 1000).
//   FormatarTamanho(1500) == u"1,46 Kb"; FormatarTamanho(1000) == u"1.000,0 bytes"
std::u16string FormatarTamanho(double Total);

// A telephone number by its digit count (7 to 11, the first 11 kept); "(00)" stands
// for a missing area code; other counts give an empty text.
//   FormataFone(u"34567890") == u"(00)3456-7890"; FormataFone(u"11934567890") == u"(11)93456-7890"
std::u16string FormataFone(std::u16string_view asFone);
// A CPF (11 digits) or CNPJ (14 digits) with its punctuation; other counts as bare digits.
// A CNPJ with letters (14 characters typed bare or punctuated, the last two digits) is
// formatted the same way, letters as capitals; otherwise letters are dropped like any
// other non-digit.
//   FormataCPFCNPJ(u"11222333000181") == u"11.222.333/0001-81"
//   FormataCPFCNPJ(u"12abc34501de35") == u"12.ABC.345/01DE-35"
std::u16string FormataCPFCNPJ(std::u16string_view Texto);
// FormataPIS(u"12345678901") == u"123.45678.90-1"
std::u16string FormataPIS(std::u16string_view Texto);
// A state registration with two dots; "ISENTO" as it is.
//   FormataIE(u"123456789") == u"123.456.789"; FormataIE(u"12345678") == u"12.345.678"
std::u16string FormataIE(std::u16string_view Texto);
// FormataCEP(u"01310100") == u"01310-100"
std::u16string FormataCEP(std::u16string_view Numero);
// An access key in blocks of four digits, a text prefix ("NFe") set apart by a space.
//   FormataChaveNFe(u"NFe3524…") == u"NFe 3524 0511 …"
std::u16string FormataChaveNFe(std::u16string_view asChave);
// An NCM/TIPI code as «dddd.dd.dd», zero-filled on the left or cut to its last 8 digits.
//   FormataTIPI(123456789) == u"2345.67.89"
std::u16string FormataTIPI(std::int32_t Numero);
std::u16string FormataTIPI(std::u16string_view asNCM);
// As FormataTIPI, but a text longer than 8 characters is returned unchanged.
//   FormataNCM(u"123456") == u"0012.34.56"
std::u16string FormataNCM(std::u16string_view aNumero);
// FormataCEST(u"1234567") == u"12.345.67"
std::u16string FormataCEST(std::u16string_view Texto);
// FormataPlacaVeiculo(u" ABC1234 ") == u"ABC-1234"
std::u16string FormataPlacaVeiculo(std::u16string_view Numero);

// FormatDateTime(Formato, Data); unless `MostraDataNula`, the null date (day 0) written
// "30/12/1899" gives an empty text.
std::u16string FormataData(TDateTime Data, std::u16string_view Formato, bool MostraDataNula);
// A typed date completed to day/month/year by its digit count (4: dd/mm, 6: dd/mm/yy
// or, without `abDataCompleta`, the first of a month, 8: dd/mm/yyyy), "null" when it
// has no digits; with `abAnsi` rewritten as «'yyyy-mm-dd'» for SQL, raising
// EConvertError for a text that is not a date.
//   FormataDataStr(u"07/2018", false, false) == u"01/07/2018"
std::u16string FormataDataStr(std::u16string_view asData, bool abDataCompleta, bool abAnsi);
// FormatDateTime(Formato, Hora).
std::u16string FormataHora(TDateTime Hora, std::u16string_view Formato);
// FormatDateTime(Formato, Tempo).
std::u16string FormataTempoDecorrido(TDateTime Tempo, std::u16string_view Formato);
// The current local date and time formatted with `Formato`.
std::u16string GetDataHora(std::u16string_view Formato);

// ---- Bar codes (barcodes.cpp) ----

// The EAN-13 check digit of `Valor` zero-filled on the left to 12 digits (so also right
// for EAN-8 and UPC-A); a longer `Valor` is used by its first 12. A non-digit raises
// EConvertError.
//   GetCodBarraDigito(u"789123456789") == u"5"
std::u16string GetCodBarraDigito(std::u16string_view Valor);
// `Valor` followed by its EAN check digit.
//   GeraCodBarra(u"789123456789") == u"7891234567895"
std::u16string GeraCodBarra(std::u16string_view Valor);
// The GTIN-14 check digit of `Valor` zero-filled on the left to 13 digits.
//   GetCodBarra14Digito(u"1789123456789") == u"2"
std::u16string GetCodBarra14Digito(std::u16string_view Valor);
// `Valor` followed by its GTIN-14 check digit.
std::u16string GeraCodBarra14(std::u16string_view Valor);
// True for a complete EAN-8/UPC-A/EAN-13 code whose last digit checks; with
// `abValidar14Digito` a 14-digit code is checked as GTIN-14. Empty, zero and
// non-numeric codes are false.
//   IsCodBarraValido(u"7891234567895", false) == true
bool IsCodBarraValido(std::u16string_view Valor, bool abValidar14Digito);
// True for a complete, non-zero GTIN-14 code whose last digit checks.
bool IsCodBarra14Valido(std::u16string_view Valor);
// The code grouped in threes from the right before its check digit, which follows a dot.
//   FormataCodigoBarrasPonto(u"7891234567895") == u"789.123.456.789.5"
std::u16string FormataCodigoBarrasPonto(std::u16string_view Codigo);
// A random, well-formed 30-digit CMC-7 cheque line: field 1 (7), check of field 2,
// field 2 (10), check of field 1, field 3 (10), check of field 3.
std::u16string GetCmc7();

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
std::u16string SomenteNumeros(std::u16string_view Texto, bool DeleteDecimalSeparator = false);
// The ASCII letters of the trimmed `Texto`, plus characters equal to the one-character
// `IgnorarCaracter` (empty: none). Accented letters are removed.
//   SomenteLetras(u"Ação 1-2", u"-") == u"Ao-"
std::u16string SomenteLetras(std::u16string_view Texto, std::u16string_view IgnorarCaracter = {});
// The trimmed `Texto` with every character outside space, digits and ASCII letters
// replaced by the first character of `asCaracterSubstituir` (removed when it is empty).
//   SomenteAlfa(u"a-b.c", u"_") == u"a_b_c"
std::u16string SomenteAlfa(std::u16string_view Texto, std::u16string_view asCaracterSubstituir = {});
// The trimmed `Texto` keeping only plain-text characters: 32–126, 192–214, 217–220, 224–252.
//   SomenteASCII(u"Olá\tmundo×") == u"Olámundo"
std::u16string SomenteASCII(std::u16string_view Texto);
// The characters of `asTexto` (trimmed first when `abTrim`) that belong to `asLista`.
//   Somente(u" 12ab34 ", u"0123456789", true) == u"1234"
std::u16string Somente(std::u16string_view asTexto, const TCharSet& asLista, bool abTrim = true);
// `Texto` without the digits '0'–'9'; nothing is trimmed.
std::u16string RemoveNumeros(std::u16string_view Texto);
// Accents stripped by the accent table: À–Ä → A, Ç → C, ñ → n, ª → a ...; the quotes
// " ' ` ~ ´ are removed; º becomes "o" only with `abRemovePequenoO`.
//   RemoveAcentos(u"Ação º", true) == u"Acao o"; RemoveAcentos(u"D'Ávila", true) == u"DAvila"
std::u16string RemoveAcentos(std::u16string_view Texto, bool abRemovePequenoO = true);
// As RemoveAcentos, but the double and single quotes are kept and º always becomes "o".
//   RemoveAcentosSQL(u"D'Ávila") == u"D'Avila"
std::u16string RemoveAcentosSQL(std::u16string_view Texto);
// RemoveAcentosSQL, then every '/' and '\' becomes '_'.
std::u16string LimparStringParaSQL(std::u16string_view Texto);
// Same length as `Texto`: letters, digits, the space and ~'"!@#$%^&*()_-+=|/\{}[]:;,.<>
// are kept, accented letters, ª and º mapped by the accent table, anything else
// (` ´ ? tabs, line breaks, other symbols) made a space.
//   RemoveCaracteresEspeciais(u"a?b`c") == u"a b c"
std::u16string RemoveCaracteresEspeciais(std::u16string_view Texto);
// Only the characters of the library's list of valid characters (ASCII letters and
// digits, most Portuguese accented letters, common punctuation and the space); CR and
// LF become spaces; everything else is dropped — ê Ê î Î û Û ñ Ñ included.
//   SomenteCaracteresValidos(u"Você\r\n~ok") == u"Voc  ok"
std::u16string SomenteCaracteresValidos(std::u16string_view asTexto);
// SomenteCaracteresValidos, then '\' becomes '/', then trimmed: safe for XML web services.
std::u16string SomenteCaracteresValidosXML_WS(std::u16string_view asTexto);
// The 7-bit escaped form: 32–126 kept except " → _, ' → -, ` → ~; æ → ¾; any other
// character → "æ" + its code in upper-case hex, at least two digits.
//   Asc2Ansi(u"é\n") == u"æE9æ0A"
std::u16string Asc2Ansi(std::u16string_view Original);
// Decodes Asc2Ansi's form: each "æ" with the (up to) two characters after it becomes the
// character of that hex code (0 when invalid), and each "¾" becomes "æ". Every character
// up to 255 comes back except the three quotes; codes above 255 do not.
//   Ansi2Asc(Asc2Ansi(u"João")) == u"João"
std::u16string Ansi2Asc(std::u16string_view Original);
// Line feeds removed and carriage returns made spaces (CR LF → one space).
std::u16string RemoveEnter(std::u16string_view asText);
// Every run of spaces made one space (tabs are not touched).
//   RemoveEspacosDuplos(u"a   b") == u"a b"
std::u16string RemoveEspacosDuplos(std::u16string_view S);
// Leading '0' characters removed: RemoveZerosEsquerda(u"0,5") == u",5"; u"000" gives empty.
std::u16string RemoveZerosEsquerda(std::u16string_view Texto);
// Leading occurrences of `Caracter` removed.
std::u16string RemoveCaracterLeft(std::u16string_view Texto, char16_t Caracter);
// How many characters of `Texto` equal `Caracter`.
int ContarRepeticaoCaracter(std::u16string_view Texto, char16_t Caracter);
// A normalised key for comparing names: single spaces, trimmed, accents removed
// (º → o), ASCII lower case. Clear(u"  São  PAULO ") == u"sao paulo"
std::u16string Clear(std::u16string_view S);
// `abTrueIfEmpty` for an empty text; otherwise true when `asText` is only digits and
// the copied decimal separator, with no blanks or sign: "12,5" yes, " 12" and "-5" no.
bool IsNumero(std::u16string_view asText, bool abTrueIfEmpty = false);
// "null" when `asValor` is blank, else the value with ASCII letters upper-cased, in SQL quotes.
//   IfVazioNull(u"it's") == u"'IT''S'"
std::u16string IfVazioNull(std::u16string_view asValor);
// "null" for 0, else the decimal text.
std::u16string IfZeroNull(std::int32_t aiValor);
// "s" when `Condicao`, else empty: IntToStr(n) + u" item" + Plural(n != 1).
std::u16string Plural(bool Condicao);
// Removes a UTF-8 byte-order mark read as single-byte text (characters 239 187 191)
// from the start of the first line of `Lista`, when that line is longer than two.
void RemoverBOM_StringList(TStringList& Lista);

// ---- Text wrapping, justification and columns (layout.cpp) ----
//
// "Blank" means a character with a code up to 32. Lines are trimmed of blanks at both
// ends; apart from blanks, no character is ever dropped or repeated.

// How a text wraps on a drawing surface: lines, widest line and total height in
// pixels, and the wrapped text with its lines separated by CR LF.
struct TStringInfo {
  std::int32_t LineCount = 0;
  std::int32_t MaxLineWidth = 0;
  std::int32_t TextHeight = 0;
  std::u16string ScreenText;
  void Clear() { *this = TStringInfo(); }
};

// Clears `asLista` and fills it with the words of `asTexto` (the pieces between
// spaces) wrapped greedily: a word joins the line while line + word + 1 fits in
// `aiMaxLength` (the 1 is counted for the first word too); a longer word is a line of
// its own, never cut.
//   QuebraTexto(u"um dois tres", 7, l) → "um dois", "tres"; width 6 → "um", "dois", "tres"
void QuebraTexto(std::u16string_view asTexto, int aiMaxLength, TStringList& asLista);
// The trimmed line widened to `aiQtCaracteres` with extra spaces in its gaps (runs of
// spaces), one per gap per pass from the left. A longer line, or one without a gap,
// is returned trimmed and otherwise unchanged.
//   JustificarMonoEspacado(u"a b c", 6) == u"a  b c"
std::u16string JustificarMonoEspacado(std::u16string_view asLinha, int aiQtCaracteres);
// A new list with the paragraph broken at spaces into trimmed lines of at most
// `aiMaxCaracteresLinha` characters; a word longer than that is cut at the width.
// With `abJustificado` every line but the last is justified to the width. A width
// below 1 gives the whole trimmed paragraph as one line. `aiCaracteresIdentacao` has
// no effect.
//   FormataParagrafo(u"aa bb cc", 5, 0, true) → "aa bb", "cc"
TStringList FormataParagrafo(std::u16string_view asLinha, int aiMaxCaracteresLinha, int aiCaracteresIdentacao,
                             bool abJustificado);
// Appends to `Saida` (not cleared) the lines of `Linha` broken as FormataParagrafo
// does at `TamLinha` (below 1: no limit); a line break (CR LF, CR or LF) ends a line,
// a blank line gives an empty one. With `Justificar`, lines longer than 10 characters
// are justified unless a line break ends them or they are the last.
//   FormatarParagrafo(out, u"Caro cliente,\r\nsegue a nota fiscal do pedido.", 20, true)
//     → "Caro cliente,", "segue  a nota fiscal", "do pedido."
void FormatarParagrafo(TStringList& Saida, std::u16string_view Linha, int TamLinha, bool Justificar);
// Clears `Resultado` and lays the items of `Original` out in blocks of `Linhas` ×
// `Colunas` items, each block down the columns first, cells left-aligned and cut to
// `TamCol`. `AjustarColunas` balances the columns so the last row fills from the left;
// `LinhaEntreBlocos` adds an empty line after every block. `Linhas` below 1 puts
// every item in one block; `Colunas` below 1 counts as 1.
//   5 items, 10 rows, 2 columns, width 3 → "1  4  ", "2  5  ", "3     "
void FormataColunas(const TStringList& Original, TStringList& Resultado, int Linhas, int Colunas, int TamCol,
                    bool AjustarColunas, bool LinhaEntreBlocos);
// How `asText` wraps on `aoCanvas` at `aiMaxLineWidth` pixels (0 or less, or wider than
// the screen: half the screen): a line break (CR LF, CR or LF) ends a paragraph, which
// wraps at spaces (the space at a break goes); a word wider than the width stands alone
// on its line. Every line, an empty one included, is one line of ScreenText and
// counts in LineCount; TextHeight = LineCount × height of "A".
// Pass platform::Service<platform::TextMetrics>::Get() for the installed measurer.
//   GetStringInfo(u"a\r\nb", m, 100): LineCount 2, ScreenText u"a\r\nb"
TStringInfo GetStringInfo(std::u16string_view asText, const platform::TextMetrics& aoCanvas, int aiMaxLineWidth);

// ---- Template formatting and value lists (templates.cpp) ----

// How Fmt writes values (bit n of a set is flag n).
enum TFormatStFlag { flagSQL, flagHuman, flagBoolSN, flagSQL_ConverteStr };
// A set of TFormatStFlag: TFormatStFlags{TmStr::flagSQL, TmStr::flagBoolSN}
class TFormatStFlags {
 public:
  constexpr TFormatStFlags() = default;
  constexpr TFormatStFlags(std::initializer_list<TFormatStFlag> Flags) {  // NOLINT: a braced set
    for (TFormatStFlag f : Flags) FBits = static_cast<std::uint8_t>(FBits | (1u << f));
  }
  static constexpr TFormatStFlags FromBits(std::uint8_t Bits) {
    TFormatStFlags r;
    r.FBits = Bits & 15u;
    return r;
  }
  constexpr bool Contains(TFormatStFlag f) const { return (FBits >> f) & 1u; }
  constexpr std::uint8_t Bits() const { return FBits; }

 private:
  std::uint8_t FBits = 0;
};
// One value for Fmt: any Variant (std::monostate is null), a one-dimensional array
// of variants, or nothing at all (empty, the default), which writes nothing.
class TFmtParam {
 public:
  TFmtParam() = default;
  template <class T>
  requires(std::is_constructible_v<Variant, T&&> && !std::is_same_v<std::remove_cvref_t<T>, TFmtParam>)
      TFmtParam(T&& Valor)
      : FTipo(Tipo::Valor) {  // NOLINT: values read as params
    FValores.emplace_back(std::forward<T>(Valor));
  }
  TFmtParam(TzelArrayVariant Lista) : FTipo(Tipo::Lista), FValores(std::move(Lista)) {}  // NOLINT
  bool IsEmpty() const { return FTipo == Tipo::Vazio; }
  bool IsArray() const { return FTipo == Tipo::Lista; }
  // The single value (null when empty or an array).
  const Variant& Valor() const { return FTipo == Tipo::Valor ? FValores.front() : Nulo(); }
  // The array's elements (none unless an array).
  const TzelArrayVariant& Lista() const { return FTipo == Tipo::Lista ? FValores : Nenhum(); }

 private:
  static const Variant& Nulo() {
    static const Variant v;
    return v;
  }
  static const TzelArrayVariant& Nenhum() {
    static const TzelArrayVariant v;
    return v;
  }
  enum class Tipo { Vazio, Valor, Lista } FTipo = Tipo::Vazio;
  TzelArrayVariant FValores;  // the one value, or the array (kept in one vector: cheap to move)
};
using TFmtParams = std::vector<TFmtParam>;

// The template with "{i}" replaced by value i, values substituted in order into the
// growing text (a value may bring in a later placeholder), then "{\n}" made a carriage
// return. Values are written for people or, with flagSQL, as SQL literals (quoted
// texts and dates, "." decimals, null); see the flags. A placeholder missing when its
// value comes raises EZelmorError "FormatSt. Posição {i} não localizada.".
//   Fmt(u"{0} itens de {1}", {3, 1234.5}, {TmStr::flagHuman}) == u"3 itens de 1.234,50"
std::u16string Fmt(std::u16string_view aString, const TFmtParams& aParam, TFormatStFlags FormatFlags);
// Fmt with only flagSQL.
//   FmtSql(u"id = {0} and nome = {1}", {5, u"O'Neil"}) == u"id = 5 and nome = 'O''Neil'"
std::u16string FmtSql(std::u16string_view aString, const TFmtParams& aParam);
// The fields of `asLista` split at the first character of `asSeparador` (a trailing
// separator dropped first) joined again with `asSeparador`, each in SQL quotes when
// `abQuoted`. An empty separator keeps the list as one field.
//   GetStringFilterIn(u"1,2,3,", u",", true) == u"'1','2','3'"
std::u16string GetStringFilterIn(std::u16string_view asLista, std::u16string_view asSeparador, bool abQuoted);
// GetStringFilterIn with quoting: the body of an SQL "in (...)" filter.
std::u16string QuotedList(std::u16string_view asLista, std::u16string_view asSeparador);

// ---- Number bases, compact text and scrambling (bases.cpp) ----
//
// The scrambling routines disguise; none of them protects anything.

// The 32-bit value of hexadecimal digits in either case («FFFFFFFF» is −1; digits
// beyond the eighth from the right add nothing); empty gives 0. Any other character
// raises EConvertError "'<text>' não é um valor hexadecimal válido".
//   HexaToDecimal(u"ff") == 255
std::int32_t HexaToDecimal(std::u16string_view HexaStr);
// Upper-case hexadecimal without leading zeros; negatives as 32-bit two's complement.
//   DecimalToHex(255) == u"FF"; DecimalToHex(-1) == u"FFFFFFFF"
std::u16string DecimalToHex(std::int32_t Decimal);
// The binary digits of |N| with "-" for a negative N; zero is thirty-two "0"s.
//   DecToBin(-5) == u"-101"
std::u16string DecToBin(std::int32_t N);
// Each character's code in hexadecimal, unpadded, concatenated: Heximiza(u"AB") == u"4142".
// Only codes 16–255 give the two digits DesHeximiza reads back.
std::u16string Heximiza(std::u16string_view Palavra);
// The text rebuilt from pairs of hexadecimal digits: DesHeximiza(u"4142") == u"AB".
// An odd count or a character that is not a hexadecimal digit raises EConvertError.
std::u16string DesHeximiza(std::u16string_view Palavra);
// The text packed in 2-bit units (space 1 unit, "etaonirshdl" 2, anything else 6) into
// characters 0–255, at most 1024 of them, with an end mark. Only characters 1–255 can
// be packed; another character, or a text whose packed form would pass 1024
// characters, raises EConvertError. ComprimeString(u"the tea") has 5 characters.
std::u16string ComprimeString(std::u16string_view Original);
// The text ComprimeString packed; empty gives empty. Packed text without its end mark
// (or with a character above 255) raises EConvertError.
std::u16string DescomprimeString(std::u16string_view Original);
// Each code c becomes c XOR FFFF XOR the next key code (cyclic); the same call with the
// same key restores the text. An empty key works as a key of code 0.
//   Criptografa(Criptografa(s, k), k) == s
std::u16string Criptografa(std::u16string_view Palavra, std::u16string_view Chave);
// Upper-case hexadecimal pairs from a random start and a cyclic key; different on every
// call. "Erro" when a character is outside 1–255 or a key character above 255 (an
// empty key works as code 0). Decrip(Encrip(s, k), k) == s.
std::u16string Encrip(std::u16string_view Texto, std::u16string_view Chave);
// The text Encrip wrote with the same key; "Erro" for a text that is not pairs of
// hexadecimal digits (an empty text gives empty). Decrip(u"zz", u"k") == u"Erro"
std::u16string Decrip(std::u16string_view Texto, std::u16string_view Chave);
// The amount disguised: a random digit choosing one of ten digit alphabets, then the
// digits of `Valor` as "#,##0.00" (cents last) in that alphabet, grouped in threes
// with dots; a negative amount keeps a leading "-". Not a finite number, or a
// magnitude of 1e18 or more (no cents in the pattern's form): empty.
//   CriptoNumero(1234.5) is like u"4.920.613" and differs between calls
std::u16string CriptoNumero(double Valor);
// The amount CriptoNumero disguised, with the live decimal separator before the cents.
//   DescriptoNumero(CriptoNumero(1234.5)) == u"1234,50" (Brazilian settings)
std::u16string DescriptoNumero(std::u16string_view Valor);

// ---- Searching, comparing and joining (searching.cpp) ----
//
// Two case foldings: ASCII ('a'–'z' only) and full (every letter, accented ones
// included). Each routine names the one it uses. "Open array" parameters take a
// braced list in place ({u"SP", u"RJ"}) or the matching dynamic array.

// `Texto` with every `Este` replaced by `PorEste`, left to right and non-overlapping;
// `IgnoraCaseSensitive` matches with full folding. An empty `Este` changes nothing.
//   Replace(u"Ação e AÇÃO", u"ação", u"x", true) == u"x e x"
std::u16string Replace(std::u16string_view Texto, std::u16string_view Este, std::u16string_view PorEste,
                       bool IgnoraCaseSensitive = false);
// Whether `Texto` begins with `Value` (ASCII folding with `abIgnoreCase`); an empty
// `Value` always matches. StartsWith(u"ação", u"AÇ", true) is false.
bool StartsWith(std::u16string_view Texto, std::u16string_view Value, bool abIgnoreCase = false);
// Whether `Texto` ends with `Value`, case-sensitively; an empty `Value` always matches.
bool EndsWith(std::u16string_view Texto, std::u16string_view Value);
// Equality after ASCII folding: "abc" = "ABC", but "ação" ≠ "AÇÃO".
bool EqualsIgnoreCase(std::u16string_view asValue, std::u16string_view asValue2);
// 0-based index of the first element equal to `asTexto` under full folding, or -1.
// Equality, not containment: ContemPos(u"são paulo", {u"RJ", u"SÃO PAULO"}) == 1
int ContemPos(std::u16string_view asTexto, std::initializer_list<std::u16string_view> aaTextos);
int ContemPos(std::u16string_view asTexto, const TzelArrayString& aaTextos);
// ContemPos(…) >= 0: Contem(u"sp", {u"SP", u"RJ"}) is true, Contem(u"Paulo", {u"São Paulo"}) false.
bool Contem(std::u16string_view asTexto, std::initializer_list<std::u16string_view> aaTextos);
bool Contem(std::u16string_view asTexto, const TzelArrayString& aaTextos);
// Whether `asTexto` contains every element as a substring, under full folding; an
// empty list gives true. ContemTodos(u"Nota Fiscal Eletrônica", {u"nota", u"ELETRÔNICA"})
bool ContemTodos(std::u16string_view asTexto, std::initializer_list<std::u16string_view> aaTextos);
bool ContemTodos(std::u16string_view asTexto, const TzelArrayString& aaTextos);
// Whether any element equals `aiInteiro`.
bool ContemInt(std::int32_t aiInteiro, std::initializer_list<std::int32_t> aaArrayInteiro);
bool ContemInt(std::int32_t aiInteiro, const TzelArrayInteger& aaArrayInteiro);
// Position of the last occurrence of `asSubStr`, counted from the end of `asStr`
// (its last character is 1) to the occurrence's last character; 0 when absent or empty.
//   PosReverse(u"ab", u"xxabyy") == 3
int PosReverse(std::u16string_view asSubStr, std::u16string_view asStr);
// 1-based position of the first '0'–'9', 0 when none.
int PosPrimeiroNumero(std::u16string_view asText);
// Scanning from the end, the 1-based position of the `QtdeCaracter`-th occurrence of
// `Caracter` (0 or less counts as 1); 0 when there are fewer.
//   GetPosCaracterBackJumpingNCaracter(u"a\\b\\c", u'\\', 2) == 2
int GetPosCaracterBackJumpingNCaracter(std::u16string_view Texto, char16_t Caracter, int QtdeCaracter);
// `asValue` unless it is empty (a text of spaces is not empty), else `asDefault`.
std::u16string Coalesce(std::u16string_view asValue, std::u16string_view asDefault);
// Appends `asComEste` to `asEste` with the separator only between parts: an empty
// `asEste` becomes `asComEste` alone; an empty `asComEste` still adds a separator.
// With `asValidaSeJaExiste` nothing is appended when `asComEste` is already one of the
// parts of `asEste` between separators (contained in it, for an empty separator).
//   s = u"a"; Concatena(s, u"b", u", "); s == u"a, b"
void Concatena(std::u16string& asEste, std::u16string_view asComEste, std::u16string_view asSeparadorSePreenchido,
               bool asValidaSeJaExiste = false);
// The elements joined by the Concatena rule: leading empty elements vanish, a later
// empty one leaves two separators. Concatena({u"", u"a", u"", u"b"}, u",") == u"a,,b"
std::u16string Concatena(const TzelArrayString& aaLista, std::u16string_view asSeparador);
// Prefixes `asComEste` to `asEste` with the separator only between parts.
//   s = u"b"; ConcatenaInicio(s, u"a", u"/"); s == u"a/b"
void ConcatenaInicio(std::u16string& asEste, std::u16string_view asComEste,
                     std::u16string_view asSeparadorSePreenchido);
// The elements joined by the Concatena rule; with `abQuoted` each is first put in SQL
// quotes (inner quotes doubled). ArrayConcatToStr({u"a", u"b"}, u", ", true) == u"'a', 'b'"
std::u16string ArrayConcatToStr(const TzelArrayString& aaArrayStr, std::u16string_view asSeparador,
                                bool abQuoted = false);
// The same for the other array-of-texts type.
std::u16string ArrayStrConcatToStr(const TArrayStr& aaArrayStr, std::u16string_view asSeparador, bool abQuoted = false);
// The decimal texts joined with `asSeparador`: ArrayIntToStr({1, 2, 3}, u",") == u"1,2,3"
std::u16string ArrayIntToStr(std::initializer_list<std::int32_t> aaArrayInt, std::u16string_view asSeparador);
std::u16string ArrayIntToStr(const TzelArrayInteger& aaArrayInt, std::u16string_view asSeparador);
// A text of the characters in order, NUL characters included.
std::u16string ArrayCharToString(std::initializer_list<char16_t> aaChar);
std::u16string ArrayCharToString(const std::vector<char16_t>& aaChar);
// Appends one value at the end of the array.
void AddArray(TzelArrayString& aalista, std::u16string_view asValor);
void AddArray(TzelArrayInteger& aalista, std::int32_t aiValor);
// Empties the array.
void ClearArray(TzelArrayString& aalista);
void ClearArray(TzelArrayInteger& aalista);
// A new string list with the elements in order; the caller owns it.
TStringList zelAStrToTStrings(const TzelArrayString& aaZelStr);

// ---- Names, abbreviation and e-mail checks (names.cpp) ----

// A name in title case with the connecting words (de, da, das, do, dos, na, nas, no,
// nos, a, e, o, em, com) in lower case, the spacing kept, and the letter after a
// word's first '.' upper-cased (ASCII letters).
//   Capitaliza(u"JOÃO DA SILVA") == u"João da Silva"; Capitaliza(u"j.silva") == u"J.Silva"
std::u16string Capitaliza(std::u16string_view S);
// The name in capitals shortened to `aiMax` characters (". " counted as "."): the
// standard abbreviations of company and street words first (COMÉRCIO → COM.), then
// words after the first cut to their initial and "." (numbers are kept), then the text
// cut; abbreviations are written without a space after their period.
//   AbreviarNome(u"Comércio de Alimentos Santa Luzia Ltda", 30) == u"COM.DE ALIM.SANTA LUZIA LTDA"
std::u16string AbreviarNome(std::u16string_view asNome, int aiMax);
// True for a plausible e-mail address; otherwise `osMsgErro` explains every problem in
// Portuguese, one per line (CR between lines), and is empty when the address is good.
//   IsEmailValido(u"a b@x.com", m) == false, m == u"O caracter ' ' é inválido em emails."
bool IsEmailValido(std::u16string_view asEmail, std::u16string& osMsgErro);

// ---- Splitting and text between markers (splitting.cpp) ----

// Appends the fields of `Texto` split at `Separador` to `MatrizSaida` (cleared first
// when `LimpaMatrizSaida`), untrimmed; with `IgnorarStringVazias` fields that are empty
// after trimming are skipped. An empty text is one empty field.
//   Split(u"a , ,b", u',', list, true, true) → "a ", "b"
void Split(std::u16string_view Texto, char16_t Separador, TStringList& MatrizSaida, bool IgnorarStringVazias = false,
           bool LimpaMatrizSaida = true);
// Every field, empty ones included: Split(u"a,,b", u',') == {u"a", u"", u"b"}; an empty
// text gives one empty field.
TzelArrayString Split(std::u16string_view asTexto, char16_t asSeparador);
// The non-empty fields as 32-bit integers, 0 for a field that is not one.
//   SplitInt(u"1;x;;3", u';') == {1, 0, 3}
TzelArrayInteger SplitInt(std::u16string_view asTexto, char16_t asSeparador);
// Appends CSV fields to `asMatrizSaida` (cleared first when `abLimpaMatrizSaida`).
// A double quote toggles quoting and is dropped; inside quotes the separator is text.
// A trailing separator gives no final empty field; "" inside quotes is not a quote.
//   SplitCSV(list, u"\"x,y\",z,", u',') → "x,y", "z"
void SplitCSV(TStringList& asMatrizSaida, std::u16string_view asTexto, char16_t asSeparador,
              bool abLimpaMatrizSaida = true);
// Clears `aoOut` and fills it with the non-empty runs and each separator as an item of
// its own: SplitB(u"a;b;;c", u';', out) → "a", ";", "b", ";", ";", "c"
void SplitB(std::u16string_view asText, char16_t asSplitToken, TStringList& aoOut);
// Every field put in SQL quotes (a field already between single quotes is kept) and
// joined by the separator. SplitInQuotedStr(u"a,'b',c", u',') == u"'a','b','c'";
// an empty text gives u"''".
std::u16string SplitInQuotedStr(std::u16string_view asTexto, char16_t asSeparador);
// Item `aiIndexPart` (0-based) of the SplitB list, empty past the end; separators are
// items: in u"a;b" index 1 is u";" and 2 is u"b". A negative index raises
// EStringListError (strings/list_error.h).
std::u16string GetStringPart(std::u16string_view asText, char16_t asSplitChar, int aiIndexPart);
// The text after the first `asInicio` up to the first `asFim` of the whole text
// (searched from the start); empty when either is missing or the end comes first.
//   CopyStr(u"abc[def]ghi", u"[", u"]") == u"def"
std::u16string CopyStr(std::u16string_view asTexto, std::u16string_view asInicio, std::u16string_view asFim);

}  // namespace TmStr

}  // namespace zelmor
