// libFuzzer target for the type file reader. Whatever the bytes, reading must neither
// crash nor leak; a type that reads must write a file that reads again, and writing that
// again must give the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/xray_type.h"
#include "persistence/type_file.h"

namespace lumacet {

// Empty when the bytes pass; otherwise what went wrong.
std::string CheckTypeFileRoundTrip(std::string_view bytes) {
  TXRayType first;
  if (const TResult read = ReadTypeFileText(bytes, first); !read) {
    const std::string message = read.Text().English();
    if (message.rfind("Could not load radiograph type.\r\n\r\nError reading ", 0) != 0)
      return "unexpected failure message: " + message;
    return {};
  }
  std::string written = WriteTypeFileText(first);
  TXRayType second;
  if (const TResult read = ReadTypeFileText(written, second); !read)
    return "a written file does not read back: " + read.Text().English();
  if (WriteTypeFileText(second) != written) return "writing a file read back gives different bytes";
  return {};
}

}  // namespace lumacet

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string problem =
      lumacet::CheckTypeFileRoundTrip(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!problem.empty()) std::abort();
  return 0;
}
