#include "persistence/data_dates.h"

#include <array>
#include <chrono>

#include "persistence/data_lines.h"

namespace lumacet {

namespace {

constexpr size_t kDateFieldWidth = 10;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int CurrentYear() {
  using namespace std::chrono;
  const auto days = duration_cast<duration<long long, std::ratio<86400>>>(system_clock::now().time_since_epoch());
  int year = 0, month = 0, day = 0;
  CivilDate(DayNumber(1970, 1, 1) + static_cast<int>(days.count()), year, month, day);
  return year;
}

// The order in which day ('d'), month ('M') and year ('y') appear in a pattern.
std::array<char, 3> FieldOrder(std::string_view pattern) {
  std::array<char, 3> order{};
  size_t count = 0;
  for (char c : pattern) {
    if (c != 'd' && c != 'M' && c != 'y') continue;
    bool seen = false;
    for (size_t i = 0; i < count; ++i) seen = seen || order[i] == c;
    if (!seen && count < order.size()) order[count++] = c;
  }
  if (count < order.size()) return {'d', 'M', 'y'};
  return order;
}

// A date written as three groups of digits in the given order. With a required separator
// the groups must be joined by exactly that character and nothing may surround them;
// otherwise any run of other characters separates them.
std::optional<TDayNumber> ParseNumericDate(std::string_view text, const std::array<char, 3>& order,
                                           char requiredSeparator, int centuryYear) {
  std::array<std::string_view, 3> groups;
  size_t count = 0;
  size_t i = 0;
  if (requiredSeparator == 0)
    while (i < text.size() && !IsDigit(text[i])) ++i;
  while (i < text.size()) {
    size_t start = i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    if (i == start || count == groups.size()) return std::nullopt;
    groups[count++] = text.substr(start, i - start);
    if (i == text.size()) break;
    if (requiredSeparator != 0) {
      if (text[i] != requiredSeparator || count == groups.size()) return std::nullopt;
      ++i;
    } else {
      while (i < text.size() && !IsDigit(text[i])) ++i;
    }
  }
  if (count != groups.size()) return std::nullopt;

  int day = 0, month = 0, year = 0;
  for (size_t g = 0; g < groups.size(); ++g) {
    const std::string_view digits = groups[g];
    const size_t maxDigits = order[g] == 'y' ? 4 : 2;
    if (digits.size() > maxDigits) return std::nullopt;
    int value = 0;
    for (char c : digits) value = value * 10 + (c - '0');
    if (order[g] == 'd') day = value;
    if (order[g] == 'M') month = value;
    if (order[g] == 'y') year = digits.size() <= 2 ? ExpandTwoDigitYear(value, centuryYear) : value;
  }
  if (!IsValidDate(year, month, day)) return std::nullopt;
  return DayNumber(year, month, day);
}

// The pattern with its year widened to four digits, so that written dates never depend on
// the century window.
std::string WithFullYear(std::string_view pattern) {
  std::string out;
  size_t i = 0;
  while (i < pattern.size()) {
    size_t run = 1;
    while (i + run < pattern.size() && pattern[i + run] == pattern[i]) ++run;
    if (pattern[i] == 'y')
      out += "yyyy";
    else
      out.append(pattern.substr(i, run));
    i += run;
  }
  return out;
}

int ReferenceYear(const TDataDateFormat& format) {
  return format.CenturyYear != 0 ? format.CenturyYear : CurrentYear();
}

}  // namespace

int ExpandTwoDigitYear(int twoDigitYear, int referenceYear) {
  int year = referenceYear - referenceYear % 100 + twoDigitYear;
  if (year > referenceYear + 50) year -= 100;
  if (year <= referenceYear - 50) year += 100;
  return year;
}

std::optional<std::string> FormatDataDate(TDayNumber day, const TDataDateFormat& format) {
  int year = 0, month = 0, dayOfMonth = 0;
  CivilDate(day, year, month, dayOfMonth);
  if (year < 1 || year > 9999) return std::nullopt;
  if (!format.Compatibility) return FormatDate(day, "d/M/yyyy");

  std::string text = FormatDate(day, WithFullYear(format.ShortDateFormat));
  const bool fits = text.size() <= kDateFieldWidth && text.find_first_of(",\"") == std::string::npos &&
                    ParseDataDate(text, format) == day;
  if (fits) return text;
  // A pattern too long for the field (or one that cannot be read back) falls back to bare
  // numbers in the locale's order, joined by the pattern's first separator.
  char separator = '/';
  for (char c : format.ShortDateFormat) {
    const bool punctuation = c > ' ' && c < 0x7F && !IsDigit(c) && !(c >= 'A' && c <= 'Z') &&
                             !(c >= 'a' && c <= 'z') && c != ',' && c != '"';
    if (punctuation) {
      separator = c;
      break;
    }
  }
  std::string fallback;
  for (char field : FieldOrder(format.ShortDateFormat)) {
    if (!fallback.empty()) fallback += separator;
    fallback += std::to_string(field == 'd' ? dayOfMonth : field == 'M' ? month : year);
  }
  return fallback;
}

std::optional<TDayNumber> ParseDataDate(std::string_view text, const TDataDateFormat& format) {
  text = TrimField(text);
  if (!format.Compatibility) return ParseNumericDate(text, {'d', 'M', 'y'}, '/', ReferenceYear(format));
  return ParseNumericDate(text, FieldOrder(format.ShortDateFormat), 0, ReferenceYear(format));
}

}  // namespace lumacet
