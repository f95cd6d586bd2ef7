#include "app/QuindelUnit.h"

#include <QCoreApplication>
#include <QFont>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPalette>
#include <algorithm>
#include <cstdio>

#include "adapters/linux/system_services.h"
#include "adapters/qt/form_window_qt.h"
#include "adapters/qt/qstring.h"
#include "app/lcd_font.h"
#include "calendar/calendar.h"
#include "core/text.h"
#include "format/format_datetime.h"
#include "mFileUtil.h"
#include "strings/mString.h"

using zelmor::adapters::ToQString;
namespace TmFile = zelmor::TmFile;
namespace TmStr = zelmor::TmStr;

namespace quindel {
namespace {

const QColor kBackground(193, 255, 193);  // 12713921 in blue-green-red order
constexpr quint16 kVkF5 = 116;
// Nothing past this many characters can be inside the window, so the labels are not
// asked to lay it out (a 1 MiB line would otherwise freeze the window while shaping).
constexpr qsizetype kVisibleLimit = 512;

void StyleLine(QLabel* label) {
  label->setTextFormat(Qt::PlainText);  // received text is never markup
  label->setAutoFillBackground(true);
  QPalette p = label->palette();
  p.setColor(QPalette::Window, kBackground);
  label->setPalette(p);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setWordWrap(false);
  label->setMargin(0);
  label->setIndent(0);
  label->setFocusPolicy(Qt::NoFocus);
  QFont design(QStringLiteral("Courier New"));
  design.setPixelSize(29);
  label->setFont(design);
  label->setText(QString::fromLatin1(kRuler));
}

std::function<void(const std::string&)>& Sink() {
  static std::function<void(const std::string&)> sink = [](const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stderr);
  };
  return sink;
}

}  // namespace

void SetDiagnosticSink(std::function<void(const std::string& line)> sink) { Sink() = std::move(sink); }

void Diagnose(const QString& message) { Sink()("quindel: " + message.toLocal8Bit().toStdString() + "\n"); }

void ErrorReporter::Show(const QString& message) {
  if (BoxOpen()) {
    ++FLogged;
    Diagnose(message + QStringLiteral(" (not shown: an error box is open already)"));
    return;
  }
  Diagnose(message);
  ++FShown;
  // Not modal and not exec(): the display keeps running while the box is up, and F5 and
  // closing the window still work (open() would make it window-modal).
  FBox = new QMessageBox(QMessageBox::Critical, QStringLiteral("Zelmor Quindel"), message, QMessageBox::Ok, FParent);
  FBox->setAttribute(Qt::WA_DeleteOnClose);
  FBox->setTextFormat(Qt::PlainText);
  FBox->setWindowModality(Qt::NonModal);
  FBox->show();
}

TQuindelForm::TQuindelForm(quint16 port)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint),
      FPort(port),
      FErrors(this) {
  setObjectName(QStringLiteral("QuindelForm"));
  setWindowTitle(QStringLiteral("Zelmor Quindel"));
  setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, kBackground);
  setPalette(p);
  QFont windowFont(QStringLiteral("Tahoma"));
  windowFont.setPixelSize(11);
  setFont(windowFont);
  setFocusPolicy(Qt::StrongFocus);

  FLinha1 = new QLabel(this);
  FLinha1->setObjectName(QStringLiteral("lbLinha1"));
  StyleLine(FLinha1);
  FLinha1->setGeometry(0, 0, 680, 32);
  FLinha2 = new QLabel(this);
  FLinha2->setObjectName(QStringLiteral("lbLinha2"));
  StyleLine(FLinha2);
  FLinha2->setGeometry(0, 32, 680, 32);
  FLine1 = FLine2 = QString::fromLatin1(kRuler);
  setFixedSize(685, 76);

  // Restored on every show, stored on every accepted close; hooked before FormCreate runs.
  FFormPosition = zelmor::adapters::AttachFormPosition(this, [this](const QString& m) { FErrors.Show(m); });
  FFormPosition->SetRestore({zelmor::TRestore::Position});
  FFormPosition->Loaded();
}

std::unique_ptr<TQuindelForm> TQuindelForm::Create(quint16 port, StartupReport* report) {
  std::unique_ptr<TQuindelForm> form(new TQuindelForm(port));
  StartupReport r = form->FormCreate(form.get());
  if (report) *report = std::move(r);
  return form;
}

