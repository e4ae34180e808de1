#include "imaging/tiff_reader.h"

#include <tiffio.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "imaging/medical_readers.h"

namespace lumacet {

namespace {

// libtiff reads from the bytes already in memory; it never writes in read mode.
struct TMemoryFile {
  std::span<const uint8_t> Bytes;
  uint64_t Position = 0;
  std::string Error;  // libtiff's first complaint
};

tmsize_t ReadProc(thandle_t handle, void* buffer, tmsize_t size) {
  auto* file = static_cast<TMemoryFile*>(handle);
  if (size < 0 || file->Position >= file->Bytes.size()) return 0;
  const uint64_t count = std::min<uint64_t>(uint64_t(size), file->Bytes.size() - file->Position);
  std::memcpy(buffer, file->Bytes.data() + file->Position, count);
  file->Position += count;
  return tmsize_t(count);
}

tmsize_t WriteProc(thandle_t, void*, tmsize_t) { return -1; }

toff_t SeekProc(thandle_t handle, toff_t offset, int whence) {
  auto* file = static_cast<TMemoryFile*>(handle);
  uint64_t base = whence == SEEK_CUR ? file->Position : whence == SEEK_END ? file->Bytes.size() : 0;
  file->Position = base + offset;
  return file->Position;
}

int CloseProc(thandle_t) { return 0; }
toff_t SizeProc(thandle_t handle) { return static_cast<TMemoryFile*>(handle)->Bytes.size(); }

int MapProc(thandle_t handle, void** base, toff_t* size) {
  auto* file = static_cast<TMemoryFile*>(handle);
  *base = const_cast<uint8_t*>(file->Bytes.data());
  *size = file->Bytes.size();
  return 1;
}

void UnmapProc(thandle_t, void*, toff_t) {}

int KeepError(TIFF*, void* user, const char*, const char* format, va_list arguments) {
  auto* file = static_cast<TMemoryFile*>(user);
  if (file->Error.empty()) {
    std::array<char, 512> text{};
    std::vsnprintf(text.data(), text.size(), format, arguments);
    file->Error = text.data();
  }
  return 1;
}

int IgnoreWarning(TIFF*, void*, const char*, const char*, va_list) { return 1; }

struct TTiffCloser {
  void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};
using TTiffHandle = std::unique_ptr<TIFF, TTiffCloser>;

constexpr tmsize_t kMostOneAllocation = tmsize_t{2} << 30;

template <typename T>
T Field(TIFF* tiff, uint32_t tag, T fallback) {
  T value = fallback;
  return TIFFGetFieldDefaulted(tiff, tag, &value) == 1 ? value : fallback;
}

// How the stored samples become the raw image's.
struct TTiffLayout {
  uint32_t Width = 0, Height = 0;
  uint16_t StoredSamples = 1, Bits = 1, Photometric = 1;
  bool Planes = false;     // each sample in a plane of its own
  int OutSamples = 1;      // grey 1, colour 3, colour with alpha 4
  int OutBits = 8;         // 8, or the stored bits above 8
  std::array<int, 4> Target{0, 1, 2, 3};  // where stored sample s goes in the pixel
  std::vector<uint16_t> Map;  // palette and small-sample tables: stored value -> samples
};

uint32_t Unpack(const uint8_t* row, uint64_t index, int bits) {
  if (bits == 8) return row[index];
  if (bits == 16) return uint32_t(row[2 * index]) | uint32_t(row[2 * index + 1]) << 8;  // host order
  // Packed samples, first bit highest: the bytes the sample touches (three at most for 16
  // bits), read whole, never past the last of them, which may end the row.
  const uint64_t bit = index * uint64_t(bits);
  const uint8_t* first = row + (bit >> 3);
  const int skip = int(bit & 7);
  const int touched = (skip + bits + 7) / 8;
  uint32_t window = 0;
  for (int k = 0; k < touched; ++k) window = window << 8 | first[k];
  return (window >> (touched * 8 - skip - bits)) & ((1u << bits) - 1);
}

void Put(TRawImage& image, uint64_t sampleIndex, uint32_t value) {
  if (image.BitsPerSample <= 8) {
    image.Samples[sampleIndex] = uint8_t(value);
  } else {
    image.Samples[2 * sampleIndex] = uint8_t(value);
    image.Samples[2 * sampleIndex + 1] = uint8_t(value >> 8);
  }
}

TTiffLayout ReadLayout(TIFF* tiff, uint64_t fileSize) {
  TTiffLayout layout;
  TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &layout.Width);
  TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &layout.Height);
  layout.StoredSamples = Field<uint16_t>(tiff, TIFFTAG_SAMPLESPERPIXEL, 1);
  layout.Bits = Field<uint16_t>(tiff, TIFFTAG_BITSPERSAMPLE, 1);
  layout.Planes = Field<uint16_t>(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) == PLANARCONFIG_SEPARATE;
  const uint16_t compression = Field<uint16_t>(tiff, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
  if (TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &layout.Photometric) != 1)
    throw TImageReadError{"The file does not say how its samples are shown (no photometric interpretation)."};
  if (Field<uint16_t>(tiff, TIFFTAG_SAMPLEFORMAT, SAMPLEFORMAT_UINT) != SAMPLEFORMAT_UINT)
    throw TImageReadError{"Only unsigned integer samples can be read."};
  if (layout.Bits < 1 || layout.Bits > 16)
    throw TImageReadError{"Images of " + std::to_string(layout.Bits) + " bits per sample cannot be read; only 1 to 16 bits."};
  if (layout.Width == 0 || layout.Height == 0) throw TImageReadError{"The image has no pixels."};
  if (!TIFFIsCODECConfigured(compression))
    throw TImageReadError{"The image is compressed in a way that cannot be read (compression " +
                          std::to_string(compression) + ")."};
  // JPEG stores colour as YCbCr; the codec gives it back as RGB.
  if (layout.Photometric == PHOTOMETRIC_YCBCR && compression == COMPRESSION_JPEG) {
    TIFFSetField(tiff, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
    layout.Photometric = PHOTOMETRIC_RGB;
  }

  const uint64_t maximum = (uint64_t{1} << layout.Bits) - 1;
  switch (layout.Photometric) {
    case PHOTOMETRIC_MINISBLACK:
    case PHOTOMETRIC_MINISWHITE:
      layout.OutSamples = 1;
      break;
    case PHOTOMETRIC_RGB:
      if (layout.StoredSamples < 3)
        throw TImageReadError{std::to_string(layout.StoredSamples) + " samples per pixel cannot be read for this kind of image."};
      // Alpha is kept where the display can show it: at 8 bits.
      layout.OutSamples = layout.StoredSamples >= 4 && layout.Bits <= 8 ? 4 : 3;
      layout.Target = {2, 1, 0, 3};
      break;
    case PHOTOMETRIC_PALETTE: {
      if (layout.StoredSamples != 1 || layout.Bits > 8) throw TImageReadError{"The palette colour image's layout cannot be read."};
      uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
      if (TIFFGetField(tiff, TIFFTAG_COLORMAP, &red, &green, &blue) != 1)
        throw TImageReadError{"The palette colour image has no colour map."};
      // Writers store 8-bit colours as multiples of 257; those stay 8-bit.
      const bool narrow = std::all_of(red, red + maximum + 1, [](uint16_t v) { return v % 257 == 0; }) &&
                          std::all_of(green, green + maximum + 1, [](uint16_t v) { return v % 257 == 0; }) &&
                          std::all_of(blue, blue + maximum + 1, [](uint16_t v) { return v % 257 == 0; });
      for (uint64_t v = 0; v <= maximum; ++v)
        for (const uint16_t* channel : {blue, green, red})
          layout.Map.push_back(narrow ? uint16_t(channel[v] / 257) : channel[v]);
      layout.OutSamples = 3;
      layout.OutBits = narrow ? 8 : 16;
      break;
    }
    default:
      throw TImageReadError{"Photometric interpretation " + std::to_string(layout.Photometric) + " cannot be read."};
  }
  if (layout.Photometric != PHOTOMETRIC_PALETTE) {
    layout.OutBits = layout.Bits > 8 ? layout.Bits : 8;
    // Fewer than 8 bits are spread over 0..255; white-is-zero is turned round here as well.
    if (layout.Bits < 8 || layout.Photometric == PHOTOMETRIC_MINISWHITE)
      for (uint64_t v = 0; v <= maximum; ++v) {
        const uint64_t shown = layout.Photometric == PHOTOMETRIC_MINISWHITE ? maximum - v : v;
        layout.Map.push_back(uint16_t(layout.Bits < 8 ? shown * 255 / maximum : shown));
      }
  }

  CheckImageLimits(layout.Width, layout.Height, uint64_t(layout.OutSamples), layout.OutBits > 8 ? 2 : 1,
                   uint64_t(layout.Width) * layout.Height * layout.StoredSamples * layout.Bits / 8, fileSize);
  return layout;
}

// How the image is cut into strips or tiles, and which of them are read.
struct TChunkGrid {
  bool Tiled = false;
  uint32_t Width = 0, Height = 0;  // of one chunk
  uint32_t Across = 0, Down = 0;
  int Planes = 1;                  // planes read: alpha dropped at more than 8 bits is not
  int PlaneSamples = 1;
  uint64_t RowBytes = 0;
  uint64_t Bytes = 0;              // the decoding buffer
};

TChunkGrid ReadGrid(TIFF* tiff, const TTiffLayout& layout) {
  TChunkGrid grid;
  grid.Tiled = TIFFIsTiled(tiff);
  grid.Width = layout.Width;
  if (grid.Tiled) {
    TIFFGetField(tiff, TIFFTAG_TILEWIDTH, &grid.Width);
    TIFFGetField(tiff, TIFFTAG_TILELENGTH, &grid.Height);
  } else {
    grid.Height = std::min(Field<uint32_t>(tiff, TIFFTAG_ROWSPERSTRIP, layout.Height), layout.Height);
  }
  if (grid.Width == 0 || grid.Height == 0) throw TImageReadError{"The image's strips or tiles have no size."};
  grid.PlaneSamples = layout.Planes ? 1 : layout.StoredSamples;
  grid.RowBytes = (uint64_t(grid.Width) * uint64_t(grid.PlaneSamples) * layout.Bits + 7) / 8;
  const tmsize_t codecBytes = grid.Tiled ? TIFFTileSize(tiff) : TIFFStripSize(tiff);
  if (codecBytes <= 0 || uint64_t(codecBytes) < grid.RowBytes * std::min(grid.Height, layout.Height))
    throw TImageReadError{"The image's strips or tiles cannot be sized."};
  grid.Bytes = std::max<uint64_t>(grid.RowBytes * grid.Height, uint64_t(codecBytes));
  grid.Across = (layout.Width + grid.Width - 1) / grid.Width;
  grid.Down = (layout.Height + grid.Height - 1) / grid.Height;
  const uint32_t count = grid.Tiled ? TIFFNumberOfTiles(tiff) : TIFFNumberOfStrips(tiff);
  const int stored = layout.Planes ? layout.StoredSamples : 1;
  if (uint64_t(count) < uint64_t(grid.Across) * grid.Down * uint64_t(stored))
    throw TImageReadError{"The image data end before the last row."};
  grid.Planes = layout.Planes ? std::min<int>(layout.OutSamples, layout.StoredSamples) : 1;
  return grid;
}

// The most decoded bytes one stored byte can give, for the codecs whose bound is known;
// the others are held to the bound for every image.
uint64_t MostExpansion(uint16_t compression) {
  switch (compression) {
    case COMPRESSION_NONE: return 1;
    case COMPRESSION_PACKBITS: return 64;  // two bytes repeat one 128 times
    case COMPRESSION_ADOBE_DEFLATE:
    case COMPRESSION_DEFLATE: return 1040;  // a 258-byte match in two bits
    case COMPRESSION_LZW: return 2048;      // about 1,400 when every code extends the last
    default: return 0;
  }
}

// Before memory is taken for the image: the strips or tiles read must, together, hold the
// samples they are to give. Bytes that several of them share count once, so a small file
// whose strips all point at the same row cannot pass for a large image.
void CheckStoredBytes(TIFF* tiff, const TTiffLayout& layout, const TChunkGrid& grid, uint16_t compression,
                      uint64_t fileSize) {
  const uint64_t expansion = MostExpansion(compression);
  if (expansion == 0) return;
  std::vector<std::pair<uint64_t, uint64_t>> ranges;
  const uint64_t chunks = uint64_t(grid.Across) * grid.Down;
  ranges.reserve(size_t(chunks) * size_t(grid.Planes));
  for (uint64_t index = 0; index < chunks * uint64_t(grid.Planes); ++index) {
    const uint64_t offset = TIFFGetStrileOffset(tiff, uint32_t(index));
    const uint64_t count = TIFFGetStrileByteCount(tiff, uint32_t(index));
    if (offset < fileSize) ranges.emplace_back(offset, offset + std::min(count, fileSize - offset));
  }
  std::sort(ranges.begin(), ranges.end());
  uint64_t held = 0, reached = 0;
  for (const auto& [begin, end] : ranges) {
    const uint64_t from = std::max(begin, reached);
    if (end > from) held += end - from;
    reached = std::max(reached, end);
  }
  const uint64_t rowBytes = (uint64_t(layout.Width) * uint64_t(grid.PlaneSamples) * layout.Bits + 7) / 8;
  const uint64_t decoded = rowBytes * layout.Height * uint64_t(grid.Planes);
  if (decoded > held * expansion) throw TImageReadError{"The file is far too small for the image it describes."};
}

// Decodes strip or tile after strip or tile, plane after plane, into the raw image.
void ReadChunks(TIFF* tiff, const TTiffLayout& layout, const TChunkGrid& grid, TMemoryFile& file, TRawImage& image) {
  const bool tiled = grid.Tiled;
  const uint32_t chunkWidth = grid.Width, chunkHeight = grid.Height, across = grid.Across, down = grid.Down;
  const int planeSamples = grid.PlaneSamples;
  const uint64_t rowBytes = grid.RowBytes;
  std::vector<uint8_t> chunk(grid.Bytes);
  const int keptSamples = std::min<int>(layout.OutSamples, layout.StoredSamples);
  const uint64_t outSamples = uint64_t(layout.OutSamples);
  // Whole 8- or 16-bit samples stored in the order they are kept need no unpacking: a row is
  // copied as it stands, which is most of the files a clinic meets (and LZW's hot path).
  bool inOrder = true;
  for (int i = 0; i < keptSamples; ++i) inOrder = inOrder && layout.Target[size_t(i)] == i;
  const bool copyRows = inOrder && layout.Photometric != PHOTOMETRIC_PALETTE && layout.Map.empty() && !layout.Planes &&
                        (layout.Bits == 8 || layout.Bits == 16) && (image.BitsPerSample <= 8) == (layout.Bits == 8) &&
                        planeSamples == keptSamples && uint64_t(keptSamples) == outSamples &&
                        std::endian::native == std::endian::little;
  const uint64_t sampleBytes = layout.Bits == 16 ? 2 : 1;
  // 12-bit samples, what scanners and image tools write for 12-bit radiographs: two in every
  // three bytes, taken a pair at a time.
  const bool pairRows = inOrder && layout.Photometric != PHOTOMETRIC_PALETTE && layout.Map.empty() && !layout.Planes &&
                        layout.Bits == 12 && image.BitsPerSample > 8 && planeSamples == keptSamples &&
                        uint64_t(keptSamples) == outSamples;

  for (int plane = 0; plane < grid.Planes; ++plane) {
    for (uint32_t chunkRow = 0; chunkRow < down; ++chunkRow)
      for (uint32_t chunkColumn = 0; chunkColumn < across; ++chunkColumn) {
        const uint32_t index = (uint32_t(plane) * down + chunkRow) * across + chunkColumn;
        const tmsize_t got = tiled ? TIFFReadEncodedTile(tiff, index, chunk.data(), tmsize_t(chunk.size()))
                                   : TIFFReadEncodedStrip(tiff, index, chunk.data(), tmsize_t(chunk.size()));
        if (got < 0) throw TImageReadError{"The image data cannot be decoded: " + file.Error};
        const uint32_t top = chunkRow * chunkHeight, left = chunkColumn * chunkWidth;
        const uint32_t rows = std::min(chunkHeight, layout.Height - top);
        const uint32_t columns = std::min(chunkWidth, layout.Width - left);
        // A short strip at the end leaves its missing rows as decoded: zero.
        for (uint32_t r = 0; r < rows; ++r) {
          const uint8_t* row = chunk.data() + r * rowBytes;
          uint64_t pixel = uint64_t(top + r) * layout.Width + left;
          if (copyRows) {
            std::memcpy(image.Samples.data() + pixel * outSamples * sampleBytes, row, columns * outSamples * sampleBytes);
            continue;
          }
          if (pairRows) {
            const uint64_t count = columns * outSamples;
            uint8_t* out = image.Samples.data() + pixel * outSamples * 2;
            uint64_t i = 0;
            for (const uint8_t* in = row; i + 1 < count; i += 2, in += 3, out += 4) {
              const uint32_t a = uint32_t(in[0]) << 4 | in[1] >> 4, b = uint32_t(in[1] & 15) << 8 | in[2];
              out[0] = uint8_t(a), out[1] = uint8_t(a >> 8), out[2] = uint8_t(b), out[3] = uint8_t(b >> 8);
            }
            if (i < count) {
              const uint32_t last = Unpack(row, i, 12);
              out[0] = uint8_t(last), out[1] = uint8_t(last >> 8);
            }
            continue;
          }
          for (uint32_t c = 0; c < columns; ++c, ++pixel)
            for (int s = 0; s < planeSamples && (layout.Planes ? plane : s) < keptSamples; ++s) {
              const uint32_t stored = Unpack(row, uint64_t(c) * planeSamples + s, layout.Bits);
              const int sample = layout.Planes ? plane : s;
              if (layout.Photometric == PHOTOMETRIC_PALETTE) {
                for (int k = 0; k < 3; ++k) Put(image, pixel * 3 + k, layout.Map[stored * 3 + k]);
              } else {
                Put(image, pixel * outSamples + layout.Target[size_t(sample)], layout.Map.empty() ? stored : layout.Map[stored]);
              }
            }
        }
      }
  }
}

// The picture as it is meant to be seen: the orientation tag says where the stored first
// row and column belong.
void Orient(uint16_t orientation, TRawImage& image) {
  if (orientation <= ORIENTATION_TOPLEFT || orientation > ORIENTATION_LEFTBOT) return;
  const int64_t w = image.Width, h = image.Height;
  const bool transposed = orientation >= ORIENTATION_LEFTTOP;
  const int64_t outWidth = transposed ? h : w;
  const size_t pixelBytes = size_t(image.SamplesPerPixel * image.BytesPerSample());
  std::vector<uint8_t> turned(image.Samples.size());
  for (int64_t y = 0; y < h; ++y)
    for (int64_t x = 0; x < w; ++x) {
      int64_t tx = x, ty = y;
      switch (orientation) {
        case ORIENTATION_TOPRIGHT: tx = w - 1 - x; break;
        case ORIENTATION_BOTRIGHT: tx = w - 1 - x, ty = h - 1 - y; break;
        case ORIENTATION_BOTLEFT: ty = h - 1 - y; break;
        case ORIENTATION_LEFTTOP: tx = y, ty = x; break;
        case ORIENTATION_RIGHTTOP: tx = h - 1 - y, ty = x; break;
        case ORIENTATION_RIGHTBOT: tx = h - 1 - y, ty = w - 1 - x; break;
        case ORIENTATION_LEFTBOT: tx = y, ty = w - 1 - x; break;
        default: break;
      }
      std::memcpy(turned.data() + size_t(ty * outWidth + tx) * pixelBytes,
                  image.Samples.data() + size_t(y * w + x) * pixelBytes, pixelBytes);
    }
  image.Samples = std::move(turned);
  if (transposed) std::swap(image.Width, image.Height);
}

std::string CompressionName(uint16_t compression) {
  switch (compression) {
    case COMPRESSION_NONE: return "uncompressed";
    case COMPRESSION_CCITTRLE: return "CCITT modified Huffman";
    case COMPRESSION_CCITTFAX3: return "CCITT Group 3";
    case COMPRESSION_CCITTFAX4: return "CCITT Group 4";
    case COMPRESSION_LZW: return "LZW";
    case COMPRESSION_OJPEG: return "old-style JPEG";
    case COMPRESSION_JPEG: return "JPEG";
    case COMPRESSION_ADOBE_DEFLATE:
    case COMPRESSION_DEFLATE: return "Deflate";
    case COMPRESSION_PACKBITS: return "PackBits";
    case COMPRESSION_LZMA: return "LZMA";
    case COMPRESSION_ZSTD: return "Zstandard";
    case COMPRESSION_WEBP: return "WebP";
    default: return "compression " + std::to_string(compression);
  }
}

void DecodeTiff(std::span<const uint8_t> bytes, TRawImage& image, std::string& encoding) {
  if (bytes.size() < 8 || !((bytes[0] == 'I' && bytes[1] == 'I') || (bytes[0] == 'M' && bytes[1] == 'M')))
    throw TImageReadError{"The file is not a TIFF file."};
  TMemoryFile file{bytes};
  std::unique_ptr<TIFFOpenOptions, void (*)(TIFFOpenOptions*)> options(TIFFOpenOptionsAlloc(), TIFFOpenOptionsFree);
  if (!options) throw std::bad_alloc();
  TIFFOpenOptionsSetErrorHandlerExtR(options.get(), KeepError, &file);
  TIFFOpenOptionsSetWarningHandlerExtR(options.get(), IgnoreWarning, nullptr);
  TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), kMostOneAllocation);
  TTiffHandle tiff(TIFFClientOpenExt("image", "r", &file, ReadProc, WriteProc, SeekProc, CloseProc, SizeProc, MapProc,
                                     UnmapProc, options.get()));
  if (!tiff) throw TImageReadError{"The file is not a TIFF file that can be read: " + file.Error};
  const TTiffLayout layout = ReadLayout(tiff.get(), bytes.size());
  const uint16_t compression = Field<uint16_t>(tiff.get(), TIFFTAG_COMPRESSION, COMPRESSION_NONE);
  encoding = CompressionName(compression);
  const TChunkGrid grid = ReadGrid(tiff.get(), layout);
  CheckStoredBytes(tiff.get(), layout, grid, compression, bytes.size());
  SizeRawImage(image, layout.Width, layout.Height, layout.OutSamples, layout.OutBits);
  ReadChunks(tiff.get(), layout, grid, file, image);
  Orient(Field<uint16_t>(tiff.get(), TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT), image);
}

}  // namespace

TResult ReadTiffBytes(std::span<const uint8_t> bytes, const std::string& fileName, TRawImage& image,
                      std::string* encoding) {
  std::string name;
  TResult read = RunImageReader(kTiffReadFailure, fileName, image, [&] { DecodeTiff(bytes, image, name); });
  if (encoding) *encoding = read ? name : std::string();
  return read;
}

}  // namespace lumacet
