// Form and control helpers that need no window: colours, the display mode, desktop
// launchers, and printing lines into a PDF file through the GUI's printer.
#include "mRotinas.h"
#include "tools/zelmor/registry.h"

#ifdef ZELMOR_WITH_QT
#include <QApplication>
#include <cstdlib>
#include <memory>

#include "adapters/qt/controls_qt.h"
#include "adapters/qt/qstring.h"
#endif

namespace zelmor::cli {
namespace {

#ifdef ZELMOR_WITH_QT
// PrintStrings on a PDF file instead of the default printer. The printer measures
// fonts, so a GUI application is made for the call; without a display it draws
// offscreen.
void PrintStringsToPdf(const TzelArrayString& aoStrings, std::u16string_view asArquivoPdf,
                       std::u16string_view asFonte, int aiTamanho) {
  if (asArquivoPdf.empty()) throw EArgumentError(u"PrintStrings: the PDF file is missing");
  std::unique_ptr<QApplication> app;
  if (!QApplication::instance()) {
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
      setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "zelmor";
    static char* argv[] = {name, nullptr};
    app = std::make_unique<QApplication>(argc, argv);
  }
  adapters::QtPrinter printer(adapters::ToQString(asArquivoPdf));
  platform::Service<platform::Printer>::ScopedOverride use(&printer);
  TFont font;
  font.Name = asFonte;
  font.Size = aiTamanho;
  TmRot::PrintStrings(aoStrings, font);
}
#endif

}  // namespace

ZELMOR_ROUTINES(controls) {
  Register("TmRot.ColorToStr", &TmRot::ColorToStr, {"aoCor", "abSomenteHexadecimal"}, {false});
  Register("TmRot.InverteCor", &TmRot::InverteCor, {"aoCor"});
  Register("TmRot.MudarPara800x600", &TmRot::MudarPara800x600, {}, {},
           "false here: Linux desktops give programs no session-wide display mode switch");
  Register("TmRot.CriaAtalhoDesktop", &TmRot::CriaAtalhoDesktop, {"Nome", "CaminhoCompleto"}, {},
           "writes <Nome>.desktop (the desktop's kind of shortcut) on the desktop folder");
  Register("TmRot.DeletaAtalhoDesktop", &TmRot::DeletaAtalhoDesktop, {"Nome"});
#ifdef ZELMOR_WITH_QT
  Register("TmRot.PrintStrings", &PrintStringsToPdf, {"aoStrings", "asArquivoPdf", "asFonte", "aiTamanho"},
           {"Courier New", 10}, "prints into the PDF file instead of the default printer");
#endif
}

}  // namespace zelmor::cli
