// `lumacet-cli render --images` paints the records' images under their tracings; the
// examples link two synthetic radiographs.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <fstream>

#include "cli/cli_runner.h"
#include "platform/gui_application.h"

namespace lumacet {
namespace {

using test::RunCli;
using test::TRun;
using test::TTempFolder;

const std::string kExamples = std::string(LUMACET_SOURCE_DIR) + "/examples";

// Mean grey of the 5 x 5 pixels from (x, y).
double MeanGrey(const QImage& image, int x, int y) {
  double sum = 0;
  for (int dy = 0; dy < 5; ++dy)
    for (int dx = 0; dx < 5; ++dx) sum += qGray(image.pixel(x + dx, y + dy));
  return sum / 25;
}

class RenderImagesTest : public ::testing::Test {
 protected:
  RenderImagesTest() { test::EnsureGuiApplication(); }

  TRun Render(const std::string& data, const std::string& out, const std::string& more) {
    return RunCli(folder, "render '" + data + "' --records 1 --no-grid --dpi 40 --out '" + out + "' " + more);
  }

  TTempFolder folder;
};

TEST_F(RenderImagesTest, TheLinkedImageShowsUnderTheTracing) {
  const std::string with = folder.File("with.png");
  const std::string without = folder.File("without.png");
  TRun run = Render(kExamples + "/PATIENT.CSV", with, "--images");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  ASSERT_EQ(Render(kExamples + "/PATIENT.CSV", without, "").Exit, 0);
  const QImage plain(QString::fromStdString(without));
  const QImage shown(QString::fromStdString(with));
  ASSERT_FALSE(plain.isNull());
  // The whole image, 800 x 800 pixels of 0.25 mm, not only the part under the tracing.
  EXPECT_NE(run.Out.find(", 200 x 200 mm\n"), std::string::npos) << run.Out;
  EXPECT_GE(shown.width(), plain.width());
  EXPECT_GE(shown.height(), plain.height());
  // The corner of the picture lies inside the synthetic radiograph; without the image it
  // is the white ground.
  EXPECT_EQ(MeanGrey(plain, 2, 2), 255);
  for (const QPoint corner : {QPoint(2, 2), QPoint(shown.width() - 7, shown.height() - 7)}) {
    EXPECT_LT(MeanGrey(shown, corner.x(), corner.y()), 250) << corner.x() << "," << corner.y();
  }
}

TEST_F(RenderImagesTest, AnImageThatCannotBeFoundIsAnError) {
  std::filesystem::copy_file(kExamples + "/lateral_ceph.lcr", folder.File("lateral_ceph.lcr"));
  std::ifstream source(kExamples + "/PATIENT.CSV", std::ios::binary);
  std::string line;
  std::getline(source, line);
  const std::string linked = "\"emma_lindqvist_2018.jpg\"";
  const std::size_t at = line.find(linked);
  ASSERT_NE(at, std::string::npos);
  line.replace(at, linked.size(), "\"gone.jpg\"");
  std::ofstream(folder.File("patients.csv"), std::ios::binary) << line << '\n';

  const std::string out = folder.File("out.png");
  TRun run = Render(folder.File("patients.csv"), out, "--images");
  EXPECT_NE(run.Exit, 0);
  EXPECT_NE(run.Err.find("gone.jpg"), std::string::npos) << run.Err;
  EXPECT_FALSE(std::filesystem::exists(out));
  // Without --images the link is not looked at.
  EXPECT_EQ(Render(folder.File("patients.csv"), out, "").Exit, 0);
}

}  // namespace
}  // namespace lumacet
