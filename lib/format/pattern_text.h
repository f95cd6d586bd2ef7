// Small pieces shared by the number and date-time pattern engines.
#pragma once

#include <string>
#include <string_view>

namespace zelmor::pattern {

// Appends the text quoted from f[i] (a ' or ") on and returns the index past the
// closing quote; an unterminated quote runs to the end of the pattern.
inline std::size_t AppendQuoted(std::u16string& out, std::u16string_view f, std::size_t i) {
  std::size_t close = f.find(f[i], i + 1);
  if (close == std::u16string_view::npos) {
    out.append(f.substr(i + 1));
    return f.size();
  }
  out.append(f.substr(i + 1, close - i - 1));
  return close + 1;
}

}  // namespace zelmor::pattern
