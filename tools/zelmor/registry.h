// The routine registry behind `zelmor call`: each library routine is registered
// once with its parameter names; arguments and results cross as JSON values.
//
// JSON conventions (both directions): text as strings; a character as a
// one-character string; integers, doubles and currency as numbers; Booleans as
// true/false; date-time values as ISO 8601 local text ("2026-12-09",
// "2026-12-09T14:05:09.123"); string lists and arrays as JSON arrays; enumerations
// as their value names. A routine with out or in-out parameters answers
// {"result":…,"NAME":…}; one with no result answers {"result":null}. The README's
// `zelmor call` section is the full list.
//
// The registration compiles without the JSON library (arg_types.h): what a routine's
// registration makes of its function is a converter per parameter type, and those are
// compiled once, in json_values.cpp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "tools/zelmor/arg_types.h"

namespace zelmor::cli {

// A trailing parameter's default as its registration writes it: a Boolean, a number, a
// text, or (where the JSON library is at hand) any JSON value.
struct DefaultArg {
  DefaultArg(bool v) : Value(v) {}
  DefaultArg(int v) : Value(std::int64_t{v}) {}
  DefaultArg(std::int64_t v) : Value(v) {}
  DefaultArg(double v) : Value(v) {}
  DefaultArg(const char* v) : Value(std::string(v)) {}
  DefaultArg(std::string v) : Value(std::move(v)) {}
  DefaultArg(const Json& v);

  std::variant<bool, std::int64_t, double, std::string, std::shared_ptr<const Json>> Value;
};

struct Param {
  std::string Name;
  ArgType Type;
  bool Out = false;  // a var/out parameter: reported back by name
  std::optional<DefaultArg> Default;
  std::span<const char* const> Choices = {};  // an enumeration's value names
  std::optional<std::int64_t> Most = {};      // a size of the answer: larger is refused before the call
};

struct Routine {
  std::string Name;       // "TmStr.PadCenter"
  std::string Signature;  // "TmStr.PadCenter(text,int,char)": the explicit overload name
  std::vector<Param> Params;
  std::optional<ArgType> Result;
  std::span<const char* const> ResultChoices = {};
  std::string Summary;
  // Takes exactly Params.size() arguments; fills `answer` (an empty object) as {"result":…, outs…}.
  std::function<void(const std::vector<Json>& args, Json& answer)> Invoke;

  std::size_t MinArgs() const;
  std::string Describe() const;  // "TmStr.PadCenter(Texto: text, Tamanho: int, PadChar: char = \" \") -> text"
};

class Registry {
 public:
  static Registry& Instance();

  // Adds a routine: to every routine when the groups run in full, to the routines found
  // for one name when they run to find it.
  void Add(Routine r);
  // Whether a registration named `name` is wanted now: the routine groups run in full
  // (for `All`) or to find one name (for `Find`), when only that name's routines are built.
  bool Wants(const std::string& name) const { return !FWanted || name == *FWanted; }
  // Every routine whose name (or alias name) or signature equals `name`. Only the
  // routines of that name are built, unless every routine has been already.
  std::vector<const Routine*> Find(const std::string& name) const;
  // Every routine, in the order registered.
  const std::vector<Routine>& All() const;

  // Calls by name with JSON arguments, choosing the overload by the arguments' JSON types.
  // Errors come back as {"error":…, "kind":…}.
  Json Call(const std::string& name, const Json& args) const;
  // Calls by name with text arguments (the command line), converting each by its parameter's type.
  Json CallWithText(const std::string& name, const std::vector<std::string>& args) const;

 private:
  void RunGroups(const std::string* wanted) const;

