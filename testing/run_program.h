// Runs a program of the system (find, cp, zip...) with its output thrown away, for
// benchmarks that time the library next to the usual tools.
#pragma once

#include <string>
#include <vector>

namespace zelmor::testing {

// Starts `args[0]` (looked up on PATH) with standard output and error on /dev/null,
// without waiting; its process id, or -1 when it could not start.
int StartQuietly(std::vector<std::string> args);

// The same, waited for; answers its exit code, or -1 when it could not start or was killed.
int RunQuietly(std::vector<std::string> args);

// Runs `command` through /bin/sh with standard error on /dev/null; its standard output,
// and its exit code in `status` (-1 when it was killed).
std::string ShellOutput(const std::string& command, int* status = nullptr);

}  // namespace zelmor::testing
