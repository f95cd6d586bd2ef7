// `zelmor call` end to end: the built tool, run as a process.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tests/process_util.h"

namespace zelmor::testing {
namespace {

ProcessResult Zelmor(const std::vector<std::string>& args, const std::string& input = {}) {
  return RunProcess(BinDir() + "/zelmor", args, input, std::chrono::seconds(30), {"LC_ALL=pt_BR.UTF-8"});
}

TEST(ZelmorCall, PlainCallsWithTextArguments) {
  struct {
    std::vector<std::string> args;
    std::string out;
  } cases[] = {
      {{"call", "TmStr.PadCenter", "AB", "5", "*"}, "*AB**\n"},
      {{"call", "mStr.PadCenter", "AB", "5", "*"}, "*AB**\n"},   // alias
      {{"call", "TmStr.PadCenter", "AB", "5"}, " AB  \n"},      // default pad character
      {{"call", "TmStr.StrZero", "42", "5"}, "00042\n"},
      {{"call", "TmStr.StrZeroFloat", "-3.5", "8", "2"}, "00003,50\n"},
      {{"call", "TmStr.Separa", "Total\xC2\xBF" "12,50", "\xC2\xBF", "2"}, "12,50\n"},
      {{"call", "TmStr.Ocorre", "aaa", "aa"}, "1\n"},
      {{"call", "TmFile.DirBarra", "/opt/a"}, "/opt/a/\n"},
  };
  for (const auto& c : cases) {
    ProcessResult r = Zelmor(c.args);
    EXPECT_EQ(r.ExitCode, 0) << r.Err;
    EXPECT_EQ(r.Out, c.out) << c.args[1];
  }
}

TEST(ZelmorCall, DirExeIsTheToolsFolder) {
  ProcessResult r = Zelmor({"call", "TmFile.DirExe"});
  EXPECT_EQ(r.ExitCode, 0);
  EXPECT_EQ(r.Out, BinDir() + "/\n");
}

TEST(ZelmorCall, BadArgumentsFailWithAMessage) {
  ProcessResult r = Zelmor({"call", "TmStr.PadCenter", "AB", "five"});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("integer"), std::string::npos) << r.Err;
  r = Zelmor({"call", "TmStr.NoSuchRoutine"});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("unknown routine"), std::string::npos);
  r = Zelmor({"call", "TmStr.PadCenter", "AB", "5", "**"});  // a character is one character
  EXPECT_EQ(r.ExitCode, 1);
}

TEST(ZelmorCall, BatchAnswersOneObjectPerLine) {
  std::string input =
      "[\"TmStr.PadCenter\",\"AB\",5,\"*\"]\n"
      "[\"mStr.Separa\",\"a;b;c\",\";\",3]\n"
      "[\"TmStr.StrZero\",\"x\",3]\n"
      "not json\n"
      "\n"
      "[\"TmStr.RepeteStr\",\"ab\",2]\n";
  ProcessResult r = Zelmor({"call", "--batch"}, input);
  EXPECT_EQ(r.ExitCode, 1);  // some lines failed
  std::vector<nlohmann::json> lines = JsonLines(r.Out);
  ASSERT_EQ(lines.size(), 5u) << r.Out;
  EXPECT_EQ(lines[0], nlohmann::json::parse(R"({"result":"*AB**"})"));
  EXPECT_EQ(lines[1], nlohmann::json::parse(R"({"result":"c"})"));
  EXPECT_EQ(lines[2]["kind"], "argument");
  EXPECT_TRUE(lines[3].contains("error"));
  EXPECT_EQ(lines[4], nlohmann::json::parse(R"({"result":"abab"})"));
}

TEST(ZelmorCall, ListShowsSignatures) {
  ProcessResult r = Zelmor({"call", "--list"});
  EXPECT_EQ(r.ExitCode, 0);
  EXPECT_NE(r.Out.find("TmStr.PadCenter(Texto: text, Tamanho: int, PadChar: char = \" \") -> text"),
            std::string::npos)
      << r.Out;
  EXPECT_NE(r.Out.find("TmFile.DirExe() -> text"), std::string::npos);
}

}  // namespace
}  // namespace zelmor::testing
