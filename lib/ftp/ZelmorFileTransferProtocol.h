// TZelmorFTP: one FTP login reused for downloads into a local folder and uploads
// (appends) into a remote folder, with events for the transfer's start, its
// percentage (reported only when it changes), its end and the server's status lines.
//
// Remote paths are "/"-separated; a part holding a line break or NUL, or a ".."
// step, is refused, so no name can send another command or leave its folder.
// Downloads go to a hidden file beside the target and take its name only when
// complete (as many bytes as the server's SIZE said, when it said): a failed or
// cut-short transfer never leaves a truncated file under the real name.
// A Host written "ftpes://name" asks for explicit TLS (AUTH TLS, required).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/ftp_client.h"

namespace zelmor {

class TZelmorFTP {
 public:
  using TProgressoEvent = std::function<void(TZelmorFTP* Sender, int Percentual)>;
  using TStatusEvent = std::function<void(TZelmorFTP* Sender, std::u16string_view Texto)>;
  using TNotifyEvent = std::function<void(TZelmorFTP* Sender)>;

  TZelmorFTP();
  // Disconnects; errors are swallowed.
  ~TZelmorFTP();
  TZelmorFTP(const TZelmorFTP&) = delete;
  TZelmorFTP& operator=(const TZelmorFTP&) = delete;

  const std::u16string& Host() const { return isHost; }
  void SetHost(std::u16string_view v) { isHost = v; }
  int Port() const { return iiPort; }
  void SetPort(int v) { iiPort = v; }
  const std::u16string& Username() const { return isUsername; }
  void SetUsername(std::u16string_view v) { isUsername = v; }
  const std::u16string& Password() const { return isPassword; }
  void SetPassword(std::u16string_view v) { isPassword = v; }
  // The last transfer error (the server's line, "550 ..."); a later success keeps it.
  const std::u16string& MsgErro() const { return isMsgErro; }
  // The source of the transfer under way; empty otherwise.
  const std::u16string& ArquivoOrigem() const { return fArquivoOrigem; }
  // How long a silent server is waited for before an operation fails (30 s).
  int TimeoutSegundos() const { return iiTimeout; }
  void SetTimeoutSegundos(int v) { iiTimeout = v; }
  // The most bytes a download may bring (-1, the default: no limit but the server's
  // SIZE, which a file never exceeds); a larger file fails without being read on.
  std::int64_t LimiteBytes() const { return iiLimite; }
  void SetLimiteBytes(std::int64_t v) { iiLimite = v; }

  TProgressoEvent OnProgresso;
  TStatusEvent OnStatus;
  TNotifyEvent OnInicio;
  TNotifyEvent OnTermino;

  // Checks the settings ("ZelmorFTP.Host vazio", "ZelmorFTP.UserName vazio",
  // "ZelmorFTP.Password vazio", "ZelmorFTP.Porta zero", EArgumentError), then
  // connects and logs in; a connection error is raised (ENetworkError) and leaves
  // the object not connected.
  void Conectar();
  // Closes the connection; the client is released even when that fails.
  void Desconectar();
  bool Conectado() const;
  // Stops the transfer under way and disconnects; never raises. From an event the
  // transfer ends with an error and the connection is released when it returns.
  void Abortar();

  // Downloads remote `ArquivoOrigem` into local folder `PastaDestino` under its name.
  // `abModePassive` switches to passive mode for the rest of the connection (false
  // leaves the mode as it is; a new connection starts active). False with the error
  // in MsgErro; raises when not connected.
  bool Download(std::u16string_view ArquivoOrigem, std::u16string_view PastaDestino, bool abModePassive);
  // Appends local `ArquivoOrigem` to PastaDestino + "/" + its name on the server.
  bool Upload(std::u16string_view ArquivoOrigem, std::u16string_view PastaDestino);

  // Connect, transfer, disconnect in one call; connection errors are raised.
  static bool Download(std::u16string_view aHost, std::u16string_view aUserName, std::u16string_view aPass, int aPort,
                       std::u16string_view aArquivoOrigem, std::u16string_view aPastaDestino);
  static bool Upload(std::u16string_view aHost, std::u16string_view aUserName, std::u16string_view aPass, int aPort,
                     std::u16string_view aArquivoOrigem, std::u16string_view aPastaDestino);

 protected:
  class Events;
  std::int64_t iiMax = 0;
  std::int64_t iiLastPerc = -1;
  std::u16string isHost;
  int iiPort = 0;
  std::u16string isUsername;
  std::u16string isPassword;
  std::u16string isMsgErro;
  std::u16string fArquivoOrigem;
  int iiTimeout = 30;
  std::int64_t iiLimite = -1;

 private:
  void BeginTransfer(std::u16string_view source);
  void EndTransfer();
  void Release() noexcept;

  std::unique_ptr<Events> FEvents;  // outlives the client that calls it
  std::unique_ptr<platform::FtpConnection> ioFTP;
  bool FInTransfer = false;
  bool FReleaseAfterTransfer = false;
  std::u16string FHandlerError;
};

namespace ftp {

// `path` checked part by part: empty when every part is a plain name, else why not.
//   UnsafeRemotePath(u"/web/files/a.ini") == u""; UnsafeRemotePath(u"a/../b") != u""
std::u16string UnsafeRemotePath(std::u16string_view path);

}  // namespace ftp

}  // namespace zelmor
