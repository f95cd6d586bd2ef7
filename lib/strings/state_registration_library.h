// Where the outside state-registration library lives and where it is downloaded
// from (see docs/fiscal.md).
#pragma once

#include <string>
#include <string_view>

namespace zelmor {

// The library's file in the program's folder, and the download path on its server.
inline constexpr std::u16string_view kInscricaoLibraryFile = u"DllInscE32.Dll";
inline constexpr std::u16string_view kInscricaoLibraryPath = u"/files/download/DllInscE32.dll";
// The setting that names the download server: a host ("downloads.example.com", then
// HTTPS is used) or a base address with its scheme and port ("http://127.0.0.1:8080").
// It is the entry Host of section [Sintegra] in the program's configuration file (the
// executable's path with ".ini"); the environment variable, when set, takes precedence.
inline constexpr std::u16string_view kInscricaoLibraryHostSection = u"Sintegra";
inline constexpr std::u16string_view kInscricaoLibraryHostItem = u"Host";
inline constexpr const char* kInscricaoLibraryHostVariable = "ZELMOR_DLLINSCE32_HOST";

// The configured download host (environment, then configuration file), or an empty text.
std::u16string InscricaoLibraryHost();
// The full download address; just the path when no host is configured.
std::u16string InscricaoLibraryUrl();

}  // namespace zelmor
