// The version routines through `zelmor call`: comparisons by name, the version our
// own built program is stamped with, and a whole update from a real FTP server.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "ftp/testdata/ftp_server_process.h"
#include "testing/file_tree.h"
#include "tests/process_util.h"

namespace zelmor::testing {
namespace {

using nlohmann::json;

TEST(UpdatesCall, VersionsComparedAndReadFromTheTool) {
  const auto lines = ZelmorBatch({
      R"j(["mFile.VersaoMaior","1.2","1.10","tcMaior"])j",
      R"j(["TmFile.VersaoMaior","1.2","1.2","tcMenor"])j",
      R"j(["TmFile.NovaVersao"," ","1.0"])j",
      R"j(["TmFile.GetVersaoArquivo","/nonexistent/zelmor-no-such-file"])j",
  });
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], json::parse(R"j({"result":true})j"));
  EXPECT_EQ(lines[1], json::parse(R"j({"result":false})j"));
  EXPECT_EQ(lines[2], json::parse(R"j({"result":true})j"));
  EXPECT_EQ(lines[3], json::parse(R"j({"result":""})j"));
}

// Runs `zelmor` with `args` in a mount namespace of its own where /etc is an overlay
// holding /etc/zelmor/update-keys/loja.pub: the machine's trust store as a till has it,
// the machine's own /etc untouched. Exit code 77 when no such namespace can be made.
ProcessResult RunAsTill(const FileTree& t, const std::string& zelmor, const std::string& publicKey,
                        const std::vector<std::string>& args, const std::string& input) {
  t.Folder("overlay/upper");
  t.Folder("overlay/work");
  std::string script =
      "mount -t overlay overlay -o lowerdir=/etc,upperdir=\"$1\",workdir=\"$2\" /etc 2>/dev/null || exit 77\n"
      "install -d -m 0755 /etc/zelmor/update-keys && install -m 0644 \"$3\" /etc/zelmor/update-keys/loja.pub\n"
      "shift 3\nexec \"$@\"\n";
  std::vector<std::string> all = {"-m",
                                  "--propagation",
                                  "private",
                                  "/bin/sh",
                                  "-c",
                                  script,
                                  "till",
                                  t.Native("overlay/upper"),
                                  t.Native("overlay/work"),
                                  publicKey,
                                  zelmor};
  all.insert(all.end(), args.begin(), args.end());
  return RunProcess("/usr/bin/unshare", all, input, std::chrono::seconds(60));
}

