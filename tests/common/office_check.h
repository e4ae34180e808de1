// The documents Send To and the spreadsheet export write, read back by independent readers
// (tests/common/office_check.py: openpyxl, odfpy and a package check).
#pragma once

#include <cstdlib>
#include <string>

#include "shell/temp_folder.h"

namespace lumacet::test {

// Debian's interpreter, which python3-openpyxl and python3-odf are installed for.
inline bool OfficeReadersPresent() {
  return std::system("/usr/bin/python3 -c 'import openpyxl, odf' > /dev/null 2>&1") == 0;
}

// What the reader prints of the document of that kind ("xlsx", "odt", "odp"); the reader's
// complaint, prefixed "failed: ", when the document does not pass.
inline std::string ReadOffice(const std::string& kind, const std::string& path, const TTempFolder& folder) {
  const std::string out = folder.File("office_check.txt");
  const std::string command = "/usr/bin/python3 '" + std::string(LUMACET_SOURCE_DIR) + "/tests/common/office_check.py' " +
                              kind + " '" + path + "' > '" + out + "' 2>&1";
  const bool passed = std::system(command.c_str()) == 0;
  return (passed ? "" : "failed: ") + ReadBytes(out);
}

}  // namespace lumacet::test
