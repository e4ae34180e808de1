// The type editors driven through their widgets: building an analysis with its points, angle,
// norm and drawing from an empty type, the refusals every editor gives with the type left as
// it was, and Ctrl+Z.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QListWidget>
#include <QTest>
#include <map>

#include "app/radiograph_dialogs.h"
#include "app/type_editors.h"
#include "app/type_list_editors.h"
#include "cli/cli_runner.h"
#include "model/xray.h"
#include "persistence/data_file.h"
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

void Select(QListWidget* list, const QString& text) {
  const auto found = list->findItems(text, Qt::MatchExactly);
  ASSERT_FALSE(found.isEmpty()) << text.toStdString();
  list->setCurrentItem(found.front());
}

// Chooses an entry of a list as the user would, by its text.
void ChooseEntry(QComboBox* list, const QString& text) {
  const int index = list->findText(text);
  ASSERT_GE(index, 0) << text.toStdString();
  list->setCurrentIndex(index);
  emit list->activated(index);
}

TEST(TypeEditorsTest, AnAnalysisBuiltFromAnEmptyTypeIsSavedReadBackAndMeasuredWithItsNorm) {
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
  // The label follows the angle's vertex.
  ChooseEntry(variables.OperandList(0), "N");
  variables.hide();

  // A drawing through the three points, and an analysis of the angle with the drawing.
  TDrawingsForm drawings(edits, prompts);
  ClickNew(drawings, "Profile");
  for (const char* name : {"S", "N", "A"}) {
    Select(drawings.Members()->Available(), name);
    test::ClickButton(drawings.Members(), "&Include");
  }
  TAnalysesForm analyses(edits, prompts);
  ClickNew(analyses, "Mine");
  Select(analyses.Variables()->Available(), "SNA");
  test::ClickButton(analyses.Variables(), "&Include");
  Select(analyses.Graphics()->Available(), "Profile");
  test::ClickButton(analyses.Graphics(), "&Include");
  EXPECT_EQ(type.ChangeHistory.back(), "Changed Analysis: Mine");
  // The type's name, as "Type Properties" gives it.
  TTypePropertiesDlg properties(prompts);
  properties.ShowType(type);
  QLineEdit* typeName = properties.findChild<QLineEdit*>("name");
  ASSERT_NE(typeName, nullptr);
  typeName->clear();
  QTest::keyClicks(typeName, "Built Lateral");
  properties.ApplyTo(type);
  EXPECT_TRUE(prompts.Shown.empty());

  // Saved and read back, the type is the one the editors built, to the byte.
  test::TTempFolder folder;
  const std::string path = folder.File("built.lcr");
  ASSERT_TRUE(type.SaveToTypeFile(path));
  TXRayType read;
  ASSERT_TRUE(read.LoadFromTypeFile(path));
  ASSERT_TRUE(read.SaveToTypeFile(folder.File("again.lcr")));
  EXPECT_EQ(test::ReadBytes(folder.File("again.lcr")), test::ReadBytes(path));
  auto* profile = static_cast<TXRGraphic*>(read.FindElement("Profile", ekGraphic));
  ASSERT_NE(profile, nullptr);
  EXPECT_EQ(profile->Points, (std::vector<TXRayElement*>{read.FindElement("S", ekDigPoint),
                                                         read.FindElement("N", ekDigPoint),
                                                         read.FindElement("A", ekDigPoint)}));
  auto* mine = static_cast<TXRAnalysis*>(read.FindElement("Mine", ekAnalysis));
  ASSERT_NE(mine, nullptr);
  EXPECT_EQ(mine->Points, (std::vector<TXRayElement*>{read.FindElement("SNA", ekVariable)}));
  EXPECT_EQ(mine->Graphics, (std::vector<TXRayElement*>{profile}));

  // A girl of ten digitized on the type: the command line measures the angle with its norm.
  TXRay xray;
  xray.SetType(&read);
  xray.Name = "Ada Test";
  xray.Female = true;
  xray.DateOfBirth = DayNumber(2000, 1, 1);
  xray.DateTaken = DayNumber(2010, 6, 1);
  const std::map<std::string, std::pair<double, double>> at = {{"S", {0, 0}}, {"N", {700, 0}}, {"A", {650, -300}}};
  for (size_t i = 0; i < xray.Coordinates.size(); ++i) {
    const auto& [x, y] = at.at(read.ElementList(ekDigPoint)[i]->Name);
    xray.Coordinates[i]->SetXY(x, y);
  }
  const std::string data = folder.File("patients.csv");
  ASSERT_TRUE(AppendToDataFile(xray, data, {}).Ok());
  const test::TRun run = test::RunCli(folder, "measure '" + data + "' --types '" + folder.Path().string() + "' ");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  // The angle N-S to N-A is acos(35000 / (700 * sqrt(92500))) = 80.54 degrees.
  EXPECT_NE(run.Out.find("\nSNA:\t80.5\t82\t3.5\n"), std::string::npos) << run.Out;
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
