// A program outside this repository's build that uses the installed library: it checks
// the CPF or CNPJ numbers given on its command line and writes an amount in words.
//   cpf_check 123.456.789-09 11.222.333/0001-81
#include <cstdio>
#include <string>

#include "adapters/linux/system_services.h"
#include "core/text.h"
#include "core/types.h"
#include "strings/mString.h"

int main(int argc, char** argv) {
  // The library reaches the system through services a program installs once.
  zelmor::adapters::InstallSystemServices();
  int invalid = 0;
  for (int i = 1; i < argc; ++i) {
    const std::u16string number = zelmor::Utf8ToU16(argv[i]);
    const bool ok = zelmor::TmStr::IsCPFValido(number);
    std::printf("%s: %s\n", argv[i], ok ? "valid" : "invalid");
    invalid += ok ? 0 : 1;
  }
  const std::u16string words =
      zelmor::TmStr::Extenso(zelmor::Currency::FromDouble(21315.17), u"Real", u"Reais", u"Centavo", u"Centavos");
  std::printf("%s\n", zelmor::U16ToUtf8(words).c_str());
  return invalid == 0 ? 0 : 1;
}
