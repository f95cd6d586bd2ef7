#include "processes/command_line.h"

#include <gtest/gtest.h>

#include "core/text.h"

namespace zelmor {
namespace {

TEST(SplitCommandLine, ReadsArgumentsTheWindowsWay) {
  using Args = std::vector<std::u16string>;
  struct Case {
    const char16_t* Line;
    Args Expected;
  };
  const Case cases[] = {
      {u"", {}},
      {u"   \t ", {}},
      {u"prog", {u"prog"}},
      {u"  prog   a\tb  ", {u"prog", u"a", u"b"}},
      {uR"("C:\Program Files\App\a.exe" x)", {uR"(C:\Program Files\App\a.exe)", u"x"}},
      // The program's name takes backslashes as they are, even before a quote.
      {uR"("C:\dir\"  y)", {uR"(C:\dir\)", u"y"}},
      {uR"(p "b c" d)", {u"p", u"b c", u"d"}},
      {uR"(p a"b c"d)", {u"p", u"ab cd"}},
      {uR"(p a\"b)", {u"p", u"a\"b"}},
      {uR"(p a\\"b c")", {u"p", uR"(a\b c)"}},
      {uR"(p a\\\"b)", {u"p", uR"(a\"b)"}},
      {uR"(p a\\b c:\x\)", {u"p", uR"(a\\b)", uR"(c:\x\)"}},
      {uR"(p "a""b")", {u"p", u"a\"b"}},
      {uR"(p "" x)", {u"p", u"", u"x"}},
      {uR"(p "unclosed arg)", {u"p", u"unclosed arg"}},
      // Shell syntax is plain text here.
      {uR"(p $(rm -rf x) `id`;ls|wc >f)", {u"p", u"$(rm", u"-rf", u"x)", u"`id`;ls|wc", u">f"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitCommandLine(c.Line), c.Expected) << U16ToUtf8(c.Line);
}

}  // namespace
}  // namespace zelmor
