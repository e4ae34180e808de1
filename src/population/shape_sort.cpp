#include "population/shape_sort.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

#include "model/kind_codes.h"
#include "model/list_elements.h"
#include "model/xray.h"
#include "model/xray_type.h"
#include "population/pca_statistics.h"
#include "population/procrustes_run.h"
#include "simulation/superimposition.h"

namespace lumacet {

namespace {

template <typename T>
T* Named(TRadiograph& radiograph, const std::string& name, int code) {
  return radiograph.Type() != nullptr ? dynamic_cast<T*>(radiograph.Type()->FindElement(name, code)) : nullptr;
}

bool IsPcaDrawing(const TXRGraphic& drawing) {
  return drawing.Kind() == KindNumber(TGraphicKind::PcaConsensusMarkers) ||
         drawing.Kind() == KindNumber(TGraphicKind::PcaJoinPoints);
}

// What a radiograph is compared against, taken from the current radiograph before the scan.
class TShapeReference {
 public:
  TShapeReference(const TShapeSortRequest& request, TRadiograph& current, const TMeasureContext& context)
      : fRequest(request), fCurrent(current), fContext(context) {
    const TLoadedRadiograph loaded = current.Load();
    switch (request.Measure) {
      case TShapeMeasure::Procrustes:
        if (auto* pca = Named<TXRPCA>(current, request.PcaName, ekPCA)) fShape = PcaShape(*pca).value_or(fShape);
        break;
      case TShapeMeasure::Superimposition:
        if (auto* drawing = Named<TXRGraphic>(current, request.DrawingName, ekGraphic))
          for (TXRayElement* point : drawing->Points) fPoints.push_back(loaded.Position(point));
        break;
      case TShapeMeasure::Analysis:
        if (auto* analysis = Named<TXRAnalysis>(current, request.AnalysisName, ekAnalysis))
          for (TXRayElement* element : analysis->Points) {
            auto* variable = dynamic_cast<TXRVariable*>(element);
            std::optional<double> value;
            if (variable != nullptr) {
              ComputeVariable(*variable, current, context);
              value = VariableNumber(*variable, context.Formats);
            }
            fValues.push_back(value);
          }
        break;
    }
  }

  // The radiograph's score; nothing when its points, superimposition or values cannot be had.
  std::optional<double> Score(TXRay& xray) const {
    std::optional<double> score;
    switch (fRequest.Measure) {
      case TShapeMeasure::Procrustes: score = ProcrustesScore(xray); break;
      case TShapeMeasure::Superimposition: score = SuperimpositionScore(xray); break;
      case TShapeMeasure::Analysis: score = AnalysisScore(xray); break;
    }
    if (score && !std::isfinite(*score)) return std::nullopt;
    return score;
  }

 private:
  std::optional<double> ProcrustesScore(TXRay& xray) const {
    const TLoadedRadiograph loaded = xray.Load();
    auto* pca = dynamic_cast<TXRPCA*>(loaded.Find(fRequest.PcaName, ekPCA));
    if (pca == nullptr) return std::nullopt;
    return TPcaMeasurer().ShapeDistance(*pca, fShape);
  }

  std::optional<double> SuperimpositionScore(TXRay& xray) const {
    auto* superimposition = Named<TXRSupimp>(fCurrent, fRequest.SuperimpositionName, ekSupimp);
    auto* drawing = Named<TXRGraphic>(xray, fRequest.DrawingName, ekGraphic);
    if (superimposition == nullptr || drawing == nullptr || !superimposition->CanCompute(xray)) return std::nullopt;
    TResultOf<std::vector<TMovement>> movements = SuperimpositionMovements(*superimposition, fCurrent, xray);
    if (!movements) return std::nullopt;
    THistoryPause pause(xray);
    for (const TMovement& movement : *movements)
      if (!ApplyMovement(movement, xray, {.Connected = false, .Compile = false})) return std::nullopt;
    const TLoadedRadiograph loaded = xray.Load();
    double sum = 0;
    int pairs = 0;
    for (size_t i = 0; i < fPoints.size() && i < drawing->Points.size(); ++i) {
      const std::optional<TFloatPoint> at = loaded.Position(drawing->Points[i]);
      if (!fPoints[i] || !at) continue;
      sum += (at->X - fPoints[i]->X) * (at->X - fPoints[i]->X) + (at->Y - fPoints[i]->Y) * (at->Y - fPoints[i]->Y);
      ++pairs;
    }
    // With no point valid on both there is nothing to compare, which is no perfect match.
    if (pairs == 0) return std::nullopt;
    return sum;
  }

  std::optional<double> AnalysisScore(TXRay& xray) const {
    auto* analysis = Named<TXRAnalysis>(xray, fRequest.AnalysisName, ekAnalysis);
    if (analysis == nullptr) return std::nullopt;
    double sum = 0;
    for (size_t i = 0; i < fValues.size() && i < analysis->Points.size(); ++i) {
      if (!fValues[i]) continue;
      auto* variable = dynamic_cast<TXRVariable*>(analysis->Points[i]);
      if (variable == nullptr) return std::nullopt;
      ComputeVariable(*variable, xray, fContext);
      const std::optional<double> value = VariableNumber(*variable, fContext.Formats);
      if (!value) return std::nullopt;
      sum += (*fValues[i] - *value) * (*fValues[i] - *value);
    }
    return sum;
  }

