// Numbers in the user's notation: the decimal separator of the user's locale, never a
// thousands separator. Files never see these texts (support/file_numbers.h reads those).
#pragma once

#include <optional>
#include <string_view>

namespace lumacet {

// A number in the user's notation: optional blanks around, "-" sign, digits with the
// given decimal separator, optional exponent. Nothing for anything else, including a
// "." where the separator is another character, and for values beyond the double range.
std::optional<double> ParseUserNumber(std::string_view text, char decimalSeparator);

// A number typed into a dialog: as ParseUserNumber reads it with the user's separator,
// or else with "." (which every keyboard has and records keep).
std::optional<double> ReadTypedNumber(std::string_view text, char decimalSeparator);

}  // namespace lumacet
