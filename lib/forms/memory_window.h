// A window held in memory: bounds, state and screen are plain fields. It stands
// in for a real window where none exists (`zelmor call`, tests), and `Show` and
// `Close` do what the window system would: run the hooked handlers.
#pragma once

#include <string>
#include <vector>

#include "forms/FormPosition.h"

namespace zelmor {

class TMemoryFormWindow : public TFormWindow {
 public:
  std::u16string Name() const override { return FName; }
  int Left() const override { return FLeft; }
  int Top() const override { return FTop; }
  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  void SetLeft(int v) override { FLeft = v; }
  void SetTop(int v) override { FTop = v; }
  void SetWidth(int v) override { FWidth = v; }
  void SetHeight(int v) override { FHeight = v; }
  TWindowState WindowState() const override { return FState; }
  void SetWindowState(TWindowState v) override { FState = v; }
  bool HandleAllocated() const override { return FHandle; }
  bool TransparentColor() const override { return FTransparent; }
  void SetTransparentColor(bool v) override { FTransparent = v; }
  TColor TransparentColorValue() const override { return FColour; }
  void SetTransparentColorValue(TColor v) override { FColour = v; }
  int ScreenWidth() const override { return FScreenWidth; }
  int ScreenHeight() const override { return FScreenHeight; }
  int WorkAreaWidth() const override { return FWorkWidth; }
  int WorkAreaHeight() const override { return FWorkHeight; }
  // On one of FMonitors when any are listed; the primary monitor alone otherwise.
  bool OnAMonitor(int l, int t, int w, int h) const override {
    if (FMonitors.empty()) return TFormWindow::OnAMonitor(l, t, w, h);
    for (const Monitor& m : FMonitors)
      if (l >= m.Left && t >= m.Top && static_cast<long long>(l) + w <= static_cast<long long>(m.Left) + m.Width &&
          static_cast<long long>(t) + h <= static_cast<long long>(m.Top) + m.Height)
        return true;
    return false;
  }
  // Errors are collected, in order, instead of shown.
  void HandleException(const std::exception& e) override { Errors.push_back(e.what()); }

  // Runs the show handler, as the window system does when the window appears.
  void Show() {
    if (OnShow) OnShow();
  }
  // Runs the close-query handler; true when the window may close.
  bool Close() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(canClose);
    return canClose;
  }

  std::u16string FName;
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  TWindowState FState = TWindowState::wsNormal;
  bool FHandle = true;
  bool FTransparent = false;
  TColor FColour = clBlack;
  struct Monitor {
    int Left, Top, Width, Height;
  };
  std::vector<Monitor> FMonitors;
  int FScreenWidth = 1920, FScreenHeight = 1080, FWorkWidth = 1920, FWorkHeight = 1040;
  std::vector<std::string> Errors;
};

}  // namespace zelmor
