// The version routines through `zelmor call`: comparisons by name, and the version
// our own built program is stamped with.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tests/process_util.h"

namespace zelmor::testing {
namespace {

using nlohmann::json;

TEST(UpdatesCall, VersionsComparedAndReadFromTheTool) {
  const auto lines = ZelmorBatch({
      R"j(["mFile.VersaoMaior","1.2","1.10","tcMaior"])j",
      R"j(["TmFile.VersaoMaior","1.2","1.2","tcMenor"])j",
      R"j(["TmFile.NovaVersao"," ","1.0"])j",
      R"j(["TmFile.GetVersaoArquivo","/nonexistent/zelmor-no-such-file"])j",
  });
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], json::parse(R"j({"result":true})j"));
  EXPECT_EQ(lines[1], json::parse(R"j({"result":false})j"));
  EXPECT_EQ(lines[2], json::parse(R"j({"result":true})j"));
  EXPECT_EQ(lines[3], json::parse(R"j({"result":""})j"));
}

}  // namespace
}  // namespace zelmor::testing
