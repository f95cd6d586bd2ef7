// How library values cross the JSON boundary of `zelmor call`.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <span>
#include <stdexcept>
#include <string>

#include "core/types.h"
#include "datetime/mDataHora.h"
#include "forms/FormPosition.h"
#include "mConst.h"

namespace zelmor::cli {

using Json = nlohmann::ordered_json;

enum class ArgType { Text, Char, Int, Int64, Double, Currency, Bool, DateTime, StringList, ArrayString, ArrayInteger, Variant, ArrayVariant,
                     Periods, Record, Enum };
// Record: a structured value crossing as a JSON object; its ArgTypeOf/JsonOf
// specialisations live beside the routines that use it.

const char* ArgTypeName(ArgType t);

// An argument that does not fit its parameter.
class ArgumentError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

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

template <class T>
struct ArgTypeOf;
template <class T>
struct JsonOf;

#define ZELMOR_ARGTYPE(T, V) \
  template <>                \
  struct ArgTypeOf<T> {      \
    static constexpr ArgType Value = ArgType::V; \
  }
ZELMOR_ARGTYPE(std::u16string, Text);
ZELMOR_ARGTYPE(char16_t, Char);
ZELMOR_ARGTYPE(int, Int);
ZELMOR_ARGTYPE(std::int64_t, Int64);
ZELMOR_ARGTYPE(double, Double);
ZELMOR_ARGTYPE(Currency, Currency);
ZELMOR_ARGTYPE(bool, Bool);
ZELMOR_ARGTYPE(TDateTime, DateTime);
ZELMOR_ARGTYPE(TStringList, StringList);
ZELMOR_ARGTYPE(TzelArrayString, ArrayString);
ZELMOR_ARGTYPE(TArrayStr, ArrayString);
ZELMOR_ARGTYPE(TzelArrayInteger, ArrayInteger);
ZELMOR_ARGTYPE(Variant, Variant);
ZELMOR_ARGTYPE(TzelArrayVariant, ArrayVariant);
ZELMOR_ARGTYPE(std::int16_t, Int);
ZELMOR_ARGTYPE(std::uint16_t, Int);
ZELMOR_ARGTYPE(std::uint32_t, Int64);
ZELMOR_ARGTYPE(TAPeriodo, Periods);
#undef ZELMOR_ARGTYPE

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

// Enumerations cross as their value names ("mdeNFCe"), and are taken by name or by
// number. An enumeration's names are given once, in value order from 0, with
// ZELMOR_ENUM_NAMES beside its other JSON conventions (here, or in the theme file
// before its first Register); one without names crosses as its number.
template <class E>
struct EnumNames {
  static std::span<const char* const> Get() { return {}; }
};
#define ZELMOR_ENUM_NAMES(E, ...)                                                 \
  template <>                                                                     \
  struct EnumNames<E> {                                                           \
    static std::span<const char* const> Get() {                                   \
      static constexpr const char* kNames[] = {__VA_ARGS__};                      \
      return kNames;                                                              \
    }                                                                             \
  }

ZELMOR_ENUM_NAMES(TModeloDocumentoEletronico, "mdeNFe", "mdeNFCe", "mdeCTe", "mdeCFe", "mdeMDFe");
ZELMOR_ENUM_NAMES(TVersaoWindows, "vw95", "vw98", "vwNT", "vw2000", "vwXP", "vwVista", "vwServer2008", "vw7", "vw8",
                  "vwServer2012", "vw10");
ZELMOR_ENUM_NAMES(TTipoImpressao, "tiLPT", "tiCOM", "tiPRN", "tiREDE");
ZELMOR_ENUM_NAMES(TWindowState, "wsNormal", "wsMinimized", "wsMaximized");

// A name (exactly as spelt) or a number of an enumeration with these names; throws ArgumentError.
std::int64_t EnumFromJson(const Json& v, std::span<const char* const> names);
Json EnumToJson(std::int64_t v, std::span<const char* const> names);

template <class E>
  requires std::is_enum_v<E>
struct ArgTypeOf<E> {
  static constexpr ArgType Value = ArgType::Enum;
};
template <class E>
  requires std::is_enum_v<E>
struct JsonOf<E> {
  static E From(const Json& v) { return static_cast<E>(EnumFromJson(v, EnumNames<E>::Get())); }
  static Json To(E v) { return EnumToJson(static_cast<std::int64_t>(v), EnumNames<E>::Get()); }
};

}  // namespace zelmor::cli
