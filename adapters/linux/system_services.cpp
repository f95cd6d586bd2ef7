#include "adapters/linux/system_services.h"

namespace zelmor::adapters {

void InstallSystemServices() {
  InstallBaseServices();
  InstallOutsideServices();
}

}  // namespace zelmor::adapters
