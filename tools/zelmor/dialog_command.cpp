// `zelmor dialog`: calls a routine as `zelmor call` does, but with the real windows of
// the GUI, for trying the dialogs by hand.
#include <cstdlib>
#include <string>

#include "tools/zelmor/commands.h"
#include "tools/zelmor/json_values.h"
#include "tools/zelmor/registry.h"

#include "tools/zelmor/modules.h"

namespace zelmor::cli {
namespace {

constexpr const char* kUsage =
    "usage: zelmor dialog [--hold SECONDS|stdin] ROUTINE ARG...   (e.g. zelmor dialog mDlg.Confirma \"Gravar?\")\n"
    "  --hold SECONDS   keep the windows up that many seconds after the routine returns\n"
    "  --hold stdin     keep them up until standard input closes (Ctrl+D, or the end of a pipe)\n"
    "  (a routine that returns at once, such as dbxAguardeUnit.ShowWaitWindow, is seen only so)";

int Run(const std::vector<std::string>& given) {
  std::vector<std::string> args = given;
  // What keeps the event loop going after the call: nothing, seconds, or standard input.
  long holdSeconds = 0;
  bool holdForInput = false;
  if (!args.empty() && args[0] == "--hold") {
    const auto seconds = [](const std::string& text, long& out) {
      char* end = nullptr;
      out = std::strtol(text.c_str(), &end, 10);
      return !text.empty() && *end == 0 && out >= 1 && out <= 86400;
    };
    if (args.size() >= 2 && args[1] == "stdin") {
      holdForInput = true;
    } else if (args.size() < 2 || !seconds(args[1], holdSeconds)) {
      PrintError("zelmor: dialog --hold takes a number of seconds (1 to 86400) or \"stdin\"");
      return 2;
    }
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.empty()) {
    PrintError(kUsage);
    return 2;
  }
#ifdef ZELMOR_WITH_QT
  // On a platform without a screen nobody could answer, and the modal window would wait for ever.
  const std::string platform = std::getenv("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "";
  const bool screenless = platform.starts_with("offscreen") || platform.starts_with("minimal");
  if (screenless || (platform.empty() && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))) {
    PrintError("zelmor: dialog needs a display (DISPLAY or WAYLAND_DISPLAY); zelmor call answers headless");
    return 1;
  }
  return Gui().RunWithWindows(args, holdSeconds, holdForInput);
#else
  PrintError("zelmor: this build has no windows (built without the display program)");
  return 1;
#endif
}

ZELMOR_COMMAND("dialog",
               "dialog [--hold SECONDS|stdin] ROUTINE ARG...   (a routine with the real windows, to try them by hand)",
               Run);

}  // namespace
}  // namespace zelmor::cli
