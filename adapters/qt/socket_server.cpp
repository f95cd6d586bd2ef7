#include "platform/qt/socket_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace zelmor::platform {
namespace {

[[noreturn]] void Fail(const char* api) {
  int e = errno;
  throw SocketError("Windows socket error: " + std::string(std::strerror(e)) + " (" + std::to_string(e) +
                        "), on API '" + api + "'",
                    e);
}

}  // namespace

ClientConnection::ClientConnection(int fd, QObject* parent) : QObject(parent), FFd(fd) {}

ClientConnection::~ClientConnection() {
  if (FFd >= 0) ::close(FFd);
}

int ClientConnection::ReceiveLength() const {
  int n = 0;
  if (ioctl(FFd, FIONREAD, &n) < 0) return 0;
  return n;
}

std::string ClientConnection::ReceiveBuf(int max) {
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

SocketServer::SocketServer(QObject* parent) : QObject(parent) {}

SocketServer::~SocketServer() {
  for (auto& [fd, c] : FClients) {
    delete c.Notifier;
    delete c.Connection;
  }
  FClients.clear();
  FAcceptNotifier.reset();
  if (FListenFd >= 0) ::close(FListenFd);
}

void SocketServer::Open(quint16 port) {
  int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) Fail("socket");
  int one = 1;
  // Lets the display restart at once after a crash; a live listener still blocks the port.
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_ANY);
  addr.sin_port = htons(port);
  if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) < 0) {
    int e = errno;
    ::close(fd);
    errno = e;
    Fail("bind");
  }
  if (::listen(fd, SOMAXCONN) < 0) {
    int e = errno;
    ::close(fd);
    errno = e;
    Fail("listen");
  }
  socklen_t len = sizeof addr;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
  FListenFd = fd;
  FPort = ntohs(addr.sin_port);
  FAcceptNotifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
  connect(FAcceptNotifier.get(), &QSocketNotifier::activated, this, [this] { Accept(); });
}

void SocketServer::Accept() {
  // Bounded: take what is queued now, at most a backlog's worth per notification.
  for (int i = 0; i < 1024; ++i) {
    int fd = ::accept4(FListenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) return;  // EAGAIN, or a connection that died while queued
    auto* conn = new ClientConnection(fd, nullptr);
    auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read);
    FClients[fd] = {conn, notifier};
    connect(notifier, &QSocketNotifier::activated, this, [this, fd] { Readable(fd); });
  }
}

void SocketServer::Readable(int fd) {
  auto it = FClients.find(fd);
  if (it == FClients.end()) return;
  ClientConnection* conn = it->second.Connection;
  if (conn->ReceiveLength() > 0) {
    emit ClientRead(conn);
    // The handler may not have read everything; the notifier fires again if so.
    return;
  }
  // Readable with nothing pending: the peer closed, or the connection failed.
  char probe;
  ssize_t n = ::recv(fd, &probe, 1, MSG_PEEK | MSG_DONTWAIT);
  if (n == 0) {
    Drop(fd);
    return;
  }
  if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return;
  if (n < 0) {
    int e = errno;
    Drop(fd);
    emit ClientError(QStringLiteral("Asynchronous socket error %1").arg(e), e);
    return;
  }
  emit ClientRead(conn);  // data arrived between the two checks
}

void SocketServer::Drop(int fd) {
  auto it = FClients.find(fd);
  if (it == FClients.end()) return;
  Client c = it->second;
  FClients.erase(it);
  c.Notifier->setEnabled(false);
  c.Notifier->deleteLater();
  c.Connection->deleteLater();
}

}  // namespace zelmor::platform
