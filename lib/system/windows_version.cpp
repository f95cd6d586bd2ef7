// The Windows version naming and the TmRot routines around it: the version by
// name and family, file version texts and environment variables.
#include <array>
#include <tuple>

#include "system/mVersaoWindows.h"

namespace zelmor {
namespace {

// A non-negative decimal number without signs or blanks, or -1.
int Number(std::u16string_view s) {
  if (s.empty() || s.size() > 6) return -1;
  int v = 0;
  for (char16_t c : s) {
    if (c < u'0' || c > u'9') return -1;
    v = v * 10 + (c - u'0');
  }
  return v;
}

// Named by the version program's number "major.minor".
std::u16string NameOfNumber(std::u16string_view number, bool server) {
  const std::size_t dot = number.find(u'.');
  const int major = Number(number.substr(0, dot));
  const int minor = dot == std::u16string_view::npos ? -1 : Number(number.substr(dot + 1));
  if (major == 10) return u"10";
  struct Row {
    int Major, Minor;
    std::u16string_view Server, Workstation;
  };
  static constexpr std::array<Row, 7> kRows{{
      {5, 0, u"Server 2000", u"Server 2000"},
      {5, 1, u"XP", u"XP"},
      {5, 2, u"Server 2003", u"XP 64"},
      {6, 0, u"Server 2008", u"Vista"},
      {6, 1, u"Server 2008 R2", u"7"},
      {6, 2, u"Server 2012", u"8"},
      {6, 3, u"Server 2012 R2", u"8.1"},
  }};
  for (const Row& r : kRows)
    if (r.Major == major && r.Minor == minor) return std::u16string(server ? r.Server : r.Workstation);
  return std::u16string(number);
}

// Named by the version tests (major, minor, service pack at least ...), first that holds.
std::u16string NameOfTests(const platform::WindowsVersionFacts& f) {
  struct Test {
    int Major, Minor, ServicePack;
    std::u16string_view Name;
  };
  static constexpr std::array<Test, 11> kTests{{
      {6, 3, 0, u"8.1"},
      {6, 2, 0, u"8"},
      {6, 1, 1, u"7 SP1"},
      {6, 1, 0, u"7"},
      {6, 0, 2, u"Vista SP2"},
      {6, 0, 1, u"Vista SP1"},
      {6, 0, 0, u"Vista"},
      {5, 1, 3, u"XP SP3"},
      {5, 1, 2, u"XP SP2"},
      {5, 1, 1, u"XP SP1"},
      {5, 1, 0, u"XP"},
  }};
  std::u16string name = u"?";
  for (const Test& t : kTests) {
    if (std::tie(f.Major, f.Minor, f.ServicePackMajor) >= std::tie(t.Major, t.Minor, t.ServicePack)) {
      name = t.Name;
      break;
    }
  }
  if (!f.Server) return name;
  if (name == u"8.1") return u"2012 R2";
  if (name == u"8") return u"2012 ";
  if (name.starts_with(u'7')) return u"2008 R2";
  if (name.starts_with(u"Vista")) return u"2008" + name.substr(5);
  if (name.starts_with(u'X')) return u"2003" + name.substr(2);
  return name + u" Server";
}

}  // namespace

std::u16string WindowsVersionNumber(std::u16string_view fileVersion) {
  const std::size_t first = fileVersion.find(u'.');
  if (first == std::u16string_view::npos) return std::u16string(fileVersion);
  return std::u16string(fileVersion.substr(0, fileVersion.find(u'.', first + 1)));
}

std::u16string WindowsVersionName(const platform::WindowsVersionFacts& facts) {
  const std::u16string number = WindowsVersionNumber(facts.FileVersion);
  return u"Windows " + (number.empty() ? NameOfTests(facts) : NameOfNumber(number, facts.Server));
}

TVersaoWindows WindowsVersionFamily(std::u16string_view name) {
  using enum TVersaoWindows;
  static constexpr std::array<std::pair<std::u16string_view, TVersaoWindows>, 10> kParts{{
      {u"2000", vw2000},
      {u"2003", vwNT},
      {u"Server 2008", vwServer2008},
      {u"Server 2012", vwServer2012},
      {u"2012", vwNT},
      {u"XP", vwXP},
      {u"Vista", vwVista},
      {u"7", vw7},
      {u"8", vw8},
      {u"10", vw10},
  }};
  for (const auto& [part, family] : kParts)
    if (name.find(part) != std::u16string_view::npos) return family;
  return vwNT;
}

}  // namespace zelmor
