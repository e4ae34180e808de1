// Readers for the image files the JPEG and bitmap codecs do not handle: TIFF, PNG,
// Khoros VIFF and DICOM (every transfer syntax in clinical use). Each reads the whole file into memory and
// trusts nothing in it: every size, offset, length and count is checked against the bytes
// before use, and a file that cannot be shown exactly as it is meant is refused with a
// failure whose text names the file and the reason. On failure the raw image is left empty.
#pragma once

#include <cstdint>
#include <new>
#include <optional>
#include <span>
#include <string>

#include "model/raw_image.h"
#include "support/dates.h"
#include "support/result.h"

namespace lumacet {

// What a DICOM file says besides its pixels; each patient item is present only when the
// file held a readable value for it.
struct TDicomInfo {
  std::optional<std::string> PatientName;       // (0010,0010), UTF-8, "^" kept
  std::optional<std::string> PatientId;         // (0010,0020)
  std::optional<TDayNumber> PatientBirthDate;   // (0010,0030)
  std::optional<bool> Female;                   // (0010,0040): true for "F"
  std::optional<TDayNumber> AcquisitionDate;    // (0008,0022)
  // Pixel size in tenths of a millimetre from PixelSpacing, else ImagerPixelSpacing; only
  // positive finite spacings count.
  bool HasPixelSpacing = false;
  double PixelWidth = 0;
  double PixelHeight = 0;
  // The file's display window, converted to the raw image's sample units (rescale undone,
  // signed data offset, MONOCHROME1 mirrored). HasWindow only when the width is positive.
  bool HasWindow = false;
  int32_t WindowCentre = 0;
  int32_t WindowWidth = 0;
  int32_t BitsStored = 0;  // samples lie in 0 .. 2^BitsStored - 1
  int32_t FrameCount = 1;  // (0028,0008) Number of Frames: the image is one of them
  std::string TransferSyntax;  // the UID, and its name when it is known ("1.2.840.10008.1.2.5 RLE")

  bool HasPatientData() const;
};

// Each reader's failure: its title line, the file (%1), then the reason (%2).
inline constexpr TTextSource kTiffReadFailure = LcText("Image", "Error loading TIFF file.\r\n\r\n%1\r\n%2");
inline constexpr TTextSource kViffReadFailure = LcText("Image", "Error loading VIFF file.\r\n\r\n%1\r\n%2");
inline constexpr TTextSource kDicomReadFailure = LcText("Image", "Error loading DICOM file.\r\n\r\n%1\r\n%2");
inline constexpr TTextSource kPngReadFailure = LcText("Image", "Error loading PNG file.\r\n\r\n%1\r\n%2");
inline constexpr TTextSource kImageReadFailure = LcText("Image", "Error loading image.\r\n\r\n%1\r\n%2");

// The file-path entry points used when an image is linked or opened.
TResult ReadTiff(const std::string& path, TRawImage& image, std::string* encoding = nullptr);
TResult ReadViff(const std::string& path, TRawImage& image);
TResult ReadPng(const std::string& path, TRawImage& image);
// On success the raw image's window (current and loaded) is the file's own window when it
// has one, else its stored bit range; see SetDicomWindow. `frame` counts from 1; a frame the
// file does not have is refused.
TResult ReadDicom(const std::string& path, TRawImage& image, TDicomInfo& info, int32_t frame = 1);

// Sets the current and loaded window: centre - width div 2 .. centre + width div 2 when
// `useFileWindow` and the file had a window, otherwise 0 .. 2^BitsStored - 1.
void SetDicomWindow(const TDicomInfo& info, bool useFileWindow, TRawImage& image);

// ---- Shared by the readers ----


// Thrown inside a reader when the file cannot be shown; the entry point turns it into the
// failure. An empty reason marks an image too large for memory.
struct TImageReadError {
  std::string Reason;
};

// The failure for a refused file: `failure` (one of the reader failures above) with the file
// and the reason, which is also the technical reason; "Image is too large to load. Memory
// insufficient." with the file for an image too large.
TResult ImageReadFailure(TTextSource failure, const std::string& fileName, const TImageReadError& error);

// Runs `read` (which throws TImageReadError) and turns every failure, allocation failure
// included, into a failure as ImageReadFailure gives it. On failure the raw image is cleared.
template <typename Read>
TResult RunImageReader(TTextSource failure, const std::string& fileName, TRawImage& image, Read&& read);

// Bounds-checked, byte-order-aware reads over a file held in memory. Every accessor throws
// TImageReadError with `reason` when the bytes asked for are not all inside the file.
class TByteSource {
 public:
  TByteSource(std::span<const uint8_t> bytes, bool bigEndian) : fBytes(bytes), fBigEndian(bigEndian) {}

  uint64_t Size() const { return fBytes.size(); }
  bool BigEndian() const { return fBigEndian; }
  bool Has(uint64_t offset, uint64_t length) const {
    return offset <= fBytes.size() && length <= fBytes.size() - offset;
  }
  // Throws unless [offset, offset + length) lies inside the file.
  void Require(uint64_t offset, uint64_t length, const char* reason) const;
  std::span<const uint8_t> Span(uint64_t offset, uint64_t length, const char* reason) const;
  uint8_t U8(uint64_t offset, const char* reason) const;
  uint16_t U16(uint64_t offset, const char* reason) const;
  uint32_t U32(uint64_t offset, const char* reason) const;

 private:
  std::span<const uint8_t> fBytes;
  bool fBigEndian;
};

// Refuses, before memory is taken for it, an image above 30,000 pixels a side or 2 GiB of
// samples, and one whose `decodedBytes` no compression could pack into a file of
// `fileSize` bytes.
void CheckImageLimits(uint64_t width, uint64_t height, uint64_t samplesPerPixel, uint64_t bytesPerSample,
                      uint64_t decodedBytes, uint64_t fileSize);

// Sizes a raw image for width x height pixels of `samplesPerPixel` samples of `bits` bits,
// after checking the pixel budget. Throws TImageReadError (too large) past the budget.
void SizeRawImage(TRawImage& image, int64_t width, int64_t height, int32_t samplesPerPixel,
                  int32_t bits);

template <typename Read>
TResult RunImageReader(TTextSource failure, const std::string& fileName, TRawImage& image, Read&& read) {
  TImageReadError refusal;
  try {
    ClearRawImage(image);
    read();
    return {};
  } catch (const TImageReadError& error) {
    refusal = error;
  } catch (const std::bad_alloc&) {
    refusal = TImageReadError{};
  }
  ClearRawImage(image);
  return ImageReadFailure(failure, fileName, refusal);
}

}  // namespace lumacet
