// `zelmor call`: calls any registered library routine by name.
#include <iostream>
#include <new>
#include <stdexcept>
#include <string>

#include "tools/zelmor/call_request.h"
#include "tools/zelmor/commands.h"
#include "tools/zelmor/registry.h"

namespace zelmor::cli {
namespace {

Json LineError(const std::string& message, const char* kind) {
  return Json{{"error", message}, {"kind", kind}};
}

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
      Json answer = AnswerRequest(line);
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
