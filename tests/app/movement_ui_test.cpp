// The movement tools driven with real mouse and key events on the main window: selection
// by a click, a translation and a rotation dragged, Esc, the arrow keys, the Undo and Redo
// captions, the Movements window, the "Move" dialog's refusals, superimposition and the
// orientation applied on opening.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

#include "app/drawing_area.h"
#include "app/main_window.h"
#include "app/movement_dialogs.h"
#include "app/movement_window.h"
#include "geometry/plane_geometry.h"
#include "model/xray_type.h"
#include "simulation/selection.h"
#include "simulation/superimposition.h"
#include "ui_test_support.h"

namespace lumacet {
namespace {

void SendMouse(QWidget* target, QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons held,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QMouseEvent event(type, at, target->mapToGlobal(at), button, held, modifiers);
  QCoreApplication::sendEvent(target, &event);
}

// Noah's two lateral radiographs open, the later one current, without orientation on
// loading and without snapping, so that positions follow the mouse exactly.
struct MovementUiTest : ::testing::Test {
  MovementUiTest() {
    example.Settings.Radiograph.AutoOrientate = false;
    example.Settings.View.SnapMovements = false;
    window = std::make_unique<TMainWindow>(example.Settings, example.Folder.File("lumacet.ini"));
    window->resize(1200, 900);
    window->show();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(window->OpenPatient("Noah Bergstrom"), 2);
    current = window->Workspace().Current();
  }

