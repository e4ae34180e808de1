// lumacet-cli render writes the same picture as PNG, SVG and PDF: the vector files, turned
// back into pixels by a real viewer's renderer (Qt's SVG renderer, poppler's pdftoppm),
// match the PNG within a small tolerance.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>
#include <cstdlib>
#include <regex>
#include <string>

#include "common/result_assertions.h"
#include "platform/gui_application.h"
#include "platform/render_test_support.h"
#include "shell/temp_folder.h"

namespace lumacet {
namespace {

// Black where a pixel holds anything darker than a light tint, white elsewhere.
QImage Ink(const QImage& image) {
  QImage ink = image.convertToFormat(QImage::Format_RGB32);
  for (int row = 0; row < ink.height(); ++row) {
    auto* line = reinterpret_cast<QRgb*>(ink.scanLine(row));
    for (int col = 0; col < ink.width(); ++col) {
      const QRgb p = line[col];
      line[col] = std::min({qRed(p), qGreen(p), qBlue(p)}) < 192 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
    }
  }
  return ink;
}

int RunShell(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class RenderFormatsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureGuiApplication();
    TXRayType type;
    ASSERT_TRUE(test::Succeeded(type.LoadFromTypeFile(test::kExampleType)));
    ASSERT_TRUE(test::AppendExampleRadiograph(type, data, "Jane Roe", 1, 0));
    ASSERT_TRUE(test::AppendExampleRadiograph(type, data, "Jane Roe", 1.05, -40));
  }

  // Renders records 1 and 2 into `name`; the size the command reports.
  QSize Render(const std::string& name, const std::string& more = "") {
    const std::string out = folder.File("out.txt");
    const std::string command = std::string("'") + LUMACET_CLI + "' render '" + data + "' --records 1,2 --types '" +
                                LUMACET_SOURCE_DIR + "/examples' --mode comparative --style mixed --no-grid --dpi 150 --out '" +
                                folder.File(name) + "' " + more + " >'" + out + "' 2>/dev/null";
    EXPECT_EQ(RunShell(command), 0);
    std::smatch size;
    const std::string report = test::ReadBytes(out);
    if (!std::regex_search(report, size, std::regex(R"((\d+) x (\d+) pixels)"))) return {};
    return {std::stoi(size[1]), std::stoi(size[2])};
  }

  test::TTempFolder folder;
  const std::string data = folder.File("patients.csv");
};

TEST_F(RenderFormatsTest, SvgAndPdfShowWhatThePngShows) {
  const QSize size = Render("tracing.png");
  ASSERT_FALSE(size.isEmpty());
  const QImage png(QString::fromStdString(folder.File("tracing.png")));
  ASSERT_EQ(png.size(), size);

  Render("tracing.svg");
  QSvgRenderer svg(QString::fromStdString(folder.File("tracing.svg")));
  ASSERT_TRUE(svg.isValid());
  QImage fromSvg(size, QImage::Format_RGB32);
  fromSvg.fill(Qt::white);
  {
    QPainter painter(&fromSvg);
    svg.render(&painter);
  }
  // The SVG renderer smooths edges, text hinting differs between rasterisers, and a stroke
  // may land a pixel off: the ink (strokes and labels) must lie in the same places. (The
  // grid is left out: its dots are spaced in device units, which differ from file to file.)
  EXPECT_LE(test::DifferentShare(Ink(png), Ink(fromSvg), 0, 1), 0.002);

  Render("tracing.pdf", "--page fit");  // the picture's own size, not a sheet of paper
  const std::string pages = folder.File("page");
  ASSERT_EQ(RunShell("pdftoppm -v >/dev/null 2>&1"), 0) << "pdftoppm is missing: run scripts/bootstrap.sh (poppler-utils)";
  ASSERT_EQ(RunShell("pdftoppm -png -singlefile -r 150 -W " + std::to_string(size.width()) + " -H " +
                std::to_string(size.height()) + " '" + folder.File("tracing.pdf") + "' '" + pages + "'"),
            0);
  const QImage fromPdf(QString::fromStdString(pages + ".png"));
  ASSERT_EQ(fromPdf.size(), size);
  EXPECT_LE(test::DifferentShare(Ink(png), Ink(fromPdf), 0, 1), 0.002);
  // Colours survive too.
  EXPECT_LE(test::DifferentShare(png, fromPdf, 96, 1), 0.005);
  // A picture of something else does not pass.
  EXPECT_GT(test::DifferentShare(Ink(png), Ink(png.mirrored(true, false)), 0, 1), 0.01);
}

}  // namespace
}  // namespace lumacet
