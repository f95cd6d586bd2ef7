#include <cstdio>
#include <cstdlib>
#include <fstream>

#include <gtest/gtest.h>

#include "core/text.h"
#include "helpers/helpers.h"
#include "testing/temp_store.h"

namespace zelmor {
namespace {

TEST(MD5, KnownDigests) {
  struct Case {
    const char16_t* Text;
    const char16_t* Digest;
  };
  const Case cases[] = {
      {u"", u"D41D8CD98F00B204E9800998ECF8427E"},
      {u"abc", u"900150983CD24FB0D6963F7D28E17F72"},
      {u"The quick brown fox jumps over the lazy dog", u"9E107D9D372BB6826BD81D3542A419D6"},
  };
  for (const auto& c : cases) EXPECT_EQ(TmRot::MD5(c.Text), c.Digest) << U16ToUtf8(c.Text);
}

TEST(MD5File, MatchesMd5sumOnARealFile) {
  testing::TemporaryFolder dir;
  const std::string path = dir.Path() + "/data.bin";
  {
    // Larger than one read piece, with every byte value.
    std::ofstream out(path, std::ios::binary);
    for (int i = 0; i < 3 * 1024 * 1024 + 17; ++i) out.put(static_cast<char>((i * 31 + i / 7) & 0xFF));
  }
  const std::string sumFile = dir.Path() + "/sum.txt";
  ASSERT_EQ(std::system(("md5sum '" + path + "' > '" + sumFile + "'").c_str()), 0);
  std::ifstream in(sumFile);
  std::string expected;
  in >> expected;
  ASSERT_EQ(expected.size(), 32u);
  for (auto& ch : expected) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  EXPECT_EQ(U16ToUtf8(TmRot::MD5File(Utf8ToU16(path))), expected);
}

TEST(MD5File, MissingFileIsAnError) {
  testing::TemporaryFolder dir;
  const std::u16string name = dir.File("nada.txt");
  try {
    TmRot::MD5File(name);
    FAIL() << "no error";
  } catch (const EFileError& e) {
    EXPECT_EQ(e.Message(), u"Arquivo " + name + u" não encontrado");
  }
}

}  // namespace
}  // namespace zelmor
