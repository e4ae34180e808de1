// What the type browser shows of a radiograph type, without any window: the categories of
// its tree, the property rows of an element with their links, the elements that refer to
// it, the trail "Back" walks, and finding an element by its name. It reads the type and
// never changes it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "support/marked_text.h"

namespace lumacet {

class TXRayElement;
class TXRayType;

struct TBrowserCategory {
  TTextSource Caption;
  int Code;                 // the kind code of its elements
  std::string_view Picture;  // the kind's picture in the shipped icon theme
};
// The thirteen categories, in the order the tree shows them.
const std::vector<TBrowserCategory>& BrowserCategories();

struct TBrowserRow {
  TText Caption;
  TText Value;                           // empty for a section heading
  const TXRayElement* Link = nullptr;    // set: the row leads to this element
  bool Indent = false;
  bool Tall = false;                     // the "Type" row of an element with an editor picture
  int Picture = -1;                      // that picture's index
};
// The rows of an element, in order.
std::vector<TBrowserRow> PropertyRows(const TXRayElement& element);

// Names shown for stored numbers (editors and browser alike); an unknown number reads as
// itself.
TText TransitionName(int transition);
TText PenStyleName(int style);
TText BrushStyleName(int style);
TText MarkerShapeName(int shape);
TText AlignmentName(int alignment);
TText ShowInName(int showIn);

// The elements "Back" returns to, most recent last.
class TBrowserHistory {
 public:
  // Called before the selection moves away from `previous` (null: root or category).
  void Leaving(const TXRayElement* previous);
  bool CanGoBack() const { return !fTrail.empty(); }
  // The element to go back to, taken off the trail; null when there is none.
  const TXRayElement* Back();
  void Clear() { fTrail.clear(); }

 private:
  std::vector<const TXRayElement*> fTrail;
};

// "Find": the first element, categories in tree order, whose name is `text`; failing that,
// the first whose name starts with it regardless of case; failing that, the first that holds
// it regardless of case; null when none does.
const TXRayElement* FindInBrowser(const TXRayType& type, std::string_view text);

}  // namespace lumacet
