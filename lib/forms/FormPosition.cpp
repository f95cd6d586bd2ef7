#include "forms/FormPosition.h"

#include <mutex>

#include "config/mConfigUnit.h"
#include "config/mIniReg.h"
#include "core/errors.h"
#include "platform/file_system.h"

namespace zelmor {
namespace {

struct Settings {
  std::mutex Mutex;
  TFormPositionCallback Callback;
  std::u16string Folder;
};

Settings& Global() {
  static Settings s;
  return s;
}

constexpr std::u16string_view kRegistryKey = u"SOFTWARE\\Zelmor\\Forms\\";
constexpr std::u16string_view kFolderFile = u"FormPosition.ini";

// Screen coordinates of any real desktop fit in 16 bits; a stored position beyond
// them is damage, not a place (and would overflow the edge arithmetic).
constexpr int kFarthest = 32767;
bool Plausible(int v) { return v >= -kFarthest - 1 && v <= kFarthest; }

// The edge tests in 64 bits: a stored value near the integer limits must not wrap.
bool PastEdge(int start, int size, int edge) {
  return static_cast<long long>(start) + size > static_cast<long long>(edge);
}

// A stored place where the whole window is on a monitor is where the user left it
// (a customer display on the monitor right of the cashier's): kept as it is. The
// edge rules below apply only to places on no monitor.
bool WhollyOnAMonitor(const TFormWindow& f, int top, int left) {
  return Plausible(top) && Plausible(left) && f.OnAMonitor(left, top, f.Width(), f.Height());
}

}  // namespace

bool TFormWindow::OnAMonitor(int Left, int Top, int Width, int Height) const {
  return Left >= 0 && Top >= 0 && static_cast<long long>(Left) + Width <= ScreenWidth() &&
         static_cast<long long>(Top) + Height <= ScreenHeight();
}

void SetFormPositionCallback(TFormPositionCallback Callback) {
  std::lock_guard lock(Global().Mutex);
  Global().Callback = std::move(Callback);
}

TFormPositionCallback FormPositionCallback() {
  std::lock_guard lock(Global().Mutex);
  return Global().Callback;
}

void SetFormPositionFolder(std::u16string_view Folder) {
  std::lock_guard lock(Global().Mutex);
  Global().Folder = Folder;
}

std::u16string FormPositionFolder() {
  std::lock_guard lock(Global().Mutex);
  return Global().Folder;
}

void ClearFormPositionSettings() {
  std::lock_guard lock(Global().Mutex);
  Global().Callback = nullptr;
  Global().Folder.clear();
}

TFormPosition::TFormPosition(TFormWindow* AOwner) : FOwner(AOwner) {}

TFormPosition::~TFormPosition() {
  if (FHooked && FOwner) {
    FOwner->OnShow = std::move(FSaveFormShow);
    FOwner->OnCloseQuery = std::move(FSaveFormCloseQuery);
  }
}

TFormWindow& TFormPosition::Kept() {
  if (!FormPadrao) FormPadrao = FOwner;
  if (!FormPadrao) throw EArgumentError(u"TFormPosition: nenhuma janela para guardar a posição");
  return *FormPadrao;
}

// The application's default error handler shows every error but the silent abort.
void TFormPosition::Report(const std::exception& e) {
  if (const auto* z = dynamic_cast<const EZelmorError*>(&e); z && std::string_view(z->Kind()) == "abort") return;
  TFormWindow* w = FormPadrao ? FormPadrao : FOwner;
  if (w) w->HandleException(e);
}

void TFormPosition::RestauraPadroesForm() {
  if (!FActive) return;
  try {
    DoRestore();
  } catch (const std::exception& e) {
    Report(e);
  }
}

void TFormPosition::SalvaPadroesForm() {
  if (!FActive) return;
  try {
    DoSave();
  } catch (const std::exception& e) {
    Report(e);
  }
}

void TFormPosition::Loaded() {
  if (FHooked || !FOwner) return;
  FSaveFormShow = std::move(FOwner->OnShow);
  FSaveFormCloseQuery = std::move(FOwner->OnCloseQuery);
  FOwner->OnShow = [this] { FormShowHook(); };
  FOwner->OnCloseQuery = [this](bool& CanClose) { FormCloseQueryHook(CanClose); };
  FHooked = true;
}

void TFormPosition::FormShowHook() {
  if (!FormPadrao) FormPadrao = FOwner;
  if (FActive) {
    try {
      DoRestore();
    } catch (const std::exception& e) {
      Report(e);  // and the window is shown all the same
    }
  }
  if (FSaveFormShow) FSaveFormShow();
}

void TFormPosition::FormCloseQueryHook(bool& CanClose) {
  if (!FormPadrao) FormPadrao = FOwner;
  if (FSaveFormCloseQuery) {
    try {
      FSaveFormCloseQuery(CanClose);
    } catch (const EConvertError&) {
      // A text that did not convert does not stop the window closing; anything else does.
    }
  }
  if (CanClose && FActive && FOwner && FOwner->HandleAllocated()) {
    try {
      DoSave();
    } catch (const std::exception& e) {
      Report(e);  // and the window closes all the same
    }
  }
}

void TFormPosition::DoRestore() {
  TFormWindow& f = Kept();
  const bool size = FRestore.Has(TRestore::Size);
  const bool position = FRestore.Has(TRestore::Position);
  const bool state = FRestore.Has(TRestore::WindowState);

  if (TFormPositionCallback callback = FormPositionCallback()) {
    TFormPlacement p;
    callback(*this, f, p, false);
    if (size) {
      f.SetWidth(p.Width);
      f.SetHeight(p.Height);
    }
    if (position) {
      int top = p.Top, left = p.Left;
      if (!WhollyOnAMonitor(f, top, left)) {
        top = top < 0 ? 0 : top;
        left = left < 0 ? 0 : left;
        if (PastEdge(top, f.Height(), f.WorkAreaHeight())) top = f.WorkAreaHeight() - f.Height();
        if (PastEdge(left, f.Width(), f.WorkAreaWidth())) left = f.WorkAreaWidth() - f.Width();
      }
      f.SetTop(top);
      f.SetLeft(left);
    }
    if (state && p.State == TWindowState::wsMaximized) f.SetWindowState(TWindowState::wsMaximized);
    return;
  }

  // Centred on the primary monitor unless DefTop / DefLeft say otherwise (read after
  // the size, which the centring depends on).
  auto defaultTop = [&] { return FDefTop > 0 ? FDefTop : f.ScreenHeight() / 2 - f.Height() / 2; };
  auto defaultLeft = [&] { return FDefLeft > 0 ? FDefLeft : f.ScreenWidth() / 2 - f.Width() / 2; };

  const std::u16string name = f.Name();
  const std::u16string folder = FormPositionFolder();
  if (!folder.empty()) {
    TmConfig config(folder + std::u16string(kFolderFile), true);
    if (size) {
      f.SetWidth(config.ReadInteger(name, u"Width", f.Width()));
      f.SetHeight(config.ReadInteger(name, u"Height", f.Height()));
    }
    if (position) {
      const int defTop = defaultTop(), defLeft = defaultLeft();
      int top = config.ReadInteger(name, u"Top", defTop);
      int left = config.ReadInteger(name, u"Left", defLeft);
      if (!Plausible(top) || !Plausible(left)) {
        top = defTop;
        left = defLeft;
      }
      // Off every monitor, each axis is pulled back to the screen's edge on its own.
      if (!WhollyOnAMonitor(f, top, left)) {
        if (PastEdge(top, f.Height(), f.ScreenHeight())) top = f.ScreenHeight() - f.Height();
        if (PastEdge(left, f.Width(), f.ScreenWidth())) left = f.ScreenWidth() - f.Width();
      }
      f.SetTop(top);
      f.SetLeft(left);
    }
    if (state && config.ReadBool(name, u"Maximizado", false)) f.SetWindowState(TWindowState::wsMaximized);
    return;
  }

  const std::u16string key = std::u16string(kRegistryKey) + name;
  if (size) {
    f.SetWidth(TmReg::Ler(key, u"Width", f.Width()));
    f.SetHeight(TmReg::Ler(key, u"Height", f.Height()));
  }
  if (position) {
    const int defTop = defaultTop(), defLeft = defaultLeft();
    int top = TmReg::Ler(key, u"Top", defTop);
    int left = TmReg::Ler(key, u"Left", defLeft);
    // On no monitor and past the right or bottom edge: the window goes back to its
    // default place as a whole.
    if (!Plausible(top) || !Plausible(left) ||
        (!WhollyOnAMonitor(f, top, left) &&
         (PastEdge(top, f.Height(), f.ScreenHeight()) || PastEdge(left, f.Width(), f.ScreenWidth())))) {
      top = defTop;
      left = defLeft;
    }
    f.SetTop(top);
    f.SetLeft(left);
  }
  if (state) {
    if (TmReg::Ler(key, u"State", u"Nor") == u"Max") f.SetWindowState(TWindowState::wsMaximized);
    if (TmReg::Ler(key, u"TransparentColor", false)) f.SetTransparentColor(true);
    const std::u16string colour = TmReg::Ler(key, u"TransparentColorValue", u"clCream");
    if (!colour.empty()) f.SetTransparentColorValue(StringToColor(colour));
  }
}

void TFormPosition::DoSave() {
  TFormWindow& f = Kept();
  const bool size = FRestore.Has(TRestore::Size);
  const bool position = FRestore.Has(TRestore::Position);
  const bool state = FRestore.Has(TRestore::WindowState);

  if (TFormPositionCallback callback = FormPositionCallback()) {
    TFormPlacement p;
    p.Left = f.Left();
    p.Top = f.Top();
    p.Width = f.Width();
    p.Height = f.Height();
    p.State = f.WindowState();
    callback(*this, f, p, true);
    return;
  }

  const std::u16string name = f.Name();
  const std::u16string folder = FormPositionFolder();
  if (!folder.empty()) {
    platform::Service<platform::FileSystem>::Get().CreateFolders(folder);
    TmConfig config(folder + std::u16string(kFolderFile), true);
    if (position) {
      config.WriteInteger(name, u"Top", f.Top());
      config.WriteInteger(name, u"Left", f.Left());
    }
    if (size) {
      config.WriteInteger(name, u"Width", f.Width());
      config.WriteInteger(name, u"Height", f.Height());
    }
    config.WriteBool(name, u"Maximizado", f.WindowState() == TWindowState::wsMaximized);
    // Saved here rather than on release, which would swallow a failure: a position
    // that cannot be kept is reported like any other error of the save.
    config.Flush();
    return;
  }

  const std::u16string key = std::u16string(kRegistryKey) + name;
  if (position) {
    TmReg::Gravar(key, u"Top", f.Top());
    TmReg::Gravar(key, u"Left", f.Left());
  }
  if (size) {
    TmReg::Gravar(key, u"Width", f.Width());
    TmReg::Gravar(key, u"Height", f.Height());
  }
  if (state) {
    if (f.WindowState() == TWindowState::wsNormal)
      TmReg::Gravar(key, u"State", u"Nor");
    else if (f.WindowState() == TWindowState::wsMaximized)
      TmReg::Gravar(key, u"State", u"Max");
    TmReg::Gravar(key, u"TransparentColor", f.TransparentColor());
    TmReg::Gravar(key, u"TransparentColorValue", ColorToString(f.TransparentColorValue()));
  }
}

}  // namespace zelmor
