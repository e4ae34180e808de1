#include "geometry/matrix.h"

#include <algorithm>

namespace lumacet {

namespace {

// Number of columns of a rectangular, non-empty matrix; 0 otherwise.
std::size_t Columns(const TMatrix& m) {
  if (m.empty() || m.front().empty()) return 0;
  std::size_t columns = m.front().size();
  bool rectangular = std::all_of(m.begin(), m.end(), [&](const std::vector<double>& row) {
    return row.size() == columns;
  });
  return rectangular ? columns : 0;
}

}  // namespace

TMatrix TransposeMatrix(const TMatrix& m) {
  std::size_t columns = Columns(m);
  if (columns == 0) return {};
  TMatrix result(columns, std::vector<double>(m.size()));
  for (std::size_t i = 0; i < m.size(); ++i) {
    for (std::size_t j = 0; j < columns; ++j) result[j][i] = m[i][j];
  }
  return result;
}

TMatrix MultiplyMatrices(const TMatrix& m, const TMatrix& n) {
  std::size_t inner = Columns(m);
  std::size_t columns = Columns(n);
  if (inner == 0 || columns == 0 || inner != n.size()) return {};
  TMatrix result(m.size(), std::vector<double>(columns, 0.0));
  for (std::size_t i = 0; i < m.size(); ++i) {
    for (std::size_t k = 0; k < inner; ++k) {
      double factor = m[i][k];
      for (std::size_t j = 0; j < columns; ++j) result[i][j] += factor * n[k][j];
    }
  }
  return result;
}

}  // namespace lumacet
