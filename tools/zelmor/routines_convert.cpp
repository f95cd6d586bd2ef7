// Numeric conversion and rounding.
#include "datetime/mConvert.h"
#include "tools/zelmor/registry.h"

namespace zelmor::cli {

ZELMOR_ROUTINES(convert) {
  Register("TmConv.Str2Float", &TmConv::Str2Float, {"Valor"});
  Register("TmConv.StrAnsi2Float", &TmConv::StrAnsi2Float, {"Valor"});
  Register("TmConv.StrFormated2Float", &TmConv::StrFormated2Float, {"asValor"});
  Register("TmConv.StrFormated2FloatDef", &TmConv::StrFormated2FloatDef, {"asValor", "adDefault"});
  Register("TmConv.Str2FloatAnsi", &TmConv::Str2FloatAnsi, {"Valor"});
  Register("TmConv.FloatToAnsi", &TmConv::FloatToAnsi, {"Valor"});
  Register("TmConv.FloatToAnsiFormated", &TmConv::FloatToAnsiFormated, {"Valor", "Formato"});
  Register("TmConv.StrAnsiToDate", &TmConv::StrAnsiToDate, {"pData", "pDefaultParamErro", "pComAspas"}, {false});
  Register("TmConv.Trunca", &TmConv::Trunca, {"Valor", "Decimais"});
  Register("TmConv.Arredonda", &TmConv::Arredonda, {"Valor", "Precisao"});
  Register("TmConv.TruncaArredonda", &TmConv::TruncaArredonda, {"Valor", "Precisao"});
  Register("TmConv.FloatComp", &TmConv::FloatComp, {"Valor1", "Decimais"});
  Register("TmConv.FloatIgual", &TmConv::FloatIgual, {"Valor1", "Valor2", "Decimais"});
  Register("TmConv.ArredondaAritmetica", &TmConv::ArredondaAritmetica,
           {"AValorEntrada", "AQtdeCasas", "ArredondarValor"}, {true});
  Register("TmConv.FormatCurrencyToCompare", &TmConv::FormatCurrencyToCompare, {"Valor"});
  Register("TmConv.Divide", &TmConv::Divide, {"Valor1", "Valor2"});
  Register("TmConv.ConfereBugZero", &TmConv::ConfereBugZero, {"Valor"});
  // The first overload whose types fit the arguments is taken: whole numbers pick
  // (int, int); name another by its signature, e.g. "TmConv.IsMultiplo(double,double)".
  Register("TmConv.IsMultiplo", static_cast<bool (*)(std::int32_t, std::int32_t)>(&TmConv::IsMultiplo),
           {"Valor", "Multiplo"});
  Register("TmConv.IsMultiplo", static_cast<bool (*)(double, double)>(&TmConv::IsMultiplo), {"Valor", "Multiplo"});
  Register("TmConv.IsMultiplo", static_cast<bool (*)(std::int32_t, double)>(&TmConv::IsMultiplo),
           {"Valor", "Multiplo"});
  Register("TmConv.IsMultiplo", static_cast<bool (*)(double, std::int32_t)>(&TmConv::IsMultiplo),
           {"Valor", "Multiplo"});
  Register("TmConv.ToBoolean", &TmConv::ToBoolean, {"Texto"});
  Register("TmConv.FromBoolean", &TmConv::FromBoolean, {"Valor", "ComAspas"}, {false});
  Register("TmConv.ToInt", &TmConv::ToInt, {"Texto", "DefaultParaErro"}, {0});
  Register("TmConv.ToInt64", &TmConv::ToInt64, {"Texto", "DefaultParaErro"}, {0});
  Register("TmConv.InRangeInt", &TmConv::InRangeInt, {"aiNumero", "aiInicial", "aiFinal"});
  Register("TmConv.IntToBin", &TmConv::IntToBin, {"Valor", "DigitosBinario"});
  Register("TmConv.ArrayIntToInStr", &TmConv::ArrayIntToInStr, {"aaInt", "asSeparador"});
  Register("TmConv.Modulo10", &TmConv::Modulo10, {"Codigo"});
  Register("TmConv.CalcCubaCm", &TmConv::CalcCubaCm, {"Altura", "Largura", "Profundidade"});
  Register("TmConv.CalcCubaM", &TmConv::CalcCubaM, {"AlturaCm", "LarguraCm", "ProdundidadeCM"});
}

}  // namespace zelmor::cli
