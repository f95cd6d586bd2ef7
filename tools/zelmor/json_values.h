// How library values cross the JSON boundary of `zelmor call`: the JSON library itself,
// for the files that convert (json_values.cpp, the registry, the commands, and the theme
// files that give a record type its conversions).
#pragma once

#include <cstdio>
#include <nlohmann/json.hpp>

#include "tools/zelmor/arg_types.h"

namespace zelmor::cli {

// Whether a JSON value can be taken as a `t` (used to pick overloads).
bool JsonFits(const Json& v, ArgType t);
// Command-line text → the JSON value for a `t` parameter; throws ArgumentError.
Json TextToJson(const std::string& text, ArgType t);

// ISO 8601 local text ⇄ date-time value.
std::string DateTimeToIso(TDateTime v);
TDateTime IsoToDateTime(const std::string& s);  // throws ArgumentError

std::u16string JsonText(const Json& v);  // a JSON string as UTF-16; throws ArgumentError

// The JSON text of `v`; bytes that are not UTF-8 (escaped file names) show as U+FFFD.
std::string Dump(const Json& v);
// Dump's text written to `out` as it is made, never whole in memory (a listing of
// 100,000 paths).
void WriteJson(const Json& v, std::FILE* out);

template <>
struct JsonOf<std::u16string> {
  static std::u16string From(const Json& v) { return JsonText(v); }
  static Json To(const std::u16string& v);
};
template <>
struct JsonOf<char16_t> {
  static char16_t From(const Json& v);
  static Json To(char16_t v);
};
template <>
struct JsonOf<int> {
  static int From(const Json& v);
  static Json To(int v) { return v; }
};
template <>
struct JsonOf<std::int64_t> {
  static std::int64_t From(const Json& v);
  static Json To(std::int64_t v) { return v; }
};
template <>
struct JsonOf<double> {
  static double From(const Json& v);
  static Json To(double v);
};
template <>
struct JsonOf<Currency> {
  static Currency From(const Json& v);
  static Json To(Currency v);
};
template <>
struct JsonOf<bool> {
  static bool From(const Json& v);
  static Json To(bool v) { return v; }
};
template <>
struct JsonOf<TDateTime> {
  static TDateTime From(const Json& v);
  static Json To(TDateTime v) { return DateTimeToIso(v); }
};
template <>
struct JsonOf<TStringList> {
  static TStringList From(const Json& v);
  static Json To(const TStringList& v);
};
template <>
struct JsonOf<TzelArrayString> {
  static TzelArrayString From(const Json& v);
  static Json To(const TzelArrayString& v);
};
template <>
struct JsonOf<TArrayStr> {
  static TArrayStr From(const Json& v) {
    TzelArrayString a = JsonOf<TzelArrayString>::From(v);
    return TArrayStr(std::make_move_iterator(a.begin()), std::make_move_iterator(a.end()));
  }
  static Json To(const TArrayStr& v) { return JsonOf<TzelArrayString>::To(v); }
};
template <>
struct JsonOf<TzelArrayInteger> {
  static TzelArrayInteger From(const Json& v);
  static Json To(const TzelArrayInteger& v);
};
template <>
struct JsonOf<Variant> {
  static Variant From(const Json& v);
  static Json To(const Variant& v);
};
template <>
struct JsonOf<TzelArrayVariant> {
  static TzelArrayVariant From(const Json& v);
  static Json To(const TzelArrayVariant& v);
};

template <>
struct JsonOf<std::int16_t> {
  static std::int16_t From(const Json& v);
  static Json To(std::int16_t v) { return v; }
};
// Unsigned parameters take only what fits them: a negative count is refused, not wrapped.
template <>
struct JsonOf<std::uint16_t> {
  static std::uint16_t From(const Json& v);
  static Json To(std::uint16_t v) { return v; }
};
template <>
struct JsonOf<std::uint32_t> {
  static std::uint32_t From(const Json& v);
  static Json To(std::uint32_t v) { return v; }
};
// Periods cross as [{"DtInicial": date-time, "DtFinal": date-time}, ...].
template <>
struct JsonOf<TAPeriodo> {
  static TAPeriodo From(const Json& v);
  static Json To(const TAPeriodo& v);
};

Json EnumToJson(std::int64_t v, std::span<const char* const> names);

template <class E>
requires std::is_enum_v<E>
struct JsonOf<E> {
  static E From(const Json& v) { return static_cast<E>(EnumFromJson(v, EnumNames<E>::Get())); }
  static Json To(E v) { return EnumToJson(static_cast<std::int64_t>(v), EnumNames<E>::Get()); }
};

template <class T>
T FromJson(const Json& v) {
  return JsonOf<T>::From(v);
}
template <class T>
void IntoJson(const T& v, Json& out) {
  out = JsonOf<T>::To(v);
}

}  // namespace zelmor::cli
