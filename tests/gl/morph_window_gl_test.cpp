// The interactive morph window on a real OpenGL context (Mesa under a virtual X display): the
// mesh of an unchanged copy draws the source image where it lies, and the mouse pans and
// zooms within the window's limits. Skipped where no OpenGL context can be made.
#include <gtest/gtest.h>

#include <QAction>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QTest>

#include <cmath>
#include <memory>

#include "app/morph_window.h"
#include "app/ui_test_support.h"
#include "model/xray.h"
#include "model/xray_type.h"
#include "shell/settings_options.h"
#include "shell/workspace.h"

namespace lumacet {
namespace {

constexpr int kImageWidth = 600;
constexpr int kImageHeight = 400;

// Red rises to the right and green downwards, in whole levels across the image.
int RedAt(double x) { return int(std::lround(255.0 * x / kImageWidth)); }
int GreenAt(double y) { return int(std::lround(255.0 * y / kImageHeight)); }

void GiveGradient(TRadiograph& radiograph) {
  TRawImage raw;
  raw.Width = kImageWidth;
  raw.Height = kImageHeight;
  raw.SamplesPerPixel = 3;
  raw.BitsPerSample = 8;
  for (int y = 0; y < kImageHeight; ++y)
    for (int x = 0; x < kImageWidth; ++x) {
      // Blue, green, red.
      raw.Samples.push_back(64);
      raw.Samples.push_back(static_cast<uint8_t>(GreenAt(y + 0.5)));
      raw.Samples.push_back(static_cast<uint8_t>(RedAt(x + 0.5)));
    }
  radiograph.Image.SetImage(std::move(raw));
  radiograph.PixelWidth = radiograph.PixelHeight = 1;
  radiograph.ImageOriginX = radiograph.ImageOriginY = 0;
  radiograph.ImageRotation = 0;
}

void SendMouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
  QMouseEvent event(type, QPointF(at), QPointF(target->mapToGlobal(at)), button, held, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &event);
}

void Drag(QWidget* target, QPoint from, QPoint to) {
  SendMouse(target, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
  SendMouse(target, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
  SendMouse(target, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

struct MorphWindowGlTest : ::testing::Test {
  MorphWindowGlTest() {
    test::Application();
    TWorkspaceOptions options;
    options.Folders.TypeFolder = std::string(LUMACET_SOURCE_DIR) + "/examples";
    workspace = std::make_unique<TWorkspace>(options);
    test::TNoPrompts prompts;
    const int slot = workspace->NewXRayBasic("Lateral Ceph", true, prompts);
    source = workspace->Slot(slot);
    GiveGradient(*source);
    workspace->SetCurrent(source);
    workspace->Duplicate();
    current = workspace->Current();
    window = std::make_unique<TMorphInteractive>([this] { return morphSource; }, [this] { return current; });
    window->resize(640, 520);
  }

  void SetUp() override {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
      GTEST_SKIP() << "needs an X display (run under xvfb-run with QT_QPA_PLATFORM=xcb)";
    QOpenGLContext probe;
    if (!probe.create()) GTEST_SKIP() << "no OpenGL context can be made on this display";
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    ASSERT_TRUE(window->UsesOpenGL());
  }

  std::unique_ptr<TWorkspace> workspace;
  TRadiograph* source = nullptr;
  TRadiograph* current = nullptr;
  TRadiograph* morphSource = nullptr;
  std::unique_ptr<TMorphInteractive> window;
};

TEST_F(MorphWindowGlTest, AnUnchangedCopyDrawsTheSourceImageWhereItLies) {
  morphSource = source;
  window->Prepare();
  EXPECT_EQ(window->Status(), "Ready.");
  QCoreApplication::processEvents();
  const QImage picture = window->Picture();
  ASSERT_FALSE(picture.isNull());
  // 300 tracing units per 100 pixels from the origin: the 600 x 400 image covers 200 x 133.
  int compared = 0;
  for (int py = 8; py < 128; py += 12)
    for (int px = 8; px < 195; px += 12) {
      const QRgb drawn = picture.pixel(px, py);
      const double x = (px + 0.5) * 3;
      const double y = (py + 0.5) * 3;
      EXPECT_NEAR(qRed(drawn), RedAt(x), 2) << px << "," << py;
      EXPECT_NEAR(qGreen(drawn), GreenAt(y), 2) << px << "," << py;
      EXPECT_NEAR(qBlue(drawn), 64, 2) << px << "," << py;
      ++compared;
    }
  EXPECT_GT(compared, 100);
  // Beyond the image the window is white.
  EXPECT_EQ(picture.pixel(300, 200), qRgb(255, 255, 255));
  EXPECT_EQ(picture.pixel(100, 160), qRgb(255, 255, 255));

  // After a pan of 50 pixels to the right the same image point lies 50 pixels on.
  Drag(window->Display(), {300, 300}, {350, 300});
  EXPECT_EQ(window->Pan(), QPointF(-150, 0));
  QCoreApplication::processEvents();
  const QRgb moved = window->Picture().pixel(50 + 60, 60);
  EXPECT_NEAR(qRed(moved), RedAt(60.5 * 3), 2);
}

TEST_F(MorphWindowGlTest, ThePairNotReadyHidesTheDisplayAndSaysWhy) {
  morphSource = current;
  window->Prepare();
  EXPECT_EQ(window->Status(), "Cannot morph: Current is Morph Source.");
  EXPECT_FALSE(window->Display()->isVisible());
  EXPECT_FALSE(window->findChild<QAction*>("morphOn")->isEnabled());
  morphSource = nullptr;
  window->Prepare();
  EXPECT_EQ(window->Status(), "Cannot morph: No radiographs.");

  morphSource = source;
  window->Prepare();
  EXPECT_TRUE(window->Display()->isVisible());
  window->findChild<QAction*>("morphOn")->trigger();
  EXPECT_EQ(window->Status(), "Morphing is Off.");
}

TEST_F(MorphWindowGlTest, TheRightButtonSwitchesModesZoomStaysInsideItsLimitsAndDoubleClickResets) {
  morphSource = source;
  window->Prepare();
  QWidget* display = window->Display();
  EXPECT_FALSE(window->ZoomMode());
  EXPECT_EQ(window->Zoom(), 300);
  SendMouse(display, QEvent::MouseButtonPress, {100, 100}, Qt::RightButton, Qt::RightButton);
  SendMouse(display, QEvent::MouseButtonRelease, {100, 100}, Qt::RightButton, Qt::NoButton);
  EXPECT_TRUE(window->ZoomMode());

  // Each pixel to the right takes 5 off the zoom; a step that would leave (100, 1500) is not taken.
  struct TStep {
    int dx;
    int zoom;
  };
  const TStep steps[] = {{40, 300}, {30, 150}, {30, 150}, {-200, 1150}, {-200, 1150}, {-20, 1250}};
  for (const TStep& step : steps) {
    Drag(display, {300, 100}, {300 + step.dx, 100});
    EXPECT_EQ(window->Zoom(), step.zoom) << step.dx;
  }
  // Zooming leaves the pan alone; a double click in zoom mode resets the zoom only.
  EXPECT_EQ(window->Pan(), QPointF(0, 0));
  const int before = window->Zoom();
  SendMouse(display, QEvent::MouseButtonDblClick, {100, 100}, Qt::LeftButton, Qt::LeftButton);
  EXPECT_NE(before, 300);
  EXPECT_EQ(window->Zoom(), 300);

  SendMouse(display, QEvent::MouseButtonPress, {100, 100}, Qt::RightButton, Qt::RightButton);
  EXPECT_FALSE(window->ZoomMode());
  Drag(display, {100, 100}, {90, 80});
  EXPECT_EQ(window->Pan(), QPointF(30, 60));
  SendMouse(display, QEvent::MouseButtonDblClick, {100, 100}, Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(window->Pan(), QPointF(0, 0));
  EXPECT_EQ(window->Zoom(), 300);
}


// Emma's radiograph with her lower face moved forward on a copy: the preview follows the
// tracing there and stays the source image far from it. The picture is kept beside the test
// (screenshot_morph_window.png) for the documentation.
TEST_F(MorphWindowGlTest, MovingTheTracingMovesThePreviewWhereTheTracingMoved) {
  TWorkspace example(WorkspaceOptions(TSettings::Defaults(std::string(LUMACET_SOURCE_DIR) + "/examples")));
  test::TNoPrompts prompts;
  ASSERT_EQ(example.OpenRecords("PATIENT.CSV", {1}, true, prompts, true), 1);
  TRadiograph* emma = example.Current();
  ASSERT_TRUE(emma->Image.HasImage());
  for (const auto& e : emma->Type()->ElementList(ekGraphic)) static_cast<TXRGraphic*>(e.get())->UseForMorphing = true;
  ASSERT_GE(example.Duplicate(), 0);
  TRadiograph* moved = example.Current();
  morphSource = emma;
  current = moved;
  window->Display()->setFixedSize(560, 600);
  window->adjustSize();
  window->Prepare();
  ASSERT_EQ(window->Status(), "Ready.");
  QCoreApplication::processEvents();
  const QImage before = window->Picture();
  // Everything below y = 1500 forward by 60 units: 20 pixels at the starting zoom.
  for (auto& point : static_cast<TXRay*>(moved)->Coordinates)
    if (point->IsValid() && point->RawY() > 1500) point->SetXY(point->RawX() + 60, point->RawY());
  window->DoTheMorph();
  const QImage after = window->Picture();
  auto differing = [&](QRect area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = area.left(); x <= area.right(); ++x) count += before.pixel(x, y) != after.pixel(x, y);
    return count;
  };
  // Tracing (900..1700, 1600..1900) holds the chin; the skull's top (600..1200, 350..600) stays.
  EXPECT_GT(differing({300, 533, 267, 100}), 1000);
  EXPECT_EQ(differing({200, 117, 200, 83}), 0);
  // Zoomed out to 500 for the whole head in the picture.
  SendMouse(window->Display(), QEvent::MouseButtonPress, {300, 300}, Qt::RightButton, Qt::RightButton);
  Drag(window->Display(), {300, 300}, {260, 300});
  EXPECT_EQ(window->Zoom(), 500);
  window->grab().save(QStringLiteral("screenshot_morph_window.png"));
}

}  // namespace
}  // namespace lumacet
