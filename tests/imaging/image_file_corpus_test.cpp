// Replays the corpora of the colour table and image file fuzz targets through the targets'
// own checks, without libFuzzer.
#include <gtest/gtest.h>

#define LUMACET_CORPUS_REPLAY
#include "../../fuzz/image_file_fuzz.cpp"
#include "../../fuzz/lut_fuzz.cpp"
#include "common/corpus_replay.h"

namespace lumacet {
namespace {

TEST(ImageFileCorpus, EveryCorpusFileOpensOrIsRefusedByNameAndEveryTableReadsAsStored) {
  struct TTarget {
    const char* Folder;
    std::string (*Check)(std::string_view);
    size_t AtLeast;
  };
  for (const TTarget& target : {TTarget{"image_file", CheckImageFile, 50}, TTarget{"lut", CheckLutFile, 4}})
    test::ReplayCorpus(target.Folder, target.AtLeast, target.Check);
}

}  // namespace
}  // namespace lumacet
