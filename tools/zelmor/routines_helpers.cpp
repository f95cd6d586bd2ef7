// The generic helpers: choices, null defaults, array lookups, variants, digests.
#include "mRotinas.h"
#include "tools/zelmor/registry.h"

namespace zelmor::cli {

using Text = std::u16string_view;

ZELMOR_ROUTINES(helpers) {
  Register("TmRot.IfThen", +[](bool c, Text t, Text f) { return TmRot::IfThen(c, t, f); },
           {"Condicao", "RTrue", "RFalse"});
  Register("TmRot.IfThenFloat", &TmRot::IfThenFloat, {"Condicao", "RTrue", "RFalse"});
  Register("TmRot.IfVazio", &TmRot::IfVazio, {"Variavel", "RespSeVazio"});
  Register("TmRot.IfNull", +[](const Variant& v, const Variant& d) { return TmRot::IfNull(v, d); },
           {"V", "ValueIfNull"});
  Register("TmRot.IfIntNull", &TmRot::IfIntNull, {"V", "ValueIfNull"});
  Register("TmRot.NullIf", &TmRot::NullIf, {"aoValue", "aoNullValue"});
  Register("TmRot.CaseDo", &TmRot::CaseDo, {"Valor", "ComparaCom", "Retornos", "Default"});
  Register("TmRot.CaseDoInt", &TmRot::CaseDoInt, {"Valor", "ComparaCom", "Retornos", "Default"});
  Register("TmRot.CaseDoInteger", &TmRot::CaseDoInteger, {"aiValor", "aiResultado", "aiRetorno", "aiDefault"});
  Register("TmRot.ContemInt", &TmRot::ContemInt, {"aiValor", "aiValores"});
  Register("TmRot.ContemStr", &TmRot::ContemStr, {"asValor", "asValores"});
  Register("TmRot.ArrayVarToInt", &TmRot::ArrayVarToInt, {"aaVar"});
  Register("TmRot.ArrayVarToStr", &TmRot::ArrayVarToStr, {"aaVar"});
  Register("TmRot.VarToFloat", &TmRot::VarToFloat, {"avValue"});
  Register("TmRot.GetVariantValueDouble", &TmRot::GetVariantValueDouble, {"adValue", "abNullIfZero"});
  Register("TmRot.GetVariantValueInt", &TmRot::GetVariantValueInt, {"aiValue", "abNullIfZero"});
  Register("TmRot.GetVariantValueString", &TmRot::GetVariantValueString, {"asValue", "abNullIfEmpty"});
  Register("TmRot.BoolToStr", &TmRot::BoolToStr, {"abValue"});
  Register("TmRot.CubagemM3", &TmRot::CubagemM3, {"lVL_ALTURA", "lVL_LARGURA", "lVL_PROFUNDIDADE"});
  Register("TmRot.StringListDistinct", &TmRot::StringListDistinct, {"aoList"});
  Register("TmRot.Max", &TmRot::Max, {"adValue1", "adValue2"});
  Register("TmRot.MaxInt", &TmRot::MaxInt, {"aiValue1", "aiValue2"});
  Register("TmRot.MD5", &TmRot::MD5, {"asTexto"});
  Register("TmRot.MD5File", &TmRot::MD5File, {"asArquivo"});
}

}  // namespace zelmor::cli
