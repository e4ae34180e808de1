// Opening ten radiographs from a data file of 10,000 records of the example type, each with
// its JPEG image, through the workspace as "&Open..." does, and painting them into a
// window-sized (1920 x 1080) picture: the time from the user's "Load and Exit" to the first
// picture on the screen. Target: under one second. The paint alone is measured as well.
#include <benchmark/benchmark.h>

#include <QImage>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_support.h"
#include "graphics/display.h"
#include "graphics/image_layer.h"
#include "graphics/tracing_painter.h"
#include "platform/qpainter_canvas.h"
#include "shell/settings_options.h"
#include "shell/workspace.h"

namespace lumacet {
namespace {

constexpr int kRecords = 10000;
constexpr int kOpened = 10;
constexpr TIntSize kWindow{1920, 1080};

class TSilentPrompts : public TWorkspacePrompts {
 public:
  void ShowMessage(const std::string& text) override { throw std::runtime_error(text); }
  bool Confirm(const std::string&) override { return false; }
  TAnswer AskYesNoCancel(const std::string&) override { return TAnswer::No; }
  bool OfferSave(TRadiograph&) override { return true; }
};

// A folder with the example type, its two images and a data file of 10,000 records: the
// example's radiographs with images, again and again under new patient names.
class TStudyFolder {
 public:
  TStudyFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "lumacet-open-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    fPath = pattern;
    const auto examples = ExamplesFolder();
    std::vector<std::string> withImages;
    for (const auto& entry : std::filesystem::directory_iterator(examples)) {
      const std::string extension = entry.path().extension().string();
      if (extension == ".lcr" || extension == ".jpg")
        std::filesystem::copy_file(entry.path(), fPath / entry.path().filename());
      if (extension == ".jpg") withImages.push_back(entry.path().filename().string());
    }
    std::ifstream in(examples / "PATIENT.CSV", std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      for (const std::string& image : withImages)
        if (line.find("\"" + image + "\"") != std::string::npos) lines.push_back(line);
    }
    if (lines.empty()) throw std::runtime_error("no example record with an image");
    std::ofstream out(fPath / "PATIENT.CSV", std::ios::binary);
    for (int i = 0; i < kRecords; ++i) {
      std::string name = "Study Patient " + std::to_string(i + 1);
      name.resize(30, ' ');
      out << name << lines[static_cast<size_t>(i) % lines.size()].substr(30) << "\r\n";
    }
  }
  ~TStudyFolder() {
    std::error_code ec;
    std::filesystem::remove_all(fPath, ec);
  }

  TWorkspaceOptions Options() const {
    TWorkspaceOptions options;
    options.Folders = {fPath.string(), fPath.string()};
    options.DataFolder = fPath.string();
    options.Data.ImageFolder = fPath.string();
    options.Images.DefaultFolder = fPath.string();
    options.Images.TypeFolder = fPath.string();
    return options;
  }
  std::string DataFile() const { return (fPath / "PATIENT.CSV").string(); }

 private:
  std::filesystem::path fPath;
};

const TStudyFolder& Study() {
  static const TStudyFolder study;
  return study;
}

// Records spread over the whole file, the last one at its end.
std::vector<int> SpreadRecords() {
  std::vector<int> records;
  for (int i = 1; i <= kOpened; ++i) records.push_back(i * kRecords / kOpened);
  return records;
}

void PaintWorkspace(TWorkspace& workspace, QImage& picture) {
  TDisplayScene scene;
  for (int i = 0; i < kSlotCount; ++i) scene.Slots.push_back(workspace.Slot(i));
  scene.Current = workspace.XRayPosition(workspace.Current());
  scene.Images = ImageLayer(scene.Slots, scene.Current);
  TDisplayMapping mapping;
  mapping.SetAreaSize(kWindow);
  mapping.BestFit(workspace.Current()->TracingBounds());
  TMeasuring measuring;
  const TDisplayOptions options = DisplayOptions(TSettings::Defaults("/"), measuring);
  const TPaintResult result = PaintImage(kWindow, kColourWhite, [&](TCanvas& canvas) {
    canvas.SetMapping(*mapping.Mapping());
    DrawDisplay(canvas, scene, options);
  }, picture);
  if (!result.Ok) throw std::runtime_error(result.Error);
}

void BM_OpenTenRadiographsAndPaint(benchmark::State& state) {
  EnsureGuiApplication();
  const TStudyFolder& study = Study();
  const std::vector<int> records = SpreadRecords();
  TSilentPrompts prompts;
  for (auto _ : state) {
    TWorkspace workspace(study.Options());
    if (workspace.OpenRecords(study.DataFile(), records, true, prompts, true) != kOpened)
      state.SkipWithError("not every record opened");
    QImage picture;
    PaintWorkspace(workspace, picture);
    benchmark::DoNotOptimize(picture.constBits());
  }
}
BENCHMARK(BM_OpenTenRadiographsAndPaint)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PaintTenOpenRadiographs(benchmark::State& state) {
  EnsureGuiApplication();
  const TStudyFolder& study = Study();
  TSilentPrompts prompts;
  TWorkspace workspace(study.Options());
  if (workspace.OpenRecords(study.DataFile(), SpreadRecords(), true, prompts, true) != kOpened)
    state.SkipWithError("not every record opened");
  for (auto _ : state) {
    QImage picture;
    PaintWorkspace(workspace, picture);
    benchmark::DoNotOptimize(picture.constBits());
  }
}
BENCHMARK(BM_PaintTenOpenRadiographs)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace lumacet
