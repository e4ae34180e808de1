// What the benchmark programs share.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace lumacet {

// A folder of the benchmark's own under the temporary folder, named after the benchmark and
// the process so that runs side by side do not meet; removed with everything in it at exit.
struct TBenchFolder {
  explicit TBenchFolder(const std::string& name)
      : Path(std::filesystem::temp_directory_path() / ("lumacet-" + name + "-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(Path);
  }
  ~TBenchFolder() {
    std::error_code error;
    std::filesystem::remove_all(Path, error);
  }
  TBenchFolder(const TBenchFolder&) = delete;
  TBenchFolder& operator=(const TBenchFolder&) = delete;

  const std::filesystem::path Path;
};

}  // namespace lumacet
