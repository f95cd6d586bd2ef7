#include "adapters/linux/linux_places.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>

#include "adapters/linux/file_descriptor.h"
#include "adapters/linux/posix_files.h"
#include "core/integer_text.h"

namespace zelmor::adapters::linux_places {
namespace {

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

std::string WithoutTrailingSlashes(std::string p) {
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  return p;
}

// The XDG rule: a variable that is unset, empty or not an absolute path is ignored.
std::string XdgFolder(const char* variable, const std::string& fallback) {
  const std::string v = Env(variable);
  return WithoutTrailingSlashes(!v.empty() && v[0] == '/' ? v : fallback);
}

std::string DataHome() { return XdgFolder("XDG_DATA_HOME", Home() + "/.local/share"); }

// XDG_DESKTOP_DIR from user-dirs.dirs: a line XDG_DESKTOP_DIR="$HOME/Área de trabalho"
// or with an absolute path. "$HOME/" alone means the user turned the folder off.
std::string DesktopFolder() {
  const std::string home = Home();
  std::ifstream in(XdgFolder("XDG_CONFIG_HOME", home + "/.config") + "/user-dirs.dirs");
  std::string line;
  for (int n = 0; n < 1000 && std::getline(in, line); ++n) {
    const std::string key = "XDG_DESKTOP_DIR=\"";
    const std::size_t at = line.find_first_not_of(" \t");
    if (at == std::string::npos || line.compare(at, key.size(), key) != 0) continue;
    const std::size_t start = at + key.size(), end = line.rfind('"');
    if (end == std::string::npos || end < start) continue;
    std::string value;
    for (std::size_t i = start; i < end; ++i) {
      if (line[i] == '\\' && i + 1 < end) ++i;
      value += line[i];
    }
    if (value.rfind("$HOME", 0) == 0) value = home + value.substr(5);
    if (!value.empty() && value[0] == '/') return WithoutTrailingSlashes(value);
  }
  return home + "/Desktop";
}

std::string FirstDataDir() {
  std::string dirs = Env("XDG_DATA_DIRS");
  for (std::size_t start = 0; start <= dirs.size();) {
    std::size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    const std::string d = dirs.substr(start, end - start);
    if (!d.empty() && d[0] == '/') return WithoutTrailingSlashes(d);
    start = end + 1;
  }
  return "/usr/local/share";
}

// ---- Trash ----

bool Fail(std::string& err, const std::string& what) {
  err = what + ": " + posix::ErrorText(errno);
  return false;
}

bool MakeFolder(const std::string& path, mode_t mode) {
  if (mkdir(path.c_str(), mode) == 0) return true;
  struct stat st {};
  return errno == EEXIST && lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool MakeFolders(const std::string& path, mode_t mode) {
  for (std::size_t i = 1; i <= path.size(); ++i)
    if ((i == path.size() || path[i] == '/') && !MakeFolder(path.substr(0, i), mode)) return false;
  return true;
}

// The entry's absolute path with its folder's links resolved but not its own name.
bool AbsoluteEntryPath(const std::string& path, std::string& abs, std::string& err) {
  std::string p = WithoutTrailingSlashes(path);
  const std::string folder = posix::FolderOf(p), base = posix::BaseOf(p);
  if (base.empty() || base == "." || base == "..") {
    errno = EINVAL;
    return Fail(err, "Não é possível mandar \"" + path + "\" para a lixeira");
  }
  char buf[PATH_MAX];
  if (!realpath(folder.c_str(), buf)) return Fail(err, "Não é possível mandar \"" + path + "\" para a lixeira");
  abs = std::string(buf) == "/" ? "/" + base : std::string(buf) + "/" + base;
  return true;
}

// The top of the file system that holds folder `folder` (absolute, resolved).
std::string MountTop(const std::string& folder) {
  std::string top = folder;
  struct stat st {};
  if (stat(top.c_str(), &st) != 0) return "/";
  while (top != "/") {
    const std::string up = posix::FolderOf(top);
    struct stat ust {};
    if (stat(up.c_str(), &ust) != 0 || ust.st_dev != st.st_dev) break;
    top = up;
  }
  return top;
}

std::string PercentEncoded(const std::string& path) {
  std::string out;
  for (unsigned char c : path) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '/' || c == '-' ||
        c == '_' || c == '.' || c == '~') {
      out += static_cast<char>(c);
    } else {
      out += '%';
      AppendUnsigned<16>(out, c, 2, true);
    }
  }
  return out;
}

// The trash folder for an entry on device `device`: the user's own when it is on
// that device, else the one at the top of the entry's file system.
bool TrashFor(const std::string& abs, dev_t device, std::string& trash, std::string& top, std::string& err) {
  const std::string home = DataHome() + "/Trash";
  // The device of the user's trash, or of its nearest existing folder.
  std::string probe = home;
  struct stat st {};
  while (stat(probe.c_str(), &st) != 0 && probe != "/") probe = posix::FolderOf(probe);
  if (st.st_dev == device) {
    trash = home;
    top.clear();
    if (!MakeFolders(trash + "/files", 0700) || !MakeFolders(trash + "/info", 0700))
      return Fail(err, "Não foi possível criar a lixeira \"" + trash + "\"");
    return true;
  }
  top = MountTop(posix::FolderOf(abs));
  const std::string uid = std::to_string(getuid());
  const std::string shared = (top == "/" ? "" : top) + "/.Trash";
  // A shared trash counts only when it is a real, sticky folder.
  if (lstat(shared.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX)) {
    trash = shared + "/" + uid;
    if (MakeFolder(trash, 0700) && MakeFolder(trash + "/files", 0700) && MakeFolder(trash + "/info", 0700)) return true;
  }
  trash = (top == "/" ? "" : top) + "/.Trash-" + uid;
  if (!MakeFolder(trash, 0700) || lstat(trash.c_str(), &st) != 0 || st.st_uid != getuid() ||
      !MakeFolder(trash + "/files", 0700) || !MakeFolder(trash + "/info", 0700))
    return Fail(err, "Não foi possível criar a lixeira \"" + trash + "\"");
  return true;
}

}  // namespace

