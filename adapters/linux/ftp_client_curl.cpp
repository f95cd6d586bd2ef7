// FTP and FTPS (explicit TLS) through libcurl. One easy handle per connection: curl
// keeps the logged-in control connection in it between operations, so every
// transfer reuses the one login.
#include <curl/curl.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>

#include "adapters/linux/posix_files.h"
#include "adapters/linux/system_services.h"
#include "core/errors.h"
#include "core/text.h"
#include "platform/download_limits.h"

namespace zelmor::adapters {

namespace {

constexpr std::size_t kBuffer = 256 * 1024;

std::atomic<long> RateWindowSeconds{platform::kMinTransferRateWindowSeconds};

std::string Utf8(std::u16string_view s) { return U16ToUtf8(s, Utf8Invalid::Escape); }

void CurlGlobalInit() {
  static const bool done = [] { return curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; }();
  if (!done) throw ENetworkError(u"libcurl não pôde ser iniciada");
}

class CurlFtpConnection final : public platform::FtpConnection {
 public:
  CurlFtpConnection(const platform::FtpLogin& login, platform::FtpEvents& events)
      : FLogin(login), FEvents(events), FHandle(curl_easy_init()) {
    if (FHandle == nullptr) throw ENetworkError(u"libcurl não pôde criar uma conexão");
    std::string host = Utf8(login.Host);
    if (host.find(':') != std::string::npos && host.front() != '[') host = "[" + host + "]";
    FBase = "ftp://" + host + ":" + std::to_string(login.Port);
    // A directory URL with no body: connect, log in, nothing else. A failure ends the
    // object here, so the handle is released before the error leaves.
    try {
      Prepare(FBase + "/");
      curl_easy_setopt(FHandle, CURLOPT_NOBODY, 1L);
      Run();
    } catch (...) {
      curl_easy_cleanup(FHandle);
      FHandle = nullptr;
      throw;
    }
  }
  ~CurlFtpConnection() override {
    if (FHandle != nullptr) curl_easy_cleanup(FHandle);
  }

  bool Connected() override {
    if (FHandle == nullptr) return false;
    curl_socket_t s = CURL_SOCKET_BAD;
    return curl_easy_getinfo(FHandle, CURLINFO_ACTIVESOCKET, &s) == CURLE_OK && s != CURL_SOCKET_BAD;
  }

  void SetPassive() override { FPassive = true; }

  std::int64_t Size(std::u16string_view remote) override {
    Prepare(Url(remote));
    curl_easy_setopt(FHandle, CURLOPT_NOBODY, 1L);
    Run();
    curl_off_t size = -1;
    curl_easy_getinfo(FHandle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &size);
    return size;
  }

  void Retrieve(std::u16string_view remote, std::u16string_view local, std::int64_t maxBytes) override {
    const std::string path = posix::NativePath(local);
    // Written in pieces of kBuffer, each few megabytes handed to the disk at once:
    // the caller flushes the whole file before it takes its name.
    FOut.Reset(posix::Retry([&] { return open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666); }));
    if (!FOut)
      throw ENetworkError(u"Não foi possível criar \"" + std::u16string(local) + u"\": " +
                          Utf8ToU16(posix::ErrorText(errno)));
    FWriteBehind = {};
    FWritten = 0;
    FPending.clear();
    FPending.reserve(kBuffer + CURL_MAX_WRITE_SIZE);
    Prepare(Url(remote));
    curl_easy_setopt(FHandle, CURLOPT_WRITEFUNCTION, &CurlFtpConnection::OnWrite);
    curl_easy_setopt(FHandle, CURLOPT_WRITEDATA, this);
    FMaxBytes = maxBytes;
    // Refused before RETR when the server's size is already too large.
    if (maxBytes >= 0) curl_easy_setopt(FHandle, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(maxBytes));
    Transfer(false, -1);
  }

