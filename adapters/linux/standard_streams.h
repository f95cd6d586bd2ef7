// The standard streams of a long-running program, made safe against how it was started
// and against readers that stop reading: nothing written to them may block the caller
// or end the process.
#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>

namespace zelmor::adapters {

// Call first thing in main(). Descriptors 0, 1 and 2 that the starter left closed are
// opened on /dev/null, so no socket or file opened later takes their place (and gets a
// stray error line written into it); a write to a pipe or socket whose reader is gone
// then fails with EPIPE instead of ending the process with SIGPIPE.
void GuardStandardStreams();

// Writes lines to a descriptor from a thread of its own, so the caller never waits for
// the reader. At most `maxPending` bytes wait; a line that does not fit is dropped and
// Write says so. After a write fails (the reader is gone) every later line is dropped.
class QueuedWriter {
 public:
  QueuedWriter(int fd, std::size_t maxPending);
  // Gives the thread `drain` to write what waits, then leaves it behind (a reader that
  // never reads must not keep the program from ending).
  ~QueuedWriter();
  QueuedWriter(const QueuedWriter&) = delete;
  QueuedWriter& operator=(const QueuedWriter&) = delete;

  // Queues `text` as it is (the caller adds the line end); false when it was dropped.
  bool Write(std::string text);
  // True once a write failed; `Error` is the system's error number then.
  bool Failed() const;
  int Error() const;
  void SetDrainTime(std::chrono::milliseconds drain) { FDrain = drain; }

 private:
  struct State;
  std::shared_ptr<State> FState;
  std::chrono::milliseconds FDrain{1000};
};

}  // namespace zelmor::adapters
