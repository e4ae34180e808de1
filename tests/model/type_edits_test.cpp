#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <sstream>

#include "model/kind_codes.h"
#include "model/type_edits.h"
#include "model/xray_type.h"

namespace lumacet {
namespace {

constexpr int kMidpoint = KindNumber(TDerPointKind::Midpoint);
constexpr int kProjection = KindNumber(TDerPointKind::Projection);
constexpr int kAverage = KindNumber(TDerPointKind::Average);

// Every list in order with each element's name, kind and references: what an edit changes
// and an undo must give back exactly.
std::string Fingerprint(const TXRayType& type) {
  std::ostringstream out;
  for (int code = 0; code < kElementListCount; ++code)
    for (const auto& e : type.ElementList(code)) {
      out << code << ':' << e->Name;
      if (auto* d = dynamic_cast<const TDigPoint*>(e.get())) out << " k" << d->Kind() << " p" << d->Parameter1;
      if (auto* p = dynamic_cast<const TDerPoint*>(e.get())) out << " k" << p->Kind() << " p" << p->Parameter1();
      if (auto* k = dynamic_cast<const TXRPointKindElement*>(e.get())) out << " k" << k->Kind();
      static_cast<const TXRayElement&>(*e).VisitReferences(
          [&](TXRayElement* const& slot, int) { out << " >" << (slot != nullptr ? slot->Name : "-"); });
      out << '\n';
    }
  return out.str();
}

// A, B, C digitized (C directed from A), M the midpoint of A and B, N the midpoint of M and
// B, G a drawing through A and B, V a distance A-B.
struct TFixture {
  TXRayType type;
  TXRayType other;
  TTypeEdits edits{type};
  TDigPoint *a, *b, *c;
  TDerPoint *m, *n;
  TXRGraphic* g;
  TXRVariable* v;

