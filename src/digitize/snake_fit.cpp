#include "digitize/snake_fit.h"

#include <algorithm>
#include <cmath>

#include "digitize/edge_search.h"
#include "geometry/plane_geometry.h"
#include "model/point_elements.h"

namespace lumacet {

namespace {

// The unit normal at point i from its neighbours (the point itself at an end); nothing
// when they coincide.
bool Normal(const std::vector<TFloatPoint>& points, std::size_t i, TFloatPoint& normal) {
  if (points.size() < 2) return false;
  const TFloatPoint prev = i > 0 ? points[i - 1] : points[i];
  const TFloatPoint next = i + 1 < points.size() ? points[i + 1] : points[i];
  const double length = std::hypot(next.X - prev.X, next.Y - prev.Y);
  if (!(length > 0) || !std::isfinite(length)) return false;
  normal = {-(next.Y - prev.Y) / length, (next.X - prev.X) / length};
  return true;
}

std::vector<TFloatPoint> Positions(const std::vector<TSnakePoint>& points) {
  std::vector<TFloatPoint> positions;
  for (const TSnakePoint& p : points) positions.push_back({p.X, p.Y});
  return positions;
}

}  // namespace

void TSnake::Build(const std::vector<TFloatPoint>& points) {
  Points.clear();
  for (std::size_t i = 0; i < points.size(); ++i) {
    const int position = i == 0 ? -1 : i + 1 == points.size() ? 1 : 0;
    Points.push_back({points[i].X, points[i].Y, points[i].X, points[i].Y, position});
  }
}

bool TSnake::SearchSegment(std::size_t index, TFloatPoint& from, TFloatPoint& to) const {
  TFloatPoint normal;
  if (HotZone <= 0 || index >= Points.size() || !Normal(Positions(Points), index, normal)) return false;
  const TSnakePoint& p = Points[index];
  from = {p.X - HotZone * normal.X, p.Y - HotZone * normal.Y};
  to = {p.X + HotZone * normal.X, p.Y + HotZone * normal.Y};
  return true;
}

void TSnake::FitStep(const TGreyPlane& plane, const TImageFrame& frame) {
  for (std::size_t i = 0; i < Points.size(); ++i) {
    TSnakePoint& p = Points[i];
    p.NewX = p.X;
    p.NewY = p.Y;
    TFloatPoint from, to;
    if (plane.Empty() || !SearchSegment(i, from, to)) continue;
    const TEdgeProfile profile = SampleEdgeProfile(plane, frame, from, to, 2 * HotZone + 1, Transition, false);
    if (const std::optional<TEdgeIndices> edge = ChooseEdge(profile, TEdgeChoice::MostProminent, LockBias)) {
      const TFloatPoint at = profile.PositionAt(edge->Edge);
      p.NewX = at.X;
      p.NewY = at.Y;
    }
  }
  for (TSnakePoint& p : Points) {
    p.X = p.NewX;
    p.Y = p.NewY;
  }
}

std::vector<double> FitDigSnake(TDigSnake& snake, const TGreyPlane& plane, const TImageFrame& frame) {
  std::vector<TXROwnedPoint*> valid;
  std::vector<TFloatPoint> points;
  for (const auto& p : snake.Points)
    if (p->IsValid()) {
      valid.push_back(p.get());
      points.push_back({p->GetX(), p->GetY()});
    }
  std::vector<double> moved;
  if (points.empty()) return moved;
  TSnake fit;
  fit.Build(points);
  fit.HotZone = snake.HotZone;
  fit.Transition = snake.Transition;
  fit.LockBias = snake.LockBias;
  fit.FitStep(plane, frame);
  const std::size_t m = fit.Points.size(), n = valid.size();
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t from =
        i + 1 == n ? m - 1
                   : static_cast<std::size_t>(std::nearbyint(n > 1 ? static_cast<double>(i) * (m - 1) / (n - 1) : 0));
    const TSnakePoint& p = fit.Points[std::min(from, m - 1)];
    moved.push_back(std::hypot(p.X - points[i].X, p.Y - points[i].Y));
    valid[i]->SetXY(p.X, p.Y);
  }
  snake.Placed = true;
  return moved;
}

void TActiveShape::SetModel(const std::vector<TFloatPoint>& points) {
  Model = points;
  Targets.assign(points.size(), {});
}

