// TZelmorFTP over the platform's FTP client: settings checks, safe remote and local
// names, whole-or-nothing downloads, and the client's notifications turned into
// the object's events.
#include <exception>
#include <string>

#include "core/errors.h"
#include "core/text.h"
#include "files/files.h"
#include "ftp/ZelmorFileTransferProtocol.h"
#include "platform/file_system.h"

namespace zelmor {

namespace ftp {

std::u16string UnsafeRemotePath(std::u16string_view path) {
  for (char16_t c : path)
    if (c == u'\r' || c == u'\n' || c == u'\0') return u"tem quebra de linha ou caractere nulo";
  std::size_t from = 0;
  while (from <= path.size()) {
    std::size_t cut = path.find(u'/', from);
    if (cut == std::u16string_view::npos) cut = path.size();
    if (path.substr(from, cut - from) == u"..") return u"sai da pasta (\"..\")";
    from = cut + 1;
  }
  return {};
}

}  // namespace ftp

namespace {

using SV = std::u16string_view;

const char16_t* const kNaoInicializado = u"ioFTP não foi inicializado (método ZelmorFTP.Conectar)";

std::u16string CheckedRemote(SV path) {
  const std::u16string why = ftp::UnsafeRemotePath(path);
  if (!why.empty()) throw ENetworkError(u"Caminho remoto inválido \"" + std::u16string(path) + u"\": " + why);
  return std::u16string(path);
}

// The name part after the last "/" or "\" (a Windows server's paths use either).
std::u16string LastPart(SV path) {
  const std::size_t cut = path.find_last_of(u"/\\");
  return std::u16string(cut == SV::npos ? path : path.substr(cut + 1));
}

}  // namespace

// The client's notifications, turned into the object's events. A handler's error
// cannot cross the client, so it stops the transfer and is reported after it.
class TZelmorFTP::Events final : public platform::FtpEvents {
 public:
  explicit Events(TZelmorFTP& owner) : FOwner(owner) {}

  void TransferStarted(bool sending, std::int64_t total) override {
    if (sending) FOwner.iiMax = total;
    Guard([&] {
      if (FOwner.OnInicio) FOwner.OnInicio(&FOwner);
    });
  }
  void TransferProgress(bool, std::int64_t bytes) override {
    if (!FOwner.OnProgresso) return;
    const std::int64_t p = FOwner.iiMax > 0 ? bytes * 100 / FOwner.iiMax : 0;
    if (p == FOwner.iiLastPerc) return;
    FOwner.iiLastPerc = p;
    Guard([&] { FOwner.OnProgresso(&FOwner, static_cast<int>(p)); });
  }
  void TransferEnded() override {
    Guard([&] {
      if (FOwner.OnTermino) FOwner.OnTermino(&FOwner);
    });
  }
  void Status(SV text) override {
    Guard([&] {
      if (FOwner.OnStatus) FOwner.OnStatus(&FOwner, text);
    });
  }

 private:
  template <class F>
  void Guard(F&& f) {
    try {
      f();
    } catch (const EZelmorError& e) {
      Stop(e.Message());
    } catch (const std::exception& e) {
      Stop(std::u16string(e.what(), e.what() + std::char_traits<char>::length(e.what())));
    }
  }
  void Stop(std::u16string message) {
    if (FOwner.FHandlerError.empty()) FOwner.FHandlerError = std::move(message);
    if (FOwner.ioFTP) FOwner.ioFTP->Abort();
  }

