#include "adapters/linux/standard_streams.h"

#include "adapters/linux/file_descriptor.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace zelmor::adapters {

void GuardStandardStreams() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    // open() answers the lowest free descriptor, which is this one.
    posix::FileDescriptor opened(::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY));
    if (opened.Get() == fd)
      opened.Release();  // it is the standard stream now, for good
    else if (opened)
      ::dup2(opened.Get(), fd);
  }
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  ::sigemptyset(&ignore.sa_mask);
  ::sigaction(SIGPIPE, &ignore, nullptr);
}

struct QueuedWriter::State {
  int Fd;
  std::size_t MaxPending;
  std::mutex Lock;
  std::condition_variable Wake;     // a line waits, or stop
  std::condition_variable Drained;  // the thread has ended
  std::deque<std::string> Lines;
  std::size_t Pending = 0;
  bool Stop = false;
  bool Done = false;
  int Error = 0;

  void Run() {
    std::unique_lock<std::mutex> l(Lock);
    for (;;) {
      Wake.wait(l, [this] { return Stop || !Lines.empty(); });
      if (Lines.empty() || Error) break;  // stopping with nothing left, or nobody reads
      std::string line = std::move(Lines.front());
      Lines.pop_front();
      l.unlock();
      const int e = WriteAll(line);
      l.lock();
      Pending -= line.size();
      if (e) {
        Error = e;
        Pending = 0;
        Lines.clear();
      }
    }
    Done = true;
    Drained.notify_all();
  }

  int WriteAll(const std::string& s) const {
    std::size_t at = 0;
    while (at < s.size()) {
      const ssize_t n = ::write(Fd, s.data() + at, s.size() - at);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return n < 0 ? errno : EIO;
      at += static_cast<std::size_t>(n);
    }
    return 0;
  }
};

QueuedWriter::QueuedWriter(int fd, std::size_t maxPending) : FState(std::make_shared<State>()) {
  FState->Fd = fd;
  FState->MaxPending = maxPending;
  // The thread holds the state too: when it is left behind, what it uses stays alive.
  std::thread([s = FState] { s->Run(); }).detach();
}

QueuedWriter::~QueuedWriter() {
  std::unique_lock<std::mutex> l(FState->Lock);
  FState->Stop = true;
  FState->Wake.notify_all();
  FState->Drained.wait_for(l, FDrain, [this] { return FState->Done; });
}

bool QueuedWriter::Write(std::string text) {
  std::lock_guard<std::mutex> l(FState->Lock);
  if (FState->Error || FState->Stop || FState->Pending + text.size() > FState->MaxPending) return false;
  FState->Pending += text.size();
  FState->Lines.push_back(std::move(text));
  FState->Wake.notify_one();
  return true;
}

bool QueuedWriter::Failed() const { return Error() != 0; }

int QueuedWriter::Error() const {
  std::lock_guard<std::mutex> l(FState->Lock);
  return FState->Error;
}

}  // namespace zelmor::adapters
