// The one bridge between the library's UTF-16 text and QString: both hold UTF-16
// code units, so the conversion is a copy of the units (no decoding, nothing lost).
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace zelmor::adapters {

inline QString ToQString(std::u16string_view s) {
  return QString(reinterpret_cast<const QChar*>(s.data()), static_cast<qsizetype>(s.size()));
}

inline std::u16string FromQString(const QString& s) { return s.toStdU16String(); }

// The units of `s` in place, without a copy; valid while `s` lives unchanged.
inline std::u16string_view ViewOfQString(const QString& s) {
  return {reinterpret_cast<const char16_t*>(s.utf16()), static_cast<std::size_t>(s.size())};
}

}  // namespace zelmor::adapters
