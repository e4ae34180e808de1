// The Detailed Analysis window's layout as the settings keep it.
#pragma once

#include <array>

#include "shell/settings.h"

namespace lumacet {

// What "Save Layout" keeps: the column widths in pixels (a hidden column keeps the width it
// comes back with), the text options as the settings' "Text Format" (1 normal values, 2
// graph) and word wrap.
struct TAnalysisLayout {
  std::array<int, 5> Widths = TRadiographSettings{}.TextLayout;
  int Format = TRadiographSettings{}.TextFormat;
  bool WordWrap = false;
  friend bool operator==(const TAnalysisLayout&, const TAnalysisLayout&) = default;
};
TAnalysisLayout AnalysisLayout(const TRadiographSettings& settings);
void StoreAnalysisLayout(const TAnalysisLayout& layout, TRadiographSettings& settings);

}  // namespace lumacet
