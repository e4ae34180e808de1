// The Type menu's editor commands open the editors the Tools menu opens.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>

#include "app/main_window.h"
#include "app/type_list_editors.h"
#include "ui_test_support.h"

namespace lumacet {
namespace {

TEST(TypeMenuTest, ShapeAnalysesOpensThePcaEditorOfATypeOpenedForEditing) {
  test::TExampleFolder example;
  TMainWindow window(example.Settings, example.Folder.File("lumacet.ini"));
  QAction* command = window.Command("type.shape_analyses");
  ASSERT_NE(command, nullptr);
  EXPECT_FALSE(command->isEnabled());

  // A radiograph's type is not the one the editor could save.
  ASSERT_EQ(window.OpenPatient("Olivia Marchetti"), 1);
  EXPECT_FALSE(command->isEnabled());

  test::TNoPrompts prompts;
  ASSERT_GE(window.Workspace().OpenType(example.Folder.File("lateral_ceph.lcr"), prompts), 0);
  window.Refresh();
  ASSERT_TRUE(command->isEnabled());
  QStringList shown;
  test::WhenModal("PCAs", [&](QWidget* editor) {
    auto* form = qobject_cast<TPCAsForm*>(editor);
    ASSERT_NE(form, nullptr);
    for (int i = 0; i < form->ElementList()->count(); ++i) shown << form->ElementList()->itemText(i);
    form->reject();
  });
  command->trigger();
  EXPECT_FALSE(shown.isEmpty());
}

}  // namespace
}  // namespace lumacet
