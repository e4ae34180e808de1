// Image morphing: the image of a morph source radiograph warped so that its anatomy follows
// the tracing of another radiograph of the same type. The drawings flagged for morphing give
// control lines on both tracings; each pixel of the new image is fetched from the source at
// the position the control lines map it to (a field of weighted line displacements, the same
// field at block corners only, or a triangle mesh).
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "geometry/coordinates.h"
#include "geometry/delaunay.h"
#include "model/bitmap32.h"
#include "model/image_store.h"
#include "model/raw_image.h"
#include "support/marked_text.h"
#include "support/result.h"

namespace lumacet {

class TRadiograph;

// The stored values of the "Warp Function" and "Morph Quality" settings.
enum class TWarpFunction { Linear = 0, SCurve = 1, Exponential = 2, Triangle = 3 };
enum class TMorphQuality { Low = 0, Medium = 1, High = 2 };

// The morph settings; distances in tracing units.
struct TMorphOptions {
  TWarpFunction Function = TWarpFunction::Linear;
  TMorphQuality Quality = TMorphQuality::Medium;
  double DistanceLimit = 100;  // Linear: the influence is 0 at this distance
  double FallOff = 100;        // S-curve: exp(-d^2 / FallOff^2)
  double Exponent = 8.0;       // Exponential: (1 / (d + Smoothness))^Exponent
  double Smoothness = 400;
  int BlockSize = 10;  // Low: pixels per side of the interpolated blocks
};

// "Linear", "S-curve", "Exponential", "Triangle interpolation"; "Low", "Medium", "High".
TText WarpFunctionName(TWarpFunction function);
TText MorphQualityName(TMorphQuality quality);
// The two lines of the progress dialog: "Warping function: %1" and "Quality: %2" ("Standard"
// for triangle interpolation), joined by a line break.
TText MorphMethodText(const TMorphOptions& options);

// Why the morph cannot run, in the order checked: "No radiographs.", "Current is Morph
// Source.", "Cannot morph Types.", "Not the same Type.", "No image.", "Some points not
// valid."; the empty text when it can. Loads both radiographs' coordinates in turn.
TText MorphReadiness(const TRadiograph* source, const TRadiograph* current);

// The control point list: for every drawing of r's type flagged for morphing, in the type's
// order, its morph outline on r's coordinates and a break (nullopt); then the five points
// round `frame`'s image (corner, +W, +H, -W, back to the corner). `sampleCurves` asks the
// spline drawings for their sampled curves (High quality, not triangle interpolation).
// Loads r's coordinates.
std::vector<std::optional<TFloatPoint>> MorphControlPoints(const TRadiograph& r, const TRadiograph& frame,
                                                           bool sampleCurves);
// Whether the spline drawings give their sampled curves for these options.
bool MorphSamplesCurves(const TMorphOptions& options);

// The source position of every target position, from the control segments of the two lists
// (entry k of one belonging to entry k of the other; two consecutive present entries make a
// segment). Segments of length 0 on either side are left out.
class TMorphField {
 public:
  TMorphField(std::span<const std::optional<TFloatPoint>> source, std::span<const std::optional<TFloatPoint>> target,
              const TMorphOptions& options);
  // X plus the weighted displacement of the segments that influence it; X itself when none does.
  TFloatPoint SourcePosition(TFloatPoint x) const;

  struct TSegment {  // per-segment constants, hoisted out of the pixel loops
    double Px, Py, Qx, Qy;         // target segment
    double Ux, Uy;                 // (Q - P) / L^2
    double Nx, Ny;                 // unit perpendicular (-(Qy - Py), Qx - Px) / L
    double Sx, Sy, SUx, SUy, SVx, SVy;  // source: P', Q' - P', perpendicular of Q' - P' / |Q' - P'|
  };
  const std::vector<TSegment>& Segments() const { return fSegments; }
  const TMorphOptions& Options() const { return fOptions; }

 private:
  std::vector<TSegment> fSegments;
  TMorphOptions fOptions;
};

// Progress of a warp: `done` of `total` steps (rows, or block rows for Low); returning false
// cancels. It is called from the calling thread at least every 4 rows (every block row).
using TMorphProgress = std::function<bool(int done, int total)>;

// The pixels of a warp: the source display bitmap and (when it has data) its raw samples,
// placed by `frame`, warped into `display` and `raw`, which the caller has made copies of
// the source. Rows are shared between the cores; the result does not depend on how. A
// cancel leaves the rows not yet done as they were. False when cancelled.
struct TMorphImages {
  const TBitmap32& SourceDisplay;
  const TRawImage& SourceRaw;
  TImageFrame Frame;
  TBitmap32& Display;
  TRawImage& Raw;
};
bool MorphPixels(const TMorphImages& images, std::span<const std::optional<TFloatPoint>> source,
                 std::span<const std::optional<TFloatPoint>> target, const TMorphOptions& options,
                 const TMorphProgress& progress);

// The "&Morph" command on `current`: when not ready, "Cannot perform morphing:\r\n%1" with
// the reason and nothing changed. Otherwise the current image (display, samples, file link)
// is replaced by a copy of the source's and placed by the source's frame, warped by the
// method the options choose, and "Image Morph." recorded. A cancel keeps the rows done warped
// and the rest as copied, and still succeeds.
TResult MorphImage(TRadiograph& current, const TRadiograph& source, const TMorphOptions& options,
                   const TMorphProgress& progress);

}  // namespace lumacet
