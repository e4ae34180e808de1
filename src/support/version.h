// The program's version, as the build states it: the About box, lumacet-cli --version, the
// manual page and the automation service all name the same one.
#pragma once

#include <string_view>

namespace lumacet {

std::string_view ProgramVersion();

}  // namespace lumacet
