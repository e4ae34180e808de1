// The image's place under its tracing and its pixels: moving and turning it (carrying the
// tracing along under the lock), turning its pixels by any angle or by quarter turns,
// mirroring, resizing, and bringing image and tracing into register from two marked
// points. Every operation refuses bad numbers with a message and then changes nothing;
// those that change the pixels keep the image undo copy (pixels, samples and place) and
// record an image change.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "geometry/coordinates.h"
#include "model/image_store.h"
#include "simulation/movements.h"
#include "support/result.h"

namespace lumacet {

class TRadiograph;

// The largest side, in pixels, an image may be given.
inline constexpr int kMaxImageSide = 30000;

// The origin becomes (x, y); with `follow` the whole tracing moves by the same step first.
TResult SetImagePosition(TRadiograph& radiograph, bool follow, double x, double y);
// The image turns about `centre` to the rotation `radians`; with `follow` the whole
// tracing turns with it.
TResult SetImageRotation(TRadiograph& radiograph, bool follow, TFloatPoint centre, double radians);
// The origin turned about `centre` by the change of rotation; the rotation reduced into
// [0, 2 pi).
void TurnImage(TRadiograph& radiograph, TFloatPoint centre, double radians);
// Resamples the pixels (display and samples) turned by `radians` about `centre`, and moves
// the origin so that the picture turns about the centre. Nothing is kept for undo.
TResult RotateImagePixels(TRadiograph& radiograph, TFloatPoint centre, double radians);

// "Image Rotation (Resample)": the image as it was when the dialog opened is kept; every
// "Set at" starts again from it, so angles never add up.
class TImageRotation {
 public:
  TImageRotation(TRadiograph& radiograph, TFloatPoint centre, bool locked);
  // "&Set at ->": turned by `degrees` about the centre, the tracing too under the lock.
  TResult SetAt(double degrees);
  // "&Convert Image to Current Rotation": the pixels carry the image's rotation, which
  // becomes 0; the picture stays where it was.
  TResult ConvertToCurrentRotation();
  // OK: the kept image becomes the undo copy and "Image Rotated." is recorded (nothing
  // when nothing was turned). Cancel: everything as it was.
  void Ok();
  void Cancel();

 private:
  void Restore();

  TRadiograph& fRadiograph;
  TFloatPoint fCentre;
  bool fLocked;
  TBitmap32 fDisplay;
  TRawImage fRaw;
  TImageFrame fFrame;
  double fAccumulated = 0;
  bool fChanged = false;
};

// "&Left 90 degrees" (-90), "&Right 90 degrees" (90), "180 &degrees" (180): the pixels
// rebuilt, pixel width and height exchanged by a quarter turn, "Image Rotated %g degrees.".
TResult TurnImagePixels(TRadiograph& radiograph, int degrees);
// "Flip &Horizontal" / "Flip &Vertical": "Image Flipped.".
TResult FlipImage(TRadiograph& radiograph, bool horizontal);
// "U&ndo / Redo Image": the bitmap, and after a geometry operation the samples and the
// image's place too, exchanged with the undo copy.
void SwapImageUndo(TRadiograph& radiograph);

// The "Scale Image" dialog's three applies and "&Default", each recording "Image
// Resized.". Values that are absent (did not parse), not finite or not positive give
// "Invalid Values.".
TResult ApplyImageSize(TRadiograph& radiograph, std::optional<double> widthMm, std::optional<double> heightMm);
TResult ApplyPixelSize(TRadiograph& radiograph, std::optional<double> pixelWidth, std::optional<double> pixelHeight);
// Without `downsample` the pixel size becomes 254 / dpi both ways. With it the pixels are
// shrunk to the resolution: "Only downsampling to a lower resolution is supported." for a
// higher one.
TResult ApplyResolution(TRadiograph& radiograph, std::optional<double> dpi, bool downsample);
// Shrinks the pixels to width x height (1 to 30000 a side, never larger than now); the
// pixel size grows so that the image keeps its size on the tracing.
TResult DownsampleImage(TRadiograph& radiograph, int width, int height);

enum class TAlignResize { None, Image, Tracing };
struct TAlignOptions {
  TAlignResize Resize = TAlignResize::Image;
  bool TranslateImage = true;  // else the tracing
  bool RotateImage = true;
};
// Brings the marks M1, M2 (image features, in tracing units) and the tracing points T1, T2
// into register: the image or the tracing is scaled, moved and turned as the options say.
// "Cannot align. Points not valid." when a point is not finite, "Cannot align. Invalid
// point distance." when either distance is 0 or both are equal. The lock is off for the
// duration; the tracing's movements are not logged.
TResult DoTheAlign(TRadiograph& radiograph, TFloatPoint t1, TFloatPoint t2, TFloatPoint m2, TFloatPoint m1,
                   const TAlignOptions& options);

// "Align Tracing" from two marks: the first click of the digitize tool marks where the
// image shows the first chosen point, the second where it shows the second; then the image
// and tracing are brought into register and the marks are dropped.
class TTwoPointAlignment {
 public:
  const std::vector<TFloatPoint>& Marks() const { return fMarks; }
  // True once the second mark has aligned; false while waiting for it. The same point
  // chosen twice, a point that is not valid or the refusals of DoTheAlign are failures,
  // after which the marks are dropped as well.
  TResultOf<bool> AddPoint(TRadiograph& radiograph, TFloatPoint at, const std::string& first, const std::string& second,
                           const TAlignOptions& options);
  void Clear() { fMarks.clear(); }

 private:
  std::vector<TFloatPoint> fMarks;
};

}  // namespace lumacet
