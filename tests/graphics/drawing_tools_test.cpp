// The drawing area's mouse tools without the area: the ruler's drag and read-out, and the
// protractor's two lines.
#include "graphics/drawing_tools.h"

#include <gtest/gtest.h>

namespace lumacet {
namespace {

TEST(DrawingToolsTest, TheRulerFollowsTheDragAndARightClickMovesItsReadOut) {
  TDrawingTools tools;
  TDisplayMapping mapping;
  tools.SetMode(TToolMode::Ruler);
  tools.Press({1000, 1000}, false, mapping);
  tools.Move({1000, 1235});
  EXPECT_EQ(tools.Status('.'), "dx: 0 mm  dy: 23.5 mm  dist: 23.5 mm");
  EXPECT_EQ(tools.Press({1000, 1235}, true, mapping), TDrawingTools::TRedraw::Overlay);
  EXPECT_EQ(tools.Ruler()->ReadOutPlace, 1);
  tools.Release({1000, 1235}, false, mapping);
  EXPECT_FALSE(tools.Ruler().has_value());
  // Only the magnification tool hands its length on.
  EXPECT_FALSE(tools.TakeMeasuredLength().has_value());
}

TEST(DrawingToolsTest, TheProtractorKeepsItsFirstLineUntilTheSecondIsReleased) {
  TDrawingTools tools;
  TDisplayMapping mapping;
  tools.SetMode(TToolMode::Protractor);
  tools.Press({0, 0}, false, mapping);
  tools.Move({1000, 0});
  tools.Release({1000, 0}, false, mapping);
  ASSERT_TRUE(tools.Protractor().First.has_value());
  EXPECT_TRUE(tools.Status('.').empty());
  tools.Press({0, 0}, false, mapping);
  tools.Move({1000, -1000});  // 45 degrees up from the first line, as displayed
  EXPECT_EQ(tools.Status(','), " angle: 45,0\u00B0 supplemental: 135,0\u00B0");
  tools.Release({1000, -1000}, false, mapping);
  EXPECT_FALSE(tools.Protractor().First.has_value());
  EXPECT_FALSE(tools.Protractor().Second.has_value());
}

}  // namespace
}  // namespace lumacet
