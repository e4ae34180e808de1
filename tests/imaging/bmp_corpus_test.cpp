// Replays the bitmap fuzzing corpus through the fuzz target's own check, without libFuzzer.
#include <gtest/gtest.h>

#define LUMACET_CORPUS_REPLAY
#include "../../fuzz/bmp_fuzz.cpp"
#include "common/corpus_replay.h"

namespace lumacet {
namespace {

TEST(BmpCorpus, EveryCorpusFileDecodesSafely) {
  test::ReplayCorpus("bmp", 10u, CheckBmpDecode);
}

}  // namespace
}  // namespace lumacet
