// The outside services can wait for their first use: DeferOutsideServices names a
// loader for exactly the services InstallOutsideServices installs, so each of them,
// asked for with nothing installed, comes back as the system's after one load.
#include <gtest/gtest.h>

#include <functional>

#include "adapters/linux/system_services.h"

namespace zelmor::adapters {
namespace {

int gLoads = 0;
void Load() {
  ++gLoads;
  InstallOutsideServices();
}

// Uninstalls the service, then asks for it: the address the registry answers.
template <class T>
std::function<const void*()> Ask() {
  platform::Service<T>::Set(nullptr);
  return [] { return static_cast<const void*>(&platform::Service<T>::Get()); };
}

TEST(OutsideServicesTest, EachIsLoadedOnFirstUseAsTheSystems) {
  const struct {
    const char* Name;
    std::function<const void*()> Asked;
    const void* System;
  } cases[] = {
      {"xml", Ask<platform::XmlDocuments>(), &SystemXmlDocuments()},
      {"http", Ask<platform::HttpClient>(), &SystemHttpClient()},
      {"tone", Ask<platform::ToneOutput>(), &SystemToneOutput()},
      {"zip", Ask<platform::ZipArchives>(), &SystemZipArchives()},
      {"ftp", Ask<platform::FtpClients>(), &SystemFtpClients()},
      {"digests", Ask<platform::Digests>(), &SystemDigests()},
      {"signatures", Ask<platform::Signatures>(), &SystemSignatures()},
      {"databases", Ask<platform::Databases>(), &SystemDatabases()},
  };
  gLoads = 0;
  DeferOutsideServices(&Load);
  for (const auto& c : cases) EXPECT_EQ(c.Asked(), c.System) << c.Name;
  // The first ask installed them all.
  EXPECT_EQ(gLoads, 1);
  DeferOutsideServices(nullptr);
  InstallSystemServices();
}

}  // namespace
}  // namespace zelmor::adapters
