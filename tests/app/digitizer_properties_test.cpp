// The tablet dialogs offscreen: the properties dialog's test read-out from a tablet played
// into a pseudo-terminal, OK refusing what a tablet cannot be read with, and the options
// page adding, deleting and choosing definitions.
#include "app/digitizer_properties.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>

#include "app/options_dialog.h"
#include "ui_test_support.h"

namespace lumacet {
namespace {

using test::Child;

// Answers the next message box, keeping its text.
void AnswerMessage(QString& text) {
  test::WhenModal("Lumacet", [&text](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    text = box->text();
    if (QAbstractButton* ok = box->button(QMessageBox::Ok))
      ok->click();
    else
      box->close();
  });
}

TEST(DigitizerPropertiesTest, TheTestReadsTheTabletAndClosingStopsIt) {
  test::Application();
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) GTEST_SKIP() << "no pseudo-terminals";
  TDigitizer definition;
  definition.Port = ::ptsname(master);
  definition.Resolution = 40;
  const std::string before = definition.SettingsString();
  {
    TDigitizerProperties dialog(definition);
    dialog.show();
    auto* button = Child<QPushButton>(&dialog, "test");
    button->click();
    ASSERT_TRUE(dialog.Testing());
    EXPECT_EQ(button->text(), "Stop &Test");
    for (const char* control : {"useWinTab", "baudRate", "port", "controlString", "resolution"})
      EXPECT_FALSE(Child<QWidget>(&dialog, control)->isEnabled()) << control;

    ASSERT_EQ(::write(master, "F01000  02000 \r\n", 16), 16);
    auto* received = Child<QLabel>(&dialog, "testReceived");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !received->text().isEmpty(); }, 5000));
    EXPECT_EQ(Child<QLabel>(&dialog, "testX")->text(), "X: 250");
    EXPECT_EQ(Child<QLabel>(&dialog, "testY")->text(), "Y: -500");
    EXPECT_EQ(received->text(), "Received: F01000  02000 ");

    dialog.reject();
    EXPECT_FALSE(dialog.Testing());
    EXPECT_EQ(received->text(), "");
    EXPECT_EQ(button->text(), "Start &Test");
    EXPECT_TRUE(Child<QWidget>(&dialog, "baudRate")->isEnabled());
    EXPECT_FALSE(Child<QWidget>(&dialog, "winTabInfo")->isEnabled());
  }
  EXPECT_EQ(definition.SettingsString(), before);  // Cancel changes nothing

  // A vanished tablet ends the test with its message.
  {
    TDigitizerProperties dialog(definition);
    Child<QPushButton>(&dialog, "test")->click();
    ASSERT_TRUE(dialog.Testing());
    QString message;
    AnswerMessage(message);
    ::close(master);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog.Testing(); }, 5000));
    EXPECT_TRUE(message.startsWith("Read Error: ")) << message.toStdString();  // and the system's text
  }
}

TEST(DigitizerPropertiesTest, OkTakesTheControlsOnlyWhenATabletCanBeReadWithThem) {
  test::Application();
  TDigitizer definition;
  TDigitizerProperties dialog(definition);
  Child<QLineEdit>(&dialog, "resolution")->setText("0");
  QString message;
  AnswerMessage(message);
  dialog.accept();
  EXPECT_EQ(message, "The resolution must be a number of tablet counts per millimetre above 0.");
  EXPECT_EQ(definition.SettingsString(), TDigitizer::DefaultSettings());

  Child<QLineEdit>(&dialog, "resolution")->setText("39.5");
  Child<QComboBox>(&dialog, "stopBits")->setCurrentIndex(0);
  Child<QComboBox>(&dialog, "port")->setEditText("/dev/ttyUSB0");
  Child<QCheckBox>(&dialog, "useWinTab")->setChecked(true);
  EXPECT_FALSE(Child<QWidget>(&dialog, "baudRate")->isEnabled());
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(definition.SettingsString(), "WinTAB, FxxxxxSSyyyyySCL, /dev/ttyUSB0, 9600, Even, 8, 1, 39.5, 0.0");
}

TEST(DigitizerPropertiesTest, TheOptionsPageKeepsTheDefinitions) {
  test::Application();
  test::TExampleFolder example;
  TSettings settings = example.Settings;
  settings.Digitizers.Entries = {{"Generic", TDigitizer::DefaultSettings()}};
  settings.Digitizers.Default = "Generic";
  test::TRecordingPrompts prompts;
  TLCOptions dialog(settings, prompts, TTextFormats{}, {}, [] {});
  std::vector<std::string> asked;
  dialog.SetPermission([&](std::string_view action) {
    asked.emplace_back(action);
    return true;
  });
  auto* list = Child<QComboBox>(&dialog, "digitizers");
  EXPECT_EQ(Child<QLabel>(&dialog, "defaultDigitizer")->text(), "Generic");

  const auto add = [&](const QString& name) {
    test::WhenModal("New Digitizer", [name](QWidget* modal) {
      auto* input = qobject_cast<QInputDialog*>(modal);
      ASSERT_NE(input, nullptr);
      EXPECT_EQ(input->textValue(), "Generic");
      input->setTextValue(name);
      input->accept();
    });
    test::ClickButton(&dialog, "&Add...");
  };
  QString message;
  AnswerMessage(message);
  add("generic");
  EXPECT_EQ(message, "Digitizer already installed\n\nPlease use another name.");
  add("Summa");
  EXPECT_EQ(list->currentText(), "Summa");

  test::ClickButton(&dialog, "Set As De&fault");
  EXPECT_EQ(Child<QLabel>(&dialog, "defaultDigitizer")->text(), "Summa");
  AnswerMessage(message);
  test::ClickButton(&dialog, "&Delete");
  EXPECT_EQ(message, "Cannot Delete the Default Digitizer.");
  list->setCurrentIndex(0);
  test::ClickButton(&dialog, "&Delete");
  EXPECT_EQ(list->count(), 1);

  // Properties write the definition back even after Cancel: a short one is stored whole.
  settings.Digitizers.Entries.clear();
  dialog.Load();
  test::WhenModal("Properties of Generic", [](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
  test::ClickButton(&dialog, "&Properties...");
  EXPECT_EQ(list->count(), 0);

  settings.Digitizers.Entries = {{"Old", "xy, COM1"}};
  dialog.Load();
  AnswerMessage(message);
  test::WhenModal("Properties of Old", [](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); }, true);
  test::ClickButton(&dialog, "&Properties...");
  ASSERT_TRUE(dialog.Apply());
  EXPECT_EQ(settings.Digitizers.Entries,
            (std::vector<std::pair<std::string, std::string>>{{"Old", TDigitizer::DefaultSettings()}}));
  EXPECT_EQ(asked, (std::vector<std::string>{"DigitizerDefault", "DigitizerDelete", "DigitizerDelete",
                                             "DigitizerProperties"}));
}

}  // namespace
}  // namespace lumacet
