#include "adapters/linux/serial_writer.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

#include <chrono>

namespace zelmor::adapters {
namespace {

constexpr auto kRetry = std::chrono::seconds(1);
constexpr int kStallMs = 2000;  // a device that takes nothing for this long counts as gone

speed_t Speed(int baud) {
  switch (baud) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return B0;
  }
}

}  // namespace

bool SerialWriter::IsSupportedBaud(int baud) { return Speed(baud) != B0; }

SerialWriter::SerialWriter(std::string device, int baud, std::string start, Report report)
    : FDevice(std::move(device)), FBaud(baud), FStart(std::move(start)), FReport(std::move(report)) {
  FThread = std::thread([this] { Run(); });
}

SerialWriter::~SerialWriter() {
  {
    std::lock_guard lock(FMutex);
    FStop = true;
  }
  FWake.notify_all();
  FThread.join();
}

void SerialWriter::Post(std::string frame) {
  {
    std::lock_guard lock(FMutex);
    FPending = std::move(frame);
    ++FPosted;
  }
  FWake.notify_all();
}

void SerialWriter::Fail(const std::string& what, int error) {
  FFd.Reset();
  if (!FFailing && FReport)
    FReport("quindel: pole display " + FDevice + ": " + what + ": " + std::strerror(error) +
            "; the window goes on, and the device is tried again every second");
  FFailing = true;
}

bool SerialWriter::Open() {
  // Non-blocking from the start: opening a serial line may otherwise wait for its carrier.
  posix::FileDescriptor device(
      posix::Retry([&] { return ::open(FDevice.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC); }));
  const int fd = device.Get();
  if (!device) {
    Fail("cannot open", errno);
    return false;
  }
  termios t{};
  if (::tcgetattr(fd, &t) != 0) {
    const int e = errno;
    device.Reset();
    Fail("not a serial device", e);
    return false;
  }
  ::cfmakeraw(&t);
  t.c_cflag &= ~(CSTOPB | PARENB | CSIZE | CRTSCTS);
  t.c_cflag |= CS8 | CLOCAL | CREAD;
  ::cfsetispeed(&t, Speed(FBaud));
  ::cfsetospeed(&t, Speed(FBaud));
  if (::tcsetattr(fd, TCSANOW, &t) != 0) {
    const int e = errno;
    device.Reset();
    Fail("cannot set the line", e);
    return false;
  }
  FFd = std::move(device);
  if (!WriteAll(FStart)) return false;
  if (FFailing && FReport) FReport("quindel: pole display " + FDevice + " is back");
  FFailing = false;
  return true;
}

bool SerialWriter::WriteAll(const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(FFd.Get(), bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) {
      Fail("write failed", errno);
      return false;
    }
    pollfd p{FFd.Get(), POLLOUT, 0};
    const int r = ::poll(&p, 1, kStallMs);
    if (r == 0) {
      Fail("stalled", ETIMEDOUT);
      return false;
    }
    if (r < 0 && errno != EINTR) {
      Fail("poll failed", errno);
      return false;
    }
    if (r > 0 && (p.revents & (POLLERR | POLLHUP | POLLNVAL)) && !(p.revents & POLLOUT)) {
      Fail("hung up", EIO);
      return false;
    }
  }
  return true;
}

void SerialWriter::Run() {
  std::unique_lock lock(FMutex);
  while (!FStop) {
    const bool due = FPosted != FWritten || !FFd;
    if (!due) {
      FWake.wait(lock, [this] { return FStop || FPosted != FWritten; });
      continue;
    }
    const std::string frame = FPending;
    const std::uint64_t posted = FPosted;
    lock.unlock();
    bool ok = FFd || Open();
    if (ok && posted != 0) ok = WriteAll(frame);
    lock.lock();
    if (ok) {
      FWritten = posted;
    } else {
      // Wait for the retry time, or for a stop; a newer frame waits its turn.
      FWake.wait_for(lock, kRetry, [this] { return FStop; });
    }
  }
}

}  // namespace zelmor::adapters
