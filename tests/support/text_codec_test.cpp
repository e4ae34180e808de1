#include <gtest/gtest.h>

#include "support/text_codec.h"

namespace lumacet {
namespace {

TEST(Cp1252, EveryByteRoundTrips) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  auto back = EncodeCp1252(DecodeCp1252(all));
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(*back, all);
}

TEST(Cp1252, MapsTheHighTableAndLatin1) {
  EXPECT_EQ(DecodeCp1252("\x80"), "\u20AC");
  EXPECT_EQ(DecodeCp1252("M\xFCller"), "M\u00FCller");
  EXPECT_EQ(EncodeCp1252("\u2013"), std::optional<std::string>("\x96"));
}

TEST(Cp1252, RefusesCharactersItCannotHoldAndMalformedUtf8) {
  EXPECT_FALSE(FitsCp1252("\u4E2D"));         // a CJK character
  EXPECT_FALSE(FitsCp1252("\xC3"));           // cut short
  EXPECT_FALSE(FitsCp1252("\xC0\xAF"));       // overlong '/'
  EXPECT_FALSE(FitsCp1252("\xED\xA0\x80"));   // a surrogate
  EXPECT_TRUE(FitsCp1252("Gon\u00EDon"));
}

TEST(Utf8, ValidationAcceptsOnlyWellFormedText) {
  EXPECT_TRUE(IsValidUtf8("plain"));
  EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x98\x80"));
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // beyond U+10FFFF
  EXPECT_FALSE(IsValidUtf8("\x80"));
}

}  // namespace
}  // namespace lumacet
