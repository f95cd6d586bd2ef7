// What the library needs from the window system to talk to the user: the
// application's plain message box, the message window with headline, details and
// countdown, the standard dialog with free buttons, the please-wait window, the
// taskbar attention, the system sounds of the message types, balloon tips, the
// folder-selection dialog and the busy cursor.
//
// Two implementations: the GUI's (adapters/qt), installed by programs with windows,
// and the headless one of the system services (adapters/linux), which records every
// message and answers from a script or with the default button.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/controls.h"
#include "platform/service.h"

namespace zelmor::platform {

// The message types, in the order the library numbers them.
enum class DialogKind : std::uint8_t { Warning, Error, Information, Confirmation, Custom };

// The message window: a white area with the type's icon, a coloured headline and a
// body, a button bar with OK and (when shown) Cancel, and a fold-out details pane.
struct MessageWindow {
  std::u16string Caption;  // the window's title
  std::u16string Headline;
  std::u16string Body;
  std::u16string Details;  // empty: no details button
  DialogKind Kind = DialogKind::Information;
  bool Icon = true;                         // the type's icon (none for a custom message)
  std::uint32_t HeadlineColour = 0x0000FF;  // 0xRRGGBB
  std::u16string OkCaption = u"&OK";
  std::u16string CancelCaption = u"Cancela&r";
  int OkWidth = 75;
  bool CancelShown = false;
  bool CancelFirst = false;  // the Cancel (No) button comes first and has the focus
  int Countdown = 0;         // seconds before OK presses itself; 0: none
  bool Monospaced = false;
  bool CentreOnOwner = false;
};

// The standard dialog: the text, the type's icon and caption, and a row of buttons.
struct DialogButton {
  std::u16string Caption;
  int Result = 0;                 // what the dialog answers when this button closes it
  bool Closes = true;             // false: a click runs OnClick and the dialog stays
  std::function<void()> OnClick;  // run before the dialog closes (or stays)
  bool Hidden = false;            // present, takes the focus, but drawn nowhere (0 × 0)
};
struct StandardDialog {
  DialogKind Kind = DialogKind::Information;
  std::u16string Caption;
  std::u16string Text;
  std::vector<DialogButton> Buttons;
  int FocusButton = -1;   // index into Buttons; -1: the first visible one
  int Top = 0, Left = 0;  // > 0: placed there instead of centred
  // The focused button counts down: every second the number in its caption drops by
  // one ("&Ok [n]") and at 0 it presses itself.
  bool CountsDown = false;
  bool Monospaced = false;                  // the text in a fixed-pitch face, lines unbroken
  std::optional<std::uint32_t> Background;  // 0xRRGGBB
  std::u16string IconFile;                  // an image replacing the type's icon
  bool WidenButtons = false;                // buttons grow to fit their captions
};

// The please-wait window.
struct WaitWindow {
  std::u16string Info;  // the information line; empty leaves it as it is
  std::u16string Main;  // the main line; empty leaves it as it is
  int GaugeMax = 0;     // > 0: the progress bar and time line are shown
  bool RepaintNow = true;
  bool AllowCancel = false;
  bool AllowClose = false;
};

// The progress display of the program's taskbar button.
enum class Attention : std::uint8_t { None, Indeterminate, Normal, Error, Paused };

class Dialogs {
 public:
  static constexpr const char* kServiceName = "dialogs";
  virtual ~Dialogs() = default;

  // The application's plain message box: the text and an OK button; returns when closed.
  virtual void ShowMessage(std::u16string_view text) = 0;

  // The folder-selection dialog, titled `title`, limited to folders of the file
  // system, with `initial` selected when it is not empty, centred on the screen when
  // `centred`. True with the chosen folder (no trailing separator, except for the
  // root) when the user confirms; false when the dialog was cancelled.
  virtual bool SelectFolder(std::u16string_view title, std::u16string_view initial, bool centred,
                            std::u16string& chosen) = 0;

  // The open-file dialog, titled `title`, offering the file types of `filter` (pairs
  // "description|patterns" joined by "|", patterns separated by ";": «XML|*.xml|Todos|*.*»),
  // opened in `folder` with the file `selected` of it preselected when not empty. True
  // with the chosen file's full path; false when the dialog was cancelled.
  virtual bool SelectFile(std::u16string_view title, std::u16string_view filter, std::u16string_view folder,
                          std::u16string_view selected, std::u16string& chosen) = 0;

  // Shows the message window modally. True when it was closed by OK (or by the end of
  // the countdown), false for Cancel, Esc or the close box.
  virtual bool ShowMessageWindow(const MessageWindow& window) = 0;

  // Shows the standard dialog modally. The Result of the button that closed it; 0 when
  // it was closed without one (the close box, Esc).
  virtual int ShowStandardDialog(const StandardDialog& dialog) = 0;

  // Opens the wait window, or updates the one that is open (one per process).
  virtual void ShowWaitWindow(const WaitWindow& window) = 0;
  // Closes the wait window; false when none was open.
  virtual bool CloseWaitWindow() = 0;
  virtual bool WaitWindowOpen() const = 0;
  // Whether the user cancelled (or closed) the open wait window.
  virtual bool WaitCancelled() const = 0;
  // Moves the progress bar; then UpdateWaitTime() rewrites the time line.
  virtual void SetWaitPosition(int position) = 0;
  virtual int WaitPosition() const = 0;
  virtual void UpdateWaitTime() = 0;
  // Called when Cancel is pressed (after the window marked itself cancelled).
  virtual void SetWaitCancelHandler(std::function<void()> handler) = 0;

  virtual void SetAttention(Attention state) = 0;
  // The system's sound for a message type (nothing for Custom).
  virtual void PlaySystemSound(DialogKind kind) = 0;
};

// The application-wide busy cursor (the hourglass). Nestable: the cursor is busy
// from the first Begin to the matching last End.
class BusyCursor {
 public:
  static constexpr const char* kServiceName = "busy cursor";
  virtual ~BusyCursor() = default;
  virtual void Begin() = 0;
  virtual void End() = 0;
};

}  // namespace zelmor::platform
