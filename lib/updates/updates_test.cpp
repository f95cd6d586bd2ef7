// The update from the update server against a real FTP server on 127.0.0.1
// (pyftpdlib), with two builds of a small stamped program: the one installed and
// its successor on the server, published with a signed version list.
#include <gtest/gtest.h>

#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "adapters/linux/system_services.h"
#include "core/errors.h"
#include "core/integer_text.h"
#include "core/text.h"
#include "ftp/testdata/ftp_server_process.h"
#include "platform/signatures.h"
#include "platform/update_trust_store.h"
#include "testing/file_tree.h"
#include "testing/fixtures.h"
#include "testing/recorded_dialogs.h"
#include "updates/signed_list.h"
#include "updates/updates.h"

namespace zelmor {
namespace {

using testing::FileTree;
using testing::FtpServerProcess;
using Event = adapters::HeadlessDialogs::Event;

const char* const kScript = ZELMOR_FTP_TESTDATA "/ftp_server.py";
const char* const kRemote = "remoto/web/files/ombrix/Externo/";

std::string FileBytes(const char* path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void Chmod(const FileTree& t, const std::string& rel, unsigned mode) { ::chmod(t.Native(rel).c_str(), mode); }

std::string Hex(std::string_view raw) {
  std::string r;
  AppendHexBytes(r, raw);
  return r;
}

// The keys the test trusts, in place of the machine's store.
class TestTrustStore final : public platform::UpdateTrustStore {
 public:
  std::vector<platform::TrustedKeyFile> Files;
  std::vector<platform::TrustedKeyFile> KeyFiles() override { return Files; }
};

// What the program prints when run (its version), or "" when it does not run.
std::string RunOutput(const std::string& path) {
  std::FILE* p = popen(("'" + path + "' 2>/dev/null").c_str(), "r");
  if (!p) return "";
  std::string out;
  char buf[128];
  while (std::fgets(buf, sizeof buf, p)) out += buf;
  if (pclose(p) != 0) return "";
  while (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

// The installed program "app/caixa" at 1.0.0.9 (mode 0750), the running program
// "app/pdv" whose settings file names the server, and the server's folder with
// the version list and the 1.0.0.10 build.
class UpdateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!FtpServerProcess::Available()) GTEST_SKIP() << "python3-pyftpdlib is not installed";
    oldProgram = FileBytes(ZELMOR_OLD_PROGRAM);
    newProgram = FileBytes(ZELMOR_NEW_PROGRAM);
    ASSERT_FALSE(oldProgram.empty());
    ASSERT_NE(oldProgram, newProgram);
    t.Folder("app");
    t.Folder(kRemote);
    t.Write("app/caixa", oldProgram);
    Chmod(t, "app/caixa", 0750);
    // The first line of a name counts, names compared without case; a file without
    // a stamped version is listed without one.
    t.Write(std::string(kRemote) + "Versoes.ini", "caixa=1.0.0.10\r\nCaixa=9.0\r\nleiame.txt=\r\n");
    t.Write(std::string(kRemote) + "caixa", newProgram);
    t.Write(std::string(kRemote) + "leiame.txt", "Novidades\n");
    NewKey();
    store.Files = {{u"teste.pub", publicKeyText}};
    Sign();
  }
  // A new key pair for the publisher, in keys/update.key.
  void NewKey() {
    std::string publicKey;
    platform::Service<platform::Signatures>::Get().NewEd25519Key(privateKey, publicKey);
    publicKeyText = updates::PublicKeyText(publicKey);
    t.Folder("keys");
    t.Write("keys/update.key", updates::PrivateKeyText(privateKey));
  }
  // What `zelmor update sign` does to the server's folder.
  void Sign() { updates::SignFolder(t.Path(kRemote), t.Path("keys/update.key")); }
  // A list written by hand and signed with the publisher's key as it is.
  void SignAsIs(const std::string& list) {
    t.Write(std::string(kRemote) + "Versoes.ini", list);
    const std::string sig = platform::Service<platform::Signatures>::Get().SignEd25519(
        privateKey, std::string(updates::kSignatureContext) + list);
    t.Write(std::string(kRemote) + "Versoes.ini.sig", "ed25519 " + Hex(sig) + "\n");
  }
  // The digest line `zelmor update sign` writes for `bytes`.
  std::string DigestLine(const std::string& name, const std::string& bytes) {
    t.Write("digest.tmp", bytes);
    const updates::FileDigest d = updates::DigestFile(t.Path("digest.tmp"));
    return ";sha256 " + std::to_string(d.Size) + " " + d.Sha256 + " " + name + "\r\n";
  }
  void Start(std::vector<std::string> options = {}, const char* password = "s3nha") {
    options.insert(options.end(), {"--lifetime", "60"});
    server = std::make_unique<FtpServerProcess>(kScript, t.Native("remoto"), "caixa", "s3nha", options);
    ASSERT_GT(server->Port(), 0) << "the FTP server did not start";
    Settings(password);
  }
  void Settings(const char* password, const std::string& extra = "") {
    std::string ini = "[Outra]\r\nHost=10.0.0.1\r\n[Atualizacao]\r\nHost=127.0.0.1\r\nUsuario=caixa\r\n" + extra;
    if (*password) ini += std::string("Senha=") + password + "\r\n";
    ini += "Porta=" + std::to_string(server->Port()) + "\r\n";
    t.Write("app/pdv.ini", ini);
  }
  // GetExePorVersao of `names` (in app/); the error's message, or "" when none.
  std::u16string Update(std::vector<std::string> names, std::u16string& notes) {
    TzelArrayString paths;
    for (const auto& n : names) paths.push_back(t.Path("app/" + n));
    try {
      EXPECT_TRUE(TmFile::GetExePorVersao(paths, notes));
      return u"";
    } catch (const EZelmorError& e) {
      return e.Message();
    }
  }
  // The installed program is the old one, untouched and runnable, and nothing was
  // left beside it.
  void ExpectOldProgramIntact() const {
    EXPECT_TRUE(t.Read("app/caixa") == oldProgram);
    EXPECT_EQ(t.Mode("app/caixa"), 0750u);
    EXPECT_EQ(RunOutput(t.Native("app/caixa")), "1.0.0.9");
    EXPECT_FALSE(t.Exists("app/caixa.1009"));
  }

  FileTree t;
  testing::FixedProcessInfo process{t.Path("app/pdv")};
  TestTrustStore store;
  platform::Service<platform::UpdateTrustStore>::ScopedOverride trust{&store};
  std::string privateKey, publicKeyText;
  std::unique_ptr<FtpServerProcess> server;
  std::string oldProgram, newProgram;
};

TEST_F(UpdateTest, ANewerProgramReplacesTheOldWhichIsKeptUnderItsVersion) {
  Start();
  std::u16string notes = u"left from before";
  EXPECT_EQ(Update({"caixa", "leiame.txt"}, notes), u"");
  EXPECT_EQ(notes, u"");

  EXPECT_EQ(RunOutput(t.Native("app/caixa")), "1.0.0.10");
  EXPECT_EQ(t.Mode("app/caixa"), 0750u);  // the old file's mode, not a new file's
  EXPECT_EQ(RunOutput(t.Native("app/caixa.1009")), "1.0.0.9");
  EXPECT_TRUE(t.Read("app/caixa.1009") == oldProgram);
  EXPECT_EQ(t.Read("app/leiame.txt"), "Novidades\n");  // missing here: fetched
  EXPECT_EQ(t.Read("app/Versoes.ini"), t.Read(std::string(kRemote) + "Versoes.ini"));
  EXPECT_EQ(t.Names("app/Temp"), std::vector<std::string>{});

  // Again: the first line naming the program (case ignored) says 1.0.0.10, which
  // is what is installed; the text file has no version and is fetched again.
  EXPECT_EQ(Update({"caixa", "leiame.txt"}, notes), u"");
  EXPECT_EQ(notes, u"\r-O arquivo caixa já possui a última versão");
  EXPECT_EQ(RunOutput(t.Native("app/caixa")), "1.0.0.10");
  EXPECT_TRUE(t.Read("app/caixa.1009") == oldProgram);
  EXPECT_EQ(t.Names("app"), (std::vector<std::string>{"Temp", "Versoes.ini", "Versoes.ini.sig", "caixa", "caixa.1009",
                                                      "leiame.", "leiame.txt", "pdv.ini"}));
}

TEST_F(UpdateTest, AFailedStepLeavesTheOldProgramInPlace) {
  struct Case {
    const char* what;
    std::vector<std::string> serverOptions;
    const char* password;
    std::function<void(const FileTree&)> prepare;
    std::u16string message;  // the error starts so
  };
  const std::u16string app = t.Path("app/");
  const Case cases[] = {
      {"no password in the settings", {}, "", nullptr, u"Erro ao conectar no ftp (ZelmorFTP.Password vazio)"},
      {"wrong password", {}, "errada", nullptr, u"Erro ao conectar no ftp ("},
      {"no version list on the server",
       {},
       "s3nha",
       [](const FileTree& f) { std::remove(f.Native(std::string(kRemote) + "Versoes.ini").c_str()); },
       u"Não possivel efetuar o download do arquivo de versões (550 "},
      {"program missing on the server",
       {},
       "s3nha",
       [](const FileTree& f) { std::remove(f.Native(std::string(kRemote) + "caixa").c_str()); },
       u"Não possivel efetuar o download do arquivo caixa (550 "},
      {"transfer cut short with success reported",
       {"--short-retr", "4096"},
       "s3nha",
       nullptr,
       u"Não possivel efetuar o download do arquivo caixa ("},
      {"the name for the old version is taken",
       {},
       "s3nha",
       [](const FileTree& f) { f.Write("app/caixa.1009", "outro"); },
       u"Não possivel renomear o arquivo " + app + u"caixa para " + app + u"caixa.1009"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    t.Write("app/caixa", oldProgram);
    Chmod(t, "app/caixa", 0750);
    std::remove(t.Native("app/caixa.1009").c_str());
    SetUp();
    if (c.prepare) c.prepare(t);
    Start(c.serverOptions, c.password);
    std::u16string notes;
    const std::u16string error = Update({"caixa"}, notes);
    EXPECT_EQ(error.substr(0, c.message.size()), c.message) << U16ToUtf8(error);
    if (t.Exists("app/caixa.1009")) {
      EXPECT_TRUE(t.Read("app/caixa.1009") == "outro");
      std::remove(t.Native("app/caixa.1009").c_str());
    }
    ExpectOldProgramIntact();
    server.reset();
  }
}

TEST_F(UpdateTest, AReadOnlyProgramIsUpdatedAndStaysReadOnly) {
  Chmod(t, "app/caixa", 0550);
  Start();
  std::u16string notes;
  EXPECT_EQ(Update({"caixa"}, notes), u"");
  EXPECT_EQ(RunOutput(t.Native("app/caixa")), "1.0.0.10");
  EXPECT_EQ(t.Mode("app/caixa"), 0550u);
  EXPECT_EQ(RunOutput(t.Native("app/caixa.1009")), "1.0.0.9");
  EXPECT_EQ(t.Mode("app/caixa.1009"), 0550u);
}

TEST_F(UpdateTest, AFolderThatFillsUpDuringTheUpdateKeepsTheOldProgram) {
  // In a child with a mount namespace of its own, the program's folder is a tmpfs
  // with room for the program, the settings, the version list and its signature and
  // the download, but not for the copy of the old file made before the new one
  // takes its place.
  Start();
  t.Folder("small");
  const std::string small = t.Native("small");
  // In pages: the old program and the download (twice the program), the settings,
  // the list and its signature (one each), and half the room the copy needs.
  const std::size_t pages = (oldProgram.size() + 4095) / 4096;
  const std::string size = "size=" + std::to_string((2 * pages + 3 + pages / 2) * 4096);
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount("tmpfs", small.c_str(), "tmpfs", 0, size.c_str()) != 0)
      _exit(77);
    t.Write("small/caixa", oldProgram);
    Chmod(t, "small/caixa", 0750);
    t.Write("small/pdv.ini", t.Read("app/pdv.ini"));
    testing::FixedProcessInfo here(t.Path("small/pdv"));
    std::u16string notes;
    int code = 0;
    try {
      TmFile::GetExePorVersao({t.Path("small/caixa")}, notes);
      code = 10;
    } catch (const EZelmorError& e) {
      if (e.Message() !=
          u"Não possivel renomear o arquivo " + t.Path("small/caixa") + u" para " + t.Path("small/caixa.1009"))
        code = 11;
    }
    if (t.Read("small/caixa") != oldProgram || RunOutput(small + "/caixa") != "1.0.0.9") code = 12;
    if (t.Mode("small/caixa") != 0750u) code = 13;
    if (t.Exists("small/caixa.1009")) code = 14;
    _exit(code);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status)) << status;
  if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "no mount namespace with a tmpfs here";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "10 no error, 11 another error, 12 old program changed, 13 mode, 14 copy left";
}

