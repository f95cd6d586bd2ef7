#include "core/cp1252.h"

#include <array>

#include "core/byte_blocks.h"

namespace zelmor::cp1252 {
namespace {

// 0x80–0x9F; the undefined slots keep their own code point.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

// Every byte; all but 0x80–0x9F are their own code point.
constexpr std::array<char16_t, 256> kDecoded = [] {
  std::array<char16_t, 256> t{};
  for (int b = 0; b < 256; ++b) t[static_cast<std::size_t>(b)] = static_cast<char16_t>(b);
  for (int b = 0x80; b <= 0x9F; ++b) t[static_cast<std::size_t>(b)] = kHigh[b - 0x80];
  return t;
}();

// The bytes a block cannot pass through as they stand: 0x80–0x9F, and the line ends
// when a line is read.
template <bool kLine>
std::uint64_t Marked(std::uint64_t w) {
  using byte_blocks::BytesEqual;
  std::uint64_t m = BytesEqual(w & 0xE0E0E0E0E0E0E0E0ull, 0x80);
  if constexpr (kLine) m |= BytesEqual(w, '\r') | BytesEqual(w, '\n');
  return m;
}

// Decodes bytes into `out` up to the end, or up to the first CR or LF with kLine;
// answers how many were decoded. Blocks widen whole, then the first marked byte in
// one (if any) is taken on its own and the next block starts after it.
template <bool kLine>
std::size_t Run(std::string_view bytes, char16_t* out) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  std::size_t i = 0;
  if constexpr (byte_blocks::kBlocks) {
    while (i + byte_blocks::kBlock <= n) {
      byte_blocks::Widen(p + i, out + i);
      const byte_blocks::Words w = byte_blocks::Load(p + i);
      const std::uint64_t lo = Marked<kLine>(w.lo), hi = Marked<kLine>(w.hi);
      if ((lo | hi) == 0) {
        i += byte_blocks::kBlock;
        continue;
      }
      i += byte_blocks::FirstMarked(lo, hi);
      if (kLine && (p[i] == '\r' || p[i] == '\n')) return i;
      out[i] = kDecoded[p[i]];
      ++i;
    }
  }
  for (; i < n; ++i) {
    if (kLine && (p[i] == '\r' || p[i] == '\n')) return i;
    out[i] = kDecoded[p[i]];
  }
  return n;
}

}  // namespace

char16_t DecodeByte(unsigned char b) { return kDecoded[b]; }

std::u16string Decode(std::string_view bytes) {
  std::u16string out(bytes.size(), u'\0');
  Run<false>(bytes, out.data());
  return out;
}

char16_t* Decode(std::string_view bytes, char16_t* out) { return out + Run<false>(bytes, out); }

std::size_t DecodeLine(std::string_view bytes, char16_t* out) { return Run<true>(bytes, out); }

int EncodeChar(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
  for (int i = 0; i < 32; ++i)
    if (kHigh[i] == c) return 0x80 + i;
  return -1;
}

std::string Encode(std::u16string_view text, char Replacement) {
  std::string out(text.size(), '\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    int b = EncodeChar(text[i]);
    out[i] = b < 0 ? Replacement : static_cast<char>(static_cast<unsigned char>(b));
  }
  return out;
}

}  // namespace zelmor::cp1252
