#include "support/serial_port.h"

// termios2 and BOTHER give any rate; glibc's <termios.h> cannot be included beside them.
#include <asm/ioctls.h>
#include <asm/termbits.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <utility>

#include "support/file_numbers.h"

namespace lumacet {

std::string TSystemError::Text() const { return std::strerror(Errno); }

namespace {

TSystemError LastError() { return {errno}; }

// Standard rates keep their own codes, which drivers and other programs reading the
// settings know; any other rate is given as a number.
tcflag_t RateCode(uint32_t baud) {
  static constexpr std::pair<uint32_t, tcflag_t> kRates[] = {
      {50, B50},         {75, B75},         {110, B110},       {134, B134},       {150, B150},
      {200, B200},       {300, B300},       {600, B600},       {1200, B1200},     {1800, B1800},
      {2400, B2400},     {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
      {57600, B57600},   {115200, B115200}, {230400, B230400}, {460800, B460800}, {921600, B921600}};
  for (const auto& [rate, code] : kRates)
    if (rate == baud) return code;
  return BOTHER;
}

}  // namespace

TSerialPort::~TSerialPort() { Close(); }

TSystemError TSerialPort::Open(const std::string& path) {
  if (fFd >= 0) return {EBUSY};
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return LastError();
  // TIOCEXCL keeps other programs out (root excepted); the lock also covers this one.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno == EWOULDBLOCK ? EBUSY : errno;
    ::close(fd);
    return {error};
  }
  if (::ioctl(fd, TIOCEXCL) != 0) {
    const TSystemError error = LastError();
    ::close(fd);
    return error;
  }
  fFd = fd;
  return {};
}

void TSerialPort::Close() {
  if (fFd < 0) return;
  ::ioctl(fFd, TIOCNXCL);
  ::close(fFd);
  fFd = -1;
}

std::optional<TLineFailure> TSerialPort::Configure(const TSerialLine& line) {
  termios2 settings{};
  if (fFd < 0) return TLineFailure{TLineStep::Get, {EBADF}};
  if (::ioctl(fFd, TCGETS2, &settings) != 0) return TLineFailure{TLineStep::Get, LastError()};
  static constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
  if (line.Baud == 0 || line.DataBits < 5 || line.DataBits > 8 || line.StopBits == 1 || line.StopBits < 0 ||
      line.StopBits > 2 || line.Parity < 0 || line.Parity > 4)
    return TLineFailure{TLineStep::Set, {EINVAL}};
  // Raw input and output: no echo, no line editing, no translation of CR or LF.
  settings.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | INPCK);
  settings.c_oflag &= ~static_cast<tcflag_t>(OPOST);
  settings.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  settings.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CBAUD | (CBAUD << IBSHIFT));
  const tcflag_t rate = RateCode(line.Baud);
  settings.c_cflag |= kSizes[line.DataBits - 5] | CREAD | CLOCAL | rate | (rate << IBSHIFT);
  if (line.StopBits == 2) settings.c_cflag |= CSTOPB;
  switch (line.Parity) {
    case 1: settings.c_cflag |= PARENB | PARODD; break;
    case 2: settings.c_cflag |= PARENB; break;
    case 3: settings.c_cflag |= PARENB | CMSPAR | PARODD; break;
    case 4: settings.c_cflag |= PARENB | CMSPAR; break;
    default: break;
  }
  settings.c_ispeed = line.Baud;
  settings.c_ospeed = line.Baud;
  // Reads return at once with whatever has arrived.
  settings.c_cc[VMIN] = 0;
  settings.c_cc[VTIME] = 0;
  if (::ioctl(fFd, TCSETS2, &settings) != 0) return TLineFailure{TLineStep::Set, LastError()};
  return std::nullopt;
}

TSystemError TSerialPort::Read(std::string& bytes, std::size_t max) {
  if (fFd < 0) return {EBADF};
  char buffer[256];
  while (max > 0) {
    const ssize_t got = ::read(fFd, buffer, std::min(max, sizeof buffer));
    if (got < 0) {
      if (errno == EINTR) continue;
      if (errno == EAGAIN || errno == EWOULDBLOCK) return {};
      return LastError();
    }
    if (got == 0) {
      // Without waiting, "nothing yet" and "the line is gone" both read as 0 bytes; only the
      // hang-up tells them apart.
      pollfd line{fFd, POLLIN, 0};
      if (::poll(&line, 1, 0) > 0 && (line.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) return {EIO};
      return {};
    }
    bytes.append(buffer, static_cast<std::size_t>(got));
    max -= static_cast<std::size_t>(got);
  }
  return {};
}

TSystemError TSerialPort::Write(std::string_view bytes) {
  if (fFd < 0) return {EBADF};
  using TClock = std::chrono::steady_clock;
  const TClock::time_point deadline = TClock::now() + std::chrono::milliseconds(2 * bytes.size() + 2);
  while (!bytes.empty()) {
    const ssize_t put = ::write(fFd, bytes.data(), bytes.size());
    if (put > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(put));
      continue;
    }
    if (put < 0 && errno == EINTR) continue;
    if (put < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return LastError();
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - TClock::now()).count();
    if (left <= 0) return {ETIMEDOUT};
    pollfd waiting{fFd, POLLOUT, 0};
    if (::poll(&waiting, 1, static_cast<int>(left)) < 0 && errno != EINTR) return LastError();
  }
  return {};
}

std::string SerialDevicePath(std::string_view portName) {
  if (portName.find('/') == std::string_view::npos && portName.size() > 3 && portName.substr(0, 3) == "COM")
    if (const std::optional<int32_t> number = ParseFileInt(portName.substr(3)); number && *number >= 1)
      return "/dev/ttyS" + std::to_string(*number - 1);
  if (portName.find('/') == std::string_view::npos) return "/dev/" + std::string(portName);
  return std::string(portName);
}

}  // namespace lumacet
