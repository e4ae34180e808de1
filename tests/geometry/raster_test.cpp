#include "geometry/raster.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

namespace lumacet {
namespace {

TEST(BilinearSample, BlendsEachByteAndRoundsHalvesToEven) {
  // Byte values per pixel (lowest byte first): 0/1/1/2 average 1, 0/1 pairs average 0.5.
  const std::vector<std::uint32_t> pixels = {0x00'01'00'00, 0x01'02'01'00,
                                             0x00'01'00'01, 0x01'02'01'03};
  TBitmapView bitmap{pixels, 2, 2};
  // Lowest byte 0,0,1,3 -> 1; next 0,1,0,1 -> 0.5 -> 0; next 1,2,1,2 -> 1.5 -> 2; top 0,1,0,1 -> 0.
  EXPECT_EQ(BilinearSample(bitmap, 0.5, 0.5), 0x00'02'00'01u);
  EXPECT_EQ(BilinearSample(bitmap, 0, 0), pixels[0]);
  EXPECT_EQ(BilinearSample(bitmap, 1, 0), pixels[1]);
}

TEST(BilinearSample, StaysInsideTheBitmapAtAndBeyondItsEdges) {
  const std::vector<std::uint32_t> pixels = {0xFF000000, 0xFF0000FF, 0xFF00FF00, 0xFFFFFFFF};
  TBitmapView bitmap{pixels, 2, 2};
  EXPECT_EQ(BilinearSample(bitmap, 1, 1), 0xFFFFFFFFu);  // last column and row: no neighbour read
  EXPECT_EQ(BilinearSample(bitmap, -0.5, -3), 0xFF000000u);
  EXPECT_EQ(BilinearSample(bitmap, 7, 0), 0xFF0000FFu);
  EXPECT_EQ(BilinearSample(bitmap, std::numeric_limits<double>::quiet_NaN(), 0), 0u);
  EXPECT_EQ(BilinearSample(TBitmapView{}, 0, 0), 0u);
}

TEST(ClampedBilinearSample, ReturnsAColourValueWithRedLowest) {
  // 0xAARRGGBB pixels: red 0x10, green 0x20, blue 0x30.
  const std::vector<std::uint32_t> pixels = {0xFF102030};
  TBitmapView bitmap{pixels, 1, 1};
  EXPECT_EQ(ClampedBilinearSample(bitmap, 0, 0), 0x00302010u);
  EXPECT_EQ(ClampedBilinearSample(bitmap, -0.5, -0.5), 0x00302010u);

  const std::vector<std::uint32_t> row = {0x00FF0000, 0x000000FF};
  TBitmapView pair{row, 2, 1};
  EXPECT_EQ(ClampedBilinearSample(pair, 0.25, 0), 0x004000BFu);  // 191.25 red, 63.75 blue
  EXPECT_EQ(ClampedBilinearSample(pair, -0.5, 0), 0x000000FFu);
}

TEST(WindowLuminance, AveragesTheWindowOnlyWhenItLiesWhollyInside) {
  std::vector<std::uint32_t> pixels(5 * 5, 0x00000000);
  pixels[2 * 5 + 2] = 0x00FFFFFF;  // the white centre
  pixels[0] = 0x00640000;          // red 100 in the top left corner
  TBitmapView bitmap{pixels, 5, 5};
  EXPECT_NEAR(WindowLuminance(bitmap, 0, 2, 2), 255, 1e-9);
  EXPECT_NEAR(WindowLuminance(bitmap, 1, 2, 2), 255.0 / 9, 1e-9);
  // Touching the edges (cx - n = 0) is computed; one pixel further out is not.
  EXPECT_NEAR(WindowLuminance(bitmap, 2, 2, 2), (255 + 30.0) / 25, 1e-9);
  EXPECT_EQ(WindowLuminance(bitmap, 2, 3, 2), 0);
  EXPECT_NEAR(WindowLuminance(bitmap, 1, 1, 1), (30 + 255.0) / 9, 1e-9);
  EXPECT_EQ(WindowLuminance(bitmap, 1, 0, 1), 0);
  // The centre is the nearest pixel, halves to even: 2.5 -> 2 inside, 3.5 -> 4 outside.
  EXPECT_NEAR(WindowLuminance(bitmap, 2, 2.5, 2), (255 + 30.0) / 25, 1e-9);
  EXPECT_EQ(WindowLuminance(bitmap, 1, 3.5, 2), WindowLuminance(bitmap, 1, 4, 2));
  EXPECT_EQ(WindowLuminance(bitmap, 1, 2, 1e300), 0);
  EXPECT_EQ(WindowLuminance(bitmap, -1, 2, 2), 0);
}

}  // namespace
}  // namespace lumacet
