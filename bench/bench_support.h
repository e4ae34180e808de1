// What the benchmark programs share.
#pragma once

#include <unistd.h>

#include <QGuiApplication>

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

// Qt's offscreen platform for the benchmarks that paint or read pictures through Qt, made
// at the first call and kept for the program's life.
inline void EnsureGuiApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  static int argc = 3;
  static char name[] = "lumacet_bench";
  static char option[] = "-platform";
  static char platform[] = "offscreen";
  static char* argv[] = {name, option, platform, nullptr};
  static QGuiApplication application(argc, argv);
}

}  // namespace lumacet