std::string Home() {
  std::string home = Env("HOME");
  if (home.empty()) {
    if (const passwd* pw = getpwuid(getuid())) home = pw->pw_dir;
  }
  return WithoutTrailingSlashes(home);
}

std::string SpecialFolder(platform::SpecialFolder folder) {
  using F = platform::SpecialFolder;
  switch (folder) {
    case F::Windows:
    case F::System:
    case F::System32: return {};
    case F::Temp: return XdgFolder("TMPDIR", "/tmp");
    case F::Desktop:
    case F::DesktopDirectory: return DesktopFolder();
    case F::StartMenu: return DataHome() + "/applications";
    case F::CommonStartMenu: return FirstDataDir() + "/applications";
    case F::AppData:
    case F::LocalAppData: return DataHome();
  }
  return {};
}

bool MoveToTrash(const std::string& path, std::string& err) {
  std::string abs;
  if (!AbsoluteEntryPath(path, abs, err)) return false;
  struct stat st {};
  if (lstat(abs.c_str(), &st) != 0) return Fail(err, "Não é possível mandar \"" + path + "\" para a lixeira");
  std::string trash, top;
  if (!TrashFor(abs, st.st_dev, trash, top, err)) return false;

  // The info file comes first and claims the name; the entry then moves under it.
  const std::string base = posix::BaseOf(abs);
  char when[32];
  const time_t now = time(nullptr);
  struct tm tm {};
  localtime_r(&now, &tm);
  std::strftime(when, sizeof when, "%Y-%m-%dT%H:%M:%S", &tm);
  const std::string shown = top.empty() ? abs : abs.substr(top == "/" ? 1 : top.size() + 1);
  const std::string info = "[Trash Info]\nPath=" + PercentEncoded(shown) + "\nDeletionDate=" + when + "\n";
  for (int n = 1; n <= 10000; ++n) {
    const std::string name = n == 1 ? base : base + "." + std::to_string(n);
    const std::string infoPath = trash + "/info/" + name + ".trashinfo";
    posix::FileDescriptor fd(open(infoPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (!fd) {
      if (errno == EEXIST) continue;
      return Fail(err, "Não foi possível gravar \"" + infoPath + "\"");
    }
    const bool written = posix::WriteAll(fd.Get(), info);
    const int writeErr = errno;
    fd.Reset();
    if (!written) {
      unlink(infoPath.c_str());
      errno = writeErr;
      return Fail(err, "Não foi possível gravar \"" + infoPath + "\"");
    }
    const std::string target = trash + "/files/" + name;
    if (renameat2(AT_FDCWD, abs.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) return true;
    const int moveErr = errno;
    unlink(infoPath.c_str());
    if (moveErr == EEXIST) continue;  // a stray entry without its info file
    errno = moveErr;
    return Fail(err, "Não foi possível mandar \"" + path + "\" para a lixeira");
  }
  errno = EEXIST;
  return Fail(err, "Não foi possível mandar \"" + path + "\" para a lixeira");
}

}  // namespace zelmor::adapters::linux_places
