#include "tools/zelmor/modules.h"

#include <unistd.h>

#include <iterator>
#include <memory>
#include <mutex>
#include <string>

#include "adapters/linux/system_services.h"
#include "core/text.h"
#include "platform/executable_info.h"
#include "platform/shared_library.h"

namespace zelmor::cli {
namespace {

// The module file `name`: beside the program in the build tree, else in the installed
// library folder (ZELMOR_MODULE_DIR, relative to the program's folder). A module that is
// there but does not load says why; one that is nowhere is reported where it belongs.
std::shared_ptr<platform::SharedLibrary> LoadModule(const std::u16string& name) {
  const std::u16string exe = platform::Service<platform::ProcessInfo>::Get().ExecutablePath();
  const std::u16string folder = exe.substr(0, exe.rfind(u'/') + 1);
  std::u16string path = folder + name;
  if (::access(U16ToUtf8(path).c_str(), F_OK) != 0) path = folder + Utf8ToU16(ZELMOR_MODULE_DIR) + u"/" + name;
  return platform::Service<platform::SharedLibraryLoader>::Get().Load(path);
}

template <class T>
T Entry(platform::SharedLibrary& module, const char* name, const std::u16string& file) {
  if (void* p = module.Symbol(name)) return reinterpret_cast<T>(p);
  throw platform::ESharedLibraryError(file + u" has no " + Utf8ToU16(name));
}

// A loaded module stays loaded to the very end of the process, past the destructors of
// statics: the services installed from it are used until then, and its libraries
// (OpenSSL, libcurl) have exit handlers of their own.
using Module = std::shared_ptr<platform::SharedLibrary>;

// Loads the module of `library`'s services, once, and installs them.
void LoadServices(adapters::OutsideLibrary library) {
  static Module* modules[std::size(adapters::kOutsideLibraries)] = {};
  static std::mutex guard;
  std::lock_guard lock(guard);
  Module*& module = modules[static_cast<std::size_t>(library)];
  if (module) return;
  const std::string name = adapters::OutsideLibraryName(library);
  const std::u16string file = Utf8ToU16("zelmor-" + name + ".so");
  Module loaded = LoadModule(file);
  Entry<void (*)()>(*loaded, ("zelmor_install_" + name + "_services").c_str(), file)();
  module = new Module(std::move(loaded));
}

}  // namespace

void InstallServicesOnDemand() {
  adapters::InstallBaseServices();
  adapters::DeferOutsideServices(&LoadServices);
}

const GuiModule& Gui() {
  static const GuiModule* gui = nullptr;
  static Module* module = nullptr;
  static std::mutex guard;
  std::lock_guard lock(guard);
  if (!module) {
    const std::u16string file = u"zelmor-gui.so";
    Module loaded = LoadModule(file);
    gui = Entry<const GuiModule* (*)()>(*loaded, "zelmor_gui_module", file)();
    module = new Module(std::move(loaded));  // never unloaded, as above
  }
  return *gui;
}

}  // namespace zelmor::cli
