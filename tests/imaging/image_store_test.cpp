#include "model/image_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "imaging/bmp_codec.h"
#include "imaging/image_adjust.h"
#include "imaging/image_commands.h"
#include "imaging/image_store_samples.h"
#include "imaging/jpeg_codec.h"
#include "model/raw_image_ops.h"
#include "model/xray.h"
#include "model/xray_type.h"

namespace lumacet {
namespace {

using test::ReadBytes;
using test::WriteBytes;

class ImageStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    picture = test::RandomBitmap(6, 4, 5);
    for (std::uint32_t& pixel : picture.Pixels) pixel &= 0x00FFFFFF;  // 24-bit files have no fourth byte
    std::string bytes;
    ASSERT_TRUE(EncodeBmp(picture, {24, false}, bytes));
    WriteBytes(folder.File("a.bmp"), bytes);
    settings.DefaultFolder = folder.Path().string();
    // A new radiograph starts modified with "New." in its history.
    xray.ChangeHistory.clear();
    xray.Modified = false;
  }

  bool Load(const std::string& name) { return Keep(LoadDigBitmapFileName(xray, store, name, settings)); }
  bool Save(const std::string& path, const TJpegOptions& jpeg, std::string& saved) {
    TResultOf<std::string> written = DoImageSave(xray, store, path, jpeg);
    if (written) saved = *written;
    return Keep(written);
  }
  // The outcome, its text kept in `message` for the assertions.
  template <typename Result>
  bool Keep(const Result& outcome) {
    message = outcome.Text().English();
    return outcome.Ok();
  }

  test::TTempFolder folder;
  TBitmap32 picture;
  TImageLoadSettings settings;
  TXRay xray;
  TImageStore store;
  std::string message;
};

TEST_F(ImageStoreTest, LoadingLinksTheFileSetsAMissingPixelSizeAndRecordsIt) {
  store.ImageVisible = false;
  ASSERT_TRUE(Load("a.bmp")) << message;
  EXPECT_EQ(store.Display, picture);
  EXPECT_EQ(store.Raw.SamplesPerPixel, 3);
  EXPECT_TRUE(store.ImageVisible);
  EXPECT_FALSE(store.CanUndo());
  EXPECT_EQ(xray.ImageFile, folder.File("a.bmp"));
  EXPECT_EQ(xray.PixelWidth, 3.9);
  EXPECT_EQ(xray.PixelHeight, 3.9);
  EXPECT_TRUE(xray.Modified);
  EXPECT_FALSE(xray.ImageModified);
  EXPECT_EQ(xray.ChangeHistory, (std::vector<std::string>{"Image Loaded."}));
}

TEST_F(ImageStoreTest, PixelSizeComesFromTheTypeWhenItSaysSoAndAStoredOneStands) {
  settings.TypeScaleOverride = true;
  settings.TypePixelWidth = 1.5;
  settings.TypePixelHeight = 2.5;
  ASSERT_TRUE(Load("a.bmp"));
  EXPECT_EQ(xray.PixelWidth, 1.5);
  EXPECT_EQ(xray.PixelHeight, 2.5);

  settings.TypePixelWidth = 9;
  ASSERT_TRUE(Load("a.bmp"));
  EXPECT_EQ(xray.PixelWidth, 1.5);

  TXRay other;
  settings.TypeScaleOverride = false;
  settings.DefaultPixelWidth = 0;  // unusable settings fall back to the built-in size
  settings.DefaultPixelHeight = -2;
  ASSERT_TRUE(Keep(LoadDigBitmapFileName(other, store, "a.bmp", settings)));
  EXPECT_EQ(other.PixelWidth, 3.9);
  EXPECT_EQ(other.PixelHeight, 3.9);
}

TEST_F(ImageStoreTest, AFailedLoadChangesNothing) {
  ASSERT_TRUE(Load("a.bmp"));
  const TBitmap32 shown = store.Display;
  const std::vector<std::string> history = xray.ChangeHistory;
  xray.Modified = false;

  EXPECT_FALSE(Load("missing.jpg"));
  EXPECT_EQ(message, "Could not find image file:\r\n   " + folder.File("missing.jpg"));
  EXPECT_TRUE(FindImageFile("missing.jpg", settings.DefaultFolder).Path.empty());

  WriteBytes(folder.File("bad.jpg"), "not a picture");
  EXPECT_FALSE(Load("bad.jpg"));
  EXPECT_EQ(message.rfind("Error loading image.\r\n\r\n" + folder.File("bad.jpg") + "\r\n", 0), 0u) << message;

  EXPECT_EQ(store.Display, shown);
  EXPECT_EQ(xray.ImageFile, folder.File("a.bmp"));
  EXPECT_EQ(xray.ChangeHistory, history);
  EXPECT_FALSE(xray.Modified);
}

