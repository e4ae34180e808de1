#include "model/xray_type.h"

#include <algorithm>
#include <unordered_set>

#include "model/xray.h"

namespace lumacet {

namespace {

std::string_view Trimmed(std::string_view s) {
  size_t begin = s.find_first_not_of(' ');
  if (begin == std::string_view::npos) return {};
  size_t end = s.find_last_not_of(' ');
  return s.substr(begin, end - begin + 1);
}

bool ListHasName(const TXRayType::TElementList& list, std::string_view trimmedName) {
  return std::any_of(list.begin(), list.end(), [&](const auto& e) { return Trimmed(e->Name) == trimmedName; });
}

// Kinds in the order deletion looks for referrers; snakes hold no references.
constexpr std::array<int, 12> kReferrerScanOrder = {ekDigPoint, ekDerPoint, ekArea,     ekGraphic,
                                                     ekVariable, ekAnalysis, ekProtocol, ekSupimp,
                                                     ekOrient,   ekHardSoft, ekView,     ekPCA};

}  // namespace

std::unique_ptr<TXRayElement> CreateElement(int code) {
  switch (code) {
    case ekDigPoint: return std::make_unique<TDigPoint>();
    case ekSnake: return std::make_unique<TDigSnake>();
    case ekDerPoint: return std::make_unique<TDerPoint>();
    case ekArea: return std::make_unique<TArea>();
    case ekGraphic: return std::make_unique<TXRGraphic>();
    case ekVariable: return std::make_unique<TXRVariable>();
    case ekAnalysis: return std::make_unique<TXRAnalysis>();
    case ekProtocol: return std::make_unique<TXRProtocol>();
    case ekSupimp: return std::make_unique<TXRSupimp>();
    case ekOrient: return std::make_unique<TXROrient>();
    case ekHardSoft: return std::make_unique<TXRHardSoft>();
    case ekView: return std::make_unique<TXRView>();
    case ekPCA: return std::make_unique<TXRPCA>();
    default: return nullptr;
  }
}

TXRayType::TXRayType() {
  fType = this;
  Name = "Radiograph Type";
  Female = true;
  DateOfBirth = DayNumber(1980, 1, 1);
  DateTaken = DayNumber(1992, 1, 1);
  Comments = "Comments";
  Magnification = 10.0;
}

TXRayType::~TXRayType() {
  for (TXRay* user : fUsers) {
    user->fType = nullptr;
    user->CurrentAnalysis = nullptr;
    user->CurrentView = nullptr;
    user->Selection.clear();
  }
}

const TXRayType::TElementList& TXRayType::ElementList(int code) const {
  return fLists[(code >= 1 && code <= 12) ? code : ekDigPoint];
}

int TXRayType::IndexOf(const TXRayElement* element) const {
  if (element == nullptr || element->KindCode() > ekPCA) return -1;
  const auto& list = fLists[element->KindCode()];
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i].get() == element) return static_cast<int>(i);
  return -1;
}

TXRayElement* TXRayType::FindElement(std::string_view name, int code) const {
  auto findIn = [&](int list) -> TXRayElement* {
    for (const auto& e : ElementList(list))
      if (e->Name == name) return e.get();
    return nullptr;
  };
  if (code == ekAnyPoint) {
    if (TXRayElement* derived = findIn(ekDerPoint)) return derived;
    return findIn(ekDigPoint);
  }
  return findIn(code);
}

std::string TXRayType::ValidateNewName(std::string_view name, int code) const {
  std::string_view trimmed = Trimmed(name);
  if (trimmed.empty()) return "No name was entered.";
  if (trimmed == "<All Points>" || trimmed.front() == '<' || trimmed.front() == '[')
    return "Name reserved by Lumacet.\r\nDo not use < or [ as the first character.";
  bool taken = ListHasName(ElementList(code), trimmed);
  switch (code) {
    case ekDigPoint:
      taken = taken || ListHasName(fLists[ekDerPoint], trimmed) || ListHasName(fLists[ekSnake], trimmed);
      break;
    case ekDerPoint:
    case ekSnake:
      taken = taken || ListHasName(fLists[ekDigPoint], trimmed);
      break;
    default:
      break;
  }
  if (taken) return "'" + std::string(trimmed) + "' : This name is already used.";
  return {};
}

