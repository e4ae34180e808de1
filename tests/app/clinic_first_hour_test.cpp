// What a clinic meets in its first hour with the program, driven through the real widgets:
// the save prompt, finding a patient by typing, and the desktop's conventions.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "app/instance_lock.h"
#include "app/main_window.h"
#include "app/options_dialog.h"
#include "app/qt_prompts.h"
#include "app/record_browser_dialog.h"
#include "model/xray.h"
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
  EXPECT_EQ(tip("file.save"), "Open a radiograph first.");
  EXPECT_EQ(tip("file.close_all"), "Nothing is open.");
  EXPECT_EQ(tip("tools.pcas"), "Open a type for editing first (File > Open Type...).");
  EXPECT_TRUE(window.Command("file.save")->toolTip().endsWith("Open a radiograph first."));

  OpenAndChangeOne(window);
  EXPECT_EQ(tip("file.save"), "");
  EXPECT_EQ(tip("type.browser"), "Not part of this version of Lumacet yet.");
  TRadiograph& current = *window.Workspace().Current();
  EXPECT_EQ(tip("image.undo"), current.Image.HasImage() ? "Nothing to undo."
                                                        : "The radiograph has no image: open one first (Image > Open...).");

  // Hiding the tracing changes the reason the next refresh gives, with no enabling between.
  current.Visible = false;
  window.Refresh();
  EXPECT_EQ(tip("tracing.get_coordinates"), "The tracing is hidden: show it first.");
}

}  // namespace
}  // namespace lumacet