  // A start runs no routine group: a call builds only the routines of its name (the
  // groups run with FWanted set, and those routines are kept in FFound by name); a
  // listing runs them all once. Routines added outside a group go to FRoutines at once.
  mutable std::vector<Routine> FRoutines;
  mutable bool FAllGroupsRun = false;
  mutable const std::string* FWanted = nullptr;
  mutable std::deque<Routine> FFound;
  mutable std::map<std::string, std::vector<const Routine*>, std::less<>> FFoundByName;
};

// ---- Registration helpers ----

namespace detail {

template <class T>
struct ParamTraits {
  using Decayed = std::remove_cvref_t<T>;
  static constexpr bool IsOut = std::is_lvalue_reference_v<T> && !std::is_const_v<std::remove_reference_t<T>>;
  using Storage = std::conditional_t<std::is_same_v<Decayed, std::u16string_view>, std::u16string, Decayed>;
};

template <class T>
std::span<const char* const> ChoicesOf() {
  if constexpr (std::is_enum_v<T>)
    return EnumNames<T>::Get();
  else
    return {};
}

// The registry's side of the answer, compiled with the JSON library.
const Json& Arg(const std::vector<Json>& args, std::size_t i);
Json& Member(Json& answer, const std::string& name);

template <class T>
T From(const Json& v) {
  if constexpr (std::is_enum_v<T>)
    return static_cast<T>(EnumFromJson(v, EnumNames<T>::Get()));
  else
    return FromJson<T>(v);
}

template <class T>
void Into(const T& v, Json& out) {
  if constexpr (std::is_enum_v<T>)
    EnumIntoJson(static_cast<std::int64_t>(v), EnumNames<T>::Get(), out);
  else
    IntoJson<T>(v, out);
}

template <class R, class... Args, std::size_t... I>
void Call(R (*fn)(Args...), const std::vector<std::string>& names, const std::vector<Json>& a, Json& answer,
          std::index_sequence<I...>) {
  std::tuple<typename ParamTraits<Args>::Storage...> st{From<typename ParamTraits<Args>::Storage>(Arg(a, I))...};
  if constexpr (std::is_void_v<R>) {
    std::apply([fn](auto&... x) { fn(x...); }, st);
    Member(answer, "result");  // null
  } else {
    auto&& value = std::apply([fn](auto&... x) -> R { return fn(x...); }, st);
    Into<std::remove_cvref_t<R>>(value, Member(answer, "result"));
  }
  ((ParamTraits<Args>::IsOut ? Into<typename ParamTraits<Args>::Storage>(std::get<I>(st), Member(answer, names[I]))
                             : void()),
   ...);
}

}  // namespace detail

// Registers `fn` under `name` with its parameter names (in order) and optional
// defaults for trailing parameters (in parameter order from the first defaulted one).
template <class R, class... Args>
void Register(const std::string& name, R (*fn)(Args...), std::vector<std::string> names,
              std::vector<DefaultArg> defaults = {}, std::string summary = {}) {
  static_assert(sizeof...(Args) < 32);
  if (names.size() != sizeof...(Args)) throw std::logic_error("parameter names do not match for " + name);
  if (!Registry::Instance().Wants(name)) return;
  Routine r;
  r.Name = name;
  r.Summary = std::move(summary);
  ArgType types[] = {ArgTypeOf<typename detail::ParamTraits<Args>::Storage>::Value..., ArgType::Text};
  bool outs[] = {detail::ParamTraits<Args>::IsOut..., false};
  std::span<const char* const> choices[] = {detail::ChoicesOf<typename detail::ParamTraits<Args>::Storage>()..., {}};
  for (std::size_t i = 0; i < sizeof...(Args); ++i)
    r.Params.push_back({names[i], types[i], outs[i], std::nullopt, choices[i]});
  for (std::size_t k = 0; k < defaults.size(); ++k)
    r.Params[sizeof...(Args) - defaults.size() + k].Default = defaults[k];
  if constexpr (!std::is_void_v<R>) {
    r.Result = ArgTypeOf<std::remove_cvref_t<R>>::Value;
    r.ResultChoices = detail::ChoicesOf<std::remove_cvref_t<R>>();
  }
  r.Invoke = [fn, names](const std::vector<Json>& a, Json& answer) {
    detail::Call(fn, names, a, answer, std::index_sequence_for<Args...>{});
  };
  Registry::Instance().Add(std::move(r));
}

// One per theme file: its body registers the file's routines when the registry runs the
// groups (not at start-up: see Registry).
struct RoutineGroup {
  explicit RoutineGroup(void (*body)());
};

#define ZELMOR_ROUTINES(id)                                                    \
  static void zelmor_routines_##id();                                          \
  static ::zelmor::cli::RoutineGroup zelmor_group_##id(&zelmor_routines_##id); \
  static void zelmor_routines_##id()

}  // namespace zelmor::cli
