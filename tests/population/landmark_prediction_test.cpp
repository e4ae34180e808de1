#include "population/landmark_prediction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <numbers>

#include "model/list_elements.h"
#include "population/ceph_landmarks.h"
#include "population/shape_fixtures.h"

namespace lumacet {
namespace {

std::vector<TPlacedLandmark> Placed(const std::vector<double>& shape, std::initializer_list<int> indices) {
  std::vector<TPlacedLandmark> placed;
  for (int i : indices) placed.push_back({i, {shape[2 * i], shape[2 * i + 1]}});
  return placed;
}

TEST(LandmarkPrediction, PredictsTheMissingLandmarksOfAShapeInAnyPose) {
  const TShapeSamples samples = test::Population(300, 12, 7);
  TResultOf<TShapeModel> model = TShapeModel::Build(samples);
  ASSERT_TRUE(model) << model.Text().English();
  EXPECT_EQ(model->PointCount(), 12);
  // A new shape of the population, turned half round, doubled in size and moved far off:
  // the prediction follows it, and its error lies within the predicted ellipses.
  const TShapeSamples fresh = test::Population(1, 12, 99);
  const std::vector<double> shape = test::Transformed(fresh.Coordinates, {2.6, 2.0, -5000, 8000});
  TResultOf<std::vector<TPredictedLandmark>> predicted = model->Predict(Placed(shape, {0, 3, 6, 9}));
  ASSERT_TRUE(predicted) << predicted.Text().English();
  ASSERT_EQ(predicted->size(), 8u);
  for (const TPredictedLandmark& p : *predicted) {
    EXPECT_NE(p.Index % 3, 0);
    const TFloatPoint truth{shape[2 * p.Index], shape[2 * p.Index + 1]};
    EXPECT_LT(std::hypot(p.At.X - truth.X, p.At.Y - truth.Y), 40) << "landmark " << p.Index;
    EXPECT_FALSE(p.Outside(truth, 0.9999)) << "landmark " << p.Index << ": " << p.Distance2(truth);
    EXPECT_TRUE(p.Outside({truth.X + 400, truth.Y})) << "landmark " << p.Index;
  }
}

TEST(LandmarkPrediction, RefusesWhatGivesItNoAnswer) {
  const TShapeSamples samples = test::Population(50, 6, 3);
  TResultOf<TShapeModel> model = TShapeModel::Build(samples);
  ASSERT_TRUE(model);
  const std::vector<double> shape(samples.Coordinates.begin(), samples.Coordinates.begin() + 12);
  const struct {
    std::vector<TPlacedLandmark> Placed;
    std::string Message;
  } cases[] = {
      {Placed(shape, {0}), "At least two landmarks must be placed to predict the others."},
      {{{0, {0, 0}}, {6, {10, 10}}}, "The placed landmarks do not fit the shape model."},
      {{{1, {0, 0}}, {1, {10, 10}}}, "The placed landmarks do not fit the shape model."},
      {{{0, {5, 5}}, {1, {5, 5}}, {2, {5, 5}}},
       "The placed landmarks coincide: they give the shape model no position."},
      {{{0, {5, 5}}, {1, {NAN, 5}}}, "The placed landmarks do not fit the shape model."},
  };
  for (const auto& c : cases) EXPECT_EQ(model->Predict(c.Placed).Text().English(), c.Message);

  TShapeSamples one;
  one.PointCount = 6;
  one.Add(shape, "Only");
  EXPECT_EQ(TShapeModel::Build(one).Text().English(), "At least two radiographs are needed for a shape model.");
  one.Add(std::vector<double>(12, 3.0), "Dot");
  EXPECT_EQ(TShapeModel::Build(one).Text().English(),
            "Cannot build the shape model: all points of radiograph Dot coincide.");
  TXRPCA empty("Shape");
  EXPECT_EQ(TShapeModel::FromPca(empty).Text().English(),
            "The PCA Shape holds no data: import a Procrustes report into it first.");
}

TEST(LandmarkPrediction, EllipsesFollowTheCovariance) {
  const TPredictedLandmark p{.Index = 0, .At = {100, 200}, .Cxx = 4, .Cxy = 0, .Cyy = 1};
  const TEllipse e = UncertaintyEllipse(p);
  const double q = -2 * std::log(0.01);
  EXPECT_NEAR(e.Major, 2 * std::sqrt(q), 1e-12);
  EXPECT_NEAR(e.Minor, std::sqrt(q), 1e-12);
  EXPECT_NEAR(e.Angle, 0, 1e-12);
  EXPECT_FALSE(p.Outside({100 + 2 * std::sqrt(q) * 0.99, 200}));
  EXPECT_TRUE(p.Outside({100, 200 + std::sqrt(q) * 1.01}));
  // Elongated along x = y, which runs down to the right on the screen: turned clockwise.
  const TEllipse diagonal = UncertaintyEllipse({.At = {0, 0}, .Cxx = 2, .Cxy = 1.5, .Cyy = 2});
  EXPECT_NEAR(diagonal.Angle, -std::numbers::pi / 4, 1e-12);
}

// 10-fold cross-validation on the 400 real cephalograms. The bounds hold the figures
// measured (3.60 mm and 2.80 mm) with a margin; the two annotators of these images differ
// by 2.15 mm on average, which no prediction can get under.
TEST(LandmarkPrediction, CrossValidatedErrorsOnRealCephalograms) {
  if (!test::HaveCephData()) GTEST_SKIP() << "No real landmark data at " << test::kCephFolder;
  const TShapeSamples samples = test::CephSamples(test::ReadCephRows());
  ASSERT_EQ(samples.SampleCount(), 400);
  const int S = 0, N = 1, A = 4, Me = 7, Go = 9;
  const std::vector<int> three = {S, N, Me}, five = {S, N, A, Me, Go};
  TResultOf<TCrossValidation> fromThree = CrossValidate(samples, three, 10);
  TResultOf<TCrossValidation> fromFive = CrossValidate(samples, five, 10);
  ASSERT_TRUE(fromThree && fromFive);
  EXPECT_EQ(fromThree->Predictions, 400 * 16);
  std::cout << "from S, N, Me: " << fromThree->Overall / 10 << " mm; from S, N, A, Me, Go: " << fromFive->Overall / 10 << " mm\n";
  EXPECT_LE(fromThree->Overall, 37.0);  // tracing units: 3.7 mm
  EXPECT_LE(fromFive->Overall, 29.0);
}

// Every landmark of every cephalogram checked against its prediction from the other 18,
// by the model of the nine tenths of the population it is not in: placed where the
// annotator placed it, and 5 mm off in a random direction. Measured: 63 % of the displaced
// placements and 3.4 % of those in place are flagged; the bounds leave a margin.
TEST(LandmarkPrediction, PlacementsFarFromTheirPredictionAreFlagged) {
  if (!test::HaveCephData()) GTEST_SKIP() << "No real landmark data at " << test::kCephFolder;
  const TShapeSamples samples = test::CephSamples(test::ReadCephRows());
  TResultOf<TFlagRates> rates = CheckFlags(samples, 10, 50, 2015);
  ASSERT_TRUE(rates) << rates.Text().English();
  EXPECT_GE(rates->Displaced, 0.58);
  EXPECT_LE(rates->InPlace, 0.05);
  EXPECT_EQ(CheckFlags(samples, 1, 50, 1).Text().English(),
            "Cross-validation needs at least two folds and no more folds than radiographs.");
}

}  // namespace
}  // namespace lumacet
