// Runs a built program as a child process, feeding standard input and collecting
// standard output and error, with a time limit. For end-to-end tests.
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace zelmor::testing {

struct ProcessResult {
  int ExitCode = -1;  // -1 when killed by the time limit or a signal
  std::string Out;
  std::string Err;
};

// Runs `program` (a path) with `args`. Environment variables in `env` ("NAME=value")
// are added to the current environment.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::string& input = {}, std::chrono::milliseconds timeout = std::chrono::seconds(30),
                         const std::vector<std::string>& env = {});

// Path of a program built by this project: BinDir() + "/zelmor".
std::string BinDir();

}  // namespace zelmor::testing
