// The program's own folder and the one way a trailing separator is added: the
// pieces every settings file and outside library needs to find its place.
#pragma once

#include <string>
#include <string_view>

namespace zelmor::program {

// `folder` with one path separator added when it does not already end with one.
//   WithSeparator(u"/opt/a") == u"/opt/a/"; WithSeparator(u"") == u"/"
std::u16string WithSeparator(std::u16string_view folder);

// The folder of the running program's executable, ending with the separator.
std::u16string Folder();

}  // namespace zelmor::program
