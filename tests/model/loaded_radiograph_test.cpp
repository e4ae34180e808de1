#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "model/kind_codes.h"
#include "model/point_elements.h"
#include "model/xray.h"
#include "model/xray_type.h"

namespace lumacet {
namespace {

// Two radiographs of one type: landmarks S and N, and a snake whose first point each
// radiograph places itself.
class LoadedRadiographTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string message;
    for (const char* name : {"S", "N"}) type.AddElement(name, ekDigPoint, message);
    auto* snake = static_cast<TDigSnake*>(type.AddElement("Profile", ekSnake, message));
    snake->AddPoint(0, 0, true);
    type.BuildTemplates();
    Trace();
  }

  // Both radiographs traced afresh, first as a boy, second as a girl.
  void Trace() {
    for (auto [xray, x] : {std::pair{&first, 10.0}, std::pair{&second, 30.0}}) {
      xray->SetType(&type);
      xray->Coordinates[0]->SetXY(x, x + 1);
      xray->Coordinates[1]->SetXY(x + 2, x + 3);
      xray->Snakes[0]->Points[0]->SetXY(x + 4, x + 5);
      xray->Female = xray == &second;
      xray->DateOfBirth = DayNumber(2000, 1, 1);
      xray->DateTaken = DayNumber(2010, 1, 1);
      xray->Magnification = 0;
      xray->MagnificationCorrected = false;
    }
  }

  TXRayElement* S() const { return type.FindElement("S", ekDigPoint); }
  TXRayElement* SnakePoint() const {
    return static_cast<TDigSnake*>(type.FindElement("Profile", ekSnake))->Points[0].get();
  }
  TDigPoint& TypePoint(size_t i) { return *type.Element<TDigPoint>(ekDigPoint, i); }
  static std::optional<TFloatPoint> Stored(TXRPoint& point) {
    if (!point.IsValid()) return std::nullopt;
    return TFloatPoint{point.GetX(), point.GetY()};
  }

  TXRayType type;
  TXRay first;
  TXRay second;
};

TEST_F(LoadedRadiographTest, EachHandleReadsItsOwnRadiographWhateverWasLoadedSince) {
  const TLoadedRadiograph one = first.Load();
  const TLoadedRadiograph two = second.Load();
  EXPECT_FALSE(first.IsLoaded());
  for (int round = 0; round < 2; ++round) {
    EXPECT_EQ(one.Position(S()), (TFloatPoint{10, 11}));
    EXPECT_EQ(one.Position(SnakePoint()), (TFloatPoint{14, 15}));
    EXPECT_EQ(type.Female, first.Female);
    EXPECT_EQ(two.Position(S()), (TFloatPoint{30, 31}));
    EXPECT_EQ(type.Female, second.Female);
  }
  EXPECT_TRUE(second.IsLoaded());
  EXPECT_FALSE(first.IsLoaded());
}

TEST_F(LoadedRadiographTest, ARadiographAtTheAddressOfADestroyedOneIsNotTakenAsLoaded) {
  std::optional<TXRay> slot;
  slot.emplace().SetType(&type);
  slot->Coordinates[0]->SetXY(50, 60);
  slot->LoadCoordinates();
  const TXRay* address = &*slot;
  slot.reset();
  slot.emplace().SetType(&type);
  ASSERT_EQ(&*slot, address);
  EXPECT_FALSE(slot->IsLoaded());
  slot->LoadIfStale();
  EXPECT_FALSE(TypePoint(0).IsValid());  // the new radiograph has no S yet
}

