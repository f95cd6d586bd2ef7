// Command lines in the Windows way, read into argument vectors so that a program
// is started without a shell: nothing in the text can run another command.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zelmor {

// Splits `line` as Windows programs read their command line. The first word is the
// program: up to the next blank, or between double quotes when it starts with one
// (backslashes taken as they are). In the others, blanks and tabs separate arguments
// outside double quotes; 2n backslashes before a quote give n and the quote opens or
// closes, 2n+1 give n and a literal quote; two quotes inside quotes give one quote;
// other backslashes are plain characters.
//   SplitCommandLine(uR"("C:\Program Files\a.exe" x "b c" d\"e)") ==
//     {uR"(C:\Program Files\a.exe)", u"x", u"b c", u"d\"e"}
std::vector<std::u16string> SplitCommandLine(std::u16string_view line);

}  // namespace zelmor
