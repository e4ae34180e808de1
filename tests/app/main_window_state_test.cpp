#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>
#include <QToolBar>
#include <QWidgetAction>

#include "app/main_window.h"
#include "app/record_browser_dialog.h"
#include "app/slot_list.h"
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

TEST(MainWindowStateTest, EverythingOnTheToolBarsShowsInANarrowWindowAtLargerFontsWithItsIcon) {
  TExampleFolder example;
  const QFont usual = QApplication::font();
  struct TCase {
    int Width;
    int ExtraPoints;
    Qt::ToolButtonStyle Style;
  };
  for (const TCase& sight : {TCase{1100, 0, Qt::ToolButtonFollowStyle}, TCase{1024, 0, Qt::ToolButtonFollowStyle},
                             TCase{1024, 3, Qt::ToolButtonFollowStyle}, TCase{1024, 0, Qt::ToolButtonTextBesideIcon}}) {
    QFont larger = usual;
    larger.setPointSizeF(usual.pointSizeF() + sight.ExtraPoints);
    QApplication::setFont(larger);
    TMainWindow window(example.Settings, example.Folder.File("lumacet.ini"));
    window.setToolButtonStyle(sight.Style);
    window.show();
    window.resize(sight.Width, 700);
    QApplication::processEvents();
    const std::string seen = std::to_string(sight.Width) + " px, +" + std::to_string(sight.ExtraPoints) + " pt, style " +
                             std::to_string(sight.Style);
    const QList<QToolBar*> bars = window.findChildren<QToolBar*>();
    ASSERT_FALSE(bars.isEmpty());
    int combos = 0;
    for (QToolBar* bar : bars) {
      for (QAction* action : bar->actions()) {
        QWidget* shown = bar->widgetForAction(action);
        ASSERT_NE(shown, nullptr);
        EXPECT_TRUE(shown->isVisible()) << seen << ": " << action->text().toStdString();
        if (qobject_cast<QComboBox*>(shown) != nullptr) {
          ++combos;
        } else if (qobject_cast<QWidgetAction*>(action) == nullptr) {
          // The bare server has no icon theme: the program's own theme answers.
          EXPECT_FALSE(action->icon().pixmap(24).isNull()) << action->objectName().toStdString() << " has no icon";
        }
      }
    }
    EXPECT_EQ(combos, 4) << "the zoom box, the analysis and view lists and the superimposition chooser";
  }
  QApplication::setFont(usual);
}

TEST(MainWindowStateTest, TheWindowItsIconColumnAndItsToolBarsOpenWhereTheyWereLeft) {
  TExampleFolder example;
  const std::string path = example.Folder.File("lumacet.ini");
  example.Settings.General.MainWindowRect = "30 40 760 520";
  example.Settings.General.IconAreaWidth = 230;
  TToolbarSetting tools;
  tools.Caption = "Tools";
  tools.Visible = false;
  example.Settings.View.SetToolbar(tools);
  {
    TMainWindow window(example.Settings, path);
    window.show();
    EXPECT_EQ(window.geometry(), QRect(30, 40, 760, 520));
    EXPECT_EQ(window.findChild<TSlotList*>()->width(), 230);
    EXPECT_TRUE(window.findChild<QToolBar*>("Tools")->isHidden());
    EXPECT_FALSE(window.findChild<QToolBar*>("Standard")->isHidden());

    window.setGeometry(50, 60, 700, 500);
    window.findChild<QToolBar*>("Standard")->hide();
    window.findChild<QToolBar*>("Tools")->show();
    window.Command("file.save_settings")->trigger();
  }
  TSettings saved;
  ASSERT_TRUE(saved.Load(path));
  EXPECT_EQ(saved.General.MainWindowRect, "50 60 700 500");
  EXPECT_EQ(saved.General.IconAreaWidth, 230);
  EXPECT_FALSE(saved.View.Toolbar("Standard").Visible);
  EXPECT_TRUE(saved.View.Toolbar("Tools").Visible);
}

TEST(MainWindowStateTest, ADamagedOrOffScreenPlaceGivesTheDefaultWindow) {
  for (const char* place : {"Default", "1 2 3", "10 10 20 20", "a b c d", "10 10 800 600 7", "99999 99999 800 600"}) {
    SCOPED_TRACE(place);
    TExampleFolder example;
    example.Settings.General.MainWindowRect = place;
    TMainWindow window(example.Settings, example.Folder.File("lumacet.ini"));
    EXPECT_GE(window.width(), 700);
    EXPECT_GE(window.height(), 500);
    EXPECT_LT(window.x(), 90000);
  }
}

}  // namespace
}  // namespace lumacet