TEST_F(ImageStoreTest, LoadWithTracingResolvesTheStoredLinkAndKeepsItWhenMissing) {
  std::filesystem::create_directories(folder.Path() / "sub");
  std::filesystem::copy_file(folder.File("a.bmp"), folder.File("sub/b.bmp"));
  xray.ImageFile = "\\sub\\b.bmp";
  xray.PixelWidth = 1.25;
  xray.PixelHeight = 1.5;
  ASSERT_TRUE(Keep(LoadImageWithTracing(xray, store, settings))) << message;
  EXPECT_EQ(xray.ImageFile, folder.File("sub/b.bmp"));
  EXPECT_EQ(xray.PixelWidth, 1.25);
  EXPECT_TRUE(xray.ChangeHistory.empty());
  EXPECT_FALSE(xray.Modified);

  xray.ImageFile = "/gone/c.bmp";
  EXPECT_FALSE(Keep(LoadImageWithTracing(xray, store, settings)));
  EXPECT_EQ(xray.ImageFile, "/gone/c.bmp");
}

TEST_F(ImageStoreTest, ATypesBareImageNameIsLookedForInTheTypeFolderFirst) {
  std::filesystem::create_directories(folder.Path() / "types");
  TBitmap32 other = test::RandomBitmap(2, 2, 8);
  for (std::uint32_t& pixel : other.Pixels) pixel &= 0x00FFFFFF;
  std::string bytes;
  ASSERT_TRUE(EncodeBmp(other, {24, false}, bytes));
  WriteBytes(folder.File("types/a.bmp"), bytes);
  settings.TypeFolder = folder.File("types");

  TXRayType type;
  type.ImageFile = "a.bmp";
  ASSERT_TRUE(Keep(LoadImageWithTracing(type, store, settings))) << message;
  EXPECT_EQ(store.Display, other);
  EXPECT_EQ(type.ImageFile, folder.File("types/a.bmp"));
  // A radiograph's bare name is looked for in the image folder only.
  xray.ImageFile = "a.bmp";
  ASSERT_TRUE(Keep(LoadImageWithTracing(xray, store, settings)));
  EXPECT_EQ(store.Display, picture);
}

TEST_F(ImageStoreTest, UndoAlternatesWithRedo) {
  ASSERT_TRUE(Load("a.bmp"));
  EXPECT_FALSE(store.CanUndo());
  ASSERT_TRUE(AdjustImage(xray, store, TImageAdjustment::Negative, {}));
  TBitmap32 negative = picture;
  NegativeImage(negative);
  EXPECT_EQ(store.Display, negative);
  EXPECT_EQ(store.UndoCaption(), "&Undo Image");
  store.SwapImageUndo();
  EXPECT_EQ(store.Display, picture);
  EXPECT_EQ(store.UndoCaption(), "&Redo Image");
  store.SwapImageUndo();
  EXPECT_EQ(store.Display, negative);
  EXPECT_EQ(store.UndoCaption(), "&Undo Image");
  // A new edit starts over: its undo returns to the image before it.
  store.SwapImageUndo();
  ASSERT_TRUE(AdjustImage(xray, store, TImageAdjustment::Equalize, {}));
  EXPECT_EQ(store.UndoCaption(), "&Undo Image");
  store.SwapImageUndo();
  EXPECT_EQ(store.Display, picture);
}

TEST_F(ImageStoreTest, ResetReturnsToTheImageAsLoaded) {
  ASSERT_TRUE(Load("a.bmp"));
  ASSERT_TRUE(AdjustImage(xray, store, TImageAdjustment::AutoLevels, {}));
  ApplyLevelsToRaw(store.Raw, store.Display, 0, 255, 40, 90, 3.0);
  store.ResetImageFromRaw();
  EXPECT_EQ(store.Display, picture);
  EXPECT_EQ(store.Raw.WindowLow, 0);
  EXPECT_EQ(store.Raw.WindowHigh, 0);
  EXPECT_EQ(store.Raw.Gamma, 1.0);
}

TEST_F(ImageStoreTest, EveryEditRecordsItsText) {
  ASSERT_TRUE(Load("a.bmp"));
  xray.ChangeHistory.clear();
  for (TImageAdjustment adjustment : {TImageAdjustment::Equalize, TImageAdjustment::AdaptiveEqualize,
                                      TImageAdjustment::AutoLevels, TImageAdjustment::AdaptiveAutoLevels,
                                      TImageAdjustment::Negative})
    ASSERT_TRUE(AdjustImage(xray, store, adjustment, {}));
  const TBitmap32 before = store.Display;
  for (TImageDialog dialog : {TImageDialog::Levels, TImageDialog::BrightnessContrastGamma, TImageDialog::Colorize})
    CommitImageDialog(xray, store, dialog, before);
  EXPECT_EQ(xray.ChangeHistory,
            (std::vector<std::string>{"Image Equalized.", "Image Adaptively Equalized.", "Image Levels Adjusted.",
                                      "Image Levels Adaptively Adjusted.", "Image Inverted.", "Image Levels Adjusted.",
                                      "Image Brightness/Contrast Changed.", "Image Colorized."}));
  EXPECT_TRUE(xray.ImageModified);
  EXPECT_EQ(store.UndoImage, before);
}