// Every way a radiograph's stored tracing or particulars change after it was loaded: what
// a handle taken before reads afterwards must be the radiograph as it stands.
TEST_F(LoadedRadiographTest, ValuesReadAfterAChangeAreTheChangedOnes) {
  const std::vector<std::pair<std::string, std::function<void()>>> changes = {
      {"coordinate written", [&] { first.Coordinates[0]->SetXY(70, 80); }},
      {"snake point moved", [&] { first.Snakes[0]->Points[0]->SetXY(-4, -5); }},
      {"point dropped", [&] { first.Coordinates[0]->SetValid(false); }},
      {"sex changed", [&] { first.Female = !first.Female; }},
      {"date of birth changed", [&] { first.DateOfBirth = DayNumber(2001, 2, 3); }},
      {"date taken changed", [&] { first.DateTaken = DayNumber(2011, 2, 3); }},
      {"scaled", [&] { first.ScaleCoordinates(2); }},
      {"corrected for magnification",
       [&] {
         first.Magnification = 100;
         first.CorrectMagnification();
       }},
      {"magnification changed while corrected",
       [&] {
         first.CorrectMagnification();
         first.SetMagnification(25);
       }},
      {"transferred",
       [&] {
         first.Selection = {S()};
         first.TransferCoordinates(second);
       }},
      {"assigned", [&] { first.AssignFrom(second); }},
      {"type set again", [&] { first.SetType(&type); }},
  };
  for (const auto& [name, change] : changes) {
    SCOPED_TRACE(name);
    Trace();
    const TLoadedRadiograph loaded = first.Load();
    change();
    EXPECT_EQ(loaded.Position(S()), Stored(*first.Coordinates[0]));
    EXPECT_EQ(loaded.Position(SnakePoint()), Stored(*first.Snakes[0]->Points[0]));
    EXPECT_EQ(type.Female, first.Female);
    EXPECT_EQ(type.DateOfBirth, first.DateOfBirth);
    EXPECT_EQ(type.DateTaken, first.DateTaken);
    EXPECT_TRUE(first.IsLoaded());
  }
}

TEST_F(LoadedRadiographTest, AnElementAddedToTheTypeIsFilledByTheNextRead) {
  const TLoadedRadiograph loaded = first.Load();
  std::string message;
  TXRayElement* added = type.AddElement("A", ekDigPoint, message);
  static_cast<TDigPoint*>(added)->SetXY(1, 1);  // no radiograph has stored it
  EXPECT_FALSE(first.IsLoaded());
  EXPECT_FALSE(loaded.IsValid(added));
  EXPECT_EQ(loaded.Position(S()), (TFloatPoint{10, 11}));
}

TEST_F(LoadedRadiographTest, EditsBelongToTheLoadedRadiographUntilStoredAndThenStayLoaded) {
  const TLoadedRadiograph loaded = first.Load();
  TypePoint(0).SetXY(70, 80);
  EXPECT_EQ(loaded.Position(S()), (TFloatPoint{70, 80}));  // the edit is not undone by a read
  first.StoreCoordinates();
  EXPECT_TRUE(first.IsLoaded());
  EXPECT_EQ(Stored(*first.Coordinates[0]), (TFloatPoint{70, 80}));
  second.LoadCoordinates();
  EXPECT_EQ(loaded.Position(S()), (TFloatPoint{70, 80}));  // read back from what was stored
  EXPECT_EQ(loaded.Position(type.FindElement("N", ekDigPoint)), (TFloatPoint{12, 13}));
}

TEST_F(LoadedRadiographTest, StoringIntoARadiographThatIsNotLoadedIsRefused) {
  first.LoadCoordinates();
  TypePoint(0).SetXY(70, 80);
  EXPECT_DEBUG_DEATH(second.StoreCoordinates(), "");
  EXPECT_EQ(Stored(*second.Coordinates[0]), (TFloatPoint{30, 31}));
}

TEST_F(LoadedRadiographTest, ReadingWithoutAnythingElseLoadedLoadsNothingAgain) {
  std::string message;
  auto* fixed = static_cast<TDerPoint*>(type.AddElement("F", ekDerPoint, message));
  fixed->SetParameters(1, 2);
  const TLoadedRadiograph loaded = first.Load();
  EXPECT_TRUE(loaded.IsValid(fixed));
  EXPECT_FALSE(fixed->NeedsComputing());
  EXPECT_EQ(loaded.Position(S()), (TFloatPoint{10, 11}));
  EXPECT_FALSE(fixed->NeedsComputing());  // a reload would have marked it
}

// Loading copies the snakes every time; a derived point built on a snake point must still
// read the point of whichever radiograph is loaded, not a point freed by the last load.
TEST_F(LoadedRadiographTest, ElementsBuiltOnSnakePointsFollowEveryLoad) {
  std::string message;
  auto* middle = static_cast<TDerPoint*>(type.AddElement("Middle", ekDerPoint, message));
  middle->SetKind(KindNumber(TDerPointKind::Midpoint));
  ASSERT_TRUE(middle->SetOperand(0, S()));
  ASSERT_TRUE(middle->SetOperand(1, SnakePoint()));
  for (int round = 0; round < 2; ++round) {
    for (auto [xray, x] : {std::pair{&first, 10.0}, std::pair{&second, 30.0}}) {
      const TLoadedRadiograph loaded = xray->Load();
      EXPECT_EQ(loaded.Position(type.FindElement("Middle", ekDerPoint)), (TFloatPoint{x + 2, x + 3}));
    }
  }
}

}  // namespace
}  // namespace lumacet
