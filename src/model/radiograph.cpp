#include "model/radiograph.h"

#include <atomic>
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

namespace {

std::uint64_t NextSerial() {
  static std::atomic<std::uint64_t> last{0};
  return ++last;
}

}  // namespace

TRadiograph::TRadiograph() : fSerial(NextSerial()) {}

void TRadiograph::LoadCoordinates() {
  if (fType == nullptr) return;
  fType->InvalidateDerived();
  fType->InvalidateVariables();
  RecordLoaded();
}

bool TRadiograph::TypeHoldsThis() const { return fType != nullptr && fType->fLoaded.Serial == fSerial; }

void TRadiograph::RecordLoaded() {
  if (fType != nullptr) fType->fLoaded = Stamp();
}

// The particulars travel with the coordinates but are plain fields, so they are compared
// rather than versioned.
bool TRadiograph::IsLoaded() const {
  return fType != nullptr && fType->fLoaded == Stamp() && fType->Female == Female &&
         fType->DateOfBirth == DateOfBirth && fType->DateTaken == DateTaken;
}

void TRadiograph::LoadIfStale() {
  if (!IsLoaded()) LoadCoordinates();
}

TLoadedRadiograph TRadiograph::Load() {
  LoadCoordinates();
  return TLoadedRadiograph(*this);
}

TXRayType* TLoadedRadiograph::Type() const {
  fRadiograph.LoadIfStale();
  return fRadiograph.Type();
}

TXRayElement* TLoadedRadiograph::Find(std::string_view name, int code) const {
  TXRayType* type = Type();
  return type != nullptr ? type->FindElement(name, code) : nullptr;
}

TXRVariable* TLoadedRadiograph::Variable(std::string_view name) const {
  return dynamic_cast<TXRVariable*>(Find(name, ekVariable));
}

std::optional<TFloatPoint> TLoadedRadiograph::Position(TXRayElement* element) const {
  auto* point = dynamic_cast<TXRPoint*>(element);
  if (point == nullptr) return std::nullopt;
  fRadiograph.LoadIfStale();
  return ValidPosition(*point);
}

bool TLoadedRadiograph::IsValid(TXRayElement* element) const {
  auto* point = dynamic_cast<TXRPoint*>(element);
  if (point == nullptr) return false;
  fRadiograph.LoadIfStale();
  return point->IsValid();
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
  const TLoadedRadiograph loaded = Load();
  int count = 0;
  for (const auto& element : loaded.Type()->ElementList(ekDigPoint))
    if (loaded.IsValid(element.get())) ++count;
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
  const TLoadedRadiograph loaded = Load();
  const TXRayType& type = *loaded.Type();
  return PaddedBounds(PointsOf(type.ElementList(ekDigPoint)), PointsOf(type.ElementList(ekDerPoint)));
}

TIntRect TRadiograph::DigitizedBounds() {
  if (fType == nullptr) return {};
  const TLoadedRadiograph loaded = Load();
  return PaddedBounds(PointsOf(loaded.Type()->ElementList(ekDigPoint)));
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
  return AgeTextBetween(DateOfBirth, DateTaken, formats);
}

std::string AgeTextBetween(TDayNumber from, TDayNumber to, const TTextFormats& formats) {
  const int days = to - from;
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
