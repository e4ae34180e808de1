#include "app/main_window.h"

#include <gtest/gtest.h>

#include <fstream>

#include <QAction>
#include <QApplication>
#include <QImage>

#include <filesystem>

#include "app/analysis_window.h"
#include "app/instance_lock.h"
#include "app/qt_prompts.h"
#include "common/office_check.h"
#include "shell/temp_folder.h"
#include "ui_test_support.h"

namespace lumacet {
namespace {

using test::Application;
using test::TNoPrompts;

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() {
    Application();
    std::filesystem::copy_file(std::string(LUMACET_SOURCE_DIR) + "/examples/lateral_ceph.lcr",
                               folder.File("lateral_ceph.lcr"));
    settings = TSettings::Defaults(folder.Path().string());
  }

  // Two radiographs of the example type with every point placed, in PATIENT.CSV.
  void WriteRecords() {
    TWorkspaceOptions options;
    options.Folders.TypeFolder = folder.Path().string();
    options.DataFolder = folder.Path().string();
    TWorkspace workspace(options);
    TNoPrompts prompts;
    for (const char* name : {"Smith", "Jones"}) {
      const int slot = workspace.NewXRayBasic("Lateral Ceph", false, prompts);
      ASSERT_GE(slot, 0);
      auto* xray = static_cast<TXRay*>(workspace.Slot(slot));
      xray->Name = name;
      xray->DateOfBirth = 720000;
      xray->DateTaken = 727000;
      xray->DataFile = "PATIENT.CSV";
      for (size_t i = 0; i < xray->Coordinates.size(); ++i) {
        xray->Coordinates[i]->SetX(800 + static_cast<double>((i * 137) % 700));
        xray->Coordinates[i]->SetY(700 + static_cast<double>((i * 71) % 800));
      }
      ASSERT_TRUE(workspace.Save(*xray, prompts));
    }
  }

