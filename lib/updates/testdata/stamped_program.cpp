// A small program carrying a version stamp, the way our programs are stamped, and
// printing it: the update tests install one build of it over another.
#include <cstdio>

[[gnu::used, gnu::section(".zelmor.version")]] const char kVersion[] = STAMPED_VERSION;

int main() {
  std::puts(kVersion);
  return 0;
}
