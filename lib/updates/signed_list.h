// The signed version list of the update server. "Versoes.ini" keeps its «name=version»
// lines for older readers; beside each program file's line the publisher adds a
// digest line a «name=version» reader ignores (it has no "="):
//
//   ;sha256 SIZE HEX NAME
//
// and "Versoes.ini.sig" holds one line «ed25519 HEX» with the Ed25519 signature of
// kSignatureContext followed by the exact bytes of "Versoes.ini". Key files hold one
// line «ed25519 HEX» (public) or «ed25519-private HEX» (private), 32 raw bytes each.
// docs/updates.md shows a worked example.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/types.h"

namespace zelmor::updates {

inline constexpr std::u16string_view kVersionList = u"Versoes.ini";
inline constexpr std::u16string_view kSignatureFile = u"Versoes.ini.sig";
// What is signed comes after this text, so a signature made for something else with
// the same key never passes for a list's.
inline constexpr std::string_view kSignatureContext = "zelmor update list v1\n";

// What the list says of one program file.
struct ListedFile {
  std::u16string Version;  // of its first «name=version» line
  std::int64_t Size = -1;  // of its first digest line; -1 when it has none
  std::string Sha256;      // lower-case hexadecimal; empty when it has no digest line
};

// The list's lines, decoded as the older readers decode the file.
TStringList ListLines(std::string_view bytes);
// What the list says of `name` (compared without case); nothing when no line names it.
std::optional<ListedFile> FindListed(const TStringList& lines, std::u16string_view name);

// A key file's text → its 32 raw bytes. EArgumentError naming `origin` otherwise.
std::string ParsePublicKey(std::string_view text, std::u16string_view origin);
std::string ParsePrivateKey(std::string_view text, std::u16string_view origin);
std::string PublicKeyText(std::string_view raw);
std::string PrivateKeyText(std::string_view raw);

// The keys a list may be signed with: those built into the program and those of the
// platform's trust store (whose refusal of a key file is raised as it is).
std::vector<std::string> TrustedKeys();
// Whether `signatureText` (the ".sig" file) is a trusted key's signature of `list`.
bool SignatureValid(std::string_view list, std::string_view signatureText, const std::vector<std::string>& keys);

// A file's size and SHA-256 (lower-case hexadecimal), read in pieces.
struct FileDigest {
  std::int64_t Size = 0;
  std::string Sha256;
};
FileDigest DigestFile(std::u16string_view path);

// The publisher's side. Rewrites FOLDER/Versoes.ini with a digest line after the first line of each name
// (earlier digest lines dropped) and writes FOLDER/Versoes.ini.sig. Every listed file
// must be in FOLDER with the stamped version its line gives (none for an empty one).
// Answers the names signed.
std::vector<std::u16string> SignFolder(std::u16string_view folder, std::u16string_view privateKeyFile);

}  // namespace zelmor::updates
