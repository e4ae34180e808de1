#include "shell/digitizing_input.h"

#include <cstdio>
#include <filesystem>

namespace lumacet {

std::optional<int> InputModeFromSetting(int inputDevice) {
  if (inputDevice == kInputDigitizer || inputDevice == kInputImageFile || inputDevice == kInputScanner)
    return inputDevice;
  return std::nullopt;
}

std::optional<TSeriesStep> NextInSeries(const std::string& imagePath) {
  const std::filesystem::path path(imagePath);
  const std::string name = path.filename().string();
  const std::string extension = path.extension().string();
  // Only the file's own name counts: digits in a folder name are no series.
  if (extension.size() != 4 || name.size() < 7) return std::nullopt;
  const std::string digits = name.substr(name.size() - 7, 3);
  int number = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    number = number * 10 + (c - '0');
  }
  char next[16];
  std::snprintf(next, sizeof next, "%03d", number + 1);
  TSeriesStep step;
  step.Name = next;
  step.ImagePath = (path.parent_path() / (name.substr(0, name.size() - 7) + next + extension)).string();
  return step;
}

}  // namespace lumacet
