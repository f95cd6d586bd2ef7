// The types of the values that cross `zelmor call`, and the two conversions a routine's
// registration needs, without the JSON library: the registration of a routine compiles
// against these declarations alone, and the conversions themselves are compiled once
// (json_values.cpp; a record type's beside its routines, which include json_values.h).
#pragma once

#include <cstdint>
#include <nlohmann/json_fwd.hpp>
#include <span>
#include <stdexcept>
#include <string>
#include <type_traits>

#include "core/types.h"
#include "datetime/mDataHora.h"
#include "forms/FormPosition.h"
#include "mConst.h"

namespace zelmor::cli {

using Json = nlohmann::ordered_json;

enum class ArgType {
  Text,
  Char,
  Int,
  Int64,
  Double,
  Currency,
  Bool,
  DateTime,
  StringList,
  ArrayString,
  ArrayInteger,
  Variant,
  ArrayVariant,
  Periods,
  Record,
  Enum
};
// Record: a structured value crossing as a JSON object; its ArgTypeOf/JsonOf
// specialisations live beside the routines that use it.

const char* ArgTypeName(ArgType t);

// An argument that does not fit its parameter.
class ArgumentError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

template <class T>
struct ArgTypeOf;
template <class T>
struct JsonOf;

#define ZELMOR_ARGTYPE(T, V)                     \
  template <>                                    \
  struct ArgTypeOf<T> {                          \
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

// A T from its JSON value (throws ArgumentError), and a T into `out`. Declared here and
// defined in json_values.h: json_values.cpp instantiates them for the types above, and a
// file that gives a record type its conversions (JsonOf) instantiates them for it.
template <class T>
T FromJson(const Json& v);
template <class T>
void IntoJson(const T& v, Json& out);

// Enumerations cross as their value names ("mdeNFCe"), and are taken by name or by
// number. An enumeration's names are given once, in value order from 0, with
// ZELMOR_ENUM_NAMES beside its other JSON conventions (here, or in the theme file
// before its first Register); one without names crosses as its number.
template <class E>
struct EnumNames {
  static std::span<const char* const> Get() { return {}; }
};
#define ZELMOR_ENUM_NAMES(E, ...)                            \
  template <>                                                \
  struct EnumNames<E> {                                      \
    static std::span<const char* const> Get() {              \
      static constexpr const char* kNames[] = {__VA_ARGS__}; \
      return kNames;                                         \
    }                                                        \
  }

ZELMOR_ENUM_NAMES(TModeloDocumentoEletronico, "mdeNFe", "mdeNFCe", "mdeCTe", "mdeCFe", "mdeMDFe");
ZELMOR_ENUM_NAMES(TVersaoWindows, "vw95", "vw98", "vwNT", "vw2000", "vwXP", "vwVista", "vwServer2008", "vw7", "vw8",
                  "vwServer2012", "vw10");
ZELMOR_ENUM_NAMES(TTipoImpressao, "tiLPT", "tiCOM", "tiPRN", "tiREDE");
ZELMOR_ENUM_NAMES(TWindowState, "wsNormal", "wsMinimized", "wsMaximized");

template <class E>
requires std::is_enum_v<E>
struct ArgTypeOf<E> {
  static constexpr ArgType Value = ArgType::Enum;
};

// An enumeration's number as its name (or as the number, for one without names).
void EnumIntoJson(std::int64_t v, std::span<const char* const> names, Json& out);
// A name (exactly as spelt) or a number of an enumeration with these names; throws ArgumentError.
std::int64_t EnumFromJson(const Json& v, std::span<const char* const> names);

}  // namespace zelmor::cli
