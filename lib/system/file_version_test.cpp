#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/text.h"
#include "system/file_version.h"
#include "system/system.h"
#include "testing/temp_store.h"

namespace zelmor {
namespace {

// Small Windows executables made by testdata/make_fixtures.sh from the sources beside it.
std::string Fixture(const char* name) { return std::string(ZELMOR_SYSTEM_TESTDATA) + "/" + name; }

std::string Bytes(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

struct VersaoCase {
  const char* File;
  int Niveis;
  std::u16string_view Separador;
  std::u16string_view Expected;
};

class GetFileVersao : public ::testing::TestWithParam<VersaoCase> {};

TEST_P(GetFileVersao, ReadsTheVersionResource) {
  const VersaoCase& c = GetParam();
  const std::string path = Fixture(c.File);
  EXPECT_EQ(TmRot::GetFileVersao(Utf8ToU16(path), c.Niveis, c.Separador), c.Expected) << c.File << " " << c.Niveis;
}

INSTANTIATE_TEST_SUITE_P(Fixtures, GetFileVersao,
                         ::testing::Values(
                             // PE32; the translation names the second string table, not the first ("9.9.9.9").
                             VersaoCase{"app32.exe", 0, u".", u"1.2.3.4"}, VersaoCase{"app32.exe", 4, u".", u"1.2.3.4"},
                             VersaoCase{"app32.exe", -1, u".", u"1.2.3.4"}, VersaoCase{"app32.exe", 1, u".", u"1"},
                             VersaoCase{"app32.exe", 2, u",", u"1,2"}, VersaoCase{"app32.exe", 3, u"", u"123"},
                             VersaoCase{"app32.exe", 0, u"->", u"1->2->3->4"},
                             // PE32+, a build tag after the number, as system programs have.
                             VersaoCase{"winver64.exe", 0, u".", u"10.0.17134.1 (WinBuild.160101.0800)"},
                             VersaoCase{"winver64.exe", 2, u".", u"10.0"},
                             VersaoCase{"winver64.exe", 3, u"_", u"10_0_17134"},
                             // A blank file version is the answer here (the product version is not asked).
                             VersaoCase{"product_only.exe", 0, u".", u"  "},
                             // Nothing names the string table; no resources at all; no file; a folder.
                             VersaoCase{"no_translation.exe", 0, u".", u""}, VersaoCase{"no_version.exe", 0, u".", u""},
                             VersaoCase{"missing.exe", 2, u".", u""}, VersaoCase{"", 0, u".", u""}));

TEST(FileVersionText, EveryTruncationOfAFixtureGivesNothingOrTheWholeAnswer) {
  const std::string image = Bytes(Fixture("app32.exe"));
  ASSERT_GT(image.size(), 1000u);
  EXPECT_EQ(FileVersionText(image), u"1.2.3.4");
  int answered = 0;
  for (std::size_t n = 0; n < image.size(); ++n) {
    auto v = FileVersionText(std::string_view(image).substr(0, n));
    if (v) {
      EXPECT_EQ(*v, u"1.2.3.4") << n;
      ++answered;
    }
  }
  // The padding after the resource may go; anything that cuts into it may not.
  EXPECT_LT(answered, 600);
}

// ---- ELF files, laid out by hand in both sizes and byte orders ----

struct ElfSection {
  std::string Name;
  std::string Data;
  std::uint32_t Type = 1;  // PROGBITS
};

void Put(std::string& out, std::size_t at, std::uint64_t v, int size, bool big) {
  if (out.size() < at + size) out.resize(at + size, '\0');
  for (int i = 0; i < size; ++i) out[at + i] = static_cast<char>(v >> (8 * (big ? size - 1 - i : i)));
}

// A relocatable ELF file with the sections given after the null one and a name table,
// which comes last. `extendedCount` keeps the section count in the first header.
std::string MakeElf(bool wide, bool big, std::vector<ElfSection> sections, bool extendedCount = false) {
  const std::size_t ehsize = wide ? 64 : 52, shentsize = wide ? 64 : 40;
  std::string names(1, '\0');
  std::vector<std::size_t> nameAt;
  sections.push_back({".shstrtab", "", 3});
  for (const ElfSection& s : sections) {
    nameAt.push_back(names.size());
    names += s.Name + '\0';
  }
  sections.back().Data = names;
  std::string out(ehsize, '\0');
  out[0] = 0x7f, out[1] = 'E', out[2] = 'L', out[3] = 'F';
  out[4] = wide ? 2 : 1, out[5] = big ? 2 : 1, out[6] = 1;
  std::vector<std::size_t> dataAt;
  for (const ElfSection& s : sections) {
    dataAt.push_back(out.size());
    out += s.Data;
  }
  while (out.size() % 8) out.push_back('\0');
  const std::size_t shoff = out.size();
  const std::size_t count = sections.size() + 1;
  out.resize(shoff + count * shentsize, '\0');
  for (std::size_t i = 0; i < sections.size(); ++i) {
    const std::size_t h = shoff + (i + 1) * shentsize;
    Put(out, h, nameAt[i], 4, big);
    Put(out, h + 4, sections[i].Type, 4, big);
    Put(out, h + (wide ? 24 : 16), dataAt[i], wide ? 8 : 4, big);
    Put(out, h + (wide ? 32 : 20), sections[i].Data.size(), wide ? 8 : 4, big);
  }
  Put(out, 16, 1, 2, big);  // a relocatable file
  Put(out, wide ? 0x28 : 0x20, shoff, wide ? 8 : 4, big);
  Put(out, wide ? 0x3A : 0x2E, shentsize, 2, big);
  if (extendedCount) {
    Put(out, shoff + (wide ? 32 : 20), count, wide ? 8 : 4, big);  // sh_size of the null section
    Put(out, shoff + (wide ? 40 : 24), count - 1, 4, big);         // sh_link of the null section
    Put(out, wide ? 0x3C : 0x30, 0, 2, big);
    Put(out, wide ? 0x3E : 0x32, 0xFFFF, 2, big);
  } else {
    Put(out, wide ? 0x3C : 0x30, count, 2, big);
    Put(out, wide ? 0x3E : 0x32, count - 1, 2, big);
  }
  return out;
}

TEST(FileVersionText, ReadsTheVersionSectionOfElfFilesOfBothSizesAndByteOrders) {
  const std::vector<ElfSection> sections = {
      {".text", std::string(40, '\x90')}, {".zelmor.version", std::string("2.5.0\0", 6)}, {".comment", "GCC"}};
  for (bool wide : {false, true}) {
    for (bool big : {false, true}) {
      SCOPED_TRACE(::testing::Message() << (wide ? "64" : "32") << (big ? " big" : " little"));
      EXPECT_EQ(FileVersionText(MakeElf(wide, big, sections)), u"2.5.0");
      EXPECT_EQ(FileVersionText(MakeElf(wide, big, sections, true)), u"2.5.0");
    }
  }
}

TEST(GetFileVersaoOfAnElfFile, LevelsAndSeparatorApplyAsToAnyVersion) {
  testing::TemporaryFolder folder;
  const std::u16string path = folder.File("stamped");
  std::ofstream(U16ToUtf8(path), std::ios::binary) << MakeElf(true, false, {{".zelmor.version", "7.5"}});
  EXPECT_EQ(TmRot::GetFileVersao(path, 0, u"."), u"7.5");
  EXPECT_EQ(TmRot::GetFileVersao(path, 3, u"."), u"7.5");  // three levels of two keep both
  EXPECT_EQ(TmRot::GetFileVersao(path, 1, u","), u"7");
  EXPECT_EQ(TmRot::GetFileVersao(path, 2, u","), u"7,5");
  // A folder is no executable; nor is a pipe, which is not waited on for a writer.
  EXPECT_EQ(TmRot::GetFileVersao(Utf8ToU16(folder.Path()), 0, u"."), u"");
  const std::string pipe = folder.Path() + "/pipe";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_EQ(TmRot::GetFileVersao(Utf8ToU16(pipe), 0, u"."), u"");
}

TEST(FileVersionText, ElfFilesWithoutAReadableStampHaveNoVersion) {
  EXPECT_EQ(FileVersionText(MakeElf(true, false, {{".text", "x"}})), std::nullopt);
  EXPECT_EQ(FileVersionText(MakeElf(true, false, {{".zelmor.version", "1.0", 8}})), std::nullopt);  // NOBITS
  EXPECT_EQ(FileVersionText(MakeElf(true, false, {{".zelmor.version", "1.\x01"}})), std::nullopt);
  EXPECT_EQ(FileVersionText(MakeElf(true, false, {{".zelmor.versionX", "1.0"}})), std::nullopt);
  // Without a NUL the section's length ends the text.
  EXPECT_EQ(FileVersionText(MakeElf(false, false, {{".zelmor.version", "3.1"}})), u"3.1");
  const std::string elf = MakeElf(true, false, {{".zelmor.version", "1.0"}});
  for (std::size_t n = 0; n < elf.size(); ++n)
    EXPECT_EQ(FileVersionText(std::string_view(elf).substr(0, n)), std::nullopt) << n;
  EXPECT_EQ(FileVersionText(std::string_view("MZ")), std::nullopt);
  EXPECT_EQ(FileVersionText(std::string_view("")), std::nullopt);
}

}  // namespace
}  // namespace zelmor
