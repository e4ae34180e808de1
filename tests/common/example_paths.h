// The bundled examples the tests read: the type folder and the example patients.
#pragma once

#include <string>

namespace lumacet::test {

inline const std::string kExamples = std::string(LUMACET_SOURCE_DIR) + "/examples";
inline const std::string kExampleData = kExamples + "/PATIENT.CSV";

}  // namespace lumacet::test
