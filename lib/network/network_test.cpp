#include <signal.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "adapters/linux/system_services.h"
#include "core/errors.h"
#include "core/text.h"
#include "network/network.h"
#include "platform/machine_info.h"
#include "platform/program_start.h"
#include "testing/file_tree.h"
#include "testing/fixtures.h"

namespace zelmor {
namespace {

// Machine facts chosen by the test.
class ChosenMachine final : public platform::MachineInfo {
 public:
  std::optional<std::u16string> Host, User;
  std::vector<std::u16string> Addresses;
  std::optional<std::vector<std::uint8_t>> Mac;
  std::u16string Brand;
  int PerPackage = 0;
  std::optional<std::uint64_t> Free;

  std::optional<std::u16string> HostName() override { return Host; }
  std::optional<std::u16string> UserName() override { return User; }
  std::vector<std::u16string> LocalIPv4Addresses() override { return Addresses; }
  std::optional<std::vector<std::uint8_t>> HardwareAddress() override { return Mac; }
  bool Echo(std::u16string_view, int, int) override { return false; }
  std::u16string ProcessorBrand() override { return Brand; }
  int LogicalProcessorsPerPackage() override { return PerPackage; }
  std::optional<std::uint64_t> FreeDiskBytes() override { return Free; }

 private:
  platform::Service<platform::MachineInfo>::ScopedOverride FInstalled{this};
};

TEST(MachineFacts, NamesAddressesAndTheirFailureTexts) {
  ChosenMachine m;
  EXPECT_EQ(TmRot::GetComputerName(false), u"NomePC");
  EXPECT_EQ(TmRot::GetWindowsUser(), u"NomeUsuarioWin");
  EXPECT_EQ(TmRot::GetLocalIP(), u"");
  EXPECT_EQ(TmRot::GetLocalIPs().Count(), 0);
  EXPECT_FALSE(TmRot::StatusInternet());
  EXPECT_EQ(TmRot::GetLocalEnderecoMac(), u"");
  EXPECT_EQ(TmRot::HDLivreMb(), 0);

  m.Host = u" caixa-1.loja.local ";
  m.User = u"operador ";
  m.Addresses = {u"192.168.0.15", u"10.0.0.2"};
  m.Mac = std::vector<std::uint8_t>{0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0xfe};
  m.Free = 1'500'000'000;
  EXPECT_EQ(TmRot::GetComputerName(true), u"caixa-1");
  EXPECT_EQ(TmRot::GetComputerName(false), u"caixa-1.loja.local");
  EXPECT_EQ(TmRot::GetWindowsUser(), u"operador");
  EXPECT_EQ(TmRot::GetLocalIP(), u"192.168.0.15");
  const TStringList all = TmRot::GetLocalIPs();
  ASSERT_EQ(all.Count(), 2);
  EXPECT_EQ(all[1], u"10.0.0.2");
  EXPECT_TRUE(TmRot::IsIPLocal(u"10.0.0.2"));
  EXPECT_FALSE(TmRot::IsIPLocal(u"127.0.0.1"));
  EXPECT_FALSE(TmRot::IsIPLocal(u"10.0.0.20"));
  EXPECT_TRUE(TmRot::StatusInternet());
  EXPECT_EQ(TmRot::GetLocalEnderecoMac(), u"00-1A-2B-3C-4D-FE");
  EXPECT_EQ(TmRot::HDLivreMb(), 1500);
  m.Free = 999'999;
  EXPECT_EQ(TmRot::HDLivreMb(), 0);
  m.Free = 1ull << 60;
  EXPECT_EQ(TmRot::HDLivreMb(), 0x7FFFFFFF);
}

TEST(MachineFacts, ProcessorTextStopsAtTheFirstZeroCharacter) {
  using namespace std::string_literals;
  ChosenMachine m;
  struct Case {
    std::u16string Brand, Text;
  };
  for (const Case& c : {Case{u"", u""}, Case{u"  Intel(R) Core(TM) i5", u"  Intel(R) Core(TM) i5"},
                        Case{u"AMD Ryzen 5\0\0\0garbage"s, u"AMD Ryzen 5"}, Case{u"\0x"s, u""}}) {
    m.Brand = c.Brand;
    EXPECT_EQ(TmRot::GetProcessadorStr(), c.Text);
  }
  m.PerPackage = 16;
  EXPECT_EQ(TmRot::GetProcessadorCount(), 16);
}

TEST(FusoHorarioComputador, OffsetFromTheSystemZoneWithItsSign) {
  testing::FixedRegionalSettings brazil;
  testing::FixedClock clock({2018, 12, 5, 14, 7, 0, 0});
  struct Case {
    const char* TZ;
    const char16_t* Text;
  };
  // POSIX zone rules, so no zone database is needed; daylight saving is not counted.
  for (const Case& c :
       {Case{"BRT3", u"05/12/2018 14:07:00 - GMT (-03:00)"},
        Case{"AMT4AMST,M10.1.0,M2.3.0", u"05/12/2018 14:07:00 - GMT (-04:00)"},
        Case{"IST-5:30", u"05/12/2018 14:07:00 - GMT (+05:30)"},
        Case{"NPT-5:45", u"05/12/2018 14:07:00 - GMT (+05:45)"}, Case{"UTC0", u"05/12/2018 14:07:00 - GMT (-00:00)"}}) {
    testing::ScopedEnv tz("TZ", c.TZ);
    EXPECT_EQ(TmRot::FusoHorarioComputador(), c.Text) << c.TZ;
  }
}

TEST(Ping, LoopbackAnswersAndZeroRetriesAsksNothing) {
  EXPECT_FALSE(TmRot::Ping(u"127.0.0.1", 0, 32, 0));
  EXPECT_TRUE(TmRot::Ping(u"127.0.0.1", 2, 32, 0));
  EXPECT_TRUE(TmRot::Ping(u"localhost", 1, 1400, 0));
  EXPECT_FALSE(TmRot::Ping(u"no-such-host.invalid", 1, 32, 0));
}

// A small HTTP server on 127.0.0.1, started by the test.
constexpr const char* kServer = R"PY(
import http.server, os, sys, threading, time
class H(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    def log_message(self, *a): pass
    def send(self, code, body, extra=()):
        self.send_response(code)
        self.send_header("Content-Length", str(len(body)))
        for k, v in extra: self.send_header(k, v)
        self.end_headers()
        self.wfile.write(body)
    def do_GET(self):
        p = self.path.split("?")[0]
        if p == "/text": self.send(200, b"a" * 1023 + "ç".encode() + "fim €".encode())
        elif p == "/echo": self.send(200, self.path.encode())
        elif p == "/ansi": self.send(200, b"a\xe7\xe3o \x80")
        elif p == "/file": self.send(200, "conteúdo novo".encode())
        elif p == "/redirect": self.send(302, b"", [("Location", "/file")])
        elif p.startswith("/sized/"):
            n = int(p[7:]); block = bytes((i * 7 + 3) & 255 for i in range(65521))
            self.send(200, (block * (n // len(block) + 1))[:n])
        elif p == "/endless":
            self.send_response(200); self.send_header("Connection", "close"); self.end_headers()
            block = b"0" * 65536
            for _ in range(100000): self.wfile.write(block)
        elif p == "/drip":
            self.send_response(200); self.send_header("Content-Length", "100000"); self.end_headers()
            for _ in range(100): self.wfile.write(b"0"); self.wfile.flush(); time.sleep(0.2)
        elif p == "/stall":
            self.send_response(200); self.send_header("Content-Length", "100"); self.end_headers()
            self.wfile.write(b"0"); self.wfile.flush(); time.sleep(8)
        else: self.send(404, b"<html>not found</html>")
s = http.server.ThreadingHTTPServer(("127.0.0.1", 0), H)
s.daemon_threads = True
s.handle_error = lambda *a: None
print(os.getpid(), s.server_address[1], flush=True)
threading.Timer(60, lambda: os._exit(0)).start()
s.serve_forever()
)PY";

class LocalHttp : public ::testing::Test {
 protected:
  void SetUp() override {
    adapters::SetHttpStallSeconds(1);
    FDir.Write("server.py", kServer);
    platform::ProgramStart s;
    s.Arguments = {u"python3", FDir.Path("server.py")};
    s.StandardOutput = FDir.Path("port");
    ASSERT_TRUE(platform::Service<platform::Processes>::Get().Start(s));
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    std::string line;
    while (std::chrono::steady_clock::now() < limit) {
      line = FDir.Read("port");
      if (!line.empty() && line.back() == '\n') break;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    const auto blank = line.find(' ');
    ASSERT_NE(blank, std::string::npos) << "the server did not start";
    FPid = std::stoi(line.substr(0, blank));
    FBase = u"http://127.0.0.1:" + Utf8ToU16(line.substr(blank + 1, line.size() - blank - 2));
  }
  void TearDown() override {
    if (FPid > 0) kill(FPid, SIGKILL);
    adapters::SetHttpStallSeconds(30);
  }
  testing::FileTree FDir;
  int FPid = 0;
  std::u16string FBase;
};

TEST_F(LocalHttp, TextIsDecodedWholeAndTheAddressMadeUncached) {
  EXPECT_EQ(TmRot::GetStringFromUrl(FBase + u"/text"), std::u16string(1023, u'a') + u"çfim €");
  const std::u16string echoed = TmRot::GetStringFromUrl(FBase + u"/echo");
  ASSERT_EQ(echoed.size(), 18u) << U16ToUtf8(echoed);
  EXPECT_EQ(echoed.substr(0, 6), u"/echo?");
  EXPECT_EQ(echoed.find_first_not_of(u"0123456789", 6), std::u16string::npos);
  EXPECT_EQ(TmRot::GetStringFromUrl(FBase + u"/echo?a=1&b"), u"/echo?a=1&b");
  EXPECT_EQ(TmRot::GetStringFromUrl(FBase + u"/redirect"), u"conteúdo novo");
  EXPECT_EQ(TmRot::DownloadStrURL(FBase + u"/ansi"), u"ação €");
  EXPECT_EQ(TmRot::DownloadStrURL(FBase + u"/echo"), u"/echo");
  for (const char16_t* bad : {u"/missing", u"/stall"}) {
    EXPECT_THROW(TmRot::GetStringFromUrl(FBase + bad), ENetworkError);
    EXPECT_THROW(TmRot::DownloadStrURL(FBase + bad), ENetworkError);
  }
  EXPECT_THROW(TmRot::GetStringFromUrl(u"http://127.0.0.1:1/"), ENetworkError);
}

TEST_F(LocalHttp, AnEndlessOrDrippingAnswerIsGivenUp) {
  // An answer that never ends stops at the text cap rather than filling the memory.
  try {
    TmRot::GetStringFromUrl(FBase + u"/endless");
    ADD_FAILURE() << "an endless answer was taken";
  } catch (const ENetworkError& e) {
    EXPECT_EQ(e.Message(), u"answer larger than 67108864 bytes");
  }
  // A few bytes a second, never silent: under the minimum rate over the window.
  EXPECT_THROW(TmRot::GetStringFromUrl(FBase + u"/drip"), ENetworkError);
  FDir.Write("dest.txt", "antigo");
  EXPECT_FALSE(TmRot::DownloadFileHTTP(FBase + u"/drip", FDir.Path("dest.txt"), false));
  EXPECT_EQ(FDir.Read("dest.txt"), "antigo");
}

TEST_F(LocalHttp, ADownloadNeverWidensThePermissionsOfTheFileItReplaces) {
  FDir.Write("dest.txt", "antigo");
  ::chmod(FDir.Native("dest.txt").c_str(), 0600);
  EXPECT_TRUE(TmRot::DownloadFileHTTP(FBase + u"/file", FDir.Path("dest.txt"), true));
  EXPECT_EQ(FDir.Read("dest.txt"), "conteúdo novo");
  EXPECT_EQ(FDir.Mode("dest.txt"), 0600u);
}

// Bodies of every size around the points where the client gathers its writes and
// hands them to the disk arrive whole over the file they replace.
TEST_F(LocalHttp, LargeDownloadsArriveWhole) {
  const std::size_t sizes[] = {
      0, 1, (256u << 10) - 1, 256u << 10, (256u << 10) + 1, (8u << 20) + 1, (19u << 20) + 12345};
  for (std::size_t size : sizes) {
    SCOPED_TRACE(size);
    std::string expected(size, '\0');
    for (std::size_t i = 0; i < size; ++i) expected[i] = static_cast<char>(((i % 65521) * 7 + 3) & 255);
    FDir.Write("dest.bin", "antigo");
    ASSERT_TRUE(
        TmRot::DownloadFileHTTP(FBase + u"/sized/" + Utf8ToU16(std::to_string(size)), FDir.Path("dest.bin"), true));
    EXPECT_TRUE(FDir.Read("dest.bin") == expected);
  }
  EXPECT_EQ(FDir.Names(), (std::vector<std::string>{"dest.bin", "port", "server.py"}));
}

TEST_F(LocalHttp, AFailedDownloadLeavesTheOldFile) {
  FDir.Write("dest.txt", "antigo");
  for (const char16_t* bad : {u"/missing", u"/stall"}) {
    EXPECT_FALSE(TmRot::DownloadFileHTTP(FBase + bad, FDir.Path("dest.txt"), false)) << U16ToUtf8(bad);
    EXPECT_THROW(TmRot::DownloadFileHTTP(FBase + bad, FDir.Path("dest.txt"), true), ENetworkError);
    EXPECT_EQ(FDir.Read("dest.txt"), "antigo");
  }
  EXPECT_FALSE(TmRot::DownloadFileHTTP(FBase + u"/file", FDir.Path("no-folder/dest.txt"), false));
  EXPECT_TRUE(TmRot::DownloadFileHTTP(FBase + u"/redirect", FDir.Path("dest.txt"), true));
  EXPECT_EQ(FDir.Read("dest.txt"), "conteúdo novo");
  // Nothing is left beside it.
  EXPECT_EQ(FDir.Names(), (std::vector<std::string>{"dest.txt", "port", "server.py"}));
}

}  // namespace
}  // namespace zelmor
