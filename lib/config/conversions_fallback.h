// Stand-in for the shared conversions until they are available (removed then).
#pragma once

#include <charconv>
#include <string>

#include "format/calendar.h"
#include "format/format_settings.h"

namespace zelmor {

inline bool TryStrToFloat(std::u16string_view s, double& v, const TFormatSettings& fs) {
  std::string a;
  for (char16_t c : s) {
    if (c == fs.DecimalSeparator) a += '.';
    else if (c < 0x80 && c != '.') a += static_cast<char>(c);
    else return false;
  }
  while (!a.empty() && a.front() == ' ') a.erase(0, 1);
  while (!a.empty() && a.back() == ' ') a.pop_back();
  if (!a.empty() && a[0] == '+') a.erase(0, 1);
  auto r = std::from_chars(a.data(), a.data() + a.size(), v);
  return r.ec == std::errc() && r.ptr == a.data() + a.size() && !a.empty();
}

namespace fallback {
inline bool Numbers(std::u16string_view s, char16_t sep, int* out, int count) {
  int n = 0;
  std::size_t i = 0;
  while (n < count) {
    int v = 0, digits = 0;
    while (i < s.size() && s[i] >= u'0' && s[i] <= u'9' && digits < 4) v = v * 10 + (s[i++] - u'0'), ++digits;
    if (!digits) return false;
    out[n++] = v;
    if (n < count) {
      if (i >= s.size() || s[i] != sep) return false;
      ++i;
    }
  }
  return i == s.size();
}
}  // namespace fallback

inline bool TryStrToDate(std::u16string_view s, TDateTime& v, const TFormatSettings& fs) {
  int p[3];
  if (!fallback::Numbers(s, fs.DateSeparator, p, 3)) return false;
  const bool dayFirst = fs.ShortDateFormat.find_first_of(u"dD") < fs.ShortDateFormat.find_first_of(u"mM");
  return TryEncodeDate(p[2], dayFirst ? p[1] : p[0], dayFirst ? p[0] : p[1], v);
}

inline bool TryStrToTime(std::u16string_view s, TDateTime& v, const TFormatSettings& fs) {
  int p[3];
  if (!fallback::Numbers(s, fs.TimeSeparator, p, 3)) return false;
  return TryEncodeTime(p[0], p[1], p[2], 0, v);
}

inline bool TryStrToDateTime(std::u16string_view s, TDateTime& v, const TFormatSettings& fs) {
  const std::size_t sp = s.find(u' ');
  TDateTime d, t;
  if (sp == std::u16string_view::npos) return TryStrToDate(s, v, fs);
  if (!TryStrToDate(s.substr(0, sp), d, fs) || !TryStrToTime(s.substr(sp + 1), t, fs)) return false;
  v = d.Value >= 0 ? d.Value + t.Value : d.Value - t.Value;
  return true;
}

}  // namespace zelmor
