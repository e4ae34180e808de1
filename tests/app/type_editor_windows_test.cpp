// Several type editors open at once on a type: each active in turn, the last one taking the
// tracing's clicks, and every one closed before its type goes.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

#include "app/drawing_area.h"
#include "app/main_window.h"
#include "app/type_editor_windows.h"
#include "app/type_editors.h"
#include "model/point_elements.h"
#include "model/xray_type.h"
#include "ui_test_support.h"

namespace lumacet {
namespace {

class TypeEditorWindowsTest : public ::testing::Test {
 protected:
  TypeEditorWindowsTest() : fWindow(fExample.Settings, fExample.Folder.File("lumacet.ini")) {
    fWindow.show();
    test::TNoPrompts prompts;
    EXPECT_GE(fWindow.Workspace().OpenType(fExample.Folder.File("lateral_ceph.lcr"), prompts), 0);
    fWindow.Refresh();
    fType = static_cast<TXRayType*>(fWindow.Workspace().Current());
  }

  // The editor of the command's kind, opened and active.
  TRollUpForm* Open(const char* command, int code) {
    fWindow.Command(command)->trigger();
    TRollUpForm* editor = fWindow.TypeEditor(code);
    EXPECT_NE(editor, nullptr) << command;
    if (editor != nullptr) {
      EXPECT_TRUE(Focused(editor)) << command;
    }
    return editor;
  }

  // Whether the window comes to have the keyboard focus. A tool window shares the main
  // window's activation, so being active says nothing.
  static bool Focused(QWidget* window) {
    return QTest::qWaitFor([window] { return QGuiApplication::focusWindow() == window->windowHandle(); });
  }

  static void Activate(QWidget* window) {
    window->activateWindow();
    ASSERT_TRUE(Focused(window));
  }

  test::TExampleFolder fExample;
  TMainWindow fWindow;
  TXRayType* fType = nullptr;
};

TEST_F(TypeEditorWindowsTest, EditorsWorkSideBySideAndTheOneActivatedListsWhatAnotherAdded) {
  ASSERT_NE(fType, nullptr);
  TRollUpForm* points = Open("type.digitized_points", ekDigPoint);
  TRollUpForm* derived = Open("type.derived_points", ekDerPoint);
  ASSERT_TRUE(points != nullptr && derived != nullptr);
  TTypeEditorWindows& editors = fWindow.TypeEditors();
  EXPECT_TRUE(points->isVisible());
  EXPECT_FALSE(points->isModal());
  EXPECT_EQ(editors.Current(*fType), derived);
  EXPECT_EQ(editors.Last(*fType), points);
  // The menus stay usable: the command again brings the open editor forward.
  EXPECT_EQ(Open("type.digitized_points", ekDigPoint), points);
  EXPECT_EQ(editors.Windows(*fType).size(), 2U);
  EXPECT_EQ(editors.Current(*fType), points);

  // A derived point whose first operand is a point, chosen before the new point exists.
  std::string user;
  for (const auto& e : fType->ElementList(ekDerPoint))
    if (static_cast<TDerPoint&>(*e).OperandCount() > 0) user = e->Name;
  ASSERT_FALSE(user.empty());
  derived->Choose(user);
  ASSERT_TRUE(points->NewElement("Zz New Point", false));
  EXPECT_EQ(derived->OperandList(0)->findText("Zz New Point"), -1) << "not refilled before it is active";
  Activate(derived);
  EXPECT_EQ(editors.Current(*fType), derived);
  EXPECT_GE(derived->OperandList(0)->findText("Zz New Point"), 0) << "refilled on activation";
  EXPECT_EQ(derived->CurrentElement()->Name, user) << "the chosen element is shown again";

  // Back on the main window the last editor places its point with a click on the tracing
  // and draws its preview there; an editor of a kind not placed by clicks draws none.
  Activate(points);
  Activate(&fWindow);
  EXPECT_EQ(editors.Current(*fType), nullptr);
  EXPECT_EQ(editors.Last(*fType), points);
  EXPECT_EQ(editors.Previewing(*fType), points);
  const std::optional<TFloatPoint> expected = fWindow.Drawing().Mapping().ToTracing({120, 90});
  ASSERT_TRUE(expected);
  QTest::mouseClick(fWindow.Drawing().viewport(), Qt::LeftButton, {}, QPoint(120, 90));
  auto* placed = dynamic_cast<TDigPoint*>(points->CurrentElement());
  ASSERT_NE(placed, nullptr);
  EXPECT_EQ(placed->Name, "Zz New Point");
  EXPECT_NEAR(placed->GetX(), expected->X, 1e-9);
  EXPECT_EQ(fType->ChangeHistory.back(), "Digitized Point.");
  Activate(derived);
  Activate(&fWindow);
  EXPECT_EQ(editors.Previewing(*fType), nullptr);

  // Closing one brings the next forward; the closed one is freed.
  QPointer<TRollUpForm> closed = derived;
  derived->reject();
  ASSERT_TRUE(Focused(points));
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(closed.isNull());
  EXPECT_EQ(fWindow.TypeEditor(ekDerPoint), nullptr);
  EXPECT_EQ(editors.Windows(*fType), std::vector<TRollUpForm*>{points});
  fType->Modified = false;
}

TEST_F(TypeEditorWindowsTest, ClosingTheTypeClosesItsEditorsFirstAndCancelKeepsThem) {
  ASSERT_NE(fType, nullptr);
  QPointer<TRollUpForm> points = Open("type.digitized_points", ekDigPoint);
  QPointer<TRollUpForm> variables = Open("type.variables", ekVariable);
  ASSERT_TRUE(points && variables);
  // A text typed but not yet stored: the field gives it up as its window goes.
  auto* before = variables->findChildren<QLineEdit*>().front();
  before->setFocus();
  QTest::keyClicks(before, "half typed");

  fType->Modified = true;
  bool asked = false;
  test::WhenModal("Save", [&](QWidget* prompt) {
    asked = true;
    static_cast<QDialog*>(prompt)->reject();
  });
  fWindow.Command("file.close")->trigger();
  EXPECT_TRUE(asked);
  EXPECT_EQ(fWindow.Workspace().Current(), fType) << "Cancel keeps the type";
  EXPECT_TRUE(points && variables) << "and its editors";

  fType->Modified = false;
  fWindow.Command("file.close")->trigger();
  EXPECT_EQ(fWindow.Workspace().Current(), nullptr);
  EXPECT_TRUE(points.isNull());
  EXPECT_TRUE(variables.isNull());
  // The tracing's clicks and paints no longer look for an editor of the freed type.
  QTest::mouseClick(fWindow.Drawing().viewport(), Qt::LeftButton, {}, QPoint(60, 60));
  fWindow.Drawing().repaint();
}

TEST_F(TypeEditorWindowsTest, QuittingWithEditorsOpenClosesThemBeforeTheTypes) {
  ASSERT_NE(fType, nullptr);
  QPointer<TRollUpForm> points = Open("type.digitized_points", ekDigPoint);
  QPointer<TRollUpForm> snakes = Open("type.snakes", ekSnake);
  ASSERT_TRUE(points && snakes);
  fType->Modified = false;
  ASSERT_TRUE(fWindow.close());
  EXPECT_TRUE(points.isNull());
  EXPECT_TRUE(snakes.isNull());
}

}  // namespace
}  // namespace lumacet
