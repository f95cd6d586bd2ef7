// The version routines through `zelmor call`: comparisons by name, the version our
// own built program is stamped with, and a whole update from a real FTP server.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "ftp/testdata/ftp_server_process.h"
#include "tests/process_util.h"
#include "testing/file_tree.h"

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

// The tool placed in a program folder of its own (linked, or copied where a link
// cannot be made), so that its folder and settings file are the test's.
TEST(UpdatesCall, AProgramFolderIsUpdatedFromTheServer) {
  if (!FtpServerProcess::Available()) GTEST_SKIP() << "python3-pyftpdlib is not installed";
  FileTree t;
  t.Folder("app");
  t.Folder("remoto/web/files/ombrix/Externo");
  std::error_code ec;
  std::filesystem::create_hard_link(BinDir() + "/zelmor", t.Native("app/zelmor"), ec);
  if (ec) std::filesystem::copy_file(BinDir() + "/zelmor", t.Native("app/zelmor"));
  std::filesystem::copy_file(ZELMOR_OLD_PROGRAM, t.Native("app/caixa"));
  std::filesystem::copy_file(ZELMOR_NEW_PROGRAM, t.Native("remoto/web/files/ombrix/Externo/caixa"));
  t.Write("remoto/web/files/ombrix/Externo/Versoes.ini", "caixa=1.0.0.10\r\n");
  FtpServerProcess server(ZELMOR_FTP_TESTDATA "/ftp_server.py", t.Native("remoto"), "caixa", "s3nha",
                          {"--lifetime", "60"});
  ASSERT_GT(server.Port(), 0);
  t.Write("app/zelmor.ini", "[Atualizacao]\r\nHost=127.0.0.1\r\nUsuario=caixa\r\nSenha=s3nha\r\nPorta=" +
                                std::to_string(server.Port()) + "\r\n");

  const std::string caixa = json(t.Native("app/caixa")).dump();
  const ProcessResult p = RunProcess(t.Native("app/zelmor"), {"call", "--batch"},
                                     R"j(["TmFile.GetExePorVersao",[)j" + caixa + "]]\n" +
                                         R"j(["TmFile.GetExePorVersao",[)j" + caixa + "]]\n" +
                                         R"j(["TmFile.GetAtualizaExe",)j" + caixa + ",false,false]\n");
  const auto lines = JsonLines(p.Out);
  ASSERT_EQ(lines.size(), 3u) << p.Out << p.Err;
  EXPECT_EQ(lines[0], json::parse(R"j({"result":true,"asMsg":""})j"));
  EXPECT_EQ(lines[1], json::parse("{\"result\":true,\"asMsg\":\"\\r-O arquivo caixa já possui a última versão\"}"));
  EXPECT_EQ(lines[2], json::parse(R"j({"result":true})j"));
  EXPECT_EQ(RunProcess(t.Native("app/caixa"), {}).Out, "1.0.0.10\n");
  EXPECT_EQ(RunProcess(t.Native("app/caixa.1009"), {}).Out, "1.0.0.9\n");
}

}  // namespace
}  // namespace zelmor::testing
