#include "graphics/tracing_painter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "common/result_assertions.h"
#include "graphics/display.h"
#include "graphics/recording_canvas.h"
#include "model/xray.h"
#include "model/xray_type.h"
#include "shell/temp_folder.h"

namespace lumacet {
namespace {

using Kind = TCanvasCallKind;
using Points = std::vector<TIntPoint>;

constexpr std::uint32_t kLineColour = 0x123456;

// A radiograph that counts how often its coordinates are loaded.
class TCountingXRay : public TXRay {
 public:
  void LoadCoordinates() override {
    ++Loads;
    TXRay::LoadCoordinates();
  }
  int Loads = 0;
};

// Three radiographs of one type in slots 0..2, slot 1 current. The type draws one line
// P1-P2 and measures its length, labelled at P1. Radiograph i has P1 at (100 i, 0) and P2
// 10 (i + 1) mm below it.
class TracingPainterTest : public ::testing::Test {
 protected:
  TracingPainterTest() {
    type.Name = "Lateral";
    std::string message;
    for (const char* name : {"P1", "P2"}) type.AddElement(name, ekDigPoint, message);
    type.BuildTemplates();
    line = static_cast<TXRGraphic*>(type.AddElement("Line", ekGraphic, message));
    line->Points = {P(1), P(2)};
    line->Colour = kLineColour;
    length = static_cast<TXRVariable*>(type.AddElement("Length", ekVariable, message));
    length->SetKind(3);
    length->SetOperand(0, P(1));
    length->SetOperand(1, P(2));
    length->Anchor = P(1);
    auto* analysis = static_cast<TXRAnalysis*>(type.AddElement("Main", ekAnalysis, message));
    analysis->Points = {length};
    for (int i = 0; i < 3; ++i) {
      auto& xray = *radiographs.emplace_back(std::make_unique<TCountingXRay>());
      xray.SetType(&type);
      xray.Coordinates[0]->SetXY(100.0 * i, 0);
      xray.Coordinates[1]->SetXY(100.0 * i, 100.0 * (i + 1));
      scene.Slots.push_back(&xray);
    }
    scene.Current = 1;
    options.GridShown = false;
    options.Labels.Outline = false;
  }

  TXRayElement* P(int n) const { return type.FindElement("P" + std::to_string(n), ekDigPoint); }
  TCountingXRay& Slot(int i) { return *radiographs[static_cast<std::size_t>(i)]; }

  std::vector<TCanvasCall> Paint() {
    TRecordingCanvas canvas;
    DrawTracings(canvas, scene, options);
    return canvas.Calls;
  }
  // The lines drawn, by the x where they stand (which radiograph), with their pens.
  std::vector<std::pair<int, std::uint32_t>> Lines(const std::vector<TCanvasCall>& calls) {
    std::vector<std::pair<int, std::uint32_t>> lines;
    for (const TCanvasCall& call : calls)
      if (call.Kind == Kind::Polyline) lines.emplace_back(call.Points[0].X, call.Pen.Colour);
    return lines;
  }
  std::vector<std::string> Texts(const std::vector<TCanvasCall>& calls) {
    std::vector<std::string> texts;
    for (const TCanvasCall& call : calls)
      if (call.Kind == Kind::Text) texts.push_back(call.Text);
    return texts;
  }

  TXRayType type;
  TXRGraphic* line = nullptr;
  TXRVariable* length = nullptr;
  std::vector<std::unique_ptr<TCountingXRay>> radiographs;
  TDisplayScene scene;
  TDisplayOptions options;
};

using Drawn = std::vector<std::pair<int, std::uint32_t>>;

TEST_F(TracingPainterTest, OthersFromTheLastSlotThenTheCurrentWithItsAnalysis) {
  const std::vector<TCanvasCall> calls = Paint();
  EXPECT_EQ(Lines(calls), (Drawn{{200, kLineColour}, {0, kLineColour}, {100, kLineColour}}));
  // Only the current radiograph's analysis, measured on its own coordinates.
  EXPECT_THAT(Texts(calls), ::testing::ElementsAre("20"));
  EXPECT_EQ(calls.back().Points[0], (TIntPoint{110, -10}));
  // Its coordinates stay loaded.
  EXPECT_EQ(static_cast<TXRPoint*>(P(2))->GetY(), 200);
}

TEST_F(TracingPainterTest, DrawingStylesChooseThePens) {
  const auto& pens = options.PositionPens;
  options.DrawingStyle = kStyleByPosition;
  EXPECT_EQ(Lines(Paint()), (Drawn{{200, pens[2].Colour}, {0, pens[0].Colour}, {100, pens[1].Colour}}));
  options.DrawingStyle = kStyleCurrentAsDefined;
  EXPECT_EQ(Lines(Paint()), (Drawn{{200, pens[2].Colour}, {0, pens[0].Colour}, {100, kLineColour}}));
}

TEST_F(TracingPainterTest, HiddenRadiographsAndEditedAnalysesAreLeftOut) {
  Slot(2).Visible = false;
  options.AnalysisMode = kAnalysisAll;
  std::vector<TCanvasCall> calls = Paint();
  EXPECT_EQ(Lines(calls), (Drawn{{0, kLineColour}, {100, kLineColour}}));
  EXPECT_THAT(Texts(calls), ::testing::ElementsAre("10", "20"));
  scene.EditedAnalysisType = &type;
  EXPECT_THAT(Texts(Paint()), ::testing::IsEmpty());
  scene.EditedAnalysisType = nullptr;
  options.AnalysisShown = false;
  EXPECT_THAT(Texts(Paint()), ::testing::IsEmpty());
}

TEST_F(TracingPainterTest, ComparativeLabelsLoadEachRadiographOncePerPaint) {
  options.AnalysisMode = kAnalysisComparative;
  std::vector<TCanvasCall> calls = Paint();
  // The current value, then the others in slot order.
  EXPECT_THAT(Texts(calls), ::testing::ElementsAre("20", " | ", "10", " | ", "30"));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Slot(i).Loads, 1) << i;

