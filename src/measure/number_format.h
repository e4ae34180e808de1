// Numbers as the user sees them: the format patterns of measurement values, and the
// general 15-digit form in which variables keep their values as text. Both use the
// user's decimal separator; files never see these texts.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace lumacet {

// The patterns the variable editor offers, in its order. "0" is a digit always shown,
// "#" a digit shown only when it is not a trailing zero, "e+0" exponent notation with a
// signed exponent of at least one digit.
inline constexpr std::array<std::string_view, 13> kNumberFormats = {
    "0",     "0.0",    "0.00",   "0.000",     "0.0000",    "0.00e+0",  "0.0000e+0",
    "0.#",   "0.##",   "0.###",  "0.####",    "#.##e+0",   "#.####e+0"};

// The value written by a pattern: correctly rounded (exact ties to even), at least one
// integer digit, never "-0". Fixed patterns are [0#]+[.[0#]*]; exponent patterns add
// [eE][+-]0+ ("+": the exponent's sign is always written, "-": only when negative) and
// keep one digit before the point. A pattern outside this grammar writes the general form.
std::string FormatNumber(double value, std::string_view pattern, char decimalSeparator);

// The pattern with one more optional decimal: "0.#" gives "0.##", "0" gives "0.#",
// "0.00e+0" gives "0.00#e+0". Standard deviations are shown this way.
std::string WithOneMoreDecimal(std::string_view pattern);

// The general form at 15 significant digits: fixed notation unless the exponent is below
// -4 or at least 15, trailing zeros dropped, never "-0" ("0.333333333333333", "1e+20").
// Empty for a non-finite value.
std::string FormatGeneral(double value, char decimalSeparator);

}  // namespace lumacet
