#include "imaging/medical_readers.h"

#include "imaging/dicom_reader.h"
#include "imaging/png_reader.h"
#include "imaging/tiff_reader.h"
#include "imaging/viff_reader.h"
#include "support/atomic_file.h"

namespace lumacet {

namespace {

constexpr TTextSource kTooLarge = LcText("Image", "Image is too large to load. Memory insufficient.\r\n\r\n%1");

// Reads the file and hands its bytes to `readBytes`; a file that cannot be read is refused
// with the reader's failure like any other.
template <typename ReadBytes>
TResult ReadFromFile(const std::string& path, TTextSource failure, TRawImage& image, ReadBytes&& readBytes) {
  std::string bytes;
  TImageReadError refusal{"The file cannot be read."};
  try {
    if (ReadWholeFile(path, bytes))
      return readBytes(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
  } catch (const std::bad_alloc&) {
    refusal = TImageReadError{};
  }
  ClearRawImage(image);
  return ImageReadFailure(failure, path, refusal);
}

}  // namespace

bool TDicomInfo::HasPatientData() const {
  return PatientName || PatientId || PatientBirthDate || Female || AcquisitionDate;
}

TResult ReadTiff(const std::string& path, TRawImage& image, std::string* encoding) {
  return ReadFromFile(path, kTiffReadFailure, image,
                      [&](std::span<const uint8_t> bytes) { return ReadTiffBytes(bytes, path, image, encoding); });
}

TResult ReadViff(const std::string& path, TRawImage& image) {
  return ReadFromFile(path, kViffReadFailure, image,
                      [&](std::span<const uint8_t> bytes) { return ReadViffBytes(bytes, path, image); });
}

TResult ReadPng(const std::string& path, TRawImage& image) {
  return ReadFromFile(path, kPngReadFailure, image,
                      [&](std::span<const uint8_t> bytes) { return ReadPngBytes(bytes, path, image); });
}

TResult ReadDicom(const std::string& path, TRawImage& image, TDicomInfo& info, int32_t frame) {
  info = TDicomInfo{};
  return ReadFromFile(path, kDicomReadFailure, image, [&](std::span<const uint8_t> bytes) {
    TDicomFrames frames;
    frames.Frame = frame;
    TResult read = ReadDicomBytes(bytes, path, image, info, frames);
    if (read) info.FrameCount = frames.Count;
    return read;
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

TResult ImageReadFailure(TTextSource failure, const std::string& fileName, const TImageReadError& error) {
  if (error.Reason.empty()) return TResult::Failure(TText(kTooLarge, {fileName}));
  return TResult::Failure(TText(failure, {fileName, error.Reason}), error.Reason);
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

void CheckImageLimits(uint64_t width, uint64_t height, uint64_t samplesPerPixel, uint64_t bytesPerSample,
                      uint64_t decodedBytes, uint64_t fileSize) {
  constexpr uint64_t kMostPixelsASide = 30000;
  constexpr uint64_t kMostSampleBytes = uint64_t{2} << 30;
  // No compression in use packs more than a few thousand decoded bytes into one stored byte.
  constexpr uint64_t kMostDecodedBytesPerStoredByte = 4096;
  if (width > kMostPixelsASide || height > kMostPixelsASide ||
      width * height * samplesPerPixel * bytesPerSample > kMostSampleBytes)
    throw TImageReadError{"The image is larger than 30,000 pixels a side or 2 GiB of samples."};
  if (decodedBytes / kMostDecodedBytesPerStoredByte > fileSize)
    throw TImageReadError{"The file is far too small for the image it describes."};
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
