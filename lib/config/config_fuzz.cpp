// Any bytes as a configuration file, and one entry to write into it. The first line
// of the input is "section TAB item TAB value" (UTF-8), the rest is the file.
// Besides crashes and sanitizer reports it traps when:
//   - the lines of a file do not come back the same after a save and a load;
//   - a value that was written (text, integer or number) does not read back as
//     written, in memory or from the saved file;
//   - a read or a list of the file raises anything.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "config/mConfigUnit.h"
#include "core/errors.h"
#include "core/text.h"
#include "testing/fixtures.h"
#include "testing/fuzz_check.h"

using zelmor::testing::FuzzCheck;
using zelmor::testing::FuzzFolder;

namespace {

namespace fs = std::filesystem;
using zelmor::TmConfig;

std::u16string PathOf(const char* name) { return zelmor::Utf8ToU16((FuzzFolder() / name).string()); }

// What a load does to the first line besides splitting: a UTF-8 mark read as
// Windows-1252 text is dropped once more.
zelmor::TStringList Reloaded(const zelmor::TStringList& lines) {
  zelmor::TStringList out = lines;
  if (!out.Items.empty()) {
    std::u16string& first = out.Items.front();
    if (first.size() > 3 && first.compare(0, 3, u"\u00EF\u00BB\u00BF") == 0) first.erase(0, 3);
  }
  return out;
}

void ReadEverything(const TmConfig& c, std::u16string_view s, std::u16string_view i) {
  zelmor::TStringList list;
  c.ReadSections(list);
  c.ReadSection(s, list);
  c.ReadSectionValues(s, list);
  c.SectionExists(s);
  c.ReadInteger(s, i, 7);
  c.ReadBool(s, i, true);
  c.ReadFloat(s, i, 2.5);
  c.ReadCurr(s, i, zelmor::Currency::FromRaw(12345));
  c.ReadDate(s, i, 43000);
  c.ReadDateTime(s, i, 43000.5);
  c.ReadTime(s, i, 0.25);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static zelmor::testing::FixedRegionalSettings brazilian;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t cut = input.find('\n');
  const std::string_view head = cut == std::string_view::npos ? std::string_view() : input.substr(0, cut);
  const std::string_view file = cut == std::string_view::npos ? input : input.substr(cut + 1);
  const std::size_t t1 = head.find('\t'), t2 = t1 == std::string_view::npos ? t1 : head.find('\t', t1 + 1);
  const std::u16string secao = zelmor::Utf8ToU16(head.substr(0, t1));
  const std::u16string item =
      t1 == std::string_view::npos ? u"Item" : zelmor::Utf8ToU16(head.substr(t1 + 1, t2 - t1 - 1));
  const std::u16string valor = t2 == std::string_view::npos ? u"valor" : zelmor::Utf8ToU16(head.substr(t2 + 1));

  const std::u16string original = PathOf("original.ini"), copy = PathOf("copy.ini"), edited = PathOf("edited.ini");
  {
    std::ofstream out(FuzzFolder() / "original.ini", std::ios::binary | std::ios::trunc);
    out.write(file.data(), static_cast<std::streamsize>(file.size()));
  }

  TmConfig config(original, true);
  ReadEverything(config, secao, item);

  // The lines survive a save and a load.
  config.SaveCopyTo(copy);
  {
    TmConfig back(copy, true);
    FuzzCheck(back.Linhas().Items == Reloaded(config.Linhas()).Items);
  }

  // A value written reads back, before and after a save.
  const std::u16string kAbsent = u"\x01absent";
  try {
    config.WriteString(secao, item, valor);
  } catch (const zelmor::EArgumentError&) {
    return 0;  // a name or value the file cannot hold is refused, never written
  }
  if (!valor.empty()) {
    FuzzCheck(config.ReadString(secao, item, kAbsent) == valor);
    config.SaveCopyTo(edited);
    TmConfig back(edited, true);
    FuzzCheck(back.ReadString(secao, item, kAbsent) == valor);
  }

  // Typed values: an integer and a number made from the value's length and characters.
  std::uint64_t mix = valor.size();
  for (char16_t c : valor) mix = mix * 131 + c;
  const int whole = static_cast<int>(static_cast<std::uint32_t>(mix));
  config.WriteInteger(secao, item, whole);
  FuzzCheck(config.ReadInteger(secao, item, whole ^ 1) == whole);
  const double number = static_cast<double>(static_cast<std::int64_t>(mix % 200000000) - 100000000) / 1000.0;
  config.WriteFloat(secao, item, number);
  const double read = config.ReadFloat(secao, item, number + 1);
  FuzzCheck(std::fabs(read - number) <= std::fabs(number) * 1e-14);
  config.SetModificado(false);
  return 0;
}
