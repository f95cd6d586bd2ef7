#include "platform/shared_library.h"

#include <atomic>

namespace zelmor::platform {
namespace {
std::atomic<SharedLibraryLoader*> gLoader{nullptr};
}  // namespace

SharedLibraryLoader& GetSharedLibraryLoader() {
  SharedLibraryLoader* l = gLoader.load();
  return l ? *l : SystemSharedLibraryLoader();
}
void SetSharedLibraryLoader(SharedLibraryLoader* loader) { gLoader.store(loader); }

}  // namespace zelmor::platform
