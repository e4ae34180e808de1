#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <vector>

#include "imaging/image_adjust.h"
#include "imaging/image_store_samples.h"
#include "model/raw_image_ops.h"

namespace lumacet {
namespace {

TEST(Levels, EightBitTableWithBlackWhiteAndGamma) {
  TLevelTable table = LevelsTable(0, 255, 2.0);
  EXPECT_EQ(table[128], 64);
  EXPECT_EQ(table[0], 0);
  EXPECT_EQ(table[255], 255);
  table = LevelsTable(100, 150, 1.0);
  EXPECT_EQ(table[100], 0);
  EXPECT_EQ(table[125], 128);  // 127.5 to even
  EXPECT_EQ(table[150], 255);
  table = LevelsTable(90, 90, 1.0);  // black and white together: a threshold
  EXPECT_EQ(table[90], 0);
  EXPECT_EQ(table[91], 255);

  TBitmap32 bitmap = test::GreyBitmap(2, 1, {128, 10});
  bitmap.Pixels[0] |= 0x33000000;
  ApplyLevelTable(bitmap, LevelsTable(0, 255, 2.0));
  EXPECT_EQ(bitmap.Pixels[0], PackPixel(64, 64, 64, 0x33));
}

TEST(Levels, OriginalModeReWindowsTheRawSamples) {
  // Twelve-bit data held in 16 bits: the raw scale runs to 65535.
  TRawImage image;
  image.Width = 2;
  image.Height = 1;
  image.SamplesPerPixel = 1;
  image.BitsPerSample = 16;
  image.Samples = {0x00, 0x08, 0x00, 0x10};  // 2048, 4096
  EXPECT_EQ(LevelsRawValue(65535, 0, 255, 255), 65535);
  EXPECT_EQ(LevelsRawValue(65535, 0, 16, 255), 4112);
  EXPECT_EQ(LevelsRawValue(4095, 51, 102, 0), 819);
  TBitmap32 display;
  ApplyLevelsToRaw(image, display, 0, 16, 0, 255, 1.0);  // window 0 .. 4112
  EXPECT_EQ(image.WindowLow, 0);
  EXPECT_EQ(image.WindowHigh, 4112);
  EXPECT_EQ(PixelBlue(display.Pixels[0]), static_cast<std::uint32_t>(std::nearbyint(255.0 * 2048 / 4112)));
  ApplyLevelsToRaw(image, display, 0, 16, 0, 255, 2.0);
  EXPECT_EQ(image.Gamma, 2.0);

  TRawImage empty;
  TBitmap32 untouched = test::RandomBitmap(2, 2, 1);
  const TBitmap32 before = untouched;
  ApplyLevelsToRaw(empty, untouched, 0, 255, 0, 255, 1.0);
  EXPECT_EQ(untouched, before);
}

TEST(Levels, GreyArrowAndGammaFollowEachOther) {
  EXPECT_DOUBLE_EQ(LevelsGammaAt(0, 255, 255), 10.0);
  EXPECT_DOUBLE_EQ(LevelsGammaAt(0, 255, 0), 0.1);
  EXPECT_DOUBLE_EQ(LevelsGammaAt(20, 220, 120), 1.0);
  EXPECT_DOUBLE_EQ(LevelsGammaAt(50, 50, 50), 1.0);
  EXPECT_EQ(LevelsGreyArrow(0, 255, 10.0), 255);
  EXPECT_EQ(LevelsGreyArrow(0, 255, 0.1), 0);
  EXPECT_EQ(LevelsGreyArrow(20, 220, 1.0), 120);
  for (int x = 30; x <= 200; x += 17) EXPECT_EQ(LevelsGreyArrow(30, 200, LevelsGammaAt(30, 200, x)), x);
}

TEST(BrightnessContrastGamma, ZeroIsTheIdentity) {
  const TLevelTable table = BrightnessContrastGammaTable({}, 80);
  for (int i = 0; i < 256; ++i) EXPECT_EQ(table[static_cast<std::size_t>(i)], i);
  EXPECT_DOUBLE_EQ(GammaFromPosition(90), 10.0);
  EXPECT_DOUBLE_EQ(GammaFromPosition(-90), 0.1);
  EXPECT_DOUBLE_EQ(GammaFromPosition(5), 1.5);
  EXPECT_DOUBLE_EQ(GammaFromPosition(-50), 0.5);
}

TEST(BrightnessContrastGamma, ContrastTurnsAboutTheMedianLuminance) {
  TBitmap32 bitmap = test::GreyBitmap(5, 1, {10, 90, 100, 200, 250});
  EXPECT_EQ(MedianLuminance(bitmap), 100);
  TBrightnessContrastGamma values;
  values.Contrast = 15;  // slope tan 60 degrees
  values.Brightness = 5;
  ApplyBrightnessContrastGamma(bitmap, values);
  const double slope = std::tan(60 * std::numbers::pi / 180);
  EXPECT_EQ(PixelBlue(bitmap.Pixels[2]), 105u);
  EXPECT_EQ(PixelBlue(bitmap.Pixels[1]), static_cast<std::uint32_t>(std::nearbyint((90 - 100) * slope + 105)));
  EXPECT_EQ(PixelBlue(bitmap.Pixels[0]), 0u);
  EXPECT_EQ(PixelBlue(bitmap.Pixels[4]), 255u);

  // A switched-off control counts as its neutral value.
  values.UseContrast = false;
  values.UseBrightness = false;
  values.GammaPosition = 10;  // gamma 2
  const TLevelTable table = BrightnessContrastGammaTable(values, 3);
  EXPECT_EQ(table[128], 64);
  values.UseGamma = false;
  EXPECT_EQ(BrightnessContrastGammaTable(values, 3)[128], 128);
}

class ColorizeTest : public ::testing::Test {
 protected:
  test::TTempFolder folder;
};

TEST_F(ColorizeTest, LookUpFilesColourByLuminance) {
  std::string full(768, '\0');
  for (int i = 0; i < 256; ++i) {
    full[static_cast<std::size_t>(i)] = static_cast<char>(i);            // red
    full[static_cast<std::size_t>(256 + i)] = static_cast<char>(255 - i);  // green
    full[static_cast<std::size_t>(512 + i)] = static_cast<char>(7);        // blue
  }
  test::WriteBytes(folder.File("b.lut"), full + "ignored tail");
  test::WriteBytes(folder.File("A.LUT"), std::string(256, static_cast<char>(200)));
  test::WriteBytes(folder.File("c.txt"), full);

  EXPECT_EQ(ListLutFiles(folder.Path().string()), (std::vector<std::string>{folder.File("A.LUT"), folder.File("b.lut")}));
  EXPECT_TRUE(ListLutFiles(folder.File("nowhere")).empty());

  TColourLut lut;
  ASSERT_TRUE(ReadLutFile(folder.File("b.lut"), lut));
  TBitmap32 bitmap = test::GreyBitmap(1, 1, {100});
  bitmap.Pixels[0] |= 0x42000000;
  Colorize(bitmap, lut);
  EXPECT_EQ(bitmap.Pixels[0], PackPixel(7, 155, 100, 0x42));

  ASSERT_TRUE(ReadLutFile(folder.File("A.LUT"), lut));  // red only
  Colorize(bitmap, lut);
  EXPECT_EQ(bitmap.Pixels[0], PackPixel(0, 0, 200, 0x42));

  EXPECT_FALSE(ReadLutFile(folder.File("missing.lut"), lut));
}

}  // namespace
}  // namespace lumacet
