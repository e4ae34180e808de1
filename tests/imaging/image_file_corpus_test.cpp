// Replays the corpora of the colour table and image file fuzz targets through the targets'
// own checks, without libFuzzer.
#include <gtest/gtest.h>

#include <filesystem>

#define LUMACET_CORPUS_REPLAY
#include "../../fuzz/image_file_fuzz.cpp"
#include "../../fuzz/lut_fuzz.cpp"
#include "support/atomic_file.h"

namespace lumacet {
namespace {

TEST(ImageFileCorpus, EveryCorpusFileOpensOrIsRefusedByNameAndEveryTableReadsAsStored) {
  struct TTarget {
    const char* Folder;
    std::string (*Check)(std::string_view);
    size_t AtLeast;
  };
  for (const TTarget& target : {TTarget{"image_file", CheckImageFile, 50}, TTarget{"lut", CheckLutFile, 4}}) {
    const std::filesystem::path corpus = std::filesystem::path(LUMACET_SOURCE_DIR) / "fuzz" / "corpus" / target.Folder;
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
      std::string bytes;
      ASSERT_TRUE(ReadWholeFile(entry.path().string(), bytes)) << entry.path();
      EXPECT_EQ(target.Check(bytes), "") << entry.path();
      ++files;
    }
    EXPECT_GE(files, target.AtLeast) << target.Folder;
  }
}

}  // namespace
}  // namespace lumacet
