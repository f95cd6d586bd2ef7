// TmFile: the library's file routines, as class-level operations. Every folder a
// routine returns ends with the platform's path separator unless its comment says otherwise.
#pragma once

#include <string>
#include <string_view>

namespace zelmor {

class TmFile {
 public:
  TmFile() = delete;

  // ---- Program folder and trailing separator (program_folder.cpp) ----

  // `Pasta` with one path separator added when it does not already end with one.
  // No other normalisation. DirBarra(u"") == u"/"; DirBarra(u"/opt/a") == u"/opt/a/"
  static std::u16string DirBarra(std::u16string_view Pasta);
  // The folder of the running program's executable, ending with the separator.
  //   for "/opt/zelmor/bin/quindel": u"/opt/zelmor/bin/"
  static std::u16string DirExe();
};

}  // namespace zelmor
