#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>
#include <QToolBar>

#include "app/main_window.h"
#include "app/record_browser_dialog.h"
#include "ui_test_support.h"

namespace lumacet {
namespace {

using test::TExampleFolder;

QCheckBox* SortByName(QWidget* browser) {
  for (QCheckBox* box : browser->findChildren<QCheckBox*>())
    if (box->text() == "Sort by &Name") return box;
  return nullptr;
}

TEST(MainWindowStateTest, TheRecordBrowserKeepsItsStateFromOneShowingToTheNext) {
  TExampleFolder example;
  TMainWindow window(example.Settings, example.Folder.File("lumacet.ini"));
  window.resize(1000, 700);
  window.show();

  TOpenXRayDlg* first = nullptr;
  QPoint place;
  test::WhenModal("File: ", [&](QWidget* modal) {
    first = qobject_cast<TOpenXRayDlg*>(modal);
    ASSERT_NE(first, nullptr);
    first->findChild<QLineEdit*>()->setText("a");
    SortByName(first)->setChecked(false);
    first->Table()->setColumnWidth(2, 133);
    place = first->pos() + QPoint(23, 17);
    first->move(place);
    test::ClickButton(first, "E&xit");
  });
  window.Command("file.open")->trigger();
  ASSERT_NE(first, nullptr);

  bool checked = false;
  test::WhenModal("File: ", [&](QWidget* modal) {
    auto* again = qobject_cast<TOpenXRayDlg*>(modal);
    EXPECT_EQ(again, first);
    EXPECT_EQ(again->findChild<QLineEdit*>()->text(), "a");
    EXPECT_FALSE(SortByName(again)->isChecked());
    EXPECT_EQ(again->Browser().Order, TRecordOrder::NoSort);
    EXPECT_EQ(again->Browser().FilterText, "a");
    EXPECT_EQ(again->Table()->columnWidth(2), 133);
    EXPECT_EQ(again->pos(), place);
    // Listed anew: only the rows that pass the kept filter.
    EXPECT_GT(again->Table()->rowCount(), 0);
    for (const TRecordRow& row : again->Browser().Rows())
      EXPECT_NE(row.Name.find_first_of("aA"), std::string::npos) << row.Name;
    checked = true;
    test::ClickButton(again, "E&xit");
  });
  window.Command("file.open")->trigger();
  EXPECT_TRUE(checked);
}

TEST(MainWindowStateTest, EverythingOnTheToolBarsShowsInANarrowWindow) {
  TExampleFolder example;
  TMainWindow window(example.Settings, example.Folder.File("lumacet.ini"));
  window.show();
  for (int width : {1100, 1024}) {
    window.resize(width, 700);
    QApplication::processEvents();
    const QList<QToolBar*> bars = window.findChildren<QToolBar*>();
    ASSERT_FALSE(bars.isEmpty());
    int combos = 0;
    for (QToolBar* bar : bars) {
      for (QAction* action : bar->actions()) {
        QWidget* shown = bar->widgetForAction(action);
        ASSERT_NE(shown, nullptr);
        EXPECT_TRUE(shown->isVisible()) << width << " " << action->text().toStdString();
        if (qobject_cast<QComboBox*>(shown) != nullptr) ++combos;
      }
    }
    EXPECT_EQ(combos, 4) << "the zoom box, the analysis and view lists and the superimposition chooser";
  }
}

}  // namespace
}  // namespace lumacet
