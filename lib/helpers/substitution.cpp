// ZelmorCript: a reversible character swap for texts that should not be read at a
// glance (kept in settings files). Not encryption: the table is in the program.
#include <array>
#include <utility>

#include "helpers/helpers.h"

namespace zelmor {
namespace {

// Each pair works both ways, and no character is in two pairs, so applying the swap
// twice gives the text back. Every character is in Windows-1252, so a swapped text
// survives a file in the code page.
constexpr std::pair<char16_t, char16_t> kPairs[] = {
    {u' ', u'·'}, {u'A', u'Ø'}, {u'B', u'Ñ'}, {u'C', u'Ë'}, {u'D', u'Ã'}, {u'E', u'Ò'}, {u'F', u'µ'}, {u'G', u'Ï'},
    {u'H', u'Å'}, {u'I', u'Ú'}, {u'J', u'¶'}, {u'K', u'Ô'}, {u'L', u'Æ'}, {u'M', u'Ì'}, {u'N', u'Ý'}, {u'O', u'Â'},
    {u'P', u'Û'}, {u'R', u'É'}, {u'S', u'Ü'}, {u'T', u'Í'}, {u'U', u'Õ'}, {u'.', u'¤'}, {u'-', u'÷'}, {u'0', u'¬'},
};

constexpr std::array<char16_t, 256> MakeTable() {
  std::array<char16_t, 256> t{};
  for (std::size_t c = 0; c < t.size(); ++c) t[c] = static_cast<char16_t>(c);
  for (const auto& [a, b] : kPairs) {
    t[a] = b;
    t[b] = a;
  }
  return t;
}
constexpr auto kTable = MakeTable();

}  // namespace

std::u16string TmRot::ZelmorCript(std::u16string_view s) {
  std::u16string r(s);
  for (char16_t& c : r)
    if (c < kTable.size()) c = kTable[c];
  return r;
}

}  // namespace zelmor
