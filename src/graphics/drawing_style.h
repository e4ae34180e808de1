// The look of tracings: the pens of the workspace positions and the selection marker.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace lumacet {

struct TMarkerSettings {
  uint32_t LineColour = 0;
  uint32_t FillColour = 0;
  int Size = 0;
  std::string Shape;  // "Square", "Circle", "Diamond", "Triangle", "image"

  bool operator==(const TMarkerSettings&) const = default;
};

// The pen of the tracings drawn in one workspace position.
struct TPositionPen {
  uint32_t Colour = 0;
  int Style = 0;  // line style 0..5
  int Width = 0;

  bool operator==(const TPositionPen&) const = default;
};

// The workspace positions, one pen each.
inline constexpr int kPositionCount = 10;

inline constexpr std::array<TPositionPen, kPositionCount> kDefaultPositionPens = {
    TPositionPen{0x0000FF}, TPositionPen{0x008000}, TPositionPen{0xFF0000}, TPositionPen{0x000000},
    TPositionPen{0xFFFF00}, TPositionPen{0x0000FF}, TPositionPen{0x00FFFF}, TPositionPen{0xFF0000},
    TPositionPen{0xFF00FF}, TPositionPen{0x0000FF}};

// A std::string member keeps the marker from being a constant expression.
inline TMarkerSettings DefaultSelectionMarker() { return {0x008000, 0x0000FF, 4, "Square"}; }

}  // namespace lumacet
