#include "imaging/bmp_codec.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <new>
#include <unordered_map>
#include <vector>

#include "imaging/medical_readers.h"

namespace lumacet {

namespace {

constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;
constexpr std::uint32_t kAlphaBitFields = 6;

constexpr std::int64_t kFileHeaderSize = 14;
// A compressed stream that ends early, or skips pixels by line ends and moves, leaves them
// index 0. Past this many pixels the stream must reach the top row and hold a byte for
// every 128 pixels (a two-byte run paints at most 255, so any stream that paints every
// pixel does), so that a few bytes cannot claim a gigabyte.
constexpr std::int64_t kRleShortfallPixels = std::int64_t{1} << 20;
constexpr std::int64_t kRlePixelsPerByte = 128;

std::uint32_t Le16(const std::uint8_t* p) { return p[0] | (std::uint32_t{p[1]} << 8); }
std::uint32_t Le32(const std::uint8_t* p) {
  return p[0] | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24);
}

// One colour channel of a 16 or 32-bit pixel, scaled to 8 bits.
struct TChannel {
  std::uint32_t Mask = 0;
  int Shift = 0;
  std::uint32_t Max = 0;  // the largest value the mask can hold

  explicit TChannel(std::uint32_t mask = 0) : Mask(mask) {
    if (mask == 0) return;
    Shift = std::countr_zero(mask);
    Max = mask >> Shift;
  }
  std::uint32_t Value(std::uint32_t pixel) const {
    if (Max == 0) return 0;
    const std::uint64_t v = (pixel & Mask) >> Shift;
    // Max is 2^n - 1 for a contiguous mask, odd, so the rounding never meets a tie.
    return static_cast<std::uint32_t>((v * 255 + Max / 2) / Max);
  }
};

struct THeader {
  std::int64_t Width = 0;
  std::int64_t Height = 0;
  bool TopDown = false;
  int Bits = 0;
  std::uint32_t Compression = kRgb;
  std::int64_t DataOffset = 0;
  std::int64_t DataSize = 0;  // bytes from DataOffset to the end of the pixel data
  std::uint32_t Masks[4] = {};  // red, green, blue, alpha
  std::vector<std::uint32_t> Palette;  // pixel values 0x00RRGGBB
};

// Reads and checks everything before the pixels. Every size and offset is checked
// against the file before it is used.
bool ReadHeader(std::string_view bytes, std::int64_t maxPixels, THeader& header, TImageReadError& error) {
  auto fail = [&](const char* reason) {
    error.Reason = reason;
    return false;
  };
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
  const std::int64_t size = static_cast<std::int64_t>(bytes.size());
  if (size < kFileHeaderSize + 12 || data[0] != 'B' || data[1] != 'M') return fail("The file is not a bitmap.");
  header.DataOffset = Le32(data + 10);
  const std::int64_t infoSize = Le32(data + 14);
  const bool core = infoSize == 12;
  if (!core && infoSize != 40 && infoSize != 52 && infoSize != 56 && infoSize != 64 && infoSize != 108 &&
      infoSize != 124)
    return fail("The bitmap header is of an unknown kind.");
  if (kFileHeaderSize + infoSize > size) return fail("The bitmap header is cut short.");
  const std::uint8_t* info = data + kFileHeaderSize;

  std::uint32_t coloursUsed = 0;
  if (core) {
    header.Width = Le16(info + 4);
    header.Height = Le16(info + 6);
    header.Bits = static_cast<int>(Le16(info + 10));
  } else {
    header.Width = static_cast<std::int32_t>(Le32(info + 4));
    header.Height = static_cast<std::int32_t>(Le32(info + 8));
    header.Bits = static_cast<int>(Le16(info + 14));
    header.Compression = Le32(info + 16);
    coloursUsed = Le32(info + 32);
  }
  if (header.Height < 0) {
    header.TopDown = true;
    header.Height = -header.Height;
  }
  if (header.Width <= 0 || header.Height <= 0) return fail("The bitmap has no pixels.");

  const int bits = header.Bits;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
    return fail("The bit depth of the bitmap is not supported.");
  switch (header.Compression) {
    case kRgb:
      break;
    case kRle8:
      if (bits != 8 || header.TopDown) return fail("The compression does not fit the bitmap.");
      break;
    case kRle4:
      if (bits != 4 || header.TopDown) return fail("The compression does not fit the bitmap.");
      break;
    case kBitFields:
    case kAlphaBitFields:
      // OS/2 headers use 3 for Huffman coding, which is not read.
      if ((bits != 16 && bits != 32) || infoSize == 64) return fail("The compression does not fit the bitmap.");
      break;
    default:
      return fail("The compression of the bitmap is not supported.");
  }

  // Bit masks sit inside the longer headers, or follow the 40-byte one.
  std::int64_t paletteStart = kFileHeaderSize + infoSize;
  if (header.Compression == kBitFields || header.Compression == kAlphaBitFields) {
    const int maskCount = header.Compression == kAlphaBitFields ? 4 : 3;
    const std::uint8_t* masks = info + 40;
    if (infoSize == 40) {
      paletteStart += 4 * maskCount;
      if (paletteStart > size) return fail("The bitmap header is cut short.");
    }
    // The 56-byte and longer headers always carry an alpha mask.
    const int present = infoSize >= 56 ? 4 : infoSize == 40 ? maskCount : 3;
    for (int i = 0; i < present; ++i) header.Masks[i] = Le32(masks + 4 * i);
  } else if (bits == 16) {
    header.Masks[0] = 0x7C00;
    header.Masks[1] = 0x03E0;
    header.Masks[2] = 0x001F;
  } else if (bits == 32) {
    header.Masks[0] = 0x00FF0000;
    header.Masks[1] = 0x0000FF00;
    header.Masks[2] = 0x000000FF;
  }

  if (header.DataOffset < paletteStart || header.DataOffset >= size)
    return fail("The pixel data do not lie inside the file.");
  if (bits <= 8) {
    const std::int64_t entrySize = core ? 3 : 4;
    const std::int64_t capacity = std::int64_t{1} << bits;
    if (coloursUsed > capacity) return fail("The palette is larger than the bit depth allows.");
    std::int64_t count = coloursUsed != 0 ? coloursUsed : capacity;
    // Writers that store fewer entries let the pixel data begin where the palette ends.
    count = std::min(count, (header.DataOffset - paletteStart) / entrySize);
    header.Palette.resize(static_cast<std::size_t>(count));
    for (std::int64_t i = 0; i < count; ++i) {
      const std::uint8_t* entry = data + paletteStart + i * entrySize;
      header.Palette[static_cast<std::size_t>(i)] = PackPixel(entry[0], entry[1], entry[2]);
    }
  }

  if (header.Width * header.Height > maxPixels) {
    error.Reason.clear();  // too large
    return false;
  }
  header.DataSize = size - header.DataOffset;
  if (header.Compression == kRgb || header.Compression == kBitFields || header.Compression == kAlphaBitFields) {
    const std::int64_t stride = (header.Width * bits + 31) / 32 * 4;
    const std::int64_t lastRow = (header.Width * bits + 7) / 8;  // the final padding may be missing
    if ((header.Height - 1) * stride + lastRow > header.DataSize) return fail("The pixel data are cut short.");
  }
  return true;
}

// RLE8 and RLE4 runs into a bottom-up plane of palette indices, or, without `indices`, only
// how far up the stream reaches (the row it ends in, counted from the bottom). Runs that
// reach past a row or past the top are cut off; a stream that ends early leaves the rest
// index 0.
std::int64_t DecodeRle(const THeader& header, const std::uint8_t* data, std::vector<std::uint8_t>* indices) {
  const bool four = header.Compression == kRle4;
  const std::int64_t width = header.Width;
  const std::int64_t height = header.Height;
  std::int64_t x = 0;
  std::int64_t row = 0;  // counted from the bottom
  std::int64_t pos = 0;
  const std::int64_t end = header.DataSize;
  auto put = [&](std::uint8_t index) {
    if (indices != nullptr && x < width && row < height)
      (*indices)[static_cast<std::size_t>((height - 1 - row) * width + x)] = index;
    ++x;
  };
  while (pos + 2 <= end && row < height) {
    const std::uint8_t count = data[pos];
    const std::uint8_t value = data[pos + 1];
    pos += 2;
    if (count > 0) {
      for (int i = 0; i < count; ++i) put(four ? ((i & 1) ? value & 0x0F : value >> 4) : value);
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++row;
    } else if (value == 1) {  // end of bitmap
      break;
    } else if (value == 2) {  // move right and up
      if (pos + 2 > end) break;
      x += data[pos];
      row += data[pos + 1];
      pos += 2;
    } else {  // `value` pixels stored one by one, padded to a 16-bit boundary
      const std::int64_t stored = four ? (value + 1) / 2 : value;
      if (pos + stored > end) break;
      for (int i = 0; i < value; ++i)
        put(four ? ((i & 1) ? data[pos + i / 2] & 0x0F : data[pos + i / 2] >> 4) : data[pos + i]);
      pos += stored + (stored & 1);
    }
  }
  return row;
}

}  // namespace

