// `zelmor call` end to end: the built tool, run as a process.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "core/text.h"
#include "strings/mString.h"
#include "testing/file_tree.h"
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
      {{"call", "mStr.PadCenter", "AB", "5", "*"}, "*AB**\n"},  // alias
      {{"call", "TmStr.PadCenter", "AB", "5"}, " AB  \n"},      // default pad character
      {{"call", "TmStr.StrZero", "42", "5"}, "00042\n"},
      {{"call", "TmStr.StrZeroFloat", "-3.5", "8", "2"}, "00003,50\n"},
      {{"call", "TmStr.Separa",
        "Total\xC2\xBF"
        "12,50",
        "\xC2\xBF", "2"},
       "12,50\n"},
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

// The program starts without its modules' libraries and loads one only when a call
// needs it: alone in a folder, with no module beside it or where it installs them, it
// still answers every call that needs none, and a call that needs a module's services
// fails by itself, naming the module; with that one module beside it, the call works.
TEST(ZelmorCall, CallsThatNeedNoModuleRunWithoutThem) {
  std::string root = (std::filesystem::temp_directory_path() / "zelmor-alone-XXXXXX").string();
  ASSERT_NE(mkdtemp(root.data()), nullptr);
  const std::filesystem::path bin = std::filesystem::path(root) / "bin";
  std::filesystem::create_directories(bin);
  std::filesystem::copy_file(BinDir() + "/zelmor", bin / "zelmor");
  // With its digests' module alone beside it: the module needs none of the others.
  const std::filesystem::path crypto = std::filesystem::path(root) / "crypto";
  std::filesystem::create_directories(crypto);
  for (const char* file : {"zelmor", "zelmor-crypto.so"})
    std::filesystem::copy_file(BinDir() + "/" + file, crypto / file);
  const std::string md5 = "[\"TmRot.MD5\",\"abc\"]\n";
  const std::string requests = "[\"TmStr.PadLeft\",\"AB\",5]\n" + md5 + "[\"TmStr.IsCPFValido\",\"111.444.777-35\"]\n";
  struct {
    std::string program;
    std::string md5;  // the middle answer's result, or empty for an error naming the module
  } cases[] = {{BinDir() + "/zelmor", "900150983CD24FB0D6963F7D28E17F72"},
               {(crypto / "zelmor").string(), "900150983CD24FB0D6963F7D28E17F72"},
               {(bin / "zelmor").string(), ""}};
  for (const auto& c : cases) {
    ProcessResult r = RunProcess(c.program, {"call", "--batch"}, requests, std::chrono::seconds(30));
    const std::vector<nlohmann::json> lines = JsonLines(r.Out);
    ASSERT_EQ(lines.size(), 3u) << c.program << r.Out << r.Err;
    EXPECT_EQ(lines[0], nlohmann::json({{"result", "AB   "}})) << c.program;
    EXPECT_EQ(lines[2], nlohmann::json({{"result", true}})) << c.program;
    if (!c.md5.empty()) {
      ASSERT_TRUE(lines[1].contains("result")) << lines[1];
      std::string hash = lines[1]["result"].get<std::string>();
      for (char& ch : hash) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
      EXPECT_EQ(hash, c.md5);
    } else {
      EXPECT_EQ(lines[1].value("kind", ""), "library") << lines[1];
      EXPECT_NE(lines[1].value("error", "").find("zelmor-crypto.so"), std::string::npos) << lines[1];
    }
  }
  std::filesystem::remove_all(root);
}

