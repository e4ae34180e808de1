#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolTip>

#include "app/drawing_area.h"
#include "app/magnification_dialog.h"
#include "app/main_window.h"
#include "app/zoom_box.h"
#include "model/xray_type.h"
#include "ui_test_support.h"

namespace lumacet {
namespace {

void SendMouse(QWidget* target, QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons held) {
  QMouseEvent event(type, at, target->mapToGlobal(at), button, held, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &event);
}

class DrawingAreaTest : public ::testing::Test {
 protected:
  DrawingAreaTest()
      : area(
            [this] {
              TDisplayScene scene;
              scene.Images = [this](TCanvas&) { ++fullPaints; };
              return scene;
            },
            [] { return TDisplayOptions{}; }) {
    area.resize(1000, 800);
    area.show();
  }

  QPointF Pixel(TFloatPoint tracing) const {
    const TFloatPoint p = *const_cast<TDrawingArea&>(area).Mapping().ToPixel(tracing);
    return {p.X, p.Y};
  }

  int fullPaints = 0;  // paints of the whole picture, told by its image layer
  QApplication& application = test::Application();
  TDrawingArea area;
};

TEST_F(DrawingAreaTest, TheZoomBandFillsTheAreaAndSmallBandsAndRightClicksStepThePresets) {
  area.SetTool(TToolMode::Zoom);
  QWidget* viewport = area.viewport();
  const TDisplayMapping before = area.Mapping();
  const QPointF from(120, 90), to(420, 330);
  const TFloatPoint tracingFrom = *before.ToTracing({from.x(), from.y()});
  const TFloatPoint tracingTo = *before.ToTracing({to.x(), to.y()});
  SendMouse(viewport, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
  SendMouse(viewport, QEvent::MouseMove, {300, 200}, Qt::NoButton, Qt::LeftButton);
  ASSERT_TRUE(area.Tools().ZoomBand().has_value());
  SendMouse(viewport, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
  EXPECT_FALSE(area.Tools().ZoomBand().has_value());

  // The band is centred and fills the area along its tighter side.
  const QPointF a = Pixel(tracingFrom), b = Pixel(tracingTo);
  const double width = viewport->width(), height = viewport->height();
  EXPECT_NEAR((a.x() + b.x()) / 2, width / 2, 2);
  EXPECT_NEAR((a.y() + b.y()) / 2, height / 2, 2);
  const double fillX = (b.x() - a.x()) / width, fillY = (b.y() - a.y()) / height;
  EXPECT_NEAR(std::max(fillX, fillY), 1.0, 0.02);
  EXPECT_LE(std::min(fillX, fillY), 1.02);

  // A click without a band zooms in one preset about the click; a right click out again.
  const int zoom = area.Mapping().Zoom();
  const QPointF click(500, 400);
  const TFloatPoint clicked = *area.Mapping().ToTracing({click.x(), click.y()});
  SendMouse(viewport, QEvent::MouseButtonPress, click, Qt::LeftButton, Qt::LeftButton);
  SendMouse(viewport, QEvent::MouseButtonRelease, click, Qt::LeftButton, Qt::NoButton);
  const int zoomedIn = area.Mapping().Zoom();
  EXPECT_GT(zoomedIn, zoom);
  EXPECT_NEAR(area.Mapping().Centre().X, clicked.X, 2);
  SendMouse(viewport, QEvent::MouseButtonPress, click, Qt::RightButton, Qt::RightButton);
  SendMouse(viewport, QEvent::MouseButtonRelease, click, Qt::RightButton, Qt::NoButton);
  EXPECT_LT(area.Mapping().Zoom(), zoomedIn);
}

TEST_F(DrawingAreaTest, TheRulerReportsToTheStatusBarAndTheMagnificationToolHandsOverItsLength) {
  area.SetTool(TToolMode::Magnification);
  std::vector<QString> status;
  std::vector<double> measured;
  QObject::connect(&area, &TDrawingArea::StatusChanged, [&](const QString& text) { status.push_back(text); });
  QObject::connect(&area, &TDrawingArea::MagnificationMeasured, [&](double length) { measured.push_back(length); });
  QWidget* viewport = area.viewport();
  SendMouse(viewport, QEvent::MouseButtonPress, Pixel({300, 300}), Qt::LeftButton, Qt::LeftButton);
  SendMouse(viewport, QEvent::MouseMove, Pixel({600, 700}), Qt::NoButton, Qt::LeftButton);
  ASSERT_FALSE(status.empty());
  EXPECT_EQ(status.back(), QString("dx: 30 mm  dy: 40 mm  dist: 50 mm"));
  SendMouse(viewport, QEvent::MouseButtonRelease, Pixel({600, 700}), Qt::LeftButton, Qt::NoButton);
  EXPECT_TRUE(status.back().isEmpty());
  ASSERT_EQ(measured.size(), 1u);
  EXPECT_NEAR(measured.front(), 500, 1e-9);
}

TEST_F(DrawingAreaTest, TheZoomBoxTakesItsEntriesAndOnlyZoomsThatCanBeTyped) {
  TZoomBox box;
  std::vector<QString> chosen;
  QObject::connect(&box, &TZoomBox::EntryChosen, [&](const QString& entry) {
    chosen.push_back(entry);
    area.Mapping().ChooseZoomBoxEntry(entry.toStdString(), {});
    area.MappingChanged();
  });
  QObject::connect(&area, &TDrawingArea::ZoomChanged, &box, &TZoomBox::ShowZoom);
  auto type = [&](const QString& text) {
    for (QChar c : text) {
      QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
      QCoreApplication::sendEvent(box.lineEdit(), &press);
    }
  };
  box.lineEdit()->clear();
  type("2x0a0");  // the letters are refused
  EXPECT_EQ(box.currentText(), QString("200"));
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QCoreApplication::sendEvent(box.lineEdit(), &enter);
  ASSERT_EQ(chosen.size(), 1u);
  EXPECT_EQ(area.Mapping().Zoom(), 2000);
  EXPECT_EQ(box.currentText(), QString("200%"));
  emit box.activated(box.findText("Fit All"));
  EXPECT_EQ(chosen.back(), QString("Fit All"));
  EXPECT_EQ(box.currentText(), QString::fromStdString(ZoomText(area.Mapping().Zoom())));
}

TEST_F(DrawingAreaTest, ARulerDragRedrawsOnlyItsShapeOverTheKeptPicture) {
  QWidget* viewport = area.viewport();
  const QImage before = viewport->grab().toImage();
  const int painted = fullPaints;
  ASSERT_GE(painted, 1);
  area.SetTool(TToolMode::Ruler);
  SendMouse(viewport, QEvent::MouseButtonPress, Pixel({100, 100}), Qt::LeftButton, Qt::LeftButton);
  viewport->grab();
  SendMouse(viewport, QEvent::MouseMove, Pixel({900, 700}), Qt::NoButton, Qt::LeftButton);
  EXPECT_NE(viewport->grab().toImage(), before) << "the ruler is drawn";
  SendMouse(viewport, QEvent::MouseButtonRelease, Pixel({900, 700}), Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(viewport->grab().toImage(), before) << "released, the ruler is gone";
  EXPECT_EQ(fullPaints, painted) << "the drag never painted the picture again";
  area.Redraw();
  viewport->grab();
  EXPECT_EQ(fullPaints, painted + 1);
}

TEST(MagnificationDialogTest, LifeSizeStartsAtWholeFiveMillimetresAndOnlyUsableValuesCanBeSet) {
  test::Application();
  TMagnificationDlg dialog(52);
  EXPECT_EQ(dialog.LifeSizeField()->text(), QString("50"));
  ASSERT_TRUE(dialog.Magnification().has_value());
  EXPECT_NEAR(*dialog.Magnification(), 4, 1e-9);
  EXPECT_TRUE(dialog.SetButton()->isEnabled());
  dialog.LifeSizeField()->setText("0");
  EXPECT_FALSE(dialog.SetButton()->isEnabled());
  dialog.LifeSizeField()->setText("abc");
  EXPECT_FALSE(dialog.Magnification().has_value());
}

TEST(LabelHintTest, ThePointerOnALabelShowsItsHintAndVisual) {
  test::TExampleWindow shown(1100, 760);
  TMainWindow& window = shown.Window;
  ASSERT_EQ(window.OpenPatient("Emma Lindqvist"), 3);
  TRadiograph* current = window.Workspace().Current();
  ASSERT_NE(current, nullptr);
  ASSERT_NE(current->CurrentAnalysis, nullptr);
  auto* area = window.findChild<TDrawingArea*>();
  ASSERT_NE(area, nullptr);
  window.grab();  // labels are placed by painting

  // A label of the analysis that was drawn inside the area.
  TXRVariable* label = nullptr;
  QPointF at;
  for (TXRayElement* element : current->CurrentAnalysis->Points) {
    auto* variable = dynamic_cast<TXRVariable*>(element);
    if (variable == nullptr || variable->LabelRect[2] <= variable->LabelRect[0] + 2) continue;
    const auto& r = variable->LabelRect;
    std::optional<TFloatPoint> pixel = area->Mapping().ToPixel({(r[0] + r[2]) / 2.0, (r[1] + r[3]) / 2.0});
    if (!pixel || !area->viewport()->rect().contains(QPoint(static_cast<int>(pixel->X), static_cast<int>(pixel->Y))))
      continue;
    if (LabelAt(*current->CurrentAnalysis, *current, (r[0] + r[2]) / 2, (r[1] + r[3]) / 2) != variable) continue;
    label = variable;
    at = {pixel->X, pixel->Y};
    break;
  }
  ASSERT_NE(label, nullptr);
  SendMouse(area->viewport(), QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(area->Tools().Hovered(), label);
  EXPECT_TRUE(QToolTip::text().startsWith(QString::fromStdString("Name: " + label->Name)))
      << QToolTip::text().toStdString();
  EXPECT_FALSE(QToolTip::text().endsWith('|'));

  // Away from every label, or out of the area, the hint goes; with hints off none comes.
  SendMouse(area->viewport(), QEvent::MouseMove, {2, 2}, Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(area->Tools().Hovered(), nullptr);
  SendMouse(area->viewport(), QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(area->viewport(), &leave);
  EXPECT_EQ(area->Tools().Hovered(), nullptr);
  area->SetMeasurementHints(false);
  SendMouse(area->viewport(), QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(area->Tools().Hovered(), nullptr);
}

TEST(MagnificationToolTest, TheMeasuredRulerSetsTheCurrentRadiographsMagnification) {
  test::TExampleWindow shown(1100, 760);
  TMainWindow& window = shown.Window;
  ASSERT_EQ(window.OpenPatient("Emma Lindqvist"), 3);
  TRadiograph* current = window.Workspace().Current();
  auto* area = window.findChild<TDrawingArea*>();
  ASSERT_NE(area, nullptr);
  window.Command("tools.magnification")->trigger();
  EXPECT_EQ(area->Tools().Mode(), TToolMode::Magnification);

  // 52 mm measured over a 50 mm life size: 4 %.
  test::WhenModal("Magnification", [](QWidget* dialog) {
    auto* magnification = dynamic_cast<TMagnificationDlg*>(dialog);
    ASSERT_NE(magnification, nullptr);
    EXPECT_EQ(magnification->LifeSizeField()->text(), QString("50"));
    magnification->SetButton()->click();
  });
  const TFloatPoint from = area->Mapping().Centre();
  const auto pixel = [&](TFloatPoint tracing) {
    const TFloatPoint p = *area->Mapping().ToPixel(tracing);
    return QPointF(p.X, p.Y);
  };
  SendMouse(area->viewport(), QEvent::MouseButtonPress, pixel(from), Qt::LeftButton, Qt::LeftButton);
  SendMouse(area->viewport(), QEvent::MouseMove, pixel({from.X + 520, from.Y}), Qt::NoButton, Qt::LeftButton);
  SendMouse(area->viewport(), QEvent::MouseButtonRelease, pixel({from.X + 520, from.Y}), Qt::LeftButton,
            Qt::NoButton);
  EXPECT_NEAR(current->Magnification, 4, 0.05);
  EXPECT_TRUE(current->Modified);
}

}  // namespace
}  // namespace lumacet
