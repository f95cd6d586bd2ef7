#include "core/types.h"

#include <cmath>

#include "core/errors.h"

namespace zelmor {

Currency Currency::FromDouble(double v) {
  const double scaled = std::round(v * static_cast<double>(Scale));
  // 2^63 itself does not fit; a double just below it does. NaN fails both tests.
  if (!(scaled >= -9223372036854775808.0 && scaled < 9223372036854775808.0))
    throw EConvertError(u"Valor fora do intervalo de moeda (de -922337203685477,5808 a 922337203685477,5807)");
  return FromRaw(static_cast<std::int64_t>(scaled));
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
