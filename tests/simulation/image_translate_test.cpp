// The Image Translate tool: resizing from every handle with and without Ctrl, moving and
// turning with the lock taking the tracing along, Esc putting everything back exactly, the
// arrow keys, the double click, and where the handles stand.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "model/kind_codes.h"
#include "population/population_fixture.h"
#include "simulation/image_translate.h"

namespace lumacet {
namespace {

using test::PointType;
using test::Radiograph;

// A 100 x 50 image at (10, 20) with pixels 2 units wide and 3 high, under a two-point tracing.
struct TPlacedImage {
  TPlacedImage() {
    xray->Image.Display.Resize(100, 50);
    xray->PixelWidth = 2;
    xray->PixelHeight = 3;
    xray->ImageOriginX = 10;
    xray->ImageOriginY = 20;
  }
  TFloatPoint At(const char* name) {
    const TLoadedRadiograph loaded = xray->Load();
    return loaded.Position(type->FindElement(name, ekDigPoint)).value_or(TFloatPoint{NAN, NAN});
  }
  std::unique_ptr<TXRayType> type = PointType("T", {"A", "B"});
  std::unique_ptr<TXRay> xray = Radiograph(*type, "X", {{{100, 200}}, {{300, 260}}});
};

struct TImageTranslateTest : ::testing::Test, TPlacedImage {};

TEST_F(TImageTranslateTest, HandlesResizeFromTheOppositeSideAndRefuseSizesThatAreNotPositive) {
  using enum TImageHandle;
  struct TCase {
    const char* What;
    TImageHandle Handle;
    bool Ctrl;
    TFloatPoint To;  // from a press at (0, 0)
    double PixelWidth, PixelHeight, OriginX, OriginY;
  };
  const TCase cases[] = {
      {"right side by the image's width doubles pw", Right, false, {200, 0}, 4, 3, 10, 20},
      {"left side by the width would make pw 0: the halfway size stays", Left, false, {200, 0}, 1, 3, 110, 20},
      {"top side beyond the height: nothing at all", Top, false, {0, 400}, 2, 3, 10, 20},
      {"left side outwards keeps the right edge", Left, false, {-100, 0}, 3, 3, -90, 20},
      {"top side outwards keeps the bottom edge", Top, false, {0, -30}, 2, 3.6, 10, -10},
      {"bottom side", Bottom, false, {0, 150}, 2, 6, 10, 20},
      {"a proportional corner takes the smaller size both ways", BottomRight, false, {100, 150}, 3, 3, 10, 20},
      {"Ctrl frees the corner", BottomRight, true, {100, 150}, 3, 6, 10, 20},
      {"top-left proportional keeps the bottom-right corner", TopLeft, false, {-100, -150}, 3, 3, -90, 20},
      {"top-left with Ctrl", TopLeft, true, {-100, -150}, 3, 6, -90, -130},
      {"bottom-left with Ctrl", BottomLeft, true, {-100, 150}, 3, 6, -90, 20},
      {"top-right proportional", TopRight, false, {100, -150}, 3, 3, 10, 20},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    TPlacedImage fresh;
    TImageTranslateTool tool;
    tool.Begin(*fresh.xray, c.Handle, {0, 0}, {0, 0});
    tool.Step(*fresh.xray, {c.To.X / 2, c.To.Y / 2}, c.Ctrl, false);
    tool.Step(*fresh.xray, c.To, c.Ctrl, false);
    EXPECT_DOUBLE_EQ(fresh.xray->PixelWidth, c.PixelWidth);
    EXPECT_DOUBLE_EQ(fresh.xray->PixelHeight, c.PixelHeight);
    EXPECT_NEAR(fresh.xray->ImageOriginX, c.OriginX, 1e-9);
    EXPECT_NEAR(fresh.xray->ImageOriginY, c.OriginY, 1e-9);
    tool.End(*fresh.xray);
    const bool changed = c.PixelWidth != 2 || c.PixelHeight != 3 || c.OriginX != 10 || c.OriginY != 20;
    const auto& history = fresh.xray->ChangeHistory;
    EXPECT_EQ(!history.empty() && history.back() == "Image Resized.", changed);
    EXPECT_EQ(fresh.At("A").X, 100) << "resizing never moves the tracing";
  }
}

TEST_F(TImageTranslateTest, MovingAndTurningUnderTheLockTakeTheTracingAndEscPutsEverythingBack) {
  for (const bool locked : {false, true}) {
    SCOPED_TRACE(locked ? "locked" : "unlocked");
    TPlacedImage fresh;
    TRadiograph& r = *fresh.xray;
    TImageTranslateTool tool;
    tool.Begin(r, TImageHandle::Body, {50, 50}, {0, 0});
    EXPECT_TRUE(tool.Step(r, {53, 54}, false, locked));
    EXPECT_TRUE(tool.Step(r, {55, 57}, false, locked));
    EXPECT_DOUBLE_EQ(r.ImageOriginX, 15);
    EXPECT_DOUBLE_EQ(r.ImageOriginY, 27);
    EXPECT_NEAR(fresh.At("A").X, locked ? 105 : 100, 1e-9);
    EXPECT_EQ(tool.Status(r, '.'), " dx: -5 dy: -7 angle: 0");
    tool.Cancel(r, locked);
    EXPECT_DOUBLE_EQ(r.ImageOriginX, 10);
    EXPECT_NEAR(fresh.At("A").X, 100, 1e-9);
    EXPECT_TRUE(r.ChangeHistory.empty() || r.ChangeHistory.back() != "Image Repositioned.");

    // A quarter turn of the pointer about the centre turns the image with it.
    const TFloatPoint centre{110, 95};
    tool.Begin(r, TImageHandle::TurnBottomRight, {210, 95}, centre);
    EXPECT_TRUE(tool.Step(r, {110, 195}, false, locked));
    EXPECT_NEAR(r.ImageRotation, std::numbers::pi / 2, 1e-9);
    EXPECT_NEAR(r.ImageOriginX, 110 + 75, 1e-9);  // (10, 20) turned about the centre
    EXPECT_NEAR(r.ImageOriginY, 95 - 100, 1e-9);
    const TFloatPoint a = fresh.At("A");
    EXPECT_NEAR(a.X, locked ? 110 - 105 : 100, 1e-9);
    EXPECT_NEAR(a.Y, locked ? 95 - 10 : 200, 1e-9);
    tool.Cancel(r, locked);
    EXPECT_DOUBLE_EQ(r.ImageRotation, 0);
    EXPECT_DOUBLE_EQ(r.ImageOriginX, 10);
    EXPECT_DOUBLE_EQ(r.ImageOriginY, 20);
    EXPECT_NEAR(fresh.At("A").X, 100, 1e-9);
    EXPECT_NEAR(fresh.At("A").Y, 200, 1e-9);

    tool.Begin(r, TImageHandle::TurnTopLeft, {210, 95}, centre);
    tool.Step(r, {110, 195}, false, locked);
    tool.End(r);
    EXPECT_EQ(r.ChangeHistory.back(), "Image Repositioned.");
  }
}

TEST_F(TImageTranslateTest, TheCentreHandleMovesOnlyTheCentreAndRecordsNothing) {
  TImageTranslateTool tool;
  const size_t history = xray->ChangeHistory.size();
  tool.Begin(*xray, TImageHandle::Centre, {0, 0}, {0, 0});
  tool.Step(*xray, {40, 60}, false, true);
  EXPECT_EQ(tool.Status(*xray, ','), " x: 4 y: 6");
  const TFloatPoint centre = tool.End(*xray);
  EXPECT_EQ(centre.X, 40);
  EXPECT_EQ(centre.Y, 60);
  EXPECT_EQ(xray->ImageOriginX, 10);
  EXPECT_EQ(xray->ChangeHistory.size(), history);
}

TEST_F(TImageTranslateTest, ArrowKeysAndDoubleClicksFollowTheHandleUnderThePointer) {
  TFloatPoint centre{10, 20};
  EXPECT_TRUE(ImageArrowKey(*xray, TImageHandle::Body, TArrowKey::Left, false, true, true, centre));
  EXPECT_DOUBLE_EQ(xray->ImageOriginX, -90);
  EXPECT_NEAR(At("A").X, 0, 1e-9) << "the lock takes the tracing along";
  EXPECT_TRUE(ImageArrowKey(*xray, TImageHandle::Body, TArrowKey::Down, true, false, false, centre));
  EXPECT_DOUBLE_EQ(xray->ImageOriginY, 21);
  EXPECT_TRUE(ImageArrowKey(*xray, TImageHandle::TurnTopRight, TArrowKey::Right, false, false, false, centre));
  EXPECT_NEAR(xray->ImageRotation, std::numbers::pi / 180, 1e-12);
  EXPECT_FALSE(ImageArrowKey(*xray, TImageHandle::Left, TArrowKey::Right, false, false, false, centre));

  ResetImagePlace(*xray, TImageHandle::TurnTopRight, false, centre);
  EXPECT_NEAR(xray->ImageRotation, 0, 1e-12);
  ResetImagePlace(*xray, TImageHandle::Bottom, false, centre);
  EXPECT_NEAR(xray->ImageOriginX, 0, 1e-9);
  EXPECT_NEAR(xray->ImageOriginY, 0, 1e-9);
  EXPECT_EQ(xray->ChangeHistory.back(), "Image Repositioned.");
  ResetImagePlace(*xray, TImageHandle::Centre, false, centre);
  EXPECT_EQ(centre.X, 0);
  EXPECT_EQ(centre.Y, 0);
  EXPECT_EQ(ImagePlaceStatus(*xray, ','), " x: 0 y: 0 angle: 0");
}

TEST(ImageHandlePlaces, StandInsideTheDisplayEighthsAndAreFoundUnderThePointer) {
  const TDisplayEighths display{{100, 100}, {900, 100}, {100, 700}, {900, 700}};
  const TFloatPoint size{20, 20};
  const std::vector<TImageHandlePlace> places = ImageHandlePlaces(display, size, {500, 400});
  ASSERT_EQ(places.size(), 13u);
  auto place = [&](TImageHandle h) {
    for (const TImageHandlePlace& p : places)
      if (p.Handle == h) return p.At;
    return TFloatPoint{NAN, NAN};
  };
  EXPECT_EQ(place(TImageHandle::TopLeft).X, 120);
  EXPECT_EQ(place(TImageHandle::Top).X, 500);
  EXPECT_EQ(place(TImageHandle::Right).Y, 400);
  EXPECT_EQ(place(TImageHandle::BottomRight).Y, 680);
  EXPECT_EQ(place(TImageHandle::TurnBottomLeft).X, 100);
  EXPECT_EQ(ImageHandleAt(places, size, {129, 111}), TImageHandle::TopLeft);
  EXPECT_EQ(ImageHandleAt(places, size, {905, 695}), TImageHandle::TurnBottomRight);
  EXPECT_EQ(ImageHandleAt(places, size, {503, 398}), TImageHandle::Centre);
  EXPECT_EQ(ImageHandleAt(places, size, {300, 300}), TImageHandle::Body);
}

}  // namespace
}  // namespace lumacet
