// The drawing area's mouse tools: the zoom tool's rubber band, the ruler (also the
// magnification tool's), the protractor, and the label under a resting pointer with its
// measurement hint and visual. The tools work in tracing units; the area converts the
// mouse, forwards the events, and paints what the tools draw over its finished picture.
#pragma once

#include <optional>
#include <string>

#include "graphics/display.h"
#include "graphics/measuring_tools.h"
#include "graphics/tracing_painter.h"

namespace lumacet {

class TRadiograph;
class TXRVariable;

// The numbering is the workspace's tool mode.
enum class TToolMode : int {
  None,
  SelectMove,
  Zoom,
  Translate,
  Rotate,
  RotationCenter,
  Ruler,
  Protractor,
  Digitizer,
  ImageTranslate,
  Magnification,
  PageTranslate
};

class TDrawingTools {
 public:
  // What an event asks of the area: nothing, the shapes over the picture, or everything
  // (the zoom tool changed the mapping).
  enum class TRedraw { Nothing, Overlay, Whole };

  TToolMode Mode() const { return fMode; }
  // Drops any shape in progress, the protractor's first line included.
  void SetMode(TToolMode mode);

  TRedraw Press(TFloatPoint at, bool rightButton, TDisplayMapping& mapping);
  TRedraw Move(TFloatPoint at);
  TRedraw Release(TFloatPoint at, bool rightButton, TDisplayMapping& mapping);
  // A left drag of a tool is in progress.
  bool Dragging() const { return fDragging; }

  // The label the pointer rests on (null for none), while no drag is in progress.
  TRedraw Hover(TXRVariable* variable);
  TXRVariable* Hovered() const { return fHovered; }

  // The shapes over the picture: the zoom band, the ruler, the protractor's lines, and the
  // visual of the hovered label, measured on `current` (its coordinates loaded).
  void DrawOverlay(TCanvas& canvas, TRadiograph* current, const TDisplayOptions& options, char decimalSeparator);
  // The status bar during a ruler or protractor drag; empty otherwise.
  std::string Status(char decimalSeparator) const;
  // The length (tracing units) of a magnification tool ruler just released, given once.
  std::optional<double> TakeMeasuredLength();

  // The shapes, for tests and the status.
  const std::optional<TIntRect>& ZoomBand() const { return fBand; }
  const std::optional<TRuler>& Ruler() const { return fRuler; }
  const TProtractor& Protractor() const { return fProtractor; }

 private:
  TToolMode fMode = TToolMode::None;
  bool fDragging = false;
  std::optional<TIntRect> fBand;
  std::optional<TRuler> fRuler;
  TProtractor fProtractor;
  std::optional<double> fMeasured;
  TXRVariable* fHovered = nullptr;
};

}  // namespace lumacet