  test::TTempFolder folder;
  TSettings settings;
};

TEST_F(MainWindowTest, CommandsFollowTheWorkspaceAndUnbuiltOnesStayDisabled) {
  TMainWindow window(settings, folder.File("lumacet.ini"));
  for (const char* id : {"file.properties", "type.browser", "tracing.digitize", "type.digitized_points",
                         "tools.page_translate"}) {
    QAction* action = window.Command(id);
    ASSERT_NE(action, nullptr) << id;
    EXPECT_FALSE(action->isEnabled()) << id;
  }
  for (const char* id : {"file.new", "file.open", "file.options"}) EXPECT_TRUE(window.Command(id)->isEnabled()) << id;
  EXPECT_FALSE(window.Command("file.save")->isEnabled());
  EXPECT_FALSE(window.Command("file.close_all")->isEnabled());
}

TEST_F(MainWindowTest, ThePatientOnTheCommandLineOpensAndIsDrawn) {
  WriteRecords();
  TMainWindow window(settings, folder.File("lumacet.ini"));
  window.resize(900, 640);
  window.show();
  EXPECT_EQ(window.OpenPatient("Jones"), 1);
  ASSERT_NE(window.Workspace().Current(), nullptr);
  EXPECT_EQ(window.Workspace().Current()->Name, "Jones");
  EXPECT_TRUE(window.Command("file.save")->isEnabled());
  EXPECT_TRUE(window.Command("file.duplicate")->isEnabled());

  const QImage picture = window.grab().toImage();
  if (const char* out = std::getenv("LUMACET_SCREENSHOT")) picture.save(QString::fromUtf8(out));
  // The drawing area shows more than its white ground and the grid.
  int dark = 0;
  for (int y = 0; y < picture.height(); y += 2)
    for (int x = picture.width() / 4; x < picture.width(); x += 2)
      if (qGray(picture.pixel(x, y)) < 90) ++dark;
  EXPECT_GT(dark, 200);

  const TPresentationOptions presentation;
  TAnalysisWindow analysis([&] { return window.Workspace().Current(); }, presentation,
                           AnalysisLayout(settings.Radiograph));
  EXPECT_FALSE(analysis.PlainText().isEmpty());
}

TEST_F(MainWindowTest, SendToWritesNewDocumentsThatTheirReadersOpenAndHandsThemToTheOpener) {
  if (!test::OfficeReadersPresent()) GTEST_SKIP() << "python3-openpyxl or python3-odf is not installed";
  WriteRecords();
  const std::string results = folder.File("results");
  std::filesystem::create_directory(results);
  settings.General.ResultsPath = results;
  settings.Ole.ExcelRow = 3;
  settings.Ole.ExcelCol = 2;
  TMainWindow window(settings, folder.File("lumacet.ini"));
  std::vector<std::string> opened;
  window.SetDocumentOpener([&](const std::string& path) {
    opened.push_back(path);
    return true;
  });
  for (const char* id : {"file.send_spreadsheet", "file.send_text_document", "file.send_presentation"})
    EXPECT_FALSE(window.Command(id)->isEnabled()) << id;
  ASSERT_EQ(window.OpenPatient("Jones"), 1);

  struct TSend {
    const char* Command;
    const char* Kind;
    const char* Expected;  // the start of what the reader prints
    const char* Within;    // and a line in it
  };
  // The spreadsheet starts at row 3, column B (the settings); the picture is 30 cm square on a
  // 28 x 21 cm slide, 85 % of its height and centred.
  for (const TSend& send : {TSend{"file.send_spreadsheet", "xlsx", "Analysis 3 2 ", "\nNoneType:|str:SNA|float:132.7|int:82|int:2\n"},
                            TSend{"file.send_text_document", "odt", "11\nAge|", "\nSNA|132.7°|82.0|2.0\n"},
                            TSend{"file.send_presentation", "odp", "1 1 Pictures/tracing.svg True svg 0 0 3000 3000\n"
                                                                   "5.075cm 1.575cm 17.850cm 17.850cm\n", ""}}) {
    SCOPED_TRACE(send.Command);
    ASSERT_TRUE(window.Command(send.Command)->isEnabled());
    const size_t before = opened.size();
    window.Command(send.Command)->trigger();
    ASSERT_EQ(opened.size(), before + 1);
    const std::string& path = opened.back();
    EXPECT_EQ(std::filesystem::path(path).parent_path(), std::filesystem::path(results));
    EXPECT_TRUE(std::filesystem::path(path).filename().string().starts_with("Jones-"));
    EXPECT_EQ(std::filesystem::path(path).extension(), std::string(".") + send.Kind);
    const std::string read = test::ReadOffice(send.Kind, path, folder);
    EXPECT_TRUE(read.starts_with(send.Expected)) << read;
    EXPECT_NE(read.find(send.Within), std::string::npos) << read;
  }
  // A second send is a document of its own: nothing is written over.
  window.Command("file.send_spreadsheet")->trigger();
  EXPECT_NE(opened.back(), opened.front());
  EXPECT_TRUE(std::filesystem::exists(opened.front()));
}

TEST_F(MainWindowTest, ClosingTheWindowWritesTheSettings) {
  {
    TMainWindow window(settings, folder.File("lumacet.ini"));
    window.show();
    EXPECT_TRUE(window.close());
  }
  TSettings read = TSettings::Defaults("/elsewhere");
  ASSERT_TRUE(read.Load(folder.File("lumacet.ini")));
  EXPECT_EQ(read.General.LcrPath, folder.Path().string());
}

TEST(InstanceLockTest, ASecondSessionSeesTheLockAndALeftoverLockIsTakenOver) {
  test::TTempFolder folder;
  const QString path = QString::fromStdString(folder.File("Lumacet3.lock"));
  {
    TInstanceLock first(path);
    EXPECT_TRUE(first.Acquired());
    TInstanceLock second(path);
    EXPECT_FALSE(second.Acquired());
  }
  {
    // A lock left by a session that no longer runs.
    std::ofstream leftover(folder.File("Lumacet3.lock"));
    leftover << "999999999\nlumacet\n" << QSysInfo::machineHostName().toStdString() << "\n";
  }
  TInstanceLock third(path);
  EXPECT_TRUE(third.Acquired());
}

TEST(DisplayTextTest, LineBreaksBecomeNewlinesOnlyForDisplay) {
  EXPECT_EQ(DisplayText(kAlreadyRunningQuestion),
            QString("Lumacet is already running.\nAre you sure you want to start another Lumacet session? "
                    "(not recommended)"));
}

}  // namespace
}  // namespace lumacet
