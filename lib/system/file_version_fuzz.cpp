// Any bytes through the executable version reader. Besides crashes and sanitizer
// reports it traps on an answer no file could hold: longer than a version block, or
// with a NUL inside.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "system/file_version.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto version = zelmor::FileVersionText(std::string_view(reinterpret_cast<const char*>(data), size));
  if (version && (version->size() > 0x7FFF || version->find(u'\0') != std::u16string::npos)) __builtin_trap();
  return 0;
}
