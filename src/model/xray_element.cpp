#include "model/xray_element.h"

#include <cmath>

#include "geometry/coordinates.h"
#include "model/list_elements.h"

namespace lumacet {

const char* ElementKindName(int code) {
  static const char* const kNames[] = {"Point",     "Snake",       "Point",       "Area",     "Graphic",
                                       "Variable",  "Analysis",    "Protocol",    "Superimp.", "Orientation",
                                       "Relation",  "View",        "PCA",         "Point",    ""};
  return (code >= 0 && code <= ekNone) ? kNames[code] : "";
}

bool FitsSlot(const TXRayElement* element, int code) {
  if (element == nullptr) return true;
  int own = element->KindCode();
  bool isPoint = dynamic_cast<const TXRPoint*>(element) != nullptr;
  switch (code) {
    case ekAnyPoint:
      return isPoint;
    case kDigPointOrSnake:
      return own == ekDigPoint || own == ekSnake;
    case ekNone:
      return false;
    default:
      return own == code;
  }
}

void TXRayElement::Assign(const TXRayElement& source) { Name = source.Name; }

void TXRayElement::VisitReferences(const TReferenceVisitor&) {}

void TXRayElement::VisitReferences(const std::function<void(TXRayElement* const&, int)>& visit) const {
  // The mutable walk never changes anything unless its visitor does.
  const_cast<TXRayElement*>(this)->VisitReferences(
      [&](TXRayElement*& slot, int code) { visit(slot, code); });
}

bool TXRayElement::References(const TXRayElement* element) const {
  if (element == nullptr) return false;
  bool found = false;
  VisitReferences([&](TXRayElement* const& slot, int) {
    if (slot == element) found = true;
  });
  return found;
}

std::unique_ptr<TXRayElement> TXRPoint::Create() const { return std::make_unique<TXRPoint>(); }

void TXRPoint::Assign(const TXRayElement& source) {
  TXRayElement::Assign(source);
  if (auto* p = dynamic_cast<const TXRPoint*>(&source)) SetRaw(p->fX, p->fY, p->fXSet, p->fYSet);
}

void TXRPoint::SetX(double x) {
  if (!std::isfinite(x)) {
    SetValid(false);
    return;
  }
  fX = x;
  fXSet = true;
}

void TXRPoint::SetY(double y) {
  if (!std::isfinite(y)) {
    SetValid(false);
    return;
  }
  fY = y;
  fYSet = true;
}

void TXRPoint::SetValid(bool valid) {
  fXSet = valid;
  fYSet = valid;
}

bool TXRPoint::DependsOn(const TXRPoint*) { return false; }

void TXRPoint::SetRaw(double x, double y, bool xSet, bool ySet) {
  fX = x;
  fY = y;
  fXSet = xSet;
  fYSet = ySet;
}

void TXRPoint::ToPixel(int& x, int& y) {
  auto rx = RoundToInt(GetX());
  auto ry = RoundToInt(GetY());
  if (rx && ry) {
    x = *rx;
    y = *ry;
  } else {
    x = 0;
    y = 0;
  }
}

void TXRPoint::Rotate(double cx, double cy, double angle) {
  if (!IsValid()) return;
  double dx = GetX() - cx;
  double dy = GetY() - cy;
  double c = std::cos(angle);
  double s = std::sin(angle);
  SetXY(cx + dx * c - dy * s, cy + dx * s + dy * c);
}

}  // namespace lumacet