TEST_F(ImageStoreTest, EditsWithoutAnImageDoNothing) {
  EXPECT_FALSE(AdjustImage(xray, store, TImageAdjustment::Equalize, {}));
  EXPECT_FALSE(CloseImage(xray, store));
  std::string saved;
  EXPECT_FALSE(Save(folder.File("x.bmp"), {}, saved));
  EXPECT_TRUE(xray.ChangeHistory.empty());
  EXPECT_FALSE(xray.ImageModified);
}

TEST_F(ImageStoreTest, SavingWritesTheEditedDisplayAndRelinks) {
  ASSERT_TRUE(Load("a.bmp"));
  ASSERT_TRUE(AdjustImage(xray, store, TImageAdjustment::Negative, {}));
  std::string saved;
  ASSERT_TRUE(Save(folder.File("out.BMP"), {}, saved)) << message;
  EXPECT_EQ(saved, folder.File("out.BMP"));
  EXPECT_EQ(xray.ImageFile, saved);
  EXPECT_FALSE(xray.ImageModified);
  EXPECT_EQ(xray.ChangeHistory.back(), "Image Saved.");
  TRawImage written;
  TImageReadError error;
  ASSERT_TRUE(DecodeBmp(ReadBytes(saved), written, error));
  EXPECT_EQ(written.SamplesPerPixel, 4);  // a 32-bit bitmap
  TBitmap32 rendered;
  RenderToBitmap(written, rendered);
  EXPECT_EQ(rendered, store.Display);

  ASSERT_TRUE(Save(folder.File("out.jpg"), {}, saved));
  ASSERT_TRUE(DecodeJpeg(ReadBytes(saved), written, error));
  EXPECT_EQ(written.SamplesPerPixel, 3);
  ASSERT_TRUE(Save(folder.File("grey.jpeg"), {50, true}, saved));
  ASSERT_TRUE(DecodeJpeg(ReadBytes(saved), written, error));
  EXPECT_EQ(written.SamplesPerPixel, 1);
}

TEST_F(ImageStoreTest, SavingNeverOverwritesAnotherKindOfFile) {
  ASSERT_TRUE(Load("a.bmp"));
  WriteBytes(folder.File("scan.dcm"), "DICOM bytes");
  std::string saved;
  ASSERT_TRUE(Save(folder.File("scan.dcm"), {}, saved));
  EXPECT_EQ(saved, folder.File("scan.dcm.jpg"));
  EXPECT_EQ(ReadBytes(folder.File("scan.dcm")), "DICOM bytes");

  const std::string link = xray.ImageFile;
  const std::size_t records = xray.ChangeHistory.size();
  EXPECT_FALSE(Save(folder.File("no/such/folder/x.jpg"), {}, saved));
  EXPECT_EQ(message.rfind("Could not save image file:\r\n   " + folder.File("no/such/folder/x.jpg"), 0), 0u);
  EXPECT_EQ(xray.ImageFile, link);
  EXPECT_EQ(xray.ChangeHistory.size(), records);
}

TEST_F(ImageStoreTest, ClosingBreaksTheLinkAndKeepsTheSamples) {
  ASSERT_TRUE(Load("a.bmp"));
  ASSERT_TRUE(AdjustImage(xray, store, TImageAdjustment::Negative, {}));
  ASSERT_TRUE(CloseImage(xray, store));
  EXPECT_FALSE(store.HasImage());
  EXPECT_FALSE(store.CanUndo());
  EXPECT_TRUE(store.Raw.HasData());
  EXPECT_TRUE(xray.ImageFile.empty());
  EXPECT_FALSE(xray.ImageModified);
  EXPECT_EQ(xray.ChangeHistory.back(), "Link with image broken.");
}

TEST_F(ImageStoreTest, SavingUnderANewNameRelinksTheRecordAndMarksItModified) {
  ASSERT_TRUE(Load("a.bmp")) << message;
  xray.Modified = false;
  xray.ChangeHistory.clear();
  std::string saved;
  ASSERT_TRUE(Save(folder.File("a.bmp"), {}, saved)) << message;
  EXPECT_FALSE(xray.Modified);  // the same file: the link holds as it was

  ASSERT_TRUE(Save(folder.File("copy.bmp"), {}, saved)) << message;
  EXPECT_EQ(xray.ImageFile, folder.File("copy.bmp"));
  EXPECT_TRUE(xray.Modified);
  EXPECT_EQ(xray.ChangeHistory, (std::vector<std::string>{"Image Saved.", "Image linked to copy.bmp.", "Image Saved."}));
}

}  // namespace
}  // namespace lumacet
