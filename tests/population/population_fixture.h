// Types, radiographs and data files shared by the export and conversion tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/example_paths.h"
#include "model/xray.h"
#include "model/xray_type.h"
#include "persistence/data_file.h"
#include "shell/temp_folder.h"

namespace lumacet::test {

// A type with the named digitized points, in order.
inline std::unique_ptr<TXRayType> PointType(const std::string& name, const std::vector<std::string>& points) {
  auto type = std::make_unique<TXRayType>();
  type->Name = name;
  std::string message;
  for (const std::string& point : points) EXPECT_NE(type->AddElement(point, ekDigPoint, message), nullptr) << message;
  return type;
}

// A drawing of the type's digitized points with the given names.
inline void AddDrawing(TXRayType& type, const std::string& name, const std::vector<std::string>& points) {
  std::string message;
  auto* drawing = static_cast<TXRGraphic*>(type.AddElement(name, ekGraphic, message));
  ASSERT_NE(drawing, nullptr) << message;
  for (const std::string& point : points) drawing->Points.push_back(type.FindElement(point, ekDigPoint));
}

// Finds the given types by name, and nothing else.
inline TTypeResolver Resolver(std::vector<TXRayType*> types) {
  return [types](const std::string& name) -> TXRayType* {
    for (TXRayType* type : types)
      if (type->Name == name) return type;
    return nullptr;
  };
}

using TPoints = std::vector<std::optional<std::pair<double, double>>>;

// A radiograph of `type`; points given in type order as (x, y), with nullopt and the points
// beyond the list left invalid.
inline std::unique_ptr<TXRay> Radiograph(TXRayType& type, const std::string& name, const TPoints& points = {}) {
  auto xray = std::make_unique<TXRay>();
  xray->SetType(&type);
  xray->Name = name;
  xray->Female = true;
  xray->DateOfBirth = DayNumber(2000, 1, 1);
  xray->DateTaken = DayNumber(2012, 1, 1);
  for (size_t i = 0; i < points.size() && i < xray->Coordinates.size(); ++i)
    if (points[i]) xray->Coordinates[i]->SetXY(points[i]->first, points[i]->second);
  return xray;
}

inline void Append(TXRay& xray, const std::string& path) {
  TResult result = AppendToDataFile(xray, path, {});
  ASSERT_TRUE(result) << result.Reason();
}

// The lines of a text, without their CR LF.
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

}  // namespace lumacet::test
