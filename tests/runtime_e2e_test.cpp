// The runtime routines through the built programs: their version stamps, a tone
// captured from the tool through a real ALSA file device, waits, remote sessions.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

#include "core/text.h"
#include "mRotinas.h"
#include "testing/alsa_capture.h"
#include "tests/process_util.h"

namespace zelmor::testing {
namespace {

using std::chrono::steady_clock;

ProcessResult Zelmor(const std::vector<std::string>& args, const std::vector<std::string>& env = {}) {
  return RunProcess(BinDir() + "/zelmor", args, {}, std::chrono::seconds(30), env);
}

TEST(VersionStamp, TheProgramsSayTheVersionTheirElfSectionHolds) {
  std::vector<std::string> programs = {"zelmor"};
#ifdef ZELMOR_HAS_QUINDEL
  programs.push_back("quindel");
#endif
  for (const std::string& name : programs) {
    SCOPED_TRACE(name);
    const std::string path = BinDir() + "/" + name;
    // The stamp is CMake's project version, written at build time.
    EXPECT_EQ(TmRot::GetFileVersao(Utf8ToU16(path), 0, u"."), Utf8ToU16(ZELMOR_PROJECT_VERSION));
    const ProcessResult p =
        RunProcess(path, {"--version"}, {}, std::chrono::seconds(30), {"QT_QPA_PLATFORM=offscreen"});
    EXPECT_EQ(p.ExitCode, 0) << p.Err;
    EXPECT_EQ(p.Out, name + " " + ZELMOR_PROJECT_VERSION + "\n");
  }
}

TEST(RuntimeCalls, VersionEnvironmentAndWaitingAnswerAsDocumented) {
  const std::string zelmor = BinDir() + "/zelmor";
  const auto answers = ZelmorBatch({
      R"(["TmRot.VersaoWindowsStr"])",
      R"(["mRot.VersaoWindows"])",
      R"(["TmRot.GetFileVersao",")" + zelmor + R"(",2,","])",
      R"(["TmRot.GetFileVersao","/nonexistent/x.exe",0,"."])",
      R"(["TmRot.GetVariavelAmbiente","LC_ALL"])",
      R"(["mTS.GetVariavelAmbiente","LC_ALL"])",
      R"(["TmRot.DoEvents"])",
      R"(["TmRot.Delay",-1])",
      R"(["TmSpeaker.PlaySound",70000,10])",
  });
  ASSERT_EQ(answers.size(), 9u);
  EXPECT_EQ(answers[0]["result"], "Windows ?");
  EXPECT_EQ(answers[1]["result"], "vwNT");
  // Two levels of the project's version, joined by a comma: 0.1.0 gives 0,1.
  std::string twoLevels = ZELMOR_PROJECT_VERSION;
  twoLevels = twoLevels.substr(0, twoLevels.find('.', twoLevels.find('.') + 1));
  twoLevels[twoLevels.find('.')] = ',';
  EXPECT_EQ(answers[2]["result"], twoLevels);
  EXPECT_EQ(answers[3]["result"], "");
  EXPECT_EQ(answers[4]["result"], "pt_BR.UTF-8");
  EXPECT_EQ(answers[5]["result"], "pt_BR.UTF-8");
  EXPECT_EQ(answers[6]["result"], false);
  EXPECT_EQ(answers[7]["kind"], "argument");  // no 49-day wait from a negative count
  EXPECT_EQ(answers[8]["kind"], "argument");
}

TEST(RuntimeCalls, DelayTakesItsTimeInTheTool) {
  const auto start = steady_clock::now();
  const ProcessResult p = Zelmor({"call", "TmRot.Delay", "300"});
  const auto elapsed = steady_clock::now() - start;
  EXPECT_EQ(p.ExitCode, 0) << p.Err;
  EXPECT_GE(elapsed, std::chrono::milliseconds(300));
}

TEST(RuntimeCalls, ATonePlayedByTheToolIsCapturedByARealAlsaDevice) {
  AlsaCapture capture;
  const auto start = steady_clock::now();
  const ProcessResult p =
      Zelmor({"call", "mSpeaker.PlaySound", "1000", "300"}, {"ALSA_CONFIG_PATH=" + capture.ConfigPath()});
  const auto elapsed = steady_clock::now() - start;
  ASSERT_EQ(p.ExitCode, 0) << p.Err;
  const std::vector<std::int16_t> samples = capture.Samples();
  const int changes = SignChanges(samples);
  std::printf("zelmor call mSpeaker.PlaySound 1000 300: %zu samples, %d sign changes (2·f·ms/1000 = 600)\n",
              samples.size(), changes);
  EXPECT_EQ(samples.size(), 14400u);
  EXPECT_LE(std::abs(changes - 600), 1);
  EXPECT_GE(elapsed, std::chrono::milliseconds(300));
}

TEST(RuntimeCalls, ARemoteShellMakesATerminalSession) {
  // `env -u` clears what the test's own session may have set.
  auto isRemote = [](const std::vector<std::string>& set) {
    std::vector<std::string> args = {"-u", "SSH_CONNECTION", "-u", "SSH_CLIENT", "-u", "SSH_TTY",
                                     "-u", "XRDP_SESSION",   "-u", "DISPLAY",    "-u", "SESSIONNAME"};
    args.insert(args.end(), set.begin(), set.end());
    args.insert(args.end(), {BinDir() + "/zelmor", "call", "TmTS.IsTerminalService"});
    return RunProcess("/usr/bin/env", args).Out;
  };
  const std::string local = isRemote({});
  if (local == "true\n") GTEST_SKIP() << "the tests run in a remote logind session";
  EXPECT_EQ(local, "false\n");
  EXPECT_EQ(isRemote({"SSH_CONNECTION=192.0.2.7 50022 192.0.2.1 22"}), "true\n");
  EXPECT_EQ(isRemote({"XRDP_SESSION=1"}), "true\n");
  EXPECT_EQ(isRemote({"DISPLAY=caixa-2:0"}), "true\n");
  EXPECT_EQ(isRemote({"DISPLAY=:0"}), "false\n");
  const ProcessResult name =
      RunProcess("/usr/bin/env", {"SESSIONNAME=Console", BinDir() + "/zelmor", "call", "TmTS.GetSecaoLogado"});
  EXPECT_EQ(name.Out, "Console\n");
}

}  // namespace
}  // namespace zelmor::testing
