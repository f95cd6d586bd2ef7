#include <unistd.h>

#include <string>

#include "adapters/linux/system_services.h"
#include "core/text.h"

namespace zelmor::adapters {
namespace {

class LinuxProcessInfo final : public platform::ProcessInfo {
 public:
  std::u16string ExecutablePath() override {
    std::string buf(256, '\0');
    for (int attempt = 0; attempt < 8; ++attempt) {
      ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size());
      if (n < 0) return {};
      if (static_cast<std::size_t>(n) < buf.size()) {
        buf.resize(static_cast<std::size_t>(n));
        return Utf8ToU16(buf);
      }
      buf.resize(buf.size() * 2);
    }
    return {};
  }
};

}  // namespace

platform::ProcessInfo& SystemProcessInfo() {
  static LinuxProcessInfo info;
  return info;
}

}  // namespace zelmor::adapters
