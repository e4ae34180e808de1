#include "imaging/bmp_codec.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "imaging/image_store_samples.h"

namespace lumacet {
namespace {

using test::ReadBytes;
using test::ReadPnm;
using test::SamplePath;

void Put16(std::string& out, std::uint32_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::string& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// A bitmap file put together field by field, so that every header variant and every
// hostile value can be written.
struct TBmpLayout {
  int InfoSize = 40;
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  int Bits = 24;
  std::uint32_t Compression = 0;
  std::uint32_t ColoursUsed = 0;
  std::vector<std::uint32_t> Palette;  // 0x00RRGGBB
  std::vector<std::uint32_t> Masks;    // written after a 40-byte header, or inside longer ones
  std::string Pixels;

  std::string Bytes() const {
    std::string info;
    if (InfoSize == 12) {
      Put32(info, 12);
      Put16(info, static_cast<std::uint32_t>(Width));
      Put16(info, static_cast<std::uint32_t>(Height));
      Put16(info, 1);
      Put16(info, static_cast<std::uint32_t>(Bits));
    } else {
      Put32(info, static_cast<std::uint32_t>(InfoSize));
      Put32(info, static_cast<std::uint32_t>(Width));
      Put32(info, static_cast<std::uint32_t>(Height));
      Put16(info, 1);
      Put16(info, static_cast<std::uint32_t>(Bits));
      Put32(info, Compression);
      Put32(info, static_cast<std::uint32_t>(Pixels.size()));
      Put32(info, 2835);
      Put32(info, 2835);
      Put32(info, ColoursUsed);
      Put32(info, 0);
      if (InfoSize > 40)
        for (std::uint32_t mask : Masks) Put32(info, mask);
      info.resize(static_cast<std::size_t>(InfoSize), '\0');
      if (InfoSize == 40)
        for (std::uint32_t mask : Masks) Put32(info, mask);
    }
    for (std::uint32_t colour : Palette) {
      Put16(info, colour & 0xFFFF);
      if (InfoSize == 12)
        info.push_back(static_cast<char>((colour >> 16) & 0xFF));
      else
        Put16(info, colour >> 16);
    }
    std::string file = "BM";
    Put32(file, static_cast<std::uint32_t>(14 + info.size() + Pixels.size()));
    Put32(file, 0);
    Put32(file, static_cast<std::uint32_t>(14 + info.size()));
    return file + info + Pixels;
  }
};

std::string Row(std::initializer_list<int> bytes) {
  std::string row;
  for (int b : bytes) row.push_back(static_cast<char>(b));
  return row;
}

TRawImage Decode(const std::string& bytes) {
  TRawImage image;
  TImageReadError error;
  EXPECT_TRUE(DecodeBmp(bytes, image, error)) << error.Reason;
  return image;
}

// Blue, green, red of pixel (x, y) of a 3-sample image.
std::uint32_t Colour(const TRawImage& image, int x, int y) {
  const std::size_t at = 3 * (static_cast<std::size_t>(y) * static_cast<std::size_t>(image.Width) + static_cast<std::size_t>(x));
  return PackPixel(image.Samples[at], image.Samples[at + 1], image.Samples[at + 2]);
}

TEST(BmpSamples, FilesWrittenByAnotherProgramDecodeToTheirPixels) {
  const TRawImage expected = ReadPnm(SamplePath("bmp/small.ppm"));
  for (const char* name : {"pal8", "rle8", "rgb24"}) {
    SCOPED_TRACE(name);
    const TRawImage image = Decode(ReadBytes(SamplePath(std::string("bmp/") + name + ".bmp")));
    EXPECT_EQ(image.Width, 13);
    EXPECT_EQ(image.Height, 7);
    EXPECT_EQ(image.SamplesPerPixel, 3);
    EXPECT_EQ(image.BitsPerSample, 8);
    EXPECT_EQ(image.Samples, expected.Samples);
  }
  for (const char* name : {"pal4", "mono1"}) {
    SCOPED_TRACE(name);
    const TRawImage image = Decode(ReadBytes(SamplePath(std::string("bmp/") + name + ".bmp")));
    const TRawImage reference = ReadPnm(SamplePath(std::string("bmp/") + name + ".ppm"));
    EXPECT_EQ(image.SamplesPerPixel, 3);
    EXPECT_EQ(image.Samples, reference.Samples);
  }
  // Five and six-bit values are scaled to the nearest 8-bit level; the other program
  // repeats high bits, which may differ by one.
  const TRawImage image = Decode(ReadBytes(SamplePath("bmp/rgb565.bmp")));
  const TRawImage reference = ReadPnm(SamplePath("bmp/rgb565.ppm"));
  ASSERT_EQ(image.Samples.size(), reference.Samples.size());
  for (std::size_t i = 0; i < image.Samples.size(); ++i)
    EXPECT_NEAR(image.Samples[i], reference.Samples[i], 1) << i;
}

TEST(BmpSamples, ThirtyTwoBitsWithAlphaMaskKeepTheFourthByte) {
  const TRawImage image = Decode(ReadBytes(SamplePath("bmp/rgba32.bmp")));
  ASSERT_EQ(image.SamplesPerPixel, 4);
  std::string rgba = ReadBytes(SamplePath("bmp/rgba32.rgba"));
  ASSERT_EQ(rgba.size(), image.Samples.size());
  for (std::size_t p = 0; p < rgba.size(); p += 4) {
    EXPECT_EQ(image.Samples[p], static_cast<std::uint8_t>(rgba[p + 2]));
    EXPECT_EQ(image.Samples[p + 1], static_cast<std::uint8_t>(rgba[p + 1]));
    EXPECT_EQ(image.Samples[p + 2], static_cast<std::uint8_t>(rgba[p]));
    EXPECT_EQ(image.Samples[p + 3], static_cast<std::uint8_t>(rgba[p + 3]));
  }
}

// Our own writer at every depth and in both row orders, read back.
TEST(BmpRoundTrip, EveryDepthAndRowOrderReadsBackAsWritten) {
  for (int bits : {1, 4, 8, 24, 32}) {
    for (bool topDown : {false, true}) {
      for (int width : {1, 3, 8, 9, 17}) {
        SCOPED_TRACE(testing::Message() << bits << " bits, top-down " << topDown << ", width " << width);
        TBitmap32 bitmap = test::RandomBitmap(width, 5, static_cast<unsigned>(bits * 100 + width));
        if (bits <= 8) {
          const std::size_t colours = std::size_t{1} << bits;
          for (std::size_t p = 0; p < bitmap.Pixels.size(); ++p)
            bitmap.Pixels[p] = PackPixel(static_cast<std::uint32_t>((bitmap.Pixels[p] % colours) * 7), 10, 200);
        }
        std::string bytes;
        ASSERT_TRUE(EncodeBmp(bitmap, {bits, topDown}, bytes));
        const TRawImage image = Decode(bytes);
        ASSERT_EQ(image.Width, width);
        ASSERT_EQ(image.Height, 5);
        ASSERT_EQ(image.SamplesPerPixel, bits == 32 ? 4 : 3);
        for (int y = 0; y < 5; ++y)
          for (int x = 0; x < width; ++x) {
            const std::uint32_t pixel = bitmap.Row(y)[x];
            if (bits == 32) {
              const std::uint8_t* s = image.Samples.data() + 4 * (y * width + x);
              EXPECT_EQ(PackPixel(s[0], s[1], s[2], s[3]), pixel);
            } else {
              EXPECT_EQ(Colour(image, x, y), pixel & 0x00FFFFFF);
            }
          }
      }
    }
  }
}

TEST(BmpRoundTrip, PaletteDepthsRefuseTooManyColours) {
  TBitmap32 bitmap;
  bitmap.Resize(17, 1);
  for (int x = 0; x < 17; ++x) bitmap.Pixels[static_cast<std::size_t>(x)] = PackPixel(static_cast<std::uint32_t>(x), 0, 0);
  std::string bytes;
  EXPECT_FALSE(EncodeBmp(bitmap, {4, false}, bytes));
  EXPECT_TRUE(EncodeBmp(bitmap, {8, false}, bytes));
  EXPECT_FALSE(EncodeBmp(TBitmap32{}, {32, false}, bytes));
  EXPECT_FALSE(EncodeBmp(bitmap, {16, false}, bytes));
}

TEST(BmpHeaders, CoreHeaderWithThreeBytePalette) {
  TBmpLayout layout;
  layout.InfoSize = 12;
  layout.Width = 2;
  layout.Height = 2;
  layout.Bits = 8;
  layout.Palette.assign(256, 0);
  layout.Palette[1] = 0x112233;
  layout.Palette[2] = 0xA0B0C0;
  layout.Pixels = Row({1, 2, 0, 0}) + Row({2, 2, 0, 0});  // bottom row first
  const TRawImage image = Decode(layout.Bytes());
  EXPECT_EQ(Colour(image, 0, 1), 0x112233u);
  EXPECT_EQ(Colour(image, 1, 1), 0xA0B0C0u);
  EXPECT_EQ(Colour(image, 0, 0), 0xA0B0C0u);
}

TEST(BmpHeaders, IndexBeyondAShortPaletteIsBlack) {
  TBmpLayout layout;
  layout.Width = 3;
  layout.Height = 1;
  layout.Bits = 8;
  layout.ColoursUsed = 2;
  layout.Palette = {0xFFFFFF, 0x00FF00};
  layout.Pixels = Row({0, 1, 7, 0});
  const TRawImage image = Decode(layout.Bytes());
  EXPECT_EQ(Colour(image, 0, 0), 0xFFFFFFu);
  EXPECT_EQ(Colour(image, 1, 0), 0x00FF00u);
  EXPECT_EQ(Colour(image, 2, 0), 0u);
}

TEST(BmpHeaders, SixteenBitsPlainAndWithBitFields) {
  TBmpLayout layout;
  layout.Width = 2;
  layout.Height = 1;
  layout.Bits = 16;
  layout.Pixels = Row({0xFF, 0x7F, 0x1F, 0x00});  // 5-5-5: white, blue
  TRawImage image = Decode(layout.Bytes());
  EXPECT_EQ(Colour(image, 0, 0), 0xFFFFFFu);
  EXPECT_EQ(Colour(image, 1, 0), 0x0000FFu);

  layout.Compression = 3;
  layout.Masks = {0xF800, 0x07E0, 0x001F};
  layout.Pixels = Row({0x00, 0xF8, 0x20, 0x00});  // 5-6-5: red 31, green 1
  image = Decode(layout.Bytes());
  EXPECT_EQ(Colour(image, 0, 0), 0xFF0000u);
  EXPECT_EQ(Colour(image, 1, 0), PackPixel(0, 4, 0));  // 1 of 63 is 4 of 255
}

TEST(BmpHeaders, ThirtyTwoBitFieldsAreScaledFromTheirMasks) {
  TBmpLayout layout;
  layout.Width = 1;
  layout.Height = -1;  // top-down
  layout.Bits = 32;
  layout.Compression = 6;  // with an alpha mask after the 40-byte header
  layout.Masks = {0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000};
  layout.Pixels.clear();
  Put32(layout.Pixels, (1023u << 20) | (512u << 10) | 0u | (1u << 30));
  const TRawImage image = Decode(layout.Bytes());
  ASSERT_EQ(image.SamplesPerPixel, 4);
  EXPECT_EQ(image.Samples, (std::vector<std::uint8_t>{0, 128, 255, 85}));
}

TEST(BmpRle, Rle8RunsAbsoluteRunsDeltasAndEnds) {
  TBmpLayout layout;
  layout.Width = 6;
  layout.Height = 4;
  layout.Bits = 8;
  layout.Compression = 1;
  layout.ColoursUsed = 4;
  layout.Palette = {0x000000, 0x0000FF, 0x00FF00, 0xFF0000};
  // Bottom row: three 1s, three 2s. Next: absolute 3,2,1 (padded), run of three 3s.
  // Then a move 2 right and 1 up to the top row, two 1s, end of bitmap.
  layout.Pixels = Row({3, 1, 3, 2, 0, 0, 0, 3, 3, 2, 1, 0, 3, 3, 0, 0, 0, 2, 2, 1, 2, 1, 0, 1});
  const TRawImage image = Decode(layout.Bytes());
  const std::uint32_t k = 0, b = 0x0000FF, g = 0x00FF00, r = 0xFF0000;
  const std::vector<std::vector<std::uint32_t>> expected = {
      {k, k, b, b, k, k}, {k, k, k, k, k, k}, {r, g, b, r, r, r}, {b, b, b, g, g, g}};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(Colour(image, x, y), expected[y][x]) << x << "," << y;
}

TEST(BmpRle, Rle4AlternatesNibbles) {
  TBmpLayout layout;
  layout.Width = 5;
  layout.Height = 2;
  layout.Bits = 4;
  layout.Compression = 2;
  layout.ColoursUsed = 3;
  layout.Palette = {0x000000, 0x0000FF, 0x00FF00};
  // Bottom: run of 5 alternating 1,2. Top: absolute 2,1,0 (2 bytes, padded to 2).
  layout.Pixels = Row({5, 0x12, 0, 0, 0, 3, 0x21, 0x00, 0, 1});
  const TRawImage image = Decode(layout.Bytes());
  EXPECT_EQ(Colour(image, 0, 1), 0x0000FFu);
  EXPECT_EQ(Colour(image, 1, 1), 0x00FF00u);
  EXPECT_EQ(Colour(image, 4, 1), 0x0000FFu);
  EXPECT_EQ(Colour(image, 0, 0), 0x00FF00u);
  EXPECT_EQ(Colour(image, 1, 0), 0x0000FFu);
  EXPECT_EQ(Colour(image, 2, 0), 0u);
}

TEST(BmpRle, RunsPastTheEdgesAndStreamsThatStopEarlyStayInside) {
  TBmpLayout layout;
  layout.Width = 2;
  layout.Height = 2;
  layout.Bits = 8;
  layout.Compression = 1;
  layout.ColoursUsed = 2;
  layout.Palette = {0x000000, 0xFFFFFF};
  for (const std::string& stream : {Row({255, 1, 255, 1, 0, 2, 255, 255, 255, 1}),  // long runs, far move
                                    Row({0, 200, 1, 1}),                             // absolute run past the end
                                    Row({2, 1, 0}), std::string()}) {
    layout.Pixels = stream;
    const std::string bytes = layout.Bytes() + (stream.empty() ? Row({0}) : std::string());
    TRawImage image;
    TImageReadError error;
    EXPECT_TRUE(DecodeBmp(bytes, image, error)) << error.Reason;
    EXPECT_EQ(image.Samples.size(), 12u);
  }
}

TEST(BmpHostile, BadHeadersAreRefusedAndLeaveTheImageAlone) {
  TBitmap32 picture = test::RandomBitmap(4, 3, 1);
  std::string valid;
  ASSERT_TRUE(EncodeBmp(picture, {24, false}, valid));
  auto with32 = [&](std::size_t at, std::uint32_t value) {
    std::string bytes = valid;
    for (int i = 0; i < 4; ++i) bytes[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
  };
  auto with16 = [&](std::size_t at, std::uint32_t value) {
    std::string bytes = valid;
    bytes[at] = static_cast<char>(value & 0xFF);
    bytes[at + 1] = static_cast<char>(value >> 8);
    return bytes;
  };
  TBmpLayout palette;
  palette.Width = 2;
  palette.Height = 1;
  palette.Bits = 8;
  palette.ColoursUsed = 257;
  palette.Palette.assign(257, 0);
  palette.Pixels = Row({0, 0, 0, 0});
  TBmpLayout rleTopDown = palette;
  rleTopDown.ColoursUsed = 1;
  rleTopDown.Palette = {0};
  rleTopDown.Compression = 1;
  rleTopDown.Height = -1;

  const std::vector<std::pair<const char*, std::string>> cases = {
      {"empty", ""},
      {"not a bitmap", "XM" + valid.substr(2)},
      {"cut inside the header", valid.substr(0, 30)},
      {"unknown header size", with32(14, 41)},
      {"long header past the end", with32(14, 124)},
      {"no width", with32(18, 0)},
      {"negative width", with32(18, 0xFFFFFFFF)},
      {"no height", with32(22, 0)},
      {"two bits", with16(28, 2)},
      {"RLE8 at 24 bits", with32(30, 1)},
      {"JPEG inside", with32(30, 4)},
      {"bit fields at 24 bits", with32(30, 3)},
      {"pixels beyond the end", with32(10, static_cast<std::uint32_t>(valid.size()))},
      {"pixels inside the header", with32(10, 20)},
      {"pixels cut short", valid.substr(0, valid.size() - 20)},
      {"palette larger than the depth", palette.Bytes()},
      {"RLE top-down", rleTopDown.Bytes()},
  };
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    TRawImage image;
    image.Width = 99;
    TImageReadError error;
    EXPECT_FALSE(DecodeBmp(bytes, image, error));
    EXPECT_FALSE(error.Reason.empty());
    EXPECT_EQ(image.Width, 99);
  }
}

// A few bytes of RLE claiming a large picture are refused before its memory is taken,
// whether they end early or skip the picture by line ends and moves; a large picture that
// the stream paints to its top still reads.
TEST(BmpHostile, RleStreamsMustPaintALargePicture) {
  struct TCase {
    const char* Name;
    int Compression;
    std::int32_t Width, Height;
    std::string Pixels;
  };
  const TCase refused[] = {
      {"ends early", 1, 16384, 16384, Row({2, 1, 0, 1})},
      {"line ends up wide rows", 2, 33580800, 5, Row({0, 0, 0, 0, 0, 0, 0, 0, 0, 1})},
      {"moves to the top", 1, 2000, 1000, Row({0, 2, 0, 255, 0, 2, 0, 255, 0, 2, 0, 255, 0, 2, 0, 234, 0, 1})},
  };
  for (const TCase& c : refused) {
    SCOPED_TRACE(c.Name);
    TBmpLayout layout;
    layout.Bits = c.Compression == 2 ? 4 : 8;
    layout.Compression = c.Compression;
    layout.ColoursUsed = 2;
    layout.Palette = {0x000000, 0xFFFFFF};
    layout.Width = c.Width;
    layout.Height = c.Height;
    layout.Pixels = c.Pixels;
    TRawImage image;
    TImageReadError error;
    EXPECT_FALSE(DecodeBmp(layout.Bytes(), image, error));
    EXPECT_EQ(error.Reason, "The compressed pixel data end before the picture does.");
    EXPECT_FALSE(image.HasData());
  }

  // Every row white in runs of 255, but the top one black.
  TBmpLayout layout;
  layout.Bits = 8;
  layout.Compression = 1;
  layout.ColoursUsed = 2;
  layout.Palette = {0x000000, 0xFFFFFF};
  layout.Width = 2000;
  layout.Height = 1000;
  for (int row = 0; row < 1000; ++row) {
    const int index = row == 999 ? 0 : 1;
    for (int run = 0; run < 7; ++run) layout.Pixels += Row({255, index});
    layout.Pixels += Row({215, index, 0, 0});
  }
  layout.Pixels += Row({0, 1});
  TRawImage image;
  TImageReadError error;
  ASSERT_TRUE(DecodeBmp(layout.Bytes(), image, error)) << error.Reason;
  EXPECT_EQ(Colour(image, 0, 0), 0u);
  EXPECT_EQ(Colour(image, 1999, 1), 0xFFFFFFu);
  EXPECT_EQ(Colour(image, 1999, 999), 0xFFFFFFu);
}

TEST(BmpHostile, HugeSizesAreTooLargeBeforeAnythingIsAllocated) {
  TBmpLayout layout;
  layout.Width = 100000;
  layout.Bits = 32;
  layout.Pixels = Row({1, 2, 3, 4});
  for (std::int32_t height : {-100000, INT_MIN}) {
    layout.Height = height;
    TRawImage image;
    TImageReadError error{"unset"};
    EXPECT_FALSE(DecodeBmp(layout.Bytes(), image, error));
    EXPECT_TRUE(error.Reason.empty());
    EXPECT_FALSE(image.HasData());
  }
}

}  // namespace
}  // namespace lumacet