StartupReport TQuindelForm::FormCreate(QObject*) {
  const auto fail = [this](StartupReport::Step step, const QString& message) {
    FErrors.Show(message);
    return StartupReport{step, message};
  };
  // 1-2. The font file next to the executable, unpacked when missing.
  FArquivoFonte = ToQString(TmFile::DirExe()) + QString::fromLatin1(kFontFileName);
  try {
    UnpackFont(FArquivoFonte);
  } catch (const std::exception& e) {
    return fail(StartupReport::Step::FontFile, QString::fromUtf8(e.what()));
  }
  // 3. Registration failure is not fatal: the labels get a substitute typeface.
  FFontRegistered = RegisterFont(FArquivoFonte);
  if (!FFontRegistered)
    Diagnose(
        QStringLiteral("the font file %1 could not be registered; using a substitute typeface").arg(FArquivoFonte));

  // 4-6. Lines in the LCD typeface; the window is sized once from the ruler text.
  QFont lcd(QString::fromLatin1(kFontFamily));
  lcd.setPointSize(34);
  // The dots sit on whole pixels at this size already; hinting would pull their rows off the even grid
  // and lift capital accents out of the line.
  lcd.setHintingPreference(QFont::PreferNoHinting);
  FLinha1->setFont(lcd);
  FLinha1->adjustSize();
  FLinha1->move(0, 0);
  FLinha2->setFont(FLinha1->font());
  FLinha2->move(0, FLinha1->y() + FLinha1->height());
  FLinha2->adjustSize();
  setFixedSize(FLinha1->width(), 2 * FLinha1->height() + 4);

  // 7. The listener belongs to the application object: it lives until the program ends.
  FServidorSocket = new zelmor::adapters::SocketServer(QCoreApplication::instance());
  connect(FServidorSocket, &zelmor::adapters::SocketServer::ClientRead, this,
          [this](zelmor::adapters::ClientConnection* c) { ServidorSocketClientRead(FServidorSocket, c); });
  connect(FServidorSocket, &zelmor::adapters::SocketServer::ClientError, this,
          [this](const QString& message) { FErrors.Show(message); });
  connect(FServidorSocket, &zelmor::adapters::SocketServer::Notice, this, [](const QString& m) { Diagnose(m); });
  try {
    FServidorSocket->Open(FPort);
  } catch (const zelmor::platform::SocketError& e) {
    // The system's words first, as always; then what the operator can do about it.
    return fail(StartupReport::Step::Listener,
                QString::fromLocal8Bit(e.what()) +
                    QStringLiteral("\n\nThe display could not listen on TCP port %1. If another program (or another "
                                   "quindel) holds it, end that program or start this one on another port: "
                                   "quindel --port N.")
                        .arg(FPort));
  }

  // 8. Start-up texts.
  SetLines(ToQString(TmStr::PadCenter(u"Zelmor Quindel", 40, u' ')),
           ToQString(TmStr::PadCenter(u"- aguardando comunicacao -", 40, u' ')));
  return {};
}

void TQuindelForm::SetLines(const QString& line1, const QString& line2) {
  FLine1 = line1;
  FLine2 = line2;
  FLinha1->setText(line1.left(kVisibleLimit));
  FLinha1->adjustSize();
  FLinha2->setText(line2.left(kVisibleLimit));
  FLinha2->adjustSize();
  emit LinesChanged(FLine1, FLine2);
}

void TQuindelForm::ShowMessage(const std::u16string& text) {
  const MessageLines lines = LinesOf(text);
  SetLines(ToQString(lines.Line1), ToQString(lines.Line2));
}

void TQuindelForm::ServidorSocketClientRead(QObject*, zelmor::adapters::ClientConnection* Socket) {
  try {
    const MessageLines lines = LinesOfBytes(Socket->ReceiveBuf(Socket->ReceiveLength()));
    SetLines(ToQString(lines.Line1), ToQString(lines.Line2));
  } catch (const std::exception& e) {
    FErrors.Show(QString::fromUtf8(e.what()));
  }
}

