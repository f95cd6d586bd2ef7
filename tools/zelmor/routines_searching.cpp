// Searching, comparing and joining; the dynamic-array helpers. Open arrays cross
// as JSON arrays (the dynamic-array overloads).
#include "strings/mString.h"
#include "tools/zelmor/registry.h"

namespace zelmor::cli {

namespace {

using TextList = const TzelArrayString&;
using IntList = const TzelArrayInteger&;

// Characters cross as a JSON array of one-character texts.
std::u16string ArrayCharToString(TextList aaChar) {
  std::vector<char16_t> chars;
  chars.reserve(aaChar.size());
  for (const auto& c : aaChar) {
    if (c.size() != 1) throw ArgumentError("aaChar: each element must be one character");
    chars.push_back(c[0]);
  }
  return TmStr::ArrayCharToString(chars);
}

}  // namespace

ZELMOR_ROUTINES(searching) {
  Register("TmStr.Replace", &TmStr::Replace, {"Texto", "Este", "PorEste", "IgnoraCaseSensitive"}, {false});
  Register("TmStr.StartsWith", &TmStr::StartsWith, {"Texto", "Value", "abIgnoreCase"}, {false});
  Register("TmStr.EndsWith", &TmStr::EndsWith, {"Texto", "Value"});
  Register("TmStr.EqualsIgnoreCase", &TmStr::EqualsIgnoreCase, {"asValue", "asValue2"});
  Register("TmStr.ContemPos", static_cast<int (*)(std::u16string_view, TextList)>(&TmStr::ContemPos),
           {"asTexto", "aaTextos"});
  Register("TmStr.Contem", static_cast<bool (*)(std::u16string_view, TextList)>(&TmStr::Contem),
           {"asTexto", "aaTextos"});
  Register("TmStr.ContemTodos", static_cast<bool (*)(std::u16string_view, TextList)>(&TmStr::ContemTodos),
           {"asTexto", "aaTextos"});
  Register("TmStr.ContemInt", static_cast<bool (*)(std::int32_t, IntList)>(&TmStr::ContemInt),
           {"aiInteiro", "aaArrayInteiro"});
  Register("TmStr.PosReverse", &TmStr::PosReverse, {"asSubStr", "asStr"});
  Register("TmStr.PosPrimeiroNumero", &TmStr::PosPrimeiroNumero, {"asText"});
  Register("TmStr.GetPosCaracterBackJumpingNCaracter", &TmStr::GetPosCaracterBackJumpingNCaracter,
           {"Texto", "Caracter", "QtdeCaracter"});
  Register("TmStr.Coalesce", &TmStr::Coalesce, {"asValue", "asDefault"});
  Register("TmStr.Concatena",
           static_cast<void (*)(std::u16string&, std::u16string_view, std::u16string_view, bool)>(&TmStr::Concatena),
           {"asEste", "asComEste", "asSeparadorSePreenchido", "asValidaSeJaExiste"}, {false});
  Register("TmStr.Concatena", static_cast<std::u16string (*)(TextList, std::u16string_view)>(&TmStr::Concatena),
           {"aaLista", "asSeparador"});
  Register("TmStr.ConcatenaInicio", &TmStr::ConcatenaInicio, {"asEste", "asComEste", "asSeparadorSePreenchido"});
  Register("TmStr.ArrayConcatToStr", &TmStr::ArrayConcatToStr, {"aaArrayStr", "asSeparador", "abQuoted"}, {false});
  Register("TmStr.ArrayStrConcatToStr", &TmStr::ArrayStrConcatToStr, {"aaArrayStr", "asSeparador", "abQuoted"},
           {false});
  Register("TmStr.ArrayIntToStr", static_cast<std::u16string (*)(IntList, std::u16string_view)>(&TmStr::ArrayIntToStr),
           {"aaArrayInt", "asSeparador"});
  Register("TmStr.ArrayCharToString", &ArrayCharToString, {"aaChar"}, {},
           "aaChar: a JSON array of one-character texts");
  Register("TmStr.AddArray", static_cast<void (*)(TzelArrayString&, std::u16string_view)>(&TmStr::AddArray),
           {"aalista", "asValor"});
  Register("TmStr.AddArray", static_cast<void (*)(TzelArrayInteger&, std::int32_t)>(&TmStr::AddArray),
           {"aalista", "aiValor"});
  Register("TmStr.ClearArray", static_cast<void (*)(TzelArrayString&)>(&TmStr::ClearArray), {"aalista"});
  Register("TmStr.ClearArray", static_cast<void (*)(TzelArrayInteger&)>(&TmStr::ClearArray), {"aalista"});
  Register("TmStr.zelAStrToTStrings", &TmStr::zelAStrToTStrings, {"aaZelStr"});
}

}  // namespace zelmor::cli
