#include <gtest/gtest.h>

#include "model/xray.h"
#include "model/xray_type.h"

namespace lumacet {
namespace {

// A small type: three landmarks, a constructed fixed point, one snake, two analyses, one view.
class RadiographTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string message;
    for (const char* name : {"S", "N", "A"}) type.AddElement(name, ekDigPoint, message);
    auto* snake = static_cast<TDigSnake*>(type.AddElement("Profile", ekSnake, message));
    snake->AddPoint(10, 10, true);
    snake->AddPoint(20, 30, true);
    type.AddElement("Steiner", ekAnalysis, message);
    type.AddElement("Downs", ekAnalysis, message);
    type.AddElement("Hard tissue", ekView, message);
    type.BuildTemplates();
    xray.SetType(&type);
  }

  TDigPoint& TypePoint(size_t i) { return *type.Element<TDigPoint>(ekDigPoint, i); }

  TXRayType type;
  TXRay xray;
};

TEST_F(RadiographTest, CreateListsGivesInvalidPointsAndUnplacedTemplateSnakes) {
  ASSERT_EQ(xray.Coordinates.size(), 3u);
  for (auto& p : xray.Coordinates) {
    EXPECT_EQ(p->Kind(), 0);
    EXPECT_FALSE(p->IsValid());
  }
  ASSERT_EQ(xray.Snakes.size(), 1u);
  EXPECT_FALSE(xray.Snakes[0]->Placed);
  EXPECT_EQ(xray.Snakes[0]->Points.size(), 2u);
  EXPECT_EQ(xray.CurrentAnalysis, type.Element<TXRAnalysis>(ekAnalysis, 0));
  EXPECT_EQ(xray.CurrentView, nullptr);
}

TEST_F(RadiographTest, LoadCoordinatesCopiesPositionsFlagsAndParticulars) {
  xray.Coordinates[0]->SetXY(100, 200);
  xray.Coordinates[1]->SetX(5);  // half set: stays invalid in the type
  xray.Coordinates[0]->NeedsPlacing = false;
  xray.Female = false;
  xray.DateOfBirth = DayNumber(2000, 5, 1);
  TypePoint(2).SetXY(9, 9);  // left over from another radiograph
  xray.LoadCoordinates();
  EXPECT_TRUE(TypePoint(0).IsValid());
  EXPECT_EQ(TypePoint(0).GetX(), 100);
  EXPECT_FALSE(TypePoint(1).IsValid());
  EXPECT_TRUE(TypePoint(1).XSet());
  EXPECT_FALSE(TypePoint(2).IsValid());
  EXPECT_FALSE(type.Female);
  EXPECT_EQ(type.DateOfBirth, DayNumber(2000, 5, 1));
}

TEST_F(RadiographTest, ExtraTypePointsStayInvalidAndStoreIgnoresPositionsBeyondEitherList) {
  xray.Coordinates.pop_back();
  xray.LoadCoordinates();
  EXPECT_FALSE(TypePoint(2).IsValid());
  TypePoint(0).SetXY(7, 8);
  TypePoint(2).SetXY(1, 1);
  xray.StoreCoordinates();
  EXPECT_EQ(xray.Coordinates[0]->GetX(), 7);
  EXPECT_EQ(xray.Coordinates.size(), 2u);
}

TEST_F(RadiographTest, LoadingMarksConstructedPointsStale) {
  std::string message;
  auto* fixed = static_cast<TDerPoint*>(type.AddElement("F", ekDerPoint, message));
  fixed->SetParameters(1, 2);
  EXPECT_TRUE(fixed->IsValid());
  EXPECT_FALSE(fixed->NeedsComputing());
  xray.LoadCoordinates();
  EXPECT_TRUE(fixed->NeedsComputing());
}

TEST_F(RadiographTest, LifeSizeCorrectionDividesOnReadAndMultipliesBack) {
  xray.Magnification = 10;
  xray.Coordinates[0]->SetXY(110, 220);
  xray.CorrectMagnification();
  EXPECT_TRUE(xray.MagnificationCorrected);
  EXPECT_NEAR(xray.Coordinates[0]->GetX(), 100, 1e-9);
  EXPECT_TRUE(xray.SetMagnification(20));  // stored 110 now means 110 at 20 %
  EXPECT_NEAR(xray.Coordinates[0]->GetX(), 110 / 1.2, 1e-9);
  xray.UncorrectMagnification();
  EXPECT_NEAR(xray.Coordinates[0]->GetX(), 110, 1e-9);
  EXPECT_FALSE(xray.MagnificationCorrected);
}

