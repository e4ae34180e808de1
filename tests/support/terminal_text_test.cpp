#include "support/terminal_text.h"

#include <gtest/gtest.h>

namespace lumacet {
namespace {

TEST(TerminalTextTest, ControlsAndBrokenBytesAreEscapedAndTextStays) {
  const struct {
    std::string In;
    std::string Out;
  } cases[] = {
      {"Zo\xC3\xAB M\xC3\xBCller\t1\n", "Zo\xC3\xAB M\xC3\xBCller\t1\n"},
      {"\x1B]0;owned\x07", "\\x1B]0;owned\\x07"},
      {"a\rb\x7F", "a\\x0Db\\x7F"},
      {"\xC2\x9D" "8-bit OSC\xC2\x9C", "\\x9D8-bit OSC\\x9C"},
      {"\x9B" "31m raw C1", "\\x9B31m raw C1"},
      {"cut \xE2\x82", "cut \\xE2\\x82"},
      {"\xE2\x82\xAC", "\xE2\x82\xAC"},
  };
  for (const auto& c : cases) EXPECT_EQ(TerminalSafe(c.In), c.Out) << c.In;
}

}  // namespace
}  // namespace lumacet
