// The form and control helpers that need no window, through `zelmor call`: colours,
// the display mode, launchers on a desktop folder the test makes, and lines printed
// into a PDF file whose pages are counted.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <regex>

#include "testing/file_tree.h"
#include "testing/run_program.h"
#include "tests/process_util.h"

namespace zelmor::testing {
namespace {

using nlohmann::json;

TEST(ControlsCall, ColoursDisplayAndLaunchers) {
  FileTree t;
  t.Folder("config");
  ScopedEnv home("HOME", t.Native().c_str());
  ScopedEnv config("XDG_CONFIG_HOME", t.Native("config").c_str());
  const auto lines = ZelmorBatch({
      R"j(["TmRot.ColorToStr",33023,true])j",
      R"j(["TmRot.ColorToStr",15793151])j",
      R"j(["TmRot.InverteCor",8421504])j",
      R"j(["TmRot.InverteCor",-16777201])j",
      R"j(["TmRot.MudarPara800x600"])j",
      R"j(["TmRot.CriaAtalhoDesktop","Caixa","/opt/caixa/caixa"])j",
      R"j(["TmRot.DeletaAtalhoDesktop","Caixa"])j",
      R"j(["TmRot.DeletaAtalhoDesktop","Caixa"])j",
  });
  const std::vector<json> expected = {
      json{{"result", "$000080FF"}}, json{{"result", "clCream"}}, json{{"result", 0xFFFFFF}}, json{{"result", 0}},
      json{{"result", false}},       json{{"result", true}},      json{{"result", true}},     json{{"result", false}},
  };
  EXPECT_EQ(lines, expected);
  EXPECT_FALSE(t.Exists("Desktop/Caixa.desktop"));
}

TEST(ControlsCall, PrintStringsIntoAPdfStartsNewPages) {
  FileTree t;
  json few = json::array(), many = json::array();
  for (int i = 0; i < 3; ++i) few.push_back("linha " + std::to_string(i));
  for (int i = 0; i < 400; ++i) many.push_back("linha " + std::to_string(i));
  const auto lines = ZelmorBatch({
      json::array({"TmRot.PrintStrings", few, t.Native("few.pdf"), "DejaVu Sans Mono", 10}).dump(),
      json::array({"TmRot.PrintStrings", many, t.Native("many.pdf"), "DejaVu Sans Mono", 10}).dump(),
  });
  ASSERT_EQ(lines.size(), 2u);
  const std::regex page(R"(/Type\s*/Page[^a-zA-Z])");
  auto pages = [&](const char* file) {
    const std::string pdf = t.Read(file);
    return std::distance(std::sregex_iterator(pdf.begin(), pdf.end(), page), std::sregex_iterator());
  };
  EXPECT_EQ(lines[0], json({{"result", nullptr}}));
  EXPECT_EQ(pages("few.pdf"), 1);
  // 400 lines of a 10-point face with 5 pixels between them cannot share one A4 or
  // Letter page at the printer's resolution: every line is there, on later pages.
  EXPECT_EQ(lines[1], json({{"result", nullptr}}));
  EXPECT_GE(pages("many.pdf"), 5);
}

}  // namespace
}  // namespace zelmor::testing