// The tool loads ICU only when a text needs more than ASCII; what it answers then is
// what the library linked with ICU answers in this process, in every script and for
// mappings that change the length or take title case.
TEST(ZelmorCall, UnicodeCaseIsTheLinkedLibrarys) {
  const char* const texts[] = {"JOÃO DA SILVA", "straße", "ǆemal ǈubljana", "жук и ёж",
                               "ÿves",          "ΣΟΦΟΣ",  "ascii only",     "j.silva"};
  std::vector<std::string> requests;
  for (const char* t : texts) requests.push_back(nlohmann::json::array({"TmStr.Capitaliza", t}).dump());
  const std::vector<nlohmann::json> answers = ZelmorBatch(requests);
  ASSERT_EQ(answers.size(), std::size(texts));
  for (std::size_t i = 0; i < answers.size(); ++i)
    EXPECT_EQ(answers[i].value("result", ""), U16ToUtf8(TmStr::Capitaliza(Utf8ToU16(texts[i])))) << answers[i];
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

TEST(ZelmorCall, BatchAnswersEveryHostileLineOnItsOwn) {
  const std::string deep = "[\"TmStr.Somente\"," + std::string(50000, '[') + std::string(50000, ']') + "]";
  struct {
    std::string line;
    std::string error;  // a part of the answer's error message
  } cases[] = {
      {deep, "deeper than 100 levels"},
      {R"(["TmConv.IntToBin",5,2147483647])", "DigitosBinario 2147483647 is beyond the largest size"},
      {R"(["TmStr.RealPadLeft","x",2147483647])", "aiTamanho 2147483647 is beyond the largest size"},
      {R"(["TmStr.StrZeroFloat",1.5,2147483647,2])", "Tamanho 2147483647 is beyond"},
      {R"(["TmStr.JustificarMonoEspacado","a b",2147483647])", "aiQtCaracteres 2147483647 is beyond"},
      {"[NaN]", "parse error at line 1, column 2"},
      {R"(["TmStr.Somente",Infinity])", "invalid literal"},
      {R"(["TmStr.Somente",1e400])", "number overflow"},
      {"[\"TmStr.Somente\",\"\xFF\"]", "ill-formed UTF-8"},
      {R"(["TmStr.Somente","\ud800"])", "surrogate"},
      {"[\"TmStr.Somente\",\"a\"", "parse error"},
      {R"({"TmStr.Somente":"a"})", "got an object"},
      {"[]", "got an empty array"},
      {R"([5,"a"])", "first item is a number"},
  };
  std::string input;
  for (const auto& c : cases) input += c.line + "\n[\"TmStr.PadCenter\",\"ok\",2]\n";
  ProcessResult r = Zelmor({"call", "--batch"}, input);
  EXPECT_EQ(r.ExitCode, 1);
  std::vector<nlohmann::json> lines = JsonLines(r.Out);
  ASSERT_EQ(lines.size(), 2 * std::size(cases)) << r.Out << r.Err;
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const nlohmann::json& bad = lines[2 * i];
    ASSERT_TRUE(bad.contains("error")) << cases[i].line.substr(0, 60) << ": " << bad.dump();
    EXPECT_NE(bad["error"].get<std::string>().find(cases[i].error), std::string::npos)
        << cases[i].line.substr(0, 60) << ": " << bad.dump();
    EXPECT_EQ(bad["kind"], "argument");
    EXPECT_EQ(lines[2 * i + 1], nlohmann::json::parse(R"({"result":"ok"})")) << "after " << cases[i].line.substr(0, 60);
  }
}

TEST(ZelmorCall, OutOfMemoryIsOneLinesError) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit this test sets";
#else
  // 1 Mi repeats of 1,000 characters: 2 GB of text, under a 1 GB address-space limit.
  const std::string input =
      "[\"TmStr.RepeteStr\",\"" + std::string(1000, 'x') + "\",1048576]\n[\"TmStr.PadCenter\",\"ok\",2]\n";
  ProcessResult r =
      RunProcess("/bin/sh", {"-c", "ulimit -v 1000000 && exec \"$0\" call --batch", BinDir() + "/zelmor"}, input);
  std::vector<nlohmann::json> lines = JsonLines(r.Out);
  ASSERT_EQ(lines.size(), 2u) << r.Out << r.Err;
  EXPECT_EQ(lines[0]["kind"], "resource") << lines[0].dump();
  EXPECT_EQ(lines[1], nlohmann::json::parse(R"({"result":"ok"})"));
#endif
}

TEST(ZelmorCall, NumbersThatDoNotFitAreRefused) {
  const auto answers = ZelmorBatch({
      R"(["TmStr.StrZero",1000000000000000,5])",
      R"(["TmStr.StrZero",2147483647,10])",
      R"(["TmStr.StrZero",2147483648,10])",
      R"(["TmStr.StrZero",-2147483649,10])",
      R"(["TmStr.StrZero",1e15,5])",
      R"(["TmConfig.ReadCurr","/nonexistent/x.ini","s","i",1000000000000000])",
      R"(["TmConfig.ReadCurr","/nonexistent/x.ini","s","i",922337203685477])",
      R"(["TmConfig.ReadCurr","/nonexistent/x.ini","s","i",-1e300])",
  });
  ASSERT_EQ(answers.size(), 8u);
  EXPECT_NE(answers[0]["error"].get<std::string>().find("out of 32-bit range"), std::string::npos) << answers[0];
  EXPECT_EQ(answers[1]["result"], "2147483647");
  EXPECT_EQ(answers[2]["kind"], "argument");
  EXPECT_EQ(answers[3]["kind"], "argument");
  EXPECT_EQ(answers[4]["kind"], "argument");
  // A currency holds ±922337203685477.5807: beyond it is refused, never wrapped.
  EXPECT_NE(answers[5]["error"].get<std::string>().find("currency out of range"), std::string::npos) << answers[5];
  EXPECT_EQ(answers[6]["result"], 922337203685477);
  EXPECT_EQ(answers[7]["kind"], "argument");
}

