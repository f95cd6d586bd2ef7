// The headless dialogs for tests: every message is recorded, questions are answered
// from `Script` or with the default button (a folder dialog is cancelled unless a
// folder was set to be chosen), and the busy cursor is counted. Installs itself on
// construction and puts back what it replaced on destruction.
#pragma once

#include "adapters/linux/headless_dialogs.h"

namespace zelmor::testing {

class RecordedDialogs final : public adapters::HeadlessDialogs {
 public:
  RecordedDialogs() : HeadlessDialogs(false) {}

 private:
  platform::Service<platform::Dialogs>::ScopedOverride FDialogs{this};
  platform::Service<platform::BusyCursor>::ScopedOverride FCursor{this};
};

}  // namespace zelmor::testing
