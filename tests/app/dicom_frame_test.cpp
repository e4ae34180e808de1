// Opening a multi-frame DICOM file asks which frame to show.
#include <gtest/gtest.h>

#include <QMainWindow>
#include <QMenuBar>
#include <QSpinBox>

#include <fstream>
#include <memory>

#include "app/image_commands_ui.h"
#include "app/image_dialogs.h"
#include "imaging/multi_frame_dicom.h"
#include "ui_test_support.h"

namespace lumacet {
namespace {

class DicomFrameTest : public ::testing::Test {
 protected:
  DicomFrameTest() {
    TWorkspaceOptions options;
    options.Folders.TypeFolder = example.Folder.Path().string();
    workspace = std::make_unique<TWorkspace>(options);
    test::TNoPrompts prompts;
    EXPECT_GE(workspace->NewXRayBasic("Lateral Ceph", false, prompts), 0);
    commands = new TImageCommands(window, *workspace, example.Settings, [] {});
    commands->AddMenus(*window.menuBar());
  }
  std::string Write(int frames) {
    const std::string path = example.Folder.File("series.dcm");
    std::ofstream(path, std::ios::binary) << test::MultiFrameDicom(frames);
    return path;
  }
  // Answers the frame chooser with `frame` (0: Cancel) and tells what it offered.
  void AnswerChooser(int frame) {
    test::WhenModal("DICOM Frame", [this, frame](QWidget* modal) {
      auto* chooser = qobject_cast<TDicomFrameDlg*>(modal);
      ASSERT_NE(chooser, nullptr);
      offered = chooser->FrameBox()->maximum();
      chooser->FrameBox()->setValue(frame);
      frame > 0 ? chooser->accept() : chooser->reject();
    });
  }

  test::TExampleFolder example;
  QMainWindow window;
  std::unique_ptr<TWorkspace> workspace;
  TImageCommands* commands = nullptr;
  int offered = 0;
};

TEST_F(DicomFrameTest, TheChosenFrameIsShownAndLeftUnsaved) {
  AnswerChooser(3);
  ASSERT_TRUE(commands->LoadImageFile(Write(4)));
  EXPECT_EQ(offered, 4);
  const TRadiograph& xray = *workspace->Current();
  ASSERT_TRUE(xray.Image.HasImage());
  EXPECT_EQ(xray.Image.Raw.Samples, std::vector<uint8_t>(6, 30));
  EXPECT_EQ(xray.ImageFile, example.Folder.File("series.dcm"));
  // The link would give back the first frame: the frame shown is an unsaved image.
  EXPECT_TRUE(xray.ImageModified);
}

TEST_F(DicomFrameTest, CancelOrTheFirstFrameKeepsTheLinkedImage) {
  for (int answer : {0, 1}) {
    AnswerChooser(answer);
    ASSERT_TRUE(commands->LoadImageFile(Write(2)));
    const TRadiograph& xray = *workspace->Current();
    EXPECT_EQ(xray.Image.Raw.Samples, std::vector<uint8_t>(6, 10)) << answer;
    EXPECT_FALSE(xray.ImageModified) << answer;
  }
}

TEST_F(DicomFrameTest, ASingleFrameFileAsksNothing) {
  test::WhenModal("DICOM Frame", [](QWidget* modal) {
    ADD_FAILURE() << "asked for the frame of a file of one frame";
    static_cast<QDialog*>(modal)->reject();
  });
  ASSERT_TRUE(commands->LoadImageFile(Write(1)));
  EXPECT_TRUE(workspace->Current()->Image.HasImage());
}

}  // namespace
}  // namespace lumacet
