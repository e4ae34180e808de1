// Aligning from the film's edges: a traced circle beside the bright disc it outlines on the
// image. Auto Refine brings the image under the tracing; Adjust Points puts each point on
// the disc's edge as movements that undo; bad drawings are refused with nothing changed.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "digitize/image_alignment.h"
#include "model/bitmap32.h"
#include "model/kind_codes.h"
#include "population/population_fixture.h"
#include "simulation/movement_log.h"

namespace lumacet {
namespace {

constexpr double kRadius = 200;
const TFloatPoint kTraced{500, 500};
const TFloatPoint kDisc{506, 496};  // where the image shows it

struct ImageAlignmentTest : ::testing::Test {
  ImageAlignmentTest() {
    std::vector<std::string> names;
    test::TPoints at;
    for (int i = 0; i < 36; ++i) {
      names.push_back("P" + std::to_string(i));
      const double a = i * std::numbers::pi / 18;
      at.push_back(std::pair{kTraced.X + kRadius * std::cos(a), kTraced.Y + kRadius * std::sin(a)});
    }
    type = test::PointType("T", names);
    test::AddDrawing(*type, "Circle", names);
    test::AddDrawing(*type, "One", {"P0"});
    xray = test::Radiograph(*type, "X", at);
    xray->Image.Display.Resize(1000, 1000);
    for (int y = 0; y < 1000; ++y)
      for (int x = 0; x < 1000; ++x) {
        const std::uint32_t g = std::hypot(x + 0.5 - kDisc.X, y + 0.5 - kDisc.Y) < kRadius ? 200 : 50;
        xray->Image.Display.Row(y)[x] = PackPixel(g, g, g);
      }
    xray->PixelWidth = xray->PixelHeight = 1;
  }
  const TXRGraphic* Drawing(const char* name) {
    return static_cast<const TXRGraphic*>(type->FindElement(name, ekGraphic));
  }
  TFloatPoint At(int i) {
    const TLoadedRadiograph loaded = xray->Load();
    return *loaded.Position(type->FindElement("P" + std::to_string(i), ekDigPoint));
  }
  std::unique_ptr<TXRayType> type;
  std::unique_ptr<TXRay> xray;
};

TEST_F(ImageAlignmentTest, AutoRefineMovesTheImageSoThatTheDiscLiesUnderTheTracedCircle) {
  const TAlignOptions options{.Resize = TAlignResize::None, .TranslateImage = true, .RotateImage = true};
  ASSERT_TRUE(AutoRefineAlignment(*xray, Drawing("Circle"), {}, options));
  EXPECT_NEAR(xray->ImageOriginX, kTraced.X - kDisc.X, 1.5);
  EXPECT_NEAR(xray->ImageOriginY, kTraced.Y - kDisc.Y, 1.5);
  EXPECT_NEAR(std::remainder(xray->ImageRotation, 2 * std::numbers::pi), 0, 0.01);
  EXPECT_NEAR(At(0).X, kTraced.X + kRadius, 1e-9) << "the tracing stays";
}

TEST_F(ImageAlignmentTest, AdjustPointsPutsEachPointOnTheEdgeAsMovementsThatUndo) {
  const TMovementOptions options{.Connected = true, .Compile = false};
  ASSERT_TRUE(AdjustPointsToImage(*xray, Drawing("Circle"), 5, options));
  EXPECT_GT(xray->UndoMovements.size(), 30u);
  for (int i = 0; i < 36; ++i)
    EXPECT_NEAR(std::hypot(At(i).X - kDisc.X, At(i).Y - kDisc.Y), kRadius, 1.5) << "P" << i;
  while (!xray->UndoMovements.empty()) ASSERT_TRUE(UndoLast(*xray, options));
  EXPECT_NEAR(At(9).Y, kTraced.Y + kRadius, 1e-9);
}

TEST_F(ImageAlignmentTest, DrawingsThatCannotGuideTheAlignmentAreRefusedAndNothingMoves) {
  struct TCase {
    const char* Drawing;
    bool Refine;
    const char* Message;
  };
  const TCase cases[] = {
      {nullptr, true, "Cannot refine. Drawing not valid."},
      {"One", true, "Cannot refine. Drawing has less than two points."},
      {nullptr, false, "Cannot adjust points. No valid points found."},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Message);
    const TXRGraphic* drawing = c.Drawing != nullptr ? Drawing(c.Drawing) : nullptr;
    const TResult result = c.Refine ? AutoRefineAlignment(*xray, drawing, {}, {})
                                    : AdjustPointsToImage(*xray, drawing, 5, {});
    ASSERT_FALSE(result);
    EXPECT_EQ(result.Text().Source(), c.Message);
    EXPECT_EQ(xray->ImageOriginX, 0);
    EXPECT_TRUE(xray->UndoMovements.empty());
  }
  EXPECT_EQ(HotZoneFromText(0.5), 5);
  EXPECT_EQ(HotZoneFromText(NAN), 5);
  EXPECT_EQ(HotZoneFromText(7.4), 7);
}

}  // namespace
}  // namespace lumacet
