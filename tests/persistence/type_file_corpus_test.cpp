// Replays the fuzzing corpus through the fuzz target's own check, without libFuzzer.
#include <gtest/gtest.h>

#include <filesystem>

#include "../../fuzz/type_file_fuzz.cpp"
#include "support/atomic_file.h"

namespace lumacet {
namespace {

TEST(TypeFileCorpus, EveryCorpusFileReadsWritesAndReadsBackSafely) {
  const std::filesystem::path corpus = std::filesystem::path(LUMACET_SOURCE_DIR) / "fuzz" / "corpus" / "type_file";
  size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(entry.path().string(), bytes)) << entry.path();
    EXPECT_EQ(CheckTypeFileRoundTrip(bytes), "") << entry.path().filename();
    ++files;
  }
  EXPECT_GE(files, 30u);
}

}  // namespace
}  // namespace lumacet
