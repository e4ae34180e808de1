#include "population/mean_tracing.h"

#include <algorithm>

#include "model/kind_codes.h"
#include "model/list_elements.h"
#include "model/xray.h"
#include "model/xray_type.h"
#include "simulation/superimposition.h"
#include "support/text_codec.h"

namespace lumacet {

namespace {

TResult NotValidOn(const TXRay& xray, const TXRSupimp& superimposition, std::string reason) {
  return TResult::Failure(TText(LcText("Mean", "The superimposition %1 is not valid on radiograph %2."),
                                {superimposition.Name, xray.Name}),
                          std::move(reason));
}

}  // namespace

TResult TMeanAccumulator::Add(std::unique_ptr<TXRay> xray) {
  if (!fSuperimposition.CanCompute(*xray)) return NotValidOn(*xray, fSuperimposition, "a point is missing or not valid");
  if (fReference == nullptr) {
    fReference = std::move(xray);
    fPoints.assign(fReference->Coordinates.size(), TMultiPoint{});
    Accumulate(*fReference);
    fCount = 1;
    return {};
  }
  TResultOf<std::vector<TMovement>> movements = SuperimpositionMovements(fSuperimposition, *fReference, *xray);
  if (!movements) return NotValidOn(*xray, fSuperimposition, movements.Reason());
  {
    // The radiograph is discarded after it is added: what it moved is nobody's history.
    THistoryPause pause(*xray);
    for (const TMovement& movement : *movements)
      if (TResult moved = ApplyMovement(movement, *xray, fOptions); !moved) return NotValidOn(*xray, fSuperimposition, moved.Reason());
  }
  Accumulate(*xray);
  ++fCount;
  return {};
}

void TMeanAccumulator::Accumulate(TXRay& xray) {
  // Radiographs of one type have one coordinate per digitized point, in the type's order.
  const size_t count = std::min(fPoints.size(), xray.Coordinates.size());
  for (size_t i = 0; i < count; ++i) {
    const TDigPoint& point = *xray.Coordinates[i];
    if (point.XSet() && point.YSet()) fPoints[i].Add({point.RawX(), point.RawY()});
  }
}

std::unique_ptr<TXRay> TMeanAccumulator::Finish() {
  if (fReference == nullptr) return nullptr;
  int largest = 0;
  for (size_t i = 0; i < fPoints.size(); ++i) {
    const TMultiPoint& sum = fPoints[i];
    TDigPoint& point = *fReference->Coordinates[i];
    if (sum.Count > 0) {
      const TFloatPoint mean = sum.Mean();
      point.SetRaw(mean.X, mean.Y, true, true);
    } else {
      point.SetRaw(point.RawX(), point.RawY(), false, false);
    }
    largest = std::max(largest, sum.Count);
  }
  fReference->Comments = FillIn(kMeanComment, std::to_string(largest));
  fReference->ImageFile.clear();
  fReference->Modified = true;
  fPoints.clear();
  fCount = 0;
  return std::move(fReference);
}

std::string MeanRequestError(const TMeanRequest& request, bool freeSlot) {
  if (!freeSlot && !request.Pairwise) return std::string(kNoRoomMessage);
  if (request.Pairwise && request.PairsFile.empty()) return std::string(kNoDestinationMessage);
  if (request.DataFile.empty() || request.Records.empty()) return std::string(kNoRadiographsMessage);
  // Pairs appended to the file being read would be read again as radiographs.
  if (request.Pairwise && IsSameFile(request.PairsFile, request.DataFile)) return std::string(kSameFilesMessage);
  return {};
}

TMeanResult RunMean(const TMeanRequest& request, const TTypeResolver& types, const TDataFileOptions& fileOptions,
                    const TProgress& progress) {
  TMeanResult result;
  TXRayType* type = types ? types(request.TypeName) : nullptr;
  auto* superimposition =
      type != nullptr ? dynamic_cast<TXRSupimp*>(type->FindElement(request.SuperimpositionName, ekSupimp)) : nullptr;
  if (superimposition == nullptr) {
    result.Outcome = TResult::Failure(TText(LcText("Mean", "The type %1 has no superimposition named %2."),
                                            {request.TypeName, request.SuperimpositionName}));
    return result;
  }
  // The radiographs read are discarded: their movements are not logged.
  const TMovementOptions options{.Connected = false, .Compile = false, .TracingLocked = false, .AutoVto = false};
  TMeanAccumulator accumulator(*superimposition, options);

  // Without the pairwise mode every record is one range; with it, ranges of two records.
  const size_t rangeLength = request.Pairwise ? 2 : request.Records.size();
  for (size_t first = 0; first + rangeLength <= request.Records.size() && rangeLength > 0; first += rangeLength) {
    const std::vector<int> range(request.Records.begin() + static_cast<long>(first),
                                 request.Records.begin() + static_cast<long>(first + rangeLength));
    TResult failed;
    const TRecordScan scan =
        ForEachChosenRecord(request.DataFile, range, request.TypeName, types, fileOptions,
                            [&](std::unique_ptr<TXRay>& xray, int) {
                              if (progress && !progress(FillIn(kCalculatingRecordStatus, xray->Name))) return false;
                              failed = accumulator.Add(std::move(xray));
                              return failed.Ok();
                            });
    result.Unreadable += scan.Unreadable;
    if (scan.ReadFailed) {
      result.Outcome = TResult::Failure(TText(kFileReadErrorMessage, {request.DataFile}));
      return result;
    }
    if (!failed) {
      if (request.Pairwise)
        result.Outcome = TResult::Failure(TText(LcText("Mean", "%1\r\n\r\n%2 pairs were written before it."),
                                                {failed.Text(), TText::Verbatim(std::to_string(result.PairsWritten))}),
                                          failed.Reason());
      else
        result.Outcome = failed;
      return result;
    }
    if (scan.Stopped) {
      result.Stopped = true;
      return result;
    }
    std::unique_ptr<TXRay> mean = accumulator.Finish();
    if (mean == nullptr) continue;  // no record of the type in this range
    if (!request.Pairwise) {
      mean->Name = kMeanName;
      result.Mean = std::move(mean);
      break;
    }
    mean->DataFile = request.PairsFile;
    if (TResult appended = AppendToDataFile(*mean, request.PairsFile, fileOptions); !appended) {
      result.Outcome = appended;
      return result;
    }
    ++result.PairsWritten;
  }
  if (progress) progress(std::string(kCompletedStatus));
  return result;
}

}  // namespace lumacet
