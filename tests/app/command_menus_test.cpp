// The main window's menus and tool bars hold the engine's commands: each action is a command
// of the table, sits in the menu its identifier names and shows the table's caption, and the
// table has no command the window lacks.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QWidgetAction>

#include <set>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "shell/commands.h"
#include "ui_test_support.h"

namespace lumacet {
namespace {

// Every command of `menu` and its submenus, checked against the table as it goes.
void CollectMenu(const QMenu& menu, const std::string& menuId, std::set<std::string>& found) {
  for (QAction* action : menu.actions()) {
    if (action->isSeparator()) continue;
    if (action->menu() != nullptr) {
      // A submenu that is a command of its own lists the user's things (recent files), not commands.
      const std::string submenuId = action->menu()->objectName().toStdString();
      if (FindCommand(submenuId) != nullptr) {
        EXPECT_TRUE(found.insert(submenuId).second) << submenuId << " twice";
      } else {
        CollectMenu(*action->menu(), menuId, found);
      }
      continue;
    }
    const std::string id = action->objectName().toStdString();
    const TCommand* command = FindCommand(id);
    ASSERT_NE(command, nullptr) << "\"" << action->text().toStdString() << "\" in " << menuId << " is not in the table";
    EXPECT_EQ(id.substr(0, id.find('.')), menuId) << id;
    if (!command->CaptionFollowsState) {
      EXPECT_EQ(action->text(), QString::fromUtf8(command->Caption.Source)) << id;
    }
    EXPECT_TRUE(found.insert(id).second) << id << " twice";
  }
}

TEST(CommandMenusTest, EveryMenuEntryIsACommandOfTheTableAndEveryCommandIsShown) {
  test::TExampleFolder example;
  TMainWindow window(example.Settings, example.Folder.File("lumacet.ini"));

  std::set<std::string> shown;
  std::vector<std::string> menuOrder;
  for (QAction* top : window.menuBar()->actions()) {
    QMenu* menu = top->menu();
    ASSERT_NE(menu, nullptr) << top->text().toStdString();
    const std::string menuId = menu->objectName().toStdString();
    const TMenu* entry = FindMenu(menuId);
    ASSERT_NE(entry, nullptr) << menu->title().toStdString();
    EXPECT_EQ(menu->title(), QString::fromUtf8(entry->Caption.Source)) << menuId;
    menuOrder.push_back(menuId);
    CollectMenu(*menu, menuId, shown);
  }
  std::vector<std::string> tableOrder;
  for (const TMenu& menu : Menus()) tableOrder.emplace_back(menu.Id);
  EXPECT_EQ(menuOrder, tableOrder);

  // Tool bars show menu commands again, and the blending bar has two of its own.
  for (const QToolBar* bar : window.findChildren<QToolBar*>()) {
    for (QAction* action : bar->actions()) {
      if (action->isSeparator() || qobject_cast<QWidgetAction*>(action) != nullptr) continue;
      const std::string id = action->objectName().toStdString();
      EXPECT_NE(FindCommand(id), nullptr) << "\"" << action->text().toStdString() << "\" on "
                                          << bar->windowTitle().toStdString() << " is not in the table";
      shown.insert(id);
    }
  }
  for (const TCommand& command : Commands())
    EXPECT_EQ(shown.count(std::string(command.Id)), 1u) << command.Id << " is in no menu or tool bar";
}

}  // namespace
}  // namespace lumacet
