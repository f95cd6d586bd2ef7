// The display's two lines as a real pole display gets them: fitted to its width, in its
// code page, in its own command set. The window stays the reference; the device gets
// what fits.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quindel {

enum class PoleProtocol { CD5220, EscPos };

struct PoleOptions {
  std::string device;  // empty: no pole display
  PoleProtocol protocol = PoleProtocol::CD5220;
  int baud = 9600;
  int codepage = 437;
  int width = 20;
};

std::optional<PoleProtocol> ParsePoleProtocol(std::string_view name);

// A line of the window made to fit `width` columns: a shorter line is padded with spaces
// (so the device's old text is overwritten); a longer one is cut, unless it is centred
// (as many blanks before as after, give or take one), which is re-centred in the width.
std::u16string FitLine(std::u16string_view line, int width);

// `text` in the device's code page: a character the page lacks becomes the letter
// without its accent when the page has that, else "?". Control characters become spaces.
std::string ToCodePage(std::u16string_view text, int codepage);

// What is sent once when the device is opened.
std::string PoleStart(PoleProtocol protocol);

// The bytes that show the two lines (each fitted and encoded), replacing what was shown.
std::string PoleFrame(const PoleOptions& options, std::u16string_view line1, std::u16string_view line2);

}  // namespace quindel
