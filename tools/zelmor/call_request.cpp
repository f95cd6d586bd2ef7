// One request line of `zelmor call --batch`, from its bytes to its answer.
#include "tools/zelmor/call_request.h"

#include <optional>

#include "tools/zelmor/registry.h"

namespace zelmor::cli {
namespace {

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
      if (c == '\\')
        ++i;
      else if (c == '"')
        inString = false;
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
  return v.is_object()    ? "an object"
         : v.is_string()  ? "a text"
         : v.is_number()  ? "a number"
         : v.is_boolean() ? "a Boolean"
         : v.is_null()    ? "null"
                          : "an array";
}

}  // namespace

Json AnswerRequest(const std::string& line) {
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
  if (!req[0].is_string())
    return LineError(std::string(shape) + "; its first item is " + KindName(req[0]) + ", not the routine's name");
  Json args(req.begin() + 1, req.end());
  if (!args.is_array()) args = Json::array();
  return Registry::Instance().Call(req[0].get<std::string>(), args);
}

}  // namespace zelmor::cli
