#include "support/dates.h"

#include <chrono>
#include <ctime>

#include "support/file_numbers.h"

namespace lumacet {

namespace {

// Days from 1970-01-01 of a proleptic Gregorian date, and back (Howard Hinnant's algorithms).
int DaysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = y - era * 400;
  const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int z, int& y, int& m, int& d) {
  z += 719468;
  const int era = (z >= 0 ? z : z - 146096) / 146097;
  const int doe = z - era * 146097;
  const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  y = yoe + era * 400;
  const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp + (mp < 10 ? 3 : -9);
  y += m <= 2;
}

constexpr int kEpochOffset = 25569;  // day number of 1970-01-01

std::optional<TDayNumber> gFixedToday;

std::string Padded(int value, size_t width) {
  std::string s = std::to_string(value < 0 ? -value : value);
  if (s.size() < width) s.insert(0, width - s.size(), '0');
  return value < 0 ? "-" + s : s;
}

}  // namespace

TDayNumber DayNumber(int year, int month, int day) { return DaysFromCivil(year, month, day) + kEpochOffset; }

void CivilDate(TDayNumber dayNumber, int& year, int& month, int& day) {
  CivilFromDays(dayNumber - kEpochOffset, year, month, day);
}

bool IsValidDate(int year, int month, int day) {
  if (month < 1 || month > 12 || day < 1 || year < 1 || year > 9999) return false;
  int y = 0, m = 0, d = 0;
  CivilDate(DayNumber(year, month, day), y, m, d);
  return y == year && m == month && d == day;
}

TDayNumber TodaysDate() {
  if (gFixedToday) return *gFixedToday;
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm local{};
  localtime_r(&now, &local);
  return DayNumber(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

TFixedToday::TFixedToday(TDayNumber day) : fBefore(gFixedToday) { gFixedToday = day; }

TFixedToday::~TFixedToday() { gFixedToday = fBefore; }

std::string FormatDate(TDayNumber dayNumber, std::string_view pattern) {
  int year = 0, month = 0, day = 0;
  CivilDate(dayNumber, year, month, day);
  std::string out;
  size_t i = 0;
  while (i < pattern.size()) {
    char c = pattern[i];
    size_t run = 1;
    while (i + run < pattern.size() && pattern[i + run] == c) ++run;
    if (c == 'd') {
      out += Padded(day, run >= 2 ? 2 : 1);
    } else if (c == 'M') {
      out += Padded(month, run >= 2 ? 2 : 1);
    } else if (c == 'y') {
      out += run >= 4 ? Padded(year, 4) : Padded(((year % 100) + 100) % 100, 2);
    } else {
      out.append(run, c);
    }
    i += run;
  }
  return out;
}

std::string FormatUserDecimal(double value, int decimals, const TTextFormats& formats) {
  std::string s = FormatFixed(value, decimals);
  for (char& c : s)
    if (c == '.') c = formats.DecimalSeparator;
  return s;
}

}  // namespace lumacet
