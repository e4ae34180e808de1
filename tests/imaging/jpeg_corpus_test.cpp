// Replays the JPEG fuzzing corpus through the fuzz target's own check, without libFuzzer.
#include <gtest/gtest.h>

#define LUMACET_CORPUS_REPLAY
#include "../../fuzz/jpeg_fuzz.cpp"
#include "common/corpus_replay.h"

namespace lumacet {
namespace {

TEST(JpegCorpus, EveryCorpusFileDecodesSafely) {
  test::ReplayCorpus("jpeg", 5u, CheckJpegDecode);
}

}  // namespace
}  // namespace lumacet
