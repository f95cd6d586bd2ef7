// Character filtering and accents.
#include "strings/mString.h"
#include "tools/zelmor/registry.h"

namespace zelmor::cli {

namespace {

// The set of 8-bit characters crosses as a text of its members.
std::u16string Somente(std::u16string_view asTexto, std::u16string_view asLista, bool abTrim) {
  return TmStr::Somente(asTexto, TmStr::TCharSet(asLista), abTrim);
}

}  // namespace

ZELMOR_ROUTINES(filtering) {
  Register("TmStr.SomenteNumeros", &TmStr::SomenteNumeros, {"Texto", "DeleteDecimalSeparator"}, {false});
  Register("TmStr.SomenteLetras", &TmStr::SomenteLetras, {"Texto", "IgnorarCaracter"}, {""});
  Register("TmStr.SomenteAlfa", &TmStr::SomenteAlfa, {"Texto", "asCaracterSubstituir"}, {""});
  Register("TmStr.SomenteASCII", &TmStr::SomenteASCII, {"Texto"});
  Register("TmStr.Somente", &Somente, {"asTexto", "asLista", "abTrim"}, {true},
           "asLista: the members of the character set, as a text");
  Register("TmStr.RemoveNumeros", &TmStr::RemoveNumeros, {"Texto"});
  Register("TmStr.RemoveAcentos", &TmStr::RemoveAcentos, {"Texto", "abRemovePequenoO"}, {true});
  Register("TmStr.RemoveAcentosSQL", &TmStr::RemoveAcentosSQL, {"Texto"});
  Register("TmStr.LimparStringParaSQL", &TmStr::LimparStringParaSQL, {"Texto"});
  Register("TmStr.RemoveCaracteresEspeciais", &TmStr::RemoveCaracteresEspeciais, {"Texto"});
  Register("TmStr.SomenteCaracteresValidos", &TmStr::SomenteCaracteresValidos, {"asTexto"});
  Register("TmStr.SomenteCaracteresValidosXML_WS", &TmStr::SomenteCaracteresValidosXML_WS, {"asTexto"});
  Register("TmStr.Asc2Ansi", &TmStr::Asc2Ansi, {"Original"});
  Register("TmStr.Ansi2Asc", &TmStr::Ansi2Asc, {"Original"});
  Register("TmStr.RemoveEnter", &TmStr::RemoveEnter, {"asText"});
  Register("TmStr.RemoveEspacosDuplos", &TmStr::RemoveEspacosDuplos, {"S"});
  Register("TmStr.RemoveZerosEsquerda", &TmStr::RemoveZerosEsquerda, {"Texto"});
  Register("TmStr.RemoveCaracterLeft", &TmStr::RemoveCaracterLeft, {"Texto", "Caracter"});
  Register("TmStr.ContarRepeticaoCaracter", &TmStr::ContarRepeticaoCaracter, {"Texto", "Caracter"});
  Register("TmStr.Clear", &TmStr::Clear, {"S"});
  Register("TmStr.IsNumero", &TmStr::IsNumero, {"asText", "abTrueIfEmpty"}, {false});
  Register("TmStr.IfVazioNull", &TmStr::IfVazioNull, {"asValor"});
  Register("TmStr.IfZeroNull", &TmStr::IfZeroNull, {"aiValor"});
  Register("TmStr.Plural", &TmStr::Plural, {"Condicao"});
  Register("TmStr.RemoverBOM_StringList", &TmStr::RemoverBOM_StringList, {"Lista"});
}

}  // namespace zelmor::cli
