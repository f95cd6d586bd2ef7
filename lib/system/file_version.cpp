// Readers of executables' version texts. Every offset and length read from the
// file is checked before use: a truncated or hostile file gives "no version".
#include "system/file_version.h"

#include <algorithm>
#include <vector>

#include "core/integer_text.h"

namespace zelmor {
namespace {

// Little- or big-endian integers out of a byte buffer, bounds-checked by the caller.
std::uint64_t Get(std::string_view b, std::size_t at, int size, bool bigEndian = false) {
  std::uint64_t v = 0;
  for (int i = 0; i < size; ++i) {
    const auto byte = static_cast<std::uint64_t>(static_cast<unsigned char>(b[at + i]));
    v |= byte << (8 * (bigEndian ? size - 1 - i : i));
  }
  return v;
}
std::uint16_t U16(std::string_view b, std::size_t at) { return static_cast<std::uint16_t>(Get(b, at, 2)); }
std::uint32_t U32(std::string_view b, std::size_t at) { return static_cast<std::uint32_t>(Get(b, at, 4)); }

// ---- Windows executables: the version resource ----

constexpr std::uint32_t kResourceTypeVersion = 16;  // RT_VERSION
constexpr std::uint32_t kVersionInfoId = 1;         // VS_VERSION_INFO
constexpr std::size_t kMaxVersionBlock = 0xFFFF;    // a block's length is a 16-bit count

struct Section {
  std::uint32_t VirtualAddress, VirtualSize, RawSize, RawOffset;
};

class PeImage {
 public:
  explicit PeImage(const ReadBytesAt& read) : FRead(read) {}

  // The raw bytes of the version resource, or nothing.
  std::optional<std::string> VersionResource() {
    std::string dos;
    if (!FRead(0, 64, dos) || dos[0] != 'M' || dos[1] != 'Z') return std::nullopt;
    const std::uint32_t pe = U32(dos, 0x3C);
    std::string header;
    if (!FRead(pe, 24, header) || header.compare(0, 4, std::string_view("PE\0\0", 4)) != 0) return std::nullopt;
    const std::uint16_t sectionCount = U16(header, 6);
    const std::uint16_t optionalSize = U16(header, 20);
    std::string optional;
    if (optionalSize < 2 || !FRead(pe + 24ull, optionalSize, optional)) return std::nullopt;
    // The data directories follow the fields of PE32 (0x10B) or PE32+ (0x20B).
    std::size_t countAt;
    switch (U16(optional, 0)) {
      case 0x10B: countAt = 92; break;
      case 0x20B: countAt = 108; break;
      default: return std::nullopt;
    }
    constexpr std::size_t kResourceDirectory = 2;
    if (optional.size() < countAt + 4 + 8 * (kResourceDirectory + 1) || U32(optional, countAt) <= kResourceDirectory)
      return std::nullopt;
    FResourceRva = U32(optional, countAt + 4 + 8 * kResourceDirectory);
    if (FResourceRva == 0) return std::nullopt;

    std::string table;
    if (!FRead(pe + 24ull + optionalSize, 40ull * sectionCount, table)) return std::nullopt;
    for (std::size_t i = 0; i < sectionCount; ++i)
      FSections.push_back(
          {U32(table, 40 * i + 12), U32(table, 40 * i + 8), U32(table, 40 * i + 16), U32(table, 40 * i + 20)});

    // Type, then name, then language: a three-level tree whose offsets count from
    // the start of the resource section.
    auto type = Entry(0, [](std::uint32_t id) { return id == kResourceTypeVersion; });
    if (!type || !IsDirectory(*type)) return std::nullopt;
    auto name = Entry(
        Offset(*type), [](std::uint32_t id) { return id == kVersionInfoId; }, true);
    if (!name || !IsDirectory(*name)) return std::nullopt;
    auto language = Entry(
        Offset(*name), [](std::uint32_t id) { return id == 0; }, true);
    if (!language || IsDirectory(*language)) return std::nullopt;

    std::string data;
    if (!ReadRva(FResourceRva + std::uint64_t{Offset(*language)}, 16, data)) return std::nullopt;
    const std::uint32_t size = std::min<std::uint32_t>(U32(data, 4), kMaxVersionBlock);
    std::string block;
    if (!ReadRva(U32(data, 0), size, block)) return std::nullopt;
    return block;
  }

 private:
  static bool IsDirectory(std::uint32_t entry) { return entry & 0x80000000u; }
  static std::uint32_t Offset(std::uint32_t entry) { return entry & 0x7FFFFFFFu; }

