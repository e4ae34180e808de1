#include "imaging/enhancement.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstddef>
#include <system_error>
#include <thread>
#include <vector>

namespace lumacet {

namespace {

using THistogram = std::array<std::uint32_t, 256>;
using TLevelTable = std::array<std::uint8_t, 256>;

std::uint8_t ClipLevel(double value) { return static_cast<std::uint8_t>(std::clamp(value, 0.0, 255.0)); }

// sum / 100 rounded to nearest, ties to even: the real luminance 0.3 red + 0.59 green +
// 0.11 blue rounded exactly, for sum = 30 red + 59 green + 11 blue.
std::uint32_t RoundHundredths(std::uint32_t sum) {
  const std::uint32_t whole = sum / 100;
  const std::uint32_t rest = sum % 100;
  return rest > 50 || (rest == 50 && (whole & 1) != 0) ? whole + 1 : whole;
}

// A level 0..255 rounded to nearest, ties to even, as std::nearbyint does in the default
// rounding mode but without a library call: adding 2^52 leaves no bits for a fraction.
inline std::uint32_t RoundLevel(double level) {
  constexpr double kShift = 4503599627370496.0;  // 2^52
  return static_cast<std::uint32_t>((level + kShift) - kShift);
}

// Every pixel made grey with its integer luminance; returns their histogram.
THistogram MakeGrey(TBitmap32& bitmap) {
  THistogram counts{};
  for (std::uint32_t& pixel : bitmap.Pixels) {
    const std::uint32_t grey = PixelLuminance(pixel);
    pixel = WithGrey(pixel, grey);
    counts[grey]++;
  }
  return counts;
}

// Level i goes to round(c(i) / (n / 256)) - 1, c the cumulative count up to i.
TLevelTable EqualizeTable(const THistogram& counts, std::uint64_t n) {
  TLevelTable table{};
  if (n == 0) return table;
  const double binSize = static_cast<double>(n) / 256.0;
  std::uint64_t cumulative = 0;
  for (int i = 0; i < 256; ++i) {
    cumulative += counts[static_cast<std::size_t>(i)];
    table[static_cast<std::size_t>(i)] = ClipLevel(std::nearbyint(static_cast<double>(cumulative) / binSize) - 1);
  }
  return table;
}

struct TLevelBounds {
  int Low = 0;
  int High = 255;
};

// The darkest and brightest levels once more than `threshold` pixels lie at or beyond them.
TLevelBounds FindLevelBounds(const THistogram& counts, std::uint64_t threshold) {
  TLevelBounds bounds;
  std::uint64_t sum = 0;
  for (int i = 0; i < 256; ++i) {
    sum += counts[static_cast<std::size_t>(i)];
    if (sum > threshold) {
      bounds.Low = i;
      break;
    }
  }
  sum = 0;
  for (int j = 255; j >= 0; --j) {
    sum += counts[static_cast<std::size_t>(j)];
    if (sum > threshold) {
      bounds.High = j;
      break;
    }
  }
  return bounds;
}

std::uint64_t CutoffCount(std::uint64_t pixels, int cutoff) {
  return static_cast<std::uint64_t>(std::nearbyint(static_cast<double>(pixels) * cutoff / 100.0));
}

// Where a pixel lies between the centres of the tiles around it, along one axis: the
// lower and upper tile (raised to 0 before the first centre) and the weight of the upper
// one, Twice / (2 T), kept as an integer so that the blend can be computed exactly.
struct TTileSpan {
  int Lower = 0;
  int Upper = 0;
  std::int64_t Twice = 0;
  double Fraction = 0;  // Twice / (2 T)
};

std::vector<TTileSpan> TileSpans(int length, int tile) {
  std::vector<TTileSpan> spans(static_cast<std::size_t>(length));
  for (int x = 0; x < length; ++x) {
    // t = trunc((x - T/2) / T) from the first centre on, else -1, in whole halves.
    const int t = 2 * x >= tile ? (2 * x - tile) / (2 * tile) : -1;
    TTileSpan& span = spans[static_cast<std::size_t>(x)];
    span.Lower = std::max(t, 0);
    span.Upper = std::max(t + 1, 0);
    span.Twice = 2 * static_cast<std::int64_t>(x) - 2 * static_cast<std::int64_t>(t) * tile - tile;
    span.Fraction = static_cast<double>(span.Twice) / (2.0 * tile);
  }
  return spans;
}

// The tile grid of the adaptive functions: one more column and row than whole tiles
// fit, plus one, as the pixels near the right and bottom edges weigh in empty tiles.
struct TTileGrid {
  int Tile = 1;
  int Columns = 0;
  int Rows = 0;
  std::vector<TTileSpan> XSpans;
  std::vector<TTileSpan> YSpans;