// The publisher makes a key and signs the server's folder with the tool; a till, whose
// trust store holds the public key, updates a program folder from the real FTP server.
// The tool sits in the till's program folder (linked, or copied where a link cannot be
// made), so that its folder and settings file are the test's.
TEST(UpdatesCall, APublishedReleaseIsVerifiedAndInstalledByATill) {
  if (!FtpServerProcess::Available()) GTEST_SKIP() << "python3-pyftpdlib is not installed";
  FileTree t;
  t.Folder("app");
  const std::string remote = "remoto/web/files/ombrix/Externo/";
  t.Folder(remote);
  // The tool is its program and the modules of services it loads (FTP, signatures, ...) beside it.
  std::vector<std::string> files{"zelmor"};
  for (const auto& entry : std::filesystem::directory_iterator(BinDir())) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("zelmor-", 0) == 0 && entry.path().extension() == ".so") files.push_back(name);
  }
  for (const std::string& file : files) {
    std::error_code ec;
    std::filesystem::create_hard_link(BinDir() + "/" + file, t.Native("app/" + file), ec);
    if (ec) std::filesystem::copy_file(BinDir() + "/" + file, t.Native("app/" + file));
  }
  std::filesystem::copy_file(ZELMOR_OLD_PROGRAM, t.Native("app/caixa"));
  std::filesystem::copy_file(ZELMOR_NEW_PROGRAM, t.Native(remote + "caixa"));
  t.Write(remote + "Versoes.ini", "caixa=1.0.0.10\r\n");

  // The publisher's side.
  const std::string zelmor = BinDir() + "/zelmor";
  const ProcessResult keygen = RunProcess(zelmor, {"update", "keygen", t.Native("chaves")});
  ASSERT_EQ(keygen.ExitCode, 0) << keygen.Err;
  EXPECT_EQ(t.Mode("chaves/update.key"), 0600u);
  EXPECT_EQ(t.Read("chaves/update.pub").rfind("ed25519 ", 0), 0u);
  const ProcessResult again = RunProcess(zelmor, {"update", "keygen", t.Native("chaves")});
  EXPECT_EQ(again.ExitCode, 1);  // an existing key is never overwritten
  const ProcessResult sign =
      RunProcess(zelmor, {"update", "sign", t.Native(remote), "--key", t.Native("chaves/update.key")});
  ASSERT_EQ(sign.ExitCode, 0) << sign.Err;
  EXPECT_EQ(sign.Out, "signed caixa\n" + t.Native(remote) + "/Versoes.ini.sig\n");
  EXPECT_EQ(t.Read(remote + "Versoes.ini").rfind("caixa=1.0.0.10\r\n;sha256 ", 0), 0u);

  FtpServerProcess server(ZELMOR_FTP_TESTDATA "/ftp_server.py", t.Native("remoto"), "caixa", "s3nha",
                          {"--lifetime", "60"});
  ASSERT_GT(server.Port(), 0);
  t.Write("app/zelmor.ini", "[Atualizacao]\r\nHost=127.0.0.1\r\nUsuario=caixa\r\nSenha=s3nha\r\nPorta=" +
                                std::to_string(server.Port()) + "\r\n");

  // The till's side.
  const std::string caixa = json(t.Native("app/caixa")).dump();
  const ProcessResult p =
      RunAsTill(t, t.Native("app/zelmor"), t.Native("chaves/update.pub"), {"call", "--batch"},
                R"j(["TmFile.GetExePorVersao",[)j" + caixa + "]]\n" + R"j(["TmFile.GetExePorVersao",[)j" + caixa +
                    "]]\n" + R"j(["TmFile.GetAtualizaExe",)j" + caixa + ",false,false]\n");
  if (p.ExitCode == 77) GTEST_SKIP() << "no mount namespace with an overlay here";
  const auto lines = JsonLines(p.Out);
  ASSERT_EQ(lines.size(), 3u) << p.Out << p.Err;
  EXPECT_EQ(lines[0], json::parse(R"j({"result":true,"asMsg":""})j"));
  EXPECT_EQ(lines[1], json::parse("{\"result\":true,\"asMsg\":\"\\r-O arquivo caixa já possui a última versão\"}"));
  EXPECT_EQ(lines[2], json::parse(R"j({"result":true})j"));
  EXPECT_EQ(RunProcess(t.Native("app/caixa"), {}).Out, "1.0.0.10\n");
  EXPECT_EQ(RunProcess(t.Native("app/caixa.1009"), {}).Out, "1.0.0.9\n");
  EXPECT_FALSE(std::filesystem::exists("/etc/zelmor/update-keys/loja.pub"));  // only the till's namespace had it

  // A release signed by someone else's key: the till refuses it and keeps its program.
  std::filesystem::copy_file(ZELMOR_OLD_PROGRAM, t.Native(remote + "caixa"),
                             std::filesystem::copy_options::overwrite_existing);
  t.Write(remote + "Versoes.ini", "caixa=1.0.0.9\r\n");
  ASSERT_EQ(RunProcess(zelmor, {"update", "keygen", t.Native("outra")}).ExitCode, 0);
  ASSERT_EQ(RunProcess(zelmor, {"update", "sign", t.Native(remote), "--key", t.Native("outra/update.key")}).ExitCode,
            0);
  std::filesystem::remove(t.Native("app/caixa.1009"));
  const std::string before = t.Read("app/caixa");
  const ProcessResult refused = RunAsTill(t, t.Native("app/zelmor"), t.Native("chaves/update.pub"),
                                          {"call", "TmFile.GetExePorVersao", "[" + caixa + "]"}, "");
  EXPECT_NE(refused.ExitCode, 0);
  EXPECT_NE((refused.Out + refused.Err).find("assinatura inválida"), std::string::npos) << refused.Out << refused.Err;
  EXPECT_TRUE(t.Read("app/caixa") == before);
}

// The publisher's tool refuses a folder whose file does not carry the version its line gives.
TEST(UpdatesCall, SigningRefusesAFileWhoseStampDiffersFromItsLine) {
  FileTree t;
  t.Folder("pub");
  std::filesystem::copy_file(ZELMOR_OLD_PROGRAM, t.Native("pub/caixa"));
  t.Write("pub/Versoes.ini", "caixa=1.0.0.10\r\n");
  const std::string zelmor = BinDir() + "/zelmor";
  ASSERT_EQ(RunProcess(zelmor, {"update", "keygen", t.Native("k")}).ExitCode, 0);
  const ProcessResult sign = RunProcess(zelmor, {"update", "sign", t.Native("pub"), "--key", t.Native("k/update.key")});
  EXPECT_EQ(sign.ExitCode, 1);
  EXPECT_EQ(sign.Err,
            "zelmor update: versão do arquivo diferente da lista: caixa tem \"1.0.0.9\", a lista diz \"1.0.0.10\"\n");
  EXPECT_EQ(t.Read("pub/Versoes.ini"), "caixa=1.0.0.10\r\n");
  EXPECT_FALSE(t.Exists("pub/Versoes.ini.sig"));
}

}  // namespace
}  // namespace zelmor::testing
