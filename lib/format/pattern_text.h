// Small pieces shared by the number and date-time pattern engines.
#pragma once

#include <string>
#include <string_view>

#include "core/text_kit.h"

namespace zelmor::pattern {

// Appends the text quoted from f[i] (a ' or ") on and returns the index past the
// closing quote; an unterminated quote runs to the end of the pattern.
inline std::size_t AppendQuoted(std::u16string& out, std::u16string_view f, std::size_t i) {
  const textkit::QuotedRun run = textkit::ScanQuoted(f, i);
  out.append(run.Text);
  return run.End;
}

}  // namespace zelmor::pattern