TEST_F(UpdateTest, AServerThatDiesMidTransferLeavesTheOldProgram) {
  // A large file sent slowly, and the server killed once the first bytes are here.
  std::string big = newProgram;
  big.resize(2'000'000, '\0');
  t.Write(std::string(kRemote) + "caixa", big);
  Sign();
  Start({"--rate", "100000"});
  std::thread killer([&] {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (std::chrono::steady_clock::now() < deadline) {
      if (t.Exists("app/Temp/.caixa.download") && !t.Read("app/Temp/.caixa.download").empty()) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    server->Kill();
  });
  std::u16string notes;
  const std::u16string error = Update({"caixa"}, notes);
  killer.join();
  const std::u16string expected = u"Não possivel efetuar o download do arquivo caixa (";
  EXPECT_EQ(error.substr(0, expected.size()), expected) << U16ToUtf8(error);
  ExpectOldProgramIntact();
  EXPECT_FALSE(t.Exists("app/Temp/caixa"));
}

TEST_F(UpdateTest, AFullDiskLeavesTheOldProgram) {
  // A child whose files may not grow past 4 KiB: the version list fits, the program
  // does not. Told EFBIG (SIGXFSZ ignored), or killed by the signal mid-write.
  Start();
  for (bool killed : {false, true}) {
    SCOPED_TRACE(killed ? "killed" : "told");
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      signal(SIGXFSZ, killed ? SIG_DFL : SIG_IGN);
      rlimit lim{4096, 4096};
      setrlimit(RLIMIT_FSIZE, &lim);
      std::u16string notes;
      try {
        TmFile::GetExePorVersao({t.Path("app/caixa")}, notes);
      } catch (const EZelmorError& e) {
        _exit(e.Message().rfind(u"Não possivel efetuar o download do arquivo caixa (", 0) == 0 ? 3 : 4);
      }
      _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (killed)
      EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << status;
    else
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 3) << status;
    ExpectOldProgramIntact();
  }
}

