// Measurements on the tracing: each variable's label at its anchor point (its value in the
// deviation colour, optionally with the values of other radiographs for comparison), the
// analyses and views that group labels with drawings, and the construction that shows how
// a measurement is taken while the pointer rests on its label.
//
// Everything here draws the radiograph whose coordinates are loaded into its type and
// leaves them loaded; nothing here writes the model, except the label rectangles that the
// display keeps for hit tests when it asks for them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "graphics/canvas.h"
#include "graphics/drawings.h"
#include "measure/analysis_text.h"

namespace lumacet {

class TLoadedRadiograph;
class TRadiograph;
class TXRView;

struct TLabelOptions {
  TPresentationOptions Presentation;
  // In tracing units (see LabelFont).
  TFont Font;
  bool Transparent = true;
  bool Outline = true;
  std::uint32_t OutlineColour = kColourWhite;
  // Stores each drawn label's rectangle in its variable, for LabelAt. Only the screen's own
  // painting asks for it; pictures and print-outs leave the model alone.
  bool StoreRectangles = false;
};

// How drawings are drawn for `radiograph`: pens of the drawing positions and the deviation
// colour of colour variables, measured on that radiograph (whose coordinates must be
// loaded when the drawings are drawn).
TRenderOptions DrawingOptions(TRadiograph& radiograph, const TPresentationOptions& presentation,
                              const std::array<TPositionPen, kPositionCount>& positionPens);

// The values other radiographs show in comparative labels, taken once per paint: each
// radiograph's coordinates are loaded once and the display value of every wanted variable
// is kept, so that labels never reload coordinates.
class TComparisonValues {
 public:
  // Keeps the display value of the radiograph's variable of each of the names (the
  // not-available text in the class-4 colour where its type has none). Values are listed
  // by `order`, lowest first.
  void Add(int order, const TLoadedRadiograph& radiograph, const std::vector<std::string>& names,
           const TPresentationOptions& options);
  // One value per added radiograph, by order; the not-available text for a name not added.
  std::vector<TColouredText> ValuesOf(const std::string& name, const TPresentationOptions& options) const;
  bool Empty() const { return fRadiographs.empty(); }

 private:
  struct TEntry {
    int Order = 0;
    std::vector<std::pair<std::string, TColouredText>> Values;
  };
  std::vector<TEntry> fRadiographs;
};

// The names of the analysis's variables that pass the radiograph's view.
std::vector<std::string> LabelledVariableNames(const TXRAnalysis& analysis, const TRadiograph& radiograph);

// One run of label text in one colour.
struct TLabelSegment {
  std::string Text;
  std::uint32_t Colour = 0;
};

// The label's runs: name and ": " (when shown), text before and value in the value's
// colour; " | " and each comparison value; text after (when not empty), in the value's
// colour.
std::vector<TLabelSegment> LabelSegments(TXRVariable& variable, TRadiograph& radiograph,
                                         const TComparisonValues* others, const TLabelOptions& options);

// Draws the label at its anchor plus offset, aligned left, centre or right there, in the
// label font, outlined when the options ask for it; returns its rectangle (left, top,
// right, bottom in tracing units), nothing when no label is drawn.
std::optional<TIntRect> DrawLabel(TCanvas& canvas, TXRVariable& variable, TRadiograph& radiograph,
                                  const TComparisonValues* others, const TLabelOptions& options);

// The radiograph's current analysis: its drawings that pass the view, drawn with their own
// attributes even when drawn only on demand, then the labels of its variables that pass
// the view. Nothing for a hidden radiograph or one without an analysis.
void DrawAnalysis(TCanvas& canvas, TRadiograph& radiograph, const TComparisonValues* others,
                  const TLabelOptions& options, const TRenderOptions& drawing);

// A view's preview: all its drawings with their own attributes, then all its labels.
void DrawView(TCanvas& canvas, const TXRView& view, TRadiograph& radiograph, const TLabelOptions& options,
              const TRenderOptions& drawing);

// The measurement visual of a variable whose label the pointer rests on: a grey dotted
// frame around the label rectangle, then, when the variable is valid, the construction of
// its kind (lines, feet, the angle's arc) in blue and red, 0.8 mm wide. Flagged operands
// of reference kinds come from the reference radiograph, whose coordinates are loaded for
// the purpose; the radiograph's own are loaded again afterwards.
void DrawMeasurementVisual(TCanvas& canvas, TXRVariable& variable, TRadiograph& radiograph, const TIntRect& labelRect,
                           const TMeasureContext& measure, const TRenderOptions& drawing);

}  // namespace lumacet
