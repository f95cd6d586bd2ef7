// Template formatting and value lists.
#include <string>

#include "strings/mString.h"
#include "tools/zelmor/json_values.h"
#include "tools/zelmor/registry.h"

namespace zelmor::cli {

namespace {

constexpr const char* kFlagNames[] = {"flagSQL", "flagHuman", "flagBoolSN", "flagSQL_ConverteStr"};

// A plain JSON value, or one of the typed forms JSON has no literal for:
// {"DateTime":"2026-12-09T14:05:00"}, {"Currency":12.5}; {} is the empty value.
TmStr::TFmtParam ParamOf(const Json& v, bool element) {
  if (v.is_object()) {
    if (v.empty() && !element) return {};
    if (v.size() == 1 && v.contains("DateTime")) return Variant(JsonOf<TDateTime>::From(v["DateTime"]));
    if (v.size() == 1 && v.contains("Currency")) return Variant(JsonOf<Currency>::From(v["Currency"]));
    throw ArgumentError("expected {\"DateTime\":…}, {\"Currency\":…} or {}, got " + v.dump());
  }
  if (v.is_array()) {
    if (element) throw ArgumentError("arrays inside an array value are not values: " + v.dump());
    TzelArrayVariant a;
    for (const auto& e : v) a.push_back(ParamOf(e, true).Valor());
    return a;
  }
  return JsonOf<Variant>::From(v);
}

}  // namespace

// Values cross as a JSON array (see ParamOf); flags as an array of flag names.
template <>
struct ArgTypeOf<TmStr::TFmtParams> {
  static constexpr ArgType Value = ArgType::ArrayVariant;
};
template <>
struct JsonOf<TmStr::TFmtParams> {
  static TmStr::TFmtParams From(const Json& v) {
    TmStr::TFmtParams r;
    if (v.is_null()) return r;
    if (!v.is_array()) throw ArgumentError("expected an array of values, got " + v.dump());
    for (const auto& e : v) r.push_back(ParamOf(e, false));
    return r;
  }
  static Json To(const TmStr::TFmtParams& v) {
    Json a = Json::array();
    for (const auto& p : v) {
      if (p.IsEmpty())
        a.push_back(Json::object());
      else if (p.IsArray())
        a.push_back(JsonOf<TzelArrayVariant>::To(p.Lista()));
      else
        a.push_back(JsonOf<Variant>::To(p.Valor()));
    }
    return a;
  }
};
template <>
struct ArgTypeOf<TmStr::TFormatStFlags> {
  static constexpr ArgType Value = ArgType::ArrayString;
};
template <>
struct JsonOf<TmStr::TFormatStFlags> {
  static TmStr::TFormatStFlags From(const Json& v) {
    TmStr::TFormatStFlags r;
    if (v.is_null()) return r;
    if (!v.is_array()) throw ArgumentError("expected an array of flag names, got " + v.dump());
    for (const auto& e : v) {
      const std::string name = e.is_string() ? e.get<std::string>() : e.dump();
      int bit = 0;
      while (bit < 4 && name != kFlagNames[bit]) ++bit;
      if (bit == 4)
        throw ArgumentError("unknown flag " + name + " (flagSQL, flagHuman, flagBoolSN, flagSQL_ConverteStr)");
      r = TmStr::TFormatStFlags::FromBits(static_cast<std::uint8_t>(r.Bits() | (1u << bit)));
    }
    return r;
  }
  static Json To(TmStr::TFormatStFlags v) {
    Json a = Json::array();
    for (int bit = 0; bit < 4; ++bit)
      if (v.Contains(static_cast<TmStr::TFormatStFlag>(bit))) a.push_back(kFlagNames[bit]);
    return a;
  }
};

ZELMOR_ROUTINES(templates) {
  Register("TmStr.Fmt", &TmStr::Fmt, {"aString", "aParam", "FormatFlags"}, {Json::array()},
           "aParam: plain JSON values, null, arrays of them, {\"DateTime\":\"…\"}, {\"Currency\":…}, {} (empty); "
           "FormatFlags: names, e.g. [\"flagSQL\",\"flagBoolSN\"]");
  Register("TmStr.FmtSql", &TmStr::FmtSql, {"aString", "aParam"});
  Register("TmStr.GetStringFilterIn", &TmStr::GetStringFilterIn, {"asLista", "asSeparador", "abQuoted"});
  Register("TmStr.QuotedList", &TmStr::QuotedList, {"asLista", "asSeparador"});
}

}  // namespace zelmor::cli
