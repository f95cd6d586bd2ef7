#include "app/stop_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace quindel {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
// The write end, for the handler; -1 when no instance is installed.
volatile sig_atomic_t gWrite = -1;

void OnSignal(int signal) {
  const int saved = errno;
  const unsigned char number = static_cast<unsigned char>(signal);
  // A full pipe already holds a stop request: dropping this one loses nothing.
  if (gWrite >= 0 && ::write(gWrite, &number, 1) < 0) {
  }
  errno = saved;
}

}  // namespace

StopSignals::StopSignals(std::function<void(int)> stop, QObject* parent) : QObject(parent), FStop(std::move(stop)) {
  int fds[2];
  if (::pipe2(fds, O_NONBLOCK | O_CLOEXEC) != 0) throw std::runtime_error("quindel: no pipe for the stop signals");
  FRead = fds[0];
  gWrite = fds[1];
  FNotifier = std::make_unique<QSocketNotifier>(FRead, QSocketNotifier::Read);
  connect(FNotifier.get(), &QSocketNotifier::activated, this, [this] { Drain(); });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int s : kSignals) ::sigaction(s, &action, nullptr);
}

StopSignals::~StopSignals() {
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  for (int s : kSignals) ::sigaction(s, &action, nullptr);
  FNotifier.reset();
  const int write = gWrite;
  gWrite = -1;
  ::close(write);
  ::close(FRead);
}

const char* StopSignals::Name(int signal) {
  switch (signal) {
    case SIGTERM: return "SIGTERM";
    case SIGINT: return "SIGINT";
    case SIGHUP: return "SIGHUP";
    default: return "a signal";
  }
}

void StopSignals::Drain() {
  unsigned char numbers[64];
  for (;;) {
    const ssize_t n = ::read(FRead, numbers, sizeof numbers);
    if (n <= 0) break;
    for (ssize_t i = 0; i < n; ++i) FStop(numbers[i]);
  }
}

}  // namespace quindel
