// TZip against real archives: its own, checked by Debian's unzip and zipinfo;
// archives made by Debian's zip; and hostile archives built here byte by byte.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "core/errors.h"
#include "core/text.h"
#include "testing/file_tree.h"
#include "testing/run_program.h"
#include "testing/zip_bytes.h"
#include "zip/ZipUnit.h"

namespace zelmor {
namespace {

using testing::FileTree;
using testing::ShellOutput;
using testing::Crc32;
using testing::Put16;
using testing::Put32;
using testing::Put64;

bool Have(const char* tool) { return ShellOutput(std::string("command -v ") + tool).size() > 0; }

std::string Quote(const std::string& s) { return "'" + s + "'"; }

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t from = 0;
  while (from < text.size()) {
    std::size_t cut = text.find('\n', from);
    if (cut == std::string::npos) cut = text.size();
    lines.push_back(text.substr(from, cut - from));
    from = cut + 1;
  }
  return lines;
}

std::u16string U(const std::string& s) { return Utf8ToU16(s); }

// ---- hand-made archives ----

// An archive of one stored entry whose records declare `declared` bytes, whatever
// `data` holds; `unixMode` goes in the external attributes of a Unix host. Sizes of
// 4 GiB and more are declared in zip64 records.
std::string HandMadeZip(const std::string& name, const std::string& data, std::uint64_t declared,
                        unsigned unixMode = 0100644) {
  const bool zip64 = declared >= 0xFFFFFFFFull;
  const std::uint32_t shortSize = zip64 ? 0xFFFFFFFF : static_cast<std::uint32_t>(declared);
  const std::uint32_t shortData = zip64 ? 0xFFFFFFFF : static_cast<std::uint32_t>(data.size());
  std::string z;
  Put32(z, 0x04034b50);
  Put16(z, zip64 ? 45 : 10);
  Put16(z, 0);
  Put16(z, 0);  // stored
  Put16(z, 0);
  Put16(z, 0x21);  // 1980-01-01
  Put32(z, Crc32(data));
  Put32(z, shortData);
  Put32(z, shortSize);
  Put16(z, static_cast<unsigned>(name.size()));
  Put16(z, zip64 ? 20 : 0);
  z += name;
  if (zip64) {
    Put16(z, 1);
    Put16(z, 16);
    Put64(z, declared);
    Put64(z, data.size());
  }
  z += data;
  const std::uint64_t cd = z.size();
  Put32(z, 0x02014b50);
  Put16(z, (3 << 8) | (zip64 ? 45 : 10));
  Put16(z, zip64 ? 45 : 10);
  Put16(z, 0);
  Put16(z, 0);
  Put16(z, 0);
  Put16(z, 0x21);
  Put32(z, Crc32(data));
  Put32(z, shortData);
  Put32(z, shortSize);
  Put16(z, static_cast<unsigned>(name.size()));
  Put16(z, zip64 ? 28 : 0);
  Put16(z, 0);
  Put16(z, 0);
  Put16(z, 0);
  Put32(z, static_cast<std::uint32_t>(unixMode) << 16);
  Put32(z, zip64 ? 0xFFFFFFFF : 0);
  z += name;
  if (zip64) {
    Put16(z, 1);
    Put16(z, 24);
    Put64(z, declared);
    Put64(z, data.size());
    Put64(z, 0);
  }
  const std::uint64_t cdSize = z.size() - cd;
  if (zip64) {
    const std::uint64_t eocd64 = z.size();
    Put32(z, 0x06064b50);
    Put64(z, 44);
    Put16(z, 45);
    Put16(z, 45);
    Put32(z, 0);
    Put32(z, 0);
    Put64(z, 1);
    Put64(z, 1);
    Put64(z, cdSize);
    Put64(z, cd);
    Put32(z, 0x07064b50);
    Put32(z, 0);
    Put64(z, eocd64);
    Put32(z, 1);
  }
  Put32(z, 0x06054b50);
  Put16(z, 0);
  Put16(z, 0);
  Put16(z, zip64 ? 0xFFFF : 1);
  Put16(z, zip64 ? 0xFFFF : 1);
  Put32(z, zip64 ? 0xFFFFFFFF : static_cast<std::uint32_t>(cdSize));
  Put32(z, zip64 ? 0xFFFFFFFF : static_cast<std::uint32_t>(cd));
  Put16(z, 0);
  return z;
}

std::vector<std::u16string> Extracted(const TStringList& l) { return l.Items; }

// One stored entry of a hand-made archive, with the faults a test wants in it.
struct HandEntry {
  HandEntry(std::string name, std::string data, unsigned flags = 0, std::string extra = {})
      : Name(std::move(name)), Data(std::move(data)), Flags(flags), Extra(std::move(extra)) {}
  std::string Name;
  std::string Data;
  unsigned Flags = 0;                         // bit 11: UTF-8
  std::string Extra;                          // in both headers
  std::uint16_t DosDate = 0x21, DosTime = 0;  // 1980-01-01 00:00
  bool BadCrc = false;
  int SameBodyAs = -1;            // the central record points at that entry's local header
  std::uint32_t OffsetShift = 0;  // added to the central record's offset
};

// Stored entries, a central directory and an end record declaring `declared`
// entries (the real count when negative).
std::string HandMadeArchive(const std::vector<HandEntry>& entries, int declared = -1) {
  std::string z, central;
  std::vector<std::uint32_t> offsets;
  for (const HandEntry& e : entries) {
    const HandEntry& body = e.SameBodyAs >= 0 ? entries[static_cast<std::size_t>(e.SameBodyAs)] : e;
    const std::uint32_t crc = Crc32(body.Data) ^ (body.BadCrc ? 1u : 0u);
    if (e.SameBodyAs < 0) {
      offsets.push_back(static_cast<std::uint32_t>(z.size()));
      Put32(z, 0x04034b50);
      Put16(z, 10);
      Put16(z, e.Flags);
      Put16(z, 0);
      Put16(z, e.DosTime);
      Put16(z, e.DosDate);
      Put32(z, crc);
      Put32(z, static_cast<std::uint32_t>(e.Data.size()));
      Put32(z, static_cast<std::uint32_t>(e.Data.size()));
      Put16(z, static_cast<unsigned>(e.Name.size()));
      Put16(z, static_cast<unsigned>(e.Extra.size()));
      z += e.Name + e.Extra + e.Data;
    } else {
      offsets.push_back(offsets[static_cast<std::size_t>(e.SameBodyAs)]);
    }
    Put32(central, 0x02014b50);
    Put16(central, (3 << 8) | 10);
    Put16(central, 10);
    Put16(central, e.Flags);
    Put16(central, 0);
    Put16(central, body.DosTime);
    Put16(central, body.DosDate);
    Put32(central, crc);
    Put32(central, static_cast<std::uint32_t>(body.Data.size()));
    Put32(central, static_cast<std::uint32_t>(body.Data.size()));
    Put16(central, static_cast<unsigned>(e.Name.size()));
    Put16(central, static_cast<unsigned>(e.Extra.size()));
    Put16(central, 0);
    Put16(central, 0);
    Put16(central, 0);
    Put32(central, 0100644u << 16);
    Put32(central, offsets.back() + e.OffsetShift);
    central += e.Name + e.Extra;
  }
  const std::uint32_t cd = static_cast<std::uint32_t>(z.size());
  z += central;
  const unsigned count = declared < 0 ? static_cast<unsigned>(entries.size()) : static_cast<unsigned>(declared);
  Put32(z, 0x06054b50);
  Put16(z, 0);
  Put16(z, 0);
  Put16(z, count);
  Put16(z, count);
  Put32(z, static_cast<std::uint32_t>(central.size()));
  Put32(z, cd);
  Put16(z, 0);
  return z;
}

// An entry whose CRC does not match its bytes.
HandEntry Damaged(const std::string& name, const std::string& data) {
  HandEntry e(name, data);
  e.BadCrc = true;
  return e;
}

// An extra field: id, length, data.
std::string ExtraField(unsigned id, const std::string& data) {
  std::string f;
  Put16(f, id);
  Put16(f, static_cast<unsigned>(data.size()));
  return f + data;
}

TEST(ZipTest, WhatGoesInAndUnderWhichNames) {
  FileTree t;
  t.Write("a/x.txt", "xis");
  t.Write("b/y.txt", "ipsilon");
  t.Write("b/z.dat", "zê");
  t.Write("b/.oculto.txt", "h");
  std::vector<std::u16string> mensagens;
  auto mensagem = [&](std::u16string_view m) { mensagens.emplace_back(m); };
  std::int64_t lastPosition = -1;
  std::u16string gaugeName;
  auto gauge = [&](const void* sender, std::u16string_view name, const TZipHeader& h, std::int64_t position) {
    EXPECT_NE(sender, nullptr);
    EXPECT_EQ(h.Name, name);
    gaugeName = name;
    lastPosition = position;
  };

  TStringList list;
  list.Add(t.Path("a/x.txt"));
  list.Add(t.Path("b/*.txt"));
  ASSERT_TRUE(TZip::Compactar(list, t.Path("out.zip"), gauge, mensagem));
  EXPECT_EQ(mensagens, (std::vector<std::u16string>{t.Path("a/x.txt"), t.Path("b/*.txt")}));
  EXPECT_EQ(gaugeName, u"y.txt");
  EXPECT_EQ(lastPosition, 7);

  // Nothing to pack: no archive.
  EXPECT_FALSE(TZip::Compactar(t.Path("b/*.none"), t.Path("vazio.zip")));
  EXPECT_FALSE(TZip::Compactar(TStringList{}, t.Path("vazio.zip")));
  EXPECT_FALSE(t.Exists("vazio.zip"));

  // A mask packs in name order; a name given twice is one entry, holding the later
  // file (an archive with two entries of one name unpacks to whichever comes last).
  ASSERT_TRUE(TZip::Compactar(t.Path("b/*.*"), t.Path("mask.zip")));
  t.Write("c/x.txt", "outro xis");
  TStringList twice;
  twice.Add(t.Path("a/x.txt"));
  twice.Add(t.Path("c/x.txt"));
  ASSERT_TRUE(TZip::Compactar(twice, t.Path("twice.zip")));

  // A missing file raises and leaves no archive; an older one stays as it was.
  t.Write("old.zip", "old");
  TStringList missing;
  missing.Add(t.Path("a/x.txt"));
  missing.Add(t.Path("a/falta.txt"));
  EXPECT_THROW(TZip::Compactar(missing, t.Path("old.zip")), EFileError);
  EXPECT_EQ(t.Read("old.zip"), "old");
  EXPECT_EQ(t.Names(), (std::vector<std::string>{"a", "b", "c", "mask.zip", "old.zip", "out.zip", "twice.zip"}));

  if (!Have("unzip")) GTEST_SKIP() << "Debian's unzip is not installed: no cross-check";
  int status = -1;
  ShellOutput("unzip -tq " + Quote(t.Native("out.zip")), &status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(Lines(ShellOutput("unzip -Z1 " + Quote(t.Native("out.zip")))),
            (std::vector<std::string>{"x.txt", "y.txt"}));
  EXPECT_EQ(Lines(ShellOutput("unzip -Z1 " + Quote(t.Native("mask.zip")))),
            (std::vector<std::string>{"y.txt", "z.dat"}));
  EXPECT_EQ(Lines(ShellOutput("unzip -Z1 " + Quote(t.Native("twice.zip")))), (std::vector<std::string>{"x.txt"}));
  EXPECT_EQ(ShellOutput("unzip -p " + Quote(t.Native("twice.zip")) + " x.txt"), "outro xis");
  EXPECT_EQ(ShellOutput("unzip -p " + Quote(t.Native("out.zip")) + " y.txt"), "ipsilon");
  // Deflated, and readable by zipinfo as such.
  EXPECT_NE(ShellOutput("zipinfo -v " + Quote(t.Native("out.zip")))
                .find("compression method:                             deflated"),
            std::string::npos);
}

TEST(ZipTest, AccentedNamesSurviveBothWays) {
  if (!Have("zip") || !Have("unzip")) GTEST_SKIP() << "Debian's zip and unzip are not installed";
  FileTree t;
  t.Write("src/ação çé.txt", "acentos");
  ASSERT_TRUE(TZip::Compactar(t.Path("src/*.txt"), t.Path("nosso.zip")));
  // Ours, read by unzip: the name comes out as written.
  t.Folder("por-unzip");
  int status = -1;
  ShellOutput("cd " + Quote(t.Native("por-unzip")) + " && unzip -q " + Quote(t.Native("nosso.zip")), &status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(t.Read("por-unzip/ação çé.txt"), "acentos");
  // Flagged UTF-8: Python's zipfile, which reads an unflagged name as code page 437, reads it as written.
  if (Have("python3")) {
    EXPECT_EQ(ShellOutput(
                  "python3 -c 'import sys, zipfile; sys.stdout.buffer.write(zipfile.ZipFile(sys.argv[1]).namelist()[0]"
                  ".encode())' " +
                  Quote(t.Native("nosso.zip"))),
              "ação çé.txt");
  }
  // Debian's zip, read by us, with a folder entry and a file in a subfolder.
  t.Write("tree/sub/ção.txt", "sub");
  t.Write("tree/raiz.xml", "<a/>");
  ShellOutput("cd " + Quote(t.Native("tree")) + " && zip -qr " + Quote(t.Native("deles.zip")) + " .", &status);
  ASSERT_EQ(status, 0);
  TStringList names;
  EXPECT_TRUE(TZip().DescompactarRetornarNomes(t.Path("deles.zip"), t.Path("dest"), u"", names));
  EXPECT_EQ(t.Read("dest/sub/ção.txt"), "sub");
  EXPECT_EQ(t.Read("dest/raiz.xml"), "<a/>");
  // The folder without its separator still holds the files and the names.
  for (const auto& n : names.Items) EXPECT_EQ(n.substr(0, t.Path("dest/").size()), t.Path("dest/"));
}

TEST(ZipTest, WhichEntriesComeOut) {
  FileTree t;
  t.Write("src/x.txt", "novo x");
  t.Write("src/nota.xml", "<nota/>");
  t.Write("src/outro.txt", "outro");
  ASSERT_TRUE(TZip::Compactar(t.Path("src/*"), t.Path("a.zip")));

  // Without Overwrite an existing file is kept and the others still come out.
  t.Write("dest/x.txt", "antigo");
  std::vector<std::u16string> mensagens;
  EXPECT_TRUE(TZip::Descompactar(t.Path("a.zip"), t.Path("dest/"), false, {},
                                 [&](std::u16string_view m) { mensagens.emplace_back(m); }));
  EXPECT_EQ(t.Read("dest/x.txt"), "antigo");
  EXPECT_EQ(t.Read("dest/outro.txt"), "outro");
  EXPECT_EQ(mensagens, (std::vector<std::u16string>{t.Path("dest/nota.xml"), t.Path("dest/outro.txt")}));
  EXPECT_TRUE(TZip::Descompactar(t.Path("a.zip"), t.Path("dest"), true));
  EXPECT_EQ(t.Read("dest/x.txt"), "novo x");

  // A mask, case ignored; the names listed are where the files went.
  TStringList names{};
  names.Add(u"lixo");
  EXPECT_TRUE(TZip().DescompactarRetornarNomes(t.Path("a.zip"), t.Path("m/"), u"*.XML", names));
  EXPECT_EQ(Extracted(names), std::vector<std::u16string>{t.Path("m/nota.xml")});
  std::u16string nome = u"lixo";
  EXPECT_TRUE(TZip().DescompactarRetornarNome(t.Path("a.zip"), t.Path("n/"), u"o*", nome));
  EXPECT_EQ(nome, t.Path("n/outro.txt"));
  EXPECT_FALSE(TZip().DescompactarRetornarNome(t.Path("a.zip"), t.Path("n/"), u"*.pdf", nome));
  EXPECT_EQ(nome, u"");

  EXPECT_THROW(TZip::Descompactar(t.Path("falta.zip"), t.Path("d/"), true), EFileError);
  t.Write("lixo.zip", "isto não é um zip");
  EXPECT_THROW(TZip::Descompactar(t.Path("lixo.zip"), t.Path("d/"), true), EFileError);
}

// Unpacking replaces files by the rules a copy follows: a read-only file is refused
// and left as it was; a 248-byte name comes out and is replaced.
TEST(ZipTest, UnpackingReplacesByTheCopyRules) {
  FileTree t;
  t.Write("src/ro.txt", "novo");
  const std::string longName = std::string(244, 'z') + ".txt";
  t.Write("long/" + longName, "longo");
  ASSERT_TRUE(TZip::Compactar(t.Path("src/*.txt"), t.Path("ro.zip")));
  ASSERT_TRUE(TZip::Compactar(t.Path("long/*.txt"), t.Path("long.zip")));

  t.Write("dest/ro.txt", "antigo");
  t.ReadOnly("dest/ro.txt");
  EXPECT_THROW(TZip::Descompactar(t.Path("ro.zip"), t.Path("dest"), true), EFileError);
  EXPECT_EQ(t.Read("dest/ro.txt"), "antigo");
  EXPECT_EQ(t.Mode("dest/ro.txt") & 0222, 0u);

  EXPECT_TRUE(TZip::Descompactar(t.Path("long.zip"), t.Path("dest"), true));
  t.Write("dest/" + longName, "trocado");
  EXPECT_TRUE(TZip::Descompactar(t.Path("long.zip"), t.Path("dest"), true));
  EXPECT_EQ(t.Read("dest/" + longName), "longo");
  EXPECT_EQ(t.Names("dest"), (std::vector<std::string>{"ro.txt", longName}));
}

// A pipe the mask matches is refused without waiting for a writer, and no archive is left.
TEST(ZipTest, PipesAreRefusedUnopened) {
  FileTree t;
  t.Write("src/a.txt", "a");
  EXPECT_FALSE(t.WaitedOnPipe("src/b.txt", [&] {
    try {
      EXPECT_FALSE(TZip::Compactar(t.Path("src/*.txt"), t.Path("a.zip")));
    } catch (const EFileError&) {
    }
  }));
  EXPECT_FALSE(t.Exists("a.zip"));
  EXPECT_EQ(t.Names(), (std::vector<std::string>{"src"}));
}

TEST(ZipTest, EntryMasks) {
  struct {
    const char16_t* name;
    const char16_t* mask;
    bool match;
  } cases[] = {
      {u"nota.xml", u"*.XML", true},
      {u"nota.xml.bak", u"*.xml", false},
      {u"sub/a.txt", u"*.txt", true},
      {u"a.txt", u"?.txt", true},
      {u"ab.txt", u"?.txt", false},
      {u"b1.txt", u"[a-c]1.*", true},
      {u"d1.txt", u"[a-c]1.*", false},
      {u"d1.txt", u"[!a-c]1.*", true},
      {u"B1.TXT", u"[a-c]1.*", true},
      {u"", u"*", true},
      {u"x", u"", false},
      {u"aaaaaaaaaaaaaaaaaaaaaaab", u"*a*a*a*a*c", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(zip::MatchesEntryMask(c.name, c.mask), c.match) << U16ToUtf8(c.name) << " " << U16ToUtf8(c.mask);
}

TEST(ZipTest, HostileArchivesAreRefusedWhole) {
  FileTree t;
  t.Write("src/bom.txt", "bom");
  struct {
    const char* label;
    std::string entry;
  } names[] = {
      {"zip-slip", "../fora.txt"},         {"zip-slip fundo", "a/../../fora.txt"},
      {"barra invertida", "..\\fora.txt"}, {"absoluto", "/tmp/fora.txt"},
      {"unidade", "C:/fora.txt"},          {"absoluto invertido", "\\fora.txt"},
  };
  for (const auto& c : names) {
    SCOPED_TRACE(c.label);
    const std::string zipName = std::string("hostil-") + std::to_string(&c - names) + ".zip";
    {
      auto writer = platform::Service<platform::ZipArchives>::Get().Create(t.Path(zipName));
      writer->AddFile(t.Path("src/bom.txt"), u"bom.txt", {});  // a good entry first: it must not come out either
      writer->AddFile(t.Path("src/bom.txt"), U(c.entry), {});
      writer->Commit();
    }
    t.Folder("dest/inner");
    try {
      TZip::Descompactar(t.Path(zipName), t.Path("dest/inner/"), true);
      ADD_FAILURE() << "not refused";
    } catch (const EFileError& e) {
      EXPECT_NE(e.Message().find(U(c.entry)), std::u16string::npos);
    }
    EXPECT_EQ(t.Names("dest/inner"), std::vector<std::string>{});
    EXPECT_EQ(t.Names("dest"), std::vector<std::string>{"inner"});
  }

  // A link entry, as Debian's zip stores one with -y.
  if (Have("zip")) {
    t.Link("src/link", "/etc/passwd");
    int status = -1;
    ShellOutput("cd " + Quote(t.Native("src")) + " && zip -qy " + Quote(t.Native("link.zip")) + " link bom.txt",
                &status);
    ASSERT_EQ(status, 0);
    EXPECT_THROW(TZip::Descompactar(t.Path("link.zip"), t.Path("dest/inner/"), true), EFileError);
    EXPECT_EQ(t.Names("dest/inner"), std::vector<std::string>{});
  }
  // The same, written by hand (mode 120777 of a Unix host).
  t.Write("link2.zip", HandMadeZip("ln", "/etc/passwd", 11, 0120777));
  EXPECT_THROW(TZip::Descompactar(t.Path("link2.zip"), t.Path("dest/inner/"), true), EFileError);
  EXPECT_EQ(t.Names("dest/inner"), std::vector<std::string>{});
}

TEST(ZipTest, BombsAreBoundedAndLeaveNothing) {
  FileTree t;
  // Small files declaring 10 GB (zip64) and 4 GB: refused (not enough room, short of
  // the declaration, or records the zip layer does not take), and nothing is left.
  t.Folder("dest");
  for (std::uint64_t declared : {10ull << 30, 0xFFFFFFFEull}) {
    t.Write("bomba.zip", HandMadeZip("grande.bin", std::string(1000, 'z'), declared));
    EXPECT_THROW(TZip::Descompactar(t.Path("bomba.zip"), t.Path("dest/"), true), EFileError) << declared;
    EXPECT_EQ(t.Names("dest"), std::vector<std::string>{});
  }

  // A deflated entry that inflates past what it declares stops at the declaration.
  t.Write("zeros.bin", std::string(4 << 20, '\0'));
  {
    TStringList one;
    one.Add(t.Path("zeros.bin"));
    ASSERT_TRUE(TZip::Compactar(one, t.Path("mente.zip")));
  }
  std::string z = t.Read("mente.zip");
  ASSERT_LT(z.size(), 64u * 1024);  // 4 MiB of zeros deflate to a few KiB
  // Declared uncompressed size: local header at 22, central record at 24.
  const std::size_t central = z.rfind(std::string("PK\x01\x02", 4));
  ASSERT_NE(central, std::string::npos);
  for (std::size_t at : {std::size_t(22), central + 24}) z.replace(at, 4, std::string("\xE8\x03\0\0", 4));  // 1000
  t.Write("mente.zip", z);
  EXPECT_THROW(TZip::Descompactar(t.Path("mente.zip"), t.Path("dest/"), true), EFileError);
  EXPECT_EQ(t.Names("dest"), std::vector<std::string>{});

  // A stored entry that honestly declares what it holds comes out.
  t.Write("honesto.zip", HandMadeZip("ok.bin", "abc", 3));
  EXPECT_TRUE(TZip::Descompactar(t.Path("honesto.zip"), t.Path("dest/"), true));
  EXPECT_EQ(t.Read("dest/ok.bin"), "abc");
}

// Names with doubled separators and "." steps come out, and are reported, as the path
// the disk holds; a file entry named by nothing but those is refused.
TEST(ZipTest, EntryNamesAreReportedAsThePathsWritten) {
  FileTree t;
  struct Case {
    const char* entry;
    const char* path;  // below the destination; nullptr: refused
  };
  int n = 0;
  for (const Case& c : {Case{"a//b.txt", "a/b.txt"}, Case{"./c.txt", "c.txt"}, Case{"d/./e.txt", "d/e.txt"},
                        Case{"f\\\\g.txt", "f/g.txt"}, Case{"./.", nullptr}, Case{"x/..", nullptr}}) {
    SCOPED_TRACE(c.entry);
    t.Write("n.zip", HandMadeZip(c.entry, "abc", 3));
    const std::string dest = "dest" + std::to_string(n++);
    t.Folder(dest);
    TStringList names;
    if (c.path == nullptr) {
      EXPECT_THROW(TZip::DescompactarERetornarNomes(t.Path("n.zip"), t.Path(dest + "/"), true, {}, {}, u"", &names),
                   EFileError);
      EXPECT_EQ(t.Names(dest), std::vector<std::string>{});
      continue;
    }
    ASSERT_TRUE(TZip::DescompactarERetornarNomes(t.Path("n.zip"), t.Path(dest + "/"), true, {}, {}, u"", &names));
    EXPECT_EQ(Extracted(names), std::vector<std::u16string>{t.Path(dest + "/" + c.path)});
    EXPECT_EQ(t.Read(dest + "/" + c.path), "abc");
  }
}

std::size_t OpenDescriptors() {
  namespace fs = std::filesystem;
  return static_cast<std::size_t>(std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator{}));
}

// An archive whose directory breaks while it is listed is refused, and neither its
// file nor the zip layer's state stays behind (the sanitizer build sees the memory).
TEST(ZipTest, DamagedDirectoryLeavesNothingOpen) {
  FileTree t;
  std::string z = HandMadeZip("ok.txt", "abc", 3);
  const std::size_t central = z.rfind(std::string("PK\x01\x02", 4));
  ASSERT_NE(central, std::string::npos);
  z.replace(central + 28, 2, std::string("\0\x01", 2));  // a 256-byte name, past the end of the file
  t.Write("quebrado.zip", z);
  t.Folder("dest");
  const std::size_t before = OpenDescriptors();
  for (int i = 0; i < 3; ++i)
    EXPECT_THROW(TZip::Descompactar(t.Path("quebrado.zip"), t.Path("dest/"), true), EZelmorError);
  EXPECT_EQ(OpenDescriptors(), before);
  EXPECT_EQ(t.Names("dest"), std::vector<std::string>{});
}

// A link already in the destination is never written through, whether an entry
// names a file below it or a folder entry names it first; a link at the entry's own
// name is replaced by the file, as before.
TEST(ZipTest, LinksInTheDestinationAreNotWrittenThrough) {
  struct Case {
    const char* label;
    const char* link;    // below the destination
    const char* target;  // what the link points at, from its folder
    std::vector<std::string> entries;
    bool refused;
  };
  const Case cases[] = {
      {"file below a link", "link", "../../outside", {"link/pwned.txt"}, true},
      {"folder entry over a link", "sub", "../../outside", {"sub/", "sub/x.txt"}, true},
      {"deeper link", "a/b", "../../../outside", {"a/b/c.txt"}, true},
      {"good entry before the link", "link", "../../outside", {"ok.txt", "link/pwned.txt"}, true},
      {"link at the name itself", "f.txt", "../../outside/f.txt", {"f.txt"}, false},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    FileTree t;
    t.Write("outside/f.txt", "fora");
    const std::string dest = "run" + std::to_string(n++) + "/dest";
    t.Folder(dest);
    const std::string link = dest + "/" + c.link;
    if (std::string(c.link).find('/') != std::string::npos) t.Folder(link.substr(0, link.rfind('/')));
    t.Link(link, c.target);
    std::vector<HandEntry> entries;
    for (const std::string& e : c.entries) entries.push_back({e, e.back() == '/' ? "" : "novo"});
    t.Write("a.zip", HandMadeArchive(entries));
    if (c.refused) {
      EXPECT_THROW(TZip::Descompactar(t.Path("a.zip"), t.Path(dest), true), EFileError);
      EXPECT_FALSE(t.Exists(dest + "/ok.txt")) << "the run was not undone";
    } else {
      EXPECT_TRUE(TZip::Descompactar(t.Path("a.zip"), t.Path(dest), true));
      EXPECT_EQ(t.Read(link), "novo");
    }
    EXPECT_EQ(t.Names("outside"), std::vector<std::string>{"f.txt"});
    EXPECT_EQ(t.Read("outside/f.txt"), "fora");
  }
}

// A run that fails part way takes back what it wrote: the files and folders it made
// are gone, and the files it replaced hold their old bytes; nothing hidden is left.
TEST(ZipTest, AFailedRunLeavesTheDestinationAsItWas) {
  struct Case {
    const char* label;
    std::vector<HandEntry> entries;
    const char* dest;  // below the tree; "dest" exists with b.txt and keep.txt
  };
  const Case cases[] = {
      {"damaged last entry", {{"novo/a.txt", "a"}, {"b.txt", "novo b"}, Damaged("c.txt", "c")}, "dest"},
      {"the same name twice, then damage", {{"b.txt", "um"}, {"b.txt", "dois"}, Damaged("c.txt", "c")}, "dest"},
      {"a destination the run made", {{"a.txt", "a"}, Damaged("c.txt", "c")}, "fresh/deep"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    FileTree t;
    t.Write("dest/b.txt", "antigo");
    t.Write("dest/keep.txt", "k");
    t.Write("a.zip", HandMadeArchive(c.entries));
    EXPECT_THROW(TZip::Descompactar(t.Path("a.zip"), t.Path(c.dest), true), EFileError);
    EXPECT_EQ(t.Names("dest"), (std::vector<std::string>{"b.txt", "keep.txt"}));
    EXPECT_EQ(t.Read("dest/b.txt"), "antigo");
    EXPECT_EQ(t.Names(), (std::vector<std::string>{"a.zip", "dest"}));
  }
}

// Many central records sharing one body, or one pointing into another's data: the
// shape of a bomb, refused before anything is written.
TEST(ZipTest, EntriesWhoseDataOverlapAreRefused) {
  const std::string body(4096, 'z');
  struct Case {
    const char* label;
    std::vector<HandEntry> entries;
    bool refused;
  };
  std::vector<HandEntry> shared{{"0.bin", body}};
  for (int i = 1; i < 50; ++i) shared.emplace_back(std::to_string(i) + ".bin", "");
  for (std::size_t i = 1; i < shared.size(); ++i) shared[i].SameBodyAs = 0;
  std::vector<HandEntry> inside{{"a.bin", body}, {"b.bin", body}};
  HandEntry into("c.bin", "");
  into.SameBodyAs = 0;
  into.OffsetShift = 40;
  inside.push_back(into);
  const Case cases[] = {
      {"one body, fifty records", shared, true},
      {"a record inside another's data", inside, true},
      {"two honest entries", {{"a.bin", body}, {"b.bin", body}}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    FileTree t;
    t.Write("a.zip", HandMadeArchive(c.entries));
    t.Folder("dest");
    if (c.refused) {
      EXPECT_THROW(TZip::Descompactar(t.Path("a.zip"), t.Path("dest"), true), EFileError);
      EXPECT_EQ(t.Names("dest"), std::vector<std::string>{});
    } else {
      EXPECT_TRUE(TZip::Descompactar(t.Path("a.zip"), t.Path("dest"), true));
      EXPECT_EQ(t.Read("dest/b.bin"), body);
    }
  }
}

// The declared sizes together must fit the free space less a reserve (64 MiB on a
// small disk): on a 100 MiB disk 20 MiB comes out and 3 x 20 MiB is refused whole,
// although each entry alone would fit. The disk is a tmpfs in a mount namespace of
// a child process.
TEST(ZipTest, DeclaredSizesMustFitTheDiskLessAReserve) {
  FileTree t;
  const std::string zeros(20u << 20, '\0');
  for (const char* name : {"a.bin", "b.bin", "c.bin"}) t.Write(std::string("src/") + name, zeros);
  TStringList one, three;
  one.Add(t.Path("src/a.bin"));
  three.Add(t.Path("src/*.bin"));
  ASSERT_TRUE(TZip::Compactar(one, t.Path("one.zip")));
  ASSERT_TRUE(TZip::Compactar(three, t.Path("three.zip")));
  t.Folder("disk");
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount("zelmor-test", t.Native("disk").c_str(), "tmpfs", 0, "size=100m,mode=0700") != 0)
      _exit(77);
    int result = 0;
    try {
      if (!TZip::Descompactar(t.Path("one.zip"), t.Path("disk/one"), true) || t.Read("disk/one/a.bin") != zeros)
        result |= 1;
    } catch (...) {
      result |= 2;
    }
    try {
      TZip::Descompactar(t.Path("three.zip"), t.Path("disk/three"), true);
      result |= 4;
    } catch (const EFileError& e) {
      if (e.Message().find(u"Espaço insuficiente") == std::u16string::npos) result |= 8;
    }
    if (t.Exists("disk/three")) result |= 16;
    _exit(result);
  }
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "no mount namespace here";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: 20 MiB did not come out, 2: it threw, 4: 60 MiB came out, "
                                       "8: refused for another reason, 16: something was left";
}

// A damaged central directory is an error, not the end of the list: nothing comes
// out, whichever way the directory and the end record disagree.
TEST(ZipTest, DamagedDirectoriesAreRefused) {
  std::vector<HandEntry> six;
  for (int i = 1; i <= 6; ++i) six.push_back({std::to_string(i) + ".txt", "conteúdo " + std::to_string(i)});
  const std::string good = HandMadeArchive(six);
  std::string brokenSixth = good;
  std::size_t at = 0;
  for (int k = 0; k < 6; ++k) at = brokenSixth.find(std::string("PK\x01\x02", 4), at + (k ? 1 : 0));
  ASSERT_NE(at, std::string::npos);
  brokenSixth[at + 3] = '\x09';
  struct Case {
    const char* label;
    std::string bytes;
  } cases[] = {
      {"sixth central header broken", brokenSixth},
      {"last 10 bytes cut", good.substr(0, good.size() - 10)},
      {"end record counts 5 of 6", HandMadeArchive(six, 5)},
      {"end record counts 7 of 6", HandMadeArchive(six, 7)},
      {"end record counts 65,535, more than its directory holds", HandMadeArchive(six, 0xFFFF)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    FileTree t;
    t.Write("a.zip", c.bytes);
    t.Folder("dest");
    TStringList names;
    EXPECT_THROW(TZip::DescompactarERetornarNomes(t.Path("a.zip"), t.Path("dest"), true, {}, {}, u"", &names),
                 EFileError);
    EXPECT_EQ(t.Names("dest"), std::vector<std::string>{});
  }
  // The same archive whole comes out whole.
  FileTree t;
  t.Write("a.zip", good);
  EXPECT_TRUE(TZip::Descompactar(t.Path("a.zip"), t.Path("dest"), true));
  EXPECT_EQ(t.Names("dest").size(), 6u);
}

// Names without the UTF-8 flag are code page 437 (unless a Unicode path field
// matches them): the file written and the name returned are the same, and the name
// is the one Python's zipfile reads.
TEST(ZipTest, NamesWithoutTheUtf8FlagAreCodePage437) {
  const std::string utf8Name = "ação.txt";
  std::string unicodePath = "\x01";
  Put32(unicodePath, Crc32(utf8Name));
  unicodePath += utf8Name;
  struct Case {
    HandEntry entry;
    const char* expected;
  } cases[] = {
      {{"filename_with_\x91o\x86.txt", "437"}, "filename_with_æoå.txt"},
      {{"\x87\xa0o.txt", "437"}, "çáo.txt"},
      {{utf8Name, "flag", 0x0800}, "ação.txt"},
      {{utf8Name, "campo", 0, ExtraField(0x7075, unicodePath)}, "ação.txt"},
      {{"plain.txt", "ascii"}, "plain.txt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    FileTree t;
    t.Write("a.zip", HandMadeArchive({c.entry}));
    TStringList names;
    ASSERT_TRUE(TZip().DescompactarRetornarNomes(t.Path("a.zip"), t.Path("dest"), u"", names));
    EXPECT_EQ(Extracted(names), std::vector<std::u16string>{t.Path(std::string("dest/") + c.expected)});
    EXPECT_EQ(t.Read(std::string("dest/") + c.expected), c.entry.Data);
    if (!Have("python3")) continue;
    // Python's zipfile does not read the Unicode path field.
    if (!c.entry.Extra.empty()) continue;
    EXPECT_EQ(ShellOutput(
                  "python3 -c 'import sys, zipfile; sys.stdout.buffer.write(zipfile.ZipFile(sys.argv[1]).namelist()[0]"
                  ".encode())' " +
                  Quote(t.Native("a.zip"))),
              c.expected)
        << "Python reads the name otherwise";
  }
}

// The extended-timestamp field (UTC, to the second) wins over the DOS time, and the
// archives written here carry it: an odd second survives the trip through our
// archive and through Debian's unzip.
TEST(ZipTest, TheExtendedTimestampWinsOverTheDosTime) {
  FileTree t;
  const std::time_t when = 1700000001;  // 2023-11-14 22:13:21 UTC
  std::string ut = "\x01";
  Put32(ut, static_cast<std::uint32_t>(when));
  t.Write("ut.zip", HandMadeArchive({{"ut.txt", "x", 0, ExtraField(0x5455, ut)}}));
  ASSERT_TRUE(TZip::Descompactar(t.Path("ut.zip"), t.Path("dest"), true));
  EXPECT_EQ(t.ModifiedAt("dest/ut.txt"), when);

  t.Write("src/odd.txt", "ímpar", when);
  ASSERT_TRUE(TZip::Compactar(t.Path("src/odd.txt"), t.Path("ours.zip")));
  ASSERT_TRUE(TZip::Descompactar(t.Path("ours.zip"), t.Path("back"), true));
  EXPECT_EQ(t.ModifiedAt("back/odd.txt"), when);
  if (!Have("unzip")) GTEST_SKIP() << "Debian's unzip is not installed: no cross-check";
  t.Folder("por-unzip");
  int status = -1;
  ShellOutput("cd " + Quote(t.Native("por-unzip")) + " && unzip -q " + Quote(t.Native("ours.zip")), &status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(t.ModifiedAt("por-unzip/odd.txt"), when);
}

// Entries larger than what the writer gathers before writing (1 MiB), which libzip
// goes back into to finish their headers, between small ones: the archive tests
// clean with unzip and every file comes back byte for byte.
TEST(ZipTest, LargeAndSmallEntriesComeBackWhole) {
  FileTree t;
  std::vector<std::pair<std::string, std::string>> files;
  std::uint32_t x = 12345;
  for (int f = 0; f < 5; ++f) {
    std::string bytes(f % 2 == 0 ? (3u << 19) + static_cast<unsigned>(f) : 10u + static_cast<unsigned>(f), '\0');
    for (char& c : bytes) c = static_cast<char>((x = x * 1103515245u + 12345u) >> 24);  // incompressible
    files.emplace_back("f" + std::to_string(f) + ".bin", bytes);
    t.Write("src/" + files.back().first, bytes);
  }
  ASSERT_TRUE(TZip::Compactar(t.Path("src/*.bin"), t.Path("a.zip")));
  ASSERT_TRUE(TZip::Descompactar(t.Path("a.zip"), t.Path("dest"), true));
  for (const auto& [name, bytes] : files) EXPECT_EQ(t.Read("dest/" + name), bytes) << name;
  if (!Have("unzip")) GTEST_SKIP() << "Debian's unzip is not installed: no cross-check";
  int status = -1;
  ShellOutput("unzip -tq " + Quote(t.Native("a.zip")), &status);
  EXPECT_EQ(status, 0);
}

// Zip64 records as other tools write them (forced on small entries) are read.
TEST(ZipTest, Zip64ArchivesOfOtherToolsAreRead) {
  FileTree t;
  t.Write("src/a.txt", "zip64 pequeno");
  int made = 0;
  if (Have("zip")) {
    int status = -1;
    ShellOutput("cd " + Quote(t.Native("src")) + " && zip -q -fz " + Quote(t.Native("infozip.zip")) + " a.txt",
                &status);
    ASSERT_EQ(status, 0);
    ++made;
  }
  if (Have("python3")) {
    int status = -1;
    ShellOutput(
        "python3 -c 'import sys, zipfile\nwith zipfile.ZipFile(sys.argv[1], \"w\") as z:\n"
        "  with z.open(\"a.txt\", \"w\", force_zip64=True) as f: f.write(b\"zip64 pequeno\")' " +
            Quote(t.Native("python.zip")),
        &status);
    ASSERT_EQ(status, 0);
    ++made;
  }
  if (made == 0) GTEST_SKIP() << "neither zip nor python3 is installed";
  for (const char* name : {"infozip.zip", "python.zip"}) {
    if (!t.Exists(name)) continue;
    SCOPED_TRACE(name);
    const std::string dest = std::string("dest-") + name;
    ASSERT_TRUE(TZip::Descompactar(t.Path(name), t.Path(dest), true));
    EXPECT_EQ(t.Read(dest + "/a.txt"), "zip64 pequeno");
  }
}

}  // namespace
}  // namespace zelmor
