// Naming the Windows version the program runs on, from the version facts the
// system gives (platform::SystemEnvironment). Its client is TmRot::VersaoWindows;
// the naming is exposed for tests and tools that bring their own facts.
#pragma once

#include <string>
#include <string_view>

#include "mConst.h"
#include "platform/system_environment.h"

namespace zelmor {

// "Windows " and the version's name: by the version number when the system's version
// program has one ("10.0" gives "Windows 10", "6.1" on a server "Windows Server 2008 R2",
// an unknown "6.4" itself), otherwise by the version tests on the numbers and service
// pack ("Windows 7 SP1", on a server "Windows 2008 R2"). With no facts at all, as on
// a system that is not Windows: "Windows ?".
std::u16string WindowsVersionName(const platform::WindowsVersionFacts& facts);

// The version family a name from WindowsVersionName belongs to, by the first of
// "2000", "2003", "Server 2008", "Server 2012", "2012", "XP", "Vista", "7", "8", "10"
// it contains; vwNT when none.
//   WindowsVersionFamily(u"Windows 8.1") == vw8; WindowsVersionFamily(u"Windows ?") == vwNT
TVersaoWindows WindowsVersionFamily(std::u16string_view name);

// The system's version number: the "FileVersion" text up to its second "." ("10.0"
// of "10.0.17134.1 (WinBuild.160101.0800)"); empty for an empty text.
std::u16string WindowsVersionNumber(std::u16string_view fileVersion);

}  // namespace zelmor
