// Machine facts: names from the system's user and host data, addresses from the
// interface list, the processor from its identification instructions, echo requests
// over ICMP.
#include <arpa/inet.h>
#include <ifaddrs.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/ip.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/statvfs.h>
#include <unistd.h>
#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "adapters/linux/file_descriptor.h"
#include "adapters/linux/posix_files.h"
#include "adapters/linux/system_services.h"
#include "core/text.h"

namespace zelmor::adapters {
namespace {

std::uint16_t Checksum(const unsigned char* data, std::size_t size) {
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i + 1 < size; i += 2) sum += static_cast<std::uint32_t>(data[i] << 8 | data[i + 1]);
  if (size % 2) sum += static_cast<std::uint32_t>(data[size - 1] << 8);
  while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<std::uint16_t>(~sum);
}

// One echo request over `fd` (an ICMP datagram socket, or a raw one whose replies
// come with their IP header) and the wait for its reply.
bool EchoOver(int fd, bool raw, const sockaddr_in& to, int payloadBytes, int timeoutMs) {
  static std::uint16_t sequence = 0;
  const std::uint16_t seq = ++sequence;
  const std::uint16_t id = static_cast<std::uint16_t>(getpid());
  std::string packet(8 + static_cast<std::size_t>(payloadBytes), '\0');
  auto* p = reinterpret_cast<unsigned char*>(packet.data());
  p[0] = ICMP_ECHO;
  p[4] = static_cast<unsigned char>(id >> 8);
  p[5] = static_cast<unsigned char>(id);
  p[6] = static_cast<unsigned char>(seq >> 8);
  p[7] = static_cast<unsigned char>(seq);
  for (int i = 0; i < payloadBytes; ++i) p[8 + i] = static_cast<unsigned char>('a' + i % 23);
  const std::uint16_t sum = Checksum(p, packet.size());
  p[2] = static_cast<unsigned char>(sum >> 8);
  p[3] = static_cast<unsigned char>(sum);
  if (sendto(fd, packet.data(), packet.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to) < 0) return false;
  const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  std::string reply(65536, '\0');
  for (int reads = 0; reads < 1000; ++reads) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(limit - std::chrono::steady_clock::now()).count();
    if (left <= 0) return false;
    pollfd pfd{fd, POLLIN, 0};
    if (poll(&pfd, 1, static_cast<int>(left)) <= 0) return false;
    sockaddr_in from{};
    socklen_t fromLen = sizeof from;
    const ssize_t n = recvfrom(fd, reply.data(), reply.size(), 0, reinterpret_cast<sockaddr*>(&from), &fromLen);
    if (n <= 0) continue;
    auto* r = reinterpret_cast<const unsigned char*>(reply.data());
    std::size_t at = 0;
    if (raw) at = static_cast<std::size_t>(r[0] & 0x0F) * 4;
    if (static_cast<std::size_t>(n) < at + 8 || from.sin_addr.s_addr != to.sin_addr.s_addr) continue;
    // A raw socket also sees other programs' replies (and, to ourselves, our own request).
    const bool ours = (r[at + 6] << 8 | r[at + 7]) == seq && (!raw || (r[at + 4] << 8 | r[at + 5]) == id);
    if (r[at] == ICMP_ECHOREPLY && ours) return true;
  }
  return false;
}

