#include "model/kind_tables.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "model/list_elements.h"
#include "model/point_elements.h"

namespace lumacet {
namespace {

// One kind family as the file reader and the editors see it: numbers 0..Count-1, each
// with a token, and a token lookup.
struct TFamily {
  std::string Name;
  int Count = 0;
  std::function<std::string_view(int)> Token;
  std::function<int(std::string_view)> Find;
  std::string_view First;
  std::string_view Last;
};

template <class TInfo>
TFamily Family(std::string name, const TInfo& (*table)(int), int count, std::string_view first,
               std::string_view last) {
  return {std::move(name), count, [table](int kind) { return table(kind).Token; },
          [table, count](std::string_view token) { return FindKindToken(table, count, token); }, first, last};
}

std::vector<TFamily> Families() {
  return {Family("digitized point", DigPointKind, 12, "Normal", "Walk (mm)"),
          Family("derived point", DerPointKind, 16, "Fixed", "Interpolation"),
          Family("variable", VariableKind, 66, "Label", "[R] Procrustes Distance"),
          Family("superimposition", SupimpKind, 6, "Point to point", "Procrustes"),
          Family("orientation", OrientKind, 6, "Set Horizontal", "<Align to Image>"),
          Family("drawing", GraphicKind, 28, "Line", "Lower Molar Frontal")};
}

TEST(KindTables, EveryTokenReadsBackAsItsOwnNumberAndNumbersOutsideReadTheFirstKind) {
  EXPECT_EQ(kDigPointKindCount, 12);
  EXPECT_EQ(kDerPointKindCount, 16);
  EXPECT_EQ(kVariableKindCount, 66);
  EXPECT_EQ(kSupimpKindCount, 6);
  EXPECT_EQ(kOrientKindCount, 6);
  EXPECT_EQ(kGraphicKindCount, 28);
  for (const TFamily& family : Families()) {
    SCOPED_TRACE(family.Name);
    EXPECT_EQ(family.Token(0), family.First);
    EXPECT_EQ(family.Token(family.Count - 1), family.Last);
    std::set<std::string_view> seen;
    for (int kind = 0; kind < family.Count; ++kind) {
      EXPECT_FALSE(family.Token(kind).empty()) << kind;
      EXPECT_TRUE(seen.insert(family.Token(kind)).second) << "token used twice: " << family.Token(kind);
      EXPECT_EQ(family.Find(family.Token(kind)), kind) << family.Token(kind);
    }
    // Hand-edited files: unknown tokens and stored numbers out of range.
    EXPECT_EQ(family.Find("no such kind"), -1);
    EXPECT_EQ(family.Find(std::string(family.First) + " "), -1) << "tokens compare exactly";
    EXPECT_EQ(family.Token(-1), family.First);
    EXPECT_EQ(family.Token(family.Count), family.First);
  }
}

// The slot table of every kind whose element has operand slots, with the element's slot count.
struct TSlotFamily {
  std::string Name;
  int Count = 0;
  int ElementSlots = 0;
  std::function<const TSlotClasses&(int)> Slots;
};

TEST(KindTables, SlotClassesNameElementClassesAndFitTheElementsSlots) {
  using TSlots = const TSlotClasses&;
  constexpr int kKindSlots = TXRPointKindElement::kSlotCount;
  const std::vector<TSlotFamily> families = {
      {"digitized point", kDigPointKindCount, TDigPoint::kOperandCount,
       [](int k) -> TSlots { return DigPointKind(k).Slots; }},
      {"derived point", kDerPointKindCount, TDerPoint::kOperandCount,
       [](int k) -> TSlots { return DerPointKind(k).Slots; }},
      {"variable", kVariableKindCount, kKindSlots, [](int k) -> TSlots { return VariableKind(k).Slots; }},
      {"superimposition", kSupimpKindCount, kKindSlots, [](int k) -> TSlots { return SupimpKind(k).Slots; }},
      {"orientation", kOrientKindCount, kKindSlots, [](int k) -> TSlots { return OrientKind(k).Slots; }},
  };
  const std::set<int> classes = {ekSnake, ekVariable, ekGraphic, ekPCA, ekAnyPoint};
  for (const TSlotFamily& family : families) {
    for (int kind = 0; kind < family.Count; ++kind) {
      SCOPED_TRACE(family.Name + " kind " + std::to_string(kind));
      const TSlotClasses& slots = family.Slots(kind);
      for (int slot = 0; slot < static_cast<int>(slots.size()); ++slot) {
        const int code = slots[static_cast<std::size_t>(slot)];
        if (slot >= family.ElementSlots) {
          EXPECT_EQ(code, ekNone) << "slot " << slot << " is beyond the element's slots";
        } else {
          EXPECT_TRUE(code == ekNone || classes.contains(code)) << "slot " << slot << " takes class " << code;
        }
      }
    }
  }
}

// The kind numbers for which `predicate` holds.
std::set<int> KindsWhere(int count, const std::function<bool(int)>& predicate) {
  std::set<int> kinds;
  for (int kind = 0; kind < count; ++kind)
    if (predicate(kind)) kinds.insert(kind);
  return kinds;
}

std::set<int> Range(int from, int to) {
  std::set<int> kinds;
  for (int kind = from; kind <= to; ++kind) kinds.insert(kind);
  return kinds;
}

std::set<int> Union(std::set<int> a, const std::set<int>& b) {
  a.insert(b.begin(), b.end());
  return a;
}

TEST(KindTables, VariableFlagsMarkTheDocumentedKinds) {
  const auto has = [](TKindFlag flag) {
    return KindsWhere(kVariableKindCount, [flag](int k) { return VariableKind(k).Has(flag); });
  };
  EXPECT_EQ(KindsWhere(kVariableKindCount, IsReferenceVariableKind), Union(Range(31, 59), {65}));
  EXPECT_EQ(KindsWhere(kVariableKindCount, IsTextVariableKind), (std::set<int>{22, 25, 28, 51, 54, 57}));
  EXPECT_EQ(has(kfDrawingMeasure), (std::set<int>{29, 30, 58, 59}));
  EXPECT_EQ(has(kfConstruction), Union(Range(1, 6), Range(31, 36)));
  EXPECT_FALSE(IsReferenceVariableKind(-1));
  EXPECT_FALSE(IsReferenceVariableKind(kVariableKindCount));
  EXPECT_FALSE(IsTextVariableKind(1000));

  // A reference kind repeats its base kind: kinds 31-50 repeat 1-20, 51-59 repeat 22-30,
  // 65 repeats 62; "Constant" has no reference form.
  for (int kind = 0; kind < kVariableKindCount; ++kind) {
    int base = kind;
    if (kind >= 31 && kind <= 50) base = kind - 30;
    if (kind >= 51 && kind <= 59) base = kind - 29;
    if (kind == 65) base = 62;
    const TVariableKindInfo& row = VariableKind(kind);
    EXPECT_EQ(KindNumber(row.Base), base) << row.Token;
    if (base != kind) {
      EXPECT_EQ(row.Token, "[R] " + std::string(VariableKind(base).Token));
    }
  }
  EXPECT_EQ(VariableKind(51).Token, "[R] Patient Name");
  EXPECT_EQ(VariableKind(63).Caption1, "&PC:");
  EXPECT_EQ(VariableKind(64).Caption1, "&PC:");
  EXPECT_EQ(KindsWhere(kVariableKindCount, [](int k) { return !VariableKind(k).Caption1.empty(); }),
            (std::set<int>{63, 64}));
}

TEST(KindTables, DrawingFlagsAndEntriesFollowTheDrawingKinds) {
  const auto has = [](TKindFlag flag) {
    return KindsWhere(kGraphicKindCount, [flag](int k) { return GraphicKind(k).Has(flag); });
  };
  EXPECT_EQ(has(kfSpline), (std::set<int>{4, 5, 6}));
  EXPECT_EQ(has(kfClosed), (std::set<int>{3, 6}));
  EXPECT_EQ(KindsWhere(kGraphicKindCount, IsPcaGraphicKind), (std::set<int>{8, 9}));
  EXPECT_FALSE(IsPcaGraphicKind(kGraphicKindCount));
  EXPECT_EQ(KindsWhere(kGraphicKindCount, [](int k) { return GraphicKind(k).Entries == 1; }),
            (std::set<int>{7, 8, 9}));
  EXPECT_EQ(KindsWhere(kGraphicKindCount, [](int k) { return GraphicKind(k).Entries == 3; }),
            (std::set<int>{10, 12}));
  EXPECT_EQ(KindsWhere(kGraphicKindCount, [](int k) { return GraphicKind(k).Entries == 4; }),
            (std::set<int>{11, 13}));
  EXPECT_EQ(GraphicKind(KindNumber(TGraphicKind::UpperIncisor)).Token, "Upper Incisor");
}

TEST(KindTables, PointKindsCarryTheirIconsCaptionsAndSampleSteps) {
  const std::vector<int> digIcons = {-1, 6, 0, 0, 38, 38, 1, 5, 2, 3, 4, 4};
  for (int kind = 0; kind < kDigPointKindCount; ++kind)
    EXPECT_EQ(DigPointKind(kind).Icon, digIcons[static_cast<std::size_t>(kind)]) << DigPointKind(kind).Token;
  EXPECT_EQ(KindsWhere(kDigPointKindCount, [](int k) { return DigPointKind(k).SampleStep == 2; }),
            (std::set<int>{2, 3, 4, 5, 10, 11}));
  EXPECT_EQ(KindsWhere(kDigPointKindCount, [](int k) { return DigPointKind(k).SampleStep == 5; }),
            (std::set<int>{6, 7, 8, 9}));
  EXPECT_EQ(DigPointKind(1).Caption1, "X:");
  EXPECT_EQ(DigPointKind(1).Caption2, "Y:");

  const std::vector<int> derIcons = {6, 7, 8, 9, 17, 10, 11, 12, -1, -1, 13, 14, 16, 17, 18, 40};
  for (int kind = 0; kind < kDerPointKindCount; ++kind)
    EXPECT_EQ(DerPointKind(kind).Icon, derIcons[static_cast<std::size_t>(kind)]) << DerPointKind(kind).Token;
  EXPECT_EQ(DerPointKind(15).Caption1, "");
  EXPECT_EQ(DerPointKind(15).Caption2, "d&L(%):");
  EXPECT_EQ(DerPointKind(13).Slots, (TSlotClasses{ekGraphic, ekAnyPoint, ekNone, ekNone, ekNone}));

  EXPECT_EQ(OrientKind(2).Caption1, "&Angle:");
  EXPECT_EQ(OrientKind(5).Caption2, "&Hot zone (mm):");
  EXPECT_EQ(OrientKind(5).Slots, (TSlotClasses{ekAnyPoint, ekAnyPoint, ekGraphic, ekGraphic, ekNone}));
  EXPECT_EQ(SupimpKind(5).Slots[0], ekPCA);
}

// ---- the slot rules, the same for every element with a kind and operand slots ------------

// An element seen through the methods its editors call.
struct TSlotElement {
  std::shared_ptr<TXRayElement> Element;
  std::function<void(int)> SetKind;
  std::function<int()> Kind;
  std::function<bool(int, TXRayElement*)> SetOperand;
  std::function<void(int)> ClearOperand;
  std::function<TXRayElement*(int)> Operand;
};

template <class T>
TSlotElement SlotElement() {
  auto e = std::make_shared<T>();
  return {e,
          [e](int kind) { e->SetKind(kind); },
          [e] { return e->Kind(); },
          [e](int slot, TXRayElement* element) { return e->SetOperand(slot, element); },
          [e](int slot) { e->ClearOperand(slot); },
          [e](int slot) { return e->Operand(slot); }};
}

struct TSlotCase {
  std::string Name;
  std::function<TSlotElement()> Make;
  int From;                           // kind the operands are set under
  std::vector<std::string> Operands;  // per slot: "" empty, else an element below
  int To;                             // kind changed to
  std::vector<bool> Kept;             // per slot: still filled after the change
  int RefusedSlot;                    // a slot of `From` that refuses...
  std::string Refused;                // ...this element
  int SlotCount;
};

void PrintTo(const TSlotCase& c, std::ostream* os) { *os << c.Name; }

class OperandSlotsTest : public ::testing::TestWithParam<TSlotCase> {
 protected:
  TXRayElement* Named(const std::string& name) {
    if (name.empty()) return nullptr;
    if (name == "snake") return &snake_;
    if (name == "variable") return &variable_;
    if (name == "drawing") return &drawing_;
    if (name == "analysis") return &analysis_;
    auto& point = points_.emplace_back(std::make_unique<TDigPoint>(name));
    return point.get();
  }

