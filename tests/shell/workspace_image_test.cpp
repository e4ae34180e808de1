// Radiographs carry their images through the workspace: opened with them on request,
// offered for saving when changed, never copied by Duplicate.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "imaging/bmp_codec.h"
#include "shell/temp_folder.h"
#include "shell/workspace.h"

namespace lumacet {
namespace {

const std::string kExampleType = std::string(LUMACET_SOURCE_DIR) + "/examples/lateral_ceph.lcr";

class TKeptPrompts : public TWorkspacePrompts {
 public:
  void ShowMessage(const std::string& text) override { Shown.push_back(text); }
  bool Confirm(const std::string& question) override {
    Asked.push_back(question);
    return true;
  }
  std::string ChooseImageFile(const std::string& folder, const std::string& name) override {
    Asked.push_back(folder + "|" + name);
    return Chosen;
  }
  TAnswer AskYesNoCancel(const std::string&) override { return TAnswer::No; }
  bool OfferSave(TRadiograph& object) override {
    Offered.push_back(object.Name);
    return !CancelSave;
  }
  std::vector<std::string> Shown;
  std::vector<std::string> Offered;
  std::vector<std::string> Asked;
  std::string Chosen;
  bool CancelSave = false;
};

class WorkspaceImageTest : public ::testing::Test {
 protected:
  WorkspaceImageTest() {
    std::filesystem::create_directory(folder.File("types"));
    std::filesystem::create_directory(folder.File("images"));
    std::filesystem::copy_file(kExampleType, folder.File("types/lateral_ceph.lcr"));
    options.Folders.TypeFolder = folder.File("types");
    options.DataFolder = folder.Path().string();
    options.Data.ImageFolder = folder.File("images");
    options.Images.DefaultFolder = folder.File("images");
    TBitmap32 picture;
    picture.Resize(4, 3);
    for (std::size_t i = 0; i < picture.Pixels.size(); ++i) picture.Pixels[i] = PackPixel(10 * i, 10 * i, 10 * i);
    std::string bytes;
    EXPECT_TRUE(EncodeBmp(picture, {24, false}, bytes));
    std::ofstream(folder.File("images/ceph.bmp"), std::ios::binary) << bytes;
  }

  // A radiograph linked to `image` (placed at 2 units per pixel) saved as record 1.
  void WriteRecord(const std::string& image) {
    TWorkspace writer(options);
    const int slot = writer.NewXRayBasic("Lateral Ceph", false, prompts);
    ASSERT_GE(slot, 0);
    TRadiograph& xray = *writer.Slot(slot);
    xray.Name = "Smith";
    xray.DataFile = "PATIENT.CSV";
    xray.ImageFile = image;
    xray.PixelWidth = 2;
    xray.PixelHeight = 2;
    ASSERT_TRUE(writer.Save(xray, prompts));
  }

