#include "simulation/superimposition.h"

#include <cmath>
#include <optional>
#include <string>

#include "geometry/plane_geometry.h"
#include "geometry/point_lists.h"
#include "model/kind_codes.h"
#include "model/xray_type.h"
#include "simulation/movement_log.h"

namespace lumacet {

namespace {

struct TLandmark {
  std::string Name;
  TFloatPoint At;
};

TResult CannotSuperimpose(std::string reason) {
  return TResult::Failure(LcText("Superimposition", "Cannot superimpose. Points not valid."), std::move(reason));
}

TResult CannotOrientate(std::string reason) {
  return TResult::Failure(LcText("Superimposition", "Cannot orientate. Points not valid."), std::move(reason));
}

// The valid positions of the named points of a radiograph; absent unless every one is
// there and valid.
std::optional<std::vector<TFloatPoint>> PositionsByName(TRadiograph& radiograph,
                                                        const std::vector<TLandmark>& landmarks) {
  if (radiograph.Type() == nullptr) return std::nullopt;
  const TLoadedRadiograph loaded = radiograph.Load();
  std::vector<TFloatPoint> positions;
  for (const TLandmark& landmark : landmarks) {
    std::optional<TFloatPoint> at = loaded.Position(loaded.Find(landmark.Name, ekAnyPoint));
    if (!at) return std::nullopt;
    positions.push_back(*at);
  }
  return positions;
}

// The operand points, or the members of the operand drawing or shape analysis, with their
// positions on the radiograph; only valid ones.
std::vector<TLandmark> Landmarks(TRadiograph& radiograph, const std::vector<TXRayElement*>& elements) {
  const TLoadedRadiograph loaded = radiograph.Load();
  std::vector<TLandmark> landmarks;
  for (TXRayElement* element : elements)
    if (std::optional<TFloatPoint> at = loaded.Position(element)) landmarks.push_back({element->Name, *at});
  return landmarks;
}

std::vector<TXRayElement*> Members(TXRayElement* element) {
  if (auto* list = dynamic_cast<TXRPointElement*>(element)) return list->Points;
  return {};
}

TFloatPoint MeanOf(std::span<const TFloatPoint> points) { return Centroid(points).value_or(TFloatPoint{}); }

// Sums of the least-squares fit of B onto A about their centroids.
struct TFitSums {
  TFloatPoint CentreA, CentreB;
  double SizeA = 0, SizeB = 0;  // sums of squared distances from the centroids
  double Dot = 0, Cross = 0;
};

TFitSums FitSums(std::span<const TFloatPoint> a, std::span<const TFloatPoint> b) {
  TFitSums f{.CentreA = MeanOf(a), .CentreB = MeanOf(b)};
  for (size_t i = 0; i < a.size(); ++i) {
    const double ax = a[i].X - f.CentreA.X, ay = a[i].Y - f.CentreA.Y;
    const double bx = b[i].X - f.CentreB.X, by = b[i].Y - f.CentreB.Y;
    f.SizeA += ax * ax + ay * ay;
    f.SizeB += bx * bx + by * by;
    f.Dot += ax * bx + ay * by;
    f.Cross += ax * by - ay * bx;
  }
  return f;
}

TMovement Translation(TMovementKind kind, TFloatPoint by) { return {.Kind = kind, .Dx = by.X, .Dy = by.Y}; }

TMovement Rotation(TMovementKind kind, TFloatPoint centre, double angle) {
  return {.Kind = kind, .Angle = angle, .Centre = centre};
}

TFloatPoint Minus(TFloatPoint a, TFloatPoint b) { return {a.X - b.X, a.Y - b.Y}; }

bool AllFinite(const std::vector<TMovement>& movements) {
  for (const TMovement& m : movements) {
    if (!std::isfinite(m.Dx) || !std::isfinite(m.Dy) || !std::isfinite(m.Angle)) return false;
    if (m.Centre && !(std::isfinite(m.Centre->X) && std::isfinite(m.Centre->Y))) return false;
  }
  return true;
}

TFloatPoint DigitizedCentroid(TRadiograph& radiograph) {
  const TLoadedRadiograph loaded = radiograph.Load();
  std::vector<TFloatPoint> points;
  for (const auto& e : loaded.Type()->ElementList(ekDigPoint))
    if (std::optional<TFloatPoint> at = loaded.Position(e.get())) points.push_back(*at);
  return MeanOf(points);
}

TResultOf<std::vector<TMovement>> ByPoints(TSupimpKind kind, const std::vector<TLandmark>& a,
                                           const std::vector<TFloatPoint>& b) {
  auto same = [](TFloatPoint p, TFloatPoint q) { return p == q; };
  double angle = 0;
  switch (kind) {
    case TSupimpKind::PointToPoint:
      if (same(a[0].At, a[1].At) || same(b[0], b[1])) return CannotSuperimpose("the two points coincide");
      angle = -AngleBetweenLines(a[0].At, a[1].At, b[0], b[1]);
      break;
    case TSupimpKind::CenteredAngle: {
      if (same(a[0].At, a[1].At) || same(a[0].At, a[2].At) || same(b[0], b[1]) || same(b[0], b[2]))
        return CannotSuperimpose("a point of the angle coincides with its vertex");
      const double alpha = AngleBetweenLines(a[0].At, a[1].At, a[0].At, a[2].At);
      const double beta = AngleBetweenLines(b[0], b[1], b[0], b[2]);
      angle = (alpha - beta) / 2 - AngleBetweenLines(a[0].At, a[1].At, b[0], b[1]);
      break;
    }
    default:
      if (same(a[1].At, a[2].At) || same(b[1], b[2])) return CannotSuperimpose("the points of the line coincide");
      angle = -AngleBetweenLines(a[1].At, a[2].At, b[1], b[2]);
      break;
  }
  return std::vector<TMovement>{Translation(mkTranslateAll, Minus(a[0].At, b[0])),
                                Rotation(mkRotateAll, a[0].At, angle)};
}

}  // namespace

TResultOf<std::vector<TMovement>> SuperimpositionMovements(TXRSupimp& superimposition, TRadiograph& fixed,
                                                           TRadiograph& moving) {
  if (fixed.Type() == nullptr || moving.Type() == nullptr) return CannotSuperimpose("a radiograph has no type");
  const auto kind = static_cast<TSupimpKind>(superimposition.Kind());
  const int used = superimposition.OperandCount();
  for (int i = 0; i < used; ++i)
    if (superimposition.Operand(i) == nullptr) return CannotSuperimpose("an operand is not set");
  const bool byPoints = kind == TSupimpKind::PointToPoint || kind == TSupimpKind::CenteredAngle ||
                        kind == TSupimpKind::PointLines;
  std::vector<TXRayElement*> operands(superimposition.Points.begin(), superimposition.Points.begin() + used);
  const std::vector<TLandmark> a = Landmarks(fixed, byPoints ? operands : Members(operands[0]));
  if (a.empty() || (byPoints && a.size() != operands.size())) return CannotSuperimpose("a point of the fixed tracing");
  const std::optional<std::vector<TFloatPoint>> b = PositionsByName(moving, a);
  if (!b) return CannotSuperimpose("a point of the moving tracing is missing or not valid");
  if (byPoints) return ByPoints(kind, a, *b);

  std::vector<TFloatPoint> fixedPoints;
  for (const TLandmark& landmark : a) fixedPoints.push_back(landmark.At);
  const TFitSums f = FitSums(fixedPoints, *b);
  if (f.SizeA == 0 || f.SizeB == 0 || (f.Dot == 0 && f.Cross == 0))
    return CannotSuperimpose("the landmarks have no extent to fit");
  std::vector<TMovement> movements;
  TFloatPoint movingCentre = f.CentreB;
  if (kind != TSupimpKind::BestFit) {
    // The least-squares size of the moving landmarks on the fixed ones.
    const double factor = std::hypot(f.Dot, f.Cross) / f.SizeB;
    const TFloatPoint c = DigitizedCentroid(moving);
    movements.push_back({.Kind = mkScale, .Dx = factor});
    movingCentre = {c.X + factor * (f.CentreB.X - c.X), c.Y + factor * (f.CentreB.Y - c.Y)};
  }
  movements.push_back(Translation(mkTranslateAll, Minus(f.CentreA, movingCentre)));
  movements.push_back(Rotation(mkRotateAll, f.CentreA, -std::atan2(f.Cross, f.Dot)));
  if (!AllFinite(movements)) return CannotSuperimpose("the fit is not finite");
  return movements;
}

TResultOf<std::vector<TMovement>> OrientationMovements(TXROrient& orientation, TRadiograph& radiograph) {
  if (radiograph.Type() == nullptr) return CannotOrientate("the radiograph has no type");
  const auto kind = static_cast<TOrientKind>(orientation.Kind());
  if (kind == TOrientKind::AlignToImage) return std::vector<TMovement>{};
  const int used = orientation.OperandCount();
  for (int i = 0; i < used; ++i)
    if (orientation.Operand(i) == nullptr) return CannotOrientate("an operand is not set");
  if (orientation.Affect == 2 && orientation.AffectedArea == nullptr) return CannotOrientate("no area is chosen");

  std::vector<TMovement> movements;
  auto translate = [&](TFloatPoint by) {
    movements.push_back(Translation(orientation.Affect == 0 ? mkTranslateAll : mkTranslate, by));
  };
  auto rotate = [&](TFloatPoint centre, double angle) {
    movements.push_back(Rotation(orientation.Affect == 0 ? mkRotateAll : mkRotate, centre, angle));
  };

  if (kind == TOrientKind::BestFit) {
    const std::vector<TXRayElement*> d1 = Members(orientation.Operand(0));
    const std::vector<TXRayElement*> d2 = Members(orientation.Operand(1));
    const std::vector<TLandmark> b = Landmarks(radiograph, d1);
    const std::vector<TLandmark> a = Landmarks(radiograph, d2);
    if (a.size() != d2.size() || b.size() != d1.size() || a.size() != b.size() || a.empty())
      return CannotOrientate("the drawings differ in length or hold points not valid");
    std::vector<TFloatPoint> pa, pb;
    for (size_t i = 0; i < a.size(); ++i) {
      pa.push_back(a[i].At);
      pb.push_back(b[i].At);
    }
    const TFitSums f = FitSums(pa, pb);
    if (f.SizeA == 0 || (f.Dot == 0 && f.Cross == 0)) return CannotOrientate("the drawings have no extent to fit");
    translate(Minus(f.CentreA, f.CentreB));
    rotate(f.CentreA, -std::atan2(f.Cross, f.Dot));
  } else {
    std::vector<TXRayElement*> operands(orientation.Points.begin(), orientation.Points.begin() + used);
    const std::vector<TLandmark> p = Landmarks(radiograph, operands);
    if (p.size() != operands.size()) return CannotOrientate("a point is not valid");
    if (p[0].At == p[1].At) return CannotOrientate("the points of the line coincide");
    if (kind == TOrientKind::FixOnPoints) {
      if (p[2].At == p[3].At) return CannotOrientate("the points of the line coincide");
      const TFloatPoint d = Minus(p[2].At, p[0].At);
      if (d.X != 0 || d.Y != 0) translate(d);
      const double g = AngleBetweenLines(p[0].At, p[1].At, p[2].At, p[3].At);
      if (g != 0) rotate(p[2].At, g);
    } else {
      double q = LineAngle(p[0].At, p[1].At);
      if (kind == TOrientKind::SetVertical) q += kPi / 2;
      if (kind == TOrientKind::SetToAngle) q += DegToRad(orientation.Parameter1);
      q = std::remainder(q, kTwoPi);  // the shorter way round
      if (q != 0) rotate(DigitizedCentroid(radiograph), q);
    }
  }
  if (orientation.Affect == 2)
    for (TMovement& m : movements) m.Elements = std::vector<TXRayElement*>{orientation.AffectedArea};
  if (!AllFinite(movements)) return CannotOrientate("the orientation is not finite");
  return movements;
}

TResult SuperimposeOnCurrent(TXRSupimp& superimposition, TRadiograph& current,
                             std::span<TRadiograph* const> radiographs, const TMovementOptions& options) {
  TResult first;
  for (TRadiograph* other : radiographs) {
    if (other == nullptr || other == &current || other->IsType() || other->Digitizing || !other->Visible) continue;
    TResultOf<std::vector<TMovement>> movements = SuperimpositionMovements(superimposition, current, *other);
    TResult outcome = movements.Outcome();
    for (size_t i = 0; outcome && movements && i < movements->size(); ++i) {
      const TMovement& m = (*movements)[i];
      outcome = ApplyMovement(m, *other, options);
      if (outcome && !IsNullMovement(m)) other->UndoMovements.push_back(m);
    }
    if (!outcome && first) first = outcome;
  }
  current.LoadCoordinates();
  return first;
}

TResult Orientate(TXROrient& orientation, TRadiograph& radiograph, const TMovementOptions& options) {
  TResultOf<std::vector<TMovement>> movements = OrientationMovements(orientation, radiograph);
  if (!movements) return movements.Outcome();
  for (const TMovement& m : *movements) {
    if (TResult done = ApplyMovement(m, radiograph, options); !done) return done;
    AddMovement(radiograph, m, options);
  }
  return {};
}

TXROrient* DefaultOrientation(const TXRayType& type) {
  return type.Count(ekOrient) == 0 ? nullptr : type.Element<TXROrient>(ekOrient, 0);
}

void AutoOrientate(TRadiograph& radiograph, const TMovementOptions& options) {
  if (radiograph.Type() == nullptr) return;
  TXROrient* orientation = DefaultOrientation(*radiograph.Type());
  if (orientation == nullptr || orientation->Kind() == KindNumber(TOrientKind::AlignToImage)) return;
  // A refusal performs nothing, and on loading nothing is said about it.
  static_cast<void>(Orientate(*orientation, radiograph, options));
}

}  // namespace lumacet