  void Append(std::u16string_view local, std::u16string_view remote) override {
    const std::string path = posix::NativePath(local);
    FFile = std::fopen(path.c_str(), "rbe");
    if (FFile == nullptr)
      throw ENetworkError(u"Não foi possível ler \"" + std::u16string(local) + u"\": " +
                          Utf8ToU16(posix::ErrorText(errno)));
    std::setvbuf(FFile, nullptr, _IOFBF, kBuffer);
    std::fseek(FFile, 0, SEEK_END);
    const long size = std::ftell(FFile);
    std::fseek(FFile, 0, SEEK_SET);
    Prepare(Url(remote));
    curl_easy_setopt(FHandle, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(FHandle, CURLOPT_APPEND, 1L);
    curl_easy_setopt(FHandle, CURLOPT_READFUNCTION, &CurlFtpConnection::OnRead);
    curl_easy_setopt(FHandle, CURLOPT_READDATA, this);
    curl_easy_setopt(FHandle, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(size));
    Transfer(true, size);
  }

  void Abort() override { FAbort = true; }

  void Disconnect() override {
    // Cleaning up the handle sends QUIT on a live connection and closes it.
    CURL* h = FHandle;
    FHandle = nullptr;
    if (h != nullptr) curl_easy_cleanup(h);
  }

 private:
  // "/web/a b.txt" -> ftp://host:port/%2Fweb/a%20b.txt (curl changes folder part by part).
  std::string Url(std::u16string_view remote) {
    const std::string path = Utf8(remote);
    for (char c : path)
      if (c == '\r' || c == '\n' || c == '\0')
        throw ENetworkError(u"Nome remoto inválido: \"" + std::u16string(remote) + u"\"");
    std::string url = FBase + "/";
    std::size_t from = 0;
    if (!path.empty() && path[0] == '/') {
      url += "%2F";  // an absolute path: the first folder is changed to from the root
      from = 1;
    }
    for (bool first = true; from <= path.size(); first = false) {
      std::size_t cut = path.find('/', from);
      if (cut == std::string::npos) cut = path.size();
      const std::string part = path.substr(from, cut - from);
      char* escaped = curl_easy_escape(FHandle, part.c_str(), static_cast<int>(part.size()));
      if (!first) url += '/';
      url += escaped != nullptr ? escaped : "";
      curl_free(escaped);
      from = cut + 1;
    }
    return url;
  }

  void Prepare(const std::string& url) {
    if (FHandle == nullptr) throw ENetworkError(u"Não conectado");
    // A reset keeps the live connection; every operation sets its own options again.
    curl_easy_reset(FHandle);
    FAbort = false;
    FTooLarge = false;
    FMaxBytes = -1;
    FServerError.clear();
    FErrorBuffer[0] = '\0';
    curl_easy_setopt(FHandle, CURLOPT_URL, url.c_str());
    curl_easy_setopt(FHandle, CURLOPT_USERNAME, Utf8(FLogin.User).c_str());
    curl_easy_setopt(FHandle, CURLOPT_PASSWORD, Utf8(FLogin.Password).c_str());
    curl_easy_setopt(FHandle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(FHandle, CURLOPT_TRANSFERTEXT, 0L);  // binary type
    // Larger reads than curl's 16 KiB: fewer callbacks and writes per megabyte.
    curl_easy_setopt(FHandle, CURLOPT_BUFFERSIZE, static_cast<long>(kBuffer));
    curl_easy_setopt(FHandle, CURLOPT_UPLOAD_BUFFERSIZE, static_cast<long>(kBuffer));
    if (FLogin.ExplicitTls) curl_easy_setopt(FHandle, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
    if (!FPassive) curl_easy_setopt(FHandle, CURLOPT_FTPPORT, "-");
    const long timeout = FLogin.TimeoutSeconds > 0 ? FLogin.TimeoutSeconds : 30;
    curl_easy_setopt(FHandle, CURLOPT_CONNECTTIMEOUT, timeout);
    curl_easy_setopt(FHandle, CURLOPT_SERVER_RESPONSE_TIMEOUT, timeout);
    curl_easy_setopt(FHandle, CURLOPT_ACCEPTTIMEOUT_MS, timeout * 1000);
    // A dripping server is as bad as a silent one: under the minimum rate for the
    // window, the transfer ends.
    curl_easy_setopt(FHandle, CURLOPT_LOW_SPEED_LIMIT, platform::kMinTransferBytesPerSecond);
    curl_easy_setopt(FHandle, CURLOPT_LOW_SPEED_TIME, std::min(timeout, RateWindowSeconds.load()));
    curl_easy_setopt(FHandle, CURLOPT_ERRORBUFFER, FErrorBuffer);
    curl_easy_setopt(FHandle, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(FHandle, CURLOPT_DEBUGFUNCTION, &CurlFtpConnection::OnDebug);
    curl_easy_setopt(FHandle, CURLOPT_DEBUGDATA, this);
    // Header lines curl makes up for FTP (Content-Length of a SIZE) are not wanted anywhere.
    curl_easy_setopt(FHandle, CURLOPT_HEADERFUNCTION, &CurlFtpConnection::OnHeader);
    curl_easy_setopt(FHandle, CURLOPT_WRITEFUNCTION, &CurlFtpConnection::OnHeader);
    curl_easy_setopt(FHandle, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(FHandle, CURLOPT_XFERINFOFUNCTION, &CurlFtpConnection::OnProgress);
    curl_easy_setopt(FHandle, CURLOPT_XFERINFODATA, this);
  }

  void Transfer(bool sending, std::int64_t total) {
    FSending = sending;
    FMoved = 0;
    FEvents.TransferStarted(sending, total);
    const CURLcode rc = curl_easy_perform(FHandle);
    bool closed = false;
    if (sending) {
      std::fclose(FFile);
      FFile = nullptr;
    } else {
      const bool flushed = rc != CURLE_OK || FlushPending();
      closed = close(FOut.Release()) != 0 || !flushed;
    }
    FEvents.TransferEnded();
    if (rc != CURLE_OK) Fail(rc);
    if (closed) throw ENetworkError(u"Não foi possível gravar o arquivo baixado");
  }

  void Run() {
    const CURLcode rc = curl_easy_perform(FHandle);
    if (rc != CURLE_OK) Fail(rc);
  }

  [[noreturn]] void Fail(CURLcode rc) {
    if (FTooLarge || rc == CURLE_FILESIZE_EXCEEDED)
      throw ENetworkError(u"Arquivo maior que o permitido (" + Utf8ToU16(std::to_string(FMaxBytes)) + u" bytes)");
    if (rc == CURLE_OPERATION_TIMEDOUT && FMoved > 0)
      throw ENetworkError(u"Transferência lenta demais (menos de " +
                          Utf8ToU16(std::to_string(platform::kMinTransferBytesPerSecond)) + u" bytes/s)");
    if (rc == CURLE_ABORTED_BY_CALLBACK || (FAbort && (rc == CURLE_WRITE_ERROR || rc == CURLE_READ_ERROR)))
      throw ENetworkError(u"Transferência cancelada");
    if (!FServerError.empty()) throw ENetworkError(Utf8ToU16(FServerError));
    throw ENetworkError(Explain(rc));
  }

  // What failed, in words the user can act on. curl's error buffer holds the first
  // complaint of the operation, which is not always the one that ended it (a data
  // connection the server closed early reads "sa_addr inet_ntop() failed"), so it
  // is shown only as the detail of failures it describes well.
  std::u16string Explain(CURLcode rc) const {
    const std::u16string server = FLogin.Host + u":" + Utf8ToU16(std::to_string(FLogin.Port));
    const std::u16string detail = Utf8ToU16(FErrorBuffer[0] != '\0' ? FErrorBuffer : curl_easy_strerror(rc));
    switch (rc) {
      case CURLE_PARTIAL_FILE: {
        curl_off_t expected = -1;
        curl_easy_getinfo(FHandle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &expected);
        std::u16string text =
            u"Arquivo incompleto: o servidor encerrou a transferência com " + Utf8ToU16(std::to_string(FMoved));
        if (expected >= 0) text += u" de " + Utf8ToU16(std::to_string(expected));
        return text + u" bytes. Tente novamente; se repetir, verifique o servidor FTP e a rede";
      }
      case CURLE_COULDNT_RESOLVE_HOST:
        return u"Servidor FTP \"" + FLogin.Host +
               u"\" não encontrado: verifique o nome do servidor e a conexão com a rede";
      case CURLE_COULDNT_CONNECT:
        return u"Não foi possível conectar ao servidor FTP " + server +
               u": verifique o endereço, a porta e se o servidor está no ar";
      case CURLE_OPERATION_TIMEDOUT:
        return u"O servidor FTP " + server + u" deixou de responder por " +
               Utf8ToU16(std::to_string(FLogin.TimeoutSeconds > 0 ? FLogin.TimeoutSeconds : 30)) +
               u" segundos: verifique a rede e o servidor";
      case CURLE_FTP_PORT_FAILED:
      case CURLE_FTP_ACCEPT_FAILED:
      case CURLE_FTP_ACCEPT_TIMEOUT:
        return u"O servidor FTP não abriu a conexão de dados do modo ativo (um firewall pode estar bloqueando): "
               u"use o modo passivo";
      case CURLE_FTP_WEIRD_PASV_REPLY:
      case CURLE_FTP_WEIRD_227_FORMAT:
      case CURLE_FTP_CANT_GET_HOST: return u"O servidor FTP não aceitou o modo passivo: use o modo ativo";
      case CURLE_SEND_ERROR:
      case CURLE_RECV_ERROR:
      case CURLE_GOT_NOTHING:
        return u"A conexão com o servidor FTP " + server + u" caiu durante a operação: tente novamente";
      case CURLE_WRITE_ERROR:
        return u"Não foi possível gravar o arquivo baixado: verifique o espaço livre e a permissão da pasta";
      case CURLE_READ_ERROR: return u"Não foi possível ler o arquivo a enviar";
      case CURLE_LOGIN_DENIED: return u"O servidor FTP recusou o usuário ou a senha";
      case CURLE_USE_SSL_FAILED: return u"O servidor FTP " + server + u" não aceitou a conexão segura (TLS)";
      case CURLE_SSL_CONNECT_ERROR:
      case CURLE_PEER_FAILED_VERIFICATION:
      case CURLE_SSL_CACERT_BADFILE:
        return u"Não foi possível estabelecer a conexão segura com o servidor FTP " + server +
               u" (o certificado do servidor pode não ser válido): " + detail;
      default: return u"Falha na comunicação com o servidor FTP " + server + u": " + Utf8ToU16(curl_easy_strerror(rc));
    }
  }

  static int OnDebug(CURL*, curl_infotype type, char* data, size_t size, void* self) {
    if (type != CURLINFO_HEADER_IN) return 0;
    auto* c = static_cast<CurlFtpConnection*>(self);
    std::string text(data, size);
    std::size_t from = 0;
    while (from < text.size()) {
      std::size_t cut = text.find('\n', from);
      if (cut == std::string::npos) cut = text.size();
      std::string line = text.substr(from, cut - from);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (!line.empty()) {
        if (line.size() >= 3 && (line[0] == '4' || line[0] == '5') && isdigit(static_cast<unsigned char>(line[1])) &&
            isdigit(static_cast<unsigned char>(line[2])))
          c->FServerError = line;
        c->FEvents.Status(Utf8ToU16(line, Utf8Invalid::Escape));
      }
      from = cut + 1;
    }
    return 0;
  }

  static size_t OnHeader(char*, size_t size, size_t count, void*) { return size * count; }

  static size_t OnWrite(char* data, size_t size, size_t count, void* self) {
    auto* c = static_cast<CurlFtpConnection*>(self);
    const size_t n = size * count;
    if (c->FMaxBytes >= 0 && c->FMoved + static_cast<std::int64_t>(n) > c->FMaxBytes) {
      c->FTooLarge = true;
      return 0;
    }
    if (c->FAbort) return 0;
    // curl hands over at most 16 KiB at a time: gathered into writes of kBuffer.
    c->FPending.append(data, n);
    if (c->FPending.size() >= kBuffer && !c->FlushPending()) return 0;
    c->FMoved += static_cast<std::int64_t>(n);
    c->FEvents.TransferProgress(false, c->FMoved);
    return c->FAbort ? 0 : n;
  }

  bool FlushPending() {
    const bool ok = posix::WriteAll(FOut.Get(), FPending);
    FWritten += FPending.size();
    FPending.clear();
    FWriteBehind.Wrote(FOut.Get(), FWritten);
    return ok;
  }

  static size_t OnRead(char* data, size_t size, size_t count, void* self) {
    auto* c = static_cast<CurlFtpConnection*>(self);
    if (c->FAbort) return CURL_READFUNC_ABORT;
    const size_t n = std::fread(data, 1, size * count, c->FFile);
    if (n == 0 && std::ferror(c->FFile)) return CURL_READFUNC_ABORT;
    c->FMoved += static_cast<std::int64_t>(n);
    if (n > 0) c->FEvents.TransferProgress(true, c->FMoved);
    return n;
  }

  static int OnProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<CurlFtpConnection*>(self)->FAbort ? 1 : 0;
  }

  platform::FtpLogin FLogin;
  platform::FtpEvents& FEvents;
  CURL* FHandle;
  std::string FBase;
  bool FPassive = false;
  std::atomic<bool> FAbort{false};
  std::string FServerError;
  char FErrorBuffer[CURL_ERROR_SIZE] = {};
  std::FILE* FFile = nullptr;  // the file an upload reads
  posix::FileDescriptor FOut;  // the file a download writes
  posix::WriteBehind FWriteBehind;
  std::string FPending;        // received, not yet written
  std::uint64_t FWritten = 0;  // written to FOut
  bool FSending = false;
  std::int64_t FMoved = 0;
  std::int64_t FMaxBytes = -1;
  bool FTooLarge = false;
};

class CurlFtpClients final : public platform::FtpClients {
 public:
  std::unique_ptr<platform::FtpConnection> Connect(const platform::FtpLogin& login,
                                                   platform::FtpEvents& events) override {
    CurlGlobalInit();
    return std::make_unique<CurlFtpConnection>(login, events);
  }
};

}  // namespace

void SetTransferRateWindowSeconds(long seconds) { RateWindowSeconds = seconds; }

platform::FtpClients& SystemFtpClients() {
  static CurlFtpClients clients;
  return clients;
}

}  // namespace zelmor::adapters
