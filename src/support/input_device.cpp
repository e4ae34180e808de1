#include "support/input_device.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

namespace lumacet {

TInputDevice::~TInputDevice() { Close(); }

TSystemError TInputDevice::Open(const std::string& path) {
  if (fFd >= 0) return {EBUSY};
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return {errno};
  fFd = fd;
  fPath = path;
  return {};
}

void TInputDevice::Close() {
  if (fFd < 0) return;
  ::close(fFd);
  fFd = -1;
  fPath.clear();
}

std::string TInputDevice::Name() const {
  char name[256] = {};
  if (fFd < 0 || ::ioctl(fFd, EVIOCGNAME(sizeof name - 1), name) < 0) return {};
  return name;
}

std::optional<input_absinfo> TInputDevice::Axis(unsigned code) const {
  unsigned long bits[(ABS_MAX + 1 + 8 * sizeof(unsigned long) - 1) / (8 * sizeof(unsigned long))] = {};
  if (fFd < 0 || ::ioctl(fFd, EVIOCGBIT(EV_ABS, sizeof bits), bits) < 0) return std::nullopt;
  const unsigned long word = bits[code / (8 * sizeof(unsigned long))];
  if ((word >> (code % (8 * sizeof(unsigned long))) & 1UL) == 0) return std::nullopt;
  input_absinfo info{};
  if (::ioctl(fFd, EVIOCGABS(code), &info) < 0) return std::nullopt;
  return info;
}

TSystemError TInputDevice::Read(std::vector<input_event>& events) {
  if (fFd < 0) return {EBADF};
  input_event buffer[64];
  while (true) {
    const ssize_t got = ::read(fFd, buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      if (errno == EAGAIN || errno == EWOULDBLOCK) return {};
      return {errno};
    }
    if (got == 0) return {};
    events.insert(events.end(), buffer, buffer + static_cast<std::size_t>(got) / sizeof(input_event));
  }
}

std::vector<std::string> TabletDevicePaths(const std::string& folder) {
  std::vector<std::string> paths;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("event", 0) != 0) continue;
    TInputDevice device;
    if (device.Open(entry.path().string())) continue;
    if (device.Axis(ABS_X) && device.Axis(ABS_Y)) paths.push_back(entry.path().string());
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}

}  // namespace lumacet
