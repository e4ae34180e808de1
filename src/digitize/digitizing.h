// The digitizing of one radiograph: its protocol and the element to place next, every
// placement of every point (averaged, checked against the error margin), the two-point
// re-registration of a tracing whose film has moved, snakes guessed, resampled and fitted,
// and the count of what was placed when digitizing ends.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "digitize/grey_plane.h"
#include "geometry/coordinates.h"
#include "model/movement.h"
#include "support/result.h"

namespace lumacet {

class TDigPoint;
class TDigSnake;
class TXRay;
class TXRayType;
class TXRayElement;
class TXRProtocol;

enum TDigitizeMode : int {
  dmFirstOrientation = -3,   // "Enter:\r\nFirst Orientation Point"
  dmSecondOrientation = -2,  // "Enter:\r\nSecond Orientation Point"
  dmOriented = -1,           // "Proceed with Digitization?"
  dmDigitizing = 0,
};

// What a click did.
struct TPlacement {
  bool Placed = false;
  int Beeps = 0;          // the protocol's beep, and two more for a spread beyond the margin
  bool Advanced = false;  // auto advance selected the next element
};

// What Ctrl+Z would take back.
enum class TDigitizeStep { Nothing, Placement, SnakeChange, Orientation };

// What dragging a handle of a snake does.
enum class TSnakeDrag { Point, Translate, Rotate };

struct TDigitizeStatistics {
  int Total = 0;        // digitized points of the type
  int Digitized = 0;    // with placements since digitizing began
  int AutoLocated = 0;  // valid without placements
  int Missing = 0;
  std::vector<std::string> CoincidentPairs;  // "A - B"
};

// Where the template's points lie on the radiograph, from the points both have: the
// similarity (scale 1/k, turn -theta) that best maps the template onto the radiograph.
struct TTemplateGuess {
  TFloatPoint RadiographCentroid;
  TFloatPoint TemplateCentroid;
  double Angle = 0;  // theta
  double Scale = 1;  // k
  TFloatPoint Map(TFloatPoint templatePosition) const;
};

// The guess from the radiograph's valid digitized points and the type's template points;
// nothing with fewer than two in common or a degenerate fit.
std::optional<TTemplateGuess> GuessTemplate(TXRay& xray);
// A snake of the radiograph loaded into `type` that is not placed becomes its template
// mapped by the guess (still not placed); false when it stays as it was.
bool PlaceSnakeAtGuess(TXRayType& type, std::size_t snakeIndex, const TTemplateGuess& guess);

struct TFittedSnake {
  std::string Name;
  std::vector<double> Moved;  // tracing units, per valid point
};
// The headless "&Fit": each named snake (every snake when none is named) not yet placed
// is placed at its guessed position, then fitted once to the image; the automatic points
// on them are placed again, one after the other. Refused, with nothing changed, for a name the
// type has no snake of, and without an image or a pixel size.
TResultOf<std::vector<TFittedSnake>> FitSnakes(TXRay& xray, const TGreyPlane& plane,
                                               const std::vector<std::string>& names);

class TDigitizing {
 public:
  // StartDigitization(mode): refused with a message when the radiograph has no type, or its
  // type no protocol with a point or snake in it. Corrected coordinates are taken back to
  // image scale; mode -1 proceeds at once.
  static TResultOf<std::unique_ptr<TDigitizing>> Start(TXRay& xray, int mode);
  ~TDigitizing();
  TDigitizing(const TDigitizing&) = delete;
  TDigitizing& operator=(const TDigitizing&) = delete;

  TXRay& Radiograph() const { return fXRay; }
  int Mode() const { return fMode; }
  // Every protocol of the type, in order.
  std::vector<TXRProtocol*> Protocols() const;
  TXRProtocol* Protocol() const;
  // Refused, with the selection kept, for an index that is not a protocol with elements.
  TResult SelectProtocol(std::size_t index);
  // The protocol's points and snakes that are still elements of the type.
  std::vector<TXRayElement*> Elements() const;
  TXRayElement* Selected() const;
  std::size_t SelectedIndex() const { return fElement; }
  void Select(std::size_t index);
  void Next();
  void Previous();
  // "Proc&eed": digitizing begins; every valid point's present position is its first placement.
  void Proceed();

