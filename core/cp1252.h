// Windows-1252, the 8-bit code page of the system's boundaries: socket bytes,
// the state-registration library, ANSI files. One byte is one character.
#pragma once

#include <string>
#include <string_view>

namespace zelmor::cp1252 {

// Bytes → text. Every byte maps to exactly one code unit; the five bytes that
// Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the same code point.
std::u16string Decode(std::string_view bytes);
char16_t DecodeByte(unsigned char b);
// The same into room for bytes.size() code units at `out`, for a text built in place:
// answers the end of what was written.
char16_t* Decode(std::string_view bytes, char16_t* out);
// The same up to the first CR or LF (or the end), with the same room at `out`: answers
// how many bytes were decoded (as many code units written), the line end not among them.
std::size_t DecodeLine(std::string_view bytes, char16_t* out);

// Text → bytes. A character the code page cannot hold becomes `Replacement`.
std::string Encode(std::u16string_view text, char Replacement = '?');
// The byte for `c`, or -1 when the code page cannot hold it.
int EncodeChar(char16_t c);

}  // namespace zelmor::cp1252
