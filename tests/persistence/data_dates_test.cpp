#include <gtest/gtest.h>

#include "persistence/data_dates.h"

namespace lumacet {
namespace {

TEST(DataDatesTest, TwoDigitYearsFallWithinFiftyYearsOfTheReference) {
  EXPECT_EQ(ExpandTwoDigitYear(69, 2024), 2069);
  EXPECT_EQ(ExpandTwoDigitYear(74, 2024), 2074);
  EXPECT_EQ(ExpandTwoDigitYear(75, 2024), 1975);
  EXPECT_EQ(ExpandTwoDigitYear(0, 2024), 2000);
  EXPECT_EQ(ExpandTwoDigitYear(99, 2001), 1999);
}

TEST(DataDatesTest, FilesHoldDayMonthYearWhateverTheLocale) {
  TDataDateFormat format;
  format.ShortDateFormat = "MM/dd/yy";  // ignored outside compatibility mode
  format.CenturyYear = 2024;
  EXPECT_EQ(FormatDataDate(DayNumber(2001, 3, 5), format), "5/3/2001");
  EXPECT_EQ(FormatDataDate(DayNumber(987, 12, 31), format), "31/12/0987");
  EXPECT_FALSE(FormatDataDate(DayNumber(10000, 1, 1), format));
  EXPECT_FALSE(FormatDataDate(DayNumber(0, 1, 1), format));

  EXPECT_EQ(ParseDataDate("5/3/2001", format), DayNumber(2001, 3, 5));
  EXPECT_EQ(ParseDataDate(" 05/03/2001  ", format), DayNumber(2001, 3, 5));
  EXPECT_EQ(ParseDataDate("31/12/80", format), DayNumber(1980, 12, 31));
  for (const char* bad : {"", "5.3.2001", "31/2/2001", "5/3", "5/3/2001/1", "5//2001", "x5/3/2001", "123/1/2001"})
    EXPECT_FALSE(ParseDataDate(bad, format)) << bad;
}

TEST(DataDatesTest, CompatibilityModeUsesTheShortFormatWithFullYears) {
  TDataDateFormat format;
  format.Compatibility = true;
  format.CenturyYear = 2024;
  const TDayNumber day = DayNumber(2001, 3, 5);
  const std::pair<const char*, const char*> cases[] = {
      {"dd.MM.yyyy", "05.03.2001"}, {"M/d/yy", "3/5/2001"}, {"yyyy-MM-dd", "2001-03-05"},
      {"dd. MM. yyyy", "5.3.2001"},  // too long for the field: bare numbers in the same order
  };
  for (const auto& [pattern, text] : cases) {
    format.ShortDateFormat = pattern;
    EXPECT_EQ(FormatDataDate(day, format), text) << pattern;
    EXPECT_EQ(ParseDataDate(text, format), day) << pattern;
  }
  format.ShortDateFormat = "M/d/yy";
  EXPECT_EQ(ParseDataDate("12/31/69", format), DayNumber(2069, 12, 31));
  EXPECT_FALSE(ParseDataDate("31/12/1969", format));
}

}  // namespace
}  // namespace lumacet