TEST_F(UpdateTest, TheUserIsToldUnderTheWaitWindow) {
  struct Case {
    const char* what;
    bool current;  // the program is already at the server's version
    const char* password;
    bool avisarSeJa, avisarFoi;
    bool result;
    std::vector<std::u16string> messages;
    platform::DialogKind kind;
  };
  const Case cases[] = {
      {"updated, told so",
       false,
       "s3nha",
       false,
       true,
       true,
       {u"Executavel atualizado com sucesso"},
       platform::DialogKind::Information},
      {"updated, not told", false, "s3nha", true, false, true, {}, platform::DialogKind::Information},
      {"already current, warned",
       true,
       "s3nha",
       true,
       true,
       true,
       {u"Avisos :\r-O arquivo caixa já possui a última versão"},
       platform::DialogKind::Warning},
      {"already current, not warned", true, "s3nha", false, true, true, {}, platform::DialogKind::Warning},
      {"failure, always shown",
       false,
       "errada",
       false,
       false,
       false,
       {u"Erro ao atualizar executável. Msg.Original: Erro ao conectar no ftp ("},
       platform::DialogKind::Error},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    t.Write("app/caixa", c.current ? newProgram : oldProgram);
    std::remove(t.Native("app/caixa.1009").c_str());
    Start({}, c.password);
    testing::RecordedDialogs dialogs;
    EXPECT_EQ(TmFile::GetAtualizaExe(t.Path("app/caixa"), c.avisarSeJa, c.avisarFoi), c.result);
    EXPECT_EQ(RunOutput(t.Native("app/caixa")), c.result ? "1.0.0.10" : "1.0.0.9");

    const auto waits = dialogs.Of(Event::WaitShown);
    ASSERT_FALSE(waits.empty());
    EXPECT_EQ(waits.front()->Text, u"Aguarde...");
    EXPECT_EQ(waits.front()->Headline, u"Atualizando arquivos");
    EXPECT_FALSE(dialogs.Wait.Open);
    EXPECT_FALSE(dialogs.Wait.BarShown || dialogs.Wait.AllowCancel);
    ASSERT_EQ(dialogs.Messages.size(), c.messages.size());
    if (c.messages.empty()) continue;
    const std::u16string& shown = dialogs.Messages.front();
    EXPECT_EQ(shown.substr(0, c.messages.front().size()), c.messages.front()) << U16ToUtf8(shown);
    const auto windows = dialogs.Of(Event::MessageWindow);
    ASSERT_FALSE(windows.empty());
    EXPECT_EQ(windows.front()->Kind, c.kind);
    server.reset();
  }
}

