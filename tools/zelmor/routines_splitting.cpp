// Splitting and text between markers.
#include "strings/mString.h"
#include "tools/zelmor/registry.h"

namespace zelmor::cli {

ZELMOR_ROUTINES(splitting) {
  // Two arguments take the array form; more take the list form.
  Register("TmStr.Split", static_cast<TzelArrayString (*)(std::u16string_view, char16_t)>(&TmStr::Split),
           {"asTexto", "asSeparador"});
  Register("TmStr.Split", static_cast<void (*)(std::u16string_view, char16_t, TStringList&, bool, bool)>(&TmStr::Split),
           {"Texto", "Separador", "MatrizSaida", "IgnorarStringVazias", "LimpaMatrizSaida"}, {false, true});
  Register("TmStr.SplitInt", &TmStr::SplitInt, {"asTexto", "asSeparador"});
  Register("TmStr.SplitCSV", &TmStr::SplitCSV, {"asMatrizSaida", "asTexto", "asSeparador", "abLimpaMatrizSaida"},
           {true});
  Register("TmStr.SplitB", &TmStr::SplitB, {"asText", "asSplitToken", "aoOut"});
  Register("TmStr.SplitInQuotedStr", &TmStr::SplitInQuotedStr, {"asTexto", "asSeparador"});
  Register("TmStr.GetStringPart", &TmStr::GetStringPart, {"asText", "asSplitChar", "aiIndexPart"});
  Register("TmStr.CopyStr", &TmStr::CopyStr, {"asTexto", "asInicio", "asFim"});
}

}  // namespace zelmor::cli
