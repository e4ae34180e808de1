// The main window's drawing area: the tracings of the shown radiographs painted over the
// scrolling world through the display mapping, with the zoom commands and the mouse tools.
#pragma once

#include <QAbstractScrollArea>
#include <QCursor>
#include <QImage>

#include <functional>

#include "graphics/display.h"
#include "graphics/drawing_tools.h"
#include "graphics/tracing_painter.h"
#include "platform/qpainter_canvas.h"
#include "shell/settings_options.h"
#include "simulation/image_translate.h"
#include "simulation/movement_tool.h"

namespace lumacet {

class TDigitizeWindow;

class TDrawingArea : public QAbstractScrollArea {
  Q_OBJECT

 public:
  // The scene and options are asked for at every paint, so the area never holds model state.
  using TSceneSource = std::function<TDisplayScene()>;
  using TOptionsSource = std::function<TDisplayOptions()>;
  TDrawingArea(TSceneSource scene, TOptionsSource options, QWidget* parent = nullptr);

  // What the movement tools need at every event: the radiograph they move (null when
  // movements cannot run on the current object) and the options of the moment.
  struct TMovementContext {
    TRadiograph* Radiograph = nullptr;
    TDragOptions Drag;
    bool FullRedraw = true;
    TMarkerSettings Handle;
  };
  using TMovementSource = std::function<TMovementContext()>;
  void SetMovementSource(TMovementSource source) { fMovementSource = std::move(source); }
  TMovementTool& Movement() { return fMovement; }
  // The Image Translate tool's handle last found under the pointer: the arrow keys act on it.
  TImageHandle ImageHandleUnder() const { return fImageHover; }
  // The Digitize window of the current radiograph, null when it is not being digitized: the
  // digitize tool hands it every move and click, and it draws over the display.
  void SetDigitizeSource(std::function<TDigitizeWindow*()> source) { fDigitizeSource = std::move(source); }
  // A left click first goes to the type editors: the position in tracing units places the
  // chosen element of the current type's last editor; `click` returns false when no editor
  // takes it and the tool has it.
  void SetTypeClick(std::function<bool(TFloatPoint)> click) { fTypeClick = std::move(click); }
  // What the type editors draw over the tracing, given tracing units per screen pixel.
  void SetTypeOverlay(std::function<void(TCanvas&, double)> overlay) {
    fTypeOverlay = std::move(overlay);
    viewport()->update();
  }
  // While "Align Tracing" waits for marks, a left click is one: `target` takes it and
  // returns true, or returns false when nothing is being aligned.
  void SetAlignTarget(std::function<bool(TFloatPoint)> target) { fAlignTarget = std::move(target); }
  // The marks made so far, drawn as red crosses.
  void SetAlignMarks(std::function<std::vector<TFloatPoint>()> marks) { fAlignMarks = std::move(marks); }
  // Only what is drawn over the picture changed.
  void RedrawOverlay();
  // Esc: a running drag ends with the tracing (and the image) where it began.
  void CancelMovement();
  // The length of that many screen pixels in tracing units.
  double PixelsToUnits(double pixels) const;

  TDisplayMapping& Mapping() { return fMapping; }
  // After any change of the mapping: scroll bars and picture follow.
  void MappingChanged();
  // After any change of what is shown: the picture is painted again.
  void Redraw();
  // The mouse tool in use; any shape in progress is dropped.
  void SetTool(TToolMode mode);
  TDrawingTools& Tools() { return fTools; }
  // Whether a pointer resting on a label shows its measurement hint and visual.
  void SetMeasurementHints(bool on) { fHints = on; }

 signals:
  // The tools' read-out for the status bar (empty when no drag is in progress).
  void StatusChanged(const QString& text);
  // A magnification tool ruler was released: its length in tracing units.
  void MagnificationMeasured(double lengthUnits);
  // The mapping changed; its zoom for the zoom box.
  void ZoomChanged(int zoom);
  // A movement was logged, cancelled or refused (with its message), or the selection or the
  // rotation centre changed: the window brings its commands and lists up to date.
  void MovementsChanged();
  // A drag moved the tracing one step; the movement is not logged yet.
  void MovementStepped();
  void MovementRefused(const QString& message);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  // Ctrl + wheel zooms about the pointer; the wheel alone scrolls.
  void wheelEvent(QWheelEvent* event) override;
  bool viewportEvent(QEvent* event) override;
  // With the Image Translate tool: the image back at the origin or unturned.
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void Apply(TDrawingTools::TRedraw redraw);
  bool IsMovementTool() const;
  // The window the digitize tool serves, when it is the tool in use.
  TDigitizeWindow* Digitizing() const;
  // The movement tools' part of a left press, move and release; true when they took it.
  bool MovementPress(TFloatPoint at, Qt::KeyboardModifiers modifiers);
  bool MovementMove(TFloatPoint at);
  bool MovementRelease(TFloatPoint at, Qt::KeyboardModifiers modifiers);
  // The Image Translate tool's part of the mouse: the radiograph whose image it moves (null
  // when the tool is not in use or nothing is shown to move), the handles' places, and the
  // press, move and release; true when the tool took the event.
  TRadiograph* ImageToolRadiograph() const;
  std::vector<TImageHandlePlace> ImageHandles() const;
  TFloatPoint ImageMarkerSize() const;
  bool ImagePress(TFloatPoint at);
  bool ImageMove(TFloatPoint at, Qt::KeyboardModifiers modifiers);
  bool ImageRelease(TFloatPoint at, Qt::KeyboardModifiers modifiers);
  // The picture under a drag: everything but the moving tracing.
  void KeepPictureWithoutCurrent();
  void PaintDragStep(QPainter& painter, const TIsotropicMapping& mapping);
  // Handles, markers and the rotation centre of the movement tools.
  void AddMovementMarks(TDisplayScene& scene);
  // The pop-up menu of the areas under the pointer; choosing one selects it.
  void AreasMenu(TFloatPoint at, QPoint global, bool add);
  // The current radiograph's label under the point, when labels are shown and hints asked for.
  TXRVariable* LabelUnder(TFloatPoint at, TRadiograph*& current);

  TSceneSource fScene;
  TOptionsSource fOptions;
  TMovementSource fMovementSource;
  std::function<TDigitizeWindow*()> fDigitizeSource;
  std::function<bool(TFloatPoint)> fTypeClick;
  std::function<void(TCanvas&, double)> fTypeOverlay;
  std::function<bool(TFloatPoint)> fAlignTarget;
  std::function<std::vector<TFloatPoint>()> fAlignMarks;
  TMovementTool fMovement;
  TImageTranslateTool fImageTool;
  TImageHandle fImageHover = TImageHandle::Body;
  // The Select / Move tool's rubber band, from its press to its release.
  std::optional<TIntRect> fSelectBand;
  QImage fDragPicture;
  // The labels laid out once for all the paints of the display.
  TTextLayouts fTextLayouts;
  TDisplayMapping fMapping;
  TDrawingTools fTools;
  // The last full picture; the next paint only redraws the tools' shapes on it when they
  // alone asked for it.
  QImage fPicture;
  bool fOverlayOnly = false;
  bool fPictureStale = true;
  bool fHints = true;
  bool fUpdatingBars = false;
  // The middle button's press, while it drags the picture whatever the tool.
  struct TPan {
    QPointF Pressed;
    TIntPoint Scroll;
    QCursor Cursor;  // the tool's, back on release
  };
  std::optional<TPan> fPan;
};

}  // namespace lumacet
