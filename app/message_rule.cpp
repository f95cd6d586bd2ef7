#include "app/message_rule.h"

#include "core/cp1252.h"
#include "strings/mString.h"

namespace quindel {

MessageLines LinesOf(std::u16string_view text) {
  if (text.empty()) return {};
  return {zelmor::TmStr::Separa(text, kSeparator, 1), zelmor::TmStr::Separa(text, kSeparator, 2)};
}

MessageLines LinesOfBytes(std::string_view bytes) { return LinesOf(zelmor::cp1252::Decode(bytes)); }

}  // namespace quindel
