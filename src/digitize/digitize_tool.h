// The digitize tool over a radiograph being digitized: the edge search for the point to
// place as the mouse moves, where a click places it, and what the display shows meanwhile
// (the orientation cursor, the hint drawing at the cursor, the points and snakes of the
// protocol); and the pictures of the Digitize window, the placements of the selected point
// and the profile along the search line, laid out for a box of any size.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "digitize/digitizing.h"
#include "digitize/edge_search.h"
#include "graphics/canvas.h"
#include "graphics/drawing_style.h"
#include "graphics/drawings.h"
#include "population/landmark_model.h"

namespace lumacet {

struct TDigitizeToolOptions {
  int AutoEdgeLock = 2;  // "Auto Edge Lock": 0 none, 1 orientation cursor only, 2 lock
  TEdgeChoice Choice = TEdgeChoice::MostProminent;
  bool ShowHint = true;        // "Show Hint Graphic"
  bool AutoCenter = true;      // "Auto Center Digitizing"
  bool DigitizedDots = false;  // "&Digitized Dots": every placed point drawn as a dot
  bool SnakeIcons = true;      // "&Snake Icons": the icon handles round the selected snake
  TMarkerSettings SnakeMarker;
};

class TDigitizeTool {
 public:
  // A mouse move to `cursor` (tracing units): the edge search for the selected point. The
  // profile stays empty without a selected point, an image or a pixel size, and the locked
  // position is then the cursor.
  void Move(const TDigitizing& digitizing, const TGreyPlane& plane, TFloatPoint cursor,
            const TDigitizeToolOptions& options);
  // Where a click at `cursor` places the point: the edge found there with the left button
  // when edge lock is on, else the cursor itself.
  TFloatPoint ClickPosition(const TDigitizing& digitizing, const TGreyPlane& plane, TFloatPoint cursor, bool left,
                            const TDigitizeToolOptions& options);
  // The last search; nothing before the first move.
  const std::optional<TEdgeLock>& Lock() const { return fLock; }
  // The pointer left the display: nothing more is drawn for it.
  void Leave() { fLock.reset(); }

  // The shape model the position of the point to place next is predicted from, for the
  // whole digitizing session; without one nothing is predicted.
  void SetModel(std::optional<TLandmarkModel> model) { fModel = std::move(model); }
  bool HasModel() const { return fModel.has_value(); }
  // Where the selected point is expected, from the others already placed; nothing without a
  // model, for an element the model does not hold, or with too few points placed.
  std::optional<TPredictedLandmark> Prediction(const TDigitizing& digitizing) const;

  // Over the display: the selected snake with its points (the handles that drag them) and
  // its icons when asked for, the digitized dots when asked for, the predicted position of the selected point with its
  // 99 % ellipse, the hint drawing of the selected point as if it lay at the cursor (put
  // back afterwards), and the orientation cursor.
  void Draw(TCanvas& canvas, const TDigitizing& digitizing, const TDigitizeToolOptions& options,
            const TRenderOptions& render) const;

 private:
  std::optional<TEdgeLock> fLock;
  std::optional<TLandmarkModel> fModel;
};

// The handles of a snake being digitized: one on each valid point, and, with the icons,
// "Translate" and "Rotate" (dragged) at the top corners of its bounding box and, in a row
// under it, "PreviousPoint", "Fit", "Reset", "AutoAll" and "NextPoint" (clicked). The icons
// keep their size on the screen: they stand a whole icon clear of the box, so that none
// covers a point, whatever the zoom.
enum class TSnakeHandleKind { Point, Translate, Rotate, PreviousPoint, Fit, Reset, AutoAll, NextPoint };
struct TSnakeHandle {
  TSnakeHandleKind Kind = TSnakeHandleKind::Point;
  std::size_t Point = 0;  // the snake's point, for a point handle
  TFloatPoint At;          // the centre, tracing units
};
inline constexpr int kSnakeIconPixels = 15;
// `pixel` is the length of a screen pixel in tracing units. The snake's points are read as
// they are: the radiograph's only while its coordinates are loaded.
std::vector<TSnakeHandle> SnakeHandles(const TDigSnake& snake, bool icons, double pixel);
// The handle under `at`: the icon whose square holds it, else the nearest point handle
// within `reach` tracing units.
std::optional<TSnakeHandle> SnakeHandleAt(const std::vector<TSnakeHandle>& handles, TFloatPoint at, double pixel,
                                          double reach);
// The icons among the handles, each a small opaque picture centred on its place.
void DrawSnakeIcons(TCanvas& canvas, const std::vector<TSnakeHandle>& handles);

// The predicted position: a cross at its centre inside the outline of its 99 % ellipse, in
// orange, apart from the magenta point markers and the green and blue cursor lines.
void DrawPrediction(TCanvas& canvas, const TPredictedLandmark& prediction);

// The orientation cursor: the dotted search line in green, the line at the edge in blue and
// the two between-lines in green.
void DrawOrientationCursor(TCanvas& canvas, const std::vector<TCursorLine>& lines);

// The placements of a point in a square box `side` pixels wide: a view of side max(1.2 x the
// larger spread, 20 tracing units) centred on their bounding box.
struct TPlacementView {
  std::vector<double> GridLines;  // box pixels from the left or top edge, every millimetre
  struct TCross {
    double X = 0;
    double Y = 0;
    bool Last = false;  // drawn red
  };
  std::vector<TCross> Crosses;
  double CrossHalf = 0;  // pixels: 4 tracing units
  std::string Label;      // "dx: %g dy: %g mm", with the locale's decimal separator
};
TPlacementView PlacementView(const std::vector<TFloatPoint>& placements, double side, char decimalSeparator);

// The profile graph in a box of `width` x `height` pixels: the values scaled to the box's
// height (top = largest), ten units a sample across; the zero level when it lies between the
// smallest and the largest value; the middle of the search line.
struct TProfileGraph {
  std::vector<TFloatPoint> Line;  // empty: nothing to draw
  std::optional<double> ZeroY;
  double MiddleX = 0;
};
TProfileGraph ProfileGraph(const std::vector<double>& values, double width, double height);

}  // namespace lumacet
