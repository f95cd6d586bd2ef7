// The message window: white message area with icon, headline and body, the button
// bar, the fold-out details with saving, the countdown on OK and Ctrl+C.
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QToolButton>

#include "adapters/qt/dialogs_qt.h"
#include "adapters/qt/qstring.h"
#include "adapters/qt/text_metrics_qt.h"
#include "dialogs/mMensagemPlus.h"
#include "strings/mString.h"

namespace zelmor::adapters {
namespace {

// Design sizes (pixels at 96 dpi).
constexpr int kBodyLeft = 59, kBodyTop = 60, kBarHeight = 41, kMinWidth = 370, kMinHeight = 212;
constexpr int kDetailsExtra = 165;

QColor Rgb(std::uint32_t c) { return QColor((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }

QFont PixelFont(const QString& family, int pixels, bool fixedPitch = false) {
  QFont f(family);
  f.setPixelSize(pixels);
  if (fixedPitch) f.setStyleHint(QFont::Monospace);
  return f;
}

// A push-pin, drawn: no theme names one reliably.
QIcon PinIcon() {
  if (QIcon::hasThemeIcon(QStringLiteral("window-pin"))) return QIcon::fromTheme(QStringLiteral("window-pin"));
  QPixmap pm(16, 16);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(90, 90, 90), 1.5));
  p.drawLine(QPointF(8, 8), QPointF(8, 15));
  p.setBrush(QColor(200, 30, 30));
  p.drawEllipse(QPointF(8, 5), 4, 4);
  return QIcon(pm);
}

QIcon Chevron(bool up) {
  const QString name = up ? QStringLiteral("go-up") : QStringLiteral("go-down");
  if (QIcon::hasThemeIcon(name)) return QIcon::fromTheme(name);
  return QApplication::style()->standardIcon(up ? QStyle::SP_ArrowUp : QStyle::SP_ArrowDown);
}

QString CaptionWithCount(int seconds) { return QStringLiteral("&OK[%1]").arg(seconds); }

}  // namespace

MessageWindowQt::MessageWindowQt(const platform::MessageWindow& w, QWidget* owner)
    : QDialog(owner), FSpec(w), FMaxTempo(w.Countdown) {
  setObjectName(QStringLiteral("mDialogForm"));
  setWindowTitle(ToQString(w.Caption));
  // Single fixed border, close box only.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

  FMainPanel = new QWidget(this);
  FMainPanel->setObjectName(QStringLiteral("MainPanel"));
  FMainPanel->setAutoFillBackground(true);
  QPalette white = FMainPanel->palette();
  white.setColor(QPalette::Window, Qt::white);
  FMainPanel->setPalette(white);

  FIcon = new QLabel(FMainPanel);
  FIcon->setObjectName(QStringLiteral("IconeImg"));
  FIcon->setGeometry(16, 16, 32, 32);
  if (w.Icon) FIcon->setPixmap(DialogIcon(w.Kind).pixmap(32, 32));

  FHeadline = new QLabel(FMainPanel);
  FHeadline->setObjectName(QStringLiteral("MensLabel"));
  FHeadline->setTextFormat(Qt::PlainText);
  FHeadline->setFont(PixelFont(QStringLiteral("Arial"), 15));
  QPalette hp = FHeadline->palette();
  hp.setColor(QPalette::WindowText, Rgb(w.HeadlineColour));
  FHeadline->setPalette(hp);
  FHeadline->setText(ToQString(w.Headline));

  FBodyArea = new QScrollArea(FMainPanel);
  FBodyArea->setObjectName(QStringLiteral("BodyArea"));
  FBodyArea->setFrameShape(QFrame::NoFrame);
  FBodyArea->setWidgetResizable(false);
  FBodyArea->viewport()->setAutoFillBackground(false);
  FBody = new QLabel;
  FBody->setObjectName(QStringLiteral("BodyLabel"));
  FBody->setTextFormat(Qt::PlainText);
  FBody->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  FBody->setTextInteractionFlags(Qt::TextSelectableByMouse);
  FBody->setFont(w.Monospaced ? PixelFont(QStringLiteral("Lucida Console"), 11, true)
                              : PixelFont(QStringLiteral("Tahoma"), 11));
  FBodyArea->setWidget(FBody);

  FLine = new QWidget(FMainPanel);
  FLine->setObjectName(QStringLiteral("Shape2"));
  FLine->setAutoFillBackground(true);
  QPalette silver = FLine->palette();
  silver.setColor(QPalette::Window, QColor(192, 192, 192));
  FLine->setPalette(silver);

  FPause = new QToolButton(FMainPanel);
  FPause->setObjectName(QStringLiteral("btPause"));
  FPause->setAutoRaise(true);
  FPause->setIcon(PinIcon());
  FPause->setToolTip(QStringLiteral("Parar o contador para fechar a tela"));
  FPause->setFocusPolicy(Qt::NoFocus);
  FPause->hide();
  connect(FPause, &QToolButton::clicked, this, &MessageWindowQt::StopCountdown);

  FButtonBar = new QWidget(FMainPanel);
  FButtonBar->setObjectName(QStringLiteral("Panel1"));
  FButtonBar->setAutoFillBackground(true);
  FButtonBar->setPalette(QApplication::palette());
  FOkBtn = new QPushButton(ToQString(w.OkCaption), FButtonBar);
  FOkBtn->setObjectName(QStringLiteral("OkBtn"));
  FCancelBtn = new QPushButton(ToQString(w.CancelCaption), FButtonBar);
  FCancelBtn->setObjectName(QStringLiteral("CancelarBtn"));
  FDetailsBtn = new QPushButton(QStringLiteral("&Detalhes"), FButtonBar);
  FDetailsBtn->setObjectName(QStringLiteral("DetalhesBtn"));
  FDetailsBtn->setIcon(Chevron(false));
  FDetailsBtn->setLayoutDirection(Qt::RightToLeft);  // the picture right of the text
  for (QPushButton* b : {FOkBtn, FCancelBtn, FDetailsBtn}) b->setAutoDefault(true);
  FOkBtn->setFixedSize(w.OkWidth, 25);
  FCancelBtn->setFixedSize(75, 25);
  FDetailsBtn->setFixedSize(81, 25);
  FCancelBtn->setVisible(w.CancelShown);
  FDetailsBtn->setVisible(!w.Details.empty());
  if (w.CancelFirst && w.CancelShown) {
    setTabOrder(FCancelBtn, FOkBtn);
    setTabOrder(FOkBtn, FDetailsBtn);
  } else {
    setTabOrder(FOkBtn, FCancelBtn);
    setTabOrder(FCancelBtn, FDetailsBtn);
  }
  connect(FOkBtn, &QPushButton::clicked, this, [this] {
    FTimer->stop();
    FOk = true;
    accept();
  });
  connect(FCancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  connect(FDetailsBtn, &QPushButton::clicked, this, &MessageWindowQt::ToggleDetails);

  FDetailsPanel = new QWidget(this);
  FDetailsPanel->setObjectName(QStringLiteral("DetalhesPanel"));
  FMemo = new QPlainTextEdit(FDetailsPanel);
  FMemo->setObjectName(QStringLiteral("DetalhesMemo"));
  FMemo->setReadOnly(true);
  FMemo->setFont(PixelFont(QStringLiteral("Courier New"), 11, true));
  FMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  FMemo->setPlainText(ToQString(w.Details).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  FSaveBtn = new QPushButton(QStringLiteral("S&alvar..."), FDetailsPanel);
  FSaveBtn->setObjectName(QStringLiteral("SalvarBtn"));
  FSaveBtn->setFixedSize(75, 25);
  connect(FSaveBtn, &QPushButton::clicked, this, &MessageWindowQt::SaveDetails);
  FDetailsPanel->hide();

  FTimer = new QTimer(this);
  FTimer->setObjectName(QStringLiteral("tmrOK"));
  FTimer->setInterval(1000);
  FTimer->setTimerType(Qt::PreciseTimer);  // a coarse timer may fire 5% early
  connect(FTimer, &QTimer::timeout, this, &MessageWindowQt::Tick);

  AskFileName = [this] {
    QFileDialog sd(this, QString(), QString(), QStringLiteral("Arquivos texto (*.txt);;Todos os arquivos (*.*)"));
    sd.setObjectName(QStringLiteral("SD"));
    sd.setAcceptMode(QFileDialog::AcceptSave);
    sd.setFileMode(QFileDialog::AnyFile);
    sd.setDefaultSuffix(QStringLiteral("txt"));
    sd.selectFile(QStringLiteral("mensagem_ombrix.txt"));
    sd.setOption(QFileDialog::DontUseNativeDialog);
    return sd.exec() == QDialog::Accepted && !sd.selectedFiles().isEmpty() ? sd.selectedFiles().first() : QString();
  };
  SizeWindow();
}

// The folded and unfolded sizes, fixed once. The body is laid out here with the same
// rule it is measured with, and only the window is clamped to the screen: the body
// scrolls inside it.
void MessageWindowQt::SizeWindow() {
  QScreen* screen = QGuiApplication::primaryScreen();
  const QRect avail = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  const int screenWidth = screen ? screen->geometry().width() : 1024;
  const int w = (screenWidth - kBodyLeft - 40) / 2;
  const QtTextMetrics bodyMetrics(FBody->font());
  const TmStr::TStringInfo info = TmStr::GetStringInfo(FSpec.Body, bodyMetrics, w);
  QString laidOut = ToQString(info.ScreenText);
  laidOut.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  FBody->setText(laidOut);
  const QFontMetrics hm(FHeadline->font());
  const int t = hm.horizontalAdvance(FHeadline->text());
  FBodySize = QSize(info.MaxLineWidth, std::max(info.TextHeight, FBody->sizeHint().height()));
  FBody->resize(std::max(FBodySize.width(), FBody->sizeHint().width()), FBodySize.height());

  int width = std::max(t, info.MaxLineWidth) + kBodyLeft + 20;
  int height = kBodyTop + FBodySize.height() + kBarHeight + 20;
  width = std::min(std::max(width, kMinWidth), avail.width());
  height = std::min(std::max(height, kMinHeight), avail.height() - 40);
  FNormalSize = QSize(width, height);
  FExpandedSize = QSize(width + 8, std::min(height + kDetailsExtra, avail.height() - 40));
  setMinimumSize(kMinWidth, kMinHeight);
  setFixedSize(FNormalSize);
}

void MessageWindowQt::Relayout() {
  const int w = width();
  const int mainHeight = FExpanded ? FNormalSize.height() : height();
  FMainPanel->setGeometry(0, 0, w, mainHeight);
  FHeadline->setGeometry(kBodyLeft, 25, std::max(0, w - kBodyLeft - 16), 17);
  const int bodyHeight = std::max(0, mainHeight - kBodyTop - kBarHeight - 10);
  FBodyArea->setGeometry(kBodyLeft, kBodyTop, std::max(0, w - kBodyLeft - 10), bodyHeight);
  FButtonBar->setGeometry(0, mainHeight - kBarHeight, w, kBarHeight);
  FLine->setGeometry(0, mainHeight - kBarHeight - 1, w, 1);
  FPause->setGeometry(5, mainHeight - kBarHeight - 24, 23, 22);
  const int cancelLeft = w - 80;
  FCancelBtn->move(cancelLeft, 8);
  FOkBtn->move(FSpec.CancelShown ? cancelLeft - 7 - FOkBtn->width() : cancelLeft, 8);
  FDetailsBtn->move(12, 8);
  if (FExpanded) {
    FDetailsPanel->setGeometry(0, mainHeight, w, height() - mainHeight);
    FMemo->setGeometry(0, 0, w, FDetailsPanel->height() - 33);
    FSaveBtn->move(w - 80, FDetailsPanel->height() - 33 + 5);
  }
}

void MessageWindowQt::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  Relayout();
}

void MessageWindowQt::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!FSized) {
    FSized = true;
    FTimer->stop();
    if (FMaxTempo > 0 && FOkBtn->text() == QStringLiteral("&OK")) {
      FPause->show();
      FOkBtn->setText(CaptionWithCount(FMaxTempo));
      FTimer->start();
    }
    if (FSpec.CentreOnOwner && QApplication::activeWindow() && QApplication::activeWindow() != this) {
      const QRect o = QApplication::activeWindow()->frameGeometry();
      move(o.center() - rect().center());
    } else if (QScreen* s = QGuiApplication::primaryScreen()) {
      move(s->availableGeometry().center() - rect().center());
    }
    (FSpec.CancelFirst && FSpec.CancelShown ? FCancelBtn : FOkBtn)->setFocus();
  }
  raise();
  activateWindow();
}

