#include "adapters/qt/form_window_qt.h"

#include <QCloseEvent>
#include <QEvent>
#include <QGuiApplication>
#include <QRegion>
#include <QScreen>
#include <algorithm>
#include <cstdio>

#include "adapters/qt/qstring.h"

namespace zelmor::adapters {
namespace {

QRect PrimaryGeometry(bool workArea) {
  const QScreen* s = QGuiApplication::primaryScreen();
  if (!s) return {};
  return workArea ? s->availableGeometry() : s->geometry();
}

// Squared distance from `p` to the nearest point of `r`.
qint64 DistanceSquared(const QPoint& p, const QRect& r) {
  const qint64 dx = p.x() < r.left() ? r.left() - p.x() : p.x() > r.right() ? p.x() - r.right() : 0;
  const qint64 dy = p.y() < r.top() ? r.top() - p.y() : p.y() > r.bottom() ? p.y() - r.bottom() : 0;
  return dx * dx + dy * dy;
}

int PushInside(int pos, int size, int lo, int extent) {
  if (size >= extent) return lo;
  return std::clamp(pos, lo, lo + extent - size);
}

}  // namespace

QPoint KeepOnScreens(const QRect& frame, const QList<QRect>& screens) {
  if (screens.isEmpty() || frame.isEmpty()) return frame.topLeft();
  QRegion covered;
  for (const QRect& s : screens) covered += s;
  if (QRegion(frame).subtracted(covered).isEmpty()) return frame.topLeft();

  const QRect* best = nullptr;
  qint64 bestOverlap = 0, bestDistance = 0;
  for (const QRect& s : screens) {
    const QRect common = s.intersected(frame);
    const qint64 overlap = common.isEmpty() ? 0 : qint64(common.width()) * common.height();
    const qint64 distance = DistanceSquared(frame.center(), s);
    if (!best || overlap > bestOverlap || (overlap == bestOverlap && distance < bestDistance)) {
      best = &s;
      bestOverlap = overlap;
      bestDistance = distance;
    }
  }
  return {PushInside(frame.x(), frame.width(), best->x(), best->width()),
          PushInside(frame.y(), frame.height(), best->y(), best->height())};
}

QtFormWindow::QtFormWindow(QWidget* widget, ErrorSink errors)
    : QObject(widget), FWidget(widget), FErrors(std::move(errors)), FPosition(std::make_unique<TFormPosition>(this)) {
  widget->installEventFilter(this);
}

QtFormWindow::~QtFormWindow() {
  FPosition.reset();  // gives the handlers back while they still exist
}

std::u16string QtFormWindow::Name() const { return FromQString(FWidget->objectName()); }
int QtFormWindow::Left() const { return FWidget->frameGeometry().x(); }
int QtFormWindow::Top() const { return FWidget->frameGeometry().y(); }
int QtFormWindow::Width() const { return FWidget->frameGeometry().width(); }
int QtFormWindow::Height() const { return FWidget->frameGeometry().height(); }
// move() places the frame of a top-level window.
void QtFormWindow::SetLeft(int Value) { FWidget->move(Value, FWidget->frameGeometry().y()); }
void QtFormWindow::SetTop(int Value) { FWidget->move(FWidget->frameGeometry().x(), Value); }
void QtFormWindow::SetWidth(int Value) {
  FWidget->resize(Value - (FWidget->frameGeometry().width() - FWidget->width()), FWidget->height());
}
void QtFormWindow::SetHeight(int Value) {
  FWidget->resize(FWidget->width(), Value - (FWidget->frameGeometry().height() - FWidget->height()));
}

TWindowState QtFormWindow::WindowState() const {
  const Qt::WindowStates s = FWidget->windowState();
  if (s & Qt::WindowMinimized) return TWindowState::wsMinimized;
  if (s & Qt::WindowMaximized) return TWindowState::wsMaximized;
  return TWindowState::wsNormal;
}

void QtFormWindow::SetWindowState(TWindowState Value) {
  Qt::WindowStates s = FWidget->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
  if (Value == TWindowState::wsMinimized) s |= Qt::WindowMinimized;
  if (Value == TWindowState::wsMaximized) s |= Qt::WindowMaximized;
  FWidget->setWindowState(s);
}

bool QtFormWindow::HandleAllocated() const { return FWidget->testAttribute(Qt::WA_WState_Created); }
int QtFormWindow::ScreenWidth() const { return PrimaryGeometry(false).width(); }
int QtFormWindow::ScreenHeight() const { return PrimaryGeometry(false).height(); }
int QtFormWindow::WorkAreaWidth() const { return PrimaryGeometry(true).width(); }
int QtFormWindow::WorkAreaHeight() const { return PrimaryGeometry(true).height(); }

bool QtFormWindow::OnAMonitor(int Left, int Top, int Width, int Height) const {
  const QRect window(Left, Top, Width, Height);
  for (const QScreen* s : QGuiApplication::screens())
    if (s->geometry().contains(window)) return true;
  return false;
}

void QtFormWindow::HandleException(const std::exception& E) {
  const QString message = QString::fromUtf8(E.what());
  if (FErrors) {
    FErrors(message);
  } else {
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
  }
}

bool QtFormWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched != FWidget) return false;
  // Showing again after a minimise is not showing the window: only shows by the program count.
  if (event->type() == QEvent::Show && !event->spontaneous() && OnShow) {
    try {
      OnShow();
    } catch (const std::exception& e) {
      HandleException(e);
    }
    // A remembered place may lie on a monitor that is gone or was moved.
    if (WindowState() == TWindowState::wsNormal) {
      QList<QRect> screens;
      for (const QScreen* s : QGuiApplication::screens()) screens.append(s->availableGeometry());
      const QPoint onScreen = KeepOnScreens(FWidget->frameGeometry(), screens);
      if (onScreen != FWidget->frameGeometry().topLeft()) FWidget->move(onScreen);
    }
  } else if (event->type() == QEvent::Close && OnCloseQuery) {
    bool canClose = true;
    try {
      OnCloseQuery(canClose);
    } catch (const std::exception& e) {
      HandleException(e);  // the close is abandoned
      canClose = false;
    }
    if (!canClose) {
      event->ignore();
      return true;
    }
  }
  return false;
}

TFormPosition* AttachFormPosition(QWidget* widget, QtFormWindow::ErrorSink errors) {
  auto* window = new QtFormWindow(widget, std::move(errors));
  return &window->Position();
}

}  // namespace zelmor::adapters
