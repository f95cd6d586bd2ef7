#include "testing/recorded_dialogs.h"

namespace zelmor::testing {

bool RecordedDialogs::SelectFolder(std::u16string_view title, std::u16string_view initial, bool centred,
                                   std::u16string& chosen) {
  FolderRequests.push_back({std::u16string(title), std::u16string(initial), centred});
  if (!FolderAnswer) return false;
  chosen = *FolderAnswer;
  return true;
}

}  // namespace zelmor::testing
