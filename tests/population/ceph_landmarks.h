// The 400 real lateral cephalograms of the shared data folder as radiographs: a type of their
// 19 landmarks with the superimpositions and the PCA the population tools use, and a data
// file of one record per image, written at test time.
#pragma once

#include <gtest/gtest.h>

#include <charconv>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "model/kind_codes.h"
#include "model/list_elements.h"
#include "persistence/data_file.h"
#include "population/population_fixture.h"
#include "population/procrustes_analysis.h"

namespace lumacet::test {

inline const std::string kCephFolder = std::string(LUMACET_SHARED_DATA) + "/landmarks-400/";
inline const std::string kSeniorFile = kCephFolder + "all_senior.csv";

inline const std::vector<std::string> kCephLandmarks = {"S",   "N",  "Or", "Po", "A",   "B",    "Pog",
                                                        "Me",  "Gn", "Go", "L1", "U1",  "UL",   "LL",
                                                        "Sn",  "Pg'", "PNS", "ANS", "Ar"};

inline bool HaveCephData() { return std::filesystem::is_regular_file(kSeniorFile); }

// Rows of "NNN,x1,y1,...": millimetres, turned into tracing units (the data are in tenths
// of a millimetre, so the units are whole numbers and exact).
struct TCephRow {
  std::string Name;
  std::vector<double> Coordinates;
};
inline std::vector<TCephRow> ReadCephRows(const std::string& path = kSeniorFile) {
  std::vector<TCephRow> rows;
  std::ifstream file(path);
  std::string line;
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    TCephRow row;
    size_t at = line.find(',');
    row.Name = line.substr(0, at);
    while (at != std::string::npos) {
      const size_t next = line.find(',', at + 1);
      double value = 0;
      std::from_chars(line.data() + at + 1, line.data() + (next == std::string::npos ? line.size() : next), value);
      row.Coordinates.push_back(10 * value);
      at = next;
    }
    EXPECT_EQ(row.Coordinates.size(), 2 * kCephLandmarks.size()) << line;
    rows.push_back(std::move(row));
  }
  return rows;
}

inline TShapeSamples CephSamples(const std::vector<TCephRow>& rows) {
  TShapeSamples samples;
  samples.PointCount = static_cast<int>(kCephLandmarks.size());
  for (const TCephRow& row : rows) samples.Add(row.Coordinates, row.Name);
  return samples;
}

// "Ceph": the 19 landmarks, the drawing "All" of them, the PCA "Shape" over them, and the
// superimpositions "S-N at S" (point to point) and "Best fit" (on "All").
inline std::unique_ptr<TXRayType> CephType() {
  std::unique_ptr<TXRayType> type = PointType("Ceph", kCephLandmarks);
  AddDrawing(*type, "All", kCephLandmarks);
  std::string message;
  auto* pca = static_cast<TXRPCA*>(type->AddElement("Shape", ekPCA, message));
  for (const std::string& name : kCephLandmarks) pca->Points.push_back(type->FindElement(name, ekDigPoint));
  auto* sn = static_cast<TXRSupimp*>(type->AddElement("S-N at S", ekSupimp, message));
  sn->SetKind(KindNumber(TSupimpKind::PointToPoint));
  EXPECT_TRUE(sn->SetOperand(0, type->FindElement("S", ekDigPoint)));
  EXPECT_TRUE(sn->SetOperand(1, type->FindElement("N", ekDigPoint)));
  auto* fit = static_cast<TXRSupimp*>(type->AddElement("Best fit", ekSupimp, message));
  fit->SetKind(KindNumber(TSupimpKind::BestFit));
  EXPECT_TRUE(fit->SetOperand(0, type->FindElement("All", ekGraphic)));
  return type;
}

// One record per row, named after the image, written in one go.
inline void WriteCephDataFile(TXRayType& type, const std::vector<TCephRow>& rows, const std::string& path) {
  std::string bytes;
  for (const TCephRow& row : rows) {
    TPoints points;
    for (size_t k = 0; k + 1 < row.Coordinates.size(); k += 2)
      points.push_back(std::pair{row.Coordinates[k], row.Coordinates[k + 1]});
    std::unique_ptr<TXRay> xray = Radiograph(type, "Image " + row.Name, points);
    TResultOf<std::string> record = FormatDataRecord(*xray, {});
    ASSERT_TRUE(record) << record.Reason();
    bytes += *record;
  }
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace lumacet::test
