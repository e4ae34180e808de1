// The analysis window's layout kept in the settings file and read back.
#include "shell/analysis_layout.h"

#include <gtest/gtest.h>

#include "shell/temp_folder.h"

namespace lumacet {
namespace {

TEST(AnalysisLayoutTest, AStoredLayoutComesBackFromTheSettingsFile) {
  test::TTempFolder folder;
  TSettings settings = TSettings::Defaults(folder.Path().string());
  TAnalysisLayout layout;
  layout.Widths = {260, 90, 70, 60, 50};
  layout.Format = 2;
  layout.WordWrap = true;
  StoreAnalysisLayout(layout, settings.Radiograph);
  ASSERT_TRUE(settings.Save(folder.File("lumacet.ini")).Ok);
  TSettings read = TSettings::Defaults("/elsewhere");
  ASSERT_TRUE(read.Load(folder.File("lumacet.ini")));
  EXPECT_EQ(AnalysisLayout(read.Radiograph), layout);
}

}  // namespace
}  // namespace lumacet
