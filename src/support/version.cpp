#include "support/version.h"

namespace lumacet {

std::string_view ProgramVersion() { return LUMACET_VERSION; }

}  // namespace lumacet
