#include "graphics/font_families.h"

#include <gtest/gtest.h>

namespace lumacet {
namespace {

TEST(FontFamilies, OldFontNamesBecomeFamiliesALinuxViewerHasEndingInTheGenericOne) {
  struct TCase {
    const char* Name;
    const char* Css;
  };
  const TCase kCases[] = {
      {"MS Sans Serif", "DejaVu Sans, Liberation Sans, sans-serif"},
      {"arial", "DejaVu Sans, Liberation Sans, sans-serif"},  // names are matched in any case
      {"Times New Roman", "DejaVu Serif, Liberation Serif, serif"},
      {"Courier New", "DejaVu Sans Mono, Liberation Mono, monospace"},
      {"Sans Serif", "DejaVu Sans, Liberation Sans, sans-serif"},  // the painter's default
      // A family of a list gives that list, so a picture's own names map to themselves.
      {"DejaVu Sans", "DejaVu Sans, Liberation Sans, sans-serif"},
      {"Liberation Mono", "DejaVu Sans Mono, Liberation Mono, monospace"},
      {"", "DejaVu Sans, Liberation Sans, sans-serif"},
      // Unknown names stay first, before a generic family; odd characters are quoted.
      {"Noto Sans", "Noto Sans, sans-serif"},
      {"My \"Font\"", "\"My \\\"Font\\\"\", sans-serif"},
  };
  for (const TCase& c : kCases) EXPECT_EQ(CssFontFamily(c.Name), c.Css) << c.Name;
  EXPECT_EQ(FontFamilies("Tahoma").front(), "DejaVu Sans");
}

}  // namespace
}  // namespace lumacet
