// Numbers typed into dialogs: the user's decimal separator or ".", blanks around, an
// exponent; nothing else, and nothing beyond the double range.
#include "support/user_numbers.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace lumacet {
namespace {

TEST(TypedNumberTest, ReadsTheUsersSeparatorOrAPointAndNothingElse) {
  struct TCase {
    const char* text;
    char separator;
    std::optional<double> expected;
  };
  const std::vector<TCase> cases = {
      {"12,5", ',', 12.5},      {"12.5", ',', 12.5},    {" 2.5 ", '.', 2.5},       {"-99.5", '.', -99.5},
      {"1e2", '.', 100.0},      {"1,5e-1", ',', 0.15},  {"7", ',', 7.0},           {".5", '.', 0.5},
      {"2,5", '.', std::nullopt},   {"1,2.3", ',', std::nullopt}, {"1.000,5", ',', std::nullopt},
      {"1 000", '.', std::nullopt}, {"", ',', std::nullopt},      {"   ", '.', std::nullopt},
      {"ten", '.', std::nullopt},   {"+2", '.', std::nullopt},    {"0x10", '.', std::nullopt},
      {"inf", ',', std::nullopt},   {"nan", '.', std::nullopt},   {"1e400", '.', std::nullopt},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(ReadTypedNumber(c.text, c.separator), c.expected) << '"' << c.text << "\" with " << c.separator;
}

}  // namespace
}  // namespace lumacet
