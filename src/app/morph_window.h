// The interactive morph window "Morph": a live preview of the morph source's image warped
// onto the current radiograph's tracing, drawn as a texture-mapped triangle mesh that follows
// every movement. The mesh is built once per source (Delaunay of the source's control
// points); each movement only moves its target vertices.
#pragma once

#include <QImage>
#include <QPointF>
#include <QWidget>

#include <functional>
#include <memory>

class QAction;
class QLabel;

namespace lumacet {

class TRadiograph;

class TMorphInteractive : public QWidget {
  Q_OBJECT

 public:
  // `source` and `current` give the morph source and the current radiograph of the moment.
  TMorphInteractive(std::function<TRadiograph*()> source, std::function<TRadiograph*()> current,
                    QWidget* parent = nullptr);
  ~TMorphInteractive() override;

  // Readiness, then the mesh of the source and its first morph; or the reason on the status line.
  void Prepare();
  // The target vertices from the current tracing, and the picture drawn again.
  void DoTheMorph();
  // After any change of the workspace: prepared again when the pair of radiographs or its
  // readiness changed, else morphed.
  void Follow();

  // What the window shows, for its tests.
  QString Status() const;
  bool UsesOpenGL() const;
  QWidget* Display() const;
  QImage Picture();
  int Zoom() const;
  QPointF Pan() const;
  bool ZoomMode() const;

  // The mesh, its texture and the view, as the display draws them.
  struct TScene;

 signals:
  // The window was closed by its user.
  void Closed();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void DoTheDelaunay(const TRadiograph& source);
  void RepaintOpenGL();
  void SetStatus(const QString& text);
  void Forget();

  std::function<TRadiograph*()> fSource;
  std::function<TRadiograph*()> fCurrent;
  std::unique_ptr<TScene> fScene;
  QAction* fMorphOn = nullptr;
  QAction* fMoveMode = nullptr;
  QAction* fZoomMode = nullptr;
  QWidget* fDisplay = nullptr;
  QLabel* fStatus = nullptr;
  QLabel* fNote = nullptr;
  QPoint fLastMouse;
};

}  // namespace lumacet
