#include "simulation/image_translate.h"

#include <algorithm>
#include <cmath>

#include "geometry/plane_geometry.h"
#include "measure/number_format.h"
#include "model/radiograph.h"
#include "simulation/image_geometry.h"

namespace lumacet {

namespace {

// Halves the way integer division does, so that the middle handles sit on whole units.
double HalfWay(double a, double b) { return std::trunc((a + b) / 2); }

}  // namespace

bool IsResizeHandle(TImageHandle handle) {
  return handle >= TImageHandle::TopLeft && handle <= TImageHandle::BottomRight;
}

bool IsTurnHandle(TImageHandle handle) {
  return handle >= TImageHandle::TurnTopLeft && handle <= TImageHandle::TurnBottomRight;
}

std::vector<TImageHandlePlace> ImageHandlePlaces(const TDisplayEighths& d, TFloatPoint size, TFloatPoint centre) {
  const double a = size.X;
  const double c = size.Y;
  const double middleY = HalfWay(d.TopLeft.Y, d.BottomLeft.Y);
  return {
      {TImageHandle::TopLeft, {d.TopLeft.X + a, d.TopLeft.Y + c}},
      {TImageHandle::Top, {HalfWay(d.TopLeft.X, d.TopRight.X), d.TopLeft.Y + c}},
      {TImageHandle::TopRight, {d.TopRight.X - a, d.TopRight.Y + c}},
      {TImageHandle::Left, {d.TopLeft.X + a, middleY}},
      {TImageHandle::Right, {d.TopRight.X - a, middleY}},
      {TImageHandle::BottomLeft, {d.BottomLeft.X + a, d.BottomLeft.Y - c}},
      {TImageHandle::Bottom, {HalfWay(d.BottomLeft.X, d.BottomRight.X), d.BottomLeft.Y - c}},
      {TImageHandle::BottomRight, {d.BottomRight.X - a, d.BottomRight.Y - c}},
      {TImageHandle::TurnTopLeft, d.TopLeft},
      {TImageHandle::TurnTopRight, d.TopRight},
      {TImageHandle::TurnBottomLeft, d.BottomLeft},
      {TImageHandle::TurnBottomRight, d.BottomRight},
      {TImageHandle::Centre, centre},
  };
}

TImageHandle ImageHandleAt(const std::vector<TImageHandlePlace>& places, TFloatPoint size, TFloatPoint at) {
  for (const TImageHandlePlace& place : places)
    if (std::abs(at.X - place.At.X) <= size.X / 2 && std::abs(at.Y - place.At.Y) <= size.Y / 2) return place.Handle;
  return TImageHandle::Body;
}

void TImageTranslateTool::Begin(const TRadiograph& r, TImageHandle handle, TFloatPoint at, TFloatPoint centre) {
  fDragging = true;
  fHandle = handle;
  fPressed = fLast = at;
  fCentre = centre;
  fOriginX = r.ImageOriginX;
  fOriginY = r.ImageOriginY;
  fPixelWidth = r.PixelWidth;
  fPixelHeight = r.PixelHeight;
  fRotation = r.ImageRotation;
}

bool TImageTranslateTool::Step(TRadiograph& r, TFloatPoint at, bool ctrl, bool locked) {
  if (!fDragging || !std::isfinite(at.X) || !std::isfinite(at.Y)) return false;
  const TFloatPoint last = fLast;
  fLast = at;
  if (fHandle == TImageHandle::Centre) return true;
  if (fHandle == TImageHandle::Body)
    return SetImagePosition(r, locked, r.ImageOriginX + at.X - last.X, r.ImageOriginY + at.Y - last.Y).Ok();
  if (IsTurnHandle(fHandle)) {
    // SetImageRotation reduces the new rotation into a full turn.
    const double step = AngleBetweenLines(last, fCentre, at, fCentre);
    return std::isfinite(step) && SetImageRotation(r, locked, fCentre, r.ImageRotation + step).Ok();
  }
  const double w = r.Image.Display.Width;
  const double h = r.Image.Display.Height;
  if (w <= 0 || h <= 0) return false;
  const double dx = at.X - fPressed.X;
  const double dy = at.Y - fPressed.Y;
  const double left = (w * fPixelWidth - dx) / w;
  const double right = (w * fPixelWidth + dx) / w;
  const double top = (h * fPixelHeight - dy) / h;
  const double bottom = (h * fPixelHeight + dy) / h;
  const double cs = std::cos(r.ImageRotation);
  const double sn = std::sin(r.ImageRotation);
  // The origin placed so that the right (or bottom) side stays where the press found it.
  auto keepRight = [&](double x, double y, double p) {
    r.ImageOriginX = x + w * (fPixelWidth - p) * cs;
    r.ImageOriginY = y + w * (fPixelWidth - p) * sn;
  };
  auto keepBottom = [&](double x, double y, double p) {
    r.ImageOriginX = x - h * (fPixelHeight - p) * sn;
    r.ImageOriginY = y + h * (fPixelHeight - p) * cs;
  };
  using enum TImageHandle;
  switch (fHandle) {
    case TopLeft:
      if (ctrl && top > 0 && left > 0) {
        keepRight(fOriginX, fOriginY, left);
        keepBottom(r.ImageOriginX, r.ImageOriginY, top);
        r.PixelWidth = left;
        r.PixelHeight = top;
      } else {
        const double m = std::min(top, left);
        if (m <= 0) return false;
        keepRight(fOriginX, fOriginY, m);
        keepBottom(r.ImageOriginX, r.ImageOriginY, m);
        r.PixelWidth = r.PixelHeight = m;
      }
      return true;
    case Top:
      if (top <= 0) return false;
      r.PixelHeight = top;
      keepBottom(fOriginX, fOriginY, top);
      return true;
    case TopRight:
      if (ctrl) {
        if (top > 0) {
          r.PixelHeight = top;
          keepBottom(fOriginX, fOriginY, top);
        }
        if (right > 0 && at.X > fOriginX) r.PixelWidth = right;
      } else {
        const double m = std::min(top, right);
        if (m <= 0) return false;
        keepBottom(fOriginX, fOriginY, m);
        r.PixelWidth = r.PixelHeight = m;
      }
      return true;
    case Left:
      if (left <= 0) return false;
      r.PixelWidth = left;
      keepRight(fOriginX, fOriginY, left);
      return true;
    case Right:
      if (right <= 0) return false;
      r.PixelWidth = right;
      return true;
    case BottomLeft:
      if (ctrl) {
        if (left > 0) {
          r.PixelWidth = left;
          keepRight(fOriginX, fOriginY, left);
        }
        if (bottom > 0) r.PixelHeight = bottom;
      } else {
        const double m = std::min(bottom, left);
        if (m <= 0) return false;
        r.PixelWidth = r.PixelHeight = m;
        keepRight(fOriginX, fOriginY, m);
      }
      return true;
    case Bottom:
      if (bottom <= 0) return false;
      r.PixelHeight = bottom;
      return true;
    case BottomRight:
      if (ctrl) {
        if (right > 0) r.PixelWidth = right;
        if (bottom > 0) r.PixelHeight = bottom;
      } else {
        const double m = std::min(bottom, right);
        if (m <= 0) return false;
        r.PixelWidth = r.PixelHeight = m;
      }
      return true;
    default: return false;
  }
}

TFloatPoint TImageTranslateTool::End(TRadiograph& r) {
  fDragging = false;
  if (fHandle == TImageHandle::Centre) return fLast;
  // A click that moved nothing is no change to the radiograph.
  const bool moved = r.ImageOriginX != fOriginX || r.ImageOriginY != fOriginY || r.PixelWidth != fPixelWidth ||
                     r.PixelHeight != fPixelHeight || r.ImageRotation != fRotation;
  if (moved) r.RecordChange(true, IsResizeHandle(fHandle) ? "Image Resized." : "Image Repositioned.");
  return fCentre;
}

void TImageTranslateTool::Cancel(TRadiograph& r, bool locked) {
  if (!fDragging) return;
  fDragging = false;
  if (fHandle == TImageHandle::Centre) return;
  if (fHandle == TImageHandle::Body) {
    static_cast<void>(SetImagePosition(r, locked, fOriginX, fOriginY));
    return;
  }
  // A turn under the lock took the tracing along: it turns back first, then the image's
  // place is put back exactly.
  if (IsTurnHandle(fHandle) && locked) static_cast<void>(SetImageRotation(r, true, fCentre, fRotation));
  r.ImageOriginX = fOriginX;
  r.ImageOriginY = fOriginY;
  r.PixelWidth = fPixelWidth;
  r.PixelHeight = fPixelHeight;
  r.ImageRotation = fRotation;
}

std::string TImageTranslateTool::Status(const TRadiograph& r, char separator) const {
  if (!fDragging) return {};
  if (fHandle == TImageHandle::Centre)
    return " x: " + FormatNumber(fLast.X / 10, "0.##", separator) + " y: " + FormatNumber(fLast.Y / 10, "0.##", separator);
  return " dx: " + FormatNumber(fPressed.X - fLast.X, "0.##", separator) +
         " dy: " + FormatNumber(fPressed.Y - fLast.Y, "0.##", separator) +
         " angle: " + FormatNumber(RadToDeg(r.ImageRotation), "0.#", separator);
}

std::string ImagePlaceStatus(const TRadiograph& r, char separator) {
  return " x: " + FormatNumber(r.ImageOriginX, "0.##", separator) + " y: " +
         FormatNumber(r.ImageOriginY, "0.##", separator) + " angle: " +
         FormatNumber(RadToDeg(r.ImageRotation), "0.#", separator);
}

void ResetImagePlace(TRadiograph& r, TImageHandle handle, bool locked, TFloatPoint& centre) {
  if (handle == TImageHandle::Centre) {
    centre = {0, 0};
    return;
  }
  const TResult reset =
      IsTurnHandle(handle) ? SetImageRotation(r, locked, centre, 0) : SetImagePosition(r, locked, 0, 0);
  if (reset) r.RecordChange(true, "Image Repositioned.");
}

bool ImageArrowKey(TRadiograph& r, TImageHandle handle, TArrowKey key, bool ctrl, bool shift, bool locked,
                   TFloatPoint centre) {
  const double multiplier = ctrl ? 0.1 : shift ? 10 : 1;
  const bool backwards = key == TArrowKey::Left || key == TArrowKey::Up;
  const double sign = backwards ? -1 : 1;
  if (handle == TImageHandle::Body) {
    const bool horizontal = key == TArrowKey::Left || key == TArrowKey::Right;
    const double step = 10 * multiplier * sign;
    return SetImagePosition(r, locked, r.ImageOriginX + (horizontal ? step : 0), r.ImageOriginY + (horizontal ? 0 : step))
        .Ok();
  }
  if (IsTurnHandle(handle))
    return SetImageRotation(r, locked, centre, r.ImageRotation + DegToRad(multiplier * sign)).Ok();
  return false;
}

}  // namespace lumacet