TEST(ZelmorCall, TextsOnlyATextHoldsPickTheTextOverload) {
  struct {
    std::vector<std::string> args;
    std::string out;
  } cases[] = {
      {{"call", "TmStr.Formata", "12345", "00000000"}, "00012345\n"},
  };
  for (const auto& c : cases) {
    ProcessResult r = Zelmor(c.args);
    EXPECT_EQ(r.ExitCode, 0) << r.Err;
    EXPECT_EQ(r.Out, c.out) << c.args[1] << " " << c.args[2] << " " << c.args[3];
  }
}

TEST(ZelmorCall, EnumerationsCrossByName) {
  const auto answers = ZelmorBatch({
      R"(["TmFile.PortaOK",1,"tiPRN"])",
      R"(["TmFile.PortaOK",1,2])",
      R"(["TmFile.PortaOK",1,"tiXX"])",
      R"(["TmFile.PortaOK",1,9])",
      R"(["TmRot.VersaoWindows"])",
  });
  ASSERT_EQ(answers.size(), 5u);
  EXPECT_EQ(answers[0], nlohmann::json::parse(R"({"result":false,"asMsg":""})"));
  EXPECT_EQ(answers[1], answers[0]);
  EXPECT_NE(answers[2]["error"].get<std::string>().find("tiLPT, tiCOM, tiPRN, tiREDE"), std::string::npos)
      << answers[2];
  EXPECT_EQ(answers[3]["kind"], "argument");
  EXPECT_EQ(answers[4]["result"], "vwNT");
  ProcessResult r = Zelmor({"call", "--list"});
  EXPECT_NE(r.Out.find("aeTipo: enum tiLPT|tiCOM|tiPRN|tiREDE"), std::string::npos);
}

TEST(ZelmorCall, NoResultIsNullAndDayZeroIsItsDate) {
  const auto answers = ZelmorBatch({
      R"(["TmRot.Delay",0])",
      R"(["TmDt.StrToDataHora","x","1899-12-30"])",
      R"(["TmDt.StrToDataHora","x",0])",
  });
  ASSERT_EQ(answers.size(), 3u);
  EXPECT_EQ(answers[0], nlohmann::json::parse(R"({"result":null})"));
  EXPECT_EQ(answers[1]["result"], "1899-12-30");
  EXPECT_EQ(answers[2]["result"], "1899-12-30");
}

// A structured answer is written as it is made: the same bytes the JSON library
// writes, for each kind of text (escaped, not UTF-8, beyond the first plane).
TEST(ZelmorCall, StructuredAnswersAreExactJson) {
  const std::string texts =
      "plain|qu\"ote|back\\slash|tab\there|bell\a|rela\xe7\xe3o|a\xc3\xa7\xc3\xa3o|\x7f|\xf0\x9f\x98\x80";
  struct {
    std::vector<std::string> args;
    std::string out;
  } cases[] = {
      {{"call", "TmStr.Split", texts, "|"},
       "{\"result\":[\"plain\",\"qu\\\"ote\",\"back\\\\slash\",\"tab\\there\",\"bell\\u0007\","
       "\"rela\xEF\xBF\xBD\xEF\xBF\xBDo\",\"a\xC3\xA7\xC3\xA3o\",\"\x7F\",\"\xF0\x9F\x98\x80\"]}\n"},
      {{"call", "--json", "TmStr.StrZero", "42", "5"}, "{\"result\":\"00042\"}\n"},
      {{"call", "--json", "TmStr.Ocorre", "aaa", "a"}, "{\"result\":3}\n"},
  };
  for (const auto& c : cases) {
    ProcessResult r = Zelmor(c.args);
    EXPECT_EQ(r.ExitCode, 0) << r.Err;
    EXPECT_EQ(r.Out, c.out) << c.args[1];
  }
}

TEST(ZelmorCall, ListShowsSignatures) {
  ProcessResult r = Zelmor({"call", "--list"});
  EXPECT_EQ(r.ExitCode, 0);
  EXPECT_NE(r.Out.find("TmStr.PadCenter(Texto: text, Tamanho: int, PadChar: char = \" \") -> text"), std::string::npos)
      << r.Out;
  EXPECT_NE(r.Out.find("TmFile.DirExe() -> text"), std::string::npos);
}