  QWidget* Viewport() { return window->Drawing().viewport(); }
  TFloatPoint At(const char* point) {
    const TLoadedRadiograph loaded = current->Load();
    return loaded.Position(loaded.Find(point, ekDigPoint)).value();
  }
  QPointF Pixel(TFloatPoint tracing) {
    const TFloatPoint p = *window->Drawing().Mapping().ToPixel(tracing);
    return {p.X, p.Y};
  }
  TFloatPoint Tracing(QPointF pixel) {
    const TFloatPoint t = *window->Drawing().Mapping().ToTracing({pixel.x(), pixel.y()});
    return {std::nearbyint(t.X), std::nearbyint(t.Y)};
  }
  void Drag(QPointF from, QPointF to) {
    SendMouse(Viewport(), QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    SendMouse(Viewport(), QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
    SendMouse(Viewport(), QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    SendMouse(Viewport(), QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
  }
  void Click(QPointF at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    SendMouse(Viewport(), QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton, modifiers);
    SendMouse(Viewport(), QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton, modifiers);
  }
  QString Caption(const char* id) { return window->Command(id)->text(); }

  test::TExampleFolder example;
  std::unique_ptr<TMainWindow> window;
  TRadiograph* current = nullptr;
};

TEST_F(MovementUiTest, AClickSelectsADraggedTranslationIsLoggedAndUndoRedoFollowTheCaptions) {
  EXPECT_EQ(Caption("tracing.undo"), QStringLiteral("Can't Undo"));
  EXPECT_FALSE(window->Command("tracing.undo")->isEnabled());
  EXPECT_EQ(window->Command("tracing.undo")->shortcut(), QKeySequence(QKeySequence::Undo));
  EXPECT_TRUE(window->Command("tracing.redo")->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Y)));

  window->Command("tools.select_move")->trigger();
  Click(Pixel(At("S")));
  ASSERT_FALSE(current->Selection.empty());
  EXPECT_EQ(window->Workspace().GetCoordinatesRefusal().find("No points selected"), std::string::npos);
  const std::vector<TXRPoint*> moved = current->SelectedPoints();

  window->Command("tools.translate")->trigger();
  const TFloatPoint before = At("S");
  const QPointF from(60, 60), to(160, 110);  // away from every marker: the whole selection moves
  const TFloatPoint shift{Tracing(to).X - Tracing(from).X, Tracing(to).Y - Tracing(from).Y};
  Drag(from, to);
  EXPECT_DOUBLE_EQ(At("S").X, before.X + shift.X);
  EXPECT_DOUBLE_EQ(At("S").Y, before.Y + shift.Y);
  ASSERT_EQ(current->UndoMovements.size(), 1u);
  EXPECT_TRUE(Caption("tracing.undo").startsWith(QStringLiteral("&Undo: Translate: dx: ")))
      << Caption("tracing.undo").toStdString();
  EXPECT_EQ(Caption("tracing.redo"), QStringLiteral("Can't Repeat"));

  window->Command("view.movements")->trigger();
  TMovementForm& form = window->MovementForm();
  ASSERT_EQ(form.UndoList()->count(), 1);
  EXPECT_TRUE(form.UndoList()->item(0)->text().startsWith(QStringLiteral("Translate: dx: ")));

  window->Command("tracing.undo")->trigger();
  EXPECT_DOUBLE_EQ(At("S").X, before.X);
  EXPECT_EQ(form.UndoList()->count(), 0);
  EXPECT_EQ(form.RedoList()->count(), 1);
  EXPECT_EQ(Caption("tracing.undo"), QStringLiteral("Can't Undo"));
  EXPECT_TRUE(Caption("tracing.redo").startsWith(QStringLiteral("&Redo: Translate: ")));
  // Ctrl+Y is Redo.
  QTest::keyClick(window.get(), Qt::Key_Y, Qt::ControlModifier);
  EXPECT_DOUBLE_EQ(At("S").X, before.X + shift.X);
  EXPECT_EQ(form.UndoList()->count(), 1);
  EXPECT_EQ(moved, current->SelectedPoints());
}

TEST_F(MovementUiTest, TheRubberBandSelectsWhatLiesInsideAndGetCoordinatesCopiesJustThat) {
  const auto band = [&](const char* around) {
    const QPointF at = Pixel(At(around));
    Drag(at - QPointF(6, 6), at + QPointF(6, 6));
  };
  window->Command("tools.select_move")->trigger();
  band("S");
  const std::vector<TXRPoint*> selected = current->SelectedPoints();
  ASSERT_FALSE(selected.empty());
  const TLoadedRadiograph loaded = current->Load();
  EXPECT_NE(std::find(selected.begin(), selected.end(), loaded.Find("S", ekDigPoint)), selected.end());
  EXPECT_EQ(std::find(selected.begin(), selected.end(), loaded.Find("N", ekDigPoint)), selected.end());

  // Everything moved, then only the band's points fetched back from the reference.
  const TFloatPoint nBefore = At("N");
  window->Command("tracing.select_all")->trigger();
  window->Command("tools.translate")->trigger();
  QTest::keyClick(window.get(), Qt::Key_Right, Qt::ShiftModifier);
  window->Command("tools.select_move")->trigger();
  band("S");
  ASSERT_EQ(current->SelectedPoints(), selected);
  TXRay* reference = window->Workspace().Reference();
  ASSERT_TRUE(reference != nullptr && reference != current);
  const TLoadedRadiograph fromReference = reference->Load();
  const TFloatPoint referenceS = fromReference.Position(fromReference.Find("S", ekDigPoint)).value();
  test::WhenModal("Lumacet", [](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    box->button(QMessageBox::Yes)->click();
  });
  window->Command("tracing.get_coordinates")->trigger();
  EXPECT_EQ(At("S"), referenceS);
  EXPECT_NEAR(At("N").X, nBefore.X + 100, 1e-9) << "outside the band";
}

TEST_F(MovementUiTest, TheRotateToolTurnsAboutThePlacedCentreAndEscCancelsADrag) {
  window->Command("tracing.select_all")->trigger();
  window->Command("tools.rotation_center")->trigger();
  const QPointF centrePixel = Pixel(At("Or")) + QPointF(3, 2);
  Click(centrePixel);
  const TFloatPoint centre = window->Drawing().Movement().RotationCentre;
  EXPECT_EQ(centre, Tracing(centrePixel));
  EXPECT_EQ(window->MoveForm().XField()->text().toDouble(), centre.X);

  window->Command("tools.rotate")->trigger();
  const TFloatPoint s = At("S");
  Drag(centrePixel + QPointF(200, 0), centrePixel + QPointF(0, 200));  // a quarter turn clockwise on screen
  ASSERT_EQ(current->UndoMovements.size(), 1u);
  EXPECT_NEAR(current->UndoMovements.back().Angle, std::numbers::pi / 2, 0.02);
  const TFloatPoint turned = At("S");
  EXPECT_NEAR(std::hypot(turned.X - centre.X, turned.Y - centre.Y), std::hypot(s.X - centre.X, s.Y - centre.Y), 1e-6);
  EXPECT_NEAR(AngleBetweenLines(centre, s, centre, turned), std::numbers::pi / 2, 0.02);

  // Esc in the middle of a drag puts everything back and logs nothing.
  SendMouse(Viewport(), QEvent::MouseButtonPress, centrePixel + QPointF(0, 200), Qt::LeftButton, Qt::LeftButton);
  SendMouse(Viewport(), QEvent::MouseMove, centrePixel + QPointF(-150, 100), Qt::NoButton, Qt::LeftButton);
  EXPECT_NE(At("S"), turned);
  QTest::keyClick(window.get(), Qt::Key_Escape);
  EXPECT_FALSE(window->Drawing().Movement().Dragging());
  SendMouse(Viewport(), QEvent::MouseButtonRelease, centrePixel, Qt::LeftButton, Qt::NoButton);
  EXPECT_NEAR(At("S").X, turned.X, 1e-9);
  EXPECT_NEAR(At("S").Y, turned.Y, 1e-9);
  EXPECT_EQ(current->UndoMovements.size(), 1u);
}

TEST_F(MovementUiTest, ArrowKeysMoveByTheirMultipliersAndCompileIntoOneLine) {
  window->Command("tracing.select_all")->trigger();
  window->Command("tools.translate")->trigger();
  const TFloatPoint before = At("N");
  QTest::keyClick(window.get(), Qt::Key_Right);
  QTest::keyClick(window.get(), Qt::Key_Right, Qt::ShiftModifier);
  QTest::keyClick(window.get(), Qt::Key_Up, Qt::ControlModifier);
  EXPECT_NEAR(At("N").X, before.X + 110, 1e-9);
  EXPECT_NEAR(At("N").Y, before.Y - 1, 1e-9);
  EXPECT_EQ(current->UndoMovements.size(), 1u) << "compiled";
  window->Command("tracing.compile")->trigger();
  QTest::keyClick(window.get(), Qt::Key_Down);
  EXPECT_EQ(current->UndoMovements.size(), 2u);
  // With no movement tool the keys are the controls' again.
  window->Command("tools.none")->trigger();
  QTest::keyClick(window.get(), Qt::Key_Down);
  EXPECT_NEAR(At("N").Y, before.Y + 9, 1e-9);
}

TEST_F(MovementUiTest, TheImageTranslateToolMovesTheImageUnderTheLockEscCancelsAndADoubleClickResets) {
  // A picture of the film's size under the tracing.
  current->Image.Display.Resize(1000, 800);
  current->PixelWidth = current->PixelHeight = 2;
  window->Command("tools.image_translate")->trigger();
  ASSERT_TRUE(window->Command("tools.image_translate")->isChecked());
  const double x0 = current->ImageOriginX;
  const double y0 = current->ImageOriginY;
  const TFloatPoint n = At("N");
  // The middle of the display is the image body, away from every handle.
  const QPointF middle(Viewport()->width() / 2.0 - 37, Viewport()->height() / 2.0 - 41);
  const TFloatPoint from = Tracing(middle);
  const TFloatPoint to = Tracing(middle + QPointF(60, 30));
  Drag(middle, middle + QPointF(60, 30));
  EXPECT_NEAR(current->ImageOriginX - x0, to.X - from.X, 1.5);
  EXPECT_NEAR(current->ImageOriginY - y0, to.Y - from.Y, 1.5);
  EXPECT_EQ(current->ChangeHistory.back(), "Image Repositioned.");
  const bool locked = example.Settings.General.LockTracing;
  EXPECT_NEAR(At("N").X - n.X, locked ? current->ImageOriginX - x0 : 0, 1e-6);

  // Esc in the middle of a drag puts the image back.
  const double x1 = current->ImageOriginX;
  SendMouse(Viewport(), QEvent::MouseButtonPress, middle, Qt::LeftButton, Qt::LeftButton);
  SendMouse(Viewport(), QEvent::MouseMove, middle + QPointF(-80, 10), Qt::NoButton, Qt::LeftButton);
  EXPECT_NE(current->ImageOriginX, x1);
  QTest::keyClick(window.get(), Qt::Key_Escape);
  SendMouse(Viewport(), QEvent::MouseButtonRelease, middle + QPointF(-80, 10), Qt::LeftButton, Qt::NoButton);
  EXPECT_DOUBLE_EQ(current->ImageOriginX, x1);

  // The arrow keys move the image by ten units, Shift ten times that.
  SendMouse(Viewport(), QEvent::MouseMove, middle, Qt::NoButton, Qt::NoButton);
  QTest::keyClick(window.get(), Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_NEAR(current->ImageOriginX, x1 + 100, 1e-9);

  SendMouse(Viewport(), QEvent::MouseButtonDblClick, middle, Qt::LeftButton, Qt::LeftButton);
  SendMouse(Viewport(), QEvent::MouseButtonRelease, middle, Qt::LeftButton, Qt::NoButton);
  EXPECT_NEAR(current->ImageOriginX, 0, 1e-9);
  EXPECT_NEAR(current->ImageOriginY, 0, 1e-9);

  // The tool shows the lock.
  QAction* lock = window->findChild<QAction*>(QStringLiteral("image.tracing_locked"));
  ASSERT_NE(lock, nullptr);
  lock->setChecked(false);
  EXPECT_EQ(window->Command("tools.image_translate")->icon().name(), "lumacet-image-translate");
  lock->setChecked(true);
  EXPECT_EQ(window->Command("tools.image_translate")->icon().name(), "lumacet-image-translate-locked");
}

TEST_F(MovementUiTest, TheMovementsWindowReversesRepeatsUndoesFromAnEntryAndDeletes) {
  window->Command("tracing.select_all")->trigger();
  window->Command("tools.translate")->trigger();
  window->Command("tracing.compile")->trigger();  // one line a key
  const TFloatPoint start = At("S");
  QTest::keyClick(window.get(), Qt::Key_Right, Qt::ShiftModifier);
  QTest::keyClick(window.get(), Qt::Key_Down);
  window->Command("view.movements")->trigger();
  TMovementForm& form = window->MovementForm();
  ASSERT_EQ(form.UndoList()->count(), 2);
  const auto choose = [&](QListWidget* list, int row) {
    list->clearSelection();
    list->item(row)->setSelected(true);
  };

  // Reverse and Repeat move the tracing and leave the lists as they are.
  choose(form.UndoList(), 0);
  test::ClickButton(&form, QStringLiteral("Re&verse Selected"));
  EXPECT_NEAR(At("S").X, start.X, 1e-9);
  EXPECT_NEAR(At("S").Y, start.Y + 10, 1e-9);
  choose(form.UndoList(), 0);
  test::ClickButton(&form, QStringLiteral("R&epeat Selected"));
  EXPECT_NEAR(At("S").X, start.X + 100, 1e-9);
  EXPECT_EQ(form.UndoList()->count(), 2);

  // A double-click on the first entry undoes it and everything after it.
  QListWidget* undo = form.UndoList();
  const QPointF first = undo->visualItemRect(undo->item(0)).center();
  SendMouse(undo->viewport(), QEvent::MouseButtonPress, first, Qt::LeftButton, Qt::LeftButton);
  SendMouse(undo->viewport(), QEvent::MouseButtonRelease, first, Qt::LeftButton, Qt::NoButton);
  SendMouse(undo->viewport(), QEvent::MouseButtonDblClick, first, Qt::LeftButton, Qt::LeftButton);
  SendMouse(undo->viewport(), QEvent::MouseButtonRelease, first, Qt::LeftButton, Qt::NoButton);
  EXPECT_NEAR(At("S").X, start.X, 1e-9);
  EXPECT_NEAR(At("S").Y, start.Y, 1e-9);
  EXPECT_EQ(form.UndoList()->count(), 0);
  ASSERT_EQ(form.RedoList()->count(), 2);
  EXPECT_EQ(Caption("tracing.undo"), QStringLiteral("Can't Undo"));

  choose(form.RedoList(), 1);
  test::ClickButton(&form, QStringLiteral("&Delete"));
  EXPECT_EQ(form.RedoList()->count(), 1);
  EXPECT_EQ(At("S"), start) << "deleting moves nothing";
}

TEST_F(MovementUiTest, TheMoveDialogRefusesBadNumbersAndMovesNothing) {
  window->Command("tracing.select_all")->trigger();
  window->Command("tracing.move")->trigger();
  TMoveDetailedForm& form = window->MoveForm();
  ASSERT_TRUE(form.isVisible());
  const TFloatPoint before = At("N");
  struct TCase {
    const char* Dx;
    const char* Dy;
    const char* Named;
  };
  for (const TCase c : {TCase{"abc", "0", "dX"}, {"1e308", "0", "dX"}, {"0", "", "dY"}}) {
    form.DxField()->setText(QString::fromLatin1(c.Dx));
    form.DyField()->setText(QString::fromLatin1(c.Dy));
    test::ClickButton(&form, QStringLiteral("&Translate"));
    EXPECT_TRUE(form.Message()->text().contains(QString::fromLatin1(c.Named))) << form.Message()->text().toStdString();
    EXPECT_EQ(At("N"), before);
    EXPECT_TRUE(current->UndoMovements.empty());
  }
  form.DxField()->setText(QStringLiteral("1.5"));
  form.DyField()->setText(QStringLiteral("0"));
  test::ClickButton(&form, QStringLiteral("&Translate"));
  EXPECT_TRUE(form.Message()->text().isEmpty());
  EXPECT_NEAR(At("N").X, before.X + 15, 1e-9);

  // 370 degrees turn the points as 10 do, about the centre set from a point of the list.
  form.PointList()->setCurrentText(QStringLiteral("S"));
  test::ClickButton(&form, QStringLiteral("S&et To ->"));
  EXPECT_EQ(window->Drawing().Movement().RotationCentre, (TFloatPoint{std::nearbyint(At("S").X), std::nearbyint(At("S").Y)}));
  form.AngleField()->setText(QStringLiteral("370"));
  test::ClickButton(&form, QStringLiteral("&Rotate"));
  ASSERT_EQ(current->UndoMovements.size(), 2u);
  EXPECT_NEAR(current->UndoMovements.back().Angle, 10 * std::numbers::pi / 180, 1e-12);
  form.XField()->setText(QStringLiteral("1e308"));
  test::ClickButton(&form, QStringLiteral("&Set To ->"));
  EXPECT_FALSE(form.Message()->text().isEmpty());
  EXPECT_NE(window->Drawing().Movement().RotationCentre.X, 1e308);
}

TEST_F(MovementUiTest, ScaleByRefusesAnOtherFactorThatIsNoPositiveNumberAndKeepsTheDialogOpen) {
  const TFloatPoint before = At("N");
  int refusals = 0;
  std::function<void(QWidget*)> answer;
  answer = [&](QWidget* modal) {
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {  // the refusal, over the dialog
      ++refusals;
      box->button(QMessageBox::Ok)->click();
      test::WhenModal("Scale by...", answer);
      return;
    }
    auto* other = modal->findChildren<QRadioButton*>().at(2);
    other->setChecked(true);
    auto* factor = test::Child<QLineEdit>(modal, "factor");
    static const char* const typed[] = {"abc", "0", "-2", "2"};
    factor->setText(QString::fromLatin1(typed[refusals]));
    if (refusals < 3) {
      test::WhenModal("Scale by...", answer);  // the refusal bears the dialog's title
    } else {
      test::WhenModal("Lumacet", [](QWidget* question) {  // wider than the display: go on
        qobject_cast<QMessageBox*>(question)->button(QMessageBox::Yes)->click();
      });
    }
    modal->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
  };
  test::WhenModal("Scale by...", answer);
  window->Command("tracing.scale")->trigger();
  EXPECT_EQ(refusals, 3);
  ASSERT_EQ(current->UndoMovements.size(), 1u) << "only the accepted factor is performed";
  EXPECT_EQ(current->UndoMovements.back().Kind, mkScale);
  EXPECT_DOUBLE_EQ(current->UndoMovements.back().Dx, 2);
  EXPECT_NE(At("N"), before);
}

TEST_F(MovementUiTest, SuperimposingBringsTheOtherTracingOntoTheCurrentAndUndoesThere) {
  QComboBox* chooser = window->findChild<QComboBox*>(QStringLiteral("superimpositions"));
  ASSERT_NE(chooser, nullptr);
  chooser->setCurrentText(QStringLiteral("S-N registered at S"));
  TRadiograph* other = window->Workspace().Slot(0) == current ? window->Workspace().Slot(1) : window->Workspace().Slot(0);
  window->Command("tracing.superimpose")->trigger();
  const TFloatPoint s = At("S");
  const TLoadedRadiograph loaded = other->Load();
  const TFloatPoint otherS = loaded.Position(loaded.Find("S", ekDigPoint)).value();
  EXPECT_NEAR(otherS.X, s.X, 1e-9);
  EXPECT_NEAR(otherS.Y, s.Y, 1e-9);
  EXPECT_FALSE(other->UndoMovements.empty());
  EXPECT_TRUE(current->UndoMovements.empty());
}

TEST(MovementOnOpeningTest, AutoOrientateTurnsTheOpenedTracingOntoItsFirstOrientation) {
  test::TExampleFolder example;
  TMainWindow window(example.Settings, example.Folder.File("lumacet.ini"));
  ASSERT_TRUE(window.Command("tracing.auto_orientate")->isChecked());
  ASSERT_EQ(window.OpenPatient("Noah Bergstrom"), 2);
  TRadiograph* current = window.Workspace().Current();
  const TXROrient* orientation = DefaultOrientation(*current->Type());
  ASSERT_NE(orientation, nullptr);
  const TLoadedRadiograph loaded = current->Load();
  const TFloatPoint p1 = loaded.Position(orientation->Points[0]).value();
  const TFloatPoint p2 = loaded.Position(orientation->Points[1]).value();
  EXPECT_NEAR(p1.Y, p2.Y, 1e-9) << "Frankfort horizontal";
  EXPECT_LT(p1.X, p2.X);
  ASSERT_FALSE(current->UndoMovements.empty());
  EXPECT_EQ(current->UndoMovements.back().Kind, mkRotateAll);
  // Not an edit of the user's: closing would ask nothing.
  EXPECT_FALSE(current->Modified);
}

}  // namespace
}  // namespace lumacet
