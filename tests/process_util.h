// Runs a built program as a child process, feeding standard input and collecting
// standard output and error, with a time limit. For end-to-end tests.
#pragma once

#include <chrono>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "testing/loopback.h"

namespace zelmor::testing {

struct ProcessResult {
  int ExitCode = -1;  // -1 when killed by the time limit or a signal
  std::string Out;
  std::string Err;
};

// Runs `program` (a path) with `args`. Environment variables in `env` ("NAME=value")
// replace or are added to the current environment.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::string& input = {}, std::chrono::milliseconds timeout = std::chrono::seconds(30),
                         const std::vector<std::string>& env = {});

// Path of a program built by this project: BinDir() + "/zelmor".
std::string BinDir();

// The lines of `out` (one JSON value each, as `zelmor call --batch` answers) parsed.
std::vector<nlohmann::json> JsonLines(const std::string& out);
// Runs one `zelmor call --batch` under Brazilian settings and answers its lines parsed.
std::vector<nlohmann::json> ZelmorBatch(const std::vector<std::string>& requests);

}  // namespace zelmor::testing

namespace zelmor::testing {

// A long-running child (a server under test): started with pipes on its standard
// output and error, read line by line with time limits, killed on destruction.
class ChildProcess {
 public:
  ChildProcess(const std::string& program, const std::vector<std::string>& args,
               const std::vector<std::string>& env = {}, const std::vector<std::string>& unsetEnv = {});
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // The next line of standard output (without the new line), or false on time-out/end.
  bool ReadLine(std::string& line, std::chrono::milliseconds timeout);
  // Everything the child wrote to standard error so far (non-blocking).
  std::string Err();
  int Pid() const { return FPid; }
  // Resident memory in KiB (VmRSS), or -1.
  long RssKiB() const;
  // Processor time used so far (user and system), in seconds, or -1.
  double CpuSeconds() const;
  // True while the child has not ended.
  bool Running();
  // Waits up to `timeout` for the child to end: its exit status, or -1 (still running
  // or ended by a signal; see Signal()).
  int Wait(std::chrono::milliseconds timeout);
  // The signal that ended the child, or 0.
  int Signal() const { return FSignal; }
  // Closes this side of the child's standard output or error, as a reader that went away.
  void CloseOut();
  void CloseErr();
  void Kill();

 private:
  int FPid = -1;
  int FOut = -1;
  int FErr = -1;
  int FStatus = -1;
  int FSignal = 0;
  std::string FBuffer;
  std::string FErrText;
};

}  // namespace zelmor::testing
