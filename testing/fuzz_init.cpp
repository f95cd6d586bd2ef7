// The fuzz programs' start: libFuzzer calls this once before the first input.
#include "adapters/linux/system_services.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  zelmor::adapters::InstallSystemServices();
  return 0;
}