TEST_F(RadiographTest, MagnificationsAtOrBelowMinusHundredAreRefusedAndNeverApplied) {
  xray.Coordinates[0]->SetXY(50, 50);
  EXPECT_FALSE(xray.SetMagnification(-100));
  EXPECT_FALSE(xray.SetMagnification(-250));
  EXPECT_EQ(xray.Magnification, 0);
  xray.Magnification = -100;  // as an old record may hold it
  xray.CorrectMagnification();
  EXPECT_FALSE(xray.MagnificationCorrected);
  EXPECT_EQ(xray.Coordinates[0]->GetX(), 50);
}

TEST_F(RadiographTest, ScaleCoordinatesScalesValidPointsOnly) {
  xray.Coordinates[0]->SetXY(10, 20);
  xray.Coordinates[1]->SetX(10);
  xray.ScaleCoordinates(1.5);
  EXPECT_EQ(xray.Coordinates[0]->GetX(), 15);
  EXPECT_EQ(xray.Coordinates[0]->GetY(), 30);
  EXPECT_EQ(xray.Coordinates[1]->RawX(), 10);
  EXPECT_EQ(xray.Snakes[0]->Points[1]->GetY(), 45);
  EXPECT_EQ(TypePoint(0).GetX(), 15) << "scaling reloads the type";
}

TEST_F(RadiographTest, TransferCopiesOnlySelectedDigitizedPositions) {
  TXRay reference;
  reference.SetType(&type);
  reference.Coordinates[0]->SetXY(1, 2);
  reference.Coordinates[1]->SetXY(3, 4);
  std::string message;
  auto* derived = type.AddElement("D", ekDerPoint, message);
  xray.Selection = {&TypePoint(1), derived};
  xray.TransferCoordinates(reference);
  EXPECT_FALSE(xray.Coordinates[0]->IsValid());
  EXPECT_EQ(xray.Coordinates[1]->GetX(), 3);
  EXPECT_EQ(xray.ChangeHistory.back(), "Transferred coordinates.");
}

TEST_F(RadiographTest, DuplicateCopiesTracingAndParticularsButNotImageOrHistory) {
  xray.Name = "Jane Roe";
  xray.Female = true;
  xray.Magnification = 8;
  xray.Comments = "pre-treatment";
  xray.ImageFile = "/images/jane.jpg";
  xray.PixelWidth = 1.5;
  xray.Coordinates[2]->SetXY(4, 5);
  xray.Snakes[0]->Placed = true;
  xray.RecordChange(true, "Digitized Point.");
  TXRay copy;
  copy.AssignFrom(xray);
  EXPECT_EQ(copy.Type(), &type);
  EXPECT_EQ(copy.Name, "Jane Roe");
  EXPECT_TRUE(copy.Female);
  EXPECT_EQ(copy.Magnification, 8);
  EXPECT_EQ(copy.Coordinates[2]->GetY(), 5);
  EXPECT_TRUE(copy.Snakes[0]->Placed);
  EXPECT_TRUE(copy.ImageFile.empty());
  EXPECT_EQ(copy.PixelWidth, 0);
  EXPECT_EQ(copy.ChangeHistory, std::vector<std::string>{"New."});
}

TEST_F(RadiographTest, SelectViewDistinguishesTheEmptyViewFromNone) {
  xray.SelectView("<none>");
  EXPECT_EQ(xray.CurrentView, EmptyView());
  xray.SelectView("Hard tissue");
  EXPECT_EQ(xray.CurrentView, type.FindElement("Hard tissue", ekView));
  xray.SelectView("missing");
  EXPECT_EQ(xray.CurrentView, nullptr);
  xray.SelectAnalysis("Downs");
  xray.SelectAnalysis("missing");
  EXPECT_EQ(xray.CurrentAnalysis, type.FindElement("Downs", ekAnalysis));
}

