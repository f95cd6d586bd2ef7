// `zelmor call`: calls any registered library routine by name.
#include <cstdio>
#include <iostream>
#include <map>
#include <new>
#include <stdexcept>
#include <string>

#include "adapters/linux/posix_files.h"
#include "tools/zelmor/call_request.h"
#include "tools/zelmor/commands.h"
#include "tools/zelmor/registry.h"

namespace zelmor::cli {
namespace {

Json LineError(const std::string& message, const char* kind) { return Json{{"error", message}, {"kind", kind}}; }

// A scalar result prints as plain text; anything with out parameters or a
// structured value prints as the JSON object.
void PrintResult(const Json& r, bool asJson) {
  if (asJson || r.size() != 1 || r["result"].is_structured()) {
    WriteJson(r, stdout);
    std::fputc('\n', stdout);
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

constexpr const char* kUsage = "usage: zelmor call [--json] [--arg-file N=PATH]... [--arg-stdin N] ROUTINE ARG...";

// Arguments too large for a command line (Linux takes at most 128 KiB in one): the
// N-th of the routine's arguments is read from a file or from standard input, and
// the arguments on the command line fill the other places in order. Only options
// before the routine's name are read as options, so no argument is ever taken for one.
struct Options {
  bool asJson = false;
  std::map<std::size_t, std::string> placed;  // by 1-based place, the argument's bytes
  std::size_t routine = 0;                    // where the routine's name is in the arguments
  std::string error;                          // what is wrong with the options
};

// "3" → 3; 0 for anything but a place from 1 to 1000.
std::size_t PlaceOf(const std::string& text) {
  if (text.empty() || text.size() > 4 || text.find_first_not_of("0123456789") != std::string::npos) return 0;
  const std::size_t n = std::stoul(text);
  return n <= 1000 ? n : 0;
}

std::string ReadStandardInput() {
  std::string bytes;
  char buf[65536];
  // Bounded by the input: it ends at end of file or at a read error.
  for (;;) {
    const std::size_t n = std::fread(buf, 1, sizeof buf, stdin);
    bytes.append(buf, n);
    if (n < sizeof buf) break;
  }
  if (std::ferror(stdin)) throw std::runtime_error("could not read standard input");
  return bytes;
}

Options ReadOptions(const std::vector<std::string>& args) {
  Options o;
  bool stdinTaken = false;
  std::size_t i = 0;
  for (; i < args.size() && args[i].rfind("--", 0) == 0; ++i) {
    if (args[i] == "--json") {
      o.asJson = true;
      continue;
    }
    std::string name = args[i], value;
    if (const auto eq = name.find('='); eq != std::string::npos) {
      value = name.substr(eq + 1);
      name.erase(eq);
    } else if (name == "--arg-file" || name == "--arg-stdin") {
      if (i + 1 >= args.size()) return o.error = name + " needs a value", o;
      value = args[++i];
    }
    std::size_t place = 0;
    std::string bytes;
    if (name == "--arg-file") {
      const auto eq = value.find('=');
      place = PlaceOf(value.substr(0, eq));
      if (eq == std::string::npos || place == 0 || eq + 1 == value.size())
        return o.error = "--arg-file takes N=PATH, N the argument's place from 1: " + value, o;
      const std::string path = value.substr(eq + 1);
      try {
        if (!adapters::posix::ReadWhole(path, bytes))
          return o.error = "argument " + std::to_string(place) + ": no such file: " + path, o;
      } catch (const std::exception& e) {  // a folder, a pipe, a file this user may not read
        return o.error = "argument " + std::to_string(place) + ": " + e.what(), o;
      }
    } else if (name == "--arg-stdin") {
      place = PlaceOf(value);
      if (place == 0) return o.error = "--arg-stdin takes N, the argument's place from 1: " + value, o;
      if (stdinTaken) return o.error = "standard input can give only one argument", o;
      stdinTaken = true;
      try {
        bytes = ReadStandardInput();
      } catch (const std::exception& e) {
        return o.error = "argument " + std::to_string(place) + ": " + e.what(), o;
      }
    } else {
      return o.error = "unknown option " + args[i], o;
    }
    if (!o.placed.emplace(place, std::move(bytes)).second)
      return o.error = "argument " + std::to_string(place) + " is given twice", o;
  }
  o.routine = i;
  return o;
}

int Run(const std::vector<std::string>& args) {
  if (args.empty()) {
    PrintError(std::string(kUsage) + " | --batch | --list");
    return 2;
  }
  if (args[0] == "--batch") return Batch();
  if (args[0] == "--list") return List();
  const Options o = ReadOptions(args);
  if (!o.error.empty()) {
    PrintError("zelmor: " + o.error);
    PrintError(kUsage);
    return 2;
  }
  if (o.routine >= args.size()) {
    PrintError(kUsage);
    return 2;
  }
  std::vector<std::string> given(args.begin() + static_cast<std::ptrdiff_t>(o.routine) + 1, args.end());
  const std::size_t total = given.size() + o.placed.size();
  if (!o.placed.empty() && o.placed.rbegin()->first > total) {
    PrintError("zelmor: argument " + std::to_string(o.placed.rbegin()->first) +
               " is given by an option, but the call has only " + std::to_string(total) + " arguments");
    return 2;
  }
  std::vector<std::string> callArgs;
  callArgs.reserve(total);
  auto next = given.begin();
  for (std::size_t place = 1; place <= total; ++place) {
    const auto it = o.placed.find(place);
    callArgs.push_back(it != o.placed.end() ? it->second : std::move(*next++));
  }
  const bool asJson = o.asJson;
  const Json r = Registry::Instance().CallWithText(args[o.routine], callArgs);
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

ZELMOR_COMMAND("call",
               "call [--json] [--arg-file N=PATH]... [--arg-stdin N] ROUTINE ARG... | call --batch | call --list"
               "   (library routines; --arg-file and --arg-stdin give the N-th argument from a file or standard input)",
               Run);

}  // namespace
}  // namespace zelmor::cli
