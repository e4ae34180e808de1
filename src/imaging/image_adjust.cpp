#include "imaging/image_adjust.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>

#include "model/raw_image_ops.h"

namespace lumacet {

namespace {

std::uint8_t ClipLevel(double value) { return static_cast<std::uint8_t>(std::clamp(value, 0.0, 255.0)); }

double GammaCurve(double level, double gamma) { return std::nearbyint(255.0 * std::pow(level / 255.0, gamma)); }

std::string LowerAscii(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

}  // namespace

void ApplyLevelTable(TBitmap32& bitmap, const TLevelTable& table) {
  for (std::uint32_t& pixel : bitmap.Pixels)
    pixel = PackPixel(table[PixelBlue(pixel)], table[PixelGreen(pixel)], table[PixelRed(pixel)], PixelFourth(pixel));
}

TLevelTable LevelsTable(int black, int white, double gamma) {
  TLevelTable table{};
  const bool useGamma = gamma != 1.0 && std::isfinite(gamma) && gamma > 0;
  for (int i = 0; i < 256; ++i) {
    double level;
    if (i <= black) {
      level = 0;
    } else if (i < white) {
      level = std::nearbyint(255.0 * (i - black) / (white - black));
      if (useGamma) level = GammaCurve(level, gamma);
    } else {
      level = 255;
    }
    table[static_cast<std::size_t>(i)] = ClipLevel(level);
  }
  return table;
}

int LevelsRawValue(int maxSample, int rangeLow, int rangeHigh, int position) {
  const double value =
      static_cast<double>(maxSample) / 255.0 * (rangeLow + (rangeHigh - rangeLow) * static_cast<double>(position) / 255.0);
  return static_cast<int>(std::nearbyint(value));
}

void ApplyLevelsToRaw(TRawImage& image, TBitmap32& display, int rangeLow, int rangeHigh, int black, int white,
                      double gamma) {
  if (!image.HasData() || image.BitsPerSample <= 0 || image.BitsPerSample > 16) return;
  const int maxSample = (1 << image.BitsPerSample) - 1;
  image.WindowLow = LevelsRawValue(maxSample, rangeLow, rangeHigh, black);
  image.WindowHigh = LevelsRawValue(maxSample, rangeLow, rangeHigh, white);
  image.Gamma = gamma;
  RenderToBitmap(image, display);
}

double LevelsGammaAt(int black, int white, double position) {
  if (white == black) return 1.0;
  const double c = (position - black - (white - black) / 2.0) / (white - black) * 18.0;
  return c >= 0 ? c + 1 : c / 10 + 1;
}

int LevelsGreyArrow(int black, int white, double gamma) {
  const double middle = black + (white - black) / 2.0;
  const double offset = gamma >= 1 ? (gamma - 1) / 18.0 * (white - black) : (gamma - 1) * 10.0 / 18.0 * (white - black);
  return static_cast<int>(std::nearbyint(middle + offset));
}

double GammaFromPosition(int position) { return position >= 0 ? 1 + position / 10.0 : 1 + position / 100.0; }

int MedianLuminance(const TBitmap32& bitmap) {
  std::array<std::uint64_t, 256> counts{};
  for (std::uint32_t pixel : bitmap.Pixels) counts[PixelLuminance(pixel)]++;
  const std::uint64_t pixels = bitmap.Pixels.size();
  std::uint64_t cumulative = 0;
  for (int level = 0; level < 256; ++level) {
    cumulative += counts[static_cast<std::size_t>(level)];
    if (2 * cumulative >= pixels) return level;
  }
  return 255;
}

TLevelTable BrightnessContrastGammaTable(const TBrightnessContrastGamma& values, int pivot) {
  const double brightness = values.UseBrightness ? values.Brightness : 0;
  const double slope = values.UseContrast ? std::tan((values.Contrast + 45) * std::numbers::pi / 180.0) : 1.0;
  const double centre = values.UseContrast ? pivot : 127;
  const double gamma = values.UseGamma ? GammaFromPosition(values.GammaPosition) : 1.0;
  TLevelTable table{};
  for (int i = 0; i < 256; ++i) {
    const double level = std::clamp(std::nearbyint((i - centre) * slope + centre + brightness), 0.0, 255.0);
    table[static_cast<std::size_t>(i)] = ClipLevel(GammaCurve(level, gamma));
  }
  return table;
}

void ApplyBrightnessContrastGamma(TBitmap32& bitmap, const TBrightnessContrastGamma& values) {
  if (bitmap.Empty()) return;
  const int pivot = values.UseContrast ? MedianLuminance(bitmap) : 127;
  ApplyLevelTable(bitmap, BrightnessContrastGammaTable(values, pivot));
}

bool ReadLutFile(const std::string& path, TColourLut& lut) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  std::array<char, 768> bytes{};
  file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (file.bad()) return false;
  for (std::size_t i = 0; i < 256; ++i) {
    const auto byte = [&](std::size_t at) { return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])); };
    lut[i] = PackPixel(byte(512 + i), byte(256 + i), byte(i));
  }
  return true;
}

std::vector<std::string> ListLutFiles(const std::string& folder) {
  namespace fs = std::filesystem;
  std::vector<fs::path> found;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (it->is_regular_file(error) && LowerAscii(it->path().extension().string()) == ".lut") found.push_back(it->path());
  }
  std::sort(found.begin(), found.end(), [](const fs::path& a, const fs::path& b) {
    const std::string la = LowerAscii(a.filename().string());
    const std::string lb = LowerAscii(b.filename().string());
    return la != lb ? la < lb : a.filename() < b.filename();
  });
  std::vector<std::string> paths;
  for (const fs::path& path : found) paths.push_back(path.string());
  return paths;
}

void Colorize(TBitmap32& bitmap, const TColourLut& lut) {
  for (std::uint32_t& pixel : bitmap.Pixels) pixel = (lut[PixelLuminance(pixel)] & 0x00FFFFFFu) | (pixel & 0xFF000000u);
}

}  // namespace lumacet
