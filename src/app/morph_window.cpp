#include "app/morph_window.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QLabel>
#include <QMatrix4x4>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QOpenGLShaderProgram>
#include <QOpenGLWidget>
#include <QPainter>
#include <QPainterPath>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "app/qt_prompts.h"
#include "model/radiograph.h"
#include "simulation/morph.h"

namespace lumacet {

namespace {

constexpr int kTextureSide = 512;
constexpr int kStartZoom = 300;  // tracing units per 100 pixels
constexpr int kLowestZoom = 100;
constexpr int kHighestZoom = 1500;

}  // namespace

// What the display draws: the texture, one textured triangle per mesh triangle, and the view.
struct TMorphInteractive::TScene {
  // The pair the mesh was made for, and whether it was ready then.
  const TRadiograph* Source = nullptr;
  const TRadiograph* Current = nullptr;
  bool Ready = false;
  std::vector<std::optional<TFloatPoint>> SourcePoints;
  std::vector<TDelTriangle> Triangles;
  QImage Texture;     // kTextureSide square, the source image at its top left
  int TextureSerial = 0;  // a new texture, for the display to upload
  std::vector<float> TexCoords;  // two per triangle corner, 0..1 across the texture
  std::vector<float> Positions;  // two per triangle corner, in tracing units
  double PanX = 0;
  double PanY = 0;
  int Zoom = kStartZoom;

  // The tracing rectangle the display of that size shows: y grows downwards.
  QRectF View(QSize size) const {
    return {PanX, PanY, size.width() * Zoom / 100.0, size.height() * Zoom / 100.0};
  }
};

namespace {

using TScene = TMorphInteractive::TScene;

// The mesh on the graphics card: a small shader program rather than the fixed-function
// pipeline, so that core and compatibility contexts alike draw it.
class TGLDisplay : public QOpenGLWidget, protected QOpenGLFunctions {
 public:
  explicit TGLDisplay(const TScene& scene) : fScene(scene) {}
  ~TGLDisplay() override {
    if (fTexture == 0 || !isValid()) return;
    makeCurrent();
    glDeleteTextures(1, &fTexture);
    doneCurrent();
  }
  TGLDisplay(const TGLDisplay&) = delete;
  TGLDisplay& operator=(const TGLDisplay&) = delete;

 protected:
  void initializeGL() override {
    initializeOpenGLFunctions();
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_DITHER);
    fProgram.addShaderFromSourceCode(QOpenGLShader::Vertex,
                                     "attribute vec2 position;\n"
                                     "attribute vec2 texCoord;\n"
                                     "uniform mat4 projection;\n"
                                     "varying vec2 uv;\n"
                                     "void main() {\n"
                                     "  uv = texCoord;\n"
                                     "  gl_Position = projection * vec4(position, 0.0, 1.0);\n"
                                     "}\n");
    fProgram.addShaderFromSourceCode(QOpenGLShader::Fragment,
                                     "#ifdef GL_ES\n"
                                     "precision mediump float;\n"
                                     "#endif\n"
                                     "uniform sampler2D image;\n"
                                     "varying vec2 uv;\n"
                                     "void main() { gl_FragColor = texture2D(image, uv); }\n");
    fProgram.bindAttributeLocation("position", 0);
    fProgram.bindAttributeLocation("texCoord", 1);
    fProgram.link();
    glGenTextures(1, &fTexture);
  }

  void paintGL() override {
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    if (fScene.Positions.empty() || fScene.Texture.isNull() || !fProgram.isLinked()) return;
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, fTexture);
    if (fUploaded != fScene.TextureSerial) Upload();
    const QRectF view = fScene.View(size());
    QMatrix4x4 projection;
    projection.ortho(float(view.left()), float(view.right()), float(view.bottom()), float(view.top()), 1, -1);
    fProgram.bind();
    fProgram.setUniformValue("projection", projection);
    fProgram.setUniformValue("image", 0);
    fProgram.enableAttributeArray(0);
    fProgram.enableAttributeArray(1);
    fProgram.setAttributeArray(0, fScene.Positions.data(), 2);
    fProgram.setAttributeArray(1, fScene.TexCoords.data(), 2);
    glDrawArrays(GL_TRIANGLES, 0, GLsizei(fScene.Positions.size() / 2));
    fProgram.disableAttributeArray(0);
    fProgram.disableAttributeArray(1);
    fProgram.release();
  }

