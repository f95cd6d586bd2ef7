#include "app/QuindelUnit.h"

#include <QCoreApplication>
#include <QFont>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPalette>
#include <cstdio>

#include "adapters/qt/form_window_qt.h"
#include "adapters/qt/qstring.h"
#include "app/lcd_font.h"
#include "calendar/calendar.h"
#include "core/text.h"
#include "mFileUtil.h"
#include "format/format_datetime.h"
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

TQuindelForm::TQuindelForm(quint16 port, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
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

  lbLinha1 = new QLabel(this);
  lbLinha1->setObjectName(QStringLiteral("lbLinha1"));
  StyleLine(lbLinha1);
  lbLinha1->setGeometry(0, 0, 680, 32);
  lbLinha2 = new QLabel(this);
  lbLinha2->setObjectName(QStringLiteral("lbLinha2"));
  StyleLine(lbLinha2);
  lbLinha2->setGeometry(0, 32, 680, 32);
  setFixedSize(685, 76);

  // Restored on every show, stored on every accepted close; hooked before FormCreate runs.
  FormPosition1 = zelmor::adapters::AttachFormPosition(this, [this](const QString& m) { FErrors.Show(m); });
  FormPosition1->SetRestore({zelmor::TRestore::Position});
  FormPosition1->Loaded();

  FormCreate(this);
}

void TQuindelForm::FormCreate(QObject*) {
  // 1-2. The font file next to the executable, unpacked when missing.
  ArquivoFonte = ToQString(TmFile::DirExe()) + QString::fromLatin1(kFontFileName);
  try {
    UnpackFont(ArquivoFonte);
  } catch (const std::exception& e) {
    FErrors.Show(QString::fromUtf8(e.what()));
    return;
  }
  // 3. Registration failure is not fatal: the labels get a substitute typeface.
  FFontRegistered = RegisterFont(ArquivoFonte);
  if (!FFontRegistered)
    Diagnose(QStringLiteral("the font file %1 could not be registered; using a substitute typeface").arg(ArquivoFonte));

  // 4-6. Lines in the LCD typeface; the window is sized once from the ruler text.
  QFont lcd(QString::fromLatin1(kFontFamily));
  lcd.setPointSize(34);
  // The dots sit on whole pixels at this size already; hinting would pull their rows off the even grid
  // and lift capital accents out of the line.
  lcd.setHintingPreference(QFont::PreferNoHinting);
  lbLinha1->setFont(lcd);
  lbLinha1->adjustSize();
  lbLinha1->move(0, 0);
  lbLinha2->setFont(lbLinha1->font());
  lbLinha2->move(0, lbLinha1->y() + lbLinha1->height());
  lbLinha2->adjustSize();
  setFixedSize(lbLinha1->width(), 2 * lbLinha1->height() + 4);

  // 7. The listener belongs to the application object: it lives until the program ends.
  ServidorSocket = new zelmor::adapters::SocketServer(QCoreApplication::instance());
  connect(ServidorSocket, &zelmor::adapters::SocketServer::ClientRead, this,
          [this](zelmor::adapters::ClientConnection* c) { ServidorSocketClientRead(ServidorSocket, c); });
  connect(ServidorSocket, &zelmor::adapters::SocketServer::ClientError, this,
          [this](const QString& message, int) { FErrors.Show(message); });
  connect(ServidorSocket, &zelmor::adapters::SocketServer::Notice, this, [](const QString& m) { Diagnose(m); });
  try {
    ServidorSocket->Open(FPort);
  } catch (const zelmor::platform::SocketError& e) {
    FErrors.Show(QString::fromLocal8Bit(e.what()));
    return;
  }

  // 8. Start-up texts.
  SetLines(ToQString(TmStr::PadCenter(u"Zelmor Quindel", 40, u' ')),
           ToQString(TmStr::PadCenter(u"- aguardando comunicacao -", 40, u' ')));
}

void TQuindelForm::SetLines(const QString& line1, const QString& line2) {
  lbLinha1->setText(line1.left(kVisibleLimit));
  lbLinha1->adjustSize();
  lbLinha2->setText(line2.left(kVisibleLimit));
  lbLinha2->adjustSize();
  emit LinesChanged(line1, line2);
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
    const QString line1 = ToQString(TmStr::PadCenter(
        zelmor::FormatDateTime(u"D 'de' MMMM 'de' YYYY", zelmor::Now()), 40, u' '));
    const QString line2 =
        ToQString(TmStr::PadCenter(zelmor::FormatDateTime(u"(DDDD) HH:NN:SS (ZZZ)", zelmor::Now()), 40, u' '));
    SetLines(line1, line2);
  } catch (const std::exception& e) {
    FErrors.Show(QString::fromUtf8(e.what()));
  }
}

void TQuindelForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F5) {
    quint16 key = kVkF5;
    FormKeyDown(this, key, event->modifiers());
  }
  QWidget::keyPressEvent(event);  // the key is not consumed
}

}  // namespace quindel