TXRayElement* TXRayType::AddElement(const std::string& name, int code, std::string& message) {
  message = ValidateNewName(name, code);
  if (!message.empty()) return nullptr;
  auto element = CreateElement(code);
  if (element == nullptr) {
    message = "No such element kind.";
    return nullptr;
  }
  element->Name = name;
  TXRayElement* added = element.get();
  fLists[code].push_back(std::move(element));
  fLoaded = {};
  RecordChange(true, "Added: " + name + ".");
  return added;
}

bool TXRayType::RenameElement(std::string oldName, std::string newName, int code,
                              std::string& message) {
  message = ValidateNewName(newName, code);
  if (!message.empty()) return false;
  for (auto& e : fLists[(code >= 1 && code <= 12) ? code : ekDigPoint])
    if (e->Name == oldName) e->Name = newName;
  RecordChange(true, "Renamed: \"" + oldName + "\" to: \"" + newName + "\".");
  return true;
}

TXRayElement* TXRayType::FindReferrer(const TXRayElement* element) const {
  TXRayElement* first = nullptr;
  ScanReferrers(element, [&](TXRayElement* referrer) {
    first = referrer;
    return false;
  });
  return first;
}

void TXRayType::ScanReferrers(const TXRayElement* element, const std::function<bool(TXRayElement*)>& found) const {
  // A snake's own points stand for the snake: deleting it would free them too.
  std::unordered_set<const TXRayElement*> targets{element};
  if (auto* snake = dynamic_cast<const TDigSnake*>(element))
    for (const auto& p : snake->Points) targets.insert(p.get());
  for (int code : kReferrerScanOrder) {
    for (const auto& candidate : fLists[code]) {
      if (candidate.get() == element) continue;
      bool refers = false;
      static_cast<const TXRayElement&>(*candidate).VisitReferences([&](TXRayElement* const& slot, int) {
        if (slot != nullptr && targets.count(slot) > 0) refers = true;
      });
      if (refers && !found(candidate.get())) return;
    }
  }
}

bool TXRayType::DeleteElement(std::string name, int code, std::string& message) {
  message.clear();
  const auto& list = ElementList(code);
  auto it = std::find_if(list.begin(), list.end(), [&](const auto& e) { return e->Name == name; });
  if (it == list.end()) return false;
  message = DeleteRefusal(it->get());
  if (!message.empty()) return false;
  TakeElement(it->get());
  RecordChange(true, "Deleted: " + name + ".");
  return true;
}

std::vector<TXRayElement*> TXRayType::Referrers(const TXRayElement* element) const {
  std::vector<TXRayElement*> referrers;
  ScanReferrers(element, [&](TXRayElement* referrer) {
    referrers.push_back(referrer);
    return true;
  });
  return referrers;
}

std::string TXRayType::DeleteRefusal(const TXRayElement* element) const {
  const TXRayElement* referrer = FindReferrer(element);
  if (referrer == nullptr) return {};
  return "Cannot delete '" + element->Name + "'.\r\n\r\nReferenced in " + ElementKindName(referrer->KindCode()) +
         ": '" + referrer->Name + "'.";
}

bool TXRayType::Holds(const TXRayElement* element) const {
  if (element == nullptr) return false;
  if (IndexOf(element) >= 0) return true;
  const auto* owned = dynamic_cast<const TXROwnedPoint*>(element);
  return owned != nullptr && owned->Owner != nullptr && IndexOf(owned->Owner) >= 0 &&
         std::any_of(owned->Owner->Points.begin(), owned->Owner->Points.end(),
                     [&](const auto& p) { return p.get() == element; });
}

std::unique_ptr<TXRayElement> TXRayType::TakeElement(const TXRayElement* element) {
  const int index = IndexOf(element);
  if (index < 0 || FindReferrer(element) != nullptr) return nullptr;
  ForgetElement(element);
  auto& list = fLists[element->KindCode()];
  std::unique_ptr<TXRayElement> taken = std::move(list[static_cast<size_t>(index)]);
  list.erase(list.begin() + index);
  fLoaded = {};
  return taken;
}

void TXRayType::InsertElement(std::unique_ptr<TXRayElement> element, size_t index) {
  const int code = element->KindCode();
  if (code < 0 || code > ekPCA) return;
  auto& list = fLists[code];
  list.insert(list.begin() + static_cast<std::ptrdiff_t>(std::min(index, list.size())), std::move(element));
  fLoaded = {};
}

