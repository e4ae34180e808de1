#include "support/user_numbers.h"

#include <algorithm>
#include <string>

#include "support/file_numbers.h"

namespace lumacet {

std::optional<double> ParseUserNumber(std::string_view text, char decimalSeparator) {
  size_t begin = text.find_first_not_of(' ');
  if (begin == std::string_view::npos) return std::nullopt;
  std::string plain(text.substr(begin, text.find_last_not_of(' ') - begin + 1));
  if (decimalSeparator != '.') {
    if (plain.find('.') != std::string::npos) return std::nullopt;
    std::replace(plain.begin(), plain.end(), decimalSeparator, '.');
  }
  return ParseFileReal(plain, true);
}

std::optional<double> ReadTypedNumber(std::string_view text, char decimalSeparator) {
  if (std::optional<double> value = ParseUserNumber(text, decimalSeparator)) return value;
  if (decimalSeparator == '.') return std::nullopt;
  return ParseUserNumber(text, '.');
}

}  // namespace lumacet
