#include <dirent.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "adapters/linux/posix_files.h"
#include "adapters/linux/system_services.h"
#include "core/text.h"

namespace zelmor::adapters {
namespace {

// The target of a symbolic link; empty when it cannot be read.
std::string ReadLink(const std::string& path) {
  std::string buf(256, '\0');
  for (int attempt = 0; attempt < 8; ++attempt) {
    ssize_t n = readlink(path.c_str(), buf.data(), buf.size());
    if (n < 0) return {};
    if (static_cast<std::size_t>(n) < buf.size()) {
      buf.resize(static_cast<std::size_t>(n));
      return buf;
    }
    buf.resize(buf.size() * 2);
  }
  return {};
}

// The executable file name of process `pid`: from its executable link where the
// system lets us read it, else from the first word of its command line, else its
// short command name (which the kernel cuts at 15 bytes).
std::string ExecutableName(const std::string& pid) {
  std::string exe = ReadLink("/proc/" + pid + "/exe");
  if (exe.size() > 10 && exe.compare(exe.size() - 10, 10, " (deleted)") == 0) exe.resize(exe.size() - 10);
  if (exe.empty()) {
    std::ifstream cmd("/proc/" + pid + "/cmdline", std::ios::binary);
    std::getline(cmd, exe, '\0');
  }
  if (exe.empty()) {
    std::ifstream comm("/proc/" + pid + "/comm");
    std::getline(comm, exe);
  }
  return posix::BaseOf(exe);
}

class LinuxProcessInfo final : public platform::ProcessInfo {
 public:
  std::u16string ExecutablePath() override { return posix::LibraryPath(ReadLink("/proc/self/exe")); }

  std::vector<std::u16string> RunningExecutableNames() override {
    std::vector<std::u16string> names;
    DIR* d = opendir("/proc");
    if (!d) return names;
    while (dirent* e = readdir(d)) {
      const std::string pid = e->d_name;
      if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos) continue;
      const std::string name = ExecutableName(pid);
      if (!name.empty()) names.push_back(posix::LibraryPath(name));
    }
    closedir(d);
    return names;
  }
};

}  // namespace

platform::ProcessInfo& SystemProcessInfo() {
  static LinuxProcessInfo info;
  return info;
}

}  // namespace zelmor::adapters