void TQuindelForm::FormKeyDown(QObject*, quint16& Key, Qt::KeyboardModifiers) {
  if (Key != kVkF5) return;
  try {
    // The words around the names are Portuguese: a locale without names of its own
    // lends the Brazilian ones, so the line reads in one language.
    zelmor::TFormatSettings fs = zelmor::FormatSettings();
    if (zelmor::adapters::PlainTimeLocale()) {
      const zelmor::RegionalSettings brazil = zelmor::RegionalSettings::Brazilian();
      fs.LongMonthNames = brazil.LongMonthNames;
      fs.LongDayNames = brazil.LongDayNames;
      fs.ShortMonthNames = brazil.ShortMonthNames;
      fs.ShortDayNames = brazil.ShortDayNames;
    }
    const QString line1 =
        ToQString(TmStr::PadCenter(zelmor::FormatDateTime(u"D 'de' MMMM 'de' YYYY", zelmor::Now(), fs), 40, u' '));
    const QString line2 =
        ToQString(TmStr::PadCenter(zelmor::FormatDateTime(u"(DDDD) HH:NN:SS (ZZZ)", zelmor::Now(), fs), 40, u' '));
    SetLines(line1, line2);
  } catch (const std::exception& e) {
    FErrors.Show(QString::fromUtf8(e.what()));
  }
}

void TQuindelForm::FitCell(const QSize& box, bool fill) {
  if (FLinha1->font().pointSizeF() <= 0) return;  // the design font: start-up stopped before sizing the lines
  QLabel probe;
  probe.setMargin(0);
  probe.setIndent(0);
  probe.setText(QString::fromLatin1(kRuler));
  QFont font = FLinha1->font();
  const auto grid = [&](qreal points) {
    font.setPointSizeF(points);
    probe.setFont(font);
    const QSize line = probe.sizeHint();
    return QSize(line.width(), 2 * line.height() + 4);
  };
  qreal points = font.pointSizeF();
  QSize size = grid(points);
  if (size.width() <= 0 || size.height() <= 0) return;
  if (fill || size.width() > box.width() || size.height() > box.height()) {
    points *= std::min(qreal(box.width()) / size.width(), qreal(box.height()) / size.height());
    if (!fill) points = std::min(points, font.pointSizeF());
    // Text does not scale exactly with the size: step down until the grid fits.
    for (int i = 0; i < 200 && points > 1; ++i) {
      size = grid(points);
      if (size.width() <= box.width() && size.height() <= box.height()) break;
      points -= 0.25;
    }
  }
  font.setPointSizeF(points);
  const QSize line(size.width(), (size.height() - 4) / 2);
  const QSize window = fill ? box : size;
  const QPoint origin((window.width() - line.width()) / 2, (window.height() - size.height()) / 2);
  for (QLabel* label : {FLinha1, FLinha2}) label->setFont(font);
  FLinha1->move(origin);
  FLinha2->move(origin.x(), origin.y() + line.height());
  FLinha1->adjustSize();
  FLinha2->adjustSize();
  setFixedSize(window);
}

QScreen* ScreenOf(const QWidget& window) {
  // Where the window's middle is; the window's own idea of its screen can lag behind a move.
  QScreen* at = QGuiApplication::screenAt(window.frameGeometry().center());
  return at ? at : window.screen();
}

void Place(TQuindelForm& form, QScreen* screen, bool fullScreen) {
  if (fullScreen) {
    QScreen* target = screen ? screen : QGuiApplication::primaryScreen();
    form.setScreen(target);
    form.move(target->geometry().topLeft());
    form.FitCell(target->geometry().size(), true);
    form.showFullScreen();
    return;
  }
  form.show();  // the position component restores the stored place here
  if (screen && !screen->availableGeometry().contains(form.frameGeometry())) {
    const QRect area = screen->availableGeometry();
    form.move(area.x() + (area.width() - form.frameGeometry().width()) / 2,
              area.y() + (area.height() - form.frameGeometry().height()) / 2);
  }
  QScreen* on = ScreenOf(form);
  if (!on) return;
  // The frame's own size is what the window system adds to the client area.
  const QRect area = on->availableGeometry();
  const QSize frameExtra = form.frameGeometry().size() - form.size();
  if (form.frameGeometry().width() <= area.width() && form.frameGeometry().height() <= area.height()) return;
  form.FitCell(area.size() - frameExtra, false);
  const QPoint inside =
      zelmor::adapters::KeepOnScreens(QRect(form.frameGeometry().topLeft(), form.frameGeometry().size()), {area});
  if (inside != form.frameGeometry().topLeft()) form.move(inside);
}

void TQuindelForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F5) {
    quint16 key = kVkF5;
    FormKeyDown(this, key, event->modifiers());
  }
  QWidget::keyPressEvent(event);  // the key is not consumed
}

}  // namespace quindel
