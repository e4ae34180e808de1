// An input event device (/dev/input/event*) read as a digitizing tablet: its name, the range
// and resolution of its absolute axes, and the events that have arrived, read without
// waiting. Opening one needs read access to the device (the "input" group or a uaccess
// rule), so a refusal carries the system's errno.
#pragma once

#include <linux/input.h>

#include <optional>
#include <string>
#include <vector>

#include "support/serial_port.h"

namespace lumacet {

class TInputDevice {
 public:
  TInputDevice() = default;
  ~TInputDevice();
  TInputDevice(const TInputDevice&) = delete;
  TInputDevice& operator=(const TInputDevice&) = delete;

  TSystemError Open(const std::string& path);
  void Close();
  bool IsOpen() const { return fFd >= 0; }
  const std::string& Path() const { return fPath; }

  std::string Name() const;
  // The absolute axis `code` (ABS_X, ABS_Y); nothing when the device has no such axis.
  std::optional<input_absinfo> Axis(unsigned code) const;
  // Appends the events that have arrived; never waits. ENODEV once the device is gone.
  TSystemError Read(std::vector<input_event>& events);

 private:
  int fFd = -1;
  std::string fPath;
};

// The event devices of the system that report absolute X and Y, in name order.
std::vector<std::string> TabletDevicePaths(const std::string& folder = "/dev/input");

}  // namespace lumacet
