// The please-wait window: a gradient header band, the main and information lines, a
// progress bar with its time line, and Cancel. Not modal: the working code runs on
// and lets the window process its events.
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include "adapters/qt/dialogs_qt.h"
#include "adapters/qt/qstring.h"
#include "dialogs/dbxAguardeUnit.h"
#include "platform/event_pump.h"

namespace zelmor::adapters {
namespace {

constexpr int kClientWidth = 493, kClientHeight = 139;

// The header band: a horizontal gradient from steel blue to the window colour.
class HeaderBand final : public QWidget {
 public:
  using QWidget::QWidget;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    QLinearGradient g(0, 0, width(), 0);
    g.setColorAt(0, QColor(112, 150, 191));
    g.setColorAt(1, palette().color(QPalette::Window));
    p.fillRect(rect(), g);
    p.setPen(palette().color(QPalette::Mid));
    p.drawLine(0, height() - 1, width(), height() - 1);
  }
};

QLabel* Line(QWidget* parent, const char* name, const QString& text, int top, bool bold) {
  auto* l = new QLabel(text, parent);
  l->setObjectName(QString::fromLatin1(name));
  l->setTextFormat(Qt::PlainText);
  QFont f(QStringLiteral("Verdana"));
  f.setPixelSize(11);
  f.setBold(bold);
  l->setFont(f);
  l->setGeometry(9, top, kClientWidth - 17, 15);
  return l;
}

QIcon StopIcon() {
  if (QIcon::hasThemeIcon(QStringLiteral("process-stop"))) return QIcon::fromTheme(QStringLiteral("process-stop"));
  return QApplication::style()->standardIcon(QStyle::SP_BrowserStop);
}

std::uint32_t Ticks() { return platform::Service<platform::EventPump>::Get().Ticks(); }

}  // namespace

WaitWindowQt::WaitWindowQt(bool closable) : QWidget(nullptr), FClosable(closable) {
  setObjectName(QStringLiteral("dbxAguardeForm"));
  setWindowTitle(QStringLiteral("Processando..."));
  Qt::WindowFlags flags = Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (closable) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  setWindowFlags(flags);
  setAttribute(Qt::WA_DeleteOnClose, false);
  setFixedSize(kClientWidth, kClientHeight);
  QFont f(QStringLiteral("MS Sans Serif"));
  f.setPixelSize(11);
  setFont(f);

  auto* band = new HeaderBand(this);
  band->setObjectName(QStringLiteral("ToolBar1"));
  band->setGeometry(0, 0, kClientWidth, 52);
  FMain = Line(this, "PrincLabel", QStringLiteral("Consultando a base de dados"), 58, true);
  FInfo = Line(this, "InfoLabel", QStringLiteral("Aguarde um momento..."), 78, false);
  FBar = new QProgressBar(this);
  FBar->setObjectName(QStringLiteral("pgbSituacao"));
  FBar->setGeometry(9, 100, 385, 17);
  FBar->setRange(0, 0);
  FBar->setTextVisible(false);
  FBar->hide();
  FCancel = new QPushButton(StopIcon(), QStringLiteral("Cancelar"), this);
  FCancel->setObjectName(QStringLiteral("CancelarBtn"));
  FCancel->setGeometry(399, 95, 87, 25);
  FCancel->setEnabled(false);
  FCancel->setFocusPolicy(Qt::ClickFocus);  // not reached by Tab
  connect(FCancel, &QPushButton::clicked, this, &WaitWindowQt::Cancel);
  FTime = new QLabel(this);
  FTime->setObjectName(QStringLiteral("lblTempo"));
  FTime->setTextFormat(Qt::PlainText);
  FTime->setGeometry(9, 122, kClientWidth - 17, 15);
  QPalette navy = FTime->palette();
  navy.setColor(QPalette::WindowText, QColor(0, 0, 128));
  FTime->setPalette(navy);
  FTime->hide();

  if (QScreen* s = QGuiApplication::primaryScreen()) move(s->availableGeometry().center() - rect().center());
}

void WaitWindowQt::Update(const platform::WaitWindow& w) {
  FCancel->setEnabled(w.AllowCancel);
  FRepaintNow = w.RepaintNow;
  if (w.GaugeMax > 0) {
    FBar->setRange(0, w.GaugeMax);
    FBar->setValue(0);
    FBar->show();
    FTime->setText(QString());
    FTime->show();
    FStarted = Ticks();
  } else {
    FTime->hide();
  }
  update();
  if (!w.Info.empty()) {
    FInfo->setText(ToQString(w.Info));
    QPalette p = FInfo->palette();
    p.setColor(QPalette::WindowText, Qt::black);
    FInfo->setPalette(p);
  }
  if (!w.Main.empty()) FMain->setText(ToQString(w.Main));
  if (FRepaintNow) RepaintTexts();
}

void WaitWindowQt::RepaintTexts() {
  if (!isVisible()) return;
  FMain->repaint();
  FInfo->repaint();
  FCancel->repaint();
  if (FTime->isVisible()) FTime->repaint();
}

void WaitWindowQt::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (FRepaintNow) RepaintTexts();
}

void WaitWindowQt::SetPosition(int position) { FBar->setValue(position); }
int WaitWindowQt::Position() const { return std::max(0, FBar->value()); }

void WaitWindowQt::CalculateTime() {
  if (FTime->isHidden()) return;
  FTime->setText(ToQString(TdbxAguardeForm::TextoTempo(Position(), FBar->maximum(), Ticks() - FStarted)));
  if (FRepaintNow) FTime->repaint();
}

void WaitWindowQt::Cancel() {
  FCancelled = true;
  FInfo->setText(QStringLiteral("CANCELANDO OPERAÇÃO..."));
  QPalette p = FInfo->palette();
  p.setColor(QPalette::WindowText, Qt::red);
  FInfo->setPalette(p);
  QCoreApplication::processEvents();
  if (OnCancelClick) OnCancelClick();
}

void WaitWindowQt::closeEvent(QCloseEvent* event) {
  // Without a close box the user cannot close it (Alt+F4 included).
  if (!FClosable) {
    event->ignore();
    return;
  }
  FCancelled = true;
  event->accept();
  platform::Service<platform::Dialogs>::Get().SetAttention(platform::Attention::None);
}

}  // namespace zelmor::adapters
