// What the library needs from the window system to talk to the user: the
// application's plain message box, the folder-selection dialog and the busy cursor.
// The system services (adapters/linux) are headless: messages go to standard error,
// and every question gets its default answer (a cancelled dialog); a program with
// windows installs its own over them.
#pragma once

#include <string>
#include <string_view>

#include "platform/service.h"

namespace zelmor::platform {

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
