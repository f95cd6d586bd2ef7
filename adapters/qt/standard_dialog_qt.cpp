// The standard dialog: the text beside the type's icon and a centred row of buttons,
// written here rather than taken from QMessageBox because some buttons must not
// close the dialog when clicked, and one takes the focus without being drawn.
#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "adapters/qt/dialogs_qt.h"
#include "adapters/qt/qstring.h"

namespace zelmor::adapters {
namespace {

// The letter after a single "&" in a caption ("&Sim" → S), or none.
QChar Mnemonic(const QString& caption) {
  for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != u'&') continue;
    if (caption[i + 1] == u'&') {
      ++i;
      continue;
    }
    return caption[i + 1].toUpper();
  }
  return {};
}

}  // namespace

StandardDialogQt::StandardDialogQt(const platform::StandardDialog& d, QWidget* owner) : QDialog(owner), FSpec(d) {
  setObjectName(QStringLiteral("StandardDialog"));
  setWindowTitle(ToQString(d.Caption.empty() ? std::u16string(u" ") : d.Caption));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  if (d.Background) {
    QPalette p = palette();
    p.setColor(QPalette::Window,
               QColor((*d.Background >> 16) & 0xFF, (*d.Background >> 8) & 0xFF, *d.Background & 0xFF));
    setPalette(p);
    setAutoFillBackground(true);
  }

  auto* top = new QHBoxLayout;
  top->setSpacing(12);
  auto* icon = new QLabel;
  icon->setObjectName(QStringLiteral("Image"));
  QPixmap custom;
  if (!d.IconFile.empty()) custom.load(ToQString(d.IconFile));
  if (!custom.isNull())
    icon->setPixmap(custom);
  else if (d.Kind != platform::DialogKind::Custom)
    icon->setPixmap(DialogIcon(d.Kind).pixmap(32, 32));
  icon->setAlignment(Qt::AlignTop);
  if (!icon->pixmap().isNull()) top->addWidget(icon);

  auto* text =
      new QLabel(ToQString(d.Text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n'));
  text->setObjectName(QStringLiteral("Message"));
  text->setTextFormat(Qt::PlainText);
  text->setTextInteractionFlags(Qt::TextSelectableByMouse);
  if (d.Monospaced) {
    QFont f(QStringLiteral("Lucida Console"));
    f.setStyleHint(QFont::Monospace);
    f.setPixelSize(11);
    text->setFont(f);
  } else {
    text->setWordWrap(true);
    // Wide enough for a sentence, never wider than half the screen.
    const int screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry().width() : 1024;
    const int widest = std::max(300, screen / 2);
    const QFontMetrics tm(text->font());
    int natural = 0;
    for (const QString& line : text->text().split(u'\n')) natural = std::max(natural, tm.horizontalAdvance(line));
    text->setMaximumWidth(widest);
    text->setMinimumWidth(std::min(natural + 2, widest));
  }
  top->addWidget(text, 1);

  auto* row = new QHBoxLayout;
  row->setSpacing(7);  // side by side, 7 pixels apart, centred
  row->addStretch();
  const QFontMetrics fm(font());
  for (int i = 0; i < static_cast<int>(d.Buttons.size()); ++i) {
    const platform::DialogButton& b = d.Buttons[static_cast<std::size_t>(i)];
    auto* button = new QPushButton(ToQString(b.Caption));
    button->setObjectName(QStringLiteral("Button%1").arg(b.Result));
    button->setAutoDefault(true);
    if (b.Hidden) {
      // Present and focusable, but 0 × 0: Enter and Space reach it and nothing shows.
      button->setFixedSize(0, 0);
      button->setFlat(true);
    } else {
      int width = 75;
      if (d.WidenButtons) width = std::max(width, fm.horizontalAdvance(QString(button->text()).remove(u'&')) + 6 + 16);
      button->setMinimumSize(width, 25);
      row->addWidget(button);
    }
    connect(button, &QPushButton::clicked, this, [this, i] { Press(i); });
    FButtons.push_back(button);
  }
  row->addStretch();
  // The hidden ones go after, outside the visible row's spacing.
  for (QPushButton* b : FButtons)
    if (b->width() == 0 && b->maximumWidth() == 0) row->addWidget(b);

  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(16, 16, 16, 12);
  outer->setSpacing(16);
  outer->addLayout(top);
  outer->addLayout(row);
  outer->setSizeConstraint(QLayout::SetFixedSize);

  if (d.CountsDown) {
    FTimer = new QTimer(this);
    FTimer->setInterval(1000);
    FTimer->setTimerType(Qt::PreciseTimer);
    connect(FTimer, &QTimer::timeout, this, &StandardDialogQt::Tick);
  }
}

void StandardDialogQt::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  int focus = FSpec.FocusButton;
  if (focus < 0 || focus >= FButtons.size()) {
    focus = -1;
    for (int i = 0; i < FButtons.size() && focus < 0; ++i)
      if (!FSpec.Buttons[static_cast<std::size_t>(i)].Hidden) focus = i;
  }
  if (focus >= 0) FButtons[focus]->setFocus();
  if (QScreen* s = QGuiApplication::primaryScreen()) {
    QPoint at = s->availableGeometry().center() - rect().center();
    if (FSpec.Monospaced) at.setX(s->geometry().width() / 2 - width() / 2);
    if (FSpec.Top > 0) at.setY(FSpec.Top);
    if (FSpec.Left > 0) at.setX(FSpec.Left);
    move(at);
  }
  if (FTimer) FTimer->start();
}

void StandardDialogQt::Press(int index) {
  const platform::DialogButton& b = FSpec.Buttons[static_cast<std::size_t>(index)];
  if (b.OnClick) b.OnClick();
  if (b.Closes) done(b.Result);
}

// The focused button's caption holds the count: its digits, less one, as "&Ok [n]".
void StandardDialogQt::Tick() {
  QPushButton* button = nullptr;
  for (QPushButton* b : FButtons)
    if (b->hasFocus()) button = b;
  if (!button && !FButtons.isEmpty()) button = FButtons.front();
  if (!button) return;
  static const QRegularExpression nonDigits(QStringLiteral("[^0-9]"));
  const QString digits = button->text().remove(nonDigits);
  const int n = (digits.isEmpty() ? 1 : digits.left(9).toInt()) - 1;
  button->setText(QStringLiteral("&Ok [%1]").arg(n));
  if (n <= 0) {
    FTimer->stop();
    button->click();
  }
}

void StandardDialogQt::keyPressEvent(QKeyEvent* event) {
  // A button's letter alone presses it, as Alt with the letter does.
  if (event->modifiers() == Qt::NoModifier && !event->text().isEmpty()) {
    const QChar c = event->text().front().toUpper();
    for (int i = 0; i < FButtons.size(); ++i) {
      if (!FSpec.Buttons[static_cast<std::size_t>(i)].Hidden && Mnemonic(FButtons[i]->text()) == c && c.isLetter()) {
        FButtons[i]->click();
        return;
      }
    }
  }
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    done(0);
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace zelmor::adapters
