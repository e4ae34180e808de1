#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/atomic_file.h"

namespace lumacet {
namespace {

namespace fs = std::filesystem;

class AtomicFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / ("lumacet-atomic-" + std::to_string(::getpid()) + "-" +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  void TearDown() override {
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(folder);
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    return names;
  }

  fs::path folder;
};

TEST_F(AtomicFileTest, ReplacesContentKeepsPermissionsAndLeavesNoTemporaryFile) {
  std::string path = (folder / "data.csv").string();
  ASSERT_TRUE(WriteFileAtomically(path, "old\r\n").Ok);
  ::chmod(path.c_str(), 0640);
  ASSERT_TRUE(WriteFileAtomically(path, "new\r\n").Ok);
  std::string content;
  ASSERT_TRUE(ReadWholeFile(path, content));
  EXPECT_EQ(content, "new\r\n");
  struct stat info {};
  ::stat(path.c_str(), &info);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  EXPECT_EQ(Names(), std::vector<std::string>{"data.csv"});
}

TEST_F(AtomicFileTest, AReadOnlyTargetIsRefusedAndUnchangedEvenForTheSuperuser) {
  std::string path = (folder / "type.lcr").string();
  ASSERT_TRUE(WriteFileAtomically(path, "keep").Ok);
  ::chmod(path.c_str(), 0444);
  TWriteResult result = WriteFileAtomically(path, "lost");
  EXPECT_FALSE(result.Ok);
  EXPECT_NE(result.Error.find("read-only"), std::string::npos);
  std::string content;
  ASSERT_TRUE(ReadWholeFile(path, content));
  EXPECT_EQ(content, "keep");
  EXPECT_EQ(Names().size(), 1u);
}

TEST_F(AtomicFileTest, AMissingFolderFailsWithAReason) {
  TWriteResult result = WriteFileAtomically((folder / "missing" / "x.csv").string(), "x");
  EXPECT_FALSE(result.Ok);
  EXPECT_FALSE(result.Error.empty());
}

TEST_F(AtomicFileTest, TemporaryNamesFollowThePatternAndAreNeverReused) {
  std::string first = TempFileName(folder.string());
  std::string second = TempFileName(folder.string());
  ASSERT_FALSE(first.empty());
  EXPECT_NE(first, second);
  std::string name = fs::path(first).filename().string();
  ASSERT_EQ(name.size(), 11u);
  EXPECT_EQ(name.substr(0, 3), "~lc");
  EXPECT_EQ(name.substr(7), ".tmp");
  EXPECT_EQ(name.substr(3, 4).find_first_not_of("0123456789ABCDEF"), std::string::npos);
}

}  // namespace
}  // namespace lumacet
