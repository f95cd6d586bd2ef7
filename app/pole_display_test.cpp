// What a pole display is sent: lines fitted to its width, its code page, its commands.
#include <gtest/gtest.h>

#include "app/pole_display.h"

namespace quindel {
namespace {

TEST(PoleDisplay, LinesAreFittedToTheDeviceWidth) {
  struct {
    const char16_t* line;
    const char16_t* fitted;
  } cases[] = {
      {u"Total", u"Total     "},  // padded, so old text is overwritten
      {u"", u"          "},
      {u"CAFE EXPRESSO  R$ 4,50", u"CAFE EXPRE"},        // cut
      {u"       - aguardando -       ", u"- aguardan"},  // centred, too long even without its blanks
      {u"          Zelmor          ", u"  Zelmor  "},    // centred: re-centred
      {u"           Zelmor          ", u"  Zelmor  "},   // one blank more on one side is centred too
      {u"             Zelmor   ", u"          "},        // blanks mostly before: cut, so not centred
  };
  for (const auto& c : cases) {
    const std::u16string got = FitLine(c.line, 10);
    EXPECT_TRUE(got == c.fitted) << std::string(got.begin(), got.end());
  }
}

TEST(PoleDisplay, CharactersMapToTheDevicesCodePage) {
  struct {
    const char16_t* text;
    int codepage;
    std::string bytes;
  } cases[] = {
      {u"Pao R$ 3,99", 437, "Pao R$ 3,99"},
      {u"Ação", 860, "A\x87\x84o"},  // Portuguese page: ç 0x87, ã 0x84
      {u"Ação", 437,
       "A\x87"
       "ao"},  // 437 has ç but not ã: the letter without its accent
      {u"Ação", 850, "A\x87\xC6o"},
      {u"€ 1", 858, "\xD5 1"},
      {u"€ 1", 437, "? 1"},  // nothing to fall back to
      {u"Ação €", 1252, "A\xE7\xE3o \x80"},
      {u"a\tb\x0D", 437, "a b "},  // control characters never reach the device
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToCodePage(c.text, c.codepage), c.bytes) << c.codepage;
  }
}

TEST(PoleDisplay, FramesUseTheDevicesCommandSet) {
  PoleOptions cd;
  cd.width = 4;
  EXPECT_EQ(PoleFrame(cd, u"Ab", u"Total"), std::string("\x0C\x1BQAAb  \x0D\x1BQBTota\x0D"));
  PoleOptions esc = cd;
  esc.protocol = PoleProtocol::EscPos;
  EXPECT_EQ(PoleFrame(esc, u"Ab", u"Total"), std::string("\x0C\x1F$\x01\x01"
                                                         "Ab  \x1F$\x01\x02Tota"));
  EXPECT_EQ(PoleStart(PoleProtocol::CD5220), "\x1B@");
  EXPECT_EQ(ParsePoleProtocol("escpos"), PoleProtocol::EscPos);
  EXPECT_FALSE(ParsePoleProtocol("CD-5220").has_value());
}

}  // namespace
}  // namespace quindel
