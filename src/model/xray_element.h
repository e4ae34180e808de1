// The root of the tracing-element tree and the plain point every other point derives from.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace lumacet {

class TXRayType;

// Element kind codes. A type keeps one list per code 0..12; operand slots name the class
// they accept by the same code, with 13 for any point and 14 for an unused slot.
enum TElementKind : int {
  ekDigPoint = 0,
  ekSnake = 1,
  ekDerPoint = 2,
  ekArea = 3,
  ekGraphic = 4,
  ekVariable = 5,
  ekAnalysis = 6,
  ekProtocol = 7,
  ekSupimp = 8,
  ekOrient = 9,
  ekHardSoft = 10,
  ekView = 11,
  ekPCA = 12,
  ekAnyPoint = 13,
  ekNone = 14,
};
inline constexpr int kElementListCount = 13;

// The kind name the user sees ("Point", "Snake", ... "PCA"); empty for code 14.
const char* ElementKindName(int code);

class TXRayElement {
 public:
  explicit TXRayElement(std::string name = {}) : Name(std::move(name)) {}
  virtual ~TXRayElement() = default;
  TXRayElement(const TXRayElement&) = delete;
  TXRayElement& operator=(const TXRayElement&) = delete;

  // Virtual constructor: a fresh element of the same class with default fields.
  virtual std::unique_ptr<TXRayElement> Create() const = 0;
  // The code of the list this element lives in (0..12), or 13 for points that live in
  // no list of their own (template points, snake points).
  virtual int KindCode() const = 0;

  // Copies every field from an element of the same class; references stay references.
  virtual void Assign(const TXRayElement& source);
  // True when any reference field of this element points at `element`.
  bool References(const TXRayElement* element) const;
  virtual int IconIndex() const { return -1; }

  // Calls `visit` with every reference field this element holds, as a mutable slot,
  // together with the class code the slot accepts (13 for any point). Reference scans,
  // deletion purges and the post-load class check all walk this one enumeration.
  using TReferenceVisitor = std::function<void(TXRayElement*& slot, int acceptedCode)>;
  virtual void VisitReferences(const TReferenceVisitor& visit);
  void VisitReferences(const std::function<void(TXRayElement* const& slot, int acceptedCode)>& visit) const;

  std::string Name;
};

// True when `element` may fill a slot that accepts `code`: its own list code equals the
// code, or the slot takes any point and the element is a point of any kind.
bool FitsSlot(const TXRayElement* element, int code);

class TXRPoint : public TXRayElement {
 public:
  using TXRayElement::TXRayElement;
  std::unique_ptr<TXRayElement> Create() const override;
  int KindCode() const override { return ekAnyPoint; }
  void Assign(const TXRayElement& source) override;

  virtual double GetX() { return fX; }
  virtual double GetY() { return fY; }
  // A non-finite coordinate is refused: the point becomes invalid instead.
  virtual void SetX(double x);
  virtual void SetY(double y);
  virtual bool IsValid() { return fXSet && fYSet; }
  // Invalidating keeps X and Y; validating marks both coordinates set.
  virtual void SetValid(bool valid);
  virtual bool DependsOn(const TXRPoint* point);

  void SetXY(double x, double y) {
    SetX(x);
    SetY(y);
  }
  // Rounded to the nearest integers, ties to even; (0, 0) when out of 32-bit range.
  void ToPixel(int& x, int& y);
  // Rotates a valid point about (cx, cy) by `angle` radians (clockwise as displayed).
  void Rotate(double cx, double cy, double angle);

  // Raw state, bypassing lazy placement: what coordinate loading copies between a
  // radiograph and its type.
  double RawX() const { return fX; }
  double RawY() const { return fY; }
  bool XSet() const { return fXSet; }
  bool YSet() const { return fYSet; }
  void SetRaw(double x, double y, bool xSet, bool ySet);

 protected:
  double fX = 0;
  double fY = 0;
  bool fXSet = false;
  bool fYSet = false;
};

}  // namespace lumacet
