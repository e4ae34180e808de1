// Replays the data record fuzzing corpus through the fuzz target's own check, without libFuzzer.
#include <gtest/gtest.h>

#define LUMACET_CORPUS_REPLAY
#include "../../fuzz/data_record_fuzz.cpp"
#include "common/corpus_replay.h"

namespace lumacet {
namespace {

TEST(DataRecordCorpus, EveryCorpusFileListsAndReadsSafelyAndRecordsRoundTrip) {
  test::ReplayCorpus("data_record", 9u, CheckDataRecords);
}

}  // namespace
}  // namespace lumacet
