#include <gtest/gtest.h>

#include "shell/digitizing_input.h"

namespace lumacet {
namespace {

TEST(DigitizingInput, TheSettingDecidesUnlessItSaysAskOrIsUnknown) {
  EXPECT_EQ(InputModeFromSetting(kInputDigitizer), kInputDigitizer);
  EXPECT_EQ(InputModeFromSetting(kInputImageFile), kInputImageFile);
  EXPECT_EQ(InputModeFromSetting(kInputScanner), kInputScanner);
  for (int asking : {kInputAsk, -1, 4, 1000}) EXPECT_EQ(InputModeFromSetting(asking), std::nullopt) << asking;
}

TEST(DigitizingInput, ANumberedSeriesAdvancesByTheThreeDigitsBeforeTheExtension) {
  struct TCase {
    const char* path;
    const char* name;  // empty: no next film
    const char* next;
  };
  for (const TCase& c : {TCase{"/films/ceph007.jpg", "008", "/films/ceph008.jpg"},
                         TCase{"ceph009.jpg", "010", "ceph010.jpg"},
                         TCase{"/a/scan999.bmp", "1000", "/a/scan1000.bmp"},
                         TCase{"/a/x000.dcm", "001", "/a/x001.dcm"},
                         TCase{"/films/ceph.jpg", "", ""},       // no digits
                         TCase{"/films/ce7a9.jpg", "", ""},      // not all digits
                         TCase{"/films/ceph007.jpeg", "", ""},   // a five-character extension
                         TCase{"/f007/x.jpg", "", ""},           // digits of the folder only
                         TCase{"007", "", ""},
                         TCase{"", "", ""}}) {
    SCOPED_TRACE(c.path);
    const std::optional<TSeriesStep> step = NextInSeries(c.path);
    if (*c.name == '\0') {
      EXPECT_EQ(step, std::nullopt);
      continue;
    }
    ASSERT_TRUE(step);
    EXPECT_EQ(step->Name, c.name);
    EXPECT_EQ(step->ImagePath, c.next);
  }
}

}  // namespace
}  // namespace lumacet
