#include "adapters/qt/controls_qt.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStyle>
#include <QTextEdit>

#include "adapters/qt/qstring.h"
#include "core/errors.h"

namespace zelmor::adapters {

// ---- Controls ----

QtControl::QtControl(QWidget* widget) : QObject(widget), FWidget(widget) {
  setObjectName(QStringLiteral("zelmor-control"));
}

QtControl* QtControl::Of(QWidget* widget) {
  if (!widget) return nullptr;
  if (auto* c = widget->findChild<QtControl*>(QStringLiteral("zelmor-control"), Qt::FindDirectChildrenOnly)) return c;
  return new QtControl(widget);
}

std::u16string QtControl::Name() const { return FWidget ? FromQString(FWidget->objectName()) : std::u16string(); }

std::u16string QtControl::ClassName() const {
  return FWidget ? FromQString(QString::fromLatin1(FWidget->metaObject()->className())) : std::u16string();
}

platform::ControlKind QtControl::Kind() const {
  using platform::ControlKind;
  if (!FWidget) return ControlKind::Other;
  if (FWidget->isWindow()) return ControlKind::Form;
  if (qobject_cast<QTextEdit*>(FWidget) || qobject_cast<QPlainTextEdit*>(FWidget)) return ControlKind::Edit;
  if (qobject_cast<QLineEdit*>(FWidget)) {
    // The editor inside a spin box or combo box is part of that control.
    QWidget* up = FWidget->parentWidget();
    const bool inner = qobject_cast<QAbstractSpinBox*>(up) || qobject_cast<QComboBox*>(up);
    return inner ? ControlKind::Other : ControlKind::Edit;
  }
  const QMetaObject* m = FWidget->metaObject();
  if (m == &QWidget::staticMetaObject || m == &QFrame::staticMetaObject || m == &QGroupBox::staticMetaObject)
    return ControlKind::Panel;
  return ControlKind::Other;
}

std::u16string QtControl::Text() const {
  if (Kind() != platform::ControlKind::Edit) return {};
  if (auto* e = qobject_cast<QLineEdit*>(FWidget)) return FromQString(e->text());
  if (auto* e = qobject_cast<QTextEdit*>(FWidget)) return FromQString(e->toPlainText());
  if (auto* e = qobject_cast<QPlainTextEdit*>(FWidget)) return FromQString(e->toPlainText());
  return {};
}

void QtControl::SetText(std::u16string_view text) {
  if (Kind() != platform::ControlKind::Edit) return;
  if (auto* e = qobject_cast<QLineEdit*>(FWidget)) e->setText(ToQString(text));
  if (auto* e = qobject_cast<QTextEdit*>(FWidget)) e->setPlainText(ToQString(text));
  if (auto* e = qobject_cast<QPlainTextEdit*>(FWidget)) e->setPlainText(ToQString(text));
}

std::u16string QtControl::Caption() const {
  if (!FWidget) return {};
  if (FWidget->isWindow()) return FromQString(FWidget->windowTitle());
  if (auto* b = qobject_cast<QAbstractButton*>(FWidget)) return FromQString(b->text());
  if (auto* l = qobject_cast<QLabel*>(FWidget)) return FromQString(l->text());
  if (auto* g = qobject_cast<QGroupBox*>(FWidget)) return FromQString(g->title());
  return {};
}

// The widget's own flag (Qt marks the children of a disabled widget disabled too):
// a disabled parent is the focus rule's business.
bool QtControl::Enabled() const { return FWidget && !FWidget->testAttribute(Qt::WA_ForceDisabled); }
void QtControl::SetEnabled(bool enabled) {
  if (FWidget) FWidget->setEnabled(enabled);
}
bool QtControl::Visible() const { return FWidget && !FWidget->isHidden(); }

platform::Control* QtControl::Parent() const {
  return FWidget && !FWidget->isWindow() ? Of(FWidget->parentWidget()) : nullptr;
}

std::vector<platform::Control*> QtControl::Children() const {
  std::vector<platform::Control*> out;
  if (!FWidget) return out;
  for (QWidget* w : FWidget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (!w->isWindow()) out.push_back(Of(w));
  return out;
}

std::vector<platform::Control*> QtControl::Components() const {
  std::vector<platform::Control*> out;
  if (!FWidget) return out;
  for (QWidget* w : FWidget->findChildren<QWidget*>())
    if (!w->isWindow()) out.push_back(Of(w));
  return out;
}

int QtControl::TabOrder() const {
  // Qt keeps the tab order as a chain: the position in it from the window.
  if (!FWidget) return -1;
  QWidget* start = FWidget->window();
  int i = 0;
  for (QWidget* w = start->nextInFocusChain(); w && w != start && i < 100000; w = w->nextInFocusChain(), ++i)
    if (w == FWidget) return i;
  return i;
}

// A window's bounds are its frame's on the screen; a child's are in its parent.
int QtControl::Left() const { return !FWidget ? 0 : FWidget->isWindow() ? FWidget->frameGeometry().x() : FWidget->x(); }
int QtControl::Top() const { return !FWidget ? 0 : FWidget->isWindow() ? FWidget->frameGeometry().y() : FWidget->y(); }
int QtControl::Width() const {
  return !FWidget ? 0 : FWidget->isWindow() ? FWidget->frameGeometry().width() : FWidget->width();
}
int QtControl::Height() const {
  return !FWidget ? 0 : FWidget->isWindow() ? FWidget->frameGeometry().height() : FWidget->height();
}

platform::Point QtControl::ClientToScreen(platform::Point client) const {
  if (!FWidget) return client;
  const QPoint p = FWidget->mapToGlobal(QPoint(client.X, client.Y));
  return {p.x(), p.y()};
}

bool QtControl::TakeFocus() {
  if (!FWidget || FWidget->focusPolicy() == Qt::NoFocus) return false;
  FWidget->setFocus(Qt::OtherFocusReason);
  return true;
}

bool QtControl::Focused() const { return FWidget && FWidget->hasFocus(); }
bool QtControl::HasWindow() const { return !FWidget.isNull(); }

void QtControl::SetBalloon(std::u16string_view text, std::u16string_view title, int) {
  if (!FWidget) return;
  FWidget->setToolTip(
      QStringLiteral("<b>%1</b><br>%2")
          .arg(ToQString(title).toHtmlEscaped(), ToQString(text).toHtmlEscaped().replace(u'\n', "<br>")));
}

// ---- Menus ----

QtMenuItem::QtMenuItem(QAction* action) : QObject(action), FAction(action) {
  setObjectName(QStringLiteral("zelmor-menu-item"));
}

QtMenuItem* QtMenuItem::Of(QAction* action) {
  if (!action) return nullptr;
  if (auto* m = action->findChild<QtMenuItem*>(QStringLiteral("zelmor-menu-item"), Qt::FindDirectChildrenOnly))
    return m;
  return new QtMenuItem(action);
}

std::u16string QtMenuItem::Caption() const { return FAction ? FromQString(FAction->text()) : std::u16string(); }

platform::MenuItem* QtMenuItem::Parent() const {
  if (!FAction) return nullptr;
  // The menu the action was added to; the menu's own action stands for it as an item.
  for (QObject* o : FAction->associatedObjects())
    if (auto* menu = qobject_cast<QMenu*>(o); menu && menu->menuAction() != FAction) return Of(menu->menuAction());
  return nullptr;
}

bool QtMenuItem::Visible() const { return FAction && FAction->isVisible(); }
bool QtMenuItem::Enabled() const { return FAction && FAction->isEnabled(); }

void QtPopupMenu::Popup(platform::Point screen) {
  if (FMenu) FMenu->popup(QPoint(screen.X, screen.Y));
}

// ---- Forms ----

QtForms::~QtForms() {
  for (const QPointer<QWidget>& w : FAdopted) delete w.data();
}

std::vector<platform::Control*> QtForms::ApplicationForms() const {
  std::vector<platform::Control*> out;
  for (const QPointer<QWidget>& w : FAdopted)
    if (w) out.push_back(QtControl::Of(w));
  return out;
}

void QtForms::Adopt(platform::Control* form) {
  if (auto* c = dynamic_cast<QtControl*>(form); c && c->Widget()) FAdopted.emplace_back(c->Widget());
}

std::vector<platform::Control*> QtForms::ScreenForms() const {
  std::vector<platform::Control*> out;
  QWidget* active = QApplication::activeWindow();
  if (active && active->isVisible()) out.push_back(QtControl::Of(active));
  for (QWidget* w : QApplication::topLevelWidgets()) {
    const Qt::WindowType type = w->windowType();
    if (w == active || !w->isVisible() || (type != Qt::Window && type != Qt::Dialog)) continue;
    out.push_back(QtControl::Of(w));
  }
  return out;
}

int QtForms::MenuBarHeight() const { return QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight); }

bool QtForms::BringToFront(platform::Control* form) {
  auto* control = dynamic_cast<QtControl*>(form);
  if (control == nullptr || control->Widget() == nullptr) return false;
  QWidget* window = control->Widget()->window();
  if (window->isMinimized()) window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
  if (QApplication::activeWindow() == window) return true;
  window->raise();
  window->activateWindow();
  // Activation is the window system's answer, which comes as an event.
  QElapsedTimer waited;
  waited.start();
  while (QApplication::activeWindow() != window && waited.elapsed() < 500)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  return QApplication::activeWindow() == window;
}

// ---- The printer ----

QtPrinter::QtPrinter(QString pdfFile) : FPdfFile(std::move(pdfFile)) {}
QtPrinter::~QtPrinter() {
  if (FPainter && FPainter->isActive()) FPainter->end();
}

void QtPrinter::BeginDoc() {
  FPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
  if (!FPdfFile.isEmpty()) {
    FPrinter->setOutputFormat(QPrinter::PdfFormat);
    FPrinter->setOutputFileName(FPdfFile);
  } else if (QPrinterInfo::defaultPrinter().isNull()) {
    FPrinter.reset();
    throw EZelmorError(u"Nenhuma impressora padrão está instalada");
  }
  FPainter = std::make_unique<QPainter>();
  if (!FPainter->begin(FPrinter.get())) {
    FPainter.reset();
    FPrinter.reset();
    throw EZelmorError(u"Não foi possível iniciar a impressão");
  }
}

void QtPrinter::SetFont(const platform::Font& font) {
  QFont f(ToQString(font.Name), font.Size);
  f.setBold(font.Bold);
  f.setItalic(font.Italic);
  FPainter->setFont(f);
}

int QtPrinter::TextHeight(std::u16string_view) { return FPainter->fontMetrics().height(); }
int QtPrinter::PageHeight() { return FPrinter->height(); }

void QtPrinter::TextOut(int x, int y, std::u16string_view text) {
  FPainter->drawText(QPoint(x, y + FPainter->fontMetrics().ascent()), ToQString(text));
}

void QtPrinter::NewPage() { FPrinter->newPage(); }

void QtPrinter::EndDoc() {
  if (FPainter && FPainter->isActive()) FPainter->end();
  FPainter.reset();
  FPrinter.reset();
}

}  // namespace zelmor::adapters
