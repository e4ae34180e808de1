// The Image Translate tool: handles at fixed places of the display that move, resize and
// turn the image under the tracing, a drag from press to release or Esc, the arrow keys and
// the double click. Every change goes through SetImagePosition / SetImageRotation, so the
// tracing comes along exactly when the lock is on.
#pragma once

#include <string>
#include <vector>

#include "geometry/coordinates.h"
#include "simulation/movement_tool.h"
#include "support/result.h"

namespace lumacet {

class TRadiograph;

// The sides are those of the image's own frame, top being row 0.
enum class TImageHandle {
  Body = 0,
  TopLeft,
  Top,
  TopRight,
  Left,
  Right,
  BottomLeft,
  Bottom,
  BottomRight,
  TurnTopLeft,
  TurnTopRight,
  TurnBottomLeft,
  TurnBottomRight,
  Centre,
};

bool IsResizeHandle(TImageHandle handle);
bool IsTurnHandle(TImageHandle handle);

struct TImageHandlePlace {
  TImageHandle Handle;
  TFloatPoint At;
};

// Where the handles stand, given the display points at one eighth and seven eighths of the
// display's width and height (in tracing units), the size (a, c) of a marker in tracing
// units, and the rotation centre. The places follow the display, not the image, so the
// handles stay reachable however far the image has been moved.
struct TDisplayEighths {
  TFloatPoint TopLeft, TopRight, BottomLeft, BottomRight;
};
std::vector<TImageHandlePlace> ImageHandlePlaces(const TDisplayEighths& display, TFloatPoint markerSize,
                                                 TFloatPoint centre);
// The handle whose marker covers `at` (edges included), the image body when none does.
TImageHandle ImageHandleAt(const std::vector<TImageHandlePlace>& places, TFloatPoint markerSize, TFloatPoint at);

class TImageTranslateTool {
 public:
  bool Dragging() const { return fDragging; }
  TImageHandle Handle() const { return fHandle; }
  // The press: the drag starts on `handle` and the image's place is kept for Esc.
  void Begin(const TRadiograph& radiograph, TImageHandle handle, TFloatPoint at, TFloatPoint centre);
  // The mouse at `at`; `ctrl` lets a corner change width and height freely. True when the
  // image (or, for the centre handle, the centre) moved.
  bool Step(TRadiograph& radiograph, TFloatPoint at, bool ctrl, bool locked);
  // The release: "Image Repositioned." or "Image Resized." recorded when the image's place
  // changed; the centre handle
  // hands back where the rotation centre now stands.
  TFloatPoint End(TRadiograph& radiograph);
  // Esc: the image (and under the lock the tracing) back where the press found it.
  void Cancel(TRadiograph& radiograph, bool locked);
  // Where the rotation centre is being dragged, while the centre handle is.
  TFloatPoint CentreDrag() const { return fLast; }
  // The status bar during the drag, numbers with `decimalSeparator`.
  std::string Status(const TRadiograph& radiograph, char decimalSeparator) const;

 private:
  bool fDragging = false;
  TImageHandle fHandle = TImageHandle::Body;
  TFloatPoint fPressed, fLast, fCentre;
  double fOriginX = 0, fOriginY = 0, fPixelWidth = 0, fPixelHeight = 0, fRotation = 0;
};

// The status bar while the pointer rests: the image's origin and rotation.
std::string ImagePlaceStatus(const TRadiograph& radiograph, char decimalSeparator);

// A double click on `handle`: the image back at (0, 0) or unturned ("Image Repositioned."),
// or, on the centre handle, the rotation centre at (0, 0), which `centre` receives.
void ResetImagePlace(TRadiograph& radiograph, TImageHandle handle, bool locked, TFloatPoint& centre);

// An arrow key with the handle last found under the pointer: the body moves the image 10
// tracing units, a turn handle turns it 1 degree about `centre`; a tenth with Ctrl, ten
// times with Shift. False when the handle takes no keys.
bool ImageArrowKey(TRadiograph& radiograph, TImageHandle handle, TArrowKey key, bool ctrl, bool shift, bool locked,
                   TFloatPoint centre);

}  // namespace lumacet
