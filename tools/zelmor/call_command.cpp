// `zelmor call`: calls any registered library routine by name.
#include <iostream>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>

#include "tools/zelmor/commands.h"
#include "tools/zelmor/registry.h"

namespace zelmor::cli {
namespace {

// A scalar result prints as plain text; anything with out parameters or a
// structured value prints as the JSON object.
void PrintResult(const Json& r, bool asJson) {
  if (asJson || r.size() != 1 || r["result"].is_structured()) {
    PrintLine(Dump(r));
    return;
  }
  const Json& v = r["result"];
  PrintLine(v.is_string() ? v.get<std::string>() : Dump(v));
}

// Arrays and objects nest at most this deep in one request line.
constexpr int kMaxNesting = 100;

Json LineError(const std::string& message, const char* kind = "argument") {
  return Json{{"error", message}, {"kind", kind}};
}

// Where the line nests deeper than kMaxNesting (the byte, 1-based), looking at brackets
// outside strings; nothing when it does not. Checked before parsing, so a hostile depth
// costs nothing.
std::optional<std::size_t> TooDeep(const std::string& line) {
  int depth = 0;
  bool inString = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (inString) {
      if (c == '\\') ++i;
      else if (c == '"') inString = false;
    } else if (c == '"') {
      inString = true;
    } else if (c == '[' || c == '{') {
      if (++depth > kMaxNesting) return i + 1;
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
  return std::nullopt;
}

// "[json.exception.parse_error.101] parse error at line 1, column 2: ..." without the tag.
std::string ReasonOf(const std::exception& e) {
  std::string m = e.what();
  if (m.rfind("[json.exception.", 0) == 0 && m.find("] ") != std::string::npos) m.erase(0, m.find("] ") + 2);
  return m;
}

const char* KindName(const Json& v) {
  return v.is_object() ? "an object" : v.is_string() ? "a text" : v.is_number() ? "a number" : v.is_boolean() ? "a Boolean"
       : v.is_null() ? "null" : "an array";
}

Json Answer(const std::string& line) {
  if (auto at = TooDeep(line))
    return LineError("the request nests arrays or objects deeper than " + std::to_string(kMaxNesting) +
                     " levels (at byte " + std::to_string(*at) + ")");
  Json req;
  try {
    req = Json::parse(line);
  } catch (const Json::parse_error& e) {
    return LineError("not valid JSON: " + ReasonOf(e));
  } catch (const Json::exception& e) {
    return LineError("not valid JSON: " + ReasonOf(e));  // a number beyond a double's range
  }
  const char* shape = "each line must be a JSON array: [\"Routine\", args...]";
  if (!req.is_array()) return LineError(std::string(shape) + "; got " + KindName(req));
  if (req.empty()) return LineError(std::string(shape) + "; got an empty array");
  if (!req[0].is_string()) return LineError(std::string(shape) + "; its first item is " + KindName(req[0]) + ", not the routine's name");
  Json args(req.begin() + 1, req.end());
  if (!args.is_array()) args = Json::array();
  return Registry::Instance().Call(req[0].get<std::string>(), args);
}

int Batch() {
  std::string line;
  int failures = 0;
  // Bounded by the input: one answer per line, in order. Nothing one line does (not even
  // running out of memory) keeps the later lines from their answers.
  while (std::getline(std::cin, line)) {
    if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
    std::string out;
    bool failed = true;
    try {
      Json answer = Answer(line);
      failed = answer.contains("error");
      out = Dump(answer);
    } catch (const std::bad_alloc&) {
      out = Dump(LineError("out of memory while answering this line", "resource"));
    } catch (const std::length_error&) {
      out = Dump(LineError("out of memory while answering this line", "resource"));
    }
    if (failed) ++failures;
    PrintLine(out);
    std::fflush(stdout);
  }
  return failures ? 1 : 0;
}

int List() {
  for (const Routine& r : Registry::Instance().All()) {
    std::string line = r.Describe();
    if (Registry::Instance().Find(r.Name).size() > 1) line += "    [" + r.Signature + "]";
    PrintLine(line);
  }
  return 0;
}

int Run(const std::vector<std::string>& args) {
  if (args.empty()) {
    PrintError("usage: zelmor call [--json] ROUTINE ARG... | --batch | --list");
    return 2;
  }
  if (args[0] == "--batch") return Batch();
  if (args[0] == "--list") return List();
  std::size_t first = 0;
  bool asJson = false;
  if (args[0] == "--json") {
    asJson = true;
    first = 1;
  }
  if (first >= args.size()) {
    PrintError("usage: zelmor call [--json] ROUTINE ARG...");
    return 2;
  }
  Json r = Registry::Instance().CallWithText(args[first], std::vector<std::string>(args.begin() + first + 1, args.end()));
  if (r.contains("error")) {
    if (asJson)
      PrintLine(Dump(r));
    else
      PrintError("zelmor: " + r["error"].get<std::string>());
    return 1;
  }
  PrintResult(r, asJson);
  return 0;
}

ZELMOR_COMMAND("call", "call [--json] ROUTINE ARG... | call --batch | call --list   (library routines)", Run);

}  // namespace
}  // namespace zelmor::cli
