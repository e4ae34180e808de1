// The particulars as typed: dates in the user's order or as stored defaults, two-digit
// years within the hundred years up to next year, magnifications with either separator,
// refusals in order with their field, and an accepted entry taken and remembered.
#include "shell/radiograph_entry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/xray.h"

namespace lumacet {
namespace {

TEST(RadiographEntryTest, DatesReadInTheUsersOrderOrAsStoredDefaults) {
  TTextFormats american;
  american.ShortDateFormat = "M/d/yyyy";
  american.DecimalSeparator = ',';
  EXPECT_EQ(ParseUserDate("12/31/1970", american), DayNumber(1970, 12, 31));
  EXPECT_EQ(ParseUserDate("31/12/70", american), DayNumber(1970, 12, 31));  // the default's own form
  EXPECT_FALSE(ParseUserDate("31/13/1970", american));
  int year = 0, month = 0, day = 0;
  CivilDate(TodaysDate(), year, month, day);
  const std::string lastYear = std::to_string((year - 1) % 100);
  EXPECT_EQ(ParseUserDate("1/1/" + lastYear, american), DayNumber(year - 1, 1, 1));
  EXPECT_EQ(ParseMagnification("12,5", american), 12.5);
  EXPECT_EQ(ParseMagnification(" 12.5 ", american), 12.5);
  EXPECT_FALSE(ParseMagnification("-100", american));
  EXPECT_FALSE(ParseMagnification("ten", american));
}

TEST(RadiographEntryTest, TwoDigitYearsFollowTodayAndTheDateExampleIsUnambiguous) {
  const TFixedToday today(DayNumber(2025, 6, 15));
  const TTextFormats formats;
  EXPECT_EQ(ParseUserDate("1/1/26", formats), DayNumber(2026, 1, 1));  // next year still counts
  EXPECT_EQ(ParseUserDate("1/1/27", formats), DayNumber(1927, 1, 1));
  EXPECT_EQ(IncorrectDateMessage(formats).English(),
            "Incorrect date format.\r\n\r\nDate format should be, for example: 31/12/1987");
  TTextFormats twoDigits;
  twoDigits.ShortDateFormat = "yy-MM-dd";
  EXPECT_EQ(IncorrectDateMessage(twoDigits).English(), "Incorrect date format.\r\n\r\nDate format should be, for example: 87-12-31");
}

TEST(RadiographEntryTest, TheFirstDefectIsRefusedWithItsField) {
  const TFixedToday today(DayNumber(2025, 6, 15));
  const TTextFormats formats;
  const TRadiographEntry good{"Ann Smith", "2/3/2001", "2/3/2011", "10", "", false, "", ""};
  const std::string dateMessage = IncorrectDateMessage(formats).English();
  struct TCase {
    TRadiographEntry entry;
    TEntryField field;
    std::string message;
  };
  auto with = [&good](std::string TRadiographEntry::*field, std::string text) {
    TRadiographEntry entry = good;
    entry.*field = std::move(text);
    return entry;
  };
  const std::vector<TCase> cases = {
      {with(&TRadiographEntry::DateOfBirth, "31/02/2001"), TEntryField::DateOfBirth, dateMessage},
      {with(&TRadiographEntry::DateTaken, "tomorrow"), TEntryField::DateTaken, dateMessage},
      {with(&TRadiographEntry::DateTaken, "1/3/2001"), TEntryField::DateOfBirth, TText(kIncompatibleDatesMessage).English()},
      {with(&TRadiographEntry::Magnification, "-100"), TEntryField::Magnification,
       TText(kBadMagnificationMessage).English()},
      {with(&TRadiographEntry::Name, "  "), TEntryField::Name, TText(kNameRequiredMessage).English()},
      {with(&TRadiographEntry::Comments, "a,b"), TEntryField::Comments,
       "Bad input.\r\n\r\nCommas and double quotes cannot be used in names, dates and comments."},
  };
  for (const TCase& c : cases) {
    const TEntryCheck check = CheckRadiographEntry(c.entry, formats);
    EXPECT_EQ(check.Field, c.field) << c.message;
    EXPECT_EQ(check.Message.English(), c.message);
  }
  const TEntryCheck accepted = CheckRadiographEntry(good, formats);
  EXPECT_EQ(accepted.Field, TEntryField::None);
  EXPECT_TRUE(accepted.Message.Empty());
}

TEST(RadiographEntryTest, AnAcceptedEntryIsTakenAndRememberedWhenAsked) {
  TTextFormats formats;
  formats.DecimalSeparator = ',';
  const TRadiographEntry entry{" Ann Smith ", "2/3/2001", "2/3/2011", "7,5", "left", true, "/data/a.csv",
                               "Lateral Ceph"};
  const TEntryCheck accepted = CheckRadiographEntry(entry, formats);
  ASSERT_EQ(accepted.Field, TEntryField::None);
  TXRay xray;
  ApplyRadiographEntry(entry, accepted, xray);
  EXPECT_EQ(xray.Name, "Ann Smith");
  EXPECT_TRUE(xray.Female);
  EXPECT_EQ(xray.DateOfBirth, DayNumber(2001, 3, 2));
  EXPECT_EQ(xray.DateTaken, DayNumber(2011, 3, 2));
  EXPECT_EQ(xray.Magnification, 7.5);
  EXPECT_EQ(xray.Comments, "left");
  EXPECT_EQ(xray.DataFile, "/data/a.csv");

  TRadiographSettings defaults;
  defaults.DefaultRemember = false;
  RememberRadiographEntry(entry, defaults);
  EXPECT_EQ(defaults.DefaultName, TRadiographSettings{}.DefaultName);
  defaults.DefaultRemember = true;
  TRadiographEntry noFile = entry;
  noFile.DataFile.clear();
  RememberRadiographEntry(noFile, defaults);
  EXPECT_EQ(defaults.DefaultType, "Lateral Ceph");
  EXPECT_EQ(defaults.DefaultMagnification, "7,5");
  // The patient's own fields stay the configured defaults.
  const TRadiographSettings configured;
  EXPECT_EQ(defaults.DefaultName, configured.DefaultName);
  EXPECT_EQ(defaults.DefaultDob, configured.DefaultDob);
  EXPECT_EQ(defaults.DefaultDateTaken, configured.DefaultDateTaken);
  EXPECT_EQ(defaults.DefaultComments, configured.DefaultComments);
  EXPECT_EQ(defaults.DefaultSex, configured.DefaultSex);
  EXPECT_EQ(defaults.DefaultFile, TRadiographSettings{}.DefaultFile);
}

}  // namespace
}  // namespace lumacet
