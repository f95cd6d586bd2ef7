// The program's widgets as the library's control tree (platform/controls.h): widgets
// as controls, actions as menu items, QMenu as the pop-up menu, the application's
// top-level windows as its forms, and QPrinter as the printer.
#pragma once

#include <QAction>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>
#include <vector>

#include "platform/controls.h"

class QPainter;
class QPrinter;

namespace zelmor::adapters {

// A widget as a control. Owned by the widget and freed with it; one per widget.
// Kinds: a window is a form; a bare QWidget, QFrame or QGroupBox a panel; QLineEdit,
// QTextEdit and QPlainTextEdit edits (not a spin box's or combo box's own line edit).
class QtControl final : public QObject, public platform::Control {
  Q_OBJECT
 public:
  static QtControl* Of(QWidget* widget);
  QWidget* Widget() const { return FWidget; }

  std::u16string Name() const override;
  std::u16string ClassName() const override;
  platform::ControlKind Kind() const override;
  std::u16string Text() const override;
  void SetText(std::u16string_view text) override;
  std::u16string Caption() const override;
  bool Enabled() const override;
  void SetEnabled(bool enabled) override;
  bool Visible() const override;
  platform::Control* Parent() const override;
  std::vector<platform::Control*> Children() const override;
  std::vector<platform::Control*> Components() const override;
  int TabOrder() const override;
  int Left() const override;
  int Top() const override;
  int Width() const override;
  int Height() const override;
  platform::Point ClientToScreen(platform::Point client) const override;
  bool TakeFocus() override;
  bool Focused() const override;
  bool HasWindow() const override;
  void SetBalloon(std::u16string_view text, std::u16string_view title, int icon) override;

 private:
  explicit QtControl(QWidget* widget);
  QPointer<QWidget> FWidget;
};

// An action as a menu item; its parent is the action of the menu it sits in (a menu
// bar's top-level menus have none). Owned by the action, one per action.
class QtMenuItem final : public QObject, public platform::MenuItem {
  Q_OBJECT
 public:
  static QtMenuItem* Of(QAction* action);

  std::u16string Caption() const override;
  platform::MenuItem* Parent() const override;
  bool Visible() const override;
  bool Enabled() const override;

 private:
  explicit QtMenuItem(QAction* action);
  QPointer<QAction> FAction;
};

class QtPopupMenu final : public platform::PopupMenu {
 public:
  explicit QtPopupMenu(QMenu* menu) : FMenu(menu) {}
  void Popup(platform::Point screen) override;

 private:
  QPointer<QMenu> FMenu;
};

// The application's forms: those it adopted (freed with this object, or earlier by
// whoever closes them) and the windows on screen.
class QtForms final : public platform::Forms {
 public:
  QtForms() = default;
  ~QtForms() override;
  QtForms(const QtForms&) = delete;
  QtForms& operator=(const QtForms&) = delete;

  std::vector<platform::Control*> ApplicationForms() const override;
  void Adopt(platform::Control* form) override;
  // Visible windows and dialogs (menus and tooltips left out), the active one first,
  // then the others in the order they were made.
  std::vector<platform::Control*> ScreenForms() const override;
  // The style's title-bar height: what stands above a form's client area.
  int MenuBarHeight() const override;
  // Waits for the window system's answer for at most half a second.
  bool BringToFront(platform::Control* form) override;

 private:
  std::vector<QPointer<QWidget>> FAdopted;
};

// QPrinter at its high resolution: the default printer, or a PDF file when one is
// named (tests, `zelmor call`).
class QtPrinter final : public platform::Printer {
 public:
  explicit QtPrinter(QString pdfFile = {});
  ~QtPrinter() override;

  void BeginDoc() override;
  void SetFont(const platform::Font& font) override;
  int TextHeight(std::u16string_view text) override;
  int PageHeight() override;
  void TextOut(int x, int y, std::u16string_view text) override;
  void NewPage() override;
  void EndDoc() override;

 private:
  QString FPdfFile;
  std::unique_ptr<QPrinter> FPrinter;
  std::unique_ptr<QPainter> FPainter;
};

}  // namespace zelmor::adapters
