#include "population/mean_tracing.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/kind_codes.h"
#include "model/list_elements.h"
#include "persistence/data_lines.h"
#include "population/population_fixture.h"

namespace lumacet {
namespace {

// Four points and a superimposition registering P1 and the direction P1 -> P2.
struct TMeanFixture {
  std::unique_ptr<TXRayType> Type = test::PointType("Quad", {"P1", "P2", "P3", "P4"});
  std::unique_ptr<TXRayType> Other = test::PointType("Other", {"P1", "P2", "P3", "P4"});
  test::TTempFolder Folder;
  std::string Data = Folder.File("in.csv");

  TMeanFixture() {
    std::string message;
    auto* s = static_cast<TXRSupimp*>(Type->AddElement("P1-P2", ekSupimp, message));
    s->SetKind(KindNumber(TSupimpKind::PointToPoint));
    EXPECT_TRUE(s->SetOperand(0, Type->FindElement("P1", ekDigPoint)));
    EXPECT_TRUE(s->SetOperand(1, Type->FindElement("P2", ekDigPoint)));
  }
  void Add(const std::string& name, const test::TPoints& points, TXRayType* type = nullptr) {
    std::unique_ptr<TXRay> xray = test::Radiograph(type ? *type : *Type, name, points);
    xray->ImageFile = "film.jpg";
    test::Append(*xray, Data);
  }
  TMeanRequest Request(std::vector<int> records) const {
    return {.DataFile = Data, .Records = std::move(records), .TypeName = "Quad", .SuperimpositionName = "P1-P2"};
  }
  TMeanResult Run(const TMeanRequest& request, const TProgress& progress = {}) const {
    return RunMean(request, test::Resolver({Type.get(), Other.get()}), {}, progress);
  }
};

// The same square turned by `angle` about (ox, oy) and moved there.
test::TPoints Square(double ox, double oy, double angle, double side = 100) {
  const double c = std::cos(angle), s = std::sin(angle);
  test::TPoints points;
  for (auto [x, y] : {std::pair{0.0, 0.0}, {side, 0.0}, {side, side}, {0.0, side}})
    points.push_back(std::pair{ox + c * x - s * y, oy + s * x + c * y});
  return points;
}

// Data files keep coordinates to a thousandth of a unit.
void ExpectAt(const TXRay& xray, int point, double x, double y) {
  ASSERT_TRUE(xray.Coordinates[point]->XSet()) << "point " << point;
  EXPECT_NEAR(xray.Coordinates[point]->RawX(), x, 2e-3) << "point " << point;
  EXPECT_NEAR(xray.Coordinates[point]->RawY(), y, 2e-3) << "point " << point;
}

TEST(MeanTracing, OneRadiographIsReproducedAsTheMeanRadiograph) {
  TMeanFixture f;
  f.Add("Ann", Square(50, 60, 0));
  TMeanResult result = f.Run(f.Request({1}));
  ASSERT_TRUE(result.Outcome) << result.Outcome.Text().English();
  ASSERT_NE(result.Mean, nullptr);
  EXPECT_EQ(result.Mean->Name, "Mean Radiograph");
  EXPECT_EQ(result.Mean->Comments, "Mean of 1 radiographs");
  EXPECT_TRUE(result.Mean->Modified);
  EXPECT_TRUE(result.Mean->ImageFile.empty());
  ExpectAt(*result.Mean, 0, 50, 60);
  ExpectAt(*result.Mean, 2, 150, 160);
}

TEST(MeanTracing, RadiographsAreSuperimposedOnTheFirstAndPointsAveragedWhereValid) {
  TMeanFixture f;
  f.Add("First", Square(0, 0, 0));
  // Turned and moved copies fall onto the first; their sizes differ, so P3 averages.
  f.Add("Turned", Square(500, -300, 0.7, 120));
  test::TPoints partial = Square(-40, 80, -1.2, 80);
  partial[3].reset();  // P4 only on the first two
  f.Add("Partial", partial);
  f.Add("Elsewhere", Square(9, 9, 0), f.Other.get());  // another type: passed over
  std::vector<std::string> statuses;
  TMeanResult result = f.Run(f.Request({1, 2, 3, 4}), [&](const std::string& s) {
    statuses.push_back(s);
    return true;
  });
  ASSERT_TRUE(result.Outcome) << result.Outcome.Text().English();
  ASSERT_NE(result.Mean, nullptr);
  EXPECT_EQ(result.Mean->Comments, "Mean of 3 radiographs");
  ExpectAt(*result.Mean, 0, 0, 0);
  ExpectAt(*result.Mean, 1, 100, 0);  // P1 -> P2 keeps its direction, lengths average
  ExpectAt(*result.Mean, 2, 100, 100);
  ExpectAt(*result.Mean, 3, 0, 110);   // (100 + 120) / 2 from two radiographs
  EXPECT_EQ(statuses, (std::vector<std::string>{"Calculating: First", "Calculating: Turned", "Calculating: Partial",
                                                "Completed."}));
}

TEST(MeanTracing, PairwiseAveragesConsecutivePairsAndLeavesAnOddLastOut) {
  TMeanFixture f;
  for (int i = 0; i < 5; ++i) f.Add("R" + std::to_string(i + 1), Square(10 * i, 0, 0.1 * i, 100 + 10 * i));
  TMeanRequest request = f.Request({1, 2, 3, 4, 5});
  request.Pairwise = true;
  request.PairsFile = f.Folder.File("pairs.csv");
  TMeanResult result = f.Run(request);
  ASSERT_TRUE(result.Outcome) << result.Outcome.Text().English();
  EXPECT_EQ(result.PairsWritten, 2);
  EXPECT_EQ(result.Mean, nullptr);
  const std::vector<std::string> lines = test::Lines(test::ReadBytes(request.PairsFile));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(RecordKeyField(lines[0], kKeyNameField), "R1");
  EXPECT_EQ(RecordKeyField(lines[1], kKeyNameField), "R3");
  TXRay pair;
  ASSERT_EQ(LoadFromDataFile(pair, request.PairsFile, 2, test::Resolver({f.Type.get()}), {}), lsLoaded);
  EXPECT_EQ(pair.Comments, "Mean of 2 radiographs");
  ExpectAt(pair, 1, 20 + 125 * std::cos(0.2), 125 * std::sin(0.2));  // fresh sums: R3 and R4 only
}

TEST(MeanTracing, ARadiographTheSuperimpositionIsNotValidOnEndsTheRunWithAnError) {
  TMeanFixture f;
  f.Add("A", Square(0, 0, 0));
  f.Add("B", Square(5, 0, 0));
  test::TPoints missing = Square(0, 0, 0);
  missing[1].reset();
  f.Add("C", missing);
  f.Add("D", Square(0, 0, 0));
  TMeanResult whole = f.Run(f.Request({1, 2, 3, 4}));
  EXPECT_FALSE(whole.Outcome);
  EXPECT_EQ(whole.Mean, nullptr);
  EXPECT_EQ(whole.Outcome.Text().English(), "The superimposition P1-P2 is not valid on radiograph C.");

  TMeanRequest pairs = f.Request({1, 2, 3, 4});
  pairs.Pairwise = true;
  pairs.PairsFile = f.Folder.File("pairs.csv");
  TMeanResult result = f.Run(pairs);
  EXPECT_FALSE(result.Outcome);
  EXPECT_EQ(result.PairsWritten, 1);
  EXPECT_EQ(result.Outcome.Text().English(),
            "The superimposition P1-P2 is not valid on radiograph C.\r\n\r\n1 pairs were written before it.");
  EXPECT_EQ(test::Lines(test::ReadBytes(pairs.PairsFile)).size(), 1u);
}

TEST(MeanTracing, CancelStopsBeforeTheNextRecordAndGivesNoMean) {
  TMeanFixture f;
  for (int i = 0; i < 3; ++i) f.Add("R" + std::to_string(i), Square(i, 0, 0));
  int calls = 0;
  TMeanResult result = f.Run(f.Request({1, 2, 3}), [&](const std::string&) { return ++calls < 2; });
  EXPECT_TRUE(result.Stopped);
  EXPECT_EQ(result.Mean, nullptr);
  EXPECT_EQ(calls, 2);
}

TEST(MeanTracing, RequestsAreCheckedInTheDialogsOrder) {
  TMeanFixture f;
  const struct {
    TMeanRequest Request;
    bool FreeSlot;
    std::string Error;
  } cases[] = {
      {f.Request({1}), false, "No room for more radiographs in Lumacet."},
      {{.DataFile = f.Data, .Records = {1}, .Pairwise = true}, false, "No Destination file has been selected."},
      {f.Request({}), true, "No radiographs have been selected."},
      {{.DataFile = f.Data, .Records = {1}, .Pairwise = true, .PairsFile = f.Data}, true,
       "Source and Destination files are the same."},
      {f.Request({1}), true, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(MeanRequestError(c.Request, c.FreeSlot), c.Error);
  TMeanRequest unknown = f.Request({1});
  unknown.SuperimpositionName = "Nope";
  EXPECT_EQ(f.Run(unknown).Outcome.Text().English(), "The type Quad has no superimposition named Nope.");
}

}  // namespace
}  // namespace lumacet
