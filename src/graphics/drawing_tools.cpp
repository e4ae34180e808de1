#include "graphics/drawing_tools.h"

#include <algorithm>

#include "graphics/labels.h"
#include "measure/analysis_text.h"
#include "model/list_elements.h"
#include "model/radiograph.h"

namespace lumacet {

void TDrawingTools::SetMode(TToolMode mode) {
  fMode = mode;
  fDragging = false;
  fBand.reset();
  fRuler.reset();
  fProtractor = {};
}

TDrawingTools::TRedraw TDrawingTools::Press(TFloatPoint at, bool rightButton, TDisplayMapping& mapping) {
  const TIntPoint point = RoundSaturated(at);
  if (rightButton) {
    // During a drag a right click moves the read-out; the zoom tool zooms out on it.
    if (fDragging && fRuler) {
      fRuler->NextReadOutPlace();
      return TRedraw::Overlay;
    }
    if (fDragging && fMode == TToolMode::Protractor) {
      fProtractor.NextReadOutPlace();
      return TRedraw::Overlay;
    }
    if (!fDragging && fMode == TToolMode::Zoom) {
      mapping.ZoomOutAt(at);
      return TRedraw::Whole;
    }
    return TRedraw::Nothing;
  }
  if (fDragging) return TRedraw::Nothing;
  switch (fMode) {
    case TToolMode::Zoom:
      fBand = TIntRect{point.X, point.Y, point.X, point.Y};
      break;
    case TToolMode::Ruler:
    case TToolMode::Magnification:
      fRuler = TRuler{point, point, fMode == TToolMode::Magnification};
      break;
    case TToolMode::Protractor:
      if (fProtractor.First) {
        fProtractor.Second = TIntSegment{point, point};
      } else {
        fProtractor.First = TIntSegment{point, point};
      }
      break;
    default:
      return TRedraw::Nothing;
  }
  fDragging = true;
  fHovered = nullptr;
  return TRedraw::Overlay;
}

TDrawingTools::TRedraw TDrawingTools::Move(TFloatPoint at) {
  if (!fDragging) return TRedraw::Nothing;
  const TIntPoint point = RoundSaturated(at);
  if (fBand) {
    fBand->Right = point.X;
    fBand->Bottom = point.Y;
  } else if (fRuler) {
    fRuler->End = point;
  } else if (fProtractor.Second) {
    fProtractor.Second->To = point;
  } else if (fProtractor.First) {
    fProtractor.First->To = point;
  }
  return TRedraw::Overlay;
}

TDrawingTools::TRedraw TDrawingTools::Release(TFloatPoint at, bool rightButton, TDisplayMapping& mapping) {
  if (rightButton || !fDragging) return TRedraw::Nothing;
  Move(at);
  fDragging = false;
  if (fBand) {
    const TIntRect band = *fBand;
    fBand.reset();
    mapping.ZoomToolRelease(band);
    return TRedraw::Whole;
  }
  if (fRuler) {
    if (fRuler->MagnificationTool) fMeasured = fRuler->Length();
    fRuler.reset();
  } else if (fProtractor.Second) {
    fProtractor = {};
  }
  return TRedraw::Overlay;
}

TDrawingTools::TRedraw TDrawingTools::Hover(TXRVariable* variable) {
  if (fDragging || variable == fHovered) return TRedraw::Nothing;
  fHovered = variable;
  return TRedraw::Overlay;
}

void TDrawingTools::DrawOverlay(TCanvas& canvas, TRadiograph* current, const TDisplayOptions& options,
                                char decimalSeparator) {
  // The hovered label may belong to a radiograph closed since: it counts only while the
  // current radiograph's analysis still lists it.
  const TXRAnalysis* analysis = current != nullptr ? current->CurrentAnalysis : nullptr;
  if (analysis == nullptr ||
      std::find(analysis->Points.begin(), analysis->Points.end(), static_cast<TXRayElement*>(fHovered)) ==
          analysis->Points.end())
    fHovered = nullptr;
  if (fHovered != nullptr && !fDragging) {
    // The picture under the shapes may be older than the last load.
    const TLoadedRadiograph loaded = current->Load();
    const auto& r = fHovered->LabelRect;
    DrawMeasurementVisual(canvas, *fHovered, loaded.Radiograph(), {r[0], r[1], r[2], r[3]},
                          options.Labels.Presentation.Measure,
                          DrawingOptions(loaded.Radiograph(), options.Labels.Presentation, options.PositionPens));
  }
  if (fBand) {
    canvas.SetPen({0, TPenStyle::Dot, 0});
    canvas.SetBrush({0, TBrushStyle::Clear});
    canvas.SetBackgroundMode(TBackgroundMode::Transparent);
    canvas.Rectangle(Normalised(*fBand));
  }
  if (fRuler) DrawRuler(canvas, *fRuler, options.Ruler, decimalSeparator);
  DrawProtractor(canvas, fProtractor, options.Ruler, decimalSeparator);
}

std::string TDrawingTools::Status(char decimalSeparator) const {
  if (fRuler) {
    const auto parts = RulerStatus(fRuler->Start, fRuler->End, decimalSeparator);
    return parts[0] + "  " + parts[1] + "  " + parts[2];
  }
  if (std::optional<double> angle = fProtractor.Angle(); angle && fDragging) {
    return ProtractorStatus(*angle, decimalSeparator);
  }
  return {};
}

std::optional<double> TDrawingTools::TakeMeasuredLength() {
  std::optional<double> length = fMeasured;
  fMeasured.reset();
  return length;
}

}  // namespace lumacet
