// The mean tracing and the Procrustes sort of the 400 real cephalograms of the shared data
// folder (the senior annotator's 19 landmarks), read as records of a data file, against the
// same computations in R.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <numeric>

#include "population/ceph_landmarks.h"
#include "population/mean_tracing.h"
#include "population/shape_sort.h"

namespace lumacet {
namespace {

std::vector<double> ReadNumbers(const std::string& path) {
  std::vector<double> values;
  std::ifstream file(path);
  std::string word;
  while (file >> word) {
    double value = 0;
    auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    EXPECT_TRUE(error == std::errc() && end == word.data() + word.size()) << word;
    values.push_back(value);
  }
  return values;
}

// Runs the script after lines that read the configurations: X, one row per image in
// tracing units, k landmarks, shape(i) the k x 2 matrix of image i.
bool RunR(const test::TTempFolder& folder, const std::string& script) {
  std::ofstream(folder.File("peer.R")) << "X <- as.matrix(read.csv('" + test::kSeniorFile +
                                              "', header = FALSE)[, -1]) * 10\n"
                                              "k <- ncol(X) / 2\n"
                                              "shape <- function(i) matrix(X[i, ], k, 2, byrow = TRUE)\n"
                                           << script;
  const std::string command = "cd '" + folder.Path().string() + "' && RGL_USE_NULL=TRUE Rscript peer.R >r.log 2>&1";
  return std::system(command.c_str()) == 0;
}

class RPopulationPeer : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!test::HaveCephData()) GTEST_SKIP() << "No real landmark data at " << test::kCephFolder;
    if (std::system("command -v Rscript >/dev/null 2>&1") != 0) GTEST_SKIP() << "Rscript is not installed";
    rows = test::ReadCephRows();
    ASSERT_EQ(rows.size(), 400u);
    test::WriteCephDataFile(*type, rows, data);
  }
  std::vector<int> AllRecords() const {
    std::vector<int> records(rows.size());
    std::iota(records.begin(), records.end(), 1);
    return records;
  }

  std::unique_ptr<TXRayType> type = test::CephType();
  test::TTempFolder folder;
  std::string data = folder.File("ceph.csv");
  std::vector<test::TCephRow> rows;
};

// Every configuration translated so that its S lies on the first one's and turned about it
// so that its S -> N runs the first one's way, then averaged point by point. Coordinates
// near 2000 tracing units go through a translation, a rotation and a sum of 400: rounding
// stays near 1e-12 mm, far inside 1e-9 mm.
TEST_F(RPopulationPeer, TheMeanTracingOnSnAtSAgreesWithR) {
  const TMeanRequest request{
      .DataFile = data, .Records = AllRecords(), .TypeName = "Ceph", .SuperimpositionName = "S-N at S"};
  const TMeanResult mean = RunMean(request, test::Resolver({type.get()}), {}, {});
  ASSERT_TRUE(mean.Outcome) << mean.Outcome.Text().English();
  ASSERT_NE(mean.Mean, nullptr);
  EXPECT_EQ(mean.Mean->Comments, "Mean of 400 radiographs");

  ASSERT_TRUE(RunR(folder,
                   "a <- shape(1); ta <- atan2(a[2, 2] - a[1, 2], a[2, 1] - a[1, 1])\n"
                   "sum <- matrix(0, k, 2)\n"
                   "for (i in 1:nrow(X)) {\n"
                   "  b <- shape(i); t <- ta - atan2(b[2, 2] - b[1, 2], b[2, 1] - b[1, 1])\n"
                   "  d <- sweep(b, 2, b[1, ])\n"
                   "  r <- cbind(d[, 1] * cos(t) - d[, 2] * sin(t), d[, 1] * sin(t) + d[, 2] * cos(t))\n"
                   "  sum <- sum + sweep(r, 2, a[1, ], '+')\n"
                   "}\n"
                   "writeLines(sprintf('%.17g', as.vector(t(sum / nrow(X)))), 'mean.txt')\n"))
      << test::ReadBytes(folder.File("r.log"));
  const std::vector<double> peer = ReadNumbers(folder.File("mean.txt"));
  ASSERT_EQ(peer.size(), 2 * test::kCephLandmarks.size());
  for (size_t k = 0; k < test::kCephLandmarks.size(); ++k) {
    EXPECT_NEAR(mean.Mean->Coordinates[k]->RawX() / 10, peer[2 * k] / 10, 1e-9) << test::kCephLandmarks[k];
    EXPECT_NEAR(mean.Mean->Coordinates[k]->RawY() / 10, peer[2 * k + 1] / 10, 1e-9) << test::kCephLandmarks[k];
  }
}