  test::TTempFolder folder;
  TWorkspaceOptions options;
  TKeptPrompts prompts;
};

TEST_F(WorkspaceImageTest, OpeningWithImagesLoadsTheLinkedImage) {
  WriteRecord(folder.File("images/ceph.bmp"));
  TWorkspace workspace(options);
  ASSERT_EQ(workspace.OpenRecords("PATIENT.CSV", {1}, false, prompts, true), 1);
  const TRadiograph& xray = *workspace.Current();
  ASSERT_TRUE(xray.Image.HasImage());
  EXPECT_EQ(xray.Image.Display.Width, 4);
  EXPECT_EQ(PixelBlue(xray.Image.Display.Pixels[5]), 50u);
  EXPECT_EQ(xray.ImageFile, folder.File("images/ceph.bmp"));
  EXPECT_EQ(xray.PixelWidth, 2);  // the stored calibration stands
  EXPECT_FALSE(xray.Modified || xray.ImageModified);
  EXPECT_TRUE(prompts.Shown.empty());

  TWorkspace without(options);
  ASSERT_EQ(without.OpenRecords("PATIENT.CSV", {1}, false, prompts), 1);
  EXPECT_FALSE(without.Current()->Image.HasImage());
}

TEST_F(WorkspaceImageTest, AMissingImageIsToldAndItsLinkKept) {
  WriteRecord(folder.File("images/gone.bmp"));
  TWorkspace workspace(options);
  ASSERT_EQ(workspace.OpenRecords("PATIENT.CSV", {1}, false, prompts, true), 1);
  ASSERT_EQ(prompts.Shown.size(), 1u);
  EXPECT_NE(prompts.Shown[0].find("Could not find image file:"), std::string::npos);
  const TRadiograph& xray = *workspace.Current();
  EXPECT_FALSE(xray.Image.HasImage());
  EXPECT_EQ(xray.ImageFile, folder.File("images/gone.bmp"));
  EXPECT_FALSE(xray.Modified);

  TWorkspace quiet(options);
  ASSERT_EQ(quiet.OpenRecords("PATIENT.CSV", {1}, true, prompts, true), 1);
  EXPECT_EQ(prompts.Shown.size(), 1u);
}

TEST_F(WorkspaceImageTest, TheUserCanSearchForAMissingImageAndMakeItsFolderTheDefault) {
  WriteRecord(folder.File("images/moved.bmp"));
  std::filesystem::create_directory(folder.File("elsewhere"));
  std::filesystem::copy_file(folder.File("images/ceph.bmp"), folder.File("elsewhere/moved.bmp"));
  prompts.Chosen = folder.File("elsewhere/moved.bmp");
  TWorkspace workspace(options);
  ASSERT_EQ(workspace.OpenRecords("PATIENT.CSV", {1}, false, prompts, true), 1);
  ASSERT_EQ(prompts.Asked.size(), 3u);
  EXPECT_EQ(prompts.Asked[0],
            "Tried to load image file:\r\n   moved.bmp\r\n\r\nbut could not find it in the specified "
            "folder:\r\n   " +
                folder.File("images") + "\r\n\r\nor in the default image folder:\r\n   " + folder.File("images") +
                "\r\n\r\nDo you want to search for the file yourself?");
  EXPECT_EQ(prompts.Asked[1], folder.File("images") + "|moved.bmp");
  EXPECT_EQ(prompts.Asked[2],
            "Do you want this folder:\r\n   " + folder.File("elsewhere") + "\r\n\r\nto be the default image folder?");
  EXPECT_TRUE(prompts.Shown.empty());
  EXPECT_TRUE(workspace.Current()->Image.HasImage());
  EXPECT_EQ(workspace.Current()->ImageFile, folder.File("elsewhere/moved.bmp"));
  EXPECT_EQ(workspace.Options().Images.DefaultFolder, folder.File("elsewhere"));

  // Giving up ends as "not found", the link kept.
  prompts.Chosen.clear();
  prompts.Asked.clear();
  TWorkspace other(options);
  ASSERT_EQ(other.OpenRecords("PATIENT.CSV", {1}, false, prompts, true), 1);
  EXPECT_EQ(prompts.Asked.size(), 2u);
  ASSERT_EQ(prompts.Shown.size(), 1u);
  EXPECT_EQ(prompts.Shown[0], "Could not find image file:\r\n   " + folder.File("images/moved.bmp"));
  EXPECT_EQ(other.Current()->ImageFile, folder.File("images/moved.bmp"));
}

TEST_F(WorkspaceImageTest, AChangedImageIsOfferedForSavingAndNotDuplicated) {
  WriteRecord(folder.File("images/ceph.bmp"));
  TWorkspace workspace(options);
  ASSERT_EQ(workspace.OpenRecords("PATIENT.CSV", {1}, false, prompts, true), 1);
  TRadiograph& xray = *workspace.Current();
  EXPECT_FALSE(NeedsSavePrompt(xray));
  ASSERT_TRUE(AdjustImage(xray, xray.Image, TImageAdjustment::Negative, {}));
  EXPECT_TRUE(NeedsSavePrompt(xray));
  EXPECT_EQ(SavePromptText(xray, {}).ImageLine, "The image has changed.");
  EXPECT_TRUE(SavePromptText(xray, {}).CanSaveImage);

  ASSERT_GE(workspace.Duplicate(), 0);
  const TRadiograph& copy = *workspace.Current();
  EXPECT_FALSE(copy.Image.HasImage());
  EXPECT_TRUE(copy.ImageFile.empty());

  workspace.SetCurrent(&xray);
  prompts.CancelSave = true;
  EXPECT_FALSE(workspace.CloseCurrent(prompts));
  EXPECT_EQ(workspace.Current(), &xray);
  prompts.CancelSave = false;
  EXPECT_TRUE(workspace.CloseCurrent(prompts));
  EXPECT_EQ(prompts.Offered, (std::vector<std::string>{"Smith", "Smith"}));
}

TEST_F(WorkspaceImageTest, ATypeOpensWithItsImageFromTheTypeFolder) {
  std::filesystem::copy_file(folder.File("images/ceph.bmp"), folder.File("types/template.bmp"));
  TWorkspace workspace(options);
  const int slot = workspace.OpenType(folder.File("types/lateral_ceph.lcr"), prompts);
  ASSERT_GE(slot, 0);
  TRadiograph& type = *workspace.Slot(slot);
  type.ImageFile = "template.bmp";
  type.PixelWidth = 3;
  type.PixelHeight = 3;
  ASSERT_TRUE(workspace.Save(type, prompts));
  ASSERT_TRUE(workspace.CloseCurrent(prompts));

  options.Images.TypeFolder = folder.File("types");
  TWorkspace reopened(options);
  const int again = reopened.OpenType(folder.File("types/lateral_ceph.lcr"), prompts);
  ASSERT_GE(again, 0);
  EXPECT_TRUE(reopened.Slot(again)->Image.HasImage());
  EXPECT_TRUE(prompts.Shown.empty());
}

TEST_F(WorkspaceImageTest, TheTypesScalingOptionGivesNewImagesItsPixelSize) {
  TXRayType type;
  type.ScaleOverride = true;
  type.PixelWidth = 1.5;
  type.PixelHeight = 2.5;
  TXRay xray;
  xray.SetType(&type);
  const TImageLoadSettings settings = ImageLoadSettingsFor(xray, options.Images);
  EXPECT_TRUE(settings.TypeScaleOverride);
  EXPECT_EQ(settings.TypePixelWidth, 1.5);
  EXPECT_EQ(settings.TypePixelHeight, 2.5);
  EXPECT_EQ(settings.DefaultFolder, folder.File("images"));
  EXPECT_FALSE(ImageLoadSettingsFor(type, options.Images).TypeScaleOverride);
}

}  // namespace
}  // namespace lumacet
