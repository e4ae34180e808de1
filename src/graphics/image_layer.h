// The display's image layer: the images of the shown radiographs under their tracings, each
// at its placement on the tracing, the current one blended over the others.
#pragma once

#include <vector>

#include "graphics/image_blend.h"
#include "graphics/tracing_painter.h"

namespace lumacet {

class TRadiograph;

struct TImageBlendOptions {
  double Transparency = 0;       // T, 0..1
  double BlackTransparency = 0;  // K, 0..1
  TBlendMode Mode = TBlendMode::Normal;
};

// Paints the images: those of the other shown radiographs of the current one's patient whose
// image is visible, opaque, from the last slot to the first, then the current one blended. Each screen pixel takes the
// image pixel its centre lies on (no smoothing at any zoom); the layer is composed in one
// bitmap over white and put on the canvas in one copy, covering only what images cover.
void DrawImages(TCanvas& canvas, const std::vector<TRadiograph*>& slots, int current, const TImageBlendOptions& blend);

// The scene's Images hook for these slots (copied, so the hook outlives the caller's scene).
TPaintHook ImageLayer(std::vector<TRadiograph*> slots, int current, TImageBlendOptions blend = {});

}  // namespace lumacet