bool DecodeBmp(std::string_view bytes, TRawImage& image, TImageReadError& error, std::int64_t maxPixels) {
  THeader header;
  if (!ReadHeader(bytes, std::min(maxPixels, kMaxImagePixels), header, error)) return false;
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data()) + header.DataOffset;
  const std::int64_t width = header.Width;
  const std::int64_t height = header.Height;
  const int bits = header.Bits;
  const int spp = bits == 32 ? 4 : 3;
  if ((header.Compression == kRle8 || header.Compression == kRle4) && width * height > kRleShortfallPixels &&
      (header.DataSize * kRlePixelsPerByte < width * height || DecodeRle(header, data, nullptr) < height - 1)) {
    error.Reason = "The compressed pixel data end before the picture does.";
    return false;
  }

  TRawImage result;
  try {
    result.Samples.resize(static_cast<std::size_t>(width * height * spp));
    std::vector<std::uint8_t> indices;
    if (bits <= 8) indices.resize(static_cast<std::size_t>(width * height));

    if (header.Compression == kRle8 || header.Compression == kRle4) {
      DecodeRle(header, data, &indices);
    } else {
      const std::int64_t stride = (width * bits + 31) / 32 * 4;
      const TChannel red(header.Masks[0]), green(header.Masks[1]), blue(header.Masks[2]), alpha(header.Masks[3]);
      const bool plain32 = bits == 32 && header.Masks[0] == 0x00FF0000 && header.Masks[1] == 0x0000FF00 &&
                           header.Masks[2] == 0x000000FF;
      for (std::int64_t fileRow = 0; fileRow < height; ++fileRow) {
        const std::int64_t y = header.TopDown ? fileRow : height - 1 - fileRow;
        const std::uint8_t* in = data + fileRow * stride;
        std::uint8_t* out = result.Samples.data() + y * width * spp;
        for (std::int64_t x = 0; x < width; ++x) {
          switch (bits) {
            case 1:
            case 4: {
              const std::int64_t bit = x * bits;
              const int shift = 8 - bits - static_cast<int>(bit % 8);
              indices[static_cast<std::size_t>(y * width + x)] =
                  static_cast<std::uint8_t>((in[bit / 8] >> shift) & ((1 << bits) - 1));
              break;
            }
            case 8:
              indices[static_cast<std::size_t>(y * width + x)] = in[x];
              break;
            case 24:
              out[3 * x] = in[3 * x];
              out[3 * x + 1] = in[3 * x + 1];
              out[3 * x + 2] = in[3 * x + 2];
              break;
            case 16: {
              const std::uint32_t pixel = Le16(in + 2 * x);
              out[3 * x] = static_cast<std::uint8_t>(blue.Value(pixel));
              out[3 * x + 1] = static_cast<std::uint8_t>(green.Value(pixel));
              out[3 * x + 2] = static_cast<std::uint8_t>(red.Value(pixel));
              break;
            }
            default: {  // 32
              const std::uint8_t* p = in + 4 * x;
              if (plain32) {
                std::copy(p, p + 4, out + 4 * x);
              } else {
                const std::uint32_t pixel = Le32(p);
                out[4 * x] = static_cast<std::uint8_t>(blue.Value(pixel));
                out[4 * x + 1] = static_cast<std::uint8_t>(green.Value(pixel));
                out[4 * x + 2] = static_cast<std::uint8_t>(red.Value(pixel));
                out[4 * x + 3] = static_cast<std::uint8_t>(alpha.Value(pixel));
              }
            }
          }
        }
      }
    }

    // Palette pictures become colour samples; an index past the palette is black.
    if (bits <= 8) {
      for (std::size_t p = 0; p < indices.size(); ++p) {
        const std::uint32_t colour = indices[p] < header.Palette.size() ? header.Palette[indices[p]] : 0;
        result.Samples[3 * p] = static_cast<std::uint8_t>(PixelBlue(colour));
        result.Samples[3 * p + 1] = static_cast<std::uint8_t>(PixelGreen(colour));
        result.Samples[3 * p + 2] = static_cast<std::uint8_t>(PixelRed(colour));
      }
    }
  } catch (const std::bad_alloc&) {
    error.Reason.clear();
    return false;
  }
  result.Width = static_cast<std::int32_t>(width);
  result.Height = static_cast<std::int32_t>(height);
  result.SamplesPerPixel = spp;
  result.BitsPerSample = 8;
  image = std::move(result);
  return true;
}

