// Replays the settings fuzzing corpus through the fuzz target's own check, without libFuzzer.
#include <gtest/gtest.h>

#define LUMACET_CORPUS_REPLAY
#include "../../fuzz/settings_fuzz.cpp"
#include "common/corpus_replay.h"

namespace lumacet {
namespace {

TEST(SettingsCorpus, EveryCorpusFileReadsIntoSettingsThatSaveAndStaySaved) {
  test::ReplayCorpus("settings", 2u, CheckSettingsRoundTrip);
}

}  // namespace
}  // namespace lumacet
