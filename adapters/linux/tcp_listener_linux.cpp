// The TCP listener on POSIX sockets: non-blocking, close-on-exec descriptors.
#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "adapters/linux/file_descriptor.h"
#include "adapters/linux/system_services.h"

namespace zelmor::adapters {
namespace {

using platform::ConnectionState;
using platform::SocketError;

// A peer silent for a minute is probed every 10 s; six unanswered probes close it, so a
// terminal switched off mid-connection is gone in about two minutes.
constexpr int kKeepIdleSeconds = 60;
constexpr int kKeepIntervalSeconds = 10;
constexpr int kKeepProbes = 6;
// Handles kept free for what the program opens besides connections (fonts, pipes,
// files, the window system's own).
constexpr int kHandleMargin = 24;
// More clients than this on one display have no use and only cost memory.
constexpr int kMostConnections = 4096;

void KeepAlive(int fd) {
  const int one = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &one, sizeof one);
  ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &kKeepIdleSeconds, sizeof kKeepIdleSeconds);
  ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &kKeepIntervalSeconds, sizeof kKeepIntervalSeconds);
  ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &kKeepProbes, sizeof kKeepProbes);
}

// Descriptors open now, counted in /proc/self/fd (the count of the directory's own
// handle included, which only adds to the margin).
int OpenDescriptors() {
  const posix::OwnedFolder d(::opendir("/proc/self/fd"));
  if (!d) return 0;
  int n = 0;
  while (::readdir(d.get()) != nullptr) ++n;
  return std::max(0, n - 2);  // "." and ".."
}

// What the caller does about errno `e`.
platform::SocketFailure FailureOf(int e) {
  using Kind = platform::SocketFailure::Kind;
  if (e == 0 || e == EAGAIN || e == EWOULDBLOCK) return {};
  if (e == EINTR || e == ECONNABORTED) return {Kind::TryAgain, e};
  if (e == EMFILE || e == ENFILE) return {Kind::OutOfHandles, e};
  return {Kind::Other, e};
}

[[noreturn]] void Fail(const char* api, int e) {
  throw SocketError(
      "Windows socket error: " + std::string(std::strerror(e)) + " (" + std::to_string(e) + "), on API '" + api + "'",
      FailureOf(e));
}

class PosixConnection final : public platform::TcpConnection {
 public:
  explicit PosixConnection(posix::FileDescriptor fd) : FFd(std::move(fd)) {}

  std::intptr_t Handle() const override { return FFd.Get(); }

  int PendingBytes() const override {
    int n = 0;
    if (ioctl(FFd.Get(), FIONREAD, &n) < 0) return 0;
    return n;
  }

  std::string Receive(int max) override {
    std::string buf;
    if (max <= 0) return buf;
    buf.resize(static_cast<std::size_t>(max));
    const ssize_t n = posix::Retry([&] { return ::recv(FFd.Get(), buf.data(), buf.size(), MSG_DONTWAIT); });
    buf.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return buf;
  }

  ConnectionState State(platform::SocketFailure& failure) override {
    if (PendingBytes() > 0) return ConnectionState::Data;
    // Readable with nothing pending: the peer closed, or the connection failed.
    char probe;
    const ssize_t n = ::recv(FFd.Get(), &probe, 1, MSG_PEEK | MSG_DONTWAIT);
    if (n > 0) return ConnectionState::Data;  // arrived between the two looks
    if (n == 0) return ConnectionState::Closed;
    if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) return ConnectionState::Nothing;
    failure = FailureOf(errno);
    return ConnectionState::Failed;
  }

 private:
  posix::FileDescriptor FFd;
};

class PosixListener final : public platform::TcpListener {
 public:
  PosixListener(posix::FileDescriptor fd, std::uint16_t port) : FFd(std::move(fd)), FPort(port) {}

  std::intptr_t Handle() const override { return FFd.Get(); }
  std::uint16_t Port() const override { return FPort; }

  std::unique_ptr<platform::TcpConnection> Accept(platform::SocketFailure* failure) override {
    posix::FileDescriptor fd(::accept4(FFd.Get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
    if (!fd) {
      platform::SocketFailure f = FailureOf(errno);
      // The system refuses for want of a descriptor before it looks at the queue: say
      // so only when a connection is really waiting.
      if (f.What == platform::SocketFailure::Kind::OutOfHandles) {
        pollfd p{FFd.Get(), POLLIN, 0};
        if (::poll(&p, 1, 0) != 1) f = {};
      }
      if (failure) *failure = f;
      return nullptr;
    }
    if (failure) *failure = {};
    KeepAlive(fd.Get());
    return std::make_unique<PosixConnection>(std::move(fd));
  }

 private:
  posix::FileDescriptor FFd;
  std::uint16_t FPort;
};

class PosixSockets final : public platform::TcpSockets {
 public:
  std::unique_ptr<platform::TcpListener> Listen(std::uint16_t port) override {
    posix::FileDescriptor listening(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!listening) Fail("socket", errno);
    const int fd = listening.Get();
    int one = 1;
    // Lets the display restart at once after a crash; a live listener still blocks the port.
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_ANY);
    addr.sin_port = htons(port);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) < 0) Fail("bind", errno);
    if (::listen(fd, SOMAXCONN) < 0) Fail("listen", errno);
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    return std::make_unique<PosixListener>(std::move(listening), ntohs(addr.sin_port));
  }

  std::unique_ptr<platform::TcpConnection> Adopt(std::intptr_t handle) override {
    return std::make_unique<PosixConnection>(posix::FileDescriptor(static_cast<int>(handle)));
  }

  int ConnectionCapacity() override {
    rlimit lim{};
    if (::getrlimit(RLIMIT_NOFILE, &lim) != 0 || lim.rlim_cur == RLIM_INFINITY) return kMostConnections;
    const long soft = static_cast<long>(std::min<rlim_t>(lim.rlim_cur, 1 << 20));
    return static_cast<int>(std::clamp<long>(soft - OpenDescriptors() - kHandleMargin, 1, kMostConnections));
  }
};

}  // namespace

platform::TcpSockets& SystemTcpSockets() {
  static PosixSockets sockets;
  return sockets;
}

}  // namespace zelmor::adapters
