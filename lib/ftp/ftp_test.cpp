// TZelmorFTP against a real FTP server on 127.0.0.1 (pyftpdlib), started by each test.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/errors.h"
#include "core/text.h"
#include "ftp/ZelmorFileTransferProtocol.h"
#include "ftp/testdata/ftp_server_process.h"
#include "testing/file_tree.h"

namespace zelmor {
namespace {

using testing::FileTree;
using testing::FtpServerProcess;

const char* const kScript = ZELMOR_FTP_TESTDATA "/ftp_server.py";
const char16_t* const kNaoInicializado = u"ioFTP não foi inicializado (método ZelmorFTP.Conectar)";

// A server with its own folders: "remoto" served, "local" for the client, and the
// server's command log.
class FtpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!FtpServerProcess::Available()) GTEST_SKIP() << "python3-pyftpdlib is not installed";
  }
  void Start(std::vector<std::string> options = {}) {
    t.Folder("remoto");
    t.Folder("local");
    options.insert(options.end(), {"--log", t.Native("comandos.log"), "--lifetime", "60"});
    server = std::make_unique<FtpServerProcess>(kScript, t.Native("remoto"), "caixa", "s3nha", options);
    ASSERT_GT(server->Port(), 0) << "the FTP server did not start";
  }
  void Settings(TZelmorFTP& ftp) const {
    ftp.SetHost(u"127.0.0.1");
    ftp.SetPort(server->Port());
    ftp.SetUsername(u"caixa");
    ftp.SetPassword(u"s3nha");
  }
  // The commands the server received, in order, from `from` on.
  std::vector<std::string> Commands() const {
    std::vector<std::string> out;
    if (!t.Exists("comandos.log")) return out;
    std::istringstream in(t.Read("comandos.log"));
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
  }
  static bool Has(const std::vector<std::string>& commands, std::initializer_list<const char*> any) {
    for (const auto& c : commands)
      for (const char* a : any)
        if (c == a) return true;
    return false;
  }

  FileTree t;
  std::unique_ptr<FtpServerProcess> server;
};

