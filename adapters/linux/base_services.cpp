// The services that need no library beyond the C and C++ ones, and the loader that
// stands in for the others until a call asks for one.
#include "adapters/linux/system_services.h"

namespace zelmor::adapters {

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

// The same services as InstallOutsideServices, one for one.
void DeferOutsideServices(void (*load)()) {
  platform::Service<platform::XmlDocuments>::SetLoader(load);
  platform::Service<platform::HttpClient>::SetLoader(load);
  platform::Service<platform::ToneOutput>::SetLoader(load);
  platform::Service<platform::ZipArchives>::SetLoader(load);
  platform::Service<platform::FtpClients>::SetLoader(load);
  platform::Service<platform::Digests>::SetLoader(load);
  platform::Service<platform::Signatures>::SetLoader(load);
  platform::Service<platform::Databases>::SetLoader(load);
}

}  // namespace zelmor::adapters
