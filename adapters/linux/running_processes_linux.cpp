#include <dirent.h>
#include <malloc.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "adapters/linux/file_descriptor.h"
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

// The state letter and start time of process `pid` from /proc/<pid>/stat; false when
// it is gone. The command name in the second field may hold blanks and brackets, so the
// fields are counted from its last ')'.
bool ReadStat(const std::string& pid, char& state, std::uint64_t& startTime) {
  std::string stat;
  {
    std::ifstream in("/proc/" + pid + "/stat");
    if (!std::getline(in, stat)) return false;
  }
  const auto close = stat.rfind(')');
  if (close == std::string::npos || close + 2 >= stat.size()) return false;
  state = stat[close + 2];
  // After the name: state (3), ppid, pgrp, session, tty, tpgid, flags, minflt, cminflt,
  // majflt, cmajflt, utime, stime, cutime, cstime, priority, nice, threads, itrealvalue,
  // starttime (22).
  std::size_t at = close + 2;
  for (int field = 3; field < 22; ++field) {
    at = stat.find(' ', at);
    if (at == std::string::npos) return false;
    ++at;
  }
  startTime = std::strtoull(stat.c_str() + at, nullptr, 10);
  return true;
}

std::vector<platform::RunningProcess> TakeSnapshot() {
  std::vector<platform::RunningProcess> list;
  DIR* d = opendir("/proc");
  if (!d) return list;
  while (dirent* e = readdir(d)) {
    const std::string pid = e->d_name;
    if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos) continue;
    char state = 0;
    std::uint64_t start = 0;
    // A zombie has ended: only its parent's wait is missing.
    if (!ReadStat(pid, state, start) || state == 'Z' || state == 'X') continue;
    const std::string name = ExecutableName(pid);
    if (name.empty()) continue;
    list.push_back({std::stoll(pid), start, posix::LibraryPath(name)});
  }
  closedir(d);
  return list;
}

class LinuxProcessControl final : public platform::ProcessControl {
 public:
  std::vector<platform::RunningProcess> Snapshot() override { return TakeSnapshot(); }

  bool End(const platform::RunningProcess& process) override {
    if (process.Id <= 0) return false;
    const std::string pid = std::to_string(process.Id);
    // The pidfd holds on to the process it was opened for: once it is open and the start
    // time still agrees, the signal cannot reach a newcomer that was given the same id.
    const posix::FileDescriptor fd(static_cast<int>(syscall(SYS_pidfd_open, static_cast<pid_t>(process.Id), 0)));
    if (!fd && errno != ENOSYS) return false;
    char state = 0;
    std::uint64_t start = 0;
    bool ok = ReadStat(pid, state, start) && start == process.StartTime && state != 'Z';
    if (ok) {
      ok = fd ? syscall(SYS_pidfd_send_signal, fd.Get(), SIGKILL, nullptr, 0) == 0
              : kill(static_cast<pid_t>(process.Id), SIGKILL) == 0;
    }
    return ok;
  }

  std::int64_t OwnId() override { return getpid(); }

  bool ClaimInstance(std::u16string_view name, bool keep) override {
    // An abstract socket address: machine-wide (per network namespace), visible to every
    // user, and gone the moment its last descriptor closes, however the process ends.
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::string key = "zelmor-instance/" + posix::NativePath(name);
    constexpr std::size_t room = sizeof addr.sun_path - 1;
    if (key.size() > room) {
      // Too long for the address: its tail is replaced by a hash of the whole name.
      std::uint64_t h = 1469598103934665603ull;
      for (unsigned char c : key) h = (h ^ c) * 1099511628211ull;
      char hex[17];
      std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(h));
      key = key.substr(0, room - 17) + "#" + hex;
    }
    std::memcpy(addr.sun_path + 1, key.data(), key.size());
    posix::FileDescriptor fd(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fd) return false;
    const socklen_t len = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + key.size());
    if (bind(fd.Get(), reinterpret_cast<sockaddr*>(&addr), len) != 0) return false;
    if (keep) {
      std::lock_guard lock(FHeldMutex);
      FHeld.push_back(std::move(fd));
    }
    return true;
  }

  bool IsAdministrator() override { return geteuid() == 0; }

  std::uint64_t MemoryInUse() override {
    std::ifstream in("/proc/self/statm");
    std::uint64_t size = 0, resident = 0;
    if (!(in >> size >> resident)) return 0;
    return resident * static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
  }

  void TrimMemory() override {
#ifdef __GLIBC__
    malloc_trim(0);  // freed pages at the top of every arena and in its middle go back
#endif
  }

  bool PowerOff(bool restart) override {
    // Only a machine that systemd manages can be switched off by a user's program here.
    if (access("/run/systemd/system", F_OK) != 0) return false;
    sleep(1);
    platform::ProgramStart start;
    start.Arguments = {u"systemctl", restart ? u"reboot" : u"poweroff"};
    start.StandardInput = start.StandardOutput = u"/dev/null";
    start.Wait = true;
    int code = -1;
    return SystemProcesses().Start(start, &code) && code == 0;
  }

 private:
  std::mutex FHeldMutex;
  std::vector<posix::FileDescriptor> FHeld;  // kept guards, open until the process ends
};

class LinuxProcessInfo final : public platform::ProcessInfo {
 public:
  std::u16string ExecutablePath() override { return posix::LibraryPath(ReadLink("/proc/self/exe")); }

  std::vector<std::u16string> RunningExecutableNames() override {
    std::vector<std::u16string> names;
    for (auto& p : TakeSnapshot()) names.push_back(std::move(p.Name));
    return names;
  }
};

}  // namespace

platform::ProcessControl& SystemProcessControl() {
  static LinuxProcessControl control;
  return control;
}

platform::ProcessInfo& SystemProcessInfo() {
  static LinuxProcessInfo info;
  return info;
}

}  // namespace zelmor::adapters