 private:
  void Upload() {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, kTextureSide, kTextureSide, 0, GL_RGB, GL_UNSIGNED_BYTE,
                 fScene.Texture.constBits());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    fUploaded = fScene.TextureSerial;
  }

  const TScene& fScene;
  QOpenGLShaderProgram fProgram;
  GLuint fTexture = 0;
  int fUploaded = -1;
};

// The same mesh drawn by QPainter, where no OpenGL context can be made: each triangle of
// the texture mapped onto its target triangle by the affine map the two define.
class TSoftDisplay : public QWidget {
 public:
  explicit TSoftDisplay(const TScene& scene) : fScene(scene) { setAttribute(Qt::WA_OpaquePaintEvent); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (fScene.Positions.empty() || fScene.Texture.isNull()) return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF view = fScene.View(size());
    const double perUnit = 100.0 / fScene.Zoom;
    for (size_t first = 0; first + 6 <= fScene.Positions.size(); first += 6) {
      QPolygonF texels;
      QPolygonF screen;
      for (size_t k = first; k < first + 6; k += 2) {
        texels << QPointF(fScene.TexCoords[k], fScene.TexCoords[k + 1]) * kTextureSide;
        screen << QPointF((fScene.Positions[k] - view.left()) * perUnit, (fScene.Positions[k + 1] - view.top()) * perUnit);
      }
      // An affine map takes the parallelogram a triangle spans onto the other's.
      QPolygonF texelQuad = texels;
      QPolygonF screenQuad = screen;
      texelQuad.insert(2, texels[1] + texels[2] - texels[0]);
      screenQuad.insert(2, screen[1] + screen[2] - screen[0]);
      QTransform map;
      if (!QTransform::quadToQuad(texelQuad, screenQuad, map)) continue;
      QPainterPath clip;
      clip.addPolygon(screen);
      painter.setClipPath(clip);
      painter.setTransform(map);
      painter.drawImage(0, 0, fScene.Texture);
      painter.resetTransform();
    }
  }

 private:
  const TScene& fScene;
};

bool OpenGLAvailable() {
  QOpenGLContext probe;
  return probe.create();
}

// The control point's texture coordinates: its place in the source image's own axes, the
// image's longer side being the texture's width.
QPointF TextureCoordinates(TFloatPoint at, const TRadiograph& source, double side) {
  const double dx = at.X - source.ImageOriginX;
  const double dy = at.Y - source.ImageOriginY;
  const double c = std::cos(source.ImageRotation);
  const double s = std::sin(source.ImageRotation);
  return {(dx * c + dy * s) / side, (dy * c - dx * s) / side};
}

double LongerSide(const TRadiograph& source) {
  const TBitmap32& image = source.Image.Display;
  return std::max(image.Width * source.PixelWidth, image.Height * source.PixelHeight);
}

}  // namespace

