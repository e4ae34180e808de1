#include "shell/workspace.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>

#include "shell/temp_folder.h"
#include "support/dates.h"

namespace lumacet {
namespace {

const std::string kExampleType = std::string(LUMACET_SOURCE_DIR) + "/examples/lateral_ceph.lcr";
const std::string kTypeName = "Lateral Ceph";

// Answers scripted in advance; every text shown is kept.
class TScriptedPrompts : public TWorkspacePrompts {
 public:
  void ShowMessage(const std::string& text) override { Shown.push_back(text); }
  bool Confirm(const std::string& question) override {
    Shown.push_back(question);
    return Next() == TAnswer::Yes;
  }
  TAnswer AskYesNoCancel(const std::string& question) override {
    Shown.push_back(question);
    return Next();
  }
  bool OfferSave(TRadiograph& object) override {
    Offered.push_back(object.Name);
    return Next() != TAnswer::Cancel;
  }
  TAnswer Next() {
    if (Answers.empty()) return TAnswer::No;
    TAnswer answer = Answers.front();
    Answers.pop_front();
    return answer;
  }

  std::deque<TAnswer> Answers;
  std::vector<std::string> Shown;
  std::vector<std::string> Offered;
};

class WorkspaceTest : public ::testing::Test {
 protected:
  WorkspaceTest() {
    std::filesystem::create_directory(folder.File("types"));
    std::filesystem::copy_file(kExampleType, folder.File("types/lateral_ceph.lcr"));
    options.Folders.TypeFolder = folder.File("types");
    options.DataFolder = folder.Path().string();
  }

  // A radiograph of the example type, named and dated, in the first free slot.
  TRadiograph* NewXRay(TWorkspace& workspace, const std::string& name, TDayNumber taken = 700000) {
    const int slot = workspace.NewXRayBasic(kTypeName, false, prompts);
    EXPECT_GE(slot, 0);
    TRadiograph* xray = workspace.Slot(slot);
    xray->Name = name;
    xray->DateOfBirth = 690000;
    xray->DateTaken = taken;
    xray->DataFile = "PATIENT.CSV";
    return xray;
  }

