// The program's windows as the library sees them: a tree of controls with names,
// texts, captions, flags, tab order and bounds; menu items with their parents; pop-up
// menus; the forms the application owns and shows; the printer; the display modes.
// The GUI adapter (adapters/qt) wraps its widgets in these; tests use the in-memory
// tree of testing/control_tree.h.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zelmor::platform {

struct Point {
  int X = 0;
  int Y = 0;
  bool operator==(const Point&) const = default;
};

// What the routines tell apart: forms, plain containers whose children take the focus
// in their place, text boxes (one line or many), and everything else.
enum class ControlKind : std::uint8_t { Form, Panel, Edit, Other };

// A control of the program (a form is one too, with no parent).
class Control {
 public:
  virtual ~Control() = default;

  // The component name ("edNome"); empty when it has none.
  virtual std::u16string Name() const = 0;
  // The toolkit's class name of the object ("TfrmCliente"): what CreateForm compares.
  virtual std::u16string ClassName() const = 0;
  virtual ControlKind Kind() const = 0;
  bool IsPanel() const { return Kind() == ControlKind::Panel; }

  // The text an edit control holds; empty for other kinds, where setting it does nothing.
  virtual std::u16string Text() const = 0;
  virtual void SetText(std::u16string_view text) = 0;
  // The caption (a form's title, a label's or a button's text); empty when it has none.
  virtual std::u16string Caption() const = 0;

  virtual bool Enabled() const = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool Visible() const = 0;

  virtual Control* Parent() const = 0;
  // The direct child controls, in any order, with their tab positions.
  virtual std::vector<Control*> Children() const = 0;
  // The components the control owns (a form: every control made on it, at any
  // depth), in the order they were made.
  virtual std::vector<Control*> Components() const = 0;
  virtual int TabOrder() const = 0;

  // Position and size in the parent's client area (a form: on the screen).
  virtual int Left() const = 0;
  virtual int Top() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // A point of this control's client area in screen coordinates.
  virtual Point ClientToScreen(Point client) const = 0;

  // Gives the control the keyboard focus; false when the toolkit refuses it.
  virtual bool TakeFocus() = 0;
  virtual bool Focused() const = 0;
  // Whether the control has a native window yet (a balloon needs one).
  virtual bool HasWindow() const = 0;
  // The text the pointer shows over the control (the balloon), with a title.
  virtual void SetBalloon(std::u16string_view text, std::u16string_view title, int icon) = 0;
};

// An item of a menu bar or pop-up menu. The top-level items of a menu bar have a
// parent without a caption (the bar's root) or none.
class MenuItem {
 public:
  virtual ~MenuItem() = default;
  // The caption as written, "&" marks included ("&Arquivo").
  virtual std::u16string Caption() const = 0;
  virtual MenuItem* Parent() const = 0;
  virtual bool Visible() const = 0;
  virtual bool Enabled() const = 0;
};

class PopupMenu {
 public:
  virtual ~PopupMenu() = default;
  // Shows the menu with its top-left corner at `screen`; returns at once.
  virtual void Popup(Point screen) = 0;
};

// A form class: its class name and how to make one. `Create` makes the form owned by
// `owner` (nullptr: by nobody yet; the application takes it over).
struct FormClass {
  std::u16string Name;
  std::function<Control*(Control* owner)> Create;
};

// The application's forms and the screen they are shown on.
class Forms {
 public:
  static constexpr const char* kServiceName = "forms";
  virtual ~Forms() = default;
  // The forms the application owns, in the order it took them.
  virtual std::vector<Control*> ApplicationForms() const = 0;
  // The application takes `form` over (and frees it when it ends).
  virtual void Adopt(Control* form) = 0;
  // The forms on screen, in the screen's order: the active one first.
  virtual std::vector<Control*> ScreenForms() const = 0;
  // The height of the system's menu bar, in pixels.
  virtual int MenuBarHeight() const = 0;
  // Restores `form` when it is minimized and, unless it is the active window already,
  // raises it and asks the window system to make it the active one. Whether it is the
  // active window afterwards: a window manager may refuse.
  virtual bool BringToFront(Control* form) = 0;
};

struct Font {
  std::u16string Name = u"Courier New";
  int Size = 10;  // points
  bool Bold = false;
  bool Italic = false;
};

// The default printer, one job at a time. Positions are in the printer's pixels.
class Printer {
 public:
  static constexpr const char* kServiceName = "printer";
  virtual ~Printer() = default;
  // Starts a job on the first page; throws EZelmorError when no job can start.
  virtual void BeginDoc() = 0;
  virtual void SetFont(const Font& font) = 0;
  // The height of `text` in the current font.
  virtual int TextHeight(std::u16string_view text) = 0;
  // The height of the page's printable area.
  virtual int PageHeight() = 0;
  // Writes `text` with its top-left corner at (x, y) of the current page.
  virtual void TextOut(int x, int y, std::u16string_view text) = 0;
  virtual void NewPage() = 0;
  // Ends the job; also after a failure halfway (what was printed is kept).
  virtual void EndDoc() = 0;
};

struct DisplayMode {
  int Width = 0;
  int Height = 0;
  int BitsPerPixel = 0;
};

// The modes of the primary display. Linux desktops give programs no session-wide mode
// switch, so the fallback lists none and sets none.
class Display {
 public:
  static constexpr const char* kServiceName = "display";
  virtual ~Display() = default;
  // The modes in the order the system lists them.
  virtual std::vector<DisplayMode> Modes() = 0;
  // Sets `mode` and stores it as the user's mode; false when refused.
  virtual bool SetMode(const DisplayMode& mode) = 0;

  static Display& Fallback() {
    struct NoModes final : Display {
      std::vector<DisplayMode> Modes() override { return {}; }
      bool SetMode(const DisplayMode&) override { return false; }
    };
    static NoModes none;
    return none;
  }
};

}  // namespace zelmor::platform
