// quindel: the customer display program.
//   quindel [--echo] [--port N] [--screen N|NAME] [--fullscreen] [--on-top] [--web [ADDR:]PORT]
//           [--mirror DEVICE [--mirror-protocol P] [--baud N] [--mirror-codepage N]]
// With no arguments it is exactly the display. --echo prints every change of the
// two lines to standard output as one JSON object per line; --mirror writes them to a
// pole display as well; --web shows them in browsers too. Without a reachable display server it runs headless with the
// echo on.
#include <QApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QScreen>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "adapters/linux/serial_writer.h"
#include "adapters/linux/standard_streams.h"
#include "adapters/linux/system_services.h"
#include "adapters/qt/dialogs_qt.h"
#include "adapters/qt/event_pump_qt.h"
#include "adapters/qt/qstring.h"
#include "adapters/qt/text_metrics_qt.h"
#include "app/QuindelUnit.h"
#include "app/display_env.h"
#include "app/pole_codepages.h"
#include "app/pole_display.h"
#include "app/stop_signals.h"
#include "app/web_display.h"
#include "core/integer_text.h"
#include "core/version.h"
#include "forms/startup.h"

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
  std::fprintf(code ? stderr : stdout,
               "usage: quindel [--echo] [--port N] [--screen N|NAME] [--fullscreen] [--on-top] [--web [ADDR:]PORT]\n"
               "               [--mirror DEVICE [--mirror-protocol cd5220|escpos] [--baud N] [--mirror-codepage N]]\n"
               "       quindel --help | --version\n"
               "The customer display: shows what clients send on TCP port 2200 (line 1, byte 0xBF, line 2).\n"
               "  --echo                 print every change of the two lines as a JSON object per line\n"
               "  --port N               listen on port N (1-65535) instead of 2200\n"
               "  --screen N|NAME        open on monitor N (from 1) or the monitor Qt calls NAME\n"
               "  --fullscreen           fill that monitor, the two 40-column lines scaled to it\n"
               "  --on-top               keep the window above other windows\n"
               "  --web [ADDR:]PORT      also serve the lines as a web page on ADDR (default 127.0.0.1), port PORT;\n"
               "                         browsers follow changes live on port PORT+1 (0: any free ports)\n"
               "  --mirror DEVICE        also show the lines on a 2x20 pole display on serial DEVICE\n"
               "  --mirror-protocol P    its command set: cd5220 (default) or escpos\n"
               "  --baud N               its speed, 8N1 (default 9600)\n"
               "  --mirror-codepage N    its code page: 437 (default), 850, 858, 860 or 1252\n"
               "  --help, --version      this text; the program's version\n"
               "SIGTERM, SIGINT and SIGHUP close the window as its close button does (the position is kept).\n");
  return code;
}

// The number after an option, within [lo, hi].
bool ParseNumber(const char* text, long lo, long hi, long& out) {
  char* end = nullptr;
  errno = 0;
  out = std::strtol(text, &end, 10);
  return *text && !*end && errno == 0 && out >= lo && out <= hi;
}

// The monitor `--screen` names: a number from 1 in Qt's order, or a name as Qt reports
// it; nullptr (and the monitors there are, on standard error) when none matches.
QScreen* ChosenScreen(const QString& choice) {
  const QList<QScreen*> screens = QGuiApplication::screens();
  bool number = false;
  const int n = choice.toInt(&number);
  if (number && n >= 1 && n <= screens.size()) return screens[n - 1];
  for (QScreen* s : screens)
    if (s->name() == choice) return s;
  QStringList names;
  for (int i = 0; i < screens.size(); ++i) names.append(QStringLiteral("%1 \"%2\"").arg(i + 1).arg(screens[i]->name()));
  quindel::Diagnose(
      QStringLiteral("--screen %1: no such monitor; there are %2").arg(choice, names.join(QStringLiteral(", "))));
  return nullptr;
}

