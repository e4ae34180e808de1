// Generalized Procrustes analysis of a population of landmark configurations and the
// principal components of what remains after it. Shapes are brought to unit centroid size,
// centred and turned onto their mean (partial Procrustes); the residuals of every shape from
// the mean are decomposed into components. Everything here works on plain numbers: reading
// radiographs is procrustes_run.h's concern, writing the report procrustes_report.h's.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumacet {

// Configurations of k points each, one row per sample: x1, y1, x2, y2, ... in tracing units.
struct TShapeSamples {
  int PointCount = 0;
  std::vector<double> Coordinates;  // SampleCount() rows of 2k values
  std::vector<std::string> Names;   // one per sample, for the report

  int SampleCount() const { return PointCount > 0 ? static_cast<int>(Coordinates.size() / (2 * PointCount)) : 0; }
  void Add(const std::vector<double>& row, std::string name);
};

// The rows of one calculation: row 0 the consensus, rows 1..N the samples in reading order.
// Each row holds the 2k coordinates and a size slot, the centroid size measured the first
// time the row is scaled (0 until then).
class TSampleMatrix {
 public:
  explicit TSampleMatrix(const TShapeSamples& samples);

  int Rows() const { return fRows; }
  int Width() const { return fWidth; }  // 2k
  double* Row(int row) { return fValues.data() + static_cast<size_t>(row) * (fWidth + 1); }
  const double* Row(int row) const { return fValues.data() + static_cast<size_t>(row) * (fWidth + 1); }
  double Size(int row) const { return Row(row)[fWidth]; }

  void CopyLine(int from, int to);
  // Centres the row on the origin and divides it by its centroid size; false, with the row
  // unchanged, when that size is zero or not finite.
  bool CenterAndScale(int row);
  // Turns the row about the origin by the angle that best fits it onto `reference`. The
  // full-circle arctangent keeps a shape turned by more than a right angle from being left
  // upside down; a shape with no preferred turn is left as it is.
  void LeastSquaresRotation(int row, int reference);
  // Row `target` becomes the coordinate-wise mean of rows first..last, centred and scaled.
  bool ComputeAverage(int first, int last, int target);

 private:
  int fRows = 0;
  int fWidth = 0;
  std::vector<double> fValues;
};

inline constexpr int kProcrustesPasses = 101;

// Results of one calculation over N samples of k points; m = max(2k - 4, 0) components.
// Matrices are row-major.
struct TShapeAnalysis {
  int SampleCount = 0;
  int PointCount = 0;
  int ComponentCount = 0;
  std::vector<double> Consensus;   // 2k, centred, unit centroid size
  std::vector<double> Residuals;   // N x 2k: fitted sample minus consensus
  std::vector<double> Sizes;       // N: centroid size of the raw coordinates
  std::vector<double> Distances;   // N: Procrustes distance to the consensus
  double SumDistances = 0;
  double SumSquaredDistances = 0;
  std::vector<double> Scores;      // N x m
  std::vector<double> Loadings;    // 2k x m: column c is component c + 1, unit length
  std::vector<double> Variances;   // m, sum of squared scores / N, largest first

  double Loading(int coordinate, int component) const {
    return Loadings[static_cast<size_t>(coordinate) * ComponentCount + component];
  }
  double Score(int sample, int component) const { return Scores[static_cast<size_t>(sample) * ComponentCount + component]; }
};

// Messages of degenerate data; nothing is calculated when one applies.
inline constexpr std::string_view kTooFewSamplesMessage = "At least two radiographs are needed.";
inline constexpr std::string_view kTooFewPointsMessage = "The PCA must have at least 2 points.";
inline constexpr std::string_view kZeroSizeMessage = "Cannot superimpose: all points of radiograph %s coincide.";
inline constexpr std::string_view kMeanWithoutSizeMessage = "Cannot superimpose: the mean shape has no size.";
inline constexpr std::string_view kNoShapeVariationMessage =
    "Cannot calculate principal components: the shapes do not differ.";

// The superimposition (101 passes, no convergence test) and the principal components.
// Nothing, with `message` saying why, for degenerate data: fewer than two samples or two
// points, a sample whose points coincide, a mean that loses its size, or no variation at all
// to decompose. Every number of a result is finite.
//
// Components come from the symmetric eigendecomposition of the residuals' cross-product,
// which gives what NIPALS iterates towards, exactly also where eigenvalues lie close
// together. NIPALS starts each component from the first column of the deflated residuals,
// and its score t = E p keeps the sign of its start column: t . E[:,0] = lambda p[0]. So a
// loading's first coordinate is made positive (the first coordinate clear of rounding
// noise when that one is 0, as NIPALS then starts from the first column that is not).
std::optional<TShapeAnalysis> AnalyseShapes(const TShapeSamples& samples, std::string& message);

}  // namespace lumacet
