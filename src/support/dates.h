// Calendar dates as day numbers (day 0 is 30 December 1899), and the user-visible text
// formats the model produces: dates, ages, decimal numbers.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lumacet {

using TDayNumber = int;

TDayNumber DayNumber(int year, int month, int day);
void CivilDate(TDayNumber dayNumber, int& year, int& month, int& day);
// True when the day, month and year name a real calendar date.
bool IsValidDate(int year, int month, int day);

// Today in the local calendar, from the system clock.
TDayNumber TodaysDate();
// While it lives, TodaysDate() is `day`: for tests of what depends on the date.
class TFixedToday {
 public:
  explicit TFixedToday(TDayNumber day);
  ~TFixedToday();
  TFixedToday(const TFixedToday&) = delete;
  TFixedToday& operator=(const TFixedToday&) = delete;

 private:
  std::optional<TDayNumber> fBefore;
};

// How texts for the user are written: the locale's short date pattern and decimal
// separator (the desktop sets them from the system locale; tests fix them), and the age
// and title settings that shape ages and captions.
struct TTextFormats {
  std::string ShortDateFormat = "dd/MM/yyyy";  // d, dd, M, MM, yy, yyyy; other characters literal
  char DecimalSeparator = '.';
  std::string AgeSeparator = ":";  // translatable
  int AgeFormat = 0;               // years:months, years, months:days, months, days
  int RadiographTitle = 0;         // name, initials, initials and age, birth, taken, comments, age, initials and comments
};

std::string FormatDate(TDayNumber dayNumber, std::string_view pattern);
// A decimal number in the user's notation with exactly `decimals` decimals.
std::string FormatUserDecimal(double value, int decimals, const TTextFormats& formats);

}  // namespace lumacet
