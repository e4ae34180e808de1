// Painting a radiograph type's drawings (TXRGraphic) from the coordinates currently loaded
// into the type: outlines through points, curves, markers, angle arcs and pies, a shape
// analysis's consensus, and tooth outlines fitted to two landmarks. Painting reads the
// model and never writes it: everything a caller wants changed for one painting (drawing
// hidden drawings, other colours) travels in TRenderOptions.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "geometry/coordinates.h"
#include "graphics/canvas.h"
#include "graphics/drawing_style.h"

namespace lumacet {

class TXRGraphic;
class TXRPCA;
class TXRVariable;

// The consensus of a shape analysis placed over the tracing currently loaded in its type:
// one position per point of the analysis, in the order of its Points; empty when the
// analysis cannot be evaluated for this tracing.
using TPcaConsensusFunction = std::function<std::vector<TFloatPoint>(TXRPCA&)>;
// The deviation colour (0x00BBGGRR) of a variable for the tracing being painted; nothing
// when the variable has none to give.
using TDeviationColourFunction = std::function<std::optional<std::uint32_t>(TXRVariable&)>;

struct TRenderOptions {
  // Draws "On Demand" drawings as well: analyses and views ask for it for their own.
  bool ForceDraw = false;
  // Unset: drawings with a colour variable keep their own colour.
  TDeviationColourFunction DeviationColour;
  // Unset: the shape-analysis kinds draw nothing.
  TPcaConsensusFunction PcaConsensus;
  // The pens of drawing positions 0..9.
  std::array<TPositionPen, kPositionCount> PositionPens = kDefaultPositionPens;
};

// The points a drawing gives for fitting an image to the tracing, from the coordinates
// loaded into its type: the valid points of the line and polygon kinds, each left out when
// it repeats the one kept before it; the curve kinds their curve sampled by `step` (as
// SplinePoints takes it), "Spline" only when every point is valid and otherwise its
// deduplicated valid points. Other kinds give nothing.
std::vector<TFloatPoint> OutlinePoints(const TXRGraphic& graphic, int step);

// The position that draws a drawing with its own attributes.
inline constexpr int kPositionAsDefined = -1;

// Sets the pen, brush and background and paints the drawing, unless it is drawn only on
// demand and the options do not force it. With position kPositionAsDefined the pen takes
// the drawing's colour (or its colour variable's deviation colour), width and line style;
// with a position 0..9 that position's pen, and the brush its colour. The brush has the
// drawing's fill style; opaque drawings paint the gaps of dashes and hatches white.
void DrawWith(TCanvas& canvas, const TXRGraphic& graphic, int position, const TRenderOptions& options);
// The pen a workspace position draws its tracings with.
TPen PositionPen(const TPositionPen& style);

// The picture in thin black dots without fill, as a moved tracing's ghost; skipped like
// DrawWith for drawings drawn only on demand.
void DrawGhost(TCanvas& canvas, const TXRGraphic& graphic, const TRenderOptions& options);

// The points a drawing gives the morph, from the coordinates loaded into its type, nullopt
// marking a break: the line kinds their valid points (a break at each invalid point of a
// "Line", after each complete pair of "Line (pairs)", the first point again at the end of a
// "Polygon"); the spline kinds the same with a break for each invalid point, or, with
// `sampleCurves` (and for "Spline" every point valid), the curve sampled in fifths of each
// chord, "Spline (closed)" closed by its first sample. Other kinds give nothing.
std::vector<std::optional<TFloatPoint>> MorphOutline(const TXRGraphic& graphic, bool sampleCurves);

// The picture with the canvas's current pen and brush, whatever the draw mode.
void DrawShape(TCanvas& canvas, const TXRGraphic& graphic, const TRenderOptions& options);

}  // namespace lumacet
