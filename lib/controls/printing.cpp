// A list of lines on the default printer, as many pages as they need.
#include "controls/controls.h"
#include "platform/service.h"
#include "system/system.h"

namespace zelmor {

void TmRot::PrintStrings(const TzelArrayString& aoStrings, const TFont& aoFont) {
  constexpr int kMargin = 10;
  constexpr int kLeading = 5;
  platform::Printer& printer = platform::Service<platform::Printer>::Get();
  printer.BeginDoc();
  try {
    printer.SetFont(aoFont);
    const int lineHeight = printer.TextHeight(u"A");
    const int pageHeight = printer.PageHeight();
    int y = kMargin;
    for (const std::u16string& line : aoStrings) {
      // A line goes on the next page rather than below the paper; the first line of a
      // page is printed even when the page is shorter than one line.
      if (y > kMargin && y + lineHeight > pageHeight) {
        printer.NewPage();
        y = kMargin;
      }
      printer.TextOut(kMargin, y, line);
      y += lineHeight + kLeading;
    }
  } catch (...) {
    printer.EndDoc();
    throw;
  }
  printer.EndDoc();
}

}  // namespace zelmor
