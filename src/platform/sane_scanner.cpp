#include "platform/sane_scanner.h"

#include <sane/sane.h>
#include <sane/saneopts.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstring>
#include <new>
#include <utility>

#include "imaging/medical_readers.h"

namespace lumacet {

namespace {

constexpr const char* kCancelled = "Scan cancelled.";

// SANE allows one sane_init at a time in a process.
std::atomic<bool> gSessionOpen{false};

std::string StatusText(SANE_Status status) {
  switch (status) {
    case SANE_STATUS_GOOD: return "No error.";
    case SANE_STATUS_UNSUPPORTED: return "The scanner does not support this operation.";
    case SANE_STATUS_CANCELLED: return "The operation was cancelled.";
    case SANE_STATUS_DEVICE_BUSY: return "The scanner is busy; try again later.";
    case SANE_STATUS_INVAL: return "The scanner refused the request: the device is unknown or a value is invalid.";
    case SANE_STATUS_EOF: return "The scanner has no more data.";
    case SANE_STATUS_JAMMED: return "The document feeder is jammed.";
    case SANE_STATUS_NO_DOCS: return "The document feeder is out of documents.";
    case SANE_STATUS_COVER_OPEN: return "The scanner cover is open.";
    case SANE_STATUS_IO_ERROR: return "Error communicating with the scanner.";
    case SANE_STATUS_NO_MEM: return "The scanner driver ran out of memory.";
    case SANE_STATUS_ACCESS_DENIED: return "Access to the scanner was denied.";
  }
  return "Unknown scanner error (status " + std::to_string(int(status)) + ").";
}

std::string Failure(const std::string& what, SANE_Status status) { return what + "\r\n" + StatusText(status); }

std::string Text(SANE_String_Const text) { return text != nullptr ? text : ""; }

SANE_Handle Handle(void* handle) { return static_cast<SANE_Handle>(handle); }

double ToNumber(const SANE_Option_Descriptor& option, SANE_Word word) {
  return option.type == SANE_TYPE_FIXED ? SANE_UNFIX(word) : double(word);
}

SANE_Word ToWord(const SANE_Option_Descriptor& option, double value) {
  if (option.type == SANE_TYPE_FIXED) return SANE_FIX(value);
  return SANE_Word(std::nearbyint(value));
}

bool IsNumeric(const SANE_Option_Descriptor& option) {
  return (option.type == SANE_TYPE_INT || option.type == SANE_TYPE_FIXED || option.type == SANE_TYPE_BOOL) &&
         option.size == SANE_Int(sizeof(SANE_Word));
}

// The value brought inside the option's constraint: a range clamps, a list takes its
// nearest entry.
double Constrained(const SANE_Option_Descriptor& option, double value) {
  if (option.constraint_type == SANE_CONSTRAINT_RANGE && option.constraint.range != nullptr) {
    const double low = ToNumber(option, option.constraint.range->min);
    const double high = ToNumber(option, option.constraint.range->max);
    return std::clamp(value, std::min(low, high), std::max(low, high));
  }
  if (option.constraint_type == SANE_CONSTRAINT_WORD_LIST && option.constraint.word_list != nullptr &&
      option.constraint.word_list[0] > 0) {
    const SANE_Word* list = option.constraint.word_list;
    double best = ToNumber(option, list[1]);
    for (SANE_Word i = 2; i <= list[0]; ++i) {
      const double entry = ToNumber(option, list[i]);
      if (std::fabs(entry - value) < std::fabs(best - value)) best = entry;
    }
    return best;
  }
  return value;
}

std::vector<std::string> StringList(const SANE_Option_Descriptor& option) {
  std::vector<std::string> list;
  if (option.constraint_type == SANE_CONSTRAINT_STRING_LIST && option.constraint.string_list != nullptr)
    for (const SANE_String_Const* entry = option.constraint.string_list; *entry != nullptr; ++entry)
      list.emplace_back(*entry);
  return list;
}

std::string Lower(std::string text) {
  for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Backends name their modes freely ("Gray", "Grayscale", "Color", "Colour", "24bit Color").
bool ModeMatches(const std::string& entry, TScanMode mode) {
  const std::string name = Lower(entry);
  if (name.find("lineart") != std::string::npos || name.find("halftone") != std::string::npos) return false;
  if (mode == TScanMode::Gray) return name.find("gray") != std::string::npos || name.find("grey") != std::string::npos;
  return name.find("colo") != std::string::npos || name.find("rgb") != std::string::npos;
}

// One frame as the device sent it: whole lines of bytes_per_line bytes.
struct TFrame {
  SANE_Parameters Parameters{};
  std::vector<uint8_t> Bytes;
  int32_t Lines = 0;  // complete lines received
};

int Channels(SANE_Frame format) { return format == SANE_FRAME_RGB ? 3 : 1; }

// Bytes of image data at the start of each line; the rest is padding.
int64_t UsedBytesPerLine(const SANE_Parameters& p) {
  const int64_t samples = int64_t(p.pixels_per_line) * Channels(p.format);
  return p.depth == 1 ? (samples + 7) / 8 : samples * (p.depth / 8);
}

// Refuses parameters the program cannot turn into an image.
std::string CheckParameters(const SANE_Parameters& p) {
  if (p.format != SANE_FRAME_GRAY && p.format != SANE_FRAME_RGB && p.format != SANE_FRAME_RED &&
      p.format != SANE_FRAME_GREEN && p.format != SANE_FRAME_BLUE)
    return "The scanner sends its image in a form this program cannot read (frame format " +
           std::to_string(int(p.format)) + ").";
  if (p.depth != 1 && p.depth != 8 && p.depth != 16)
    return "The scanner sends " + std::to_string(p.depth) + " bits per sample; only 1, 8 and 16 can be read.";
  if (p.depth == 1 && p.format != SANE_FRAME_GRAY)
    return "Colour line-art scans cannot be used; scan in grey or colour with 8 or 16 bits.";
  if (p.pixels_per_line <= 0 || p.bytes_per_line <= 0 || p.lines == 0 || p.lines < -1)
    return "The scanner announced an empty image.";
  if (p.bytes_per_line < UsedBytesPerLine(p)) return "The scanner announced lines shorter than their pixels.";
  if (p.lines > 0 && int64_t(p.pixels_per_line) * p.lines > kMaxImagePixels)
    return "The scan is too large to hold in memory; choose a lower resolution or a smaller area.";
  return {};
}

// The samples of line `y` of a one-channel frame, as 8- or 16-bit values; line-art bits
// (1 black) become 0 or 255.
uint32_t FrameSample(const TFrame& frame, int32_t y, int64_t index) {
  const SANE_Parameters& p = frame.Parameters;
  const uint8_t* line = frame.Bytes.data() + int64_t(y) * p.bytes_per_line;
  if (p.depth == 1) return (line[index / 8] >> (7 - index % 8)) & 1 ? 0 : 255;
  if (p.depth == 8) return line[index];
  uint16_t value;  // host byte order, as SANE defines it
  std::memcpy(&value, line + 2 * index, 2);
  return value;
}

void StoreSample(TRawImage& image, int64_t at, uint32_t value) {
  if (image.BitsPerSample == 8) {
    image.Samples[size_t(at)] = uint8_t(value);
  } else {
    image.Samples[size_t(2 * at)] = uint8_t(value);
    image.Samples[size_t(2 * at + 1)] = uint8_t(value >> 8);
  }
}

// Grey and interleaved colour frames become the image; colour goes from red-green-blue to
// blue-green-red.
void FillFromFrame(const TFrame& frame, TRawImage& image) {
  const SANE_Parameters& p = frame.Parameters;
  const int channels = Channels(p.format);
  for (int32_t y = 0; y < image.Height; ++y)
    for (int32_t x = 0; x < image.Width; ++x)
      for (int c = 0; c < channels; ++c) {
        const int64_t pixel = int64_t(y) * image.Width + x;
        const int target = channels == 3 ? 2 - c : 0;
        StoreSample(image, pixel * channels + target, FrameSample(frame, y, int64_t(x) * channels + c));
      }
}

// One band of a three-pass scan into its place among blue, green and red.
void FillBand(const TFrame& frame, int band, TRawImage& image) {
  for (int32_t y = 0; y < image.Height; ++y)
    for (int32_t x = 0; x < image.Width; ++x)
      StoreSample(image, (int64_t(y) * image.Width + x) * 3 + band, FrameSample(frame, y, x));
}

// The frames of one scan as a raw image, or the reason they do not make one.
std::string AssembleImage(const std::vector<TFrame>& frames, TRawImage& image) {
  const SANE_Parameters& first = frames.front().Parameters;
  const int32_t width = first.pixels_per_line;
  const int32_t height = frames.front().Lines;
  if (height <= 0) return "The scanner sent no complete line.";
  const int bits = first.depth == 16 ? 16 : 8;
  if (first.format == SANE_FRAME_GRAY || first.format == SANE_FRAME_RGB) {
    if (frames.size() != 1) return "The scanner sent more frames than one image has.";
    SizeRawImage(image, width, height, Channels(first.format), bits);
    FillFromFrame(frames.front(), image);
    return {};
  }
  // Three-pass: one red, one green and one blue frame of the same size and depth.
  std::array<const TFrame*, 3> bands{};  // blue, green, red
  for (const TFrame& frame : frames) {
    const SANE_Parameters& p = frame.Parameters;
    const int band = p.format == SANE_FRAME_BLUE ? 0 : p.format == SANE_FRAME_GREEN ? 1 : p.format == SANE_FRAME_RED ? 2 : -1;
    if (band < 0 || bands[size_t(band)] != nullptr) return "The scanner sent a colour frame twice or mixed frame kinds.";
    if (p.pixels_per_line != width || frame.Lines != height || p.depth != first.depth)
      return "The colour frames of the scan differ in size or depth.";
    bands[size_t(band)] = &frame;
  }
  if (std::find(bands.begin(), bands.end(), nullptr) != bands.end())
    return "The scanner did not send all three colour frames.";
  SizeRawImage(image, width, height, 3, bits);
  for (int band = 0; band < 3; ++band) FillBand(*bands[size_t(band)], band, image);
  return {};
}

}  // namespace

std::string TScanDevice::Description() const {
  std::string text = Vendor;
  if (!Model.empty()) text += (text.empty() ? "" : " ") + Model;
  return text.empty() ? Name : text + " (" + Name + ")";
}

// ---- Session ----

TSaneSession::TSaneSession() {
  if (gSessionOpen.exchange(true)) {
    fMessage = "The scanner library is already in use.";
    return;
  }
  SANE_Int version = 0;
  const SANE_Status status = sane_init(&version, nullptr);
  if (status != SANE_STATUS_GOOD) {
    gSessionOpen = false;
    fMessage = Failure("Could not start the scanner library.", status);
    return;
  }
  fOk = true;
}

TSaneSession::~TSaneSession() {
  if (!fOk) return;
  sane_exit();
  gSessionOpen = false;
}

bool TSaneSession::Devices(std::vector<TScanDevice>& devices, std::string& message) {
  devices.clear();
  if (!fOk) {
    message = fMessage;
    return false;
  }
  const SANE_Device** list = nullptr;
  const SANE_Status status = sane_get_devices(&list, SANE_FALSE);
  if (status != SANE_STATUS_GOOD) {
    message = Failure("Could not list the scanners.", status);
    return false;
  }
  for (; list != nullptr && *list != nullptr; ++list)
    devices.push_back({Text((*list)->name), Text((*list)->vendor), Text((*list)->model), Text((*list)->type)});
  return true;
}

std::unique_ptr<TSaneScanner> TSaneSession::Open(const std::string& device, std::string& message) {
  if (!fOk) {
    message = fMessage;
    return nullptr;
  }
  SANE_Handle handle = nullptr;
  const SANE_Status status = sane_open(device.c_str(), &handle);
  if (status != SANE_STATUS_GOOD || handle == nullptr) {
    message = Failure("Could not open the scanner \"" + device + "\".",
                      status == SANE_STATUS_GOOD ? SANE_STATUS_INVAL : status);
    return nullptr;
  }
  return std::unique_ptr<TSaneScanner>(new TSaneScanner(handle, device));
}

// ---- Scanner ----

TSaneScanner::~TSaneScanner() { sane_close(Handle(fHandle)); }

int TSaneScanner::FindOption(const char* name) const {
  SANE_Int count = 0;
  if (sane_control_option(Handle(fHandle), 0, SANE_ACTION_GET_VALUE, &count, nullptr) != SANE_STATUS_GOOD) return -1;
  for (SANE_Int i = 1; i < count; ++i) {
    const SANE_Option_Descriptor* option = sane_get_option_descriptor(Handle(fHandle), i);
    if (option != nullptr && option->name != nullptr && std::strcmp(option->name, name) == 0) return i;
  }
  return -1;
}

std::optional<double> TSaneScanner::NumberOption(const char* name) const {
  const int index = FindOption(name);
  if (index < 0) return std::nullopt;
  const SANE_Option_Descriptor* option = sane_get_option_descriptor(Handle(fHandle), index);
  if (!SANE_OPTION_IS_ACTIVE(option->cap) || !IsNumeric(*option)) return std::nullopt;
  SANE_Word word = 0;
  if (sane_control_option(Handle(fHandle), index, SANE_ACTION_GET_VALUE, &word, nullptr) != SANE_STATUS_GOOD)
    return std::nullopt;
  return ToNumber(*option, word);
}

bool TSaneScanner::SetOption(const char* name, double value, bool& present, std::string& message) {
  present = false;
  const int index = FindOption(name);
  if (index < 0) return true;
  const SANE_Option_Descriptor* option = sane_get_option_descriptor(Handle(fHandle), index);
  if (!SANE_OPTION_IS_ACTIVE(option->cap) || !SANE_OPTION_IS_SETTABLE(option->cap) || !IsNumeric(*option)) return true;
  present = true;
  SANE_Word word = option->type == SANE_TYPE_BOOL ? SANE_Word(value != 0) : ToWord(*option, Constrained(*option, value));
  SANE_Int info = 0;
  const SANE_Status status = sane_control_option(Handle(fHandle), index, SANE_ACTION_SET_VALUE, &word, &info);
  if (status != SANE_STATUS_GOOD) {
    message = Failure("The scanner refused the setting \"" + std::string(name) + "\".", status);
    return false;
  }
  return true;
}

bool TSaneScanner::SetOption(const char* name, const std::string& value, std::string& message) {
  const int index = FindOption(name);
  const SANE_Option_Descriptor* option = index < 0 ? nullptr : sane_get_option_descriptor(Handle(fHandle), index);
  if (option == nullptr || option->type != SANE_TYPE_STRING || !SANE_OPTION_IS_SETTABLE(option->cap) ||
      option->size <= SANE_Int(value.size())) {
    message = "The scanner has no setting \"" + std::string(name) + "\" that takes \"" + value + "\".";
    return false;
  }
  std::vector<char> buffer(size_t(option->size), '\0');
  std::copy(value.begin(), value.end(), buffer.begin());
  SANE_Int info = 0;
  const SANE_Status status = sane_control_option(Handle(fHandle), index, SANE_ACTION_SET_VALUE, buffer.data(), &info);
  if (status != SANE_STATUS_GOOD) {
    message = Failure("The scanner refused the setting \"" + std::string(name) + "\" = \"" + value + "\".", status);
    return false;
  }
  return true;
}

TScanCapabilities TSaneScanner::Capabilities() const {
  TScanCapabilities capabilities;
  auto descriptor = [&](const char* name) -> const SANE_Option_Descriptor* {
    const int index = FindOption(name);
    const SANE_Option_Descriptor* option = index < 0 ? nullptr : sane_get_option_descriptor(Handle(fHandle), index);
    return option != nullptr && SANE_OPTION_IS_ACTIVE(option->cap) ? option : nullptr;
  };
  const SANE_Option_Descriptor* resolution = descriptor(SANE_NAME_SCAN_RESOLUTION);
  if (resolution == nullptr) resolution = descriptor(SANE_NAME_SCAN_X_RESOLUTION);
  if (resolution != nullptr && IsNumeric(*resolution)) {
    if (resolution->constraint_type == SANE_CONSTRAINT_RANGE) {
      capabilities.MinResolution = ToNumber(*resolution, resolution->constraint.range->min);
      capabilities.MaxResolution = ToNumber(*resolution, resolution->constraint.range->max);
    } else if (resolution->constraint_type == SANE_CONSTRAINT_WORD_LIST) {
      for (SANE_Word i = 1; i <= resolution->constraint.word_list[0]; ++i)
        capabilities.Resolutions.push_back(ToNumber(*resolution, resolution->constraint.word_list[i]));
      if (!capabilities.Resolutions.empty()) {
        capabilities.MinResolution = *std::min_element(capabilities.Resolutions.begin(), capabilities.Resolutions.end());
        capabilities.MaxResolution = *std::max_element(capabilities.Resolutions.begin(), capabilities.Resolutions.end());
      }
    }
  }
  if (const SANE_Option_Descriptor* mode = descriptor(SANE_NAME_SCAN_MODE)) {
    for (const std::string& entry : StringList(*mode)) {
      capabilities.HasGray = capabilities.HasGray || ModeMatches(entry, TScanMode::Gray);
      capabilities.HasColour = capabilities.HasColour || ModeMatches(entry, TScanMode::Colour);
    }
  } else {
    capabilities.HasGray = true;  // without a mode option the device scans as it is
  }
  if (const SANE_Option_Descriptor* depth = descriptor(SANE_NAME_BIT_DEPTH);
      depth != nullptr && depth->constraint_type == SANE_CONSTRAINT_WORD_LIST)
    for (SANE_Word i = 1; i <= depth->constraint.word_list[0]; ++i)
      capabilities.Has16Bit = capabilities.Has16Bit || depth->constraint.word_list[i] == 16;

  std::array<const SANE_Option_Descriptor*, 4> corners = {descriptor(SANE_NAME_SCAN_TL_X), descriptor(SANE_NAME_SCAN_TL_Y),
                                                          descriptor(SANE_NAME_SCAN_BR_X), descriptor(SANE_NAME_SCAN_BR_Y)};
  const bool millimetres = std::all_of(corners.begin(), corners.end(), [](const SANE_Option_Descriptor* option) {
    return option != nullptr && option->unit == SANE_UNIT_MM && IsNumeric(*option) &&
           option->constraint_type == SANE_CONSTRAINT_RANGE;
  });
  if (millimetres)
    capabilities.Bed = TScanArea{ToNumber(*corners[0], corners[0]->constraint.range->min),
                                 ToNumber(*corners[1], corners[1]->constraint.range->min),
                                 ToNumber(*corners[2], corners[2]->constraint.range->max),
                                 ToNumber(*corners[3], corners[3]->constraint.range->max)};
  return capabilities;
}

bool TSaneScanner::Configure(const TScanSettings& settings, std::string& message) {
  if (settings.Depth != 8 && settings.Depth != 16) {
    message = "Scans are taken with 8 or 16 bits per sample.";
    return false;
  }
  if (const int index = FindOption(SANE_NAME_SCAN_MODE); index >= 0) {
    const SANE_Option_Descriptor* option = sane_get_option_descriptor(Handle(fHandle), index);
    const std::vector<std::string> modes = StringList(*option);
    auto found = std::find_if(modes.begin(), modes.end(),
                              [&](const std::string& entry) { return ModeMatches(entry, settings.Mode); });
    if (found == modes.end()) {
      message = settings.Mode == TScanMode::Gray ? "The scanner cannot scan in grey." : "The scanner cannot scan in colour.";
      return false;
    }
    // The mode decides which other options exist, so it goes first.
    if (!SetOption(SANE_NAME_SCAN_MODE, *found, message)) return false;
  }
  bool present = false;
  if (const int index = FindOption(SANE_NAME_BIT_DEPTH); index >= 0) {
    const SANE_Option_Descriptor* option = sane_get_option_descriptor(Handle(fHandle), index);
    if (Constrained(*option, settings.Depth) != settings.Depth) {
      message = "The scanner cannot scan with " + std::to_string(settings.Depth) + " bits per sample.";
      return false;
    }
    if (!SetOption(SANE_NAME_BIT_DEPTH, settings.Depth, present, message)) return false;
  }
  if (settings.Resolution > 0) {
    if (!SetOption(SANE_NAME_SCAN_RESOLUTION, settings.Resolution, present, message)) return false;
    if (!present && (!SetOption(SANE_NAME_SCAN_X_RESOLUTION, settings.Resolution, present, message) ||
                     !SetOption(SANE_NAME_SCAN_Y_RESOLUTION, settings.Resolution, present, message)))
      return false;
  }
  if (!SetOption(SANE_NAME_PREVIEW, settings.Preview ? 1 : 0, present, message)) return false;
  if (settings.Area) {
    const TScanArea& area = *settings.Area;
    if (!(area.Right > area.Left && area.Bottom > area.Top)) {
      message = "The scan area is empty.";
      return false;
    }
    const std::pair<const char*, double> corners[] = {{SANE_NAME_SCAN_TL_X, area.Left},
                                                      {SANE_NAME_SCAN_TL_Y, area.Top},
                                                      {SANE_NAME_SCAN_BR_X, area.Right},
                                                      {SANE_NAME_SCAN_BR_Y, area.Bottom}};
    for (const auto& [name, value] : corners) {
      const int index = FindOption(name);
      if (index < 0 || sane_get_option_descriptor(Handle(fHandle), index)->unit != SANE_UNIT_MM) continue;
      if (!SetOption(name, value, present, message)) return false;
    }
  }
  return true;
}

bool TSaneScanner::ReadScan(TScan& scan, TScanControl& control, std::string& message) {
  SANE_Handle handle = Handle(fHandle);
  std::vector<TFrame> frames;
  std::vector<uint8_t> chunk(64 * 1024);
  // Every way out of a started scan ends it, as SANE asks.
  auto fail = [&](std::string text) {
    sane_cancel(handle);
    message = std::move(text);
    return false;
  };
  for (;;) {
    if (control.Cancelled) return fail(kCancelled);
    const SANE_Status started = sane_start(handle);
    if (control.Cancelled || started == SANE_STATUS_CANCELLED) return fail(kCancelled);
    if (started != SANE_STATUS_GOOD) return fail(Failure("Could not start the scan.", started));
    TFrame& frame = frames.emplace_back();
    const SANE_Status described = sane_get_parameters(handle, &frame.Parameters);
    if (described != SANE_STATUS_GOOD) return fail(Failure("The scanner did not describe its image.", described));
    const SANE_Parameters& p = frame.Parameters;
    if (std::string problem = CheckParameters(p); !problem.empty()) return fail(problem);
    if (p.lines > 0) {
      const int64_t bytes = int64_t(p.bytes_per_line) * p.lines;
      frame.Bytes.reserve(size_t(bytes));
      control.BytesExpected = bytes * (p.format == SANE_FRAME_GRAY || p.format == SANE_FRAME_RGB ? 1 : 3);
    }
    // Lines of unknown number (hand scanners) grow until the end of the data, within the
    // pixel budget.
    const int64_t byteLimit = p.lines > 0 ? int64_t(p.bytes_per_line) * p.lines
                                          : kMaxImagePixels / p.pixels_per_line * p.bytes_per_line;
    for (;;) {
      if (control.Cancelled) return fail(kCancelled);
      SANE_Int length = 0;
      const SANE_Status status = sane_read(handle, chunk.data(), SANE_Int(chunk.size()), &length);
      if (control.Cancelled || status == SANE_STATUS_CANCELLED) return fail(kCancelled);
      if (status == SANE_STATUS_EOF) break;
      if (status != SANE_STATUS_GOOD) return fail(Failure("The scan failed while reading the image.", status));
      if (length < 0 || length > SANE_Int(chunk.size())) return fail("The scanner driver returned a wrong length.");
      const int64_t room = byteLimit - int64_t(frame.Bytes.size());
      if (p.lines < 0 && length > room)
        return fail("The scan is too large to hold in memory; choose a lower resolution or a smaller area.");
      // Data beyond the announced lines are dropped.
      frame.Bytes.insert(frame.Bytes.end(), chunk.begin(), chunk.begin() + std::min<int64_t>(length, std::max<int64_t>(room, 0)));
      control.BytesRead += length;
    }
    frame.Lines = int32_t(int64_t(frame.Bytes.size()) / p.bytes_per_line);
    if (p.last_frame) break;
    if (frames.size() >= 3) return fail("The scanner sent more frames than one image has.");
  }
  sane_cancel(handle);
  TRawImage image;
  try {
    if (std::string problem = AssembleImage(frames, image); !problem.empty()) {
      message = problem;
      return false;
    }
  } catch (const TImageReadError&) {
    message = "The scan is too large to hold in memory; choose a lower resolution or a smaller area.";
    return false;
  }
  scan.Raw = std::move(image);
  const double both = NumberOption(SANE_NAME_SCAN_RESOLUTION).value_or(0);
  scan.XResolution = NumberOption(SANE_NAME_SCAN_X_RESOLUTION).value_or(both);
  scan.YResolution = NumberOption(SANE_NAME_SCAN_Y_RESOLUTION).value_or(both);
  return true;
}

bool TSaneScanner::Scan(TScan& scan, TScanControl& control, std::string& message) {
  return Scan(1, TNoiseReduction::Average, scan, control, message);
}

bool TSaneScanner::Scan(int passes, TNoiseReduction reduction, TScan& scan, TScanControl& control,
                        std::string& message) {
  scan = TScan{};
  try {
    std::vector<TRawImage> images;
    TScan pass;
    for (int i = 1; i <= std::max(passes, 1); ++i) {
      control.Pass = i;
      control.BytesRead = 0;
      if (!ReadScan(pass, control, message)) return false;
      images.push_back(std::move(pass.Raw));
    }
    if (images.size() == 1) {
      scan.Raw = std::move(images.front());
    } else {
      TResultOf<TRawImage> combined = CombineScans(images, reduction);
      if (!combined) {
        message = combined.Text().English();
        return false;
      }
      scan.Raw = std::move(*combined);
    }
    scan.XResolution = pass.XResolution;
    scan.YResolution = pass.YResolution;
    return true;
  } catch (const std::bad_alloc&) {
    sane_cancel(Handle(fHandle));
    scan = TScan{};
    message = "The scan is too large to hold in memory; choose a lower resolution or a smaller area.";
    return false;
  }
}

}  // namespace lumacet
