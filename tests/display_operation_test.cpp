// The display program as a till runs it: stopped by its service manager, on the
// second of two monitors, at a high scale factor, with placement options. Qt's
// offscreen platform stands in for the monitors (a configuration file lists them),
// and the line the display writes at start says where the window went.
#include <gtest/gtest.h>
#include <signal.h>

#include <fstream>
#include <optional>
#include <regex>
#include <thread>

#include "testing/temp_store.h"
#include "tests/process_util.h"

namespace zelmor::testing {
namespace {

using namespace std::chrono_literals;

const std::vector<std::string> kNoDisplayServer{"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "QT_SCALE_FACTOR"};
const std::string kKey = "SOFTWARE\\Zelmor\\Forms\\QuindelForm";

// Two monitors side by side: the cashier's on the left, the customer's on the right.
const char* kTwoScreens = R"({"windowFrameMargins": false, "screens": [
  {"name": "HDMI-1", "x": 0, "y": 0, "width": 1024, "height": 768, "logicalDpi": 96},
  {"name": "HDMI-2", "x": 1024, "y": 0, "width": 1280, "height": 1024, "logicalDpi": 96}]})";
const char* kOneSmallScreen = R"({"windowFrameMargins": false, "screens": [
  {"name": "LVDS-1", "x": 0, "y": 0, "width": 1024, "height": 768, "logicalDpi": 96}]})";

struct WhereItIs {
  bool listening = false;
  int x = 0, y = 0, width = 0, height = 0;
  std::string screen;
};

class DisplayOperation : public ::testing::Test {
 protected:
  // Starts the display on the monitors `screens` describes.
  void Start(const char* screens, std::vector<std::string> args = {}, std::vector<std::string> env = {}) {
    const std::string config = home.Path() + "/screens.json";
    std::ofstream(config) << screens;
    port = FreePort();
    args.insert(args.begin(), {"--port", std::to_string(port)});
    env.push_back("QT_QPA_PLATFORM=offscreen:configfile=" + config);
    env.push_back("XDG_CONFIG_HOME=" + home.Path());
    env.push_back("LC_ALL=C");
    quindel = std::make_unique<ChildProcess>(BinDir() + "/quindel", args, env, kNoDisplayServer);
  }

  // The start-up line, once it is there (bounded wait).
  bool StartUpLine(WhereItIs& where) {
    static const std::regex line(
        R"re(quindel: (listening on 0\.0\.0\.0:\d+|not listening); window at (-?\d+),(-?\d+) on screen "([^"]*)" \((\d+)x(\d+)\))re");
    for (int i = 0; i < 400; ++i) {
      std::smatch m;
      const std::string err = quindel->Err();
      if (std::regex_search(err, m, line)) {
        where = {m[1].str() != "not listening",
                 std::stoi(m[2]),
                 std::stoi(m[3]),
                 std::stoi(m[5]),
                 std::stoi(m[6]),
                 m[4].str()};
        return true;
      }
      if (!quindel->Running()) return false;
      std::this_thread::sleep_for(50ms);
    }
    return false;
  }

  ProcessResult Reg(const std::vector<std::string>& args) {
    return RunProcess(BinDir() + "/zelmor", args, {}, 30s, {"XDG_CONFIG_HOME=" + home.Path()});
  }
  void StorePlace(int left, int top) {
    ASSERT_EQ(Reg({"reg", "add", kKey, "Left", "REG_DWORD", std::to_string(left)}).ExitCode, 0);
    ASSERT_EQ(Reg({"reg", "add", kKey, "Top", "REG_DWORD", std::to_string(top)}).ExitCode, 0);
  }
  // A stored DWORD as the number it holds, or nothing.
  std::optional<int> Stored(const std::string& value) {
    const ProcessResult r = Reg({"reg", "query", kKey, value});
    std::smatch m;
    static const std::regex dword(R"(REG_DWORD\s+0x([0-9a-f]+))");
    if (r.ExitCode != 0 || !std::regex_search(r.Out, m, dword)) return std::nullopt;
    return static_cast<int>(static_cast<std::uint32_t>(std::stoul(m[1].str(), nullptr, 16)));
  }

  TemporaryFolder home;
  int port = 0;
  std::unique_ptr<ChildProcess> quindel;
};

TEST_F(DisplayOperation, StopSignalsCloseTheWindowAndKeepItsPlace) {
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
    SCOPED_TRACE(signal);
    StorePlace(1100 + signal, 150);
    Start(kTwoScreens);
    WhereItIs where;
    ASSERT_TRUE(StartUpLine(where)) << quindel->Err();
    EXPECT_TRUE(where.listening);
    EXPECT_EQ(where.x, 1100 + signal);
    // Forgotten while it runs: only the save on the way out can bring the place back.
    ASSERT_EQ(Reg({"reg", "delete", kKey}).ExitCode, 0);
    ASSERT_EQ(::kill(quindel->Pid(), signal), 0);
    EXPECT_EQ(quindel->Wait(20s), 0) << "ended by signal " << quindel->Signal() << "\n" << quindel->Err();
    EXPECT_NE(quindel->Err().find("received; closing"), std::string::npos) << quindel->Err();
    EXPECT_EQ(Stored("Left"), where.x);
    EXPECT_EQ(Stored("Top"), where.y);
    quindel.reset();
  }
}

TEST_F(DisplayOperation, APlaceOnTheSecondMonitorIsKept) {
  const struct {
    int left, top;
    int wantX, wantY;
    const char* screen;
  } cases[] = {
      {1100, 150, 1100, 150, "HDMI-2"},  // wholly on the customer's monitor: kept
      {40, 30, 40, 30, "HDMI-1"},        // on the cashier's: kept, as always
      {2200, 150, -1, -1, "HDMI-1"},     // past every monitor's edge: back to the centre of the primary
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.left);
    StorePlace(c.left, c.top);
    Start(kTwoScreens);
    WhereItIs where;
    ASSERT_TRUE(StartUpLine(where)) << quindel->Err();
    EXPECT_EQ(where.screen, c.screen);
    if (c.wantX >= 0) {
      EXPECT_EQ(where.x, c.wantX);
      EXPECT_EQ(where.y, c.wantY);
    } else {
      EXPECT_EQ(where.x, 1024 / 2 - where.width / 2);
      EXPECT_EQ(where.y, 768 / 2 - where.height / 2);
    }
    ASSERT_EQ(::kill(quindel->Pid(), SIGTERM), 0);
    EXPECT_EQ(quindel->Wait(20s), 0);
    quindel.reset();
  }
}

