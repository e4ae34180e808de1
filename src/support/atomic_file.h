// Every rewrite of a user file goes through a temporary file in the same folder that is
// flushed, synced and renamed over the target: a crash leaves the old or the new file,
// never a mixture.
#pragma once

#include <string>
#include <string_view>

namespace lumacet {

struct TWriteResult {
  bool Ok = false;
  std::string Error;  // why it failed, for the user's message
};

// Writes `bytes` as the new content of `path`. A target that exists keeps its permission
// bits; a read-only target is refused. Nothing is changed when the write fails.
TWriteResult WriteFileAtomically(const std::string& path, std::string_view bytes);

// A fresh name "~lcNNNN.tmp" (four upper-case hexadecimal digits) that does not exist in
// `folder`, created empty with O_EXCL so that no other writer can take it. Empty on failure.
std::string TempFileName(const std::string& folder);

// The whole content of a file; false when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

}  // namespace lumacet
