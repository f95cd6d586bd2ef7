// ICU's case mapping for zelmor, loaded the first time a text needs more than ASCII:
// most calls never do, and a program that links ICU maps and relocates its common
// library (and the data behind it) at every start.
#include <dlfcn.h>
#include <unicode/uchar.h>
#include <unicode/ustring.h>
#include <unicode/uvernum.h>

#include <stdexcept>
#include <string>

#include "core/icu_case.h"

namespace zelmor::icu_case {

namespace {

#define ZELMOR_TEXT(x) ZELMOR_TEXT_OF(x)
#define ZELMOR_TEXT_OF(x) #x

// The library the build compiled against (its headers rename every function with the
// version, "u_toupper" to "u_toupper_72", as the names below expand).
constexpr const char* kLibrary = "libicuuc.so." ZELMOR_TEXT(U_ICU_VERSION_MAJOR_NUM);

template <class F>
F Symbol(void* library, const char* name) {
  void* at = dlsym(library, name);
  if (!at) throw std::runtime_error(std::string("Unicode case mapping: ") + kLibrary + " has no " + name);
  return reinterpret_cast<F>(at);
}

Functions Load() {
  void* library = dlopen(kLibrary, RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    const char* why = dlerror();
    throw std::runtime_error(std::string("Unicode case mapping: ") + (why ? why : kLibrary));
  }
  // Never closed: the table points into it until the program ends. The types come from
  // ICU's declarations (decltype, so nothing here links against ICU).
  return {Symbol<decltype(&u_toupper)>(library, ZELMOR_TEXT(u_toupper)),
          Symbol<decltype(&u_tolower)>(library, ZELMOR_TEXT(u_tolower)),
          Symbol<decltype(&u_totitle)>(library, ZELMOR_TEXT(u_totitle)),
          Symbol<decltype(&u_strToUpper)>(library, ZELMOR_TEXT(u_strToUpper)),
          Symbol<decltype(&u_strToLower)>(library, ZELMOR_TEXT(u_strToLower))};
}

#undef ZELMOR_TEXT_OF
#undef ZELMOR_TEXT

}  // namespace

const Functions& Get() {
  static const Functions loaded = Load();
  return loaded;
}

}  // namespace zelmor::icu_case