// At twice the scale on a 1024 x 768 monitor (512 x 384 in the window's units) the
// window is as wide as the monitor at most: the character cell is smaller, the 40
// columns all there (the in-process test of the cell checks the columns).
TEST_F(DisplayOperation, AtScaleTwoTheWindowFitsItsMonitor) {
  Start(kOneSmallScreen, {}, {"QT_SCALE_FACTOR=2"});
  WhereItIs where;
  ASSERT_TRUE(StartUpLine(where)) << quindel->Err();
  EXPECT_EQ(where.screen, "LVDS-1");
  EXPECT_GT(where.width, 256);
  EXPECT_GE(where.x, 0);
  EXPECT_LE(where.x + where.width, 512);
  EXPECT_LE(where.y + where.height, 384);
  ::kill(quindel->Pid(), SIGTERM);
  EXPECT_EQ(quindel->Wait(20s), 0);
}

TEST_F(DisplayOperation, PlacementOptions) {
  const struct {
    std::vector<std::string> args;
    const char* screen;
    int wantX, wantY, wantWidth, wantHeight;  // -1: not checked
  } cases[] = {
      {{"--screen", "2"}, "HDMI-2", -1, -1, -1, -1},
      {{"--screen", "HDMI-2", "--on-top"}, "HDMI-2", -1, -1, -1, -1},
      {{"--screen", "1"}, "HDMI-1", -1, -1, -1, -1},
      {{"--fullscreen", "--screen", "HDMI-2"}, "HDMI-2", 1024, 0, 1280, 1024},
      {{"--fullscreen"}, "HDMI-1", 0, 0, 1024, 768},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.front() + " " + c.args.back());
    StorePlace(40, 30);  // on the first monitor: --screen 2 must win over it
    Start(kTwoScreens, c.args);
    WhereItIs where;
    ASSERT_TRUE(StartUpLine(where)) << quindel->Err();
    EXPECT_EQ(where.screen, c.screen);
    if (c.wantX >= 0) {
      EXPECT_EQ(where.x, c.wantX);
      EXPECT_EQ(where.y, c.wantY);
      EXPECT_EQ(where.width, c.wantWidth);
      EXPECT_EQ(where.height, c.wantHeight);
    }
    ::kill(quindel->Pid(), SIGTERM);
    EXPECT_EQ(quindel->Wait(20s), 0);
    quindel.reset();
  }
  // A monitor that is not there: refused, naming the ones there are.
  Start(kTwoScreens, {"--screen", "3"});
  EXPECT_EQ(quindel->Wait(20s), 2);
  EXPECT_NE(quindel->Err().find(R"(--screen 3: no such monitor; there are 1 "HDMI-1", 2 "HDMI-2")"), std::string::npos)
      << quindel->Err();
}

TEST(DisplayOperationCli, AWrongOptionIsNamed) {
  const struct {
    std::vector<std::string> args;
    const char* said;
  } cases[] = {
      {{"--bogus"}, "quindel: unknown option \"--bogus\""},
      {{"--mirror"}, "quindel: --mirror needs a value"},
      {{"--screen"}, "quindel: --screen needs a value"},
      {{"--mirror-protocol", "vt100"}, "quindel: --mirror-protocol: cd5220 or escpos, not \"vt100\""},
  };
  for (const auto& c : cases) {
    const ProcessResult r = RunProcess(BinDir() + "/quindel", c.args);
    EXPECT_EQ(r.ExitCode, 2) << c.said;
    EXPECT_NE(r.Err.find(c.said), std::string::npos) << r.Err;
  }
  const ProcessResult help = RunProcess(BinDir() + "/quindel", {"--help"});
  EXPECT_EQ(help.ExitCode, 0);
  for (const char* option : {"--screen N|NAME", "--fullscreen", "--on-top", "--port N", "--echo"})
    EXPECT_NE(help.Out.find(option), std::string::npos) << option;
}

}  // namespace
}  // namespace zelmor::testing