// Our Procrustes score is the partial Procrustes distance, 2 sin(rho / 2), of two shapes at
// unit size with the best rotation between them; procdist's full Procrustes distance is
// sin(rho), with the best scale as well. Both rise with rho on [0, pi / 2], where every pair
// of real configurations lies, so the two orders are the same; only shapes whose distances
// agree to rounding may swap places, which is why ties are set aside.
TEST_F(RPopulationPeer, TheProcrustesOrderAgreesWithProcdist) {
  std::unique_ptr<TXRay> current = test::Radiograph(*type, "Current");
  {
    TXRay first;
    ASSERT_EQ(LoadFromDataFile(first, data, 1, test::Resolver({type.get()}), {}), lsLoaded);
    current->AssignFrom(first);
  }
  TShapeSortRequest request{.DataFile = data, .Records = AllRecords(), .PcaName = "Shape", .ExcludeSamePatient = false};
  TShapeScan scan = ScanShapes(request, *current, test::Resolver({type.get()}), {}, {}, {});
  ASSERT_TRUE(scan.Outcome) << scan.Outcome.Text().English();
  ASSERT_EQ(scan.Scores.size(), 400u);
  EXPECT_EQ(scan.Failures, 0);
  SortScores(scan.Scores);
  EXPECT_EQ(scan.Scores.front().Record, 1);
  EXPECT_NEAR(scan.Scores.front().Score, 0, 1e-12);

  ASSERT_TRUE(RunR(folder,
                   "suppressMessages(library(shapes))\n"
                   "d <- sapply(1:nrow(X), function(i) procdist(shape(1), shape(i), type = 'full'))\n"
                   "writeLines(sprintf('%.17g', d), 'full.txt')\n"))
      << test::ReadBytes(folder.File("r.log"));
  const std::vector<double> full = ReadNumbers(folder.File("full.txt"));
  ASSERT_EQ(full.size(), 400u);

  // Our score, turned into the full Procrustes distance, must be R's; and the ranks by our
  // order and by R's distances must agree wherever R's distances do not tie.
  std::vector<int> byR(400);
  std::iota(byR.begin(), byR.end(), 0);
  std::stable_sort(byR.begin(), byR.end(), [&](int a, int b) { return full[a] < full[b]; });
  std::vector<int> rankR(400), rankOurs(400);
  for (int i = 0; i < 400; ++i) {
    rankR[byR[i]] = i;
    rankOurs[scan.Scores[i].Record - 1] = i;
  }
  double d2 = 0;
  for (int image = 0; image < 400; ++image) {
    const double score = scan.Scores[rankOurs[image]].Score;
    EXPECT_NEAR(std::sin(2 * std::asin(score / 2)), full[image], 1e-9) << "image " << image + 1;
    if (rankOurs[image] == rankR[image]) continue;
    if (std::abs(full[byR[rankOurs[image]]] - full[image]) <= 1e-12) continue;  // a tie
    ADD_FAILURE() << "image " << image + 1 << " out of order";
    d2 += std::pow(rankOurs[image] - rankR[image], 2);
  }
  // The Spearman rank correlation, ties aside.
  const double n = 400;
  EXPECT_NEAR(1 - 6 * d2 / (n * (n * n - 1)), 1.0, 1e-9);
}

}  // namespace
}  // namespace lumacet
