// Fonts are named in type files and settings by what older installations had ("MS Sans
// Serif", "Arial"); no Linux reader of a picture has those. Every output names instead a
// list of families a Linux desktop has, ending in the generic family, so that a picture
// reads the same in any viewer.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lumacet {

// The families to draw `name` with, best first, the generic one ("sans-serif", "serif",
// "monospace") last. A name the table does not know comes first itself, before the
// generic sans-serif; a name that is already one of a list's families gives that list.
std::vector<std::string> FontFamilies(std::string_view name);

// The list as a CSS font-family value: "DejaVu Sans, Liberation Sans, sans-serif".
std::string CssFontFamily(std::string_view name);

}  // namespace lumacet
