// The settings store and configuration files through the built tool, as real
// processes: `zelmor reg`, concurrent writers, damaged stores, writes cut short.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <thread>

#include "adapters/linux/registry_store_linux.h"
#include "core/text.h"
#include "platform/registry_store.h"
#include "testing/temp_store.h"
#include "tests/process_util.h"

namespace zelmor::testing {
namespace {

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

class SettingsE2E : public ::testing::Test {
 protected:
  std::vector<std::string> Env() const { return {"XDG_CONFIG_HOME=" + home.Path(), "LC_ALL=pt_BR.UTF-8"}; }
  ProcessResult Zelmor(const std::vector<std::string>& args, const std::string& input = {}) {
    return RunProcess(BinDir() + "/zelmor", args, input, std::chrono::seconds(60), Env());
  }
  // `zelmor ARGS` under a shell whose file-size limit is 512 bytes (dash counts
  // 512-byte blocks); `prelude` may change how SIGXFSZ is handled.
  ProcessResult ZelmorLimited(const std::string& prelude, const std::vector<std::string>& args) {
    std::string command = prelude + " ulimit -f 1; exec \"$0\"";
    for (std::size_t i = 0; i < args.size(); ++i) command += " \"$" + std::to_string(i + 1) + "\"";
    std::vector<std::string> shArgs{"-c", command, BinDir() + "/zelmor"};
    shArgs.insert(shArgs.end(), args.begin(), args.end());
    return RunProcess("/bin/sh", shArgs, {}, std::chrono::seconds(60), Env());
  }
  // `zelmor ARGS` as the unprivileged user 65534 (the tests run as root, for whom
  // permissions would not count).
  ProcessResult ZelmorAsNobody(const std::vector<std::string>& args) {
    std::vector<std::string> all{"--reuid=65534", "--regid=65534", "--clear-groups", BinDir() + "/zelmor"};
    all.insert(all.end(), args.begin(), args.end());
    return RunProcess("/usr/bin/setpriv", all, {}, std::chrono::seconds(60), Env());
  }
  std::string StorePath() const { return home.Path() + "/zelmor/registry.reg"; }
  std::unique_ptr<platform::RegistryStore> Store() const { return adapters::OpenRegistryFile(Utf8ToU16(StorePath())); }

