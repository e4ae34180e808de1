// Reading an image file by its name, the frame of a multi-frame DICOM file included.
#include <gtest/gtest.h>

#include <fstream>

#include "shell/temp_folder.h"
#include "imaging/image_file.h"
#include "imaging/multi_frame_dicom.h"

namespace lumacet {
namespace {

class ImageFileTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& bytes) {
    const std::string path = folder.File(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  test::TTempFolder folder;
};

TEST_F(ImageFileTest, TheChosenFrameOfAMultiFrameDicomFileIsRead) {
  const std::string path = Write("series.dcm", test::MultiFrameDicom(3));
  TImageFileContents contents;
  std::string message;
  for (int32_t frame : {1, 2, 3}) {
    ASSERT_TRUE(ReadImageFile(path, true, contents, message, frame)) << message;
    EXPECT_TRUE(contents.IsDicom);
    EXPECT_EQ(contents.Dicom.FrameCount, 3);
    ASSERT_EQ(contents.Raw.Width, 3);
    ASSERT_EQ(contents.Raw.Height, 2);
    EXPECT_EQ(contents.Raw.Samples, std::vector<uint8_t>(6, uint8_t(10 * frame))) << frame;
  }
  // Without a choice the first frame, as for any file.
  ASSERT_TRUE(ReadImageFile(path, true, contents, message));
  EXPECT_EQ(contents.Raw.Samples.front(), 10);

  for (int32_t missing : {0, 4}) {
    EXPECT_FALSE(ReadImageFile(path, true, contents, message, missing)) << missing;
    EXPECT_NE(message.find("series.dcm"), std::string::npos) << message;
  }
}

TEST_F(ImageFileTest, ASingleFrameFileHasOneFrame) {
  const std::string path = Write("single", test::MultiFrameDicom(1));
  TImageFileContents contents;
  std::string message;
  ASSERT_TRUE(ReadImageFile(path, false, contents, message)) << message;
  EXPECT_EQ(contents.Dicom.FrameCount, 1);
}

}  // namespace
}  // namespace lumacet
