#include "graphics/display.h"

#include <gtest/gtest.h>

namespace lumacet {
namespace {

TDisplayMapping Area(int width, int height) {
  TDisplayMapping display;
  display.SetAreaSize({width, height});
  return display;
}

TEST(DisplayMappingTest, NominalSizeShows337PixelsPerTenCentimetres) {
  TDisplayMapping display = Area(1000, 800);
  EXPECT_EQ(display.WindowExtent(), (TIntSize{2967, 2374}));
  const TFloatPoint a = *display.ToPixel({0, 0});
  const TFloatPoint b = *display.ToPixel({1000, 0});
  EXPECT_NEAR(b.X - a.X, 336.98, 0.005);
  // The window origin is the scroll position: the world's origin at the top-left pixel.
  EXPECT_EQ(a, (TFloatPoint{0, 0}));
}

TEST(DisplayMappingTest, ConversionsRoundTripAtEveryZoom) {
  for (int zoom : {kMinimumZoom, kNominalZoom, kMaximumZoom}) {
    TDisplayMapping display = Area(400, 300);
    display.ZoomCenterInDisplay(zoom, 1500, 1500);
    for (TFloatPoint p : {TFloatPoint{1500, 1500}, TFloatPoint{1234.5, 1402.25}}) {
      const TFloatPoint back = *display.ToTracing(*display.ToPixel(p));
      EXPECT_NEAR(back.X, p.X, 1e-9);
      EXPECT_NEAR(back.Y, p.Y, 1e-9);
    }
    if (zoom < kNominalZoom) continue;  // at 25 % the whole world fits and nothing scrolls
    // The centre of the area shows the point zoomed about, within a unit.
    const TFloatPoint centre = *display.ToTracing({200, 150});
    EXPECT_NEAR(centre.X, 1500, 1) << zoom;
    EXPECT_NEAR(centre.Y, 1500, 1) << zoom;
  }
}

TEST(DisplayMappingTest, ZoomInAndOutStepThroughThePresetsAndStopAtTheEnds) {
  TDisplayMapping display = Area(1000, 800);
  display.ZoomCenterInDisplay(1100, 1500, 1500);
  const TFloatPoint centre = display.Centre();
  display.ZoomIn();
  EXPECT_EQ(display.Zoom(), 1500);
  EXPECT_NEAR(display.Centre().X, centre.X, 1);
  EXPECT_NEAR(display.Centre().Y, centre.Y, 1);
  display.ZoomCenterInDisplay(1100, 1500, 1500);
  display.ZoomOut();
  EXPECT_EQ(display.Zoom(), 1000);

  display.ZoomCenterInDisplay(kMaximumZoom, 1500, 1500);
  display.ZoomIn();
  EXPECT_EQ(display.Zoom(), kMaximumZoom);
  display.ZoomCenterInDisplay(kMinimumZoom, 1500, 1500);
  display.ZoomOut();
  EXPECT_EQ(display.Zoom(), kMinimumZoom);
}

TEST(DisplayMappingTest, ZoomEntriesAreWholePercentFrom25To2000) {
  EXPECT_FALSE(TypedZoom("24"));
  EXPECT_FALSE(TypedZoom("2001"));
  EXPECT_FALSE(TypedZoom(""));
  EXPECT_FALSE(TypedZoom("12.5"));
  EXPECT_FALSE(TypedZoom("-50"));
  EXPECT_EQ(TypedZoom("25"), 250);
  EXPECT_EQ(TypedZoom("2000"), 20000);
  EXPECT_EQ(TypedZoom("150%"), 1500);
  EXPECT_TRUE(ZoomBoxAcceptsKey('7'));
  EXPECT_TRUE(ZoomBoxAcceptsKey('%'));
  EXPECT_TRUE(ZoomBoxAcceptsKey('\b'));
  EXPECT_FALSE(ZoomBoxAcceptsKey('a'));
  EXPECT_FALSE(ZoomBoxAcceptsKey('.'));

  const auto entries = ZoomBoxEntries();
  EXPECT_EQ(entries.front(), "2000%");
  EXPECT_EQ(entries[9], "25%");
  EXPECT_EQ(entries[10], "Fit All");
  EXPECT_EQ(entries[11], "Best Fit");
}

TEST(DisplayMappingTest, ZoomBoxChoicesZoomAboutTheCentre) {
  TDisplayMapping display = Area(1000, 800);
  display.ZoomCenterInDisplay(1000, 1500, 1500);
  display.ChooseZoomBoxEntry("300%", {});
  EXPECT_EQ(display.Zoom(), 3000);
  EXPECT_NEAR(display.Centre().X, 1500, 1);
  // A text that is not a number means 100 %.
  display.ChooseZoomBoxEntry("abc", {});
  EXPECT_EQ(display.Zoom(), 1000);
  display.ChooseZoomBoxEntry("Best Fit", {1000, 1000, 2000, 1400});
  EXPECT_EQ(display.Zoom(), 3000);
  display.ChooseZoomBoxEntry("Fit All", {});
  EXPECT_EQ(display.Zoom(), 799);
}

TEST(DisplayMappingTest, TheWheelZoomsAboutTheCursorAndTheMiddleDragPansWithTheMouse) {
  TDisplayMapping display = Area(1000, 800);
  display.ZoomCenterInDisplay(1000, 1500, 1500);
  const TFloatPoint cursor{200, 600};
  const TFloatPoint under = *display.ToTracing(cursor);
  for (const bool in : {true, true, false}) {
    const int before = display.Zoom();
    display.ZoomStepAbout(cursor, in);
    EXPECT_EQ(display.Zoom() > before, in);
    // Scroll positions are whole tracing units.
    EXPECT_NEAR(display.ToTracing(cursor)->X, under.X, 1.0);
    EXPECT_NEAR(display.ToTracing(cursor)->Y, under.Y, 1.0);
  }

  const TIntPoint pressed = display.Scroll();
  const TFloatPoint grabbed = *display.ToTracing({500, 400});
  display.PanFrom(pressed, {-120, 80});
  EXPECT_NEAR(display.ToTracing({380, 480})->X, grabbed.X, 1.0);
  EXPECT_NEAR(display.ToTracing({380, 480})->Y, grabbed.Y, 1.0);
  display.PanFrom(pressed, {0, 0});
  EXPECT_EQ(display.Scroll(), pressed);
  // The world's edge stops the pan.
  display.PanFrom(pressed, {1e9, 1e9});
  EXPECT_EQ(display.Scroll(), (TIntPoint{0, 0}));
}

TEST(DisplayMappingTest, ZoomRectangleFillsTheTighterSide) {
  TDisplayMapping display = Area(1000, 800);
  display.ZoomRect({1000, 1000, 2000, 1400});
  EXPECT_EQ(display.Zoom(), 3000);
  const TIntPoint first = display.Scroll();
  EXPECT_NEAR(display.Centre().X, 1500, 1);
  EXPECT_NEAR(display.Centre().Y, 1200, 1);

  // A band dragged up and to the left is the same rectangle.
  TDisplayMapping reversed = Area(1000, 800);
  reversed.ZoomRect({2000, 1400, 1000, 1000});
  EXPECT_EQ(reversed.Zoom(), 3000);
  EXPECT_EQ(reversed.Scroll(), first);

  // A tall rectangle: height decides.
  display.ZoomRect({0, 0, 100, 1600});
  EXPECT_EQ(display.Zoom(), 1500);
  // Without width or height nothing happens; far-out zooms are held to the range.
  display.ZoomRect({500, 500, 500, 900});
  EXPECT_EQ(display.Zoom(), 1500);
  display.ZoomRect({0, 0, 10, 10});
  EXPECT_EQ(display.Zoom(), kMaximumZoom);
  display.ZoomRect({0, 0, 30000, 30000});
  EXPECT_EQ(display.Zoom(), kMinimumZoom);
}

TEST(DisplayMappingTest, ZoomToolBandOrClick) {
  TDisplayMapping display = Area(1000, 800);
  display.ZoomToolRelease({1000, 1000, 2000, 1400});
  EXPECT_EQ(display.Zoom(), 3000);
  // A band of 1 x 1 units is a click: one preset in, centred on it.
  display.ZoomCenterInDisplay(1000, 1500, 1500);
  display.ZoomToolRelease({1200, 1300, 1201, 1301});
  EXPECT_EQ(display.Zoom(), 1500);
  EXPECT_NEAR(display.Centre().X, 1200, 1);
  EXPECT_NEAR(display.Centre().Y, 1300, 1);
  display.ZoomOutAt({1200, 1300});
  EXPECT_EQ(display.Zoom(), 1000);
}

TEST(DisplayMappingTest, FitAllShowsTheWorldAndACollapsedAreaChangesNothing) {
  TDisplayMapping display = Area(800, 600);
  display.ZoomCenterInDisplay(3000, 2000, 2000);
  display.FitAll();
  EXPECT_EQ(display.Zoom(), 599);
  EXPECT_EQ(display.Scroll(), (TIntPoint{0, 0}));

  TDisplayMapping collapsed = Area(0, 0);
  collapsed.FitAll();
  collapsed.ZoomRect({0, 0, 100, 100});
  EXPECT_EQ(collapsed.Zoom(), kNominalZoom);
  EXPECT_FALSE(collapsed.Mapping());
  EXPECT_FALSE(collapsed.ToTracing({1, 1}));
  EXPECT_FALSE(Area(1, 500).CanPaint());
}

TEST(DisplayMappingTest, ScrollBarsFollowTheVisibleExtent) {
  TDisplayMapping display = Area(1000, 800);
  // At 25 % the whole world is visible: no scrolling, position 0.
  display.ZoomCenterInDisplay(kMinimumZoom, 2000, 2000);
  EXPECT_FALSE(display.HorizontalBar().Enabled);
  EXPECT_EQ(display.Scroll(), (TIntPoint{0, 0}));
  display.SetScroll({500, 500});
  EXPECT_EQ(display.Scroll(), (TIntPoint{0, 0}));

  display.ZoomCenterInDisplay(2000, 2900, 100);
  const TScrollBar horizontal = display.HorizontalBar();
  EXPECT_TRUE(horizontal.Enabled);
  EXPECT_EQ(horizontal.Page, 1484);
  // Held inside 0 .. 3000 - page.
  EXPECT_EQ(display.Scroll(), (TIntPoint{3000 - 1484, 0}));
  display.SetScroll({-10, 5000});
  EXPECT_EQ(display.Scroll(), (TIntPoint{0, 3000 - display.VerticalBar().Page}));
}

TEST(DisplayMappingTest, RobustCentringScrollsOnlyNearTheEdges) {
  TDisplayMapping display = Area(1000, 800);
  display.ZoomCenterInDisplay(2000, 1500, 1500);
  const TIntSize extent = display.WindowExtent();
  const TIntPoint scroll = display.Scroll();
  EXPECT_FALSE(display.CenterInDisplayRobust(1500 + 0.69 * extent.Width / 2, 1500 - 0.69 * extent.Height / 2));
  EXPECT_EQ(display.Scroll(), scroll);
  EXPECT_TRUE(display.CenterInDisplayRobust(1500 + 0.71 * extent.Width / 2, 1500));
  EXPECT_NEAR(display.Centre().X, 1500 + 0.71 * extent.Width / 2, 1);
  EXPECT_EQ(display.Zoom(), 2000);
}

}  // namespace
}  // namespace lumacet
