#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "common/result_assertions.h"
#include "persistence/type_file.h"
#include "persistence/type_file_samples.h"
#include "shell/temp_folder.h"

namespace lumacet {
namespace {

using test::ReadBytes;
using test::TTempFolder;
using test::WriteBytes;

TEST(TypeFileSave, SavesRecordsTheSaveAndLoadsBack) {
  TTempFolder folder;
  auto type = test::EveryKindType();
  type->RecordChange(true, "Added: S.");
  const std::string path = folder.File("every.lcr");
  const TResultOf<TText> saved = type->SaveToTypeFile(path);
  ASSERT_TRUE(test::Succeeded(saved));
  EXPECT_EQ(saved->English(), "");
  EXPECT_FALSE(type->Modified);
  EXPECT_EQ(type->ChangeHistory, std::vector<std::string>{"Saved to file."});
  EXPECT_EQ(type->DataFile, path);
  EXPECT_EQ(ReadBytes(path), WriteTypeFileText(*type));
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"every.lcr"});

  TXRayType loaded;
  ASSERT_TRUE(test::Succeeded(loaded.LoadFromTypeFile(path)));
  EXPECT_EQ(loaded.DataFile, path);
  EXPECT_FALSE(loaded.Modified);
  EXPECT_EQ(WriteTypeFileText(loaded), ReadBytes(path));
  EXPECT_EQ(ReadTypeName(path), "Every Kind");
  EXPECT_EQ(ReadTypeName(folder.File("missing.lcr")), std::nullopt);
}

TEST(TypeFileSave, AReadOnlyTargetIsRefusedAndKeepsItsContent) {
  TTempFolder folder;
  const std::string path = folder.File("kept.lcr");
  WriteBytes(path, "old content");
  ::chmod(path.c_str(), 0444);
  auto type = test::EveryKindType();
  type->RecordChange(true, "Changed Point: S");
  const TResultOf<TText> saved = type->SaveToTypeFile(path);
  EXPECT_FALSE(saved);
  const std::string message = saved.Text().English();
  EXPECT_EQ(message.rfind("Could not save radiograph type.\r\n\r\n", 0), 0u) << message;
  EXPECT_NE(message.find("read-only"), std::string::npos) << message;
  EXPECT_TRUE(type->Modified);
  EXPECT_EQ(type->ChangeHistory, std::vector<std::string>{"Changed Point: S"});
  EXPECT_EQ(type->DataFile, "");
  EXPECT_EQ(ReadBytes(path), "old content");
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"kept.lcr"});
}

TEST(TypeFileSave, ReplacedCharactersAreReportedAfterSaving) {
  TTempFolder folder;
  TXRayType type;
  test::Add<TDigPoint>(type, ekDigPoint, "P")->Description = "a \"quote\"";
  const TResultOf<TText> saved = type.SaveToTypeFile(folder.File("t.lcr"));
  ASSERT_TRUE(saved);
  const std::string message = saved->English();
  EXPECT_NE(message.find("replaced in P."), std::string::npos) << message;
}

TEST(TypeFileSave, ImagesInTheImageOrTypeFolderAreStoredByBareName) {
  const TFileFolders folders{"/data/images/", "/data/types"};
  auto stored = [&](const std::string& image) {
    TXRayType type;
    type.ImageFile = image;
    std::string text = WriteTypeFileText(type, folders);
    return text.substr(text.find("ImageFile ") + 10, text.find(" 0 0 0 0") - text.find("ImageFile ") - 10);
  };
  EXPECT_EQ(stored("/data/images/ceph.jpg"), "\"ceph.jpg\"");
  EXPECT_EQ(stored("/data/types/ceph.jpg"), "\"ceph.jpg\"");
  EXPECT_EQ(stored("/data/images/old/ceph.jpg"), "\"/data/images/old/ceph.jpg\"");
  EXPECT_EQ(stored("/data/imagesX/ceph.jpg"), "\"/data/imagesX/ceph.jpg\"");
  EXPECT_EQ(stored("ceph.jpg"), "\"ceph.jpg\"");
  EXPECT_EQ(stored(""), "\"\"");
  // Empty folder settings match nothing.
  TXRayType type;
  type.ImageFile = "/ceph.jpg";
  EXPECT_NE(WriteTypeFileText(type).find("ImageFile \"/ceph.jpg\""), std::string::npos);
}

TEST(TypeFileSave, BareImageNamesAreFoundInTheTypeFolderThenTheImageFolder) {
  TTempFolder images;
  TTempFolder types;
  WriteBytes(images.File("both.jpg"), "x");
  WriteBytes(types.File("both.jpg"), "x");
  WriteBytes(images.File("only-image.jpg"), "x");
  const TFileFolders folders{images.Path().string(), types.Path().string()};
  auto resolved = [&](const std::string& name) {
    TXRayType type;
    EXPECT_TRUE(test::Succeeded(ReadTypeFileText(
        test::MinimalFile("").replace(test::MinimalFile("").find("\"\""), 2, "\"" + name + "\""), type, folders)));
    return type.ImageFile;
  };
  EXPECT_EQ(resolved("both.jpg"), types.File("both.jpg"));
  EXPECT_EQ(resolved("only-image.jpg"), images.File("only-image.jpg"));
  EXPECT_EQ(resolved("nowhere.jpg"), "nowhere.jpg");
  EXPECT_EQ(resolved("/elsewhere/both.jpg"), "/elsewhere/both.jpg");

  // Saved again, the resolved path becomes the bare name once more.
  TXRayType type;
  type.ImageFile = types.File("both.jpg");
  EXPECT_NE(WriteTypeFileText(type, folders).find("ImageFile \"both.jpg\""), std::string::npos);
}

}  // namespace
}  // namespace lumacet
