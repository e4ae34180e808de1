// A user's session with the example: open records through the browser, make one the
// reference, switch analyses and views, close with and without saving.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QMessageBox>
#include <QTableWidget>

#include "app/main_window.h"
#include "app/record_browser_dialog.h"
#include "model/xray.h"
#include "support/atomic_file.h"
#include "ui_test_support.h"

namespace lumacet {
namespace {

using test::ClickButton;
using test::WhenModal;

std::vector<std::string> Lines(const std::string& path) {
  std::string bytes;
  EXPECT_TRUE(ReadWholeFile(path, bytes));
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(bytes.substr(start, end - start));
  return lines;
}

size_t Differences(const std::vector<std::string>& a, const std::vector<std::string>& b) {
  size_t count = a.size() > b.size() ? a.size() - b.size() : b.size() - a.size();
  for (size_t i = 0; i < std::min(a.size(), b.size()); ++i) count += a[i] != b[i] ? 1 : 0;
  return count;
}

// Moves the first point of the current radiograph, as a drag would.
void MoveFirstPoint(TMainWindow& window) {
  auto* xray = dynamic_cast<TXRay*>(window.Workspace().Current());
  ASSERT_NE(xray, nullptr);
  xray->Coordinates.front()->SetX(xray->Coordinates.front()->GetX() + 37);
  xray->RecordChange(true, "Moved points.");
}

TEST(UserSessionTest, OpenThreeRecordsCompareThemAndCloseWithAndWithoutSaving) {
  test::TExampleFolder example;
  TMainWindow window(example.Settings, example.Folder.File("lumacet.ini"));
  window.resize(1100, 760);
  window.show();
  const std::vector<std::string> original = Lines(example.DataFile());

  // The browser: Emma Lindqvist's three radiographs, found by her first row and expanded.
  WhenModal("File: ", [](QWidget* modal) {
    auto* browser = dynamic_cast<TOpenXRayDlg*>(modal);
    ASSERT_NE(browser, nullptr);
    const auto& rows = browser->Browser().Rows();
    for (size_t row = 0; row < rows.size(); ++row) {
      if (rows[row].Name == "Emma Lindqvist") {
        emit browser->Table()->cellClicked(static_cast<int>(row), 1);
        break;
      }
    }
    ClickButton(browser, "&Expand Selection");
    EXPECT_EQ(browser->Browser().SelectedCount(), 3u);
    ClickButton(browser, "&Load and Exit");
  });
  window.Command("file.open")->trigger();
  int open = 0;
  for (int slot = 0; slot < kSlotCount; ++slot) open += window.Workspace().Slot(slot) != nullptr ? 1 : 0;
  ASSERT_EQ(open, 3);

  // The first one becomes the reference; the current one is compared with it.
  window.Workspace().SetCurrent(window.Workspace().Slot(0));
  window.Command("tracing.set_reference")->trigger();
  EXPECT_TRUE(window.Command("tracing.set_reference")->isChecked());
  window.Workspace().SetCurrent(window.Workspace().Slot(1));
  window.Refresh();
  EXPECT_EQ(window.Workspace().Reference(), window.Workspace().Slot(0));

  const auto combos = window.findChildren<QComboBox*>();
  ASSERT_GE(combos.size(), 2);
  QComboBox* analyses = nullptr;
  QComboBox* views = nullptr;
  for (QComboBox* combo : combos) {
    if (combo->findText("Steiner") >= 0) analyses = combo;
    if (combo->findText("<none>") >= 0) views = combo;
  }
  ASSERT_NE(analyses, nullptr);
  ASSERT_NE(views, nullptr);
  emit analyses->textActivated("Steiner");
  emit views->textActivated("Hard tissue");
  TRadiograph* current = window.Workspace().Current();
  ASSERT_NE(current->CurrentAnalysis, nullptr);
  EXPECT_EQ(current->CurrentAnalysis->Name, "Steiner");
  ASSERT_NE(current->CurrentView, nullptr);
  EXPECT_EQ(current->CurrentView->Name, "Hard tissue");
  ASSERT_NE(window.Command("view.comparative"), nullptr);
  window.Command("view.comparative")->trigger();
  EXPECT_FALSE(window.grab().isNull());
  emit views->textActivated("<all>");
  EXPECT_EQ(current->CurrentView, nullptr);

  // Closing a changed radiograph and saving its tracing rewrites its own line only, after
  // the question whether to replace it.
  MoveFirstPoint(window);
  WhenModal("Save", [](QWidget* prompt) { ClickButton(prompt, "&Save Tracing"); });
  WhenModal("Lumacet", [](QWidget* question) {
    auto* box = dynamic_cast<QMessageBox*>(question);
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->text().contains("already present"));
    box->button(QMessageBox::Yes)->click();
  });
  window.Command("file.close")->trigger();
  const std::vector<std::string> saved = Lines(example.DataFile());
  EXPECT_EQ(saved.size(), original.size());
  EXPECT_EQ(Differences(original, saved), 1u);

  // Closing another without saving leaves the file as it was.
  window.Workspace().SetCurrent(window.Workspace().Slot(0));
  window.Refresh();
  MoveFirstPoint(window);
  bool asked = false;
  WhenModal("Save", [&asked](QWidget* prompt) {
    asked = true;
    ClickButton(prompt, "&Don't Save");
  });
  window.Command("file.close")->trigger();
  EXPECT_TRUE(asked);
  EXPECT_EQ(Lines(example.DataFile()), saved);

  int left = 0;
  for (int slot = 0; slot < kSlotCount; ++slot) left += window.Workspace().Slot(slot) != nullptr ? 1 : 0;
  EXPECT_EQ(left, 1);
  EXPECT_TRUE(window.close());
}

// A guest at the reception desk: the options and deleting records are refused with the
// level named, and the data file stays as it was.
TEST(UserSessionTest, AGuestIsRefusedTheGuardedCommandsAndNothingChanges) {
  test::TExampleFolder example;
  TMainWindow window(example.Settings, example.Folder.File("lumacet.ini"));
  window.Workspace().SetUserLevels(TUserLevels(TUserLevel::Guest, {"Options", "Delete"}));
  window.show();
  const std::vector<std::string> original = Lines(example.DataFile());
  const QString refusal = "Sorry, you don't have permission for this action.\n\nUser Level: Guest";

  QStringList told;
  const auto answer = [&told](QWidget* box) {
    told << static_cast<QMessageBox*>(box)->text();
    static_cast<QMessageBox*>(box)->accept();
  };
  WhenModal("Lumacet", answer);
  window.Command("file.options")->trigger();
  EXPECT_EQ(told, QStringList{refusal});
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "no options dialog after the refusal";

  WhenModal("File: ", [&](QWidget* modal) {
    auto* browser = dynamic_cast<TOpenXRayDlg*>(modal);
    ASSERT_NE(browser, nullptr);
    emit browser->Table()->cellClicked(0, 1);
    WhenModal("Lumacet", answer);
    ClickButton(browser, "&Delete...");
    browser->reject();
  });
  window.Command("file.open")->trigger();
  EXPECT_EQ(told, (QStringList{refusal, refusal}));
  EXPECT_EQ(Lines(example.DataFile()), original);
}

}  // namespace
}  // namespace lumacet