void MessageWindowQt::Tick() {
  --FMaxTempo;
  if (FMaxTempo > 0) {
    FOkBtn->setText(CaptionWithCount(FMaxTempo));
    return;
  }
  FTimer->stop();
  FOkBtn->click();
}

void MessageWindowQt::StopCountdown() {
  FTimer->stop();
  FPause->hide();
  FOkBtn->setText(QStringLiteral("OK"));
}

void MessageWindowQt::ToggleDetails() {
  if (FTimer->isActive() || FPause->isVisible()) StopCountdown();
  FExpanded = !FExpanded;
  if (FExpanded) {
    FDetailsPanel->show();
    setMinimumSize(kMinWidth, FExpandedSize.height());
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);  // resizable while unfolded
    resize(FExpandedSize);
    FDetailsBtn->setIcon(Chevron(true));
  } else {
    FDetailsPanel->hide();
    setFixedSize(FNormalSize);
    FDetailsBtn->setIcon(Chevron(false));
  }
  Relayout();
}

void MessageWindowQt::SaveDetails() {
  const QString name = AskFileName ? AskFileName() : QString();
  if (name.isEmpty()) return;
  // UTF-8 with CR LF: every character of the details survives.
  QString text = FMemo->toPlainText();
  text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  QSaveFile f(name);
  if (!f.open(QIODevice::WriteOnly) || f.write(text.toUtf8() + "\r\n") < 0 || !f.commit()) {
    platform::Service<platform::Dialogs>::Get().ShowMessage(
        FromQString(QStringLiteral("Não foi possível gravar \"%1\": %2").arg(name, f.errorString())));
  }
}

void MessageWindowQt::CopyMessage() {
  if (FExpanded) return;
  const std::u16string text = TmDialogForm::TextoCopia(FSpec.Headline, FSpec.Body);
  QGuiApplication::clipboard()->setText(ToQString(text));
}

void MessageWindowQt::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    reject();
    return;
  }
  // Ctrl alone with C (the buttons pass it on; the details memo, which would keep it,
  // is hidden while folded). Not a shortcut: those wait for the window to be active.
  if (event->key() == Qt::Key_C && event->modifiers() == Qt::ControlModifier) {
    CopyMessage();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace zelmor::adapters
