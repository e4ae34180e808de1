// Replays the PCA report fuzzing corpus through the fuzz target's own check, without libFuzzer.
#include <gtest/gtest.h>

#define LUMACET_CORPUS_REPLAY
#include "../../fuzz/pca_report_fuzz.cpp"
#include "common/corpus_replay.h"

namespace lumacet {
namespace {

TEST(PcaReportCorpus, EveryCorpusFileImportsWhollyOrLeavesTheElementAsItWas) {
  test::ReplayCorpus("pca_report", 3u, CheckPcaImport);
}

}  // namespace
}  // namespace lumacet
