#include "imaging/tiff_reader.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "imaging/medical_readers.h"

namespace lumacet {

namespace {

constexpr const char* kOutside = "The file ends before the data it points to.";

struct TTiffEntry {
  uint16_t Tag = 0;
  uint16_t Type = 0;
  uint32_t Count = 0;
  uint64_t ValueAt = 0;  // file offset of the entry's 4-byte value field
};

uint64_t ElementSize(const TTiffEntry& entry) {
  switch (entry.Type) {
    case 1: return 1;  // BYTE
    case 3: return 2;  // SHORT
    case 4: return 4;  // LONG
    default: throw TImageReadError{"A field of the image layout has a type that cannot be read (tag " +
                                   std::to_string(entry.Tag) + ")."};
  }
}

// An array lies in the value field itself when it fits in its four bytes, else at the
// offset that field holds.
uint64_t ArrayStart(const TByteSource& in, const TTiffEntry& entry) {
  if (ElementSize(entry) * entry.Count <= 4) return entry.ValueAt;
  return in.U32(entry.ValueAt, kOutside);
}

uint32_t ArrayElement(const TByteSource& in, const TTiffEntry& entry, uint64_t start, uint64_t index) {
  uint64_t size = ElementSize(entry);
  uint64_t at = start + index * size;
  if (size == 1) return in.U8(at, kOutside);
  if (size == 2) return in.U16(at, kOutside);
  return in.U32(at, kOutside);
}

uint32_t FirstElement(const TByteSource& in, const TTiffEntry& entry) {
  if (entry.Count == 0) throw TImageReadError{"A field of the image layout is empty (tag " + std::to_string(entry.Tag) + ")."};
  return ArrayElement(in, entry, ArrayStart(in, entry), 0);
}

// Sizes, layout and compression are read as the 16-bit number at the start of the value
// field, whose other two bytes must be zero; a big-endian LONG therefore does not read.
uint16_t SixteenBitField(const TByteSource& in, const TTiffEntry& entry) {
  if (in.U16(entry.ValueAt + 2, kOutside) != 0)
    throw TImageReadError{"A size or layout field is not a 16-bit value (tag " + std::to_string(entry.Tag) + ")."};
  return in.U16(entry.ValueAt, kOutside);
}

struct TStrip {
  uint64_t Offset = 0;
  int64_t Rows = 0;
};

void DecodeTiff(std::span<const uint8_t> bytes, TRawImage& image) {
  const char* notTiff = "The file is not a TIFF file.";
  if (bytes.size() < 8) throw TImageReadError{notTiff};
  bool bigEndian;
  if (bytes[0] == 'I' && bytes[1] == 'I') bigEndian = false;
  else if (bytes[0] == 'M' && bytes[1] == 'M') bigEndian = true;
  else throw TImageReadError{notTiff};
  TByteSource in(bytes, bigEndian);
  uint16_t magic = in.U16(2, notTiff);
  if (magic == 43) throw TImageReadError{"BigTIFF files cannot be read."};
  if (magic != 42) throw TImageReadError{notTiff};

  uint64_t directory = in.U32(4, notTiff);
  uint64_t entryCount = in.U16(directory, kOutside);
  in.Require(directory + 2, entryCount * 12, kOutside);

  int64_t width = 0, height = 0;
  int photometric = -1, compression = 1, samplesPerPixel = 1, planar = 1, fillOrder = 1, sampleFormat = 1;
  int64_t rowsPerStrip = 0;
  bool tiled = false;
  std::optional<TTiffEntry> bitsEntry, offsetsEntry, countsEntry;
  for (uint64_t i = 0; i < entryCount; ++i) {
    uint64_t at = directory + 2 + 12 * i;
    TTiffEntry entry{in.U16(at, kOutside), in.U16(at + 2, kOutside), in.U32(at + 4, kOutside), at + 8};
    switch (entry.Tag) {
      case 256: width = SixteenBitField(in, entry); break;
      case 257: height = SixteenBitField(in, entry); break;
      case 259: compression = SixteenBitField(in, entry); break;
      case 262: photometric = SixteenBitField(in, entry); break;
      case 277: samplesPerPixel = SixteenBitField(in, entry); break;
      case 278: rowsPerStrip = FirstElement(in, entry); break;
      case 258: bitsEntry = entry; break;
      case 273: ElementSize(entry); offsetsEntry = entry; break;
      case 279: ElementSize(entry); countsEntry = entry; break;
      case 266: fillOrder = int(FirstElement(in, entry)); break;
      case 284: planar = int(FirstElement(in, entry)); break;
      case 339: sampleFormat = int(FirstElement(in, entry)); break;
      case 322: case 323: case 324: case 325: tiled = true; break;
      default: break;
    }
  }

  if (tiled) throw TImageReadError{"Tiled TIFF images cannot be read."};
  if (compression != 1)
    throw TImageReadError{"The image is compressed (compression " + std::to_string(compression) +
                          "); only uncompressed TIFF images can be read."};
  bool rgb = photometric == 2;
  if (photometric == 3) throw TImageReadError{"Palette colour TIFF images cannot be read."};
  if (photometric < 0) throw TImageReadError{"The file does not say how its samples are shown (no photometric interpretation)."};
  if (photometric > 2)
    throw TImageReadError{"Photometric interpretation " + std::to_string(photometric) + " cannot be read."};
  if (rgb ? samplesPerPixel != 3 && samplesPerPixel != 4 : samplesPerPixel != 1)
    throw TImageReadError{std::to_string(samplesPerPixel) + " samples per pixel cannot be read for this kind of image."};
  if (samplesPerPixel > 1 && planar != 1) throw TImageReadError{"Planar colour TIFF images cannot be read."};
  if (sampleFormat != 1) throw TImageReadError{"Only unsigned integer samples can be read."};
  if (fillOrder != 1 && fillOrder != 2) throw TImageReadError{"The bit order of the image data is unknown."};

  // Without the field a TIFF image has one bit per sample.
  uint32_t bits = 1;
  if (bitsEntry) {
    uint64_t start = ArrayStart(in, *bitsEntry);
    if (bitsEntry->Count == 0) throw TImageReadError{"The bits per sample field is empty."};
    bits = ArrayElement(in, *bitsEntry, start, 0);
    for (uint64_t i = 1; i < std::min<uint64_t>(bitsEntry->Count, uint64_t(samplesPerPixel)); ++i)
      if (ArrayElement(in, *bitsEntry, start, i) != bits)
        throw TImageReadError{"Samples of different sizes cannot be read."};
  }
  if (bits != 8 && bits != 16)
    throw TImageReadError{"Images of " + std::to_string(bits) + " bits per sample cannot be read; only 8 and 16 bits."};
  if (width <= 0 || height <= 0) throw TImageReadError{"The image has no pixels."};
  if (!offsetsEntry || offsetsEntry->Count == 0) throw TImageReadError{"The file holds no image data."};

  // Where every row comes from, checked against the file before anything is allocated.
  const int64_t bytesPerSample = bits / 8;
  const int64_t rowBytes = width * samplesPerPixel * bytesPerSample;
  const uint64_t stripCount = offsetsEntry->Count;
  const uint64_t offsetsAt = ArrayStart(in, *offsetsEntry);
  const uint64_t countsAt = countsEntry ? ArrayStart(in, *countsEntry) : 0;
  const int64_t defaultRows = rowsPerStrip > 0 ? rowsPerStrip : (height + int64_t(stripCount) - 1) / int64_t(stripCount);
  std::vector<TStrip> strips;
  int64_t rowsFound = 0;
  for (uint64_t i = 0; i < stripCount && rowsFound < height; ++i) {
    TStrip strip;
    strip.Offset = ArrayElement(in, *offsetsEntry, offsetsAt, i);
    uint64_t byteCount = countsEntry && i < countsEntry->Count ? ArrayElement(in, *countsEntry, countsAt, i) : 0;
    // A missing or zero byte count leaves the strip its share of the rows.
    strip.Rows = byteCount > 0 ? int64_t(byteCount / uint64_t(rowBytes)) : defaultRows;
    if (strip.Rows == 0) throw TImageReadError{"A strip of the image holds less than one row."};
    strip.Rows = std::min(strip.Rows, height - rowsFound);
    in.Require(strip.Offset, uint64_t(strip.Rows * rowBytes), "A strip of the image lies outside the file.");
    rowsFound += strip.Rows;
    strips.push_back(strip);
  }
  if (rowsFound < height) throw TImageReadError{"The image data end before the last row."};

  SizeRawImage(image, width, height, samplesPerPixel, int32_t(bits));
  std::array<uint8_t, 256> byteOrder;
  for (int b = 0; b < 256; ++b) {
    int reversed = 0;
    for (int bit = 0; bit < 8; ++bit)
      if (b & (1 << bit)) reversed |= 0x80 >> bit;
    byteOrder[size_t(b)] = uint8_t(fillOrder == 2 ? reversed : b);
  }
  // Samples of a pixel are written blue, green, red (then alpha): the first three reversed.
  std::array<int64_t, 4> target{0, 1, 2, 3};
  if (rgb) target = {2, 1, 0, 3};
  const uint32_t invert = photometric == 0 ? (1u << bits) - 1 : 0;
  uint8_t* out = image.Samples.data();
  for (const TStrip& strip : strips) {
    const uint8_t* row = bytes.data() + strip.Offset;
    for (int64_t r = 0; r < strip.Rows; ++r, row += rowBytes, out += rowBytes) {
      for (int64_t pixel = 0; pixel < width; ++pixel) {
        for (int64_t s = 0; s < samplesPerPixel; ++s) {
          const uint8_t* source = row + (pixel * samplesPerPixel + s) * bytesPerSample;
          uint8_t* sink = out + (pixel * samplesPerPixel + target[size_t(s)]) * bytesPerSample;
          if (bytesPerSample == 1) {
            sink[0] = uint8_t(byteOrder[source[0]] ^ invert);
          } else {
            uint32_t first = byteOrder[source[0]], second = byteOrder[source[1]];
            uint32_t value = (bigEndian ? first << 8 | second : second << 8 | first) ^ invert;
            sink[0] = uint8_t(value);
            sink[1] = uint8_t(value >> 8);
          }
        }
      }
    }
  }
}

}  // namespace

TResult ReadTiffBytes(std::span<const uint8_t> bytes, const std::string& fileName, TRawImage& image) {
  return RunImageReader(kTiffReadFailure, fileName, image, [&] { DecodeTiff(bytes, image); });
}

}  // namespace lumacet
