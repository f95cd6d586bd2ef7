// `zelmor chave`: builds the 44-character access key of an electronic fiscal document,
// or checks one (length, digits, state code, check digit, and any fields given). The
// issuer's CNPJ may have letters in its base (typed in either case, keyed as capitals).
// Exit code 0 valid (or built), 1 invalid, 2 usage.
#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <string>

#include "calendar/calendar.h"
#include "core/errors.h"
#include "core/text.h"
#include "mRotinas.h"
#include "strings/check_digit_math.h"
#include "strings/mString.h"
#include "tools/zelmor/commands.h"

namespace zelmor::cli {
namespace {

const char* kUsage =
    "usage: zelmor chave build --uf UF --date YYYY-MM-DD --cnpj CNPJ --model 55|65|57|60|58 --series N --number N\n"
    "                          [--form N (1)] [--code N (the number)]\n"
    "       zelmor chave [check] KEY [--uf UF] [--yymm YYMM] [--cnpj CNPJ] [--model M] [--series N] [--number N]\n"
    "                          [--form N] [--dv D]";

// The issuer's CNPJ inside the key: 0-based start, width, and how many of its first
// characters may be letters (the base; the two check digits are digits).
constexpr std::size_t kEmissor = 6, kLarguraEmissor = 14, kBaseEmissor = 12;

// The characters of a typed CNPJ: digits, and letters as capitals; punctuation and
// anything else dropped.
std::u16string Cnpj(const std::string& s) {
  std::u16string r;
  for (char16_t c : Utf8ToU16(s))
    if (checkdigit::IsDigit(c) || checkdigit::IsLetter(c)) r += checkdigit::Capital(c);
  return r;
}

bool TemLetra(std::u16string_view s) {
  for (char16_t c : s)
    if (checkdigit::IsLetter(c)) return true;
  return false;
}

// "--name value" pairs after the positional words; false on a malformed list.
bool ParseOptions(const std::vector<std::string>& args, std::size_t from, std::vector<std::string>& pos,
                  std::map<std::string, std::string>& opts) {
  for (std::size_t i = from; i < args.size(); ++i) {
    if (args[i].rfind("--", 0) == 0) {
      if (i + 1 >= args.size()) return false;
      opts[args[i].substr(2)] = args[i + 1];
      ++i;
    } else {
      pos.push_back(args[i]);
    }
  }
  return true;
}

std::optional<TModeloDocumentoEletronico> Modelo(const std::string& m) {
  static const std::map<std::string, TModeloDocumentoEletronico> kModelos = {
      {"55", TModeloDocumentoEletronico::mdeNFe},  {"nfe", TModeloDocumentoEletronico::mdeNFe},
      {"65", TModeloDocumentoEletronico::mdeNFCe}, {"nfce", TModeloDocumentoEletronico::mdeNFCe},
      {"57", TModeloDocumentoEletronico::mdeCTe},  {"cte", TModeloDocumentoEletronico::mdeCTe},
      {"60", TModeloDocumentoEletronico::mdeCFe},  {"cfe", TModeloDocumentoEletronico::mdeCFe},
      {"58", TModeloDocumentoEletronico::mdeMDFe}, {"mdfe", TModeloDocumentoEletronico::mdeMDFe}};
  auto it = kModelos.find(U16ToUtf8(LowerCase(Utf8ToU16(m))));
  if (it == kModelos.end()) return std::nullopt;
  return it->second;
}

std::optional<int> Inteiro(const std::string& s, int max) {
  if (s.empty() || s.size() > 9 || s.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
  const int v = std::stoi(s);
  if (v > max) return std::nullopt;
  return v;
}

// YYYY-MM-DD or DD/MM/YYYY.
std::optional<TDateTime> Data(const std::string& s) {
  int y = 0, m = 0, d = 0;
  char a = 0, b = 0;
  TDateTime r;
  if ((std::sscanf(s.c_str(), "%4d%c%2d%c%2d", &y, &a, &m, &b, &d) == 5 && a == '-' && b == '-') ||
      (std::sscanf(s.c_str(), "%2d%c%2d%c%4d", &d, &a, &m, &b, &y) == 5 && a == '/' && b == '/'))
    if (TryEncodeDate(y, m, d, r)) return r;
  return std::nullopt;
}

int Build(const std::vector<std::string>& args) {
  std::vector<std::string> pos;
  std::map<std::string, std::string> o;
  if (!ParseOptions(args, 1, pos, o) || !pos.empty()) {
    PrintError(kUsage);
    return 2;
  }
  for (const char* need : {"uf", "date", "cnpj", "model", "series", "number"})
    if (!o.count(need)) {
      PrintError(std::string("zelmor: chave build needs --") + need + "\n" + kUsage);
      return 2;
    }
  const std::u16string uf = UpperCase(Utf8ToU16(o["uf"]));
  const auto data = Data(o["date"]);
  const auto modelo = Modelo(o["model"]);
  const auto serie = Inteiro(o["series"], 999);
  const auto numero = Inteiro(o["number"], 999999999);
  const auto forma = Inteiro(o.count("form") ? o["form"] : "1", 9);
  const auto codigo = o.count("code") ? Inteiro(o["code"], 99999999) : std::optional<int>(-1);
  const std::u16string cnpj = Cnpj(o["cnpj"]);
  std::string erro;
  if (TmUF::IBGE(uf) == 0)
    erro = "unknown state '" + o["uf"] + "'";
  else if (!data)
    erro = "the date must be YYYY-MM-DD or DD/MM/YYYY";
  else if (!modelo)
    erro = "the model must be 55, 65, 57, 60 or 58 (nfe, nfce, cte, cfe, mdfe)";
  else if (!serie)
    erro = "the series must be 0 to 999";
  else if (!numero)
    erro = "the number must be 0 to 999999999";
  else if (!forma)
    erro = "the issue form must be one digit";
  else if (!codigo)
    erro = "the code must be 0 to 99999999";
  else if (cnpj.empty() || cnpj.size() > kLarguraEmissor)
    erro = TemLetra(cnpj) ? "the CNPJ must have up to 14 characters" : "the CNPJ must have up to 14 digits";
  else if (TemLetra(cnpj.substr(cnpj.size() - std::min<std::size_t>(cnpj.size(), 2))))
    erro = "the CNPJ's last two characters are its check digits, digits only";
  else if (*codigo == -1 && *numero > 99999999)
    erro = "a number above 99999999 needs its own --code";
  if (!erro.empty()) {
    PrintError("zelmor: " + erro);
    return 2;
  }
  PrintLine(U16ToUtf8(TmStr::CalculaChaveEletronica(uf, *data, cnpj, *modelo, *serie, *numero, *forma, *codigo)));
  return 0;
}

int Check(const std::vector<std::string>& args, std::size_t from) {
  std::vector<std::string> pos;
  std::map<std::string, std::string> o;
  if (!ParseOptions(args, from, pos, o) || pos.size() != 1) {
    PrintError(kUsage);
    return 2;
  }
  auto invalida = [](const std::string& why) {
    PrintLine("invalid: " + why);
    return 1;
  };
  // Blanks between blocks are allowed; letters are read as capitals.
  std::u16string chave;
  for (char16_t c : Utf8ToU16(pos[0]))
    if (c != u' ') chave += checkdigit::Capital(c);
  if (chave.size() != 44 || chave.find_first_not_of(u"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ") != std::u16string::npos)
    return invalida("an access key has 44 digits");
  for (std::size_t i = 0; i < chave.size(); ++i)
    if (checkdigit::IsLetter(chave[i]) && (i < kEmissor || i >= kEmissor + kBaseEmissor))
      return invalida("letters may stand only in the base of the issuer's CNPJ (positions 7 to 18), not at position " +
                      std::to_string(i + 1));

  const std::u16string_view k(chave);
  const std::u16string sigla = TmUF::Sigla(std::stoi(U16ToUtf8(k.substr(0, 2))));
  PrintLine(U16ToUtf8(TmStr::FormataChaveNFe(chave)));
  PrintLine("state:       " + U16ToUtf8(k.substr(0, 2)) + (sigla.empty() ? "" : " (" + U16ToUtf8(sigla) + ")"));
  PrintLine("year/month:  " + U16ToUtf8(k.substr(2, 2)) + "/" + U16ToUtf8(k.substr(4, 2)));
  PrintLine("CNPJ:        " + U16ToUtf8(TmStr::FormataCPFCNPJ(k.substr(kEmissor, kLarguraEmissor))));
  PrintLine("model:       " + U16ToUtf8(k.substr(20, 2)));
  PrintLine("series:      " + U16ToUtf8(k.substr(22, 3)));
  PrintLine("number:      " + U16ToUtf8(k.substr(25, 9)));
  PrintLine("issue form:  " + U16ToUtf8(k.substr(34, 1)));
  PrintLine("code:        " + U16ToUtf8(k.substr(35, 8)));
  PrintLine("check digit: " + U16ToUtf8(k.substr(43, 1)));

  if (sigla.empty()) return invalida("no state has the code " + U16ToUtf8(k.substr(0, 2)));
  const std::u16string dv = TmStr::CalcModulo11(k.substr(0, 43), 0);
  if (dv != k.substr(43)) return invalida("the check digit should be " + U16ToUtf8(dv));
  const auto mes = std::stoi(U16ToUtf8(k.substr(4, 2)));
  if (mes < 1 || mes > 12) return invalida("there is no month " + U16ToUtf8(k.substr(4, 2)));
  try {
    auto opt = [&](const char* name) { return Utf8ToU16(o.count(name) ? o[name] : ""); };
    TmRot::ValidaChaveAcesso(chave, opt("uf"), opt("yymm"), Cnpj(o.count("cnpj") ? o["cnpj"] : ""), opt("model"),
                             opt("series"), opt("number"), opt("form"), opt("dv"));
  } catch (const EZelmorError& e) {
    std::string msg = U16ToUtf8(e.Message());
    for (char& c : msg)
      if (c == '\r') c = '\n';  // the message's line breaks are carriage returns
    return invalida(msg);
  }
  PrintLine("valid");
  return 0;
}

int Run(const std::vector<std::string>& args) {
  if (args.empty()) {
    PrintError(kUsage);
    return 2;
  }
  if (args[0] == "build") return Build(args);
  return Check(args, args[0] == "check" ? 1 : 0);
}

ZELMOR_COMMAND("chave",
               "chave build --uf UF --date D --cnpj C --model M --series N --number N | chave KEY [--FIELD V]..."
               "   (build or check an access key)",
               Run);

}  // namespace
}  // namespace zelmor::cli
