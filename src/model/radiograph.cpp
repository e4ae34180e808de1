#include "model/radiograph.h"

#include <cmath>
#include <unordered_set>

#include "geometry/point_lists.h"
#include "model/point_geometry.h"
#include "model/xray_type.h"
#include "support/file_numbers.h"

namespace lumacet {

TXRView* EmptyView() {
  static TXRView empty("<none>");
  return &empty;
}

void TRadiograph::LoadCoordinates() {
  if (fType == nullptr) return;
  fType->InvalidateDerived();
  fType->InvalidateVariables();
}

std::string TRadiograph::Caption(const TTextFormats&) const { return Name; }

std::string TRadiograph::Description(const TTextFormats& formats) const {
  return Caption(formats) + "\r\n" + Name + "\r\n" + Comments;
}

void TRadiograph::ResetAnalysisAndView() {
  CurrentAnalysis = nullptr;
  if (fType != nullptr && fType->Count(ekAnalysis) > 0) CurrentAnalysis = fType->Element<TXRAnalysis>(ekAnalysis, 0);
  CurrentView = nullptr;
}

void TRadiograph::SelectAnalysis(std::string_view name) {
  if (fType == nullptr) return;
  if (auto* analysis = static_cast<TXRAnalysis*>(fType->FindElement(name, ekAnalysis))) CurrentAnalysis = analysis;
}

void TRadiograph::SelectView(std::string_view name) {
  if (name == "<none>") {
    CurrentView = EmptyView();
    return;
  }
  CurrentView = fType != nullptr ? static_cast<TXRView*>(fType->FindElement(name, ekView)) : nullptr;
}

std::vector<TXRPoint*> TRadiograph::SelectedPoints() const {
  std::vector<TXRPoint*> points;
  std::unordered_set<const TXRPoint*> seen;
  auto add = [&](TXRayElement* element) {
    auto* point = dynamic_cast<TXRPoint*>(element);
    if (point != nullptr && seen.insert(point).second) points.push_back(point);
  };
  for (TXRayElement* element : Selection) {
    if (auto* area = dynamic_cast<TArea*>(element)) {
      for (TXRayElement* member : area->Points) add(member);
    } else {
      add(element);
    }
  }
  return points;
}

bool TRadiograph::SetMagnification(double percent) {
  if (!std::isfinite(percent) || percent <= -100) return false;
  Magnification = percent;
  return true;
}

int TRadiograph::ValidPointCount() {
  if (fType == nullptr) return 0;
  LoadCoordinates();
  int count = 0;
  for (const auto& element : fType->ElementList(ekDigPoint))
    if (static_cast<TDigPoint*>(element.get())->IsValid()) ++count;
  return count;
}

namespace {

std::vector<TXRPoint*> PointsOf(const TXRayType::TElementList& list) {
  std::vector<TXRPoint*> points;
  points.reserve(list.size());
  for (const auto& e : list) points.push_back(static_cast<TXRPoint*>(e.get()));
  return points;
}

}  // namespace

TIntRect TRadiograph::TracingBounds() {
  if (fType == nullptr) return {};
  LoadCoordinates();
  return PaddedBounds(PointsOf(fType->ElementList(ekDigPoint)), PointsOf(fType->ElementList(ekDerPoint)));
}

TIntRect TRadiograph::DigitizedBounds() {
  if (fType == nullptr) return {};
  LoadCoordinates();
  return PaddedBounds(PointsOf(fType->ElementList(ekDigPoint)));
}

// An unmodifying record (a save or a load) starts the history afresh, unless the image
// still holds unsaved changes whose entries the save prompt must go on showing.
void TRadiograph::RecordChange(bool modified, const std::string& text) {
  if (!HistoryEnabled) return;
  Modified = modified;
  if (!modified && !ImageModified) ChangeHistory.clear();
  if (!text.empty()) ChangeHistory.push_back(text);
}

void TRadiograph::RecordImageChange(bool modified, const std::string& text) {
  if (!HistoryEnabled) return;
  ImageModified = modified;
  if (!text.empty()) ChangeHistory.push_back(text);
}

std::string TRadiograph::AgeText(const TTextFormats& formats) const {
  const int days = DateTaken - DateOfBirth;
  const double years = days / 365.4;
  const double months = days / 30.45;
  switch (formats.AgeFormat) {
    case 0: {
      double whole = std::trunc(years);
      double rest = std::nearbyint((years - whole) * 365.4 / 30.45);
      return FormatRoundedInt(whole) + formats.AgeSeparator + FormatRoundedInt(rest);
    }
    case 1:
      return FormatUserDecimal(years, 3, formats);
    case 2: {
      double whole = std::trunc(months);
      double rest = std::trunc((months - whole) * 30.45);
      return FormatRoundedInt(whole) + formats.AgeSeparator + FormatRoundedInt(rest);
    }
    case 3:
      return FormatUserDecimal(months, 2, formats);
    default:
      return std::to_string(days);
  }
}

std::string TRadiograph::Initials() const {
  std::string initials;
  bool atWordStart = true;
  for (size_t i = 0; i < Name.size(); ++i) {
    auto c = static_cast<unsigned char>(Name[i]);
    if (c == ' ') {
      atWordStart = true;
    } else if (atWordStart) {
      // The whole first character, however many bytes its UTF-8 form spans.
      size_t length = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : 4;
      initials += Name.substr(i, length);
      atWordStart = false;
    }
  }
  return initials;
}

std::string TRadiograph::FieldText(int field, const TTextFormats& formats) const {
  switch (field) {
    case 0:
      return Caption(formats);
    case 2:
      return Female ? "Female" : "Male";
    case 3:
      return FormatDate(DateOfBirth, formats.ShortDateFormat);
    case 4:
      return AgeText(formats);
    case 5:
      return Comments;
    case 6:
      return FormatDate(DateTaken, formats.ShortDateFormat);
    default:
      return Name;
  }
}

}  // namespace lumacet
