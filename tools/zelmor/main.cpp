// zelmor: the command-line face of the library and the display protocol.
#include <cstdio>
#include <iostream>
#include <string>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "core/version.h"
#include "tools/zelmor/commands.h"
#include "tools/zelmor/modules.h"

namespace zelmor::cli {

std::vector<Command>& Commands() {
  static std::vector<Command> commands;
  return commands;
}

CommandRegistrar::CommandRegistrar(std::string name, std::string usage,
                                   std::function<int(const std::vector<std::string>&)> run) {
  Commands().push_back({std::move(name), std::move(usage), std::move(run)});
}

void PrintLine(const std::string& s) {
  std::fwrite(s.data(), 1, s.size(), stdout);
  std::fputc('\n', stdout);
}

void PrintError(const std::string& s) {
  std::fwrite(s.data(), 1, s.size(), stderr);
  std::fputc('\n', stderr);
}

namespace {

int Help() {
  PrintLine("usage: zelmor COMMAND [ARGS...]");
  for (const Command& c : Commands()) PrintLine("  zelmor " + c.Usage);
  PrintLine("  zelmor --version");
  return 0;
}

// One command's usage: its forms one per line, then what it does. The usage line
// keeps the forms apart with " | " and ends with "   (what it does)".
int CommandHelp(const Command& c) {
  std::string forms = c.Usage;
  std::string about;
  if (const auto at = forms.rfind("   ("); at != std::string::npos && forms.back() == ')') {
    about = forms.substr(at + 4, forms.size() - at - 5);
    forms.erase(at);
  }
  std::string lead = "usage: zelmor ";
  for (std::size_t start = 0;;) {
    const std::size_t bar = forms.find(" | ", start);
    PrintLine(lead + forms.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (bar == std::string::npos) break;
    start = bar + 3;
    lead = "       zelmor ";
  }
  if (!about.empty()) PrintLine(about);
  return 0;
}

const Command* FindCommand(const std::string& name) {
  for (const Command& c : Commands())
    if (c.Name == name) return &c;
  return nullptr;
}

}  // namespace
}  // namespace zelmor::cli

int main(int argc, char** argv) {
#if defined(__GLIBC__)
  // A command is short-lived: freed memory stays with the process for reuse instead of
  // going back to the system and faulting in again (packing allocates and frees a
  // compressor's 256 KiB state for every entry).
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 64 << 20);
#endif
  zelmor::cli::InstallServicesOnDemand();
  using namespace zelmor::cli;
  std::vector<std::string> args(argv + 1, argv + argc);
  // `zelmor help COMMAND` and `zelmor COMMAND --help`: that command's usage.
  if (args.size() >= 2 && (args[0] == "help" || args[1] == "--help" || args[1] == "-h")) {
    const std::string& name = args[0] == "help" ? args[1] : args[0];
    if (const Command* c = FindCommand(name)) return CommandHelp(*c);
  }
  if (args.empty() || args[0] == "help" || args[0] == "--help" || args[0] == "-h") {
    Help();
    return args.empty() ? 2 : 0;
  }
  if (args[0] == "--version") {
    PrintLine(std::string("zelmor ") + zelmor::ProjectVersion());
    return 0;
  }
  if (const Command* c = FindCommand(args[0])) {
    try {
      return c->Run(std::vector<std::string>(args.begin() + 1, args.end()));
    } catch (const std::exception& e) {
      PrintError(std::string("zelmor: ") + e.what());
      return 1;
    }
  }
  PrintError("zelmor: unknown command '" + args[0] + "' (try: zelmor help)");
  return 2;
}
