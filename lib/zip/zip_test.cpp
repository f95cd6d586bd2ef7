// TZip against real archives: its own, checked by Debian's unzip and zipinfo;
// archives made by Debian's zip; and hostile archives built here byte by byte.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "core/errors.h"
#include "core/text.h"
#include "testing/file_tree.h"
#include "testing/zip_bytes.h"
#include "zip/ZipUnit.h"

namespace zelmor {
namespace {

using testing::FileTree;
using testing::Crc32;
using testing::Put16;
using testing::Put32;
using testing::Put64;

// Runs a shell command; its standard output, and its exit status in `status`.
std::string Shell(const std::string& command, int* status = nullptr) {
  std::string out;
  std::FILE* p = popen((command + " 2>/dev/null").c_str(), "r");
  if (p == nullptr) return out;
  char buf[4096];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
  const int rc = pclose(p);
  if (status != nullptr) *status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  return out;
}

bool Have(const char* tool) { return Shell(std::string("command -v ") + tool).size() > 0; }

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
  Shell("unzip -tq " + Quote(t.Native("out.zip")), &status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(Lines(Shell("unzip -Z1 " + Quote(t.Native("out.zip")))), (std::vector<std::string>{"x.txt", "y.txt"}));
  EXPECT_EQ(Lines(Shell("unzip -Z1 " + Quote(t.Native("mask.zip")))), (std::vector<std::string>{"y.txt", "z.dat"}));
  EXPECT_EQ(Lines(Shell("unzip -Z1 " + Quote(t.Native("twice.zip")))), (std::vector<std::string>{"x.txt"}));
  EXPECT_EQ(Shell("unzip -p " + Quote(t.Native("twice.zip")) + " x.txt"), "outro xis");
  EXPECT_EQ(Shell("unzip -p " + Quote(t.Native("out.zip")) + " y.txt"), "ipsilon");
  // Deflated, and readable by zipinfo as such.
  EXPECT_NE(Shell("zipinfo -v " + Quote(t.Native("out.zip"))).find("compression method:                             deflated"),
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
  Shell("cd " + Quote(t.Native("por-unzip")) + " && unzip -q " + Quote(t.Native("nosso.zip")), &status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(t.Read("por-unzip/ação çé.txt"), "acentos");
  // Debian's zip, read by us, with a folder entry and a file in a subfolder.
  t.Write("tree/sub/ção.txt", "sub");
  t.Write("tree/raiz.xml", "<a/>");
  Shell("cd " + Quote(t.Native("tree")) + " && zip -qr " + Quote(t.Native("deles.zip")) + " .", &status);
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
      {u"nota.xml", u"*.XML", true},       {u"nota.xml.bak", u"*.xml", false}, {u"sub/a.txt", u"*.txt", true},
      {u"a.txt", u"?.txt", true},          {u"ab.txt", u"?.txt", false},      {u"b1.txt", u"[a-c]1.*", true},
      {u"d1.txt", u"[a-c]1.*", false},     {u"d1.txt", u"[!a-c]1.*", true},   {u"B1.TXT", u"[a-c]1.*", true},
      {u"", u"*", true},                   {u"x", u"", false},                {u"aaaaaaaaaaaaaaaaaaaaaaab", u"*a*a*a*a*c", false},
  };
  for (const auto& c : cases) EXPECT_EQ(zip::MatchesEntryMask(c.name, c.mask), c.match) << U16ToUtf8(c.name) << " " << U16ToUtf8(c.mask);
}

TEST(ZipTest, HostileArchivesAreRefusedWhole) {
  FileTree t;
  t.Write("src/bom.txt", "bom");
  struct {
    const char* label;
    std::string entry;
  } names[] = {
      {"zip-slip", "../fora.txt"},        {"zip-slip fundo", "a/../../fora.txt"},
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
    Shell("cd " + Quote(t.Native("src")) + " && zip -qy " + Quote(t.Native("link.zip")) + " link bom.txt", &status);
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

}  // namespace
}  // namespace zelmor
