// Measuring 400 real cephalograms, each traced by two annotators, after a round trip through a
// data file: the means of SNA, SNB, ANB and S-N and the annotators' disagreement on ANB must
// agree with figures computed independently from the same landmarks.
#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "measure/variables.h"
#include "model/xray.h"
#include "model/xray_type.h"
#include "persistence/data_file.h"
#include "persistence/data_lines.h"
#include "support/file_numbers.h"

namespace lumacet {
namespace {

namespace fs = std::filesystem;

constexpr size_t kLandmarks = 19;
constexpr std::array<const char*, kLandmarks> kLandmarkNames = {
    "S",  "N",   "Or",  "Po",  "A",  "B",     "Pog", "Me",  "Gn", "Go",
    "L1", "U1",  "UL",  "LL",  "Sn", "Pog'",  "PNS", "ANS", "Ar"};

enum TMeasure { kSNA, kSNB, kANB, kSN, kMeasureCount };

// One CSV line: the image number and the 19 landmarks in millimetres.
struct TTracing {
  std::string Image;
  std::array<double, 2 * kLandmarks> Coordinates{};
};

std::optional<std::vector<TTracing>> ReadTracings(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<TTracing> tracings;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    std::vector<std::string_view> fields;
    std::string_view rest = line;
    for (size_t comma; (comma = rest.find(',')) != std::string_view::npos; rest.remove_prefix(comma + 1))
      fields.push_back(rest.substr(0, comma));
    fields.push_back(rest);
    if (fields.size() != 1 + 2 * kLandmarks) return std::nullopt;
    TTracing& tracing = tracings.emplace_back();
    tracing.Image = std::string(fields[0]);
    for (size_t i = 0; i < 2 * kLandmarks; ++i) {
      std::optional<double> value = ParseFileReal(fields[i + 1]);
      if (!value) return std::nullopt;
      tracing.Coordinates[i] = *value;
    }
  }
  return tracings;
}

class RealDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::path(LUMACET_SHARED_DATA) / "landmarks-400";
    if (!fs::is_directory(folder)) GTEST_SKIP() << "No real landmark data at " << folder.string();

    std::string message;
    type.Name = "ISBI Lateral";
    for (const char* name : kLandmarkNames) ASSERT_NE(type.AddElement(name, ekDigPoint, message), nullptr) << message;
    type.BuildTemplates();
    auto point = [&](const char* name) { return type.FindElement(name, ekDigPoint); };
    // Lines N->A and N->S: the angle from the second to the first is S-N-A, positive for
    // a face turned to the right as the images show it.
    variables[kSNA] = &AddVariable("SNA", 1, {point("N"), point("A"), point("N"), point("S")});
    variables[kSNB] = &AddVariable("SNB", 1, {point("N"), point("B"), point("N"), point("S")});
    variables[kANB] = &AddVariable("ANB", 9, {variables[kSNA], variables[kSNB]});
    variables[kSN] = &AddVariable("S-N", 3, {point("S"), point("N")});

    dataFile = fs::path(::testing::TempDir()) / ("lumacet-real-data-" + std::to_string(::getpid()) + ".csv");
    fs::remove(dataFile);
  }

  void TearDown() override {
    if (!dataFile.empty()) fs::remove(dataFile);
  }

  TXRVariable& AddVariable(const std::string& name, int kind, std::initializer_list<TXRayElement*> operands) {
    std::string message;
    auto* variable = static_cast<TXRVariable*>(type.AddElement(name, ekVariable, message));
    EXPECT_NE(variable, nullptr) << message;
    variable->SetKind(kind);
    int slot = 0;
    for (TXRayElement* operand : operands) EXPECT_TRUE(variable->SetOperand(slot++, operand));
    return *variable;
  }

  // One record per tracing, the annotator in the comments, written as the program writes
  // any data file.
  void WriteRecords(const std::vector<TTracing>& tracings, const std::string& annotator, std::string& content) {
    for (const TTracing& tracing : tracings) {
      TXRay xray;
      xray.SetType(&type);
      xray.Name = "ISBI " + tracing.Image;
      xray.Female = false;
      xray.DateOfBirth = DayNumber(2000, 1, 1);
      xray.DateTaken = DayNumber(2015, 1, 1);
      xray.Comments = annotator;
      for (size_t i = 0; i < kLandmarks; ++i)
        xray.Coordinates[i]->SetXY(tracing.Coordinates[2 * i] * 10, tracing.Coordinates[2 * i + 1] * 10);
      TResultOf<std::string> record = FormatDataRecord(xray, options);
      ASSERT_TRUE(record) << record.Text().English();
      content += *record;
    }
  }

  fs::path folder;
  fs::path dataFile;
  TXRayType type;
  std::array<TXRVariable*, kMeasureCount> variables{};
  const TDataFileOptions options;
};

