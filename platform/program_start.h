// Starting other programs: an argument vector, never a shell command line.
#pragma once

#include <string>
#include <vector>

#include "platform/service.h"

namespace zelmor::platform {

// What to start and how.
struct ProgramStart {
  // Arguments[0] names the program: a path, or a bare name looked up on PATH. The rest
  // reach the program one by one, exactly as given; nothing is split or expanded.
  std::vector<std::u16string> Arguments;
  // The file to run when it is not Arguments[0] (a path, or a bare name looked up on
  // PATH): the program then sees Arguments[0] as its own name, as a Windows program
  // started with a command line of the caller's own does. Empty: Arguments[0].
  std::u16string Program;
  // The folder the program starts in; empty: the caller's current folder.
  std::u16string WorkingFolder;
  // Files the program's standard input, output and error are opened on (output and
  // error are replaced);
  // empty: the caller's own. "/dev/null" silences it.
  std::u16string StandardInput;
  std::u16string StandardOutput;
  std::u16string StandardError;
  // Wait for the program to end, and report its exit code.
  bool Wait = false;
};

class Processes {
 public:
  static constexpr const char* kServiceName = "processes";
  virtual ~Processes() = default;
  // Starts the program. The child inherits the environment and standard input, output
  // and error, and no other descriptor of the caller; signal handling starts at the
  // defaults. True when the program started (a missing or non-executable program is a
  // failure, with `error` saying why). With Wait, blocks until it ends and `exitCode`
  // gets its exit status, or 128+N when signal N ended it; without Wait the child is
  // reaped when it ends, so it never lingers as a zombie. Never throws.
  //   Start({{u"sh", u"-c", u"exit 3"}, {}, {}, {}, true}, &code) -> true, code == 3
  virtual bool Start(const ProgramStart& start, int* exitCode = nullptr, std::string* error = nullptr) = 0;
};

}  // namespace zelmor::platform
