#include "tools/zelmor/registry.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <new>
#include <stdexcept>
#include <variant>

#include "core/errors.h"
#include "tools/zelmor/json_values.h"

namespace zelmor::cli {

namespace {

Json DefaultJson(const DefaultArg& d) {
  return std::visit(
      [](const auto& v) {
        if constexpr (std::is_same_v<std::remove_cvref_t<decltype(v)>, std::shared_ptr<const Json>>)
          return *v;
        else
          return Json(v);
      },
      d.Value);
}

}  // namespace

DefaultArg::DefaultArg(const Json& v) : Value(std::make_shared<const Json>(v)) {}

namespace detail {

const Json& Arg(const std::vector<Json>& args, std::size_t i) { return args[i]; }
Json& Member(Json& answer, const std::string& name) { return answer[name]; }

}  // namespace detail

std::size_t Routine::MinArgs() const {
  std::size_t n = Params.size();
  while (n > 0 && (Params[n - 1].Default || Params[n - 1].Out)) --n;
  return n;
}

std::string Routine::Describe() const {
  std::string s = Name + "(";
  for (std::size_t i = 0; i < Params.size(); ++i) {
    if (i) s += ", ";
    const Param& p = Params[i];
    if (p.Out) s += "var ";
    s += p.Name + ": " + ArgTypeName(p.Type);
    for (std::size_t k = 0; k < p.Choices.size(); ++k) s += (k ? "|" : " ") + std::string(p.Choices[k]);
    if (p.Default) s += " = " + DefaultJson(*p.Default).dump();
  }
  s += ")";
  if (Result) s += " -> " + std::string(ArgTypeName(*Result));
  for (std::size_t k = 0; k < ResultChoices.size(); ++k) s += (k ? "|" : " ") + std::string(ResultChoices[k]);
  return s;
}

namespace {

// Parameters that size the answer (a padding width, a count of digits or repeats). A
// size beyond kMostSize is refused before anything is allocated for it: one call must
// not take gigabytes, and the answer must still fit a line.
constexpr std::int64_t kMostSize = 1 << 20;
constexpr const char* kSizeNames[] = {"Tamanho",
                                      "aiTamanho",
                                      "aiQtCaracteres",
                                      "DigitosBinario",
                                      "Decimais",
                                      "Qtd",
                                      "TamCol",
                                      "TamLinha",
                                      "Colunas",
                                      "Linhas",
                                      "aiMaxLength",
                                      "aiMaxLineWidth",
                                      "aiMaxCaracteresLinha",
                                      "aiCaracteresIdentacao"};

}  // namespace

Registry& Registry::Instance() {
  static Registry r;
  return r;
}

void Registry::Add(Routine r) {
  for (Param& p : r.Params)
    if ((p.Type == ArgType::Int || p.Type == ArgType::Int64) && !p.Out)
      for (const char* n : kSizeNames)
        if (p.Name == n) p.Most = kMostSize;
  r.Signature = r.Name + "(";
  for (std::size_t i = 0; i < r.Params.size(); ++i) {
    if (i) r.Signature += ",";
    r.Signature += ArgTypeName(r.Params[i].Type);
  }
  r.Signature += ")";
  if (FWanted) {
    FFound.push_back(std::move(r));
    FFoundByName[*FWanted].push_back(&FFound.back());
  } else {
    FRoutines.push_back(std::move(r));
  }
}

namespace {

// The routine groups, in the order their files' static objects were made (the order
// of the routines in a listing). Filled before main, read after.
struct Groups {
  static constexpr std::size_t kMost = 128;
  void (*Body[kMost])() = {};
  std::size_t Count = 0;
};
constinit Groups gGroups;

}  // namespace

RoutineGroup::RoutineGroup(void (*body)()) {
  if (gGroups.Count == Groups::kMost) throw std::logic_error("too many routine groups");
  gGroups.Body[gGroups.Count++] = body;
}

void Registry::RunGroups(const std::string* wanted) const {
  FWanted = wanted;
  try {
    for (std::size_t i = 0; i < gGroups.Count; ++i) gGroups.Body[i]();
  } catch (...) {
    FWanted = nullptr;
    throw;
  }
  FWanted = nullptr;
}

const std::vector<Routine>& Registry::All() const {
  if (!FAllGroupsRun) {
    // The groups' routines come first, as when they were registered before main.
    std::vector<Routine> added = std::move(FRoutines);
    FRoutines.clear();
    FRoutines.reserve(1024);
    RunGroups(nullptr);
    for (Routine& r : added) FRoutines.push_back(std::move(r));
    FAllGroupsRun = true;
  }
  return FRoutines;
}

namespace {

// "mStr.PadCenter" → "TmStr.PadCenter": the aliases of the routine classes.
std::string Canonical(const std::string& name) {
  static const std::pair<const char*, const char*> kAliases[] = {
      {"mStr.", "TmStr."},         {"mDt.", "TmDt."},   {"mConv.", "TmConv."}, {"mRot.", "TmRot."},
      {"mFile.", "TmFile."},       {"mINI.", "TmINI."}, {"mReg.", "TmReg."},   {"mDlg.", "TmDlg."},
      {"mSpeaker.", "TmSpeaker."}, {"mTS.", "TmTS."},   {"mUF.", "TmUF."},
  };
  for (const auto& [alias, real] : kAliases)
    if (name.rfind(alias, 0) == 0) return real + name.substr(std::char_traits<char>::length(alias));
  return name;
}

Json ErrorJson(const std::string& message, const char* kind) {
  Json e = Json::object();
  e["error"] = message;
  e["kind"] = kind;
  return e;
}

// Fills omitted trailing arguments with defaults (or empty values for out parameters).
std::vector<Json> Complete(const Routine& r, std::vector<Json> args) {
  for (std::size_t i = args.size(); i < r.Params.size(); ++i) {
    const Param& p = r.Params[i];
    if (p.Default) {
      args.push_back(DefaultJson(*p.Default));
      continue;
    }
    switch (p.Type) {
      case ArgType::Text: args.push_back(""); break;
      case ArgType::Char: args.push_back(" "); break;
      case ArgType::Bool: args.push_back(false); break;
      case ArgType::DateTime: args.push_back(0); break;
      case ArgType::StringList:
      case ArgType::ArrayString:
      case ArgType::ArrayInteger:
      case ArgType::ArrayVariant: args.push_back(Json::array()); break;
      case ArgType::Variant: args.push_back(nullptr); break;
      case ArgType::Record: args.push_back(Json::object()); break;
      default: args.push_back(0); break;
    }
  }
  return args;
}

void CheckSizes(const Routine& r, const std::vector<Json>& args) {
  for (std::size_t i = 0; i < args.size() && i < r.Params.size(); ++i) {
    const Param& p = r.Params[i];
    if (p.Most && args[i].is_number() && args[i].get<double>() > static_cast<double>(*p.Most))
      throw ArgumentError(p.Name + " " + args[i].dump() + " is beyond the largest size taken here (" +
                          std::to_string(*p.Most) + ")");
  }
}

Json Invoke(const Routine& r, const std::vector<Json>& args) {
  try {
    CheckSizes(r, args);
    Json answer = Json::object();
    r.Invoke(Complete(r, args), answer);
    return answer;
  } catch (const std::bad_alloc&) {
    return ErrorJson("out of memory: the answer would be too large", "resource");
  } catch (const std::length_error&) {
    return ErrorJson("out of memory: the answer would be too large", "resource");
  } catch (const ArgumentError& e) {
    return ErrorJson(e.what(), "argument");
  } catch (const EZelmorError& e) {
    return ErrorJson(e.what(), e.Kind());
  } catch (const std::exception& e) {
    return ErrorJson(e.what(), "internal");
  }
}

// Whether a number read from `text` prints back as `text` ("12345", "-3", "1.5"). One
// that does not ("00000000", "+5", "1.50", "1e3") is held exactly only by a text.
bool NumberKeepsText(const std::string& text, const Json& number) {
  if (number.is_number_integer()) return std::to_string(number.get<std::int64_t>()) == text;
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, number.get<double>());
  return r.ec == std::errc() && std::string(buf, r.ptr) == text;
}

}  // namespace

