// Numbers as they stand in Lumacet's files: always "." as decimal point, whatever the
// user's locale, and only finite values.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lumacet {

// Strict reading: [-]digits[.digits], or [-].digits, optionally followed by an exponent
// ([eE][+-]digits) when `allowExponent`. No blanks, no "+", no nan, inf or hex. A value
// that overflows to infinity is refused.
std::optional<double> ParseFileReal(std::string_view text, bool allowExponent = true);
// [-]digits within the 32-bit range.
std::optional<int32_t> ParseFileInt(std::string_view text);

// Correctly rounded to at most `decimals` decimals (exact ties to even), trailing
// zeros and a bare trailing point dropped, never "-0". R1, R2, R3 and R6 of the type file.
std::string FormatRounded(double value, int decimals);
// Exactly `decimals` decimals ("2.0" for F1).
std::string FormatFixed(double value, int decimals);
// A real rounded to the nearest integer, ties to even (INT0).
std::string FormatRoundedInt(double value);
// Scientific notation with 8 significant digits, upper-case E, signed exponent of at
// least three digits, right-aligned in 16 characters: "  1.5000000E+000".
std::string FormatE16(double value);
// "$" and eight upper-case hexadecimal digits.
std::string FormatHex8(uint32_t value);

}  // namespace lumacet
