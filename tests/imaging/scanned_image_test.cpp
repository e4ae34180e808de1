#include "imaging/scanned_image.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/result_assertions.h"
#include "model/image_store.h"
#include "model/xray.h"

namespace lumacet {
namespace {

// One grey pixel row of 8-bit or 16-bit samples.
TRawImage Row(const std::vector<uint32_t>& values, int bits = 8) {
  TRawImage image;
  image.Width = int32_t(values.size());
  image.Height = 1;
  image.SamplesPerPixel = 1;
  image.BitsPerSample = bits;
  for (uint32_t value : values) {
    image.Samples.push_back(uint8_t(value));
    if (bits > 8) image.Samples.push_back(uint8_t(value >> 8));
  }
  return image;
}

std::vector<uint32_t> Values(const TRawImage& image) {
  std::vector<uint32_t> values;
  for (size_t k = 0; k < size_t(image.Width); ++k)
    values.push_back(image.BitsPerSample > 8 ? uint32_t(image.Samples[2 * k] | image.Samples[2 * k + 1] << 8)
                                             : image.Samples[k]);
  return values;
}

std::vector<uint32_t> Combined(const std::vector<TRawImage>& scans, TNoiseReduction reduction) {
  const TResultOf<TRawImage> result = CombineScans(scans, reduction);
  EXPECT_TRUE(test::Succeeded(result));
  return result ? Values(*result) : std::vector<uint32_t>{};
}

TEST(CombineScansTest, EachReductionCombinesTheSamplePositions) {
  // Three scans; the first sample position holds 10, 200, 30.
  const std::vector<TRawImage> three = {Row({10, 0, 7}), Row({200, 0, 8}), Row({30, 255, 9})};
  EXPECT_EQ(Combined(three, TNoiseReduction::Average), (std::vector<uint32_t>{80, 85, 8}));
  EXPECT_EQ(Combined(three, TNoiseReduction::Median), (std::vector<uint32_t>{30, 0, 8}));
  EXPECT_EQ(Combined(three, TNoiseReduction::Minimum), (std::vector<uint32_t>{10, 0, 7}));
  EXPECT_EQ(Combined(three, TNoiseReduction::CentralAverage), (std::vector<uint32_t>{30, 0, 8}));
}

TEST(CombineScansTest, HalvesRoundToEvenAndTwoScansAverageCentrally) {
  // Means of 10.5 and 11.5 round to 10 and 12.
  const std::vector<TRawImage> two = {Row({10, 11}), Row({11, 12})};
  EXPECT_EQ(Combined(two, TNoiseReduction::Median), (std::vector<uint32_t>{10, 12}));
  EXPECT_EQ(Combined(two, TNoiseReduction::Average), (std::vector<uint32_t>{10, 12}));
  EXPECT_EQ(Combined(two, TNoiseReduction::CentralAverage), (std::vector<uint32_t>{10, 12}));
  // Four scans: the median is the mean of the two middle values.
  const std::vector<TRawImage> four = {Row({1}), Row({9}), Row({4}), Row({100})};
  EXPECT_EQ(Combined(four, TNoiseReduction::Median), (std::vector<uint32_t>{6}));  // (4 + 9) / 2 = 6.5
  EXPECT_EQ(Combined(four, TNoiseReduction::CentralAverage), (std::vector<uint32_t>{6}));
}

TEST(CombineScansTest, SixteenBitSamplesKeepTheirRange) {
  const std::vector<TRawImage> scans = {Row({65535, 1000}, 16), Row({65533, 3000}, 16), Row({65534, 2001}, 16)};
  EXPECT_EQ(Combined(scans, TNoiseReduction::Average), (std::vector<uint32_t>{65534, 2000}));
  EXPECT_EQ(Combined(scans, TNoiseReduction::Median), (std::vector<uint32_t>{65534, 2001}));
}

TEST(CombineScansTest, ScansThatDifferAreRefused) {
  EXPECT_EQ(CombineScans({Row({1, 2}), Row({1, 2, 3})}, TNoiseReduction::Average).Text().English(),
            "The scans differ in size or format and cannot be combined.");
  EXPECT_FALSE(CombineScans({Row({1, 2}), Row({1, 2}, 16)}, TNoiseReduction::Average));
  const TResultOf<TRawImage> none = CombineScans({}, TNoiseReduction::Average);
  EXPECT_FALSE(none);
  EXPECT_EQ(none.Text().English(), "The scanner delivered no image.");
}

class InstallScanTest : public ::testing::Test {
 protected:
  void SetUp() override {
    xray.ChangeHistory.clear();
    xray.Modified = false;
    xray.ImageFile = "/old/link.jpg";
    xray.PixelWidth = xray.PixelHeight = 7;
    settings.Load.DefaultPixelWidth = 3.9;
    settings.Load.DefaultPixelHeight = 4.1;
  }
  TXRay xray;
  TImageStore store;
  TScanInstallSettings settings;
};

TEST_F(InstallScanTest, TheScanBecomesAnUnsavedImageSizedByTheResolution) {
  store.ImageVisible = false;
  InstallScannedImage(xray, store, Row({40, 90, 60}), 200, 100, settings);
  EXPECT_TRUE(store.HasImage());
  EXPECT_TRUE(store.ImageVisible);
  EXPECT_EQ(store.Raw.WindowLow, 40);
  EXPECT_EQ(store.Raw.WindowHigh, 90);
  EXPECT_EQ(store.Raw.LoadedWindowLow, 40);
  EXPECT_EQ(store.Raw.LoadedWindowHigh, 90);
  EXPECT_TRUE(xray.ImageFile.empty());
  EXPECT_DOUBLE_EQ(xray.PixelWidth, 1.27);
  EXPECT_DOUBLE_EQ(xray.PixelHeight, 2.54);
  EXPECT_TRUE(xray.Modified);
  EXPECT_TRUE(xray.ImageModified);
  EXPECT_EQ(xray.ChangeHistory, (std::vector<std::string>{"Image Scanned."}));
}

TEST_F(InstallScanTest, WithoutDetectionThePixelSizeComesFromTheTypeOrTheDefaults) {
  settings.DetectResolution = false;
  InstallScannedImage(xray, store, Row({1}), 300, 300, settings);
  EXPECT_EQ(xray.PixelWidth, 3.9);
  EXPECT_EQ(xray.PixelHeight, 4.1);

  settings.Load.TypeScaleOverride = true;
  settings.Load.TypePixelWidth = 2.5;
  settings.Load.TypePixelHeight = 2.6;
  InstallScannedImage(xray, store, Row({1}), 300, 300, settings);
  EXPECT_EQ(xray.PixelWidth, 2.5);
  EXPECT_EQ(xray.PixelHeight, 2.6);

  // Detection needs both resolutions.
  settings.DetectResolution = true;
  InstallScannedImage(xray, store, Row({1}), 300, 0, settings);
  EXPECT_EQ(xray.PixelWidth, 2.5);
}

TEST(ScanResolutionTest, DetectionFollowsTheTypeThenTheSetting) {
  EXPECT_TRUE(DetectsScanResolution(0, false));
  EXPECT_FALSE(DetectsScanResolution(1, true));
  EXPECT_TRUE(DetectsScanResolution(2, true));
  EXPECT_FALSE(DetectsScanResolution(2, false));
  EXPECT_DOUBLE_EQ(ScanPixelSize(254), 1.0);
  EXPECT_EQ(ScanPixelSize(0), 0);
  EXPECT_EQ(ScanPixelSize(-5), 0);
}

}  // namespace
}  // namespace lumacet
