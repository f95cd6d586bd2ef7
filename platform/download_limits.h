// How much a download may bring and how slowly: the one place these bounds live, so a
// hostile or broken server can neither fill a till's memory nor hold it waiting.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zelmor::platform {

// An update's version list and its signature: a few lines per program file.
inline constexpr std::int64_t kMaxVersionListBytes = 4 << 20;
// An answer read into memory as text (GetStringFromUrl and its kin).
inline constexpr std::size_t kMaxTextAnswerBytes = std::size_t{64} << 20;
// A transfer slower than this many bytes a second over the window below is given up.
inline constexpr long kMinTransferBytesPerSecond = 1024;
inline constexpr long kMinTransferRateWindowSeconds = 30;

}  // namespace zelmor::platform
