// A digitizing tablet under a radiograph film: one named definition of the settings file
// (its line, report template, resolution and Y origin), the open port, and the reports read
// from it without waiting, each turned into a position in tracing units (0.1 mm) for the
// digitizing of the radiograph. A serial tablet sends fixed-length reports laid out by the
// control string; in "WinTAB" mode an input event device reports millimetres itself.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/result.h"

namespace lumacet {

class TInputDevice;
class TSerialPort;
class TTabletPackets;

// What Poll found.
inline constexpr int kPollReport = 0;      // X and Y hold the new report
inline constexpr int kPollNothing = 1;     // no complete report yet
inline constexpr int kPollNotOpen = -1;
inline constexpr int kPollReadError = -2;  // the port failed (a vanished device)
inline constexpr int kPollMalformed = -3;

struct TPollResult {
  int Code = kPollNothing;
  TText Message;  // for every negative code: what the user is shown
};

struct TDigitizerOpen {
  TResult Outcome;
  // The port could not be reached: the user may try again (Retry and Cancel).
  bool CanRetry = false;
  // Initialization commands that were not sent, one message each; Open goes on all the same.
  std::vector<TText> WriteErrors;
};

inline constexpr std::size_t kReportTemplateLimit = 64;  // characters of the control string
inline constexpr std::size_t kCommandLimit = 64;         // bytes of a command as it is sent
inline constexpr std::string_view kWinTabLastReport = "WinTAB Driver";

class TDigitizer {
 public:
  TDigitizer();
  ~TDigitizer();
  TDigitizer(const TDigitizer&) = delete;
  TDigitizer& operator=(const TDigitizer&) = delete;

  // The definition: what LoadSettings reads and SettingsString writes.
  std::string Name = "Generic";
  std::string Port = "COM2";      // a device path, or a "COMn" name of a Windows installation
  std::string BaudRate = "9600";  // read as a whole number at Open
  int Parity = 2;                 // 0 None, 1 Odd, 2 Even, 3 Mark, 4 Space
  int DataBits = 8;
  int StopBits = 2;  // 0 one, 1 one and a half, 2 two
  std::string ControlString = "FxxxxxSSyyyyySCL";
  std::vector<std::string> InitCommands;
  double Resolution = 3000.0;  // counts per millimetre
  double YOrigin = 0.0;        // tracing units
  bool UseWinTab = false;

  // The last complete report as received, and its position in tracing units.
  std::string LastReport;
  double X = 0;
  double Y = 0;

  static std::string DefaultSettings();
  // Fields that do not read keep their values; with seven fields or fewer nothing is taken
  // and the result says so (the values stay as they were).
  TResult LoadSettings(std::string_view settings);
  std::string SettingsString() const;
  // What the properties dialog's OK refuses: a resolution that is not above 0, an empty or
  // over-long control string, an initialization command that does not fit 64 bytes.
  TResult Check() const;

  TDigitizerOpen Open();
  void Close();
  bool IsOpen() const;
  TPollResult Poll();

  // The input event device in "WinTAB" mode: the port when it names one, otherwise the
  // first device with absolute axes. Lines describing it, for the properties dialog.
  std::vector<TText> WinTabInfo() const;

  // A command as it is written: "\r\n" appended, "<ESC>" and "<CR>" replaced by their bytes.
  static std::string CommandBytes(std::string_view command);
  static std::optional<int> ParityCode(std::string_view name);
  static std::optional<int> StopBitsCode(std::string_view name);
  static std::string_view ParityName(int code);
  static std::string_view StopBitsName(int code);

 private:
  TDigitizerOpen OpenSerial();
  TDigitizerOpen OpenDevice();
  TPollResult PollSerial();
  TPollResult PollDevice();
  std::string DevicePath() const;

  std::unique_ptr<TSerialPort> fPort;
  std::unique_ptr<TInputDevice> fDevice;
  std::unique_ptr<TTabletPackets> fPackets;
  std::string fBuffer;  // bytes received but not yet used
};

}  // namespace lumacet
