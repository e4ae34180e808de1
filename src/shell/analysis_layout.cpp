#include "shell/analysis_layout.h"

namespace lumacet {

TAnalysisLayout AnalysisLayout(const TRadiographSettings& settings) {
  return {settings.TextLayout, settings.TextFormat, settings.TextWordWrap};
}

void StoreAnalysisLayout(const TAnalysisLayout& layout, TRadiographSettings& settings) {
  settings.TextLayout = layout.Widths;
  settings.TextFormat = layout.Format;
  settings.TextWordWrap = layout.WordWrap;
}

}  // namespace lumacet
