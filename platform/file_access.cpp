#include "platform/file_access.h"

#include <atomic>

namespace zelmor::platform {
namespace {

std::atomic<FileAccess*> gFileAccess{nullptr};

}  // namespace

FileAccess& GetFileAccess() {
  FileAccess* f = gFileAccess.load();
  return f ? *f : SystemFileAccess();
}
void SetFileAccess(FileAccess* access) { gFileAccess.store(access); }

}  // namespace zelmor::platform
