// Edge lock: the image is read along a short search line, smoothed across it, and the
// zero crossings of its second derivative where the first derivative peaks are the edges
// the cursor and the snakes snap to.
#pragma once

#include <optional>
#include <span>
#include <vector>

#include "digitize/grey_plane.h"
#include "geometry/coordinates.h"
#include "imaging/image_frame.h"

namespace lumacet {

class TDigPoint;

// The edge choice of the Digitize windows, one for the whole program.
enum class TEdgeChoice { MostProminent = 0, Closest = 1, BetweenMostProminent = 2, BetweenClosest = 3 };

// The graph a Digitize window shows of the profile.
enum class TEdgeGraph { Brightness = 0, FirstDerivative = 1, SecondDerivative = 2, PixelValues = 3 };

// Transitions along the search line.
inline constexpr int kWhiteToBlack = 0;
inline constexpr int kAnyTransition = 1;
inline constexpr int kBlackToWhite = 2;

// The four profiles along a search line, sample i at Start + i * Step (tracing units).
// A sample whose filter window leaves the image is 0 in all four.
struct TEdgeProfile {
  TFloatPoint Start;
  TFloatPoint Step;
  std::vector<double> Brightness;
  std::vector<double> First;  // already turned by the transition
  std::vector<double> Second;
  std::vector<double> Pixels;

  std::size_t Size() const { return Second.size(); }
  const std::vector<double>& Graph(TEdgeGraph graph) const;
  TFloatPoint PositionAt(double index) const { return {Start.X + index * Step.X, Start.Y + index * Step.Y}; }
};

// Side d of the square filter window in pixels for a pixel width in tracing units: the
// odd number nearest 4 x 17.5 / pw; 0 for a pixel width that is not a positive number.
int EdgeKernelSize(double pixelWidth);

// Samples `count` points from `from` towards `to` (the segment divided into `count` steps)
// and filters them: across the line by a Gaussian of 1.75 mm, along it by a smoothing of
// 0.1 pixel, a derivative of Gaussian of 0.625 mm and a difference of Gaussians of 0.625
// and 1.25 mm. An empty plane or a frame without a pixel size gives profiles of zeros.
// Without `withBrightness` (the snake fit, which needs neither) the brightness and pixel
// profiles stay 0.
TEdgeProfile SampleEdgeProfile(const TGreyPlane& plane, const TImageFrame& frame, TFloatPoint from, TFloatPoint to,
                               int count, int transition, bool withBrightness = true);

// Edge strength where the second derivative changes sign, kept where it is a local
// maximum; the ends are 0.
std::vector<double> EdgeCandidates(const TEdgeProfile& profile);

// Moves an edge index towards the trough (bias > 0) or the peak (bias < 0) of the second
// derivative beside it, by bias percent of the way. Indices 0, 1 and the last two stay.
int ApplyLockBias(int index, std::span<const double> profile, int bias);

// The candidate at `index` refined to where the second derivative crosses zero after it.
double RefinedEdgeIndex(const TEdgeProfile& profile, int index);

// An edge found on a profile, as fractional sample indices: the edge itself and, for the
// "between" choices, the two edges it lies between (both equal to it otherwise).
struct TEdgeIndices {
  double Edge = 0;
  double First = 0;
  double Second = 0;
};
// Nothing when the profile has no candidate.
std::optional<TEdgeIndices> ChooseEdge(const TEdgeProfile& profile, TEdgeChoice choice, int lockBias);

// The result of one edge search for a cursor.
struct TEdgeLock {
  TFloatPoint Cursor;
  TFloatPoint Position;  // where a click digitizes: the edge, or the cursor when none is found
  bool Locked = false;
  double Angle = 0;  // of the search line, radians, positive turns clockwise as displayed
  double Range = 0;  // half-length of the search line, tracing units
  // Signed distances from the cursor along the search line (tracing units): the edge and
  // the two it lies between.
  double Offset = 0;
  double Offset1 = 0;
  double Offset2 = 0;
  TEdgeProfile Profile;
};

// The search angle at the cursor: the point's own, measured from its direction line when
// its direction points are set and valid (from the first towards the cursor when only the
// first is set).
double SearchAngleAt(const TDigPoint& point, TFloatPoint cursor);

// Edge lock for a point being digitized. `autoEdgeLock` is the setting (0 none, 1 the
// orientation cursor only, 2 lock); the profile is sampled whenever there is an image and a
// search range, the edge chosen only at 2 and for a point that is not cursor only.
TEdgeLock LockEdge(const TGreyPlane& plane, const TImageFrame& frame, const TDigPoint& point, TFloatPoint cursor,
                   TEdgeChoice choice, int autoEdgeLock);

// The same search with explicit parameters: a line of half-length `range` through the
// cursor at `angle`.
TEdgeLock LockEdgeAlong(const TGreyPlane& plane, const TImageFrame& frame, TFloatPoint cursor, double range,
                        double angle, int transition, int lockBias, std::optional<TEdgeChoice> choice);

// One line of the orientation cursor, in tracing units; Edge lines are blue, the others green.
struct TCursorLine {
  TFloatPoint From;
  TFloatPoint To;
  bool Dotted = false;
  bool Edge = false;
};
// The dotted search line, the line across it at the edge and, for the "between" choices,
// the two across the edges it lies between. None for a range of 0 or the setting 0.
std::vector<TCursorLine> OrientationCursor(const TEdgeLock& lock, TEdgeChoice choice, int autoEdgeLock);

}  // namespace lumacet
