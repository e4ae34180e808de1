// The interactive side of movements: a drag of the Translate, Rotate and Rotation Center
// tools or of the Select / Move tool's handles, the arrow keys, and the numbers typed into
// the "Move" and "Scale by..." dialogs. A drag always shows the tracing as it was when the
// drag began plus one movement of the total so far, so no rounding accumulates and the
// movement logged at the end is exactly what was shown.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/movement.h"
#include "simulation/movements.h"

namespace lumacet {

class TXRayElement;
class TXRPoint;

// What a drag is doing: the rotation-centre handle, a translation (a handle or the tool), a
// rotation, one point dragged by its marker.
enum class TDragMode { None, Centre, Translate, Rotate, Marker };
// The Translate tool's drop-down: "&No constraint", "Constrain along &X-axis", "... &Y-axis".
enum class TTranslateConstraint { None, AlongX, AlongY };

struct TDragOptions {
  bool Snap = false;  // whole millimetres and whole degrees
  TTranslateConstraint Constraint = TTranslateConstraint::None;
  TMovementOptions Movement;
};

class TMovementTool {
 public:
  // Persists between drags and across radiographs until set again.
  TFloatPoint RotationCentre;

  TDragMode Mode() const { return fMode; }
  bool Dragging() const { return fMode != TDragMode::None; }
  // Starts a drag at `at`. A press on a point's marker (`marker`) makes that point the
  // selection until the drag ends. A translation or rotation needs a selection: false, and
  // nothing starts, without one. Change recording pauses until the drag ends.
  bool Begin(TRadiograph& radiograph, TFloatPoint at, TDragMode mode, TXRayElement* marker = nullptr);
  // The mouse at `at`: the tracing put back and the total movement performed. True when
  // anything moved (a snapped step below half a unit moves nothing).
  bool Step(TRadiograph& radiograph, TFloatPoint at, const TDragOptions& options);
  // The mouse released: the tracing put back and the total performed once more, logged.
  // The centre handle's drag sets the rotation centre instead.
  TResult End(TRadiograph& radiograph, const TDragOptions& options);
  // Esc: the tracing as it was, nothing logged.
  void Cancel(TRadiograph& radiograph, const TMovementOptions& options);
  // Where the rotation-centre handle is being dragged.
  TFloatPoint CentreDrag() const { return fLast; }

  // The movement the drag has made so far.
  TMovement Total() const;
  // The status bar during the drag, numbers with `decimalSeparator`; the "(Right-click to
  // redraw)" hint only with `redrawHint`.
  std::string Status(char decimalSeparator, bool redrawHint) const;

 private:
  struct TSaved {
    TXRPoint* Point;
    TFloatPoint At;
  };
  void Restore(TRadiograph& radiograph);
  void Finish(TRadiograph& radiograph);

  TDragMode fMode = TDragMode::None;
  TFloatPoint fStart, fLast;
  double fAngle = 0;
  std::vector<TSaved> fRevert;
  std::optional<std::vector<TXRayElement*>> fSavedSelection;
  bool fHistoryWasEnabled = true;
};

enum class TArrowKey { Left, Right, Up, Down };

// One press of an arrow key with the Translate tool (1 mm) or the Rotate tool (1 degree
// about `centre`): a tenth with Ctrl, ten times with Shift.
TMovement KeyboardMovement(TArrowKey key, bool rotate, bool ctrl, bool shift, TFloatPoint centre);

// The "Move" dialog's fields, typed in millimetres and degrees with the user's separator.
// Refused, with a message naming the field, when a text is not a number or a shift reaches
// beyond the 300 mm display; angles are taken modulo a full turn.
TResultOf<TMovement> TypedTranslation(std::string_view dx, std::string_view dy, char decimalSeparator);
TResultOf<TMovement> TypedRotation(std::string_view degrees, TFloatPoint centre, char decimalSeparator);
// The rotation centre typed in tracing units: whole numbers within the display's reach.
TResultOf<TFloatPoint> TypedCentre(std::string_view x, std::string_view y, char decimalSeparator);

// The "Scale by..." dialog's "&Other:" factor: refused, with a message, unless a number
// greater than 0.
TResultOf<double> TypedScaleFactor(std::string_view factor, char decimalSeparator);

// Whether scaling by the factor makes the tracing wider or higher than the 300 mm display.
bool ScaleExceedsDisplay(TRadiograph& radiograph, double factor);
// "Scale by...": the whole tracing scaled and logged.
TResult ScaleTracing(TRadiograph& radiograph, double factor, const TMovementOptions& options);
// "Flip &Vertical" / "Flip &Horizontal": the selection mirrored and logged.
TResult FlipSelection(TRadiograph& radiograph, bool vertical, const TMovementOptions& options);

}  // namespace lumacet
