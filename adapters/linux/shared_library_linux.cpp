#include <dlfcn.h>

#include "adapters/linux/system_services.h"
#include "core/text.h"

namespace zelmor::adapters {
namespace {

using platform::ESharedLibraryError;
using platform::SharedLibrary;

class DlLibrary final : public platform::SharedLibrary {
 public:
  explicit DlLibrary(void* handle) : FHandle(handle) {}
  ~DlLibrary() override { dlclose(FHandle); }
  void* Symbol(const std::string& name) override { return dlsym(FHandle, name.c_str()); }

 private:
  void* FHandle;
};

class DlLoader final : public platform::SharedLibraryLoader {
 public:
  std::shared_ptr<SharedLibrary> Load(std::u16string_view path) override {
    std::string p = U16ToUtf8(path);
    // A name without a slash would make dlopen search the system's folders.
    if (p.find('/') == std::string::npos) p = "./" + p;
    void* h = dlopen(p.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!h) {
      const char* why = dlerror();
      throw ESharedLibraryError(Utf8ToU16(why ? why : p + ": cannot be loaded"));
    }
    return std::make_shared<DlLibrary>(h);
  }
};

}  // namespace

platform::SharedLibraryLoader& SystemSharedLibraryLoader() {
  static DlLoader loader;
  return loader;
}

}  // namespace zelmor::adapters
