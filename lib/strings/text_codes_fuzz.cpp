// Any text through the 7-bit escaped form (Asc2Ansi / Ansi2Asc), the 2-bit packing
// (ComprimeString / DescomprimeString), the hexadecimal form and the two ciphers.
// The input is read as Windows-1252 (characters up to 255, with the code page's
// few above) and, from its second half, as UTF-8 (any character). Besides crashes
// and sanitizer reports it traps when:
//   - a decoder given any text raises anything but a conversion error;
//   - an encoded text does not decode back to the original where the routine's
//     rule says it does (characters 1-255 for the packing, 16-255 for hexadecimal,
//     up to 255 less the three quotes for the escaped form);
//   - the escaped form holds a character outside 7-bit ASCII other than "æ" and "¾".
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/cp1252.h"
#include "core/errors.h"
#include "core/text.h"
#include "strings/mString.h"
#include "testing/fuzz_check.h"

using zelmor::testing::FuzzCheck;

namespace {

namespace TmStr = zelmor::TmStr;

template <class F>
void OnlyConvertErrors(F&& f) {
  try {
    f();
  } catch (const zelmor::EConvertError&) {
  }
}

bool AllIn(std::u16string_view s, char16_t lo, char16_t hi) {
  for (char16_t c : s)
    if (c < lo || c > hi) return false;
  return true;
}

void RoundTrips(std::u16string_view text, std::u16string_view key) {
  // The escaped form: 7-bit, and back for characters up to 255 but the quotes.
  const std::u16string escaped = TmStr::Asc2Ansi(text);
  for (char16_t c : escaped) FuzzCheck(c < 0x80 || c == u'\u00E6' || c == u'\u00BE');
  bool quotes = false;
  for (char16_t c : text) quotes = quotes || c == u'"' || c == u'\'' || c == u'`';
  if (AllIn(text, 0, 255) && !quotes) FuzzCheck(TmStr::Ansi2Asc(escaped) == text);

  // The packing: back for characters 1-255 when it fits.
  if (AllIn(text, 1, 255)) {
    try {
      const std::u16string packed = TmStr::ComprimeString(text);
      FuzzCheck(packed.size() <= 1024 && AllIn(packed, 0, 255));
      FuzzCheck(TmStr::DescomprimeString(packed) == text);
    } catch (const zelmor::EConvertError&) {
      // longer than the packed form holds
    }
  }

  if (AllIn(text, 16, 255)) FuzzCheck(TmStr::DesHeximiza(TmStr::Heximiza(text)) == text);
  FuzzCheck(TmStr::Criptografa(TmStr::Criptografa(text, key), key) == text);
  if (AllIn(text, 1, 255) && AllIn(key, 0, 255)) FuzzCheck(TmStr::Decrip(TmStr::Encrip(text, key), key) == text);
}

void Decoders(std::u16string_view text, std::u16string_view key) {
  TmStr::Ansi2Asc(text);
  OnlyConvertErrors([&] { TmStr::DescomprimeString(text); });
  OnlyConvertErrors([&] { TmStr::DesHeximiza(text); });
  TmStr::Decrip(text, key);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::u16string ansi = zelmor::cp1252::Decode(bytes);
  const std::u16string wide = zelmor::Utf8ToU16(bytes.substr(size / 2));
  const std::u16string key = ansi.substr(0, std::min<std::size_t>(ansi.size(), 8));
  for (const std::u16string& text : {ansi, wide}) {
    Decoders(text, key);
    RoundTrips(text, key);
  }
  return 0;
}
