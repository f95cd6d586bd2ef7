// The version text an executable carries: the "FileVersion" of a Windows
// executable's version resource, or the version section our own Linux programs
// are stamped with at build time. Pure readers over random reads of the file, so
// they work the same on any system and on any bytes (malformed files give nothing).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace zelmor {

// Reads exactly `count` bytes at `offset` into `bytes`; false when the file has
// fewer bytes there or cannot be read.
using ReadBytesAt = std::function<bool(std::uint64_t offset, std::size_t count, std::string& bytes)>;

// The ELF section our Linux programs carry their version text in (NUL-terminated ASCII).
inline constexpr std::string_view kVersionSectionName = ".zelmor.version";

// The file's version text, or nothing when it has none or is not an executable we read:
// - a Windows executable (PE32 or PE32+): the "FileVersion" string of its version
//   resource, in the string table named by the first entry of "\VarFileInfo\Translation"
//   (language and code page as 8 hexadecimal digits, compared without case); with
//   TakeProductVersion its "ProductVersion" when that is missing or blank;
// - an ELF file: the text of its kVersionSectionName section.
//   FileVersionText(reader of a program built with version 0.1.0) == u"0.1.0"
enum class BlankFileVersion { Keep, TakeProductVersion };
std::optional<std::u16string> FileVersionText(const ReadBytesAt& read, BlankFileVersion blank = BlankFileVersion::Keep);

// The same over bytes in memory (a whole file).
std::optional<std::u16string> FileVersionText(std::string_view image, BlankFileVersion blank = BlankFileVersion::Keep);

}  // namespace zelmor
