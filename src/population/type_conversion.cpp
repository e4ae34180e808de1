#include "population/type_conversion.h"

#include <algorithm>
#include <cmath>

#include "model/xray.h"
#include "model/xray_type.h"
#include "persistence/data_lines.h"

namespace lumacet {

namespace {

std::vector<std::string> DigitizedNames(const TXRayType& type) {
  std::vector<std::string> names;
  for (const auto& element : type.ElementList(ekDigPoint)) names.push_back(element->Name);
  return names;
}

TConversionResult Refused(std::string message, std::string reason = {}) {
  TConversionResult result;
  result.Message = std::move(message);
  result.Reason = std::move(reason);
  return result;
}

// For every target point, the position in `source`'s digitized points of the point that
// supplies it, or -1.
std::vector<int> SourcePositions(const std::vector<TCorrespondence>& rows, const TXRayType& source) {
  const std::vector<std::string> names = DigitizedNames(source);
  std::vector<int> positions;
  for (const TCorrespondence& row : rows) {
    auto found = std::find(names.begin(), names.end(), row.Source);
    positions.push_back(
        row.Source == kNoCorrespondence || found == names.end() ? -1 : static_cast<int>(found - names.begin()));
  }
  return positions;
}

// Everything a converted record carries besides its points: particulars, image link and
// image placement. The coordinates stay as the file held them (the record was read at
// radiograph size), so the magnification-corrected flag is copied with them.
void CopyParticulars(const TXRay& from, TXRay& to) {
  to.Name = from.Name;
  to.Female = from.Female;
  to.DateOfBirth = from.DateOfBirth;
  to.DateTaken = from.DateTaken;
  to.Magnification = from.Magnification;
  to.MagnificationCorrected = from.MagnificationCorrected;
  to.Comments = from.Comments;
  to.ImageFile = from.ImageFile;
  to.PixelWidth = from.PixelWidth;
  to.PixelHeight = from.PixelHeight;
  to.ImageOriginX = from.ImageOriginX;
  to.ImageOriginY = from.ImageOriginY;
  to.ImageRotation = from.ImageRotation;
}

}  // namespace

void TCorrespondenceTable::SetSourceType(const TXRayType& source) {
  fChoices = {std::string(kNoCorrespondence)};
  for (std::string& name : DigitizedNames(source)) fChoices.push_back(std::move(name));
  AutoMatch();
}

void TCorrespondenceTable::SetTargetType(const TXRayType& target) {
  fRows.clear();
  for (std::string& name : DigitizedNames(target)) fRows.push_back({std::move(name), {}});
  AutoMatch();
}

void TCorrespondenceTable::AutoMatch() {
  for (TCorrespondence& row : fRows) {
    const bool found = std::find(fChoices.begin() + 1, fChoices.end(), row.Target) != fChoices.end();
    row.Source = found ? row.Target : std::string(kNoCorrespondence);
  }
}

bool TCorrespondenceTable::Assign(size_t row, const std::string& source) {
  if (row >= fRows.size() || std::find(fChoices.begin(), fChoices.end(), source) == fChoices.end()) return false;
  fRows[row].Source = source;
  return true;
}

bool TCorrespondenceTable::Assign(const std::string& target, const std::string& source) {
  auto row = std::find_if(fRows.begin(), fRows.end(), [&](const TCorrespondence& r) { return r.Target == target; });
  return row != fRows.end() && Assign(static_cast<size_t>(row - fRows.begin()), source);
}

int CarriedCount(const std::vector<TCorrespondence>& rows) {
  return static_cast<int>(std::count_if(rows.begin(), rows.end(),
                                        [](const TCorrespondence& row) { return row.Source != kNoCorrespondence; }));
}

TConversionResult ConvertType(const TTypeConversionOptions& options, const TConversionContext& context,
                              const TProgress& progress) {
  if (options.TargetFile.empty()) return Refused(std::string(kNoDestinationMessage));
  if (!options.SourceFile.empty() && IsSameFile(options.SourceFile, options.TargetFile))
    return Refused(std::string(kSameFilesMessage));
  if (options.SourceFile.empty() || options.Records.empty()) return Refused(std::string(kNoRadiographsMessage));
  TXRayType* sourceType = context.Types ? context.Types(options.SourceType) : nullptr;
  if (sourceType == nullptr) return Refused(FillIn(kTypeMissingMessage, options.SourceType));
  TXRayType* targetType = context.Types(options.TargetType);
  if (targetType == nullptr) return Refused(FillIn(kTypeMissingMessage, options.TargetType));
  const std::vector<std::string> targetPoints = DigitizedNames(*targetType);
  const bool tableFits =
      options.Correspondences.size() == targetPoints.size() &&
      std::equal(targetPoints.begin(), targetPoints.end(), options.Correspondences.begin(),
                 [](const std::string& name, const TCorrespondence& row) { return name == row.Target; });
  if (!tableFits) return Refused(std::string(kTableMismatchMessage));
  const int carried = CarriedCount(options.Correspondences);
  const int points = static_cast<int>(targetPoints.size());
  if (points > 0 && carried < options.MinimumCarried * points) {
    const int percent = static_cast<int>(std::lround(options.MinimumCarried * 100));
    return Refused(TText(kTooFewCarriedMessage, {std::to_string(carried), std::to_string(points), options.TargetType,
                                                 options.SourceType, std::to_string(percent)})
                       .English());
  }

  TDataFileIndex source;
  if (!source.Open(options.SourceFile)) return Refused(TText(kFileReadErrorMessage, {options.SourceFile}).English());

  // Read at radiograph size: the record keeps the coordinates its file held.
  TDataFileOptions reading = context.Data;
  reading.ShowLifeSize = false;
  TXRay converted;
  converted.SetType(targetType);
  const TXRayType* positionsType = nullptr;
  std::vector<int> positions;

  TConversionResult result;
  std::string records;
  std::string line;
  for (int n : options.Records) {
    if (n < 1 || !source.ReadLine(static_cast<size_t>(n), line)) {
      if (source.Failed()) return Refused(TText(kFileReadErrorMessage, {options.SourceFile}).English());
      ++result.Unreadable;
      continue;
    }
    if (RecordTypeName(line) != options.SourceType) continue;
    TXRay xray;
    xray.DataFile = options.SourceFile;
    if (LoadFromDataLine(xray, line, context.Types, reading) != lsLoaded) {
      ++result.Unreadable;
      continue;
    }
    if (progress && !progress(FillIn(kConvertingStatus, xray.Name))) {
      result.Cancelled = true;
      break;
    }
    // Positions are looked up in the type the record was read with, by name.
    if (xray.Type() != positionsType) {
      positionsType = xray.Type();
      positions = SourcePositions(options.Correspondences, *positionsType);
    }
    CopyParticulars(xray, converted);
    for (size_t i = 0; i < converted.Coordinates.size(); ++i) {
      TDigPoint& point = *converted.Coordinates[i];
      const int from = positions[i];
      if (from >= 0 && static_cast<size_t>(from) < xray.Coordinates.size()) {
        CopyPointState(*xray.Coordinates[static_cast<size_t>(from)], point);
      } else {
        point.SetRaw(0, 0, false, false);
      }
    }
    TResultOf<std::string> record = FormatDataRecord(converted, context.Data);
    if (!record) {
      result.SaveErrors.push_back(xray.Name + ": " + record.Text().English());
      continue;
    }
    records += *record;
    ++result.Converted;
  }

  if (result.Cancelled) {
    result.Ok = true;
    result.Converted = 0;
    result.Message = TotalMessage(kConvertTotalMessage, 0, 0);
    return result;
  }
  if (result.Converted > 0) {
    TResult written =
        RewriteDataFile(options.TargetFile, kSaveErrorMessage, [&](std::string& content, std::string&) {
          if (!EndsWithLineBreak(content)) content += "\r\n";
          content += records;
          return true;
        });
    if (!written) return Refused(written.Text().English(), written.Reason());
  }
  if (progress) progress(std::string(kCompletedStatus));
  result.Ok = true;
  result.Message = TotalMessage(kConvertTotalMessage, result.Converted, result.Unreadable);
  return result;
}

}  // namespace lumacet
