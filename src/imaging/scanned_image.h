// What becomes of scans: several passes of one page combined into one image to reduce
// noise, and the result installed as a radiograph's image with the pixel size the
// scanner's resolution gives.
#pragma once

#include <string>
#include <vector>

#include "imaging/image_commands.h"
#include "model/raw_image.h"
#include "support/result.h"

namespace lumacet {

class TRadiograph;

// "Noise Reduction": how the passes of one sample position are combined.
enum class TNoiseReduction { Average = 0, Median = 1, Minimum = 2, CentralAverage = 3 };

// Combines the scans sample by sample: the average, the median (the mean of the two middle
// values for an even count), the minimum, or the average without the lowest and the
// highest value (the plain average for fewer than three scans). Results are rounded to
// nearest, ties to even. Every scan must have the size and sample format of the first;
// otherwise the failure says so.
TResultOf<TRawImage> CombineScans(const std::vector<TRawImage>& scans, TNoiseReduction reduction);

// Tenths of a millimetre per pixel at `dotsPerInch`; 0 when the resolution is unknown.
double ScanPixelSize(double dotsPerInch);

// Whether the scanner's resolution sets the pixel size: the type's "Auto-detect image
// resolution from Scanner" (0 yes, 1 no, 2 use the default) over "Auto Detect Resolution".
bool DetectsScanResolution(int typeOption, bool autoDetectSetting);

struct TScanInstallSettings {
  TImageLoadSettings Load;        // default pixel size and the type's override
  bool DetectResolution = true;   // see DetectsScanResolution
};

// Makes the scan the radiograph's image: the window spans the grey samples present, the
// link is cleared (the image exists nowhere on disk yet, so it counts as unsaved), the
// pixel size comes from the type or the defaults and, when detection applies and both
// resolutions are known, from the resolutions. Records "Image Scanned.".
void InstallScannedImage(TRadiograph& radiograph, TImageStore& store, TRawImage scan, double xDotsPerInch,
                         double yDotsPerInch, const TScanInstallSettings& settings);

}  // namespace lumacet
