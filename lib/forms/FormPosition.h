// TFormPosition: remembers a window's position, size and state between runs.
// A window carries one; once hooked (Loaded) it restores the stored placement each
// time the window is shown and stores the current one each time the window agrees
// to close. The placements go, in this order of choice, to the process-wide
// callback, to "FormPosition.ini" in the form-position folder, or to the current
// user's hive under "SOFTWARE\Zelmor\Forms\" + the window's name.
//
// The logic here knows the window only through TFormWindow, which the window
// system implements (adapters/qt/form_window_qt.h for Qt windows).
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

#include "forms/colors.h"

namespace zelmor {

enum class TWindowState : std::uint8_t { wsNormal = 0, wsMinimized = 1, wsMaximized = 2 };

// What a TFormPosition needs from the window it keeps.
class TFormWindow {
 public:
  virtual ~TFormWindow() = default;

  // The window's component name ("QuindelForm"): the key or section of its placement.
  virtual std::u16string Name() const = 0;
  // Outer bounds in screen pixels (frame included).
  virtual int Left() const = 0;
  virtual int Top() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void SetLeft(int Value) = 0;
  virtual void SetTop(int Value) = 0;
  virtual void SetWidth(int Value) = 0;
  virtual void SetHeight(int Value) = 0;
  virtual TWindowState WindowState() const = 0;
  virtual void SetWindowState(TWindowState Value) = 0;
  // Whether the window system has a live window for it.
  virtual bool HandleAllocated() const = 0;
  // Transparent-colour mode: pixels of TransparentColorValue are see-through.
  virtual bool TransparentColor() const = 0;
  virtual void SetTransparentColor(bool Value) = 0;
  virtual TColor TransparentColorValue() const = 0;
  virtual void SetTransparentColorValue(TColor Value) = 0;
  // The primary monitor: its full size, and its work area (without the taskbar).
  virtual int ScreenWidth() const = 0;
  virtual int ScreenHeight() const = 0;
  virtual int WorkAreaWidth() const = 0;
  virtual int WorkAreaHeight() const = 0;
  // The application's default error handler (a message box).
  virtual void HandleException(const std::exception& E) = 0;
  // Whether a window at these outer bounds lies wholly on one connected monitor (any
  // monitor, not only the primary one). Knowing only the primary monitor, this default
  // answers for that one.
  virtual bool OnAMonitor(int Left, int Top, int Width, int Height) const;

  // The window's show handler (runs each time it is shown) and close-query handler
  // (runs each time it is asked to close; clearing CanClose keeps it open). The
  // window system calls them; a carried component may hook them.
  std::function<void()> OnShow;
  std::function<void(bool& CanClose)> OnCloseQuery;
};

enum class TRestore : std::uint8_t { Size, Position, WindowState };

// A set of TRestore.
class TRestoreOptions {
 public:
  constexpr TRestoreOptions() = default;
  constexpr TRestoreOptions(std::initializer_list<TRestore> items) {
    for (TRestore r : items) FBits |= Bit(r);
  }
  constexpr bool Has(TRestore r) const { return (FBits & Bit(r)) != 0; }
  constexpr int Bits() const { return FBits; }
  static constexpr TRestoreOptions FromBits(int bits) {
    TRestoreOptions o;
    o.FBits = static_cast<std::uint8_t>(bits & 7);
    return o;
  }
  constexpr bool operator==(const TRestoreOptions&) const = default;

 private:
  static constexpr std::uint8_t Bit(TRestore r) { return static_cast<std::uint8_t>(1u << static_cast<unsigned>(r)); }
  std::uint8_t FBits = 0;
};

// What the placement callback exchanges.
struct TFormPlacement {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  TWindowState State = TWindowState::wsNormal;
};

class TFormPosition;
// Called to load (Save false: fill the record) or store (Save true) a placement.
using TFormPositionCallback =
    std::function<void(TFormPosition& Sender, TFormWindow& Form, TFormPlacement& Placement, bool Save)>;

// ---- Process-wide settings (start unset; cleared at process start) ----

// When set, the callback replaces both other stores.
void SetFormPositionCallback(TFormPositionCallback Callback);
TFormPositionCallback FormPositionCallback();
// When not empty (and no callback), placements go to Folder + "FormPosition.ini";
// the folder must end with a path separator (the file name is appended as it is).
void SetFormPositionFolder(std::u16string_view Folder);
std::u16string FormPositionFolder();
// Unsets the callback and empties the folder.
void ClearFormPositionSettings();

class TFormPosition {
 public:
  // Active, Restore = [Size, Position], DefTop = DefLeft = 0. `AOwner` is the window
  // carrying the component (nullptr when it is not a window); the window kept is
  // the owner unless SetFormPadrao names another.
  explicit TFormPosition(TFormWindow* AOwner);
  // Gives the owner its own handlers back when they were hooked.
  ~TFormPosition();
  TFormPosition(const TFormPosition&) = delete;
  TFormPosition& operator=(const TFormPosition&) = delete;

  // When False nothing is restored or saved.
  bool Active() const { return FActive; }
  void SetActive(bool Value) { FActive = Value; }
  // Which aspects are restored and saved.
  TRestoreOptions Restore() const { return FRestore; }
  void SetRestore(TRestoreOptions Value) { FRestore = Value; }
  // Used when no top / left is stored; 0 or less means: centre on the primary monitor.
  int DefTop() const { return FDefTop; }
  void SetDefTop(int Value) { FDefTop = Value; }
  int DefLeft() const { return FDefLeft; }
  void SetDefLeft(int Value) { FDefLeft = Value; }

  // The window whose placement is kept (for a component created in code).
  void SetFormPadrao(TFormWindow* FrmPadrao) { FormPadrao = FrmPadrao; }
  TFormWindow* GetFormPadrao() const { return FormPadrao; }

  // Restores / saves now (when Active). An error goes to the application's default
  // error handler and does not propagate.
  void RestauraPadroesForm();
  void SalvaPadroesForm();
  // Called once the window carrying the component is built: hooks the owner's show
  // and close-query handlers (keeping the ones in place, which still run). A
  // component created in code and never Loaded hooks nothing.
  void Loaded();

 private:
  void DoRestore();
  void DoSave();
  void FormShowHook();
  void FormCloseQueryHook(bool& CanClose);
  void Report(const std::exception& e);
  TFormWindow& Kept();

  TFormWindow* FOwner;
  bool FActive = true;
  TRestoreOptions FRestore{TRestore::Size, TRestore::Position};
  int FDefTop = 0;
  int FDefLeft = 0;
  std::function<void()> FSaveFormShow;
  std::function<void(bool&)> FSaveFormCloseQuery;
  TFormWindow* FormPadrao = nullptr;
  bool FHooked = false;
};

}  // namespace zelmor
