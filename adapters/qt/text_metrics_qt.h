// Text measurement with the GUI toolkit's font metrics.
#pragma once

#include <QFont>
#include <QFontMetrics>

#include "platform/text_metrics.h"

namespace zelmor::adapters {

// Measures with `font` (the application's font by default) as the toolkit draws it.
// Needs the GUI application object to exist.
class QtTextMetrics final : public platform::TextMetrics {
 public:
  QtTextMetrics();
  explicit QtTextMetrics(const QFont& font);
  int TextWidth(std::u16string_view text) const override;
  int TextHeight(std::u16string_view text) const override;
  int ScreenWidth() const override;

 private:
  QFontMetrics FMetrics;
};

// Installs a measurer with the application's font for the life of the process.
// Call once, after the GUI application object is created.
void InstallQtTextMetrics();

}  // namespace zelmor::adapters
