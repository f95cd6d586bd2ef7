// The dialogs of a program without a screen (the command-line tool, tests): a
// message goes to standard error, a folder dialog is cancelled, the cursor is ignored.
#include <cstdio>

#include "core/text.h"
#include "platform/services.h"

namespace zelmor::platform {
namespace {

class HeadlessDialogs final : public Dialogs {
 public:
  void ShowMessage(std::u16string_view text) override {
    const std::string s = U16ToUtf8(text);
    std::fprintf(stderr, "%s\n", s.c_str());
  }
  bool SelectFolder(std::u16string_view, std::u16string_view, bool, std::u16string&) override { return false; }
};

class HeadlessBusyCursor final : public BusyCursor {
 public:
  void Begin() override {}
  void End() override {}
};

}  // namespace

Dialogs& SystemDialogs() {
  static HeadlessDialogs dialogs;
  return dialogs;
}

BusyCursor& SystemBusyCursor() {
  static HeadlessBusyCursor cursor;
  return cursor;
}

}  // namespace zelmor::platform
