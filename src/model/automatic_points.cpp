#include "model/automatic_points.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "geometry/plane_geometry.h"
#include "geometry/point_lists.h"
#include "geometry/spline.h"
#include "model/constructions.h"
#include "model/kind_tables.h"
#include "model/point_elements.h"
#include "model/point_geometry.h"

namespace lumacet {

namespace {

using TIndex = std::ptrdiff_t;
using TSamples = std::span<const TFloatPoint>;

// Start and end operands farther than this from every sample are taken as absent.
constexpr double kNearestSampleLimit = 100000;

TPlacement Moved(TFloatPoint at) { return {TPlacementOutcome::Moved, at}; }

TIndex Size(TSamples samples) { return static_cast<TIndex>(samples.size()); }

// The sample nearest to `target`, the first of equal distances; `fallback` when none lies
// within the limit.
TIndex NearestSample(TSamples samples, const std::optional<TFloatPoint>& target, TIndex fallback) {
  if (!target) return fallback;
  TIndex nearest = fallback;
  double best = kNearestSampleLimit;
  for (TIndex g = 0; g < Size(samples); ++g) {
    double d = Distance(samples[g], *target);
    if (d < best) {
      best = d;
      nearest = g;
    }
  }
  return nearest;
}

// A copy of the samples turned about `centre` (clockwise as displayed for a positive angle);
// an angle of exactly 0 leaves them untouched, as the list transforms do.
std::optional<std::vector<TFloatPoint>> Rotated(TSamples samples, double radians, TFloatPoint centre) {
  std::vector<TFloatPoint> turned(samples.begin(), samples.end());
  if (radians == 0) return turned;
  double degrees = RadToDeg(radians);
  for (TFloatPoint& p : turned) {
    auto q = RotateAbout(centre, p, degrees);
    if (!q) return std::nullopt;
    p = *q;
  }
  return turned;
}

// "Extreme" and "First Extreme": turn the snake by `m` and take the sample with the
// largest x, over the whole stretch or only while x keeps growing from the start. The
// position returned is the sample itself, not the sample turned there and back again.
TPlacement Extreme(TSamples samples, TIndex s, TIndex e, double m, bool firstOnly) {
  auto turned = Rotated(samples, m, {0, 0});
  if (!turned) return {};
  const std::vector<TFloatPoint>& r = *turned;
  TIndex chosen = s;
  double largest = r[s].X;
  if (!firstOnly) {
    for (TIndex g = s; g <= e; ++g) {
      if (r[g].X > largest) {
        largest = r[g].X;
        chosen = g;
      }
    }
  } else {
    TIndex v = s < e ? 1 : (s > e ? -1 : 0);
    for (TIndex g = s + v; g != e; g += v) {
      if (!(r[g].X > largest)) break;
      largest = r[g].X;
      chosen = g;
    }
  }
  return Moved(samples[chosen]);
}

// Turning angle at sample g between the chords to its neighbours, in [0, pi]; nothing for
// a zero-length chord.
std::optional<double> TurningAngle(TSamples samples, TIndex g) {
  TFloatPoint a = samples[g - 1];
  TFloatPoint b = samples[g];
  TFloatPoint c = samples[g + 1];
  double ux = b.X - a.X, uy = b.Y - a.Y;
  double wx = c.X - b.X, wy = c.Y - b.Y;
  double lengths = std::hypot(ux, uy) * std::hypot(wx, wy);
  if (!(lengths > 0) || !std::isfinite(lengths)) return std::nullopt;
  // On a straight run rounding can put the cosine just above 1, where arccos has no value.
  return std::acos(std::clamp((ux * wx + uy * wy) / lengths, -1.0, 1.0));
}

TPlacement Curvature(TSamples samples, TIndex s, TIndex e, bool highest) {
  double best = highest ? 0 : kPi;
  TIndex chosen = s + 1;
  for (TIndex g = s + 1; g <= e - 1; ++g) {
    auto t = TurningAngle(samples, g);
    if (!t) continue;
    if (highest ? *t > best : *t < best) {
      best = *t;
      chosen = g;
    }
  }
  // Starting on the last sample leaves nothing to choose from.
  if (chosen >= Size(samples)) return {TPlacementOutcome::Kept, {}};
  return Moved(samples[chosen]);
}

TPlacement Centered(TSamples samples, TIndex s, TIndex e) {
  if (e < s) return {TPlacementOutcome::Invalid, {}};
  auto centre = BoxAnchorPoint(samples.subspan(s, e - s + 1), 4);
  if (!centre) return {TPlacementOutcome::Invalid, {}};
  return Moved(*centre);
}

// "Walk (%)": a share of the stretch in per mille; shares beyond the whole stretch stop
// at its end instead of running off the curve.
TPlacement WalkShare(TSamples samples, TIndex s, TIndex e, double perMille) {
  double at = std::nearbyint(std::fabs(perMille) * static_cast<double>(e - s) / 1000 + static_cast<double>(s));
  at = std::clamp(at, static_cast<double>(std::min(s, e)), static_cast<double>(std::max(s, e)));
  return Moved(samples[static_cast<TIndex>(at)]);
}

// "Walk (mm)": samples are 2 units apart, so a distance spans half as many samples.
TPlacement WalkDistance(TSamples samples, TIndex s, TIndex e, double units) {
  double k = std::nearbyint(std::fabs(units) / 2);
  TIndex chosen = e;
  if (e < s) {
    if (k < static_cast<double>(s - e)) chosen = s - static_cast<TIndex>(k);
  } else {
    if (k < static_cast<double>(e - s)) chosen = s + static_cast<TIndex>(k);
  }
  return Moved(samples[chosen]);
}

// Direction of the scan, turned clockwise by parameter 1 from the screen axes or from the
// line through the direction points.
double ScanAngle(const TPlacementOperands& operands, double parameter1) {
  double m = -DegToRad(parameter1 / 10);
  if (operands.Direction) m += *operands.Direction;
  return m;
}

// "Intersection": the first place where the turned snake crosses the horizontal line
// through the start operand going down the screen; the sample before the crossing is taken.
TPlacement Crossing(TSamples samples, const TPlacementOperands& operands, double parameter1) {
  if (!operands.Start) return {};
  TFloatPoint p = *operands.Start;
  auto turned = Rotated(samples, ScanAngle(operands, parameter1), p);
  if (!turned) return {};
  const std::vector<TFloatPoint>& r = *turned;
  for (std::size_t g = 0; g + 1 < r.size(); ++g)
    if (r[g].Y < p.Y && p.Y < r[g + 1].Y) return Moved(samples[g]);
  return {TPlacementOutcome::Kept, {}};
}

std::optional<TFloatPoint> OperandPosition(const TDigPoint& point, int slot) {
  auto* operand = dynamic_cast<TXRPoint*>(point.Operand(slot));
  if (operand == nullptr) return std::nullopt;
  return ValidPosition(*operand);
}

}  // namespace

TPlacement PlaceOnSamples(int kind, TSamples samples, const TPlacementOperands& operands,
                          double parameter1) {
  if (samples.empty() || !std::isfinite(parameter1)) return {};
  const auto named = static_cast<TDigPointKind>(kind);
  if (named == TDigPointKind::Intersection) return Crossing(samples, operands, parameter1);
  TIndex s = NearestSample(samples, operands.Start, 0);
  TIndex e = NearestSample(samples, operands.End, Size(samples) - 1);
  switch (named) {
    case TDigPointKind::Extreme:
    case TDigPointKind::FirstExtreme:
      return Extreme(samples, s, e, ScanAngle(operands, parameter1), named == TDigPointKind::FirstExtreme);
    case TDigPointKind::SelfExtreme:  // against the snake's own best-fit line, or the axes without one
    case TDigPointKind::SelfFirstExtreme: {
      auto fitted = FittedLineAngle(samples, 2);
      double m = fitted ? *fitted - DegToRad(parameter1 / 10) : 0;
      return Extreme(samples, s, e, m, named == TDigPointKind::SelfFirstExtreme);
    }
    case TDigPointKind::LowestCurvature:
    case TDigPointKind::HighestCurvature:
      return Curvature(samples, s, e, named == TDigPointKind::HighestCurvature);
    case TDigPointKind::Centered:
      return Centered(samples, s, e);
    case TDigPointKind::WalkPercent:
      return WalkShare(samples, s, e, parameter1);
    case TDigPointKind::WalkMillimetres:
      return WalkDistance(samples, s, e, parameter1);
    default:
      return {};
  }
}

TPlacement PlaceAutomaticPoint(TDigPoint& point) {
  auto* snake = dynamic_cast<TDigSnake*>(point.Operand(0));
  int step = DigPointKind(point.Kind()).SampleStep;
  if (snake == nullptr || !snake->Placed || step == 0) return {};
  std::vector<TFloatPoint> samples = SmoothPoints(snake->PointList(), step);
  TPlacementOperands operands;
  operands.Start = OperandPosition(point, 1);
  operands.End = OperandPosition(point, 2);
  auto from = OperandPosition(point, 3);
  auto to = OperandPosition(point, 4);
  if (from && to) operands.Direction = LineAngle(*from, *to);
  return PlaceOnSamples(point.Kind(), samples, operands, point.Parameter1);
}

}  // namespace lumacet
