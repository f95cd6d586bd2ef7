// The windows module (zelmor-gui.so): what `zelmor` does with Qt, loaded only by a call
// that shows or draws something. The library and the registry it calls are the
// program's own (exported by it), so there is one of each in the process.
#include <unistd.h>
#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <memory>

#include "adapters/qt/controls_qt.h"
#include "adapters/qt/dialogs_qt.h"
#include "adapters/qt/event_pump_qt.h"
#include "adapters/qt/qstring.h"
#include "adapters/qt/text_metrics_qt.h"
#include "tools/zelmor/commands.h"
#include "tools/zelmor/json_values.h"
#include "tools/zelmor/modules.h"
#include "tools/zelmor/registry.h"

namespace zelmor::cli {
namespace {

int RunWithWindows(const std::vector<std::string>& args, long holdSeconds, bool holdForInput) {
  int argc = 1;
  char name[] = "zelmor";
  char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  adapters::InstallQtEventPump();
  adapters::InstallQtTextMetrics();
  adapters::InstallQtDialogs();
  const Json r = Registry::Instance().CallWithText(args[0], std::vector<std::string>(args.begin() + 1, args.end()));
  PrintLine(Dump(r));
  const int code = r.contains("error") ? 1 : 0;
  if (holdSeconds > 0) {
    // exit(), not quit(): quit() asks the windows first, and the wait window may refuse to close.
    QTimer::singleShot(std::chrono::seconds(holdSeconds), &app, [] { QCoreApplication::exit(0); });
    app.setQuitOnLastWindowClosed(false);
    QApplication::exec();
  } else if (holdForInput) {
    // Everything read is thrown away: only the end matters (or an error, which ends it too).
    QSocketNotifier input(0, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&input] {
      char buffer[4096];
      const ssize_t n = ::read(0, buffer, sizeof buffer);
      if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN)) {
        input.setEnabled(false);
        QCoreApplication::exit(0);
      }
    });
    app.setQuitOnLastWindowClosed(false);
    QApplication::exec();
  }
  return code;
}

// The printer measures fonts, so a GUI application is made for the call; without a
// display it draws offscreen.
void PrintToPdf(std::u16string_view pdf, const std::function<void()>& print) {
  std::unique_ptr<QApplication> app;
  if (!QApplication::instance()) {
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
      setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "zelmor";
    static char* argv[] = {name, nullptr};
    app = std::make_unique<QApplication>(argc, argv);
  }
  adapters::QtPrinter printer(adapters::ToQString(pdf));
  platform::Service<platform::Printer>::ScopedOverride use(&printer);
  print();
}

constexpr GuiModule kGui{&RunWithWindows, &PrintToPdf};

}  // namespace
}  // namespace zelmor::cli

extern "C" __attribute__((visibility("default"))) const zelmor::cli::GuiModule* zelmor_gui_module() {
  return &zelmor::cli::kGui;
}
