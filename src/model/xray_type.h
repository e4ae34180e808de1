// A radiograph type: the owner of every element definition, and the computing engine for
// every radiograph of the type (their coordinates are loaded into its points).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "model/list_elements.h"
#include "model/point_elements.h"
#include "model/radiograph.h"
#include "support/result.h"

namespace lumacet {

class TXRay;

// Folders a type file writes image paths relative to ("BMP Path" and "LCR Path").
struct TFileFolders {
  std::string ImageFolder;
  std::string TypeFolder;
};

class TXRayType : public TRadiograph {
 public:
  using TElementList = std::vector<std::unique_ptr<TXRayElement>>;

  TXRayType();
  ~TXRayType() override;

  bool IsType() const override { return true; }

  // The list of a kind code; codes outside 1..12 give the digitized points.
  const TElementList& ElementList(int code) const;
  size_t Count(int code) const { return ElementList(code).size(); }
  template <class T>
  T* Element(int code, size_t index) const {
    return static_cast<T*>(ElementList(code)[index].get());
  }
  // Position of `element` in its list, or -1.
  int IndexOf(const TXRayElement* element) const;

  // Exact, case-sensitive lookup. Code 13 finds a derived point before a digitized one.
  TXRayElement* FindElement(std::string_view name, int code) const;
  // Empty when the name may be given to a new element of the kind, else the message.
  std::string ValidateNewName(std::string_view name, int code) const;
  // Creates, names and appends an element; null with `message` set when refused.
  TXRayElement* AddElement(const std::string& name, int code, std::string& message);
  bool RenameElement(std::string oldName, std::string newName, int code, std::string& message);
  // Refused with a message naming the first referrer; otherwise removed and freed.
  bool DeleteElement(std::string name, int code, std::string& message);
  // Every element called exactly `name`, kinds in ascending code order.
  std::vector<TXRayElement*> ElementsNamed(std::string_view name) const;
  // Names of all elements of the given kinds, kinds in ascending order.
  std::vector<std::string> ElementNames(const std::set<int>& codes) const;
  // The first element (scan order of deletion) that refers to `element`, or null.
  TXRayElement* FindReferrer(const TXRayElement* element) const;
  // Every element that refers to `element`, kinds in scan order, each list in order.
  std::vector<TXRayElement*> Referrers(const TXRayElement* element) const;
  // The "Cannot delete" refusal naming the first referrer; empty when nothing refers to it.
  std::string DeleteRefusal(const TXRayElement* element) const;
  // True when `element` is one of the type's elements or a point one of its snakes owns.
  bool Holds(const TXRayElement* element) const;

  // Removes an element nothing refers to from its list without freeing it, forgetting it
  // wherever the type's radiographs chose it; null (nothing changed) when it is referred
  // to or not the type's. Records nothing: the callers say what the removal was.
  std::unique_ptr<TXRayElement> TakeElement(const TXRayElement* element);
  // Puts an element back at `index` of its list (clamped to the list's end).
  void InsertElement(std::unique_ptr<TXRayElement> element, size_t index);
  // Rebuilds a kind's list in the given order; false (nothing changed) unless `order` holds
  // exactly the list's elements.
  bool ReorderElements(int code, const std::vector<TXRayElement*>& order);

  // Appends an element the file reader created; the type takes ownership.
  void AppendElement(std::unique_ptr<TXRayElement> element);
  // Empties every slot holding an element of the wrong class and drops empty list entries.
  void SanitizeReferences();
  void InvalidateDerived();
  void InvalidateVariables();
  // Copies the snakes and digitized points as they stand into the template lists and marks
  // the type's own snakes placed (after reading a type file).
  void BuildTemplates();
  // The first analysis becomes current and no view is chosen.
  void SelectDefaults() { ResetAnalysisAndView(); }

  // The type file. Loading fills this (newly created) type; saving replaces the file
  // atomically and records "Saved to file.". A save gives back a note for the user, empty
  // unless texts had to be changed to fit the file.
  TResult LoadFromTypeFile(const std::string& path, const TFileFolders& folders = {});
  TResultOf<TText> SaveToTypeFile(const std::string& path, const TFileFolders& folders = {});

  // Radiographs whose type this is; the type forgets deleted elements in their selections
  // and detaches them when it is destroyed.
  void Attach(TXRay* radiograph);
  void Detach(TXRay* radiograph);

  bool ScaleOverride = false;
  bool PositionOverride = false;
  int AutoDetectResolution = 2;  // yes, no, use default
  bool IconIsIcon = true;
  std::vector<uint8_t> IconData;
  std::vector<std::unique_ptr<TXRPoint>> TemplatePoints;
  std::vector<std::unique_ptr<TDigSnake>> TemplateSnakes;

 private:
  friend class TRadiograph;  // records itself as loaded
  // Calls `found` with each referrer of `element` in scan order until it returns false.
  void ScanReferrers(const TXRayElement* element, const std::function<bool(TXRayElement*)>& found) const;
  void ForgetElement(const TXRayElement* element);

  std::array<TElementList, kElementListCount> fLists;
  std::vector<TXRay*> fUsers;
  // Whose coordinates the points hold. Adding or removing elements leaves points that no
  // load has filled, so it clears the record.
  TCoordinateStamp fLoaded;
};

// Creates an empty element of a list's class (codes 0..12), or null.
std::unique_ptr<TXRayElement> CreateElement(int code);

}  // namespace lumacet
