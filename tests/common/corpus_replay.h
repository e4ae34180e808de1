// Replays the inputs a fuzz target kept (fuzz/corpus/<target>) through the target's own check,
// without libFuzzer: every file must pass, and the folder must still hold what it held.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "support/atomic_file.h"

namespace lumacet::test {

// `check` takes the file's bytes as a std::string_view and answers the empty text when they
// were handled safely, or what went wrong.
template <class TCheck>
void ReplayCorpus(std::string_view target, std::size_t atLeast, TCheck check) {
  const std::filesystem::path corpus = std::filesystem::path(LUMACET_SOURCE_DIR) / "fuzz" / "corpus" / target;
  std::size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(entry.path().string(), bytes)) << entry.path();
    EXPECT_EQ(check(std::string_view(bytes)), "") << entry.path();
    ++files;
  }
  EXPECT_GE(files, atLeast) << corpus;
}

}  // namespace lumacet::test
