#include <gtest/gtest.h>

#include <ctime>

#include "calendar/calendar.h"
#include "mLib.h"
#include "testing/file_tree.h"

namespace zelmor {
namespace {

using testing::FileTree;
using testing::ScopedEnv;

// Runs the test in the time zone of Brasília, whose history has daylight-saving time.
class SaoPauloTime {
 public:
  SaoPauloTime() { tzset(); }

 private:
  struct Reload {
    ~Reload() { tzset(); }
  } FReload;  // destroyed last: the zone is read again once TZ is back
  ScopedEnv FTz{"TZ", "America/Sao_Paulo"};
};

TDateTime At(int y, int mo, int d, int h, int mi, int s) { return EncodeDateTime(y, mo, d, h, mi, s, 0); }

TEST(FileDatesTest, SettingRoundsToTwoSecondsAndReadsBack) {
  SaoPauloTime tz;
  FileTree t;
  t.Write("a.txt", "x");
  ASSERT_TRUE(TmFile::SetFileDateTime(t.Path("a.txt"), At(2018, 7, 15, 10, 0, 3)));
  EXPECT_EQ(TmFile::GetFileDateTime(t.Path("a.txt")), At(2018, 7, 15, 10, 0, 2));
  EXPECT_EQ(t.ModifiedAt("a.txt"), 1531659602);  // 13:00:02 UTC: Brasília is UTC−3 in July
  // Summer 2018 had daylight-saving time (UTC−2): the instant follows the date's own offset.
  ASSERT_TRUE(TmFile::SetFileDateTime(t.Path("a.txt"), At(2018, 1, 15, 10, 0, 0)));
  EXPECT_EQ(t.ModifiedAt("a.txt"), 1516017600);
  EXPECT_EQ(TmFile::GetFileDateTime(t.Path("a.txt")), At(2018, 1, 15, 10, 0, 0));
  // The clock went from 00:00 to 01:00 on 4 November 2018: 00:30 never happened there.
  EXPECT_FALSE(TmFile::SetFileDateTime(t.Path("a.txt"), At(2018, 11, 4, 0, 30, 0)));
  EXPECT_EQ(t.ModifiedAt("a.txt"), 1516017600);
  // It went back from 00:00 to 23:00 on 18 February 2018: 23:30 happened twice, and is stored.
  ASSERT_TRUE(TmFile::SetFileDateTime(t.Path("a.txt"), At(2018, 2, 17, 23, 30, 0)));
  EXPECT_EQ(TmFile::GetFileDateTime(t.Path("a.txt")), At(2018, 2, 17, 23, 30, 0));
}

TEST(FileDatesTest, DatesThatCannotBeStored) {
  FileTree t;
  t.Write("a.txt", "x", 1000000000);
  t.Write("ro.txt", "x", 1000000000);
  t.ReadOnly("ro.txt");
  struct {
    const char* name;
    std::string file;
    TDateTime when;
  } cases[] = {
      {"before 1980", "a.txt", At(1979, 12, 31, 23, 59, 58)},
      {"after 2107", "a.txt", At(2108, 1, 1, 0, 0, 0)},
      {"missing", "falta.txt", At(2020, 1, 1, 0, 0, 0)},
      {"read-only", "ro.txt", At(2020, 1, 1, 0, 0, 0)},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(TmFile::SetFileDateTime(t.Path(c.file), c.when)) << c.name;
    if (t.Exists(c.file)) {
      EXPECT_EQ(t.ModifiedAt(c.file), 1000000000) << c.name;
    }
  }
  EXPECT_TRUE(TmFile::SetFileDateTime(t.Path("a.txt"), At(1980, 1, 1, 0, 0, 0)));
  EXPECT_TRUE(TmFile::SetFileDateTime(t.Path("a.txt"), At(2107, 12, 31, 23, 59, 59)));
  EXPECT_EQ(TmFile::GetFileDateTime(t.Path("a.txt")), At(2107, 12, 31, 23, 59, 58));
}

TEST(FileDatesTest, ReadingDates) {
  SaoPauloTime tz;
  FileTree t;
  t.Write("a.txt", "x", 1531659602);  // 2018-07-15 10:00:02 in Brasília
  t.Folder("pasta");
  ASSERT_TRUE(TmFile::SetFileDateTime(t.Path("a.txt"), At(2018, 7, 15, 10, 0, 2)));
  EXPECT_EQ(TmFile::GetFileDateTime(t.Path("*.txt")), At(2018, 7, 15, 10, 0, 2));
  EXPECT_EQ(TmFile::GetFileDateTime(t.Path("falta.txt")), 0);
  EXPECT_GT(TmFile::GetFileDateTime(t.Path("pasta")), 0);  // any kind of entry
  EXPECT_EQ(TmFile::GetFolderDateTime(t.Path("pasta/")), TmFile::GetFileDateTime(t.Path("pasta")));
  EXPECT_EQ(TmFile::GetFolderDateTime(t.Path("a.txt")), 0);  // not a folder
  EXPECT_EQ(TmFile::GetFolderDateTime(t.Path("falta/")), 0);
  EXPECT_EQ(TmFile::GetFolderDateTime(u""), 0);
  EXPECT_GT(TmFile::GetFolderDateTime(u"/"), 0);
}

TEST(FileDatesTest, MostRecentOfAList) {
  FileTree t;
  t.Write("velho", "", 1000000000);
  t.Write("novo1", "", 1500000000);
  t.Write("novo2", "", 1500000000);
  TStringList list;
  EXPECT_EQ(TmFile::GetFileModificadoRecentemente(list), u"");
  for (const char* n : {"velho", "falta", "novo1", "novo2"}) list.Add(t.Path(n));
  EXPECT_EQ(TmFile::GetFileModificadoRecentemente(list), t.Path("novo1"));  // ties keep the first
  TStringList missing;
  missing.Add(t.Path("falta"));
  EXPECT_EQ(TmFile::GetFileModificadoRecentemente(missing), u"");
}

}  // namespace
}  // namespace zelmor
