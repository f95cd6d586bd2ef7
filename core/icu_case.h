// The five ICU case-mapping functions core's text helpers call, reached through a
// table: a program either links ICU (icu_case_linked.cpp, what every program gets
// by default) or loads it the first time a text needs more than ASCII (zelmor, whose
// calls mostly never do, and which then starts without mapping ICU at all).
#pragma once

#include <unicode/utypes.h>

namespace zelmor::icu_case {

struct Functions {
  UChar32 (*ToUpper)(UChar32);
  UChar32 (*ToLower)(UChar32);
  UChar32 (*ToTitle)(UChar32);
  // u_strToUpper / u_strToLower: whole texts, full mappings, for a locale ("" = root).
  int32_t (*StrToUpper)(UChar*, int32_t, const UChar*, int32_t, const char*, UErrorCode*);
  int32_t (*StrToLower)(UChar*, int32_t, const UChar*, int32_t, const char*, UErrorCode*);
};

// The table, ready on return (loaded on the first call where ICU is loaded on demand;
// a failure to load throws std::runtime_error with the loader's reason). Defined by
// whichever of the two providers the program links.
const Functions& Get();

}  // namespace zelmor::icu_case
