// The digitized-point editor's picture of the edge lock: the search line where the point
// stands, and what is drawn for it.
#include "digitize/type_preview.h"

#include <gtest/gtest.h>

#include <cmath>

#include "graphics/recording_canvas.h"
#include "model/kind_codes.h"
#include "model/xray_type.h"

namespace lumacet {
namespace {

TEST(TypePreview, TheSearchLineLiesAlongThePointsEffectiveAngleAndIsDrawnAsTheSettingSays) {
  TXRayType type;
  std::string message;
  auto* p = static_cast<TDigPoint*>(type.AddElement("P", ekDigPoint, message));
  auto* d = static_cast<TDigPoint*>(type.AddElement("D", ekDigPoint, message));
  auto* hidden = static_cast<TDigPoint*>(type.AddElement("H", ekDigPoint, message));
  p->SetXY(100, 100);
  d->SetXY(100, 0);
  p->SearchRange = 50;
  p->CursorOnly = false;
  struct TCase {
    const char* what;
    double angleDegrees;
    TXRayElement* direction;
    TFloatPoint from, to;
  };
  const TCase cases[] = {
      {"absolute, no angle", 0, nullptr, {50, 100}, {150, 100}},
      {"absolute, a quarter turn", 90, nullptr, {100, 50}, {100, 150}},
      // From the first direction point towards the point: the line turned onto that direction.
      {"from a direction point", 0, d, {100, 50}, {100, 150}},
  };
  for (const TCase& c : cases) {
    p->SearchAngle = c.angleDegrees * M_PI / 180;
    p->DirectionPoint1 = c.direction;
    const std::optional<TSearchLine> line = SearchLineOf(*p);
    ASSERT_TRUE(line) << c.what;
    const bool forwards = std::fabs(line->From.X - c.from.X) < 1e-9 && std::fabs(line->From.Y - c.from.Y) < 1e-9;
    const TFloatPoint from = forwards ? c.from : c.to;
    const TFloatPoint to = forwards ? c.to : c.from;
    EXPECT_NEAR(line->From.X, from.X, 1e-9) << c.what;
    EXPECT_NEAR(line->From.Y, from.Y, 1e-9) << c.what;
    EXPECT_NEAR(line->To.X, to.X, 1e-9) << c.what;
    EXPECT_NEAR(line->To.Y, to.Y, 1e-9) << c.what;
  }
  p->DirectionPoint1 = nullptr;
  p->SearchAngle = 0;
  d->SearchRange = 0;
  EXPECT_FALSE(SearchLineOf(*d)) << "no range, no line";
  EXPECT_FALSE(SearchLineOf(*hidden)) << "no position, no line";

  // Rings round the two placed points; an arrow (line and two strokes) in blue, or one dotted line.
  for (bool cursorOnly : {false, true}) {
    p->CursorOnly = cursorOnly;
    TRecordingCanvas canvas;
    DrawPointPreview(canvas, type, p, 0.5);
    int rings = 0;
    int strokes = 0;
    for (const TCanvasCall& call : canvas.Calls) {
      if (call.Kind == TCanvasCallKind::Ellipse) {
        ++rings;
        EXPECT_EQ(call.Box.Right - call.Box.Left, 2) << "2 pixels of half a unit each, to either side";
        EXPECT_EQ(call.Pen.Colour, 0xFFFF00u);
      }
      if (call.Kind == TCanvasCallKind::Polyline) {
        ++strokes;
        EXPECT_EQ(call.Pen.Colour, 0xFF0000u);
        EXPECT_EQ(call.Pen.Style, cursorOnly ? TPenStyle::Dot : TPenStyle::Solid);
      }
    }
    EXPECT_EQ(rings, 2);
    EXPECT_EQ(strokes, cursorOnly ? 1 : 3);
  }
}

}  // namespace
}  // namespace lumacet
