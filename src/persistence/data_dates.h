// Dates as they stand in radiograph data files: "d/m/yyyy" whatever the user's locale, or,
// for files shared with version 1 installations ("Compatibility"), the user's short date
// format. Two-digit years, which such files and typed defaults may hold, fall in a window
// of a hundred years around a reference year.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "support/dates.h"

namespace lumacet {

struct TDataDateFormat {
  bool Compatibility = false;
  // The user's short date pattern (d, dd, M, MM, yy, yyyy; other characters literal). Only
  // used in compatibility mode.
  std::string ShortDateFormat = "dd/MM/yyyy";
  // Two-digit years are read as the year within 50 years of this one; 0 means this year.
  int CenturyYear = 0;
};

// The year a one- or two-digit year stands for: the one in (reference - 50, reference + 50].
int ExpandTwoDigitYear(int twoDigitYear, int referenceYear);

// The date field of a record, at most 10 characters; nullopt for a date outside the years
// 1..9999, which no record can hold.
std::optional<std::string> FormatDataDate(TDayNumber day, const TDataDateFormat& format);
// Reads a date field (blanks around it ignored); nullopt when it is not a real date.
std::optional<TDayNumber> ParseDataDate(std::string_view text, const TDataDateFormat& format);

}  // namespace lumacet
