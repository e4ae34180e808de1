#include "imaging/image_link.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numbers>

#include "imaging/image_frame.h"
#include "imaging/image_store_samples.h"

namespace lumacet {
namespace {

class ImageLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(folder.Path() / "img" / "sub");
    test::WriteBytes(File("img/a.jpg"), "x");
    test::WriteBytes(File("img/sub/a.jpg"), "x");
    test::WriteBytes(File("elsewhere.jpg"), "x");
    defaultFolder = File("img");
  }
  std::string File(const std::string& name) const { return folder.File(name); }

  test::TTempFolder folder;
  std::string defaultFolder;
};

TEST_F(ImageLinkTest, FolderRulesForFindingTheFile) {
  EXPECT_EQ(FindImageFile("\\sub\\a.jpg", defaultFolder).Path, File("img/sub/a.jpg"));
  EXPECT_EQ(FindImageFile("a.jpg", defaultFolder).Path, File("img/a.jpg"));
  EXPECT_EQ(FindImageFile(File("elsewhere.jpg"), defaultFolder).Path, File("elsewhere.jpg"));
  // A folder that is gone, Linux or Windows style, falls back to the bare name.
  EXPECT_EQ(FindImageFile("/old/place/a.jpg", defaultFolder).Path, File("img/a.jpg"));
  EXPECT_EQ(FindImageFile("E:\\old\\a.jpg", defaultFolder).Path, File("img/a.jpg"));
  // Names written on a system that ignores letter case.
  EXPECT_EQ(FindImageFile("\\SUB\\A.JPG", defaultFolder).Path, File("img/a.jpg"));
  EXPECT_EQ(FindImageFile("A.Jpg", defaultFolder + "/").Path, File("img/a.jpg"));
}

TEST_F(ImageLinkTest, NothingNamedOrNothingFound) {
  for (const char* link : {"", "folder\\", "/tmp/"}) {
    const TImageSearch search = FindImageFile(link, defaultFolder);
    EXPECT_TRUE(search.Name.empty());
    EXPECT_TRUE(search.Path.empty());
  }
  const TImageSearch search = FindImageFile("E:\\old\\b.jpg", defaultFolder);
  EXPECT_TRUE(search.Path.empty());
  EXPECT_EQ(search.TriedPath, File("img/b.jpg"));
  EXPECT_EQ(MissingImageQuestion(search, defaultFolder).English(),
            "Tried to load image file:\r\n   b.jpg\r\n\r\nbut could not find it in the specified folder:\r\n   E:/old"
            "\r\n\r\nor in the default image folder:\r\n   " +
                defaultFolder + "\r\n\r\nDo you want to search for the file yourself?");
  EXPECT_EQ(MissingImageQuestion(FindImageFile("b.jpg", defaultFolder), defaultFolder).English(),
            "Tried to load image file:\r\n   b.jpg\r\n\r\nbut could not find it in the default image folder:\r\n   " +
                defaultFolder + "\r\n\r\nDo you want to search for the file yourself?");
  EXPECT_EQ(ImageNotFoundMessage("/x/b.jpg").English(), "Could not find image file:\r\n   /x/b.jpg");
  EXPECT_EQ(DefaultFolderQuestion("/x").English(),
            "Do you want this folder:\r\n   /x\r\n\r\nto be the default image folder?");
}

TEST_F(ImageLinkTest, StoredFormsAndBack) {
  for (const std::string& base : {defaultFolder, defaultFolder + "/"}) {
    EXPECT_EQ(RadiographImageLink(File("img/a.jpg"), base), "a.jpg");
    EXPECT_EQ(RadiographImageLink(File("img/sub/a.jpg"), base), "\\sub\\a.jpg");
    EXPECT_EQ(RadiographImageLink(File("elsewhere.jpg"), base), File("elsewhere.jpg"));
  }
  EXPECT_EQ(RadiographImageLink("", defaultFolder), "");
  EXPECT_EQ(ImagePathFromLink("a.jpg", defaultFolder), File("img/a.jpg"));
  EXPECT_EQ(ImagePathFromLink("\\sub\\a.jpg", defaultFolder), File("img/sub/a.jpg"));
  EXPECT_EQ(ImagePathFromLink(File("elsewhere.jpg"), defaultFolder), File("elsewhere.jpg"));
  EXPECT_EQ(ImagePathFromLink("", defaultFolder), "");

  const std::string types = File("types");
  EXPECT_EQ(TypeImageLink(File("img/a.jpg"), defaultFolder, types), "a.jpg");
  EXPECT_EQ(TypeImageLink(File("types/t.bmp"), defaultFolder, types), "t.bmp");
  EXPECT_EQ(TypeImageLink(File("img/sub/a.jpg"), defaultFolder, types), File("img/sub/a.jpg"));
}

TEST(ImageFrame, PixelsMapToTracingThroughOriginSizeAndRotation) {
  const TImageFrame frame{100, 50, 2, 3, std::numbers::pi / 2};
  const TFloatPoint p = PixelToTracing(frame, 1, 0);
  EXPECT_NEAR(p.X, 100, 1e-12);
  EXPECT_NEAR(p.Y, 52, 1e-12);
  const TFloatPoint q = PixelToTracing(frame, 0, 1);
  EXPECT_NEAR(q.X, 97, 1e-12);
  EXPECT_NEAR(q.Y, 50, 1e-12);

  const TImageFrame tilted{-20, 35, 3.9, 2.5, 0.3};
  const auto back = TracingToPixel(tilted, PixelToTracing(tilted, 17.25, 4.5));
  ASSERT_TRUE(back);
  EXPECT_NEAR(back->X, 17.25, 1e-9);
  EXPECT_NEAR(back->Y, 4.5, 1e-9);
  EXPECT_FALSE(TracingToPixel({0, 0, 0, 1, 0}, {1, 1}));

  const auto corners = ImageCorners({10, 20, 2, 4, 0}, 30, 10);
  EXPECT_EQ(corners[0], (TFloatPoint{10, 20}));
  EXPECT_EQ(corners[1], (TFloatPoint{70, 20}));
  EXPECT_EQ(corners[2], (TFloatPoint{70, 60}));
  EXPECT_EQ(corners[3], (TFloatPoint{10, 60}));
}

}  // namespace
}  // namespace lumacet
