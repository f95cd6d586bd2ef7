// An in-memory control tree, menus, pop-up menus, forms, printer and display modes:
// plain fields the test sets and reads, for the rules that need no window system.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/controls.h"

namespace zelmor::testing {

class MemoryControl final : public platform::Control {
 public:
  explicit MemoryControl(int tab = 0, MemoryControl* parent = nullptr) : Tab(tab), Up(parent) {
    if (parent) parent->Kids.push_back(this);
  }
  // Adds the control to the components `owner` owns (a form owns its controls at any depth).
  MemoryControl& OwnedBy(MemoryControl& owner) {
    owner.Owned.push_back(this);
    return *this;
  }

  std::u16string Name() const override { return FName; }
  std::u16string ClassName() const override { return FClass; }
  platform::ControlKind Kind() const override { return FKind; }
  std::u16string Text() const override { return FText; }
  void SetText(std::u16string_view text) override {
    if (FKind == platform::ControlKind::Edit) FText = text;
  }
  std::u16string Caption() const override { return FCaption; }
  bool Enabled() const override { return On; }
  void SetEnabled(bool enabled) override { On = enabled; }
  bool Visible() const override { return Shown; }
  platform::Control* Parent() const override { return Up; }
  std::vector<platform::Control*> Children() const override { return {Kids.begin(), Kids.end()}; }
  std::vector<platform::Control*> Components() const override { return {Owned.begin(), Owned.end()}; }
  int TabOrder() const override { return Tab; }
  int Left() const override { return X; }
  int Top() const override { return Y; }
  int Width() const override { return W; }
  int Height() const override { return H; }
  // The parent chain's offsets; a form sits on the screen at its own position.
  platform::Point ClientToScreen(platform::Point p) const override {
    for (const MemoryControl* c = this; c; c = c->Up) {
      p.X += c->X;
      p.Y += c->Y;
    }
    return p;
  }
  bool TakeFocus() override { return HasFocus = !Refuses; }
  bool Focused() const override { return HasFocus; }
  bool HasWindow() const override { return Window; }
  void SetBalloon(std::u16string_view text, std::u16string_view title, int icon) override {
    Balloon = std::u16string(title) + u"|" + std::u16string(text) + u"|" + static_cast<char16_t>(u'0' + icon);
  }

  std::u16string FName, FClass, FText, FCaption;
  platform::ControlKind FKind = platform::ControlKind::Other;
  int Tab;
  MemoryControl* Up;
  std::vector<MemoryControl*> Kids, Owned;
  int X = 0, Y = 0, W = 0, H = 0;
  bool On = true, Shown = true, HasFocus = false, Refuses = false, Window = true;
  std::u16string Balloon;
};

class MemoryMenuItem final : public platform::MenuItem {
 public:
  explicit MemoryMenuItem(std::u16string caption, MemoryMenuItem* parent = nullptr)
      : FCaption(std::move(caption)), Up(parent) {}
  std::u16string Caption() const override { return FCaption; }
  platform::MenuItem* Parent() const override { return Up; }
  bool Visible() const override { return Shown; }
  bool Enabled() const override { return On; }

  std::u16string FCaption;
  MemoryMenuItem* Up;
  bool Shown = true, On = true;
};

class MemoryPopupMenu final : public platform::PopupMenu {
 public:
  void Popup(platform::Point screen) override { Shown.push_back(screen); }
  std::vector<platform::Point> Shown;
};

// The application's forms: those it adopted are kept (and freed) here.
class MemoryForms final : public platform::Forms {
 public:
  std::vector<platform::Control*> ApplicationForms() const override {
    std::vector<platform::Control*> out;
    for (const auto& f : Adopted) out.push_back(f.get());
    return out;
  }
  void Adopt(platform::Control* form) override { Adopted.emplace_back(form); }
  std::vector<platform::Control*> ScreenForms() const override { return OnScreen; }
  int MenuBarHeight() const override { return MenuBar; }
  // The form brought to the front becomes the first on screen, unless `Refuse`.
  bool BringToFront(platform::Control* form) override {
    Raised.push_back(form);
    if (!Refuse) {
      std::erase(OnScreen, form);
      OnScreen.insert(OnScreen.begin(), form);
    }
    return !OnScreen.empty() && OnScreen.front() == form;
  }

  std::vector<std::unique_ptr<platform::Control>> Adopted;
  std::vector<platform::Control*> OnScreen;  // the active one first
  std::vector<platform::Control*> Raised;
  bool Refuse = false;
  int MenuBar = 20;
};

// Pages of printed lines; each line keeps where it went.
class MemoryPrinter final : public platform::Printer {
 public:
  struct Line {
    int X, Y;
    std::u16string Text;
  };
  void BeginDoc() override {
    if (FailToStart) throw std::runtime_error("no printer");
    Pages.assign(1, {});
    Printing = true;
  }
  void SetFont(const platform::Font& font) override { FontUsed = font; }
  int TextHeight(std::u16string_view) override { return LineHeight; }
  int PageHeight() override { return PageSize; }
  void TextOut(int x, int y, std::u16string_view text) override {
    if (FailAtLine >= 0 && LinesOut++ == FailAtLine) throw std::runtime_error("paper jam");
    Pages.back().push_back({x, y, std::u16string(text)});
  }
  void NewPage() override { Pages.emplace_back(); }
  void EndDoc() override { Printing = false; }

  int LineHeight = 15, PageSize = 1000, FailAtLine = -1, LinesOut = 0;
  bool FailToStart = false, Printing = false;
  platform::Font FontUsed;
  std::vector<std::vector<Line>> Pages;
};

class MemoryDisplay final : public platform::Display {
 public:
  std::vector<platform::DisplayMode> Modes() override { return List; }
  bool SetMode(const platform::DisplayMode& mode) override {
    Set.push_back(mode);
    return Accepts;
  }
  std::vector<platform::DisplayMode> List, Set;
  bool Accepts = true;
};

}  // namespace zelmor::testing
