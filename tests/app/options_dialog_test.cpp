// The options dialog: entries that cannot be taken leave the settings alone; taken ones
// reach the program at once and the settings file when the program ends.
#include "app/options_dialog.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QSpinBox>
#include <QTabWidget>

#include <filesystem>

#include "app/main_window.h"
#include "app/radiograph_dialogs.h"
#include "app/slot_list.h"
#include "ui_test_support.h"

namespace lumacet {
namespace {

using test::Child;
using test::TRecordingPrompts;

TEST(OptionsDialogTest, EntriesThatCannotBeTakenAreRefusedAndChangeNothing) {
  test::TExampleFolder example;
  TSettings settings = example.Settings;
  const TSettings before = settings;
  TRecordingPrompts prompts;
  int applied = 0;
  TLCOptions dialog(settings, prompts, TTextFormats{}, {"Lateral Ceph"}, [&] { ++applied; });
  EXPECT_EQ(Child<QComboBox>(&dialog, "defaultType")->currentText(), "");
  Child<QSpinBox>(&dialog, "gridDensity")->setValue(33);

  struct TCase {
    const char* field;
    const char* text;
    std::string expected;
  };
  const std::vector<TCase> cases = {
      {"defaultDob", "31/02/70", TText(kIncorrectDateMessage, {"31/12/1987"}).English()},
      {"defaultMagnification", "-100", TText(kBadMagnificationMessage).English()},
      {"defaultName", "Doe, Jane", "Bad input.\r\n\r\nCommas and double quotes cannot be used in names, dates and comments."},
      {"lcrPath", "/no/such/folder", "The folder \"/no/such/folder\" does not exist."},
  };
  for (const TCase& bad : cases) {
    QLineEdit* field = Child<QLineEdit>(&dialog, bad.field);
    const QString good = field->text();
    field->setText(QString::fromUtf8(bad.text));
    prompts.Shown.clear();
    dialog.accept();
    ASSERT_EQ(prompts.Shown.size(), 1u) << bad.field;
    EXPECT_EQ(prompts.Shown[0], bad.expected);
    EXPECT_EQ(dialog.focusWidget(), field);
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(settings == before);
    field->setText(good);
  }
  EXPECT_EQ(applied, 0);
  EXPECT_TRUE(dialog.Apply());
  EXPECT_EQ(applied, 1);
  EXPECT_EQ(settings.View.GridDensity, 33);
  settings.View.GridDensity = before.View.GridDensity;
  EXPECT_TRUE(settings == before);  // everything else came back as it was shown
}

TEST(OptionsDialogTest, ChoicesRoundTripThroughTheSettingsFileAndReachTheIconColumn) {
  test::TExampleFolder example;
  const std::filesystem::path config = example.Folder.Path() / "config";
  const std::string settingsPath = DefaultSettingsPath("/usr/bin/lumacet", [&](const char* name) -> const char* {
    static std::string value;
    value = config.string();
    return std::string_view(name) == "XDG_CONFIG_HOME" ? value.c_str() : nullptr;
  });
  ASSERT_EQ(settingsPath, (config / "lumacet" / "lumacet.ini").string());
  std::filesystem::create_directory(example.Folder.Path() / "types");

  {
    TMainWindow window(example.Settings, settingsPath);
    ASSERT_GE(window.OpenPatient("Emma Lindqvist"), 1);
    auto* column = window.findChild<TSlotList*>();
    ASSERT_NE(column, nullptr);
    EXPECT_EQ(column->item(0)->text(), "Emma Lindqvist");

    test::WhenModal("Options", [&](QWidget* modal) {
      auto* dialog = qobject_cast<TLCOptions*>(modal);
      ASSERT_NE(dialog, nullptr);
      Child<QSpinBox>(dialog, "gridDensity")->setValue(35);
      Child<QComboBox>(dialog, "title")->setCurrentIndex(2);  // "Initials and Age"
      Child<QComboBox>(dialog, "ageFormat")->setCurrentIndex(4);  // "Days"
      Child<QLineEdit>(dialog, "defaultMagnification")->setText("12.5");
      Child<QLineEdit>(dialog, "lcrPath")->setText(QString::fromStdString((example.Folder.Path() / "types").string()));
      Child<QComboBox>(dialog, "defaultSex")->setCurrentIndex(0);
      Child<TColourButton>(dialog, "penColour3")->SetColour(0x123456);
      Child<QCheckBox>(dialog, "viewGrid")->setChecked(false);
      Child<QListWidget>(dialog, "styles")->setCurrentRow(2);
      Child<QSpinBox>(dialog, "styleSize")->setValue(14);
      Child<QCheckBox>(dialog, "styleBold")->setChecked(true);
      Child<QListWidget>(dialog, "styles")->setCurrentRow(0);
      dialog->accept();
    });
    window.Command("file.options")->trigger();

    EXPECT_EQ(window.Settings().View.GridDensity, 35);
    EXPECT_FALSE(window.Command("view.grid")->isChecked());
    EXPECT_EQ(window.Workspace().Options().Folders.TypeFolder, (example.Folder.Path() / "types").string());
    // 13/9/2018 - 14/3/2009 is 3470 days.
    EXPECT_EQ(column->item(0)->text(), "EL 3470");
    window.close();  // the settings are written as the program ends
  }

  TSettings read = TSettings::Defaults("/elsewhere");
  ASSERT_TRUE(read.Load(settingsPath));
  EXPECT_EQ(read.View.GridDensity, 35);
  EXPECT_FALSE(read.View.ViewGrid);
  EXPECT_EQ(read.Radiograph.Title, 2);
  EXPECT_EQ(read.Radiograph.AgeFormat, 4);
  EXPECT_EQ(read.Radiograph.DefaultMagnification, "12.5");
  EXPECT_FALSE(read.Radiograph.DefaultSex);
  EXPECT_EQ(read.Radiograph.PositionPens[3].Colour, 0x123456u);
  EXPECT_EQ(read.General.LcrPath, (example.Folder.Path() / "types").string());
  EXPECT_EQ(read.Styles[2].Size, 14);
  EXPECT_TRUE(read.Styles[2].Bold);
  EXPECT_EQ(read.Styles[0], example.Settings.Styles[0]);
}

TEST(OptionsDialogTest, TheLanguageIsChosenForTheNextStartAndTheUserIsToldSo) {
  test::TExampleFolder example;
  TSettings settings = example.Settings;
  settings.General.Language = "fr";  // chosen once; its pack has gone since
  TRecordingPrompts prompts;
  TLCOptions dialog(settings, prompts, TTextFormats{}, {"Lateral Ceph"}, {});
  auto* language = Child<QComboBox>(&dialog, "language");
  ASSERT_GE(language->count(), 2);
  EXPECT_EQ(language->itemText(0), QStringLiteral("English US (default)"));
  EXPECT_EQ(language->currentText(), QStringLiteral("Français"));

  // Unchanged, OK stores nothing and says nothing.
  ASSERT_TRUE(dialog.Apply());
  EXPECT_EQ(settings.General.Language, "fr");

  QString told;
  test::WhenModal("Lumacet", [&told](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    told = box->text();
    box->accept();
  });
  language->setCurrentIndex(0);
  ASSERT_TRUE(dialog.Apply());
  EXPECT_EQ(settings.General.Language, "");
  EXPECT_EQ(told, QStringLiteral("Selected Language: English US (default)\n\nChange of language will be affected after "
                                 "you restart Lumacet."));
}

}  // namespace
}  // namespace lumacet
