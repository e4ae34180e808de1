// Our Procrustes analysis against R's shapes::procGPA on 400 real lateral cephalograms
// (19 landmarks each, as the senior annotator placed them; read from the shared data folder).
//
// The two programs do not compute the same thing, so the comparison has tolerances:
// - We superimpose by partial Procrustes (every shape at unit size, turned onto the mean,
//   the mean renormalized; 101 passes). procGPA by default does full Procrustes (each shape
//   also scaled by cos rho onto the mean, rotations onto leave-one-out means, stop at tol1).
//   The two means differ by terms of order rho^2 times the spread of the shapes: 1.3e-5 of
//   the unit size on these data (rho up to 0.16). Consensus coordinates must agree to 1e-4.
// - Our distance d is the partial Procrustes distance |z - mu| = 2 sin(rho/2); procGPA
//   reports the Riemannian distance rho. Converted, 2 asin(d/2) equals rho up to the same
//   difference of means (3.4e-5 here): 2e-4.
// - Our components decompose the uncentred, interleaved residuals at unit size with divisor
//   N; procGPA's prcomp takes centred tangent coordinates (x block, y block) with divisor
//   N - 1. Proportions of variance are ratios, so the divisors cancel; the centring and the
//   full-vs-partial tangent space move them by under 0.1 percentage point on these data.
//   The first five must agree to 0.3 point.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "geometry/procrustes.h"
#include "population/procrustes_analysis.h"
#include "population/procrustes_report.h"
#include "shell/temp_folder.h"

namespace lumacet {
namespace {

const std::string kLandmarks = std::string(LUMACET_SHARED_DATA) + "/landmarks-400/all_senior.csv";
constexpr int kPoints = 19;

std::optional<double> Number(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\r')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\r')) text.remove_suffix(1);
  double value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// "NNN,x1,y1,...,x19,y19" in millimetres: tracing units are tenths of a millimetre.
TShapeSamples ReadLandmarks() {
  TShapeSamples samples;
  samples.PointCount = kPoints;
  std::ifstream file(kLandmarks);
  std::string line;
  while (std::getline(file, line)) {
    std::vector<double> row;
    std::string_view rest = line;
    const size_t first = rest.find(',');
    const std::string name(rest.substr(0, first));
    rest.remove_prefix(first + 1);
    while (true) {
      const size_t comma = rest.find(',');
      std::optional<double> value = Number(rest.substr(0, comma));
      EXPECT_TRUE(value) << line;
      row.push_back(10 * value.value_or(0));
      if (comma == std::string_view::npos) break;
      rest.remove_prefix(comma + 1);
    }
    EXPECT_EQ(row.size(), 2u * kPoints);
    samples.Add(row, name);
  }
  return samples;
}

std::vector<double> ReadNumbers(const std::string& path) {
  std::vector<double> values;
  std::ifstream file(path);
  std::string line;
  while (std::getline(file, line))
    if (std::optional<double> value = Number(line)) values.push_back(*value);
  return values;
}

TEST(RShapesPeer, ConsensusDistancesAndVarianceSharesAgreeWithProcGpa) {
  if (!std::filesystem::is_regular_file(kLandmarks)) GTEST_SKIP() << "No real landmark data at " << kLandmarks;
  if (std::system("command -v Rscript >/dev/null 2>&1") != 0) GTEST_SKIP() << "Rscript is not installed";
  const TShapeSamples samples = ReadLandmarks();
  ASSERT_EQ(samples.SampleCount(), 400);
  std::string message;
  const std::optional<TShapeAnalysis> ours = AnalyseShapes(samples, message);
  ASSERT_TRUE(ours) << message;

  test::TTempFolder folder;
  {
    std::ofstream tsv(folder.File("samples.tsv"));
    for (int i = 0; i < 400; ++i) {
      for (int j = 0; j < 2 * kPoints; ++j)
        tsv << (j ? "\t" : "") << FormatReportReal(samples.Coordinates[static_cast<size_t>(i) * 2 * kPoints + j]);
      tsv << '\n';
    }
    std::ofstream script(folder.File("peer.R"));
    script << "suppressMessages(library(shapes))\n"
              "X <- as.matrix(read.table('samples.tsv'))\n"
              "k <- ncol(X) / 2; n <- nrow(X)\n"
              "A <- array(0, c(k, 2, n))\n"
              "for (i in 1:n) A[, , i] <- matrix(X[i, ], k, 2, byrow = TRUE)\n"
              "g <- procGPA(A, tol1 = 1e-10)\n"
              "w <- function(x, f) writeLines(sprintf('%.17g', x), f)\n"
              "w(as.vector(t(g$mshape)), 'mshape.txt')\n"
              "w(g$rho, 'rho.txt')\n"
              "w(g$percent[1:5], 'percent.txt')\n";
  }
  const std::string command = "cd '" + folder.Path().string() +
                              "' && RGL_USE_NULL=TRUE Rscript peer.R >r.log 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << test::ReadBytes(folder.File("r.log"));

  // procGPA's mean has its own size and orientation: bring it into our frame.
  std::vector<double> mean = ReadNumbers(folder.File("mshape.txt"));
  std::vector<double> consensus = ours->Consensus;
  ASSERT_EQ(mean.size(), consensus.size());
  ASSERT_TRUE(ProcrustesFit(mean, consensus, 0));
  for (size_t j = 0; j < mean.size(); ++j) EXPECT_NEAR(consensus[j], mean[j], 1e-4) << "coordinate " << j;

  const std::vector<double> rho = ReadNumbers(folder.File("rho.txt"));
  ASSERT_EQ(rho.size(), 400u);
  for (int i = 0; i < 400; ++i) EXPECT_NEAR(2 * std::asin(ours->Distances[i] / 2), rho[i], 2e-4) << samples.Names[i];

  const std::vector<double> percent = ReadNumbers(folder.File("percent.txt"));
  ASSERT_EQ(percent.size(), 5u);
  double total = 0;
  for (double v : ours->Variances) total += v;
  for (int c = 0; c < 5; ++c) EXPECT_NEAR(100 * ours->Variances[c] / total, percent[c], 0.3) << "PC" << c + 1;
}

}  // namespace
}  // namespace lumacet
