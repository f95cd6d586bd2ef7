// Federative units, document check digits, state registrations, amounts in words,
// bar codes and the access-key check.
#include "mRotinas.h"
#include "strings/mString.h"
#include "tools/zelmor/json_values.h"
#include "tools/zelmor/registry.h"

namespace zelmor::cli {

// A federative-units row crosses as {"Sigla":…, "IBGE":…, "Tamanho":[…]}.
template <>
struct ArgTypeOf<TUnidadeFederativa> {
  static constexpr ArgType Value = ArgType::Record;
};
template <>
struct JsonOf<TUnidadeFederativa> {
  static TUnidadeFederativa From(const Json& v) {
    TUnidadeFederativa r;
    r.Sigla = JsonOf<std::u16string>::From(v.value("Sigla", Json("")));
    r.IBGE = JsonOf<int>::From(v.value("IBGE", Json(0)));
    r.Tamanho = JsonOf<TzelArrayInteger>::From(v.value("Tamanho", Json::array()));
    return r;
  }
  static Json To(const TUnidadeFederativa& v) {
    Json j = Json::object();
    j["Sigla"] = JsonOf<std::u16string>::To(v.Sigla);
    j["IBGE"] = v.IBGE;
    j["Tamanho"] = JsonOf<TzelArrayInteger>::To(v.Tamanho);
    return j;
  }
};

ZELMOR_ROUTINES(fiscal) {
  // Check digits and the access key.
  Register("TmStr.CalcModulo11", &TmStr::CalcModulo11, {"S", "aiValorCasoCalculoMaior9"});
  Register("TmStr.CalculaDigitoCnpjCpf", &TmStr::CalculaDigitoCnpjCpf, {"Numero"});
  Register("TmStr.IsCPFValido", &TmStr::IsCPFValido, {"Codigo"});
  Register("TmStr.IsPISValido", &TmStr::IsPISValido, {"Codigo"});
  Register("TmStr.CalculaChaveEletronica", &TmStr::CalculaChaveEletronica,
           {"asUF", "ahDtEmisDocto", "asCNPJEmissor", "aeTipo", "aiSerie", "aiNumero", "aiTpEmissao", "aiControle"});

  // State registrations.
  Register("TmStr.isIEValido", &TmStr::isIEValido, {"aUF", "aIE", "aCGC"}, {""});
  Register("TmStr.IsEstadoValido", &TmStr::IsEstadoValido, {"Estado"});
  Register("TmStr.EstadoExtenso", &TmStr::EstadoExtenso, {"Estado"});
  Register("TmStr.ValidarInscricaoDLLSintegra", &TmStr::ValidarInscricaoDLLSintegra, {"IE", "UF"});

  // Amounts in words.
  Register("TmStr.Extenso", &TmStr::Extenso, {"Valor", "IntSing", "IntPlural", "DecSing", "DecPlural"},
           {"Real", "Reais", "Centavo", "Centavos"});
  Register("TmStr.QuebraExtenso", &TmStr::QuebraExtenso, {"Valor", "Linha1", "Linha2"});

  // Bar codes.
  Register("TmStr.GetCodBarraDigito", &TmStr::GetCodBarraDigito, {"Valor"});
  Register("TmStr.GeraCodBarra", &TmStr::GeraCodBarra, {"Valor"});
  Register("TmStr.GetCodBarra14Digito", &TmStr::GetCodBarra14Digito, {"Valor"});
  Register("TmStr.GeraCodBarra14", &TmStr::GeraCodBarra14, {"Valor"});
  Register("TmStr.IsCodBarraValido", &TmStr::IsCodBarraValido, {"Valor", "abValidar14Digito"}, {false});
  Register("TmStr.IsCodBarra14Valido", &TmStr::IsCodBarra14Valido, {"Valor"});
  Register("TmStr.FormataCodigoBarrasPonto", &TmStr::FormataCodigoBarrasPonto, {"Codigo"});
  Register("TmStr.GetCmc7", &TmStr::GetCmc7, {});

  // Federative units and the access-key check.
  Register("TmUF.Dados", &TmUF::Dados, {"aiUF"});
  Register("TmUF.IBGE", &TmUF::IBGE, {"aiUF"});
  Register("TmUF.Sigla", &TmUF::Sigla, {"aiIBGE"});
  Register("TmUF.GetIEValidada", &TmUF::GetIEValidada, {"asIE", "asUF"});
  Register("TmRot.ValidaChaveAcesso", &TmRot::ValidaChaveAcesso,
           {"asChaveAcesso", "asUF", "asAAMM", "asCNPJ", "asMod", "asSerie", "asNrNF", "asTpEmis", "asDV"},
           {"", "", "", "", "", "", "", ""});
  Register("TmRot.GetValorParcela", &TmRot::GetValorParcela,
           {"adValorTotal", "aiQtdParcelas", "aiNrParcela", "abAdicionarDifAoFinal"}, {false});
  Register("TmRot.GetValorRateioItem", &TmRot::GetValorRateioItem,
           {"adValorTotal", "adValorTotalItem", "adValorTotalRatear", "adTotalAcumuladoRateiro", "abIsUtilmoItem"});
  Register("TmRot.GetListaCNPJBlocoXDezembro", &TmRot::GetListaCNPJBlocoXDezembro, {"aoLista"});
}

}  // namespace zelmor::cli
