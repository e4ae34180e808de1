#include "graphics/image_blend.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace lumacet {
namespace {

constexpr std::uint32_t kWhite = 0x00FFFFFF;
constexpr std::uint32_t kBlack = 0x00000000;

std::uint32_t Blend(std::uint32_t background, std::uint32_t image, double t, double k,
                    TBlendMode mode = TBlendMode::Normal) {
  std::vector<std::uint32_t> below{background};
  const std::vector<std::uint32_t> above{image};
  BlendImage(below, above, TBlendTables(t, k), mode);
  return below[0];
}

TEST(ImageBlendTest, TransparencyMixesWithTheBackground) {
  // White over black at T = 0.5: 0 + (255 - trunc(127.5)) = 128 in every channel.
  EXPECT_EQ(Blend(kBlack, kWhite, 0.5, 0), 0x00808080u);
  // Opaque: the image as it is, the background's top byte kept.
  EXPECT_EQ(Blend(0x7F123456, 0x00ABCDEF, 0, 0), 0x7FABCDEFu);
}

TEST(ImageBlendTest, BlackTransparencyLetsDarkPixelsThrough) {
  // K = 1: a black pixel is fully transparent whatever T is.
  for (double t : {0.0, 0.3, 1.0}) EXPECT_EQ(Blend(0x00406080, kBlack, t, 1), 0x00406080u) << t;
  // A white pixel stays opaque at T = 0 however large K is.
  EXPECT_EQ(Blend(0x00406080, kWhite, 0, 1), kWhite);
  // Mid grey (luminance 128) at K = 1: w = 1 - 128/255.
  const double w = 1 - 128 / 255.0;
  const auto expected = static_cast<std::uint32_t>(static_cast<int>(w * 200) + (128 - static_cast<int>(w * 128)));
  EXPECT_EQ(Blend(0x00C8C8C8, 0x00808080, 0, 1) & 0xFF, expected);
}

TEST(ImageBlendTest, DifferenceModeAndPixelsOutsideTheImage) {
  // |(source - trunc(w source)) - background| with w = 0: the plain difference.
  EXPECT_EQ(Blend(0x00102030, 0x00405060, 0, 0, TBlendMode::Difference), 0x00303030u);
  EXPECT_EQ(Blend(0x00405060, 0x00102030, 0, 0, TBlendMode::Difference), 0x00303030u);
  // Outside the placed image (top byte 0xFF): the background stays.
  EXPECT_EQ(Blend(0x00123456, 0xFF000000, 0.5, 0.5), 0x00123456u);
  EXPECT_EQ(Blend(0x00123456, 0xFFFFFFFF, 0, 0, TBlendMode::Difference), 0x00123456u);
}

TEST(ImageBlendTest, SettingsOutOfRangeAreHeld) {
  EXPECT_EQ(Blend(kBlack, kWhite, -3, 0), kWhite);
  EXPECT_EQ(Blend(0x00123456, kWhite, 7, 0), 0x00123456u);
  const TBlendTables tables(std::numeric_limits<double>::quiet_NaN(), 0);
  EXPECT_TRUE(tables.Opaque());
}

}  // namespace
}  // namespace lumacet