// Arguments larger than one command-line argument may be (128 KiB on Linux) come from a
// file or standard input, by their place among the routine's arguments.
TEST(ZelmorCall, LargeArgumentsComeFromAFileOrStandardInput) {
  std::string xml = "<NFe><infNFe Id=\"NFe35\"><emit><xNome>A &amp; B</xNome></emit>";
  const int items = 20000;
  for (int i = 1; i <= items; ++i)
    xml += "<det nItem=\"" + std::to_string(i) + "\"><prod><cProd>" + std::to_string(i) + "</cProd></prod></det>";
  xml += "</infNFe></NFe>";
  ASSERT_GT(xml.size(), 4u * 128 * 1024);
  FileTree t;
  t.Write("nota.xml", xml);
  t.Write("small.txt", "ab\n");  // the bytes as they are, a final line feed included
  const std::string nota = t.Native("nota.xml");
  struct {
    std::vector<std::string> args;
    std::string input;
    std::string out;
  } cases[] = {
      {{"--arg-file", "1=" + nota, "TmXMLLeitura.ElementoStr", R"(["NFe","infNFe","emit","xNome"])"}, "", "A & B\n"},
      {{"--arg-file=1=" + nota, "TmXMLLeitura.ElementoStr", R"(["NFe","infNFe","emit","xNome"])"}, "", "A & B\n"},
      {{"--arg-stdin", "1", "TmXMLLeitura.ElementoStr", R"(["NFe","infNFe","emit","xNome"])"}, xml, "A & B\n"},
      // The last item is at the end of the text: the whole text arrived.
      {{"--arg-stdin", "1", "TmXMLLeitura.AtributoStr", "det", "nItem"}, xml, "1\n"},
      {{"--arg-file", "1=" + nota, "TmStr.Ocorre", "<cProd>"}, "", std::to_string(items) + "\n"},
      // Placed arguments and the command line's fill the places in order.
      {{"--arg-stdin", "2", "TmStr.PadCenter", "AB", "*"}, "5", "*AB**\n"},
      {{"--arg-file", "1=" + t.Native("small.txt"), "--arg-stdin", "3", "TmStr.PadCenter", "6"}, "-", "-ab\n--\n"},
      {{"--json", "--arg-stdin", "1", "TmStr.PadCenter", "5", "*"}, "AB", "{\"result\":\"*AB**\"}\n"},
      // After the routine's name an option's look-alike is an ordinary argument.
      {{"TmStr.PadCenter", "--arg-stdin", "13", "*"}, "", "*--arg-stdin*\n"},
      {{"TmStr.PadCenter", "--arg-file=1=x", "15", "*"}, "", "--arg-file=1=x*\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args{"call"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const ProcessResult r = Zelmor(args, c.input);
    EXPECT_EQ(r.ExitCode, 0) << r.Err;
    EXPECT_EQ(r.Out, c.out) << c.args[0] << " " << c.args[1];
  }
}

TEST(ZelmorCall, ArgumentOptionsThatCannotBeMetAreRefused) {
  FileTree t;
  t.Write("a.txt", "AB");
  const std::string a = t.Native("a.txt");
  struct {
    std::vector<std::string> args;
    std::string error;  // a part of the message on standard error
  } cases[] = {
      {{"--arg-file", "3=" + a, "TmStr.PadCenter", "5"}, "the call has only 2 arguments"},
      {{"--arg-file", "0=" + a, "TmStr.PadCenter", "5"}, "N the argument's place from 1"},
      {{"--arg-file", a, "TmStr.PadCenter", "5"}, "N the argument's place from 1"},
      {{"--arg-file", "1=", "TmStr.PadCenter", "5"}, "N the argument's place from 1"},
      {{"--arg-file", "1=" + t.Native("falta.txt"), "TmStr.PadCenter", "5"}, "argument 1: no such file"},
      {{"--arg-file", "2=" + t.Root(), "TmStr.PadCenter", "5"}, "argument 2: "},  // a folder
      {{"--arg-file", "1=" + a, "--arg-file", "1=" + a, "TmStr.PadCenter", "5"}, "argument 1 is given twice"},
      {{"--arg-stdin", "1", "--arg-stdin", "2", "TmStr.PadCenter"}, "standard input can give only one argument"},
      {{"--arg-stdin", "x", "TmStr.PadCenter", "5"}, "N, the argument's place from 1"},
      {{"--arg-stdin"}, "--arg-stdin needs a value"},
      {{"--arg-file", "1=" + a}, "usage: zelmor call"},
      {{"--args", "1", "TmStr.PadCenter"}, "unknown option --args"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args{"call"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const ProcessResult r = Zelmor(args, "AB");
    EXPECT_EQ(r.ExitCode, 2) << c.error;
    EXPECT_NE(r.Err.find(c.error), std::string::npos) << r.Err;
    EXPECT_EQ(r.Out, "");
  }
}

}  // namespace
}  // namespace zelmor::testing