  // The entry of the directory at `dirOffset` whose numeric id `wanted` accepts (or,
  // with `orFirst`, the first entry when none does); answers its offset field.
  template <class Wanted>
  std::optional<std::uint32_t> Entry(std::uint32_t dirOffset, Wanted wanted, bool orFirst = false) {
    std::string dir;
    if (!ReadRva(FResourceRva + std::uint64_t{dirOffset}, 16, dir)) return std::nullopt;
    const std::size_t count = std::size_t{U16(dir, 12)} + U16(dir, 14);
    std::string entries;
    if (count == 0 || !ReadRva(FResourceRva + std::uint64_t{dirOffset} + 16, 8 * count, entries)) return std::nullopt;
    for (std::size_t i = 0; i < count; ++i) {
      const std::uint32_t id = U32(entries, 8 * i);
      if (!(id & 0x80000000u) && wanted(id)) return U32(entries, 8 * i + 4);
    }
    if (orFirst) return U32(entries, 4);
    return std::nullopt;
  }

  // Reads at a relative virtual address, through the section that holds it.
  bool ReadRva(std::uint64_t rva, std::size_t count, std::string& out) {
    for (const Section& s : FSections) {
      const std::uint64_t extent = std::max(s.VirtualSize, s.RawSize);
      if (rva < s.VirtualAddress || rva >= s.VirtualAddress + extent) continue;
      const std::uint64_t within = rva - s.VirtualAddress;
      if (within + count > s.RawSize) return false;
      return FRead(s.RawOffset + within, count, out);
    }
    return false;
  }

