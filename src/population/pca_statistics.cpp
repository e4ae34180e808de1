#include "population/pca_statistics.h"

#include <cmath>

#include "geometry/plane_geometry.h"
#include "geometry/procrustes.h"
#include "model/list_elements.h"
#include "model/point_geometry.h"

namespace lumacet {

std::optional<std::vector<double>> PcaShape(TXRPCA& pca) {
  if (pca.Points.empty()) return std::nullopt;
  std::vector<double> shape;
  shape.reserve(2 * pca.Points.size());
  for (TXRayElement* element : pca.Points) {
    auto* point = dynamic_cast<TXRPoint*>(element);
    std::optional<TFloatPoint> position = point != nullptr ? ValidPosition(*point) : std::nullopt;
    if (!position || !std::isfinite(position->X) || !std::isfinite(position->Y)) return std::nullopt;
    shape.push_back(position->X);
    shape.push_back(position->Y);
  }
  return shape;
}

bool UsablePcaData(TXRPCA& pca) {
  if (!pca.HasData) return false;
  if (!pca.HasConsistentSizes()) pca.HasData = false;
  return pca.HasData;
}

std::optional<double> TPcaMeasurer::PCAMeasure(TXRPCA& pca, int statistic, int component) {
  const int k = static_cast<int>(pca.Points.size());
  const int m = 2 * k - 4;
  if (k < 2 || statistic < 0 || statistic > 4 || !UsablePcaData(pca)) return std::nullopt;
  if (statistic >= 3 && (component < 1 || component > m)) return std::nullopt;
  std::optional<std::vector<double>> shape = PcaShape(pca);
  if (!shape) return std::nullopt;
  std::vector<double> consensus = pca.Consensus;
  std::optional<TProcrustesSizes> sizes = ProcrustesFit(*shape, consensus, 0);
  if (!sizes) return std::nullopt;

  double value = 0;
  switch (statistic) {
    case 0:
      value = sizes->SizeA;
      break;
    case 1:
      value = sizes->SizeA / std::sqrt(static_cast<double>(k));
      break;
    case 2: {
      double sum = 0;
      for (size_t j = 0; j < shape->size(); ++j) sum += ((*shape)[j] - consensus[j]) * ((*shape)[j] - consensus[j]);
      value = std::sqrt(sum);
      break;
    }
    default: {
      const size_t c = static_cast<size_t>(component - 1);
      double projection = 0;
      double norm = 0;
      for (size_t j = 0; j < shape->size(); ++j) {
        const double loading = pca.Loadings[j][c];
        projection += loading * ((*shape)[j] - consensus[j]);
        norm += loading * loading;
      }
      if (!(norm > 0)) return std::nullopt;
      value = projection / norm;
      if (statistic == 4) {
        if (!(pca.Variances[c] > 0)) return std::nullopt;
        value /= std::sqrt(pca.Variances[c]);
      }
    }
  }
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<double> TPcaMeasurer::ShapeDistance(TXRPCA& pca, std::span<const double> referenceShape) {
  std::optional<std::vector<double>> shape = PcaShape(pca);
  if (!shape || referenceShape.size() != shape->size()) return std::nullopt;
  std::vector<double> reference(referenceShape.begin(), referenceShape.end());
  if (!ProcrustesFit(*shape, reference, 0)) return std::nullopt;
  double sum = 0;
  for (size_t j = 0; j < shape->size(); ++j) sum += ((*shape)[j] - reference[j]) * ((*shape)[j] - reference[j]);
  const double distance = std::sqrt(sum);
  if (!std::isfinite(distance)) return std::nullopt;
  return distance;
}

std::vector<TFloatPoint> PcaConsensusOnTracing(TXRPCA& pca) {
  if (!UsablePcaData(pca)) return {};
  std::optional<std::vector<double>> shape = PcaShape(pca);
  if (!shape) return {};
  std::vector<double> consensus = pca.Consensus;
  if (!ProcrustesFit(consensus, *shape, kProcrustesPlaceOnB | kProcrustesToSizeOfB)) return {};
  std::vector<TFloatPoint> placed;
  for (size_t j = 0; j + 1 < consensus.size(); j += 2) placed.push_back({consensus[j], consensus[j + 1]});
  return placed;
}

}  // namespace lumacet
