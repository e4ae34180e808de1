// Today: from the clock, unless a test fixes it for as long as it needs.
#include "support/dates.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace lumacet {
namespace {

TEST(TodayTest, AFixedTodayHoldsWhileItLivesAndTheClockComesBackAfter) {
  const TDayNumber clock = TodaysDate();
  EXPECT_GT(clock, DayNumber(2024, 1, 1));
  {
    const TFixedToday outer(DayNumber(1999, 12, 31));
    {
      const TFixedToday inner(DayNumber(2000, 2, 29));
      EXPECT_EQ(TodaysDate(), DayNumber(2000, 2, 29));
    }
    EXPECT_EQ(TodaysDate(), DayNumber(1999, 12, 31));
  }
  EXPECT_LE(std::abs(TodaysDate() - clock), 1);  // midnight may pass meanwhile
}

}  // namespace
}  // namespace lumacet
