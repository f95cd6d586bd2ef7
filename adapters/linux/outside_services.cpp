// The services over outside libraries: libxml2, libcurl, ALSA, the zip library, OpenSSL
// and SQLite. Built into the static library and, one library to a module, into the
// modules that `zelmor` loads the first time a call needs one of their services.
#include "adapters/linux/outside_modules.h"
#include "adapters/linux/system_services.h"

namespace zelmor::adapters {

void InstallOutsideServices(OutsideLibrary library) {
  switch (library) {
    case OutsideLibrary::Zip: return zelmor_install_zip_services();
    case OutsideLibrary::Network: return zelmor_install_network_services();
    case OutsideLibrary::Crypto: return zelmor_install_crypto_services();
    case OutsideLibrary::Xml: return zelmor_install_xml_services();
    case OutsideLibrary::Sound: return zelmor_install_sound_services();
    case OutsideLibrary::Database: return zelmor_install_database_services();
  }
}

void InstallOutsideServices() {
  for (OutsideLibrary library : kOutsideLibraries) InstallOutsideServices(library);
}

}  // namespace zelmor::adapters
