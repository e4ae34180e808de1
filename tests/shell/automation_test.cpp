#include "shell/automation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "shell/temp_folder.h"
#include "support/dates.h"

namespace lumacet {
namespace {

const std::string kExampleType = std::string(LUMACET_SOURCE_DIR) + "/examples/lateral_ceph.lcr";

class TSilentPrompts : public TWorkspacePrompts {
 public:
  void ShowMessage(const std::string& text) override { Shown.push_back(text); }
  bool Confirm(const std::string&) override { return false; }
  TAnswer AskYesNoCancel(const std::string&) override { return TAnswer::Cancel; }
  bool OfferSave(TRadiograph& object) override {
    Offered.push_back(object.Name);
    return true;
  }
  std::vector<std::string> Shown;
  std::vector<std::string> Offered;
};

// The window's side, recording what it was asked to do.
class TFakeHost : public TAutomationHost {
 public:
  explicit TFakeHost(TWorkspaceOptions options) : fWorkspace(std::move(options)) {}
  TWorkspace& Workspace() override { return fWorkspace; }
  const TSettings& Settings() const override { return fSettings; }
  void ChangeSettings(const std::function<void(TSettings&)>& change) override { change(fSettings); }
  TResult SaveSettingsQuietly() override { return {}; }
  TRecordBrowserOptions BrowserOptions() override { return {}; }
  TWorkspacePrompts& Prompts() override { return Asked; }
  void Opened(int) override {}
  void Refresh() override {}
  bool RunCommand(std::string_view id) override {
    Ran.emplace_back(id);
    return Available.contains(std::string(id));
  }
  bool SetCommandChecked(std::string_view, bool) override { return true; }
  void SetVisible(bool) override {}
  bool Busy() const override { return IsBusy; }

  TSilentPrompts Asked;
  std::vector<std::string> Ran;
  std::set<std::string> Available;
  bool IsBusy = false;

 private:
  TWorkspace fWorkspace;
  TSettings fSettings = TSettings::Defaults(".");
};

class AutomationTest : public ::testing::Test {
 protected:
  AutomationTest() : host(Options()), automation(host) {}

  TWorkspaceOptions Options() {
    std::filesystem::copy_file(kExampleType, folder.File("lateral_ceph.lcr"));
    TWorkspaceOptions options;
    options.Folders.TypeFolder = folder.Path().string();
    return options;
  }
  // A new radiograph's serial.
  std::uint64_t Create() {
    const TAutomationReply<int> slot = automation.CreateRadiograph("Lateral Ceph");
    EXPECT_TRUE(slot.Ok() && *slot.Value >= 0);
    return *automation.Item(*slot.Value);
  }

