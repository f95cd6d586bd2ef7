// Any bytes as one read from a display client. Besides crashes and sanitizer
// reports it traps when a line holds the separator, when line 1 is not exactly the
// bytes before the first 0xBF, or line 2 not exactly the bytes between the first and
// the second (each byte one Windows-1252 character, back to the same byte).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/message_rule.h"
#include "core/cp1252.h"
#include "testing/fuzz_check.h"

using zelmor::testing::FuzzCheck;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const quindel::MessageLines lines = quindel::LinesOfBytes(bytes);
  FuzzCheck(lines.Line1.find(quindel::kSeparator) == std::u16string::npos);
  FuzzCheck(lines.Line2.find(quindel::kSeparator) == std::u16string::npos);
  const std::size_t first = bytes.find('\xBF');
  const std::string_view one = bytes.substr(0, first);
  std::string_view two;
  if (first != std::string_view::npos) two = bytes.substr(first + 1, bytes.find('\xBF', first + 1) - first - 1);
  FuzzCheck(zelmor::cp1252::Encode(lines.Line1) == one);
  FuzzCheck(zelmor::cp1252::Encode(lines.Line2) == two);
  FuzzCheck(lines.Line1.size() == one.size() && lines.Line2.size() == two.size());
  return 0;
}
