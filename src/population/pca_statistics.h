// Measuring the radiograph loaded in a type against the population data of a PCA element:
// the shape variables (centroid size, Procrustes distance, component scores), the shape
// distance to a reference radiograph, and the consensus drawn over the tracing.
#pragma once

#include <optional>
#include <span>
#include <vector>

#include "geometry/coordinates.h"
#include "measure/variables.h"

namespace lumacet {

class TXRPCA;

// The coordinates of the element's points as loaded in its type (x1, y1, x2, y2, ... in
// Points order); nothing when a point is not valid or the element has no points.
std::optional<std::vector<double>> PcaShape(TXRPCA& pca);

// True when the element holds data that fit its point list (consensus 2k values, 2k - 4
// variances, 2k rows of 2k - 4 loadings). Data of the wrong sizes (a hand-edited file, a
// point list changed behind the element's back) are marked not valid on the way.
bool UsablePcaData(TXRPCA& pca);

// The consensus fitted onto the element's points as loaded (moved onto their centroid and
// scaled to their size), one position per point; empty when that cannot be done.
std::vector<TFloatPoint> PcaConsensusOnTracing(TXRPCA& pca);

// What the measure context and the variables ask for.
class TPcaMeasurer : public TPcaStatistics {
 public:
  // The loaded shape is fitted onto the consensus (both centred, unit size, the shape
  // turned); r = fitted shape - consensus. Statistic 0 the shape's centroid size before the
  // fit, 1 that size / sqrt(k), 2 |r|, 3 the score r . L_c / |L_c|^2 on component c (from
  // 1), 4 that score / sqrt(variance c). Nothing when a point is invalid, the data are not
  // valid, c is out of range, or a denominator is zero.
  std::optional<double> PCAMeasure(TXRPCA& pca, int statistic, int component) override;
  // The loaded shape fitted onto the reference shape (centred and scaled to unit size),
  // and the root of the summed squared differences. Needs 2k finite values of non-zero
  // size, not the element's population data.
  std::optional<double> ShapeDistance(TXRPCA& pca, std::span<const double> referenceShape) override;
  std::vector<TFloatPoint> ConsensusOnTracing(TXRPCA& pca) override { return PcaConsensusOnTracing(pca); }
};

}  // namespace lumacet
