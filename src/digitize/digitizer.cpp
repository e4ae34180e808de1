#include "digitize/digitizer.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "digitize/tablet_packets.h"
#include "persistence/data_lines.h"
#include "support/comma_list.h"
#include "support/file_numbers.h"
#include "support/input_device.h"
#include "support/serial_port.h"

namespace lumacet {

namespace {

constexpr std::array<std::string_view, 5> kParityNames = {"None", "Odd", "Even", "Mark", "Space"};
constexpr std::array<std::string_view, 3> kStopBitsNames = {"1", "1.5", "2"};
constexpr std::string_view kWinTabField = "WinTAB";
constexpr std::size_t kDefinitionFields = 8;

constexpr TTextSource kParametersMissing = LcText(
    "Digitizer",
    "Digitizer Initialization Error\r\n\r\nParameters missing from Lumacet.ini file. Default values used.");
constexpr TTextSource kAlreadyOpen = LcText("Digitizer", "Digitizer already open.");
constexpr TTextSource kUnableToConnect = LcText("Digitizer", "Unable to Connect with Digitizer.\r\n\r\nError: %1");
constexpr TTextSource kGetCommState = LcText("Digitizer", "Unable to Get Comm State.\r\n\r\n%1");
constexpr TTextSource kSetCommState = LcText("Digitizer", "Unable to Set Comm State.\r\n\r\n%1");
constexpr TTextSource kWriteError = LcText("Digitizer", "Write Error: %1");
constexpr TTextSource kCommandTooLong = LcText("Digitizer", "the command \"%1\" is longer than 64 bytes");
constexpr TTextSource kNotOpen = LcText("Digitizer", "Digitizer not open.");
constexpr TTextSource kReadError = LcText("Digitizer", "Read Error: %1");
constexpr TTextSource kNullCharacter = LcText("Digitizer", "Digitizer Error.\r\n\r\nNull character received.");
constexpr TTextSource kInvalidBinary = LcText("Digitizer", "Digitizer Error.\r\n\r\nInvalid binary.");
constexpr TTextSource kControlCharacter = LcText("Digitizer", "Digitizer Error.\r\n\r\nControl character received.");
constexpr TTextSource kNotANumber = LcText("Digitizer", "Digitizer Error.\r\n%1\r\n%2\r\nCannot convert to number.");
constexpr TTextSource kBadResolution =
    LcText("Digitizer", "The resolution must be a number of tablet counts per millimetre above 0.");
constexpr TTextSource kBadControlString =
    LcText("Digitizer", "The control string must have from 1 to 64 characters.");
constexpr TTextSource kNoDevice = LcText("Digitizer", "No WinTAB driver detected");
constexpr TTextSource kCannotOpenContext = LcText("Digitizer", "Could not open Context.");
constexpr TTextSource kNoAxisResolution =
    LcText("Digitizer", "The tablet %1 does not report the resolution of its X and Y axes.");

TText SystemText(const TSystemError& error) { return TText::Verbatim(error.Text()); }

// A field the splitting would cut or trim goes in quotes, right after its comma (a quote
// after the blank would not open a quoted field), so that it reads back as written.
void AppendField(std::string& text, std::string_view field) {
  const bool plain = field.find(',') == std::string_view::npos && field == TrimField(field);
  if (!text.empty()) text += plain ? ", " : ",";
  text += plain ? std::string(field) : "\"" + std::string(field) + "\"";
}

void Replace(std::string& text, std::string_view token, char byte) {
  for (std::size_t at = text.find(token); at != std::string::npos; at = text.find(token, at + 1))
    text.replace(at, token.size(), 1, byte);
}

// The counts of a report, or the message of why it does not read.
struct TCounts {
  double X = 0;
  double Y = 0;
  TText Error;
};

TCounts BinaryCounts(std::string_view report, std::string_view layout) {
  TCounts counts;
  double* values[] = {&counts.X, &counts.Y};
  for (int axis = 0; axis < 2; ++axis) {
    const std::size_t at = layout.find(axis == 0 ? 'X' : 'Y');
    if (at == std::string_view::npos || at + 1 >= report.size()) return {0, 0, TText(kInvalidBinary)};
    *values[axis] = 256.0 * static_cast<unsigned char>(report[at + 1]) + static_cast<unsigned char>(report[at]);
  }
  return counts;
}

std::string_view AsciiField(std::string_view report, std::string_view layout, char letter) {
  const std::size_t start = layout.find(letter);
  if (start == std::string_view::npos) return {};
  const std::size_t end = std::min(layout.find_first_not_of(letter, start), layout.size());
  return report.substr(start, end - start);
}

TCounts AsciiCounts(std::string_view report, std::string_view layout) {
  const std::string_view fields[] = {AsciiField(report, layout, 'x'), AsciiField(report, layout, 'y')};
  for (std::string_view field : fields)
    if (std::any_of(field.begin(), field.end(), [](char c) { return static_cast<unsigned char>(c) < 32; }))
      return {0, 0, TText(kControlCharacter)};
  TCounts counts;
  double* values[] = {&counts.X, &counts.Y};
  for (int axis = 0; axis < 2; ++axis) {
    const std::optional<double> value = ParseFileReal(TrimField(fields[axis]), false);
    if (!value) return {0, 0, TText(kNotANumber, {report, fields[axis]})};
    *values[axis] = *value;
  }
  return counts;
}

}  // namespace

TDigitizer::TDigitizer() = default;
TDigitizer::~TDigitizer() { Close(); }

std::string TDigitizer::DefaultSettings() { return "FxxxxxSSyyyyySCL, COM2, 9600, Even, 8, 2, 3000.0, 0.0"; }

std::optional<int> TDigitizer::ParityCode(std::string_view name) {
  const auto found = std::find(kParityNames.begin(), kParityNames.end(), name);
  if (found == kParityNames.end()) return std::nullopt;
  return static_cast<int>(found - kParityNames.begin());
}

std::optional<int> TDigitizer::StopBitsCode(std::string_view name) {
  const auto found = std::find(kStopBitsNames.begin(), kStopBitsNames.end(), name);
  if (found == kStopBitsNames.end()) return std::nullopt;
  return static_cast<int>(found - kStopBitsNames.begin());
}

std::string_view TDigitizer::ParityName(int code) {
  return code >= 0 && code < static_cast<int>(kParityNames.size()) ? kParityNames[static_cast<std::size_t>(code)]
                                                                     : kParityNames[0];
}

std::string_view TDigitizer::StopBitsName(int code) {
  return code >= 0 && code < static_cast<int>(kStopBitsNames.size()) ? kStopBitsNames[static_cast<std::size_t>(code)]
                                                                       : kStopBitsNames[0];
}

TResult TDigitizer::LoadSettings(std::string_view settings) {
  std::vector<std::string_view> fields = SplitCommaList(settings);
  const bool winTab = !fields.empty() && fields.front() == kWinTabField;
  if (winTab) fields.erase(fields.begin());
  if (fields.size() < kDefinitionFields) return TResult::Failure(TText(kParametersMissing));
  for (std::string_view& field : fields) field = TrimField(field);
  UseWinTab = winTab;
  // A template a report could not be read by keeps the one there is.
  if (!fields[0].empty() && fields[0].size() <= kReportTemplateLimit) ControlString = fields[0];
  Port = fields[1];
  BaudRate = fields[2];
  if (const std::optional<int> parity = ParityCode(fields[3])) Parity = *parity;
  if (const std::optional<int32_t> bits = ParseFileInt(fields[4]); bits && *bits >= 0 && *bits <= 255) DataBits = *bits;
  if (const std::optional<int> stop = StopBitsCode(fields[5])) StopBits = *stop;
  // A resolution of 0 would put infinite coordinates into the radiograph.
  if (const std::optional<double> resolution = ParseFileReal(fields[6], false); resolution && *resolution > 0)
    Resolution = *resolution;
  if (const std::optional<double> origin = ParseFileReal(fields[7], false)) YOrigin = *origin;
  InitCommands.assign(fields.begin() + kDefinitionFields, fields.end());
  return {};
}

std::string TDigitizer::SettingsString() const {
  std::string text = UseWinTab ? std::string(kWinTabField) : std::string();
  for (const std::string_view field :
       {std::string_view(ControlString), std::string_view(Port), std::string_view(BaudRate)})
    AppendField(text, field);
  AppendField(text, ParityName(Parity));
  AppendField(text, std::to_string(DataBits));
  AppendField(text, StopBitsName(StopBits));
  AppendField(text, FormatFixed(Resolution, 1));
  AppendField(text, FormatFixed(YOrigin, 1));
  for (const std::string& command : InitCommands) AppendField(text, command);
  return text;
}

TResult TDigitizer::Check() const {
  if (!(Resolution > 0) || !std::isfinite(Resolution)) return TResult::Failure(TText(kBadResolution));
  if (ControlString.empty() || ControlString.size() > kReportTemplateLimit)
    return TResult::Failure(TText(kBadControlString));
  for (const std::string& command : InitCommands)
    if (CommandBytes(command).size() > kCommandLimit) return TResult::Failure(TText(kCommandTooLong, {command}));
  return {};
}

std::string TDigitizer::CommandBytes(std::string_view command) {
  std::string bytes = std::string(command) + "\r\n";
  Replace(bytes, "<ESC>", '\x1b');
  Replace(bytes, "<CR>", '\r');
  return bytes;
}

bool TDigitizer::IsOpen() const { return fPort != nullptr || fDevice != nullptr; }

void TDigitizer::Close() {
  fPort.reset();
  fDevice.reset();
  fPackets.reset();
}

TDigitizerOpen TDigitizer::Open() {
  fBuffer.clear();
  if (IsOpen()) return {TResult::Failure(TText(kAlreadyOpen))};
  return UseWinTab ? OpenDevice() : OpenSerial();
}

TDigitizerOpen TDigitizer::OpenSerial() {
  TDigitizerOpen opened;
  // Reports could not be read with these, or would give infinite coordinates.
  if (!(Resolution > 0) || !std::isfinite(Resolution)) return {TResult::Failure(TText(kBadResolution))};
  if (ControlString.empty() || ControlString.size() > kReportTemplateLimit)
    return {TResult::Failure(TText(kBadControlString))};
  auto port = std::make_unique<TSerialPort>();
  if (const TSystemError error = port->Open(SerialDevicePath(Port))) {
    opened.Outcome = TResult::Failure(TText(kUnableToConnect, {SystemText(error)}));
    opened.CanRetry = true;
    return opened;
  }
  TSerialLine line;
  const std::optional<int32_t> baud = ParseFileInt(BaudRate);
  // A rate that is not a whole number above 0 is one the port cannot be set to.
  line.Baud = baud && *baud > 0 ? static_cast<uint32_t>(*baud) : 0;
  line.Parity = Parity;
  line.DataBits = DataBits;
  line.StopBits = StopBits;
  if (const std::optional<TLineFailure> failure = port->Configure(line))
    return {TResult::Failure(
        TText(failure->Step == TLineStep::Get ? kGetCommState : kSetCommState, {SystemText(failure->Error)}))};
  for (const std::string& command : InitCommands) {
    const std::string bytes = CommandBytes(command);
    if (bytes.size() > kCommandLimit)
      opened.WriteErrors.emplace_back(kWriteError, std::vector<TText>{TText(kCommandTooLong, {command})});
    else if (const TSystemError error = port->Write(bytes))
      opened.WriteErrors.emplace_back(kWriteError, std::vector<TText>{SystemText(error)});
  }
  fPort = std::move(port);
  return opened;
}

TPollResult TDigitizer::Poll() {
  if (!IsOpen()) return {kPollNotOpen, TText(kNotOpen)};
  return fPort ? PollSerial() : PollDevice();
}

TPollResult TDigitizer::PollSerial() {
  const std::size_t length = ControlString.size();
  std::string bytes;
  if (const TSystemError error = fPort->Read(bytes, length))
    return {kPollReadError, TText(kReadError, {SystemText(error)})};
  if (bytes.empty()) return {kPollNothing, {}};
  // Only where a report begins: within one, a binary count's high byte is often 0.
  if (fBuffer.empty() && (bytes[0] == '\0' || bytes[0] == '\x80')) return {kPollMalformed, TText(kNullCharacter)};
  for (char& byte : bytes) byte = static_cast<char>(byte & 0x7F);
  fBuffer += bytes;
  if (fBuffer.size() < length) return {kPollNothing, {}};
  LastReport = fBuffer.substr(0, length);
  fBuffer.erase(0, length);
  const bool binary = ControlString.find('X') != std::string::npos;
  const TCounts counts = binary ? BinaryCounts(LastReport, ControlString) : AsciiCounts(LastReport, ControlString);
  if (!counts.Error.Empty()) return {kPollMalformed, counts.Error};
  X = counts.X / Resolution * 10;
  // The tablet counts upwards, the tracing downwards.
  Y = YOrigin - counts.Y / Resolution * 10;
  return {kPollReport, {}};
}

std::string TDigitizer::DevicePath() const {
  if (Port.rfind("/dev/input/", 0) == 0) return Port;
  const std::vector<std::string> devices = TabletDevicePaths();
  return devices.empty() ? std::string() : devices.front();
}

TDigitizerOpen TDigitizer::OpenDevice() {
  const std::string path = DevicePath();
  if (path.empty()) return {TResult::Failure(TText(kNoDevice))};
  auto device = std::make_unique<TInputDevice>();
  if (const TSystemError error = device->Open(path)) {
    TDigitizerOpen opened{TResult::Failure(TText(kCannotOpenContext), path + ": " + error.Text())};
    opened.CanRetry = true;
    return opened;
  }
  const std::optional<input_absinfo> x = device->Axis(ABS_X);
  const std::optional<input_absinfo> y = device->Axis(ABS_Y);
  if (!x || !y || x->resolution <= 0 || y->resolution <= 0)
    return {TResult::Failure(TText(kNoAxisResolution, {device->Name()}), path)};
  fPackets = std::make_unique<TTabletPackets>(*x, *y);
  fDevice = std::move(device);
  return {};
}

TPollResult TDigitizer::PollDevice() {
  std::vector<input_event> events;
  const TSystemError error = fDevice->Read(events);
  // The events before a failure (the device unplugged) still count.
  for (const input_event& event : events) fPackets->Feed(event);
  const std::optional<TFloatPoint> packet = fPackets->Take();
  if (!packet && error) return {kPollReadError, TText(kReadError, {SystemText(error)})};
  if (!packet) return {kPollNothing, {}};
  LastReport = kWinTabLastReport;
  X = packet->X;
  Y = packet->Y;
  return {kPollReport, {}};
}

std::vector<TText> TDigitizer::WinTabInfo() const {
  const std::string path = DevicePath();
  TInputDevice device;
  if (path.empty() || device.Open(path)) return {TText(kNoDevice)};
  std::vector<TText> lines = {TText::Verbatim("Hardware: Linux input events"), TText::Verbatim("Default Device: " + path),
                              TText::Verbatim("Device: " + device.Name())};
  for (const auto& [axis, code] : {std::pair{"X", ABS_X}, std::pair{"Y", ABS_Y}}) {
    const std::optional<input_absinfo> info = device.Axis(code);
    if (!info) continue;
    lines.push_back(TText::Verbatim(std::string(axis) + "-Axis:\tminimum: " + std::to_string(info->minimum) +
                    "\tmaximum: " + std::to_string(info->maximum) + "\tunits: Millimeters\tresolution: " +
                    std::to_string(info->resolution)));
  }
  return lines;
}

}  // namespace lumacet
