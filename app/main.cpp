// quindel: the customer display program.
//   quindel [--echo] [--port N] | --version
// With no arguments it is exactly the display. --echo prints every change of the
// two lines to standard output as one JSON object per line. Without a reachable
// display server it runs headless with the echo on.
#include <QApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "adapters/linux/standard_streams.h"
#include "adapters/linux/system_services.h"
#include "adapters/qt/event_pump_qt.h"
#include "adapters/qt/text_metrics_qt.h"
#include "app/QuindelUnit.h"
#include "app/display_env.h"
#include "core/integer_text.h"
#include "core/version.h"
#include "startup/startup.h"

namespace {

// An echoed line keeps this many characters; the rest is replaced by "…[+N]" (N the
// characters cut). The window shows far fewer, so nothing visible is lost.
constexpr qsizetype kEchoLineLimit = 1000;
// What may wait for a slow reader of the echo or of standard error; beyond it lines
// are dropped (and the drop is said) rather than holding up the window.
constexpr std::size_t kEchoQueueBytes = 1 << 20;
constexpr std::size_t kDiagnosticQueueBytes = 256 << 10;

std::unique_ptr<zelmor::adapters::QueuedWriter> gEchoOut;
std::unique_ptr<zelmor::adapters::QueuedWriter> gDiagnostics;

QString Bounded(const QString& line) {
  if (line.size() <= kEchoLineLimit) return line;
  return line.left(kEchoLineLimit) + QStringLiteral("\u2026[+%1]").arg(line.size() - kEchoLineLimit);
}

void Echo(const QString& line1, const QString& line2) {
  static long dropped = 0;
  static bool failureSaid = false;
  QJsonObject o;
  o.insert(QStringLiteral("line1"), Bounded(line1));
  o.insert(QStringLiteral("line2"), Bounded(line2));
  QByteArray json = QJsonDocument(o).toJson(QJsonDocument::Compact);
  json.append('\n');
  if (gEchoOut->Write(json.toStdString())) {
    if (dropped) {
      quindel::Diagnose(QStringLiteral("the echo reader fell behind; %1 changes were not echoed").arg(dropped));
      dropped = 0;
    }
    return;
  }
  if (gEchoOut->Failed()) {
    if (!failureSaid)
      quindel::Diagnose(QStringLiteral("the echo output is closed (%1); changes are no longer echoed")
                            .arg(QString::fromLocal8Bit(std::strerror(gEchoOut->Error()))));
    failureSaid = true;
    return;
  }
  ++dropped;
}

int Usage(int code) {
  std::fprintf(code ? stderr : stdout, "usage: quindel [--echo] [--port N]\n       quindel --version\n");
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  // Before anything opens a descriptor or writes a line: a closed standard stream or
  // a reader that went away must not end or mislead the display.
  zelmor::adapters::GuardStandardStreams();
  zelmor::adapters::InstallSystemServices();
  bool echo = false;
  std::uint16_t port = quindel::kDisplayPort;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--echo") == 0) {
      echo = true;
    } else if (std::strcmp(argv[i], "--port") == 0) {
      if (i + 1 >= argc || !zelmor::ParsePort(argv[i + 1], port)) {
        std::fprintf(stderr, "quindel: --port takes a number from 1 to 65535, not \"%s\"\n",
                     i + 1 < argc ? argv[i + 1] : "");
        return 2;
      }
      ++i;
    } else if (std::strcmp(argv[i], "--help") == 0) {
      return Usage(0);
    } else if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("quindel %s\n", zelmor::ProjectVersion());
      return 0;
    } else {
      return Usage(2);
    }
  }
  gDiagnostics = std::make_unique<zelmor::adapters::QueuedWriter>(2, kDiagnosticQueueBytes);
  quindel::SetDiagnosticSink([](const std::string& line) { gDiagnostics->Write(line); });
  quindel::PrepareDisplayPlatform();

  // Before any window exists: the regional settings are read once, the library's
  // regional copies taken and the form-position settings cleared.
  zelmor::InitializeStartupState();
  QApplication app(argc, argv);
  const bool headless = quindel::StartedHeadless();
  if (headless) {
    quindel::Diagnose(QStringLiteral("no display server is reachable; running headless with --echo"));
    echo = true;
  }
  QApplication::setApplicationName(QStringLiteral("Quindel"));
  zelmor::adapters::InstallQtTextMetrics();
  zelmor::adapters::InstallQtEventPump();

  quindel::TQuindelForm form(port);
  // With a window the error box says why nothing is shown; headless (found so, or drawn
  // off screen by the user's choice) nobody would see it, so a display that cannot
  // listen ends and a process manager can tell.
  const QString platform = QGuiApplication::platformName();
  const bool unseen = headless || platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
  if (unseen && (!form.ServidorSocket || !form.ServidorSocket->Active())) {
    quindel::Diagnose(QStringLiteral("not listening; ending"));
    return 1;
  }
  if (echo) {
    gEchoOut = std::make_unique<zelmor::adapters::QueuedWriter>(1, kEchoQueueBytes);
    QObject::connect(&form, &quindel::TQuindelForm::LinesChanged, &Echo);
    // The start-up texts were set before the connection existed.
    Echo(form.lbLinha1->text(), form.lbLinha2->text());
  }
  form.show();
  const int code = app.exec();
  gEchoOut.reset();
  return code;
}