TEST_F(RealDataTest, MeansAndAnnotatorDisagreementMatchIndependentFigures) {
  const std::optional<std::vector<TTracing>> senior = ReadTracings(folder / "all_senior.csv");
  const std::optional<std::vector<TTracing>> junior = ReadTracings(folder / "all_junior.csv");
  ASSERT_TRUE(senior && junior) << "Unreadable landmark files in " << folder.string();
  ASSERT_EQ(senior->size(), 400u);
  ASSERT_EQ(junior->size(), 400u);

  std::string content;
  WriteRecords(*senior, "senior", content);
  WriteRecords(*junior, "junior", content);
  const TResult written = RewriteDataFile(dataFile.string(), kSaveErrorMessage, [&](std::string& file, std::string&) {
    file = content;
    return true;
  });
  ASSERT_TRUE(written) << written.Text().English() << ": " << written.Reason();

  // Every record read back and measured: per annotator, per image, the four values.
  std::map<std::string, std::map<std::string, std::array<double, kMeasureCount>>> measured;
  const TTypeResolver resolver = [this](const std::string& name) { return name == type.Name ? &type : nullptr; };
  TDataFileIndex file;
  ASSERT_TRUE(file.Open(dataFile.string()));
  std::string line;
  size_t records = 0;
  for (size_t n = 1; file.ReadLine(n, line); ++n) {
    TXRay xray;
    ASSERT_EQ(LoadFromDataLine(xray, line, resolver, options), lsLoaded) << "record " << n;
    ++records;
    xray.LoadCoordinates();
    std::array<double, kMeasureCount> values{};
    for (int m = 0; m < kMeasureCount; ++m) {
      ComputeVariable(*variables[m], xray, TMeasureContext{});
      ASSERT_TRUE(variables[m]->Valid) << variables[m]->Name << " of record " << n;
      std::optional<double> value = ParseFileReal(variables[m]->ValueText);
      ASSERT_TRUE(value) << variables[m]->Name << " of record " << n << ": " << variables[m]->ValueText;
      values[m] = *value;
    }
    measured[xray.Comments][xray.Name] = values;
  }
  ASSERT_FALSE(file.Failed());
  ASSERT_EQ(records, 800u);

  struct TReference {
    const char* Annotator;
    std::array<double, kMeasureCount> Means;
  };
  const std::array<TReference, 2> references = {{
      {"senior", {83.26, 80.89, 2.37, 58.85}},
      {"junior", {82.17, 79.99, 2.18, 59.32}},
  }};
  for (const TReference& reference : references) {
    const auto& images = measured[reference.Annotator];
    ASSERT_EQ(images.size(), 400u) << reference.Annotator;
    for (int m = 0; m < kMeasureCount; ++m) {
      double sum = 0;
      for (const auto& [image, values] : images) sum += values[m];
      EXPECT_NEAR(sum / images.size(), reference.Means[m], 0.01) << reference.Annotator << " " << variables[m]->Name;
    }
  }

  double disagreement = 0;
  for (const auto& [image, values] : measured["senior"]) {
    ASSERT_TRUE(measured["junior"].contains(image)) << image;
    disagreement += std::abs(values[kANB] - measured["junior"][image][kANB]);
  }
  EXPECT_NEAR(disagreement / 400, 1.37, 0.01);
}

}  // namespace
}  // namespace lumacet
