// The tool's loadable modules: the services over each outside library (zelmor-zip.so,
// zelmor-network.so, zelmor-crypto.so, zelmor-xml.so, zelmor-sound.so,
// zelmor-database.so) and the windows (zelmor-gui.so, Qt). A call starts without their
// libraries; the first call that needs one loads its module. docs/architecture.md says why.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zelmor::cli {

// Installs the base services and names, for each of the rest, its library's module as its loader.
void InstallServicesOnDemand();

// What the windows module offers (its entry zelmor_gui_module answers it).
struct GuiModule {
  // `zelmor dialog`: calls the routine args[0] with args[1..] with the real windows, then
  // keeps them up `holdSeconds` or, with `holdForInput`, until standard input closes.
  int (*RunWithWindows)(const std::vector<std::string>& args, long holdSeconds, bool holdForInput);
  // Runs `print` with the GUI's printer, drawing into the PDF file `pdf`, installed as
  // the platform's printer (and a GUI application made for it if there is none).
  void (*PrintToPdf)(std::u16string_view pdf, const std::function<void()>& print);
};

// Loads the windows module once; raises platform::ESharedLibraryError when it cannot.
const GuiModule& Gui();

}  // namespace zelmor::cli
