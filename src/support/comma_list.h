// The comma lists of the settings and data files: fields cut at each comma, a run of commas
// or a leading comma giving no empty field, and a field that begins with a double quote
// running to the next double quote, which may hold commas (the quotes are not part of it).
#pragma once

#include <cstddef>
#include <limits>
#include <string_view>
#include <vector>

namespace lumacet {

// At most `limit` fields; the rest of the line is not cut.
std::vector<std::string_view> SplitCommaList(std::string_view line,
                                             std::size_t limit = std::numeric_limits<std::size_t>::max());

}  // namespace lumacet
