#include "adapters/qt/socket_server.h"

#include <QTimer>
#include <cstring>

namespace zelmor::adapters {
namespace {

platform::TcpSockets& Sockets() { return platform::Service<platform::TcpSockets>::Get(); }

// How long accepting rests when it cannot take a connection for want of handles.
constexpr int kAcceptPauseMs = 250;

}  // namespace

ClientConnection::ClientConnection(std::unique_ptr<platform::TcpConnection> connection, QObject* parent)
    : QObject(parent), FConnection(std::move(connection)) {}

ClientConnection::ClientConnection(int fd, QObject* parent) : ClientConnection(Sockets().Adopt(fd), parent) {}

ClientConnection::~ClientConnection() = default;

SocketServer::SocketServer(QObject* parent) : QObject(parent) {}

SocketServer::~SocketServer() {
  FClients.clear();  // each notifier before its connection's handle closes
  FAcceptNotifier.reset();
}

std::vector<int> SocketServer::ClientHandles() const {
  std::vector<int> handles;
  for (const auto& [fd, c] : FClients) handles.push_back(fd);
  return handles;
}

void SocketServer::SetMaxClients(int n) {
  FMaxClients = n < 1 ? 1 : n;
  while (ClientCount() > FMaxClients && DropIdlest()) {
  }
}

void SocketServer::Open(quint16 port) {
  FListener = Sockets().Listen(port);
  FMaxClients = Sockets().ConnectionCapacity();
  FAcceptNotifier = std::make_unique<QSocketNotifier>(FListener->Handle(), QSocketNotifier::Read);
  connect(FAcceptNotifier.get(), &QSocketNotifier::activated, this, [this] { Accept(); });
}

void SocketServer::Accept() {
  // Bounded: take what is queued now, at most a backlog's worth per notification.
  for (int i = 0; i < 1024; ++i) {
    using Kind = platform::SocketFailure::Kind;
    platform::SocketFailure failure;
    std::unique_ptr<platform::TcpConnection> c = FListener->Accept(&failure);
    if (!c) {
      if (failure.What == Kind::None) return;        // none waiting
      if (failure.What == Kind::TryAgain) continue;  // one that died while queued
      // Out of handles with connections open: the idlest makes room for the newcomer.
      if (failure.What == Kind::OutOfHandles && DropIdlest()) continue;
      PauseAccepting(failure);
      return;
    }
    const int fd = static_cast<int>(c->Handle());
    Client& client = FClients[fd];
    client.Connection = std::make_unique<ClientConnection>(std::move(c), nullptr);
    client.Notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    client.LastActive = ++FTick;
    connect(client.Notifier.get(), &QSocketNotifier::activated, this, [this, fd] { Readable(fd); });
    if (ClientCount() > FMaxClients) {
      DropIdlest(fd);
      if (!FLimitSaid) {
        FLimitSaid = true;
        emit Notice(QStringLiteral("%1 connections are open, the most this display holds; each new one closes "
                                   "the connection idle longest")
                        .arg(FMaxClients));
      }
    }
  }
}

bool SocketServer::DropIdlest(int keep) {
  auto idlest = FClients.end();
  for (auto it = FClients.begin(); it != FClients.end(); ++it)
    if (it->first != keep && (idlest == FClients.end() || it->second.LastActive < idlest->second.LastActive))
      idlest = it;
  if (idlest == FClients.end()) return false;
  // Closed now, not later: the handle is wanted at once. Nothing of it is on the stack
  // (it is not the connection being served). The notifier goes before the handle closes.
  FClients.erase(idlest);
  return true;
}

void SocketServer::PauseAccepting(const platform::SocketFailure& failure) {
  if (!FExhaustionSaid) {
    FExhaustionSaid = true;
    emit Notice(QStringLiteral("cannot accept connections: %1 (%2); trying again every %3 ms")
                    .arg(QString::fromLocal8Bit(std::strerror(failure.SystemCode)))
                    .arg(failure.SystemCode)
                    .arg(kAcceptPauseMs));
  }
  // The connection stays queued and its notification would fire again at once: rest instead of spinning.
  if (FPaused) return;
  FPaused = true;
  FAcceptNotifier->setEnabled(false);
  QTimer::singleShot(kAcceptPauseMs, this, [this] {
    FPaused = false;
    if (FAcceptNotifier) FAcceptNotifier->setEnabled(true);
  });
}

void SocketServer::Readable(int fd) {
  auto it = FClients.find(fd);
  if (it == FClients.end()) return;
  ClientConnection* conn = it->second.Connection.get();
  platform::SocketFailure failure;
  switch (conn->Connection().State(failure)) {
    case platform::ConnectionState::Data:
      it->second.LastActive = ++FTick;
      // The handler may not read everything; the notifier fires again if so.
      emit ClientRead(conn);
      return;
    case platform::ConnectionState::Nothing: return;
    case platform::ConnectionState::Closed: Drop(fd); return;
    case platform::ConnectionState::Failed:
      Drop(fd);
      emit ClientError(QStringLiteral("Asynchronous socket error %1").arg(failure.SystemCode), failure);
      return;
  }
}

void SocketServer::Drop(int fd) {
  auto it = FClients.find(fd);
  if (it == FClients.end()) return;
  // Later, not now: the connection may be the one whose signal is being served.
  Client c = std::move(it->second);
  FClients.erase(it);
  c.Notifier->setEnabled(false);
  c.Notifier.release()->deleteLater();
  c.Connection.release()->deleteLater();
}

}  // namespace zelmor::adapters
