#include <gtest/gtest.h>

#include "persistence/data_test_support.h"
#include "persistence/type_finder.h"

namespace lumacet {
namespace {

using test::PointType;
using test::Radiograph;
using test::Record;
using test::TTempFolder;
using test::WriteBytes;

class TypeCacheTest : public ::testing::Test {
 protected:
  TypeCacheTest() {
    Save(*PointType("Lateral", 2), "b.lcr");
    Save(*PointType("Lateral", 3), "a.LCR");
    Save(*PointType("Frontal", 1), "c.lcr");
    WriteBytes(folder.File("notes.txt"), "Lateral\r\n");
    WriteBytes(folder.File("broken.lcr"), "Broken\r\nnot a type file\r\n");
  }
  void Save(TXRayType& type, const std::string& name) {
    std::string message;
    ASSERT_TRUE(type.SaveToTypeFile(folder.File(name), message)) << message;
  }

  TTempFolder folder;
  TTypeCache cache{TFileFolders{"", folder.Path().string()}};
};

TEST_F(TypeCacheTest, FindsTheLastFileInNameOrderWhoseFirstLineIsTheName) {
  EXPECT_EQ(FindTypeFile(folder.Path().string(), "Lateral"), folder.File("b.lcr"));
  EXPECT_EQ(FindTypeFile(folder.Path().string(), "Frontal"), folder.File("c.lcr"));
  EXPECT_EQ(FindTypeFile(folder.Path().string(), "lateral"), "");
  EXPECT_EQ(FindTypeFile(folder.File("absent"), "Lateral"), "");
}

TEST_F(TypeCacheTest, LoadsATypeOnceAndSharesIt) {
  std::string message;
  TXRayType* lateral = cache.GetOrLoadType("Lateral", false, message);
  ASSERT_NE(lateral, nullptr) << message;
  EXPECT_EQ(lateral->Count(ekDigPoint), 2u);
  EXPECT_EQ(lateral->DataFile, folder.File("b.lcr"));
  EXPECT_EQ(cache.GetOrLoadType("Lateral", false, message), lateral);
  EXPECT_EQ(cache.Find("Lateral"), lateral);
  EXPECT_EQ(cache.Find("Frontal"), nullptr);
}

TEST_F(TypeCacheTest, MissingAndBrokenTypesAreReportedOnlyWhenNotQuiet) {
  std::string message;
  EXPECT_EQ(cache.GetOrLoadType("Ceph", true, message), nullptr);
  EXPECT_EQ(message, "");
  EXPECT_EQ(cache.GetOrLoadType("Ceph", false, message), nullptr);
  EXPECT_EQ(message, "Could not find file for 'Ceph'\r\nin Directory: " + folder.Path().string() +
                         "\r\n\r\nMake sure the Default Directory for LCR files is correct.");
  message.clear();
  EXPECT_EQ(cache.GetOrLoadType("Broken", true, message), nullptr);
  EXPECT_EQ(message, "");
  EXPECT_EQ(cache.GetOrLoadType("Broken", false, message), nullptr);
  EXPECT_NE(message.find("Could not load radiograph type."), std::string::npos);
  EXPECT_EQ(cache.Find("Broken"), nullptr);
}

TEST_F(TypeCacheTest, RecordsFindTheirTypeThroughTheCache) {
  auto lateral = PointType("Lateral", 2);
  auto frontal = PointType("Ceph", 2);
  WriteBytes(folder.File("p.csv"), Record(*Radiograph(*lateral, "A", 0, {{1, 2}})) + Record(*Radiograph(*frontal, "B", 0)));
  TXRay first;
  EXPECT_EQ(LoadFromDataFile(first, folder.File("p.csv"), 1, cache.Resolver(), {}), lsLoaded);
  EXPECT_EQ(first.Type(), cache.Find("Lateral"));
  EXPECT_EQ(first.Coordinates[0]->RawY(), 2);
  TXRay second;
  EXPECT_EQ(LoadFromDataFile(second, folder.File("p.csv"), 2, cache.Resolver(), {}), lsType);
}

}  // namespace
}  // namespace lumacet