  const ReadBytesAt& FRead;
  std::uint32_t FResourceRva = 0;
  std::vector<Section> FSections;
};

// One node of a version block: a length, a typed value, a key, and child nodes.
struct VersionNode {
  std::string_view Bytes;  // the whole node
  std::u16string Key;
  std::string_view Value;  // the value's bytes (text values may lack their NUL)
  std::string_view Children;
};

std::size_t Align4(std::size_t at) { return (at + 3) & ~std::size_t{3}; }

std::optional<VersionNode> ReadNode(std::string_view b) {
  if (b.size() < 6) return std::nullopt;
  const std::size_t length = U16(b, 0);
  const std::size_t valueLength = U16(b, 2);
  const bool text = U16(b, 4) == 1;
  if (length < 6 || length > b.size()) return std::nullopt;
  VersionNode n;
  n.Bytes = b.substr(0, length);
  std::size_t at = 6;
  for (;; at += 2) {
    if (at + 2 > length) return std::nullopt;
    const char16_t c = U16(b, at);
    if (c == 0) break;
    n.Key.push_back(c);
  }
  at = std::min(Align4(at + 2), length);
  // Text lengths count characters; some tools write bytes, so the text is also cut at its NUL.
  const std::size_t valueBytes = std::min(text ? 2 * valueLength : valueLength, length - at);
  n.Value = n.Bytes.substr(at, valueBytes);
  n.Children = n.Bytes.substr(std::min(Align4(at + valueBytes), length));
  return n;
}

// The child of `parent` whose key matches `key` without regard to ASCII case.
std::optional<VersionNode> Child(const VersionNode& parent, std::u16string_view key) {
  std::string_view rest = parent.Children;
  while (!rest.empty()) {
    auto node = ReadNode(rest);
    if (!node) return std::nullopt;
    const bool same =
        std::equal(node->Key.begin(), node->Key.end(), key.begin(), key.end(), [](char16_t a, char16_t b) {
          auto fold = [](char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; };
          return fold(a) == fold(b);
        });
    if (same) return node;
    rest.remove_prefix(std::min(Align4(node->Bytes.size()), rest.size()));
  }
  return std::nullopt;
}

std::u16string TextValue(std::string_view v) {
  std::u16string s;
  for (std::size_t at = 0; at + 2 <= v.size(); at += 2) {
    const char16_t c = U16(v, at);
    if (c == 0) break;
    s.push_back(c);
  }
  return s;
}

std::optional<std::u16string> FileVersionOfBlock(std::string_view block, BlankFileVersion blank) {
  auto root = ReadNode(block);
  if (!root || root->Key != u"VS_VERSION_INFO") return std::nullopt;
  auto vars = Child(*root, u"VarFileInfo");
  auto translation = vars ? Child(*vars, u"Translation") : std::nullopt;
  if (!translation || translation->Value.size() < 4) return std::nullopt;
  std::u16string table;
  for (std::uint16_t word : {U16(translation->Value, 0), U16(translation->Value, 2)})
    AppendUnsigned<16>(table, word, 4);
  auto strings = Child(*root, u"StringFileInfo");
  auto language = strings ? Child(*strings, table) : std::nullopt;
  if (!language) return std::nullopt;
  auto text = [&](std::u16string_view key) -> std::optional<std::u16string> {
    auto node = Child(*language, key);
    if (!node) return std::nullopt;
    return TextValue(node->Value);
  };
  // A blank file version gives way to the product version.
  auto version = text(u"FileVersion");
  if (blank == BlankFileVersion::TakeProductVersion &&
      (!version || version->find_first_not_of(u" \t") == std::u16string::npos)) {
    if (auto product = text(u"ProductVersion")) return product;
  }
  return version;
}

// ---- ELF files: our own version section ----

constexpr std::size_t kMaxVersionText = 256;
constexpr std::uint32_t kSectionNoBits = 8;  // SHT_NOBITS: no bytes in the file

std::optional<std::u16string> ElfVersion(const ReadBytesAt& read) {
  std::string h;
  if (!read(0, 64, h) && !read(0, 52, h)) return std::nullopt;
  if (h.compare(0, 4,
                "\x7f"
                "ELF") != 0)
    return std::nullopt;
  const bool wide = h[4] == 2;
  const bool big = h[5] == 2;
  if ((h[4] != 1 && !wide) || (h[5] != 1 && !big) || (wide && h.size() < 64)) return std::nullopt;
  auto get = [big](std::string_view b, std::size_t at, int size) { return Get(b, at, size, big); };
  const std::uint64_t shoff = wide ? get(h, 0x28, 8) : get(h, 0x20, 4);
  const std::size_t entSize = get(h, wide ? 0x3A : 0x2E, 2);
  std::uint64_t count = get(h, wide ? 0x3C : 0x30, 2);
  std::uint64_t names = get(h, wide ? 0x3E : 0x32, 2);
  if (shoff == 0 || entSize < (wide ? 64u : 40u)) return std::nullopt;

  struct Header {
    std::uint32_t Name, Type;
    std::uint64_t Offset, Size, Link;
  };
  auto header = [&](std::uint64_t i) -> std::optional<Header> {
    std::string s;
    if (!read(shoff + i * entSize, entSize, s)) return std::nullopt;
    if (wide)
      return Header{std::uint32_t(get(s, 0, 4)), std::uint32_t(get(s, 4, 4)), get(s, 24, 8), get(s, 32, 8),
                    get(s, 40, 4)};
    return Header{std::uint32_t(get(s, 0, 4)), std::uint32_t(get(s, 4, 4)), get(s, 16, 4), get(s, 20, 4),
                  get(s, 24, 4)};
  };
  // Large files keep the real count and name-table index in the first header.
  if (count == 0 || names == 0xFFFF) {
    auto first = header(0);
    if (!first) return std::nullopt;
    if (count == 0) count = first->Size;
    if (names == 0xFFFF) names = first->Link;
  }
  // Real programs have dozens of sections; these bounds only keep damaged files cheap.
  constexpr std::uint64_t kMaxSections = 1u << 16;
  if (count > kMaxSections || names >= count) return std::nullopt;
  auto table = header(names);
  if (!table || table->Size > (64u << 20)) return std::nullopt;
  std::string strings;
  if (!read(table->Offset, table->Size, strings)) return std::nullopt;

  std::string all;
  if (!read(shoff, count * entSize, all)) return std::nullopt;
  for (std::uint64_t i = 0; i < count; ++i) {
    const std::string_view s = std::string_view(all).substr(i * entSize, entSize);
    const std::uint32_t name = std::uint32_t(get(s, 0, 4));
    if (name >= strings.size()) continue;
    if (std::string_view(strings.c_str() + name) != kVersionSectionName) continue;
    if (std::uint32_t(get(s, 4, 4)) == kSectionNoBits) return std::nullopt;
    const std::uint64_t offset = wide ? get(s, 24, 8) : get(s, 16, 4);
    const std::uint64_t size = std::min<std::uint64_t>(wide ? get(s, 32, 8) : get(s, 20, 4), kMaxVersionText);
    std::string text;
    if (!read(offset, size, text)) return std::nullopt;
    text = text.substr(0, text.find('\0'));
    std::u16string out;
    for (char c : text) {
      if (c < 0x20 || c > 0x7E) return std::nullopt;  // a version text is printable ASCII
      out.push_back(static_cast<char16_t>(c));
    }
    return out;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::u16string> FileVersionText(const ReadBytesAt& read, BlankFileVersion blank) {
  std::string magic;
  if (!read(0, 4, magic)) return std::nullopt;
  if (magic.compare(0, 4,
                    "\x7f"
                    "ELF") == 0)
    return ElfVersion(read);
  if (magic[0] != 'M' || magic[1] != 'Z') return std::nullopt;
  PeImage image(read);
  auto block = image.VersionResource();
  if (!block) return std::nullopt;
  return FileVersionOfBlock(*block, blank);
}

std::optional<std::u16string> FileVersionText(std::string_view image, BlankFileVersion blank) {
  return FileVersionText(
      [image](std::uint64_t offset, std::size_t count, std::string& bytes) {
        if (offset > image.size() || count > image.size() - offset) return false;
        bytes.assign(image.substr(offset, count));
        return true;
      },
      blank);
}

}  // namespace zelmor
