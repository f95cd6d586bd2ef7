#include <gtest/gtest.h>

#include <stdexcept>

#include "controls/controls.h"
#include "system/system.h"
#include "testing/control_tree.h"

namespace zelmor {
namespace {

TzelArrayString Lines(int n) {
  TzelArrayString lines;
  for (int i = 1; i <= n; ++i) lines.push_back(u"linha " + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)));
  return lines;
}

TEST(PrintStringsTest, LinesThatDoNotFitGoOnNewPages) {
  // Line height 15, leading 5: lines at y = 10, 30, 50, ...; a page of 100 holds
  // y = 10..70 (70 + 15 = 85), the next line (90 + 15 > 100) starts a page.
  struct Case {
    int lines, pageHeight;
    std::vector<std::size_t> perPage;
  };
  const Case cases[] = {
      {0, 100, {0}},       {4, 100, {4}},      {5, 100, {4, 1}},
      {9, 100, {4, 4, 1}}, {3, 10, {1, 1, 1}},  // a page shorter than a line still gets one line each
  };
  for (const Case& c : cases) {
    testing::MemoryPrinter printer;
    printer.PageSize = c.pageHeight;
    platform::Service<platform::Printer>::ScopedOverride use(&printer);
    TFont font;
    font.Name = u"DejaVu Sans Mono";
    font.Size = 12;
    TmRot::PrintStrings(Lines(c.lines), font);
    EXPECT_FALSE(printer.Printing);
    EXPECT_EQ(printer.FontUsed.Name, u"DejaVu Sans Mono");
    std::vector<std::size_t> perPage;
    for (const auto& page : printer.Pages) perPage.push_back(page.size());
    EXPECT_EQ(perPage, c.perPage) << c.lines << " lines on " << c.pageHeight;
    int printed = 0;
    for (const auto& page : printer.Pages)
      for (std::size_t k = 0; k < page.size(); ++k) {
        EXPECT_EQ(page[k].X, 10);
        EXPECT_EQ(page[k].Y, 10 + 20 * static_cast<int>(k));
        EXPECT_EQ(page[k].Text, Lines(c.lines)[printed++]);
      }
  }
}

TEST(PrintStringsTest, TheJobEndsAlsoWhenPrintingFails) {
  testing::MemoryPrinter printer;
  printer.FailAtLine = 2;
  platform::Service<platform::Printer>::ScopedOverride use(&printer);
  EXPECT_THROW(TmRot::PrintStrings(Lines(5), TFont{}), std::runtime_error);
  EXPECT_FALSE(printer.Printing);
  ASSERT_EQ(printer.Pages.size(), 1u);
  EXPECT_EQ(printer.Pages[0].size(), 2u);  // what was printed before the failure stays

  testing::MemoryPrinter none;
  none.FailToStart = true;
  platform::Service<platform::Printer>::ScopedOverride useNone(&none);
  EXPECT_THROW(TmRot::PrintStrings(Lines(1), TFont{}), std::runtime_error);
  EXPECT_TRUE(none.Pages.empty());
}

}  // namespace
}  // namespace zelmor
