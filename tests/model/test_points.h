// Model points and point comparisons for geometry and curve tests.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <memory>
#include <optional>
#include <vector>

#include "geometry/coordinates.h"
#include "model/xray_element.h"

namespace lumacet::test {

class TPointFactory {
 public:
  TXRPoint* At(double x, double y) {
    TXRPoint* point = Make();
    point->SetXY(x, y);
    return point;
  }
  // A point that was placed at (x, y) and then invalidated.
  TXRPoint* Invalid(double x = 0, double y = 0) {
    TXRPoint* point = At(x, y);
    point->SetValid(false);
    return point;
  }
  std::vector<TXRPoint*> List(std::initializer_list<TFloatPoint> positions) {
    std::vector<TXRPoint*> points;
    for (TFloatPoint p : positions) points.push_back(At(p.X, p.Y));
    return points;
  }

 private:
  TXRPoint* Make() { return owned_.emplace_back(std::make_unique<TXRPoint>()).get(); }
  std::vector<std::unique_ptr<TXRPoint>> owned_;
};

// For EXPECT_TRUE: a present result within `tolerance` of (x, y) in both coordinates.
inline ::testing::AssertionResult IsNear(const std::optional<TFloatPoint>& actual, double x, double y,
                                         double tolerance = 1e-9) {
  if (!actual) return ::testing::AssertionFailure() << "no result, expected (" << x << ", " << y << ")";
  if (std::fabs(actual->X - x) > tolerance || std::fabs(actual->Y - y) > tolerance) {
    return ::testing::AssertionFailure() << "(" << actual->X << ", " << actual->Y << ") is not near ("
                                         << x << ", " << y << ")";
  }
  return ::testing::AssertionSuccess();
}

inline TFloatPoint PositionOf(TXRPoint* point) { return {point->GetX(), point->GetY()}; }

}  // namespace lumacet::test