TEST_F(RadiographTest, TypeDeletionReachesTheRadiographsSelection) {
  xray.Selection = {&TypePoint(2)};
  std::string message;
  ASSERT_TRUE(type.DeleteElement("A", ekDigPoint, message));
  EXPECT_TRUE(xray.Selection.empty());
}

TEST(RadiographType, DefaultsAndCurrentAnalysis) {
  TXRayType type;
  EXPECT_EQ(type.Name, "Radiograph Type");
  EXPECT_TRUE(type.Female);
  EXPECT_EQ(FormatDate(type.DateOfBirth, "d/M/yyyy"), "1/1/1980");
  EXPECT_EQ(FormatDate(type.DateTaken, "d/M/yyyy"), "1/1/1992");
  EXPECT_EQ(type.Comments, "Comments");
  EXPECT_EQ(type.Magnification, 10.0);
  EXPECT_TRUE(type.ChangeHistory.empty());
  EXPECT_EQ(type.Caption({}), "Radiograph Type");
  type.SelectDefaults();
  EXPECT_EQ(type.CurrentAnalysis, nullptr) << "a type with no analysis has none current";
}

TEST(RadiographType, OutlivedRadiographsAreDetached) {
  TXRay xray;
  {
    TXRayType type;
    xray.SetType(&type);
  }
  EXPECT_EQ(xray.Type(), nullptr);
  xray.LoadCoordinates();  // harmless without a type
}

struct AgeCase {
  int Days;
  int Format;
  std::string Text;
};

class AgeTextTest : public ::testing::TestWithParam<AgeCase> {};

TEST_P(AgeTextTest, FollowsTheAgeFormat) {
  TXRay xray;
  xray.DateOfBirth = DayNumber(2000, 1, 1);
  xray.DateTaken = xray.DateOfBirth + GetParam().Days;
  TTextFormats formats;
  formats.AgeFormat = GetParam().Format;
  EXPECT_EQ(xray.AgeText(formats), GetParam().Text);
}

INSTANTIATE_TEST_SUITE_P(Ages, AgeTextTest,
                         ::testing::Values(AgeCase{0, 0, "0:0"}, AgeCase{0, 1, "0.000"}, AgeCase{350, 0, "0:11"},
                                           AgeCase{351, 0, "0:12"}, AgeCase{365, 1, "0.999"},
                                           AgeCase{100, 2, "3:8"}, AgeCase{100, 3, "3.28"},
                                           AgeCase{100, 4, "100"}, AgeCase{3653, 0, "9:12"},
                                           AgeCase{-400, 4, "-400"}, AgeCase{-400, 1, "-1.095"}));

TEST(AgeText, UsesTheLocaleDecimalSeparator) {
  TXRay xray;
  xray.DateOfBirth = 0;
  xray.DateTaken = 100;
  TTextFormats formats;
  formats.AgeFormat = 3;
  formats.DecimalSeparator = ',';
  EXPECT_EQ(xray.AgeText(formats), "3,28");
}

TEST(Caption, FollowsTheTitleSetting) {
  TXRay xray;
  xray.Name = "John  Paul Smith";
  xray.Comments = "T1";
  xray.DateOfBirth = DayNumber(2010, 3, 4);
  xray.DateTaken = DayNumber(2020, 9, 4);
  TTextFormats formats;
  formats.ShortDateFormat = "dd.MM.yyyy";
  formats.AgeFormat = 0;
  const std::vector<std::string> expected = {"John  Paul Smith", "JPS", "JPS 10:6", "04.03.2010",
                                             "04.09.2020",       "T1",  "10:6",     "JPS T1"};
  for (int title = 0; title < 8; ++title) {
    formats.RadiographTitle = title;
    EXPECT_EQ(xray.Caption(formats), expected[title]) << "title setting " << title;
  }
  formats.RadiographTitle = 1;
  EXPECT_EQ(xray.FieldText(0, formats), "JPS");
  EXPECT_EQ(xray.FieldText(1, formats), "John  Paul Smith");
  EXPECT_EQ(xray.FieldText(2, formats), "Male");
  EXPECT_EQ(xray.FieldText(3, formats), "04.03.2010");
  EXPECT_EQ(xray.FieldText(4, formats), "10:6");
  EXPECT_EQ(xray.FieldText(5, formats), "T1");
  EXPECT_EQ(xray.FieldText(6, formats), "04.09.2020");
  EXPECT_EQ(xray.FieldText(9, formats), "John  Paul Smith");
  EXPECT_EQ(xray.Description(formats), "JPS\r\nJohn  Paul Smith\r\nT1");
}

