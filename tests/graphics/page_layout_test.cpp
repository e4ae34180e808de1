#include "graphics/page_layout.h"

#include <gtest/gtest.h>

#include "graphics/recording_canvas.h"

namespace lumacet {
namespace {

TEST(PageCodes, ExpandInOnePassAndRefuseUnknownCodes) {
  const TPageCodeValues values{"Smith", "Class @p", "1/2/2020", "3/4/2008", "12:3"};
  struct TCase {
    const char* Text;
    int Page;
    const char* Expanded;
  };
  for (const TCase& c : {TCase{"@n (@a)", 1, "Smith (12:3)"}, TCase{"Page @p of @n", 3, "Page 3 of Smith"},
                         TCase{"@c", 2, "Class @p"},  // inserted text is not read again
                         TCase{"@d / @b", 1, "1/2/2020 / 3/4/2008"}, TCase{"a@ b @1 @", 1, "a@ b @1 @"},
                         TCase{"", 1, ""}}) {
    SCOPED_TRACE(c.Text);
    const TResultOf<std::string> expanded = ExpandPageCodes(c.Text, values, c.Page);
    ASSERT_TRUE(expanded);
    EXPECT_EQ(*expanded, c.Expanded);
  }
  const TResultOf<std::string> unknown = ExpandPageCodes("Dr. @n @x", values, 1);
  ASSERT_FALSE(unknown);
  EXPECT_NE(unknown.Text().English().find("\"@x\""), std::string::npos);
  EXPECT_NE(unknown.Text().English().find("Dr. @n @x"), std::string::npos);
}

TEST(PageFrames, SheetsInDotsAndMarginsThatLeaveNoRoomRefused) {
  EXPECT_EQ(MakePaper(TPaperKind::A4, true, 254).Dots, (TIntSize{2100, 2970}));
  EXPECT_EQ(MakePaper(TPaperKind::A4, true, 300).Dots, (TIntSize{2480, 3508}));
  EXPECT_EQ(MakePaper(TPaperKind::Letter, false, 254).Dots, (TIntSize{2794, 2159}));

  const TPaper a4 = MakePaper(TPaperKind::A4, true, 300);
  const TResultOf<TPageFrame> frame = PageFrame(a4, {0.39, 0.79, 0.39, 0.79, 0.2, 0.2});
  ASSERT_TRUE(frame);
  EXPECT_EQ(frame->LeftX, 117);
  EXPECT_EQ(frame->TopY, 237);
  EXPECT_EQ(frame->RightX, 2480 - 117);
  EXPECT_EQ(frame->BottomY, 3508 - 237);
  EXPECT_EQ(frame->HeaderY, 60);
  EXPECT_EQ(frame->FooterY, 3508 - 60);
  // Negative margins count as none.
  EXPECT_EQ(PageFrame(a4, {-1, -1, 0, 0, 0, 0})->LeftX, 0);
  for (const TPageMargins& margins : {TPageMargins{4.5, 1, 4.5, 1, 0, 0}, TPageMargins{1, 6, 1, 6, 0, 0},
                                      TPageMargins{9, 0, 0, 0, 0, 0}}) {
    const TResultOf<TPageFrame> refused = PageFrame(a4, margins);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.Text(), TText(kMarginsTooLargeMessage));
  }
}

TEST(PageText, BandsAlignAndClipAndLongTextIsShortened) {
  TRecordingCanvas canvas;
  canvas.SetFont({"DejaVu Sans", 20});  // 10 units a character, cells 24 high
  DrawBandText(canvas, {100, 50, 300, 100}, "abcd", 0, false);
  DrawBandText(canvas, {100, 50, 300, 100}, "abcd", 1, false);
  DrawBandText(canvas, {100, 50, 300, 100}, "abcd", 2, true);
  ASSERT_EQ(canvas.Calls.size(), 3u);
  EXPECT_EQ(canvas.Calls[0].Points.front(), (TIntPoint{100, 50}));
  EXPECT_EQ(canvas.Calls[1].Points.front(), (TIntPoint{180, 50}));
  EXPECT_EQ(canvas.Calls[2].Points.front(), (TIntPoint{260, 76}));
  EXPECT_EQ(canvas.Calls[2].Clip, (TIntRect{100, 50, 300, 100}));
  EXPECT_FALSE(canvas.DeviceClip());
  EXPECT_EQ(Ellipsized(canvas, "abcdef", 60), "abcdef");
  EXPECT_EQ(Ellipsized(canvas, "abcdefgh", 60), "abc...");
  EXPECT_EQ(Ellipsized(canvas, "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", 50), "\xC3\xA9\xC3\xA9...");
  EXPECT_EQ(Ellipsized(canvas, "abcdef", 20), "");
}

}  // namespace
}  // namespace lumacet
