// Zip records written byte by byte (little-endian fields, the CRC-32 of the format),
// for tests that build the archives the zip layer would never write.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zelmor::testing {

inline void Put16(std::string& b, unsigned v) {
  b += static_cast<char>(v & 0xFF);
  b += static_cast<char>((v >> 8) & 0xFF);
}
inline void Put32(std::string& b, std::uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}
inline void Put64(std::string& b, std::uint64_t v) {
  Put32(b, static_cast<std::uint32_t>(v));
  Put32(b, static_cast<std::uint32_t>(v >> 32));
}
inline std::uint32_t Crc32(std::string_view data) {
  std::uint32_t c = 0xFFFFFFFFu;
  for (unsigned char byte : data) {
    c ^= byte;
    for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
  }
  return ~c;
}

}  // namespace zelmor::testing
