// A TCP listener as the display needs it: accepts connections on a port and hands
// them over one at a time; a connection tells how many bytes wait and gives them
// up without waiting. Nothing here blocks or owns a thread: the caller's event loop
// watches the handles and calls in when one turns readable.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/service.h"

namespace zelmor::platform {

// Why a socket call failed, as far as the caller acts on it. The system's number
// comes along only for the message that shows it.
struct SocketFailure {
  enum class Kind {
    None,          // nothing failed (for Accept: no connection was waiting)
    TryAgain,      // a signal interrupted the call, or a connection died while queued
    OutOfHandles,  // the process or the system has no descriptor left
    Other,         // anything else: the message says what
  };
  Kind What = Kind::None;
  int SystemCode = 0;

  explicit operator bool() const { return What != Kind::None; }
};

// A socket call that failed. The message names the call and the system's reason:
// "Windows socket error: Address already in use (98), on API 'bind'".
class SocketError : public std::runtime_error {
 public:
  SocketError(const std::string& message, SocketFailure failure) : std::runtime_error(message), Failure(failure) {}
  SocketFailure Failure;
};

// What a connection whose handle turned readable holds.
enum class ConnectionState {
  Data,     // bytes are waiting
  Nothing,  // nothing yet (a wake-up with nothing to read)
  Closed,   // the peer closed the connection
  Failed,   // the connection failed; a SocketFailure says why
};

// One accepted connection. Destroying it closes it.
class TcpConnection {
 public:
  virtual ~TcpConnection() = default;
  // What an event loop watches for readability (a file descriptor on this system).
  virtual std::intptr_t Handle() const = 0;
  // Bytes that can be received now without waiting; 0 when none (or on error).
  virtual int PendingBytes() const = 0;
  // Receives up to `max` bytes without waiting: fewer when fewer wait, none when none do.
  virtual std::string Receive(int max) = 0;
  // Looks at the connection after its handle turned readable. `failure` says why
  // when the answer is Failed.
  virtual ConnectionState State(SocketFailure& failure) = 0;
};

// A listening socket. Destroying it stops listening; accepted connections live on.
class TcpListener {
 public:
  virtual ~TcpListener() = default;
  virtual std::intptr_t Handle() const = 0;
  // The port listened on (the one the system chose when 0 was asked for).
  virtual std::uint16_t Port() const = 0;
  // The next waiting connection, or nullptr when none can be taken now; `failure`
  // (when given) then says why: None when none was waiting, OutOfHandles when the
  // process is out of handles (the connection stays queued), TryAgain, Other.
  // Accepted connections probe an idle peer (TCP keepalive), so a terminal that was
  // switched off is found dead within minutes instead of never.
  virtual std::unique_ptr<TcpConnection> Accept(SocketFailure* failure = nullptr) = 0;
};

class TcpSockets {
 public:
  static constexpr const char* kServiceName = "TCP sockets";
  virtual ~TcpSockets() = default;
  // Listens on every local IPv4 address at `port` (0: any free port), reusing a port
  // left in TIME_WAIT by an earlier run. Raises SocketError.
  virtual std::unique_ptr<TcpListener> Listen(std::uint16_t port) = 0;
  // Takes over a connected stream socket made elsewhere (one end of a socket pair).
  virtual std::unique_ptr<TcpConnection> Adopt(std::intptr_t handle) = 0;
  // How many connections the program can hold open at once and still have handles
  // left for everything else it does (files, the window system); at least 1.
  virtual int ConnectionCapacity() = 0;
};

}  // namespace zelmor::platform