  test::TTempFolder folder;
  TWorkspaceOptions options;
  TScriptedPrompts prompts;
};

TEST_F(WorkspaceTest, TypesAreSharedFromTheCacheAndMissingOnesAreReported) {
  TWorkspace workspace(options);
  TXRayType* first = workspace.GetOrLoadType(kTypeName, false, prompts);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(workspace.GetOrLoadType(kTypeName, false, prompts), first);

  EXPECT_EQ(workspace.NewXRayBasic("Frontal", true, prompts), -2);
  EXPECT_TRUE(prompts.Shown.empty());
  EXPECT_EQ(workspace.NewXRayBasic("Frontal", false, prompts), -2);
  ASSERT_EQ(prompts.Shown.size(), 1u);
  EXPECT_EQ(prompts.Shown[0], "Could not find file for 'Frontal'\r\nin Directory: " + options.Folders.TypeFolder +
                                  "\r\n\r\nMake sure the Default Directory for LCR files is correct.");
  EXPECT_FALSE(workspace.AnyOccupied());
}

TEST_F(WorkspaceTest, TheTitleNamesTheCurrentPatientFilmAndType) {
  TWorkspace workspace(options);
  EXPECT_EQ(workspace.WindowTitle(), "Lumacet");
  TRadiograph* xray = NewXRay(workspace, "Emma Lindqvist", DayNumber(2018, 9, 13));
  const std::string film = "Emma Lindqvist, " + FormatDate(DayNumber(2018, 9, 13), options.Formats.ShortDateFormat) +
                           ", " + kTypeName;
  xray->Modified = false;
  EXPECT_EQ(workspace.WindowTitle(), film + " - Lumacet");
  xray->Modified = true;
  EXPECT_EQ(workspace.WindowTitle(), film + " * - Lumacet");
  workspace.SetCurrent(nullptr);
  EXPECT_EQ(workspace.WindowTitle(), "Lumacet");
}

TEST_F(WorkspaceTest, TenSlotsAndTheCommandsFollowThem) {
  TWorkspace workspace(options);
  TCommandStates empty = workspace.Commands();
  EXPECT_TRUE(empty.AddObject);
  EXPECT_FALSE(empty.CurrentObject || empty.AnyOccupied || empty.Duplicate || empty.SetAsReference);

  for (int i = 0; i < kSlotCount; ++i) NewXRay(workspace, "P" + std::to_string(i));
  EXPECT_EQ(workspace.NewXRayBasic(kTypeName, false, prompts), -1);
  EXPECT_EQ(workspace.XRayPosition(workspace.Current()), 9);
  TCommandStates full = workspace.Commands();
  EXPECT_FALSE(full.AddObject || full.Duplicate);
  EXPECT_TRUE(full.CurrentObject && full.AnyOccupied && full.GetCoordinates && full.SetAsReference);
  EXPECT_FALSE(full.ReferenceTicked);

  workspace.Current()->Digitizing = true;
  EXPECT_FALSE(workspace.Commands().GetCoordinates || workspace.Commands().SetAsReference);
}

TEST_F(WorkspaceTest, SavingAppendsThenAsksBeforeReplacing) {
  TWorkspace workspace(options);
  TRadiograph* xray = NewXRay(workspace, "Smith");
  ASSERT_TRUE(workspace.Save(*xray, prompts));
  EXPECT_TRUE(prompts.Shown.empty());

  prompts.Answers = {TAnswer::No};
  EXPECT_FALSE(workspace.Save(*xray, prompts));
  ASSERT_EQ(prompts.Shown.size(), 1u);
  EXPECT_EQ(prompts.Shown[0], "'Smith': Radiograph is already present in file.\r\n\r\nReplace existing radiograph ?");

  prompts.Answers = {TAnswer::Yes};
  EXPECT_TRUE(workspace.Save(*xray, prompts));
  TScriptedPrompts none;
  TWorkspace reopened(options);
  EXPECT_EQ(reopened.OpenRecords("PATIENT.CSV", {1}, false, none), 1);
  EXPECT_EQ(reopened.Current()->Name, "Smith");
}

// The guarded commands of the workspace ask the level before they act: a guest may trace
// but not save, a user may save a new record but not replace one, and neither touches the
// file when refused.
TEST_F(WorkspaceTest, SavingAndTypesAskTheUserLevelFirst) {
  const std::string denied = "Sorry, you don't have permission for this action.\r\n\r\nUser Level: ";
  TWorkspace workspace(options);
  workspace.SetUserLevels(TUserLevels(TUserLevel::Guest, {"Save", "OpenType", "NewType"}));
  TRadiograph* xray = NewXRay(workspace, "Smith");
  EXPECT_FALSE(workspace.Save(*xray, prompts));
  EXPECT_EQ(workspace.OpenType(folder.File("types/lateral_ceph.lcr"), prompts), -1);
  EXPECT_EQ(workspace.NewType(folder.File("new.lcr"), prompts), -1);
  EXPECT_EQ(prompts.Shown, std::vector<std::string>(3, denied + "Guest"));
  EXPECT_FALSE(std::filesystem::exists(folder.File("PATIENT.CSV")));
  EXPECT_FALSE(std::filesystem::exists(folder.File("new.lcr")));

  prompts.Shown.clear();
  workspace.SetUserLevels(TUserLevels(TUserLevel::User, {"SaveReplace", "SaveType"}));
  ASSERT_TRUE(workspace.Save(*xray, prompts));
  const auto saved = std::filesystem::last_write_time(folder.File("PATIENT.CSV"));
  prompts.Answers = {TAnswer::Yes};  // replace it? yes, but the level says no
  EXPECT_FALSE(workspace.Save(*xray, prompts));
  ASSERT_EQ(prompts.Shown.size(), 2u);
  EXPECT_EQ(prompts.Shown[1], denied + "User");
  EXPECT_EQ(std::filesystem::last_write_time(folder.File("PATIENT.CSV")), saved);
  const int type = workspace.OpenType(folder.File("types/lateral_ceph.lcr"), prompts);
  ASSERT_GE(type, 0);
  EXPECT_FALSE(workspace.Save(*workspace.Slot(type), prompts));
  EXPECT_EQ(prompts.Shown.back(), denied + "User");
}

TEST_F(WorkspaceTest, OpeningFillsTheFreeSlotsAndReportsBadRecords) {
  {
    TWorkspace writer(options);
    for (int i = 0; i < 6; ++i) ASSERT_TRUE(writer.Save(*NewXRay(writer, "P" + std::to_string(i)), prompts));
    writer.CloseAll(prompts);
    for (int i = 6; i < 12; ++i) ASSERT_TRUE(writer.Save(*NewXRay(writer, "P" + std::to_string(i)), prompts));
  }
  TWorkspace workspace(options);
  EXPECT_EQ(workspace.OpenRecords("PATIENT.CSV", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, false, prompts), 10);
  EXPECT_EQ(prompts.Shown, (std::vector<std::string>{"2 of the 12 chosen records were not opened: all 10 places hold "
                                                      "an object. Close some and open the rest again."}));
  prompts.Shown.clear();
  EXPECT_EQ(workspace.Slot(9)->Name, "P9");
  EXPECT_TRUE(workspace.IsCurrent(workspace.Slot(9)));

  TWorkspace other(options);
  EXPECT_EQ(other.OpenRecords("PATIENT.CSV", {40, 1}, false, prompts), 1);
  ASSERT_EQ(prompts.Shown.size(), 1u);
  EXPECT_EQ(prompts.Shown[0], "Error loading radiograph. Error number: 2");
  EXPECT_EQ(other.OpenRecords("PATIENT.CSV", {40}, true, prompts), -2);
}

TEST_F(WorkspaceTest, SortOrdersByNameThenDateTaken) {
  TWorkspace workspace(options);
  NewXRay(workspace, "B");
  NewXRay(workspace, "A", 730000);
  NewXRay(workspace, "A", 729000);
  workspace.Sort();
  EXPECT_EQ(workspace.Slot(0)->DateTaken, 729000);
  EXPECT_EQ(workspace.Slot(1)->DateTaken, 730000);
  EXPECT_EQ(workspace.Slot(2)->Name, "B");
  EXPECT_TRUE(workspace.IsCurrent(workspace.Slot(0)));
}

TEST_F(WorkspaceTest, MovingShiftsTheRowsBetweenDown) {
  TWorkspace workspace(options);
  for (int i = 0; i < 6; ++i) NewXRay(workspace, "P" + std::to_string(i));
  EXPECT_TRUE(workspace.CanDrop(5, 2));
  ASSERT_TRUE(workspace.MoveToPosition(5, 2));
  const std::vector<std::string> expected = {"P0", "P1", "P5", "P2", "P3", "P4"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(workspace.Slot(i)->Name, expected[static_cast<size_t>(i)]);

  for (int i = 6; i < kSlotCount; ++i) NewXRay(workspace, "P" + std::to_string(i));
  EXPECT_FALSE(workspace.CanDrop(2, 7));
  EXPECT_FALSE(workspace.MoveToPosition(2, 7));
  EXPECT_EQ(workspace.Slot(2)->Name, "P5");
}

TEST_F(WorkspaceTest, TheReferenceIsASlotNotAnObject) {
  TWorkspace workspace(options);
  NewXRay(workspace, "A");
  TRadiograph* b = NewXRay(workspace, "B");
  workspace.SetAsReference();
  EXPECT_EQ(workspace.ReferenceSlot(), 1);
  EXPECT_EQ(workspace.Reference(), b);
  EXPECT_TRUE(workspace.Commands().ReferenceTicked);
  EXPECT_EQ(workspace.GetCoordinatesRefusal(), std::string(kNoReferenceMessage));

  workspace.SetCurrent(workspace.Slot(0));
  EXPECT_EQ(workspace.GetCoordinatesRefusal(), std::string(kNoPointsSelectedMessage));

  workspace.SetCurrent(b);
  ASSERT_TRUE(workspace.CloseCurrent(prompts));
  EXPECT_EQ(workspace.ReferenceSlot(), 1);
  EXPECT_EQ(workspace.Reference(), nullptr);
  ASSERT_GE(workspace.OpenType(kExampleType, prompts), 0);
  EXPECT_EQ(workspace.XRayPosition(workspace.Current()), 1);
  EXPECT_EQ(workspace.Reference(), nullptr);
  EXPECT_EQ(workspace.GetCoordinatesRefusal(), std::string(kNoReferenceMessage));
}

TEST_F(WorkspaceTest, ClosingOffersToSaveAndCancelKeepsTheRest) {
  TWorkspace workspace(options);
  for (const char* name : {"A", "B", "C"}) NewXRay(workspace, name)->Modified = false;
  workspace.Slot(1)->Modified = true;

  prompts.Answers = {TAnswer::Cancel, TAnswer::Cancel};
  EXPECT_FALSE(workspace.AskAndSave(prompts));
  EXPECT_FALSE(workspace.CloseAll(prompts));
  EXPECT_EQ(prompts.Offered, (std::vector<std::string>{"B", "B"}));
  EXPECT_EQ(workspace.Slot(0), nullptr);
  EXPECT_EQ(workspace.Slot(1)->Name, "B");
  EXPECT_EQ(workspace.Slot(2)->Name, "C");

  prompts.Answers = {TAnswer::No};
  EXPECT_TRUE(workspace.CloseAll(prompts));
  EXPECT_FALSE(workspace.AnyOccupied());
  EXPECT_EQ(workspace.Current(), nullptr);
}

TEST_F(WorkspaceTest, TheSavePromptDescribesImageAndTracing) {
  TXRay xray;
  xray.Modified = false;  // a new radiograph counts as changed
  EXPECT_FALSE(NeedsSavePrompt(xray));
  TSavePromptText clean = SavePromptText(xray, {});
  EXPECT_EQ(clean.ImageLine, "Image saved.");
  EXPECT_EQ(clean.TracingLine, "Tracing saved.");

  xray.Modified = true;
  xray.ImageModified = true;
  EXPECT_TRUE(NeedsSavePrompt(xray));
  TSavePromptText lost = SavePromptText(xray, {});
  EXPECT_EQ(lost.ImageLine, "The image has not been saved\r\nand will be lost!");
  EXPECT_EQ(lost.TracingLine, "The tracing has changed!");
  EXPECT_TRUE(lost.CanSaveImage && lost.CanSaveTracing);
  xray.ImageFile = "/images/ceph.jpg";
  EXPECT_EQ(SavePromptText(xray, {}).ImageLine, "The image has changed.");
}

TEST_F(WorkspaceTest, DuplicateCopiesTheCurrentRadiograph) {
  TWorkspace workspace(options);
  NewXRay(workspace, "Smith");
  EXPECT_EQ(workspace.Duplicate(), 1);
  EXPECT_EQ(workspace.Current()->Name, "Smith");
  EXPECT_EQ(workspace.Current()->Type(), workspace.Slot(0)->Type());
}

TEST_F(WorkspaceTest, SavingATypeBacksUpAndRetiresTheCachedOne) {
  TWorkspace workspace(options);
  TRadiograph* old = NewXRay(workspace, "Smith");
  TXRayType* cached = old->Type();
  const int slot = workspace.OpenType(folder.File("types/lateral_ceph.lcr"), prompts);
  ASSERT_GE(slot, 0);
  TRadiograph* edited = workspace.Slot(slot);

  prompts.Answers = {TAnswer::Yes};
  ASSERT_TRUE(workspace.Save(*edited, prompts));
  ASSERT_EQ(prompts.Shown.size(), 2u);
  EXPECT_EQ(prompts.Shown[0], "Saving 'Lateral Ceph' in:\r\n" + folder.File("types/lateral_ceph.lcr") +
                                  "\r\n\r\nFile exists and will be overwritten. Backup file ?");
  EXPECT_EQ(prompts.Shown[1], std::string(kReloadTypeMessage));
  EXPECT_TRUE(std::filesystem::exists(folder.File("types/lateral_ceph.1")));
  EXPECT_EQ(old->Type(), cached);
  EXPECT_NE(workspace.GetOrLoadType(kTypeName, false, prompts), cached);

  prompts.Answers = {TAnswer::Yes};
  ASSERT_TRUE(workspace.Save(*edited, prompts));
  EXPECT_TRUE(std::filesystem::exists(folder.File("types/lateral_ceph.2")));

  prompts.Answers = {TAnswer::Cancel};
  EXPECT_FALSE(workspace.Save(*edited, prompts));
  EXPECT_FALSE(std::filesystem::exists(folder.File("types/lateral_ceph.3")));
}

TEST_F(WorkspaceTest, NewTypeWantsTheLcrExtensionAndAsksBeforeErasing) {
  TWorkspace workspace(options);
  EXPECT_EQ(workspace.NewType(folder.File("types/new.txt"), prompts), -1);
  EXPECT_EQ(prompts.Shown.back(), std::string(kNotLcrMessage));

  prompts.Answers = {TAnswer::No};
  EXPECT_EQ(workspace.NewType(folder.File("types/lateral_ceph.lcr"), prompts), -1);
  EXPECT_EQ(prompts.Shown.back(), std::string(kFileErasedQuestion));

  const int slot = workspace.NewType(folder.File("types/new.LCR"), prompts);
  ASSERT_GE(slot, 0);
  EXPECT_TRUE(workspace.Slot(slot)->IsType());
  EXPECT_TRUE(std::filesystem::exists(folder.File("types/new.LCR")));
}

}  // namespace
}  // namespace lumacet
