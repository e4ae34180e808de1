// Computing measurement variables: the value of every variable kind for the radiograph
// whose coordinates are loaded into the variable's type, kept as text in the variable
// until the type marks it stale again.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "geometry/coordinates.h"

#include "support/dates.h"

namespace lumacet {

class TRadiograph;
class TXRVariable;
class TXRPCA;

// The shape statistics of a principal-component analysis element, supplied by the
// population statistics. Without them the shape kinds are never valid.
class TPcaStatistics {
 public:
  virtual ~TPcaStatistics() = default;
  // Statistic 0 centroid size, 1 normalized centroid size, 2 Procrustes distance,
  // 3 principal component score, 4 its z-score, of the coordinates loaded in the
  // element's type; `component` counts from 1 for statistics 3 and 4 and is 0 otherwise.
  virtual std::optional<double> PCAMeasure(TXRPCA& pca, int statistic, int component) = 0;
  // Procrustes distance of the loaded shape to `referenceShape` (x0, y0, x1, y1, ...;
  // empty when the reference radiograph's shape could not be taken).
  virtual std::optional<double> ShapeDistance(TXRPCA& pca, std::span<const double> referenceShape) = 0;
  // The consensus fitted onto the element's points as loaded, one position per point;
  // empty when that cannot be done. The shape-analysis drawings show it over the tracing.
  virtual std::vector<TFloatPoint> ConsensusOnTracing(TXRPCA& pca) = 0;
};

// What a computation needs besides the variable and the radiograph.
struct TMeasureContext {
  // The workspace's reference radiograph, for the "[R]" kinds; may be null.
  TRadiograph* Reference = nullptr;
  // Decimal separator of value texts, date and age formats of the patient kinds.
  TTextFormats Formats;
  TPcaStatistics* Pca = nullptr;
};

// Brings the variable's value up to date for `radiograph`, loading its coordinates first
// when the variable's type holds another's. Does nothing while the variable is not marked
// for recompute. A failure leaves it invalid and still marked, so the next request tries
// again. Operand variables are brought up to date on the way; a variable that is needed
// again while its own computation runs (a circular definition) reads as invalid. "[R]"
// kinds read flagged operands from the reference radiograph through the elements of the
// same names in its own type, and leave `radiograph`'s coordinates loaded again.
void ComputeVariable(TXRVariable& variable, TRadiograph& radiograph, const TMeasureContext& context);

// The variable's value text read as a number (the user's decimal separator); nothing when
// it is invalid or holds text.
std::optional<double> VariableNumber(const TXRVariable& variable, const TTextFormats& formats);

// (date taken - date of birth) / 365.4. Day 0, what a radiograph holds when a date was
// never given or could not be read, counts as no date: then there is no age.
std::optional<double> PatientAge(const TRadiograph& radiograph);

}  // namespace lumacet