std::vector<const Routine*> Registry::Find(const std::string& name) const {
  std::string canonical = Canonical(name);
  std::vector<const Routine*> found;
  if (!FAllGroupsRun) {
    // A signature "TmStr.PadCenter(text,int,char)" names its routine before the bracket.
    const std::string routine = canonical.substr(0, canonical.find('('));
    // Found once, kept (a batch calls the same routines again and again); a name that
    // finds nothing is not kept, so unknown names cannot grow the table.
    if (!FFoundByName.contains(routine)) RunGroups(&routine);
    if (const auto at = FFoundByName.find(routine); at != FFoundByName.end())
      for (const Routine* r : at->second)
        if (r->Name == canonical || r->Signature == canonical) found.push_back(r);
  }
  for (const auto& r : FRoutines)
    if (r.Name == canonical || r.Signature == canonical) found.push_back(&r);
  return found;
}

Json Registry::Call(const std::string& name, const Json& args) const {
  if (!args.is_array()) return ErrorJson("the arguments must be a JSON array", "argument");
  auto candidates = Find(name);
  if (candidates.empty()) return ErrorJson("unknown routine: " + name, "argument");
  std::vector<Json> a(args.begin(), args.end());
  const Routine* chosen = nullptr;
  for (const Routine* r : candidates) {
    if (a.size() < r->MinArgs() || a.size() > r->Params.size()) continue;
    bool fits = true;
    for (std::size_t i = 0; i < a.size() && fits; ++i) fits = JsonFits(a[i], r->Params[i].Type);
    if (fits) {
      chosen = r;
      break;
    }
  }
  if (!chosen && candidates.size() == 1) chosen = candidates[0];  // report its own argument error
  if (!chosen) {
    std::string msg = "no overload of " + name + " takes these arguments; choose one by its signature:";
    for (const Routine* r : candidates) msg += " " + r->Signature;
    return ErrorJson(msg, "argument");
  }
  if (a.size() < chosen->MinArgs() || a.size() > chosen->Params.size())
    return ErrorJson(chosen->Name + " takes " + std::to_string(chosen->MinArgs()) + " to " +
                         std::to_string(chosen->Params.size()) + " arguments: " + chosen->Describe(),
                     "argument");
  return Invoke(*chosen, a);
}

