#include "graphics/print_pages.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "graphics/recording_canvas.h"

namespace lumacet {
namespace {

using Kind = TCanvasCallKind;

// A4 at 300 dpi, as the page dialogs assume without a printer: 2480 x 3508 dots.
const TPaper kA4 = MakePaper(TPaperKind::A4, true, 300);
const TPageCodeValues kSmith{"Smith", "", "", "", "12:3"};

std::vector<TCanvasCall> Of(const TRecordingCanvas& canvas, Kind kind) {
  std::vector<TCanvasCall> calls;
  std::copy_if(canvas.Calls.begin(), canvas.Calls.end(), std::back_inserter(calls),
               [&](const TCanvasCall& call) { return call.Kind == kind; });
  return calls;
}

// Texts drawn on each sheet, sheets split at the page breaks.
std::vector<std::vector<std::string>> Sheets(const TRecordingCanvas& canvas) {
  std::vector<std::vector<std::string>> sheets(1);
  for (const TCanvasCall& call : canvas.Calls) {
    if (call.Kind == Kind::NewPage) sheets.emplace_back();
    if (call.Kind == Kind::Text) sheets.back().push_back(call.Text);
  }
  return sheets;
}

TEST(PrintAreas, ExtentsAreInchesAtTheZoom) {
  EXPECT_EQ(PrintAreaExtent(7, 10, 2), (TIntSize{889, 1270}));
  EXPECT_EQ(PrintAreaExtent(4, 4, 1), (TIntSize{1016, 1016}));
  EXPECT_EQ(PrintAreaExtent(4, 4, 0), (TIntSize{}));
}

TEST(TextPages, TheTracingBoxTakesItsPlaceAndMovesTheFirstPagesText) {
  TPrintSettings print;
  print.TracingShow = true;
  print.TracingWidth = 2;
  print.TracingHeight = 1;
  const TPageFrame frame = *PageFrame(kA4, {0.4, 1, 0.4, 1, 0.4, 0.4});  // block 120..2360 x 300..3208
  struct TCase {
    int Position;
    TIntRect Box;
    TIntRect FirstText;
  };
  for (const TCase& c : {TCase{0, {120, 300, 720, 600}, {120, 600, 2360, 3208}},
                         TCase{4, {940, 1604, 1540, 1904}, {120, 300, 2360, 3208}},
                         TCase{3, {120, 1604, 720, 1904}, {720, 300, 2360, 3208}},
                         TCase{5, {1760, 1604, 2360, 1904}, {120, 300, 1760, 3208}},
                         TCase{8, {1760, 2908, 2360, 3208}, {120, 300, 2360, 3208}}}) {
    SCOPED_TRACE(c.Position);
    print.TracingPosition = c.Position;
    EXPECT_EQ(TextTracingBox(frame, print), c.Box);
    EXPECT_EQ(TextRectangle(frame, print, true), c.FirstText);
    EXPECT_EQ(TextRectangle(frame, print, false), (TIntRect{120, 300, 2360, 3208}));
  }
  print.TracingPosition = 3;
  print.TracingOverlap = true;
  EXPECT_EQ(TextRectangle(frame, print, true), (TIntRect{120, 300, 2360, 3208}));
}

TEST(TextPages, LinesRunOntoSheetsWithTheirHeadersAndABottomBoxThatDoesNotFitMoves) {
  TTextPages pages;
  pages.Codes = kSmith;
  pages.Print.PageHeader = "@n (@a)";
  pages.Print.PageFooter = "Page: @p";
  for (int i = 0; i < 150; ++i) pages.Lines.push_back({"SNA:\t" + std::to_string(i) + "\tmean", 1, 0});
  TRecordingCanvas canvas(kA4.Dots);
  const TResultOf<int> sheets = DrawTextPages(canvas, kA4, pages);
  ASSERT_TRUE(sheets);
  ASSERT_GE(*sheets, 3);
  const auto texts = Sheets(canvas);
  ASSERT_EQ(texts.size(), static_cast<std::size_t>(*sheets));
  EXPECT_EQ(texts[2][0], "Smith (12:3)");
  EXPECT_EQ(texts[2][1], "Page: 3");
  // The fields stand at the tab stops, the right edges of the layout's columns.
  const std::vector<TCanvasCall> drawn = Of(canvas, Kind::Text);
  const auto value = std::find_if(drawn.begin(), drawn.end(), [](const TCanvasCall& c) { return c.Text == "mean"; });
  ASSERT_NE(value, drawn.end());
  EXPECT_EQ(value->Points.front().X, 120 + 2083);  // (200 + 300) points at 300 dpi from the left margin

  // A bottom-row box below text that ends near the bottom goes onto a sheet of its own.
  pages.Print.TracingShow = true;
  pages.Print.TracingPosition = 7;
  pages.Print.TracingHeight = 8;
  pages.Lines.resize(20);
  canvas.Calls.clear();
  ASSERT_EQ(*DrawTextPages(canvas, kA4, pages), 2);
  const auto boxes = Of(canvas, Kind::Polyline);  // the grid of the box
  ASSERT_FALSE(boxes.empty());
  EXPECT_EQ(boxes.front().Clip->Top, 300);
  EXPECT_EQ(Sheets(canvas)[1], (std::vector<std::string>{"Smith (12:3)", "Page: 2"}));
}

TEST(PrintPages, TheTracingPageFramesItsTracingAndBadSettingsAreRefused) {
  TTracingPage page;
  page.Codes = kSmith;
  page.Print.TracingHeader = "@n";
  page.Print.TracingPortrait = true;
  TRecordingCanvas canvas(kA4.Dots);
  ASSERT_TRUE(DrawTracingPage(canvas, kA4, page));
  const auto lines = Of(canvas, Kind::Polyline);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(*lines.front().Clip, (TIntRect{150, 150, 2330, 3358}));  // half an inch all round
  EXPECT_EQ(Of(canvas, Kind::Text).front().Text, "Smith");
  for (auto spoil : {+[](TPrintSettings& p) { p.TracingZoom = 0; }, +[](TPrintSettings& p) { p.TracingZoom = -2; },
                     +[](TPrintSettings& p) { p.TracingLeftMargin = 8; }, +[](TPrintSettings& p) { p.TracingFooter = "@z"; }}) {
    TTracingPage bad = page;
    spoil(bad.Print);
    canvas.Calls.clear();
    EXPECT_FALSE(DrawTracingPage(canvas, kA4, bad));
    EXPECT_TRUE(canvas.Calls.empty());
  }
  TTextPages text;
  text.Print.LeftMargin = 5;
  text.Print.RightMargin = 4;
  EXPECT_EQ(DrawTextPages(canvas, kA4, text).Text(), TText(kMarginsTooLargeMessage));
}

}  // namespace
}  // namespace lumacet
