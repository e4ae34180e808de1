#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "shell/temp_folder.h"
#include "shell/workspace.h"

namespace lumacet {
namespace {

const std::string kExampleType = std::string(LUMACET_SOURCE_DIR) + "/examples/lateral_ceph.lcr";

class TSilentPrompts : public TWorkspacePrompts {
 public:
  void ShowMessage(const std::string& text) override { Shown.push_back(text); }
  bool Confirm(const std::string&) override { return false; }
  TAnswer AskYesNoCancel(const std::string&) override { return TAnswer::Cancel; }
  bool OfferSave(TRadiograph&) override { return true; }
  std::vector<std::string> Shown;
};

class WorkspaceOptionsTest : public ::testing::Test {
 protected:
  WorkspaceOptionsTest() {
    for (const char* sub : {"a", "b"}) std::filesystem::create_directory(folder.File(sub));
    std::filesystem::copy_file(kExampleType, folder.File("a/lateral_ceph.lcr"));
    options.Folders.TypeFolder = folder.File("a");
    options.DataFolder = folder.Path().string();
  }

  test::TTempFolder folder;
  TWorkspaceOptions options;
  TSilentPrompts prompts;
};

TEST_F(WorkspaceOptionsTest, TypeNamesAreTheFirstLinesOfTheTypeFilesInFileNameOrder) {
  {
    std::ofstream second(folder.File("a/0_other.LCR"));
    second << "Frontal\r\nVersion 3.1\r\n";
    std::ofstream notAType(folder.File("a/notes.txt"));
    notAType << "Nothing\n";
  }
  TWorkspace workspace(options);
  EXPECT_EQ(workspace.TypeNames(), (std::vector<std::string>{"Frontal", "Lateral Ceph"}));
  options.Folders.TypeFolder = folder.File("missing");
  workspace.SetOptions(options);
  EXPECT_TRUE(workspace.TypeNames().empty());
}

TEST_F(WorkspaceOptionsTest, ANewTypeFolderKeepsLoadedTypesWithTheirRadiographs) {
  TWorkspace workspace(options);
  const int slot = workspace.NewXRayBasic("Lateral Ceph", false, prompts);
  ASSERT_GE(slot, 0);
  TXRayType* oldType = workspace.Slot(slot)->Type();

  options.Folders.TypeFolder = folder.File("b");
  workspace.SetOptions(options);
  EXPECT_EQ(workspace.Slot(slot)->Type(), oldType);
  EXPECT_EQ(oldType->Name, "Lateral Ceph");  // still usable
  EXPECT_EQ(workspace.NewXRayBasic("Lateral Ceph", true, prompts), -2);  // not in the new folder

  std::filesystem::copy_file(kExampleType, folder.File("b/lateral_ceph.lcr"));
  const int second = workspace.NewXRayBasic("Lateral Ceph", true, prompts);
  ASSERT_GE(second, 0);
  EXPECT_NE(workspace.Slot(second)->Type(), oldType);
}

TEST_F(WorkspaceOptionsTest, SwitchingLifeSizeRescalesOpenRadiographsButNotOneBeingDigitized) {
  TWorkspace workspace(options);
  auto newXRay = [&] {
    auto* xray = static_cast<TXRay*>(workspace.Slot(workspace.NewXRayBasic("Lateral Ceph", false, prompts)));
    xray->Magnification = 10;
    xray->Coordinates[0]->SetX(110);
    xray->Coordinates[0]->SetY(220);
    return xray;
  };
  TXRay* shown = newXRay();
  TXRay* digitizing = newXRay();
  digitizing->Digitizing = true;

  options.Data.ShowLifeSize = true;
  workspace.SetOptions(options);
  EXPECT_NEAR(shown->Coordinates[0]->GetX(), 100, 1e-9);
  EXPECT_NEAR(shown->Coordinates[0]->GetY(), 200, 1e-9);
  EXPECT_TRUE(shown->MagnificationCorrected);
  EXPECT_NEAR(digitizing->Coordinates[0]->GetX(), 110, 1e-9);

  workspace.SetOptions(options);  // unchanged: no second correction
  EXPECT_NEAR(shown->Coordinates[0]->GetX(), 100, 1e-9);

  options.Data.ShowLifeSize = false;
  workspace.SetOptions(options);
  EXPECT_NEAR(shown->Coordinates[0]->GetX(), 110, 1e-9);
  EXPECT_FALSE(shown->MagnificationCorrected);
}

}  // namespace
}  // namespace lumacet
