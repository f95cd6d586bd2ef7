#include "adapters/linux/headless_dialogs.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "adapters/linux/system_services.h"
#include "core/integer_text.h"
#include "core/text.h"

namespace zelmor::adapters {

void HeadlessDialogs::Echo(std::u16string_view caption, std::u16string_view text) const {
  if (!FEcho) return;
  const std::string c = U16ToUtf8(caption), t = U16ToUtf8(text);
  if (c.empty())
    std::fprintf(stderr, "%s\n", t.c_str());
  else
    std::fprintf(stderr, "%s: %s\n", c.c_str(), t.c_str());
}

std::optional<int> HeadlessDialogs::NextAnswer() {
  if (Script.empty()) return std::nullopt;
  const int a = Script.front();
  Script.pop_front();
  return a;
}

void HeadlessDialogs::ShowMessage(std::u16string_view text) {
  Record r;
  r.What = Event::Message;
  r.Text = text;
  r.Buttons = {u"OK"};
  r.Answer = 1;
  r.WaitOpen = Wait.Open;
  Records.push_back(std::move(r));
  Messages.emplace_back(text);
  Echo({}, text);
}

bool HeadlessDialogs::SelectFolder(std::u16string_view title, std::u16string_view initial, bool centred,
                                   std::u16string& chosen) {
  FolderRequests.push_back({std::u16string(title), std::u16string(initial), centred});
  if (!FolderAnswer) return false;
  chosen = *FolderAnswer;
  return true;
}

bool HeadlessDialogs::SelectFile(std::u16string_view title, std::u16string_view filter, std::u16string_view folder,
                                 std::u16string_view selected, std::u16string& chosen) {
  FileRequests.push_back(
      {std::u16string(title), std::u16string(filter), std::u16string(folder), std::u16string(selected)});
  if (!FileAnswer) return false;
  chosen = *FileAnswer;
  return true;
}

HeadlessDialogs::Record HeadlessDialogs::Shown(Event what, platform::DialogKind kind, std::u16string_view caption,
                                               std::u16string_view text, int countdown, bool monospaced) const {
  Record r;
  r.What = what;
  r.Kind = kind;
  r.Caption = caption;
  r.Text = text;
  r.Countdown = countdown;
  r.Monospaced = monospaced;
  r.WaitOpen = Wait.Open;
  return r;
}

bool HeadlessDialogs::ShowMessageWindow(const platform::MessageWindow& w) {
  Record r = Shown(Event::MessageWindow, w.Kind, w.Caption, w.Body, w.Countdown, w.Monospaced);
  r.Headline = w.Headline;
  r.Details = w.Details;
  r.Buttons.push_back(w.OkCaption);
  if (w.CancelShown) r.Buttons.push_back(w.CancelCaption);
  // The default button is the focused one: Cancel when it comes first.
  const bool ok = NextAnswer().value_or(w.CancelShown && w.CancelFirst ? 0 : 1) != 0;
  r.Answer = ok ? 1 : 0;
  Messages.push_back(w.Body);
  Records.push_back(std::move(r));
  Echo(w.Headline.empty() ? w.Caption : w.Headline, w.Body);
  return ok;
}

int HeadlessDialogs::ShowStandardDialog(const platform::StandardDialog& d) {
  Record r = Shown(Event::StandardDialog, d.Kind, d.Caption, d.Text, d.CountsDown ? 1 : 0, d.Monospaced);
  for (const platform::DialogButton& b : d.Buttons) r.Buttons.push_back(b.Caption);
  Messages.push_back(d.Text);
  Echo(d.Caption, d.Text);

  int focus = d.FocusButton;
  if (focus < 0 || focus >= static_cast<int>(d.Buttons.size())) {
    focus = -1;
    for (std::size_t i = 0; i < d.Buttons.size(); ++i)
      if (!d.Buttons[i].Hidden) {
        focus = static_cast<int>(i);
        break;
      }
  }
  int answer = 0;
  // Each press either closes the dialog or uses up an answer (or the default, once).
  bool defaultUsed = false;
  for (std::size_t round = 0; round <= d.Buttons.size() + Script.size() + 1; ++round) {
    const platform::DialogButton* pressed = nullptr;
    if (std::optional<int> a = NextAnswer()) {
      if (*a == 0) break;
      for (const platform::DialogButton& b : d.Buttons)
        if (b.Result == *a) pressed = &b;
      if (!pressed) break;  // no such button: taken as the close box
    } else {
      if (defaultUsed || focus < 0) break;
      defaultUsed = true;
      pressed = &d.Buttons[static_cast<std::size_t>(focus)];
    }
    if (pressed->OnClick) pressed->OnClick();
    if (pressed->Closes) {
      answer = pressed->Result;
      break;
    }
  }
  r.Answer = answer;
  Records.push_back(std::move(r));
  return answer;
}

void HeadlessDialogs::ShowWaitWindow(const platform::WaitWindow& w) {
  if (!Wait.Open) {
    Wait = WaitState{};
    Wait.Open = true;
    Wait.AllowClose = w.AllowCancel || w.AllowClose;
  }
  Wait.AllowCancel = w.AllowCancel;
  if (w.GaugeMax > 0) {
    Wait.GaugeMax = w.GaugeMax;
    Wait.BarShown = Wait.TimeShown = true;
    Wait.Position = 0;
  } else {
    Wait.TimeShown = false;
  }
  if (!w.Info.empty()) Wait.Info = w.Info;
  if (!w.Main.empty()) Wait.Main = w.Main;
  Record r;
  r.What = Event::WaitShown;
  r.Text = Wait.Info;
  r.Headline = Wait.Main;
  Records.push_back(std::move(r));
  AttentionState = platform::Attention::Indeterminate;
}

bool HeadlessDialogs::CloseWaitWindow() {
  AttentionState = platform::Attention::None;
  if (!Wait.Open) return false;
  Wait = WaitState{};
  FCancelHandler = nullptr;
  Record r;
  r.What = Event::WaitClosed;
  Records.push_back(std::move(r));
  return true;
}

void HeadlessDialogs::PressWaitCancel() {
  if (!Wait.Open || !Wait.AllowCancel) return;
  Wait.Cancelled = true;
  Wait.Info = u"CANCELANDO OPERAÇÃO...";
  if (FCancelHandler) FCancelHandler();
}

void HeadlessDialogs::SetAttention(platform::Attention state) {
  AttentionState = state;
  Record r;
  r.What = Event::Attention;
  r.State = state;
  Records.push_back(std::move(r));
}

void HeadlessDialogs::PlaySystemSound(platform::DialogKind kind) {
  if (kind == platform::DialogKind::Custom) return;
  Record r;
  r.What = Event::Sound;
  r.Kind = kind;
  Records.push_back(std::move(r));
}

std::vector<const HeadlessDialogs::Record*> HeadlessDialogs::Of(Event what) const {
  std::vector<const Record*> out;
  for (const Record& r : Records)
    if (r.What == what) out.push_back(&r);
  return out;
}

platform::Dialogs& SystemDialogs() {
  static HeadlessDialogs* dialogs = [] {
    auto* d = new HeadlessDialogs(true);
    // Answers for the questions of a run, comma-separated: "1,0,3".
    if (const char* answers = std::getenv("ZELMOR_DIALOG_ANSWERS")) {
      const std::u16string text = Utf8ToU16(answers);
      std::size_t from = 0;
      for (std::size_t n = 0; n <= text.size() && from <= text.size(); ++n) {
        const std::size_t comma = std::min(text.find(u',', from), text.size());
        int v = 0;
        if (ParseInteger(std::u16string_view(text).substr(from, comma - from), v)) d->Script.push_back(v);
        from = comma + 1;
      }
    }
    return d;
  }();
  return *dialogs;
}

platform::BusyCursor& SystemBusyCursor() { return static_cast<HeadlessDialogs&>(SystemDialogs()); }

}  // namespace zelmor::adapters
