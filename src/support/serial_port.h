// A serial port as the tablets use it: opened exclusively, set to raw bytes with the line
// settings of a tablet definition, read without waiting and written with a short time-out.
// Failures carry the system's errno, whose text is what the user is shown.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lumacet {

// A failed system call, or none (errno 0).
struct TSystemError {
  int Errno = 0;
  explicit operator bool() const { return Errno != 0; }
  // strerror's text.
  std::string Text() const;
};

// Line settings in the codes of a tablet definition.
struct TSerialLine {
  uint32_t Baud = 9600;
  int Parity = 0;    // 0 none, 1 odd, 2 even, 3 mark, 4 space
  int DataBits = 8;  // 5 to 8
  int StopBits = 0;  // 0 one, 1 one and a half, 2 two
};

// Which half of setting the line failed: reading the port's present settings, or writing
// the new ones.
enum class TLineStep { Get, Set };
struct TLineFailure {
  TLineStep Step = TLineStep::Get;
  TSystemError Error;
};

class TSerialPort {
 public:
  TSerialPort() = default;
  ~TSerialPort();
  TSerialPort(const TSerialPort&) = delete;
  TSerialPort& operator=(const TSerialPort&) = delete;

  // For reading and writing, and for this port only: a second opener, in this program or
  // another, is refused (EBUSY) until Close.
  TSystemError Open(const std::string& path);
  void Close();
  bool IsOpen() const { return fFd >= 0; }

  // Raw bytes at the line's rate (any whole rate, not just the standard ones), parity, data
  // and stop bits. One and a half stop bits, data bits outside 5 to 8 and a rate of 0 are
  // refused (EINVAL) when writing the settings.
  std::optional<TLineFailure> Configure(const TSerialLine& line);

  // Appends at most `max` of the bytes that have arrived; never waits. EIO once the line
  // has hung up (a tablet unplugged, the far end of a pseudo-terminal closed).
  TSystemError Read(std::string& bytes, std::size_t max);
  // All of `bytes` within 2 ms per byte plus 2 ms, or ETIMEDOUT.
  TSystemError Write(std::string_view bytes);

 private:
  int fFd = -1;
};

// The device a stored port name stands for: "COM1" to "COMn" of a Windows installation
// become /dev/ttyS0 onwards, another bare name ("ttyUSB0") is looked for in /dev, and a
// name with a "/" is a path and stays as it is.
std::string SerialDevicePath(std::string_view portName);

}  // namespace lumacet