TEST(FtpSettingsTest, SettingsAreCheckedBeforeConnecting) {
  struct {
    const char16_t *host, *user, *pass;
    int port;
    const char16_t* message;
  } cases[] = {
      {u"", u"", u"", 0, u"ZelmorFTP.Host vazio"},
      {u"127.0.0.1", u"", u"x", 21, u"ZelmorFTP.UserName vazio"},
      {u"127.0.0.1", u"u", u"", 21, u"ZelmorFTP.Password vazio"},
      {u"127.0.0.1", u"u", u"x", 0, u"ZelmorFTP.Porta zero"},
  };
  for (const auto& c : cases) {
    TZelmorFTP ftp;
    ftp.SetHost(c.host);
    ftp.SetUsername(c.user);
    ftp.SetPassword(c.pass);
    ftp.SetPort(c.port);
    try {
      ftp.Conectar();
      ADD_FAILURE() << "no error for " << U16ToUtf8(c.message);
    } catch (const EZelmorError& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
    EXPECT_FALSE(ftp.Conectado());
  }
  // Transfers without a client raise, and leave no source behind.
  TZelmorFTP ftp;
  try {
    ftp.Download(u"/a.txt", u"/tmp", false);
    ADD_FAILURE() << "no error";
  } catch (const EZelmorError& e) {
    EXPECT_EQ(e.Message(), kNaoInicializado);
  }
  EXPECT_THROW(ftp.Upload(u"/tmp/a.txt", u"/"), EZelmorError);
  ftp.Abortar();  // never raises
  ftp.Desconectar();
}

TEST(FtpSettingsTest, RemotePathsArePlainNames) {
  struct {
    const char16_t* path;
    bool safe;
  } cases[] = {
      {u"/web/files/Versoes.ini", true},
      {u"a.txt", true},
      {u"pasta/..a", true},
      {u"../a.txt", false},
      {u"/web/../etc/x", false},
      {u"a.txt\r\nDELE b", false},
      {u"a\nb", false},
      {u"..", false},
  };
  for (const auto& c : cases) EXPECT_EQ(ftp::UnsafeRemotePath(c.path).empty(), c.safe) << U16ToUtf8(c.path);
}

TEST_F(FtpTest, LoginFailuresAreRaised) {
  Start();
  TZelmorFTP ftp;
  Settings(ftp);
  ftp.SetPassword(u"errada");
  try {
    ftp.Conectar();
    ADD_FAILURE() << "logged in with a wrong password";
  } catch (const ENetworkError& e) {
    EXPECT_EQ(e.Message().substr(0, 3), u"530") << U16ToUtf8(e.Message());
  }
  EXPECT_FALSE(ftp.Conectado());
  EXPECT_THROW(ftp.Download(u"a.txt", t.Path("local"), false), EZelmorError);
  // Nobody listening.
  Settings(ftp);
  server.reset();
  EXPECT_THROW(ftp.Conectar(), ENetworkError);
  EXPECT_FALSE(ftp.Conectado());
}

TEST_F(FtpTest, DownloadsOneLoginPassiveStays) {
  Start();
  std::string big(1000, 'x');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
  t.Write("remoto/web/files/Versoes.ini", big);
  t.Write("remoto/raiz.txt", "raiz");
  t.Write("local/Versoes.ini", "antigo");

  TZelmorFTP ftp;
  Settings(ftp);
  std::vector<int> percents;
  int inicio = 0, termino = 0;
  std::vector<std::u16string> status;
  std::u16string origemDuranteTransferencia;
  ftp.OnProgresso = [&](TZelmorFTP* s, int p) {
    EXPECT_EQ(s, &ftp);
    percents.push_back(p);
    origemDuranteTransferencia = s->ArquivoOrigem();
  };
  ftp.OnInicio = [&](TZelmorFTP*) { ++inicio; };
  ftp.OnTermino = [&](TZelmorFTP*) { ++termino; };
  ftp.OnStatus = [&](TZelmorFTP*, std::u16string_view text) { status.emplace_back(text); };
  ftp.Conectar();
  ASSERT_TRUE(ftp.Conectado());

  // Active first (a new connection starts active).
  ASSERT_TRUE(ftp.Download(u"/web/files/Versoes.ini", t.Path("local"), false)) << U16ToUtf8(ftp.MsgErro());
  EXPECT_TRUE(t.Read("local/Versoes.ini") == big);
  EXPECT_EQ(ftp.ArquivoOrigem(), u"");
  EXPECT_EQ(origemDuranteTransferencia, u"/web/files/Versoes.ini");
  EXPECT_EQ(inicio, 1);
  EXPECT_EQ(termino, 1);
  ASSERT_FALSE(percents.empty());
  EXPECT_EQ(percents.back(), 100);
  for (std::size_t i = 1; i < percents.size(); ++i) EXPECT_GT(percents[i], percents[i - 1]);  // each once
  EXPECT_FALSE(status.empty());
  std::vector<std::string> commands = Commands();
  EXPECT_TRUE(Has(commands, {"EPRT", "PORT"}));
  EXPECT_FALSE(Has(commands, {"EPSV", "PASV"}));
  EXPECT_TRUE(Has(commands, {"SIZE"}));
  EXPECT_TRUE(Has(commands, {"TYPE"}));

  // Passive once asked for, and then for good.
  t.Write("comandos.log", "");
  ASSERT_TRUE(ftp.Download(u"raiz.txt", t.Path("local/"), true));
  ASSERT_TRUE(ftp.Download(u"/web/files/Versoes.ini", t.Path("local"), false));
  commands = Commands();
  EXPECT_TRUE(Has(commands, {"EPSV", "PASV"}));
  EXPECT_FALSE(Has(commands, {"EPRT", "PORT"}));
  // One login for every transfer.
  EXPECT_FALSE(Has(commands, {"USER", "PASS"}));
  EXPECT_EQ(t.Read("local/raiz.txt"), "raiz");
  ftp.Desconectar();
  EXPECT_FALSE(ftp.Conectado());
  EXPECT_TRUE(Has(Commands(), {"QUIT"}));
  EXPECT_EQ(t.Names("local"), (std::vector<std::string>{"Versoes.ini", "raiz.txt"}));  // nothing left beside
}

// Files of every size around the points where the client hands what it has written
// to the disk arrive whole, over the one login, and replace what was there.
TEST_F(FtpTest, LargeDownloadsArriveWhole) {
  Start();
  const std::size_t sizes[] = {0, 1, (8u << 20) - 1, 8u << 20, (8u << 20) + 1, (19u << 20) + 12345};
  std::vector<std::string> contents;
  for (std::size_t size : sizes) {
    std::string bytes(size, '\0');
    std::uint32_t x = static_cast<std::uint32_t>(size) | 1;
    for (char& b : bytes) b = static_cast<char>((x = x * 1103515245u + 12345u) >> 24);
    t.Write("remoto/f" + std::to_string(size), bytes);
    t.Write("local/f" + std::to_string(size), "antigo");
    contents.push_back(std::move(bytes));
  }
  TZelmorFTP ftp;
  Settings(ftp);
  ftp.Conectar();
  for (std::size_t i = 0; i < std::size(sizes); ++i) {
    const std::string name = "f" + std::to_string(sizes[i]);
    SCOPED_TRACE(name);
    ASSERT_TRUE(ftp.Download(Utf8ToU16(name), t.Path("local"), true)) << U16ToUtf8(ftp.MsgErro());
    EXPECT_TRUE(t.Read("local/" + name) == contents[i]);
  }
  ftp.Desconectar();
  EXPECT_EQ(t.Names("local").size(), std::size(sizes));  // nothing left beside
}

TEST_F(FtpTest, ErrorsKeepTheServersLine) {
  Start();
  t.Write("remoto/ok.txt", "ok");
  t.Write("local/falta.txt", "o de antes");
  TZelmorFTP ftp;
  Settings(ftp);
  ftp.Conectar();
  EXPECT_FALSE(ftp.Download(u"/falta.txt", t.Path("local"), true));
  EXPECT_EQ(ftp.MsgErro().substr(0, 4), u"550 ") << U16ToUtf8(ftp.MsgErro());
  EXPECT_EQ(ftp.ArquivoOrigem(), u"");
  EXPECT_EQ(t.Read("local/falta.txt"), "o de antes");  // a failure never touches the real name
  const std::u16string erro = ftp.MsgErro();
  EXPECT_TRUE(ftp.Download(u"ok.txt", t.Path("local"), false));  // the connection is still good
  EXPECT_EQ(ftp.MsgErro(), erro);                                // and the error stays
  EXPECT_TRUE(ftp.Conectado());

  // Names that would send another command or climb out are refused before the server sees them.
  t.Write("comandos.log", "");
  for (const char16_t* bad : {u"ok.txt\r\nDELE ok.txt", u"../ok.txt", u"/a/../ok.txt", u"/pasta/"}) {
    EXPECT_FALSE(ftp.Download(bad, t.Path("local"), false)) << U16ToUtf8(bad);
    EXPECT_NE(ftp.MsgErro(), erro);
  }
  EXPECT_FALSE(Has(Commands(), {"DELE", "RETR"}));
  EXPECT_TRUE(t.Exists("remoto/ok.txt"));
  // A local folder that does not exist.
  EXPECT_FALSE(ftp.Download(u"ok.txt", t.Path("naoexiste"), false));
}

TEST_F(FtpTest, UploadsAppend) {
  Start();
  t.Folder("remoto/entrada");
  t.Write("local/dez.txt", "0123456789");
  TZelmorFTP ftp;
  Settings(ftp);
  std::vector<std::u16string> status;
  std::vector<int> percents;
  ftp.OnStatus = [&](TZelmorFTP*, std::u16string_view text) { status.emplace_back(text); };
  ftp.OnProgresso = [&](TZelmorFTP*, int p) { percents.push_back(p); };
  ftp.Conectar();
  EXPECT_TRUE(ftp.Upload(t.Path("local/dez.txt"), u"/entrada")) << U16ToUtf8(ftp.MsgErro());
  EXPECT_TRUE(ftp.Upload(t.Path("local/dez.txt"), u"entrada/")) << U16ToUtf8(ftp.MsgErro());
  EXPECT_EQ(t.Read("remoto/entrada/dez.txt"), "01234567890123456789");
  EXPECT_NE(std::find(status.begin(), status.end(), u"Upload:" + t.Path("local/dez.txt")), status.end());
  EXPECT_EQ(percents.back(), 100);
  EXPECT_TRUE(Has(Commands(), {"APPE"}));
  EXPECT_FALSE(Has(Commands(), {"STOR"}));
  // A missing local file, and a remote folder that does not exist.
  EXPECT_FALSE(ftp.Upload(t.Path("local/falta.txt"), u"/entrada"));
  EXPECT_FALSE(ftp.Upload(t.Path("local/dez.txt"), u"/naoexiste"));
  EXPECT_EQ(ftp.MsgErro().substr(0, 1), u"5") << U16ToUtf8(ftp.MsgErro());
  EXPECT_FALSE(ftp.Upload(t.Path("local/dez.txt"), u"/entrada/../.."));

  // The one-call forms connect, transfer and disconnect.
  t.Folder("baixado");
  EXPECT_TRUE(TZelmorFTP::Upload(u"127.0.0.1", u"caixa", u"s3nha", server->Port(), t.Path("local/dez.txt"), u"/"));
  EXPECT_EQ(t.Read("remoto/dez.txt"), "0123456789");
  EXPECT_TRUE(TZelmorFTP::Download(u"127.0.0.1", u"caixa", u"s3nha", server->Port(), u"/dez.txt", t.Path("baixado")));
  EXPECT_EQ(t.Read("baixado/dez.txt"), "0123456789");
  EXPECT_FALSE(TZelmorFTP::Download(u"127.0.0.1", u"caixa", u"s3nha", server->Port(), u"/nada", t.Path("baixado")));
  EXPECT_THROW(TZelmorFTP::Download(u"127.0.0.1", u"caixa", u"x", server->Port(), u"/dez.txt", t.Path("baixado")),
               ENetworkError);
}

TEST_F(FtpTest, AbortInTheMiddle) {
  Start({"--rate", "1000000"});  // 4 MB at 1 MB/s: about 4 s unless aborted
  t.Write("remoto/grande.bin", std::string(4 << 20, 'g'));
  t.Write("local/grande.bin", "o de antes");
  TZelmorFTP ftp;
  Settings(ftp);
  int last = -1;
  ftp.OnProgresso = [&](TZelmorFTP* s, int p) {
    last = p;
    if (p >= 5) s->Abortar();
  };
  ftp.Conectar();
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(ftp.Download(u"grande.bin", t.Path("local"), true));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  EXPECT_GE(last, 5);
  EXPECT_LT(last, 100);
  EXPECT_FALSE(ftp.MsgErro().empty());
  EXPECT_FALSE(ftp.Conectado());
  EXPECT_TRUE(t.Read("local/grande.bin") == "o de antes");
  EXPECT_EQ(t.Names("local"), std::vector<std::string>{"grande.bin"});
  try {
    ftp.Download(u"grande.bin", t.Path("local"), true);
    ADD_FAILURE() << "transfer without a client";
  } catch (const EZelmorError& e) {
    EXPECT_EQ(e.Message(), kNaoInicializado);
  }
}

TEST_F(FtpTest, AStallingServerTimesOut) {
  Start({"--stall-retr", "8"});
  t.Write("remoto/lento.txt", "lento");
  TZelmorFTP ftp;
  Settings(ftp);
  ftp.SetTimeoutSegundos(1);
  ftp.Conectar();
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(ftp.Download(u"lento.txt", t.Path("local"), true));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(6));
  EXPECT_FALSE(ftp.MsgErro().empty());
  EXPECT_EQ(t.Names("local"), std::vector<std::string>{});
}

