#include "app/ui/drawing_area.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "platform/qpainter_canvas.h"

namespace lumacet {

namespace {

void SetBar(QScrollBar* bar, const TScrollBar& state) {
  bar->setRange(0, std::max(0, kWorldExtent - state.Page));
  bar->setPageStep(state.Page);
  bar->setSingleStep(std::max(1, state.Page / 10));
  bar->setValue(state.Position);
  bar->setEnabled(state.Enabled);
}

}  // namespace

TDrawingArea::TDrawingArea(TSceneSource scene, TOptionsSource options, QWidget* parent)
    : QAbstractScrollArea(parent), fScene(std::move(scene)), fOptions(std::move(options)) {
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
}

void TDrawingArea::MappingChanged() {
  fUpdatingBars = true;
  SetBar(horizontalScrollBar(), fMapping.HorizontalBar());
  SetBar(verticalScrollBar(), fMapping.VerticalBar());
  fUpdatingBars = false;
  viewport()->update();
}

void TDrawingArea::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  painter.fillRect(viewport()->rect(), Qt::white);
  std::optional<TIsotropicMapping> mapping = fMapping.Mapping();
  if (!mapping) return;
  TQPainterCanvas canvas(painter);
  canvas.SetMapping(*mapping);
  TDisplayScene scene = fScene();
  DrawDisplay(canvas, scene, fOptions());
}

void TDrawingArea::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  fMapping.SetAreaSize({viewport()->width(), viewport()->height()});
  MappingChanged();
}

void TDrawingArea::scrollContentsBy(int, int) {
  if (fUpdatingBars) return;
  fMapping.SetScroll({horizontalScrollBar()->value(), verticalScrollBar()->value()});
  viewport()->update();
}

void TDrawingArea::mousePressEvent(QMouseEvent* event) {
  if (!fZoomTool) return;
  std::optional<TFloatPoint> at = fMapping.ToTracing({event->position().x(), event->position().y()});
  if (!at) return;
  if (event->button() == Qt::LeftButton) fMapping.ZoomInAt(*at);
  if (event->button() == Qt::RightButton) fMapping.ZoomOutAt(*at);
  MappingChanged();
}

}  // namespace lumacet
