#include "platform/service.h"

#include <cstdio>
#include <cstdlib>

namespace zelmor::platform {

void MissingService(const char* name) {
  std::fprintf(stderr,
               "zelmor: no %s service is installed. A program installs the system's services first thing in "
               "main() (zelmor::adapters::InstallSystemServices()); a test installs its own.\n",
               name);
  std::fflush(stderr);
  std::abort();
}

}  // namespace zelmor::platform