namespace lumacet {

TResult OrientAndSuperimpose(TRadiograph& radiograph, TRadiograph& fixed, const std::string* orientation,
                             const std::string* superimposition, const TMovementOptions& options) {
  if (radiograph.Type() == nullptr || fixed.Type() == nullptr) return CannotSuperimpose("a radiograph has no type");
  if (orientation != nullptr) {
    auto* o = dynamic_cast<TXROrient*>(radiograph.Type()->FindElement(*orientation, ekOrient));
    if (o == nullptr)
      return TResult::Failure(TText(LcText("Superimposition", "The type %1 has no orientation named %2."),
                                    {radiograph.Type()->Name, *orientation}));
    if (TResult done = Orientate(*o, radiograph, options); !done) return done;
  }
  if (superimposition == nullptr || &radiograph == &fixed) return {};
  auto* s = dynamic_cast<TXRSupimp*>(fixed.Type()->FindElement(*superimposition, ekSupimp));
  if (s == nullptr)
    return TResult::Failure(TText(LcText("Superimposition", "The type %1 has no superimposition named %2."),
                                  {fixed.Type()->Name, *superimposition}));
  TRadiograph* const moving[] = {&radiograph};
  return SuperimposeOnCurrent(*s, fixed, moving, options);
}

}  // namespace lumacet
