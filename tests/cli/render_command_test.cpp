#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "cli/cli_runner.h"
#include "common/result_assertions.h"
#include "model/xray.h"
#include "model/xray_type.h"
#include "persistence/data_file.h"

namespace lumacet {
namespace {

using namespace test;

// The big-endian number of four bytes at `at`.
int Word(const std::string& bytes, std::size_t at) {
  return (static_cast<unsigned char>(bytes[at]) << 24) | (static_cast<unsigned char>(bytes[at + 1]) << 16) |
         (static_cast<unsigned char>(bytes[at + 2]) << 8) | static_cast<unsigned char>(bytes[at + 3]);
}

// Width and height from a PNG's header.
std::pair<int, int> PngSize(const std::string& bytes) {
  if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) return {0, 0};
  return {Word(bytes, 16), Word(bytes, 20)};
}

// Pixels per metre across and down from the pHYs chunk, when it gives them in metres.
std::pair<int, int> PngResolution(const std::string& bytes) {
  const std::size_t at = bytes.find("pHYs");
  if (at == std::string::npos || at + 13 > bytes.size() || bytes[at + 12] != 1) return {0, 0};
  return {Word(bytes, at + 4), Word(bytes, at + 8)};
}

// Two radiographs of the example type where its template puts the landmarks, the second
// one 10 % larger, in a data file beside a copy of the type file.
class RenderCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::copy_file(kExamples + "/lateral_ceph.lcr", folder.File("lateral_ceph.lcr"));
    ASSERT_TRUE(test::Succeeded(type.LoadFromTypeFile(folder.File("lateral_ceph.lcr"))));
    Append("Jane Roe", 1);
    Append("Jane Roe", 1.1);
  }
  void Append(const std::string& name, double scale) {
    TXRay xray;
    xray.SetType(&type);
    xray.Name = name;
    for (std::size_t i = 0; i < xray.Coordinates.size(); ++i) {
      const TXRPoint& at = *type.TemplatePoints[i];
      xray.Coordinates[i]->SetXY(at.RawX() * scale, at.RawY() * scale);
    }
    ASSERT_TRUE(AppendToDataFile(xray, data, {}).Ok());
  }
  TRun Render(const std::string& arguments) { return RunCli(folder, "render '" + data + "' " + arguments); }

  TTempFolder folder;
  const std::string data = folder.File("patients.csv");
  TXRayType type;
};

TEST_F(RenderCommandTest, PaintsAPngAtTheChosenResolution) {
  const std::string out = folder.File("both.png");
  TRun run = Render("--records 1,2 --out '" + out + "'");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  const auto [width, height] = PngSize(ReadBytes(out));
  ASSERT_GT(width, 0);
  EXPECT_TRUE(run.Out.starts_with("Rendered 2 records to " + out + ": " + std::to_string(width) + " x " +
                                  std::to_string(height) + " pixels, "))
      << run.Out;
  // The scale the tracings are drawn at is said beside the picture and in its legend.
  EXPECT_TRUE(run.Out.ends_with(" mm\nRadiograph size (XRAY)\n")) << run.Out;
  const std::string legend = folder.File("both.svg");
  ASSERT_EQ(Render("--records 1,2 --out '" + legend + "'").Exit, 0);
  EXPECT_NE(ReadBytes(legend).find(">Radiograph size (XRAY)<"), std::string::npos);
  // The same picture at twice the resolution has twice the pixels each way.
  const std::string fine = folder.File("fine.png");
  ASSERT_EQ(Render("--records 1,2 --dpi 300 --out '" + fine + "'").Exit, 0);
  const auto [fineWidth, fineHeight] = PngSize(ReadBytes(fine));
  EXPECT_NEAR(fineWidth, 2 * width, 1);
  EXPECT_NEAR(fineHeight, 2 * height, 1);
  // Each states its resolution, so that it prints at life size: 150 and 300 dpi.
  EXPECT_EQ(PngResolution(ReadBytes(out)), (std::pair<int, int>{5906, 5906}));
  EXPECT_EQ(PngResolution(ReadBytes(fine)), (std::pair<int, int>{11811, 11811}));
  // A fixed size.
  const std::string sized = folder.File("sized.png");
  run = Render("--records 2 --size 400x300 --mode comparative --style position --no-grid --out '" + sized + "'");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_EQ(PngSize(ReadBytes(sized)), (std::pair<int, int>{400, 300}));
}

TEST_F(RenderCommandTest, WritesSvgAndPdfPictures) {
  const std::string svg = folder.File("tracing.svg");
  const std::string pdf = folder.File("tracing.PDF");
  ASSERT_EQ(Render("--records 1 --out '" + svg + "'").Exit, 0);
  ASSERT_EQ(Render("--records 1 --analysis 'Steiner' --view '<all>' --out '" + pdf + "'").Exit, 0);
  const std::string svgText = ReadBytes(svg);
  EXPECT_NE(svgText.find("<svg"), std::string::npos);
  EXPECT_NE(svgText.find("<text"), std::string::npos);  // the labels
  EXPECT_EQ(ReadBytes(pdf).substr(0, 5), "%PDF-");
}

