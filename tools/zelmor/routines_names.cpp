// Names, abbreviation and e-mail checks.
#include "strings/mString.h"
#include "tools/zelmor/registry.h"

namespace zelmor::cli {

ZELMOR_ROUTINES(names) {
  Register("TmStr.Capitaliza", &TmStr::Capitaliza, {"S"});
  Register("TmStr.AbreviarNome", &TmStr::AbreviarNome, {"asNome", "aiMax"});
  Register("TmStr.IsEmailValido", &TmStr::IsEmailValido, {"asEmail", "osMsgErro"});
}

}  // namespace zelmor::cli