TEST_F(UpdateTest, AnAttackIsRefusedAndTheProgramStaysByteIdentical) {
  const std::string remote = kRemote;
  struct Case {
    const char* what;
    std::vector<std::string> serverOptions;
    std::function<void()> prepare;
    std::u16string message;  // the error starts so
  };
  const Case cases[] = {
      {"a substituted file (one byte changed)",
       {},
       [&] {
         std::string evil = newProgram;
         evil[evil.size() / 2] ^= 1;
         t.Write(remote + "caixa", evil);
       },
       u"arquivo diferente do publicado: caixa"},
      {"a shell script for the program",
       {},
       [&] { t.Write(remote + "caixa", "#!/bin/sh\necho 9.9.9.9\n"); },
       u"arquivo diferente do publicado: caixa"},
      {"a list signed with a key nobody trusts",
       {},
       [&] {
         NewKey();
         Sign();
       },
       u"assinatura inválida: a lista de versões não foi assinada por uma chave confiável"},
      {"a signature over another list",
       {},
       [&] {
         std::string list = t.Read(remote + "Versoes.ini");
         list.replace(list.find("1.0.0.10"), 8, "1.0.0.11");
         t.Write(remote + "Versoes.ini", list);
       },
       u"assinatura inválida: a lista de versões não foi assinada por uma chave confiável"},
      {"no trusted key at all",
       {},
       [&] { store.Files.clear(); },
       u"assinatura inválida: não há chave de atualização confiável"},
      {"a stamped version that differs from its line",
       {},
       [&] { SignAsIs("caixa=1.0.0.11\r\n" + DigestLine("caixa", newProgram)); },
       u"versão do arquivo diferente da lista: caixa tem \"1.0.0.10\", a lista diz \"1.0.0.11\""},
      {"a program the signed list does not cover",
       {},
       [&] { SignAsIs("caixa=1.0.0.10\r\n"); },
       u"arquivo diferente do publicado: caixa não está na lista assinada"},
      {"an unsigned server",
       {},
       [&] { std::remove(t.Native(remote + "Versoes.ini.sig").c_str()); },
       u"O servidor de atualização não publica a assinatura da lista de versões (Versoes.ini.sig: 550 "},
      // The client stops at the size the server gave; the server then says it was cut.
      {"an endless download (its SIZE is the real file's)",
       {"--endless-retr", "caixa"},
       nullptr,
       u"Não possivel efetuar o download do arquivo caixa (426 "},
      {"an endless version list without SIZE",
       {"--no-size", "--endless-retr", "Versoes.ini"},
       nullptr,
       u"Não possivel efetuar o download do arquivo de versões (Arquivo maior que o permitido (4194304 bytes)"},
      {"a SIZE that claims 500 MB",
       {"--size", "500000000"},
       nullptr,
       u"Não possivel efetuar o download do arquivo de versões (Arquivo maior que o permitido (4194304 bytes)"},
      {"a SIZE that claims 500 MB, the list served without one",
       {"--no-size", "--endless-retr", "caixa"},
       nullptr,
       u"Não possivel efetuar o download do arquivo caixa (Arquivo maior que o permitido ("},
      {"a dripping server",
       {"--drip-retr", "caixa"},
       nullptr,
       u"Não possivel efetuar o download do arquivo caixa (Transferência lenta demais"},
  };
  // A window of 2 s rather than 30: the dripping server is given up sooner.
  adapters::SetTransferRateWindowSeconds(2);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    t.Write("app/caixa", oldProgram);
    Chmod(t, "app/caixa", 0750);
    SetUp();
    if (c.prepare) c.prepare();
    Start(c.serverOptions);
    std::u16string notes;
    const std::u16string error = Update({"caixa"}, notes);
    EXPECT_EQ(error.substr(0, c.message.size()), c.message) << U16ToUtf8(error);
    ExpectOldProgramIntact();
    EXPECT_EQ(t.Names("app/Temp"), std::vector<std::string>{});
    server.reset();
  }
  adapters::SetTransferRateWindowSeconds(30);
}