  // A click at (x, y), tracing units. Mode 0: a placement of the selected point. Modes -3
  // and -2: the orientation points. Clicks at positions that are not finite, and clicks
  // while the selection is not a point (or, while orienting, not a valid point), place
  // nothing.
  TPlacement AddPoint(double x, double y);
  // `DigitizeAt`: AddPoint with the change recorded ("Digitized Point.").
  TPlacement DigitizeAt(double x, double y);
  // "&Delete": the last placement of the selected point goes; the point is the mean of the
  // rest or invalid. False when it had none.
  bool DeletePlacement();
  // Ctrl+Z: the last step taken back and the element it was made on selected again. A
  // placement, whichever point it was, or a change of a snake (a drag of its handles, the
  // right click, "&Fit", "&Reset", its number of points); while orienting, "&Back". False
  // when there is nothing to take back.
  bool Undo();
  TDigitizeStep UndoStep() const;
  // "Select next point.": the first placement becomes the last.
  void RotatePlacements();
  // The placements of the type's digitized point at `pointIndex` since digitizing began.
  const std::vector<TFloatPoint>& Placements(std::size_t pointIndex) const;
  // The spread (largest minus smallest) of the selected point's placements, per axis.
  TFloatPoint Spread() const;
  // "&Get [R]": a placement at the reference's point of the same name.
  TResult GetFromReference(TXRay* reference);
  // "&Back": the last re-registration movement undone, one mode back.
  TResult Back();

  // The template-to-radiograph similarity; nothing with fewer than two common points or a
  // degenerate fit.
  std::optional<TTemplateGuess> Guess() const;
  // Where the selected point (its template position) probably lies.
  std::optional<TFloatPoint> GuessedPosition() const;
  // "&Fit" on the selected snake: gives how far each point moved; nothing outside mode 0 or
  // when a snake is not selected.
  std::optional<std::vector<double>> FitSnake(const TGreyPlane& plane);
  // "&Reset": the selected snake is its template again.
  void ResetSnake();
  // "Hot &zone (mm):" 1..10 and "Nu&mber of points:" 3..100; false (nothing changed) outside.
  bool SetHotZone(int millimetres);
  bool SetPointCount(int count);
  // The right click on a snake: its first point moves to (x, y), and it counts as placed.
  bool MoveSnakeTo(double x, double y);
  // A drag of the selected snake from `from`: of its point `point`, of the whole snake, or
  // turning it about the centre of its bounding box. Every step is measured from the snake as
  // it was when the drag began, so that a drag back to its start leaves it exactly there.
  // False (no drag) outside mode 0, without a selected snake, for a point it does not have,
  // or for a position that is not finite.
  bool BeginSnakeDrag(TSnakeDrag kind, std::size_t point, TFloatPoint from);
  bool SnakeDragging() const { return fDrag.has_value(); }
  // The drag follows the pointer to `to`; false when no drag runs.
  bool DragSnake(TFloatPoint to);
  // The drag ends at `to`; a snake it moved counts as placed, and the change is recorded
  // and one step for Ctrl+Z. False when no drag ran.
  bool EndSnakeDrag(TFloatPoint to);

  // "&Auto All": every automatic point without placements is placed from its snake.
  void AutoAll();
  // "&Update" of "Select Points to Update" with the automatic points named.
  void AutoLocate(const std::vector<TDigPoint*>& points);
  // The automatic points ("A&uto..." lists these).
  std::vector<TDigPoint*> AutomaticPoints() const;
  // "&Reset Points linked to Snakes".
  void ResetPointsLinkedToSnakes();

  TDigitizeStatistics Statistics() const;
  // `EndDigitization`: digitizing ends; with "Show Life Size" the coordinates are corrected.
  void End(bool showLifeSize);
  // The radiograph is going away with digitizing unfinished: nothing more is done to it.
  void Detach() { fEnded = true; }

 private:
  TDigitizing(TXRay& xray, int mode);
  TDigPoint* SelectedPoint() const;
  int PointIndex(const TXRayElement* element) const;
  void SetToMean(std::size_t pointIndex);
  void PlaceSelectedSnake();
  void AdvanceIfAuto(TPlacement& placement);
  TPlacement Orient(double x, double y);

  TXRay& fXRay;
  int fMode = dmDigitizing;
  std::size_t fProtocol = 0;
  std::size_t fElement = 0;
  std::vector<std::vector<TFloatPoint>> fPlacements;
  // Edits the selected snake inside `change` and keeps the snake as it was for Ctrl+Z when
  // `change` says it changed it.
  template <typename F>
  bool ChangeSnake(F&& change);
  void KeepSnakeStep(std::size_t snake, std::unique_ptr<TDigSnake> before);

  // The steps Ctrl+Z takes back, in the order they were made, each with the element then
  // selected: a placement of a point, or a change of a snake with the snake as it was.
  struct TStep {
    std::size_t Element = 0;
    std::size_t Point = 0;  // of a placement
    std::size_t Snake = 0;  // of a snake change
    std::unique_ptr<TDigSnake> SnakeBefore;  // null for a placement
  };
  std::vector<TStep> fSteps;
  struct TDrag {
    TSnakeDrag Kind = TSnakeDrag::Point;
    std::size_t Snake = 0;
    std::size_t Point = 0;
    TFloatPoint From;
    TFloatPoint Centre;  // of the bounding box when the drag began
    std::unique_ptr<TDigSnake> Before;
  };
  std::optional<TDrag> fDrag;
  TFloatPoint fFirstOrientation;
  std::vector<TMovement> fOrientation;  // the movements "&Back" undoes, last last
  bool fEnded = false;
};

}  // namespace lumacet
