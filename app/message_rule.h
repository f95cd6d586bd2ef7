// The display's message rule: the bytes a client sends are Windows-1252 text, and
// byte 0xBF ("¿") ends line 1; line 2 is what follows it, up to a second 0xBF.
#pragma once

#include <string>
#include <string_view>

namespace quindel {

inline constexpr char16_t kSeparator = u'\u00BF';

struct MessageLines {
  std::u16string Line1;
  std::u16string Line2;
};

// The two lines of a message already decoded: fields 1 and 2 at the separator; an
// empty message blanks both lines.
//   LinesOf(u"Total¿12,50") == {u"Total", u"12,50"}
MessageLines LinesOf(std::u16string_view text);
// The two lines of the bytes one read brought.
MessageLines LinesOfBytes(std::string_view bytes);

}  // namespace quindel