  TTileGrid(const TBitmap32& bitmap, int adaptiveSize)
      : Tile(AdaptiveTileSize(bitmap.Width, adaptiveSize)),
        Columns(bitmap.Width / Tile + 2),
        Rows(bitmap.Height / Tile + 2),
        XSpans(TileSpans(bitmap.Width, Tile)),
        YSpans(TileSpans(bitmap.Height, Tile)) {}

  // The first tile of the row of tiles that holds image row y.
  std::size_t RowStart(int y) const { return static_cast<std::size_t>(y / Tile) * static_cast<std::size_t>(Columns); }
  std::size_t Count() const { return static_cast<std::size_t>(Columns) * static_cast<std::size_t>(Rows); }
};

// A thread per core for the adaptive functions, but none for images so small that
// starting a thread costs more than it saves.
int WorkerCount(std::size_t pixels) {
  constexpr std::size_t kPixelsPerWorker = std::size_t{1} << 17;
  const std::size_t cores = std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
  return static_cast<int>(std::clamp<std::size_t>(pixels / kPixelsPerWorker, 1, cores));
}

// Calls rowWork(y) once for every row of the bitmap, in bands of rows worked on side by
// side. Band edges fall on multiples of `step` rows, so that whatever such a run of rows
// shares (a row of tiles) is filled by one thread, top to bottom. rowWork computes each
// pixel exactly as a single thread would: the split never changes a byte. Progress stays
// on the calling thread (the callers paint with it) and comes at every tenth row done,
// offset + 10, offset + 20 ..., as from a plain loop.
template <typename RowWork>
void ForEachRow(const TBitmap32& bitmap, int step, const TProgressFunction& progress, int offset, int maximum,
                const RowWork& rowWork) {
  const int steps = (bitmap.Height + step - 1) / step;
  const int bands = std::min(WorkerCount(bitmap.Pixels.size()), steps);
  std::atomic<int> done{0};
  int reported = 0;
  const auto runBand = [&](int band, bool caller) {
    const int begin = band * steps / bands * step;
    const int end = std::min((band + 1) * steps / bands * step, bitmap.Height);
    for (int y = begin; y < end; ++y) {
      rowWork(y);
      const int rows = done.fetch_add(1, std::memory_order_relaxed) + 1;
      if (!caller || !progress) continue;
      for (; reported + 10 <= rows; reported += 10) progress(offset + reported + 10, maximum);
    }
  };
  std::vector<int> callerBands{0};
  {
    // jthreads join on every way out, a throwing progress callback included.
    std::vector<std::jthread> workers;
    workers.reserve(static_cast<std::size_t>(bands));
    for (int band = 1; band < bands; ++band) {
      try {
        workers.emplace_back(runBand, band, false);
      } catch (const std::system_error&) {
        callerBands.push_back(band);  // no thread to be had: the caller works the band itself
      }
    }
    for (int band : callerBands) runBand(band, true);
  }
  if (!progress) return;
  for (; reported + 10 <= bitmap.Height; reported += 10) progress(offset + reported + 10, maximum);
}

}  // namespace

int AdaptiveTileSize(int width, int adaptiveSize) {
  const double side = std::nearbyint(static_cast<double>(width) * adaptiveSize / 100.0);
  return side >= 1 ? static_cast<int>(side) : 1;
}

std::array<std::uint32_t, 256> LuminanceHistogram(const TBitmap32& bitmap) {
  THistogram counts{};
  for (std::uint32_t pixel : bitmap.Pixels) counts[PixelLuminance(pixel)]++;
  return counts;
}

void Equalize(TBitmap32& bitmap) {
  if (bitmap.Empty()) return;
  const TLevelTable table = EqualizeTable(MakeGrey(bitmap), bitmap.Pixels.size());
  for (std::uint32_t& pixel : bitmap.Pixels) pixel = WithGrey(pixel, table[PixelBlue(pixel)]);
}

void AdaptiveEqualize(TBitmap32& bitmap, int adaptiveSize, const TProgressFunction& progress) {
  if (bitmap.Empty()) return;
  const TTileGrid grid(bitmap, adaptiveSize);
  // Rounded luminance of every weighted sum 30 red + 59 green + 11 blue.
  std::vector<std::uint8_t> luminance(100 * 255 + 1);
  for (std::uint32_t sum = 0; sum < luminance.size(); ++sum) luminance[sum] = static_cast<std::uint8_t>(RoundHundredths(sum));
  // Even and odd columns count into separate halves of each tile's histogram, so that
  // neighbouring pixels of one level do not wait for each other's increment.
  std::vector<std::uint32_t> histograms(grid.Count() * 512, 0);
  std::vector<std::uint8_t> greys(bitmap.Pixels.size());
  // A pixel's value in a tile depends only on its level, so each tile's whole mapping is
  // computed once, as soon as its row of tiles is counted, instead of summing its
  // histogram for every pixel. Tiles that hold no pixel keep the all-zero table.
  std::vector<std::uint8_t> tables(grid.Count() * 256, 0);
  const auto fillTables = [&](std::size_t first) {
    for (std::size_t tile = first; tile < first + static_cast<std::size_t>(grid.Columns); ++tile) {
      THistogram counts;
      const std::uint32_t* halves = histograms.data() + tile * 512;
      std::uint64_t n = 0;
      for (std::size_t level = 0; level < 256; ++level) {
        counts[level] = halves[level] + halves[256 + level];
        n += counts[level];
      }
      const TLevelTable table = EqualizeTable(counts, n);
      std::copy(table.begin(), table.end(), tables.begin() + static_cast<std::ptrdiff_t>(tile * 256));
    }
  };
  ForEachRow(bitmap, grid.Tile, {}, 0, 0, [&](int y) {
    const std::uint32_t* row = bitmap.Row(y);
    std::uint8_t* greyRow = greys.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(bitmap.Width);
    std::uint32_t* tile = histograms.data() + grid.RowStart(y) * 512;
    for (int start = 0; start < bitmap.Width; start += grid.Tile, tile += 512) {
      const int end = std::min(start + grid.Tile, bitmap.Width);
      for (int x = start; x < end; ++x) {
        const std::uint32_t pixel = row[x];
        const std::uint8_t g = luminance[30 * PixelRed(pixel) + 59 * PixelGreen(pixel) + 11 * PixelBlue(pixel)];
        greyRow[x] = g;
        tile[(x & 1) * 256 + g]++;
      }
    }
    if ((y + 1) % grid.Tile == 0 || y + 1 == bitmap.Height) fillTables(grid.RowStart(y));
  });

  // The four weights are (2T - a)(2T - b), a(2T - b), (2T - a)b and ab over (2T)^2. With
  // whole-number weights every product and sum is exact in a double, and so is the one
  // division's rounding: the blend is rounded exactly, ties to even.
  const double whole = 2.0 * grid.Tile;
  const double denominator = whole * whole;
  const std::size_t columns = static_cast<std::size_t>(grid.Columns);
  const std::size_t width = static_cast<std::size_t>(bitmap.Width);
  std::vector<std::uint32_t> lowerStart(width), upperStart(width);
  std::vector<double> lowerWeight(width), upperWeight(width);
  for (std::size_t x = 0; x < width; ++x) {
    lowerStart[x] = static_cast<std::uint32_t>(grid.XSpans[x].Lower) * 256;
    upperStart[x] = static_cast<std::uint32_t>(grid.XSpans[x].Upper) * 256;
    lowerWeight[x] = whole - static_cast<double>(grid.XSpans[x].Twice);
    upperWeight[x] = static_cast<double>(grid.XSpans[x].Twice);
  }
  ForEachRow(bitmap, 1, progress, 0, bitmap.Height, [&](int y) {
    const TTileSpan& ys = grid.YSpans[static_cast<std::size_t>(y)];
    const std::uint8_t* lowerRow = tables.data() + static_cast<std::size_t>(ys.Lower) * columns * 256;
    const std::uint8_t* upperRow = tables.data() + static_cast<std::size_t>(ys.Upper) * columns * 256;
    const double wy0 = whole - static_cast<double>(ys.Twice);
    const double wy1 = static_cast<double>(ys.Twice);
    // The two rows of tables blended once for the whole image row, leaving two products
    // per pixel; the sums stay exact, so the order of the blend does not matter. The
    // buffer lives on with its thread, so that rows do not each pay for an allocation.
    thread_local std::vector<double> blend;
    blend.resize(columns * 256);
    for (std::size_t i = 0; i < blend.size(); ++i) blend[i] = wy0 * lowerRow[i] + wy1 * upperRow[i];
    std::uint32_t* row = bitmap.Row(y);
    const std::uint8_t* greyRow = greys.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(bitmap.Width);
    for (std::size_t x = 0; x < width; ++x) {
      const std::uint32_t g = greyRow[x];
      const double sum = lowerWeight[x] * blend[lowerStart[x] + g] + upperWeight[x] * blend[upperStart[x] + g];
      row[x] = WithGrey(row[x], RoundLevel(sum / denominator));
    }
  });
}

void AutoLevels(TBitmap32& bitmap, int cutoff) {
  if (bitmap.Empty()) return;
  const THistogram counts = MakeGrey(bitmap);
  const TLevelBounds bounds = FindLevelBounds(counts, CutoffCount(bitmap.Pixels.size(), cutoff));
  if (bounds.Low == bounds.High) return;
  TLevelTable table{};
  for (int g = 0; g < 256; ++g)
    table[static_cast<std::size_t>(g)] =
        ClipLevel(std::nearbyint(static_cast<double>(g - bounds.Low) * 255.0 / (bounds.High - bounds.Low)));
  for (std::uint32_t& pixel : bitmap.Pixels) pixel = WithGrey(pixel, table[PixelBlue(pixel)]);
}

void AdaptiveAutoLevels(TBitmap32& bitmap, int adaptiveSize, int cutoff, const TProgressFunction& progress) {
  if (bitmap.Empty()) return;
  const TTileGrid grid(bitmap, adaptiveSize);
  const int maximum = 2 * bitmap.Height;
  std::vector<THistogram> histograms(grid.Count(), THistogram{});
  std::vector<std::uint64_t> counts(grid.Count(), 0);
  std::vector<TLevelBounds> bounds(grid.Count());
  ForEachRow(bitmap, grid.Tile, progress, 0, maximum, [&](int y) {
    std::uint32_t* row = bitmap.Row(y);
    std::size_t tile = grid.RowStart(y);
    for (int start = 0; start < bitmap.Width; start += grid.Tile, ++tile) {
      const int end = std::min(start + grid.Tile, bitmap.Width);
      for (int x = start; x < end; ++x) {
        const std::uint32_t grey = PixelLuminance(row[x]);
        row[x] = WithGrey(row[x], grey);
        histograms[tile][grey]++;
      }
      counts[tile] += static_cast<std::uint64_t>(end - start);
    }
    // The row of tiles is complete: its bounds can be found.
    if ((y + 1) % grid.Tile != 0 && y + 1 != bitmap.Height) return;
    const std::size_t first = grid.RowStart(y);
    for (tile = first; tile < first + static_cast<std::size_t>(grid.Columns); ++tile)
      if (counts[tile] > 0) bounds[tile] = FindLevelBounds(histograms[tile], CutoffCount(counts[tile], cutoff));
  });

  const std::size_t columns = static_cast<std::size_t>(grid.Columns);
  ForEachRow(bitmap, 1, progress, bitmap.Height, maximum, [&](int y) {
    const TTileSpan& ys = grid.YSpans[static_cast<std::size_t>(y)];
    const TLevelBounds* lowerRow = bounds.data() + static_cast<std::size_t>(ys.Lower) * columns;
    const TLevelBounds* upperRow = bounds.data() + static_cast<std::size_t>(ys.Upper) * columns;
    std::uint32_t* row = bitmap.Row(y);
    for (int x = 0; x < bitmap.Width; ++x) {
      const TTileSpan& xs = grid.XSpans[static_cast<std::size_t>(x)];
      const double w00 = (1 - xs.Fraction) * (1 - ys.Fraction);
      const double w10 = xs.Fraction * (1 - ys.Fraction);
      const double w01 = (1 - xs.Fraction) * ys.Fraction;
      const double w11 = xs.Fraction * ys.Fraction;
      const TLevelBounds& b00 = lowerRow[xs.Lower];
      const TLevelBounds& b10 = lowerRow[xs.Upper];
      const TLevelBounds& b01 = upperRow[xs.Lower];
      const TLevelBounds& b11 = upperRow[xs.Upper];
      const double low = w00 * b00.Low + w10 * b10.Low + w01 * b01.Low + w11 * b11.Low;
      const double high = w00 * b00.High + w10 * b10.High + w01 * b01.High + w11 * b11.High;
      if (low == high) continue;
      const double grey = PixelBlue(row[x]);
      row[x] = WithGrey(row[x], ClipLevel(std::nearbyint((grey - low) * 255.0 / (high - low))));
    }
  });
}

void NegativeImage(TBitmap32& bitmap) {
  for (std::uint32_t& pixel : bitmap.Pixels) pixel ^= 0x00FFFFFFu;
}

}  // namespace lumacet
