#include "imaging/viff_reader.h"

#include "imaging/medical_readers.h"

namespace lumacet {

namespace {

constexpr uint64_t kHeaderSize = 1024;

void DecodeViff(std::span<const uint8_t> bytes, TRawImage& image) {
  const char* notViff = "The file is not a VIFF file.";
  if (bytes.size() < 5 || bytes[0] != 0xAB || bytes[1] != 0x01) throw TImageReadError{notViff};
  bool bigEndian;
  if (bytes[4] == 0x2) bigEndian = true;
  else if (bytes[4] == 0x8) bigEndian = false;
  else throw TImageReadError{"The byte order of the VIFF file is unknown."};
  TByteSource in(bytes, bigEndian);
  const char* shortHeader = "The file ends inside its header.";
  in.Require(0, kHeaderSize, shortHeader);
  // Header fields are unsigned 32-bit numbers; read as signed, as the format's writers do,
  // so that a negative size is refused rather than taken as a huge one.
  auto field = [&](uint64_t offset) { return int64_t(int32_t(in.U32(offset, shortHeader))); };
  int64_t width = field(520);
  int64_t height = field(524);
  int64_t locationType = field(548);
  int64_t bands = field(560);
  int64_t storage = field(564);
  int64_t encoding = field(568);
  int64_t mapScheme = field(572);

  if (encoding != 0) throw TImageReadError{"Compressed VIFF files cannot be read."};
  if (mapScheme != 0) throw TImageReadError{"VIFF files with a colour map cannot be read."};
  // Explicit pixel locations (type 2) add location data before the image data.
  if (locationType == 2) throw TImageReadError{"VIFF files with explicit pixel locations cannot be read."};
  int32_t bits;
  if (storage == 1) bits = 8;
  else if (storage == 2) bits = 16;
  else throw TImageReadError{"Only VIFF files of 8 or 16 bits per sample can be read."};
  if (bands != 1 && bands != 3) throw TImageReadError{"Only VIFF files of one or three bands can be read."};
  if (width <= 0 || height <= 0) throw TImageReadError{"The image has no pixels."};

  const int64_t bytesPerSample = bits / 8;
  if (width > kMaxImagePixels / height) throw TImageReadError{};
  const int64_t planeSamples = width * height;
  in.Require(kHeaderSize, uint64_t(planeSamples * bands * bytesPerSample), "The image data end before the last row.");
  SizeRawImage(image, width, height, int32_t(bands), bits);

  // The bands are stored one after the other, red, green and blue for colour; a pixel is
  // written blue, green, red.
  uint8_t* out = image.Samples.data();
  for (int64_t band = 0; band < bands; ++band) {
    const uint8_t* plane = bytes.data() + kHeaderSize + band * planeSamples * bytesPerSample;
    const int64_t target = bands == 3 ? 2 - band : 0;
    for (int64_t i = 0; i < planeSamples; ++i) {
      uint8_t* sink = out + (i * bands + target) * bytesPerSample;
      const uint8_t* source = plane + i * bytesPerSample;
      if (bytesPerSample == 1) {
        sink[0] = source[0];
      } else {
        sink[0] = source[bigEndian ? 1 : 0];
        sink[1] = source[bigEndian ? 0 : 1];
      }
    }
  }
}

}  // namespace

TResult ReadViffBytes(std::span<const uint8_t> bytes, const std::string& fileName, TRawImage& image) {
  return RunImageReader(kViffReadFailure, fileName, image, [&] { DecodeViff(bytes, image); });
}

}  // namespace lumacet
