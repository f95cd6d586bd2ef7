// zelmor: the command-line face of the library and the display protocol.
#include <cstdio>
#include <iostream>

#include "adapters/linux/system_services.h"
#include "tools/zelmor/commands.h"

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
  return 0;
}

}  // namespace
}  // namespace zelmor::cli

int main(int argc, char** argv) {
  zelmor::adapters::InstallSystemServices();
  using namespace zelmor::cli;
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || args[0] == "help" || args[0] == "--help" || args[0] == "-h") {
    Help();
    return args.empty() ? 2 : 0;
  }
  for (const Command& c : Commands()) {
    if (c.Name == args[0]) {
      try {
        return c.Run(std::vector<std::string>(args.begin() + 1, args.end()));
      } catch (const std::exception& e) {
        PrintError(std::string("zelmor: ") + e.what());
        return 1;
      }
    }
  }
  PrintError("zelmor: unknown command '" + args[0] + "' (try: zelmor help)");
  return 2;
}
