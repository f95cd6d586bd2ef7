#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "core/errors.h"
#include "core/text.h"
#include "mLib.h"
#include "testing/file_tree.h"
#include "testing/fixtures.h"
#include "testing/recorded_dialogs.h"

namespace zelmor {
namespace {

using testing::FileTree;

std::vector<std::u16string> Lines(const TStringList& l) { return l.Items; }

TEST(TextFilesTest, WritingTextFiles) {
  FileTree t;
  EXPECT_TRUE(TmFile::CriarArquivoTexto(t.Path("vazio.txt"), u""));
  EXPECT_EQ(t.Read("vazio.txt"), "");
  EXPECT_TRUE(TmFile::CriarArquivoTexto(t.Path("um.txt"), u"ação €"));
  EXPECT_EQ(t.Read("um.txt"), "a\xe7\xe3o \x80\r\n");               // Windows-1252, CR LF
  EXPECT_TRUE(TmFile::CriarArquivoTexto(t.Path(".oculto"), u"x"));  // written is written, hidden or not
  EXPECT_FALSE(TmFile::CriarArquivoTexto(t.Path("falta/a.txt"), u"x"));
  // A read-only file is not written, and a file that was there is not a success.
  t.Write("ro.txt", "antigo");
  t.ReadOnly("ro.txt");
  EXPECT_FALSE(TmFile::CriarArquivoTexto(t.Path("ro.txt"), u"novo"));
  EXPECT_EQ(t.Read("ro.txt"), "antigo");

  EXPECT_TRUE(TmFile::SaveTextSample(u"a\nb", t.Path("s.txt")));
  EXPECT_EQ(t.Read("s.txt"), "a\r\nb\r\n");
  EXPECT_TRUE(TmFile::SaveTextSample(u"a\r\n\r\nb\r", t.Path("s.txt")));
  EXPECT_EQ(t.Read("s.txt"), "a\r\n\r\nb\r\n");
  EXPECT_THROW(TmFile::SaveTextSample(u"a", t.Path("falta/s.txt")), EFileError);
  EXPECT_THROW(TmFile::SaveTextSample(u"a", t.Path("ro.txt")), EFileError);
  // The replacement leaves no temporary file behind.
  EXPECT_EQ(t.Names(), (std::vector<std::string>{".oculto", "ro.txt", "s.txt", "um.txt", "vazio.txt"}));
}

TEST(TextFilesTest, ReadingEveryEncoding) {
  struct {
    const char* name;
    std::string bytes;
    std::vector<std::u16string> lines;
  } cases[] = {
      {"ansi", "a\xe7\xe3o\r\nl2", {u"ação", u"l2"}},
      {"utf8-bom",
       "\xEF\xBB\xBF"
       "a\xC3\xA7\xC3\xA3o\nl2\n",
       {u"ação", u"l2"}},
      {"utf8-sem-bom", "a\xC3\xA7", {u"aÃ§"}},  // no mark: Windows-1252
      {"utf16le",
       std::string("\xFF\xFE"
                   "a\0\xE7\0\r\0\n\0b\0",
                   12),
       {u"aç", u"b"}},
      {"utf16be", std::string("\xFE\xFF\0a\0\xE7\0\r\0b", 10), {u"aç", u"b"}},
      {"quebras", "a\rb\nc\r\n\r\nd", {u"a", u"b", u"c", u"", u"d"}},
      {"so-bom", "\xEF\xBB\xBF", {}},
      {"vazio", "", {}},
  };
  FileTree t;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    t.Write(c.name, c.bytes);
    TStringList out;
    out.Add(u"lixo");
    EXPECT_EQ(TmFile::LoadFile(t.Path(c.name), out), !c.lines.empty());
    EXPECT_EQ(Lines(out), c.lines);
    EXPECT_EQ(TmFile::LoadFileFirstLine(t.Path(c.name)), c.lines.empty() ? u"" : c.lines[0]);
  }
  TStringList out;
  out.Add(u"lixo");
  EXPECT_FALSE(TmFile::LoadFile(t.Path("falta"), out));
  EXPECT_EQ(out.Count(), 0);
  EXPECT_EQ(TmFile::LoadFileFirstLine(t.Path("falta")), u"");
}

TEST(TextFilesTest, MarksReadTwice) {
  FileTree t;
  // A UTF-8 file whose text starts with a mark that was once read as Windows-1252.
  t.Write("duplo.txt",
          "\xEF\xBB\xBF"
          "\xC3\xAF\xC2\xBB\xC2\xBF"
          "abc\r\nd\r\n");
  TmFile::RemoverBOM_UTF(t.Path("duplo.txt"));
  EXPECT_EQ(t.Read("duplo.txt"),
            "\xEF\xBB\xBF"
            "abc\r\nd\r\n");  // written back in its own encoding
  t.Write("utf16.txt", std::string("\xFF\xFE\xEF\0\xBB\0\xBF\0x\0", 10));
  TmFile::RemoverBOM_UTF(t.Path("utf16.txt"));
  EXPECT_EQ(t.Read("utf16.txt"), std::string("\xFF\xFEx\0\r\0\n\0", 8));
  // Nothing else is touched: exactly the three characters, or no mark at all.
  for (const std::string& bytes : {std::string("\xEF\xBB\xBF\xC3\xAF\xC2\xBB\xC2\xBF"), std::string("abc\n")}) {
    t.Write("igual.txt", bytes, 1000000000);
    TmFile::RemoverBOM_UTF(t.Path("igual.txt"));
    EXPECT_EQ(t.Read("igual.txt"), bytes);
    EXPECT_EQ(t.ModifiedAt("igual.txt"), 1000000000);
  }
  TmFile::RemoverBOM_UTF(t.Path("falta.txt"));
  EXPECT_FALSE(t.Exists("falta.txt"));

  t.Write("x.xml", "\xEF\xBB\xBF<a>\xC3\xA7</a>\n");
  EXPECT_EQ(TmFile::GetFileConvertUTF8ToAnsi(t.Path("x.xml")), u"\u00EF\u00BB\u00BF<a>Ã§</a>\r\n");
  EXPECT_THROW(TmFile::GetFileConvertUTF8ToAnsi(t.Path("falta.xml")), EFileError);
}

TEST(PrintableBytesTest, BinaryFilesAsText) {
  FileTree t;
  t.Write("b.bin", std::string("\0A\r\nB\xc8", 6));
  TStringList out;
  ASSERT_TRUE(TmFile::CarregarArquivoBinario(t.Path("b.bin"), out));
  EXPECT_EQ(Lines(out), (std::vector<std::u16string>{u"A", u"BÈ"}));
  // Ó (211) stays, ó (243) goes; 128 is the character U+0080, not the euro sign.
  t.Write("c.bin", "\xd3\xf3\x80\t\x7f\x1b");
  ASSERT_TRUE(TmFile::CarregarArquivoBinario(t.Path("c.bin"), out));
  EXPECT_EQ(Lines(out), (std::vector<std::u16string>{u"Ó\u0080\t\u007f"}));
  EXPECT_FALSE(TmFile::CarregarArquivoBinario(t.Path("falta"), out));
  EXPECT_EQ(out.Count(), 0);
}

TEST(PrintableBytesTest, CleaningATextFileKeepsABackup) {
  testing::RecordedDialogs dialogs;
  FileTree t;
  t.Write("dados.txt", "linha 1\r\nlinha\t2 \xe7\xf3\xf2\n", 1000000000);
  ASSERT_TRUE(TmFile::LimparArquivoTexto(t.Path("dados.txt")));
  EXPECT_EQ(t.Read("dados.txt"), "linha 1linha2 \xe7\xf3");  // ç and ó stay, ò goes
  EXPECT_EQ(t.Read("dados.txt.bak"), "linha 1\r\nlinha\t2 \xe7\xf3\xf2\n");
  EXPECT_EQ(t.ModifiedAt("dados.txt.bak"), 1000000000);
  // A second run replaces the backup; no temporary file is left in the folder.
  ASSERT_TRUE(TmFile::LimparArquivoTexto(t.Path("dados.txt")));
  EXPECT_EQ(t.Read("dados.txt.bak"), "linha 1linha2 \xe7\xf3");
  EXPECT_EQ(t.Names(), (std::vector<std::string>{"dados.txt", "dados.txt.bak"}));
  EXPECT_TRUE(dialogs.Messages.empty());

  EXPECT_FALSE(TmFile::LimparArquivoTexto(t.Path("falta.txt")));
  EXPECT_TRUE(dialogs.Messages.empty());
  // A backup that cannot be replaced: the failure is shown and the file stays as it was.
  t.ReadOnly("dados.txt.bak");
  t.Write("dados.txt", "a\nb");
  EXPECT_FALSE(TmFile::LimparArquivoTexto(t.Path("dados.txt")));
  EXPECT_EQ(t.Read("dados.txt"), "a\nb");
  ASSERT_EQ(dialogs.Messages.size(), 1u);
  EXPECT_NE(dialogs.Messages[0].find(u"dados.txt.bak"), std::u16string::npos);
}

TEST(StreamTest, WholeFileInMemory) {
  FileTree t;
  t.Write("s.bin", std::string("ab\0c", 4));
  auto s = TmFile::GetStreamFile(t.Path("s.bin"));
  ASSERT_TRUE(s);
  EXPECT_EQ(s->Size(), 4);
  EXPECT_EQ(s->Position, 0u);
  char buf[8];
  EXPECT_EQ(s->Read(buf, 3), 3u);
  EXPECT_EQ(s->Read(buf, 8), 1u);
  EXPECT_EQ(buf[0], 'c');
  EXPECT_EQ(s->Read(buf, 8), 0u);
  EXPECT_THROW(TmFile::GetStreamFile(t.Path("falta")), EFileError);
}

TEST(SizesTest, LengthsAndSizes) {
  FileTree t;
  t.Write("cinco.txt", "12345");
  t.Folder("pasta");
  EXPECT_EQ(TmFile::FileLength(t.Path("cinco.txt")), 5);
  EXPECT_EQ(TmFile::FileSize(t.Path("cinco.txt")), 5);
  EXPECT_EQ(TmFile::FileSize(t.Path("c*.txt")), 5);
  EXPECT_EQ(TmFile::FileLength(t.Path("falta.txt")), -1);
  EXPECT_EQ(TmFile::FileSize(t.Path("falta.txt")), 0);
  EXPECT_EQ(TmFile::FileLength(t.Path("pasta")), 0);
  EXPECT_EQ(TmFile::FileSize(t.Path("pasta")), 0);
  // A relative name is taken from the current folder.
  const auto here = std::filesystem::current_path();
  std::filesystem::current_path(t.Root());
  EXPECT_EQ(TmFile::FileLength(u"cinco.txt"), 5);
  std::filesystem::current_path(here);
  // Past 2 GiB the 32-bit length stops at its largest value; the 64-bit size is exact.
  std::filesystem::resize_file(t.Native("cinco.txt"), 3LL << 30);  // sparse
  EXPECT_EQ(TmFile::FileLength(t.Path("cinco.txt")), 2147483647);
  EXPECT_EQ(TmFile::FileSize(t.Path("cinco.txt")), 3LL << 30);
}

TEST(SizesTest, SizesForPeople) {
  testing::FixedRegionalSettings br;
  struct {
    std::int64_t bytes;
    std::u16string text;
  } cases[] = {
      {0, u"0 bytes"},       {1023, u"1023 bytes"},      {1024, u"1 Kb"},
      {1535, u"1,4 Kb"},     {1536, u"1,5 Kb"},          {1048576, u"1 Mb"},
      {1073741824, u"1 Gb"}, {1099511627776LL, u"1 Tb"}, {1099511627776LL * 1024, u"1 Inesperado"},
      {-5, u"-5 bytes"},     {1048575, u"1023,9 Kb"},
  };
  for (const auto& c : cases) EXPECT_EQ(TmFile::FormatFileSize(c.bytes), c.text) << c.bytes;
}

TEST(ReadOnlyTest, TheAttributeCanBeCleared) {
  FileTree t;
  t.Write("ro.txt", "x");
  t.ReadOnly("ro.txt");
  EXPECT_FALSE(TmFile::CriarArquivoTexto(t.Path("ro.txt"), u"y"));
  TmFile::RemoverAtributoSomenteLeitura(t.Path("ro.txt"));
  EXPECT_NE(t.Mode("ro.txt") & 0200, 0u);
  EXPECT_TRUE(TmFile::CriarArquivoTexto(t.Path("ro.txt"), u"y"));
}

TEST(XmlFileTest, SavingADocument) {
  FileTree t;
  std::u16string msg = u"lixo";
  ASSERT_TRUE(TmFile::SaveXMLFile(u"<nota><item valor=\"ç\">ação €</item></nota>", t.Path("a.xml"), msg, u"ISO-8859-1"))
      << U16ToUtf8(msg);
  EXPECT_EQ(msg, u"");
  const std::string a = t.Read("a.xml");
  EXPECT_EQ(a.rfind("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>", 0), 0u) << a;
  EXPECT_NE(a.find("valor=\"\xe7\""), std::string::npos) << a;
  EXPECT_NE(a.find("a\xe7\xe3o &#8364;"), std::string::npos) << a;  // what Latin-1 cannot hold becomes a reference

  // Without an encoding, the text's own declaration holds; without one, UTF-8.
  ASSERT_TRUE(
      TmFile::SaveXMLFile(u"<?xml version=\"1.1\" encoding=\"windows-1252\"?>\n<a>€</a>", t.Path("b.xml"), msg));
  const std::string b = t.Read("b.xml");
  EXPECT_EQ(b.rfind("<?xml version=\"1.0\" encoding=\"windows-1252\"?>", 0), 0u) << b;
  EXPECT_NE(b.find("<a>\x80</a>"), std::string::npos) << b;
  ASSERT_TRUE(TmFile::SaveXMLFile(u"<a>ç</a>", t.Path("c.xml"), msg));
  EXPECT_NE(t.Read("c.xml").find("encoding=\"UTF-8\"?>\n<a>\xC3\xA7</a>"), std::string::npos);

  EXPECT_FALSE(TmFile::SaveXMLFile(u"<a><b></a>", t.Path("d.xml"), msg));
  EXPECT_NE(msg.find(u"XML inválido"), std::u16string::npos) << U16ToUtf8(msg);
  EXPECT_FALSE(t.Exists("d.xml"));
  EXPECT_FALSE(TmFile::SaveXMLFile(u"<a/>", t.Path("e.xml"), msg, u"NAO-EXISTE"));
  EXPECT_NE(msg, u"");
  EXPECT_FALSE(TmFile::SaveXMLFile(u"<a/>", t.Path("falta/e.xml"), msg));
  EXPECT_NE(msg, u"");
  // An entity is kept as written, never expanded from outside.
  ASSERT_TRUE(
      TmFile::SaveXMLFile(u"<!DOCTYPE a [<!ENTITY x SYSTEM \"file:///etc/passwd\">]><a>&x;</a>", t.Path("f.xml"), msg))
      << U16ToUtf8(msg);
  EXPECT_EQ(t.Read("f.xml").find("root:"), std::string::npos);
}

}  // namespace
}  // namespace zelmor
