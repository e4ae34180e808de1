// The image reminder's switch lives in the settings: the window hands it to the workspace,
// takes back what the reminder's own box did, and "Reset Reminders" switches it on again.
#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>

#include "app/main_window.h"
#include "ui_test_support.h"

namespace lumacet {
namespace {

TEST(ReminderSettingsTest, TheImageReminderFollowsTheSecondRemindSwitch) {
  test::TExampleFolder example;
  example.Settings.General.Remind = {true, false, true};
  TMainWindow window(example.Settings, example.Folder.File("lumacet.ini"));
  EXPECT_FALSE(window.Workspace().Options().RemindImageNotSaved);

  test::WhenModal("Lumacet", [](QWidget* box) { static_cast<QDialog*>(box)->accept(); });
  window.Command("file.reset_reminders")->trigger();
  EXPECT_TRUE(window.Workspace().Options().RemindImageNotSaved);

  // As when the box "Don't show this message again." was ticked during a save.
  TWorkspaceOptions off = window.Workspace().Options();
  off.RemindImageNotSaved = false;
  window.Workspace().SetOptions(off);
  window.Refresh();
  EXPECT_EQ(window.Settings().General.Remind, (std::array<bool, 3>{true, false, true}));
}

}  // namespace
}  // namespace lumacet