  TZelmorFTP& FOwner;
};

TZelmorFTP::TZelmorFTP() : FEvents(std::make_unique<Events>(*this)) {}

TZelmorFTP::~TZelmorFTP() { Release(); }

void TZelmorFTP::Release() noexcept {
  try {
    Desconectar();
  } catch (...) {
  }
}

void TZelmorFTP::Conectar() {
  if (ioFTP) Release();
  if (isHost.empty()) throw EArgumentError(u"ZelmorFTP.Host vazio");
  if (isUsername.empty()) throw EArgumentError(u"ZelmorFTP.UserName vazio");
  if (isPassword.empty()) throw EArgumentError(u"ZelmorFTP.Password vazio");
  if (iiPort == 0) throw EArgumentError(u"ZelmorFTP.Porta zero");
  platform::FtpLogin login;
  login.Host = isHost;
  for (SV scheme : {SV(u"ftpes://"), SV(u"ftp://")}) {
    if (SV(login.Host).substr(0, scheme.size()) == scheme) {
      login.ExplicitTls = scheme == u"ftpes://";
      login.Host.erase(0, scheme.size());
      break;
    }
  }
  login.Port = static_cast<std::uint16_t>(iiPort & 0xFFFF);
  login.User = isUsername;
  login.Password = isPassword;
  login.TimeoutSeconds = iiTimeout;
  // A failed connection leaves no client behind.
  ioFTP = platform::Service<platform::FtpClients>::Get().Connect(login, *FEvents);
}

void TZelmorFTP::Desconectar() {
  if (!ioFTP) return;
  if (FInTransfer) {  // called from an event: the transfer releases it when it returns
    FReleaseAfterTransfer = true;
    ioFTP->Abort();
    return;
  }
  std::unique_ptr<platform::FtpConnection> client = std::move(ioFTP);
  client->Disconnect();
}

bool TZelmorFTP::Conectado() const { return ioFTP && ioFTP->Connected(); }

void TZelmorFTP::Abortar() {
  try {
    // Asked of the client whatever it says of its connection: mid-transfer it may not say.
    if (!ioFTP) return;
    ioFTP->Abort();
    Desconectar();
  } catch (...) {
  }
}

void TZelmorFTP::BeginTransfer(SV source) {
  if (!ioFTP) throw ENetworkError(kNaoInicializado);
  iiLastPerc = -1;
  fArquivoOrigem = source;
  FHandlerError.clear();
  FInTransfer = true;
}

void TZelmorFTP::EndTransfer() {
  FInTransfer = false;
  fArquivoOrigem.clear();
  if (FReleaseAfterTransfer) {
    FReleaseAfterTransfer = false;
    Release();
  }
}

bool TZelmorFTP::Download(SV ArquivoOrigem, SV PastaDestino, bool abModePassive) {
  BeginTransfer(ArquivoOrigem);
  platform::FileSystem& fs = platform::Service<platform::FileSystem>::Get();
  std::u16string partial;
  try {
    const std::u16string remote = CheckedRemote(ArquivoOrigem);
    const std::u16string name = LastPart(ArquivoOrigem);
    if (name.empty() || name == u"." || name == u"..")
      throw ENetworkError(u"Nome de arquivo inválido: \"" + std::u16string(ArquivoOrigem) + u"\"");
    const std::u16string folder = TmFile::DirBarra(PastaDestino);
    const std::u16string local = folder + name;
    iiMax = ioFTP->Size(remote);
    // Never more than the server said, nor than the caller allows: a SIZE that lies
    // or an endless answer ends as soon as the excess arrives.
    std::int64_t most = iiMax >= 0 ? iiMax : -1;
    if (iiLimite >= 0 && (most < 0 || iiLimite < most)) most = iiLimite;
    if (iiLimite >= 0 && iiMax > iiLimite)
      throw ENetworkError(u"Arquivo maior que o permitido (" + Utf8ToU16(std::to_string(iiLimite)) + u" bytes)");
    if (abModePassive) ioFTP->SetPassive();
    // The bytes arrive in a hidden file beside the target, which takes the name
    // only when the whole file is there.
    partial = folder + u"." + name + u".download";
    if (fs.EntryExists(partial)) fs.DeleteFile(partial);
    ioFTP->Retrieve(remote, partial, most);
    if (!FHandlerError.empty()) throw ENetworkError(FHandlerError);
    // A server that closes the data connection early may still report success.
    const std::int64_t received = fs.Stat(partial).Size;
    if (iiMax >= 0 && received != iiMax)
      throw ENetworkError(u"Arquivo incompleto: recebidos " + Utf8ToU16(std::to_string(received)) + u" de " +
                          Utf8ToU16(std::to_string(iiMax)) + u" bytes");
    // One step from the old file to the new: a failure or a crash here leaves one of the two.
    std::u16string why;
    if (!fs.MoveReplacing(partial, local, &why))
      throw EFileError(u"Não foi possível gravar \"" + local + u"\": " + why);
    EndTransfer();
    return true;
  } catch (const EZelmorError& e) {
    isMsgErro = FHandlerError.empty() ? e.Message() : FHandlerError;
    if (!partial.empty() && fs.EntryExists(partial)) fs.DeleteFile(partial);
    EndTransfer();
    return false;
  }
}

bool TZelmorFTP::Upload(SV ArquivoOrigem, SV PastaDestino) {
  BeginTransfer(ArquivoOrigem);
  try {
    const std::u16string name = LastPart(ArquivoOrigem);
    if (name.empty() || name == u"." || name == u"..")
      throw ENetworkError(u"Nome de arquivo inválido: \"" + std::u16string(ArquivoOrigem) + u"\"");
    std::u16string remote(PastaDestino);
    if (!remote.empty() && remote.back() != u'/') remote += u'/';
    remote = CheckedRemote(remote + name);
    if (OnStatus) OnStatus(this, u"Upload:" + fArquivoOrigem);
    ioFTP->Append(ArquivoOrigem, remote);
    if (!FHandlerError.empty()) throw ENetworkError(FHandlerError);
    EndTransfer();
    return true;
  } catch (const EZelmorError& e) {
    isMsgErro = FHandlerError.empty() ? e.Message() : FHandlerError;
    EndTransfer();
    return false;
  }
}

namespace {

// The one-call forms: connect (its errors reach the caller), transfer, disconnect.
template <class Transfer>
bool OneCall(SV aHost, SV aUserName, SV aPass, int aPort, Transfer&& transfer) {
  TZelmorFTP ftp;
  ftp.SetHost(aHost);
  ftp.SetUsername(aUserName);
  ftp.SetPassword(aPass);
  ftp.SetPort(aPort);
  ftp.Conectar();
  const bool ok = transfer(ftp);
  ftp.Desconectar();
  return ok;
}

}  // namespace

bool TZelmorFTP::Download(SV aHost, SV aUserName, SV aPass, int aPort, SV aArquivoOrigem, SV aPastaDestino) {
  return OneCall(aHost, aUserName, aPass, aPort,
                 [&](TZelmorFTP& ftp) { return ftp.Download(aArquivoOrigem, aPastaDestino, false); });
}

bool TZelmorFTP::Upload(SV aHost, SV aUserName, SV aPass, int aPort, SV aArquivoOrigem, SV aPastaDestino) {
  return OneCall(aHost, aUserName, aPass, aPort,
                 [&](TZelmorFTP& ftp) { return ftp.Upload(aArquivoOrigem, aPastaDestino); });
}

}  // namespace zelmor
