// Bytes sixteen at a time, for the byte decoders' fast paths: text is mostly ASCII,
// and a block of plain bytes widens to code units as it stands. Plain C++ the
// compiler turns into vector instructions; the masks are in 64-bit words, so they
// are only used where the machine is little-endian (kBlocks).
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zelmor::byte_blocks {

inline constexpr bool kBlocks = std::endian::native == std::endian::little;
inline constexpr std::size_t kBlock = 16;

inline constexpr std::uint64_t kOnes = 0x0101010101010101ull, kHighBits = 0x8080808080808080ull;

// The block's bytes as two words, the first byte lowest.
struct Words {
  std::uint64_t lo, hi;
};

inline Words Load(const unsigned char* p) {
  Words w;
  std::memcpy(&w.lo, p, sizeof w.lo);
  std::memcpy(&w.hi, p + sizeof w.lo, sizeof w.hi);
  return w;
}

// Each of the 16 bytes at `p` into its own code unit at `out`.
inline void Widen(const unsigned char* p, char16_t* out) {
  unsigned char b[kBlock];
  std::memcpy(b, p, kBlock);
  char16_t w[kBlock];
  for (std::size_t k = 0; k < kBlock; ++k) w[k] = b[k];
  std::memcpy(out, w, sizeof w);
}

// The high bit of each byte of `w` that is `b`, and of no other (no borrow crosses bytes).
constexpr std::uint64_t BytesEqual(std::uint64_t w, unsigned char b) {
  const std::uint64_t x = w ^ (kOnes * b);
  return ~(((x & ~kHighBits) + ~kHighBits) | x | ~kHighBits);
}

// The index of the first byte whose high bit is set in `lo` then `hi`; both must not be 0.
inline std::size_t FirstMarked(std::uint64_t lo, std::uint64_t hi) {
  return lo != 0 ? static_cast<std::size_t>(std::countr_zero(lo)) / 8
                 : sizeof lo + static_cast<std::size_t>(std::countr_zero(hi)) / 8;
}

}  // namespace zelmor::byte_blocks
