// An event-driven TCP server on the GUI thread: the platform's TCP listener does
// the socket calls, QSocketNotifier tells when a handle turns readable. The server
// accepts connections by itself and tells the owner when a connection has data.
// Reading is the owner's: the count of pending bytes, then one receive of up to
// that many. A peer that closes is dropped quietly; a receive error is reported and
// closes that connection only.
//
// The server never runs the process out of handles: it holds at most MaxClients()
// connections (what the handle limit allows, learnt when listening starts), and a new
// connection beyond that closes the one idle longest. Should accepting fail for want
// of handles all the same, the longest-idle connection makes room, or, with none to
// close, the server stops looking for a moment instead of being woken in a loop.
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/tcp_listener.h"

namespace zelmor::adapters {

class ClientConnection : public QObject {
  Q_OBJECT
 public:
  ClientConnection(std::unique_ptr<platform::TcpConnection> connection, QObject* parent);
  // Takes over a connected socket made elsewhere (one end of a socket pair).
  ClientConnection(int fd, QObject* parent);
  ~ClientConnection() override;
  // Bytes that can be received now without waiting.
  int ReceiveLength() const { return FConnection->PendingBytes(); }
  // Receives up to `max` bytes (fewer when fewer are pending).
  std::string ReceiveBuf(int max) { return FConnection->Receive(max); }
  int Handle() const { return static_cast<int>(FConnection->Handle()); }
  platform::TcpConnection& Connection() { return *FConnection; }

 private:
  std::unique_ptr<platform::TcpConnection> FConnection;
};

class SocketServer : public QObject {
  Q_OBJECT
 public:
  explicit SocketServer(QObject* parent = nullptr);
  ~SocketServer() override;

  // Listens on every local IPv4 address. Throws platform::SocketError on failure with
  // the text "Windows socket error: <system text> (<errno>), on API '<call>'".
  void Open(quint16 port);
  bool Active() const { return FListener != nullptr; }
  quint16 Port() const { return FListener ? FListener->Port() : 0; }
  int ClientCount() const { return static_cast<int>(FClients.size()); }
  int MaxClients() const { return FMaxClients; }
  // The handles of the connections held now.
  std::vector<int> ClientHandles() const;
  // Changes the most connections held at once (at least 1); mostly for tests.
  void SetMaxClients(int n);

 signals:
  // Data is readable on `socket`.
  void ClientRead(zelmor::adapters::ClientConnection* socket);
  // A receive error on a connection ("Asynchronous socket error <n>"); the connection
  // is closed. `failure` says what kind of failure it was; its number is the one the
  // message shows.
  void ClientError(const QString& message, const zelmor::platform::SocketFailure& failure);
  // Something the operator should know that is not an error of one connection
  // (connections closed to make room, handles running out). Each kind is said once.
  void Notice(const QString& message);

 private:
  void Accept();
  void Readable(int fd);
  void Drop(int fd);
  // Closes the connection idle longest (not `keep`) at once; false when there is none.
  bool DropIdlest(int keep = -1);
  void PauseAccepting(const platform::SocketFailure& failure);

  std::unique_ptr<platform::TcpListener> FListener;
  std::unique_ptr<QSocketNotifier> FAcceptNotifier;
  struct Client {
    std::unique_ptr<ClientConnection> Connection;
    std::unique_ptr<QSocketNotifier> Notifier;
    quint64 LastActive;  // FTick when it connected or last had data
  };
  std::map<int, Client> FClients;
  quint64 FTick = 0;
  int FMaxClients = 1;
  bool FLimitSaid = false;
  bool FExhaustionSaid = false;
  bool FPaused = false;
};

}  // namespace zelmor::adapters
