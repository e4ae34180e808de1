#include "digitize/edge_search.h"

#include <algorithm>
#include <cmath>

#include "geometry/plane_geometry.h"
#include "model/point_elements.h"

namespace lumacet {

namespace {

// Filter widths in tracing units: across the line, and the two along it.
constexpr double kSigmaAcross = 17.5;
constexpr double kSigmaWide = 12.5;
constexpr double kSigmaNarrow = 6.25;
// No search line is longer than half a metre: the samples are allocated per search.
constexpr double kMaxRange = 5000;

// The Gaussian across the line (1.75 mm) is smooth enough to be summed every 0.2 mm:
// reading every pixel row of a fine film would cost more than one mouse move may take.
constexpr double kAcrossSpacing = 2;

// 25 exp(-(a^2 + b^2)) over pixel offsets a, b on a half-pixel grid, by a^2 + b^2 in
// quarter pixels (0 .. 8): the brightness is a blur of a fraction of a pixel.
constexpr double kBrightnessWeights[9] = {25.0, 19.470019576785123, 15.163266492815836, 11.809163818525366, 9.196986029286059, 7.162619921504752, 5.578254003710746, 4.344348586261129, 3.3833820809153177};

bool HasPixelSize(const TImageFrame& frame) {
  return std::isfinite(frame.PixelWidth) && std::isfinite(frame.PixelHeight) && frame.PixelWidth > 0 &&
         frame.PixelHeight > 0 && std::isfinite(frame.OriginX) && std::isfinite(frame.OriginY) &&
         std::isfinite(frame.Rotation);
}

// First index of the largest positive candidate, from `from` on; -1 when there is none.
int MostProminent(const std::vector<double>& c) {
  int best = -1;
  for (std::size_t i = 1; i + 1 < c.size(); ++i)
    if (c[i] > 0 && (best < 0 || c[i] > c[static_cast<std::size_t>(best)])) best = static_cast<int>(i);
  return best;
}

bool Positive(const std::vector<double>& c, int i) {
  return i >= 0 && static_cast<std::size_t>(i) < c.size() && c[static_cast<std::size_t>(i)] > 0;
}

// A candidate index refined to its zero crossing, then shifted by the lock bias.
double Refined(const TEdgeProfile& profile, int index, int bias) {
  return RefinedEdgeIndex(profile, index) + (ApplyLockBias(index, profile.Second, bias) - index);
}

TFloatPoint Turned(TFloatPoint centre, TFloatPoint p, double angle) {
  return RotateAbout(centre, p, RadToDeg(angle)).value_or(centre);
}

// Signed distance of `to` from `from` along the direction of the search line.
double Along(TFloatPoint from, TFloatPoint to, double angle) {
  const TFloatPoint unit = Turned({0, 0}, {1, 0}, angle);
  return (to.X - from.X) * unit.X + (to.Y - from.Y) * unit.Y;
}

}  // namespace

const std::vector<double>& TEdgeProfile::Graph(TEdgeGraph graph) const {
  switch (graph) {
    case TEdgeGraph::Brightness: return Brightness;
    case TEdgeGraph::FirstDerivative: return First;
    case TEdgeGraph::PixelValues: return Pixels;
    case TEdgeGraph::SecondDerivative: break;
  }
  return Second;
}

int EdgeKernelSize(double pixelWidth) {
  if (!std::isfinite(pixelWidth) || pixelWidth <= 0) return 0;
  const double size = std::nearbyint(4 * kSigmaAcross / pixelWidth);
  if (size > 1e6) return 0;
  const int d = static_cast<int>(size);
  return d % 2 == 0 ? d + 1 : d;
}

TEdgeProfile SampleEdgeProfile(const TGreyPlane& plane, const TImageFrame& frame, TFloatPoint from, TFloatPoint to,
                               int count, int transition, bool withBrightness) {
  TEdgeProfile profile;
  const std::size_t n = static_cast<std::size_t>(std::max(count, 1));
  profile.Start = from;
  profile.Step = {(to.X - from.X) / static_cast<double>(n), (to.Y - from.Y) / static_cast<double>(n)};
  profile.Brightness.assign(n, 0);
  profile.First.assign(n, 0);
  profile.Second.assign(n, 0);
  profile.Pixels.assign(n, 0);
  const double delta = std::hypot(profile.Step.X, profile.Step.Y);
  const int d = EdgeKernelSize(frame.PixelWidth);
  if (plane.Empty() || !HasPixelSize(frame) || d == 0 || !(delta > 1e-9) || !std::isfinite(delta)) return profile;
  const double pw = frame.PixelWidth;
  const int h = d / 2;

  // The filters are Gaussian across the line, so the image is read on a grid of the sample
  // spacing, collapsed across first and then filtered along: the cost does not grow with
  // the pixel count of the window.
  const double reach = h * pw;  // half the window, tracing units
  const int taps = static_cast<int>(std::ceil(reach / delta));
  const double acrossStep = std::max(delta, kAcrossSpacing);
  const int acrossTaps = static_cast<int>(std::ceil(reach / acrossStep));
  const TFloatPoint along{profile.Step.X / delta, profile.Step.Y / delta};
  const TFloatPoint across{-along.Y, along.X};
  const double c = std::cos(frame.Rotation), s = std::sin(frame.Rotation);
  auto toPixel = [&](TFloatPoint v) {  // a displacement, tracing units to pixels
    return TFloatPoint{(v.X * c + v.Y * s) / pw, (v.Y * c - v.X * s) / frame.PixelHeight};
  };
  const TFloatPoint origin = toPixel({from.X - frame.OriginX, from.Y - frame.OriginY});
  const TFloatPoint stepPx = toPixel(profile.Step);
  const TFloatPoint acrossPx = toPixel({across.X * acrossStep, across.Y * acrossStep});

  std::vector<double> acrossWeight(static_cast<std::size_t>(2 * acrossTaps + 1));
  for (int j = -acrossTaps; j <= acrossTaps; ++j) {
    const double a = j * acrossStep;
    acrossWeight[static_cast<std::size_t>(j + acrossTaps)] = std::exp(-(a * a) / (kSigmaAcross * kSigmaAcross));
  }
  // Along-line taps in the pixel units of the window, weighted by the area of a grid cell.
  const double cell = (delta / pw) * (acrossStep / pw);
  const double sigmaWidePx = kSigmaWide / pw;
  std::vector<double> derivative(static_cast<std::size_t>(2 * taps + 1)), second(derivative.size());
  for (int k = -taps; k <= taps; ++k) {
    const double b = k * delta;
    const double narrow = std::exp(-(b * b) / (kSigmaNarrow * kSigmaNarrow));
    const double wide = std::exp(-(b * b) / (kSigmaWide * kSigmaWide));
    derivative[static_cast<std::size_t>(k + taps)] = -200 * ((b / pw) / (sigmaWidePx * sigmaWidePx)) * narrow * cell;
    second[static_cast<std::size_t>(k + taps)] = (100 * narrow - 50 * wide) * cell;
  }

  // Collapsed strip: index t + taps for along positions t = -taps .. n - 1 + taps.
  const std::size_t length = n + 2 * static_cast<std::size_t>(taps);
  std::vector<double> collapsed(length, 0);
  std::vector<bool> inside(n, false);
  bool any = false;
  for (std::size_t i = 0; i < n; ++i) {
    const double u = origin.X + static_cast<double>(i) * stepPx.X, v = origin.Y + static_cast<double>(i) * stepPx.Y;
    const double column = std::floor(u), row = std::floor(v);
    inside[i] = column >= h && row >= h && column + h + 1 <= plane.Width() && row + h + 1 <= plane.Height();
    any = any || inside[i];
  }
  if (!any) return profile;
  for (std::size_t t = 0; t < length; ++t) {
    const double at = static_cast<double>(t) - taps;
    const double u0 = origin.X + at * stepPx.X, v0 = origin.Y + at * stepPx.Y;
    double sum = 0;
    for (int j = -acrossTaps; j <= acrossTaps; ++j)
      sum += acrossWeight[static_cast<std::size_t>(j + acrossTaps)] *
             plane.Sample(u0 + j * acrossPx.X, v0 + j * acrossPx.Y);
    collapsed[t] = sum;
  }
  for (std::size_t i = 0; i < n; ++i) {
    if (!inside[i]) continue;
    double first = 0, curvature = 0;
    for (std::size_t k = 0; k < derivative.size(); ++k) {
      first += collapsed[i + k] * derivative[k];
      curvature += collapsed[i + k] * second[k];
    }
    if (transition == kAnyTransition) first = std::abs(first);
    if (transition == kBlackToWhite) first = -first;
    profile.First[i] = first;
    profile.Second[i] = curvature;
    const double u = origin.X + static_cast<double>(i) * stepPx.X, v = origin.Y + static_cast<double>(i) * stepPx.Y;
    if (!withBrightness) continue;
    profile.Pixels[i] = plane.At(static_cast<int>(std::floor(u)), static_cast<int>(std::floor(v)));
    double brightness = 0;
    for (int p = -2; p <= 2; ++p)
      for (int q = -2; q <= 2; ++q)
        brightness += kBrightnessWeights[static_cast<std::size_t>(p * p + q * q)] * plane.Sample(u + 0.5 * p, v + 0.5 * q);
    profile.Brightness[i] = brightness;
  }
  return profile;
}

std::vector<double> EdgeCandidates(const TEdgeProfile& profile) {
  const std::size_t n = profile.Size();
  std::vector<double> strength(n, 0), candidates(n, 0);
  for (std::size_t i = 0; i + 1 < n; ++i)
    if (profile.Second[i] * profile.Second[i + 1] < 0) strength[i] = profile.First[i];
  for (std::size_t i = 1; i + 1 < n; ++i)
    if (strength[i - 1] <= strength[i] && strength[i + 1] <= strength[i]) candidates[i] = strength[i];
  return candidates;
}

double RefinedEdgeIndex(const TEdgeProfile& profile, int index) {
  const std::size_t i = static_cast<std::size_t>(index);
  if (index < 0 || i + 1 >= profile.Second.size()) return index;
  const double a = profile.Second[i], b = profile.Second[i + 1];
  if (!(a * b < 0)) return index;
  return index + a / (a - b);
}

int ApplyLockBias(int s, std::span<const double> p, int bias) {
  const int last = static_cast<int>(p.size()) - 1;
  if (bias == 0 || s < 2 || s >= last - 1) return s;
  const auto at = [&](int i) { return p[static_cast<std::size_t>(i)]; };
  int trough = s, peak = s;
  if (at(s) > at(s + 1)) {
    while (trough < last && at(trough + 1) <= at(trough)) ++trough;
    while (peak > 0 && at(peak - 1) >= at(peak)) --peak;
  } else {
    while (peak < last && at(peak + 1) >= at(peak)) ++peak;
    while (trough > 0 && at(trough - 1) <= at(trough)) --trough;
  }
  const int target = bias > 0 ? trough : peak;
  return s + static_cast<int>(std::nearbyint(std::abs(bias) * (target - s) / 100.0));
}

std::optional<TEdgeIndices> ChooseEdge(const TEdgeProfile& profile, TEdgeChoice choice, int bias) {
  std::vector<double> c = EdgeCandidates(profile);
  const int n = static_cast<int>(c.size());
  const int middle = (n - 2) / 2;
  switch (choice) {
    case TEdgeChoice::MostProminent: {
      const int s = MostProminent(c);
      if (s < 0) return std::nullopt;
      const double e = Refined(profile, s, bias);
      return TEdgeIndices{e, e, e};
    }
    case TEdgeChoice::Closest:
      for (int k = 0; k <= middle; ++k)
        for (int i : {middle + k, middle - k})
          if (Positive(c, i)) {
            const double e = Refined(profile, i, bias);
            return TEdgeIndices{e, e, e};
          }
      return std::nullopt;
    case TEdgeChoice::BetweenMostProminent: {
      const int s1 = MostProminent(c);
      if (s1 < 0) return std::nullopt;
      c[static_cast<std::size_t>(s1)] = 0;
      const int found = MostProminent(c);
      const int s2 = found < 0 ? s1 : found;
      const double e1 = Refined(profile, s1, bias), e2 = Refined(profile, s2, bias);
      return TEdgeIndices{(e1 + e2) / 2, e1, e2};
    }
    case TEdgeChoice::BetweenClosest: {
      int s1 = -1, s2 = -1;
      for (int k = 0; k <= middle && s1 < 0; ++k)
        if (Positive(c, middle + k)) s1 = middle + k;
      for (int k = 0; k <= middle && s2 < 0; ++k)
        if (Positive(c, middle - k)) s2 = middle - k;
      if (s1 < 0 && s2 < 0) return std::nullopt;
      if (s1 < 0) s1 = s2;
      if (s2 < 0) s2 = s1;
      const double e1 = Refined(profile, s1, bias), e2 = Refined(profile, s2, bias);
      return TEdgeIndices{(e1 + e2) / 2, e1, e2};
    }
  }
  return std::nullopt;
}

double SearchAngleAt(const TDigPoint& point, TFloatPoint cursor) {
  auto* first = dynamic_cast<TXRPoint*>(point.DirectionPoint1);
  auto* second = dynamic_cast<TXRPoint*>(point.DirectionPoint2);
  if (first == nullptr || !first->IsValid()) return point.SearchAngle;
  const TFloatPoint p1{first->GetX(), first->GetY()};
  if (second == nullptr) return point.SearchAngle - LineAngle(p1, cursor);
  // A second direction point that is set but not valid gives no direction line.
  if (!second->IsValid()) return point.SearchAngle;
  return point.SearchAngle - LineAngle(p1, {second->GetX(), second->GetY()});
}

TEdgeLock LockEdgeAlong(const TGreyPlane& plane, const TImageFrame& frame, TFloatPoint cursor, double range,
                        double angle, int transition, int lockBias, std::optional<TEdgeChoice> choice) {
  TEdgeLock lock;
  lock.Cursor = cursor;
  lock.Position = cursor;
  if (!std::isfinite(range) || range < 0) range = 0;
  range = std::min(range, kMaxRange);
  if (!std::isfinite(angle)) angle = 0;
  lock.Angle = angle;
  lock.Range = range;
  if (plane.Empty() || !HasPixelSize(frame) || !std::isfinite(cursor.X) || !std::isfinite(cursor.Y)) return lock;
  const TFloatPoint p1 = Turned(cursor, {cursor.X - range, cursor.Y}, angle);
  const TFloatPoint p2 = Turned(cursor, {cursor.X + range, cursor.Y}, angle);
  const int count = 2 * static_cast<int>(std::nearbyint(range)) + 1;
  lock.Profile = SampleEdgeProfile(plane, frame, p1, p2, count, transition);
  if (!choice) return lock;
  const std::optional<TEdgeIndices> edge = ChooseEdge(lock.Profile, *choice, lockBias);
  if (!edge) return lock;
  lock.Locked = true;
  lock.Position = lock.Profile.PositionAt(edge->Edge);
  lock.Offset = Along(cursor, lock.Position, angle);
  lock.Offset1 = Along(cursor, lock.Profile.PositionAt(edge->First), angle);
  lock.Offset2 = Along(cursor, lock.Profile.PositionAt(edge->Second), angle);
  return lock;
}

TEdgeLock LockEdge(const TGreyPlane& plane, const TImageFrame& frame, const TDigPoint& point, TFloatPoint cursor,
                   TEdgeChoice choice, int autoEdgeLock) {
  if (autoEdgeLock == 0) return LockEdgeAlong({}, frame, cursor, 0, 0, point.Transition, 0, std::nullopt);
  std::optional<TEdgeChoice> chosen;
  if (autoEdgeLock == 2 && !point.CursorOnly) chosen = choice;
  return LockEdgeAlong(plane, frame, cursor, point.SearchRange, SearchAngleAt(point, cursor), point.Transition,
                       point.LockBias, chosen);
}

std::vector<TCursorLine> OrientationCursor(const TEdgeLock& lock, TEdgeChoice choice, int autoEdgeLock) {
  std::vector<TCursorLine> lines;
  const double r = lock.Range;
  if (r == 0 || autoEdgeLock == 0) return lines;
  const TFloatPoint c = lock.Cursor;
  auto line = [&](double x1, double y1, double x2, double y2, bool dotted, bool edge) {
    lines.push_back({Turned(c, {c.X + x1, c.Y + y1}, lock.Angle), Turned(c, {c.X + x2, c.Y + y2}, lock.Angle), dotted,
                     edge});
  };
  line(-r, 0, r, 0, true, false);
  line(lock.Offset, -r / 2, lock.Offset, r / 2, false, true);
  if (choice == TEdgeChoice::BetweenMostProminent || choice == TEdgeChoice::BetweenClosest) {
    line(lock.Offset1, r / 3, lock.Offset1, -r / 3, false, false);
    line(lock.Offset2, r / 3, lock.Offset2, -r / 3, false, false);
  }
  return lines;
}

}  // namespace lumacet
