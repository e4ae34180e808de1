#include "app/drawing_area.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

#include "app/qt_prompts.h"
#include "measure/analysis_text.h"
#include "model/radiograph.h"
#include "platform/qpainter_canvas.h"
#include "platform/user_locale.h"

namespace lumacet {

namespace {

void SetBar(QScrollBar* bar, const TScrollBar& state) {
  bar->setRange(0, std::max(0, kWorldExtent - state.Page));
  bar->setPageStep(state.Page);
  bar->setSingleStep(std::max(1, state.Page / 10));
  bar->setValue(state.Position);
  bar->setEnabled(state.Enabled);
}

// The measurement hint as a tool tip: its short form (before the "|") with plain line breaks.
QString HintToolTip(TXRVariable& variable, TRadiograph& radiograph, const TPresentationOptions& options) {
  std::string hint = HintText(variable, radiograph, options);
  if (!hint.empty() && hint.back() == '|') hint.pop_back();
  return DisplayText(hint);
}

}  // namespace

TDrawingArea::TDrawingArea(TSceneSource scene, TOptionsSource options, QWidget* parent)
    : QAbstractScrollArea(parent), fScene(std::move(scene)), fOptions(std::move(options)) {
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setMouseTracking(true);
}

void TDrawingArea::MappingChanged() {
  fUpdatingBars = true;
  SetBar(horizontalScrollBar(), fMapping.HorizontalBar());
  SetBar(verticalScrollBar(), fMapping.VerticalBar());
  fUpdatingBars = false;
  Redraw();
  emit ZoomChanged(fMapping.Zoom());
}

void TDrawingArea::Redraw() {
  fPictureStale = true;
  viewport()->update();
}

void TDrawingArea::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  std::optional<TIsotropicMapping> mapping = fMapping.Mapping();
  if (!mapping) {
    painter.fillRect(viewport()->rect(), Qt::white);
    return;
  }
  TDisplayScene scene = fScene();
  TDisplayOptions options = fOptions();
  options.Labels.StoreRectangles = true;  // the screen's labels are hit-tested
  // The picture is kept, so that the tools' shapes, which change with every mouse move, are
  // drawn over a copy of it instead of painting everything again.
  const qreal ratio = viewport()->devicePixelRatioF();
  const QSize size = viewport()->size() * ratio;
  if (fPictureStale || !fOverlayOnly || fPicture.size() != size) {
    fPicture = QImage(size, QImage::Format_RGB32);
    fPicture.setDevicePixelRatio(ratio);
    fPicture.fill(Qt::white);
    QPainter back(&fPicture);
    TQPainterCanvas canvas(back);
    canvas.SetMapping(*mapping);
    DrawDisplay(canvas, scene, options);
  }
  fOverlayOnly = false;
  fPictureStale = false;
  painter.drawImage(0, 0, fPicture);
  TQPainterCanvas canvas(painter);
  canvas.SetMapping(*mapping);
  TRadiograph* current = scene.Current >= 0 ? scene.Slots[static_cast<size_t>(scene.Current)] : nullptr;
  fTools.DrawOverlay(canvas, current, options, LocaleDecimalSeparator());
}

void TDrawingArea::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  fMapping.SetAreaSize({viewport()->width(), viewport()->height()});
  MappingChanged();
}

void TDrawingArea::scrollContentsBy(int, int) {
  if (fUpdatingBars) return;
  fMapping.SetScroll({horizontalScrollBar()->value(), verticalScrollBar()->value()});
  Redraw();
}

void TDrawingArea::SetTool(TToolMode mode) {
  fTools.SetMode(mode);
  viewport()->setCursor(mode == TToolMode::None ? Qt::ArrowCursor : Qt::CrossCursor);
  Apply(TDrawingTools::TRedraw::Overlay);
}

void TDrawingArea::Apply(TDrawingTools::TRedraw redraw) {
  if (redraw == TDrawingTools::TRedraw::Nothing) return;
  if (redraw == TDrawingTools::TRedraw::Whole) {
    MappingChanged();
  } else {
    fOverlayOnly = true;
    viewport()->update();
  }
  emit StatusChanged(QString::fromStdString(fTools.Status(LocaleDecimalSeparator())));
}

TXRVariable* TDrawingArea::LabelUnder(TFloatPoint at, TRadiograph*& current) {
  const TDisplayScene scene = fScene();
  current = scene.Current >= 0 ? scene.Slots[static_cast<size_t>(scene.Current)] : nullptr;
  if (!fHints || current == nullptr || !current->Visible || current->CurrentAnalysis == nullptr ||
      !fOptions().AnalysisShown)
    return nullptr;
  const TIntPoint point = RoundSaturated(at);
  return LabelAt(*current->CurrentAnalysis, *current, point.X, point.Y);
}

void TDrawingArea::mousePressEvent(QMouseEvent* event) {
  std::optional<TFloatPoint> at = fMapping.ToTracing({event->position().x(), event->position().y()});
  if (!at) return;
  Apply(fTools.Press(*at, event->button() == Qt::RightButton, fMapping));
}

void TDrawingArea::mouseMoveEvent(QMouseEvent* event) {
  std::optional<TFloatPoint> at = fMapping.ToTracing({event->position().x(), event->position().y()});
  if (!at) return;
  if (fTools.Dragging()) {
    Apply(fTools.Move(*at));
    return;
  }
  TRadiograph* current = nullptr;
  TXRVariable* label = LabelUnder(*at, current);
  if (label == fTools.Hovered()) return;
  Apply(fTools.Hover(label));
  if (label == nullptr) {
    QToolTip::hideText();
    return;
  }
  const TLoadedRadiograph loaded = current->Load();
  QToolTip::showText(event->globalPosition().toPoint(),
                     HintToolTip(*label, loaded.Radiograph(), fOptions().Labels.Presentation), viewport());
}

bool TDrawingArea::viewportEvent(QEvent* event) {
  // The pointer left the area: no label is under it any more.
  if (event->type() == QEvent::Leave) Apply(fTools.Hover(nullptr));
  return QAbstractScrollArea::viewportEvent(event);
}

void TDrawingArea::mouseReleaseEvent(QMouseEvent* event) {
  std::optional<TFloatPoint> at = fMapping.ToTracing({event->position().x(), event->position().y()});
  if (!at) return;
  Apply(fTools.Release(*at, event->button() == Qt::RightButton, fMapping));
  if (std::optional<double> length = fTools.TakeMeasuredLength()) emit MagnificationMeasured(*length);
}

}  // namespace lumacet
