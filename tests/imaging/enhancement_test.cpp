#include "imaging/enhancement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <thread>
#include <vector>

#include "imaging/image_store_samples.h"

namespace lumacet {
namespace {

std::vector<std::uint32_t> Greys(const TBitmap32& bitmap) {
  std::vector<std::uint32_t> greys;
  for (std::uint32_t pixel : bitmap.Pixels) {
    EXPECT_EQ(PixelBlue(pixel), PixelGreen(pixel));
    EXPECT_EQ(PixelBlue(pixel), PixelRed(pixel));
    greys.push_back(PixelBlue(pixel));
  }
  return greys;
}

// The adaptive functions exactly as described, pixel by pixel: the tile histograms are
// summed from their nearer end for every pixel.
struct TReferenceTiles {
  int T, Columns, Rows;
  std::vector<std::vector<std::uint64_t>> Histograms;
  std::vector<std::uint64_t> Counts;

  TReferenceTiles(const TBitmap32& bitmap, int percent, bool roundedLuminance) {
    T = std::max(1, static_cast<int>(std::nearbyint(bitmap.Width * percent / 100.0)));
    Columns = bitmap.Width / T + 2;
    Rows = bitmap.Height / T + 2;
    Histograms.assign(static_cast<std::size_t>(Columns * Rows), std::vector<std::uint64_t>(256, 0));
    Counts.assign(static_cast<std::size_t>(Columns * Rows), 0);
    for (int y = 0; y < bitmap.Height; ++y)
      for (int x = 0; x < bitmap.Width; ++x) {
        const std::size_t tile = static_cast<std::size_t>((y / T) * Columns + x / T);
        Histograms[tile][Grey(bitmap.Row(y)[x], roundedLuminance)]++;
        Counts[tile]++;
      }
  }
  static std::uint32_t Grey(std::uint32_t pixel, bool rounded) {
    if (!rounded) return PixelLuminance(pixel);
    return static_cast<std::uint32_t>(
        std::nearbyint((30.0 * PixelRed(pixel) + 59.0 * PixelGreen(pixel) + 11.0 * PixelBlue(pixel)) / 100.0));
  }
  // Calls visit(tile, weight) for the four tiles around (x, y).
  template <typename Visit>
  void Around(int x, int y, Visit visit) const {
    const int tx = x - T / 2.0 >= 0 ? static_cast<int>((x - T / 2.0) / T) : -1;
    const int ty = y - T / 2.0 >= 0 ? static_cast<int>((y - T / 2.0) / T) : -1;
    const double fx = (x - (tx * T + T / 2.0)) / T;
    const double fy = (y - (ty * T + T / 2.0)) / T;
    for (int b = 0; b < 2; ++b)
      for (int a = 0; a < 2; ++a)
        visit(static_cast<std::size_t>(std::max(ty + b, 0) * Columns + std::max(tx + a, 0)),
              (a ? fx : 1 - fx) * (b ? fy : 1 - fy));
  }
};

// The blend of Adaptive Equalize is an exact fraction over (2T)^2 (the weights are
// multiples of 1 / 2T), rounded once, ties to even.
TBitmap32 ReferenceAdaptiveEqualize(TBitmap32 bitmap, int percent) {
  const TReferenceTiles tiles(bitmap, percent, true);
  const std::int64_t denominator = 4 * static_cast<std::int64_t>(tiles.T) * tiles.T;
  TBitmap32 result = bitmap;
  for (int y = 0; y < bitmap.Height; ++y)
    for (int x = 0; x < bitmap.Width; ++x) {
      const std::uint32_t g = TReferenceTiles::Grey(bitmap.Row(y)[x], true);
      std::int64_t sum = 0;
      tiles.Around(x, y, [&](std::size_t tile, double weight) {
        const auto& h = tiles.Histograms[tile];
        const std::uint64_t n = tiles.Counts[tile];
        double value = 0;
        if (n > 0) {
          std::uint64_t c = 0;
          if (g < 126) {
            for (std::uint32_t i = 0; i <= g; ++i) c += h[i];
          } else {
            c = n;
            for (std::uint32_t i = g + 1; i < 256; ++i) c -= h[i];
          }
          value = std::clamp(std::nearbyint(c / (n / 256.0)) - 1, 0.0, 255.0);
        }
        sum += static_cast<std::int64_t>(std::nearbyint(weight * static_cast<double>(denominator))) *
               static_cast<std::int64_t>(value);
      });
      std::int64_t level = sum / denominator;
      const std::int64_t rest = sum % denominator;
      if (2 * rest > denominator || (2 * rest == denominator && level % 2 == 1)) ++level;
      result.Row(y)[x] = WithGrey(bitmap.Row(y)[x], static_cast<std::uint32_t>(level));
    }
  return result;
}

TBitmap32 ReferenceAdaptiveAutoLevels(TBitmap32 bitmap, int percent, int cutoff) {
  const TReferenceTiles tiles(bitmap, percent, false);
  std::vector<double> lows(tiles.Counts.size(), 0), highs(tiles.Counts.size(), 255);
  for (std::size_t tile = 0; tile < tiles.Counts.size(); ++tile) {
    if (tiles.Counts[tile] == 0) continue;
    const double t = std::nearbyint(static_cast<double>(tiles.Counts[tile]) * cutoff / 100.0);
    std::uint64_t sum = 0;
    for (int i = 0; i < 256; ++i)
      if ((sum += tiles.Histograms[tile][static_cast<std::size_t>(i)]) > t) {
        lows[tile] = i;
        break;
      }
    sum = 0;
    for (int j = 255; j >= 0; --j)
      if ((sum += tiles.Histograms[tile][static_cast<std::size_t>(j)]) > t) {
        highs[tile] = j;
        break;
      }
  }
  TBitmap32 result = bitmap;
  for (int y = 0; y < bitmap.Height; ++y)
    for (int x = 0; x < bitmap.Width; ++x) {
      const double g = PixelLuminance(bitmap.Row(y)[x]);
      double low = 0, high = 0;
      tiles.Around(x, y, [&](std::size_t tile, double weight) {
        low += weight * lows[tile];
        high += weight * highs[tile];
      });
      const double value = low == high ? g : std::clamp(std::nearbyint((g - low) * 255.0 / (high - low)), 0.0, 255.0);
      result.Row(y)[x] = WithGrey(bitmap.Row(y)[x], static_cast<std::uint32_t>(value));
    }
  return result;
}

TEST(Equalize, AUniformImageTurnsWhiteAndTheFourthByteStays) {
  TBitmap32 bitmap = test::GreyBitmap(4, 2, std::vector<std::uint8_t>(8, 100));
  bitmap.Pixels[3] |= 0x7F000000;
  Equalize(bitmap);
  EXPECT_EQ(Greys(bitmap), std::vector<std::uint32_t>(8, 255));
  EXPECT_EQ(PixelFourth(bitmap.Pixels[3]), 0x7Fu);
}

TEST(Equalize, SpreadsLevelsByTheirCumulativeShare) {
  // Four pixels at 10, 20, 30, 40: c/(N/256) - 1 = 63, 127, 191, 255.
  TBitmap32 bitmap = test::GreyBitmap(4, 1, {10, 20, 30, 40});
  Equalize(bitmap);
  EXPECT_EQ(Greys(bitmap), (std::vector<std::uint32_t>{63, 127, 191, 255}));
  // Colour turns grey by the integer luminance: (30*200 + 59*100 + 11*50) div 100 = 124.
  bitmap.Resize(1, 1);
  bitmap.Pixels[0] = PackPixel(50, 100, 200);
  AutoLevels(bitmap, 0);
  EXPECT_EQ(Greys(bitmap), (std::vector<std::uint32_t>{124}));
}

TEST(AutoLevels, CutsTheGivenShareAtBothEnds) {
  // 100 levels 50..149, one percent of the pixels each.
  std::vector<std::uint8_t> greys;
  for (int level = 50; level < 150; ++level) greys.push_back(static_cast<std::uint8_t>(level));
  TBitmap32 bitmap = test::GreyBitmap(100, 1, greys);
  AutoLevels(bitmap, 5);  // low 55, high 144
  auto result = Greys(bitmap);
  EXPECT_EQ(result[5], 0u);
  EXPECT_EQ(result[94], 255u);
  EXPECT_EQ(result[0], 0u);
  EXPECT_EQ(result[99], 255u);
  EXPECT_EQ(result[50], static_cast<std::uint32_t>(std::nearbyint((100 - 55) * 255.0 / (144 - 55))));

  bitmap = test::GreyBitmap(100, 1, greys);
  AutoLevels(bitmap, 0);  // darkest and brightest present
  result = Greys(bitmap);
  EXPECT_EQ(result[0], 0u);
  EXPECT_EQ(result[99], 255u);

  bitmap = test::GreyBitmap(3, 1, {77, 77, 77});
  AutoLevels(bitmap, 5);
  EXPECT_EQ(Greys(bitmap), (std::vector<std::uint32_t>{77, 77, 77}));
}

TEST(AdaptiveEqualize, MatchesThePixelByPixelDescription) {
  for (int percent = 5; percent <= 50; percent += 5) {
    SCOPED_TRACE(percent);
    TBitmap32 bitmap = test::RandomBitmap(97, 61, static_cast<unsigned>(percent));
    const TBitmap32 expected = ReferenceAdaptiveEqualize(bitmap, percent);
    AdaptiveEqualize(bitmap, percent);
    EXPECT_EQ(bitmap, expected);
  }
}

TEST(AdaptiveAutoLevels, MatchesThePixelByPixelDescription) {
  for (int percent : {5, 10, 25, 50})
    for (int cutoff : {0, 5, 10}) {
      SCOPED_TRACE(testing::Message() << percent << " " << cutoff);
      TBitmap32 bitmap = test::RandomBitmap(83, 47, static_cast<unsigned>(percent + cutoff));
      const TBitmap32 expected = ReferenceAdaptiveAutoLevels(bitmap, percent, cutoff);
      AdaptiveAutoLevels(bitmap, percent, cutoff);
      EXPECT_EQ(bitmap, expected);
    }
}

TEST(AdaptiveEqualize, TheEmptyTilesPastTheRightEdgeDarkenTheLastBand) {
  // Width 1000 at 10 percent: tiles of 100, 12 columns, of which 10 and 11 hold nothing.
  EXPECT_EQ(AdaptiveTileSize(1000, 10), 100);
  TBitmap32 bitmap = test::GreyBitmap(1000, 1, std::vector<std::uint8_t>(1000, 200));
  AdaptiveEqualize(bitmap, 10);
  const auto greys = Greys(bitmap);
  EXPECT_EQ(greys[949], 255u);
  EXPECT_EQ(greys[975], static_cast<std::uint32_t>(std::nearbyint(255 * 0.75)));
  EXPECT_EQ(greys[999], static_cast<std::uint32_t>(std::nearbyint(255 * 0.51)));

  bitmap = test::GreyBitmap(1000, 1, std::vector<std::uint8_t>(1000, 200));
  AdaptiveAutoLevels(bitmap, 10, 5);
  EXPECT_EQ(Greys(bitmap)[999], 200u);  // one level per tile: low = high, left alone
}

TEST(AdaptiveEqualize, NarrowImagesStillHaveTilesAndProgressComesEveryTenRows) {
  EXPECT_EQ(AdaptiveTileSize(9, 5), 1);
  TBitmap32 bitmap = test::RandomBitmap(9, 25, 4);
  std::vector<std::pair<int, int>> calls;
  AdaptiveEqualize(bitmap, 5, [&](int position, int maximum) { calls.emplace_back(position, maximum); });
  EXPECT_EQ(calls, (std::vector<std::pair<int, int>>{{10, 25}, {20, 25}}));
  calls.clear();
  AdaptiveAutoLevels(bitmap, 5, 5, [&](int position, int maximum) { calls.emplace_back(position, maximum); });
  EXPECT_EQ(calls, (std::vector<std::pair<int, int>>{{10, 50}, {20, 50}, {35, 50}, {45, 50}}));
}

// FNV-1a over the pixels: the large images below are too slow for the pixel-by-pixel
// description, so their results were recorded once from the single-threaded code. Work
// split across threads must not move a single level.
std::uint64_t PixelHash(const TBitmap32& bitmap) {
  std::uint64_t hash = 14695981039346656037ull;
  for (std::uint32_t pixel : bitmap.Pixels)
    for (int shift = 0; shift < 32; shift += 8) hash = (hash ^ ((pixel >> shift) & 0xFFu)) * 1099511628211ull;
  return hash;
}

TEST(AdaptiveEqualize, LargeImagesGiveTheSameBytesWhateverTheWorkSplit) {
  // Odd sizes so that no band of rows and no tile edge falls evenly.
  const TBitmap32 original = test::RandomBitmap(1001, 777, 2026);
  // Progress still comes in order, every tenth row, and only on the calling thread, which
  // the progress bar needs.
  std::vector<int> positions;
  bool otherThread = false;
  const std::thread::id caller = std::this_thread::get_id();
  const auto record = [&](int position, int maximum) {
    positions.push_back(position);
    otherThread = otherThread || std::this_thread::get_id() != caller || maximum != 2 * 777;
  };
  TBitmap32 bitmap = original;
  AdaptiveEqualize(bitmap, 7);
  EXPECT_EQ(PixelHash(bitmap), 8276935393303518631ull);
  bitmap = original;
  AdaptiveAutoLevels(bitmap, 7, 3, record);
  EXPECT_EQ(PixelHash(bitmap), 5569679232754323921ull);
  std::vector<int> expected;
  for (int half : {0, 777})
    for (int rows = 10; rows <= 777; rows += 10) expected.push_back(half + rows);
  EXPECT_EQ(positions, expected);
  EXPECT_FALSE(otherThread);
  // Taller than wide: many rows of tiles, and bands that end at the edge of one.
  const TBitmap32 tall = test::RandomBitmap(131, 2003, 77);
  bitmap = tall;
  AdaptiveEqualize(bitmap, 30);
  EXPECT_EQ(PixelHash(bitmap), 1156768136742325148ull);
  bitmap = tall;
  AdaptiveAutoLevels(bitmap, 30, 5);
  EXPECT_EQ(PixelHash(bitmap), 765368139458375158ull);
}

TEST(NegativeImage, TwiceIsTheIdentityAndTheFourthByteStays) {
  TBitmap32 bitmap = test::RandomBitmap(7, 3, 9);
  const TBitmap32 original = bitmap;
  NegativeImage(bitmap);
  EXPECT_EQ(bitmap.Pixels[0], PackPixel(255 - PixelBlue(original.Pixels[0]), 255 - PixelGreen(original.Pixels[0]),
                                        255 - PixelRed(original.Pixels[0]), PixelFourth(original.Pixels[0])));
  NegativeImage(bitmap);
  EXPECT_EQ(bitmap, original);
}

TEST(Enhancement, NoFunctionTouchesTheFourthByteOrFailsOnAnEmptyBitmap) {
  const TBitmap32 original = test::RandomBitmap(31, 17, 12);
  auto fourth = [](const TBitmap32& b) {
    std::vector<std::uint32_t> bytes;
    for (std::uint32_t p : b.Pixels) bytes.push_back(PixelFourth(p));
    return bytes;
  };
  TBitmap32 a = original, b = original, c = original, d = original;
  Equalize(a);
  AdaptiveEqualize(b, 20);
  AutoLevels(c, 5);
  AdaptiveAutoLevels(d, 20, 5);
  for (const TBitmap32* bitmap : {&a, &b, &c, &d}) EXPECT_EQ(fourth(*bitmap), fourth(original));
  TBitmap32 empty;
  Equalize(empty);
  AdaptiveEqualize(empty, 10);
  AutoLevels(empty, 5);
  AdaptiveAutoLevels(empty, 10, 5);
  NegativeImage(empty);
  EXPECT_TRUE(empty.Empty());
}

}  // namespace
}  // namespace lumacet
