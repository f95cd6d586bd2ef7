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
#include <string>

#include "adapters/linux/system_services.h"
#include "adapters/qt/dialogs_qt.h"
#include "adapters/qt/event_pump_qt.h"
#include "adapters/qt/text_metrics_qt.h"
#include "app/QuindelUnit.h"
#include "app/display_env.h"
#include "core/version.h"
#include "startup/startup.h"

namespace {

void Echo(const QString& line1, const QString& line2) {
  QJsonObject o;
  o.insert(QStringLiteral("line1"), line1);
  o.insert(QStringLiteral("line2"), line2);
  const QByteArray json = QJsonDocument(o).toJson(QJsonDocument::Compact);
  std::fwrite(json.constData(), 1, static_cast<std::size_t>(json.size()), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

int Usage(int code) {
  std::fprintf(code ? stderr : stdout, "usage: quindel [--echo] [--port N]\n       quindel --version\n");
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  zelmor::adapters::InstallSystemServices();
  bool echo = false;
  long port = quindel::kDisplayPort;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--echo") == 0) {
      echo = true;
    } else if (std::strcmp(argv[i], "--port") == 0 && i + 1 < argc) {
      char* end = nullptr;
      port = std::strtol(argv[++i], &end, 10);
      if (*end || port < 0 || port > 65535) return Usage(2);
    } else if (std::strcmp(argv[i], "--help") == 0) {
      return Usage(0);
    } else if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("quindel %s\n", zelmor::ProjectVersion());
      return 0;
    } else {
      return Usage(2);
    }
  }
  quindel::PrepareDisplayPlatform();

  // Before any window exists: the regional settings are read once, the library's
  // regional copies taken and the form-position settings cleared.
  zelmor::InitializeStartupState();
  QApplication app(argc, argv);
  if (quindel::StartedHeadless()) {
    std::fprintf(stderr, "quindel: no display server is reachable; running headless with --echo\n");
    echo = true;
  }
  QApplication::setApplicationName(QStringLiteral("Quindel"));
  zelmor::adapters::InstallQtTextMetrics();
  zelmor::adapters::InstallQtEventPump();
  // Messages need someone to answer them: headless, the recording dialogs stay.
  if (!quindel::StartedHeadless()) zelmor::adapters::InstallQtDialogs();

  quindel::TQuindelForm form(static_cast<quint16>(port));
  if (echo) {
    QObject::connect(&form, &quindel::TQuindelForm::LinesChanged, &Echo);
    // The start-up texts were set before the connection existed.
    Echo(form.lbLinha1->text(), form.lbLinha2->text());
  }
  form.show();
  return app.exec();
}
