// Code page 437: the zip format's code page for names without the UTF-8 flag, and one
// of the code pages pole displays offer. Only decoded: archives written here mark
// their names UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace zelmor::cp437 {

// Bytes → text, one character per byte; 0x00–0x7F are ASCII.
//   Decode("\x91o\x86") == u"æoå"
std::u16string Decode(std::string_view bytes);
char16_t DecodeByte(unsigned char b);

// The characters of bytes 0x80–0xFF, in byte order (128 of them).
const char16_t* HighHalf();

}  // namespace zelmor::cp437
