#include <gtest/gtest.h>

#include <string>

#include "system/mVersaoWindows.h"
#include "system/system.h"
#include "testing/runtime_doubles.h"

namespace zelmor {
namespace {

using enum TVersaoWindows;

struct VersionCase {
  platform::WindowsVersionFacts Facts;
  std::u16string_view Name;
  TVersaoWindows Family;
};

class WindowsVersion : public ::testing::TestWithParam<VersionCase> {};

TEST_P(WindowsVersion, IsNamedFromTheSystemsFacts) {
  const VersionCase& c = GetParam();
  testing::FixedSystemEnvironment system(c.Facts);
  EXPECT_EQ(TmRot::VersaoWindowsStr(), c.Name);
  EXPECT_EQ(TmRot::VersaoWindows(), c.Family) << std::string(c.Name.begin(), c.Name.end());
}

platform::WindowsVersionFacts Program(std::u16string fileVersion, bool server = false) {
  return {std::move(fileVersion), 0, 0, 0, server};
}
platform::WindowsVersionFacts Tests(int major, int minor, int sp, bool server = false) {
  return {u"", major, minor, sp, server};
}

INSTANTIATE_TEST_SUITE_P(
    ByTheVersionProgramsNumber, WindowsVersion,
    ::testing::Values(VersionCase{Program(u"5.0.2195.1"), u"Windows Server 2000", vw2000},
                      VersionCase{Program(u"5.1.2600.0"), u"Windows XP", vwXP},
                      VersionCase{Program(u"5.2.3790.0"), u"Windows XP 64", vwXP},
                      VersionCase{Program(u"5.2.3790.0", true), u"Windows Server 2003", vwNT},
                      VersionCase{Program(u"6.0.6002.18005"), u"Windows Vista", vwVista},
                      VersionCase{Program(u"6.0.6002.18005", true), u"Windows Server 2008", vwServer2008},
                      VersionCase{Program(u"6.1.7601.17514 (win7sp1_rtm.101119-1850)"), u"Windows 7", vw7},
                      VersionCase{Program(u"6.1.7601.17514", true), u"Windows Server 2008 R2", vwServer2008},
                      VersionCase{Program(u"6.2.9200.16384"), u"Windows 8", vw8},
                      VersionCase{Program(u"6.2.9200.16384", true), u"Windows Server 2012", vwServer2012},
                      VersionCase{Program(u"6.3.9600.16384"), u"Windows 8.1", vw8},
                      VersionCase{Program(u"6.3.9600.16384", true), u"Windows Server 2012 R2", vwServer2012},
                      // Windows 10 and 11 both report 10.0.
                      VersionCase{Program(u"10.0.17134.1 (WinBuild.160101.0800)"), u"Windows 10", vw10},
                      VersionCase{Program(u"10.0.22631.2506"), u"Windows 10", vw10},
                      VersionCase{Program(u"10.0.20348.1", true), u"Windows 10", vw10},
                      // An unknown number is its own name; the version tests are not asked then.
                      VersionCase{{u"6.4.9841.0", 6, 3, 0, false}, u"Windows 6.4", vwNT},
                      VersionCase{Program(u"11"), u"Windows 11", vwNT}));

INSTANTIATE_TEST_SUITE_P(
    ByTheVersionTests, WindowsVersion,
    ::testing::Values(
        VersionCase{Tests(10, 0, 0), u"Windows 8.1", vw8}, VersionCase{Tests(6, 3, 0), u"Windows 8.1", vw8},
        VersionCase{Tests(6, 2, 0), u"Windows 8", vw8}, VersionCase{Tests(6, 1, 1), u"Windows 7 SP1", vw7},
        VersionCase{Tests(6, 1, 0), u"Windows 7", vw7}, VersionCase{Tests(6, 0, 2), u"Windows Vista SP2", vwVista},
        VersionCase{Tests(6, 0, 1), u"Windows Vista SP1", vwVista},
        VersionCase{Tests(6, 0, 0), u"Windows Vista", vwVista}, VersionCase{Tests(5, 2, 0), u"Windows XP SP3", vwXP},
        VersionCase{Tests(5, 1, 3), u"Windows XP SP3", vwXP}, VersionCase{Tests(5, 1, 2), u"Windows XP SP2", vwXP},
        VersionCase{Tests(5, 1, 1), u"Windows XP SP1", vwXP}, VersionCase{Tests(5, 1, 0), u"Windows XP", vwXP},
        VersionCase{Tests(5, 0, 4), u"Windows ?", vwNT},
        // Server names; those with "2008" but not "Server 2008" fall to the "8" test.
        VersionCase{Tests(6, 3, 0, true), u"Windows 2012 R2", vwNT},
        VersionCase{Tests(6, 2, 0, true), u"Windows 2012 ", vwNT},
        VersionCase{Tests(6, 1, 1, true), u"Windows 2008 R2", vw8},
        VersionCase{Tests(6, 0, 2, true), u"Windows 2008 SP2", vw8},
        VersionCase{Tests(6, 0, 0, true), u"Windows 2008", vw8},
        VersionCase{Tests(5, 2, 2, true), u"Windows 2003 SP3", vwNT},
        VersionCase{Tests(5, 1, 0, true), u"Windows 2003", vwNT},
        VersionCase{Tests(5, 0, 0, true), u"Windows ? Server", vwNT},
        // No facts at all: a system that is not Windows.
        VersionCase{{}, u"Windows ?", vwNT}));

TEST(WindowsVersionNumber, KeepsTheTextBeforeTheSecondDot) {
  EXPECT_EQ(WindowsVersionNumber(u"10.0.17134.1 (WinBuild.160101.0800)"), u"10.0");
  EXPECT_EQ(WindowsVersionNumber(u"6.1"), u"6.1");
  EXPECT_EQ(WindowsVersionNumber(u"10"), u"10");
  EXPECT_EQ(WindowsVersionNumber(u""), u"");
}

TEST(WindowsVersionFamily, FirstMatchingPartInItsOrder) {
  EXPECT_EQ(WindowsVersionFamily(u"Windows Server 2000"), vw2000);
  EXPECT_EQ(WindowsVersionFamily(u"Windows XP 2003"), vwNT);  // "2003" comes before "XP"
  EXPECT_EQ(WindowsVersionFamily(u"Windows 10"), vw10);
  EXPECT_EQ(WindowsVersionFamily(u""), vwNT);
}

TEST(WindowsVersionOnThisSystem, LinuxHasNoWindowsVersionAndGivesTheFallbacks) {
  // The installed system environment, not a stand-in: nothing of the running Linux
  // (its distribution's name or kernel version) reaches the Windows table.
  EXPECT_EQ(TmRot::VersaoWindowsStr(), u"Windows ?");
  EXPECT_EQ(TmRot::VersaoWindows(), vwNT);
}

}  // namespace
}  // namespace zelmor
