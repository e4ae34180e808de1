// Text from files shown on a terminal. A data file may come from elsewhere, and control
// characters in its fields (escape sequences, 8-bit operating system commands) would
// otherwise reach the terminal and could rewrite what it shows or what it does.
#pragma once

#include <string>
#include <string_view>

namespace lumacet {

// The text with every C0 and C1 control character but TAB and LF, DEL and every byte that
// is not part of well-formed UTF-8 written as "\xNN" (the byte, or the character's code for
// a C1 control); everything else, the columns and lines of a table among it, as it stands.
std::string TerminalSafe(std::string_view text);

}  // namespace lumacet
