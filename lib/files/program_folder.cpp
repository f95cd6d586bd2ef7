// The program's own folder and the one way a trailing separator is added.
#include "files/mFileUtil.h"
#include "platform/process_info.h"

namespace zelmor {

std::u16string TmFile::DirBarra(std::u16string_view Pasta) {
  std::u16string r(Pasta);
  if (r.empty() || r.back() != platform::PathDelim) r += platform::PathDelim;
  return r;
}

std::u16string TmFile::DirExe() {
  std::u16string path = platform::Service<platform::ProcessInfo>::Get().ExecutablePath();
  const std::size_t cut = path.find_last_of(platform::PathDelim);
  return DirBarra(cut == std::u16string::npos ? std::u16string() : path.substr(0, cut + 1));
}

}  // namespace zelmor
