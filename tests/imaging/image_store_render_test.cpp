#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "imaging/image_store_samples.h"
#include "model/raw_image_ops.h"

namespace lumacet {
namespace {

TRawImage Grey16(std::vector<std::uint16_t> values, int bits = 16) {
  TRawImage image;
  image.Width = static_cast<int>(values.size());
  image.Height = 1;
  image.SamplesPerPixel = 1;
  image.BitsPerSample = bits;
  for (std::uint16_t v : values) {
    image.Samples.push_back(static_cast<std::uint8_t>(v & 0xFF));
    image.Samples.push_back(static_cast<std::uint8_t>(v >> 8));
  }
  return image;
}

TRawImage Grey8(std::vector<std::uint8_t> values) {
  TRawImage image;
  image.Width = static_cast<int>(values.size());
  image.Height = 1;
  image.SamplesPerPixel = 1;
  image.BitsPerSample = 8;
  image.Samples = std::move(values);
  return image;
}

std::vector<std::uint32_t> Levels(const TRawImage& image) {
  TBitmap32 bitmap;
  RenderToBitmap(image, bitmap);
  std::vector<std::uint32_t> levels;
  for (std::uint32_t pixel : bitmap.Pixels) {
    EXPECT_EQ(pixel, PixelBlue(pixel) * 0x010101u);  // grey, fourth byte 0
    levels.push_back(PixelBlue(pixel));
  }
  return levels;
}

TEST(RenderToBitmap, SixteenBitsWithoutWindowSpanTheFullRange) {
  EXPECT_EQ(Levels(Grey16({0, 1, 32768, 65534, 65535})), (std::vector<std::uint32_t>{0, 0, 128, 255, 255}));
}

TEST(RenderToBitmap, WindowBlackensBelowAndWhitensAboveWithTiesToEven) {
  TRawImage image = Grey16({999, 1000, 1001, 2000, 3000, 3001, 60000});
  image.WindowLow = 1000;
  image.WindowHigh = 3000;
  // 2000 lies at 127.5, which rounds to the even 128.
  EXPECT_EQ(Levels(image), (std::vector<std::uint32_t>{0, 0, 0, 128, 255, 255, 255}));
  image = Grey16({1, 3, 5});
  image.WindowHigh = 510;  // 0.5, 1.5, 2.5
  EXPECT_EQ(Levels(image), (std::vector<std::uint32_t>{0, 2, 2}));
}

TEST(RenderToBitmap, GammaBendsTheWindowedLevels) {
  TRawImage image = Grey8({0, 128, 255});
  image.Gamma = 2.0;
  EXPECT_EQ(Levels(image), (std::vector<std::uint32_t>{0, 64, 255}));
}

TEST(RenderToBitmap, ValuesAboveTheStatedDepthAreWhite) {
  // Twelve-bit data whose unused high bits are set (overlay bits in DICOM files).
  EXPECT_EQ(Levels(Grey16({0, 4095, 4096, 65535}, 12)), (std::vector<std::uint32_t>{0, 255, 255, 255}));
}

TEST(RenderToBitmap, ColourFormatsAndTheFourthByte) {
  TRawImage colour;
  colour.Width = 1;
  colour.Height = 1;
  colour.SamplesPerPixel = 3;
  colour.BitsPerSample = 16;
  colour.Samples = {0xFF, 0xFF, 0x00, 0x00, 0x00, 0x80};  // blue 65535, green 0, red 32768
  TBitmap32 bitmap;
  RenderToBitmap(colour, bitmap);
  EXPECT_EQ(bitmap.Pixels, (std::vector<std::uint32_t>{PackPixel(255, 0, 128)}));

  TRawImage alpha = colour;
  alpha.SamplesPerPixel = 4;
  alpha.BitsPerSample = 8;
  alpha.Samples = {10, 20, 30, 200};
  alpha.WindowLow = 10;
  alpha.WindowHigh = 30;
  RenderToBitmap(alpha, bitmap);
  EXPECT_EQ(bitmap.Pixels, (std::vector<std::uint32_t>{PackPixel(0, 128, 255, 200)}));

  // Four samples of 16 bits cannot be drawn: the bitmap is sized and black.
  alpha.BitsPerSample = 16;
  alpha.Samples.assign(8, 0xFF);
  RenderToBitmap(alpha, bitmap);
  EXPECT_EQ(bitmap.Pixels, (std::vector<std::uint32_t>{0}));
}

TEST(RenderToBitmap, EmptyOrInconsistentImagesLeaveTheBitmapAlone) {
  TBitmap32 bitmap = test::RandomBitmap(2, 2, 3);
  const TBitmap32 before = bitmap;
  RenderToBitmap(TRawImage{}, bitmap);
  TRawImage broken = Grey8({1, 2, 3});
  broken.Width = 4;  // more pixels than samples
  RenderToBitmap(broken, bitmap);
  EXPECT_EQ(bitmap, before);
}

TEST(CaptureFromBitmap, RendersBackToTheSameBitmap) {
  const TBitmap32 bitmap = test::RandomBitmap(5, 3, 11);
  TRawImage image = Grey8({1});
  image.WindowHigh = 7;
  CaptureFromBitmap(bitmap, image);
  EXPECT_EQ(image.SamplesPerPixel, 4);
  EXPECT_EQ(image.BitsPerSample, 8);
  EXPECT_EQ(image.WindowHigh, 0);
  TBitmap32 rendered;
  RenderToBitmap(image, rendered);
  EXPECT_EQ(rendered, bitmap);
  CaptureFromBitmap(TBitmap32{}, image);
  EXPECT_FALSE(image.HasData());
}

TEST(ComputeMinMaxWindow, GreyImagesOnly) {
  TRawImage image = Grey16({700, 12, 4000});
  ComputeMinMaxWindow(image);
  EXPECT_EQ(image.WindowLow, 12);
  EXPECT_EQ(image.WindowHigh, 4000);
  image = Grey8({9, 200, 50});
  ComputeMinMaxWindow(image);
  EXPECT_EQ(image.WindowLow, 9);
  EXPECT_EQ(image.WindowHigh, 200);
  image.SamplesPerPixel = 3;
  image.Width = 1;
  ComputeMinMaxWindow(image);
  EXPECT_EQ(image.WindowLow, 9);
}

TEST(Histogram256, BinsOverTheRangeIncludingRangesNarrowerThan256) {
  const TRawImage image = Grey8({0, 10, 14, 15, 19, 20, 255});
  auto counts = Histogram256(image, 0, 256);
  EXPECT_EQ(counts[0], 1u);
  EXPECT_EQ(counts[10], 1u);
  EXPECT_EQ(counts[255], 1u);
  // Ten levels spread over 256 bins: bin trunc((v - 10) * 256 / 10); 20 lies outside.
  counts = Histogram256(image, 10, 20);
  EXPECT_EQ(counts[0], 1u);
  EXPECT_EQ(counts[102], 1u);
  EXPECT_EQ(counts[128], 1u);
  EXPECT_EQ(counts[230], 1u);
  std::uint32_t total = 0;
  for (std::uint32_t c : counts) total += c;
  EXPECT_EQ(total, 4u);
  EXPECT_EQ(Histogram256(image, 5, 5), (std::array<std::uint32_t, 256>{}));
}

TEST(Histogram256, ColourCountsByLuminanceInSampleUnits) {
  TRawImage image;
  image.Width = 1;
  image.Height = 1;
  image.SamplesPerPixel = 3;
  image.BitsPerSample = 16;
  // Blue 0, green 0, red 40000: luminance 12000 of 65536.
  image.Samples = {0, 0, 0, 0, 0x40, 0x9C};
  const auto counts = Histogram256(image, 0, 65536);
  EXPECT_EQ(counts[12000 * 256 / 65536], 1u);
}

}  // namespace
}  // namespace lumacet
