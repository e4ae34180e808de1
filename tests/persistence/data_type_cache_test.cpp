#include <gtest/gtest.h>

#include "common/result_assertions.h"
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
    ASSERT_TRUE(test::Succeeded(type.SaveToTypeFile(folder.File(name))));
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
  const TResultOf<TXRayType*> loaded = cache.GetOrLoadType("Lateral");
  ASSERT_TRUE(test::Succeeded(loaded));
  TXRayType* lateral = *loaded;
  EXPECT_EQ(lateral->Count(ekDigPoint), 2u);
  EXPECT_EQ(lateral->DataFile, folder.File("b.lcr"));
  EXPECT_EQ(cache.GetOrLoadType("Lateral").ValueOr(nullptr), lateral);
  EXPECT_EQ(cache.Find("Lateral"), lateral);
  EXPECT_EQ(cache.Find("Frontal"), nullptr);
}

TEST_F(TypeCacheTest, MissingAndBrokenTypesAreReportedOnlyWhenNotQuiet) {
  // The quiet lookup radiograph records use tells nothing; the lookup itself says why.
  const TTypeResolver quiet = cache.Resolver();
  EXPECT_EQ(quiet("Ceph"), nullptr);
  const TResultOf<TXRayType*> missing = cache.GetOrLoadType("Ceph");
  EXPECT_FALSE(missing);
  EXPECT_EQ(missing.Text().English(), "Could not find file for 'Ceph'\r\nin Directory: " + folder.Path().string() +
                                          "\r\n\r\nMake sure the Default Directory for LCR files is correct.");
  EXPECT_EQ(quiet("Broken"), nullptr);
  const TResultOf<TXRayType*> broken = cache.GetOrLoadType("Broken");
  EXPECT_FALSE(broken);
  EXPECT_NE(broken.Text().English().find("Could not load radiograph type."), std::string::npos);
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
