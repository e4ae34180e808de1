// Reading an image file by its name, the frame of a multi-frame DICOM file included, and
// the marked failures every image load gives.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "common/result_assertions.h"
#include "imaging/image_commands.h"
#include "imaging/image_file.h"
#include "imaging/multi_frame_dicom.h"
#include "model/xray.h"
#include "shell/temp_folder.h"

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
  for (int32_t frame : {1, 2, 3}) {
    TResultOf<TImageFileContents> contents = ReadImageFile(path, true, frame);
    ASSERT_TRUE(test::Succeeded(contents));
    EXPECT_TRUE(contents->IsDicom);
    EXPECT_EQ(contents->Dicom.FrameCount, 3);
    ASSERT_EQ(contents->Raw.Width, 3);
    ASSERT_EQ(contents->Raw.Height, 2);
    EXPECT_EQ(contents->Raw.Samples, std::vector<uint8_t>(6, uint8_t(10 * frame))) << frame;
  }
  // Without a choice the first frame, as for any file.
  TResultOf<TImageFileContents> first = ReadImageFile(path, true);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->Raw.Samples.front(), 10);

  for (int32_t missing : {0, 4}) {
    TResultOf<TImageFileContents> refused = ReadImageFile(path, true, missing);
    EXPECT_FALSE(refused) << missing;
    EXPECT_NE(refused.Text().English().find("series.dcm"), std::string::npos) << refused.Text().English();
  }
}

TEST_F(ImageFileTest, ASingleFrameFileHasOneFrame) {
  const std::string path = Write("single", test::MultiFrameDicom(1));
  TResultOf<TImageFileContents> contents = ReadImageFile(path, false);
  ASSERT_TRUE(test::Succeeded(contents));
  EXPECT_EQ(contents->Dicom.FrameCount, 1);
}

// A VIFF header of one 8-bit band and the given size, without data.
std::string ViffHeader(uint32_t width, uint32_t height) {
  std::string header(1024, '\0');
  header[0] = '\xAB';
  header[1] = '\x01';
  header[4] = '\x08';  // little endian
  auto put = [&header](size_t at, uint32_t value) {
    for (size_t i = 0; i < 4; ++i) header[at + i] = char(value >> (8 * i));
  };
  put(520, width);
  put(524, height);
  put(560, 1);  // bands
  put(564, 1);  // 8 bits
  return header;
}

TEST_F(ImageFileTest, FailuresAreMarkedImageTextsWithTheirEnglishAndReason) {
  TXRay xray;
  TImageStore store;
  TImageLoadSettings settings;
  settings.DefaultFolder = folder.Path().string();
  const std::string noJpeg = folder.File("none.jpg"), noTiff = folder.File("none.tif");
  const std::string garbage = Write("garbage.tif", "not an image at all");
  const std::string huge = Write("huge.viff", ViffHeader(100000, 100000));
  struct TCase {
    const char* What;
    std::function<TResult()> Load;
    std::string English;
    bool HasReason;
  };
  const TCase cases[] = {
      {"missing jpeg", [&] { return ReadImageFile(noJpeg, true).Outcome(); },
       "Error loading image file:\r\n   " + noJpeg, true},
      {"missing tiff", [&] { return ReadImageFile(noTiff, true).Outcome(); },
       "Error loading TIFF file.\r\n\r\n" + noTiff + "\r\nThe file cannot be read.", true},
      {"not found by the folder rules",
       [&] { return LoadDigBitmapFileName(xray, store, "gone.bmp", settings).Outcome(); },
       "Could not find image file:\r\n   " + folder.File("gone.bmp"), true},
      {"unreadable bytes", [&] { return ReadImageFile(garbage, true).Outcome(); },
       "Error loading TIFF file.\r\n\r\n" + garbage + "\r\nThe file is not a TIFF file.", true},
      {"too large", [&] { return ReadImageFile(huge, true).Outcome(); },
       "Image is too large to load. Memory insufficient.\r\n\r\n" + huge, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    const TResult result = c.Load();
    ASSERT_FALSE(result.Ok());
    EXPECT_EQ(result.Text().Context(), "Image");
    EXPECT_EQ(result.Text().English(), c.English);
    EXPECT_EQ(!result.Reason().empty(), c.HasReason) << result.Reason();
  }
  EXPECT_FALSE(store.HasImage());
  EXPECT_TRUE(xray.ImageFile.empty());
}

}  // namespace
}  // namespace lumacet