Json Registry::CallWithText(const std::string& name, const std::vector<std::string>& args) const {
  auto candidates = Find(name);
  if (candidates.empty()) return ErrorJson("unknown routine: " + name, "argument");
  // Prefer the overload whose parameters take the texts most specifically ("5" is an
  // integer before it is a text), but never read as a number a text that the number
  // would not give back ("00000000" keeps its zeros only as a text).
  const Routine* best = nullptr;
  std::vector<Json> bestArgs;
  int bestScore = INT_MIN;
  std::string lastError;
  for (const Routine* r : candidates) {
    if (args.size() < r->MinArgs() || args.size() > r->Params.size()) {
      lastError = r->Name + " takes " + std::to_string(r->MinArgs()) + " to " + std::to_string(r->Params.size()) +
                  " arguments: " + r->Describe();
      continue;
    }
    std::vector<Json> converted;
    int score = 0;
    try {
      for (std::size_t i = 0; i < args.size(); ++i) {
        ArgType t = r->Params[i].Type;
        converted.push_back(TextToJson(args[i], t));
        if (t == ArgType::Char && !JsonFits(converted.back(), t))
          throw ArgumentError("expected one character, got \"" + args[i] + "\"");
        if (t == ArgType::DateTime) IsoToDateTime(args[i]);
        if (t != ArgType::Text) ++score;
        const bool numeric = t == ArgType::Int || t == ArgType::Int64 || t == ArgType::Double || t == ArgType::Currency;
        if (numeric && !NumberKeepsText(args[i], converted.back())) score -= 1000;
      }
    } catch (const ArgumentError& e) {
      lastError = e.what();
      continue;
    }
    if (score > bestScore) {
      best = r;
      bestArgs = std::move(converted);
      bestScore = score;
    }
  }
  if (!best) return ErrorJson(lastError, "argument");
  return Invoke(*best, bestArgs);
}

}  // namespace zelmor::cli
