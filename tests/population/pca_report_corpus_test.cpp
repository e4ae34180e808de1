// Replays the PCA report fuzzing corpus through the fuzz target's own check, without libFuzzer.
#include <gtest/gtest.h>

#include <filesystem>

#define LUMACET_CORPUS_REPLAY
#include "../../fuzz/pca_report_fuzz.cpp"
#include "support/atomic_file.h"

namespace lumacet {
namespace {

TEST(PcaReportCorpus, EveryCorpusFileImportsWhollyOrLeavesTheElementAsItWas) {
  const std::filesystem::path corpus = std::filesystem::path(LUMACET_SOURCE_DIR) / "fuzz" / "corpus" / "pca_report";
  size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(entry.path().string(), bytes)) << entry.path();
    EXPECT_EQ(CheckPcaImport(bytes), "") << entry.path().filename();
    ++files;
  }
  EXPECT_GE(files, 3u);
}

}  // namespace
}  // namespace lumacet
