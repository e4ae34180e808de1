#include "simulation/selection.h"

#include <algorithm>
#include <cmath>

#include "geometry/point_lists.h"
#include "model/list_elements.h"
#include "model/radiograph.h"
#include "model/xray_type.h"

namespace lumacet {

namespace {

bool Near(TFloatPoint p, TFloatPoint at, double tolerance) {
  return std::abs(p.X - at.X) <= tolerance && std::abs(p.Y - at.Y) <= tolerance;
}

bool Inside(TFloatPoint p, const TIntRect& band) {
  const auto [left, right] = std::minmax(band.Left, band.Right);
  const auto [top, bottom] = std::minmax(band.Top, band.Bottom);
  return p.X >= left && p.X <= right && p.Y >= top && p.Y <= bottom;
}

bool Contains(const std::vector<TXRayElement*>& list, const TXRayElement* element) {
  return std::find(list.begin(), list.end(), element) != list.end();
}

// Shift toggles the element; otherwise it alone is the selection (nothing when null).
void Take(TRadiograph& radiograph, TXRayElement* element, bool shift) {
  auto& selection = radiograph.Selection;
  if (!shift) {
    selection.clear();
    if (element != nullptr) selection.push_back(element);
    return;
  }
  if (element == nullptr) return;
  if (Contains(selection, element)) {
    std::erase(selection, element);
  } else {
    selection.push_back(element);
  }
}

}  // namespace

std::vector<TArea*> AreasAt(TRadiograph& radiograph, TFloatPoint at, double tolerance) {
  std::vector<TArea*> areas;
  if (radiograph.Type() == nullptr) return areas;
  const TLoadedRadiograph loaded = radiograph.Load();
  for (const auto& e : loaded.Type()->ElementList(ekArea)) {
    auto* area = static_cast<TArea*>(e.get());
    for (TXRayElement* member : area->Points) {
      const std::optional<TFloatPoint> p = loaded.Position(member);
      if (p && Near(*p, at, tolerance)) {
        areas.push_back(area);
        break;
      }
    }
  }
  return areas;
}

bool SelectAt(TRadiograph& radiograph, TFloatPoint at, double tolerance, bool shift, bool ctrl) {
  if (radiograph.Type() == nullptr) return false;
  const std::vector<TXRayElement*> before = radiograph.Selection;
  const std::vector<TArea*> under = AreasAt(radiograph, at, tolerance);
  const auto& all = radiograph.Type()->ElementList(ekArea);
  std::size_t start = 0;
  if (ctrl) {
    for (TXRayElement* e : radiograph.Selection) {
      auto* area = dynamic_cast<TArea*>(e);
      if (area == nullptr || std::find(under.begin(), under.end(), area) == under.end()) continue;
      std::erase(radiograph.Selection, e);
      const auto position = std::find_if(all.begin(), all.end(), [area](const auto& p) { return p.get() == area; });
      start = static_cast<std::size_t>(position - all.begin()) + 1;
      if (start >= all.size()) start = 0;
      break;
    }
  }
  TXRayElement* taken = nullptr;
  for (std::size_t k = 0; k < all.size() && taken == nullptr; ++k) {
    auto* area = static_cast<TArea*>(all[(start + k) % all.size()].get());
    if (std::find(under.begin(), under.end(), area) != under.end()) taken = area;
  }
  if (taken == nullptr) {
    // A single point is clicked where no area lies: the nearest valid digitized point.
    const TLoadedRadiograph loaded = radiograph.Load();
    double best = INFINITY;
    for (const auto& e : loaded.Type()->ElementList(ekDigPoint)) {
      const std::optional<TFloatPoint> p = loaded.Position(e.get());
      if (!p || !Near(*p, at, tolerance)) continue;
      const double d = std::hypot(p->X - at.X, p->Y - at.Y);
      if (d < best) {
        best = d;
        taken = e.get();
      }
    }
  }
  Take(radiograph, taken, shift);
  return radiograph.Selection != before;
}

void SelectInBand(TRadiograph& radiograph, const TIntRect& band, bool add) {
  if (radiograph.Type() == nullptr) return;
  if (!add) radiograph.Selection.clear();
  auto& selection = radiograph.Selection;
  const TLoadedRadiograph loaded = radiograph.Load();
  std::vector<TXRayElement*> covered;
  for (const auto& e : loaded.Type()->ElementList(ekArea)) {
    auto* area = static_cast<TArea*>(e.get());
    bool any = false;
    bool all = true;
    for (TXRayElement* member : area->Points) {
      const std::optional<TFloatPoint> p = loaded.Position(member);
      if (!p) continue;
      any = true;
      all = all && Inside(*p, band);
    }
    if (!any || !all) continue;
    covered.insert(covered.end(), area->Points.begin(), area->Points.end());
    if (!Contains(selection, area)) selection.push_back(area);
  }
  for (const auto& e : loaded.Type()->ElementList(ekDigPoint)) {
    const std::optional<TFloatPoint> p = loaded.Position(e.get());
    if (p && Inside(*p, band) && !Contains(covered, e.get()) && !Contains(selection, e.get()))
      selection.push_back(e.get());
  }
}

void SelectAllPoints(TRadiograph& radiograph) {
  radiograph.Selection.clear();
  if (radiograph.Type() == nullptr) return;
  for (const auto& e : radiograph.Type()->ElementList(ekDigPoint)) radiograph.Selection.push_back(e.get());
}

TXRPoint* SelectedPointAt(TRadiograph& radiograph, TFloatPoint at, double tolerance) {
  if (radiograph.Type() == nullptr) return nullptr;
  const TLoadedRadiograph loaded = radiograph.Load();
  TXRPoint* found = nullptr;
  double best = INFINITY;
  for (TXRPoint* point : radiograph.SelectedPoints()) {
    const std::optional<TFloatPoint> p = loaded.Position(point);
    if (!p || !Near(*p, at, tolerance)) continue;
    const double d = std::hypot(p->X - at.X, p->Y - at.Y);
    if (d < best) {
      best = d;
      found = point;
    }
  }
  return found;
}

std::string SelectionDescription(const TRadiograph& radiograph) {
  if (radiograph.Selection.empty()) return {};
  if (radiograph.Selection.size() == 1) return radiograph.Selection.front()->Name;
  return "Multiple Selection";
}

std::optional<TSelectionHandles> SelectionHandles(TRadiograph& radiograph, double markerSize) {
  if (radiograph.Type() == nullptr) return std::nullopt;
  const TLoadedRadiograph loaded = radiograph.Load();
  std::vector<TFloatPoint> points;
  for (TXRPoint* point : radiograph.SelectedPoints())
    if (std::optional<TFloatPoint> p = loaded.Position(point)) points.push_back(*p);
  if (points.empty()) return std::nullopt;
  TSelectionHandles handles;
  constexpr std::array<int, 4> kCorners = {0, 2, 6, 8};
  constexpr std::array<TFloatPoint, 4> kOutwards = {TFloatPoint{-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
  for (std::size_t i = 0; i < 4; ++i) {
    const TFloatPoint corner = BoxAnchorPoint(points, kCorners[i]).value_or(TFloatPoint{});
    handles.Translate[i] = {corner.X + 1.5 * markerSize * kOutwards[i].X, corner.Y + 1.5 * markerSize * kOutwards[i].Y};
    handles.Rotate[i] = {corner.X + 3 * markerSize * kOutwards[i].X, corner.Y + 3 * markerSize * kOutwards[i].Y};
  }
  return handles;
}

}  // namespace lumacet
