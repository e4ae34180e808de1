// A small lateral type for measurement tests: four landmarks P1..P4, and one radiograph
// of it for a girl born on 1 January 2000 and radiographed on 1 January 2012.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <string>

#include "measure/variables.h"
#include "model/xray.h"
#include "model/xray_type.h"

namespace lumacet::test {

class MeasureFixture : public ::testing::Test {
 protected:
  MeasureFixture() {
    type.Name = "Lateral";
    for (const char* name : {"P1", "P2", "P3", "P4"}) type.AddElement(name, ekDigPoint, message);
    type.BuildTemplates();
    xray.SetType(&type);
    xray.Name = "Jane Roe";
    xray.Female = true;
    xray.DateOfBirth = DayNumber(2000, 1, 1);
    xray.DateTaken = DayNumber(2012, 1, 1);
    xray.Magnification = 10;
    xray.Comments = "Before treatment";
  }

  // Landmark P<n> of a radiograph, in tracing units.
  static void Place(TXRay& radiograph, int n, double x, double y) { radiograph.Coordinates[n - 1]->SetXY(x, y); }
  void Place(int n, double x, double y) { Place(xray, n, x, y); }
  TXRayElement* P(int n) const { return type.FindElement("P" + std::to_string(n), ekDigPoint); }

  TXRVariable& AddVariable(const std::string& name, int kind, std::initializer_list<TXRayElement*> operands = {}) {
    auto* variable = static_cast<TXRVariable*>(type.AddElement(name, ekVariable, message));
    EXPECT_NE(variable, nullptr) << message;
    variable->SetKind(kind);
    int slot = 0;
    for (TXRayElement* operand : operands) EXPECT_TRUE(variable->SetOperand(slot++, operand));
    return *variable;
  }
  // A "Constant": its name is its value.
  TXRVariable& Constant(const std::string& value) { return AddVariable(value, 21); }

  // Loads the radiograph and computes the variable: its value text, or nothing when invalid.
  std::optional<std::string> Measure(TXRVariable& variable, TRadiograph& radiograph) {
    radiograph.LoadCoordinates();
    ComputeVariable(variable, radiograph, context);
    if (!variable.Valid) return std::nullopt;
    return variable.ValueText;
  }
  std::optional<std::string> Measure(TXRVariable& variable) { return Measure(variable, xray); }

  std::string message;
  TXRayType type;
  TXRay xray;
  TMeasureContext context;
};

}  // namespace lumacet::test
