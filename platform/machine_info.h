// What the machine says about itself and its network: names, addresses, the
// processor, free disk space, and whether another host answers an echo request.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/service.h"

namespace zelmor::platform {

class MachineInfo {
 public:
  static constexpr const char* kServiceName = "machine information";
  virtual ~MachineInfo() = default;
  // The machine's host name, nothing when the system gives none.
  virtual std::optional<std::u16string> HostName() = 0;
  // The login name of the user the process runs as, nothing when it has none.
  virtual std::optional<std::u16string> UserName() = 0;
  // The IPv4 addresses of the interfaces that are up, loopback left out, dotted, in the
  // system's interface order.
  virtual std::vector<std::u16string> LocalIPv4Addresses() = 0;
  // The hardware address of the first interface that is up and has one (not loopback),
  // six bytes; nothing when there is none.
  virtual std::optional<std::vector<std::uint8_t>> HardwareAddress() = 0;
  // Sends one echo request of `payloadBytes` bytes to `address` (a name or an IPv4
  // address) and waits up to `timeoutMs` for the reply. False for no reply or when
  // echo requests cannot be sent here.
  virtual bool Echo(std::u16string_view address, int payloadBytes, int timeoutMs) = 0;
  // The processor's brand text exactly as it reports it (48 characters on x86, zero
  // characters included), empty when it has none.
  virtual std::u16string ProcessorBrand() = 0;
  // Logical processor ids per package, as the processor reports them; 0 when unknown.
  virtual int LogicalProcessorsPerPackage() = 0;
  // Bytes free to the user on the file system of the user's home folder; nothing when
  // it cannot be read.
  virtual std::optional<std::uint64_t> FreeDiskBytes() = 0;
};

}  // namespace zelmor::platform
