// libFuzzer target for the radiograph data file reader. Whatever the bytes, listing them as
// a data file and reading each line as a record must neither crash nor leak; a record that
// reads and can be written must write a record that reads again to the same record.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "model/xray.h"
#include "model/xray_type.h"
#include "persistence/data_file.h"
#include "persistence/data_lines.h"
#include "persistence/record_browser.h"

namespace lumacet {

namespace {

// Every type name finds this type, so that reading goes on past the type to the image part
// and the coordinates.
TXRayType& FuzzType() {
  static std::unique_ptr<TXRayType> type = [] {
    auto t = std::make_unique<TXRayType>();
    t->Name = "Fuzz";
    std::string message;
    for (const char* name : {"S", "N", "A"}) t->AddElement(name, ekDigPoint, message);
    return t;
  }();
  return *type;
}

TDataFileOptions FuzzOptions(bool compatibility) {
  TDataFileOptions options;
  options.ImageFolder = "/films";
  options.Dates.Compatibility = compatibility;
  options.Dates.ShortDateFormat = "dd.MM.yy";
  options.Dates.CenturyYear = 2024;
  return options;
}

}  // namespace

// Empty when the bytes pass; otherwise what went wrong.
std::string CheckDataRecords(std::string_view bytes) {
  const TTypeResolver types = [](const std::string&) { return &FuzzType(); };
  const bool compatibility = !bytes.empty() && (static_cast<unsigned char>(bytes[0]) & 1) != 0;
  const TDataFileOptions options = FuzzOptions(compatibility);

  TListing listing;
  listing.FilterText = bytes.size() > 2 ? std::string(bytes.substr(1, 2)) : std::string();
  listing.Dates = options.Dates;
  listing.SortKey = LocaleSortKeys("C");
  for (const TRecordRow& row : ListRecords(bytes, listing))
    if (row.Record < 1 || row.Key.size() > kRecordKeyLength) return "a listed row is malformed";

  TLineCursor cursor(bytes);
  TLineSpan line;
  while (cursor.Next(line)) {
    TXRay first;
    if (LoadFromDataLine(first, line.Text, types, options) != lsLoaded) continue;
    const auto written = FormatDataRecord(first, options);
    if (!written) continue;
    if (LineKey(*written) != RecordKey(first, options)) return "the record does not start with the key";
    TXRay second;
    std::string_view text(*written);
    text.remove_suffix(2);  // CR LF
    const int stage = LoadFromDataLine(second, text, types, options);
    if (stage != lsLoaded) return "a written record fails at stage " + std::to_string(stage);
    const auto again = FormatDataRecord(second, options);
    if (!again || *again != *written) return "a record read back writes differently";
  }
  return {};
}

}  // namespace lumacet

#ifndef LUMACET_CORPUS_REPLAY
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string problem = lumacet::CheckDataRecords(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!problem.empty()) {
    std::fprintf(stderr, "%s\n", problem.c_str());
    std::abort();
  }
  return 0;
}
#endif
