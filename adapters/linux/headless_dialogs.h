// The dialogs of a program without a screen (the command-line tool, tests): every
// message, window and wait-window change is recorded; questions are answered from a
// script when one is set, else with the default button; messages can be echoed to
// standard error.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace zelmor::adapters {

class HeadlessDialogs : public platform::Dialogs, public platform::BusyCursor {
 public:
  enum class Event : std::uint8_t { Message, MessageWindow, StandardDialog, WaitShown, WaitClosed, Attention, Sound };
  // One thing that happened, in order.
  struct Record {
    Event What = Event::Message;
    platform::DialogKind Kind = platform::DialogKind::Information;
    std::u16string Caption, Headline, Text, Details;
    std::vector<std::u16string> Buttons;  // the captions, in order (hidden ones included)
    int Countdown = 0;
    bool Monospaced = false;
    int Answer = 0;         // the window's result (1/0 for the message window)
    bool WaitOpen = false;  // whether the wait window was open when this was shown
    platform::Attention State = platform::Attention::None;
  };
  struct FolderRequest {
    std::u16string Title, Initial;
    bool Centred = false;
  };
  struct FileRequest {
    std::u16string Title, Filter, Folder, Selected;
  };
  // The wait window as it stands.
  struct WaitState {
    bool Open = false;
    std::u16string Info, Main;
    int GaugeMax = 0;
    bool BarShown = false, TimeShown = false;
    bool AllowCancel = false, AllowClose = false, Cancelled = false;
    int Position = 0;
  };

  // `echo`: messages and windows are also written to standard error.
  explicit HeadlessDialogs(bool echo = false) : FEcho(echo) {}
  HeadlessDialogs(const HeadlessDialogs&) = delete;
  HeadlessDialogs& operator=(const HeadlessDialogs&) = delete;

  void ShowMessage(std::u16string_view text) override;
  bool SelectFolder(std::u16string_view title, std::u16string_view initial, bool centred,
                    std::u16string& chosen) override;
  bool SelectFile(std::u16string_view title, std::u16string_view filter, std::u16string_view folder,
                  std::u16string_view selected, std::u16string& chosen) override;
  bool ShowMessageWindow(const platform::MessageWindow& window) override;
  int ShowStandardDialog(const platform::StandardDialog& dialog) override;
  void ShowWaitWindow(const platform::WaitWindow& window) override;
  bool CloseWaitWindow() override;
  bool WaitWindowOpen() const override { return Wait.Open; }
  bool WaitCancelled() const override { return Wait.Open && Wait.Cancelled; }
  void SetWaitPosition(int position) override { Wait.Position = position; }
  int WaitPosition() const override { return Wait.Position; }
  void UpdateWaitTime() override {}
  void SetWaitCancelHandler(std::function<void()> handler) override { FCancelHandler = std::move(handler); }
  void SetAttention(platform::Attention state) override;
  void PlaySystemSound(platform::DialogKind kind) override;
  void Begin() override { ++BusyBegins, ++BusyDepth; }
  void End() override { --BusyDepth; }

  // What the user pressing Cancel on the wait window does.
  void PressWaitCancel();
  // The records of one kind, in order.
  std::vector<const Record*> Of(Event what) const;

  // Answers for the next questions, first in first out. The message window takes
  // non-zero as OK; the standard dialog takes the Result of the button to press (0:
  // the close box); a button that does not close runs its handler and the next
  // answer is taken. Without answers, the default button answers.
  std::deque<int> Script;
  std::vector<Record> Records;
  // The text of every message shown, of every kind.
  std::vector<std::u16string> Messages;
  std::vector<FolderRequest> FolderRequests;
  // The folder the next folder dialogs answer with; none: they are cancelled.
  std::optional<std::u16string> FolderAnswer;
  std::vector<FileRequest> FileRequests;
  // The file the next open-file dialogs answer with; none: they are cancelled.
  std::optional<std::u16string> FileAnswer;
  WaitState Wait;
  platform::Attention AttentionState = platform::Attention::None;
  int BusyBegins = 0;
  int BusyDepth = 0;  // 0 again when every routine that set the cursor restored it

 private:
  std::optional<int> NextAnswer();
  // A window's record: what was shown, and whether the wait window was open meanwhile.
  Record Shown(Event what, platform::DialogKind kind, std::u16string_view caption, std::u16string_view text,
               int countdown, bool monospaced) const;
  void Echo(std::u16string_view caption, std::u16string_view text) const;

  bool FEcho;
  std::function<void()> FCancelHandler;
};

}  // namespace zelmor::adapters
