// `zelmor cpf` and `zelmor cnpj`: check a typed number, or complete a base with its
// check digits. A CNPJ may have letters in its base (typed in either case, shown as
// capitals); a CPF is digits only. Exit code 0 valid, 1 invalid, 2 usage.
#include <string>

#include "core/text.h"
#include "strings/check_digit_math.h"
#include "strings/mString.h"
#include "tools/zelmor/commands.h"

namespace zelmor::cli {
namespace {

using checkdigit::IsDigit;
using checkdigit::IsLetter;

struct Documento {
  const char* Nome;     // "CPF"
  const char* Comando;  // "cpf"
  std::size_t Digitos;  // 11
  bool Letras;          // letters may stand in the base
};

// The characters that make up the number: its digits and, when `letras`, its letters
// as capitals.
std::u16string Caracteres(std::u16string_view s, bool letras) {
  std::u16string r;
  for (char16_t c : s)
    if (IsDigit(c) || (letras && IsLetter(c))) r += checkdigit::Capital(c);
  return r;
}

// Digits (and letters, when they may stand in the number) and the punctuation people
// type in these numbers.
bool SoPontuacao(std::u16string_view s, bool letras) {
  for (char16_t c : s)
    if (!IsDigit(c) && !(letras && IsLetter(c)) && c != u'.' && c != u'-' && c != u'/') return false;
  return true;
}

int Run(const Documento& doc, const std::vector<std::string>& args) {
  const std::string nome = doc.Comando;
  const std::string usage = "usage: zelmor " + nome + " NUMBER | zelmor " + nome + " --complete BASE";
  const bool completar = !args.empty() && args[0] == "--complete";
  if (args.size() != (completar ? 2u : 1u)) {
    PrintError(usage);
    return 2;
  }
  const std::u16string texto = Utf8ToU16(args.back());
  const std::u16string numero = Caracteres(texto, doc.Letras);
  const bool comLetras = numero.find_first_not_of(u"0123456789") != std::u16string::npos;
  const std::string unidade = comLetras ? " characters" : " digits";

  if (completar) {
    const std::size_t base = doc.Digitos - 2;
    if (numero.size() != base || !SoPontuacao(texto, doc.Letras)) {
      PrintError("zelmor: the base of a " + std::string(doc.Nome) + " is " + std::to_string(base) +
                 (doc.Letras ? " digits or letters" : " digits"));
      return 1;
    }
    const std::u16string dv = TmStr::CalculaDigitoCnpjCpf(numero);
    if (dv.empty()) {
      PrintError("zelmor: a base of zeros has no check digits");
      return 1;
    }
    PrintLine(U16ToUtf8(TmStr::FormataCPFCNPJ(numero + dv)));
    return 0;
  }

  if (numero.size() != doc.Digitos) {
    PrintLine(args[0] + ": invalid (a " + doc.Nome + " has " + std::to_string(doc.Digitos) + unidade + ", this has " +
              std::to_string(numero.size()) + ")");
    return 1;
  }
  // The letters of the text count too, so that a CNPJ with letters is not taken for a CPF.
  if (Caracteres(texto, true).size() == doc.Digitos && TmStr::IsCPFValido(texto)) {
    PrintLine(U16ToUtf8(TmStr::FormataCPFCNPJ(numero)) + ": valid");
    return 0;
  }
  std::string motivo;
  const std::u16string dv = TmStr::CalculaDigitoCnpjCpf(numero.substr(0, doc.Digitos - 2));
  const std::u16string_view informado = std::u16string_view(numero).substr(doc.Digitos - 2);
  if (numero.find_first_not_of(numero[0]) == std::u16string::npos)
    motivo = comLetras ? "one repeated character" : "one repeated digit";
  else if (!doc.Letras && Caracteres(texto, true).size() != numero.size())  // letters, as in a CNPJ
    motivo = "only digits, '.', '-' and '/' may be typed";
  else if (!IsDigit(informado[0]) || !IsDigit(informado[1]))
    motivo = "the check digits are digits, they should be " + U16ToUtf8(dv);
  else if (dv != informado)
    motivo = "the check digits should be " + U16ToUtf8(dv);
  else
    motivo = doc.Letras ? "only digits, letters, '.', '-' and '/' may be typed"
                        : "only digits, '.', '-' and '/' may be typed";
  PrintLine(args[0] + ": invalid (" + motivo + ")");
  return 1;
}

ZELMOR_COMMAND("cpf", "cpf NUMBER | cpf --complete BASE   (check a CPF, or add its check digits)",
               [](const std::vector<std::string>& a) {
                 return Run({"CPF", "cpf", 11, false}, a);
               });
ZELMOR_COMMAND("cnpj", "cnpj NUMBER | cnpj --complete BASE   (check a CNPJ, letters too, or add its check digits)",
               [](const std::vector<std::string>& a) {
                 return Run({"CNPJ", "cnpj", 14, true}, a);
               });

}  // namespace
}  // namespace zelmor::cli
