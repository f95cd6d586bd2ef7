// An event-driven TCP server on the GUI thread: the socket layer accepts
// connections by itself and tells the owner when a connection has data. Reading
// is the owner's: the count of pending bytes, then one receive of up to that many.
// A peer that closes is dropped quietly; a receive error is reported and closes
// that connection only.
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <map>
#include <memory>
#include <string>

namespace zelmor::platform {

class ClientConnection : public QObject {
  Q_OBJECT
 public:
  ClientConnection(int fd, QObject* parent);
  ~ClientConnection() override;
  // Bytes that can be received now without waiting.
  int ReceiveLength() const;
  // Receives up to `max` bytes (fewer when fewer are pending).
  std::string ReceiveBuf(int max);
  int Handle() const { return FFd; }

 private:
  int FFd;
};

class SocketServer : public QObject {
  Q_OBJECT
 public:
  explicit SocketServer(QObject* parent = nullptr);
  ~SocketServer() override;

  // Listens on every local IPv4 address. Throws SocketError on failure with the
  // text "Windows socket error: <system text> (<errno>), on API '<call>'".
  void Open(quint16 port);
  bool Active() const { return FListenFd >= 0; }
  quint16 Port() const { return FPort; }
  int ClientCount() const { return static_cast<int>(FClients.size()); }

 signals:
  // Data is readable on `socket`.
  void ClientRead(zelmor::platform::ClientConnection* socket);
  // A receive error on a connection ("Asynchronous socket error <n>"); the connection is closed.
  void ClientError(const QString& message, int code);

 private:
  void Accept();
  void Readable(int fd);
  void Drop(int fd);

  int FListenFd = -1;
  quint16 FPort = 0;
  std::unique_ptr<QSocketNotifier> FAcceptNotifier;
  struct Client {
    ClientConnection* Connection;
    QSocketNotifier* Notifier;
  };
  std::map<int, Client> FClients;
};

class SocketError : public std::runtime_error {
 public:
  SocketError(const std::string& message, int code) : std::runtime_error(message), Code(code) {}
  int Code;
};

}  // namespace zelmor::platform