TMorphInteractive::TMorphInteractive(std::function<TRadiograph*()> source, std::function<TRadiograph*()> current,
                                     QWidget* parent)
    : QWidget(parent), fSource(std::move(source)), fCurrent(std::move(current)), fScene(std::make_unique<TScene>()) {
  setWindowFlag(Qt::Tool);
  setWindowTitle(tr("Morph"));
  setObjectName(QStringLiteral("morphWindow"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* bar = new QToolBar;
  fMorphOn = bar->addAction(tr("M"));
  fMorphOn->setObjectName(QStringLiteral("morphOn"));
  fMorphOn->setToolTip(tr("Morphing on or off"));
  fMorphOn->setCheckable(true);
  fMorphOn->setChecked(true);
  connect(fMorphOn, &QAction::toggled, this, &TMorphInteractive::Prepare);
  bar->addSeparator();
  auto* modes = new QActionGroup(this);
  fMoveMode = bar->addAction(tr("Move image"));
  fZoomMode = bar->addAction(tr("Zoom image"));
  for (QAction* mode : {fMoveMode, fZoomMode}) {
    mode->setCheckable(true);
    modes->addAction(mode);
  }
  fMoveMode->setChecked(true);
  bar->addSeparator();
  QAction* help = bar->addAction(tr("&Help"));
  help->setShortcut(QKeySequence::HelpContents);
  help->setShortcutContext(Qt::WindowShortcut);
  connect(help, &QAction::triggered, this, [this] { ShowHelp(this, "movements", QStringLiteral("interactive-morph")); });
  layout->addWidget(bar);

  if (OpenGLAvailable()) {
    fDisplay = new TGLDisplay(*fScene);
  } else {
    fDisplay = new TSoftDisplay(*fScene);
  }
  fDisplay->setObjectName(QStringLiteral("morphDisplay"));
  fDisplay->setMinimumSize(200, 160);
  fDisplay->installEventFilter(this);
  layout->addWidget(fDisplay, 1);

  auto* statusLine = new QHBoxLayout;
  statusLine->setContentsMargins(4, 2, 4, 2);
  fStatus = new QLabel;
  fStatus->setObjectName(QStringLiteral("morphStatus"));
  fNote = new QLabel;
  if (!UsesOpenGL()) fNote->setText(tr("No OpenGL: the preview is drawn without the graphics card."));
  statusLine->addWidget(fStatus, 1);
  statusLine->addWidget(fNote);
  layout->addLayout(statusLine);
  resize(560, 480);
}

TMorphInteractive::~TMorphInteractive() = default;

bool TMorphInteractive::UsesOpenGL() const { return dynamic_cast<TGLDisplay*>(fDisplay) != nullptr; }

QString TMorphInteractive::Status() const { return fStatus->text(); }

QWidget* TMorphInteractive::Display() const { return fDisplay; }

QImage TMorphInteractive::Picture() {
  if (auto* gl = dynamic_cast<TGLDisplay*>(fDisplay)) return gl->grabFramebuffer();
  return fDisplay->grab().toImage();
}

int TMorphInteractive::Zoom() const { return fScene->Zoom; }

QPointF TMorphInteractive::Pan() const { return {fScene->PanX, fScene->PanY}; }

bool TMorphInteractive::ZoomMode() const { return fZoomMode->isChecked(); }

void TMorphInteractive::SetStatus(const QString& text) {
  fStatus->setText(text);
  fStatus->repaint();
}

void TMorphInteractive::Forget() {
  TScene& scene = *fScene;
  scene.Source = nullptr;
  scene.Current = nullptr;
  scene.Ready = false;
  scene.SourcePoints.clear();
  scene.Triangles.clear();
  scene.TexCoords.clear();
  scene.Positions.clear();
  scene.Texture = QImage();
}

void TMorphInteractive::Prepare() {
  if (!isVisible()) return;
  TRadiograph* source = fSource();
  TRadiograph* current = fCurrent();
  Forget();
  fScene->Source = source;
  fScene->Current = current;
  const TText reason = MorphReadiness(source, current);
  if (!reason.Empty()) {
    fMorphOn->setEnabled(false);
    fDisplay->hide();
    SetStatus(tr("Cannot morph: %1").arg(DisplayText(reason)));
    return;
  }
  fScene->Ready = true;
  fMorphOn->setEnabled(true);
  fDisplay->show();
  if (!fMorphOn->isChecked()) {
    SetStatus(tr("Morphing is Off."));
    fDisplay->update();
    return;
  }
  SetStatus(tr("Preparing for Interactive Warp..."));
  DoTheDelaunay(*source);
  SetStatus(tr("Ready."));
  DoTheMorph();
}

void TMorphInteractive::DoTheDelaunay(const TRadiograph& source) {
  TScene& scene = *fScene;
  scene.SourcePoints = MorphControlPoints(source, source, false);
  scene.Triangles = DelaunayTriangulate(scene.SourcePoints);
  const double side = LongerSide(source);
  const TBitmap32& image = source.Image.Display;
  // The bitmap's fourth byte is not an alpha: the copy is opaque.
  QImage opaque(image.Width, image.Height, QImage::Format_RGB32);
  for (int y = 0; y < image.Height; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(opaque.scanLine(y));
    const std::uint32_t* from = image.Row(y);
    for (int x = 0; x < image.Width; ++x) row[x] = from[x] | 0xFF000000u;
  }
  const int width = std::max(1, int(std::lround(image.Width * source.PixelWidth * kTextureSide / side)));
  const int height = std::max(1, int(std::lround(image.Height * source.PixelHeight * kTextureSide / side)));
  scene.Texture = QImage(kTextureSide, kTextureSide, QImage::Format_RGB888);
  scene.Texture.fill(Qt::white);
  QPainter(&scene.Texture)
      .drawImage(0, 0, opaque.scaled(std::min(width, kTextureSide), std::min(height, kTextureSide), Qt::IgnoreAspectRatio,
                                     Qt::SmoothTransformation));
  ++scene.TextureSerial;
  scene.TexCoords.clear();
  for (const TDelTriangle& triangle : scene.Triangles)
    for (int vertex : triangle.Vertex) {
      const QPointF uv = TextureCoordinates(*scene.SourcePoints[size_t(vertex)], source, side);
      scene.TexCoords.push_back(float(uv.x()));
      scene.TexCoords.push_back(float(uv.y()));
    }
}

void TMorphInteractive::DoTheMorph() {
  TScene& scene = *fScene;
  if (!isVisible() || !scene.Ready || !fMorphOn->isChecked() || scene.Current == nullptr) return;
  const std::vector<std::optional<TFloatPoint>> target = MorphControlPoints(*scene.Current, *scene.Source, false);
  scene.Positions.clear();
  for (const TDelTriangle& triangle : scene.Triangles)
    for (int vertex : triangle.Vertex) {
      // A list that changed under the mesh keeps the vertex where the source has it.
      const size_t k = size_t(vertex);
      const TFloatPoint place = k < target.size() && target[k] ? *target[k] : *scene.SourcePoints[k];
      scene.Positions.push_back(float(place.X));
      scene.Positions.push_back(float(place.Y));
    }
  RepaintOpenGL();
}

void TMorphInteractive::RepaintOpenGL() { fDisplay->update(); }

void TMorphInteractive::Follow() {
  if (!isVisible()) return;
  const TScene& scene = *fScene;
  TRadiograph* source = fSource();
  TRadiograph* current = fCurrent();
  const bool ready = MorphReadiness(source, current).Empty();
  if (source != scene.Source || current != scene.Current || ready != scene.Ready ||
      (ready && MorphControlPoints(*source, *source, false).size() != scene.SourcePoints.size() &&
       fMorphOn->isChecked()))
    Prepare();
  else
    DoTheMorph();
}

void TMorphInteractive::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Prepare();
}

void TMorphInteractive::closeEvent(QCloseEvent* event) {
  Forget();
  QWidget::closeEvent(event);
  emit Closed();
}

bool TMorphInteractive::eventFilter(QObject* watched, QEvent* event) {
  if (watched != fDisplay) return QWidget::eventFilter(watched, event);
  TScene& scene = *fScene;
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() == Qt::RightButton) (fMoveMode->isChecked() ? fZoomMode : fMoveMode)->setChecked(true);
      fLastMouse = mouse->position().toPoint();
      return true;
    }
    case QEvent::MouseMove: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (!mouse->buttons().testFlag(Qt::LeftButton)) return false;
      const QPoint at = mouse->position().toPoint();
      const QPoint moved = at - fLastMouse;
      fLastMouse = at;
      if (fMoveMode->isChecked()) {
        // The picture follows the pointer.
        scene.PanX -= moved.x() * scene.Zoom / 100.0;
        scene.PanY -= moved.y() * scene.Zoom / 100.0;
      } else {
        const int zoom = scene.Zoom - 5 * moved.x();
        if (zoom > kLowestZoom && zoom < kHighestZoom) scene.Zoom = zoom;
      }
      fDisplay->update();
      return true;
    }
    case QEvent::MouseButtonDblClick:
      if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) return false;
      if (fMoveMode->isChecked()) {
        scene.PanX = 0;
        scene.PanY = 0;
      } else {
        scene.Zoom = kStartZoom;
      }
      fDisplay->update();
      return true;
    default: return false;
  }
}

}  // namespace lumacet
