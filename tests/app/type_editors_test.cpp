// The type editors driven through their widgets: building points and a measurement from an
// empty type, the refusals every editor gives with the type left as it was, and Ctrl+Z.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "app/type_editors.h"
#include "model/kind_codes.h"
#include "model/type_edits.h"
#include "model/xray_type.h"
#include "ui_test_support.h"

namespace lumacet {
namespace {

// Clicks "&New..." and types the name into the "Input" dialog.
void ClickNew(TRollUpForm& editor, const char* name) {
  test::WhenModal("Input", [name](QWidget* input) {
    QTest::keyClicks(input->findChild<QLineEdit*>(), name);
    QTest::keyClick(input->findChild<QLineEdit*>(), Qt::Key_Return);
  });
  QTest::mouseClick(editor.NewButton(), Qt::LeftButton);
}

// Ctrl+Z (Ctrl+Shift+Z with `redo`) in an editor shown on screen.
void PressUndo(QWidget& editor, bool redo = false) {
  editor.show();
  editor.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
  QTest::keyClick(QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : &editor, Qt::Key_Z,
                  redo ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier);
}

// Chooses an entry of a list as the user would, by its text.
void ChooseEntry(QComboBox* list, const QString& text) {
  const int index = list->findText(text);
  ASSERT_GE(index, 0) << text.toStdString();
  list->setCurrentIndex(index);
  emit list->activated(index);
}

TEST(TypeEditorsTest, PointsAndAMeasurementWithNormsFromAnEmptyType) {
  test::Application();
  TXRayType type;
  TTypeEdits edits(type);
  test::TRecordingPrompts prompts;
  {
    TDigPointsForm points(edits, prompts);
    // Nothing to edit yet: only "&New..." is on.
    EXPECT_FALSE(points.RenameButton()->isEnabled());
    EXPECT_FALSE(points.KindList()->isEnabled());
    for (const char* name : {"S", "N", "A"}) ClickNew(points, name);
    EXPECT_EQ(type.ElementNames({ekDigPoint}), (std::vector<std::string>{"S", "N", "A"}));
    // Sorted without regard to case, the new point chosen.
    EXPECT_EQ(points.ElementList()->itemText(0), "A");
    EXPECT_EQ(points.ElementList()->currentText(), "A");
    EXPECT_TRUE(points.KindList()->isEnabled());
  }
  TDerPointsForm derived(edits, prompts);
  ClickNew(derived, "M");
  ChooseEntry(derived.KindList(), "Midpoint");
  ChooseEntry(derived.OperandList(0), "S");
  ChooseEntry(derived.OperandList(1), "N");
  auto* m = static_cast<TDerPoint*>(type.FindElement("M", ekDerPoint));
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->Kind(), KindNumber(TDerPointKind::Midpoint));
  EXPECT_EQ(m->Operand(1), type.FindElement("N", ekDigPoint));
  // A number field: a number is stored ten times, anything else turns it red.
  ChooseEntry(derived.KindList(), "Sweep Angle");
  EXPECT_EQ(m->Operand(0), type.FindElement("S", ekDigPoint)) << "a slot of the same class stays";
  QLineEdit* angle = derived.Parameter(0);
  QTest::keyClicks(angle, "1.5");
  EXPECT_EQ(m->Parameter1(), 15);
  QTest::keyClicks(angle, "x");
  EXPECT_EQ(m->Parameter1(), 15);
  EXPECT_FALSE(angle->styleSheet().isEmpty());
  // Ctrl+Z takes back the last stored change, then the kind.
  PressUndo(derived);
  EXPECT_EQ(m->Parameter1(), 0);
  PressUndo(derived);
  EXPECT_EQ(m->Kind(), KindNumber(TDerPointKind::Midpoint));
  EXPECT_EQ(m->Operand(1), type.FindElement("N", ekDigPoint));
  // Ctrl+Shift+Z makes the kind change again, and the list shows it.
  PressUndo(derived, true);
  EXPECT_EQ(m->Kind(), KindNumber(TDerPointKind::SweepAngle));
  EXPECT_EQ(derived.KindList()->currentText(), "Sweep Angle");
  derived.hide();

  TVariablesForm variables(edits, prompts);
  ClickNew(variables, "SNA");
  ChooseEntry(variables.KindList(), "Angle 180");
  // The angle between the lines N-S and N-A.
  for (int slot = 0; slot < 4; ++slot) ChooseEntry(variables.OperandList(slot), QStringList{"N", "S", "N", "A"}[slot]);
  variables.AddNorm(0);
  QTableWidget* female = variables.Norms(0);
  ASSERT_EQ(female->rowCount(), 1);
  const QStringList typed{"8", "12", "82", "3.5"};
  for (int column = 0; column < 4; ++column) female->item(0, column)->setText(typed[column]);
  auto* sna = static_cast<TXRVariable*>(type.FindElement("SNA", ekVariable));
  ASSERT_NE(sna, nullptr);
  ASSERT_EQ(sna->FemaleNormals.size(), 1u);
  EXPECT_EQ(sna->FemaleNormals[0], (TNormalValue{8, 12, 82, 3.5}));
  EXPECT_TRUE(sna->MaleNormals.empty());
  EXPECT_EQ(type.ChangeHistory.back(), "Changed Variable: SNA");
  EXPECT_TRUE(prompts.Shown.empty());

