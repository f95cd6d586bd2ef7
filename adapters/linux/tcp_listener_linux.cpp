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
  DIR* d = ::opendir("/proc/self/fd");
  if (!d) return 0;
  int n = 0;
  while (::readdir(d) != nullptr) ++n;
  ::closedir(d);
  return std::max(0, n - 2);  // "." and ".."
}

[[noreturn]] void Fail(const char* api, int e) {
  throw SocketError("Windows socket error: " + std::string(std::strerror(e)) + " (" + std::to_string(e) +
                        "), on API '" + api + "'",
                    e);
}

class PosixConnection final : public platform::TcpConnection {
 public:
  explicit PosixConnection(int fd) : FFd(fd) {}
  ~PosixConnection() override { ::close(FFd); }

  std::intptr_t Handle() const override { return FFd; }

  int PendingBytes() const override {
    int n = 0;
    if (ioctl(FFd, FIONREAD, &n) < 0) return 0;
    return n;
  }

  std::string Receive(int max) override {
    std::string buf;
    if (max <= 0) return buf;
    buf.resize(static_cast<std::size_t>(max));
    ssize_t n;
    do {
      n = ::recv(FFd, buf.data(), buf.size(), MSG_DONTWAIT);
    } while (n < 0 && errno == EINTR);
    buf.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return buf;
  }

  ConnectionState State(int& error) override {
    if (PendingBytes() > 0) return ConnectionState::Data;
    // Readable with nothing pending: the peer closed, or the connection failed.
    char probe;
    const ssize_t n = ::recv(FFd, &probe, 1, MSG_PEEK | MSG_DONTWAIT);
    if (n > 0) return ConnectionState::Data;  // arrived between the two looks
    if (n == 0) return ConnectionState::Closed;
    if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) return ConnectionState::Nothing;
    error = errno;
    return ConnectionState::Failed;
  }

 private:
  int FFd;
};

class PosixListener final : public platform::TcpListener {
 public:
  PosixListener(int fd, std::uint16_t port) : FFd(fd), FPort(port) {}
  ~PosixListener() override { ::close(FFd); }

  std::intptr_t Handle() const override { return FFd; }
  std::uint16_t Port() const override { return FPort; }

  std::unique_ptr<platform::TcpConnection> Accept(int* error) override {
    const int fd = ::accept4(FFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) {
      int e = (errno == EAGAIN || errno == EWOULDBLOCK) ? 0 : errno;
      // The system refuses for want of a descriptor before it looks at the queue: say
      // so only when a connection is really waiting.
      if (e == EMFILE || e == ENFILE) {
        pollfd p{FFd, POLLIN, 0};
        if (::poll(&p, 1, 0) != 1) e = 0;
      }
      if (error) *error = e;
      return nullptr;
    }
    if (error) *error = 0;
    KeepAlive(fd);
    return std::make_unique<PosixConnection>(fd);
  }

 private:
  int FFd;
  std::uint16_t FPort;
};

class PosixSockets final : public platform::TcpSockets {
 public:
  std::unique_ptr<platform::TcpListener> Listen(std::uint16_t port) override {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) Fail("socket", errno);
    int one = 1;
    // Lets the display restart at once after a crash; a live listener still blocks the port.
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_ANY);
    addr.sin_port = htons(port);
    auto abandon = [fd](const char* api) {
      const int e = errno;
      ::close(fd);
      Fail(api, e);
    };
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) < 0) abandon("bind");
    if (::listen(fd, SOMAXCONN) < 0) abandon("listen");
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    return std::make_unique<PosixListener>(fd, ntohs(addr.sin_port));
  }

  std::unique_ptr<platform::TcpConnection> Adopt(std::intptr_t handle) override {
    return std::make_unique<PosixConnection>(static_cast<int>(handle));
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
