// The best-fit superimposition against R's shapes::procOPA on the 400 real cephalograms of
// the shared data folder: the senior annotator's 19 landmarks of each image fitted onto the
// junior annotator's, with and without scaling.
//
// Both programs solve the same closed-form problem (centre, then the rotation and the
// least-squares scale from the cross and dot sums; procOPA by a singular value
// decomposition), so they differ only by rounding: coordinates near 2000 tracing units pass
// through a few dozen operations in each program, a few 1e-13 relative. 1e-9 relative leaves
// room for that and would still catch any wrong sign, centre or scale.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "model/kind_codes.h"
#include "population/population_fixture.h"
#include "simulation/movements.h"
#include "simulation/superimposition.h"

namespace lumacet {
namespace {

const std::string kFolder = std::string(LUMACET_SHARED_DATA) + "/landmarks-400/";
constexpr int kPoints = 19;

// Rows of "NNN,x1,y1,...": millimetres, turned into tracing units.
std::vector<std::vector<double>> ReadRows(const std::string& path) {
  std::vector<std::vector<double>> rows;
  std::ifstream file(path);
  std::string line;
  while (std::getline(file, line)) {
    std::vector<double> row;
    size_t at = line.find(',');
    while (at != std::string::npos) {
      const size_t next = line.find(',', at + 1);
      double value = 0;
      const char* begin = line.data() + at + 1;
      std::from_chars(begin, line.data() + (next == std::string::npos ? line.size() : next), value);
      row.push_back(10 * value);
      at = next;
    }
    EXPECT_EQ(row.size(), 2u * kPoints);
    rows.push_back(row);
  }
  return rows;
}

std::vector<double> ReadNumbers(const std::string& path) {
  std::vector<double> values;
  std::ifstream file(path);
  double value = 0;
  while (file >> value) values.push_back(value);
  return values;
}

TEST(RProcOpaPeer, BestFitWithAndWithoutScalingAgreesWithProcOpa) {
  if (!std::filesystem::is_regular_file(kFolder + "all_senior.csv")) GTEST_SKIP() << "No real landmark data at " << kFolder;
  if (std::system("command -v Rscript >/dev/null 2>&1") != 0) GTEST_SKIP() << "Rscript is not installed";
  const auto junior = ReadRows(kFolder + "all_junior.csv");
  const auto senior = ReadRows(kFolder + "all_senior.csv");
  ASSERT_EQ(junior.size(), 400u);
  ASSERT_EQ(senior.size(), 400u);

  std::vector<std::string> names;
  for (int i = 1; i <= kPoints; ++i) names.push_back("L" + std::to_string(i));
  std::unique_ptr<TXRayType> type = test::PointType("Ceph", names);
  test::AddDrawing(*type, "All", names);
  std::string message;
  auto* fit = static_cast<TXRSupimp*>(type->AddElement("Fit", ekSupimp, message));
  auto* scaled = static_cast<TXRSupimp*>(type->AddElement("Scaled", ekSupimp, message));
  fit->SetKind(KindNumber(TSupimpKind::BestFit));
  scaled->SetKind(KindNumber(TSupimpKind::BestFitAndScaling));
  for (TXRSupimp* s : {fit, scaled}) ASSERT_TRUE(s->SetOperand(0, type->FindElement("All", ekGraphic)));

  test::TTempFolder folder;
  {
    std::ofstream a(folder.File("a.tsv")), b(folder.File("b.tsv"));
    a.precision(17);
    b.precision(17);
    for (size_t i = 0; i < 400; ++i)
      for (size_t j = 0; j < 2 * kPoints; ++j) {
        a << junior[i][j] << (j + 1 < 2 * kPoints ? "\t" : "\n");
        b << senior[i][j] << (j + 1 < 2 * kPoints ? "\t" : "\n");
      }
    std::ofstream script(folder.File("peer.R"));
    script << "suppressMessages(library(shapes))\n"
              "A <- as.matrix(read.table('a.tsv')); B <- as.matrix(read.table('b.tsv'))\n"
              "for (scale in c(FALSE, TRUE)) {\n"
              "  out <- c()\n"
              "  for (i in 1:nrow(A)) {\n"
              "    a <- matrix(A[i, ], ncol = 2, byrow = TRUE); b <- matrix(B[i, ], ncol = 2, byrow = TRUE)\n"
              "    o <- procOPA(a, b, scale = scale, reflect = FALSE)\n"
              "    placed <- sweep(o$Bhat, 2, colMeans(a), '+')\n"
              "    out <- c(out, o$s, atan2(o$R[1, 2], o$R[1, 1]), o$OSS, as.vector(t(placed)))\n"
              "  }\n"
              "  writeLines(sprintf('%.17g', out), if (scale) 'scaled.txt' else 'fit.txt')\n"
              "}\n";
  }
  const std::string command =
      "cd '" + folder.Path().string() + "' && RGL_USE_NULL=TRUE Rscript peer.R >r.log 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << test::ReadBytes(folder.File("r.log"));

  const size_t stride = 3 + 2 * kPoints;
  for (TXRSupimp* s : {fit, scaled}) {
    const std::vector<double> peer = ReadNumbers(folder.File(s == fit ? "fit.txt" : "scaled.txt"));
    ASSERT_EQ(peer.size(), 400 * stride);
    for (size_t i = 0; i < 400; ++i) {
      auto point = [](const std::vector<double>& row) {
        test::TPoints points;
        for (int k = 0; k < kPoints; ++k) points.push_back(std::pair{row[2 * k], row[2 * k + 1]});
        return points;
      };
      std::unique_ptr<TXRay> fixed = test::Radiograph(*type, "J", point(junior[i]));
      std::unique_ptr<TXRay> moving = test::Radiograph(*type, "S", point(senior[i]));
      TResultOf<std::vector<TMovement>> movements = SuperimpositionMovements(*s, *fixed, *moving);
      ASSERT_TRUE(movements) << movements.Reason();
      const double* r = &peer[i * stride];
      const double factor = s == fit ? 1.0 : movements->front().Dx;
      EXPECT_NEAR(factor, r[0], 1e-9 * r[0]) << s->Name << " image " << i + 1;
      EXPECT_NEAR(movements->back().Angle, r[1], 1e-9) << s->Name << " image " << i + 1;
      for (const TMovement& m : *movements) ASSERT_TRUE(ApplyMovement(m, *moving, {}));
      double residual = 0;
      for (int k = 0; k < kPoints; ++k) {
        const double x = moving->Coordinates[k]->RawX(), y = moving->Coordinates[k]->RawY();
        EXPECT_NEAR(x, r[3 + 2 * k], 1e-9 * std::abs(r[3 + 2 * k])) << s->Name << " image " << i + 1;
        EXPECT_NEAR(y, r[4 + 2 * k], 1e-9 * std::abs(r[4 + 2 * k])) << s->Name << " image " << i + 1;
        residual += std::pow(x - junior[i][2 * k], 2) + std::pow(y - junior[i][2 * k + 1], 2);
      }
      EXPECT_NEAR(residual, r[2], 1e-9 * r[2]) << s->Name << " image " << i + 1;
    }
  }
}

}  // namespace
}  // namespace lumacet
