#include "measure/number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

#include "support/file_numbers.h"

namespace lumacet {

namespace {

// Decimals beyond this carry no information a double holds; a pattern from a hand-edited
// type file asking for more is held to it.
constexpr int kMaxDecimals = 30;

struct TNumberPattern {
  int MinIntegerDigits = 1;
  int RequiredDecimals = 0;
  int OptionalDecimals = 0;
  bool Scientific = false;
  char ExponentChar = 'e';
  bool ExponentSignAlways = true;
  int ExponentDigits = 1;
};

std::optional<TNumberPattern> ParsePattern(std::string_view pattern) {
  TNumberPattern result;
  size_t i = 0;
  int zeros = 0;
  size_t integerStart = i;
  while (i < pattern.size() && (pattern[i] == '0' || pattern[i] == '#')) zeros += pattern[i++] == '0';
  if (i == integerStart) return std::nullopt;
  result.MinIntegerDigits = std::max(1, zeros);
  if (i < pattern.size() && pattern[i] == '.') {
    ++i;
    int count = 0;
    int lastZero = 0;
    while (i < pattern.size() && (pattern[i] == '0' || pattern[i] == '#')) {
      ++count;
      if (pattern[i++] == '0') lastZero = count;
    }
    result.RequiredDecimals = std::min(lastZero, kMaxDecimals);
    result.OptionalDecimals = std::min(count, kMaxDecimals) - result.RequiredDecimals;
  }
  if (i < pattern.size() && (pattern[i] == 'e' || pattern[i] == 'E')) {
    result.Scientific = true;
    result.ExponentChar = pattern[i++];
    if (i >= pattern.size() || (pattern[i] != '+' && pattern[i] != '-')) return std::nullopt;
    result.ExponentSignAlways = pattern[i++] == '+';
    int digits = 0;
    while (i < pattern.size() && pattern[i] == '0') ++i, ++digits;
    if (digits == 0) return std::nullopt;
    result.ExponentDigits = std::min(digits, 3);
  }
  if (i != pattern.size()) return std::nullopt;
  return result;
}

// Drops trailing zeros of the decimals in `digits` ("12.3400" form) down to `keep`
// decimals, and the point when none remain.
void TrimOptionalDecimals(std::string& digits, int keep) {
  size_t point = digits.find('.');
  if (point == std::string::npos) return;
  size_t minimumEnd = point + 1 + static_cast<size_t>(keep);
  while (digits.size() > minimumEnd && digits.back() == '0') digits.pop_back();
  if (digits.back() == '.') digits.pop_back();
}

// "-" dropped when every digit is zero; the point becomes the user's separator.
std::string Finish(std::string text, char decimalSeparator) {
  if (!text.empty() && text[0] == '-') {
    size_t end = text.find_first_of("eE");
    std::string_view mantissa = std::string_view(text).substr(1, end == std::string::npos ? end : end - 1);
    if (mantissa.find_first_not_of("0.") == std::string_view::npos) text.erase(0, 1);
  }
  std::replace(text.begin(), text.end(), '.', decimalSeparator);
  return text;
}

std::string ToChars(double value, std::chars_format format, int precision) {
  std::string buffer(400 + kMaxDecimals, '\0');
  auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format, precision);
  if (error != std::errc()) return {};
  buffer.resize(static_cast<size_t>(end - buffer.data()));
  return buffer;
}

std::string FormatFixedPattern(double value, const TNumberPattern& pattern) {
  std::string text = ToChars(value, std::chars_format::fixed, pattern.RequiredDecimals + pattern.OptionalDecimals);
  TrimOptionalDecimals(text, pattern.RequiredDecimals);
  size_t digitsStart = text[0] == '-' ? 1 : 0;
  size_t integerDigits = std::min(text.find('.'), text.size()) - digitsStart;
  if (integerDigits < static_cast<size_t>(pattern.MinIntegerDigits))
    text.insert(digitsStart, static_cast<size_t>(pattern.MinIntegerDigits) - integerDigits, '0');
  return text;
}

std::string FormatScientificPattern(double value, const TNumberPattern& pattern) {
  std::string text =
      ToChars(value, std::chars_format::scientific, pattern.RequiredDecimals + pattern.OptionalDecimals);
  size_t e = text.find('e');
  std::string mantissa = text.substr(0, e);
  int exponent = 0;
  std::from_chars(text.data() + e + 1 + (text[e + 1] == '+'), text.data() + text.size(), exponent);
  TrimOptionalDecimals(mantissa, pattern.RequiredDecimals);
  std::string digits = std::to_string(exponent < 0 ? -exponent : exponent);
  if (digits.size() < static_cast<size_t>(pattern.ExponentDigits))
    digits.insert(0, static_cast<size_t>(pattern.ExponentDigits) - digits.size(), '0');
  std::string sign = exponent < 0 ? "-" : pattern.ExponentSignAlways ? "+" : "";
  return mantissa + pattern.ExponentChar + sign + digits;
}

}  // namespace

std::string FormatNumber(double value, std::string_view pattern, char decimalSeparator) {
  if (!std::isfinite(value)) return {};
  std::optional<TNumberPattern> parsed = ParsePattern(pattern);
  if (!parsed) return FormatGeneral(value, decimalSeparator);
  return Finish(parsed->Scientific ? FormatScientificPattern(value, *parsed) : FormatFixedPattern(value, *parsed),
                decimalSeparator);
}

std::string WithOneMoreDecimal(std::string_view pattern) {
  std::string result(pattern);
  size_t exponent = result.find_first_of("eE");
  size_t mantissaEnd = exponent == std::string::npos ? result.size() : exponent;
  bool hasPoint = result.find('.') < mantissaEnd;
  result.insert(mantissaEnd, hasPoint ? "#" : ".#");
  return result;
}

std::string FormatGeneral(double value, char decimalSeparator) {
  if (!std::isfinite(value)) return {};
  if (value == 0) value = 0;  // -0 reads as 0
  return Finish(ToChars(value, std::chars_format::general, 15), decimalSeparator);
}

}  // namespace lumacet
