// Archives past 4 GiB: a sparse file of 4 GiB and more packed, listed by this
// library and by other tools, and unpacked whole. It writes over 4 GiB and takes
// minutes, so it carries the label "large", which the default run leaves out.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/errors.h"
#include "core/text.h"
#include "platform/service.h"
#include "platform/zip_archives.h"
#include "testing/file_tree.h"
#include "testing/run_program.h"
#include "zip/ZipUnit.h"

namespace zelmor {
namespace {

using testing::FileTree;
using testing::ShellOutput;

TEST(ZipLargeTest, AnEntryPast4GiBGoesInAndComesOut) {
  namespace fs = std::filesystem;
  FileTree t;
  const std::uint64_t size = (4ull << 30) + (1u << 20) + 7;
  t.Write("src/big.bin", "início");
  fs::resize_file(t.Native("src/big.bin"), size);
  struct stat st {};
  ASSERT_EQ(stat(t.Native("src/big.bin").c_str(), &st), 0);
  if (static_cast<std::uint64_t>(st.st_blocks) * 512 > (64u << 20)) GTEST_SKIP() << "no sparse files here";
  const fs::space_info space = fs::space(t.Native());
  if (space.available < 3 * size) GTEST_SKIP() << "not enough room to unpack 4 GiB";

  ASSERT_TRUE(TZip::Compactar(t.Path("src/big.bin"), t.Path("big.zip")));
  {
    auto reader = platform::Service<platform::ZipArchives>::Get().Open(t.Path("big.zip"));
    ASSERT_EQ(reader->Entries().size(), 1u);
    EXPECT_EQ(reader->Entries()[0].UncompressedSize, size);
    EXPECT_EQ(reader->Entries()[0].Name, u"big.bin");
  }
  int status = -1;
  const std::string listed = ShellOutput(
      "python3 -c 'import sys, zipfile; i = zipfile.ZipFile(sys.argv[1]).infolist()[0]; print(i.filename, i.file_size)' " +
          t.Native("big.zip"),
      &status);
  if (status == 0) {
    EXPECT_EQ(listed, "big.bin " + std::to_string(size) + "\n");
  }

  TStringList names;
  ASSERT_TRUE(TZip().DescompactarRetornarNomes(t.Path("big.zip"), t.Path("dest"), u"", names));
  EXPECT_EQ(names.Items, std::vector<std::u16string>{t.Path("dest/big.bin")});
  EXPECT_EQ(fs::file_size(t.Native("dest/big.bin")), size);
  std::ifstream in(t.Native("dest/big.bin"), std::ios::binary);
  std::string head(7, '\0');
  in.read(head.data(), 7);
  EXPECT_EQ(head, "início");
}

}  // namespace
}  // namespace zelmor
