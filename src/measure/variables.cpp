#include "measure/variables.h"

#include <array>
#include <cmath>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "geometry/plane_geometry.h"
#include "geometry/point_lists.h"
#include "geometry/spline.h"
#include "measure/number_format.h"
#include "model/kind_tables.h"
#include "model/list_elements.h"
#include "model/point_geometry.h"
#include "model/xray_type.h"
#include "support/user_numbers.h"

namespace lumacet {

namespace {

// What the kind's operands are: every slot of a variable kind takes the same class.
bool TakesPoints(const TVariableKindInfo& kind) { return kind.Slots[0] == ekAnyPoint; }

// What an operand slot gave: a point position, or a number (a variable's value, a
// drawing's area or length). `Valid` says the operand had a value at all: a valid variable
// whose text is not a number has Valid set and no Number.
struct TOperand {
  std::optional<TFloatPoint> Point;
  std::optional<double> Number;
  bool Valid = false;
};

std::vector<TXRPoint*> DrawingPoints(const TXRGraphic& graphic) {
  std::vector<TXRPoint*> points;
  points.reserve(graphic.Points.size());
  for (TXRayElement* element : graphic.Points) points.push_back(dynamic_cast<TXRPoint*>(element));
  return points;
}

// Millimetres along the drawing. A spline runs through whichever points are valid; the
// straight kinds need every point.
std::optional<double> DrawingLength(const TXRGraphic& graphic) {
  const TGraphicKindInfo& kind = GraphicKind(graphic.Kind());
  if (kind.Has(kfShapeAnalysis)) return std::nullopt;
  std::vector<TXRPoint*> points = DrawingPoints(graphic);
  std::vector<TFloatPoint> valid = ValidPositions(points);
  if (valid.empty()) return std::nullopt;
  double length = 0;
  if (kind.Has(kfSpline)) {
    length = CurveLength(points);
    if (kind.Has(kfClosed)) length += Distance(valid.front(), valid.back());
  } else {
    if (valid.size() != points.size()) return std::nullopt;
    length = PolylineLength(valid);
    if (kind.Has(kfClosed)) length += Distance(valid.back(), valid.front());
  }
  return length / 10;
}

// Square millimetres enclosed by the drawing's valid points.
std::optional<double> DrawingArea(const TXRGraphic& graphic) {
  const TGraphicKindInfo& kind = GraphicKind(graphic.Kind());
  if (kind.Has(kfShapeAnalysis)) return std::nullopt;
  std::vector<TXRPoint*> points = DrawingPoints(graphic);
  std::vector<TFloatPoint> valid = ValidPositions(points);
  if (valid.size() < 3) return std::nullopt;
  if (kind.Has(kfSpline)) return CurveArea(points);
  return PolygonArea(valid) / 100;
}

// Millimetres of p from the line a -> b: positive on its right-hand side as displayed
// (and on the line), negative on the left.
std::optional<double> SignedDistance(TFloatPoint p, TFloatPoint a, TFloatPoint b) {
  std::optional<TFloatPoint> foot = ProjectOnLine(p, a, b);
  if (!foot) return std::nullopt;
  double d = Distance(p, *foot) / 10;
  double cross = (b.X - a.X) * (p.Y - a.Y) - (b.Y - a.Y) * (p.X - a.X);
  return cross >= 0 ? d : -d;
}

// Millimetres from the foot of p1 to the foot of p2 on the line a -> b, positive when the
// second lies at or beyond the first in the line's direction.
std::optional<double> ProjectedDistance(TFloatPoint p1, TFloatPoint p2, TFloatPoint a, TFloatPoint b) {
  std::optional<TFloatPoint> f1 = ProjectOnLine(p1, a, b);
  std::optional<TFloatPoint> f2 = ProjectOnLine(p2, a, b);
  if (!f1 || !f2) return std::nullopt;
  double dx = b.X - a.X;
  double dy = b.Y - a.Y;
  double along = ((f2->X - f1->X) * dx + (f2->Y - f1->Y) * dy) / (dx * dx + dy * dy);
  double d = Distance(*f1, *f2) / 10;
  return along >= 0 ? d : -d;
}

std::optional<double> PointFormula(TVariableKind base, const std::array<TOperand, 4>& ops, int count) {
  std::array<TFloatPoint, 4> p{};
  for (int i = 0; i < count; ++i) {
    if (!ops[i].Point) return std::nullopt;
    p[i] = *ops[i].Point;
  }
  switch (base) {
    case TVariableKind::Angle180:
      return RadToDeg(AngleBetweenLines(p[0], p[1], p[2], p[3]));
    case TVariableKind::Angle360: {
      double angle = AngleBetweenLines(p[0], p[1], p[2], p[3]);
      if (angle < 0) angle += kTwoPi;
      double degrees = RadToDeg(angle);
      // A turn a hair short of zero must not come out as a full circle.
      return degrees >= 360 ? 0 : degrees;
    }
    case TVariableKind::Distance1:
      return Distance(p[0], p[1]) / 10;
    case TVariableKind::Distance2:
      return SignedDistance(p[0], p[1], p[2]);
    case TVariableKind::Distance3:
      return ProjectedDistance(p[0], p[1], p[2], p[3]);
    case TVariableKind::Distance4: {
      std::optional<double> d1 = SignedDistance(p[0], p[2], p[3]);
      std::optional<double> d2 = SignedDistance(p[1], p[2], p[3]);
      if (!d1 || !d2) return std::nullopt;
      return *d2 - *d1;
    }
    case TVariableKind::XCoordinate:
      return p[0].X;
    case TVariableKind::YCoordinate:
      return p[0].Y;
    default:
      return std::nullopt;
  }
}

std::optional<double> ArithmeticFormula(TVariableKind base, const std::array<TOperand, 4>& ops, int count) {
  // A valid operand that holds text is a fault whatever the kind.
  for (int i = 0; i < count; ++i)
    if (ops[i].Valid && !ops[i].Number) return std::nullopt;
  if (base == TVariableKind::SumAny || base == TVariableKind::Sum4Any) {
    bool any = false;
    double sum = 0;
    for (int i = 0; i < count; ++i) {
      if (!ops[i].Number) continue;
      any = true;
      sum += *ops[i].Number;
    }
    if (!any) return std::nullopt;
    return sum;
  }
  std::array<double, 4> v{};
  for (int i = 0; i < count; ++i) {
    if (!ops[i].Number) return std::nullopt;
    v[i] = *ops[i].Number;
  }
  switch (base) {
    case TVariableKind::Sum:
      return v[0] + v[1];
    case TVariableKind::Difference:
      return v[0] - v[1];
    case TVariableKind::Product:
      return v[0] * v[1];
    case TVariableKind::Ratio:
      if (v[1] == 0) return std::nullopt;
      return v[0] / v[1];
    case TVariableKind::RatioPercent:
      if (v[1] == 0) return std::nullopt;
      return v[0] / v[1] * 100;
    case TVariableKind::Sum4:
      return v[0] + v[1] + v[2] + v[3];
    case TVariableKind::Absolute:
      return std::fabs(v[0]);
    case TVariableKind::Minimum:
      return v[0] > v[1] ? v[1] : v[0];
    case TVariableKind::Maximum:
      return v[0] >= v[1] ? v[0] : v[1];
    case TVariableKind::SquareRoot:
      if (v[0] < 0) return std::nullopt;
      return std::sqrt(v[0]);
    default:
      return std::nullopt;
  }
}

// The element of `reference`'s type that stands for `element` of the current type: the
// element itself when both share one type, otherwise the element of the same class and
// name (a snake point by its snake's name and its position on it).
TXRayElement* Counterpart(TXRayElement* element, TRadiograph& reference, TRadiograph& current) {
  TXRayType* type = reference.Type();
  if (type == current.Type()) return element;
  if (auto* owned = dynamic_cast<TXROwnedPoint*>(element)) {
    if (owned->Owner == nullptr) return nullptr;
    auto* snake = static_cast<TDigSnake*>(type->FindElement(owned->Owner->Name, ekSnake));
    if (snake == nullptr) return nullptr;
    const auto& own = owned->Owner->Points;
    for (size_t i = 0; i < own.size() && i < snake->Points.size(); ++i)
      if (own[i].get() == owned) return snake->Points[i].get();
    return nullptr;
  }
  if (element->KindCode() > ekPCA) return nullptr;
  return type->FindElement(element->Name, element->KindCode());
}

// Loads the reference radiograph's coordinates for the life of the object, and the
// current radiograph's again at its end when the reference took their place.
class TReferenceLoad {
 public:
  TReferenceLoad(TRadiograph& current, TRadiograph& reference) : fCurrent(current) {
    if (&reference != &current) reference.LoadCoordinates();
  }
  ~TReferenceLoad() { fCurrent.LoadIfStale(); }
  TReferenceLoad(const TReferenceLoad&) = delete;
  TReferenceLoad& operator=(const TReferenceLoad&) = delete;