TEST_F(FtpTest, ExplicitTlsWhenTheHostAsksForIt) {
  if (std::system("/usr/bin/python3 -c 'import OpenSSL' >/dev/null 2>&1") != 0 ||
      std::system("command -v openssl >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "pyOpenSSL or openssl is not installed";
  // A certificate no authority signed: a client that verifies must refuse it.
  const std::string pem = t.Native("servidor.pem");
  ASSERT_EQ(std::system(("openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=127.0.0.1 -keyout '" + pem +
                         "' -out '" + pem + ".crt' >/dev/null 2>&1 && cat '" + pem + ".crt' >> '" + pem + "'")
                            .c_str()),
            0);
  Start({"--tls", pem});
  TZelmorFTP ftp;
  Settings(ftp);
  // Plain FTP is turned away by a server that requires TLS...
  EXPECT_THROW(ftp.Conectar(), ENetworkError);
  // ...and "ftpes://" negotiates it, then refuses the unverified certificate.
  ftp.SetHost(u"ftpes://127.0.0.1");
  try {
    ftp.Conectar();
    ADD_FAILURE() << "an unverified certificate was accepted";
  } catch (const ENetworkError& e) {
    EXPECT_FALSE(e.Message().empty());
  }
  EXPECT_FALSE(ftp.Conectado());
  EXPECT_TRUE(Has(Commands(), {"AUTH"}));
}

// A server that closes the data connection early and still reports success: the
// message says what happened in words, in either mode, and names no system call.
TEST_F(FtpTest, ADownloadCutShortSaysSoInWords) {
  Start({"--short-retr", "4096"});
  t.Write("remoto/grande.bin", std::string(1 << 20, 'g'));
  t.Write("local/grande.bin", "o de antes");
  TZelmorFTP ftp;
  Settings(ftp);
  ftp.Conectar();
  for (const bool passive : {false, true}) {
    SCOPED_TRACE(passive ? "passive" : "active");
    EXPECT_FALSE(ftp.Download(u"grande.bin", t.Path("local"), passive));
    EXPECT_EQ(ftp.MsgErro(),
              u"Arquivo incompleto: o servidor encerrou a transferência com 4096 de 1048576 bytes. Tente "
              u"novamente; se repetir, verifique o servidor FTP e a rede");
    for (const char16_t* jargon : {u"errno", u"inet_ntop", u"sa_addr", u"remaining to read"})
      EXPECT_EQ(ftp.MsgErro().find(jargon), std::u16string::npos) << U16ToUtf8(ftp.MsgErro());
    EXPECT_TRUE(t.Read("local/grande.bin") == "o de antes");
  }
}

}  // namespace
}  // namespace zelmor
