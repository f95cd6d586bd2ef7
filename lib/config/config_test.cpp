// TmConfig on real files in a temporary folder.
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "calendar/calendar.h"
#include "config/mConfigUnit.h"
#include "core/errors.h"
#include "core/text.h"
#include "testing/fixtures.h"
#include "testing/temp_store.h"

namespace zelmor {
namespace {

using Lines = std::vector<std::u16string>;

TStringList ListOf(const Lines& lines) {
  TStringList l;
  for (const auto& s : lines) l.Add(s);
  return l;
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void WriteFile(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

class ConfigTest : public ::testing::Test {
 protected:
  std::string PathOf(const std::string& name) const { return folder.Path() + "/" + name; }
  testing::TemporaryFolder folder;
  testing::FixedRegionalSettings brazil{RegionalSettings::Brazilian()};
};

// ---- Lookups and edits (the file given as its lines) ----

TEST_F(ConfigTest, EntriesBelongToTheNearestHeaderAbove) {
  TmConfig c(ListOf({u"x=0", u"[A]", u"x=1", u"", u"[B]", u"x=2", u"[AÇÃO]", u"Preço=9"}));
  EXPECT_EQ(c.ReadString(u"B", u"x", u"-"), u"2");
  EXPECT_EQ(c.ReadString(u"a", u"X", u"-"), u"1");
  EXPECT_EQ(c.ReadString(u"C", u"x", u"-"), u"-");
  EXPECT_EQ(c.ReadString(u"ação", u"PREÇO", u"-"), u"9");  // accented letters compare without case too
  EXPECT_EQ(c.ReadString(u"", u"x", u"-"), u"-");          // above the first header: never found
  EXPECT_EQ(c.TotalLinhas, 8);
  EXPECT_FALSE(c.IsModificado());
}

TEST_F(ConfigTest, NamesAndValuesAreTakenAsTheyStand) {
  TmConfig c(ListOf({u"[S]", u"Item = 5", u";comentario=sim", u"dup=first", u"dup=second", u"url=a=b", u"[T]",
                     u"dup=other section"}));
  EXPECT_EQ(c.ReadInteger(u"S", u"Item", -1), -1);
  EXPECT_EQ(c.ReadInteger(u"S", u"Item ", -1), 5);  // the value " 5": leading blanks are skipped
  EXPECT_EQ(c.ReadString(u"S", u"Item ", u""), u" 5");
  EXPECT_EQ(c.ReadString(u"S", u";comentario", u""), u"sim");
  EXPECT_EQ(c.ReadString(u"S", u"dup", u""), u"first");
  EXPECT_EQ(c.ReadString(u"S", u"url", u""), u"a=b");
  EXPECT_EQ(c.ReadString(u"S", u"url=a", u"-"), u"-");
}

TEST_F(ConfigTest, WritesFollowTheLayoutRules) {
  const Lines base = {u"[A]", u"x=1", u"", u"[B]", u"x=2"};
  const struct {
    Lines before;
    std::u16string secao, item, valor;
    Lines after;
  } cases[] = {
      {base, u"A", u"y", u"5", {u"[A]", u"x=1", u"y=5", u"", u"[B]", u"x=2"}},
      {{u"[A]", u"x=1", u"[B]"}, u"A", u"y", u"5", {u"[A]", u"x=1", u"y=5", u"", u"[B]"}},
      {base, u"C", u"z", u"9", {u"[A]", u"x=1", u"", u"[B]", u"x=2", u"", u"[C]", u"z=9"}},
      {{}, u"C", u"z", u"9", {u"[C]", u"z=9"}},
      {{u"[A]", u"x=1", u""}, u"C", u"z", u"9", {u"[A]", u"x=1", u"", u"[C]", u"z=9"}},
      {base, u"A", u"x", u"", {u"[A]", u"", u"[B]", u"x=2"}},
      {base, u"A", u"n", u"", {u"[A]", u"x=1", u"n=", u"", u"[B]", u"x=2"}},
      {base, u"a", u"X", u"7", {u"[A]", u"x=7", u"", u"[B]", u"x=2"}},
      {{u"[A]", u"x=1"}, u"A", u"y", u"2", {u"[A]", u"x=1", u"y=2"}},
      {{u"[A] ", u"x=1"}, u"A", u"x", u"2", {u"[A] ", u"x=1", u"", u"[A]", u"x=2"}},
      {{u" [C]", u"x=1"}, u"C", u"x", u"2", {u" [C]", u"x=1", u"", u"[C]", u"x=2"}},
      {{u"x=0", u"[A]"}, u"A", u"x", u"1", {u"x=0", u"[A]", u"x=1"}},
  };
  for (const auto& c : cases) {
    TmConfig config(ListOf(c.before));
    config.WriteString(c.secao, c.item, c.valor);
    EXPECT_EQ(config.Linhas().Items, c.after) << U16ToUtf8(c.secao + u"." + c.item + u"=" + c.valor);
    EXPECT_TRUE(config.IsModificado());
  }
  TmConfig same(ListOf(base));
  same.WriteString(u"A", u"x", u"1");
  EXPECT_TRUE(same.IsModificado());  // also when nothing changed
}

TEST_F(ConfigTest, LineBreaksEqualsSignsAndLeadingBracketsInNamesCannotBeWritten) {
  TmConfig c(ListOf({u"[A]", u"x=1"}));
  EXPECT_THROW(c.WriteString(u"A", u"x", u"1\r\n[Admin]\r\nsenha=x"), EArgumentError);
  EXPECT_THROW(c.WriteString(u"A\n", u"x", u"1"), EArgumentError);
  EXPECT_THROW(c.WriteString(u"A", u"a=b", u"1"), EArgumentError);
  // A name that starts with "[" would read back as a section header.
  EXPECT_THROW(c.WriteString(u"A", u"[S", u"]"), EArgumentError);
  EXPECT_THROW(c.WriteString(u"A", u"[", u"1"), EArgumentError);
  EXPECT_EQ(c.Linhas().Count(), 2);
  EXPECT_FALSE(c.IsModificado());
  c.WriteString(u"A", u"a[1]", u"ok");  // "[" further in is an ordinary character
  EXPECT_EQ(c.ReadString(u"A", u"a[1]", u""), u"ok");
}

TEST_F(ConfigTest, Sections) {
  TmConfig c(ListOf({u"[A] ", u"a1=1", u" [C] x", u"[B]", u"b1=1", u";nota", u"", u"b2=2", u"[A]", u"x=1"}));
  TStringList out;
  out.Add(u"left over");
  c.ReadSections(out);
  EXPECT_EQ(out.Items, (Lines{u"A", u"C x", u"B", u"A"}));
  c.ReadSection(u"B", out);
  EXPECT_EQ(out.Items, (Lines{u"b1", u"b2"}));
  c.ReadSectionValues(u"b", out);
  EXPECT_EQ(out.Items, (Lines{u"b1=1", u";nota", u"b2=2"}));
  c.ReadSection(u"Nenhuma", out);
  EXPECT_EQ(out.Count(), 0);
  EXPECT_TRUE(c.SectionExists(u"a"));   // the second header
  EXPECT_FALSE(c.SectionExists(u"C"));  // " [C] x" is no header
  EXPECT_EQ(c.ReadString(u"A", u"a1", u"-"), u"-");

  c.DeleteKey(u"B", u"nada");
  EXPECT_FALSE(c.IsModificado());
  c.DeleteKey(u"B", u"B2");
  EXPECT_TRUE(c.IsModificado());
  EXPECT_EQ(c.ReadString(u"B", u"b2", u"-"), u"-");

  const struct {
    Lines before, after;
  } erase[] = {
      {{u"[A]", u"x=1", u"[B]", u"y=2"}, {u"[B]", u"y=2"}},
      {{u"[A]", u"x=1", u"", u"[B]", u"y=2"}, {u"[B]", u"y=2"}},
      {{u"[B]", u"y=2", u"[A]", u"x=1", u";fim"}, {u"[B]", u"y=2"}},
  };
  for (const auto& e : erase) {
    TmConfig config(ListOf(e.before));
    config.EraseSection(u"a");
    EXPECT_EQ(config.Linhas().Items, e.after);
    EXPECT_TRUE(config.IsModificado());
  }
  TmConfig none(ListOf({u"[B]"}));
  none.EraseSection(u"A");
  EXPECT_FALSE(none.IsModificado());
}

// ---- Typed values ----

TEST_F(ConfigTest, IntegersAndBooleans) {
  TmConfig c(ListOf({u"[N]", u"a= 12", u"b=$1F", u"c=0x1f", u"d=-2147483648", u"e=2147483648", u"f=12 ", u"g=",
                     u"h=$FFFFFFFF", u"i=+7", u"j=1,5", u"t=True", u"u=1", u"v=-1", u"w=0"}));
  const std::pair<std::u16string, int> ints[] = {{u"a", 12},  {u"b", 31},  {u"c", 31},  {u"d", INT32_MIN},
                                                 {u"e", -99}, {u"f", -99}, {u"g", -99}, {u"h", -1},
                                                 {u"i", 7},   {u"j", -99}, {u"zz", -99}};
  for (const auto& [item, expected] : ints) EXPECT_EQ(c.ReadInteger(u"N", item, -99), expected) << U16ToUtf8(item);
  EXPECT_FALSE(c.ReadBool(u"N", u"t", true));
  EXPECT_TRUE(c.ReadBool(u"N", u"u", false));
  EXPECT_FALSE(c.ReadBool(u"N", u"v", true));
  EXPECT_FALSE(c.ReadBool(u"N", u"w", true));
  EXPECT_TRUE(c.ReadBool(u"N", u"missing", true));

  c.WriteInteger(u"N", u"k", -42);
  c.WriteBool(u"N", u"l", true);
  c.WriteBool(u"N", u"m", false);
  EXPECT_EQ(c.ReadString(u"N", u"k", u""), u"-42");
  EXPECT_EQ(c.ReadString(u"N", u"l", u""), u"1");
  EXPECT_EQ(c.ReadString(u"N", u"m", u""), u"0");
}

TEST_F(ConfigTest, NumbersDatesAndTimesUseTheRegionalSettings) {
  TmConfig c(ListOf({}));
  c.WriteFloat(u"V", u"f", 2.5);
  c.WriteCurr(u"V", u"c", Currency::FromRaw(125000));
  c.WriteCurr(u"V", u"c4", Currency::FromRaw(-12345678));
  c.WriteDate(u"V", u"d", EncodeDate(2026, 12, 9) + 0.75);
  c.WriteDateTime(u"V", u"dt", EncodeDateTime(2026, 1, 2, 3, 4, 5, 678));
  c.WriteTime(u"V", u"t", EncodeDate(2026, 1, 2) + EncodeTime(14, 5, 9, 999));
  EXPECT_EQ(c.ReadString(u"V", u"f", u""), u"2,5");
  EXPECT_EQ(c.ReadString(u"V", u"c", u""), u"12,5");
  EXPECT_EQ(c.ReadString(u"V", u"c4", u""), u"-1234,5678");
  EXPECT_EQ(c.ReadString(u"V", u"d", u""), u"09/12/2026");
  EXPECT_EQ(c.ReadString(u"V", u"dt", u""), u"02/01/2026 03:04:05");
  EXPECT_EQ(c.ReadString(u"V", u"t", u""), u"14:05:09");

  EXPECT_EQ(c.ReadFloat(u"V", u"f", 0), 2.5);
  EXPECT_EQ(c.ReadCurr(u"V", u"c4", Currency()), Currency::FromRaw(-12345678));
  EXPECT_EQ(c.ReadDate(u"V", u"d", 0), EncodeDate(2026, 12, 9));
  EXPECT_EQ(c.ReadDateTime(u"V", u"dt", 0), EncodeDateTime(2026, 1, 2, 3, 4, 5, 0));
  EXPECT_EQ(c.ReadTime(u"V", u"t", 0), EncodeTime(14, 5, 9, 0));

  // A value outside years 1–9999 has no date text: writing it fails instead of
  // storing "00/00/0000"; as a default it comes back unchanged.
  for (double v : {1e300, -1e300, -693594.0, 2958466.0}) {
    EXPECT_THROW(c.WriteDate(u"V", u"x", v), EConvertError) << v;
    EXPECT_THROW(c.WriteDateTime(u"V", u"x", v), EConvertError) << v;
    EXPECT_EQ(c.ReadDateTime(u"V", u"missing", v).Value, v);
  }
  EXPECT_EQ(c.ReadString(u"V", u"x", u"none"), u"none");
}

TEST_F(ConfigTest, TypedReadsOfMissingOrBadEntriesGoThroughTheDefaultsTextForm) {
  TmConfig c(ListOf({u"[V]", u"bad=abc", u"c=1,23456", u"big=922337203685477,5807", u"over=922337203685477,5808"}));
  const TDateTime when = EncodeDateTime(2026, 12, 9, 14, 5, 9, 123);
  EXPECT_EQ(c.ReadDate(u"V", u"none", when), EncodeDate(2026, 12, 9));                               // date part only
  EXPECT_NEAR(c.ReadDateTime(u"V", u"none", when), EncodeDateTime(2026, 12, 9, 14, 5, 9, 0), 1e-9);  // no ms
  EXPECT_NEAR(c.ReadTime(u"V", u"none", when), EncodeTime(14, 5, 9, 0), 1e-9);                       // time of day only
  EXPECT_EQ(c.ReadFloat(u"V", u"none", 0.1 + 0.2), 0.3);  // 15 significant digits
  EXPECT_EQ(c.ReadCurr(u"V", u"none", Currency::FromRaw(5)), Currency::FromRaw(5));
  // A text that does not convert gives the default itself, not its round trip.
  EXPECT_EQ(c.ReadDate(u"V", u"bad", when), when);
  EXPECT_EQ(c.ReadFloat(u"V", u"bad", 0.1 + 0.2), 0.1 + 0.2);
  EXPECT_EQ(c.ReadCurr(u"V", u"bad", Currency::FromRaw(7)), Currency::FromRaw(7));
  EXPECT_EQ(c.ReadCurr(u"V", u"c", Currency()), Currency::FromRaw(12346));
  EXPECT_EQ(c.ReadCurr(u"V", u"big", Currency()), Currency::FromRaw(INT64_MAX));
  EXPECT_EQ(c.ReadCurr(u"V", u"over", Currency::FromRaw(1)), Currency::FromRaw(1));
}

TEST_F(ConfigTest, TheConfigShorthandUsesSectionConfig) {
  TmConfig c(ListOf({u"[Outra]", u"item=x"}));
  EXPECT_EQ(c.ReadStringConfig(u"item", u"padrão"), u"padrão");
  c.WriteStringConfig(u"s", u"texto");
  c.WriteIntegerConfig(u"i", 3);
  c.WriteBoolConfig(u"b", true);
  c.WriteFloatConfig(u"f", 1.5);
  c.WriteCurrConfig(u"c", Currency::FromRaw(10000));
  c.WriteDateConfig(u"d", EncodeDate(2026, 12, 9));
  c.WriteDateTimeConfig(u"dt", EncodeDateTime(2026, 12, 9, 1, 2, 3, 0));
  EXPECT_EQ(c.Linhas().Items, (Lines{u"[Outra]", u"item=x", u"", u"[Config]", u"s=texto", u"i=3", u"b=1", u"f=1,5",
                                     u"c=1", u"d=09/12/2026", u"dt=09/12/2026 01:02:03"}));
  EXPECT_EQ(c.ReadStringConfig(u"S", u""), u"texto");
  EXPECT_EQ(c.ReadIntegerConfig(u"i", 0), 3);
  EXPECT_TRUE(c.ReadBoolConfig(u"b", false));
  EXPECT_EQ(c.ReadFloatConfig(u"f", 0), 1.5);
  EXPECT_EQ(c.ReadCurrConfig(u"c", Currency()), Currency::FromRaw(10000));
  EXPECT_EQ(c.ReadDateConfig(u"d", 0), EncodeDate(2026, 12, 9));
  EXPECT_EQ(c.ReadDateTimeConfig(u"dt", 0), EncodeDateTime(2026, 12, 9, 1, 2, 3, 0));
}

// ---- Files ----

TEST_F(ConfigTest, EncodingsAndLineEndsRoundTrip) {
  const struct {
    std::string name, bytes, written;
  } cases[] = {
      {"ansi.ini", "[A]\r\nx=a\xE7\xE3o\nlf=1\rcr=2\r\n\r\n", "[A]\r\nx=a\xE7\xE3o\r\nlf=1\r\ncr=2\r\ny=\x80\r\n\r\n"},
      {"utf8.ini", "\xEF\xBB\xBF[A]\nx=a\xC3\xA7\xC3\xA3o",
       "\xEF\xBB\xBF[A]\r\nx=a\xC3\xA7\xC3\xA3o\r\ny=\xE2\x82\xAC\r\n"},
      {"le.ini", std::string("\xFF\xFE[\0A\0]\0\n\0x\0=\0\xE7\0", 17),
       std::string("\xFF\xFE[\0A\0]\0\r\0\n\0x\0=\0\xE7\0\r\0\n\0y\0=\0\xAC\x20\r\0\n\0", 32)},
      {"be.ini", std::string("\xFE\xFF\0[\0A\0]", 8),
       std::string("\xFE\xFF\0[\0A\0]\0\r\0\n\0y\0=\x20\xAC\0\r\0\n", 22)},
  };
  for (const auto& c : cases) {
    WriteFile(PathOf(c.name), c.bytes);
    {
      TmConfig config(Utf8ToU16(PathOf(c.name)), true);
      config.WriteString(u"A", u"y", u"€");
    }
    EXPECT_EQ(FileBytes(PathOf(c.name)), c.written) << c.name;
  }
  TmConfig le(Utf8ToU16(PathOf("le.ini")), true);
  EXPECT_EQ(le.ReadString(u"A", u"x", u""), u"ç");
}

// A new file (or one read without a mark) is Windows-1252 while its text fits the
// code page; text the code page cannot hold turns the file into UTF-8 with its mark
// instead of becoming "?".
TEST_F(ConfigTest, ANewFileIsWindows1252UnlessItsTextDoesNotFit) {
  const struct {
    std::u16string value;
    std::string written;
  } cases[] = {
      {u"R$ 1,00 – ok", "[Se\xE7\xE3o]\r\nPre\xE7o=R$ 1,00 \x96 ok\r\n"},
      {u"Łódź",
       "\xEF\xBB\xBF[Se\xC3\xA7\xC3\xA3o]\r\nPre\xC3\xA7o=\xC5\x81\xC3\xB3"
       "d\xC5\xBA\r\n"},
      {u"東京", "\xEF\xBB\xBF[Se\xC3\xA7\xC3\xA3o]\r\nPre\xC3\xA7o=\xE6\x9D\xB1\xE4\xBA\xAC\r\n"},
      {u"ok \U0001F600", "\xEF\xBB\xBF[Se\xC3\xA7\xC3\xA3o]\r\nPre\xC3\xA7o=ok \xF0\x9F\x98\x80\r\n"},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(PathOf("new.ini"));
    {
      TmConfig config(Utf8ToU16(PathOf("new.ini")), true);
      config.WriteString(u"Seção", u"Preço", c.value);
    }
    EXPECT_EQ(FileBytes(PathOf("new.ini")), c.written) << U16ToUtf8(c.value);
    TmConfig back(Utf8ToU16(PathOf("new.ini")), true);
    EXPECT_EQ(back.ReadString(u"Seção", u"Preço", u""), c.value);
  }
  // An existing Windows-1252 file keeps its other lines' characters through the change.
  WriteFile(PathOf("old.ini"), "[A]\r\nx=a\xE7\xE3o\r\n");
  { TmConfig(Utf8ToU16(PathOf("old.ini")), true).WriteString(u"A", u"y", u"Łódź"); }
  EXPECT_EQ(FileBytes(PathOf("old.ini")),
            "\xEF\xBB\xBF[A]\r\nx=a\xC3\xA7\xC3\xA3o\r\ny=\xC5\x81\xC3\xB3"
            "d\xC5\xBA\r\n");
}

TEST_F(ConfigTest, AMarkReadAsTextIsRepaired) {
  TmConfig c(ListOf({u"\u00EF\u00BB\u00BF[A]", u"x=1"}));
  EXPECT_EQ(c.Linhas()[0], u"[A]");
  EXPECT_EQ(c.ReadString(u"A", u"x", u""), u"1");
  TmConfig shortLine(ListOf({u"\u00EF\u00BB\u00BF"}));
  EXPECT_EQ(shortLine.Linhas()[0], u"\u00EF\u00BB\u00BF");  // not longer than 3: kept
  TmConfig split(ListOf({u"a\r\nb", u"c"}));                // the list is taken as one text
  EXPECT_EQ(split.Linhas().Items, (Lines{u"a", u"b", u"c"}));
  EXPECT_EQ(split.TotalLinhas, 3);
}

TEST_F(ConfigTest, LoadingAndTheUnsavedState) {
  WriteFile(PathOf("a.ini"), "[A]\r\nx=1\r\n");
  {
    TmConfig notLoaded(Utf8ToU16(PathOf("a.ini")), false);
    EXPECT_EQ(notLoaded.Linhas().Count(), 0);
    EXPECT_EQ(notLoaded.TotalLinhas, 0);
    EXPECT_EQ(notLoaded.ReadString(u"A", u"x", u"-"), u"-");
    notLoaded.WriteString(u"B", u"y", u"2");
  }  // replaces the whole file
  EXPECT_EQ(FileBytes(PathOf("a.ini")), "[B]\r\ny=2\r\n");

  TmConfig missing(Utf8ToU16(PathOf("missing.ini")), true);
  EXPECT_EQ(missing.Linhas().Count(), 0);

  std::filesystem::create_directory(PathOf("folder.ini"));
  EXPECT_THROW(TmConfig(Utf8ToU16(PathOf("folder.ini")), true), EFileError);

  TmConfig c(Utf8ToU16(PathOf("a.ini")), true);
  EXPECT_EQ(c.TotalLinhas, 2);
  c.WriteString(u"B", u"z", u"3");
  EXPECT_EQ(c.TotalLinhas, 2);  // not updated
  c.Flush();
  EXPECT_FALSE(c.IsModificado());
  EXPECT_EQ(FileBytes(PathOf("a.ini")), "[B]\r\ny=2\r\nz=3\r\n");
  WriteFile(PathOf("a.ini"), "changed by someone else\r\n");
  c.Flush();  // nothing unsaved: nothing written
  EXPECT_EQ(FileBytes(PathOf("a.ini")), "changed by someone else\r\n");
  c.SetModificado(true);
  c.Flush();  // the last one to save wins
  EXPECT_EQ(FileBytes(PathOf("a.ini")), "[B]\r\ny=2\r\nz=3\r\n");
}

TEST_F(ConfigTest, AListHasNoFileUntilSaveCopyTo) {
  TmConfig c(ListOf({u"[A]", u"x=1"}));
  c.WriteString(u"A", u"y", u"2");
  EXPECT_THROW(c.Flush(), EFileError);
  EXPECT_TRUE(c.IsModificado());
  c.SaveCopyTo(Utf8ToU16(PathOf("copy.ini")));
  EXPECT_TRUE(c.IsModificado());
  EXPECT_EQ(c.Arquivo(), u"");
  EXPECT_EQ(FileBytes(PathOf("copy.ini")), "[A]\r\nx=1\r\ny=2\r\n");
}  // released with unsaved changes and no file: swallowed

TEST_F(ConfigTest, AFailedSaveLeavesTheOldFileWhole) {
  const std::string path = PathOf("keep.ini");
  WriteFile(path, "[A]\r\nx=1\r\n");
  chmod(folder.Path().c_str(), 0500);  // no new files in the folder
  const bool root = geteuid() == 0;    // root writes anyway; then only the forked case below counts
  if (!root) {
    {
      TmConfig c(Utf8ToU16(path), true);
      c.WriteString(u"A", u"x", u"2");
      EXPECT_THROW(c.Flush(), EFileError);
      EXPECT_TRUE(c.IsModificado());
    }  // released: the error is swallowed
    EXPECT_EQ(FileBytes(path), "[A]\r\nx=1\r\n");
  }
  chmod(folder.Path().c_str(), 0700);

  // A disk that fills up in the middle of the write: a child process limited to
  // 4 KiB of file size saves 100 KiB.
  for (bool killed : {false, true}) {
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      signal(SIGXFSZ, killed ? SIG_DFL : SIG_IGN);  // killed by the signal, or told EFBIG
      rlimit lim{4096, 4096};
      setrlimit(RLIMIT_FSIZE, &lim);
      TmConfig c(Utf8ToU16(path), true);
      for (int i = 0; i < 5000; ++i) c.WriteString(u"B", u"item" + IntToStr(i), u"0123456789");
      try {
        c.Flush();
      } catch (const EFileError&) {
        _exit(3);
      }
      _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (killed)
      EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << status;
    else
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 3) << status;
    EXPECT_EQ(FileBytes(path), "[A]\r\nx=1\r\n");
  }
}

// A colleague's settings file that the group may write is not taken over: saving it
// would give it to whoever saved. The writer is told; the file, its owner and its
// bytes stay.
TEST_F(ConfigTest, AnotherUsersFileIsNotTakenOver) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to make the two users";
  constexpr uid_t kColleague = 65533, kWriter = 65534;
  constexpr gid_t kShop = 4321;
  const std::string path = PathOf("loja.ini");
  WriteFile(path, "[A]\r\nx=1\r\n");
  ASSERT_EQ(chown(path.c_str(), kColleague, kShop), 0);
  ASSERT_EQ(chmod(path.c_str(), 0664), 0);
  ASSERT_EQ(chmod(folder.Path().c_str(), 0777), 0);
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    if (setgroups(0, nullptr) != 0 || setresgid(kShop, kShop, kShop) != 0 || setresuid(kWriter, kWriter, kWriter) != 0)
      _exit(99);
    TmConfig c(Utf8ToU16(path), true);
    c.WriteString(u"A", u"x", u"2");
    try {
      c.Flush();
    } catch (const EFileError&) {
      _exit(3);
    }
    _exit(0);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 3) << status;
  struct stat st {};
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, kColleague);
  EXPECT_EQ(FileBytes(path), "[A]\r\nx=1\r\n");
}

TEST_F(ConfigTest, TheDefaultFileIsTheExecutablesPathWithIni) {
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"/opt/zelmor/bin/quindel", u"/opt/zelmor/bin/quindel.ini"},
      {u"/opt/apps/display.exe", u"/opt/apps/display.ini"},
      {u"/opt/a.d/run", u"/opt/a.d/run.ini"},
  };
  for (const auto& [exe, ini] : cases) {
    testing::FixedProcessInfo process(exe);
    EXPECT_EQ(TmConfig::GetFileNameDefault(), ini);
  }
}

}  // namespace
}  // namespace zelmor
