// The reminder before a tracing is saved whose image exists only in memory.
#include <gtest/gtest.h>

#include <filesystem>

#include "shell/temp_folder.h"
#include "shell/workspace.h"

namespace lumacet {
namespace {

// Answers Yes and keeps what it was asked; ticks the reminder's box when told to.
class TReminderPrompts : public TWorkspacePrompts {
 public:
  void ShowMessage(const std::string& text) override { Shown.push_back(text); }
  bool Confirm(const std::string&) override { return true; }
  TAnswer AskYesNoCancel(const std::string&) override { return TAnswer::No; }
  bool OfferSave(TRadiograph&) override { return true; }
  bool Remind(const std::string& text) override {
    Reminded.push_back(text);
    return TickBox;
  }
  std::vector<std::string> Shown;
  std::vector<std::string> Reminded;
  bool TickBox = false;
};

class WorkspaceReminderTest : public ::testing::Test {
 protected:
  WorkspaceReminderTest() {
    std::filesystem::copy_file(std::string(LUMACET_SOURCE_DIR) + "/examples/lateral_ceph.lcr",
                               folder.File("lateral_ceph.lcr"));
    options.Folders.TypeFolder = folder.Path().string();
    options.DataFolder = folder.Path().string();
  }

  // A new radiograph of the example type, to be saved into PATIENT.CSV, with an image that
  // came from nowhere on disk (a scanner) unless `file` names one.
  TRadiograph& NewWithImage(TWorkspace& workspace, const std::string& file = {}) {
    const int slot = workspace.NewXRayBasic("Lateral Ceph", false, prompts);
    EXPECT_GE(slot, 0);
    TRadiograph& xray = *workspace.Slot(slot);
    xray.Name = "Smith";
    xray.DataFile = "PATIENT.CSV";
    TRawImage raw;
    raw.Width = 2;
    raw.Height = 2;
    raw.SamplesPerPixel = 1;
    raw.BitsPerSample = 8;
    raw.Samples = {0, 80, 160, 240};
    raw.LoadedWindowHigh = 255;
    xray.Image.SetImage(std::move(raw));
    xray.ImageFile = file;
    return xray;
  }

  test::TTempFolder folder;
  TWorkspaceOptions options;
  TReminderPrompts prompts;
};

TEST_F(WorkspaceReminderTest, AnImageWithoutAFileIsRemindedOfAndTheSaveGoesOn) {
  TWorkspace workspace(options);
  TRadiograph& xray = NewWithImage(workspace);
  ASSERT_TRUE(xray.Image.HasImage());
  EXPECT_TRUE(workspace.Save(xray, prompts));
  EXPECT_EQ(prompts.Reminded, std::vector<std::string>{std::string(kImageNotSavedReminder)});
  EXPECT_TRUE(std::filesystem::exists(folder.File("PATIENT.CSV")));
  // Not ticked: the next save reminds again.
  EXPECT_TRUE(workspace.Save(xray, prompts));
  EXPECT_EQ(prompts.Reminded.size(), 2u);
  EXPECT_TRUE(workspace.Options().RemindImageNotSaved);
}

TEST_F(WorkspaceReminderTest, TickingTheBoxSwitchesTheReminderOff) {
  TWorkspace workspace(options);
  TRadiograph& xray = NewWithImage(workspace);
  prompts.TickBox = true;
  EXPECT_TRUE(workspace.Save(xray, prompts));
  EXPECT_FALSE(workspace.Options().RemindImageNotSaved);
  EXPECT_TRUE(workspace.Save(xray, prompts));
  EXPECT_EQ(prompts.Reminded.size(), 1u);

  // Switched on again through the settings, it reminds again.
  TWorkspaceOptions on = workspace.Options();
  on.RemindImageNotSaved = true;
  workspace.SetOptions(on);
  EXPECT_TRUE(NeedsImageNotSavedReminder(xray, workspace.Options()));
}

TEST_F(WorkspaceReminderTest, OnlyAnImageWithoutAFileCallsForIt) {
  TWorkspace workspace(options);
  TRadiograph& linked = NewWithImage(workspace, folder.File("ceph.bmp"));
  EXPECT_FALSE(NeedsImageNotSavedReminder(linked, options));
  linked.ImageFile.clear();
  EXPECT_TRUE(NeedsImageNotSavedReminder(linked, options));
  linked.Image.CloseImage();
  EXPECT_FALSE(NeedsImageNotSavedReminder(linked, options));  // no image: nothing to lose

  TWorkspaceOptions off = options;
  off.RemindImageNotSaved = false;
  TRadiograph& other = NewWithImage(workspace);
  EXPECT_FALSE(NeedsImageNotSavedReminder(other, off));
  EXPECT_TRUE(workspace.Save(linked, prompts));
  EXPECT_TRUE(prompts.Reminded.empty());
}

}  // namespace
}  // namespace lumacet