  const TShapeSortRequest& fRequest;
  TRadiograph& fCurrent;
  const TMeasureContext& fContext;
  std::vector<double> fShape;
  std::vector<std::optional<TFloatPoint>> fPoints;
  std::vector<std::optional<double>> fValues;
};

}  // namespace

int MatchCount(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  long value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || end != text.data() + text.size()) return 1;
  if (error == std::errc::result_out_of_range) return text.front() == '-' ? 1 : kMaxMatches;
  return static_cast<int>(std::clamp<long>(value, 1, kMaxMatches));
}

std::string ShapeSortRequestError(const TShapeSortRequest& request, TRadiograph& current, bool freeSlot) {
  const bool writes = Writes(request.Output);
  if (!writes && !freeSlot) return std::string(kNoRoomMessage);
  if (writes && request.OutputFile.empty()) return std::string(kNoDestinationMessage);
  if (request.DataFile.empty() || request.Records.empty()) return std::string(kNoRadiographsMessage);
  if (writes && IsSameFile(request.OutputFile, request.DataFile)) return std::string(kSameFilesMessage);
  const TLoadedRadiograph loaded = current.Load();
  switch (request.Measure) {
    case TShapeMeasure::Procrustes: {
      auto* pca = dynamic_cast<TXRPCA*>(loaded.Find(request.PcaName, ekPCA));
      if (pca == nullptr) return std::string(kNoValidPcaMessage);
      if (pca->Points.size() < 2 || !PcaShape(*pca)) return std::string(kSomePointsInvalidMessage);
      break;
    }
    case TShapeMeasure::Superimposition: {
      auto* superimposition = Named<TXRSupimp>(current, request.SuperimpositionName, ekSupimp);
      auto* drawing = Named<TXRGraphic>(current, request.DrawingName, ekGraphic);
      if (superimposition == nullptr || drawing == nullptr || IsPcaDrawing(*drawing))
        return std::string(kInvalidSuperimpositionMessage);
      break;
    }
    case TShapeMeasure::Analysis:
      if (Named<TXRAnalysis>(current, request.AnalysisName, ekAnalysis) == nullptr)
        return std::string(kNoValidAnalysisMessage);
      break;
  }
  return {};
}

TShapeScan ScanShapes(const TShapeSortRequest& request, TRadiograph& current, const TTypeResolver& types,
                      const TDataFileOptions& fileOptions, const TMeasureContext& context, const TProgress& progress) {
  TShapeScan scan;
  if (std::string error = ShapeSortRequestError(request, current, true); !error.empty()) {
    scan.Outcome = TResult::Failure(TText::Verbatim(error));
    return scan;
  }
  const TShapeReference reference(request, current, context);
  int scanned = 0;
  const TRecordScan read = ForEachChosenRecord(
      request.DataFile, request.Records, current.Type()->Name, types, fileOptions,
      [&](std::unique_ptr<TXRay>& xray, int record) {
        if (request.ExcludeSamePatient && xray->SamePatient(current)) return true;
        ++scanned;
        if (progress &&
            !progress(std::to_string(scanned) + ": " + std::string(kScanningStatus) + " " + xray->Name))
          return false;
        if (std::optional<double> score = reference.Score(*xray))
          scan.Scores.push_back({*score, record, xray->Name});
        else
          ++scan.Failures;
        return true;
      });
  scan.Unreadable = read.Unreadable;
  scan.Stopped = read.Stopped;
  if (read.ReadFailed) scan.Outcome = TResult::Failure(TText(kFileReadErrorMessage, {request.DataFile}));
  current.LoadCoordinates();
  return scan;
}

std::string ScanQuestion(const TShapeScan& scan) {
  std::string question = FillIn(kScannedMessage, std::to_string(scan.Scores.size()));
  if (scan.Failures > 0) question += "\r\n\r\n" + std::string(kSomeUnusedMessage);
  return question + "\r\n\r\n" + std::string(kContinueQuestion);
}

void SortScores(std::vector<TShapeScore>& scores) {
  std::stable_sort(scores.begin(), scores.end(),
                   [](const TShapeScore& a, const TShapeScore& b) { return a.Score < b.Score; });
}

std::vector<TShapeScore> ChosenMatches(const std::vector<TShapeScore>& sorted, TShapeOutput output, int number) {
  const size_t count = output == TShapeOutput::WriteAll
                           ? sorted.size()
                           : std::min(sorted.size(), static_cast<size_t>(std::clamp(number, 1, kMaxMatches)));
  if (output == TShapeOutput::LoadWorst || output == TShapeOutput::WriteWorst)
    return {sorted.rbegin(), sorted.rbegin() + static_cast<long>(count)};
  return {sorted.begin(), sorted.begin() + static_cast<long>(count)};
}

TResultOf<int> WriteMatches(const std::vector<TShapeScore>& matches, const TShapeSortRequest& request,
                            const TTypeResolver& types, const TDataFileOptions& fileOptions,
                            const TProgress& progress) {
  int written = 0;
  for (const TShapeScore& match : matches) {
    if (progress && !progress(std::string(kWritingStatus) + " " + match.Name)) break;
    TXRay xray;
    if (LoadFromDataFile(xray, request.DataFile, match.Record, types, fileOptions) != lsLoaded)
      return TResult::Failure(TText(kFileReadErrorMessage, {request.DataFile}));
    xray.DataFile = request.OutputFile;
    if (TResult appended = AppendToDataFile(xray, request.OutputFile, fileOptions); !appended) return appended;
    ++written;
  }
  return written;
}

}  // namespace lumacet
