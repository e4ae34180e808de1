// A user whose locale writes decimal commas still gets files with "." in every number and
// "d/m/yyyy" dates, and reads them back unchanged.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <locale>

#include "persistence/data_test_support.h"
#include "persistence/record_browser.h"

namespace lumacet {
namespace {

using test::PointType;
using test::Radiograph;
using test::ReadBytes;
using test::Record;
using test::Resolver;
using test::TTempFolder;

class CommaLocaleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string locale = test::CommaDecimalLocale();
    if (locale.empty()) GTEST_SKIP() << "no comma-decimal locale can be made on this machine";
    fSavedLocale = std::setlocale(LC_ALL, nullptr);
    const char* saved = std::getenv("LC_ALL");
    fSavedEnvironment = saved != nullptr ? std::optional<std::string>(saved) : std::nullopt;
    // As the desktop program runs: the C library and C++ streams follow the user's locale.
    ::setenv("LC_ALL", locale.c_str(), 1);
    std::setlocale(LC_ALL, "");
    std::locale::global(std::locale(""));
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", 1.5);
    ASSERT_STREQ(text, "1,5");
  }
  void TearDown() override {
    if (fSavedLocale.empty()) return;
    std::locale::global(std::locale::classic());
    std::setlocale(LC_ALL, fSavedLocale.c_str());
    if (fSavedEnvironment)
      ::setenv("LC_ALL", fSavedEnvironment->c_str(), 1);
    else
      ::unsetenv("LC_ALL");
  }

  std::string fSavedLocale;
  std::optional<std::string> fSavedEnvironment;
};

TEST_F(CommaLocaleTest, RecordsAreWrittenAndReadWithDecimalPoints) {
  TTempFolder folder;
  auto type = PointType("Lateral", 2);
  auto xray = Radiograph(*type, "Müller", DayNumber(2001, 3, 5), {{1.5, -2.25}});
  xray->Magnification = 12.5;
  xray->ImageRotation = 0.125;
  xray->PixelWidth = 0.5;
  const std::string path = folder.File("PATIENT.CSV");
  ASSERT_TRUE(AppendToDataFile(*xray, path, {}).Ok());
  const std::string line = ReadBytes(path);
  EXPECT_EQ(line.substr(44, 20), "5/3/2001  ,12.5 ,fir");
  EXPECT_NE(line.find(",0.125,\"\",0,0,0.5,0,1.5,-2.25,nil,nil\r\n"), std::string::npos) << line;

  TXRay read;
  ASSERT_EQ(LoadFromDataFile(read, path, 1, Resolver({type.get()}), {}), lsLoaded);
  EXPECT_EQ(read.Magnification, 12.5);
  EXPECT_EQ(read.ImageRotation, 0.125);
  EXPECT_EQ(read.Coordinates[0]->RawX(), 1.5);
  EXPECT_EQ(Record(read), Record(*xray));

  TRecordBrowser browser({});
  browser.SetDataFile(path);
  browser.LoadGrid();  // sorted with the user's collation
  ASSERT_EQ(browser.Rows().size(), 1u);
  EXPECT_EQ(browser.Rows()[0].Name, "Müller");
}

}  // namespace
}  // namespace lumacet
