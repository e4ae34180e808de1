#include "population/landmark_prediction.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>
#include <random>

#include <Eigen/Cholesky>
#include <Eigen/Core>
#include <Eigen/QR>

#include "model/list_elements.h"
#include "population/pca_statistics.h"

namespace lumacet {

namespace {

using TMatrix = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>;
using TMatrixMap = Eigen::Map<TMatrix>;
using TConstMatrixMap = Eigen::Map<const TMatrix>;

constexpr int kMaxPasses = 100;
constexpr double kConverged = 1e-12;
// The regularisation, in shares of the mean variance of one coordinate. It stands for the
// placement noise of the landmarks given: without it a prediction would follow every
// slip of a placed point as if it were anatomy. Chosen by cross-validation on real
// cephalograms, where it lies on a broad optimum.
constexpr double kRidgeShare = 0.01;
// How much freer the pose of the whole configuration is than its shape: enough for the
// placed landmarks to set the pose alone, little enough for the solve to stay well conditioned.
constexpr double kPoseFreedom = 1e4;

TResult Refused(TTextSource text, std::string reason = {}) { return TResult::Failure(TText(text), std::move(reason)); }

// The chi-square quantile with two degrees of freedom.
double Quantile2(double level) { return -2 * std::log(1 - level); }

}  // namespace

double TPredictedLandmark::Distance2(TFloatPoint position) const {
  const double dx = position.X - At.X, dy = position.Y - At.Y;
  const double det = Cxx * Cyy - Cxy * Cxy;
  if (!(det > 0)) return dx == 0 && dy == 0 ? 0 : HUGE_VAL;
  return (Cyy * dx * dx - 2 * Cxy * dx * dy + Cxx * dy * dy) / det;
}

bool TPredictedLandmark::Outside(TFloatPoint position, double level) const {
  return Distance2(position) > Quantile2(level);
}

TEllipse UncertaintyEllipse(const TPredictedLandmark& p, double level) {
  const double mean = (p.Cxx + p.Cyy) / 2;
  const double spread = std::hypot((p.Cxx - p.Cyy) / 2, p.Cxy);
  const double q = Quantile2(level);
  TEllipse ellipse{.Centre = p.At};
  ellipse.Major = std::sqrt(q * std::max(0.0, mean + spread));
  ellipse.Minor = std::sqrt(q * std::max(0.0, mean - spread));
  // The eigenvector's angle in the y-down frame, turned into the counter-clockwise-as-displayed convention.
  ellipse.Angle = -0.5 * std::atan2(2 * p.Cxy, p.Cxx - p.Cyy);
  return ellipse;
}

TResultOf<TShapeModel> TShapeModel::Build(const TShapeSamples& samples) {
  const int n = samples.SampleCount();
  const int k = samples.PointCount;
  if (n < 2) return Refused(LcText("Prediction", "At least two radiographs are needed for a shape model."));
  if (k < 2) return Refused(LcText("Prediction", "A shape model needs at least two points."));
  TSampleMatrix m(samples);
  for (int row = 1; row <= n; ++row)
    if (!m.CenterAndScale(row))
      return TResult::Failure(
          TText(LcText("Prediction", "Cannot build the shape model: all points of radiograph %1 coincide."),
                {samples.Names[static_cast<size_t>(row - 1)]}));
  m.CopyLine(1, 0);
  const int width = 2 * k;
  std::vector<double> previous(m.Row(0), m.Row(0) + width);
  for (int pass = 0; pass < kMaxPasses; ++pass) {
    for (int row = 1; row <= n; ++row) m.LeastSquaresRotation(row, 0);
    if (!m.ComputeAverage(1, n, 0)) return Refused(LcText("Prediction", "Cannot build the shape model: the mean shape has no size."));
    double change = 0;
    for (int j = 0; j < width; ++j) change = std::max(change, std::abs(m.Row(0)[j] - previous[static_cast<size_t>(j)]));
    std::copy_n(m.Row(0), width, previous.begin());
    if (change < kConverged) break;
  }
  for (int row = 1; row <= n; ++row) m.LeastSquaresRotation(row, 0);

  TShapeModel model;
  model.fPoints = k;
  model.fSamples = n;
  model.fMean = previous;
  TMatrix residuals(n, width);
  for (int row = 1; row <= n; ++row)
    for (int j = 0; j < width; ++j) residuals(row - 1, j) = m.Row(row)[j] - previous[static_cast<size_t>(j)];
  TMatrix covariance = TMatrix::Zero(width, width);
  covariance.selfadjointView<Eigen::Lower>().rankUpdate(residuals.transpose(), 1.0 / n);
  covariance.triangularView<Eigen::StrictlyUpper>() = covariance.transpose();
  model.fCovariance.assign(covariance.data(), covariance.data() + covariance.size());
  model.AddPoseDirections();
  return model;
}

TResultOf<TShapeModel> TShapeModel::FromPca(TXRPCA& pca) {
  const TText noData(LcText("Prediction", "The PCA %1 holds no data: import a Procrustes report into it first."),
                     {pca.Name});
  if (!UsablePcaData(pca)) return TResult::Failure(noData);
  const int width = static_cast<int>(pca.Consensus.size());
  TShapeModel model;
  model.fPoints = width / 2;
  model.fSamples = pca.SampleCount;
  model.fMean = pca.Consensus;
  TMatrix covariance = TMatrix::Zero(width, width);
  for (size_t c = 0; c < pca.Variances.size(); ++c) {
    Eigen::VectorXd loading(width);
    for (int j = 0; j < width; ++j) loading(j) = pca.Loadings[static_cast<size_t>(j)][c];
    covariance += pca.Variances[c] * loading * loading.transpose();
  }
  if (!covariance.allFinite() || !(covariance.trace() > 0)) return TResult::Failure(noData);
  model.fCovariance.assign(covariance.data(), covariance.data() + covariance.size());
  model.AddPoseDirections();
  return model;
}

// The shapes were superimposed on all their points, a new configuration only on those
// placed. The two frames differ by a small similarity, which the conditional mean finds
// itself when the model leaves the four pose directions at the mean nearly free.
void TShapeModel::AddPoseDirections() {
  const int width = 2 * fPoints;
  TMatrixMap covariance(fCovariance.data(), width, width);
  fRidge = kRidgeShare * covariance.trace() / width;
  Eigen::MatrixXd pose(width, 4);
  for (int i = 0; i < fPoints; ++i) {
    const double x = fMean[static_cast<size_t>(2 * i)], y = fMean[static_cast<size_t>(2 * i + 1)];
    pose.row(2 * i) << 1, 0, -y, x;
    pose.row(2 * i + 1) << 0, 1, x, y;
  }
  const Eigen::HouseholderQR<Eigen::MatrixXd> qr(pose);
  const Eigen::MatrixXd basis = qr.householderQ() * Eigen::MatrixXd::Identity(width, 4);
  const double freedom = kPoseFreedom * covariance.trace();
  covariance += freedom * basis * basis.transpose();
}

TResultOf<std::vector<TPredictedLandmark>> TShapeModel::Predict(std::span<const TPlacedLandmark> placed) const {
  const int p = static_cast<int>(placed.size());
  if (p < 2) return Refused(LcText("Prediction", "At least two landmarks must be placed to predict the others."));
  std::vector<bool> isPlaced(static_cast<size_t>(fPoints), false);
  for (const TPlacedLandmark& landmark : placed) {
    if (landmark.Index < 0 || landmark.Index >= fPoints || isPlaced[static_cast<size_t>(landmark.Index)])
      return Refused(LcText("Prediction", "The placed landmarks do not fit the shape model."));
    if (!std::isfinite(landmark.At.X) || !std::isfinite(landmark.At.Y))
      return Refused(LcText("Prediction", "The placed landmarks do not fit the shape model."));
    isPlaced[static_cast<size_t>(landmark.Index)] = true;
  }
  auto meanX = [&](int i) { return fMean[static_cast<size_t>(2 * i)]; };
  auto meanY = [&](int i) { return fMean[static_cast<size_t>(2 * i + 1)]; };

  // The similarity c z + t (complex numbers) that best maps the model's mean of the placed
  // landmarks onto them.
  double mx = 0, my = 0, yx = 0, yy = 0;
  for (const TPlacedLandmark& l : placed) {
    mx += meanX(l.Index);
    my += meanY(l.Index);
    yx += l.At.X;
    yy += l.At.Y;
  }
  mx /= p, my /= p, yx /= p, yy /= p;
  double size = 0, placedSize = 0, dot = 0, cross = 0;
  for (const TPlacedLandmark& l : placed) {
    const double ax = meanX(l.Index) - mx, ay = meanY(l.Index) - my;
    const double bx = l.At.X - yx, by = l.At.Y - yy;
    size += ax * ax + ay * ay;
    placedSize += bx * bx + by * by;
    dot += ax * bx + ay * by;
    cross += ax * by - ay * bx;
  }
  const double cr = dot / size, ci = cross / size;
  const double scale2 = cr * cr + ci * ci;
  if (!(size > 0) || !(placedSize > 0) || !(scale2 > 0) || !std::isfinite(scale2))
    return Refused(LcText("Prediction", "The placed landmarks coincide: they give the shape model no position."));

  // The placed landmarks in the model's frame, less the mean.
  Eigen::VectorXd d(2 * p);
  std::vector<int> rows;
  for (int i = 0; i < p; ++i) {
    const TPlacedLandmark& l = placed[static_cast<size_t>(i)];
    const double bx = l.At.X - yx, by = l.At.Y - yy;
    // Divided by c: multiplied by its conjugate over |c|^2.
    const double fx = (cr * bx + ci * by) / scale2 + mx, fy = (cr * by - ci * bx) / scale2 + my;
    d(2 * i) = fx - meanX(l.Index);
    d(2 * i + 1) = fy - meanY(l.Index);
    rows.push_back(2 * l.Index);
    rows.push_back(2 * l.Index + 1);
  }
  const int width = 2 * fPoints;
  const TConstMatrixMap covariance(fCovariance.data(), width, width);
  Eigen::MatrixXd placedCovariance(2 * p, 2 * p);
  for (int a = 0; a < 2 * p; ++a)
    for (int b = 0; b < 2 * p; ++b) placedCovariance(a, b) = covariance(rows[static_cast<size_t>(a)], rows[static_cast<size_t>(b)]);
  placedCovariance.diagonal().array() += fRidge;
  const Eigen::LLT<Eigen::MatrixXd> solver(placedCovariance);
  if (solver.info() != Eigen::Success)
    return Refused(LcText("Prediction", "The placed landmarks give the shape model no solution."), "not positive definite");
  const Eigen::VectorXd weights = solver.solve(d);

  std::vector<TPredictedLandmark> predictions;
  const Eigen::MatrixXd lower = solver.matrixL();
  Eigen::MatrixXd cross2(2 * p, 2);
  for (int j = 0; j < fPoints; ++j) {
    if (isPlaced[static_cast<size_t>(j)]) continue;
    for (int a = 0; a < 2 * p; ++a) {
      cross2(a, 0) = covariance(rows[static_cast<size_t>(a)], 2 * j);
      cross2(a, 1) = covariance(rows[static_cast<size_t>(a)], 2 * j + 1);
    }
    const Eigen::Vector2d shift = cross2.transpose() * weights;
    const Eigen::MatrixXd g = lower.triangularView<Eigen::Lower>().solve(cross2);
    Eigen::Matrix2d c;
    c << covariance(2 * j, 2 * j), covariance(2 * j, 2 * j + 1), covariance(2 * j + 1, 2 * j),
        covariance(2 * j + 1, 2 * j + 1);
    c -= g.transpose() * g;
    // Back into the placed landmarks' frame: z -> c (z - centroid of the mean) + their centroid.
    const double zx = meanX(j) + shift(0) - mx, zy = meanY(j) + shift(1) - my;
    TPredictedLandmark predicted{.Index = j, .At = {cr * zx - ci * zy + yx, ci * zx + cr * zy + yy}};
    Eigen::Matrix2d rotation;
    rotation << cr, -ci, ci, cr;  // the rotation times the scale
    const Eigen::Matrix2d mapped = rotation * c * rotation.transpose();
    predicted.Cxx = mapped(0, 0);
    predicted.Cxy = (mapped(0, 1) + mapped(1, 0)) / 2;
    predicted.Cyy = mapped(1, 1);
    if (!std::isfinite(predicted.At.X) || !std::isfinite(predicted.At.Y) || !std::isfinite(predicted.Cxx) ||
        !std::isfinite(predicted.Cxy) || !std::isfinite(predicted.Cyy))
      return Refused(LcText("Prediction", "The placed landmarks give the shape model no solution."), "not finite");
    predictions.push_back(predicted);
  }
  return predictions;
}

namespace {

TResult CheckFolds(const TShapeSamples& samples, int folds) {
  if (folds < 2 || folds > samples.SampleCount())
    return Refused(LcText("Prediction", "Cross-validation needs at least two folds and no more folds than radiographs."));
  return {};
}

// The model of the samples not in the fold (sample i is in fold i mod folds).
TResultOf<TShapeModel> FoldModel(const TShapeSamples& samples, int folds, int fold) {
  TShapeSamples training;
  training.PointCount = samples.PointCount;
  const size_t width = 2 * static_cast<size_t>(samples.PointCount);
  for (int i = 0; i < samples.SampleCount(); ++i)
    if (i % folds != fold)
      training.Add({samples.Coordinates.begin() + static_cast<long>(i * width),
                    samples.Coordinates.begin() + static_cast<long>((i + 1) * width)},
                   samples.Names[static_cast<size_t>(i)]);
  return TShapeModel::Build(training);
}

}  // namespace

TResultOf<TCrossValidation> CrossValidate(const TShapeSamples& samples, std::span<const int> placed, int folds) {
  if (TResult checked = CheckFolds(samples, folds); !checked) return checked;
  const int n = samples.SampleCount();
  const int k = samples.PointCount;
  const size_t width = 2 * static_cast<size_t>(k);
  TCrossValidation result;
  result.MeanError.assign(static_cast<size_t>(k), 0.0);
  std::vector<int> counts(static_cast<size_t>(k), 0);
  double total = 0;
  for (int fold = 0; fold < folds; ++fold) {
    TResultOf<TShapeModel> model = FoldModel(samples, folds, fold);
    if (!model) return model.Outcome();
    for (int i = fold; i < n; i += folds) {
      const double* row = samples.Coordinates.data() + i * width;
      std::vector<TPlacedLandmark> given;
      for (int index : placed) given.push_back({index, {row[2 * index], row[2 * index + 1]}});
      TResultOf<std::vector<TPredictedLandmark>> predicted = model->Predict(given);
      if (!predicted) return predicted.Outcome();
      for (const TPredictedLandmark& p : *predicted) {
        const double error = std::hypot(p.At.X - row[2 * p.Index], p.At.Y - row[2 * p.Index + 1]);
        result.MeanError[static_cast<size_t>(p.Index)] += error;
        ++counts[static_cast<size_t>(p.Index)];
        total += error;
        ++result.Predictions;
      }
    }
  }
  for (int j = 0; j < k; ++j)
    if (counts[static_cast<size_t>(j)] > 0) result.MeanError[static_cast<size_t>(j)] /= counts[static_cast<size_t>(j)];
  result.Overall = result.Predictions > 0 ? total / result.Predictions : 0;
  return result;
}

TResultOf<TFlagRates> CheckFlags(const TShapeSamples& samples, int folds, double displacement, unsigned seed) {
  if (TResult checked = CheckFolds(samples, folds); !checked) return checked;
  const int n = samples.SampleCount();
  const int k = samples.PointCount;
  const size_t width = 2 * static_cast<size_t>(k);
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> direction(0, 2 * std::numbers::pi);
  int checked = 0, displaced = 0, inPlace = 0;
  for (int fold = 0; fold < folds; ++fold) {
    TResultOf<TShapeModel> model = FoldModel(samples, folds, fold);
    if (!model) return model.Outcome();
    for (int i = fold; i < n; i += folds) {
      const double* row = samples.Coordinates.data() + i * width;
      for (int j = 0; j < k; ++j) {
        std::vector<TPlacedLandmark> others;
        for (int o = 0; o < k; ++o)
          if (o != j) others.push_back({o, {row[2 * o], row[2 * o + 1]}});
        TResultOf<std::vector<TPredictedLandmark>> predicted = model->Predict(others);
        if (!predicted) return predicted.Outcome();
        const TPredictedLandmark& p = predicted->front();
        const double a = direction(random);
        inPlace += p.Outside({row[2 * j], row[2 * j + 1]});
        displaced += p.Outside({row[2 * j] + displacement * std::cos(a), row[2 * j + 1] + displacement * std::sin(a)});
        ++checked;
      }
    }
  }
  return TFlagRates{.Displaced = static_cast<double>(displaced) / checked, .InPlace = static_cast<double>(inPlace) / checked};
}

}  // namespace lumacet
