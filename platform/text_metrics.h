// Measuring text as it will be drawn: the pixel width and height of a text in a
// surface's current font, and the width of the screen, for laying text out in
// windows (dialogs size themselves from these). The display program installs the
// real measurer of its GUI toolkit at start; until then, and in tools and tests
// without a GUI, a fixed-pitch estimate answers.
#pragma once

#include <string_view>

#include "platform/service.h"

namespace zelmor::platform {

// A drawing surface with its current font.
class TextMetrics {
 public:
  static constexpr const char* kServiceName = "text metrics";
  // Answers while no measurer is installed: the headless estimate below.
  static TextMetrics& Fallback();

  virtual ~TextMetrics() = default;
  // Pixel width of `text` drawn on one line (line breaks are not interpreted).
  virtual int TextWidth(std::u16string_view text) const = 0;
  // Pixel height of a line of `text`: the font's line height.
  virtual int TextHeight(std::u16string_view text) const = 0;
  // Pixel width of the (primary) screen.
  virtual int ScreenWidth() const = 0;
};

// The headless estimate: every character (a surrogate pair is one character, a
// combining mark none) is `CharWidth` pixels wide, every line `LineHeight` pixels
// high, on a screen `ScreenWidthPx` wide. The defaults are those of a 9-point
// interface font at 96 dpi (8 × 16) on a 1920-pixel screen.
class FixedPitchTextMetrics final : public TextMetrics {
 public:
  explicit FixedPitchTextMetrics(int CharWidth = 8, int LineHeight = 16, int ScreenWidthPx = 1920)
      : FCharWidth(CharWidth), FLineHeight(LineHeight), FScreenWidth(ScreenWidthPx) {}
  int TextWidth(std::u16string_view text) const override;
  int TextHeight(std::u16string_view) const override { return FLineHeight; }
  int ScreenWidth() const override { return FScreenWidth; }

 private:
  int FCharWidth, FLineHeight, FScreenWidth;
};

}  // namespace zelmor::platform
