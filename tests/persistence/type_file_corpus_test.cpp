// Replays the fuzzing corpus through the fuzz target's own check, without libFuzzer.
#include <gtest/gtest.h>

#include "../../fuzz/type_file_fuzz.cpp"
#include "common/corpus_replay.h"

namespace lumacet {
namespace {

TEST(TypeFileCorpus, EveryCorpusFileReadsWritesAndReadsBackSafely) {
  test::ReplayCorpus("type_file", 30u, CheckTypeFileRoundTrip);
}

}  // namespace
}  // namespace lumacet
