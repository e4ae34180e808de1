// What a clinic meets in its first hour with the program, driven through the real widgets:
// the save prompt, finding a patient by typing, and the desktop's conventions.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPalette>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>
#include <QWheelEvent>

#include <map>

#include "app/drawing_area.h"
#include "app/instance_lock.h"
#include "app/main_window.h"
#include "app/options_dialog.h"
#include "app/qt_prompts.h"
#include "app/record_browser_dialog.h"
#include "model/xray.h"
#include "support/version.h"
#include "ui_test_support.h"

namespace lumacet {
namespace {

using test::ClickButton;
using test::WhenModal;

int OpenSlots(TMainWindow& window) {
  int open = 0;
  for (int slot = 0; slot < kSlotCount; ++slot) open += window.Workspace().Slot(slot) != nullptr ? 1 : 0;
  return open;
}

// Opens the first record of the example through File > Open and changes it.
void OpenAndChangeOne(TMainWindow& window) {
  WhenModal("File: ", [](QWidget* modal) {
    auto* browser = dynamic_cast<TOpenXRayDlg*>(modal);
    ASSERT_NE(browser, nullptr);
    emit browser->Table()->cellClicked(0, 1);
    ClickButton(browser, "&Load and Exit");
  });
  window.Command("file.open")->trigger();
  auto* xray = dynamic_cast<TXRay*>(window.Workspace().Current());
  ASSERT_NE(xray, nullptr);
  xray->Coordinates.front()->SetX(xray->Coordinates.front()->GetX() + 11);
  xray->RecordChange(true, "Moved points.");
}

TEST(ClinicFirstHourTest, TheSavePromptSavesOnEnterAndItsCancelKeepsTheRadiographAndTheTool) {
  test::TExampleWindow shown(1100, 760);
  TMainWindow& window = shown.Window;
  OpenAndChangeOne(window);
  window.Command("tools.ruler")->setChecked(true);

  // Cancel: the radiograph stays open and the tool stays chosen.
  QString defaultButton;
  WhenModal("Save", [&defaultButton](QWidget* prompt) {
    for (QPushButton* button : prompt->findChildren<QPushButton*>())
      if (button->isDefault()) defaultButton = button->text();
    prompt->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
  });
  window.Command("file.close")->trigger();
  EXPECT_EQ(defaultButton, "&Save Tracing");  // Enter saves; discarding is a deliberate choice
  EXPECT_EQ(OpenSlots(window), 1);
  EXPECT_TRUE(window.Command("tools.ruler")->isChecked());

  WhenModal("Save", [](QWidget* prompt) { ClickButton(prompt, "&Don't Save"); });
  window.Command("file.close")->trigger();
  EXPECT_EQ(OpenSlots(window), 0);
}

TEST(ClinicFirstHourTest, TypingInTheBrowsersFilterKeepsTheFocusAndFiltersInAnyCase) {
  test::TExampleWindow shown(1100, 760);
  TMainWindow& window = shown.Window;
  struct TCase {
    const char* typed;
    bool matchCase;
    bool anyListed;
  };
  const TCase cases[] = {{"Emma", false, true}, {"emma", false, true}, {"emma", true, false}};
  for (const TCase& c : cases) {
    WhenModal("File: ", [&c](QWidget* modal) {
      auto* browser = dynamic_cast<TOpenXRayDlg*>(modal);
      ASSERT_NE(browser, nullptr);
      auto* filter = browser->findChild<QLineEdit*>();
      ASSERT_NE(filter, nullptr);
      filter->clear();
      for (QCheckBox* box : browser->findChildren<QCheckBox*>())
        if (box->text() == "&Match case") box->setChecked(c.matchCase);
      filter->setFocus();
      QTest::keyClicks(filter, c.typed);
      EXPECT_EQ(filter->text(), c.typed);  // every letter stays
      EXPECT_FALSE(browser->Table()->hasFocus());  // the rows did not take the keyboard away
      EXPECT_EQ(browser->Browser().Rows().empty(), !c.anyListed) << c.typed;
      for (const TRecordRow& row : browser->Browser().Rows()) EXPECT_EQ(row.Name, "Emma Lindqvist");
      browser->reject();
    });
    window.Command("file.open")->trigger();
  }
}

TEST(ClinicFirstHourTest, TextsShowWhatTheyMean) {
  test::TExampleFolder example;
  test::TRecordingPrompts prompts;
  TSettings settings = example.Settings;
  TLCOptions dialog(settings, prompts, TTextFormats{}, {"Lateral Ceph"}, [] {});
  bool deviationLabel = false;
  for (QLabel* label : dialog.findChildren<QLabel*>()) {
    if (label->text() != "Deviation from Mea&n:") continue;
    deviationLabel = true;
    EXPECT_NE(label->buddy(), nullptr);  // a mnemonic, not a printed ampersand
  }
  EXPECT_TRUE(deviationLabel);
  EXPECT_FALSE(DisplayText(kAlreadyRunningQuestion).contains("Lumacet 3"));
}

TEST(ClinicFirstHourTest, ADisabledCommandSaysWhatIsMissingAndAnEnabledOneSaysNothing) {
  test::TExampleWindow shown(1100, 760);
  TMainWindow& window = shown.Window;
  // The image menu's commands are the window's children too, named by their identifiers.
  auto tip = [&window](const char* id) { return window.findChild<QAction*>(id)->statusTip(); };
  EXPECT_EQ(window.findChild<QLabel*>("scalePanel")->text(), "XRAY");  // the scale is never hidden
  EXPECT_EQ(tip("file.save"), "Open a radiograph first.");
  EXPECT_EQ(tip("file.close_all"), "Nothing is open.");
  EXPECT_EQ(tip("tools.pcas"), "Open a type for editing first (File > Open Type...).");
  EXPECT_TRUE(window.Command("file.save")->toolTip().endsWith("Open a radiograph first."));

  OpenAndChangeOne(window);
  EXPECT_EQ(tip("file.save"), "");
  EXPECT_EQ(tip("type.vto_relationships"), "Open a type for editing first (File > Open Type...).");
  EXPECT_EQ(tip("type.browser"), "");
  TRadiograph& current = *window.Workspace().Current();
  EXPECT_EQ(tip("image.undo"), current.Image.HasImage() ? "Nothing to undo."
                                                        : "The radiograph has no image: open one first (Image > Open...).");

  // Hiding the tracing changes the reason the next refresh gives, with no enabling between.
  current.Visible = false;
  window.Refresh();
  EXPECT_EQ(tip("tracing.get_coordinates"), "The tracing is hidden: show it first.");
  EXPECT_EQ(tip("tracing.scale"), "The tracing is hidden: show it first.");
  current.Visible = true;
  current.Selection.clear();
  current.UndoMovements.clear();
  current.RedoMovements.clear();
  window.Refresh();
  EXPECT_EQ(tip("tracing.undo"), "Nothing to undo.");
  EXPECT_EQ(tip("tracing.redo"), "Nothing to redo.");
  EXPECT_EQ(tip("tracing.flip_vertical"), "Select points first (Tools > Select / Move or Tracing > Select All).");
}

TEST(ClinicFirstHourTest, ASaveIsToldOnTheStatusBarAboutNamesTheVersionsAndTheStandardKeysAreBound) {
  test::TExampleWindow shown(1100, 760);
  TMainWindow& window = shown.Window;
  OpenAndChangeOne(window);
  const std::string heading = window.Workspace().Heading(*window.Workspace().Current());
  WhenModal("Lumacet", [](QWidget* question) { ClickButton(question, "&Yes"); });  // replace the stored record
  window.Command("file.save")->trigger();
  EXPECT_FALSE(window.Workspace().Current()->Modified);
  EXPECT_EQ(window.statusBar()->currentMessage().toStdString(), "Saved " + heading + " to PATIENT.CSV");

  QString about;
  WhenModal("About", [&about](QWidget* box) {
    about = static_cast<QMessageBox*>(box)->text();
    static_cast<QMessageBox*>(box)->accept();
  });
  window.Command("help.about")->trigger();
  EXPECT_TRUE(about.contains(QString::fromUtf8(ProgramVersion().data())));
  EXPECT_TRUE(about.contains(QString::fromLatin1(qVersion())));

  const std::pair<const char*, QKeySequence> keys[] = {
      {"file.close", QKeySequence(Qt::CTRL | Qt::Key_W)},
      {"file.exit", QKeySequence(Qt::CTRL | Qt::Key_Q)},
      {"file.save", QKeySequence(Qt::CTRL | Qt::Key_S)},
      {"file.save_into", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
      {"view.best_fit", QKeySequence(Qt::CTRL | Qt::Key_0)},
      {"tracing.undo", QKeySequence(Qt::CTRL | Qt::Key_Z)},
      {"tracing.redo", QKeySequence(Qt::CTRL | Qt::Key_Y)},
      {"image.undo", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Z)},
      {"help.contents", QKeySequence(Qt::Key_F1)}};
  for (const auto& [id, key] : keys) EXPECT_TRUE(window.findChild<QAction*>(id)->shortcuts().contains(key)) << id;
  EXPECT_TRUE(window.Command("help.contents")->isEnabled());
  // A key bound twice in one window fires neither command.
  std::map<QKeySequence, std::string> owners;
  for (const QAction* action : window.findChildren<QAction*>())
    for (const QKeySequence& key : action->shortcuts())
      if (auto [at, added] = owners.emplace(key, action->objectName().toStdString()); !added)
        ADD_FAILURE() << key.toString().toStdString() << " is bound to " << at->second << " and "
                      << action->objectName().toStdString();
}

TEST(ClinicFirstHourTest, CtrlWheelZoomsAboutThePointerAndTheMiddleButtonDragsThePicture) {
  test::TExampleWindow shown(1100, 760);
  TMainWindow& window = shown.Window;
  auto* drawing = window.findChild<TDrawingArea*>();
  ASSERT_NE(drawing, nullptr);
  QWidget* viewport = drawing->viewport();
  const QPointF pointer(viewport->width() * 0.3, viewport->height() * 0.6);
  const TFloatPoint under = *drawing->Mapping().ToTracing({pointer.x(), pointer.y()});
  const int zoom = drawing->Mapping().Zoom();
  QWheelEvent wheel(pointer, viewport->mapToGlobal(pointer), {}, {0, 120}, Qt::NoButton, Qt::ControlModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(viewport, &wheel);
  EXPECT_GT(drawing->Mapping().Zoom(), zoom);
  EXPECT_NEAR(drawing->Mapping().ToTracing({pointer.x(), pointer.y()})->X, under.X, 1.0);
  EXPECT_NEAR(drawing->Mapping().ToTracing({pointer.x(), pointer.y()})->Y, under.Y, 1.0);

  const QPoint from = viewport->rect().center();
  const TFloatPoint grabbed = *drawing->Mapping().ToTracing({double(from.x()), double(from.y())});
  const QPoint to = from + QPoint(-60, -40);
  QTest::mousePress(viewport, Qt::MiddleButton, {}, from);
  QMouseEvent move(QEvent::MouseMove, QPointF(to), viewport->mapToGlobal(QPointF(to)), Qt::NoButton, Qt::MiddleButton,
                   Qt::NoModifier);
  QApplication::sendEvent(viewport, &move);
  QTest::mouseRelease(viewport, Qt::MiddleButton, {}, to);
  EXPECT_NEAR(drawing->Mapping().ToTracing({double(to.x()), double(to.y())})->X, grabbed.X, 1.0);
  EXPECT_NEAR(drawing->Mapping().ToTracing({double(to.x()), double(to.y())})->Y, grabbed.Y, 1.0);
}

TEST(ClinicFirstHourTest, UnderADarkPaletteTheDrawingAreaStaysPaperAndTheTracingKeepsItsColours) {
  test::TExampleWindow shown(1100, 760);
  TMainWindow& window = shown.Window;
  QPalette dark;
  dark.setColor(QPalette::Window, QColor(40, 40, 40));
  dark.setColor(QPalette::Base, QColor(30, 30, 30));
  dark.setColor(QPalette::WindowText, Qt::white);
  dark.setColor(QPalette::Text, Qt::white);
  window.setPalette(dark);
  OpenAndChangeOne(window);
  window.Workspace().Current()->Image.ImageVisible = false;
  window.Refresh();
  auto* drawing = window.findChild<TDrawingArea*>();
  const QImage picture = drawing->viewport()->grab().toImage();
  // The area is kept light on purpose, like the film's paper tracing: the tracing colours
  // the user chose are the ones that were checked against white.
  EXPECT_EQ(picture.pixelColor(2, 2), QColor(Qt::white));
  int darkPixels = 0;
  for (int y = 0; y < picture.height(); y += 4)
    for (int x = 0; x < picture.width(); x += 4) darkPixels += picture.pixelColor(x, y).lightness() < 100 ? 1 : 0;
  EXPECT_GT(darkPixels, 50);  // the black outlines are still drawn
}

}  // namespace
}  // namespace lumacet
