// Value and document formatting.
#include "strings/mString.h"
#include "tools/zelmor/registry.h"

namespace zelmor::cli {

ZELMOR_ROUTINES(formatting) {
  using S = std::u16string;
  using V = std::u16string_view;
  Register("TmStr.Formata", static_cast<S (*)(double, V, bool)>(&TmStr::Formata),
           {"Valor", "Formato", "abPontoQuandoZero"}, {false});
  Register("TmStr.Formata", static_cast<S (*)(double, int)>(&TmStr::Formata), {"adValor", "adDecimais"});
  Register("TmStr.PadRight", static_cast<S (*)(double, int, char16_t, V, bool)>(&TmStr::PadRight),
           {"Valor", "Tamanho", "PadChar", "Formato", "abCortarTexto"});
  Register("TmStr.PadRightPonto", &TmStr::PadRightPonto, {"Valor", "Tamanho", "PadChar", "Formato", "abCortarTexto"});
  Register("TmStr.FormataValor", &TmStr::FormataValor,
           {"Valor", "Tamanho", "Decimal", "MostraPontoNoLugarDeZero", "cIsAtivaMenosZero", "cPreenchimentoVazio",
            "cStrFinal"},
           {true, false, " ", ""});
  Register("TmStr.FormataPonto", &TmStr::FormataPonto,
           {"Valor", "Tamanho", "Alinhado", "Formato", "NumInteiro", "MilhaoSemPonto", "MilSemPonto"},
           {false, false, false});
  Register("TmStr.FormataPonto3Casas", &TmStr::FormataPonto3Casas, {"Valor", "Tamanho", "Formato"});
  Register("TmStr.FormataPontoEx", &TmStr::FormataPontoEx, {"Valor", "Tamanho", "Formato"});
  Register("TmStr.FormataDecimal", &TmStr::FormataDecimal, {"asValor", "aiCasasDecimais", "abAnsi"}, {false});
  Register("TmStr.FormataNumeroPontos", static_cast<S (*)(V)>(&TmStr::FormataNumeroPontos), {"Numero"});
  Register("TmStr.FormataNumeroPontos", static_cast<S (*)(std::int32_t)>(&TmStr::FormataNumeroPontos), {"Numero"});
  Register("TmStr.FormatarTamanho", &TmStr::FormatarTamanho, {"Total"});

  Register("TmStr.FormataFone", &TmStr::FormataFone, {"asFone"});
  Register("TmStr.FormataCPFCNPJ", &TmStr::FormataCPFCNPJ, {"Texto"});
  Register("TmStr.FormataPIS", &TmStr::FormataPIS, {"Texto"});
  Register("TmStr.FormataIE", &TmStr::FormataIE, {"Texto"});
  Register("TmStr.FormataCEP", &TmStr::FormataCEP, {"Numero"});
  Register("TmStr.FormataChaveNFe", &TmStr::FormataChaveNFe, {"asChave"});
  Register("TmStr.FormataTIPI", static_cast<S (*)(V)>(&TmStr::FormataTIPI), {"asNCM"});
  Register("TmStr.FormataTIPI", static_cast<S (*)(std::int32_t)>(&TmStr::FormataTIPI), {"Numero"});
  Register("TmStr.FormataNCM", &TmStr::FormataNCM, {"aNumero"});
  Register("TmStr.FormataCEST", &TmStr::FormataCEST, {"Texto"});
  Register("TmStr.FormataPlacaVeiculo", &TmStr::FormataPlacaVeiculo, {"Numero"});

  Register("TmStr.FormataData", &TmStr::FormataData, {"Data", "Formato", "MostraDataNula"}, {"dd/mm/yyyy", false});
  Register("TmStr.FormataDataStr", &TmStr::FormataDataStr, {"asData", "abDataCompleta", "abAnsi"}, {true, false});
  Register("TmStr.FormataHora", &TmStr::FormataHora, {"Hora", "Formato"}, {"hh:nn:ss"});
  Register("TmStr.FormataTempoDecorrido", &TmStr::FormataTempoDecorrido, {"Tempo", "Formato"}, {"hh:nn:ss"});
  Register("TmStr.GetDataHora", &TmStr::GetDataHora, {"Formato"}, {"dd/mm/yyyy hh:nn:ss"});
}

}  // namespace zelmor::cli
