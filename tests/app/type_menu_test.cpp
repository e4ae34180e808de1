// The Type menu's editor commands open the editors the Tools menu opens.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <cmath>

#include "app/main_window.h"
#include "app/drawing_area.h"
#include "app/type_list_editors.h"
#include "model/point_elements.h"
#include "model/xray_type.h"
#include "ui_test_support.h"

namespace lumacet {
namespace {

TEST(TypeMenuTest, ShapeAnalysesOpensThePcaEditorOfATypeOpenedForEditing) {
  test::TExampleFolder example;
  TMainWindow window(example.Settings, example.Folder.File("lumacet.ini"));
  QAction* command = window.Command("type.shape_analyses");
  ASSERT_NE(command, nullptr);
  EXPECT_FALSE(command->isEnabled());

  // A radiograph's type is not the one the editor could save.
  ASSERT_EQ(window.OpenPatient("Olivia Marchetti"), 1);
  EXPECT_FALSE(command->isEnabled());

  test::TNoPrompts prompts;
  ASSERT_GE(window.Workspace().OpenType(example.Folder.File("lateral_ceph.lcr"), prompts), 0);
  window.Refresh();
  ASSERT_TRUE(command->isEnabled());
  command->trigger();
  auto* form = qobject_cast<TPCAsForm*>(window.TypeEditor(ekPCA));
  ASSERT_NE(form, nullptr);
  QStringList shown;
  for (int i = 0; i < form->ElementList()->count(); ++i) shown << form->ElementList()->itemText(i);
  EXPECT_FALSE(shown.isEmpty());
}

TEST(TypeMenuTest, TheDigitizedPointsEditorPlacesItsPointByAClickOnTheTracingAndSetsItsEdgeLock) {
  test::TExampleFolder example;
  TMainWindow window(example.Settings, example.Folder.File("lumacet.ini"));
  window.show();
  test::TNoPrompts prompts;
  ASSERT_GE(window.Workspace().OpenType(example.Folder.File("lateral_ceph.lcr"), prompts), 0);
  window.Refresh();
  auto& type = static_cast<TXRayType&>(*window.Workspace().Current());
  auto* point = static_cast<TDigPoint*>(type.ElementList(ekDigPoint).front().get());
  const QPoint click(200, 150);
  const std::optional<TFloatPoint> expected = window.Drawing().Mapping().ToTracing({200, 150});
  ASSERT_TRUE(expected);
  window.Command("type.digitized_points")->trigger();
  auto* editor = qobject_cast<TDigPointsForm*>(window.TypeEditor(ekDigPoint));
  ASSERT_NE(editor, nullptr);
  ASSERT_TRUE(QTest::qWaitFor([editor] { return QGuiApplication::focusWindow() == editor->windowHandle(); }));
  editor->Choose(point->Name);
  QTest::mouseClick(window.Drawing().viewport(), Qt::LeftButton, {}, click);
  EXPECT_NEAR(point->GetX(), expected->X, 1e-9);
  EXPECT_NEAR(point->GetY(), expected->Y, 1e-9);
  EXPECT_EQ(type.ChangeHistory.back(), "Digitized Point.");
  // The edge lock, in the units the user reads.
  editor->SearchRange()->setValue(5);
  emit editor->SearchRange()->editingFinished();
  EXPECT_DOUBLE_EQ(point->SearchRange, 50);
  editor->SearchAngle()->setValue(90);
  emit editor->SearchAngle()->editingFinished();
  EXPECT_NEAR(point->SearchAngle, M_PI / 2, 1e-12);
  editor->CursorOnly()->setChecked(true);
  EXPECT_TRUE(point->CursorOnly);
  EXPECT_FALSE(editor->Transition()->isEnabled()) << "cursor only uses no transition";
  editor->CursorOnly()->setChecked(false);
  EXPECT_TRUE(editor->Transition()->isEnabled());
  editor->LockBias()->setValue(250);
  emit editor->LockBias()->editingFinished();
  EXPECT_EQ(point->LockBias, 100);
  EXPECT_EQ(editor->Direction(1)->itemText(0), "<Digitizer>");
  point->NeedsPlacing = false;
  editor->Recalculate()->click();
  EXPECT_TRUE(point->NeedsPlacing);
  EXPECT_EQ(type.ChangeHistory.back(), "Changed Point: " + point->Name);
  // The pages, and the description memo's lines joined as they stand when it loses the focus.
  auto* pages = editor->findChild<QTabWidget*>();
  ASSERT_NE(pages, nullptr);
  ASSERT_EQ(pages->count(), 3);
  EXPECT_TRUE(pages->widget(1)->isAncestorOf(editor->SearchRange()));
  EXPECT_TRUE(pages->widget(2)->isAncestorOf(editor->Description()));
  editor->Description()->setPlainText("Deepest point\nof the concavity");
  QFocusEvent out(QEvent::FocusOut);
  QApplication::sendEvent(editor->Description(), &out);
  EXPECT_EQ(point->Description, "Deepest pointof the concavity");
  EXPECT_EQ(type.ChangeHistory.back(), "Changed Point: " + point->Name);
  editor->reject();
  QApplication::processEvents();
  EXPECT_EQ(window.TypeEditor(ekDigPoint), nullptr);
  // After the editor, a click on the tracing is the tool's again.
  const double x = point->GetX();
  QTest::mouseClick(window.Drawing().viewport(), Qt::LeftButton, {}, QPoint(50, 50));
  EXPECT_EQ(point->GetX(), x);
  type.Modified = false;  // nothing to save on closing
}

}  // namespace
}  // namespace lumacet
