#include "geometry/procrustes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/matrix.h"

namespace lumacet {
namespace {

const std::vector<double> kShape = {0, 0, 40, 0, 50, 30, 10, 45, -5, 20};

// Turned by `degrees` (clockwise as displayed), scaled and moved.
std::vector<double> Moved(const std::vector<double>& xy, double degrees, double scale, double dx,
                          double dy) {
  double t = degrees * std::acos(-1.0) / 180;
  std::vector<double> result(xy.size());
  for (std::size_t i = 0; i < xy.size(); i += 2) {
    result[i] = scale * (xy[i] * std::cos(t) - xy[i + 1] * std::sin(t)) + dx;
    result[i + 1] = scale * (xy[i] * std::sin(t) + xy[i + 1] * std::cos(t)) + dy;
  }
  return result;
}

double CentroidSize(const std::vector<double>& xy) {
  double cx = 0, cy = 0;
  for (std::size_t i = 0; i < xy.size(); i += 2) {
    cx += xy[i];
    cy += xy[i + 1];
  }
  cx /= static_cast<double>(xy.size() / 2);
  cy /= static_cast<double>(xy.size() / 2);
  double sum = 0;
  for (std::size_t i = 0; i < xy.size(); i += 2) {
    sum += (xy[i] - cx) * (xy[i] - cx) + (xy[i + 1] - cy) * (xy[i + 1] - cy);
  }
  return std::sqrt(sum);
}

void ExpectSame(const std::vector<double>& actual, const std::vector<double>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < actual.size(); ++i) EXPECT_NEAR(actual[i], expected[i], 1e-9) << i;
}

TEST(ProcrustesFit, PlacesAShapeOnAMovedTurnedAndScaledCopy) {
  for (double degrees : {0.0, 60.0, -75.0, 120.0, 179.0, -150.0}) {
    SCOPED_TRACE(degrees);
    std::vector<double> a = kShape;
    std::vector<double> b = Moved(kShape, degrees, 1.3, 100, -50);
    const std::vector<double> original = b;
    auto sizes = ProcrustesFit(a, b, kProcrustesPlaceOnB | kProcrustesToSizeOfB);
    ASSERT_TRUE(sizes);
    EXPECT_NEAR(sizes->SizeA, CentroidSize(kShape), 1e-9);
    EXPECT_NEAR(sizes->SizeB, 1.3 * CentroidSize(kShape), 1e-9);
    ExpectSame(a, original);
    ExpectSame(b, original);
  }
}

TEST(ProcrustesFit, WithoutFlagsBringsBothToTheOriginAtUnitSize) {
  std::vector<double> a = kShape;
  std::vector<double> b = Moved(kShape, 30, 2, 7, 9);
  ASSERT_TRUE(ProcrustesFit(a, b, 0));
  EXPECT_NEAR(CentroidSize(a), 1, 1e-12);
  EXPECT_NEAR(CentroidSize(b), 1, 1e-12);
  ExpectSame(a, b);
  double cx = 0;
  for (std::size_t i = 0; i < b.size(); i += 2) cx += b[i];
  EXPECT_NEAR(cx, 0, 1e-12);
}

TEST(ProcrustesFit, KeepSizeLeavesTheScaleOfA) {
  std::vector<double> a = kShape;
  std::vector<double> b = Moved(kShape, 10, 3, 0, 0);
  ASSERT_TRUE(ProcrustesFit(a, b, kProcrustesKeepSize));
  EXPECT_NEAR(CentroidSize(a), CentroidSize(kShape), 1e-9);
  EXPECT_NEAR(CentroidSize(b), 1, 1e-12);
}

TEST(ProcrustesFit, LeavesShapesWithoutAPreferredTurnUnturned) {
  // A cross against its mirror image: both cross sums vanish.
  std::vector<double> a = {1, 0, -1, 0, 0, 1, 0, -1};
  std::vector<double> b = {1, 0, -1, 0, 0, -1, 0, 1};
  ASSERT_TRUE(ProcrustesFit(a, b, kProcrustesKeepSize));
  ExpectSame(a, {1, 0, -1, 0, 0, 1, 0, -1});
}

TEST(ProcrustesFit, RefusesDegenerateInputAndLeavesTheArraysAlone) {
  const std::vector<double> shape = {0, 0, 10, 0, 5, 5};
  std::vector<double> a = shape;
  std::vector<double> shorter = {0, 0, 10, 0};
  std::vector<double> odd = {0, 0, 10, 0, 5};
  std::vector<double> onePoint = {3, 4};
  std::vector<double> collapsed = {2, 2, 2, 2, 2, 2};
  EXPECT_FALSE(ProcrustesFit(a, shorter, 0));
  EXPECT_FALSE(ProcrustesFit(odd, odd, 0));
  EXPECT_FALSE(ProcrustesFit(onePoint, onePoint, 0));
  EXPECT_FALSE(ProcrustesFit(a, collapsed, 3));
  EXPECT_FALSE(ProcrustesFit(collapsed, a, 3));
  std::vector<double> huge = {0, 0, 1e300, 1e300, -1e300, 1e300};
  EXPECT_FALSE(ProcrustesFit(a, huge, 0));
  EXPECT_EQ(a, shape);
  EXPECT_EQ(collapsed, (std::vector<double>{2, 2, 2, 2, 2, 2}));
}

TEST(Matrices, TransposeAndMultiply) {
  TMatrix m = {{1, 2, 3}, {4, 5, 6}};
  TMatrix n = {{7, 8}, {9, 10}, {11, 12}};
  EXPECT_EQ(TransposeMatrix(m), (TMatrix{{1, 4}, {2, 5}, {3, 6}}));
  EXPECT_EQ(MultiplyMatrices(m, n), (TMatrix{{58, 64}, {139, 154}}));
  EXPECT_EQ(MultiplyMatrices(n, m), (TMatrix{{39, 54, 69}, {49, 68, 87}, {59, 82, 105}}));
}

TEST(Matrices, RefuseRaggedEmptyAndMismatchedArrays) {
  TMatrix ragged = {{1, 2}, {3}};
  TMatrix square = {{1, 2}, {3, 4}};
  TMatrix row = {{1, 2, 3}};
  EXPECT_TRUE(TransposeMatrix(ragged).empty());
  EXPECT_TRUE(TransposeMatrix({}).empty());
  EXPECT_TRUE(TransposeMatrix({{}, {}}).empty());
  EXPECT_TRUE(MultiplyMatrices(square, row).empty());
  EXPECT_TRUE(MultiplyMatrices(ragged, square).empty());
  EXPECT_TRUE(MultiplyMatrices(square, {}).empty());
}

}  // namespace
}  // namespace lumacet
