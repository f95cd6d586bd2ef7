#include "files/directory_search.h"

#include <gtest/gtest.h>

#include "core/text.h"
#include "mLib.h"
#include "testing/file_tree.h"

namespace zelmor {
namespace {

using testing::FileTree;

TEST(MaskTest, WindowsWildcards) {
  struct {
    const char16_t* mask;
    const char16_t* name;
    bool match;
  } cases[] = {
      {u"*", u"abc", true},           {u"*", u".hidden", true},
      {u"*.*", u"abc", true},         {u"*.*", u"a.b.c", true},
      {u"*.txt", u"a.txt", true},     {u"*.txt", u"A.TXT", true},
      {u"*.txt", u"a.b.txt", true},   {u"*.txt", u"a.txt.bak", false},
      {u"*.txt", u"a.txt2", false},   {u"*.txt", u".txt", true},
      {u"*.", u"README", true},       {u"*.", u"a.txt", false},
      {u"abc.*", u"abc", true},       {u"abc.*", u"abc.txt", true},
      {u"abc.*", u"abcd", false},     {u"?.txt", u"a.txt", true},
      {u"?.txt", u"ab.txt", false},   {u"a?.txt", u"a.txt", true},
      {u"a??", u"a", true},           {u"a??", u"abcd", false},
      {u"a?b", u"a.b", false},        {u"n*a.xml", u"nota.xml", true},
      {u"n*a.xml", u"nfa.xml", true}, {u"n*a.xml", u"nota.xmlx", false},
      {u"*a*", u"bab", true},         {u"*a*", u"bbb", false},
      {u"ação*", u"AÇÃO.txt", true},  {u"[a].txt", u"[a].txt", true},
      {u"[a].txt", u"a.txt", false},  {u"x", u"X", true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(files::MatchesMask(c.name, c.mask), c.match) << U16ToUtf8(c.mask) << " vs " << U16ToUtf8(c.name);
}

TEST(DirectorySearchTest, NameOrderWithoutDotEntries) {
  FileTree t;
  for (const char* n : {"b.txt", "A.txt", "a.txt", "_x.txt", "c.TXT", "sub.txt/", ".h.txt", "z.dat"}) {
    const std::string name = n;
    if (name.back() == '/')
      t.Folder(name.substr(0, name.size() - 1));
    else
      t.Write(name, "");
  }
  std::vector<platform::FolderEntry> found;
  ASSERT_TRUE(files::FindEntries(t.Path("*.txt"), false, found));
  std::vector<std::u16string> names;
  for (const auto& e : found) names.push_back(e.Name);
  // Case ignored first (so "A" and "a" sit together), then exact; "_" after the letters.
  EXPECT_EQ(names,
            (std::vector<std::u16string>{u".h.txt", u"A.txt", u"a.txt", u"b.txt", u"c.TXT", u"sub.txt", u"_x.txt"}));
  EXPECT_EQ(found[5].Info.Kind, platform::EntryKind::Folder);
  ASSERT_TRUE(files::FindEntries(t.Path("*"), false, found));
  EXPECT_EQ(found.size(), 8u);  // no "." or ".."
  EXPECT_FALSE(files::FindEntries(t.Path("falta/*"), false, found));
  EXPECT_TRUE(found.empty());
  EXPECT_FALSE(files::FindEntries(t.Path() + u"/", false, found));  // no name part
  // Files only, hidden left out: what mask routines act on.
  EXPECT_EQ(files::MatchingFiles(t.Path("*.txt")),
            (std::vector<std::u16string>{t.Path("A.txt"), t.Path("a.txt"), t.Path("b.txt"), t.Path("c.TXT"),
                                         t.Path("_x.txt")}));
}

// Beyond ASCII the case is folded too, and names that share a long beginning are
// told apart where they first differ.
TEST(DirectorySearchTest, NameOrderBeyondAscii) {
  FileTree t;
  for (const char* n : {"éa.txt", "ça.txt", "ÇA.txt", "Ea.txt", "e.txt", "cb.txt", "ca.txt", "nota000010.txt",
                        "NOTA000009.txt", "nota00001.txt"})
    t.Write(n, "");
  std::vector<platform::FolderEntry> found;
  ASSERT_TRUE(files::FindEntries(t.Path("*"), false, found));
  std::vector<std::u16string> names;
  for (const auto& e : found) names.push_back(e.Name);
  EXPECT_EQ(names, (std::vector<std::u16string>{u"ca.txt", u"cb.txt", u"e.txt", u"Ea.txt", u"NOTA000009.txt",
                                                u"nota00001.txt", u"nota000010.txt", u"ÇA.txt", u"ça.txt", u"éa.txt"}));
}

// Linux names are bytes: one that is not UTF-8 is listed, tested, copied, renamed
// and deleted through the library's text without losing a byte.
TEST(DirectorySearchTest, NamesThatAreNotUtf8RoundTrip) {
  FileTree t;
  const std::string latin1 = "rela\xe7\xe3o.txt";  // "relação.txt" in Windows-1252
  t.Write(latin1, "conteúdo");
  TStringList list;
  ASSERT_TRUE(TmFile::GetFiles(list, t.Path("*.txt"), true, false, -1, -1));
  ASSERT_EQ(list.Count(), 1);
  const std::u16string listed = list[0];
  EXPECT_EQ(listed, t.Path() + u"/rela\xDCE7\xDCE3o.txt");
  EXPECT_EQ(U16ToUtf8(TmFile::FileName(listed)), "rela\xEF\xBF\xBD\xEF\xBF\xBDo.txt");  // shown readably
  EXPECT_TRUE(TmFile::FileExists(listed));
  EXPECT_EQ(TmFile::FileSize(listed), 9);
  t.Folder("destino");
  ASSERT_TRUE(TmFile::CopiarArquivo(listed, t.Path("destino"), u"", true));
  EXPECT_EQ(t.Read("destino/" + latin1), "conteúdo");
  ASSERT_TRUE(TmFile::ModificarExtensao(t.Path("destino/*.txt"), u"bak"));
  EXPECT_TRUE(t.Exists("destino/rela\xe7\xe3o.bak"));
  ASSERT_TRUE(TmFile::DeleteArquivos(t.Path() + u"/", u"*.txt"));
  EXPECT_FALSE(t.Exists(latin1));
}

}  // namespace
}  // namespace zelmor
