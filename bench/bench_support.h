// What the benchmark programs share.
#pragma once

#include <unistd.h>

#include <QGuiApplication>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <system_error>

#include "model/xray.h"
#include "model/xray_type.h"
#include "support/dates.h"

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

// The examples/ folder of the source tree.
inline std::filesystem::path ExamplesFolder() {
  return std::filesystem::path(__FILE__).parent_path().parent_path() / "examples";
}

// The example lateral type shipped in examples/.
inline void LoadExampleType(TXRayType& type) {
  if (const TResult loaded = type.LoadFromTypeFile((ExamplesFolder() / "lateral_ceph.lcr").string()); !loaded)
    throw std::runtime_error(loaded.Text().English());
}

// The r-th of a run of tracings that differ from one another: the type's template grown by
// 3 % and shifted 15 units per step, of a girl born in 2000 and traced each year from 2010.
inline TXRay& AddSyntheticRadiograph(std::vector<std::unique_ptr<TXRay>>& radiographs, TXRayType& type, int r) {
  auto& xray = *radiographs.emplace_back(std::make_unique<TXRay>());
  xray.SetType(&type);
  xray.Female = true;
  xray.DateOfBirth = DayNumber(2000, 1, 1);
  xray.DateTaken = DayNumber(2010 + r, 1, 1);
  for (std::size_t i = 0; i < xray.Coordinates.size(); ++i) {
    const TXRPoint& at = *type.TemplatePoints[i];
    xray.Coordinates[i]->SetXY(at.RawX() * (1 + 0.03 * r) + 15 * r, at.RawY() * (1 + 0.03 * r));
  }
  return xray;
}

}  // namespace lumacet