void TActiveShape::FindTargets(const TGreyPlane& plane, const TImageFrame& frame) {
  const int hz = HalfLength == 0 ? 1 : std::abs(HalfLength);
  const int length = 2 * hz + 20;
  constexpr int kTaps = 21;
  constexpr double kSigma = 3;
  double taps[kTaps];
  for (int k = 0; k < kTaps; ++k)
    taps[k] = ((10.0 - k) / (kSigma * kSigma)) * (1 / (kSigma * std::sqrt(2 * M_PI))) *
              std::exp(-((k - 10.0) * (k - 10.0)) / (2 * kSigma * kSigma));
  Targets.assign(Model.size(), {});
  for (std::size_t i = 0; i < Model.size(); ++i) {
    TFloatPoint normal;
    if (plane.Empty() || !Normal(Model, i, normal)) continue;
    const TFloatPoint p = Model[i];
    const TFloatPoint a{std::nearbyint(p.X - hz * normal.X), std::nearbyint(p.Y - hz * normal.Y)};
    const TFloatPoint b{std::nearbyint(p.X + hz * normal.X), std::nearbyint(p.Y + hz * normal.Y)};
    const TFloatPoint step{(b.X - a.X) / length, (b.Y - a.Y) / length};
    std::vector<double> values(static_cast<std::size_t>(length), 0);
    for (int j = 0; j < length; ++j) {
      const std::optional<TFloatPoint> pixel = TracingToPixel(frame, {a.X + j * step.X, a.Y + j * step.Y});
      if (!pixel) continue;
      // Pixel j covers [j, j + 1): the pixel a position lies in.
      values[static_cast<std::size_t>(j)] =
          plane.WindowMean(2, static_cast<int>(std::floor(pixel->X)), static_cast<int>(std::floor(pixel->Y)));
    }
    std::vector<double> response(static_cast<std::size_t>(length - kTaps + 1), 0);
    for (std::size_t j = 0; j < response.size(); ++j) {
      double sum = 0;
      for (int k = 0; k < kTaps; ++k) sum += values[j + static_cast<std::size_t>(k)] * taps[k];
      response[j] = std::abs(1000 * sum);
    }
    int best = -1;
    for (std::size_t j = 1; j + 1 < response.size(); ++j)
      if (response[j - 1] < response[j] && response[j] > response[j + 1] && response[j] > 0 &&
          (best < 0 || response[j] > response[static_cast<std::size_t>(best)]))
        best = static_cast<int>(j);
    if (best < 0) continue;
    Targets[i] = {{std::nearbyint(a.X + (best + 10) * step.X), std::nearbyint(a.Y + (best + 10) * step.Y)}, true};
  }
}

bool TActiveShape::HasTargets() const {
  return std::any_of(Targets.begin(), Targets.end(), [](const TTarget& t) { return t.Valid; });
}

TFloatPoint TActiveShape::ModelCentroid() const {
  double x = 0, y = 0;
  int count = 0;
  for (std::size_t i = 0; i < Model.size() && i < Targets.size(); ++i)
    if (Targets[i].Valid) {
      x += Model[i].X;
      y += Model[i].Y;
      ++count;
    }
  if (count == 0) return {};
  return {std::nearbyint(x / count), std::nearbyint(y / count)};
}

TFloatPoint TActiveShape::TargetCentroid() const {
  double x = 0, y = 0;
  int count = 0;
  for (const TTarget& t : Targets)
    if (t.Valid) {
      x += t.Point.X;
      y += t.Point.Y;
      ++count;
    }
  if (count == 0) return {};
  return {std::nearbyint(x / count), std::nearbyint(y / count)};
}

double TActiveShape::ModelSpread() const {
  const TFloatPoint c = ModelCentroid();
  double sum = 0;
  for (std::size_t i = 0; i < Model.size() && i < Targets.size(); ++i)
    if (Targets[i].Valid) sum += (Model[i].X - c.X) * (Model[i].X - c.X) + (Model[i].Y - c.Y) * (Model[i].Y - c.Y);
  return std::nearbyint(sum);
}

void TActiveShape::TranslateModel(double dx, double dy) {
  for (TFloatPoint& p : Model) p = {p.X + dx, p.Y + dy};
}

void TActiveShape::ScaleModel(double factor) {
  const TFloatPoint c = ModelCentroid();
  for (TFloatPoint& p : Model) p = {c.X + (p.X - c.X) * factor, c.Y + (p.Y - c.Y) * factor};
}

void TActiveShape::RotateModel(TFloatPoint centre, double angle) {
  for (TFloatPoint& p : Model) p = RotateAbout(centre, p, RadToDeg(angle)).value_or(p);
}

void TActiveShape::FitToTargets() {
  const double spread = ModelSpread();
  if (!HasTargets() || spread == 0) return;
  const TFloatPoint c0 = ModelCentroid(), c1 = TargetCentroid();
  double a = 0, b = 0;
  for (std::size_t i = 0; i < Model.size() && i < Targets.size(); ++i) {
    if (!Targets[i].Valid) continue;
    const double mx = std::nearbyint(Model[i].X), my = std::nearbyint(Model[i].Y);
    const double tx = std::nearbyint(Targets[i].Point.X), ty = std::nearbyint(Targets[i].Point.Y);
    if (mx <= 0 || tx <= 0) continue;
    a += (mx - c0.X) * (tx - c1.X) + (my - c0.Y) * (ty - c1.Y);
    b += (mx - c0.X) * (ty - c1.Y) - (my - c0.Y) * (tx - c1.X);
  }
  a /= spread;
  b /= spread;
  const double scale = std::hypot(a, b);
  // The same rotation as every superimposition: atan2 stays right beyond a quarter turn.
  const double angle = std::atan2(b, a);
  if (!(scale > 0) || !std::isfinite(scale) || !std::isfinite(angle)) return;
  TranslateModel(c1.X - c0.X, c1.Y - c0.Y);
  ScaleModel(scale);
  RotateModel(ModelCentroid(), angle);
}

}  // namespace lumacet
