#include "app/drawing_area.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>

#include "app/digitize_window.h"
#include "app/qt_prompts.h"
#include "measure/analysis_text.h"
#include "model/radiograph.h"
#include "platform/qpainter_canvas.h"
#include "platform/user_locale.h"
#include "simulation/selection.h"

namespace lumacet {

namespace {

void SetBar(QScrollBar* bar, const TScrollBar& state) {
  bar->setRange(0, std::max(0, kWorldExtent - state.Page));
  bar->setPageStep(state.Page);
  bar->setSingleStep(std::max(1, state.Page / 10));
  bar->setValue(state.Position);
  bar->setEnabled(state.Enabled);
}

// Over a snake's handles the pointer tells what a press does there.
Qt::CursorShape HandleCursor(const std::optional<TSnakeHandle>& handle) {
  if (!handle) return Qt::CrossCursor;
  switch (handle->Kind) {
    case TSnakeHandleKind::Point:
    case TSnakeHandleKind::Translate: return Qt::SizeAllCursor;
    case TSnakeHandleKind::Rotate: return Qt::OpenHandCursor;
    default: return Qt::PointingHandCursor;
  }
}

// A handle of the movement tools, in screen pixels whatever the zoom.
void DrawHandle(TCanvas& canvas, TFloatPoint at, const std::string& shape, const TMarkerSettings& look) {
  TMarker marker(shape, look.Size);
  marker.SizeInScreenPixels = true;
  const TIntPoint p = RoundSaturated(at);
  marker.X1 = p.X;
  marker.Y1 = p.Y;
  marker.Pen = {look.LineColour, TPenStyle::Solid, 1};
  marker.Brush = {look.FillColour, TBrushStyle::Solid};
  marker.Draw(canvas);
}

// The Image Translate tool's pointer over each handle: the sizing arrows along the side or
// corner it drags, an open hand to turn, a pointing hand on the centre, four arrows to move.
Qt::CursorShape ImageHandleCursor(TImageHandle handle) {
  switch (handle) {
    case TImageHandle::TopLeft:
    case TImageHandle::BottomRight: return Qt::SizeFDiagCursor;
    case TImageHandle::Top:
    case TImageHandle::Bottom: return Qt::SizeVerCursor;
    case TImageHandle::TopRight:
    case TImageHandle::BottomLeft: return Qt::SizeBDiagCursor;
    case TImageHandle::Left:
    case TImageHandle::Right: return Qt::SizeHorCursor;
    case TImageHandle::Centre: return Qt::PointingHandCursor;
    case TImageHandle::Body: return Qt::SizeAllCursor;
    default: return Qt::OpenHandCursor;
  }
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

void TDrawingArea::RedrawOverlay() {
  fOverlayOnly = true;
  viewport()->update();
}

TDigitizeWindow* TDrawingArea::Digitizing() const {
  return fTools.Mode() == TToolMode::Digitizer && fDigitizeSource ? fDigitizeSource() : nullptr;
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
  if (fMovement.Dragging() && !fDragPicture.isNull()) {
    PaintDragStep(painter, *mapping);
    return;
  }
  TDisplayScene scene = fScene();
  AddMovementMarks(scene);
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
    TQPainterCanvas canvas(back, &fTextLayouts);
    canvas.SetMapping(*mapping);
    DrawDisplay(canvas, scene, options);
  }
  fOverlayOnly = false;
  fPictureStale = false;
  painter.drawImage(0, 0, fPicture);
  TQPainterCanvas canvas(painter, &fTextLayouts);
  canvas.SetMapping(*mapping);
  TRadiograph* current = scene.Current >= 0 ? scene.Slots[static_cast<size_t>(scene.Current)] : nullptr;
  fTools.DrawOverlay(canvas, current, options, LocaleDecimalSeparator());
  if (fTypeOverlay) fTypeOverlay(canvas, PixelsToUnits(1));
  if (fDigitizeSource)
    if (const TDigitizeWindow* digitizing = fDigitizeSource()) digitizing->DrawOverlay(canvas);
  if (fAlignMarks) {
    // Crosses of 20 screen pixels each way.
    const double arm = PixelsToUnits(20);
    canvas.SetPen({0x000000FF, TPenStyle::Solid, 0});
    for (const TFloatPoint mark : fAlignMarks()) {
      canvas.MoveTo(RoundSaturated({mark.X - arm, mark.Y}));
      canvas.LineTo(RoundSaturated({mark.X + arm, mark.Y}));
      canvas.MoveTo(RoundSaturated({mark.X, mark.Y - arm}));
      canvas.LineTo(RoundSaturated({mark.X, mark.Y + arm}));
    }
  }
  if (fSelectBand) {
    canvas.SetPen({0, TPenStyle::Dot, 0});
    canvas.SetBrush({0, TBrushStyle::Clear});
    canvas.SetBackgroundMode(TBackgroundMode::Transparent);
    canvas.Rectangle(Normalised(*fSelectBand));
  }
}

double TDrawingArea::PixelsToUnits(double pixels) const {
  const std::optional<TFloatPoint> origin = fMapping.ToTracing({0, 0});
  const std::optional<TFloatPoint> along = fMapping.ToTracing({pixels, 0});
  return origin && along ? std::abs(along->X - origin->X) : pixels;
}

bool TDrawingArea::IsMovementTool() const {
  const TToolMode mode = fTools.Mode();
  return mode == TToolMode::SelectMove || mode == TToolMode::Translate || mode == TToolMode::Rotate ||
         mode == TToolMode::RotationCenter;
}

void TDrawingArea::AddMovementMarks(TDisplayScene& scene) {
  if (ImageToolRadiograph() != nullptr) {
    const bool centreDrag = fImageTool.Dragging() && fImageTool.Handle() == TImageHandle::Centre;
    scene.RotationCentre = centreDrag ? fImageTool.CentreDrag() : fMovement.RotationCentre;
    if (centreDrag) return;  // the cross alone while it is dragged
    const TMarkerSettings look = fMovementSource().Handle;
    scene.SelectionHandles = [places = ImageHandles(), look](TCanvas& canvas) {
      for (const TImageHandlePlace& place : places) {
        if (place.Handle == TImageHandle::Centre) continue;  // the centre cross shows it
        DrawHandle(canvas, place.At, IsTurnHandle(place.Handle) ? "Circle" : "Square", look);
      }
    };
    return;
  }
  if (!IsMovementTool() || !fMovementSource) return;
  const TMovementContext context = fMovementSource();
  if (context.Radiograph == nullptr) return;
  scene.RotationCentre = fMovement.Mode() == TDragMode::Centre ? fMovement.CentreDrag() : fMovement.RotationCentre;
  if (fTools.Mode() != TToolMode::SelectMove) return;
  TRadiograph* radiograph = context.Radiograph;
  const double size = PixelsToUnits(2.0 * context.Handle.Size);
  const TMarkerSettings look = context.Handle;
  scene.SelectionHandles = [radiograph, size, look](TCanvas& canvas) {
    const std::optional<TSelectionHandles> handles = SelectionHandles(*radiograph, size);
    if (!handles) return;
    for (TFloatPoint at : handles->Translate) DrawHandle(canvas, at, look.Shape, look);
    for (TFloatPoint at : handles->Rotate) DrawHandle(canvas, at, "Circle", look);
  };
}

TRadiograph* TDrawingArea::ImageToolRadiograph() const {
  if (fTools.Mode() != TToolMode::ImageTranslate || !fMovementSource) return nullptr;
  TRadiograph* radiograph = fMovementSource().Radiograph;
  if (radiograph == nullptr || !radiograph->Image.HasImage() || !radiograph->Image.ImageVisible) return nullptr;
  return radiograph;
}

TFloatPoint TDrawingArea::ImageMarkerSize() const {
  const double size = PixelsToUnits(2.0 * fMovementSource().Handle.Size);
  return {size, size};
}

std::vector<TImageHandlePlace> TDrawingArea::ImageHandles() const {
  const double w = viewport()->width();
  const double h = viewport()->height();
  auto at = [this](double x, double y) { return fMapping.ToTracing({x, y}).value_or(TFloatPoint{}); };
  const TDisplayEighths eighths{at(w / 8, h / 8), at(7 * w / 8, h / 8), at(w / 8, 7 * h / 8), at(7 * w / 8, 7 * h / 8)};
  return ImageHandlePlaces(eighths, ImageMarkerSize(), fMovement.RotationCentre);
}

bool TDrawingArea::ImagePress(TFloatPoint at) {
  TRadiograph* radiograph = ImageToolRadiograph();
  if (radiograph == nullptr || fImageTool.Dragging()) return fTools.Mode() == TToolMode::ImageTranslate;
  fImageTool.Begin(*radiograph, ImageHandleAt(ImageHandles(), ImageMarkerSize(), at), at, fMovement.RotationCentre);
  Redraw();
  return true;
}

bool TDrawingArea::ImageMove(TFloatPoint at, Qt::KeyboardModifiers modifiers) {
  TRadiograph* radiograph = ImageToolRadiograph();
  if (radiograph == nullptr) return false;
  const char separator = LocaleDecimalSeparator();
  if (!fImageTool.Dragging()) {
    fImageHover = ImageHandleAt(ImageHandles(), ImageMarkerSize(), at);
    viewport()->setCursor(ImageHandleCursor(fImageHover));
    emit StatusChanged(QString::fromStdString(ImagePlaceStatus(*radiograph, separator)));
    return true;
  }
  const bool locked = fMovementSource().Drag.Movement.TracingLocked;
  if (fImageTool.Step(*radiograph, at, modifiers.testFlag(Qt::ControlModifier), locked)) Redraw();
  emit StatusChanged(QString::fromStdString(fImageTool.Status(*radiograph, separator)));
  return true;
}

bool TDrawingArea::ImageRelease(TFloatPoint at, Qt::KeyboardModifiers modifiers) {
  TRadiograph* radiograph = ImageToolRadiograph();
  if (radiograph == nullptr || !fImageTool.Dragging()) return false;
  fImageTool.Step(*radiograph, at, modifiers.testFlag(Qt::ControlModifier),
                  fMovementSource().Drag.Movement.TracingLocked);
  fMovement.RotationCentre = fImageTool.End(*radiograph);
  emit MovementsChanged();
  Redraw();
  return true;
}

void TDrawingArea::mouseDoubleClickEvent(QMouseEvent* event) {
  std::optional<TFloatPoint> at = fMapping.ToTracing({event->position().x(), event->position().y()});
  TRadiograph* radiograph = ImageToolRadiograph();
  if (!at || radiograph == nullptr || event->button() != Qt::LeftButton)
    return QAbstractScrollArea::mouseDoubleClickEvent(event);
  ResetImagePlace(*radiograph, ImageHandleAt(ImageHandles(), ImageMarkerSize(), *at),
                  fMovementSource().Drag.Movement.TracingLocked, fMovement.RotationCentre);
  emit MovementsChanged();
  Redraw();
}

void TDrawingArea::KeepPictureWithoutCurrent() {
  std::optional<TIsotropicMapping> mapping = fMapping.Mapping();
  if (!mapping) return;
  TDisplayScene scene = fScene();
  if (scene.Current >= 0) scene.Slots[static_cast<size_t>(scene.Current)] = nullptr;
  scene.Current = -1;
  const qreal ratio = viewport()->devicePixelRatioF();
  fDragPicture = QImage(viewport()->size() * ratio, QImage::Format_RGB32);
  fDragPicture.setDevicePixelRatio(ratio);
  fDragPicture.fill(Qt::white);
  QPainter back(&fDragPicture);
  TQPainterCanvas canvas(back, &fTextLayouts);
  canvas.SetMapping(*mapping);
  DrawDisplay(canvas, scene, fOptions());
}

void TDrawingArea::PaintDragStep(QPainter& painter, const TIsotropicMapping& mapping) {
  painter.drawImage(0, 0, fDragPicture);
  TDisplayScene scene = fScene();
  AddMovementMarks(scene);
  // Only the moving tracing is painted afresh, with its markers, handles and centre.
  for (size_t i = 0; i < scene.Slots.size(); ++i)
    if (static_cast<int>(i) != scene.Current) scene.Slots[i] = nullptr;
  TDisplayOptions options = fOptions();
  TQPainterCanvas canvas(painter, &fTextLayouts);
  canvas.SetMapping(mapping);
  DrawTracings(canvas, scene, options);
  if (scene.Current >= 0) {
    TRadiograph& current = *scene.Slots[static_cast<size_t>(scene.Current)];
    for (const TMarker& marker : SelectionMarkers(current, options.SelectionMarker, options.MarkerSizeInScreenPixels))
      marker.Draw(canvas);
  }
  if (scene.SelectionHandles) scene.SelectionHandles(canvas);
  if (scene.RotationCentre) DrawRotationCentre(canvas, *scene.RotationCentre);
}

bool TDrawingArea::MovementPress(TFloatPoint at, Qt::KeyboardModifiers) {
  if (!IsMovementTool() || !fMovementSource || fMovement.Dragging()) return IsMovementTool();
  const TMovementContext context = fMovementSource();
  if (context.Radiograph == nullptr) return true;
  TRadiograph& radiograph = *context.Radiograph;
  const double tolerance = PixelsToUnits(5);
  auto near = [](TFloatPoint p, TFloatPoint q, double reach) {
    return std::abs(p.X - q.X) <= reach && std::abs(p.Y - q.Y) <= reach;
  };
  switch (fTools.Mode()) {
    case TToolMode::RotationCenter: fMovement.Begin(radiograph, at, TDragMode::Centre); break;
    case TToolMode::Rotate: fMovement.Begin(radiograph, at, TDragMode::Rotate); break;
    case TToolMode::Translate: {
      TXRPoint* marker = SelectedPointAt(radiograph, at, tolerance);
      fMovement.Begin(radiograph, at, marker != nullptr ? TDragMode::Marker : TDragMode::Translate, marker);
      break;
    }
    default: {
      const double reach = std::max(tolerance, PixelsToUnits(context.Handle.Size));
      if (near(fMovement.RotationCentre, at, reach)) {
        fMovement.Begin(radiograph, at, TDragMode::Centre);
        break;
      }
      if (const auto handles = SelectionHandles(radiograph, PixelsToUnits(2.0 * context.Handle.Size))) {
        for (TFloatPoint h : handles->Translate)
          if (!fMovement.Dragging() && near(h, at, reach)) fMovement.Begin(radiograph, at, TDragMode::Translate);
        for (TFloatPoint h : handles->Rotate)
          if (!fMovement.Dragging() && near(h, at, reach)) fMovement.Begin(radiograph, at, TDragMode::Rotate);
        if (fMovement.Dragging()) break;
      }
      if (TXRPoint* marker = SelectedPointAt(radiograph, at, tolerance)) {
        fMovement.Begin(radiograph, at, TDragMode::Marker, marker);
        break;
      }
      const TIntPoint p = RoundSaturated(at);
      fSelectBand = TIntRect{p.X, p.Y, p.X, p.Y};
    }
  }
  if (fMovement.Dragging() && fMovement.Mode() != TDragMode::Centre) KeepPictureWithoutCurrent();
  viewport()->update();
  return true;
}

bool TDrawingArea::MovementMove(TFloatPoint at) {
  if (fSelectBand) {
    const TIntPoint p = RoundSaturated(at);
    fSelectBand->Right = p.X;
    fSelectBand->Bottom = p.Y;
    viewport()->update();
    return true;
  }
  if (!fMovement.Dragging() || !fMovementSource) return false;
  const TMovementContext context = fMovementSource();
  if (context.Radiograph == nullptr) return true;
  if (fMovement.Step(*context.Radiograph, at, context.Drag)) {
    viewport()->update();
    emit MovementStepped();
  }
  emit StatusChanged(QString::fromStdString(fMovement.Status(LocaleDecimalSeparator(), !context.FullRedraw)));
  return true;
}

bool TDrawingArea::MovementRelease(TFloatPoint at, Qt::KeyboardModifiers modifiers) {
  if (!fSelectBand && !fMovement.Dragging()) return false;
  if (!fMovementSource) return true;
  const TMovementContext context = fMovementSource();
  if (context.Radiograph == nullptr) {
    fSelectBand.reset();
    return true;
  }
  TRadiograph& radiograph = *context.Radiograph;
  if (fSelectBand) {
    const TIntRect band = *fSelectBand;
    fSelectBand.reset();
    const double tolerance = PixelsToUnits(5);
    const bool shift = modifiers.testFlag(Qt::ShiftModifier);
    if (std::abs(band.Right - band.Left) <= tolerance && std::abs(band.Bottom - band.Top) <= tolerance) {
      SelectAt(radiograph, at, tolerance, shift, modifiers.testFlag(Qt::ControlModifier));
    } else {
      SelectInBand(radiograph, band, shift);
    }
    emit StatusChanged(QString::fromStdString(SelectionDescription(radiograph)));
  } else {
    fMovement.Step(radiograph, at, context.Drag);
    const std::string status = fMovement.Status(LocaleDecimalSeparator(), false);
    const TResult done = fMovement.End(radiograph, context.Drag);
    fDragPicture = {};
    if (!done) emit MovementRefused(DisplayText(done.Text()));
    emit StatusChanged(QString::fromStdString(status));
  }
  emit MovementsChanged();
  Redraw();
  return true;
}

void TDrawingArea::CancelMovement() {
  fSelectBand.reset();
  if (TRadiograph* radiograph = ImageToolRadiograph(); radiograph != nullptr && fImageTool.Dragging()) {
    fImageTool.Cancel(*radiograph, fMovementSource().Drag.Movement.TracingLocked);
    emit StatusChanged(tr("Movement cancelled"));
    emit MovementsChanged();
    Redraw();
    return;
  }
  if (!fMovement.Dragging() || !fMovementSource) return;
  const TMovementContext context = fMovementSource();
  if (context.Radiograph != nullptr) fMovement.Cancel(*context.Radiograph, context.Drag.Movement);
  fDragPicture = {};
  emit StatusChanged(tr("Movement cancelled"));
  emit MovementsChanged();
  Redraw();
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
  CancelMovement();
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
  if (event->button() == Qt::MiddleButton) {
    fPan = TPan{event->position(), fMapping.Scroll(), viewport()->cursor()};
    viewport()->setCursor(Qt::ClosedHandCursor);
    return;
  }
  std::optional<TFloatPoint> at = fMapping.ToTracing({event->position().x(), event->position().y()});
  if (!at) return;
  if (fTypeClick && event->button() == Qt::LeftButton && fTypeClick(*at)) return;
  if (event->button() == Qt::LeftButton && fAlignTarget && fAlignTarget(*at)) return;
  if (TDigitizeWindow* digitizing = Digitizing()) {
    const bool left = event->button() == Qt::LeftButton;
    // The handles of the selected snake come first; a press anywhere else places.
    if ((left || event->button() == Qt::RightButton) && !digitizing->Pressed(*at, left, PixelsToUnits(1)))
      digitizing->Clicked(*at, left);
    return;
  }
  if (event->button() == Qt::LeftButton && (ImagePress(*at) || MovementPress(*at, event->modifiers()))) return;
  if (event->button() == Qt::RightButton && IsMovementTool()) {
    if (fMovement.Dragging()) {
      // The whole display at once, the picture under the drag included.
      if (fMovement.Mode() != TDragMode::Centre) KeepPictureWithoutCurrent();
      viewport()->update();
    } else if (fMovementSource) {
      AreasMenu(*at, event->globalPosition().toPoint(), event->modifiers().testFlag(Qt::ShiftModifier));
    }
    return;
  }
  Apply(fTools.Press(*at, event->button() == Qt::RightButton, fMapping));
}

void TDrawingArea::AreasMenu(TFloatPoint at, QPoint global, bool add) {
  const TMovementContext context = fMovementSource();
  if (context.Radiograph == nullptr) return;
  TRadiograph* radiograph = context.Radiograph;
  const std::vector<TArea*> areas = AreasAt(*radiograph, at, PixelsToUnits(5));
  if (areas.empty()) return;
  QMenu menu(this);
  for (TArea* area : areas) {
    connect(menu.addAction(Utf8(area->Name)), &QAction::triggered, this, [this, radiograph, area, add] {
      if (!add) radiograph->Selection.clear();
      if (std::find(radiograph->Selection.begin(), radiograph->Selection.end(), area) == radiograph->Selection.end())
        radiograph->Selection.push_back(area);
      emit MovementsChanged();
      Redraw();
    });
  }
  menu.exec(global);
}

void TDrawingArea::mouseMoveEvent(QMouseEvent* event) {
  if (fPan) {
    const QPointF moved = event->position() - fPan->Pressed;
    fMapping.PanFrom(fPan->Scroll, {moved.x(), moved.y()});
    MappingChanged();
    return;
  }
  std::optional<TFloatPoint> at = fMapping.ToTracing({event->position().x(), event->position().y()});
  if (!at) return;
  if (TDigitizeWindow* digitizing = Digitizing()) {
    if (digitizing->Dragged(*at)) return;
    digitizing->PointerMoved(*at);
    viewport()->setCursor(HandleCursor(digitizing->HandleUnder(*at, PixelsToUnits(1))));
    return;
  }
  if (ImageMove(*at, event->modifiers()) || MovementMove(*at)) return;
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
  if (event->type() == QEvent::Leave) {
    Apply(fTools.Hover(nullptr));
    if (TDigitizeWindow* digitizing = Digitizing()) digitizing->PointerLeft();
  }
  return QAbstractScrollArea::viewportEvent(event);
}

void TDrawingArea::wheelEvent(QWheelEvent* event) {
  if (!event->modifiers().testFlag(Qt::ControlModifier)) return QAbstractScrollArea::wheelEvent(event);
  const int steps = event->angleDelta().y() / 120;
  if (steps == 0) return event->accept();  // a fine-grained touchpad waits for a whole notch
  for (int i = 0; i < std::abs(steps); ++i)
    fMapping.ZoomStepAbout({event->position().x(), event->position().y()}, steps > 0);
  MappingChanged();
  event->accept();
}

void TDrawingArea::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::MiddleButton && fPan) {
    viewport()->setCursor(fPan->Cursor);
    fPan.reset();
    return;
  }
  std::optional<TFloatPoint> at = fMapping.ToTracing({event->position().x(), event->position().y()});
  if (!at) return;
  if (TDigitizeWindow* digitizing = Digitizing(); digitizing != nullptr && digitizing->Released(*at)) return;
  if (event->button() == Qt::LeftButton &&
      (ImageRelease(*at, event->modifiers()) || MovementRelease(*at, event->modifiers())))
    return;
  Apply(fTools.Release(*at, event->button() == Qt::RightButton, fMapping));
  if (std::optional<double> length = fTools.TakeMeasuredLength()) emit MagnificationMeasured(*length);
}

}  // namespace lumacet
