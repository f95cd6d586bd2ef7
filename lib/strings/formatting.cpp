// Values, documents and dates as printed on reports, fiscal documents and screens.
#include <algorithm>
#include <cmath>

#include "calendar/calendar.h"
#include "core/text.h"
#include "core/text_kit.h"
#include "format/format_datetime.h"
#include "format/format_number.h"
#include "parsing/conversions.h"
#include "strings/check_digit_math.h"
#include "strings/mString.h"

namespace zelmor {
namespace {

using textkit::Trim;

// Inserts `what` before the 1-based position `pos`; a position beyond the end appends,
// one below 1 inserts at the start.
void InsertAt(std::u16string& s, std::u16string_view what, int pos) {
  const std::size_t at = pos < 1 ? 0 : std::min(static_cast<std::size_t>(pos - 1), s.size());
  s.insert(at, what);
}

void ReplaceAll(std::u16string& s, std::u16string_view from, std::u16string_view to) {
  if (from.empty()) return;
  for (std::size_t p = 0; (p = s.find(from, p)) != std::u16string::npos; p += to.size()) s.replace(p, from.size(), to);
}

std::u16string Repeat(char16_t c, int n) { return std::u16string(static_cast<std::size_t>(std::max(n, 0)), c); }

std::u16string Digitos(std::u16string_view s) { return TmStr::SomenteNumeros(s, true); }

// The 14 characters of a CNPJ with letters, as capitals, when `s` is one: blanks around
// it, nothing but digits, letters, '.', '-' and '/' inside, a letter in the base and
// digits in the last two places. Empty otherwise, so texts without letters, and letters
// that are not part of such a number, keep their digits-only reading.
std::u16string CnpjAlfanumerico(std::u16string_view s) {
  std::u16string r;
  bool letra = false;
  for (char16_t c : Trim(s)) {
    if (checkdigit::IsLetter(c)) {
      letra = true;
      r += checkdigit::Capital(c);
    } else if (checkdigit::IsDigit(c)) {
      r += c;
    } else if (c != u'.' && c != u'-' && c != u'/') {
      return {};
    }
    if (r.size() > 14) return {};
  }
  if (!letra || r.size() != 14 || !checkdigit::IsDigit(r[12]) || !checkdigit::IsDigit(r[13])) return {};
  return r;
}

// The zero of a two-decimal column ("0,00" with the live decimal separator).
std::u16string ZeroDuasCasas() { return std::u16string(u"0") + FormatSettings().DecimalSeparator + u"00"; }

}  // namespace

// ---- Numbers ----

std::u16string TmStr::Formata(double Valor, std::u16string_view Formato, bool abPontoQuandoZero) {
  if (abPontoQuandoZero && Valor == 0) return u". ";
  return FormatFloat(Formato, Valor);
}

std::u16string TmStr::Formata(double adValor, int adDecimais) {
  std::u16string formato = u"##,##0";
  if (adDecimais > 0) formato += u"." + Repeat(u'0', adDecimais);
  return FormatFloat(formato, adValor);
}

std::u16string TmStr::PadRight(double Valor, int Tamanho, char16_t PadChar, std::u16string_view Formato,
                               bool abCortarTexto) {
  return PadRight(Formata(Valor, Formato, false), Tamanho, PadChar, abCortarTexto);
}

std::u16string TmStr::PadRightPonto(double Valor, int Tamanho, char16_t PadChar, std::u16string_view Formato,
                                    bool abCortarTexto) {
  if (Valor == 0) return PadRight(u".", Tamanho, PadChar, true);
  return PadRight(Valor, Tamanho, PadChar, Formato, abCortarTexto);
}

std::u16string TmStr::FormataValor(double Valor, int Tamanho, int Decimal, bool MostraPontoNoLugarDeZero,
                                   bool cIsAtivaMenosZero, char16_t cPreenchimentoVazio,
                                   std::u16string_view cStrFinal) {
  const std::u16string formato =
      Decimal < 1 ? std::u16string(u"###,###,###,###") : u"###,###,###,##0." + Repeat(u'0', Decimal);
  std::u16string s = FormatFloat(formato, Valor);
  const std::size_t largura = static_cast<std::size_t>(std::max(Tamanho, 0));

  if (LenientStrToFloat(SomenteNumeros(s, false)) != 0 || !MostraPontoNoLugarDeZero) {
    // Thousands separators go from the left until the value fits.
    const char16_t milhar = FormatSettings().ThousandSeparator;
    for (std::size_t p; s.size() > largura && (p = s.find(milhar)) != std::u16string::npos;) s.erase(p, 1);
    if (s.size() > largura) return Repeat(u'*', Tamanho - Decimal + 2) + u"." + Repeat(u'*', Decimal);
    return PadRightStrFim(s, Tamanho, cPreenchimentoVazio, cStrFinal);
  }

  std::u16string r = Repeat(u' ', Tamanho - Decimal - 1) + u"." + Repeat(u' ', Decimal);
  if (cIsAtivaMenosZero && Valor != 0 && Valor > -1 && Valor < 1) {
    if (Valor < 0)
      ReplaceAll(r, u" .", u"-0");
    else
      ReplaceAll(r, u".", u"0");
  }
  return r;
}

std::u16string TmStr::FormataPonto(double Valor, int Tamanho, bool Alinhado, std::u16string_view Formato,
                                   bool NumInteiro, bool MilhaoSemPonto, bool MilSemPonto) {
  std::u16string s = PadRight(FormatFloat(Formato, Valor), Tamanho, u' ', true);
  const std::u16string_view marca = Alinhado ? u" .  " : u"   .";

  if ((MilhaoSemPonto && Valor > 1000000) || (MilSemPonto && Valor > 1000)) {
    // The leading thousands separator goes; a space in front keeps the width.
    const std::size_t p = s.find(FormatSettings().ThousandSeparator);
    if (p != std::u16string::npos) {
      s.erase(p, 1);
      s.insert(0, 1, u' ');
    }
  }

  if (NumInteiro) {
    if (Tamanho > 0) ReplaceAll(s, Repeat(u' ', Tamanho), Repeat(u' ', Tamanho - 1) + u".");
    return s;
  }
  const std::u16string zero = ZeroDuasCasas();
  const std::size_t p = s.find(zero);
  // "0,00" standing alone (not the end of "10,00") becomes the zero mark.
  if (p != std::u16string::npos && (p == 0 || s[p - 1] == u' ')) ReplaceAll(s, zero, marca);
  if (Trim(s) == u"0") return std::u16string(marca);
  return s;
}

std::u16string TmStr::FormataPonto3Casas(Currency Valor, int Tamanho, std::u16string_view Formato) {
  std::u16string s = PadRight(FormatCurr(Formato, Valor), Tamanho, u' ', true);
  const char16_t dec = FormatSettings().DecimalSeparator;
  ReplaceAll(s, std::u16string(u" 0") + dec + u"000", u"  .   ");
  ReplaceAll(s, std::u16string(1, dec) + u"000", u"    ");
  return s;
}

std::u16string TmStr::FormataPontoEx(double Valor, int Tamanho, std::u16string_view Formato) {
  const char16_t dec = FormatSettings().DecimalSeparator;
  // How many decimals the value really has: its fraction written out in full (never in
  // exponent form), 15 significant digits, no trailing zeros.
  const std::u16string f = FormatFloat(u"0.##################", Valor - std::trunc(Valor));
  const std::size_t pf = f.find(dec);
  const int n = static_cast<int>(pf != std::u16string::npos ? f.size() - (pf + 1) : f.size() - 1);

  const std::size_t ponto = Formato.find(u'.');
  std::u16string s;
  if (Valor == 0) {
    s = u" ." + Repeat(u' ', ponto == std::u16string_view::npos ? 0 : static_cast<int>(Formato.size() - ponto - 1));
  } else {
    std::u16string formato(Formato);
    if (ponto == std::u16string_view::npos) formato += u'.';
    formato += Repeat(u'0', n);
    s = FormatFloat(formato, Valor);
    if (n != 0) {
      const std::size_t corte = static_cast<std::size_t>(ponto == std::u16string_view::npos ? n - 1 : n);
      s.erase(s.size() - std::min(corte, s.size()));
    }
  }
  s = PadRight(s, Tamanho, u' ', false);
  if (s.size() > static_cast<std::size_t>(std::max(Tamanho, 0)))
    s.resize(static_cast<std::size_t>(std::max(Tamanho, 0)));
  return s;
}

std::u16string TmStr::FormataDecimal(std::u16string_view asValor, int aiCasasDecimais, bool abAnsi) {
  const std::size_t casas = std::min(static_cast<std::size_t>(std::max(aiCasasDecimais, 0)), asValor.size());
  std::u16string r(asValor.substr(0, asValor.size() - casas));
  r += abAnsi ? u'.' : u',';
  r += asValor.substr(asValor.size() - casas);
  return r;
}

std::u16string TmStr::FormataNumeroPontos(std::u16string_view Numero) {
  std::u16string r;
  r.reserve(Numero.size() + Numero.size() / 3);
  for (std::size_t i = 0; i < Numero.size(); ++i) {
    if (i > 0 && (Numero.size() - i) % 3 == 0) r += u'.';
    r += Numero[i];
  }
  return r;
}

std::u16string TmStr::FormataNumeroPontos(std::int32_t Numero) { return FormataNumeroPontos(IntToStr(Numero)); }

std::u16string TmStr::FormatarTamanho(double Total) {
  static constexpr std::u16string_view kUnidades[] = {u"bytes", u"Kb", u"Mb", u"Gb"};
  std::size_t u = 0;
  while (Total > 1000 && u + 1 < std::size(kUnidades)) {
    Total /= 1024;
    ++u;
  }
  return FormatFloat(u"#,##0.0#", Total) + u" " + std::u16string(kUnidades[u]);
}

// ---- Documents and codes ----

std::u16string TmStr::FormataFone(std::u16string_view asFone) {
  std::u16string d = Digitos(asFone);
  if (d.size() > 11) d.resize(11);
  const std::u16string_view v(d);
  switch (d.size()) {
    case 7: return u"(00)" + std::u16string(v.substr(0, 3)) + u"-" + std::u16string(v.substr(3));
    case 8: return u"(00)" + std::u16string(v.substr(0, 4)) + u"-" + std::u16string(v.substr(4));
    case 9: return u"(00)" + std::u16string(v.substr(0, 5)) + u"-" + std::u16string(v.substr(5));
    case 10:
      return u"(" + std::u16string(v.substr(0, 2)) + u")" + std::u16string(v.substr(2, 4)) + u"-" +
             std::u16string(v.substr(6));
    case 11:
      return u"(" + std::u16string(v.substr(0, 2)) + u")" + std::u16string(v.substr(2, 5)) + u"-" +
             std::u16string(v.substr(7));
    default: return {};
  }
}

std::u16string TmStr::FormataCPFCNPJ(std::u16string_view Texto) {
  std::u16string d = CnpjAlfanumerico(Texto);
  if (d.empty()) d = Digitos(Texto);
  if (d.size() == 14) {
    d.insert(12, u"-");
    d.insert(8, u"/");
    d.insert(5, u".");
    d.insert(2, u".");
  } else if (d.size() == 11) {
    d.insert(9, u"-");
    d.insert(6, u".");
    d.insert(3, u".");
  }
  return d;
}

std::u16string TmStr::FormataPIS(std::u16string_view Texto) {
  std::u16string r = RemoveZerosEsquerda(Texto);
  InsertAt(r, u"-", 11);
  InsertAt(r, u".", 9);
  InsertAt(r, u".", 4);
  return r;
}

std::u16string TmStr::FormataIE(std::u16string_view Texto) {
  if (Texto == u"ISENTO") return std::u16string(Texto);
  std::u16string r = SomenteNumeros(Texto, false);
  if (r.empty()) return r;
  const bool oito = Trim(Texto).size() == 8;
  InsertAt(r, u".", oito ? 6 : 7);
  InsertAt(r, u".", oito ? 3 : 4);
  return r;
}

std::u16string TmStr::FormataCEP(std::u16string_view Numero) {
  std::u16string r = SomenteNumeros(Numero, false);
  if (r.size() > 5) r.insert(5, u"-");
  return r;
}

std::u16string TmStr::FormataChaveNFe(std::u16string_view asChave) {
  std::u16string r(asChave);
  int p = PosPrimeiroNumero(r);
  if (p == 0) return r;
  if (p > 1) {
    InsertAt(r, u" ", p);
    ++p;
  }
  for (std::size_t i = static_cast<std::size_t>(p) + 4; i < r.size(); i += 5) r.insert(i - 1, 1, u' ');
  return r;
}

std::u16string TmStr::FormataTIPI(std::int32_t Numero) { return FormataTIPI(IntToStr(Numero)); }

std::u16string TmStr::FormataTIPI(std::u16string_view asNCM) {
  std::u16string r = PadRight(asNCM, 8, u'0', true);
  r.insert(6, u".");
  r.insert(4, u".");
  return r;
}

std::u16string TmStr::FormataNCM(std::u16string_view aNumero) {
  std::u16string r = PadRight(aNumero, 8, u'0', false);
  if (r.size() != 8) return r;
  r.insert(6, u".");
  r.insert(4, u".");
  return r;
}

std::u16string TmStr::FormataCEST(std::u16string_view Texto) {
  std::u16string r(Texto);
  InsertAt(r, u".", 3);
  InsertAt(r, u".", 7);
  return r;
}

std::u16string TmStr::FormataPlacaVeiculo(std::u16string_view Numero) {
  std::u16string r(Trim(Numero));
  InsertAt(r, u"-", 4);
  return r;
}

// ---- Dates and times ----

std::u16string TmStr::FormataData(TDateTime Data, std::u16string_view Formato, bool MostraDataNula) {
  std::u16string s = FormatDateTime(Formato, Data);
  if (!MostraDataNula && s == u"30/12/1899") return {};
  return s;
}

std::u16string TmStr::FormataDataStr(std::u16string_view asData, bool abDataCompleta, bool abAnsi) {
  const std::u16string d = SomenteNumeros(asData, false);
  const std::u16string_view v(d);
  auto part = [&](std::size_t at, std::size_t n) { return std::u16string(v.substr(at, n)); };
  std::u16string r;
  switch (d.size()) {
    case 0: return u"null";
    case 4: r = part(0, 2) + u"/" + part(2, 2); break;
    case 6:
      if (abDataCompleta) {
        r = part(0, 2) + u"/" + part(2, 2) + u"/" + part(4, 2);
      } else if (asData.find(u'/') == 4) {  // year first: «2018/07»
        r = u"01/" + part(4, 2) + u"/" + part(0, 4);
      } else {
        r = u"01/" + part(0, 2) + u"/" + part(2, 4);
      }
      break;
    case 8: r = part(0, 2) + u"/" + part(2, 2) + u"/" + part(4, 4); break;
    default: break;
  }
  if (abAnsi) r = u"'" + FormatDateTime(u"yyyy-mm-dd", StrToDate(r)) + u"'";
  return r;
}

std::u16string TmStr::FormataHora(TDateTime Hora, std::u16string_view Formato) { return FormatDateTime(Formato, Hora); }

std::u16string TmStr::FormataTempoDecorrido(TDateTime Tempo, std::u16string_view Formato) {
  return FormatDateTime(Formato, Tempo);
}

std::u16string TmStr::GetDataHora(std::u16string_view Formato) { return FormatDateTime(Formato, Now()); }

}  // namespace zelmor
