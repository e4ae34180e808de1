#include "support/file_numbers.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace lumacet {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Checks the strict grammar before handing the text to from_chars, which would also
// take "inf", "nan" and hexadecimal forms.
bool MatchesRealGrammar(std::string_view s, bool allowExponent) {
  size_t i = 0;
  if (i < s.size() && s[i] == '-') ++i;
  size_t intDigits = 0;
  while (i < s.size() && IsDigit(s[i])) ++i, ++intDigits;
  size_t fracDigits = 0;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && IsDigit(s[i])) ++i, ++fracDigits;
  }
  if (intDigits + fracDigits == 0) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    if (!allowExponent) return false;
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t expDigits = 0;
    while (i < s.size() && IsDigit(s[i])) ++i, ++expDigits;
    if (expDigits == 0) return false;
  }
  return i == s.size();
}

std::string StripNegativeZero(std::string s) {
  if (!s.empty() && s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
  return s;
}

}  // namespace

std::optional<double> ParseFileReal(std::string_view text, bool allowExponent) {
  if (!MatchesRealGrammar(text, allowExponent)) return std::nullopt;
  double value = 0;
  auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec == std::errc::result_out_of_range) {
    // Underflow is harmless (the value is as good as zero); overflow is refused.
    bool underflow = true;
    for (char c : text) {
      if (c == 'e' || c == 'E') break;
      if (c >= '1' && c <= '9') {
        underflow = false;
        break;
      }
    }
    if (!underflow) return std::nullopt;
    return 0.0;
  }
  if (ec != std::errc() || ptr != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<int32_t> ParseFileInt(std::string_view text) {
  if (text.empty()) return std::nullopt;
  size_t start = text[0] == '-' ? 1 : 0;
  if (start == text.size()) return std::nullopt;
  for (size_t i = start; i < text.size(); ++i)
    if (!IsDigit(text[i])) return std::nullopt;
  int32_t value = 0;
  auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || ptr != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string FormatFixed(double value, int decimals) {
  if (!std::isfinite(value)) value = 0;
  std::array<char, 400> buf{};
  // to_chars with fixed precision rounds the exact binary value to nearest, as printf does.
  auto [ptr, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::fixed, decimals);
  if (ec != std::errc()) return "0";
  return StripNegativeZero(std::string(buf.data(), ptr));
}

std::string FormatRounded(double value, int decimals) {
  std::string s = FormatFixed(value, decimals);
  if (s.find('.') != std::string::npos) {
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
  }
  return StripNegativeZero(s);
}

std::string FormatRoundedInt(double value) {
  if (!std::isfinite(value)) return "0";
  return StripNegativeZero(FormatFixed(std::nearbyint(value), 0));
}

std::string FormatE16(double value) {
  if (!std::isfinite(value)) value = 0;
  std::array<char, 64> buf{};
  auto [ptr, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::scientific, 7);
  if (ec != std::errc()) return "  0.0000000E+000";
  std::string s(buf.data(), ptr);  // e.g. "1.5000000e+00" or "-2.5000000e-01"
  size_t e = s.find('e');
  std::string mantissa = s.substr(0, e);
  char sign = s[e + 1];
  std::string digits = s.substr(e + 2);
  while (digits.size() < 3) digits.insert(digits.begin(), '0');
  std::string out = mantissa + "E" + sign + digits;
  if (out.size() < 16) out.insert(0, 16 - out.size(), ' ');
  return out;
}

std::string FormatHex8(uint32_t value) {
  std::array<char, 16> buf{};
  std::snprintf(buf.data(), buf.size(), "$%08X", static_cast<unsigned>(value));
  return buf.data();
}

}  // namespace lumacet
