#include "config/program_folder.h"

#include "platform/executable_info.h"

namespace zelmor::program {

std::u16string WithSeparator(std::u16string_view folder) {
  std::u16string r(folder);
  if (r.empty() || r.back() != platform::PathDelim) r += platform::PathDelim;
  return r;
}

std::u16string Folder() {
  std::u16string path = platform::Service<platform::ProcessInfo>::Get().ExecutablePath();
  const std::size_t cut = path.find_last_of(platform::PathDelim);
  return WithSeparator(cut == std::u16string::npos ? std::u16string() : path.substr(0, cut + 1));
}

}  // namespace zelmor::program
