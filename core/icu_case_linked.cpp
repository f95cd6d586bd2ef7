// ICU's case mapping linked into the program: the table holds ICU's own functions.
#include <unicode/uchar.h>
#include <unicode/ustring.h>

#include "core/icu_case.h"

namespace zelmor::icu_case {

const Functions& Get() {
  static constexpr Functions kLinked{&u_toupper, &u_tolower, &u_totitle, &u_strToUpper, &u_strToLower};
  return kLinked;
}

}  // namespace zelmor::icu_case