  test::TTempFolder folder;
  TFakeHost host;
  TAutomation automation;
};

TEST(AutomationDatesTest, IsoDatesReadOnlyWhenTheyAreDaysOfTheCalendar) {
  EXPECT_EQ(IsoDate(DayNumber(2018, 3, 12)), "2018-03-12");
  EXPECT_EQ(ParseIsoDate("2020-02-29"), DayNumber(2020, 2, 29));
  for (const char* bad : {"2019-02-29", "2018-13-01", "2018-00-10", "0000-01-01", "2018-3-12", "12.03.2018",
                          "2018-03-12 ", "", "abcd-ef-gh"})
    EXPECT_FALSE(ParseIsoDate(bad).has_value()) << bad;
  const std::string version = AutomationVersion();
  EXPECT_EQ(std::count(version.begin(), version.end(), '.'), 3) << version;
}

TEST_F(AutomationTest, ParticularsChangeOnlyWithValuesARecordCanHold) {
  const std::uint64_t film = Create();
  ASSERT_TRUE(automation.SetText(film, TParticular::Name, "Emma Lindqvist").Ok());
  ASSERT_TRUE(automation.SetText(film, TParticular::DateTaken, "2018-09-13").Ok());
  EXPECT_EQ(*automation.Text(film, TParticular::DateTaken).Value, "2018-09-13");
  struct TCase {
    TParticular Particular;
    const char* Value;
  };
  for (const TCase& bad : {TCase{TParticular::Name, "Emma, L"}, TCase{TParticular::Comments, "two\r\nlines"},
                           TCase{TParticular::Comments, "say \"hi\""}, TCase{TParticular::DateTaken, "2018-02-30"},
                           TCase{TParticular::DateOfBirth, "14/3/2009"}}) {
    const TAutomationReply<TAutomationDone> refused = automation.SetText(film, bad.Particular, bad.Value);
    EXPECT_FALSE(refused.Ok()) << bad.Value;
    EXPECT_EQ(refused.Refusal.Error, TAutomationError::InvalidArgs) << bad.Value;
    EXPECT_FALSE(refused.Refusal.Message.empty());
  }
  EXPECT_EQ(*automation.Text(film, TParticular::Name).Value, "Emma Lindqvist");
  EXPECT_EQ(*automation.Text(film, TParticular::DateTaken).Value, "2018-09-13");
  for (double bad : {-100.0, 1000.5, std::numeric_limits<double>::quiet_NaN()})
    EXPECT_EQ(automation.SetMagnification(film, bad).Refusal.Error, TAutomationError::InvalidArgs);
  EXPECT_TRUE(automation.SetMagnification(film, 9.5).Ok());
  EXPECT_EQ(*automation.Magnification(film).Value, 9.5);
}

TEST_F(AutomationTest, AClosedRadiographIsGoneAndItsSerialNeverPassesOn) {
  const std::uint64_t first = Create();
  ASSERT_TRUE(automation.SetText(first, TParticular::Comments, "changed").Ok());
  ASSERT_TRUE(automation.CloseRadiograph(first, false).Ok());
  // Closed without the save question: the change was dropped unasked.
  EXPECT_TRUE(host.Asked.Offered.empty());
  EXPECT_FALSE(automation.Item(0).has_value());
  EXPECT_EQ(automation.Text(first, TParticular::Name).Refusal.Error, TAutomationError::Gone);
  EXPECT_EQ(automation.SetSex(first, true).Refusal.Error, TAutomationError::Gone);
  EXPECT_EQ(automation.SetCurrent(first).Refusal.Error, TAutomationError::Gone);
  const std::uint64_t second = Create();
  EXPECT_NE(second, first);
  EXPECT_EQ(automation.Item(0), second);
  for (int index : {-1, 1, 10, 1 << 30}) EXPECT_FALSE(automation.Item(index).has_value()) << index;
}

TEST_F(AutomationTest, ABusyProgramRefusesWhatCouldPullTheGroundFromUnderIt) {
  const std::uint64_t film = Create();
  host.IsBusy = true;
  EXPECT_EQ(automation.CreateRadiograph("Lateral Ceph").Refusal.Error, TAutomationError::Busy);
  EXPECT_EQ(automation.CloseRadiograph(film, false).Refusal.Error, TAutomationError::Busy);
  EXPECT_EQ(automation.SetText(film, TParticular::Name, "X").Refusal.Error, TAutomationError::Busy);
  EXPECT_EQ(automation.SetDefaultDataPath("/tmp").Refusal.Error, TAutomationError::Busy);
  EXPECT_EQ(automation.Close().Refusal.Error, TAutomationError::Busy);
  // Reading is harmless.
  EXPECT_TRUE(automation.Text(film, TParticular::Name).Ok());
  EXPECT_TRUE(host.Ran.empty());
  EXPECT_EQ(automation.Item(0), film);
}

TEST_F(AutomationTest, PrintRunsTheChosenPrintsInOrderAndOnlyWithACurrentRadiograph) {
  EXPECT_TRUE(automation.Print(7).Ok());
  EXPECT_TRUE(host.Ran.empty());  // nothing is current
  Create();
  host.Available = {std::string(kPrintTracingCommand), std::string(kPrintAnalysisCommand),
                    std::string(kPrintExtendedCommand)};
  EXPECT_TRUE(automation.Print(0).Ok());
  EXPECT_TRUE(host.Ran.empty());
  EXPECT_TRUE(automation.Print(7).Ok());
  EXPECT_EQ(host.Ran, (std::vector<std::string>{std::string(kPrintTracingCommand), std::string(kPrintAnalysisCommand),
                                                std::string(kPrintExtendedCommand)}));
  EXPECT_EQ(automation.Print(8).Refusal.Error, TAutomationError::InvalidArgs);
  // A command the program does not offer is a failure, never a silent success.
  host.Available.clear();
  EXPECT_EQ(automation.Print(4).Refusal.Error, TAutomationError::Failed);
  EXPECT_EQ(automation.CopyPicture().Refusal.Error, TAutomationError::Failed);
}

}  // namespace
}  // namespace lumacet