bool TXRayType::ReorderElements(int code, const std::vector<TXRayElement*>& order) {
  if (code < 0 || code > ekPCA) return false;
  auto& list = fLists[code];
  std::vector<TXRayElement*> present;
  for (const auto& e : list) present.push_back(e.get());
  std::vector<TXRayElement*> wanted = order;
  std::sort(present.begin(), present.end());
  std::sort(wanted.begin(), wanted.end());
  if (present != wanted) return false;
  std::vector<std::unique_ptr<TXRayElement>> rebuilt;
  rebuilt.reserve(list.size());
  for (TXRayElement* next : order)
    rebuilt.push_back(std::move(*std::find_if(list.begin(), list.end(), [&](const auto& e) { return e.get() == next; })));
  list = std::move(rebuilt);
  return true;
}

void TXRayType::ForgetElement(const TXRayElement* element) {
  auto purge = [&](TRadiograph& r) {
    if (r.CurrentAnalysis == element) r.CurrentAnalysis = nullptr;
    if (r.CurrentView == element) r.CurrentView = nullptr;
    auto forget = [&](std::vector<TXRayElement*>& list) {
      std::erase(list, element);
      if (auto* snake = dynamic_cast<const TDigSnake*>(element))
        for (const auto& p : snake->Points) std::erase(list, p.get());
    };
    forget(r.Selection);
    for (auto* log : {&r.UndoMovements, &r.RedoMovements})
      for (TMovement& m : *log)
        if (m.Elements) forget(*m.Elements);
  };
  purge(*this);
  for (TXRay* user : fUsers) purge(*user);
}

std::vector<TXRayElement*> TXRayType::ElementsNamed(std::string_view name) const {
  std::vector<TXRayElement*> named;
  for (const auto& list : fLists)
    for (const auto& e : list)
      if (e->Name == name) named.push_back(e.get());
  return named;
}

std::vector<std::string> TXRayType::ElementNames(const std::set<int>& codes) const {
  std::vector<std::string> names;
  for (int code : codes) {
    if (code < 0 || code > ekPCA) continue;
    for (const auto& e : fLists[code]) names.push_back(e->Name);
  }
  return names;
}

void TXRayType::AppendElement(std::unique_ptr<TXRayElement> element) {
  int code = element->KindCode();
  if (code < 0 || code > ekPCA) return;
  fLists[code].push_back(std::move(element));
  fLoaded = {};
}

void TXRayType::SanitizeReferences() {
  for (auto& list : fLists) {
    for (auto& element : list) {
      element->VisitReferences([](TXRayElement*& slot, int code) {
        if (slot != nullptr && !FitsSlot(slot, code)) slot = nullptr;
      });
      if (auto* holder = dynamic_cast<TXRPointElement*>(element.get())) holder->DropEmptyEntries();
    }
  }
}

void TXRayType::InvalidateDerived() {
  for (auto& e : fLists[ekDerPoint]) static_cast<TDerPoint*>(e.get())->Invalidate();
}

void TXRayType::InvalidateVariables() {
  for (auto& e : fLists[ekVariable]) static_cast<TXRVariable*>(e.get())->Invalidate();
}

void TXRayType::BuildTemplates() {
  TemplateSnakes.clear();
  for (auto& e : fLists[ekSnake]) {
    auto* snake = static_cast<TDigSnake*>(e.get());
    auto copy = std::make_unique<TDigSnake>();
    copy->CopyFrom(*snake);
    TemplateSnakes.push_back(std::move(copy));
    snake->Placed = true;
  }
  TemplatePoints.clear();
  for (auto& e : fLists[ekDigPoint]) {
    auto* point = static_cast<TDigPoint*>(e.get());
    auto copy = std::make_unique<TXRPoint>(point->Name);
    copy->SetRaw(point->RawX(), point->RawY(), point->XSet(), point->YSet());
    TemplatePoints.push_back(std::move(copy));
  }
}

void TXRayType::Attach(TXRay* radiograph) {
  if (std::find(fUsers.begin(), fUsers.end(), radiograph) == fUsers.end()) fUsers.push_back(radiograph);
}

void TXRayType::Detach(TXRay* radiograph) { std::erase(fUsers, radiograph); }

}  // namespace lumacet