TEST(Caption, InitialsTakeWholeCharacters) {
  TXRay xray;
  xray.Name = "Émile Zola";
  EXPECT_EQ(xray.Initials(), "ÉZ");
}

TEST(ChangeHistory, NewRadiographsStartModifiedWithNew) {
  TXRay xray;
  EXPECT_EQ(xray.ChangeHistory, std::vector<std::string>{"New."});
  EXPECT_TRUE(xray.Modified);
}

TEST(ChangeHistory, SavingClearsTheHistoryUnlessTheImageIsUnsaved) {
  TXRay xray;
  xray.RecordChange(true, "Digitized Point.");
  xray.RecordChange(false, "Saved to file.");
  EXPECT_EQ(xray.ChangeHistory, std::vector<std::string>{"Saved to file."});
  EXPECT_FALSE(xray.Modified);

  xray.RecordChange(true, "Translated points.");
  xray.RecordImageChange(true, "Image Inverted.");
  xray.RecordChange(false, "Saved to file.");
  EXPECT_EQ(xray.ChangeHistory,
            (std::vector<std::string>{"Saved to file.", "Translated points.", "Image Inverted.", "Saved to file."}));
  EXPECT_TRUE(xray.ImageModified);

  xray.RecordImageChange(false, "Image Saved.");
  xray.RecordChange(false, "Saved to file.");
  EXPECT_EQ(xray.ChangeHistory, std::vector<std::string>{"Saved to file."});
}

TEST(ChangeHistory, LoadingLeavesOneUnmodifiedEntry) {
  TXRay xray;
  xray.RecordChange(false, "Loaded from File.");
  EXPECT_EQ(xray.ChangeHistory, std::vector<std::string>{"Loaded from File."});
  EXPECT_FALSE(xray.Modified);
}

TEST(ChangeHistory, EmptyTextsSetTheFlagOnly) {
  TXRay xray;
  xray.RecordChange(false, "");
  xray.RecordChange(true, "");
  EXPECT_TRUE(xray.Modified);
  EXPECT_TRUE(xray.ChangeHistory.empty());
}

TEST(ChangeHistory, APauseRecordsNothingAndAlwaysResumes) {
  TXRay xray;
  try {
    THistoryPause pause(xray);
    xray.RecordChange(false, "Saved to file.");
    throw std::runtime_error("failed half-way");
  } catch (const std::runtime_error&) {
  }
  EXPECT_TRUE(xray.Modified);
  EXPECT_EQ(xray.ChangeHistory, std::vector<std::string>{"New."});
  EXPECT_TRUE(xray.HistoryEnabled);
}

}  // namespace
}  // namespace lumacet

namespace lumacet {
namespace {

TEST_F(RadiographTest, BoundsCoverTheLoadedPointsWithPadding) {
  xray.Coordinates[0]->SetXY(0, 0);
  xray.Coordinates[1]->SetXY(100, 50);
  TIntRect digitized = xray.DigitizedBounds();
  EXPECT_LT(digitized.Left, 0);
  EXPECT_GT(digitized.Right, 100);
  std::string message;
  static_cast<TDerPoint*>(type.AddElement("F", ekDerPoint, message))->SetParameters(400, 50);
  EXPECT_GT(xray.TracingBounds().Right, 400);
  EXPECT_EQ(xray.DigitizedBounds(), digitized);
}

TEST(SnakeMovements, MoveOnlyValidPoints) {
  TDigSnake snake("S");
  snake.AddPoint(10, 0, true);
  snake.AddPoint(5, 5, false);
  snake.Translate(1, 2);
  snake.Scale(2);
  EXPECT_EQ(snake.Points[0]->GetX(), 22);
  EXPECT_EQ(snake.Points[0]->GetY(), 4);
  EXPECT_EQ(snake.Points[1]->RawX(), 5);
  snake.Rotate(0, 0, M_PI);
  EXPECT_NEAR(snake.Points[0]->GetX(), -22, 1e-9);
}

}  // namespace
}  // namespace lumacet
