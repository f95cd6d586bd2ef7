// The process and network routines through `zelmor call`; the machine facts inside a
// user, host-name and network namespace the test makes, where the kernel allows it.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "testing/file_tree.h"
#include "tests/process_util.h"

namespace zelmor::testing {
namespace {

using nlohmann::json;

TEST(SystemCall, ProgramsStartWithTheirExitCodes) {
  FileTree t;
  const std::string folder = json(t.Native()).dump();
  const auto lines = ZelmorBatch({
      R"j(["TmRot.ExecWinWait","","sh","-c \"exit 7\""])j",
      R"j(["TmRot.ExecWin",)j" + folder + R"j(,"sh","-c \"echo $$ > pid\"",1,true])j",
      R"j(["TmRot.ExecWinWait","","zelmor-no-such-program",""])j",
      R"j(["TmRot.ProcessoAtivo","zelmor"])j",
      R"j(["TmRot.IsSingleInstance","zelmor-call-test",true])j",
      R"j(["TmRot.IsSingleInstance","zelmor-call-test",false])j",
  });
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0], json::parse(R"j({"result":true,"aiExitCode":7})j"));
  EXPECT_EQ(lines[1], json::parse(R"j({"result":true,"aiExitCode":0})j"));
  EXPECT_TRUE(t.Exists("pid"));
  EXPECT_EQ(lines[2], json::parse(R"j({"result":false,"aiExitCode":0})j"));
  EXPECT_EQ(lines[3], json::parse(R"j({"result":true})j"));  // the tool itself
  EXPECT_EQ(lines[4], json::parse(R"j({"result":true})j"));
  EXPECT_EQ(lines[5], json::parse(R"j({"result":false})j"));
}

TEST(SystemCall, MachineFactsInANamespaceOfOurOwn) {
  // A new user, UTS and network namespace with a host name, a veth pair with one
  // address and a known hardware address (its peer left down), and loopback up.
  const std::string setup =
      "command -v ip >/dev/null || exit 90; hostname caixa-1.loja.local || exit 91;"
      "ip link set lo up && ip link add v0 type veth peer name v1 && ip link set v0 address 02:00:00:aa:bb:0c"
      " && ip addr add 10.9.8.7/24 dev v0 && ip link set v0 up || exit 92;"
      "exec \"$0\" call --batch";
  const std::string requests = R"j(["TmRot.GetComputerName",true])j"
                               "\n"
                               R"j(["TmRot.GetComputerName",false])j"
                               "\n"
                               R"j(["TmRot.GetLocalIP"])j"
                               "\n"
                               R"j(["TmRot.GetLocalIPs"])j"
                               "\n"
                               R"j(["TmRot.IsIPLocal","10.9.8.7"])j"
                               "\n"
                               R"j(["TmRot.IsIPLocal","127.0.0.1"])j"
                               "\n"
                               R"j(["TmRot.GetLocalEnderecoMac"])j"
                               "\n"
                               R"j(["TmRot.StatusInternet"])j"
                               "\n"
                               R"j(["TmRot.Ping","10.9.8.7",1,56,0])j"
                               "\n"
                               R"j(["TmRot.Ping","10.9.8.99",1,56,0])j"
                               "\n";
  const ProcessResult r = RunProcess("/usr/bin/env", {"unshare", "-Urun", "sh", "-c", setup, BinDir() + "/zelmor"},
                                     requests, std::chrono::seconds(30));
  if (r.ExitCode >= 90 || (r.ExitCode != 0 && r.Out.empty()))
    GTEST_SKIP() << "no namespace with its own network here (exit " << r.ExitCode << "): " << r.Err;
  const auto lines = JsonLines(r.Out);
  ASSERT_EQ(lines.size(), 10u) << r.Out << r.Err;
  EXPECT_EQ(lines[0], json::parse(R"j({"result":"caixa-1"})j"));
  EXPECT_EQ(lines[1], json::parse(R"j({"result":"caixa-1.loja.local"})j"));
  EXPECT_EQ(lines[2], json::parse(R"j({"result":"10.9.8.7"})j"));
  EXPECT_EQ(lines[3], json::parse(R"j({"result":["10.9.8.7"]})j"));
  EXPECT_EQ(lines[4], json::parse(R"j({"result":true})j"));
  EXPECT_EQ(lines[5], json::parse(R"j({"result":false})j"));
  EXPECT_EQ(lines[6], json::parse(R"j({"result":"02-00-00-AA-BB-0C"})j"));
  EXPECT_EQ(lines[7], json::parse(R"j({"result":true})j"));
  EXPECT_EQ(lines[8], json::parse(R"j({"result":true})j"));
  EXPECT_EQ(lines[9], json::parse(R"j({"result":false})j"));
}

TEST(SystemCall, OnlyLoopbackMeansNoLocalAddress) {
  const ProcessResult r = RunProcess("/usr/bin/env", {"unshare", "-Urn", BinDir() + "/zelmor", "call", "--batch"},
                                     R"j(["TmRot.GetLocalIP"])j"
                                     "\n"
                                     R"j(["TmRot.GetLocalIPs"])j"
                                     "\n"
                                     R"j(["TmRot.StatusInternet"])j"
                                     "\n");
  if (r.ExitCode != 0) GTEST_SKIP() << "no network namespace here: " << r.Err;
  const auto lines = JsonLines(r.Out);
  ASSERT_EQ(lines.size(), 3u) << r.Out;
  EXPECT_EQ(lines[0], json::parse(R"j({"result":""})j"));
  EXPECT_EQ(lines[1], json::parse(R"j({"result":[]})j"));
  EXPECT_EQ(lines[2], json::parse(R"j({"result":false})j"));
}

}  // namespace
}  // namespace zelmor::testing
