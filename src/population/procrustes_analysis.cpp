#include "population/procrustes_analysis.h"

#include <algorithm>
#include <cmath>

#include <Eigen/Core>
#include <Eigen/Eigenvalues>

#include "persistence/data_file.h"

namespace lumacet {

void TShapeSamples::Add(const std::vector<double>& row, std::string name) {
  Coordinates.insert(Coordinates.end(), row.begin(), row.end());
  Names.push_back(std::move(name));
}

TSampleMatrix::TSampleMatrix(const TShapeSamples& samples)
    : fRows(samples.SampleCount() + 1), fWidth(2 * samples.PointCount) {
  fValues.assign(static_cast<size_t>(fRows) * (fWidth + 1), 0.0);
  for (int i = 0; i + 1 < fRows; ++i)
    std::copy_n(samples.Coordinates.data() + static_cast<size_t>(i) * fWidth, fWidth, Row(i + 1));
}

void TSampleMatrix::CopyLine(int from, int to) { std::copy_n(Row(from), fWidth + 1, Row(to)); }

bool TSampleMatrix::CenterAndScale(int row) {
  double* v = Row(row);
  const double n = fWidth / 2;
  double mx = 0;
  double my = 0;
  for (int j = 0; j < fWidth; j += 2) {
    mx += v[j];
    my += v[j + 1];
  }
  mx /= n;
  my /= n;
  double sum = 0;
  for (int j = 0; j < fWidth; j += 2) sum += (v[j] - mx) * (v[j] - mx) + (v[j + 1] - my) * (v[j + 1] - my);
  const double s = std::sqrt(sum);
  if (!(s > 0) || !std::isfinite(s)) return false;
  if (v[fWidth] == 0) v[fWidth] = s;
  for (int j = 0; j < fWidth; j += 2) {
    v[j] = (v[j] - mx) / s;
    v[j + 1] = (v[j + 1] - my) / s;
  }
  return true;
}

void TSampleMatrix::LeastSquaresRotation(int row, int reference) {
  double* v = Row(row);
  const double* r = Row(reference);
  double e = 0;
  double f = 0;
  for (int j = 0; j < fWidth; j += 2) {
    e += v[j] * r[j] + v[j + 1] * r[j + 1];
    f += v[j] * r[j + 1] - v[j + 1] * r[j];
  }
  const double t = std::atan2(f, e);
  const double c = std::cos(t);
  const double s = std::sin(t);
  for (int j = 0; j < fWidth; j += 2) {
    const double x = v[j];
    const double y = v[j + 1];
    v[j] = x * c - y * s;
    v[j + 1] = x * s + y * c;
  }
}

bool TSampleMatrix::ComputeAverage(int first, int last, int target) {
  std::vector<double> mean(fWidth, 0.0);
  for (int i = first; i <= last; ++i) {
    const double* v = Row(i);
    for (int j = 0; j < fWidth; ++j) mean[j] += v[j];
  }
  const double count = last - first + 1;
  double* t = Row(target);
  for (int j = 0; j < fWidth; ++j) t[j] = mean[j] / count;
  return CenterAndScale(target);
}

namespace {

using TRowMatrix = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>;

// A loading's sign as NIPALS leaves it (see the header): its first coordinate clear of
// rounding noise is positive.
void OrientAsNipals(Eigen::Ref<Eigen::VectorXd> loading) {
  for (Eigen::Index j = 0; j < loading.size(); ++j) {
    if (std::abs(loading[j]) <= 1e-9) continue;
    if (loading[j] < 0) loading = -loading;
    return;
  }
}

void PrincipalComponents(TShapeAnalysis& analysis) {
  const int n = analysis.SampleCount;
  const int width = 2 * analysis.PointCount;
  const int m = analysis.ComponentCount;
  analysis.Scores.assign(static_cast<size_t>(n) * m, 0.0);
  analysis.Loadings.assign(static_cast<size_t>(width) * m, 0.0);
  analysis.Variances.assign(m, 0.0);
  if (m == 0) return;

  Eigen::Map<const TRowMatrix> residuals(analysis.Residuals.data(), n, width);
  Eigen::MatrixXd cross = Eigen::MatrixXd::Zero(width, width);
  cross.selfadjointView<Eigen::Lower>().rankUpdate(residuals.transpose());
  Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> solver(cross.selfadjointView<Eigen::Lower>());
  // Eigenvalues come smallest first.
  const Eigen::MatrixXd& vectors = solver.eigenvectors();
  for (int c = 0; c < m; ++c) {
    Eigen::VectorXd loading = vectors.col(width - 1 - c);
    OrientAsNipals(loading);
    const Eigen::VectorXd scores = residuals * loading;
    for (int j = 0; j < width; ++j) analysis.Loadings[static_cast<size_t>(j) * m + c] = loading[j];
    for (int i = 0; i < n; ++i) analysis.Scores[static_cast<size_t>(i) * m + c] = scores[i];
    analysis.Variances[c] = scores.squaredNorm() / n;
  }
}

}  // namespace

std::optional<TShapeAnalysis> AnalyseShapes(const TShapeSamples& samples, std::string& message) {
  const int n = samples.SampleCount();
  const int k = samples.PointCount;
  if (n < 2) {
    message = kTooFewSamplesMessage;
    return std::nullopt;
  }
  if (k < 2) {
    message = kTooFewPointsMessage;
    return std::nullopt;
  }
  const int width = 2 * k;
  TSampleMatrix matrix(samples);
  matrix.CopyLine(1, 0);
  for (int pass = 0; pass < kProcrustesPasses; ++pass) {
    for (int row = 0; row <= n; ++row) {
      if (matrix.CenterAndScale(row)) continue;
      // Row 0 can fail only in the first pass, as the copy of the first sample.
      message = FillIn(kZeroSizeMessage, samples.Names[std::max(row - 1, 0)]);
      return std::nullopt;
    }
    for (int row = 1; row <= n; ++row) matrix.LeastSquaresRotation(row, 0);
    if (!matrix.ComputeAverage(1, n, 0)) {
      message = kMeanWithoutSizeMessage;
      return std::nullopt;
    }
  }

  TShapeAnalysis analysis;
  analysis.SampleCount = n;
  analysis.PointCount = k;
  analysis.ComponentCount = std::max(width - 4, 0);
  analysis.Consensus.assign(matrix.Row(0), matrix.Row(0) + width);
  analysis.Residuals.resize(static_cast<size_t>(n) * width);
  for (int i = 0; i < n; ++i) {
    const double* sample = matrix.Row(i + 1);
    double squared = 0;
    for (int j = 0; j < width; ++j) {
      const double r = sample[j] - analysis.Consensus[j];
      analysis.Residuals[static_cast<size_t>(i) * width + j] = r;
      squared += r * r;
    }
    analysis.Sizes.push_back(matrix.Size(i + 1));
    analysis.Distances.push_back(std::sqrt(squared));
    analysis.SumDistances += analysis.Distances.back();
    analysis.SumSquaredDistances += squared;
  }

  PrincipalComponents(analysis);
  double total = 0;
  for (double v : analysis.Variances) total += v;
  // Below this the residuals are rounding noise of identical shapes (real digitizing puts
  // them many orders of magnitude higher), and percentages of it would be meaningless.
  if (analysis.ComponentCount > 0 && !(total > 1e-20)) {
    message = kNoShapeVariationMessage;
    return std::nullopt;
  }
  return analysis;
}

}  // namespace lumacet
