#include "textfile/text_file.h"

#include <algorithm>

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

std::u16string ReadAnsiText(std::u16string_view path) {
  std::u16string text;
  ReadAnsiText(path, text);
  return text;
}

void ReadAnsiText(std::u16string_view path, std::u16string& text) {
  std::string bytes;
  if (!platform::Service<platform::FileSystem>::Get().ReadAll(path, bytes))
    throw EFileError(u"Arquivo não encontrado: \"" + std::u16string(path) + u"\"");
  // One pass, a line at a time: every line end (CR LF, CR, LF) becomes CR LF, and the
  // last line gets one. The text is written in place in room made before each line for
  // all the bytes left and a line end; a lone CR or LF takes one unit more than it had,
  // so the first room is a little more than the bytes and lines of eight bytes or more
  // never make more.
  const std::size_t n = bytes.size();
  text.resize(n + n / 8 + 2);
  std::size_t i = 0, o = 0;
  while (i < n) {
    if (text.size() - o < n - i + 2) text.resize(std::max(text.size() + text.size() / 2, o + n - i + 2));
    const std::size_t line = cp1252::DecodeLine(std::string_view(bytes).substr(i), text.data() + o);
    i += line;
    o += line;
    if (i == n) break;
    if (bytes[i] == '\r' && i + 1 < n && bytes[i + 1] == '\n') ++i;
    ++i;
    text[o++] = u'\r';
    text[o++] = u'\n';
  }
  if (n > 0 && bytes.back() != '\r' && bytes.back() != '\n') {
    text[o++] = u'\r';
    text[o++] = u'\n';
  }
  text.resize(o);
}

void Save(std::u16string_view path, const TStringList& lines, Encoding encoding) {
  platform::Service<platform::FileSystem>::Get().Replace(path, Encode(lines.Text(), encoding));
}

}  // namespace zelmor::text_file
