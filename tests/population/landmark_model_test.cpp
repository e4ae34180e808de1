#include "population/landmark_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

#include "population/population_fixture.h"
#include "population/shape_fixtures.h"

namespace lumacet {
namespace {

// A data file of generated 12-point shapes as radiographs: the model read from it predicts
// the point to place next on a radiograph being digitized, and flags a slip.
TEST(LandmarkModel, ReadFromRecordsItPredictsThePointToPlaceNext) {
  std::vector<std::string> names;
  for (int i = 1; i <= 12; ++i) names.push_back("Q" + std::to_string(i));
  std::unique_ptr<TXRayType> type = test::PointType("Ring", names);
  std::unique_ptr<TXRayType> other = test::PointType("Other", names);
  test::TTempFolder folder;
  const std::string data = folder.File("ring.csv");
  const TShapeSamples samples = test::Population(60, 12, 11);
  for (int r = 0; r < samples.SampleCount(); ++r) {
    test::TPoints points;
    for (int i = 0; i < 12; ++i)
      points.push_back(std::pair{samples.Coordinates[24 * r + 2 * i], samples.Coordinates[24 * r + 2 * i + 1]});
    if (r == 5) points[3].reset();  // not complete: left out of the model
    test::Append(*test::Radiograph(r == 7 ? *other : *type, samples.Names[r], points), data);
  }
  std::vector<int> records(60);
  std::iota(records.begin(), records.end(), 1);
  TResultOf<TLandmarkModel> model =
      BuildLandmarkModel(data, records, *type, test::Resolver({type.get(), other.get()}), {}, {});
  ASSERT_TRUE(model) << model.Text().English();
  EXPECT_EQ(model->Points, names);
  EXPECT_EQ(model->Model.SampleCount(), 58);
  EXPECT_EQ(LandmarkIndices(*model, {"Q2", "Q9"}).ValueOr({}), (std::vector<int>{1, 8}));
  EXPECT_EQ(LandmarkIndices(*model, {"Q13"}).Text().English(), "The shape model has no landmark named Q13.");

  // Being digitized: Q1 to Q4 placed, Q5 next.
  const TShapeSamples fresh = test::Population(1, 12, 123);
  test::TPoints placed;
  for (int i = 0; i < 4; ++i) placed.push_back(std::pair{fresh.Coordinates[2 * i], fresh.Coordinates[2 * i + 1]});
  std::unique_ptr<TXRay> xray = test::Radiograph(*type, "New", placed);
  std::optional<TPredictedLandmark> next = PredictLandmark(*model, *xray, "Q5");
  ASSERT_TRUE(next);
  const TFloatPoint truth{fresh.Coordinates[8], fresh.Coordinates[9]};
  EXPECT_LT(std::hypot(next->At.X - truth.X, next->At.Y - truth.Y), 40);
  EXPECT_FALSE(next->Outside(truth, 0.9999));
  EXPECT_TRUE(next->Outside({truth.X + 300, truth.Y - 300}));
  EXPECT_FALSE(PredictLandmark(*model, *xray, "Nope"));
  std::unique_ptr<TXRay> empty = test::Radiograph(*type, "Empty", {placed[0]});
  EXPECT_FALSE(PredictLandmark(*model, *empty, "Q5"));  // one placed point gives no pose

  int skipped = 0;
  TResultOf<TShapeSamples> stopped = ReadLandmarkSamples(data, records, "Ring", names, test::Resolver({type.get()}),
                                                         {}, [](const std::string&) { return false; }, skipped);
  EXPECT_EQ(stopped.Text().English(), "Reading the radiographs was cancelled.");
}

}  // namespace
}  // namespace lumacet