 private:
  TRadiograph& fCurrent;
};

// One request from outside: the variables it computes, in whatever radiograph, keep their
// results until it ends, so that a definition shared by many others, or a failing one, is
// evaluated once even where reference evaluation reloads the coordinates in between.
class TEvaluation {
 public:
  explicit TEvaluation(const TMeasureContext& context) : fContext(context) {}
  void Compute(TXRVariable& variable, TRadiograph& radiograph);

 private:
  using TKey = std::pair<const TXRVariable*, const TRadiograph*>;

  std::optional<std::string> Evaluate(TXRVariable& variable, TRadiograph& radiograph);
  std::optional<std::string> EvaluateOperands(TXRVariable& variable, TRadiograph& radiograph);
  std::optional<std::string> ShapeStatistic(TXRVariable& variable, TVariableKind base);
  std::optional<std::string> ReferenceShapeDistance(TXRVariable& variable, TRadiograph& radiograph);
  std::optional<std::string> PatientField(TVariableKind base, TRadiograph& radiograph) const;
  TOperand ReadOperand(TXRayElement* element, const TVariableKindInfo& kind, TRadiograph& radiograph);
  TRadiograph* SameTypeReference(TRadiograph& current) const;
  TRadiograph* LoadableReference(TRadiograph& current) const;
  std::optional<std::string> NumberText(std::optional<double> value) const;

