#include <gtest/gtest.h>

#include <QFile>
#include <QXmlStreamReader>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "cli/cli_runner.h"

namespace lumacet {
namespace {

using namespace test;

// The example patient's two lateral radiographs, four years apart, and the frontal one.
class ReportCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::system("pdftotext -v > /dev/null 2>&1") != 0) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
  }
  TRun Report(const std::string& arguments) { return RunCli(folder, "report '" + kExampleData + "' " + arguments); }
  // What a poppler tool prints about the file.
  std::string Tool(const std::string& command, const std::string& file) {
    const std::string out = folder.File("tool.txt");
    EXPECT_EQ(std::system((command + " '" + file + "' > '" + out + "' 2>&1").c_str()), 0);
    return ReadBytes(out);
  }
  std::string Text(const std::string& pdf) {
    const std::string out = folder.File("text.txt");
    EXPECT_EQ(std::system(("pdftotext -layout '" + pdf + "' '" + out + "'").c_str()), 0);
    return ReadBytes(out);
  }

  TTempFolder folder;
};

TEST_F(ReportCommandTest, PdfHasRealPagesTextAndEmbeddedFonts) {
  const std::string pdf = folder.File("report.pdf");
  const TRun run = Report("--records 1,2 --out '" + pdf + "'");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_NE(run.Out.find("4 pages"), std::string::npos) << run.Out;
  const std::string info = Tool("pdfinfo", pdf);
  EXPECT_NE(info.find("Pages:           4"), std::string::npos) << info;
  EXPECT_NE(info.find("(A4)"), std::string::npos) << info;
  const std::string text = Text(pdf);
  for (const char* expected : {"Name: Emma Lindqvist", "Stage: Class II before treatment", "1 - 2:", "Measurements",
                               "SNA", "82.4", "Page: 4"})
    EXPECT_NE(text.find(expected), std::string::npos) << expected;
  // Every font is embedded: no line of pdffonts says "no" in the emb column.
  const std::string fonts = Tool("pdffonts", pdf);
  EXPECT_NE(fonts.find("DejaVuSans"), std::string::npos) << fonts;
  std::size_t lines = 0;
  for (std::size_t at = fonts.find("\n", fonts.find("-----")); at != std::string::npos && at + 1 < fonts.size();
       at = fonts.find('\n', at + 1)) {
    const std::string line = fonts.substr(at + 1, fonts.find('\n', at + 1) - at - 1);
    if (line.empty()) continue;
    ++lines;
    EXPECT_NE(line.find(" yes "), std::string::npos) << line;
  }
  EXPECT_GE(lines, 1u);

  ASSERT_EQ(Report("--records 1 --page letter --landscape --header '@n (@a)' --out '" + pdf + "'").Exit, 0);
  EXPECT_NE(Tool("pdfinfo", pdf).find("792 x 612 pts (letter)"), std::string::npos) << Tool("pdfinfo", pdf);
  EXPECT_NE(Text(pdf).find("Emma Lindqvist (9:6)"), std::string::npos);
}

TEST_F(ReportCommandTest, SvgShowsThePagesOneUnderAnotherAsXml) {
  const std::string svg = folder.File("report.svg");
  ASSERT_EQ(Report("--records 1,2 --out '" + svg + "'").Exit, 0);
  QFile file(QString::fromStdString(svg));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QXmlStreamReader xml(&file);
  int texts = 0;
  QString height;
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isStartElement() && xml.name() == u"svg") height = xml.attributes().value("height").toString();
    if (xml.isStartElement() && xml.name() == u"text") ++texts;
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  EXPECT_GT(texts, 50);
  // Four A4 pages of 297 mm with three gaps of a quarter inch and the shadow: 1209.7 mm.
  EXPECT_TRUE(height.startsWith("1209.7")) << height.toStdString();
}

TEST_F(ReportCommandTest, BadInputIsRefusedAndNoFileIsWritten) {
  const std::string pdf = folder.File("report.pdf");
  const std::string ini = folder.File("margins.ini");
  {
    std::FILE* f = std::fopen(ini.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("[ExtAnalysis]\r\nPage Margin 0=5\r\nPage Margin 2=5\r\n", f);
    std::fclose(f);
  }
  struct TCase {
    std::string Arguments;
    int Exit;
    std::string Message;
  };
  for (const TCase& c : {
           TCase{"--records 1 --header 'Dr. @q'", 1, "unknown code \"@q\""},
           TCase{"--records 1 --zoom 0", 1, "The zoom must be greater than 0."},
           TCase{"--records 1 --zoom -2", 1, "The zoom must be greater than 0."},
           TCase{"--records 1 --settings '" + ini + "'", 1, "The page margins leave less than 1 cm"},
           TCase{"--records 1,3", 1, "a report covers records of one type"},
           TCase{"--records 1,2,4,5,6", 2, "one to four records"},
           TCase{"--records 1 --out '" + folder.File("report.png") + "'", 2, "must end in .pdf or .svg"},
       }) {
    SCOPED_TRACE(c.Arguments);
    const std::string arguments =
        c.Arguments.find("--out") == std::string::npos ? c.Arguments + " --out '" + pdf + "'" : c.Arguments;
    const TRun run = Report(arguments);
    EXPECT_EQ(run.Exit, c.Exit);
    EXPECT_NE(run.Err.find(c.Message), std::string::npos) << run.Err;
    EXPECT_FALSE(std::filesystem::exists(pdf));
  }
  // A folder that cannot be written to: the message names the file, nothing is left.
  const TRun run = Report("--records 1 --out '" + folder.File("missing/report.pdf") + "'");
  EXPECT_EQ(run.Exit, 1);
  EXPECT_NE(run.Err.find("could not be written"), std::string::npos) << run.Err;
  EXPECT_FALSE(std::filesystem::exists(folder.File("missing")));
}

}  // namespace
}  // namespace lumacet
