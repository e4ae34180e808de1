// The main window's drawing area: the tracings of the shown radiographs painted over the
// scrolling world through the display mapping, with the zoom commands and the zoom tool.
#pragma once

#include <QAbstractScrollArea>

#include <functional>

#include "graphics/display.h"
#include "graphics/tracing_painter.h"

namespace lumacet {

class TDrawingArea : public QAbstractScrollArea {
  Q_OBJECT

 public:
  // The scene and options are asked for at every paint, so the area never holds model state.
  using TSceneSource = std::function<TDisplayScene()>;
  using TOptionsSource = std::function<TDisplayOptions()>;
  TDrawingArea(TSceneSource scene, TOptionsSource options, QWidget* parent = nullptr);

  TDisplayMapping& Mapping() { return fMapping; }
  // After any change of the mapping: scroll bars and picture follow.
  void MappingChanged();
  // The zoom tool: a click zooms in there, a right click out.
  void SetZoomTool(bool on) { fZoomTool = on; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  TSceneSource fScene;
  TOptionsSource fOptions;
  TDisplayMapping fMapping;
  bool fZoomTool = false;
  bool fUpdatingBars = false;
};

}  // namespace lumacet
