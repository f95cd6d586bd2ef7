#include <gtest/gtest.h>

#include <filesystem>

#include "core/text.h"
#include "mLib.h"
#include "testing/fixtures.h"

namespace zelmor {
namespace {

TEST(DirBarraTest, AddsExactlyOneSeparator) {
  struct {
    std::u16string in, out;
  } cases[] = {
      {u"", u"/"},      {u"/opt/a", u"/opt/a/"}, {u"/opt/a/", u"/opt/a/"}, {u"/", u"/"},
      {u"a//", u"a//"}, {u"a\\", u"a\\/"},       {u"x ", u"x /"},
  };
  for (const auto& c : cases) EXPECT_EQ(TmFile::DirBarra(c.in), c.out) << U16ToUtf8(c.in);
}

TEST(DirExeTest, FolderOfTheRunningExecutable) {
  std::u16string dir = TmFile::DirExe();
  ASSERT_FALSE(dir.empty());
  EXPECT_EQ(dir.back(), u'/');
  std::filesystem::path self = std::filesystem::canonical("/proc/self/exe");
  EXPECT_EQ(U16ToUtf8(dir), self.parent_path().string() + "/");
}

TEST(DirExeTest, RootAndOddPaths) {
  {
    testing::FixedProcessInfo exe(u"/quindel");
    EXPECT_EQ(TmFile::DirExe(), u"/");
  }
  {
    testing::FixedProcessInfo exe(u"/opt/zelmor/bin/quindel");
    EXPECT_EQ(mFile::DirExe(), u"/opt/zelmor/bin/");
  }
  {
    testing::FixedProcessInfo exe(u"");
    EXPECT_EQ(TmFile::DirExe(), u"/");
  }
}

}  // namespace
}  // namespace zelmor