  const TMeasureContext& fContext;
  std::set<const TXRVariable*> fComputing;
  std::map<TKey, std::optional<std::string>> fResults;
};

void TEvaluation::Compute(TXRVariable& variable, TRadiograph& radiograph) {
  if (!variable.NeedsRecompute || fComputing.contains(&variable)) return;
  variable.Valid = false;
  variable.ValueText.clear();
  for (int i = 0; i < variable.OperandCount(); ++i)
    if (variable.Operand(i) == nullptr) return;

  const TKey key{&variable, &radiograph};
  auto known = fResults.find(key);
  std::optional<std::string> result;
  if (known != fResults.end()) {
    result = known->second;
  } else {
    fComputing.insert(&variable);
    result = Evaluate(variable, radiograph);
    fComputing.erase(&variable);
    fResults.emplace(key, result);
  }
  if (!result) return;
  variable.ValueText = std::move(*result);
  variable.Valid = true;
  variable.NeedsRecompute = false;
}

std::optional<std::string> TEvaluation::NumberText(std::optional<double> value) const {
  if (!value || !std::isfinite(*value)) return std::nullopt;
  return FormatGeneral(*value, fContext.Formats.DecimalSeparator);
}

TRadiograph* TEvaluation::SameTypeReference(TRadiograph& current) const {
  TRadiograph* reference = fContext.Reference;
  if (reference == nullptr || reference->Type() == nullptr || current.Type() == nullptr) return nullptr;
  if (reference->Type()->Name != current.Type()->Name) return nullptr;
  return reference;
}

// A type's own points hold whichever radiograph was loaded last, so a type and a
// radiograph of that very type object cannot have their coordinates loaded in turn.
TRadiograph* TEvaluation::LoadableReference(TRadiograph& current) const {
  TRadiograph* reference = SameTypeReference(current);
  if (reference != nullptr && reference != &current && reference->Type() == current.Type() &&
      (reference->IsType() || current.IsType()))
    return nullptr;
  return reference;
}

std::optional<std::string> TEvaluation::Evaluate(TXRVariable& variable, TRadiograph& radiograph) {
  const TVariableKindInfo& kind = VariableKind(variable.Kind());
  switch (kind.Base) {
    case TVariableKind::Label:
      return variable.Name;
    case TVariableKind::Constant:
      return NumberText(ParseUserNumber(variable.Name, '.'));
    case TVariableKind::PatientName:
    case TVariableKind::DateOfBirth:
    case TVariableKind::PatientAge:
    case TVariableKind::PatientAgeText:
    case TVariableKind::DateTaken:
    case TVariableKind::Magnification:
    case TVariableKind::Comments: {
      TRadiograph* record = kind.Has(kfReference) ? SameTypeReference(radiograph) : &radiograph;
      if (record == nullptr) return std::nullopt;
      return PatientField(kind.Base, *record);
    }
    case TVariableKind::CentroidSize:
    case TVariableKind::NormalizedCentroidSize:
    case TVariableKind::ProcrustesDistance:
    case TVariableKind::PrincipalComponent:
    case TVariableKind::PrincipalComponentZ:
      if (kind.Has(kfReference)) return ReferenceShapeDistance(variable, radiograph);
      return ShapeStatistic(variable, kind.Base);
    default:
      return EvaluateOperands(variable, radiograph);
  }
}

std::optional<std::string> TEvaluation::PatientField(TVariableKind base, TRadiograph& radiograph) const {
  const TTextFormats& formats = fContext.Formats;
  switch (base) {
    case TVariableKind::PatientName:
      return radiograph.Name;
    case TVariableKind::DateOfBirth:
      return FormatDate(radiograph.DateOfBirth, formats.ShortDateFormat);
    case TVariableKind::PatientAge:
      return NumberText(PatientAge(radiograph));
    case TVariableKind::PatientAgeText:
      return radiograph.AgeText(formats);
    case TVariableKind::DateTaken:
      return FormatDate(radiograph.DateTaken, formats.ShortDateFormat);
    case TVariableKind::Magnification:
      return NumberText(radiograph.Magnification);
    case TVariableKind::Comments:
      return radiograph.Comments;
    default:
      return std::nullopt;
  }
}

TOperand TEvaluation::ReadOperand(TXRayElement* element, const TVariableKindInfo& kind, TRadiograph& radiograph) {
  TOperand operand;
  if (TakesPoints(kind)) {
    if (auto* point = dynamic_cast<TXRPoint*>(element)) operand.Point = ValidPosition(*point);
    operand.Valid = operand.Point.has_value();
  } else if (kind.Has(kfDrawingMeasure)) {
    if (auto* graphic = dynamic_cast<TXRGraphic*>(element))
      operand.Number = kind.Base == TVariableKind::Area ? DrawingArea(*graphic) : DrawingLength(*graphic);
    operand.Valid = operand.Number.has_value();
  } else if (auto* variable = dynamic_cast<TXRVariable*>(element)) {
    Compute(*variable, radiograph);
    operand.Valid = variable->Valid;
    if (operand.Valid) operand.Number = ParseUserNumber(variable->ValueText, fContext.Formats.DecimalSeparator);
  }
  return operand;
}

std::optional<std::string> TEvaluation::EvaluateOperands(TXRVariable& variable, TRadiograph& radiograph) {
  const TVariableKindInfo& kind = VariableKind(variable.Kind());
  const int count = variable.OperandCount();
  std::array<TOperand, 4> ops;
  if (kind.Has(kfReference)) {
    TRadiograph* reference = LoadableReference(radiograph);
    if (reference == nullptr) return std::nullopt;
    bool anyFlagged = false;
    for (int i = 0; i < count; ++i) anyFlagged = anyFlagged || variable.ReferenceFlags[i];
    if (anyFlagged) {
      TReferenceLoad load(radiograph, *reference);
      for (int i = 0; i < count; ++i) {
        if (!variable.ReferenceFlags[i]) continue;
        TXRayElement* element = Counterpart(variable.Operand(i), *reference, radiograph);
        if (element == nullptr) return std::nullopt;
        ops[i] = ReadOperand(element, kind, *reference);
      }
    }
    for (int i = 0; i < count; ++i)
      if (!variable.ReferenceFlags[i]) ops[i] = ReadOperand(variable.Operand(i), kind, radiograph);
  } else {
    for (int i = 0; i < count; ++i) ops[i] = ReadOperand(variable.Operand(i), kind, radiograph);
  }
  if (TakesPoints(kind)) return NumberText(PointFormula(kind.Base, ops, count));
  if (kind.Has(kfDrawingMeasure)) return NumberText(ops[0].Number);
  return NumberText(ArithmeticFormula(kind.Base, ops, count));
}

// The shape kinds ask for the statistics in their own order, from "Centroid Size" on.
std::optional<std::string> TEvaluation::ShapeStatistic(TXRVariable& variable, TVariableKind base) {
  auto* pca = dynamic_cast<TXRPCA*>(variable.Operand(0));
  if (fContext.Pca == nullptr || pca == nullptr) return std::nullopt;
  const int statistic = KindNumber(base) - KindNumber(TVariableKind::CentroidSize);
  std::optional<int> component = 0;
  if (statistic >= 3) component = RoundToInt(variable.AuxiliaryValue);
  if (!component) return std::nullopt;
  return NumberText(fContext.Pca->PCAMeasure(*pca, statistic, *component));
}

std::optional<std::string> TEvaluation::ReferenceShapeDistance(TXRVariable& variable, TRadiograph& radiograph) {
  auto* pca = dynamic_cast<TXRPCA*>(variable.Operand(0));
  TRadiograph* reference = LoadableReference(radiograph);
  if (fContext.Pca == nullptr || pca == nullptr || reference == nullptr) return std::nullopt;
  auto* referencePca = dynamic_cast<TXRPCA*>(Counterpart(pca, *reference, radiograph));
  if (referencePca == nullptr) return std::nullopt;
  std::vector<double> shape;
  {
    TReferenceLoad load(radiograph, *reference);
    for (TXRayElement* element : referencePca->Points) {
      auto* point = dynamic_cast<TXRPoint*>(element);
      std::optional<TFloatPoint> position = point != nullptr ? ValidPosition(*point) : std::nullopt;
      if (!position) {
        shape.clear();
        break;
      }
      shape.push_back(position->X);
      shape.push_back(position->Y);
    }
  }
  return NumberText(fContext.Pca->ShapeDistance(*pca, shape));
}

}  // namespace

void ComputeVariable(TXRVariable& variable, TRadiograph& radiograph, const TMeasureContext& context) {
  // A value kept from another radiograph's coordinates must not pass for this one's.
  radiograph.LoadIfStale();
  if (!variable.NeedsRecompute) return;
  TEvaluation(context).Compute(variable, radiograph);
}

std::optional<double> VariableNumber(const TXRVariable& variable, const TTextFormats& formats) {
  if (!variable.Valid) return std::nullopt;
  return ParseUserNumber(variable.ValueText, formats.DecimalSeparator);
}

std::optional<double> PatientAge(const TRadiograph& radiograph) {
  if (radiograph.DateOfBirth == 0 || radiograph.DateTaken == 0) return std::nullopt;
  return (radiograph.DateTaken - radiograph.DateOfBirth) / 365.4;
}

}  // namespace lumacet