TEST_F(RenderCommandTest, PicturesNameFontsEveryViewerHasAndTheirPatientOnlyWhenAllowed) {
  const std::string svg = folder.File("tracing.svg");
  ASSERT_EQ(Render("--records 1 --out '" + svg + "'").Exit, 0);
  std::string text = ReadBytes(svg);
  EXPECT_NE(text.find("<title>Lumacet: Jane Roe</title>"), std::string::npos) << text.substr(0, 600);
  // The type's fonts become family lists that end in the generic family.
  EXPECT_EQ(text.find("MS Sans Serif"), std::string::npos);
  EXPECT_NE(text.find("font-family=\"DejaVu Sans, Liberation Sans, sans-serif\""), std::string::npos)
      << text.substr(text.find("font-family"), 120);

  ASSERT_EQ(Render("--records 2 --anonymize --out '" + svg + "'").Exit, 0);
  text = ReadBytes(svg);
  EXPECT_NE(text.find("<title>Lumacet: Record 2</title>"), std::string::npos) << text.substr(0, 600);
  EXPECT_EQ(text.find("Jane Roe"), std::string::npos);
}

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST_F(RenderCommandTest, SeveralTracingsTakeTheirPositionsPensAndALegendNamesThem) {
  const std::string svg = folder.File("both.svg");
  ASSERT_EQ(Render("--records 1,2 --title 'Growth study' --out '" + svg + "'").Exit, 0);
  std::string text = ReadBytes(svg);
  // Red for the first position, green for the second, as the position style draws them.
  EXPECT_GT(Count(text, "stroke=\"#ff0000\""), 10u);
  const size_t green = Count(text, "stroke=\"#008000\"");
  EXPECT_GT(green, 10u);
  EXPECT_EQ(Count(text, ">Growth study<"), 1u);
  EXPECT_EQ(Count(text, ">Jane Roe<"), 2u);  // no date taken: the name alone

  // One tracing, or a legend left out: only a title that was asked for.
  ASSERT_EQ(Render("--records 1 --out '" + svg + "'").Exit, 0);
  EXPECT_EQ(Count(ReadBytes(svg), ">Jane Roe<"), 0u);
  ASSERT_EQ(Render("--records 1,2 --no-legend --out '" + svg + "'").Exit, 0);
  EXPECT_EQ(Count(ReadBytes(svg), ">Jane Roe<"), 0u);
  // Pens as the type defines them when asked: green only where the type has it.
  ASSERT_EQ(Render("--records 1,2 --style defined --out '" + svg + "'").Exit, 0);
  EXPECT_LT(Count(ReadBytes(svg), "stroke=\"#008000\""), green / 2);
}

TEST_F(RenderCommandTest, PdfPicturesAreLaidOutOnPaper) {
  if (std::system("pdfinfo -v > /dev/null 2>&1") != 0) GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
  const std::string pdf = folder.File("tracing.pdf");
  const std::string info = folder.File("info.txt");
  auto pageSize = [&](const std::string& page) {
    EXPECT_EQ(Render("--records 1,2 " + page + " --out '" + pdf + "'").Exit, 0) << page;
    EXPECT_EQ(std::system(("pdfinfo '" + pdf + "' > '" + info + "'").c_str()), 0);
    const std::string text = ReadBytes(info);
    const size_t at = text.find("Page size:");
    return at == std::string::npos ? std::string() : text.substr(at, text.find('\n', at) - at);
  };
  EXPECT_NE(pageSize("").find("(A4)"), std::string::npos) << pageSize("");
  EXPECT_NE(pageSize("--page letter").find("(letter)"), std::string::npos) << pageSize("--page letter");
  const std::string fitted = pageSize("--page fit");
  EXPECT_EQ(fitted.find("(A4)"), std::string::npos) << fitted;
  EXPECT_EQ(fitted.find("(letter)"), std::string::npos) << fitted;
  // The document's title names the patient only when allowed.
  pageSize("--anonymize");
  EXPECT_NE(ReadBytes(info).find("Lumacet: Record 1\n"), std::string::npos) << ReadBytes(info);
  EXPECT_EQ(ReadBytes(info).find("Jane Roe"), std::string::npos);
}

