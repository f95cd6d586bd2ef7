// Headless dialogs for tests: every message is recorded, every question gets its
// default answer (a folder dialog is cancelled unless a folder was set to be
// chosen), and the busy cursor is counted. Installs itself on construction and
// puts back what it replaced on destruction.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace zelmor::testing {

class RecordedDialogs final : public platform::Dialogs, public platform::BusyCursor {
 public:
  struct FolderRequest {
    std::u16string Title, Initial;
    bool Centred = false;
  };

  RecordedDialogs() = default;
  RecordedDialogs(const RecordedDialogs&) = delete;
  RecordedDialogs& operator=(const RecordedDialogs&) = delete;

  void ShowMessage(std::u16string_view text) override { Messages.emplace_back(text); }
  bool SelectFolder(std::u16string_view title, std::u16string_view initial, bool centred,
                    std::u16string& chosen) override;
  void Begin() override { ++BusyBegins, ++BusyDepth; }
  void End() override { --BusyDepth; }

  std::vector<std::u16string> Messages;
  std::vector<FolderRequest> FolderRequests;
  // The folder the next folder dialogs answer with; none: they are cancelled.
  std::optional<std::u16string> FolderAnswer;
  int BusyBegins = 0;
  int BusyDepth = 0;  // 0 again when every routine that set the cursor restored it

 private:
  platform::Service<platform::Dialogs>::ScopedOverride FDialogs{this};
  platform::Service<platform::BusyCursor>::ScopedOverride FCursor{this};
};

}  // namespace zelmor::testing
