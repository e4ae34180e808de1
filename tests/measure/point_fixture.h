// A radiograph type to build computed points in, read back only through the points' own
// accessors.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "geometry/coordinates.h"
#include "model/list_elements.h"
#include "model/point_elements.h"
#include "model/xray_type.h"

namespace lumacet::test {

inline constexpr double kPointTolerance = 1e-9;

class PointTypeTest : public ::testing::Test {
 protected:
  // A digitized point at (x, y).
  TDigPoint* Dig(double x, double y) {
    auto* point = Add<TDigPoint>(ekDigPoint);
    point->SetXY(x, y);
    return point;
  }

  TDerPoint* Der(int kind, std::initializer_list<TXRayElement*> operands, double p1 = 0, double p2 = 0) {
    auto* point = Add<TDerPoint>(ekDerPoint);
    point->SetKind(kind);
    int slot = 0;
    for (TXRayElement* operand : operands) EXPECT_TRUE(point->SetOperand(slot++, operand));
    point->SetParameters(p1, p2);
    return point;
  }

  TXRGraphic* Drawing(std::initializer_list<TXRayElement*> members) {
    auto* drawing = Add<TXRGraphic>(ekGraphic);
    drawing->Points = members;
    return drawing;
  }

  TDigSnake* Snake(std::initializer_list<TFloatPoint> controls, bool placed = true) {
    auto* snake = Add<TDigSnake>(ekSnake);
    for (TFloatPoint p : controls) snake->AddPoint(p.X, p.Y, true);
    snake->Placed = placed;
    return snake;
  }

  // Moves a digitized point as loading coordinates would, and marks the type stale.
  void MoveTo(TDigPoint* point, double x, double y) {
    point->SetXY(x, y);
    fType.InvalidateDerived();
  }

  template <class T>
  T* Add(int code) {
    std::string message;
    auto* element = fType.AddElement("E" + std::to_string(++fCount), code, message);
    EXPECT_NE(element, nullptr) << message;
    return static_cast<T*>(element);
  }

  TXRayType fType;

 private:
  int fCount = 0;
};

}  // namespace lumacet::test

#define EXPECT_POINT_AT(point, x, y)                                   \
  do {                                                                 \
    ASSERT_TRUE((point)->IsValid());                                   \
    EXPECT_NEAR((point)->GetX(), (x), lumacet::test::kPointTolerance); \
    EXPECT_NEAR((point)->GetY(), (y), lumacet::test::kPointTolerance); \
  } while (0)
