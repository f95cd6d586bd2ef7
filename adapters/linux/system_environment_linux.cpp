// The system environment on Linux: no Windows version facts (the naming then gives
// its fallbacks; a distribution's name means nothing to it), and the process
// environment read as UTF-8.
#include <cstdlib>
#include <string>

#include "adapters/linux/system_services.h"
#include "core/text.h"

namespace zelmor::adapters {
namespace {

class LinuxSystemEnvironment final : public platform::SystemEnvironment {
 public:
  platform::WindowsVersionFacts WindowsVersion() override { return {}; }

  std::optional<std::u16string> Variable(std::u16string_view name) override {
    const std::string key = U16ToUtf8(name);
    if (key.empty() || key.find_first_of(std::string("=\0", 2)) != std::string::npos) return std::nullopt;
    const char* value = std::getenv(key.c_str());
    if (!value) return std::nullopt;
    return Utf8ToU16(value);
  }
};

}  // namespace

platform::SystemEnvironment& SystemEnvironment() {
  static LinuxSystemEnvironment environment;
  return environment;
}

}  // namespace zelmor::adapters
