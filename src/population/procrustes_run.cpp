#include "population/procrustes_run.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "model/list_elements.h"
#include "model/xray.h"
#include "model/xray_type.h"
#include "persistence/data_lines.h"
#include "population/pca_statistics.h"
#include "support/text_codec.h"

namespace lumacet {

namespace {

bool Ask(const std::function<bool(const std::string&)>& prompt, const std::string& text) {
  return !prompt || prompt(text);
}

}  // namespace

std::vector<std::string> PcaPointNames(const TXRayType& type, const std::string& pcaName) {
  std::vector<std::string> names;
  if (const auto* pca = dynamic_cast<const TXRPCA*>(type.FindElement(pcaName, ekPCA)))
    for (const TXRayElement* point : pca->Points) names.push_back(point != nullptr ? point->Name : std::string());
  return names;
}

std::string ProcrustesRequestError(const TProcrustesRequest& request, const std::vector<std::string>& pcaNames) {
  if (request.ResultsFile.empty()) return std::string(kNoDestinationMessage);
  if (!request.DataFile.empty() && IsSameFile(request.ResultsFile, request.DataFile)) return std::string(kSameFilesMessage);
  if (!request.Report.AnyOutput()) return std::string(kNoOutputMessage);
  if (pcaNames.empty()) return std::string(kNoPcasMessage);
  if (request.PcaName.empty()) return std::string(kNoPcaSelectedMessage);
  if (request.DataFile.empty() || request.Records.empty()) return std::string(kNoRadiographsMessage);
  return {};
}

TProcrustesOutcome ReadShapeSamples(const TProcrustesRequest& request, const TTypeResolver& types,
                                    const TDataFileOptions& fileOptions, const TProcrustesPrompts& prompts,
                                    TProcrustesResult& result) {
  if (!request.PcaPoints.empty()) {
    const TXRayType* cached = types ? types(request.TypeName) : nullptr;
    if (cached != nullptr && PcaPointNames(*cached, request.PcaName) != request.PcaPoints) {
      result.Message = FillIn(kPcaChangedMessage, request.PcaName);
      return TProcrustesOutcome::Refused;
    }
  }
  TDataFileOptions options = fileOptions;
  options.ShowLifeSize = request.LifeSize;
  TDataFileIndex file;
  auto readError = [&] {
    result.Message = TText(kFileReadErrorMessage, {request.DataFile}).English();
    return TProcrustesOutcome::Failed;
  };
  if (!file.Open(request.DataFile)) return readError();
  if (!Ask(prompts.Status, std::string(kReadingStatus))) return TProcrustesOutcome::Stopped;

  TShapeSamples& samples = result.Samples;
  std::string line;
  std::vector<int> records = request.Records;
  std::sort(records.begin(), records.end());
  records.erase(std::unique(records.begin(), records.end()), records.end());
  for (int record : records) {
    if (record < 1 || !file.ReadLine(static_cast<size_t>(record), line)) {
      if (file.Failed()) return readError();
      continue;  // beyond the end: the file changed since the records were chosen
    }
    if (RecordKeyField(line, kKeyTypeField) != request.TypeName) continue;
    TXRay xray;
    xray.DataFile = request.DataFile;
    if (LoadFromDataLine(xray, line, types, options) != lsLoaded) {
      if (!Ask(prompts.Skip, FillIn(kUnreadableRecordMessage, RecordKeyField(line, kKeyNameField))))
        return TProcrustesOutcome::Stopped;
      continue;
    }
    if (request.Anonymize) Anonymize(xray, static_cast<size_t>(record));
    if (!Ask(prompts.Status, FillIn(kReadingRecordStatus, xray.Name))) return TProcrustesOutcome::Stopped;
    const TLoadedRadiograph loaded = xray.Load();
    auto* pca = dynamic_cast<TXRPCA*>(loaded.Find(request.PcaName, ekPCA));
    if (pca != nullptr && pca->Points.size() < 2) {
      result.Message = kTooFewPointsMessage;
      return TProcrustesOutcome::Refused;
    }
    std::optional<std::vector<double>> shape = pca != nullptr ? PcaShape(*pca) : std::nullopt;
    if (!shape || (samples.PointCount > 0 && shape->size() != 2 * static_cast<size_t>(samples.PointCount))) {
      if (!Ask(prompts.Skip, FillIn(kPointsMissingMessage, xray.Name))) return TProcrustesOutcome::Stopped;
      continue;
    }
    if (request.FlipY)
      for (size_t j = 1; j < shape->size(); j += 2) (*shape)[j] = -(*shape)[j];
    samples.PointCount = static_cast<int>(shape->size() / 2);
    samples.Add(*shape, xray.Name);
    result.Origins.push_back({record, xray.DateTaken, request.Anonymize ? std::string() : xray.ImageFile});
    ++result.Processed;
  }
  if (file.Failed()) return readError();
  return TProcrustesOutcome::Completed;
}

TProcrustesResult RunProcrustes(const TProcrustesRequest& request, const TTypeResolver& types,
                                const TDataFileOptions& fileOptions, const TProcrustesPrompts& prompts) {
  TProcrustesResult result;
  result.Outcome = ReadShapeSamples(request, types, fileOptions, prompts, result);
  if (result.Outcome != TProcrustesOutcome::Completed) return result;
  if (!Ask(prompts.Proceed, FillIn(kProcessedMessage, std::to_string(result.Processed)))) {
    result.Outcome = TProcrustesOutcome::Stopped;
    return result;
  }
  if (!Ask(prompts.Status, std::string(kCalculatingStatus))) {
    result.Outcome = TProcrustesOutcome::Stopped;
    return result;
  }
  result.Analysis = AnalyseShapes(result.Samples, result.Message);
  if (!result.Analysis) {
    result.Outcome = TProcrustesOutcome::Refused;
    return result;
  }
  std::vector<int> order;
  for (const TProcrustesResult::TOrigin& origin : result.Origins) order.push_back(origin.Record);
  result.Report = ProcrustesReport(*result.Analysis, result.Samples.Names, request.Report, order);
  if (!request.ResultsFile.empty()) {
    Ask(prompts.Status, std::string(kWritingStatus));
    const TWriteResult written = AppendReport(request.ResultsFile, result.Report);
    if (!written.Ok) {
      result.Outcome = TProcrustesOutcome::Failed;
      result.Message = "File error writing " + request.ResultsFile + ": " + written.Error;
      return result;
    }
  }
  Ask(prompts.Status, std::string(kCompletedStatus));
  result.Outcome = TProcrustesOutcome::Completed;
  return result;
}

}  // namespace lumacet
