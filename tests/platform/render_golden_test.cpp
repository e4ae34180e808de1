// The display's painting through QPainter, compared with golden pictures that were looked
// at: drawings of every family, outlined labels over an image-dark ground, the measuring
// tools, and two tracings of the example type.
#include <gtest/gtest.h>

#include <QImage>

#include "common/result_assertions.h"
#include "graphics/tracing_painter.h"
#include "model/kind_codes.h"
#include "platform/gui_application.h"
#include "platform/qpainter_canvas.h"
#include "platform/render_test_support.h"
#include "shell/settings_options.h"

namespace lumacet {
namespace {

class RenderGoldenTest : public ::testing::Test {
 protected:
  void SetUp() override { test::EnsureGuiApplication(); }

  QImage Paint(TIntSize size, TFloatPoint origin, double scale, const TPaintRoutine& paint) {
    QImage image;
    const TPaintResult result = PaintImage(size, kColourWhite, [&](TCanvas& canvas) {
      canvas.SetMapping(*TIsotropicMapping::FromScale(origin, scale));
      paint(canvas);
    }, image);
    EXPECT_TRUE(result.Ok) << result.Error;
    return image;
  }
};

TEST_F(RenderGoldenTest, DrawingsAndOutlinedLabels) {
  TXRayType type;
  type.Name = "Shapes";
  std::string message;
  const std::vector<std::pair<double, double>> at = {{100, 100}, {500, 150}, {300, 560}, {700, 450}, {620, 250},
                                                     {180, 380}, {400, 330}, {820, 640}, {790, 300}};
  for (std::size_t i = 0; i < at.size(); ++i) type.AddElement("P" + std::to_string(i + 1), ekDigPoint, message);
  type.BuildTemplates();
  auto point = [&](int n) { return type.FindElement("P" + std::to_string(n), ekDigPoint); };
  auto graphic = [&](const std::string& name, TGraphicKind kind, std::vector<int> points, std::uint32_t colour) {
    auto* g = static_cast<TXRGraphic*>(type.AddElement(name, ekGraphic, message));
    g->SetKind(KindNumber(kind));
    for (int n : points) g->Points.push_back(point(n));
    g->Colour = colour;
    return g;
  };
  graphic("Outline", TGraphicKind::SplineClosed, {1, 6, 3, 7}, 0xFF0000)->BrushStyle = 7;
  graphic("Base", TGraphicKind::Line, {1, 2}, 0x0000FF)->LineWidth = 3;
  TXRGraphic* pie = graphic("Pie", TGraphicKind::Pie, {2, 7, 4}, 0x008000);
  pie->BrushStyle = 0;
  pie->Size = 90;
  TXRGraphic* markers = graphic("Markers", TGraphicKind::Markers, {1, 2, 3, 4, 5, 6, 7}, 0x000000);
  markers->MarkerShape = 2;
  markers->Size = 12;
  graphic("Incisor", TGraphicKind::UpperIncisor, {8, 9}, 0x800080);
  auto* angle = static_cast<TXRVariable*>(type.AddElement("Angle", ekVariable, message));
  angle->SetKind(1);
  for (int slot = 0; slot < 4; ++slot) angle->SetOperand(slot, point(slot + 1));
  angle->Anchor = point(5);
  angle->ShowName = true;
  angle->TextAfter = "\u00B0";
  angle->FemaleNormals = angle->MaleNormals = {{0, 99, 20, 4}};
  auto* analysis = static_cast<TXRAnalysis*>(type.AddElement("Main", ekAnalysis, message));
  analysis->Points = {angle};

  TXRay xray;
  xray.SetType(&type);
  xray.DateOfBirth = DayNumber(2000, 1, 1);
  xray.DateTaken = DayNumber(2012, 1, 1);
  for (std::size_t i = 0; i < at.size(); ++i) xray.Coordinates[i]->SetXY(at[i].first, at[i].second);
  TDisplayScene scene;
  scene.Slots = {&xray};
  scene.Current = 0;
  // A dark patch where an image would lie, so that the labels' outline shows.
  scene.Images = [](TCanvas& canvas) {
    canvas.SetPen({0, TPenStyle::Clear, 0});
    canvas.SetBrush({0x404040, TBrushStyle::Solid});
    canvas.Rectangle({450, 150, 900, 400});
  };
  TMeasuring measuring;
  TDisplayOptions options = DisplayOptions(TSettings::Defaults("."), measuring);
  options.GridDensity = 10;
  const QImage image = Paint({450, 350}, {0, 0}, 0.5, [&](TCanvas& canvas) { DrawDisplay(canvas, scene, options); });
  test::ExpectGolden(image, "drawings_and_labels");
}

TEST_F(RenderGoldenTest, MeasuringTools) {
  const QImage image = Paint({300, 200}, {0, 0}, 1, [](TCanvas& canvas) {
    TRuler ruler{{20, 150}, {200, 40}};
    ruler.MagnificationTool = true;
    ruler.ReadOutPlace = 1;
    DrawRuler(canvas, ruler, {0x0000FF, true}, '.');
    TProtractor protractor;
    protractor.First = TIntSegment{{160, 180}, {290, 180}};
    protractor.Second = TIntSegment{{160, 180}, {250, 110}};
    protractor.ReadOutPlace = 2;
    DrawProtractor(canvas, protractor, {0x008000, false}, '.');
  });
  test::ExpectGolden(image, "measuring_tools");
}

TEST_F(RenderGoldenTest, TwoTracingsOfTheExampleType) {
  TXRayType type;
  ASSERT_TRUE(test::Succeeded(type.LoadFromTypeFile(test::kExampleType)));
  std::vector<std::unique_ptr<TXRay>> radiographs;
  TDisplayScene scene;
  for (double scale : {1.0, 1.08}) {
    auto& xray = *radiographs.emplace_back(std::make_unique<TXRay>());
    xray.SetType(&type);
    xray.Female = true;
    xray.DateOfBirth = DayNumber(2000, 1, 1);
    xray.DateTaken = DayNumber(2012, 1, 1);
    for (std::size_t i = 0; i < xray.Coordinates.size(); ++i) {
      const TXRPoint& p = *type.TemplatePoints[i];
      xray.Coordinates[i]->SetXY(600 + (p.RawX() - 600) * scale, 800 + (p.RawY() - 800) * scale);
    }
    scene.Slots.push_back(&xray);
  }
  scene.Current = 0;
  TSettings settings = TSettings::Defaults(".");
  settings.General.AnalysisMode = kAnalysisComparative;
  settings.Radiograph.DrawingStyle = kStyleCurrentAsDefined;
  TMeasuring measuring;
  const TDisplayOptions options = DisplayOptions(settings, measuring);
  const TIntRect bounds = radiographs.back()->TracingBounds();
  const double scale = 0.3;
  const QImage image = Paint({RoundSaturated((bounds.Right - bounds.Left) * scale),
                              RoundSaturated((bounds.Bottom - bounds.Top) * scale)},
                             {static_cast<double>(bounds.Left), static_cast<double>(bounds.Top)}, scale,
                             [&](TCanvas& canvas) { DrawDisplay(canvas, scene, options); });
  test::ExpectGolden(image, "example_tracings");
}

}  // namespace
}  // namespace lumacet