  TDigSnake snake_{"Profile"};
  TXRVariable variable_{"V"};
  TXRGraphic drawing_{"Outline"};
  TXRPCA analysis_{"Shape"};
  std::vector<std::unique_ptr<TDigPoint>> points_;
};

TEST_P(OperandSlotsTest, KindChangesEmptyWhatNoLongerFitsAndWrongClassesAreRefused) {
  const TSlotCase& c = GetParam();
  TSlotElement e = c.Make();
  e.SetKind(c.From);
  ASSERT_EQ(e.Kind(), c.From);
  std::vector<TXRayElement*> set;
  for (int slot = 0; slot < static_cast<int>(c.Operands.size()); ++slot) {
    set.push_back(Named(c.Operands[static_cast<std::size_t>(slot)]));
    if (set.back() != nullptr) {
      ASSERT_TRUE(e.SetOperand(slot, set.back())) << "slot " << slot;
    }
  }

  // A wrong class, a slot that does not exist and a kind that does not exist change nothing.
  const std::size_t refused = static_cast<std::size_t>(c.RefusedSlot);
  EXPECT_FALSE(e.SetOperand(c.RefusedSlot, Named(c.Refused)));
  EXPECT_EQ(e.Operand(c.RefusedSlot), set[refused]);
  EXPECT_FALSE(e.SetOperand(c.SlotCount, set[0]));
  EXPECT_FALSE(e.SetOperand(-1, set[0]));
  e.ClearOperand(c.SlotCount);
  e.SetKind(-1);
  EXPECT_EQ(e.Kind(), c.From);
  for (int slot = 0; slot < c.SlotCount; ++slot) EXPECT_EQ(e.Operand(slot), set[static_cast<std::size_t>(slot)]);

  e.SetKind(c.To);
  EXPECT_EQ(e.Kind(), c.To);
  for (int slot = 0; slot < c.SlotCount; ++slot) {
    const std::size_t s = static_cast<std::size_t>(slot);
    EXPECT_EQ(e.Operand(slot), c.Kept[s] ? set[s] : nullptr) << "slot " << slot;
  }

  // Emptying a slot and filling it again.
  e.ClearOperand(0);
  EXPECT_EQ(e.Operand(0), nullptr);
  EXPECT_TRUE(e.SetOperand(0, nullptr)) << "an empty reference fits every slot";
}

INSTANTIATE_TEST_SUITE_P(
    Elements, OperandSlotsTest,
    ::testing::Values(
        // "Extreme" (snake, four points) to "Intersection" (slot 3 unused); a variable is no snake.
        TSlotCase{"DigitizedPoint", SlotElement<TDigPoint>, 2, {"snake", "A", "B", "C", "D"}, 9,
                  {true, true, false, true, true}, 0, "variable", TDigPoint::kOperandCount},
        // "Projection" (three points) to "Average" (one drawing): nothing fits any more.
        TSlotCase{"DerivedPoint", SlotElement<TDerPoint>, 2, {"A", "B", "C", ""}, 10, {false, false, false, false}, 1,
                  "drawing", TDerPoint::kOperandCount},
        // "Best Fit Line" (drawing, point) to "Midpoint" (two points): the point stays.
        TSlotCase{"DerivedPointDrawing", SlotElement<TDerPoint>, 13, {"drawing", "A", "", ""}, 1,
                  {false, true, false, false}, 0, "A", TDerPoint::kOperandCount},
        // "Distance2" (three points) to "Distance1" (two points); a drawing is no point.
        TSlotCase{"Variable", SlotElement<TXRVariable>, 4, {"A", "B", "C", ""}, 3, {true, true, false, false}, 2,
                  "drawing", TXRPointKindElement::kSlotCount},
        // "Sum" (two variables) to "[R] Sum" keeps both; a point is no variable.
        TSlotCase{"ReferenceVariable", SlotElement<TXRVariable>, 7, {"variable", "variable", "", ""}, 37,
                  {true, true, false, false}, 0, "A", TXRPointKindElement::kSlotCount},
        // "Centered angle" (three points) to "Best fit" (a drawing); a shape analysis is no point.
        TSlotCase{"Superimposition", SlotElement<TXRSupimp>, 1, {"A", "B", "C", ""}, 3, {false, false, false, false},
                  2, "analysis", TXRPointKindElement::kSlotCount},
        // "<Align to Image>" (points, drawings) to "Fix on Points": the points stay.
        TSlotCase{"Orientation", SlotElement<TXROrient>, 5, {"A", "B", "drawing", "drawing"}, 3,
                  {true, true, false, false}, 2, "A", TXRPointKindElement::kSlotCount}),
    [](const ::testing::TestParamInfo<TSlotCase>& param) { return param.param.Name; });

}  // namespace
}  // namespace lumacet
