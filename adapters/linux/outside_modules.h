// The entries of `zelmor`'s modules over outside libraries, one for each OutsideLibrary
// (system_services.h), named zelmor_install_<its name>_services: each installs the
// services over its library and is defined beside them, so a module built from those
// sources alone holds its own entry. InstallOutsideServices calls the same functions.
#pragma once

#define ZELMOR_MODULE_ENTRY extern "C" __attribute__((visibility("default")))

ZELMOR_MODULE_ENTRY void zelmor_install_zip_services();
ZELMOR_MODULE_ENTRY void zelmor_install_network_services();
ZELMOR_MODULE_ENTRY void zelmor_install_crypto_services();
ZELMOR_MODULE_ENTRY void zelmor_install_xml_services();
ZELMOR_MODULE_ENTRY void zelmor_install_sound_services();
ZELMOR_MODULE_ENTRY void zelmor_install_database_services();
