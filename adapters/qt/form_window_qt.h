// A Qt top-level widget as the window a TFormPosition keeps: bounds from its
// frame geometry, the primary monitor and its work area from QScreen, and the
// show and close-query handlers called from an event filter on the widget.
#pragma once

#include <QList>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

#include "forms/FormPosition.h"

namespace zelmor::adapters {

class QtFormWindow final : public QObject, public TFormWindow {
  Q_OBJECT
 public:
  // Shows an error that reached the application's default handler.
  using ErrorSink = std::function<void(const QString& message)>;

  // A child of `widget`, freed with it. Without a sink errors go to standard error.
  QtFormWindow(QWidget* widget, ErrorSink errors);
  ~QtFormWindow() override;

  // The component this window carries (created with the window as its owner).
  TFormPosition& Position() { return *FPosition; }

  std::u16string Name() const override;
  int Left() const override;
  int Top() const override;
  int Width() const override;
  int Height() const override;
  void SetLeft(int Value) override;
  void SetTop(int Value) override;
  void SetWidth(int Value) override;
  void SetHeight(int Value) override;
  TWindowState WindowState() const override;
  void SetWindowState(TWindowState Value) override;
  bool HandleAllocated() const override;
  // Qt has no colour-key transparency for top-level windows: the two are kept, not applied.
  bool TransparentColor() const override { return FTransparent; }
  void SetTransparentColor(bool Value) override { FTransparent = Value; }
  TColor TransparentColorValue() const override { return FColour; }
  void SetTransparentColorValue(TColor Value) override { FColour = Value; }
  int ScreenWidth() const override;
  int ScreenHeight() const override;
  int WorkAreaWidth() const override;
  int WorkAreaHeight() const override;
  void HandleException(const std::exception& E) override;
  // Any of QGuiApplication::screens(), by its full geometry.
  bool OnAMonitor(int Left, int Top, int Width, int Height) const override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* FWidget;
  ErrorSink FErrors;
  bool FTransparent = false;
  TColor FColour = clCream;
  std::unique_ptr<TFormPosition> FPosition;
};

// Where a window whose frame is `frame` goes so that no part of it is off every screen
// (`screens`: their work areas): where it is when the screens cover it, else onto the
// screen it overlaps most (or, overlapping none, the nearest), pushed in from the edges it
// crosses; a window larger than that screen keeps its top-left corner on it.
QPoint KeepOnScreens(const QRect& frame, const QList<QRect>& screens);

// Gives `widget` a TFormPosition, owned by and freed with the widget. Set its
// properties, then call Loaded() to hook the widget's show and close events.
TFormPosition* AttachFormPosition(QWidget* widget, QtFormWindow::ErrorSink errors = {});

}  // namespace zelmor::adapters
