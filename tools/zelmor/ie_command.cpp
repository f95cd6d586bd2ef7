// `zelmor ie UF NUMBER`: checks a state registration by its state's rule, and with
// --sintegra also by the outside state-registration library.
// Exit code 0 valid, 1 invalid, 2 usage or unknown state.
#include <string>

#include "core/text.h"
#include "strings/mString.h"
#include "tools/zelmor/commands.h"

namespace zelmor::cli {
namespace {

int Run(const std::vector<std::string>& args) {
  const char* usage = "usage: zelmor ie [--sintegra] UF NUMBER";
  bool sintegra = false;
  std::vector<std::string> pos;
  for (const std::string& a : args) {
    if (a == "--sintegra")
      sintegra = true;
    else
      pos.push_back(a);
  }
  if (pos.size() != 2) {
    PrintError(usage);
    return 2;
  }
  const std::u16string uf = UpperCase(Utf8ToU16(pos[0]));
  const std::u16string nome = TmStr::EstadoExtenso(uf);
  if (nome.empty()) {
    PrintError("zelmor: unknown state '" + pos[0] + "'");
    return 2;
  }
  const std::u16string ie = Utf8ToU16(pos[1]);
  const bool valida = TmStr::isIEValido(uf, ie, u"");
  PrintLine(pos[1] + " (" + U16ToUtf8(uf) + ", " + U16ToUtf8(nome) + "): " + (valida ? "valid" : "invalid"));
  bool externa = true;
  if (sintegra) {
    const std::u16string msg = TmStr::ValidarInscricaoDLLSintegra(ie, uf);
    externa = msg.empty();
    PrintLine("outside library: " + (externa ? std::string("valid") : U16ToUtf8(msg)));
  }
  return valida && externa ? 0 : 1;
}

ZELMOR_COMMAND("ie", "ie [--sintegra] UF NUMBER   (check a state registration)", Run);

}  // namespace
}  // namespace zelmor::cli
