// Sub-commands of the `zelmor` tool. Each theme file registers its own with
// ZELMOR_COMMAND, so adding a command never touches main.cpp.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace zelmor::cli {

struct Command {
  std::string Name;                                              // "call", "display", "cpf" ...
  std::string Usage;                                             // one line, shown by `zelmor help`
  std::function<int(const std::vector<std::string>& args)> Run;  // exit code
};

std::vector<Command>& Commands();

struct CommandRegistrar {
  CommandRegistrar(std::string name, std::string usage, std::function<int(const std::vector<std::string>&)> run);
};

#define ZELMOR_COMMAND_CAT2(a, b) a##b
#define ZELMOR_COMMAND_CAT(a, b) ZELMOR_COMMAND_CAT2(a, b)
#define ZELMOR_COMMAND(name, usage, fn) \
  static ::zelmor::cli::CommandRegistrar ZELMOR_COMMAND_CAT(zelmor_command_, __LINE__)(name, usage, fn)

// Writes UTF-8 text to standard output / standard error followed by a new line.
void PrintLine(const std::string& s);
void PrintError(const std::string& s);

}  // namespace zelmor::cli
