// This system's implementations of the platform services, and the one call that
// installs them. Programs call InstallSystemServices() first thing in main(), and
// so do the test and benchmark mains; the library itself never picks an
// implementation.
#pragma once

#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/database.h"
#include "platform/dialogs.h"
#include "platform/digests.h"
#include "platform/event_pump.h"
#include "platform/executable_info.h"
#include "platform/file_locks.h"
#include "platform/file_system.h"
#include "platform/ftp_client.h"
#include "platform/http_client.h"
#include "platform/machine_info.h"
#include "platform/program_start.h"
#include "platform/regional_settings.h"
#include "platform/registry_store.h"
#include "platform/running_processes.h"
#include "platform/session_info.h"
#include "platform/shared_library.h"
#include "platform/signatures.h"
#include "platform/system_environment.h"
#include "platform/task_scheduler.h"
#include "platform/tcp_listener.h"
#include "platform/time_zone.h"
#include "platform/tone_output.h"
#include "platform/update_trust_store.h"
#include "platform/xml_documents.h"
#include "platform/zip_archives.h"

namespace zelmor::adapters {

// Installs every service below, over whatever was installed before (the text
// measurer keeps its headless estimate until a GUI installs its own).
void InstallSystemServices();
// The two halves of it: the services that need only the C and C++ libraries, and those
// over outside libraries (libxml2, libcurl, ALSA, the zip library, OpenSSL, SQLite),
// which cost a program's start several times what the rest does.
void InstallBaseServices();
void InstallOutsideServices();
// The outside libraries, each with the services over it: what a program that loads them
// on demand loads at once (`zelmor` has one module for each, tools/zelmor/modules.h).
enum class OutsideLibrary { Zip, Network, Crypto, Xml, Sound, Database };
inline constexpr OutsideLibrary kOutsideLibraries[] = {OutsideLibrary::Zip,    OutsideLibrary::Network,
                                                       OutsideLibrary::Crypto, OutsideLibrary::Xml,
                                                       OutsideLibrary::Sound,  OutsideLibrary::Database};
// Its short name ("zip", "network", "crypto", "xml", "sound", "database").
const char* OutsideLibraryName(OutsideLibrary library);
// Installs the services over that one library.
void InstallOutsideServices(OutsideLibrary library);
// Names `load` as the loader of each service InstallOutsideServices installs, for a
// program that loads them when a call first needs one (platform::Service::SetLoader):
// `load` is called with the library of the service asked for.
void DeferOutsideServices(void (*load)(OutsideLibrary));

// Each of them, for a program that wants only some, and for the adapters' own tests.
platform::Clock& SystemClock();
platform::RegionalSettingsSource& SystemRegionalSettings();
// True when the locale of dates and times (LC_ALL, then LC_TIME, then LANG) is C or
// POSIX: a locale with no month and day names of its own (its English ones are the C
// library's placeholders).
bool PlainTimeLocale();
platform::ProcessInfo& SystemProcessInfo();
// Programs started with posix_spawn: no shell, no inherited descriptors, children reaped.
platform::Processes& SystemProcesses();
platform::FileSystem& SystemFileSystem();
// Folder locks through flock(2) on the folder's own descriptor.
platform::FileLocks& SystemFileLocks();
platform::XmlDocuments& SystemXmlDocuments();
// Without a screen: messages to standard error, default answers, no cursor.
platform::Dialogs& SystemDialogs();
platform::BusyCursor& SystemBusyCursor();
platform::HttpClient& SystemHttpClient();
// How long a transfer may go without a byte before it is given up: 30 s. Tests shorten it.
void SetHttpStallSeconds(long seconds);
// Names, addresses, the processor, echo requests (ICMP datagram socket, raw socket,
// then the ping program).
platform::MachineInfo& SystemMachineInfo();
// /proc snapshots, ending by pidfd, the single-instance guard on an abstract socket.
platform::ProcessControl& SystemProcessControl();
// systemd user timers where the user's systemd runs, else the user's crontab.
platform::TaskScheduler& SystemTaskScheduler();
platform::SharedLibraryLoader& SystemSharedLibraryLoader();
platform::TimeZone& SystemTimeZone();
// The store of the user running the process, in DefaultRegistryFile().
platform::RegistryStore& SystemRegistryStore();
platform::TcpSockets& SystemTcpSockets();
// The headless event loop of the calling thread (a GUI installs its own over it).
platform::EventPump& SystemEventPump();
// Tones through ALSA's "default" PCM.
platform::ToneOutput& SystemToneOutput();
platform::Digests& SystemDigests();
// Ed25519 through OpenSSL.
platform::Signatures& SystemSignatures();
// The update keys in /etc/zelmor/update-keys (root's, written by nobody else).
platform::UpdateTrustStore& SystemUpdateTrustStore();
// The same checks over another folder, for tests.
std::unique_ptr<platform::UpdateTrustStore> UpdateTrustStoreAt(const std::string& folder);
// Databases in SQLite files.
platform::Databases& SystemDatabases();
platform::SystemEnvironment& SystemEnvironment();
platform::SessionInfo& SystemSessionInfo();
// Zip archives through libzip.
platform::ZipArchives& SystemZipArchives();
// FTP and FTPS (explicit TLS) through libcurl.
platform::FtpClients& SystemFtpClients();
// The window over which an FTP transfer must keep kMinTransferBytesPerSecond
// (platform/download_limits.h): 30 s. Tests shorten it.
void SetTransferRateWindowSeconds(long seconds);

}  // namespace zelmor::adapters