  // Saved and read back, the type is the one the editors built.
  test::TTempFolder folder;
  const std::string path = folder.File("built.lcr");
  ASSERT_TRUE(type.SaveToTypeFile(path));
  TXRayType read;
  ASSERT_TRUE(read.LoadFromTypeFile(path));
  EXPECT_EQ(read.ElementNames({ekDigPoint, ekDerPoint, ekVariable}),
            (std::vector<std::string>{"S", "N", "A", "M", "SNA"}));
  auto* readM = static_cast<TDerPoint*>(read.FindElement("M", ekDerPoint));
  EXPECT_EQ(readM->Kind(), m->Kind());
  EXPECT_EQ(readM->Operand(0), read.FindElement("S", ekDigPoint));
  auto* readSna = static_cast<TXRVariable*>(read.FindElement("SNA", ekVariable));
  EXPECT_EQ(readSna->Kind(), sna->Kind());
  EXPECT_EQ(readSna->Operand(3), read.FindElement("A", ekDigPoint));
  EXPECT_EQ(readSna->FemaleNormals, sna->FemaleNormals);
}

TEST(TypeEditorsTest, EveryEditorRefusesWithTheMessageAndChangesNothing) {
  test::Application();
  TXRayType type;
  TTypeEdits edits(type);
  ASSERT_TRUE(edits.Add(ekDigPoint, "S"));
  ASSERT_TRUE(edits.Add(ekDigPoint, "N"));
  auto* m = static_cast<TDerPoint*>(*edits.Add(ekDerPoint, "M"));
  auto* k = static_cast<TDerPoint*>(*edits.Add(ekDerPoint, "K"));
  ASSERT_TRUE(edits.SetKind(*m, KindNumber(TDerPointKind::Midpoint)));
  ASSERT_TRUE(edits.SetOperand(*m, 0, type.FindElement("S", ekDigPoint)));
  ASSERT_TRUE(edits.SetOperand(*m, 1, type.FindElement("N", ekDigPoint)));
  ASSERT_TRUE(edits.SetKind(*k, KindNumber(TDerPointKind::Midpoint)));
  ASSERT_TRUE(edits.SetOperand(*k, 0, m));
  auto* v = static_cast<TXRVariable*>(*edits.Add(ekVariable, "V"));
  auto* w = static_cast<TXRVariable*>(*edits.Add(ekVariable, "W"));
  ASSERT_TRUE(edits.SetKind(*v, KindNumber(TVariableKind::Distance1)));
  ASSERT_TRUE(edits.SetOperand(*v, 0, m));
  ASSERT_TRUE(edits.SetKind(*w, KindNumber(TVariableKind::Sum)));
  ASSERT_TRUE(edits.SetOperand(*w, 0, v));
  const size_t steps = type.ChangeHistory.size();

  test::TRecordingPrompts prompts;
  TDigPointsForm points(edits, prompts);
  TDerPointsForm derived(edits, prompts);
  TVariablesForm variables(edits, prompts);
  struct TCase {
    const char* what;
    std::function<void()> act;
    std::string message;
  };
  const std::vector<TCase> cases = {
      {"digitized point renamed to a used name", [&] { points.Choose("S"); points.RenameElement("N"); },
       "'N' : This name is already used."},
      {"digitized point with referrers deleted", [&] { points.Choose("S"); points.DeleteElement(); },
       "Cannot delete 'S'.\r\n\r\nReferenced in Point: 'M'."},
      {"derived point renamed to a digitized point's name", [&] { derived.Choose("M"); derived.RenameElement("S"); },
       "'S' : This name is already used."},
      {"derived point with referrers deleted", [&] { derived.Choose("M"); derived.DeleteElement(); },
       "Cannot delete 'M'.\r\n\r\nReferenced in Point: 'K'."},
      {"derived point looped onto itself", [&] { derived.Choose("M"); ChooseEntry(derived.OperandList(1), "K"); },
       "Circular reference detected.\r\n\r\nYou attempted to derive 'M' using itself."},
      {"variable renamed to a used name", [&] { variables.Choose("V"); variables.RenameElement("W"); },
       "'W' : This name is already used."},
      {"variable with referrers deleted", [&] { variables.Choose("V"); variables.DeleteElement(); },
       "Cannot delete 'V'.\r\n\r\nReferenced in Variable: 'W'."},
      {"variable summing itself", [&] { variables.Choose("V"); ChooseEntry(variables.KindList(), "Sum");
         ChooseEntry(variables.OperandList(0), "W"); },
       "Circular reference detected.\r\n\r\nYou attempted to derive 'V' using itself."},
  };
  for (const TCase& c : cases) {
    prompts.Shown.clear();
    const size_t before = type.ChangeHistory.size();
    c.act();
    ASSERT_FALSE(prompts.Shown.empty()) << c.what;
    EXPECT_EQ(prompts.Shown.back(), c.message) << c.what;
    EXPECT_EQ(type.ChangeHistory.size(), before + (std::string(c.what) == "variable summing itself" ? 1 : 0)) << c.what;
  }
  // Nothing refused reached the type: the loop and the names are as they were.
  EXPECT_EQ(m->Operand(1), type.FindElement("N", ekDigPoint));
  EXPECT_EQ(type.ElementNames({ekDigPoint, ekDerPoint, ekVariable}),
            (std::vector<std::string>{"S", "N", "M", "K", "V", "W"}));
  // The kind change that emptied V's operand is a kept step: Ctrl+Z brings the operand back.
  EXPECT_EQ(v->Operand(0), nullptr);
  PressUndo(variables);
  EXPECT_EQ(v->Operand(0), m);
  EXPECT_EQ(type.ChangeHistory.size(), steps + 2);
}

}  // namespace
}  // namespace lumacet
