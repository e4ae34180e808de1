#include "population/landmark_export.h"

#include <filesystem>
#include <optional>
#include <vector>

#include "measure/analysis_text.h"
#include "model/xray.h"
#include "model/xray_type.h"
#include "support/file_numbers.h"
#include "support/text_codec.h"

namespace lumacet {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr int kDecimals = 4;
constexpr std::string_view kTenthOfMillimetre = "0.1";
constexpr std::string_view kIdDateFormat = "yyyy-MM-dd";

TLandmarkExportResult Refused(std::string message, std::string reason = {}) {
  TLandmarkExportResult result;
  result.Message = std::move(message);
  result.Reason = std::move(reason);
  return result;
}

// The landmarks of the chosen set in the type's own elements; members of a drawing that
// are shape analyses give their points. Nothing when the type lacks the element.
std::optional<std::vector<TXRPoint*>> Landmarks(const TXRayType& type, const TLandmarkExportOptions& options) {
  std::vector<TXRPoint*> points;
  if (options.Points == TLandmarkSet::AllDigitized) {
    for (const auto& element : type.ElementList(ekDigPoint)) points.push_back(static_cast<TXRPoint*>(element.get()));
    return points;
  }
  const int code = options.Points == TLandmarkSet::Drawing ? ekGraphic : ekPCA;
  auto* element = dynamic_cast<TXRPointElement*>(type.FindElement(options.Element, code));
  if (element == nullptr) return std::nullopt;
  for (TXRayElement* member : element->Points) {
    if (auto* point = dynamic_cast<TXRPoint*>(member)) {
      points.push_back(point);
    } else if (auto* pca = dynamic_cast<TXRPCA*>(member)) {
      for (TXRayElement* pcaMember : pca->Points)
        if (auto* pcaPoint = dynamic_cast<TXRPoint*>(pcaMember)) points.push_back(pcaPoint);
    }
  }
  return points;
}

std::string MorphoJHeader(size_t count) {
  std::string line = "ID";
  for (size_t i = 1; i <= count; ++i) line += "\tx" + std::to_string(i) + "\ty" + std::to_string(i);
  return line + std::string(kLineEnd);
}

// One configuration in the chosen format (UTF-8).
std::string Configuration(const TXRay& xray, size_t line, const std::vector<TXRPoint*>& points,
                          const TLandmarkExportOptions& options) {
  std::string text;
  if (options.Format == TLandmarkFormat::Tps) {
    text += "LM=" + std::to_string(points.size()) + std::string(kLineEnd);
    for (TXRPoint* point : points)
      text += FormatRounded(point->GetX(), kDecimals) + " " + FormatRounded(point->GetY(), kDecimals) +
              std::string(kLineEnd);
    // Image names often carry the patient's: an anonymous file names none.
    if (!xray.ImageFile.empty() && !options.Anonymize)
      text += "IMAGE=" + std::filesystem::path(xray.ImageFile).filename().string() + std::string(kLineEnd);
    text += "ID=" + std::to_string(line) + std::string(kLineEnd);
    text += "SCALE=" + std::string(kTenthOfMillimetre) + std::string(kLineEnd);
  } else {
    // A date never entered (day 0) leaves the label to the name.
    text += xray.DateTaken == 0 ? xray.Name : xray.Name + " " + FormatDate(xray.DateTaken, kIdDateFormat);
    for (TXRPoint* point : points)
      text += "\t" + FormatRounded(point->GetX(), kDecimals) + "\t" + FormatRounded(point->GetY(), kDecimals);
    text += kLineEnd;
  }
  return text;
}

}  // namespace

TLandmarkExportResult ExportLandmarks(const TLandmarkExportOptions& options, const TLandmarkContext& context,
                                      const TProgress& progress) {
  if (options.SourceFile.empty() || options.TargetFile.empty()) return Refused(std::string(kExportFilesMissingMessage));
  if (IsSameFile(options.SourceFile, options.TargetFile)) return Refused(std::string(kSameFilesMessage));
  const TXRayType* type = context.Types ? context.Types(options.TypeName) : nullptr;
  if (type == nullptr) return Refused(FillIn(kTypeMissingMessage, options.TypeName));
  const std::optional<std::vector<TXRPoint*>> chosen = Landmarks(*type, options);
  if (!chosen) return Refused(FillIn(kLandmarkElementMissingMessage, options.Element));
  if (chosen->empty()) return Refused(std::string(kNoLandmarksMessage));
  const std::string target = RewriteTarget(options.TargetFile);
  if (IsReadOnlyFile(target)) return Refused(std::string(kExportFileErrorMessage), target + " is read-only");

  std::string content;
  if (options.Format == TLandmarkFormat::MorphoJ) content = MorphoJHeader(chosen->size());
  TDataFileOptions data = context.Data;
  data.ShowLifeSize = options.LifeSize;
  TLandmarkExportResult result;
  std::string reason;
  const TRecordScan scan =
      ForEachRecordOfType(options.SourceFile, options.TypeName, context.Types, data, [&](TXRay& xray, size_t line) {
        if (options.Anonymize) Anonymize(xray, line);
        if (progress && !progress(FillIn(kExportingStatus, xray.Name))) {
          result.Cancelled = true;
          return false;
        }
        // The record's own type may be another copy of the type: its points count.
        const std::optional<std::vector<TXRPoint*>> points = Landmarks(*xray.Type(), options);
        if (!points || points->size() != chosen->size()) {
          ++result.Incomplete;
          return true;
        }
        const TLoadedRadiograph loaded = xray.Load();
        for (TXRPoint* point : *points) {
          if (!loaded.IsValid(point)) {
            ++result.Incomplete;
            return true;
          }
        }
        if (options.ReflectY) FlipVertical(*loaded.Type());
        const std::string text = Configuration(xray, line, *points, options);
        std::optional<std::string> encoded = EncodeText(text, options.Encoding);
        if (!encoded) {
          reason = EncodingError(options.Encoding, text);
          return false;
        }
        content += *encoded;
        ++result.Exported;
        return true;
      });
  FinishExport(scan, options.SourceFile, reason, target, progress, result, [&](std::string& file, std::string&) {
    file = options.ByteOrderMark && options.Encoding == TTextEncoding::Utf8 ? std::string(kUtf8ByteOrderMark) : "";
    file += content;
    return true;
  });
  if (result.Ok && !result.Cancelled && result.Incomplete > 0)
    result.Message += FillIn(kIncompleteSuffix, std::to_string(result.Incomplete));
  if (result.Ok && !result.Cancelled) result.Message += "\r\n" + std::string(ScaleName(options.LifeSize));
  return result;
}

}  // namespace lumacet
