// Elements that hold ordered lists of references to other elements of their type:
// groups, protocols, drawings, analyses, views, relationships, shape analyses, and the
// kind elements with four operand slots (variables, superimpositions, orientations).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/operand_slots.h"
#include "model/xray_element.h"

namespace lumacet {

class TRadiograph;

// Accepted-class code of a protocol's members: digitized points and snakes.
inline constexpr int kDigPointOrSnake = 15;

class TXRPointElement : public TXRayElement {
 public:
  using TXRayElement::TXRayElement;
  void Assign(const TXRayElement& source) override;
  void VisitReferences(const TReferenceVisitor& visit) override;
  // Drops empty entries left by references that did not resolve.
  virtual void DropEmptyEntries();
  // Class code the Points list accepts.
  virtual int MemberCode() const { return ekAnyPoint; }

  std::vector<TXRayElement*> Points;
};

class TArea : public TXRPointElement {
 public:
  using TXRPointElement::TXRPointElement;
  std::unique_ptr<TXRayElement> Create() const override;
  int KindCode() const override { return ekArea; }
};

class TXRProtocol : public TXRPointElement {
 public:
  using TXRPointElement::TXRPointElement;
  std::unique_ptr<TXRayElement> Create() const override;
  int KindCode() const override { return ekProtocol; }
  void Assign(const TXRayElement& source) override;
  int MemberCode() const override { return kDigPointOrSnake; }

  bool AutoAdvance = true;
  bool BeepOnAdvance = true;
  double ErrorMargin = 2.0;  // millimetres
};

class TXRGraphic : public TXRPointElement {
 public:
  using TXRPointElement::TXRPointElement;
  std::unique_ptr<TXRayElement> Create() const override;
  int KindCode() const override { return ekGraphic; }
  void Assign(const TXRayElement& source) override;
  void VisitReferences(const TReferenceVisitor& visit) override;
  int MemberCode() const override;

  int Kind() const { return fKind; }
  // Moving between the point kinds and the shape-analysis kinds empties the list.
  void SetKind(int kind);

  int DrawOption = 0;        // 0 always, 1 on demand
  uint32_t Colour = 0;       // 0x00BBGGRR
  int PenStyle = 0;          // 0 solid .. 5 clear
  int BrushStyle = 1;        // 0 solid, 1 no fill, 2..7 hatches
  bool Opaque = false;
  int LineWidth = 0;
  double Size = 100.0;       // tracing units; sign selects the side of tooth templates
  TXRayElement* ColourVariable = nullptr;
  bool UseForMorphing = false;
  int MarkerShape = 0;       // cross, square, circle, diamond, triangle

 private:
  int fKind = 0;
};

class TXRAnalysis : public TXRPointElement {
 public:
  using TXRPointElement::TXRPointElement;
  std::unique_ptr<TXRayElement> Create() const override;
  int KindCode() const override { return ekAnalysis; }
  void Assign(const TXRayElement& source) override;
  void VisitReferences(const TReferenceVisitor& visit) override;
  void DropEmptyEntries() override;
  int MemberCode() const override { return ekVariable; }

  // Points holds the variables in display order; this list the drawings.
  std::vector<TXRayElement*> Graphics;
};

class TXRView : public TXRPointElement {
 public:
  using TXRPointElement::TXRPointElement;
  std::unique_ptr<TXRayElement> Create() const override;
  int KindCode() const override { return ekView; }
  void Assign(const TXRayElement& source) override;
  void VisitReferences(const TReferenceVisitor& visit) override;
  void DropEmptyEntries() override;
  int MemberCode() const override { return ekGraphic; }

  // Points holds the drawings; this list the variables.
  std::vector<TXRayElement*> Variables;
};

class TXRHardSoft : public TXRPointElement {
 public:
  using TXRPointElement::TXRPointElement;
  std::unique_ptr<TXRayElement> Create() const override;
  int KindCode() const override { return ekHardSoft; }
  void Assign(const TXRayElement& source) override;
  void VisitReferences(const TReferenceVisitor& visit) override;

  TXRayElement* MasterPoint = nullptr;
  TXRayElement* AxisPoint1 = nullptr;
  TXRayElement* AxisPoint2 = nullptr;
  double PercentXPlus = 0;
  double PercentXMinus = 0;
  double PercentYPlus = 0;
  double PercentYMinus = 0;
  double PercentRotation = 0;
  bool RotationAsTranslation = false;
};

class TXRPCA : public TXRPointElement {
 public:
  using TXRPointElement::TXRPointElement;
  std::unique_ptr<TXRayElement> Create() const override;
  int KindCode() const override { return ekPCA; }
  void Assign(const TXRayElement& source) override;

  // True when the arrays have the sizes n points call for: consensus 2n, variances
  // 2n - 4, loadings 2n rows of 2n - 4.
  bool HasConsistentSizes() const;