  // Only radiographs of a type of the same name are compared.
  TXRayType other;
  other.Name = "Frontal";
  TCountingXRay stranger;
  stranger.SetType(&other);
  scene.Slots.push_back(&stranger);
  EXPECT_THAT(Texts(Paint()), ::testing::ElementsAre("20", " | ", "10", " | ", "30"));
}

TEST_F(TracingPainterTest, ViewsFilterTheTracingAndShowTheirOnDemandDrawings) {
  std::string message;
  auto* hidden = static_cast<TXRGraphic*>(type.AddElement("Hidden", ekGraphic, message));
  hidden->Points = {P(2), P(1)};
  hidden->DrawOption = 1;
  auto* view = static_cast<TXRView*>(type.AddElement("Only hidden", ekView, message));
  view->Points = {hidden};
  scene.Slots = {&Slot(0)};
  scene.Current = 0;
  EXPECT_EQ(Lines(Paint()), (Drawn{{0, kLineColour}}));
  Slot(0).SelectView("Only hidden");
  const std::vector<TCanvasCall> calls = Paint();
  ASSERT_EQ(Lines(calls).size(), 1u);
  EXPECT_EQ(calls[0].Points, (Points{{0, 100}, {0, 0}}));
  EXPECT_THAT(Texts(calls), ::testing::IsEmpty());
  EXPECT_EQ(hidden->DrawOption, 1);
  Slot(0).SelectView("<none>");
  EXPECT_TRUE(Paint().empty());
}

TEST_F(TracingPainterTest, PaintingLeavesTheModelAsItWas) {
  test::TTempFolder folder;
  line->DrawOption = 1;
  auto* analysis = static_cast<TXRAnalysis*>(type.FindElement("Main", ekAnalysis));
  analysis->Graphics = {line};
  auto snapshot = [&](const std::string& name) {
    Slot(1).LoadCoordinates();
    EXPECT_TRUE(test::Succeeded(type.SaveToTypeFile(folder.File(name))));
    std::string state = test::ReadBytes(folder.File(name));
    for (const auto& xray : radiographs) {
      for (const auto& point : xray->Coordinates) state += " " + std::to_string(point->RawX()) + "," +
                                                             std::to_string(point->RawY()) +
                                                             (point->IsValid() ? "v" : "i");
      state += xray->Visible ? " shown" : " hidden";
    }
    return state;
  };
  for (int mode : {kAnalysisCurrentOnly, kAnalysisComparative, kAnalysisAll}) {
    const std::string before = snapshot("before.lcr");
    options.AnalysisMode = mode;
    TRecordingCanvas canvas;
    DrawDisplay(canvas, scene, options);
    EXPECT_EQ(snapshot("after.lcr"), before) << mode;
    EXPECT_EQ(line->DrawOption, 1);
    EXPECT_EQ(length->LabelRect, (std::array<int, 4>{}));
  }
  // The screen keeps label rectangles for hit tests; nothing else changes.
  options.Labels.StoreRectangles = true;
  TRecordingCanvas canvas;
  DrawDisplay(canvas, scene, options);
  EXPECT_NE(length->LabelRect, (std::array<int, 4>{}));
}

TEST_F(TracingPainterTest, TheDisplayInItsOrder) {
  std::vector<std::string> order;
  auto mark = [&order](const char* name) { return [&order, name](TCanvas&) { order.push_back(name); }; };
  scene.Images = mark("images");
  scene.MovementPreview = mark("preview");
  scene.SelectionHandles = mark("handles");
  scene.ImageToolHandles = mark("image tool");
  scene.PageOutlines = {TIntRect{0, 0, 100, 100}, std::nullopt, TIntRect{10, 10, 50, 50}};
  scene.PlacedPage = 2;
  scene.RotationCentre = TFloatPoint{500, 500};
  TProtractor protractor;
  protractor.First = TIntSegment{{0, 0}, {100, 0}};
  scene.Protractor = &protractor;
  Slot(1).Selection = {P(2)};
  options.GridShown = true;
  options.GridDensity = 20;
  options.MarkerSizeInScreenPixels = true;

  // 1000 x 750 pixels at 200 %, scrolled to (100, 200).
  TDisplayMapping display;
  display.SetAreaSize({1000, 750});
  display.ZoomCenterInDisplay(2000, 100 + 1484 / 2.0, 200 + 1113 / 2.0);
  ASSERT_EQ(display.Scroll(), (TIntPoint{100, 200}));
  TRecordingCanvas canvas({1000, 750});
  canvas.SetMapping(*display.Mapping());
  std::vector<std::size_t> hookAt;
  for (TPaintHook* hook : {&scene.Images, &scene.MovementPreview, &scene.SelectionHandles, &scene.ImageToolHandles}) {
    *hook = [&, inner = *hook](TCanvas& c) {
      inner(c);
      hookAt.push_back(canvas.Calls.size());
    };
  }
  DrawDisplay(canvas, scene, options);
  const std::vector<TCanvasCall>& calls = canvas.Calls;
  EXPECT_THAT(order, ::testing::ElementsAre("images", "preview", "handles", "image tool"));

  // White over the visible area, 1484 by 1113 units from the scroll position, and a unit
  // more on every side.
  ASSERT_GE(calls.size(), 1u);
  EXPECT_EQ(calls[0].Kind, Kind::Rectangle);
  EXPECT_EQ(calls[0].Box, (TIntRect{99, 199, 1585, 1314}));
  EXPECT_EQ(calls[0].Brush, (TBrush{0xFFFFFF, TBrushStyle::Solid}));
  EXPECT_EQ(calls[0].Pen.Style, TPenStyle::Clear);
  EXPECT_EQ(hookAt[0], 1u);  // the images right after it

  // Grid lines every 200 units across the world: 16 each way.
  std::size_t i = 1;
  for (int at = 0; at <= 3000; at += 200, i += 2) {
    EXPECT_EQ(calls[i].Points, (Points{{at, 0}, {at, 3000}}));
    EXPECT_EQ(calls[i + 1].Points, (Points{{0, at}, {3000, at}}));
    EXPECT_EQ(calls[i].Pen, (TPen{0x808080, TPenStyle::Dot, 0}));
  }
  // Page outlines: dashed, then (placed, 10 wide) dash-dot-dot.
  EXPECT_EQ(calls[i].Box, (TIntRect{0, 0, 100, 100}));
  EXPECT_EQ(calls[i].Pen, (TPen{0x808080, TPenStyle::Dash, 0}));
  EXPECT_EQ(calls[i + 1].Pen, (TPen{0x808080, TPenStyle::DashDotDot, 10}));
  i += 2;
  // Tracings: slot 2, slot 0, the preview, slot 1 with its label in the label font.
  EXPECT_EQ(calls[i].Points[0].X, 200);
  EXPECT_EQ(calls[i + 1].Points[0].X, 0);
  EXPECT_EQ(hookAt[1], i + 2);
  EXPECT_EQ(calls[i + 2].Points[0].X, 100);
  EXPECT_EQ(calls[i + 3].Kind, Kind::Text);
  EXPECT_EQ(calls[i + 3].Font, options.Labels.Font);
  // The selection marker at P2 (100, 200): 4 screen pixels each way, 5.94 units.
  EXPECT_EQ(calls[i + 4].Kind, Kind::Rectangle);
  EXPECT_EQ(calls[i + 4].Box, (TIntRect{94, 194, 106, 206}));
  EXPECT_EQ(calls[i + 4].Brush, (TBrush{0x0000FF, TBrushStyle::Solid}));
  EXPECT_EQ(hookAt[2], i + 5);
  // The rotation centre: a cross 4 mm each way and a 2 mm circle, in grey.
  EXPECT_EQ(calls[i + 5].Points, (Points{{460, 500}, {540, 500}}));
  EXPECT_EQ(calls[i + 6].Points, (Points{{500, 460}, {500, 540}}));
  EXPECT_EQ(calls[i + 7].Box, (TIntRect{480, 480, 520, 520}));
  EXPECT_EQ(calls[i + 7].Pen.Colour, 0x808080u);
  EXPECT_EQ(hookAt[3], i + 8);
  // Last, the protractor's line.
  EXPECT_EQ(calls[i + 8].Points, (Points{{0, 0}, {100, 0}}));
  EXPECT_EQ(calls.size(), i + 9);
  // Every call went through the display's mapping.
  EXPECT_TRUE(std::all_of(calls.begin(), calls.end(), [&](const TCanvasCall& c) { return c.Mapping == *display.Mapping(); }));
}

TEST_F(TracingPainterTest, NoGridBelowTwoMillimetres) {
  TRecordingCanvas canvas;
  DrawGrid(canvas, 1, 0);
  EXPECT_TRUE(canvas.Calls.empty());
  DrawGrid(canvas, 2, 0);
  EXPECT_EQ(canvas.Calls.size(), 2u * 151u);
}

}  // namespace
}  // namespace lumacet
