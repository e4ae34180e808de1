// The shape model of landmark prediction built from radiographs: the digitized points of a
// type over the records of a data file, or the data imported into a PCA element; and the
// placed points of one radiograph given to it by name.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "persistence/data_file.h"
#include "population/landmark_prediction.h"
#include "population/record_scan.h"

namespace lumacet {

class TRadiograph;
class TXRay;
class TXRayType;

struct TLandmarkModel {
  std::vector<std::string> Points;  // the model's landmarks, by name, in model order
  TShapeModel Model;
};

// The configurations of the named points over the chosen records of the type, one per
// record on which all of them are valid; `skipped` counts the records of the type that
// lack one. `progress` is told "Reading: <name>" before each record and stops the reading
// when it gives false (then the result is refused as cancelled).
TResultOf<TShapeSamples> ReadLandmarkSamples(const std::string& dataFile, const std::vector<int>& records,
                                             const std::string& typeName, const std::vector<std::string>& points,
                                             const TTypeResolver& types, const TDataFileOptions& options,
                                             const TProgress& progress, int& skipped);

// The model of the type's digitized points over the chosen records.
TResultOf<TLandmarkModel> BuildLandmarkModel(const std::string& dataFile, const std::vector<int>& records,
                                             const TXRayType& type, const TTypeResolver& types,
                                             const TDataFileOptions& options, const TProgress& progress);
// The model of a PCA element's points from the data imported into it.
TResultOf<TLandmarkModel> LandmarkModelFromPca(TXRPCA& pca);

// The model digitizing a radiograph predicts from: that of the first PCA element of its type
// holding imported data, else that of the records of its type in its own data file. Refused
// when neither gives one (no data file, too few records with every point of the type).
TResultOf<TLandmarkModel> DigitizingModel(TXRay& xray, const TTypeResolver& types, const TDataFileOptions& options);

// The names turned into the model's indices; refused, naming it, for a name the model
// does not hold.
TResultOf<std::vector<int>> LandmarkIndices(const TLandmarkModel& model, const std::vector<std::string>& names);

// The model's landmarks that are valid on the radiograph, restricted to `only` when it is
// not empty, as the placed landmarks of a prediction.
std::vector<TPlacedLandmark> PlacedLandmarks(const TLandmarkModel& model, TRadiograph& radiograph,
                                             const std::vector<int>& only = {});

// The prediction of the named landmark, the one to place next, from every other landmark of
// the model valid on the radiograph: what digitizing shows as a marker with its ellipse, and
// checks a placement against (TPredictedLandmark::Outside). Nothing when the model does not
// hold the landmark or fewer than two others are placed.
std::optional<TPredictedLandmark> PredictLandmark(const TLandmarkModel& model, TRadiograph& radiograph,
                                                  const std::string& name);

}  // namespace lumacet
