// The services that need no library beyond the C and C++ ones, and the loaders that
// stand in for the others until a call asks for one.
#include <atomic>

#include "adapters/linux/system_services.h"

namespace zelmor::adapters {
namespace {

std::atomic<void (*)(OutsideLibrary)> gLoadOutside{nullptr};

// The loader of every service over `library` (platform::Service loaders take no argument).
template <OutsideLibrary library>
void LoadOutside() {
  if (void (*load)(OutsideLibrary) = gLoadOutside.load(std::memory_order_acquire)) load(library);
}

template <class T, OutsideLibrary library>
void Defer(bool on) {
  platform::Service<T>::SetLoader(on ? &LoadOutside<library> : nullptr);
}

}  // namespace

void InstallBaseServices() {
  platform::Service<platform::Clock>::Set(&SystemClock());
  platform::Service<platform::RegionalSettingsSource>::Set(&SystemRegionalSettings());
  platform::Service<platform::ProcessInfo>::Set(&SystemProcessInfo());
  platform::Service<platform::Processes>::Set(&SystemProcesses());
  platform::Service<platform::ProcessControl>::Set(&SystemProcessControl());
  platform::Service<platform::MachineInfo>::Set(&SystemMachineInfo());
  platform::Service<platform::TaskScheduler>::Set(&SystemTaskScheduler());
  platform::Service<platform::FileSystem>::Set(&SystemFileSystem());
  platform::Service<platform::FileLocks>::Set(&SystemFileLocks());
  platform::Service<platform::Dialogs>::Set(&SystemDialogs());
  platform::Service<platform::BusyCursor>::Set(&SystemBusyCursor());
  platform::Service<platform::SharedLibraryLoader>::Set(&SystemSharedLibraryLoader());
  platform::Service<platform::TimeZone>::Set(&SystemTimeZone());
  platform::Service<platform::RegistryStore>::Set(&SystemRegistryStore());
  platform::Service<platform::TcpSockets>::Set(&SystemTcpSockets());
  platform::Service<platform::EventPump>::Set(&SystemEventPump());
  platform::Service<platform::SystemEnvironment>::Set(&SystemEnvironment());
  platform::Service<platform::SessionInfo>::Set(&SystemSessionInfo());
  platform::Service<platform::UpdateTrustStore>::Set(&SystemUpdateTrustStore());
}

const char* OutsideLibraryName(OutsideLibrary library) {
  switch (library) {
    case OutsideLibrary::Zip: return "zip";
    case OutsideLibrary::Network: return "network";
    case OutsideLibrary::Crypto: return "crypto";
    case OutsideLibrary::Xml: return "xml";
    case OutsideLibrary::Sound: return "sound";
    case OutsideLibrary::Database: return "database";
  }
  return "";
}

// The same services as InstallOutsideServices, each with its own library's.
void DeferOutsideServices(void (*load)(OutsideLibrary)) {
  gLoadOutside.store(load, std::memory_order_release);
  const bool on = load != nullptr;
  Defer<platform::ZipArchives, OutsideLibrary::Zip>(on);
  Defer<platform::HttpClient, OutsideLibrary::Network>(on);
  Defer<platform::FtpClients, OutsideLibrary::Network>(on);
  Defer<platform::Digests, OutsideLibrary::Crypto>(on);
  Defer<platform::Signatures, OutsideLibrary::Crypto>(on);
  Defer<platform::XmlDocuments, OutsideLibrary::Xml>(on);
  Defer<platform::ToneOutput, OutsideLibrary::Sound>(on);
  Defer<platform::Databases, OutsideLibrary::Database>(on);
}

}  // namespace zelmor::adapters
