// The outside services can wait for their first use: DeferOutsideServices names for
// each service the library InstallOutsideServices(library) installs it with, so asking
// for one with nothing installed loads its own library once, and only that one.
#include <gtest/gtest.h>

#include <vector>

#include "adapters/linux/system_services.h"

namespace zelmor::adapters {
namespace {

std::vector<OutsideLibrary> gLoads;
// Records the library asked for and installs every outside service, so a service named
// with the wrong library is still answered (and the wrong load is seen).
void Load(OutsideLibrary library) {
  gLoads.push_back(library);
  InstallOutsideServices();
}

struct OutsideService {
  const char* Name;
  OutsideLibrary Library;
  void (*Uninstall)();
  bool (*Installed)();
  const void* (*Asked)();
  const void* System;
};

template <class T>
OutsideService Entry(const char* name, OutsideLibrary library, T& system) {
  return {name,
          library,
          [] { platform::Service<T>::Set(nullptr); },
          [] { return platform::Service<T>::Installed(); },
          [] { return static_cast<const void*>(&platform::Service<T>::Get()); },
          &system};
}

std::vector<OutsideService> Services() {
  return {Entry("zip", OutsideLibrary::Zip, SystemZipArchives()),
          Entry("http", OutsideLibrary::Network, SystemHttpClient()),
          Entry("ftp", OutsideLibrary::Network, SystemFtpClients()),
          Entry("digests", OutsideLibrary::Crypto, SystemDigests()),
          Entry("signatures", OutsideLibrary::Crypto, SystemSignatures()),
          Entry("xml", OutsideLibrary::Xml, SystemXmlDocuments()),
          Entry("tone", OutsideLibrary::Sound, SystemToneOutput()),
          Entry("databases", OutsideLibrary::Database, SystemDatabases())};
}

class OutsideServicesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const auto& s : Services()) s.Uninstall();
  }
  void TearDown() override {
    DeferOutsideServices(nullptr);
    InstallSystemServices();
  }
};

TEST_F(OutsideServicesTest, EachIsLoadedOnFirstUseFromItsOwnLibraryOnly) {
  for (const auto& s : Services()) {
    SCOPED_TRACE(s.Name);
    for (const auto& other : Services()) other.Uninstall();
    gLoads.clear();
    DeferOutsideServices(&Load);
    EXPECT_EQ(s.Asked(), s.System);
    EXPECT_EQ(s.Asked(), s.System);
    EXPECT_EQ(gLoads, std::vector<OutsideLibrary>{s.Library});
  }
}

TEST_F(OutsideServicesTest, EachLibraryInstallsExactlyTheServicesOverIt) {
  for (OutsideLibrary library : kOutsideLibraries) {
    SCOPED_TRACE(OutsideLibraryName(library));
    for (const auto& s : Services()) s.Uninstall();
    InstallOutsideServices(library);
    for (const auto& s : Services()) EXPECT_EQ(s.Installed(), s.Library == library) << s.Name;
  }
  // And together they are InstallOutsideServices.
  for (const auto& s : Services()) s.Uninstall();
  InstallOutsideServices();
  for (const auto& s : Services()) EXPECT_EQ(s.Asked(), s.System) << s.Name;
}

}  // namespace
}  // namespace zelmor::adapters
