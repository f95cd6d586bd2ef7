// The program's own folder and the one way a trailing separator is added.
#include "config/program_folder.h"
#include "files/files.h"

namespace zelmor {

std::u16string TmFile::DirBarra(std::u16string_view Pasta) { return program::WithSeparator(Pasta); }

std::u16string TmFile::DirExe() { return program::Folder(); }

}  // namespace zelmor
