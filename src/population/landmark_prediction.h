// Predicting the landmarks not yet placed from those already placed, by a statistical model
// of the shapes of a collection: the placed landmarks are brought onto the model's mean by a
// similarity transform, the others follow as the conditional mean given them (a regression
// of the missing coordinates on the placed ones, regularised, in the aligned frame), and
// each prediction carries the ellipse of its conditional covariance, mapped back.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/coordinates.h"
#include "population/procrustes_analysis.h"
#include "support/result.h"

namespace lumacet {

class TXRPCA;

// The flag a placement outside its 99 % ellipse gets; it is not refused.
inline constexpr TTextSource kFarFromExpectedMessage =
    LcText("Prediction", "Far from the expected position: check this point.");

struct TPlacedLandmark {
  int Index = 0;  // the landmark's place in the model, from 0
  TFloatPoint At;
};

// One predicted landmark with its covariance, in the units of the placed positions.
struct TPredictedLandmark {
  int Index = 0;
  TFloatPoint At;
  double Cxx = 0, Cxy = 0, Cyy = 0;

  // The squared Mahalanobis distance of a position from the prediction.
  double Distance2(TFloatPoint position) const;
  // True when the position lies outside the ellipse holding `level` of the placements
  // (a chi-square quantile with two degrees of freedom).
  bool Outside(TFloatPoint position, double level = 0.99) const;
};

// The ellipse holding `level` of the placements: half axes and the direction of the major
// one (radians, counter-clockwise as displayed, y running downwards).
struct TEllipse {
  TFloatPoint Centre;
  double Major = 0;
  double Minor = 0;
  double Angle = 0;
};
TEllipse UncertaintyEllipse(const TPredictedLandmark& prediction, double level = 0.99);

class TShapeModel {
 public:
  // The model of configurations of k points (every one placed): superimposed by partial
  // Procrustes to a convergence, their mean and covariance at unit size. Refused with fewer
  // than two configurations or two points, or a configuration whose points coincide.
  static TResultOf<TShapeModel> Build(const TShapeSamples& samples);
  // The model a PCA element holds once data were imported into it: its consensus and the
  // covariance of its components. Refused when it has no usable data.
  static TResultOf<TShapeModel> FromPca(TXRPCA& pca);

  int PointCount() const { return fPoints; }
  int SampleCount() const { return fSamples; }

  // Every landmark not placed, in model order. Refused with fewer than two placed landmarks,
  // an index outside the model or placed twice, or placed landmarks that coincide.
  TResultOf<std::vector<TPredictedLandmark>> Predict(std::span<const TPlacedLandmark> placed) const;

 private:
  TShapeModel() = default;
  void AddPoseDirections();

  int fPoints = 0;
  int fSamples = 0;
  std::vector<double> fMean;        // 2k, centred, unit size
  std::vector<double> fCovariance;  // 2k x 2k, with the pose directions left free
  double fRidge = 0;                // added to the placed landmarks' covariance
};

// K-fold cross-validation of predictions from the landmarks `placed` (model indices):
// sample i is predicted by the model of the samples not in fold i mod K.
struct TCrossValidation {
  std::vector<double> MeanError;  // per landmark, radial, in the samples' units; 0 for placed ones
  double Overall = 0;             // over every prediction of the landmarks not placed
  int Predictions = 0;
};
TResultOf<TCrossValidation> CrossValidate(const TShapeSamples& samples, std::span<const int> placed, int folds);

// How well the 99 % ellipse tells a slip: every landmark of every sample predicted from all
// its others, by the model of the folds the sample is not in, and checked where it was
// placed and `displacement` away in a random direction (drawn from `seed`).
struct TFlagRates {
  double Displaced = 0;  // share of displaced placements flagged
  double InPlace = 0;    // share of placements as given flagged
};
TResultOf<TFlagRates> CheckFlags(const TShapeSamples& samples, int folds, double displacement, unsigned seed);

}  // namespace lumacet
