// `zelmor dialog`: calls a routine as `zelmor call` does, but with the real windows of
// the GUI, for trying the dialogs by hand.
#include <cstdlib>
#include <string>

#include "tools/zelmor/commands.h"
#include "tools/zelmor/json_values.h"
#include "tools/zelmor/registry.h"

#ifdef ZELMOR_WITH_QT
#include <QApplication>

#include "adapters/qt/dialogs_qt.h"
#include "adapters/qt/event_pump_qt.h"
#include "adapters/qt/text_metrics_qt.h"
#endif

namespace zelmor::cli {
namespace {

int Run(const std::vector<std::string>& args) {
  if (args.empty()) {
    PrintError("usage: zelmor dialog ROUTINE ARG...   (e.g. zelmor dialog mDlg.Confirma \"Gravar?\")");
    return 2;
  }
#ifdef ZELMOR_WITH_QT
  // On a platform without a screen nobody could answer, and the modal window would wait for ever.
  const std::string platform = std::getenv("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "";
  const bool screenless = platform.starts_with("offscreen") || platform.starts_with("minimal");
  if (screenless || (platform.empty() && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))) {
    PrintError("zelmor: dialog needs a display (DISPLAY or WAYLAND_DISPLAY); zelmor call answers headless");
    return 1;
  }
  int argc = 1;
  char name[] = "zelmor";
  char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  adapters::InstallQtEventPump();
  adapters::InstallQtTextMetrics();
  adapters::InstallQtDialogs();
  const Json r = Registry::Instance().CallWithText(args[0], std::vector<std::string>(args.begin() + 1, args.end()));
  PrintLine(Dump(r));
  return r.contains("error") ? 1 : 0;
#else
  PrintError("zelmor: this build has no windows (built without the display program)");
  return 1;
#endif
}

ZELMOR_COMMAND("dialog", "dialog ROUTINE ARG...   (a routine with the real windows, to try them by hand)", Run);

}  // namespace
}  // namespace zelmor::cli
