#include "processes/command_line.h"

namespace zelmor {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

}  // namespace

std::vector<std::u16string> SplitCommandLine(std::u16string_view line) {
  std::vector<std::u16string> args;
  std::size_t i = 0;
  const std::size_t n = line.size();
  while (i < n && IsBlank(line[i])) ++i;
  if (i == n) return args;
  // The program's name: no escapes in it, since a Windows path has no quotes.
  std::u16string program;
  if (line[i] == u'"') {
    ++i;
    while (i < n && line[i] != u'"') program += line[i++];
    if (i < n) ++i;
  } else {
    while (i < n && !IsBlank(line[i])) program += line[i++];
  }
  args.push_back(std::move(program));

  for (;;) {
    while (i < n && IsBlank(line[i])) ++i;
    if (i >= n) break;
    std::u16string arg;
    bool quoted = false;
    while (i < n && (quoted || !IsBlank(line[i]))) {
      if (line[i] == u'\\') {
        std::size_t slashes = 0;
        while (i < n && line[i] == u'\\') ++slashes, ++i;
        if (i < n && line[i] == u'"') {
          arg.append(slashes / 2, u'\\');
          if (slashes % 2) {
            arg += u'"';
            ++i;
          }
          // An even run leaves the quote to the code below.
        } else {
          arg.append(slashes, u'\\');
        }
        continue;
      }
      if (line[i] == u'"') {
        if (quoted && i + 1 < n && line[i + 1] == u'"') {
          arg += u'"';
          i += 2;
          continue;
        }
        quoted = !quoted;
        ++i;
        continue;
      }
      arg += line[i++];
    }
    args.push_back(std::move(arg));
  }
  return args;
}

}  // namespace zelmor
