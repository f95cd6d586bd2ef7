#include "adapters/linux/system_services.h"

namespace zelmor::adapters {

void InstallSystemServices() {
  platform::Service<platform::Clock>::Set(&SystemClock());
  platform::Service<platform::RegionalSettingsSource>::Set(&SystemRegionalSettings());
  platform::Service<platform::ProcessInfo>::Set(&SystemProcessInfo());
  platform::Service<platform::Processes>::Set(&SystemProcesses());
  platform::Service<platform::ProcessControl>::Set(&SystemProcessControl());
  platform::Service<platform::MachineInfo>::Set(&SystemMachineInfo());
  platform::Service<platform::TaskScheduler>::Set(&SystemTaskScheduler());
  platform::Service<platform::FileSystem>::Set(&SystemFileSystem());
  platform::Service<platform::FileLocks>::Set(&SystemFileLocks());
  platform::Service<platform::XmlDocuments>::Set(&SystemXmlDocuments());
  platform::Service<platform::Dialogs>::Set(&SystemDialogs());
  platform::Service<platform::BusyCursor>::Set(&SystemBusyCursor());
  platform::Service<platform::HttpClient>::Set(&SystemHttpClient());
  platform::Service<platform::SharedLibraryLoader>::Set(&SystemSharedLibraryLoader());
  platform::Service<platform::TimeZone>::Set(&SystemTimeZone());
  platform::Service<platform::RegistryStore>::Set(&SystemRegistryStore());
  platform::Service<platform::TcpSockets>::Set(&SystemTcpSockets());
  platform::Service<platform::EventPump>::Set(&SystemEventPump());
  platform::Service<platform::ToneOutput>::Set(&SystemToneOutput());
  platform::Service<platform::SystemEnvironment>::Set(&SystemEnvironment());
  platform::Service<platform::SessionInfo>::Set(&SystemSessionInfo());
  platform::Service<platform::ZipArchives>::Set(&SystemZipArchives());
  platform::Service<platform::FtpClients>::Set(&SystemFtpClients());
  platform::Service<platform::Digests>::Set(&SystemDigests());
  platform::Service<platform::Signatures>::Set(&SystemSignatures());
  platform::Service<platform::UpdateTrustStore>::Set(&SystemUpdateTrustStore());
  platform::Service<platform::Databases>::Set(&SystemDatabases());
}

}  // namespace zelmor::adapters
