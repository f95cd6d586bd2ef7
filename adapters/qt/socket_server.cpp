#include "adapters/qt/socket_server.h"

namespace zelmor::adapters {
namespace {

platform::TcpSockets& Sockets() { return platform::Service<platform::TcpSockets>::Get(); }

}  // namespace

ClientConnection::ClientConnection(std::unique_ptr<platform::TcpConnection> connection, QObject* parent)
    : QObject(parent), FConnection(std::move(connection)) {}

ClientConnection::ClientConnection(int fd, QObject* parent) : ClientConnection(Sockets().Adopt(fd), parent) {}

ClientConnection::~ClientConnection() = default;

SocketServer::SocketServer(QObject* parent) : QObject(parent) {}

SocketServer::~SocketServer() {
  for (auto& [fd, c] : FClients) {
    delete c.Notifier;
    delete c.Connection;
  }
  FClients.clear();
  FAcceptNotifier.reset();
}

void SocketServer::Open(quint16 port) {
  FListener = Sockets().Listen(port);
  FAcceptNotifier = std::make_unique<QSocketNotifier>(FListener->Handle(), QSocketNotifier::Read);
  connect(FAcceptNotifier.get(), &QSocketNotifier::activated, this, [this] { Accept(); });
}

void SocketServer::Accept() {
  // Bounded: take what is queued now, at most a backlog's worth per notification.
  for (int i = 0; i < 1024; ++i) {
    std::unique_ptr<platform::TcpConnection> c = FListener->Accept();
    if (!c) return;  // none waiting, or a connection that died while queued
    const int fd = static_cast<int>(c->Handle());
    auto* conn = new ClientConnection(std::move(c), nullptr);
    auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read);
    FClients[fd] = {conn, notifier};
    connect(notifier, &QSocketNotifier::activated, this, [this, fd] { Readable(fd); });
  }
}

void SocketServer::Readable(int fd) {
  auto it = FClients.find(fd);
  if (it == FClients.end()) return;
  ClientConnection* conn = it->second.Connection;
  int error = 0;
  switch (conn->Connection().State(error)) {
    case platform::ConnectionState::Data:
      // The handler may not read everything; the notifier fires again if so.
      emit ClientRead(conn);
      return;
    case platform::ConnectionState::Nothing: return;
    case platform::ConnectionState::Closed: Drop(fd); return;
    case platform::ConnectionState::Failed:
      Drop(fd);
      emit ClientError(QStringLiteral("Asynchronous socket error %1").arg(error), error);
      return;
  }
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

}  // namespace zelmor::adapters
