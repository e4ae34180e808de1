// The two dense matrix routines of the shape statistics.
#pragma once

#include <vector>

namespace lumacet {

// Rows of equal length.
using TMatrix = std::vector<std::vector<double>>;

// R[j][i] = M[i][j]. Empty when M is empty, has empty rows or rows of unequal length.
TMatrix TransposeMatrix(const TMatrix& m);

// R = M x N, with as many rows as M and as many columns as N. Empty when either is not a
// proper matrix (see TransposeMatrix) or the columns of M do not match the rows of N.
TMatrix MultiplyMatrices(const TMatrix& m, const TMatrix& n);

}  // namespace lumacet
