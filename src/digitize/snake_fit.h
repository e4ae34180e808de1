// Active contours: a digitized snake fitted to the image edges along its normals, and the
// model of a whole tracing pulled to the edges its points lie near (tracing alignment).
#pragma once

#include <vector>

#include "digitize/grey_plane.h"
#include "geometry/coordinates.h"
#include "imaging/image_frame.h"

namespace lumacet {

class TDigSnake;

struct TSnakePoint {
  double X = 0;
  double Y = 0;
  double NewX = 0;
  double NewY = 0;
  int Position = 0;  // -1 first, 1 last, 0 otherwise
};

class TSnake {
 public:
  // One snake point per point given, in order.
  void Build(const std::vector<TFloatPoint>& points);
  // One pass: every point looks for the most prominent edge on the normal through it,
  // hot zone tracing units to either side, from the old positions of its neighbours; then
  // all move at once. A point keeps its place with a hot zone of 0, without an image, when
  // its neighbours coincide (no normal), or when its normal crosses no edge.
  void FitStep(const TGreyPlane& plane, const TImageFrame& frame);
  // The normal segment a point searches along; nothing when it has none.
  bool SearchSegment(std::size_t index, TFloatPoint& from, TFloatPoint& to) const;

  std::vector<TSnakePoint> Points;
  int HotZone = 0;
  int Transition = 0;
  int LockBias = 0;
};

// "&Fit": one step on the snake's valid points, copied back; every point becomes valid and
// the snake placed. Gives how far each point moved (tracing units), in point order.
std::vector<double> FitDigSnake(TDigSnake& snake, const TGreyPlane& plane, const TImageFrame& frame);

// A tracing model and its edge targets, for aligning a whole tracing to its image.
class TActiveShape {
 public:
  struct TTarget {
    TFloatPoint Point;
    bool Valid = false;
  };
  void SetModel(const std::vector<TFloatPoint>& points);
  // For each model point, the strongest brightness change on its normal, 2 hz + 20 samples
  // of the 5 x 5 mean grey; no change leaves its target not valid.
  void FindTargets(const TGreyPlane& plane, const TImageFrame& frame);
  bool HasTargets() const;
  TFloatPoint ModelCentroid() const;
  TFloatPoint TargetCentroid() const;
  double ModelSpread() const;
  void TranslateModel(double dx, double dy);
  void ScaleModel(double factor);
  void RotateModel(TFloatPoint centre, double angle);
  // Moves, scales and turns the model onto its targets (least squares); nothing without
  // targets, with no spread, or when the fit is degenerate.
  void FitToTargets();

  std::vector<TFloatPoint> Model;
  std::vector<TTarget> Targets;
  int HalfLength = 0;  // hz, tracing units
};

}  // namespace lumacet
