// `zelmor display send`: sends two lines to a customer display the way a POS does.
#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "core/cp1252.h"
#include "core/integer_text.h"
#include "core/text.h"
#include "tools/zelmor/commands.h"

namespace zelmor::cli {
namespace {

int Send(const std::string& host, const std::string& port, const std::string& payload) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* res = nullptr;
  if (int rc = getaddrinfo(host.c_str(), port.c_str(), &hints, &res); rc != 0) {
    PrintError("zelmor: " + host + ": " + gai_strerror(rc));
    return 1;
  }
  int fd = -1;
  std::string lastError = "no address";
  for (addrinfo* a = res; a; a = a->ai_next) {
    fd = socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
    if (fd < 0) continue;
    if (connect(fd, a->ai_addr, a->ai_addrlen) == 0) break;
    lastError = std::strerror(errno);
    close(fd);
    fd = -1;
  }
  freeaddrinfo(res);
  if (fd < 0) {
    PrintError("zelmor: cannot connect to " + host + ":" + port + ": " + lastError);
    return 1;
  }
  std::size_t sent = 0;
  while (sent < payload.size()) {
    ssize_t n = ::send(fd, payload.data() + sent, payload.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      PrintError(std::string("zelmor: send failed: ") + std::strerror(errno));
      close(fd);
      return 1;
    }
    sent += static_cast<std::size_t>(n);
  }
  shutdown(fd, SHUT_WR);
  close(fd);
  return 0;
}

int Run(const std::vector<std::string>& args) {
  const char* usage = "usage: zelmor display send [--host H] [--port P] LINE1 [LINE2]";
  if (args.empty() || args[0] != "send") {
    PrintError(usage);
    return 2;
  }
  std::string host = "127.0.0.1", port = "2200";
  std::vector<std::string> lines;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if ((args[i] == "--host" || args[i] == "--port") && i + 1 < args.size()) {
      (args[i] == "--host" ? host : port) = args[i + 1];
      ++i;
    } else {
      lines.push_back(args[i]);
    }
  }
  if (lines.empty() || lines.size() > 2) {
    PrintError(usage);
    return 2;
  }
  std::uint16_t portNumber = 0;
  if (!ParsePort(port, portNumber)) {
    PrintError("zelmor: --port takes a number from 1 to 65535, not \"" + port + "\"");
    return 2;
  }
  // Line 1, the separator 0xBF, line 2: one character per byte in Windows-1252. A line
  // holding the separator would move its rest to the next line (and lose line 2).
  constexpr char16_t kSeparator = u'\u00BF';
  std::u16string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::u16string line = Utf8ToU16(lines[i]);
    if (line.find(kSeparator) != std::u16string::npos) {
      PrintError("zelmor: line " + std::to_string(i + 1) +
                 " holds \"¿\", which the display takes as the end of line 1; it is not sent");
      return 2;
    }
    text += (i ? std::u16string(1, kSeparator) : u"") + line;
  }
  if (lines.size() == 1) text += kSeparator;
  return Send(host, std::to_string(portNumber), cp1252::Encode(text));
}

ZELMOR_COMMAND("display", "display send [--host H] [--port P] LINE1 [LINE2]   (show two lines on a display)", Run);

}  // namespace
}  // namespace zelmor::cli
