// Scanners through SANE. A session holds the library (sane_init .. sane_exit) and lists
// the devices; a scanner holds one open device (sane_open .. sane_close), sets its options
// by name and reads scans into raw images. Every failure comes back as a message that says
// what was being done and why it failed; nothing throws.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "imaging/scanned_image.h"
#include "model/raw_image.h"

namespace lumacet {

struct TScanDevice {
  std::string Name;  // what sane_open takes ("test:0")
  std::string Vendor;
  std::string Model;
  std::string Type;
  // "Vendor Model (Name)" for lists.
  std::string Description() const;
};

enum class TScanMode { Gray, Colour };

// Millimetres from the top-left corner of the scan bed.
struct TScanArea {
  double Left = 0;
  double Top = 0;
  double Right = 0;
  double Bottom = 0;
  bool operator==(const TScanArea&) const = default;
};

struct TScanSettings {
  TScanMode Mode = TScanMode::Gray;
  int Depth = 8;                   // 8 or 16 bits per sample
  double Resolution = 0;           // dots per inch; 0 keeps the device's
  bool Preview = false;            // the device's quick, low-quality pass, where it has one
  std::optional<TScanArea> Area;   // none: keep the device's
};

// What the open device offers, for the dialog's choices.
struct TScanCapabilities {
  double MinResolution = 0;  // both 0: the resolution cannot be chosen
  double MaxResolution = 0;
  std::vector<double> Resolutions;  // the only values allowed, when the device lists them
  bool HasGray = false;
  bool HasColour = false;
  bool Has16Bit = false;
  std::optional<TScanArea> Bed;  // the largest area, when the device gives it in millimetres
};

struct TScan {
  TRawImage Raw;             // 8 or 16 bits, grey or blue-green-red
  double XResolution = 0;    // dots per inch as the device reports them; 0 unknown
  double YResolution = 0;
};

// Shared between a scan and the thread that watches it: progress for a progress bar and
// the user's cancel. One per scan. Cancel may be called from any thread: the scan calls
// sane_cancel itself before its next read, because backends are not safe against a
// sane_cancel that races with their sane_read (the test backend closes the pipe being
// read), and sane_read returns data chunk by chunk, so the scan stops promptly.
struct TScanControl {
  void Cancel() { Cancelled = true; }
  std::atomic<bool> Cancelled{false};
  std::atomic<int64_t> BytesRead{0};
  std::atomic<int64_t> BytesExpected{0};  // 0 while unknown
  std::atomic<int> Pass{0};               // the scan of a multi-scan being read, from 1
};

class TSaneScanner;

class TSaneSession {
 public:
  // Initialises SANE; see Ok and Message. The library is process-wide, so a second
  // session while one is open fails.
  TSaneSession();
  ~TSaneSession();
  TSaneSession(const TSaneSession&) = delete;
  TSaneSession& operator=(const TSaneSession&) = delete;

  bool Ok() const { return fOk; }
  const std::string& Message() const { return fMessage; }

  // Local and network devices; this may take seconds when network backends are set up.
  bool Devices(std::vector<TScanDevice>& devices, std::string& message);
  // Null on failure, with `message` naming the device and the reason.
  std::unique_ptr<TSaneScanner> Open(const std::string& device, std::string& message);

 private:
  bool fOk = false;
  std::string fMessage;
};

class TSaneScanner {
 public:
  ~TSaneScanner();
  TSaneScanner(const TSaneScanner&) = delete;
  TSaneScanner& operator=(const TSaneScanner&) = delete;

  const std::string& Name() const { return fName; }
  TScanCapabilities Capabilities() const;

  // Sets mode, depth, resolution, preview and area, each only where the device has the
  // option (a resolution or area outside the device's range is brought inside it).
  // Fails when the device lacks the mode or depth asked for, or refuses a value.
  bool Configure(const TScanSettings& settings, std::string& message);

  // One scan, all of its frames. Fails, with the image left empty, on a device error, on
  // data the program cannot use, and with "Scan cancelled." once `control` is cancelled.
  bool Scan(TScan& scan, TScanControl& control, std::string& message);
  // `passes` scans of the same page combined by `reduction`; the passes must agree in
  // size and format.
  bool Scan(int passes, TNoiseReduction reduction, TScan& scan, TScanControl& control, std::string& message);

 private:
  friend class TSaneSession;
  TSaneScanner(void* handle, std::string name) : fHandle(handle), fName(std::move(name)) {}

  int FindOption(const char* name) const;
  bool SetOption(const char* name, double value, bool& present, std::string& message);
  bool SetOption(const char* name, const std::string& value, std::string& message);
  std::optional<double> NumberOption(const char* name) const;
  bool ReadScan(TScan& scan, TScanControl& control, std::string& message);

  void* fHandle;
  std::string fName;
};

}  // namespace lumacet
