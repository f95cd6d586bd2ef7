// What the FTP transfer object needs from an FTP client: one logged-in connection
// reused for its transfers, in binary type, passive or active, with the size of a
// remote file, retrieving and appending, and notifications while data moves.
// Errors are thrown as ENetworkError whose message is the server's last error line
// ("550 No such file or directory.") when the server gave one, else the client's text.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/service.h"

namespace zelmor::platform {

struct FtpLogin {
  std::u16string Host;  // a name or an address
  std::uint16_t Port = 21;
  std::u16string User, Password;
  bool ExplicitTls = false;  // AUTH TLS on the control and data connections, required
  // A server silent for this long (no reply, no data) ends the operation with an error;
  // a transfer slower than kMinTransferBytesPerSecond (platform/download_limits.h) over
  // this long or over that file's rate window, the shorter, ends too.
  int TimeoutSeconds = 30;
};

// Notifications of one connection, called in the thread that runs the transfer,
// while the transfer call is still in progress.
class FtpEvents {
 public:
  virtual ~FtpEvents() = default;
  // A transfer starts; `total` is the bytes expected (-1 when unknown).
  virtual void TransferStarted(bool sending, std::int64_t total) = 0;
  // Bytes moved so far, called as data moves.
  virtual void TransferProgress(bool sending, std::int64_t bytes) = 0;
  // The transfer ended, well or not.
  virtual void TransferEnded() = 0;
  // A line the server answered, as it came ("226 Transfer complete.").
  virtual void Status(std::u16string_view text) = 0;
};

// Remote paths are "/"-separated; each part is checked by the caller, and the client
// refuses a part holding a line break or NUL all the same.
class FtpConnection {
 public:
  virtual ~FtpConnection() = default;
  // Whether the control connection is still open.
  virtual bool Connected() = 0;
  // Data connections from now on are passive (the server listens); before, active.
  virtual void SetPassive() = 0;
  // The SIZE of a remote file; -1 when the server does not say. Throws.
  virtual std::int64_t Size(std::u16string_view remote) = 0;
  // RETR into the local file `local` (created or truncated), streamed to it. With
  // `maxBytes` >= 0 a file larger than that is refused, before RETR when the server
  // says its size, else as soon as the excess arrives. Throws.
  virtual void Retrieve(std::u16string_view remote, std::u16string_view local, std::int64_t maxBytes = -1) = 0;
  // APPE of the local file to `remote` (created when missing). Throws.
  virtual void Append(std::u16string_view local, std::u16string_view remote) = 0;
  // Asks the transfer under way to stop (it then throws); callable from a notification.
  virtual void Abort() = 0;
  // QUIT and close. Throws when the server could not be told.
  virtual void Disconnect() = 0;
};

class FtpClients {
 public:
  static constexpr const char* kServiceName = "FTP client";
  virtual ~FtpClients() = default;
  // Connects and logs in; binary type. `events` must outlive the connection. Throws.
  virtual std::unique_ptr<FtpConnection> Connect(const FtpLogin& login, FtpEvents& events) = 0;
};

}  // namespace zelmor::platform
