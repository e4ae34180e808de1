// The message-box questions: each offers the buttons its question is asked with, and the
// answer that goes on is the one taken for true.
#include "app/qt_prompts.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QMessageBox>

#include "ui_test_support.h"

namespace lumacet {
namespace {

// Answers the next question box with `answer`, once it has checked that the box offers
// exactly `offered`.
void Answer(QMessageBox::StandardButtons offered, QMessageBox::StandardButton answer) {
  test::WhenModal("Lumacet", [offered, answer](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->standardButtons(), offered);
    box->button(answer)->click();
  });
}

TEST(QtPromptsTest, OkCancelQuestionsOfferOkAndCancelAndYesNoQuestionsYesAndNo) {
  test::Application();
  TWorkspace workspace(TWorkspaceOptions{});
  TQtPrompts prompts(nullptr, workspace);
  const QMessageBox::StandardButtons okCancel = QMessageBox::Ok | QMessageBox::Cancel;
  Answer(okCancel, QMessageBox::Ok);
  EXPECT_TRUE(prompts.ConfirmOkCancel("Cannot use radiograph A. Points missing."));
  Answer(okCancel, QMessageBox::Cancel);
  EXPECT_FALSE(prompts.ConfirmOkCancel("Cannot use radiograph A. Points missing."));
  Answer(QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
  EXPECT_TRUE(prompts.Confirm("Continue?"));
}

TEST(QtPromptsTest, AReminderTellsWhetherItShouldNotBeShownAgain) {
  test::Application();
  TWorkspace workspace(TWorkspaceOptions{});
  TQtPrompts prompts(nullptr, workspace);
  for (const bool tick : {true, false}) {
    test::WhenModal("Reminder", [tick](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      ASSERT_NE(box, nullptr);
      ASSERT_NE(box->checkBox(), nullptr);
      EXPECT_EQ(box->checkBox()->text(), "Don't show this message again.");
      box->checkBox()->setChecked(tick);
      box->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(prompts.Remind(std::string(kImageNotSavedReminder)), tick);
  }
}

}  // namespace
}  // namespace lumacet
