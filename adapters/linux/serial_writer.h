// Writes to a serial device (a pole display) from a thread of its own, so a device that
// is unplugged or stalls never holds up the caller. Only the newest frame matters: one
// posted while an older one waits replaces it. A failing device is reported once, then
// reopened every second until it answers, and sent its start bytes and the newest frame.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "adapters/linux/file_descriptor.h"

namespace zelmor::adapters {

class SerialWriter {
 public:
  using Report = std::function<void(const std::string& line)>;

  // `baud` one of the usual rates (1200 to 115200); 8 data bits, no parity, 1 stop bit.
  SerialWriter(std::string device, int baud, std::string start, Report report);
  ~SerialWriter();
  SerialWriter(const SerialWriter&) = delete;
  SerialWriter& operator=(const SerialWriter&) = delete;

  // Queues `frame` in place of any frame not yet written. Never blocks on the device.
  void Post(std::string frame);

  static bool IsSupportedBaud(int baud);

 private:
  void Run();
  bool Open();
  bool WriteAll(const std::string& bytes);
  void Fail(const std::string& what, int error);

  const std::string FDevice;
  const int FBaud;
  const std::string FStart;
  const Report FReport;
  std::mutex FMutex;
  std::condition_variable FWake;
  std::string FPending;  // the newest frame (also what a reopened device is sent)
  std::uint64_t FPosted = 0, FWritten = 0;
  bool FStop = false;
  posix::FileDescriptor FFd;
  bool FFailing = false;  // reported, waiting for the device to come back
  std::thread FThread;
};

}  // namespace zelmor::adapters
