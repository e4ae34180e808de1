#include "imaging/medical_readers.h"

#include <string_view>

#include "imaging/dicom_reader.h"
#include "imaging/tiff_reader.h"
#include "imaging/viff_reader.h"
#include "support/atomic_file.h"

namespace lumacet {

namespace {

constexpr std::string_view kTooLarge = "Image is too large to load. Memory insufficient.";

// Reads the file and hands its bytes to `readBytes`; a file that cannot be read is refused
// under the reader's title like any other failure.
template <typename ReadBytes>
bool ReadFromFile(const std::string& path, const char* title, TRawImage& image, std::string& message,
                  ReadBytes&& readBytes) {
  std::string bytes;
  TImageReadError failure{"The file cannot be read."};
  try {
    if (ReadWholeFile(path, bytes))
      return readBytes(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
  } catch (const std::bad_alloc&) {
    failure = TImageReadError{};
  }
  ClearRawImage(image);
  message = ImageReadMessage(title, path, failure);
  return false;
}

}  // namespace

bool TDicomInfo::HasPatientData() const {
  return PatientName || PatientId || PatientBirthDate || Female || AcquisitionDate;
}

bool ReadTiff(const std::string& path, TRawImage& image, std::string& message) {
  return ReadFromFile(path, "Error loading TIFF file.", image, message, [&](std::span<const uint8_t> bytes) {
    return ReadTiffBytes(bytes, path, image, message);
  });
}

bool ReadViff(const std::string& path, TRawImage& image, std::string& message) {
  return ReadFromFile(path, "Error loading VIFF file.", image, message, [&](std::span<const uint8_t> bytes) {
    return ReadViffBytes(bytes, path, image, message);
  });
}

bool ReadDicom(const std::string& path, TRawImage& image, TDicomInfo& info, std::string& message,
               int32_t frame) {
  info = TDicomInfo{};
  return ReadFromFile(path, "Error loading DICOM file.", image, message, [&](std::span<const uint8_t> bytes) {
    TDicomFrames frames;
    frames.Frame = frame;
    if (!ReadDicomBytes(bytes, path, image, info, message, frames)) return false;
    info.FrameCount = frames.Count;
    return true;
  });
}

void SetDicomWindow(const TDicomInfo& info, bool useFileWindow, TRawImage& image) {
  if (useFileWindow && info.HasWindow) {
    image.WindowLow = info.WindowCentre - info.WindowWidth / 2;
    image.WindowHigh = info.WindowCentre + info.WindowWidth / 2;
  } else {
    image.WindowLow = 0;
    image.WindowHigh = info.BitsStored > 0 ? (1 << info.BitsStored) - 1 : 0;
  }
  image.LoadedWindowLow = image.WindowLow;
  image.LoadedWindowHigh = image.WindowHigh;
}

std::string ImageReadMessage(const std::string& title, const std::string& fileName,
                             const TImageReadError& error) {
  if (error.Reason.empty()) return std::string(kTooLarge) + "\r\n\r\n" + fileName;
  return title + "\r\n\r\n" + fileName + "\r\n" + error.Reason;
}

void TByteSource::Require(uint64_t offset, uint64_t length, const char* reason) const {
  if (!Has(offset, length)) throw TImageReadError{reason};
}

std::span<const uint8_t> TByteSource::Span(uint64_t offset, uint64_t length, const char* reason) const {
  Require(offset, length, reason);
  return fBytes.subspan(offset, length);
}

uint8_t TByteSource::U8(uint64_t offset, const char* reason) const {
  Require(offset, 1, reason);
  return fBytes[offset];
}

uint16_t TByteSource::U16(uint64_t offset, const char* reason) const {
  Require(offset, 2, reason);
  const uint8_t* p = fBytes.data() + offset;
  return fBigEndian ? uint16_t(p[0] << 8 | p[1]) : uint16_t(p[1] << 8 | p[0]);
}

uint32_t TByteSource::U32(uint64_t offset, const char* reason) const {
  Require(offset, 4, reason);
  const uint8_t* p = fBytes.data() + offset;
  if (fBigEndian) return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
  return uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

void SizeRawImage(TRawImage& image, int64_t width, int64_t height, int32_t samplesPerPixel, int32_t bits) {
  if (width <= 0 || height <= 0) throw TImageReadError{"The image has no pixels."};
  if (width > kMaxImagePixels / height) throw TImageReadError{};
  image.Samples.assign(size_t(width * height * samplesPerPixel * (bits > 8 ? 2 : 1)), 0);
  image.Width = int32_t(width);
  image.Height = int32_t(height);
  image.SamplesPerPixel = samplesPerPixel;
  image.BitsPerSample = bits;
}

}  // namespace lumacet