  TFixture() {
    a = Add<TDigPoint>("A", ekDigPoint);
    b = Add<TDigPoint>("B", ekDigPoint);
    c = Add<TDigPoint>("C", ekDigPoint);
    c->DirectionPoint1 = a;
    m = Add<TDerPoint>("M", ekDerPoint);
    m->SetKind(kMidpoint);
    m->SetOperand(0, a);
    m->SetOperand(1, b);
    n = Add<TDerPoint>("N", ekDerPoint);
    n->SetKind(kMidpoint);
    n->SetOperand(0, m);
    n->SetOperand(1, b);
    g = Add<TXRGraphic>("G", ekGraphic);
    g->Points = {a, b};
    v = Add<TXRVariable>("V", ekVariable);
    v->SetKind(KindNumber(TVariableKind::Distance1));
    v->SetOperand(0, a);
    v->SetOperand(1, b);
    std::string message;
    other.AddElement("Stranger", ekDigPoint, message);
    type.ChangeHistory.clear();
  }
  template <class T>
  T* Add(const std::string& name, int code) {
    std::string message;
    return static_cast<T*>(type.AddElement(name, code, message));
  }
};

TEST(TypeEdits, RefusedEditsGiveTheModelsMessageAndChangeNothing) {
  struct TCase {
    const char* what;
    std::function<TResult(TFixture&)> edit;
    std::string message;
    std::function<void(TFixture&)> setup = {};
  };
  const std::vector<TCase> cases = {
      {"rename to a used name", [](TFixture& f) { return f.edits.Rename(*f.a, "B"); },
       "'B' : This name is already used."},
      {"rename a derived point to a digitized point's name", [](TFixture& f) { return f.edits.Rename(*f.m, "C"); },
       "'C' : This name is already used."},
      {"rename to a reserved name", [](TFixture& f) { return f.edits.Rename(*f.a, " <x"); },
       "Name reserved by Lumacet.\r\nDo not use < or [ as the first character."},
      {"add without a name", [](TFixture& f) { return f.edits.Add(ekArea, "  ").Outcome(); }, "No name was entered."},
      {"delete a direction point", [](TFixture& f) { return f.edits.Delete(*f.a); },
       "Cannot delete 'A'.\r\n\r\nReferenced in Point: 'C'."},
      {"delete an operand", [](TFixture& f) { return f.edits.Delete(*f.b); },
       "Cannot delete 'B'.\r\n\r\nReferenced in Point: 'M'."},
      {"close a loop of derived points", [](TFixture& f) { return f.edits.SetOperand(*f.m, 1, f.n); },
       "Circular reference detected.\r\n\r\nYou attempted to derive 'M' using itself."},
      {"derive a point from itself", [](TFixture& f) { return f.edits.SetOperand(*f.m, 0, f.m); },
       "Circular reference detected.\r\n\r\nYou attempted to derive 'M' using itself."},
      {"put an averaged point into its own drawing",
       [](TFixture& f) {
         return f.edits.Change(*f.g, [&](TXRayElement& e) { static_cast<TXRGraphic&>(e).Points.push_back(f.m); });
       },
       "Circular reference detected.\r\n\r\nYou attempted to derive 'M' using itself.",
       [](TFixture& f) {
         f.m->SetKind(kAverage);
         f.m->SetOperand(0, f.g);
       }},
      {"an operand of the wrong class", [](TFixture& f) { return f.edits.SetOperand(*f.m, 0, f.v); },
       "'V' cannot be operand 1 of 'M' as it is now."},
      {"an operand slot the kind does not use", [](TFixture& f) { return f.edits.SetOperand(*f.m, 2, f.a); },
       "'A' cannot be operand 3 of 'M' as it is now."},
      {"an operand of another type",
       [](TFixture& f) { return f.edits.SetOperand(*f.m, 0, f.other.ElementList(ekDigPoint)[0].get()); },
       "'M' refers to an element that is not part of the type."},
      {"a member of another type",
       [](TFixture& f) {
         return f.edits.Change(*f.g, [&](TXRayElement& e) {
           static_cast<TXRGraphic&>(e).Points.push_back(f.other.ElementList(ekDigPoint)[0].get());
         });
       },
       "'G' refers to an element that is not part of the type."},
      {"a direction point that is a drawing",
       [](TFixture& f) {
         return f.edits.Change(*f.c, [&](TXRayElement& e) { static_cast<TDigPoint&>(e).DirectionPoint2 = f.g; });
       },
       "'G' cannot be used here in 'C': it is not a Point."},
      {"a kind that does not exist", [](TFixture& f) { return f.edits.SetKind(*f.m, kDerPointKindCount); },
       "'M' has no kind number 16."},
      {"an order missing an element", [](TFixture& f) { return f.edits.Reorder(ekDigPoint, {f.a, f.b}); },
       "The new order must hold every element of the list once."},
      {"an edit of another type's element",
       [](TFixture& f) { return f.edits.Rename(*f.other.ElementList(ekDigPoint)[0], "Q"); },
       "'Stranger' is not part of the type."},
  };
  for (const TCase& c : cases) {
    TFixture f;
    if (c.setup) c.setup(f);
    const std::string before = Fingerprint(f.type);
    const TResult result = c.edit(f);
    EXPECT_FALSE(result) << c.what;
    EXPECT_EQ(result.Text().English(), c.message) << c.what;
    EXPECT_EQ(Fingerprint(f.type), before) << c.what;
    EXPECT_TRUE(f.type.ChangeHistory.empty()) << c.what;
    EXPECT_FALSE(f.edits.CanUndo()) << c.what;
  }
}

TEST(TypeEdits, EveryKeptEditRecordsItsTextAndUndoesAndRedoesExactly) {
  struct TCase {
    const char* what;
    std::function<TResult(TFixture&)> edit;
    std::string text;
  };
  const std::vector<TCase> steps = {
      {"add", [](TFixture& f) { return f.edits.Add(ekDerPoint, "P").Outcome(); }, "Added: P."},
      {"add a copy", [](TFixture& f) { return f.edits.Add(ekDerPoint, "M2", f.m).Outcome(); }, "Added: M2."},
      {"rename", [](TFixture& f) { return f.edits.Rename(*f.n, "Centre"); }, "Renamed: \"N\" to: \"Centre\"."},
      {"change of kind keeping two slots",
       [](TFixture& f) { return f.edits.SetKind(*f.type.FindElement("M2", ekDerPoint), kProjection); },
       "Changed Point: M2"},
      {"set an operand", [](TFixture& f) { return f.edits.SetOperand(*f.type.FindElement("M2", ekDerPoint), 2, f.c); },
       "Changed Point: M2"},
      {"change of kind emptying the slots",
       [](TFixture& f) { return f.edits.SetKind(*f.type.FindElement("M2", ekDerPoint), kAverage); },
       "Changed Point: M2"},
      {"a field", [](TFixture& f) {
         return f.edits.Change(*f.a, [](TXRayElement& e) { static_cast<TDigPoint&>(e).Parameter1 = 15; });
       }, "Changed Point: A"},
      {"delete", [](TFixture& f) { return f.edits.Delete(*f.v); }, "Deleted: V."},
      {"delete a referrer, then what it referred to", [](TFixture& f) { return f.edits.Delete(*f.c); },
       "Deleted: C."},
      {"reorder", [](TFixture& f) { return f.edits.Reorder(ekDigPoint, {f.b, f.a}); }, "Changed Type: Radiograph Type"},
  };
  TFixture f;
  std::vector<std::string> states{Fingerprint(f.type)};
  for (const TCase& step : steps) {
    const TResult result = step.edit(f);
    ASSERT_TRUE(result) << step.what << ": " << result.Text().English();
    EXPECT_EQ(f.type.ChangeHistory.back(), step.text) << step.what;
    EXPECT_EQ(f.edits.UndoText(), step.text) << step.what;
    states.push_back(Fingerprint(f.type));
  }
  EXPECT_EQ(f.type.ChangeHistory.size(), steps.size());
  EXPECT_TRUE(f.type.Modified);
  // The kind changes kept and emptied the slots as the compatibility rule says.
  EXPECT_NE(states[4].find("2:M2 k2 p0 >A >B >- >-"), std::string::npos) << states[4];
  EXPECT_NE(states[6].find("2:M2 k10 p0 >- >- >- >-"), std::string::npos) << states[6];

  for (size_t i = steps.size(); i > 0; --i) {
    ASSERT_TRUE(f.edits.Undo()) << steps[i - 1].what;
    EXPECT_EQ(Fingerprint(f.type), states[i - 1]) << "undo " << steps[i - 1].what;
  }
  EXPECT_FALSE(f.edits.CanUndo());
  EXPECT_EQ(f.edits.Undo().Text().English(), "Nothing to undo.");
  // Undoing the first delete gives back the same object the other elements referred to.
  EXPECT_EQ(f.type.FindElement("C", ekDigPoint), f.c);
  EXPECT_EQ(f.type.ChangeHistory.back(), "Deleted: P.");
  for (size_t i = 0; i < steps.size(); ++i) {
    ASSERT_TRUE(f.edits.Redo()) << steps[i].what;
    EXPECT_EQ(Fingerprint(f.type), states[i + 1]) << "redo " << steps[i].what;
  }
  EXPECT_FALSE(f.edits.CanRedo());
  // A new edit after an undo drops what could have been redone.
  ASSERT_TRUE(f.edits.Undo());
  ASSERT_TRUE(f.edits.Add(ekArea, "Region"));
  EXPECT_FALSE(f.edits.CanRedo());
}

TEST(TypeEdits, ChangesOfOneFieldOneAfterAnotherAreOneStep) {
  TFixture f;
  auto typeDigit = [&](double value, const std::string& field) {
    return f.edits.Change(*f.a, [value](TXRayElement& e) { static_cast<TDigPoint&>(e).Parameter1 = value; }, field);
  };
  ASSERT_TRUE(typeDigit(10, "p1"));
  ASSERT_TRUE(typeDigit(15, "p1"));
  ASSERT_TRUE(typeDigit(7, "p2"));  // another field: a step of its own
  ASSERT_TRUE(f.edits.Undo());
  EXPECT_EQ(f.a->Parameter1, 15);
  ASSERT_TRUE(f.edits.Undo());
  EXPECT_EQ(f.a->Parameter1, 0);
  EXPECT_FALSE(f.edits.CanUndo());
  // After an undo, a change of the same field starts a step of its own.
  ASSERT_TRUE(f.edits.Redo());
  ASSERT_TRUE(f.edits.Undo());
  ASSERT_TRUE(typeDigit(3, "p1"));
  ASSERT_TRUE(typeDigit(4, "p1"));
  ASSERT_TRUE(f.edits.Undo());
  EXPECT_EQ(f.a->Parameter1, 0);
}

TEST(TypeEdits, AnUndoThatTheTypeNoLongerAllowsIsRefusedAndKept) {
  TFixture f;
  TXRayElement* p = *f.edits.Add(ekDigPoint, "P");
  // Around the stack, something comes to refer to the new point.
  f.g->Points.push_back(p);
  const TResult undone = f.edits.Undo();
  EXPECT_EQ(undone.Text().English(), "Cannot delete 'P'.\r\n\r\nReferenced in Graphic: 'G'.");
  EXPECT_TRUE(f.edits.CanUndo());
  EXPECT_EQ(f.type.FindElement("P", ekDigPoint), p);
}

TEST(TypeEdits, UndoingAddedSnakePointsThatAreReferredToIsRefused) {
  TFixture f;
  auto* snake = static_cast<TDigSnake*>(*f.edits.Add(ekSnake, "Profile"));
  ASSERT_TRUE(f.edits.Change(*snake, [](TXRayElement& e) { static_cast<TDigSnake&>(e).AddPoint(1, 2, true); }));
  f.g->Points.push_back(snake->Points.back().get());
  const TResult undone = f.edits.Undo();
  EXPECT_EQ(undone.Text().English(), "'Profile' cannot lose its points: 'G' refers to them.");
  EXPECT_EQ(snake->Points.size(), 1u);
  f.g->Points.pop_back();
  EXPECT_TRUE(f.edits.Undo());
  EXPECT_TRUE(snake->Points.empty());
}

TEST(TypeEdits, SnakeEditsThatWouldFreeReferredPointsAreRefused) {
  TFixture f;
  auto* snake = static_cast<TDigSnake*>(*f.edits.Add(ekSnake, "Profile"));
  ASSERT_TRUE(f.edits.Change(*snake, [](TXRayElement& e) {
    auto& s = static_cast<TDigSnake&>(e);
    for (int i = 0; i < 5; ++i) s.AddPoint(10.0 * i, 0, true);
  }));
  f.g->Points.push_back(snake->Points[3].get());
  const size_t history = f.type.ChangeHistory.size();
  struct TCase {
    const char* what;
    std::function<void(TDigSnake&)> edit;
    bool kept;
  };
  const TCase cases[] = {
      {"clear all", [](TDigSnake& s) { s.ClearPoints(); }, false},
      {"fewer points", [](TDigSnake& s) { s.Resample(3); }, false},
      {"the last point", [](TDigSnake& s) { s.Points.pop_back(); }, true},
  };
  for (const TCase& c : cases) {
    const size_t before = snake->Points.size();
    const TResult result = f.edits.Change(*snake, [&](TXRayElement& e) { c.edit(static_cast<TDigSnake&>(e)); });
    EXPECT_EQ(result.Ok(), c.kept) << c.what;
    if (!c.kept) {
      EXPECT_EQ(result.Text().English(), "'Profile' cannot lose its points: 'G' refers to them.") << c.what;
      EXPECT_EQ(snake->Points.size(), before) << c.what;
    }
  }
  // The referred point is the same object throughout.
  EXPECT_EQ(f.g->Points.back(), snake->Points[3].get());
  EXPECT_EQ(f.type.ChangeHistory.size(), history + 1);
}

TEST(TypeEdits, AClickOnTheTypePlacesWhatTheChosenElementTakes) {
  TFixture f;
  f.a->SetXY(100, 200);
  auto* preset = f.Add<TDigPoint>("P", ekDigPoint);
  preset->SetKind(KindNumber(TDigPointKind::Preset));
  auto* fixed = f.Add<TDerPoint>("F", ekDerPoint);
  fixed->SetKind(KindNumber(TDerPointKind::Fixed));
  auto* snake = f.Add<TDigSnake>("S", ekSnake);
  f.v->Anchor = f.a;
  auto* area = f.Add<TArea>("R", ekArea);
  struct TCase {
    const char* what;
    TXRayElement* chosen;
    double x, y;
    std::function<void()> check;
    std::string text;  // history, or the refusal
  };
  const TCase cases[] = {
      {"a digitized point's template position", f.b, 12.5, 30,
       [&] { EXPECT_TRUE(f.b->IsValid()); EXPECT_DOUBLE_EQ(f.b->GetX(), 12.5); EXPECT_DOUBLE_EQ(f.b->GetY(), 30); },
       "Digitized Point."},
      {"a preset point's parameters, to a hundredth of a millimetre", preset, 123.456, -7.04,
       [&] { EXPECT_DOUBLE_EQ(preset->Parameter1, 123.5); EXPECT_DOUBLE_EQ(preset->Parameter2, -7.0); },
       "Digitized Point."},
      {"a fixed point's parameters", fixed, 40, 50,
       [&] { EXPECT_DOUBLE_EQ(fixed->Parameter1(), 40); EXPECT_DOUBLE_EQ(fixed->Parameter2(), 50); },
       "Digitized Fixed Point."},
      {"a snake's new last point", snake, 1, 2,
       [&] { ASSERT_EQ(snake->Points.size(), 1u); EXPECT_DOUBLE_EQ(snake->Points[0]->GetY(), 2); },
       "Changed Snake: S"},
      {"a label's offset from its anchor", f.v, 130.4, 180,
       [&] { EXPECT_EQ(f.v->LabelOffsetX, 30); EXPECT_EQ(f.v->LabelOffsetY, -20); }, "Changed Variable: V."},
      {"a computed point", f.m, 1, 1, [] {}, "'M' is computed from its operands: only a Fixed point takes a position."},
      {"an area", area, 1, 1, [] {}, "'R' takes no position from a click."},
      {"no position", f.b, std::nan(""), 1, [] {}, "The position is not on the tracing."},
  };
  for (const TCase& c : cases) {
    const size_t history = f.type.ChangeHistory.size();
    const TResult placed = f.edits.DigitizeAt(*c.chosen, c.x, c.y);
    if (placed.Ok()) {
      c.check();
      ASSERT_EQ(f.type.ChangeHistory.size(), history + 1) << c.what;
      EXPECT_EQ(f.type.ChangeHistory.back(), c.text) << c.what;
    } else {
      EXPECT_EQ(placed.Text().English(), c.text) << c.what;
      EXPECT_EQ(f.type.ChangeHistory.size(), history) << c.what;
    }
  }
  // Each placement is one undoable step.
  ASSERT_TRUE(f.edits.Undo());
  EXPECT_EQ(f.v->LabelOffsetX, 10);
}

TEST(TypeEdits, ACycleAlreadyInTheTypeDoesNotBlockOtherEdits) {
  TFixture f;
  // A hand-edited file may hold a loop; editing the looped point elsewhere stays possible.
  f.m->SetOperand(1, f.n);
  EXPECT_TRUE(f.edits.Change(*f.m, [](TXRayElement& e) { static_cast<TDerPoint&>(e).SetParameters(5, 0); }));
}

}  // namespace
}  // namespace lumacet
