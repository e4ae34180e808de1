// A picture of several tracings says whose each one is: an optional title, then a line per
// radiograph, a short stroke in the pen its tracing is drawn with before its text (name
// and date taken). Sizes are in tracing units, so the caption prints at a fixed size.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "graphics/canvas.h"

namespace lumacet {

struct TCaptionLine {
  std::optional<TPen> Pen;  // none: the tracing keeps its drawings' own pens, no stroke
  std::string Text;
};

struct TPictureCaption {
  std::string Title;
  std::vector<TCaptionLine> Lines;

  bool Empty() const { return Title.empty() && Lines.empty(); }
};

// The box the caption covers with its top left at `topLeft`, measured with `canvas`'s
// fonts; the canvas's font is left as it was.
TIntRect CaptionBox(TCanvas& canvas, TIntPoint topLeft, const TPictureCaption& caption);
// Paints the caption there, black text on a transparent ground.
void DrawCaption(TCanvas& canvas, TIntPoint topLeft, const TPictureCaption& caption);

}  // namespace lumacet
