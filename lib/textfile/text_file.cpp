#include "textfile/text_file.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#include "core/cp1252.h"
#include "core/errors.h"
#include "core/text.h"
#include "platform/file_system.h"

namespace zelmor::text_file {

std::u16string Decode(std::string_view b, Encoding& encoding) {
  if (b.substr(0, 3) == "\xEF\xBB\xBF") {
    encoding = Encoding::Utf8;
    return Utf8ToU16(b.substr(3), Utf8Invalid::Escape);
  }
  if (b.substr(0, 2) == "\xFF\xFE") {
    encoding = Encoding::Utf16LE;
    return Utf16BytesToU16(b.substr(2), false);
  }
  if (b.substr(0, 2) == "\xFE\xFF") {
    encoding = Encoding::Utf16BE;
    return Utf16BytesToU16(b.substr(2), true);
  }
  encoding = Encoding::Ansi;
  return cp1252::Decode(b);
}

std::string Encode(std::u16string_view text, Encoding encoding) {
  std::string bytes;
  switch (encoding) {
    case Encoding::Utf8: return "\xEF\xBB\xBF" + U16ToUtf8(text, Utf8Invalid::Escape);
    case Encoding::Utf16LE:
      bytes = "\xFF\xFE";
      AppendUtf16Bytes(bytes, text, false);
      return bytes;
    case Encoding::Utf16BE:
      bytes = "\xFE\xFF";
      AppendUtf16Bytes(bytes, text, true);
      return bytes;
    case Encoding::Ansi: break;
  }
  return cp1252::Encode(text);
}

Encoding Holding(std::u16string_view text, Encoding encoding) {
  if (encoding != Encoding::Ansi) return encoding;
  for (char16_t c : text)
    if (c >= 0x80 && cp1252::EncodeChar(c) < 0) return Encoding::Utf8;
  return encoding;
}

void SplitLines(std::u16string_view text, TStringList& lines) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'\r' && text[i] != u'\n') continue;
    lines.Add(text.substr(start, i - start));
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.Add(text.substr(start));
}

bool Load(std::u16string_view path, TStringList& lines, Encoding& encoding) {
  lines.Clear();
  std::string bytes;
  if (!platform::Service<platform::FileSystem>::Get().ReadAll(path, bytes)) return false;
  SplitLines(Decode(bytes, encoding), lines);
  return true;
}

namespace {

constexpr std::uint64_t kOnes = 0x0101010101010101ull, kHigh = 0x8080808080808080ull;

// The high bit of each byte of `w` that is `b`, and of no other (no borrow crosses bytes).
std::uint64_t BytesEqual(std::uint64_t w, unsigned char b) {
  const std::uint64_t x = w ^ (kOnes * b);
  return ~(((x & ~kHigh) + ~kHigh) | x | ~kHigh);
}

bool HasByte(std::uint64_t w, unsigned char b) { return BytesEqual(w, b) != 0; }

// How many bytes are CR or LF, eight at a time.
std::size_t LineEndBytes(std::string_view bytes) {
  std::size_t count = 0, i = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    std::uint64_t w;
    std::memcpy(&w, bytes.data() + i, sizeof w);
    // A 1 in each byte found, summed into the top byte by the multiplication.
    count += static_cast<std::size_t>((((BytesEqual(w, '\r') | BytesEqual(w, '\n')) >> 7) * kOnes) >> 56);
  }
  for (; i < bytes.size(); ++i) count += bytes[i] == '\r' || bytes[i] == '\n';
  return count;
}

}  // namespace

std::u16string ReadAnsiText(std::u16string_view path) {
  std::string bytes;
  if (!platform::Service<platform::FileSystem>::Get().ReadAll(path, bytes))
    throw EFileError(u"Arquivo não encontrado: \"" + std::u16string(path) + u"\"");
  // One pass: every line end (CR LF, CR, LF) becomes CR LF, and the last line gets one.
  // Written through a pointer into room made once (a line end takes at most one character
  // more than it had), with the code page as a table: large documents are read this way.
  static const std::array<char16_t, 256> kDecoded = [] {
    std::array<char16_t, 256> t{};
    for (int b = 0; b < 256; ++b) t[static_cast<std::size_t>(b)] = cp1252::DecodeByte(static_cast<unsigned char>(b));
    return t;
  }();
  std::u16string text(bytes.size() + LineEndBytes(bytes) + 2, u'\0');
  char16_t* out = text.data();
  const std::size_t n = bytes.size();
  for (std::size_t i = 0; i < n; ++i) {
    // Eight plain ASCII bytes (no line end among them) widen as they are.
    while (std::endian::native == std::endian::little && i + 8 <= n) {
      std::uint64_t w;
      std::memcpy(&w, bytes.data() + i, sizeof w);
      if (w & kHigh || HasByte(w, '\r') || HasByte(w, '\n')) break;
      // Each byte into its own 16-bit lane, four at a time.
      for (int half = 0; half < 2; ++half, w >>= 32) {
        const std::uint64_t lanes = (w & 0xFF) | (w & 0xFF00) << 8 | (w & 0xFF0000) << 16 | (w & 0xFF000000) << 24;
        std::memcpy(out + 4 * half, &lanes, sizeof lanes);
      }
      out += 8;
      i += 8;
    }
    if (i >= n) break;
    const unsigned char b = static_cast<unsigned char>(bytes[i]);
    if (b == '\r' || b == '\n') {
      if (b == '\r' && i + 1 < n && bytes[i + 1] == '\n') ++i;
      *out++ = u'\r';
      *out++ = u'\n';
    } else {
      *out++ = kDecoded[b];
    }
  }
  if (!bytes.empty() && bytes.back() != '\r' && bytes.back() != '\n') {
    *out++ = u'\r';
    *out++ = u'\n';
  }
  text.resize(static_cast<std::size_t>(out - text.data()));
  return text;
}

void Save(std::u16string_view path, const TStringList& lines, Encoding encoding) {
  platform::Service<platform::FileSystem>::Get().Replace(path, Encode(lines.Text(), encoding));
}

}  // namespace zelmor::text_file
