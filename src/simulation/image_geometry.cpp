#include "simulation/image_geometry.h"

#include <cmath>
#include <numbers>
#include <utility>

#include "geometry/plane_geometry.h"
#include "imaging/image_frame.h"
#include "imaging/pixel_geometry.h"
#include "model/point_geometry.h"
#include "model/radiograph.h"
#include "model/xray_type.h"

namespace lumacet {

namespace {

constexpr double kFullTurn = 2 * std::numbers::pi;
// Tracing units (100 m): an image placed farther is a slip of the keyboard.
constexpr double kFarthest = 1e6;

TResult InvalidValues() { return TResult::Failure(LcText("ImageGeometry", "Invalid Values.")); }
TResult NoImage() { return TResult::Failure(LcText("ImageGeometry", "There is no image.")); }

bool Positive(std::optional<double> value) { return value && std::isfinite(*value) && *value > 0; }
bool Finite(TFloatPoint p) { return std::isfinite(p.X) && std::isfinite(p.Y); }

TFloatPoint Turned(TFloatPoint p, TFloatPoint centre, double angle) {
  const double c = std::cos(angle);
  const double s = std::sin(angle);
  return {centre.X + (p.X - centre.X) * c - (p.Y - centre.Y) * s,
          centre.Y + (p.X - centre.X) * s + (p.Y - centre.Y) * c};
}

void SetFrame(TRadiograph& r, const TImageFrame& f) {
  r.ImageOriginX = f.OriginX;
  r.ImageOriginY = f.OriginY;
  r.PixelWidth = f.PixelWidth;
  r.PixelHeight = f.PixelHeight;
  r.ImageRotation = f.Rotation;
}

// A movement of the whole tracing that leaves the image where it is: the callers place the
// image themselves.
TResult MoveTracing(TRadiograph& r, const TMovement& m) {
  if (r.Type() == nullptr) return {};
  return ApplyMovement(m, r, TMovementOptions{.Connected = false, .TracingLocked = false});
}

double Reduced(double radians) {
  double reduced = std::fmod(radians, kFullTurn);
  if (reduced < 0) reduced += kFullTurn;
  return reduced >= kFullTurn ? 0 : reduced;
}

// Both the display and the samples, when there are samples of the same picture.
template <typename Operation>
void OnPixels(TRadiograph& r, const Operation& operation) {
  operation(r.Image.Display);
  if (r.Image.Raw.HasData()) operation(r.Image.Raw);
}

TResult Shrink(TRadiograph& r, int width, int height, double pixelWidth, double pixelHeight) {
  const TBitmap32& display = r.Image.Display;
  if (width < 1 || height < 1 || width > kMaxImageSide || height > kMaxImageSide) return InvalidValues();
  if (width > display.Width || height > display.Height)
    return TResult::Failure(LcText("ImageGeometry", "Only downsampling to a lower resolution is supported."));
  r.Image.SaveGeometryUndo(display, r.Image.Raw, ImageFrameOf(r));
  OnPixels(r, [width, height](auto& pixels) { Downsample(pixels, width, height); });
  r.PixelWidth = pixelWidth;
  r.PixelHeight = pixelHeight;
  r.RecordImageChange(true, "Image Resized.");
  return {};
}

}  // namespace

TResult SetImagePosition(TRadiograph& r, bool follow, double x, double y) {
  if (!std::isfinite(x) || !std::isfinite(y) || std::abs(x) > kFarthest || std::abs(y) > kFarthest)
    return InvalidValues();
  if (follow) {
    const TMovement step{.Kind = mkTranslateAll, .Dx = x - r.ImageOriginX, .Dy = y - r.ImageOriginY};
    if (TResult moved = MoveTracing(r, step); !moved) return moved;
  }
  r.ImageOriginX = x;
  r.ImageOriginY = y;
  return {};
}

TResult SetImageRotation(TRadiograph& r, bool follow, TFloatPoint centre, double radians) {
  if (!std::isfinite(radians) || !Finite(centre)) return InvalidValues();
  if (follow) {
    const TMovement turn{.Kind = mkRotateAll, .Angle = radians - r.ImageRotation, .Centre = centre};
    if (TResult moved = MoveTracing(r, turn); !moved) return moved;
  }
  TurnImage(r, centre, radians);
  return {};
}

void TurnImage(TRadiograph& r, TFloatPoint centre, double radians) {
  const TFloatPoint origin = Turned({r.ImageOriginX, r.ImageOriginY}, centre, radians - r.ImageRotation);
  r.ImageOriginX = origin.X;
  r.ImageOriginY = origin.Y;
  r.ImageRotation = Reduced(radians);
}

TResult RotateImagePixels(TRadiograph& r, TFloatPoint centre, double radians) {
  if (!r.Image.HasImage()) return NoImage();
  if (!std::isfinite(radians) || !Finite(centre)) return InvalidValues();
  const TBitmap32& display = r.Image.Display;
  const TPixelSize size = RotatedSize(display.Width, display.Height, -radians);
  if (size.Width > kMaxImageSide || size.Height > kMaxImageSide) return InvalidValues();
  const TFloatPoint origin{r.ImageOriginX, r.ImageOriginY};
  const TFloatPoint middle =
      Turned({origin.X + display.Width * r.PixelWidth / 2, origin.Y + display.Height * r.PixelHeight / 2}, origin,
             r.ImageRotation);
  const TFloatPoint z = Turned(middle, centre, radians);
  // The samples first: a failure there leaves the display as it was too.
  if (r.Image.Raw.HasData() && !RotateBitmap(r.Image.Raw, -radians)) return InvalidValues();
  if (!RotateBitmap(r.Image.Display, -radians)) return InvalidValues();
  const TBitmap32& turned = r.Image.Display;
  const TFloatPoint corner = Turned({z.X - turned.Width * r.PixelWidth / 2, z.Y - turned.Height * r.PixelHeight / 2}, z,
                                    r.ImageRotation);
  r.ImageOriginX = corner.X;
  r.ImageOriginY = corner.Y;
  return {};
}

TImageRotation::TImageRotation(TRadiograph& radiograph, TFloatPoint centre, bool locked)
    : fRadiograph(radiograph),
      fCentre(centre),
      fLocked(locked),
      fDisplay(radiograph.Image.Display),
      fRaw(radiograph.Image.Raw),
      fFrame(ImageFrameOf(radiograph)) {}

void TImageRotation::Restore() {
  fRadiograph.Image.Display = fDisplay;
  fRadiograph.Image.Raw = fRaw;
  SetFrame(fRadiograph, fFrame);
  if (fLocked && fAccumulated != 0)
    static_cast<void>(MoveTracing(fRadiograph, {.Kind = mkRotateAll, .Angle = -fAccumulated, .Centre = fCentre}));
  fAccumulated = 0;
}

TResult TImageRotation::SetAt(double degrees) {
  if (!std::isfinite(degrees)) return InvalidValues();
  Restore();
  const double radians = DegToRad(degrees);
  if (TResult turned = RotateImagePixels(fRadiograph, fCentre, radians); !turned) return turned;
  if (fLocked) {
    if (TResult moved = MoveTracing(fRadiograph, {.Kind = mkRotateAll, .Angle = radians, .Centre = fCentre}); !moved) {
      Restore();
      return moved;
    }
  }
  fAccumulated = radians;
  fChanged = true;
  return {};
}

TResult TImageRotation::ConvertToCurrentRotation() {
  Restore();
  const double rho = fRadiograph.ImageRotation;
  const TFloatPoint origin{fRadiograph.ImageOriginX, fRadiograph.ImageOriginY};
  fRadiograph.ImageRotation = 0;
  if (TResult turned = RotateImagePixels(fRadiograph, origin, rho); !turned) {
    Restore();
    return turned;
  }
  fChanged = true;
  return {};
}

void TImageRotation::Ok() {
  if (!fChanged) return;
  fRadiograph.Image.SaveGeometryUndo(fDisplay, fRaw, fFrame);
  fRadiograph.RecordImageChange(true, "Image Rotated.");
}

void TImageRotation::Cancel() { Restore(); }

TResult TurnImagePixels(TRadiograph& r, int degrees) {
  if (!r.Image.HasImage()) return NoImage();
  if (degrees != -90 && degrees != 90 && degrees != 180) return InvalidValues();
  r.Image.SaveGeometryUndo(r.Image.Display, r.Image.Raw, ImageFrameOf(r));
  OnPixels(r, [degrees](auto& pixels) { QuarterTurn(pixels, degrees); });
  // The pixels' own width is now their height.
  if (degrees != 180) std::swap(r.PixelWidth, r.PixelHeight);
  r.RecordImageChange(true, "Image Rotated " + std::to_string(degrees) + " degrees.");
  return {};
}

TResult FlipImage(TRadiograph& r, bool horizontal) {
  if (!r.Image.HasImage()) return NoImage();
  r.Image.SaveGeometryUndo(r.Image.Display, r.Image.Raw, ImageFrameOf(r));
  OnPixels(r, [horizontal](auto& pixels) { Flip(pixels, horizontal); });
  r.RecordImageChange(true, "Image Flipped.");
  return {};
}

void SwapImageUndo(TRadiograph& r) {
  if (!r.Image.CanUndo()) return;
  r.Image.SwapImageUndo();
  if (r.Image.UndoFrame) {
    const TImageFrame now = ImageFrameOf(r);
    SetFrame(r, *r.Image.UndoFrame);
    r.Image.UndoFrame = now;
  }
  r.RecordImageChange(true, "");
}

TResult ApplyImageSize(TRadiograph& r, std::optional<double> widthMm, std::optional<double> heightMm) {
  if (!r.Image.HasImage()) return NoImage();
  if (!Positive(widthMm) || !Positive(heightMm)) return InvalidValues();
  return ApplyPixelSize(r, 10 * *widthMm / r.Image.Display.Width, 10 * *heightMm / r.Image.Display.Height);
}

TResult ApplyPixelSize(TRadiograph& r, std::optional<double> pixelWidth, std::optional<double> pixelHeight) {
  if (!Positive(pixelWidth) || !Positive(pixelHeight) || *pixelWidth > kFarthest || *pixelHeight > kFarthest)
    return InvalidValues();
  r.PixelWidth = *pixelWidth;
  r.PixelHeight = *pixelHeight;
  r.RecordChange(true, "Image Resized.");
  return {};
}

TResult ApplyResolution(TRadiograph& r, std::optional<double> dpi, bool downsample) {
  if (!Positive(dpi)) return InvalidValues();
  if (!downsample) return ApplyPixelSize(r, 254 / *dpi, 254 / *dpi);
  if (!r.Image.HasImage()) return NoImage();
  const double fx = r.PixelWidth * *dpi / 254;
  const double fy = r.PixelHeight * *dpi / 254;
  if (!(fx > 0) || !(fy > 0)) return InvalidValues();
  if (fx > 1 || fy > 1)
    return TResult::Failure(LcText("ImageGeometry", "Only downsampling to a lower resolution is supported."));
  const double w = std::nearbyint(r.Image.Display.Width * fx);
  const double h = std::nearbyint(r.Image.Display.Height * fy);
  return Shrink(r, static_cast<int>(w), static_cast<int>(h), r.PixelWidth / fx, r.PixelHeight / fy);
}

TResult DownsampleImage(TRadiograph& r, int width, int height) {
  if (!r.Image.HasImage()) return NoImage();
  const TBitmap32& display = r.Image.Display;
  return Shrink(r, width, height, r.PixelWidth * display.Width / width, r.PixelHeight * display.Height / height);
}

TResult DoTheAlign(TRadiograph& r, TFloatPoint t1, TFloatPoint t2, TFloatPoint m2, TFloatPoint m1,
                   const TAlignOptions& options) {
  if (!Finite(t1) || !Finite(t2) || !Finite(m1) || !Finite(m2))
    return TResult::Failure(LcText("ImageGeometry", "Cannot align. Points not valid."));
  const double dT = Distance(t1, t2);
  const double dM = Distance(m1, m2);
  if (dT == dM || dM == 0 || dT == 0 || !std::isfinite(dT / dM))
    return TResult::Failure(LcText("ImageGeometry", "Cannot align. Invalid point distance."));
  // The tracing points are followed through every movement of the tracing, the marks
  // through every change of the image, as plain positions.
  switch (options.Resize) {
    case TAlignResize::None: break;
    case TAlignResize::Image: {
      const double k = dT / dM;
      const TFloatPoint o{r.ImageOriginX, r.ImageOriginY};
      r.PixelWidth *= k;
      r.PixelHeight *= k;
      m1 = {o.X + k * (m1.X - o.X), o.Y + k * (m1.Y - o.Y)};
      m2 = {o.X + k * (m2.X - o.X), o.Y + k * (m2.Y - o.Y)};
      break;
    }
    case TAlignResize::Tracing: {
      const double f = dM / dT;
      // Scaling turns about the centroid of the digitized points, as ApplyMovement does.
      TFloatPoint c;
      if (r.Type() != nullptr) {
        const TLoadedRadiograph loaded = r.Load();
        std::vector<TXRPoint*> digitized;
        for (const auto& e : loaded.Type()->ElementList(ekDigPoint)) digitized.push_back(static_cast<TXRPoint*>(e.get()));
        c = Centroid(digitized).value_or(TFloatPoint{});
      }
      if (TResult scaled = MoveTracing(r, {.Kind = mkScale, .Dx = f}); !scaled) return scaled;
      t1 = {c.X + f * (t1.X - c.X), c.Y + f * (t1.Y - c.Y)};
      t2 = {c.X + f * (t2.X - c.X), c.Y + f * (t2.Y - c.Y)};
      break;
    }
  }
  if (options.TranslateImage) {
    const TFloatPoint step{t1.X - m1.X, t1.Y - m1.Y};
    static_cast<void>(SetImagePosition(r, false, r.ImageOriginX + step.X, r.ImageOriginY + step.Y));
    m1 = {m1.X + step.X, m1.Y + step.Y};
    m2 = {m2.X + step.X, m2.Y + step.Y};
    r.RecordChange(true, "Image Repositioned.");
  } else {
    const TFloatPoint step{m1.X - t1.X, m1.Y - t1.Y};
    if (TResult moved = MoveTracing(r, {.Kind = mkTranslateAll, .Dx = step.X, .Dy = step.Y}); !moved) return moved;
    t1 = {t1.X + step.X, t1.Y + step.Y};
    t2 = {t2.X + step.X, t2.Y + step.Y};
  }
  const double theta = AngleBetweenLines(m1, m2, t1, t2);
  if (theta != 0 && std::isfinite(theta)) {
    if (options.RotateImage) {
      static_cast<void>(SetImageRotation(r, false, t1, r.ImageRotation + theta));
      r.RecordChange(true, "Image Repositioned.");
    } else if (TResult turned = MoveTracing(r, {.Kind = mkRotateAll, .Angle = -theta, .Centre = t1}); !turned) {
      return turned;
    }
  }
  return {};
}

TResultOf<bool> TTwoPointAlignment::AddPoint(TRadiograph& r, TFloatPoint at, const std::string& first,
                                             const std::string& second, const TAlignOptions& options) {
  fMarks.push_back(at);
  if (fMarks.size() < 2) return false;
  const TFloatPoint m1 = fMarks[0];
  const TFloatPoint m2 = fMarks[1];
  fMarks.clear();
  if (first == second)
    return TResult::Failure(LcText("ImageGeometry",
                                   "Cannot align. You selected to mark the same point twice.\r\n\r\nSelect different "
                                   "points in the drop-down list boxes and try again."));
  const TXRayType* type = r.Type();
  if (type == nullptr) return TResult::Failure(LcText("ImageGeometry", "Cannot align. Points not valid."));
  const auto find = [type](const std::string& name) {
    TXRayElement* e = type->FindElement(name, ekDigPoint);
    return e != nullptr ? e : type->FindElement(name, ekDerPoint);
  };
  std::optional<TFloatPoint> t1, t2;
  {
    const TLoadedRadiograph loaded = r.Load();
    t1 = loaded.Position(find(first));
    t2 = loaded.Position(find(second));
  }
  if (!t1 || !t2) return TResult::Failure(LcText("ImageGeometry", "Cannot align. Points not valid."));
  if (TResult aligned = DoTheAlign(r, *t1, *t2, m2, m1, options); !aligned) return aligned;
  return true;
}

}  // namespace lumacet
