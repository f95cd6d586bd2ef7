// The services over outside libraries: libxml2, libcurl, ALSA, the zip library, OpenSSL
// and SQLite. Built into the static library and, on their own, into the module that
// `zelmor` loads the first time a call needs one of them.
#include "adapters/linux/system_services.h"

namespace zelmor::adapters {

void InstallOutsideServices() {
  platform::Service<platform::XmlDocuments>::Set(&SystemXmlDocuments());
  platform::Service<platform::HttpClient>::Set(&SystemHttpClient());
  platform::Service<platform::ToneOutput>::Set(&SystemToneOutput());
  platform::Service<platform::ZipArchives>::Set(&SystemZipArchives());
  platform::Service<platform::FtpClients>::Set(&SystemFtpClients());
  platform::Service<platform::Digests>::Set(&SystemDigests());
  platform::Service<platform::Signatures>::Set(&SystemSignatures());
  platform::Service<platform::Databases>::Set(&SystemDatabases());
}

}  // namespace zelmor::adapters

// The module's entry, looked up by name once it is loaded.
extern "C" __attribute__((visibility("default"))) void zelmor_install_outside_services() {
  zelmor::adapters::InstallOutsideServices();
}
