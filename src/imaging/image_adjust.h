// The adjustments behind the Levels, Brightness / Contrast / Gamma and Colorize dialogs,
// as plain functions of the dialogs' values. Each dialog restores its snapshot before
// applying one of these, so effects never accumulate.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/bitmap32.h"
#include "model/raw_image.h"

namespace lumacet {

using TLevelTable = std::array<std::uint8_t, 256>;

// Blue, green and red of every pixel through the table; the fourth byte is kept.
void ApplyLevelTable(TBitmap32& bitmap, const TLevelTable& table);

// ---- Levels ----

// The 8-bit levels table: black point and below 0, white point and above 255, linear in
// between, then the gamma curve when `gamma` is not 1.
TLevelTable LevelsTable(int black, int white, double gamma);

// The raw sample value that a position 0..255 on the levels scale stands for, within the
// sub-range [rangeLow, rangeHigh] (0..255) of the raw range 0..maxSample.
int LevelsRawValue(int maxSample, int rangeLow, int rangeHigh, int position);

// "Original" mode: re-windows the raw samples from the sub-range and the black and white
// points, sets the gamma and renders the display bitmap anew. Nothing happens without raw
// samples.
void ApplyLevelsToRaw(TRawImage& image, TBitmap32& display, int rangeLow, int rangeHigh, int black, int white,
                      double gamma);

// The gamma that a grey arrow at `position` between the black and white points stands
// for (0.1 at the black end, 1 in the middle, 10 at the white end), and back.
double LevelsGammaAt(int black, int white, double position);
int LevelsGreyArrow(int black, int white, double gamma);

// ---- Brightness / Contrast / Gamma ----

// Gamma of the scroll position -90..90: 1 + s/10 above 0, 1 + s/100 below.
double GammaFromPosition(int position);

// The first level at which the count of integer luminances reaches half the pixels.
int MedianLuminance(const TBitmap32& bitmap);

struct TBrightnessContrastGamma {
  int Brightness = 0;     // -126..126
  int Contrast = 0;       // -45..44
  int GammaPosition = 0;  // -90..90
  bool UseBrightness = true;
  bool UseContrast = true;
  bool UseGamma = true;
};

// The table for a contrast pivot (the snapshot's median luminance when contrast is on).
TLevelTable BrightnessContrastGammaTable(const TBrightnessContrastGamma& values, int pivot);
// The dialog's whole adjustment of a bitmap.
void ApplyBrightnessContrastGamma(TBitmap32& bitmap, const TBrightnessContrastGamma& values);

// ---- Colorize ----

// Colour of every luminance, as pixel values.
using TColourLut = std::array<std::uint32_t, 256>;

// A ".lut" file: 256 red values, 256 green, 256 blue; only the first 768 bytes count and
// missing ones are 0. False when the file cannot be read.
bool ReadLutFile(const std::string& path, TColourLut& lut);
// The ".lut" files in a folder, full paths, in alphabetical order of their names.
std::vector<std::string> ListLutFiles(const std::string& folder);
// Every pixel takes the colour of its integer luminance; the fourth byte is kept.
void Colorize(TBitmap32& bitmap, const TColourLut& lut);

}  // namespace lumacet