// The line the journal keeps: where the display listens and where its window went.
void SayWhereItIs(const quindel::TQuindelForm& form) {
  const QString listening = form.Listening()
                                ? QStringLiteral("listening on 0.0.0.0:%1").arg(form.ServidorSocket()->Port())
                                : QStringLiteral("not listening");
  const QRect frame = form.frameGeometry();
  const QScreen* screen = quindel::ScreenOf(form);
  quindel::Diagnose(QStringLiteral("%1; window at %2,%3 on screen \"%4\" (%5x%6)")
                        .arg(listening)
                        .arg(frame.x())
                        .arg(frame.y())
                        .arg(screen ? screen->name() : QString())
                        .arg(frame.width())
                        .arg(frame.height()));
}

}  // namespace

int main(int argc, char** argv) {
  // Before anything opens a descriptor or writes a line: a closed standard stream or
  // a reader that went away must not end or mislead the display.
  zelmor::adapters::GuardStandardStreams();
  zelmor::adapters::InstallSystemServices();
  bool echo = false;
  std::uint16_t port = quindel::kDisplayPort;
  quindel::PoleOptions pole;
  bool poleOptionSeen = false;
  const char* screenChoice = nullptr;
  bool fullScreen = false;
  bool onTop = false;
  std::optional<quindel::WebAddress> web;
  // An option that takes a value and has none says so by name.
  const auto value = [&](int& i) -> const char* {
    if (i + 1 < argc) return argv[++i];
    std::fprintf(stderr, "quindel: %s needs a value (quindel --help lists the options)\n", argv[i]);
    return nullptr;
  };
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (std::strcmp(arg, "--echo") == 0) {
      echo = true;
    } else if (std::strcmp(arg, "--port") == 0) {
      if (i + 1 >= argc || !zelmor::ParsePort(argv[i + 1], port)) {
        std::fprintf(stderr, "quindel: --port takes a number from 1 to 65535, not \"%s\"\n",
                     i + 1 < argc ? argv[i + 1] : "");
        return 2;
      }
      ++i;
    } else if (std::strcmp(arg, "--screen") == 0) {
      if (!(screenChoice = value(i))) return 2;
    } else if (std::strcmp(arg, "--fullscreen") == 0) {
      fullScreen = true;
    } else if (std::strcmp(arg, "--on-top") == 0) {
      onTop = true;
    } else if (std::strcmp(arg, "--web") == 0) {
      const char* text = value(i);
      if (!text) return 2;
      if (!(web = quindel::ParseWebAddress(text))) {
        std::fprintf(stderr, "quindel: --web takes [ADDR:]PORT (an IP address, a port from 0 to 65534), not \"%s\"\n",
                     text);
        return 2;
      }
    } else if (std::strcmp(arg, "--mirror") == 0) {
      const char* device = value(i);
      if (!device) return 2;
      pole.device = device;
    } else if (std::strcmp(arg, "--mirror-protocol") == 0) {
      const char* name = value(i);
      if (!name) return 2;
      const auto p = quindel::ParsePoleProtocol(name);
      if (!p) {
        std::fprintf(stderr, "quindel: --mirror-protocol: cd5220 or escpos, not \"%s\"\n", name);
        return Usage(2);
      }
      pole.protocol = *p;
      poleOptionSeen = true;
    } else if (std::strcmp(arg, "--baud") == 0) {
      const char* text = value(i);
      if (!text) return 2;
      long baud = 0;
      if (!ParseNumber(text, 1, 4000000, baud) || !zelmor::adapters::SerialWriter::IsSupportedBaud(int(baud))) {
        std::fprintf(stderr, "quindel: --baud: one of 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200\n");
        return 2;
      }
      pole.baud = static_cast<int>(baud);
      poleOptionSeen = true;
    } else if (std::strcmp(arg, "--mirror-codepage") == 0) {
      const char* text = value(i);
      if (!text) return 2;
      long cp = 0;
      if (!ParseNumber(text, 1, 99999, cp) || !quindel::CodePageHighHalf(int(cp))) {
        std::fprintf(stderr, "quindel: --mirror-codepage: one of 437, 850, 858, 860, 1252\n");
        return 2;
      }
      pole.codepage = static_cast<int>(cp);
      poleOptionSeen = true;
    } else if (std::strcmp(arg, "--help") == 0) {
      return Usage(0);
    } else if (std::strcmp(arg, "--version") == 0) {
      std::printf("quindel %s\n", zelmor::ProjectVersion());
      return 0;
    } else {
      std::fprintf(stderr, "quindel: unknown option \"%s\"\n", arg);
      return Usage(2);
    }
  }
  if (poleOptionSeen && pole.device.empty()) {
    std::fprintf(stderr, "quindel: the pole display options need --mirror DEVICE\n");
    return 2;
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
  // Messages need someone to answer them: headless, the recording dialogs stay.
  if (!quindel::StartedHeadless()) zelmor::adapters::InstallQtDialogs();

  const std::unique_ptr<quindel::TQuindelForm> form = quindel::TQuindelForm::Create(port);
  // With a window the error box says why nothing is shown; headless (found so, or drawn
  // off screen by the user's choice) nobody would see it, so a display that cannot
  // listen ends and a process manager can tell.
  const QString platform = QGuiApplication::platformName();
  const bool unseen = headless || platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
  if (unseen && !form->Listening()) {
    quindel::Diagnose(QStringLiteral("not listening; ending"));
    return 1;
  }
  if (echo) {
    gEchoOut = std::make_unique<zelmor::adapters::QueuedWriter>(1, kEchoQueueBytes);
    QObject::connect(form.get(), &quindel::TQuindelForm::LinesChanged, &Echo);
    // The start-up texts were set before the connection existed.
    Echo(form->Line1(), form->Line2());
  }
  std::unique_ptr<zelmor::adapters::SerialWriter> mirror;
  if (!pole.device.empty()) {
    mirror = std::make_unique<zelmor::adapters::SerialWriter>(
        pole.device, pole.baud, quindel::PoleStart(pole.protocol),
        [](const std::string& line) { gDiagnostics->Write(line + "\n"); });  // from the writer's thread: never blocks
    // The lines are read where they are: no copy on the way to the device's bytes.
    const auto send = [&mirror, &pole](const QString& line1, const QString& line2) {
      using zelmor::adapters::ViewOfQString;
      mirror->Post(quindel::PoleFrame(pole, ViewOfQString(line1), ViewOfQString(line2)));
    };
    QObject::connect(form.get(), &quindel::TQuindelForm::LinesChanged, send);
    send(form->Line1(), form->Line2());
  }
  // The browsers' copy: a page that cannot listen is said, and the window runs on.
  std::unique_ptr<quindel::WebDisplay> webDisplay;
  if (web) {
    webDisplay = std::make_unique<quindel::WebDisplay>();
    QString why;
    if (webDisplay->Start(*web, &why)) {
      QObject::connect(form.get(), &quindel::TQuindelForm::LinesChanged, webDisplay.get(), &quindel::WebDisplay::Show);
      webDisplay->Show(form->Line1(), form->Line2());
      const QString host = QString::fromStdString(webDisplay->Host());
      quindel::Diagnose(QStringLiteral("web page on http://%1:%2/ (live updates on port %3)")
                            .arg(host.contains(u':') ? u'[' + host + u']' : host)
                            .arg(webDisplay->PagePort())
                            .arg(webDisplay->LivePort()));
    } else {
      quindel::Diagnose(QStringLiteral("--web: %1; the page is not served").arg(why));
      webDisplay.reset();
    }
  }
  // A stop request closes the window as its close button would: the position is saved
  // and the loop ends with 0. The box of an error that is open does not hold it up.
  quindel::StopSignals stops([&form](int signal) {
    quindel::Diagnose(QStringLiteral("%1 received; closing").arg(QLatin1String(quindel::StopSignals::Name(signal))));
    form->close();
    QCoreApplication::exit(0);
  });

  QScreen* screen = nullptr;
  if (screenChoice && !(screen = ChosenScreen(QString::fromLocal8Bit(screenChoice)))) return 2;
  if (onTop) form->setWindowFlag(Qt::WindowStaysOnTopHint, true);
  quindel::Place(*form, screen, fullScreen);
  SayWhereItIs(*form);
  const int code = app.exec();
  webDisplay.reset();
  gEchoOut.reset();
  return code;
}
