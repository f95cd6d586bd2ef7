#include "app/display_env.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string>

namespace quindel {
namespace {

bool UnixSocketAnswers(const std::string& path, bool abstract) {
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::size_t offset = abstract ? 1 : 0;  // abstract names start with a NUL byte
  if (path.size() + offset >= sizeof addr.sun_path) {
    ::close(fd);
    return false;
  }
  std::memcpy(addr.sun_path + offset, path.data(), path.size());
  socklen_t len = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + path.size());
  bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), len) == 0;
  ::close(fd);
  return ok;
}

bool XServerAnswers(const char* display) {
  std::string d = display;
  // ":N" or ":N.S" is a local server; anything with a host name is left to Qt.
  if (d.empty() || d[0] != ':') return true;
  std::string number = d.substr(1, d.find('.') == std::string::npos ? std::string::npos : d.find('.') - 1);
  std::string path = "/tmp/.X11-unix/X" + number;
  return UnixSocketAnswers(path, false) || UnixSocketAnswers(path, true);
}

}  // namespace

bool DisplayReachable() {
  if (const char* qpa = std::getenv("QT_QPA_PLATFORM"); qpa && *qpa) return true;
  if (const char* wl = std::getenv("WAYLAND_DISPLAY"); wl && *wl) {
    std::string path = wl;
    if (path[0] != '/') {
      const char* run = std::getenv("XDG_RUNTIME_DIR");
      path = std::string(run ? run : "") + "/" + path;
    }
    if (UnixSocketAnswers(path, false)) return true;
  }
  if (const char* x = std::getenv("DISPLAY"); x && *x) return XServerAnswers(x);
  return false;
}

}  // namespace quindel
