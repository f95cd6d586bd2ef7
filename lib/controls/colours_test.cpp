#include <gtest/gtest.h>

#include "controls/controls.h"

namespace zelmor {
namespace {

TEST(ColoursTest, ColorToStr) {
  struct Case {
    TColor colour;
    bool hexOnly;
    std::u16string expected;
  };
  const Case cases[] = {
      {0x0080FF, true, u"$000080FF"},  // orange: red FF, green 80, blue 00
      {clWhite, true, u"$00FFFFFF"},
      {clBlack, true, u"$00000000"},
      {clCream, true, u"$00F0FBFF"},
      {static_cast<TColor>(0xFF00000F), true, u"$0000000F"},  // the top byte never shows
      {clCream, false, u"clCream"},
      {clBlack, false, u"clBlack"},
      {12713921, false, u"$00C1FFC1"},
  };
  for (const Case& c : cases) EXPECT_EQ(TmRot::ColorToStr(c.colour, c.hexOnly), c.expected) << c.colour;
}

TEST(ColoursTest, InverteCorContrastsWithTheBackground) {
  struct Case {
    TColor background;
    TColor text;
  };
  const Case cases[] = {
      {clWhite, clBlack},
      {clBlack, clWhite},
      {0x808080, clWhite},  // mid grey: 384 is not more than 384
      {0x818080, clBlack},  // 385
      {clCream, clBlack},
      {0x0000FF, clWhite},                         // pure red
      {0x00FFFF, clBlack},                         // yellow: 510
      {static_cast<TColor>(0xFF00000F), clBlack},  // the button face
      {clDefault, clBlack},
      {static_cast<TColor>(0xFF000005), clWhite},  // another system colour: by its low bytes
  };
  for (const Case& c : cases) EXPECT_EQ(TmRot::InverteCor(c.background), c.text) << std::hex << c.background;
}

}  // namespace
}  // namespace zelmor