TEST_F(RenderCommandTest, TypeChoosesTheRecordsAndNamesMatchInAnyCase) {
  const std::string out = folder.File("all.png");
  TRun run = Render("--type 'Lateral Ceph' --analysis steiner --view '<ALL>' --out '" + out + "'");
  EXPECT_EQ(run.Exit, 1);  // "<ALL>" is no view: only names are matched in any case
  run = Render("--type 'Lateral Ceph' --analysis steiner --out '" + out + "'");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_TRUE(run.Out.starts_with("Rendered 2 records")) << run.Out;
  run = Render("--type 'Frontal Ceph' --records 1,2 --out '" + out + "'");
  EXPECT_EQ(run.Exit, 1);
  EXPECT_EQ(run.Err, "Skipped 2 records of other types.\nNo record of " + data + " is of the type 'Frontal Ceph'.\n");
  run = Render("--out '" + out + "'");
  EXPECT_EQ(run.Exit, 2);
  EXPECT_NE(run.Err.find("give the records to draw with --records or --type"), std::string::npos) << run.Err;
}

TEST_F(RenderCommandTest, TypesAreLookedUpWhereTold) {
  std::filesystem::remove(folder.File("lateral_ceph.lcr"));
  const std::string out = folder.File("out.png");
  TRun run = Render("--records 1 --out '" + out + "'");
  EXPECT_EQ(run.Exit, 1);
  EXPECT_NE(run.Err.find("--types"), std::string::npos) << run.Err;
  EXPECT_FALSE(std::filesystem::exists(out));
  EXPECT_EQ(Render("--records 1 --types '" + kExamples + "' --out '" + out + "'").Exit, 0);
}

TEST_F(RenderCommandTest, RefusesWhatItCannotDoWithoutWritingAnything) {
  const std::string out = folder.File("out.png");
  EXPECT_EQ(Render("--out '" + out + "'").Exit, 2);
  EXPECT_EQ(Render("--records 1").Exit, 2);
  EXPECT_EQ(Render("--records 1,x --out '" + out + "'").Exit, 2);
  EXPECT_EQ(Render("--records 1 --dpi 0 --out '" + out + "'").Exit, 2);
  EXPECT_EQ(Render("--records 1 --dpi 1201 --out '" + out + "'").Exit, 2);
  EXPECT_EQ(Render("--records 1 --size 400 --out '" + out + "'").Exit, 2);
  EXPECT_EQ(Render("--records 1 --mode sideways --out '" + out + "'").Exit, 2);

  TRun run = Render("--records 1 --out '" + folder.File("out.jpg") + "'");
  EXPECT_EQ(run.Exit, 2);
  EXPECT_NE(run.Err.find(".png, .svg or .pdf"), std::string::npos);
  run = Render("--records 1 --analysis Ricketts --out '" + out + "'");
  EXPECT_EQ(run.Exit, 1);
  EXPECT_TRUE(run.Err.starts_with("Record 1: the type 'Lateral Ceph' has no analysis 'Ricketts' (it has ")) << run.Err;
  run = Render("--records 1 --view Profile --out '" + out + "'");
  EXPECT_EQ(run.Exit, 1);
  EXPECT_NE(run.Err.find("has no view 'Profile'"), std::string::npos);
  EXPECT_NE(run.Err.find("; a view may also be <all> or <none>.\n"), std::string::npos) << run.Err;
  run = Render("--records 3 --out '" + out + "'");
  EXPECT_EQ(run.Exit, 1);
  EXPECT_NE(run.Err.find("Record 3"), std::string::npos);
  run = Render("--records 1 --dpi 1200 --size 30001x10 --out '" + out + "'");
  EXPECT_EQ(run.Exit, 1);
  EXPECT_NE(run.Err.find("choose a smaller"), std::string::npos);
  run = RunCli(folder, "render '" + folder.File("missing.csv") + "' --records 1 --out '" + out + "'");
  EXPECT_EQ(run.Exit, 1);

  // A folder that cannot take the file: nothing is left behind.
  const std::string blocked = folder.File("no/such/folder/out.png");
  run = Render("--records 1 --out '" + blocked + "'");
  EXPECT_EQ(run.Exit, 1);
  EXPECT_NE(run.Err.find("could not be written"), std::string::npos);
  for (const std::string& name : folder.Names()) EXPECT_FALSE(name.ends_with(".png") || name.ends_with(".tmp")) << name;
}

TEST(RenderMixedTypes, ALateralAndAFrontalTracingGoInOnePictureOnlyWhenAsked) {
  TTempFolder folder;
  const std::string out = folder.File("mixed.png");
  const std::string render = "render '" + kExamples + "/PATIENT.CSV' --records 1,3 --out '" + out + "'";
  TRun run = RunCli(folder, render);
  EXPECT_EQ(run.Exit, 1);
  EXPECT_EQ(run.Err,
            "Record 3 is of the type 'Frontal Ceph', record 1 of the type 'Lateral Ceph': records of different types "
            "are drawn together only with --mixed-types.\n");
  EXPECT_FALSE(std::filesystem::exists(out));
  run = RunCli(folder, render + " --mixed-types");
  EXPECT_EQ(run.Exit, 0) << run.Err;
  EXPECT_TRUE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace lumacet
