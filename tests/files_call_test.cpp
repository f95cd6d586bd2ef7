// The file routines and the log writer through `zelmor call`, on real files.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "testing/file_tree.h"
#include "tests/process_util.h"

namespace zelmor::testing {
namespace {

using nlohmann::json;

std::string Quoted(const std::string& s) { return json(s).dump(); }

TEST(FilesCall, RoutinesOnRealFiles) {
  FileTree t;
  t.Write("in/b.xml", "12345", 1525255872);  // 2018-05-02 10:11:12 UTC
  t.Write("in/a.xml", "1", 1525255872);
  t.Write("in/.h.xml", "");
  const std::string in = Quoted(t.Native("in") + "/");
  const auto lines = ZelmorBatch({
      R"j(["TmFile.GetFiles",[],)j" + Quoted(t.Native("in/*.xml")) + "]",
      R"j(["TmFile.CopiarArquivo",)j" + Quoted(t.Native("in/a.xml")) + "," + Quoted(t.Native("out")) + "]",
      R"j(["TmFile.MoverArquivo",)j" + Quoted(t.Native("in/a.xml")) + "," + Quoted(t.Native("out")) + ",true]",
      R"j(["TmFile.GerenciaBackup",)j" + in + R"j(,"b.xml",3])j",
      R"j(["TmFile.FileExists",)j" + Quoted(t.Native("in/*.xml")) + "]",
      R"j(["TGravaLogs.Execute","frm","caixa.log","Caixa aberto",)j" + in + ",10]",
      R"j(["TmFile.LoadFileFirstLine",)j" + Quoted(t.Native("in/caixa.log")) + "]",
      R"j(["TmFile.VerificarPermissaoPasta",[)j" + Quoted(t.Native("falta")) + R"j(],"",false])j",
      R"j(["TmFile.DirectoryDelete","/"])j",
      R"j(["TmFile.GetZelmorRoot","//srv/app",true])j",
      R"j(["TmFile.FormatFileSize",1536])j",
      R"j(["TmFile.GetFiles(record,text,bool)",{},)j" + Quoted(t.Native("in/*")) + "]",
  });
  ASSERT_EQ(lines.size(), 12u);
  EXPECT_EQ(lines[0], json::parse(R"j({"result":true,"Saida":["a.xml","b.xml"]})j"));
  EXPECT_EQ(lines[1], json::parse(R"j({"result":false})j"));  // the folder does not exist
  EXPECT_EQ(lines[2], json::parse(R"j({"result":true})j"));
  EXPECT_EQ(lines[3], json::parse(R"j({"result":null})j"));
  EXPECT_EQ(lines[4], json::parse(R"j({"result":false})j"));  // a.xml moved, b.xml is now b.001
  EXPECT_EQ(lines[5], json::parse(R"j({"result":null})j"));
  EXPECT_EQ(lines[6], json::parse(R"j({"result":")j" + std::string(80, '-') + R"j("})j"));
  EXPECT_EQ(lines[7]["result"], false);
  EXPECT_EQ(lines[7]["asMsg"], "Diretório \"" + t.Native("falta") + "\" não existe.");
  EXPECT_EQ(lines[8], json::parse(R"j({"result":false})j"));
  EXPECT_EQ(lines[9], json::parse(R"j({"error":"Path inválido para obter o root da Zelmor!","kind":"file"})j"));
  EXPECT_EQ(lines[10], json::parse(R"j({"result":"1,5 Kb"})j"));
  ASSERT_EQ(lines[11]["asLista"].size(), 2u);
  EXPECT_EQ(lines[11]["asLista"][0]["Nome"], t.Native("in/b.001"));
  EXPECT_EQ(lines[11]["asLista"][0]["Tamanho"], 5);
  EXPECT_EQ(t.Read("out/a.xml"), "1");
  EXPECT_EQ(t.Names("in"), (std::vector<std::string>{".h.xml", "b.001", "caixa.log"}));
}

// A name that is not UTF-8 goes in and out of the command line byte for byte,
// and shows as U+FFFD in JSON answers.
TEST(FilesCall, NamesThatAreNotUtf8) {
  FileTree t;
  const std::string name = "rela\xe7\xe3o.txt";
  t.Write(name, "x");
  const std::string zelmor = BinDir() + "/zelmor";
  ProcessResult r = RunProcess(zelmor, {"call", "TmFile.GetUniqueFilePath", t.Native(name)});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(r.Out, t.Native("rela\xe7\xe3o_1.txt") + "\n");
  r = RunProcess(zelmor, {"call", "--json", "TmFile.FileName", t.Native(name)});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(json::parse(r.Out)["result"], "rela\xEF\xBF\xBD\xEF\xBF\xBDo.txt");
  r = RunProcess(zelmor, {"call", "TmFile.DirectoryDelete", t.Native(name)});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(r.Out, "true\n");
  EXPECT_FALSE(t.Exists(name));
}

}  // namespace
}  // namespace zelmor::testing
