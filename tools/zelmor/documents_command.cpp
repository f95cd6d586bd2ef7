// `zelmor cpf` and `zelmor cnpj`: check a typed number, or complete a base with its
// check digits. Exit code 0 valid, 1 invalid, 2 usage.
#include <string>

#include "core/text.h"
#include "strings/mString.h"
#include "tools/zelmor/commands.h"

namespace zelmor::cli {
namespace {

struct Documento {
  const char* Nome;     // "CPF"
  const char* Comando;  // "cpf"
  std::size_t Digitos;  // 11
};

// Digits and the punctuation people type in these numbers.
bool SoPontuacao(std::u16string_view s) {
  for (char16_t c : s)
    if (!(c >= u'0' && c <= u'9') && c != u'.' && c != u'-' && c != u'/') return false;
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
  const std::u16string digitos = TmStr::SomenteNumeros(texto, true);

  if (completar) {
    const std::size_t base = doc.Digitos - 2;
    if (digitos.size() != base || !SoPontuacao(texto)) {
      PrintError("zelmor: the base of a " + std::string(doc.Nome) + " is " + std::to_string(base) + " digits");
      return 1;
    }
    const std::u16string dv = TmStr::CalculaDigitoCnpjCpf(digitos);
    if (dv.empty()) {
      PrintError("zelmor: a base of zeros has no check digits");
      return 1;
    }
    PrintLine(U16ToUtf8(TmStr::FormataCPFCNPJ(digitos + dv)));
    return 0;
  }

  if (digitos.size() != doc.Digitos) {
    PrintLine(args[0] + ": invalid (a " + doc.Nome + " has " + std::to_string(doc.Digitos) + " digits, this has " +
              std::to_string(digitos.size()) + ")");
    return 1;
  }
  if (TmStr::IsCPFValido(texto)) {
    PrintLine(U16ToUtf8(TmStr::FormataCPFCNPJ(digitos)) + ": valid");
    return 0;
  }
  std::string motivo;
  const std::u16string dv = TmStr::CalculaDigitoCnpjCpf(digitos.substr(0, doc.Digitos - 2));
  if (digitos.find_first_not_of(digitos[0]) == std::u16string::npos)
    motivo = "one repeated digit";
  else if (dv != digitos.substr(doc.Digitos - 2))
    motivo = "the check digits should be " + U16ToUtf8(dv);
  else
    motivo = "only digits, '.', '-' and '/' may be typed";
  PrintLine(args[0] + ": invalid (" + motivo + ")");
  return 1;
}

ZELMOR_COMMAND("cpf", "cpf NUMBER | cpf --complete BASE   (check a CPF, or add its check digits)",
               [](const std::vector<std::string>& a) { return Run({"CPF", "cpf", 11}, a); });
ZELMOR_COMMAND("cnpj", "cnpj NUMBER | cnpj --complete BASE   (check a CNPJ, or add its check digits)",
               [](const std::vector<std::string>& a) { return Run({"CNPJ", "cnpj", 14}, a); });

}  // namespace
}  // namespace zelmor::cli
