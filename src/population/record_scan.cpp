#include "population/record_scan.h"

#include <sys/stat.h>

#include <filesystem>
#include <vector>

#include "geometry/point_lists.h"
#include "model/point_geometry.h"
#include "model/xray.h"
#include "model/xray_type.h"
#include "persistence/data_lines.h"
#include "support/text_codec.h"

namespace lumacet {

namespace fs = std::filesystem;

std::string RecordKeyField(std::string_view line, size_t index) {
  std::string_view key = LineKey(line);
  for (size_t skipped = 0; skipped < index; ++skipped) {
    const size_t comma = key.find(',');
    if (comma == std::string_view::npos) return {};
    key.remove_prefix(comma + 1);
  }
  return DecodeCp1252(TrimField(key.substr(0, key.find(','))));
}

std::string RecordTypeName(std::string_view line) { return RecordKeyField(line, kKeyTypeField); }

std::string AnonymousName(size_t record) { return "Record " + std::to_string(record); }

void Anonymize(TXRay& xray, size_t record) {
  xray.Name = AnonymousName(record);
  xray.Comments.clear();
}

bool IsSameFile(const std::string& first, const std::string& second) {
  struct stat a {};
  struct stat b {};
  if (::stat(first.c_str(), &a) == 0 && ::stat(second.c_str(), &b) == 0)
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
  std::error_code error;
  const fs::path one = fs::weakly_canonical(fs::absolute(first, error), error);
  const fs::path two = fs::weakly_canonical(fs::absolute(second, error), error);
  return one.lexically_normal() == two.lexically_normal();
}

std::string TotalMessage(std::string_view total, int count, int unreadable) {
  std::string message = FillIn(total, std::to_string(count));
  if (unreadable > 0) message += FillIn(kUnreadableSuffix, std::to_string(unreadable));
  return message;
}

void FlipVertical(TXRayType& type) {
  std::vector<TXRPoint*> points;
  for (const auto& element : type.ElementList(ekDigPoint)) points.push_back(static_cast<TXRPoint*>(element.get()));
  FlipPointsVertical(points);
  type.InvalidateDerived();
  type.InvalidateVariables();
}

TRecordScan ForEachRecordOfType(const std::string& path, const std::string& typeName, const TTypeResolver& types,
                                const TDataFileOptions& options,
                                const std::function<bool(TXRay& xray, size_t line)>& visit) {
  TRecordScan scan;
  TDataFileIndex file;
  if (!file.Open(path)) {
    scan.ReadFailed = true;
    return scan;
  }
  const bool read = file.ForEachLine([&](size_t number, std::string_view text) {
    if (RecordTypeName(text) != typeName) return true;
    TXRay xray;
    xray.DataFile = path;
    if (LoadFromDataLine(xray, text, types, options) != lsLoaded) {
      ++scan.Unreadable;
      return true;
    }
    scan.Stopped = !visit(xray, number);
    return !scan.Stopped;
  });
  scan.ReadFailed = !read;
  return scan;
}

std::optional<std::vector<int>> AllRecords(const std::string& path) {
  TDataFileIndex file;
  std::vector<int> records;
  if (!file.Open(path) || !file.ForEachLine([&](size_t number, std::string_view) {
        records.push_back(static_cast<int>(number));
        return true;
      }))
    return std::nullopt;
  return records;
}

TRecordScan ForEachChosenRecord(const std::string& path, const std::vector<int>& records, const std::string& typeName,
                                const TTypeResolver& types, const TDataFileOptions& options,
                                const std::function<bool(std::unique_ptr<TXRay>& xray, int record)>& visit) {
  TRecordScan scan;
  TDataFileIndex file;
  if (!file.Open(path)) {
    scan.ReadFailed = true;
    return scan;
  }
  std::string line;
  for (int record : records) {
    if (record < 1 || !file.ReadLine(static_cast<size_t>(record), line)) {
      if (file.Failed()) break;
      continue;  // the file changed since the records were chosen
    }
    if (RecordTypeName(line) != typeName) continue;
    auto xray = std::make_unique<TXRay>();
    xray->DataFile = path;
    if (LoadFromDataLine(*xray, line, types, options) != lsLoaded) {
      ++scan.Unreadable;
      continue;
    }
    if (!visit(xray, record)) {
      scan.Stopped = true;
      break;
    }
  }
  scan.ReadFailed = file.Failed();
  return scan;
}

}  // namespace lumacet
