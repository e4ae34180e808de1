// The example types and data file shipped in examples/: they must load with the program's
// own readers, and every lateral radiograph must measure like a real patient.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "common/result_assertions.h"
#include "measure/variables.h"
#include "model/xray.h"
#include "model/xray_type.h"
#include "persistence/data_file.h"
#include "persistence/data_test_support.h"

namespace lumacet {
namespace {

const std::string kExamples = std::string(LUMACET_SOURCE_DIR) + "/examples";

int LineCount(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  int lines = 0;
  for (char c : text) lines += c == '\n';
  return lines;
}

std::optional<double> Measure(TXRayType& type, TXRay& xray, const std::string& name) {
  auto* variable = static_cast<TXRVariable*>(type.FindElement(name, ekVariable));
  if (variable == nullptr) return std::nullopt;
  const TMeasureContext context;
  xray.LoadCoordinates();
  ComputeVariable(*variable, xray, context);
  return VariableNumber(*variable, context.Formats);
}

class ExampleFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test::Succeeded(lateral.LoadFromTypeFile(kExamples + "/lateral_ceph.lcr")));
    ASSERT_TRUE(test::Succeeded(frontal.LoadFromTypeFile(kExamples + "/frontal_ceph.lcr")));
  }
  TXRayType lateral;
  TXRayType frontal;
};

TEST_F(ExampleFilesTest, TheLateralTypeHoldsACompleteTracingDefinition) {
  EXPECT_EQ(lateral.Name, "Lateral Ceph");
  EXPECT_GE(lateral.Count(ekDigPoint), 35u);
  EXPECT_GE(lateral.Count(ekVariable), 60u);
  EXPECT_GE(lateral.Count(ekAnalysis), 7u);
  for (int code : {ekSnake, ekDerPoint, ekGraphic, ekProtocol, ekSupimp, ekOrient, ekHardSoft})
    EXPECT_GT(lateral.Count(code), 0u) << ElementKindName(code);
  // Every constructed point can be built on the type's own mean tracing.
  for (size_t i = 0; i < lateral.Count(ekDerPoint); ++i) {
    auto* point = lateral.Element<TDerPoint>(ekDerPoint, i);
    EXPECT_TRUE(point->IsValid()) << point->Name;
  }
}

TEST_F(ExampleFilesTest, EveryRecordLoadsAndEveryLateralOneMeasuresPlausibly) {
  const std::string data = kExamples + "/PATIENT.CSV";
  const int records = LineCount(data);
  const TTypeResolver types = test::Resolver({&lateral, &frontal});
  int laterals = 0;
  int females = 0;
  for (int line = 1; line <= records; ++line) {
    TXRay xray;
    ASSERT_EQ(LoadFromDataFile(xray, data, line, types, {}), lsLoaded) << "record " << line;
    if (xray.Type() != &lateral) continue;
    ++laterals;
    females += xray.Female;
    EXPECT_EQ(xray.ValidPointCount(), static_cast<int>(lateral.Count(ekDigPoint))) << xray.Name;
    const std::optional<double> sna = Measure(lateral, xray, "SNA");
    const std::optional<double> snb = Measure(lateral, xray, "SNB");
    const std::optional<double> anb = Measure(lateral, xray, "ANB");
    ASSERT_TRUE(sna && snb && anb) << xray.Name;
    EXPECT_GT(*sna, 74) << xray.Name;
    EXPECT_LT(*sna, 90) << xray.Name;
    EXPECT_GT(*snb, 70) << xray.Name;
    EXPECT_LT(*snb, 90) << xray.Name;
    EXPECT_GT(*anb, -9) << xray.Name;
    EXPECT_LT(*anb, 10) << xray.Name;
    const std::optional<double> fma = Measure(lateral, xray, "FMA");
    ASSERT_TRUE(fma) << xray.Name;
    EXPECT_GT(*fma, 12) << xray.Name;
    EXPECT_LT(*fma, 40) << xray.Name;
  }
  EXPECT_GE(laterals, 24);
  EXPECT_GT(females, 0);
  EXPECT_LT(females, laterals);
}

}  // namespace
}  // namespace lumacet
