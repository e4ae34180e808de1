#include "population/shape_sort.h"

#include <gtest/gtest.h>

#include "model/kind_codes.h"
#include "model/list_elements.h"
#include "population/population_fixture.h"

namespace lumacet {
namespace {

// Three points, a drawing and a PCA of them, a superimposition on P1 -> P2, and an analysis
// of the distance P1-P3.
struct TSortFixture {
  std::unique_ptr<TXRayType> Type = test::PointType("Tri", {"P1", "P2", "P3"});
  test::TTempFolder Folder;
  std::string Data = Folder.File("in.csv");
  std::unique_ptr<TXRay> Current;

  TSortFixture() {
    std::string message;
    test::AddDrawing(*Type, "Outline", {"P1", "P2", "P3"});
    auto* pca = static_cast<TXRPCA*>(Type->AddElement("Shape", ekPCA, message));
    for (const char* name : {"P1", "P2", "P3"}) pca->Points.push_back(Type->FindElement(name, ekDigPoint));
    auto* s = static_cast<TXRSupimp*>(Type->AddElement("P1-P2", ekSupimp, message));
    s->SetKind(KindNumber(TSupimpKind::PointToPoint));
    EXPECT_TRUE(s->SetOperand(0, Type->FindElement("P1", ekDigPoint)));
    EXPECT_TRUE(s->SetOperand(1, Type->FindElement("P2", ekDigPoint)));
    auto* v = static_cast<TXRVariable*>(Type->AddElement("P1-P3", ekVariable, message));
    v->SetKind(KindNumber(TVariableKind::Distance1));
    EXPECT_TRUE(v->SetOperand(0, Type->FindElement("P1", ekDigPoint)));
    EXPECT_TRUE(v->SetOperand(1, Type->FindElement("P3", ekDigPoint)));
    auto* analysis = static_cast<TXRAnalysis*>(Type->AddElement("Lengths", ekAnalysis, message));
    analysis->Points.push_back(v);
    Current = Triangle("Current", 100);
  }
  // P3 at (0, h): the triangles differ in shape and in the distance P1-P3 alike.
  std::unique_ptr<TXRay> Triangle(const std::string& name, double h, double dx = 0) {
    auto xray = test::Radiograph(*Type, name, {std::pair{dx, 0.0}, std::pair{dx + 100, 0.0}, std::pair{dx, h}});
    return xray;
  }
  void Add(const std::string& name, double h, double dx = 0) { test::Append(*Triangle(name, h, dx), Data); }
  TShapeSortRequest Request(TShapeMeasure measure) const {
    return {.DataFile = Data, .Records = {1, 2, 3, 4, 5}, .Measure = measure, .PcaName = "Shape",
            .SuperimpositionName = "P1-P2", .DrawingName = "Outline", .AnalysisName = "Lengths"};
  }
  TShapeScan Scan(const TShapeSortRequest& request, const TProgress& progress = {}) {
    return ScanShapes(request, *Current, test::Resolver({Type.get()}), {}, {}, progress);
  }
};

std::vector<std::string> Names(const std::vector<TShapeScore>& scores) {
  std::vector<std::string> names;
  for (const TShapeScore& s : scores) names.push_back(s.Name);
  return names;
}

TEST(ShapeSort, EachMeasureOrdersTheRadiographsByLikeness) {
  TSortFixture f;
  f.Add("Far", 180, 500);
  f.Add("Near", 110, -300);
  f.Add("Same", 100, 40);
  f.Add("Middle", 140);
  f.Add("Also near", 90, 7);
  for (TShapeMeasure measure : {TShapeMeasure::Procrustes, TShapeMeasure::Superimposition, TShapeMeasure::Analysis}) {
    TShapeScan scan = f.Scan(f.Request(measure));
    ASSERT_TRUE(scan.Outcome) << scan.Outcome.Text().English();
    SortScores(scan.Scores);
    EXPECT_EQ(Names(scan.Scores).front(), "Same");
    EXPECT_EQ(Names(scan.Scores).back(), "Far");
    EXPECT_NEAR(scan.Scores.front().Score, 0, 1e-6);
  }
  // The superimposition measure: sum of squared distances after registering P1 -> P2, no root.
  TShapeScan scan = f.Scan(f.Request(TShapeMeasure::Superimposition));
  EXPECT_NEAR(scan.Scores[3].Score, 40.0 * 40.0, 1e-6);
  // The analysis measure: squared differences of the values (millimetres).
  scan = f.Scan(f.Request(TShapeMeasure::Analysis));
  EXPECT_NEAR(scan.Scores[0].Score, 8.0 * 8.0, 1e-6);
}

TEST(ShapeSort, TiesKeepTheirOrderAndTheOptionsPickFromEitherEnd) {
  std::vector<TShapeScore> scores = {{3, 1, "c"}, {1, 2, "a1"}, {2, 3, "b"}, {1, 4, "a2"}, {5, 5, "e"}};
  SortScores(scores);
  EXPECT_EQ(Names(scores), (std::vector<std::string>{"a1", "a2", "b", "c", "e"}));
  EXPECT_EQ(Names(ChosenMatches(scores, TShapeOutput::LoadBest, 2)), (std::vector<std::string>{"a1", "a2"}));
  EXPECT_EQ(Names(ChosenMatches(scores, TShapeOutput::WriteWorst, 2)), (std::vector<std::string>{"e", "c"}));
  EXPECT_EQ(ChosenMatches(scores, TShapeOutput::LoadBest, 100).size(), 5u);  // best 100 of 5: 5
  EXPECT_EQ(ChosenMatches(scores, TShapeOutput::WriteAll, 1).size(), 5u);
  for (auto [text, number] : {std::pair{"7", 7}, {" 12 ", 12}, {"0", 1}, {"-4", 1}, {"250", 100}, {"x", 1},
                              {"", 1}, {"3.5", 1}, {"99999999999999999999", 100}})
    EXPECT_EQ(MatchCount(text), number) << text;
}

TEST(ShapeSort, SamePatientAndUnusableRadiographsAreLeftOutAndCounted) {
  TSortFixture f;
  f.Add("Current", 120);  // the same patient, another film
  f.Add("Other", 120);
  auto missing = f.Triangle("No P2", 100);  // the superimposition cannot be had
  missing->Coordinates[1]->SetRaw(0, 0, false, false);
  test::Append(*missing, f.Data);
  std::vector<std::string> statuses;
  TShapeScan scan = f.Scan(f.Request(TShapeMeasure::Superimposition), [&](const std::string& s) {
    statuses.push_back(s);
    return true;
  });
  EXPECT_EQ(Names(scan.Scores), (std::vector<std::string>{"Other"}));
  EXPECT_EQ(scan.Failures, 1);
  EXPECT_EQ(statuses, (std::vector<std::string>{"1: Scanning... Other", "2: Scanning... No P2"}));
  EXPECT_EQ(ScanQuestion(scan),
            "Radiographs processed: 1\r\n\r\nCould not use some radiographs. Points were missing.\r\n\r\nContinue?");

  TShapeSortRequest all = f.Request(TShapeMeasure::Superimposition);
  all.ExcludeSamePatient = false;
  scan = f.Scan(all, [](const std::string& s) { return s.rfind("2:", 0) != 0; });  // stop at the second
  EXPECT_TRUE(scan.Stopped);
  EXPECT_EQ(Names(scan.Scores), (std::vector<std::string>{"Current"}));
}

TEST(ShapeSort, RequestsAreCheckedInTheDialogsOrderAndMatchesAppended) {
  TSortFixture f;
  f.Add("A", 120);
  f.Add("B", 150);
  TShapeSortRequest write = f.Request(TShapeMeasure::Procrustes);
  write.Output = TShapeOutput::WriteBest;
  auto with = [&](auto change) {
    TShapeSortRequest r = write;
    change(r);
    return ShapeSortRequestError(r, *f.Current, true);
  };
  EXPECT_EQ(ShapeSortRequestError(f.Request(TShapeMeasure::Procrustes), *f.Current, false),
            "No room for more radiographs in Lumacet.");
  EXPECT_EQ(with([](auto& r) { r.OutputFile.clear(); }), "No Destination file has been selected.");
  write.OutputFile = f.Folder.File("out.csv");
  EXPECT_EQ(with([](auto& r) { r.Records.clear(); }), "No radiographs have been selected.");
  EXPECT_EQ(with([&](auto& r) { r.OutputFile = f.Data; }), "Source and Destination files are the same.");
  EXPECT_EQ(with([](auto& r) { r.PcaName = "None"; }), "No valid PCA has been selected.");
  EXPECT_EQ(with([](auto& r) {
              r.Measure = TShapeMeasure::Superimposition;
              r.DrawingName = "None";
            }),
            "Superimposition or Graphic is not valid.");
  EXPECT_EQ(with([](auto& r) {
              r.Measure = TShapeMeasure::Analysis;
              r.AnalysisName = "None";
            }),
            "No valid Analysis has been selected.");
  f.Current->Coordinates[1]->SetRaw(0, 0, false, false);
  EXPECT_EQ(with([](auto&) {}), "Some points are not valid.");
  f.Current = f.Triangle("Current", 100);
  EXPECT_EQ(with([](auto&) {}), "");

  TShapeScan scan = f.Scan(write);
  SortScores(scan.Scores);
  TResultOf<int> written = WriteMatches(ChosenMatches(scan.Scores, write.Output, 5), write,
                                        test::Resolver({f.Type.get()}), {}, {});
  ASSERT_TRUE(written) << written.Text().English();
  EXPECT_EQ(*written, 2);
  const std::vector<std::string> lines = test::Lines(test::ReadBytes(write.OutputFile));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(RecordKeyField(lines[0], kKeyNameField), "A");
  EXPECT_EQ(RecordKeyField(lines[1], kKeyNameField), "B");
}

}  // namespace
}  // namespace lumacet