  TemporaryFolder home;
};

TEST_F(SettingsE2E, RegQueryShowsEachValueOnOneLine) {
  // A value or name with a line break must not fake further values in the listing.
  ASSERT_EQ(Zelmor({"reg", "add", "Software\\Loja", "Nome", "REG_SZ", "x\n    Admin    REG_DWORD    0x1"}).ExitCode, 0);
  ASSERT_EQ(Zelmor({"reg", "add", "Software\\Loja", "a\rb", "REG_MULTI_SZ", "C:\\dir\\0\t\"q\""}).ExitCode, 0);
  const std::string expected =
      "HKEY_CURRENT_USER\\Software\\Loja\n"
      "    Nome    REG_SZ    x\\n    Admin    REG_DWORD    0x1\n"
      "    a\\rb    REG_MULTI_SZ    C:\\\\dir\\0\\t\\\"q\\\"\n";
  for (const char* verb : {"query", "list"}) {
    ProcessResult r = Zelmor({"reg", verb, "Software\\Loja"});
    EXPECT_EQ(r.ExitCode, 0) << r.Err;
    EXPECT_EQ(r.Out.substr(0, expected.size()), expected) << verb;
  }
}

TEST_F(SettingsE2E, RegAddQueryListDelete) {
  struct {
    std::vector<std::string> args;
    int code;
    std::string out;
  } steps[] = {
      {{"reg", "file"}, 0, ""},
      {{"reg", "add", "HKCU\\Software\\Loja", "Nome", "REG_SZ", "Padaria São João"}, 0, ""},
      {{"reg", "add", "Software\\Loja", "Caixa", "REG_DWORD", "0x2a"}, 0, ""},
      {{"reg", "add", "Software\\Loja", "Taxa", "REG_BINARY", "0000000000000440"}, 0, ""},
      {{"reg", "add", "Software\\Loja", "Grande", "reg_qword", "4294967296"}, 0, ""},
      {{"reg", "add", "Software\\Loja", "Lista", "REG_MULTI_SZ", "um\\0dois"}, 0, ""},
      {{"reg", "add", "Software\\Loja", "", "REG_EXPAND_SZ", "%HOME%"}, 0, ""},
      {{"reg", "add", "Software\\Loja\\Vazia"}, 0, ""},
      {{"reg", "query", "software\\loja", "CAIXA"},
       0,
       "HKEY_CURRENT_USER\\Software\\Loja\n    Caixa    REG_DWORD    0x2a\n"},
      {{"reg", "query", "HKEY_CURRENT_USER\\Software\\Loja"},
       0,
       "HKEY_CURRENT_USER\\Software\\Loja\n"
       "    Nome    REG_SZ    Padaria São João\n"
       "    Caixa    REG_DWORD    0x2a\n"
       "    Taxa    REG_BINARY    0000000000000440\n"
       "    Grande    REG_QWORD    0x100000000\n"
       "    Lista    REG_MULTI_SZ    um\\0dois\n"
       "    @    REG_EXPAND_SZ    %HOME%\n"
       "\n"
       "HKEY_CURRENT_USER\\Software\\Loja\\Vazia\n"},
      {{"call", "TmReg.Ler", "Software\\Loja", "Taxa", "0.5"}, 0, "2.5\n"},
      {{"reg", "delete", "Software\\Loja", "Taxa"}, 0, ""},
      {{"reg", "delete", "Software\\Loja", "Taxa"}, 1, ""},
      {{"reg", "delete", "Software\\Loja"}, 0, ""},
      {{"reg", "query", "Software\\Loja"}, 1, ""},
      {{"reg", "list", "Software"}, 0, "HKEY_CURRENT_USER\\Software\n\n"},
      {{"reg", "add", "HKLM\\Software", "x", "REG_SZ", "y"}, 1, ""},
      {{"reg", "add", "K", "x", "REG_DWORD", "4294967296"}, 1, ""},
      {{"reg", "add", "K", "x", "REG_FLOAT", "1"}, 1, ""},
      {{"reg", "add", "K", "x", "REG_BINARY", "0g"}, 1, ""},
      {{"reg", "frobnicate"}, 2, ""},
  };
  for (const auto& s : steps) {
    ProcessResult r = Zelmor(s.args);
    std::string line;
    for (const auto& a : s.args) line += a + " ";
    EXPECT_EQ(r.ExitCode, s.code) << line << r.Err;
    if (s.args[1] == "file") {
      EXPECT_EQ(r.Out, StorePath() + "\n");
    } else if (s.code == 0) {
      EXPECT_EQ(r.Out, s.out) << line;
    }
    if (s.code == 1) {
      EXPECT_NE(r.Err.find("zelmor reg: "), std::string::npos) << line << r.Err;
    }
  }
}

TEST_F(SettingsE2E, TwoProcessesWritingAtOnceBothKeepEveryValue) {
  constexpr int kEach = 150;
  auto batch = [](const std::string& prefix) {
    std::string lines;
    for (int i = 0; i < kEach; ++i)
      lines += "[\"TmReg.Gravar\",\"Software\\\\Concorrente\",\"" + prefix + std::to_string(i) + "\"," +
               std::to_string(i) + "]\n";
    return lines;
  };
  ProcessResult results[2];
  std::thread a([&] { results[0] = Zelmor({"call", "--batch"}, batch("a")); });
  std::thread b([&] { results[1] = Zelmor({"call", "--batch"}, batch("b")); });
  a.join();
  b.join();
  for (const auto& r : results) {
    EXPECT_EQ(r.ExitCode, 0) << r.Err;
    EXPECT_EQ(std::count(r.Out.begin(), r.Out.end(), '\n'), kEach);
  }
  auto store = Store();
  for (const char* prefix : {"a", "b"})
    for (int i = 0; i < kEach; ++i)
      EXPECT_EQ(store->ReadValue(u"Software\\Concorrente", Utf8ToU16(prefix + std::to_string(i))),
                platform::RegValue::OfDWord(static_cast<std::uint32_t>(i)))
          << prefix << i;
}

TEST_F(SettingsE2E, ADamagedStoreIsReportedAndLeftAsItIs) {
  ASSERT_EQ(Zelmor({"reg", "add", "K", "x", "REG_DWORD", "1"}).ExitCode, 0);
  { std::ofstream(StorePath(), std::ios::app) << "\"sem chave\"=dword:zz\n"; }
  const std::string damaged = FileBytes(StorePath());
  for (const std::vector<std::string>& args : {std::vector<std::string>{"reg", "query", "K"},
                                               {"reg", "add", "K", "y", "REG_SZ", "z"},
                                               {"call", "TmReg.Gravar", "K", "y", "2"}}) {
    ProcessResult r = Zelmor(args);
    EXPECT_EQ(r.ExitCode, 1);
    EXPECT_NE(r.Err.find("danificado"), std::string::npos) << r.Err;
    EXPECT_NE(r.Err.find(StorePath()), std::string::npos) << r.Err;
    EXPECT_EQ(FileBytes(StorePath()), damaged);
  }
}

TEST_F(SettingsE2E, AWriteCutShortLeavesThePreviousStore) {
  // A store bigger than the limit, so the new version cannot be written whole.
  for (int i = 0; i < 20; ++i)
    ASSERT_EQ(Zelmor({"reg", "add", "Software\\Grande", "valor" + std::to_string(i), "REG_SZ", std::string(40, 'x')})
                  .ExitCode,
              0);
  const std::string before = FileBytes(StorePath());
  ASSERT_GT(before.size(), 1024u);

  ProcessResult killed = ZelmorLimited("", {"reg", "add", "Software\\Grande", "novo", "REG_SZ", "y"});
  EXPECT_NE(killed.ExitCode, 0);
  EXPECT_EQ(FileBytes(StorePath()), before);

  ProcessResult full = ZelmorLimited("trap '' XFSZ;", {"reg", "add", "Software\\Grande", "novo", "REG_SZ", "y"});
  EXPECT_EQ(full.ExitCode, 1);
  EXPECT_NE(full.Err.find("File too large"), std::string::npos) << full.Err;
  EXPECT_EQ(FileBytes(StorePath()), before);
  EXPECT_EQ(Zelmor({"reg", "query", "Software\\Grande", "valor19"}).ExitCode, 0);
}

TEST_F(SettingsE2E, AConfigurationFileSaveCutShortLeavesTheOldFile) {
  const std::string ini = home.Path() + "/loja.ini";
  std::string content = "[Loja]\r\n";
  for (int i = 0; i < 100; ++i) content += "item" + std::to_string(i) + "=valor\r\n";
  { std::ofstream(ini, std::ios::binary) << content; }
  // The one-call front-end swallows the failure, as its contract says; the file stays whole.
  ProcessResult swallowed = ZelmorLimited("trap '' XFSZ;", {"call", "TConfigStatic.Gravar", "Loja", "novo", "1", ini});
  EXPECT_EQ(swallowed.ExitCode, 0) << swallowed.Err;
  EXPECT_EQ(FileBytes(ini), content);
  // The object's Flush reports it.
  ProcessResult reported = ZelmorLimited("trap '' XFSZ;", {"call", "TmConfig.WriteInteger", ini, "Loja", "novo", "1"});
  EXPECT_EQ(reported.ExitCode, 1);
  EXPECT_NE(reported.Err.find(ini), std::string::npos) << reported.Err;
  EXPECT_EQ(FileBytes(ini), content);
  ProcessResult killed = ZelmorLimited("", {"call", "TConfigStatic.Gravar", "Loja", "novo", "1", ini});
  EXPECT_NE(killed.ExitCode, 0);
  EXPECT_EQ(FileBytes(ini), content);

  ProcessResult ok = Zelmor({"call", "TConfigStatic.Gravar", "Loja", "novo", "1", ini});
  EXPECT_EQ(ok.ExitCode, 0);
  EXPECT_EQ(Zelmor({"call", "mINI.LerInt", "loja", "NOVO", "0", ini}).Out, "1\n");
}

// A file the user may not change stays as it is, with its owner: the store and a
// configuration file, read-only by the attribute (owner-write bit clear) or by its
// permissions (another owner's file in the user's own folder, which a rename could replace).
TEST_F(SettingsE2E, FilesTheUserMayNotWriteAreNotReplaced) {
  ASSERT_EQ(chown(home.Path().c_str(), 65534, 65534), 0);
  ASSERT_EQ(Zelmor({"reg", "add", "K", "x", "REG_DWORD", "1"}).ExitCode, 0);
  for (const std::string& mine : {home.Path() + "/zelmor", StorePath() + ".lock"})
    ASSERT_EQ(chown(mine.c_str(), 65534, 65534), 0);
  const std::string ini = home.Path() + "/loja.ini";
  { std::ofstream(ini, std::ios::binary) << "[Loja]\r\nx=1\r\n"; }
  const struct {
    const char* what;
    unsigned uid;
    mode_t mode;
  } cases[] = {
      {"ours, 0444", 65534, 0444},
      {"ours, 0400", 65534, 0400},
      {"root's, 0644", 0, 0644},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    for (const std::string& file : {StorePath(), ini}) {
      ASSERT_EQ(chown(file.c_str(), c.uid, c.uid), 0);
      ASSERT_EQ(chmod(file.c_str(), c.mode), 0);
    }
    const std::string store = FileBytes(StorePath()), config = FileBytes(ini);
    ProcessResult r = ZelmorAsNobody({"reg", "add", "K", "y", "REG_DWORD", "2"});
    EXPECT_EQ(r.ExitCode, 1) << r.Out;
    EXPECT_NE(r.Err.find(StorePath()), std::string::npos) << r.Err;
    r = ZelmorAsNobody({"call", "TmConfig.WriteInteger", ini, "Loja", "y", "2"});
    EXPECT_EQ(r.ExitCode, 1) << r.Out;
    EXPECT_NE(r.Err.find(ini), std::string::npos) << r.Err;
    // The one-call front-end loses the change without a word, as it always has; the file stays.
    EXPECT_EQ(ZelmorAsNobody({"call", "TConfigStatic.Gravar", "Loja", "y", "2", ini}).ExitCode, 0);
    for (const std::string& file : {StorePath(), ini}) {
      struct stat st {};
      ASSERT_EQ(stat(file.c_str(), &st), 0);
      EXPECT_EQ(st.st_uid, c.uid) << file;
      EXPECT_EQ(st.st_mode & 07777, c.mode) << file;
    }
    EXPECT_EQ(FileBytes(StorePath()), store);
    EXPECT_EQ(FileBytes(ini), config);
  }
}

// A store or configuration path that is a pipe or a device is refused at once:
// nothing waits for a writer, nothing reads /dev/zero until memory runs out.
TEST_F(SettingsE2E, PipesAndDevicesAreRefusedWithoutWaiting) {
  ASSERT_EQ(mkdir((home.Path() + "/zelmor").c_str(), 0700), 0);
  ASSERT_EQ(mkfifo(StorePath().c_str(), 0600), 0);
  const std::string fifo = home.Path() + "/pipe.ini";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  struct {
    std::vector<std::string> args;
    std::string names;
  } cases[] = {
      {{"reg", "query", "K"}, StorePath()},
      {{"call", "TmReg.Gravar", "K", "y", "2"}, StorePath()},
      {{"call", "TmConfig.ReadString", fifo, "A", "x", "d"}, fifo},
      {{"call", "TmConfig.WriteString", fifo, "A", "x", "v"}, fifo},
      {{"call", "TmConfig.ReadString", "/dev/zero", "A", "x", "d"}, "/dev/zero"},
      {{"call", "TmConfig.WriteString", "/dev/null", "A", "x", "v"}, "/dev/null"},
  };
  for (const auto& c : cases) {
    // A call that waited on the pipe or read the device without end would be killed at
    // the deadline, and would not end with its own exit code.
    ProcessResult r = RunProcess(BinDir() + "/zelmor", c.args, {}, std::chrono::seconds(60), Env());
    EXPECT_EQ(r.ExitCode, 1) << c.args[1] << " " << r.Out;
    EXPECT_NE(r.Err.find(c.names), std::string::npos) << r.Err;
    EXPECT_NE(r.Err.find("não é um arquivo comum"), std::string::npos) << r.Err;
  }
  struct stat st {};
  ASSERT_EQ(stat("/dev/null", &st), 0);
  EXPECT_TRUE(S_ISCHR(st.st_mode));
  ASSERT_EQ(stat(StorePath().c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

// A store cut off at a line boundary, or one with keys deeper than the registry
// allows, is damaged, reported and left alone; neither crashes the reader.
TEST_F(SettingsE2E, CutShortAndTooDeepStoresAreDamaged) {
  ASSERT_EQ(Zelmor({"reg", "add", "K", "x", "REG_DWORD", "42"}).ExitCode, 0);
  const std::string whole = FileBytes(StorePath());
  const std::size_t at = whole.find("dword:0000002a");
  ASSERT_NE(at, std::string::npos) << whole;
  std::string deep = "Zelmor Registry Version 2\n[HKEY_CURRENT_USER";
  for (int i = 0; i < 100000; ++i) deep += "\\k";
  deep += "]\n\"x\"=dword:1\nEnd of Zelmor Registry\n";
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"cut inside the number", whole.substr(0, at + 7)},
      {"cut after the value's line", whole.substr(0, whole.find('\n', at) + 1)},
      {"100,000 levels", deep},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    { std::ofstream(StorePath(), std::ios::binary | std::ios::trunc) << c.bytes; }
    ProcessResult r = Zelmor({"reg", "query", "K", "x"});
    EXPECT_EQ(r.ExitCode, 1) << r.Out;
    EXPECT_NE(r.Err.find("danificado"), std::string::npos) << r.Err;
    EXPECT_EQ(FileBytes(StorePath()), c.bytes);
  }
  // Deep keys are refused when written, not only when read.
  std::string key = "K";
  for (int i = 0; i < 600; ++i) key += "\\k";
  ProcessResult r = Zelmor({"reg", "add", key, "x", "REG_DWORD", "1"});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("512"), std::string::npos) << r.Err;
}

TEST_F(SettingsE2E, WindowPositionsThroughTheTool) {
  // First run: centred on a 1920 × 1080 monitor; then saved and restored.
  ProcessResult r =
      Zelmor({"call", "--json", "TFormPosition.RestauraPadroesForm", "QuindelForm", "0", "0", "700", "80", "0", "2"});
  EXPECT_EQ(r.Out, "{\"result\":null,\"Left\":610,\"Top\":500,\"Width\":700,\"Height\":80,\"WindowState\":0}\n")
      << r.Err;
  EXPECT_EQ(
      Zelmor({"call", "TFormPosition.SalvaPadroesForm", "QuindelForm", "-300", "20", "700", "80", "0", "2"}).ExitCode,
      0);
  r = Zelmor({"reg", "query", "SOFTWARE\\Zelmor\\Forms\\QuindelForm"});
  EXPECT_EQ(r.Out,
            "HKEY_CURRENT_USER\\SOFTWARE\\Zelmor\\Forms\\QuindelForm\n"
            "    Top    REG_DWORD    0x14\n"
            "    Left    REG_DWORD    0xfffffed4\n");
  r = Zelmor({"call", "--json", "TFormPosition.RestauraPadroesForm", "QuindelForm", "0", "0", "700", "80", "0", "2"});
  EXPECT_NE(r.Out.find("\"Left\":-300,\"Top\":20"), std::string::npos) << r.Out;
  ASSERT_EQ(Zelmor({"reg", "add", "SOFTWARE\\Zelmor\\Forms\\QuindelForm", "Top", "REG_SZ", "alto"}).ExitCode, 0);
  r = Zelmor({"call", "TFormPosition.RestauraPadroesForm", "QuindelForm", "0", "0", "700", "80", "0", "2"});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("Invalid data type for 'Top'"), std::string::npos) << r.Err;
}

TEST_F(SettingsE2E, SetPadraoBrasilThroughTheTool) {
  ProcessResult r = Zelmor({"call", "TmReg.SetPadraoBrasil"});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  r = Zelmor({"reg", "query", "Control Panel\\International", "sDecimal"});
  EXPECT_EQ(r.Out, "HKEY_CURRENT_USER\\Control Panel\\International\n    sDecimal    REG_SZ    ,\n");
}

}  // namespace
}  // namespace zelmor::testing
