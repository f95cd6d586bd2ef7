#include "core/types.h"

#include <cmath>

namespace zelmor {

Currency Currency::FromDouble(double v) {
  double scaled = v * static_cast<double>(Scale);
  return FromRaw(static_cast<std::int64_t>(std::llround(scaled)));
}

int TStringList::IndexOf(std::u16string_view s) const {
  for (std::size_t i = 0; i < Items.size(); ++i)
    if (Items[i] == s) return static_cast<int>(i);
  return -1;
}

std::u16string TStringList::Text() const {
  std::u16string out;
  for (const auto& s : Items) {
    out += s;
    out += u"\r\n";
  }
  return out;
}

}  // namespace zelmor