TEST_F(UpdateTest, AKeyFileOthersMayChangeIsRefused) {
  // The machine's store, over a folder of the test: root's, writable by root alone.
  t.Folder("trust");
  t.Write("trust/publicador.pub", publicKeyText);
  Chmod(t, "trust", 0755);
  Chmod(t, "trust/publicador.pub", 0644);
  const std::unique_ptr<platform::UpdateTrustStore> machine = adapters::UpdateTrustStoreAt(t.Native("trust"));
  platform::Service<platform::UpdateTrustStore>::ScopedOverride use(machine.get());
  if (geteuid() != 0) GTEST_SKIP() << "the keys' owner must be root";
  Start();
  struct Case {
    const char* what;
    const char* entry;
    unsigned mode;
    uid_t owner;
    std::u16string why;
  };
  const Case cases[] = {
      {"a key writable by others", "trust/publicador.pub", 0646, 0, u"pode ser alterado pelo grupo ou por outros"},
      {"a key writable by the group", "trust/publicador.pub", 0664, 0, u"pode ser alterado pelo grupo ou por outros"},
      {"a key of another user", "trust/publicador.pub", 0644, 65534, u"não pertence ao root"},
      {"a folder writable by others", "trust", 0757, 0, u"pode ser alterado pelo grupo ou por outros"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Chmod(t, c.entry, c.mode);
    ASSERT_EQ(::chown(t.Native(c.entry).c_str(), c.owner, 0), 0);
    std::u16string notes;
    const std::u16string error = Update({"caixa"}, notes);
    const std::u16string expected = u"Chave de atualização recusada: \"" + t.Path(c.entry) + u"\" " + c.why;
    EXPECT_EQ(error, expected);
    ExpectOldProgramIntact();
    Chmod(t, c.entry, std::string(c.entry) == "trust" ? 0755 : 0644);
    ASSERT_EQ(::chown(t.Native(c.entry).c_str(), 0, 0), 0);
  }
  // Put right, the same store verifies the list.
  std::u16string notes;
  EXPECT_EQ(Update({"caixa"}, notes), u"");
  EXPECT_EQ(RunOutput(t.Native("app/caixa")), "1.0.0.10");
}

TEST_F(UpdateTest, AReplayedOlderSignedListChangesNothing) {
  // Installed: 1.0.0.10. The server replays the publisher's earlier list and program.
  t.Write("app/caixa", newProgram);
  Chmod(t, "app/caixa", 0750);
  t.Write(std::string(kRemote) + "caixa", oldProgram);
  t.Write(std::string(kRemote) + "Versoes.ini", "caixa=1.0.0.9\r\n");
  Sign();
  Start();
  std::u16string notes;
  EXPECT_EQ(Update({"caixa"}, notes), u"");
  EXPECT_EQ(notes, u"\r-O arquivo caixa já possui a última versão");
  EXPECT_TRUE(t.Read("app/caixa") == newProgram);
  EXPECT_EQ(t.Names("app"), (std::vector<std::string>{"Temp", "Versoes.ini", "Versoes.ini.sig", "caixa", "pdv.ini"}));
}

TEST_F(UpdateTest, AnUnsignedServerIsUsedOnlyWhenTheSettingsAllowIt) {
  std::remove(t.Native(std::string(kRemote) + "Versoes.ini.sig").c_str());
  Start();
  Settings("s3nha", "ExigirAssinatura=0\r\n");
  for (int run = 0; run < 2; ++run) {
    SCOPED_TRACE(run);
    ::testing::internal::CaptureStderr();
    std::u16string notes;
    const std::u16string error = Update({"caixa"}, notes);
    const std::string warned = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(error, u"");
    EXPECT_EQ(RunOutput(t.Native("app/caixa")), "1.0.0.10");
    // One warning line for each update.
    EXPECT_EQ(warned,
              "Aviso: atualização sem assinatura (ExigirAssinatura=0 em [Atualizacao]): os arquivos baixados não são "
              "verificados\n");
  }
}

TEST_F(UpdateTest, AKilledUpdateLeavesTheOldOrTheWholeNewProgram) {
  // A 2 MB build sent at 2 MB/s; the updating process is killed at moments spread
  // over the download, the checks and the replacement.
  std::string big = newProgram;
  big.resize(2'000'000, '\0');
  t.Write(std::string(kRemote) + "caixa", big);
  Sign();
  Start({"--rate", "2000000"});
  bool sawOld = false, sawNew = false;
  for (int delayMs : {100, 400, 700, 900, 1000, 1100, 1200, 1400, 1800, 3000}) {
    SCOPED_TRACE(delayMs);
    t.Write("app/caixa", oldProgram);
    Chmod(t, "app/caixa", 0750);
    std::remove(t.Native("app/caixa.1009").c_str());
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      std::u16string notes;
      try {
        TmFile::GetExePorVersao({t.Path("app/caixa")}, notes);
      } catch (...) {
        _exit(1);
      }
      _exit(0);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    const std::string now = t.Read("app/caixa");
    const bool isOld = now == oldProgram, isNew = now == big;
    EXPECT_TRUE(isOld || isNew) << now.size() << " bytes";
    EXPECT_EQ(RunOutput(t.Native("app/caixa")), isNew ? "1.0.0.10" : "1.0.0.9");
    EXPECT_EQ(t.Mode("app/caixa"), 0750u);
    sawOld = sawOld || isOld;
    sawNew = sawNew || isNew;
  }
  EXPECT_TRUE(sawOld);  // killed mid-way at least once
}

// Peak resident size of an update of a 500 MB program, measured in a child process
// that does nothing else.
TEST_F(UpdateTest, AnUpdateOfA500MegabyteProgramStaysUnder64MiB) {
  constexpr long kSize = 500L << 20;
  t.Write(std::string(kRemote) + "caixa", newProgram);
  ASSERT_EQ(::truncate(t.Native(std::string(kRemote) + "caixa").c_str(), kSize), 0);  // sparse on the server
  const auto started = std::chrono::steady_clock::now();
  Sign();
  const double signSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  Start();
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    std::u16string notes;
    try {
      TmFile::GetExePorVersao({t.Path("app/caixa")}, notes);
    } catch (const EZelmorError& e) {
      std::fprintf(stderr, "%s\n", U16ToUtf8(e.Message()).c_str());
      _exit(1);
    }
    _exit(0);
  }
  int status = 0;
  rusage usage{};
  ASSERT_EQ(wait4(pid, &status, 0, &usage), pid);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(RunOutput(t.Native("app/caixa")), "1.0.0.10");
  struct stat st {};
  ASSERT_EQ(::stat(t.Native("app/caixa").c_str(), &st), 0);
  EXPECT_EQ(st.st_size, kSize);
  std::printf("update of a 500 MB program: peak resident size %ld KiB; signing (reading and digesting) it %.2f s\n",
              usage.ru_maxrss, signSeconds);
  EXPECT_LT(usage.ru_maxrss, 64L * 1024);
}

}  // namespace
}  // namespace zelmor
