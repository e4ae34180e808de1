#include "population/landmark_model.h"

#include <algorithm>

#include "model/list_elements.h"
#include "model/xray.h"
#include "model/xray_type.h"
#include "population/procrustes_run.h"

namespace lumacet {

TResultOf<TShapeSamples> ReadLandmarkSamples(const std::string& dataFile, const std::vector<int>& records,
                                             const std::string& typeName, const std::vector<std::string>& points,
                                             const TTypeResolver& types, const TDataFileOptions& options,
                                             const TProgress& progress, int& skipped) {
  TShapeSamples samples;
  samples.PointCount = static_cast<int>(points.size());
  skipped = 0;
  const TRecordScan scan = ForEachChosenRecord(
      dataFile, records, typeName, types, options, [&](std::unique_ptr<TXRay>& xray, int) {
        if (progress && !progress(FillIn(kReadingRecordStatus, xray->Name))) return false;
        const TLoadedRadiograph loaded = xray->Load();
        std::vector<double> row;
        for (const std::string& name : points) {
          const std::optional<TFloatPoint> at = loaded.Position(loaded.Find(name, ekDigPoint));
          if (!at) break;
          row.push_back(at->X);
          row.push_back(at->Y);
        }
        if (row.size() == 2 * points.size())
          samples.Add(row, xray->Name);
        else
          ++skipped;
        return true;
      });
  if (scan.ReadFailed) return TResult::Failure(TText(kFileReadErrorMessage, {dataFile}));
  if (scan.Stopped) return TResult::Failure(TText(LcText("Prediction", "Reading the radiographs was cancelled.")));
  return samples;
}

TResultOf<TLandmarkModel> BuildLandmarkModel(const std::string& dataFile, const std::vector<int>& records,
                                             const TXRayType& type, const TTypeResolver& types,
                                             const TDataFileOptions& options, const TProgress& progress) {
  std::vector<std::string> points;
  for (const auto& element : type.ElementList(ekDigPoint)) points.push_back(element->Name);
  int skipped = 0;
  TResultOf<TShapeSamples> samples =
      ReadLandmarkSamples(dataFile, records, type.Name, points, types, options, progress, skipped);
  if (!samples) return samples.Outcome();
  TResultOf<TShapeModel> model = TShapeModel::Build(*samples);
  if (!model) return model.Outcome();
  return TLandmarkModel{std::move(points), std::move(*model)};
}

TResultOf<TLandmarkModel> LandmarkModelFromPca(TXRPCA& pca) {
  TResultOf<TShapeModel> model = TShapeModel::FromPca(pca);
  if (!model) return model.Outcome();
  std::vector<std::string> points;
  for (const TXRayElement* point : pca.Points) points.push_back(point != nullptr ? point->Name : std::string());
  return TLandmarkModel{std::move(points), std::move(*model)};
}

TResultOf<TLandmarkModel> DigitizingModel(TXRay& xray, const TTypeResolver& types, const TDataFileOptions& options) {
  TXRayType* type = xray.Type();
  if (type == nullptr) return TResult::Failure(TText(LcText("Prediction", "The radiograph has no type.")));
  for (const auto& element : type->ElementList(ekPCA)) {
    auto& pca = static_cast<TXRPCA&>(*element);
    if (pca.HasData)
      if (TResultOf<TLandmarkModel> model = LandmarkModelFromPca(pca)) return model;
  }
  const std::optional<std::vector<int>> records =
      xray.DataFile.empty() ? std::nullopt : AllRecords(xray.DataFile);
  if (!records) return TResult::Failure(TText(kFileReadErrorMessage, {xray.DataFile}));
  return BuildLandmarkModel(xray.DataFile, *records, *type, types, options, {});
}

TResultOf<std::vector<int>> LandmarkIndices(const TLandmarkModel& model, const std::vector<std::string>& names) {
  std::vector<int> indices;
  for (const std::string& name : names) {
    const auto found = std::find(model.Points.begin(), model.Points.end(), name);
    if (found == model.Points.end())
      return TResult::Failure(TText(LcText("Prediction", "The shape model has no landmark named %1."), {name}));
    indices.push_back(static_cast<int>(found - model.Points.begin()));
  }
  return indices;
}

std::vector<TPlacedLandmark> PlacedLandmarks(const TLandmarkModel& model, TRadiograph& radiograph,
                                             const std::vector<int>& only) {
  std::vector<TPlacedLandmark> placed;
  if (radiograph.Type() == nullptr) return placed;
  const TLoadedRadiograph loaded = radiograph.Load();
  for (int i = 0; i < static_cast<int>(model.Points.size()); ++i) {
    if (!only.empty() && std::find(only.begin(), only.end(), i) == only.end()) continue;
    if (std::optional<TFloatPoint> at = loaded.Position(loaded.Find(model.Points[static_cast<size_t>(i)], ekAnyPoint)))
      placed.push_back({i, *at});
  }
  return placed;
}

std::optional<TPredictedLandmark> PredictLandmark(const TLandmarkModel& model, TRadiograph& radiograph,
                                                  const std::string& name) {
  TResultOf<std::vector<int>> index = LandmarkIndices(model, {name});
  if (!index) return std::nullopt;
  std::vector<TPlacedLandmark> placed = PlacedLandmarks(model, radiograph);
  std::erase_if(placed, [&](const TPlacedLandmark& p) { return p.Index == index->front(); });
  TResultOf<std::vector<TPredictedLandmark>> predicted = model.Model.Predict(placed);
  if (!predicted) return std::nullopt;
  for (const TPredictedLandmark& p : *predicted)
    if (p.Index == index->front()) return p;
  return std::nullopt;
}

}  // namespace lumacet
