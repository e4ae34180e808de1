// Radiographs, types and files shared by the data file and record browser tests.
#pragma once

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "model/xray.h"
#include "model/xray_type.h"
#include "persistence/data_file.h"
#include "shell/temp_folder.h"

namespace lumacet::test {

// A type with digitized points "P1".."Pn" and one analysis.
inline std::unique_ptr<TXRayType> PointType(const std::string& name, int points) {
  auto type = std::make_unique<TXRayType>();
  type->Name = name;
  std::string message;
  for (int i = 1; i <= points; ++i) type->AddElement("P" + std::to_string(i), ekDigPoint, message);
  type->AddElement("Main", ekAnalysis, message);
  return type;
}

// Resolves the names of the given types, and nothing else.
inline TTypeResolver Resolver(std::vector<TXRayType*> types) {
  return [types](const std::string& name) -> TXRayType* {
    for (TXRayType* type : types)
      if (type->Name == name) return type;
    return nullptr;
  };
}

// A radiograph of `type` with the given particulars; points given as (x, y) pairs, the rest
// left invalid.
inline std::unique_ptr<TXRay> Radiograph(TXRayType& type, const std::string& name, TDayNumber taken,
                                         const std::vector<std::pair<double, double>>& points = {}) {
  auto xray = std::make_unique<TXRay>();
  xray->SetType(&type);
  xray->Name = name;
  xray->DateOfBirth = DayNumber(1990, 3, 5);
  xray->DateTaken = taken;
  xray->Female = true;
  xray->Magnification = 10;
  xray->Comments = "first visit";
  for (size_t i = 0; i < points.size() && i < xray->Coordinates.size(); ++i) {
    xray->Coordinates[i]->SetRaw(points[i].first, points[i].second, true, true);
    xray->Coordinates[i]->NeedsPlacing = false;
  }
  return xray;
}

// The record of a radiograph as the writer makes it; fails the test when it cannot.
inline std::string Record(const TXRay& xray, const TDataFileOptions& options = {}) {
  auto record = FormatDataRecord(xray, options);
  EXPECT_TRUE(record.Ok()) << record.Text().English();
  return record.ValueOr(std::string());
}

// A locale that writes decimal commas, for tests that prove files do not follow the user's
// locale: "de_DE.UTF-8" when installed, else built once with localedef into a folder that
// LOCPATH then names (glibc looks there). Empty when neither works.
inline std::string CommaDecimalLocale() {
  static const std::string name = [] {
    const std::string wanted = "de_DE.UTF-8";
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    auto available = [&] {
      const bool ok = std::setlocale(LC_ALL, wanted.c_str()) != nullptr;
      std::setlocale(LC_ALL, saved.c_str());
      return ok;
    };
    if (available()) return wanted;
    const auto folder = std::filesystem::temp_directory_path() / "lumacet-test-locales";
    std::filesystem::create_directories(folder);
    const std::string command = "localedef -i de_DE -f UTF-8 '" + (folder / wanted).string() + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0 && !std::filesystem::exists(folder / wanted)) return std::string();
    ::setenv("LOCPATH", folder.c_str(), 1);
    return available() ? wanted : std::string();
  }();
  return name;
}

}  // namespace lumacet::test
