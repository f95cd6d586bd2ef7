// The main of the test programs: the system's services first, as in the programs;
// each test installs its own stand-ins over them.
#include <gtest/gtest.h>

#include "adapters/linux/system_services.h"

int main(int argc, char** argv) {
  zelmor::adapters::InstallSystemServices();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