class LinuxMachineInfo final : public platform::MachineInfo {
 public:
  std::optional<std::u16string> HostName() override {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0 || !name[0]) return std::nullopt;
    return Utf8ToU16(name);
  }

  std::optional<std::u16string> UserName() override {
    passwd pw{}, *found = nullptr;
    std::string buf(16384, '\0');
    if (getpwuid_r(geteuid(), &pw, buf.data(), buf.size(), &found) != 0 || !found || !pw.pw_name) return std::nullopt;
    return Utf8ToU16(pw.pw_name);
  }

  std::vector<std::u16string> LocalIPv4Addresses() override {
    std::vector<std::u16string> list;
    ifaddrs* all = nullptr;
    if (getifaddrs(&all) != 0) return list;
    for (ifaddrs* i = all; i; i = i->ifa_next) {
      if (!i->ifa_addr || i->ifa_addr->sa_family != AF_INET) continue;
      if (!(i->ifa_flags & IFF_UP) || (i->ifa_flags & IFF_LOOPBACK)) continue;
      char text[INET_ADDRSTRLEN] = {};
      inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(i->ifa_addr)->sin_addr, text, sizeof text);
      list.push_back(Utf8ToU16(text));
    }
    freeifaddrs(all);
    return list;
  }

  std::optional<std::vector<std::uint8_t>> HardwareAddress() override {
    std::optional<std::vector<std::uint8_t>> found;
    ifaddrs* all = nullptr;
    if (getifaddrs(&all) != 0) return found;
    for (ifaddrs* i = all; i && !found; i = i->ifa_next) {
      if (!i->ifa_addr || i->ifa_addr->sa_family != AF_PACKET) continue;
      if (!(i->ifa_flags & IFF_UP) || (i->ifa_flags & IFF_LOOPBACK)) continue;
      const auto* ll = reinterpret_cast<const sockaddr_ll*>(i->ifa_addr);
      if (ll->sll_halen != 6) continue;
      std::vector<std::uint8_t> mac(ll->sll_addr, ll->sll_addr + 6);
      if (mac != std::vector<std::uint8_t>(6, 0)) found = mac;
    }
    freeifaddrs(all);
    return found;
  }

  bool Echo(std::u16string_view address, int payloadBytes, int timeoutMs) override {
    if (payloadBytes < 0 || payloadBytes > 65500 || timeoutMs < 0) return false;
    const std::string host = U16ToUtf8(address);
    if (host.empty()) return false;
    addrinfo hints{}, *res = nullptr;
    hints.ai_family = AF_INET;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &res) != 0 || !res) return false;
    const sockaddr_in to = *reinterpret_cast<sockaddr_in*>(res->ai_addr);
    freeaddrinfo(res);
    // The unprivileged ICMP socket where the system allows it, a raw socket where we
    // may open one, else the system's ping program.
    for (bool raw : {false, true}) {
      const posix::FileDescriptor fd(socket(AF_INET, (raw ? SOCK_RAW : SOCK_DGRAM) | SOCK_CLOEXEC, IPPROTO_ICMP));
      if (!fd) continue;
      return EchoOver(fd.Get(), raw, to, payloadBytes, timeoutMs);
    }
    char dotted[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &to.sin_addr, dotted, sizeof dotted);
    platform::ProgramStart ping;
    ping.Arguments = {u"ping",
                      u"-n",
                      u"-q",
                      u"-c",
                      u"1",
                      u"-s",
                      IntToStr(payloadBytes),
                      u"-W",
                      IntToStr(std::max(1, (timeoutMs + 999) / 1000)),
                      Utf8ToU16(dotted)};
    ping.StandardInput = ping.StandardOutput = u"/dev/null";
    ping.Wait = true;
    int code = -1;
    return SystemProcesses().Start(ping, &code) && code == 0;
  }

  std::u16string ProcessorBrand() override {
#if defined(__x86_64__) || defined(__i386__)
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (__get_cpuid(0x80000000u, &a, &b, &c, &d) && a >= 0x80000004u) {
      std::u16string brand;
      for (unsigned leaf = 0x80000002u; leaf <= 0x80000004u; ++leaf) {
        __get_cpuid(leaf, &a, &b, &c, &d);
        for (unsigned reg : {a, b, c, d})
          for (int i = 0; i < 4; ++i) brand.push_back(static_cast<unsigned char>(reg >> (8 * i)));
      }
      return brand;
    }
#endif
    // Elsewhere the system's own description of the processor.
    std::ifstream info("/proc/cpuinfo");
    std::string line;
    for (int lines = 0; lines < 10000 && std::getline(info, line); ++lines) {
      if (line.rfind("model name", 0) == 0 || line.rfind("Model", 0) == 0) {
        const auto colon = line.find(':');
        if (colon != std::string::npos) return Utf8ToU16(line.substr(line.find_first_not_of(" \t", colon + 1)));
      }
    }
    return {};
  }

  int LogicalProcessorsPerPackage() override {
#if defined(__x86_64__) || defined(__i386__)
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (__get_cpuid(1, &a, &b, &c, &d)) return static_cast<int>((b >> 16) & 0xFF);
#endif
    return 0;
  }

  std::optional<std::uint64_t> FreeDiskBytes() override {
    std::string home;
    if (const char* h = std::getenv("HOME"); h && *h) home = h;
    if (home.empty()) home = "/";
    struct statvfs fs {};
    if (statvfs(home.c_str(), &fs) != 0) return std::nullopt;
    return static_cast<std::uint64_t>(fs.f_bavail) * fs.f_frsize;
  }
};

}  // namespace

platform::MachineInfo& SystemMachineInfo() {
  static LinuxMachineInfo info;
  return info;
}

}  // namespace zelmor::adapters