  std::vector<double> Consensus;               // x0, y0, x1, y1, ...
  std::vector<std::vector<double>> Loadings;   // 2n rows of 2n - 4
  std::vector<double> Variances;               // 2n - 4
  int SampleCount = 0;
  double SumDistances = 0;
  double SumSquaredDistances = 0;
  bool HasData = false;
};

// An element with a kind number and exactly four operand slots, held in Points.
class TXRPointKindElement : public TXRPointElement {
 public:
  static constexpr int kSlotCount = 4;
  explicit TXRPointKindElement(std::string name = {});
  void Assign(const TXRayElement& source) override;
  void VisitReferences(const TReferenceVisitor& visit) override;
  // The four slots are positions, not a list: empty slots stay.
  void DropEmptyEntries() override {}

  int Kind() const { return fKind; }
  // Empties every slot the new kind cannot hold.
  virtual void SetKind(int kind);
  // Slot 0..3; an element of the wrong class is refused and the slot left as it was.
  virtual bool SetOperand(int slot, TXRayElement* element);
  virtual void ClearOperand(int slot);
  TXRayElement* Operand(int slot) const { return Points[slot]; }
  // Loads the radiograph into the type, then checks that every used slot is filled and
  // every point operand valid.
  virtual bool CanCompute(TRadiograph& radiograph);
  int OperandCount() const;
  int SlotClass(int kind, int slot) const { return SlotClasses(kind)[slot]; }
  virtual int KindCount() const = 0;

 protected:
  // The classes the slots accept under `kind`, from the subclass's kind table.
  virtual const TSlotClasses& SlotClasses(int kind) const = 0;

  int fKind = 0;

 private:
  TOperandSlots Slots();
};

struct TNormalValue {
  double AgeFrom = 0;  // years
  double AgeTo = 0;
  double Mean = 0;
  double StandardDeviation = 0;  // kept as an absolute value
  bool operator==(const TNormalValue&) const = default;
};

class TXRVariable : public TXRPointKindElement {
 public:
  using TXRPointKindElement::TXRPointKindElement;
  std::unique_ptr<TXRayElement> Create() const override;
  int KindCode() const override { return ekVariable; }
  void Assign(const TXRayElement& source) override;
  void VisitReferences(const TReferenceVisitor& visit) override;

  void SetKind(int kind) override;
  bool SetOperand(int slot, TXRayElement* element) override;
  void ClearOperand(int slot) override;
  int KindCount() const override;

  // True when `variable` is an operand of this one, directly or through a chain of
  // variable operands. Cycles in the chain end the walk.
  bool DependsOn(const TXRVariable* variable) const;
  // True when the point is one of the used operands or the anchor.
  bool UsesPoint(const TXRayElement* point) const;
  // The kind's name as the editor lists it ("[R] Distance1" for reference kinds).
  std::string KindDisplayName() const;
  void Invalidate() { NeedsRecompute = true; }

  bool NeedsRecompute = true;
  std::string ValueText;
  bool Valid = false;
  std::array<bool, kSlotCount> ReferenceFlags{};
  TXRayElement* Anchor = nullptr;
  int LabelOffsetX = 10;
  int LabelOffsetY = -10;
  int Alignment = 0;   // left, centre, right
  int ShowIn = 2;      // display, text window, both
  bool ShowName = false;
  std::string NumberFormat = "0.#";
  std::string TextBefore;
  std::string TextAfter;
  int Style = 1;
  std::vector<TNormalValue> FemaleNormals;
  std::vector<TNormalValue> MaleNormals;
  double AuxiliaryValue = 0;
  std::array<int, 4> LabelRect{};

 protected:
  const TSlotClasses& SlotClasses(int kind) const override;
};

// The editor's operand rule for variables: a variable that would depend on itself is
// refused, its slot emptied and the circular-reference message given.
bool SetCheckedOperand(TXRVariable& variable, int slot, TXRayElement* element, std::string& message);

class TXRSupimp : public TXRPointKindElement {
 public:
  using TXRPointKindElement::TXRPointKindElement;
  std::unique_ptr<TXRayElement> Create() const override;
  int KindCode() const override { return ekSupimp; }
  bool CanCompute(TRadiograph& radiograph) override;
  int KindCount() const override;

 protected:
  const TSlotClasses& SlotClasses(int kind) const override;
};

class TXROrient : public TXRPointKindElement {
 public:
  using TXRPointKindElement::TXRPointKindElement;
  std::unique_ptr<TXRayElement> Create() const override;
  int KindCode() const override { return ekOrient; }
  void Assign(const TXRayElement& source) override;
  void VisitReferences(const TReferenceVisitor& visit) override;
  bool CanCompute(TRadiograph& radiograph) override;
  int KindCount() const override;

  double Parameter1 = 0;  // degrees for "Set to Angle"
  double Parameter2 = 0;  // hot zone in millimetres for "<Align to Image>"
  int Affect = 0;         // all except preset, selected only, area
  TXRayElement* AffectedArea = nullptr;

 protected:
  const TSlotClasses& SlotClasses(int kind) const override;
};

}  // namespace lumacet
