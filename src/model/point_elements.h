// Points that belong to a type: digitized landmarks, constructed points, snakes and the
// points a snake owns.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "model/operand_slots.h"
#include "model/xray_element.h"

namespace lumacet {

class TDigSnake;
class TXRGraphic;

// Re-entrancy guard shared by the lazily computed points: a point read again while its
// own computation is running reads as invalid, so reference cycles end instead of
// recursing forever. Chains deeper than any real tracing (hand-made files) also read as
// invalid rather than exhausting the stack.
class TEvaluationGuard {
 public:
  static constexpr int kMaxDepth = 1000;
  explicit TEvaluationGuard(bool& flag) : fFlag(flag) {
    fFlag = true;
    ++Depth();
  }
  ~TEvaluationGuard() {
    fFlag = false;
    if (--Depth() == 0) Exceeded() = false;
  }
  TEvaluationGuard(const TEvaluationGuard&) = delete;
  TEvaluationGuard& operator=(const TEvaluationGuard&) = delete;
  // True (and remembered until the outermost read ends) when the chain is too deep.
  static bool TooDeep() {
    if (Depth() < kMaxDepth) return false;
    Exceeded() = true;
    return true;
  }
  // A result reached while the depth limit cut a chain short is not final.
  static bool ChainCutShort() { return Exceeded(); }

 private:
  static bool& Exceeded() {
    static thread_local bool exceeded = false;
    return exceeded;
  }
  static int& Depth() {
    static thread_local int depth = 0;
    return depth;
  }
  bool& fFlag;
};

class TXROwnedPoint : public TXRPoint {
 public:
  TXROwnedPoint(std::string name, TDigSnake* owner) : TXRPoint(std::move(name)), Owner(owner) {}
  std::unique_ptr<TXRayElement> Create() const override;
  TDigSnake* Owner = nullptr;  // not owned
};

class TDigPoint : public TXRPoint {
 public:
  using TXRPoint::TXRPoint;
  static constexpr int kOperandCount = 5;

  std::unique_ptr<TXRayElement> Create() const override;
  int KindCode() const override { return ekDigPoint; }
  void Assign(const TXRayElement& source) override;
  void VisitReferences(const TReferenceVisitor& visit) override;
  int IconIndex() const override;

  double GetX() override;
  double GetY() override;
  bool IsValid() override;
  bool DependsOn(const TXRPoint* point) override;

  int Kind() const { return fKind; }
  // Empties every operand slot the new kind cannot hold.
  void SetKind(int kind);
  // Slot 0..4; an element of the wrong class is refused (the slot is left as it was).
  bool SetOperand(int slot, TXRayElement* element);
  void ClearOperand(int slot);
  TXRayElement* Operand(int slot) const { return fOperands[slot]; }
  int SlotClass(int slot) const;
  // Marks the automatic position for recomputation on the next read.
  void Invalidate() { NeedsPlacing = true; }
  // Places the point now if it needs placing (the recalculation command calls this).
  void Place();
  bool IsEvaluating() const { return fEvaluating; }

  bool NeedsPlacing = true;
  double SearchRange = 0;       // tracing units
  bool CursorOnly = true;
  double SearchAngle = 0;       // radians
  int Transition = 1;           // 0 white to black, 1 any, 2 black to white
  int LockBias = 0;             // -100..100
  TXRayElement* DirectionPoint1 = nullptr;
  TXRayElement* DirectionPoint2 = nullptr;
  double Parameter1 = 0;        // stored ten times the shown value
  double Parameter2 = 0;
  std::string Description;
  TXRayElement* HintDrawing = nullptr;

 private:
  TOperandSlots Slots();

  int fKind = 0;
  std::array<TXRayElement*, kOperandCount> fOperands{};
  bool fEvaluating = false;
};

class TDerPoint : public TXRPoint {
 public:
  using TXRPoint::TXRPoint;
  static constexpr int kOperandCount = 4;

  std::unique_ptr<TXRayElement> Create() const override;
  int KindCode() const override { return ekDerPoint; }
  void Assign(const TXRayElement& source) override;
  void VisitReferences(const TReferenceVisitor& visit) override;
  int IconIndex() const override;

  double GetX() override;
  double GetY() override;
  bool IsValid() override;
  // A constructed point cannot be moved.
  void SetX(double) override {}
  void SetY(double) override {}
  bool DependsOn(const TXRPoint* point) override;

  int Kind() const { return fKind; }
  void SetKind(int kind);
  bool SetOperand(int slot, TXRayElement* element);
  void ClearOperand(int slot);
  TXRayElement* Operand(int slot) const { return fOperands[slot]; }
  int SlotClass(int slot) const;
  int OperandCount() const;
  void SetParameters(double p1, double p2);
  double Parameter1() const { return fParameter1; }
  double Parameter2() const { return fParameter2; }
  void Invalidate() { fNeedsComputing = true; }
  bool NeedsComputing() const { return fNeedsComputing; }
  // Recomputes now if needed: invalid first, then the kind's construction when every
  // used slot is filled.
  void Compute();

 private:
  TOperandSlots Slots();

  int fKind = 0;
  std::array<TXRayElement*, kOperandCount> fOperands{};
  double fParameter1 = 0;
  double fParameter2 = 0;
  bool fNeedsComputing = true;
  bool fEvaluating = false;
};

class TDigSnake : public TXRayElement {
 public:
  using TXRayElement::TXRayElement;
  std::unique_ptr<TXRayElement> Create() const override;
  int KindCode() const override { return ekSnake; }
  void Assign(const TXRayElement& source) override;

  // Copies name, description, hot zone, transition and lock bias, and the owned points'
  // coordinates and validity. Points both snakes have stay the same objects; the rest are
  // added or removed.
  void CopyFrom(const TDigSnake& source);
  // Appends a new owned point; `name` empty gives "Point %d on %s".
  TXROwnedPoint& AddPoint(double x, double y, bool valid, const std::string& name = {});
  void ClearPoints() { Points.clear(); }
  std::vector<TXRPoint*> PointList() const;
  // Whole-snake movements of the valid owned points.
  void Translate(double dx, double dy);
  void Rotate(double cx, double cy, double angle);
  void Scale(double factor);
  // Spreads the points evenly along the spline through them, the first staying where it
  // is; with `count` above 2 and different from the present number, points are first taken
  // from the end or appended ("Point %d on %s") up to `count` (at most one per sample).
  // Snakes of two points or fewer are left alone; 0 only spreads.
  void Resample(int count);

  std::vector<std::unique_ptr<TXROwnedPoint>> Points;
  int HotZone = 50;     // tracing units
  bool Placed = false;  // digitized or fitted on the radiograph loaded into the type
  int Transition = 0;
  int LockBias = 0;
  std::string Description;

 private:
  // "Point <index> on <snake>", as a new string or written into `name`.
  std::string GeneratedPointName(std::size_t index) const;
  void NameGeneratedPoint(std::string& name, std::size_t index) const;
};

// The editors' operand rule: sets the operand, and when the point would then depend on
// itself, empties the slot again and gives the circular-reference message.
bool SetCheckedOperand(TDigPoint& point, int slot, TXRayElement* element, std::string& message);
bool SetCheckedOperand(TDerPoint& point, int slot, TXRayElement* element, std::string& message);
std::string CircularReferenceMessage(const std::string& name);

}  // namespace lumacet
