// The dialogs of a program without a screen (the command-line tool, tests): a
// message goes to standard error, a folder dialog is cancelled, the cursor is ignored.
#include <cstdio>

#include "core/text.h"
#include "adapters/linux/system_services.h"

namespace zelmor::adapters {
namespace {

class HeadlessDialogs final : public platform::Dialogs {
 public:
  void ShowMessage(std::u16string_view text) override {
    const std::string s = U16ToUtf8(text);
    std::fprintf(stderr, "%s\n", s.c_str());
  }
  bool SelectFolder(std::u16string_view, std::u16string_view, bool, std::u16string&) override { return false; }
};

class HeadlessBusyCursor final : public platform::BusyCursor {
 public:
  void Begin() override {}
  void End() override {}
};

}  // namespace

platform::Dialogs& SystemDialogs() {
  static HeadlessDialogs dialogs;
  return dialogs;
}

platform::BusyCursor& SystemBusyCursor() {
  static HeadlessBusyCursor cursor;
  return cursor;
}

}  // namespace zelmor::adapters
