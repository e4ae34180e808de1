// The tracing page and the text analysis pages of the print-outs, laid out in device dots
// on a canvas as the extended report is: the tracing life-size times a zoom inside the
// margins with a header and a footer, and the lines of the analysis in their text styles,
// page after page, with an optional tracing box in one of nine places.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "graphics/page_layout.h"
#include "graphics/print_settings.h"
#include "graphics/tracing_painter.h"

namespace lumacet {

// What a tracing box shows: the scene's tracings (and images) with `offset` at the box's
// top-left corner, one inch holding 254 / zoom tracing units.
struct TTracingBox {
  TDisplayScene Scene;
  TDisplayOptions Display;
  TPageOffset Offset;
  double Zoom = 1;
  bool RotationPoint = false;  // the scene's rotation centre, when it has one
};
// Paints the tracing into the box (dots of a sheet at `dpi`), clipped to it.
void DrawTracingInBox(TCanvas& canvas, const TIntRect& box, double dpi, const TTracingBox& tracing);

// The extent of a print area in tracing units: inches of paper at the zoom, rounded.
TIntSize PrintAreaExtent(double widthInches, double heightInches, double zoom);

// The tracing page: the print settings' margins, header, footer and zoom, the tracing's
// offset their area 0.
struct TTracingPage {
  TPrintSettings Print;
  TTracingBox Tracing;  // its Offset and Zoom are taken from Print
  TTextStyle HeaderStyle;
  TPageCodeValues Codes;
};
// Refuses, drawing nothing: margins that leave no room, a zoom not greater than 0, an
// unknown header or footer code.
TResult DrawTracingPage(TCanvas& canvas, const TPaper& paper, const TTracingPage& page);

// The text analysis: its lines, each in its style, and the page settings.
struct TTextPages {
  TPrintSettings Print;
  std::vector<TAnalysisLine> Lines;
  std::array<TTextStyle, kTextStyleCount> Styles{};
  std::array<int, 5> TextLayout = {200, 300, 100, 100, 100};  // column widths in points
  TTracingBox Tracing;  // shown with "Tracing Show"; its Offset and Zoom are taken from Print
  TPageCodeValues Codes;
};
// The tracing box of the text pages in dots: its place (0..8, rows top to bottom, columns
// left to right) inside the margins.
TIntRect TextTracingBox(const TPageFrame& frame, const TPrintSettings& print);
// The text rectangle of a page: the margins, on the first page moved aside for a box that
// may not overlap the text.
TIntRect TextRectangle(const TPageFrame& frame, const TPrintSettings& print, bool firstPage);
// The number of sheets drawn; refused as the tracing page is.
TResultOf<int> DrawTextPages(TCanvas& canvas, const TPaper& paper, const TTextPages& pages);

}  // namespace lumacet
