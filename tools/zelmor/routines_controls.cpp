// Form and control helpers that need no window: colours, the display mode, desktop
// launchers, and printing lines into a PDF file through the GUI's printer.
#include "mRotinas.h"
#include "tools/zelmor/modules.h"
#include "tools/zelmor/registry.h"

namespace zelmor::cli {

ZELMOR_ROUTINES(controls) {
  Register("TmRot.ColorToStr", &TmRot::ColorToStr, {"aoCor", "abSomenteHexadecimal"}, {false});
  Register("TmRot.InverteCor", &TmRot::InverteCor, {"aoCor"});
  Register("TmRot.MudarPara800x600", &TmRot::MudarPara800x600, {}, {},
           "false here: Linux desktops give programs no session-wide display mode switch");
  Register("TmRot.CriaAtalhoDesktop", &TmRot::CriaAtalhoDesktop, {"Nome", "CaminhoCompleto"}, {},
           "writes <Nome>.desktop (the desktop's kind of shortcut) on the desktop folder");
  Register("TmRot.DeletaAtalhoDesktop", &TmRot::DeletaAtalhoDesktop, {"Nome"});
#ifdef ZELMOR_WITH_QT
  // PrintStrings on a PDF file instead of the default printer, the GUI's, from the windows module.
  Register(
      "TmRot.PrintStrings",
      +[](const TzelArrayString& aoStrings, std::u16string_view asArquivoPdf, std::u16string_view asFonte,
          int aiTamanho) {
        if (asArquivoPdf.empty()) throw EArgumentError(u"PrintStrings: the PDF file is missing");
        TFont font;
        font.Name = asFonte;
        font.Size = aiTamanho;
        Gui().PrintToPdf(asArquivoPdf, [&] { TmRot::PrintStrings(aoStrings, font); });
      },
      {"aoStrings", "asArquivoPdf", "asFonte", "aiTamanho"}, {"Courier New", 10},
      "prints into the PDF file instead of the default printer");
#endif
}

}  // namespace zelmor::cli
