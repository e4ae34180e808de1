#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "measure/number_format.h"
#include "support/file_numbers.h"
#include "support/user_numbers.h"

namespace lumacet {
namespace {

std::vector<std::string> AllFormats(double value, char separator = '.') {
  std::vector<std::string> texts;
  for (std::string_view pattern : kNumberFormats) texts.push_back(FormatNumber(value, pattern, separator));
  return texts;
}

TEST(NumberFormatTest, EveryEditorPatternOnAFractionalValue) {
  EXPECT_EQ(AllFormats(1234.5678),
            (std::vector<std::string>{"1235", "1234.6", "1234.57", "1234.568", "1234.5678", "1.23e+3", "1.2346e+3",
                                      "1234.6", "1234.57", "1234.568", "1234.5678", "1.23e+3", "1.2346e+3"}));
}

TEST(NumberFormatTest, RequiredDigitsStayAndOptionalOnesGoOnAWholeValue) {
  EXPECT_EQ(AllFormats(2), (std::vector<std::string>{"2", "2.0", "2.00", "2.000", "2.0000", "2.00e+0", "2.0000e+0",
                                                      "2", "2", "2", "2", "2e+0", "2e+0"}));
  EXPECT_EQ(AllFormats(0), (std::vector<std::string>{"0", "0.0", "0.00", "0.000", "0.0000", "0.00e+0", "0.0000e+0",
                                                      "0", "0", "0", "0", "0e+0", "0e+0"}));
}

TEST(NumberFormatTest, SmallNegativeValuesNeverShowMinusZero) {
  EXPECT_EQ(AllFormats(-0.000123),
            (std::vector<std::string>{"0", "0.0", "0.00", "0.000", "-0.0001", "-1.23e-4", "-1.2300e-4", "0", "0", "0",
                                      "-0.0001", "-1.23e-4", "-1.23e-4"}));
  EXPECT_EQ(FormatNumber(-0.0, "0.00", '.'), "0.00");
}

TEST(NumberFormatTest, ExactTiesRoundToEvenAndCarriesReachTheExponent) {
  EXPECT_EQ(FormatNumber(0.5, "0", '.'), "0");
  EXPECT_EQ(FormatNumber(1.5, "0", '.'), "2");
  EXPECT_EQ(FormatNumber(2.5, "0", '.'), "2");
  EXPECT_EQ(FormatNumber(0.125, "0.00", '.'), "0.12");
  EXPECT_EQ(FormatNumber(0.375, "0.##", '.'), "0.38");
  EXPECT_EQ(FormatNumber(0.15, "0.#", '.'), "0.1");  // 0.15 is stored a little below 0.15
  EXPECT_EQ(FormatNumber(9.996, "0.00e+0", '.'), "1.00e+1");
  EXPECT_EQ(FormatNumber(1.5e10, "0.00e+0", '.'), "1.50e+10");
  EXPECT_EQ(FormatNumber(-2.5e-300, "#.##e+0", '.'), "-2.5e-300");
}

TEST(NumberFormatTest, UsesTheUsersDecimalSeparator) {
  EXPECT_EQ(FormatNumber(1234.5678, "0.##", ','), "1234,57");
  EXPECT_EQ(FormatNumber(1234.5678, "0.00e+0", ','), "1,23e+3");
  EXPECT_EQ(FormatNumber(3, "0.0", ','), "3,0");
}

TEST(NumberFormatTest, PatternsFromHandEditedFilesAreReadByTheSameRules) {
  EXPECT_EQ(FormatNumber(3.14159, "00.000", '.'), "03.142");
  EXPECT_EQ(FormatNumber(3.1, "0.0#", '.'), "3.1");
  EXPECT_EQ(FormatNumber(3.14159, "0.0#", '.'), "3.14");
  EXPECT_EQ(FormatNumber(31415.9, "0.0E-00", '.'), "3.1E04");
  EXPECT_EQ(FormatNumber(0.0314159, "0.0E-00", '.'), "3.1E-02");
  // Anything else writes the general form rather than nothing.
  EXPECT_EQ(FormatNumber(2.5, "abc", '.'), "2.5");
  EXPECT_EQ(FormatNumber(2.5, "", '.'), "2.5");
  EXPECT_EQ(FormatNumber(2.5, "0.0e", '.'), "2.5");
  EXPECT_EQ(FormatNumber(std::numeric_limits<double>::infinity(), "0.0", '.'), "");
}

TEST(NumberFormatTest, OneMoreDecimalGoesIntoTheMantissa) {
  EXPECT_EQ(WithOneMoreDecimal("0.#"), "0.##");
  EXPECT_EQ(WithOneMoreDecimal("0.00"), "0.00#");
  EXPECT_EQ(WithOneMoreDecimal("0"), "0.#");
  EXPECT_EQ(WithOneMoreDecimal("0.00e+0"), "0.00#e+0");
  EXPECT_EQ(WithOneMoreDecimal("#.##e+0"), "#.###e+0");
  EXPECT_EQ(FormatNumber(1.25, WithOneMoreDecimal("0.#"), '.'), "1.25");
  EXPECT_EQ(FormatNumber(1.5, WithOneMoreDecimal("0"), '.'), "1.5");
  EXPECT_EQ(FormatNumber(1230, WithOneMoreDecimal("0.00e+0"), '.'), "1.23e+3");
  EXPECT_EQ(FormatNumber(1234, WithOneMoreDecimal("0.00e+0"), '.'), "1.234e+3");
}

TEST(NumberFormatTest, GeneralFormKeepsFifteenSignificantDigits) {
  EXPECT_EQ(FormatGeneral(1.0 / 3, '.'), "0.333333333333333");
  EXPECT_EQ(FormatGeneral(2.0 / 3, '.'), "0.666666666666667");
  EXPECT_EQ(FormatGeneral(0.1 + 0.2, '.'), "0.3");
  EXPECT_EQ(FormatGeneral(350, '.'), "350");
  EXPECT_EQ(FormatGeneral(123456789012345678.0, '.'), "1.23456789012346e+17");
  EXPECT_EQ(FormatGeneral(1e20, '.'), "1e+20");
  EXPECT_EQ(FormatGeneral(0.0001, '.'), "0.0001");
  EXPECT_EQ(FormatGeneral(0.00001, '.'), "1e-05");
  EXPECT_EQ(FormatGeneral(-0.0, '.'), "0");
  EXPECT_EQ(FormatGeneral(-2.5, ','), "-2,5");
  EXPECT_EQ(FormatGeneral(std::nan(""), '.'), "");
}

TEST(NumberFormatTest, UserNumbersReadBackWhatTheGeneralFormWrites) {
  for (double value : {1.0 / 3, -2.5, 1e20, 1.5e-7, 0.0, 123456.789})
    for (char separator : {'.', ','}) {
      std::optional<double> back = ParseUserNumber(FormatGeneral(value, separator), separator);
      ASSERT_TRUE(back.has_value()) << value;
      EXPECT_DOUBLE_EQ(*back, ParseFileReal(FormatGeneral(value, '.')).value_or(-1));
    }
  EXPECT_EQ(ParseUserNumber(" 2,5 ", ','), 2.5);
  EXPECT_EQ(ParseUserNumber("2.5", ','), std::nullopt);
  EXPECT_EQ(ParseUserNumber("2,5", '.'), std::nullopt);
  for (const char* text : {"", "  ", "abc", "1e400", "inf", "nan", "0x10", "+2", "1.5.2", "11:12", "01/01/2000"})
    EXPECT_EQ(ParseUserNumber(text, '.'), std::nullopt) << text;
}

}  // namespace
}  // namespace lumacet
