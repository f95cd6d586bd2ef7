// A stand-in for the outside state-registration library, built as a shared library
// for the tests: it has the same export and the three kinds of answer.
#include <cstring>

namespace {
char gLast[128];
}

extern "C" {

// 0 (valid) when the digits add up to an even number, 1 (invalid) when odd, 2 for bad
// parameters: an empty or non-numeric number, a state that is not two characters.
__attribute__((visibility("default"))) int ConsisteInscricaoEstadual(const char* Insc, const char* UF) {
  if (!Insc || !UF) return 2;
  // Remembers the bytes it was given, for the tests to inspect.
  std::strncpy(gLast, Insc, 60);
  gLast[60] = '\0';
  std::strcat(gLast, "|");
  std::strncat(gLast, UF, 60);
  if (!*Insc || std::strlen(UF) != 2) return 2;
  int sum = 0;
  for (const char* p = Insc; *p; ++p) {
    if (*p < '0' || *p > '9') return 2;
    sum += *p - '0';
  }
  return sum % 2 == 0 ? 0 : 1;
}

__attribute__((visibility("default"))) const char* UltimosArgumentos() { return gLast; }
}
