#include "app/pole_display.h"

#include <algorithm>

#include "app/pole_codepages.h"
#include "strings/mString.h"

namespace quindel {
namespace {

constexpr char kEsc = 0x1B, kFormFeed = 0x0C, kCr = 0x0D, kUs = 0x1F;

bool Blank(char16_t c) { return c == u' ' || c == u'\t'; }

// The byte for `c` in the page, if it has one.
std::optional<char> Encode(char16_t c, const char16_t* high) {
  if (c < 0x80) return static_cast<char>(c);
  for (int i = 0; i < 128; ++i)
    if (high[i] == c) return static_cast<char>(0x80 + i);
  return std::nullopt;
}

}  // namespace

std::optional<PoleProtocol> ParsePoleProtocol(std::string_view name) {
  if (name == "cd5220") return PoleProtocol::CD5220;
  if (name == "escpos") return PoleProtocol::EscPos;
  return std::nullopt;
}

std::u16string FitLine(std::u16string_view line, int width) {
  const std::size_t w = static_cast<std::size_t>(std::max(width, 0));
  if (line.size() <= w) return std::u16string(line) + std::u16string(w - line.size(), u' ');
  std::size_t lead = 0;
  while (lead < line.size() && Blank(line[lead])) ++lead;
  std::size_t end = line.size();
  while (end > lead && Blank(line[end - 1])) --end;
  const std::size_t trail = line.size() - end;
  const std::u16string_view text = line.substr(lead, end - lead);
  const bool centred = lead > 0 && (lead > trail ? lead - trail : trail - lead) <= 1;
  if (!centred || text.size() >= w) return std::u16string(line.substr(centred ? lead : 0, w));
  const std::size_t left = (w - text.size()) / 2;
  return std::u16string(left, u' ') + std::u16string(text) + std::u16string(w - left - text.size(), u' ');
}

std::string ToCodePage(std::u16string_view text, int codepage) {
  const char16_t* high = CodePageHighHalf(codepage);
  std::string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0)) {
      out += ' ';
      continue;
    }
    std::optional<char> b =
        high ? Encode(c, high) : (c < 0x80 ? std::optional<char>(static_cast<char>(c)) : std::nullopt);
    if (!b) {
      const std::u16string plain = zelmor::TmStr::RemoveAcentos(std::u16string_view(&c, 1));
      if (plain.size() == 1 && plain[0] < 0x80) b = static_cast<char>(plain[0]);
    }
    out += b.value_or('?');
  }
  return out;
}

std::string PoleStart(PoleProtocol) {
  // ESC @ resets both kinds of device.
  return {kEsc, '@'};
}

std::string PoleFrame(const PoleOptions& options, std::u16string_view line1, std::u16string_view line2) {
  const std::string a = ToCodePage(FitLine(line1, options.width), options.codepage);
  const std::string b = ToCodePage(FitLine(line2, options.width), options.codepage);
  std::string out(1, kFormFeed);
  if (options.protocol == PoleProtocol::CD5220) {
    // ESC Q A / ESC Q B: the upper and lower line, each ended by CR.
    out += {kEsc, 'Q', 'A'};
    out += a;
    out += kCr;
    out += {kEsc, 'Q', 'B'};
    out += b;
    out += kCr;
  } else {
    // US $ x y: cursor to column x, row y (from 1).
    out += {kUs, '$', 1, 1};
    out += a;
    out += {kUs, '$', 1, 2};
    out += b;
  }
  return out;
}

}  // namespace quindel
