// The superimposition and the principal components on plain numbers.
#include <gtest/gtest.h>

#include <cmath>

#include "population/procrustes_analysis.h"
#include "population/shape_fixtures.h"

namespace lumacet {
namespace {

TShapeAnalysis Analyse(const TShapeSamples& samples) {
  std::string message;
  std::optional<TShapeAnalysis> analysis = AnalyseShapes(samples, message);
  EXPECT_TRUE(analysis.has_value()) << message;
  return analysis.value_or(TShapeAnalysis{});
}

// NIPALS as the components were first computed (start from the first column, at most 51
// steps, absolute stop 1e-7, deflation): the reference for values and signs.
struct TNipals {
  std::vector<std::vector<double>> Loadings;  // per component
  std::vector<double> Variances;
};

TNipals Nipals(std::vector<double> e, int n, int width, int components) {
  TNipals result;
  for (int c = 0; c < components; ++c) {
    std::vector<double> t(n), p(width);
    for (int i = 0; i < n; ++i) t[i] = e[i * width];
    double previous = 0;
    for (double v : t) previous += v * v;
    for (int step = 0; step < 51; ++step) {
      double norm = 0;
      for (int j = 0; j < width; ++j) {
        p[j] = 0;
        for (int i = 0; i < n; ++i) p[j] += e[i * width + j] * t[i];
        norm += p[j] * p[j];
      }
      for (double& v : p) v /= std::sqrt(norm);
      double total = 0;
      for (int i = 0; i < n; ++i) {
        t[i] = 0;
        for (int j = 0; j < width; ++j) t[i] += e[i * width + j] * p[j];
        total += t[i] * t[i];
      }
      const bool done = std::abs(total - previous) < 1e-7;
      previous = total;
      if (done) break;
    }
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < width; ++j) e[i * width + j] -= t[i] * p[j];
    result.Loadings.push_back(p);
    result.Variances.push_back(previous / n);
  }
  return result;
}

TEST(ProcrustesAnalysis, ConsensusIsCentredAtUnitSizeAndResultsAgreeWithEachOther) {
  const TShapeSamples samples = test::Population(40, 10, 7);
  const TShapeAnalysis a = Analyse(samples);
  ASSERT_EQ(a.SampleCount, 40);
  ASSERT_EQ(a.ComponentCount, 16);
  double mx = 0, my = 0, size = 0;
  for (int j = 0; j < 20; j += 2) {
    mx += a.Consensus[j];
    my += a.Consensus[j + 1];
    size += a.Consensus[j] * a.Consensus[j] + a.Consensus[j + 1] * a.Consensus[j + 1];
  }
  EXPECT_NEAR(mx, 0, 1e-14);
  EXPECT_NEAR(my, 0, 1e-14);
  EXPECT_NEAR(size, 1, 1e-14);

  double sum = 0, squares = 0;
  for (int i = 0; i < 40; ++i) {
    // Distances are the residual rows' lengths; sizes the raw centroid sizes.
    double r2 = 0;
    for (int j = 0; j < 20; ++j) r2 += a.Residuals[i * 20 + j] * a.Residuals[i * 20 + j];
    EXPECT_NEAR(a.Distances[i], std::sqrt(r2), 1e-15);
    sum += a.Distances[i];
    squares += r2;
    std::vector<double> raw(samples.Coordinates.begin() + i * 20, samples.Coordinates.begin() + (i + 1) * 20);
    double cx = 0, cy = 0;
    for (int j = 0; j < 20; j += 2) cx += raw[j] / 10, cy += raw[j + 1] / 10;
    double s = 0;
    for (int j = 0; j < 20; j += 2) s += (raw[j] - cx) * (raw[j] - cx) + (raw[j + 1] - cy) * (raw[j + 1] - cy);
    EXPECT_NEAR(a.Sizes[i], std::sqrt(s), 1e-9);
  }
  EXPECT_NEAR(a.SumDistances, sum, 1e-13);
  EXPECT_NEAR(a.SumSquaredDistances, squares, 1e-13);

  // Variances are the mean squared scores (divisor N), largest first; loadings unit length.
  for (int c = 0; c < a.ComponentCount; ++c) {
    double t2 = 0, p2 = 0;
    for (int i = 0; i < 40; ++i) t2 += a.Score(i, c) * a.Score(i, c);
    for (int j = 0; j < 20; ++j) p2 += a.Loading(j, c) * a.Loading(j, c);
    EXPECT_NEAR(a.Variances[c], t2 / 40, 1e-18);
    EXPECT_NEAR(p2, 1, 1e-12);
    if (c > 0) {
      EXPECT_GE(a.Variances[c - 1], a.Variances[c]);
    }
  }
}

TEST(ProcrustesAnalysis, WellSeparatedComponentsMatchNipalsWithItsSigns) {
  const TShapeSamples samples = test::Population(60, 8, 11);
  const TShapeAnalysis a = Analyse(samples);
  const TNipals reference = Nipals(a.Residuals, 60, 16, 2);
  // NIPALS stops once tt changes by less than 1e-7 in absolute terms, which leaves its
  // loadings some 1e-5 short of convergence here; signs must agree exactly.
  for (int c = 0; c < 2; ++c) {
    EXPECT_NEAR(a.Variances[c], reference.Variances[c], 1e-7 * reference.Variances[0]);
    for (int j = 0; j < 16; ++j) EXPECT_NEAR(a.Loading(j, c), reference.Loadings[c][j], 1e-4) << c << ' ' << j;
  }
}

TEST(ProcrustesAnalysis, SimilarityTransformsOfTheSamplesChangeNothingButSizes) {
  const TShapeSamples samples = test::Population(30, 9, 3);
  TShapeSamples moved = samples;
  for (int i = 0; i < 30; ++i) {
    std::vector<double> row(samples.Coordinates.begin() + i * 18, samples.Coordinates.begin() + (i + 1) * 18);
    row = test::Transformed(row, {0.2 * std::sin(i), 2.5, -700.0 * i, 33.0});
    std::copy(row.begin(), row.end(), moved.Coordinates.begin() + i * 18);
  }
  const TShapeAnalysis a = Analyse(samples);
  const TShapeAnalysis b = Analyse(moved);
  for (int i = 0; i < 30; ++i) {
    EXPECT_NEAR(a.Distances[i], b.Distances[i], 1e-12);
    EXPECT_NEAR(b.Sizes[i], 2.5 * a.Sizes[i], 1e-9);
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(std::abs(a.Score(i, c)), std::abs(b.Score(i, c)), 1e-10);
  }
  for (int c = 0; c < a.ComponentCount; ++c) EXPECT_NEAR(a.Variances[c], b.Variances[c], 1e-14);
}

TEST(ProcrustesAnalysis, ASampleTurnedBeyondARightAngleIsBroughtIntoRegister) {
  const TShapeSamples samples = test::Population(20, 7, 5);
  TShapeSamples turned = samples;
  std::vector<double> row(samples.Coordinates.begin() + 3 * 14, samples.Coordinates.begin() + 4 * 14);
  row = test::Transformed(row, {150 * std::numbers::pi / 180, 1, 0, 0});
  std::copy(row.begin(), row.end(), turned.Coordinates.begin() + 3 * 14);
  const TShapeAnalysis a = Analyse(samples);
  const TShapeAnalysis b = Analyse(turned);
  for (int j = 0; j < 14; ++j) EXPECT_NEAR(a.Consensus[j], b.Consensus[j], 1e-12);
  for (int i = 0; i < 20; ++i) EXPECT_NEAR(a.Distances[i], b.Distances[i], 1e-12);
  EXPECT_LT(b.Distances[3], 0.2);
}

TEST(ProcrustesAnalysis, VarianceDividesByTheNumberOfSamples) {
  TShapeSamples two;
  two.PointCount = 3;
  two.Add({0, 0, 100, 0, 0, 100}, "a");
  two.Add({0, 0, 100, 0, 10, 90}, "b");
  const TShapeAnalysis a = Analyse(two);
  ASSERT_EQ(a.ComponentCount, 2);
  const double t0 = a.Score(0, 0);
  const double t1 = a.Score(1, 0);
  EXPECT_LT(t0 * t1, 0);  // the two samples lie on either side of their mean
  EXPECT_DOUBLE_EQ(a.Variances[0], (t0 * t0 + t1 * t1) / 2);
}

TEST(ProcrustesAnalysis, TwoPointsGiveNoComponents) {
  TShapeSamples samples;
  samples.PointCount = 2;
  samples.Add({0, 0, 10, 0}, "a");
  samples.Add({5, 5, 5, 25}, "b");
  samples.Add({1, 1, 2, 2}, "c");
  const TShapeAnalysis a = Analyse(samples);
  EXPECT_EQ(a.ComponentCount, 0);
  EXPECT_TRUE(a.Variances.empty());
  EXPECT_TRUE(a.Loadings.empty());
  for (double d : a.Distances) EXPECT_NEAR(d, 0, 1e-12);
}

TEST(ProcrustesAnalysis, DegenerateDataAreRefusedWithAReason) {
  std::string message;
  TShapeSamples one;
  one.PointCount = 1;
  one.Add({0, 0}, "a");
  one.Add({1, 1}, "b");
  EXPECT_FALSE(AnalyseShapes(one, message));
  EXPECT_EQ(message, kTooFewPointsMessage);

  TShapeSamples single;
  single.PointCount = 3;
  single.Add({0, 0, 1, 0, 0, 1}, "a");
  EXPECT_FALSE(AnalyseShapes(single, message));
  EXPECT_EQ(message, kTooFewSamplesMessage);

  TShapeSamples coincident = test::Population(5, 4, 1);
  coincident.Names[2] = "Collapsed";
  std::fill(coincident.Coordinates.begin() + 16, coincident.Coordinates.begin() + 24, 1234.5);
  EXPECT_FALSE(AnalyseShapes(coincident, message));
  EXPECT_EQ(message, "Cannot superimpose: all points of radiograph Collapsed coincide.");

  TShapeSamples identical;
  identical.PointCount = 4;
  const std::vector<double> shape{0, 0, 100, 10, 90, 120, -5, 80};
  for (int i = 0; i < 6; ++i) identical.Add(test::Transformed(shape, {0.1 * i, 1.0 + i, 50.0 * i, 7.0}), "x");
  EXPECT_FALSE(AnalyseShapes(identical, message));
  EXPECT_EQ(message, kNoShapeVariationMessage);
}

TEST(SampleMatrix, OperationsActOnRowsAsTheCalculationUsesThem) {
  TShapeSamples samples;
  samples.PointCount = 2;
  samples.Add({10, 10, 13, 14}, "a");
  samples.Add({0, 0, 0, -5}, "b");
  TSampleMatrix m(samples);
  ASSERT_EQ(m.Rows(), 3);
  m.CopyLine(1, 0);
  EXPECT_EQ(m.Row(0)[2], 13);
  const double s = std::sqrt(12.5);
  ASSERT_TRUE(m.CenterAndScale(1));
  EXPECT_DOUBLE_EQ(m.Size(1), s);
  EXPECT_DOUBLE_EQ(m.Row(1)[0], -1.5 / s);
  EXPECT_DOUBLE_EQ(m.Row(1)[1], -2 / s);
  ASSERT_TRUE(m.CenterAndScale(1));
  EXPECT_DOUBLE_EQ(m.Size(1), s);  // measured once, the first time
  ASSERT_TRUE(m.CenterAndScale(2));
  // Row 2 points straight up the screen; turned onto row 1 it takes row 1's direction,
  // although the turn is more than a right angle.
  m.LeastSquaresRotation(2, 1);
  EXPECT_NEAR(m.Row(2)[0], -1.5 / s, 1e-15);
  EXPECT_NEAR(m.Row(2)[1], -2 / s, 1e-15);
  ASSERT_TRUE(m.ComputeAverage(1, 2, 0));
  EXPECT_NEAR(m.Row(0)[3], 2 / s, 1e-15);

  TShapeSamples flat;
  flat.PointCount = 2;
  flat.Add({3, 3, 3, 3}, "a");
  TSampleMatrix collapsed(flat);
  EXPECT_FALSE(collapsed.CenterAndScale(1));
  EXPECT_EQ(collapsed.Row(1)[0], 3);
}

}  // namespace
}  // namespace lumacet
