// Replays the settings fuzzing corpus through the fuzz target's own check, without libFuzzer.
#include <gtest/gtest.h>

#include <filesystem>

#define LUMACET_CORPUS_REPLAY
#include "../../fuzz/settings_fuzz.cpp"
#include "support/atomic_file.h"

namespace lumacet {
namespace {

TEST(SettingsCorpus, EveryCorpusFileReadsIntoSettingsThatSaveAndStaySaved) {
  const std::filesystem::path corpus = std::filesystem::path(LUMACET_SOURCE_DIR) / "fuzz" / "corpus" / "settings";
  size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(entry.path().string(), bytes)) << entry.path();
    EXPECT_EQ(CheckSettingsRoundTrip(bytes), "") << entry.path().filename();
    ++files;
  }
  EXPECT_GE(files, 2u);
}

}  // namespace
}  // namespace lumacet
