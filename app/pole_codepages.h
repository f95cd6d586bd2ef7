// The code pages pole displays are set to: what each byte from 0x80 up shows.
#pragma once

namespace quindel {

// The 128 characters of bytes 0x80-0xFF (0 where the page leaves a byte undefined), or
// nullptr for a code page not offered: 437 (the usual factory setting), 850, 858, 860
// (Portuguese) and 1252.
const char16_t* CodePageHighHalf(int codepage);

}  // namespace quindel