namespace {

void Put16(std::string& out, std::uint32_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>((value >> 8) & 0xFF));
}
void Put32(std::string& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

}  // namespace

bool EncodeBmp(const TBitmap32& bitmap, const TBmpWriteOptions& options, std::string& bytes) {
  const int bits = options.BitsPerPixel;
  if (bitmap.Empty() || (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)) return false;

  std::vector<std::uint32_t> palette;
  std::vector<std::uint8_t> indices;
  if (bits <= 8) {
    std::unordered_map<std::uint32_t, std::uint8_t> known;
    indices.resize(bitmap.Pixels.size());
    for (std::size_t p = 0; p < bitmap.Pixels.size(); ++p) {
      const std::uint32_t colour = bitmap.Pixels[p] & 0x00FFFFFF;
      auto found = known.find(colour);
      if (found == known.end()) {
        if (palette.size() == (std::size_t{1} << bits)) return false;
        found = known.emplace(colour, static_cast<std::uint8_t>(palette.size())).first;
        palette.push_back(colour);
      }
      indices[p] = found->second;
    }
  }

  const std::int64_t width = bitmap.Width;
  const std::int64_t height = bitmap.Height;
  const std::int64_t stride = (width * bits + 31) / 32 * 4;
  const std::int64_t dataOffset = kFileHeaderSize + 40 + 4 * static_cast<std::int64_t>(palette.size());
  const std::int64_t fileSize = dataOffset + stride * height;
  if (fileSize > 0xFFFFFFFF) return false;

  std::string out;
  out.reserve(static_cast<std::size_t>(fileSize));
  out += "BM";
  Put32(out, static_cast<std::uint32_t>(fileSize));
  Put32(out, 0);
  Put32(out, static_cast<std::uint32_t>(dataOffset));
  Put32(out, 40);
  Put32(out, static_cast<std::uint32_t>(width));
  Put32(out, static_cast<std::uint32_t>(options.TopDown ? -height : height));
  Put16(out, 1);
  Put16(out, static_cast<std::uint32_t>(bits));
  Put32(out, kRgb);
  Put32(out, static_cast<std::uint32_t>(stride * height));
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, static_cast<std::uint32_t>(palette.size()));
  Put32(out, 0);
  for (std::uint32_t colour : palette) Put32(out, colour);

  std::string row(static_cast<std::size_t>(stride), '\0');
  for (std::int64_t fileRow = 0; fileRow < height; ++fileRow) {
    const int y = static_cast<int>(options.TopDown ? fileRow : height - 1 - fileRow);
    const std::uint32_t* in = bitmap.Row(y);
    std::fill(row.begin(), row.end(), '\0');
    for (std::int64_t x = 0; x < width; ++x) {
      const std::uint32_t pixel = in[x];
      switch (bits) {
        case 32:
          for (int b = 0; b < 4; ++b) row[static_cast<std::size_t>(4 * x + b)] = static_cast<char>((pixel >> (8 * b)) & 0xFF);
          break;
        case 24:
          for (int b = 0; b < 3; ++b) row[static_cast<std::size_t>(3 * x + b)] = static_cast<char>((pixel >> (8 * b)) & 0xFF);
          break;
        default: {
          const std::uint8_t index = indices[static_cast<std::size_t>(y * width + x)];
          const std::int64_t bit = x * bits;
          const int shift = 8 - bits - static_cast<int>(bit % 8);
          row[static_cast<std::size_t>(bit / 8)] = static_cast<char>(row[static_cast<std::size_t>(bit / 8)] | (index << shift));
        }
      }
    }
    out += row;
  }
  bytes = std::move(out);
  return true;
}

}  // namespace lumacet
