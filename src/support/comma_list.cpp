#include "support/comma_list.h"

#include <algorithm>

namespace lumacet {

std::vector<std::string_view> SplitCommaList(std::string_view line, std::size_t limit) {
  std::vector<std::string_view> fields;
  size_t position = 0;
  while (fields.size() < limit && position < line.size()) {
    if (line[position] == ',') {
      ++position;
    } else if (line[position] == '"') {
      const size_t close = line.find('"', position + 1);
      const size_t end = close == std::string_view::npos ? line.size() : close;
      fields.push_back(line.substr(position + 1, end - position - 1));
      // Whatever stands between the closing quote and the next comma belongs to no field.
      position = end == line.size() ? end : line.find(',', end);
      if (position == std::string_view::npos) position = line.size();
    } else {
      const size_t comma = std::min(line.find(',', position), line.size());
      fields.push_back(line.substr(position, comma - position));
      position = comma;
    }
  }
  return fields;
}

}  // namespace lumacet
