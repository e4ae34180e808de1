// The particulars dialogs: refusals in order with the field focused and nothing changed,
// a new radiograph saved into a data file, properties recorded and dropped by closing
// without saving, and the type's own properties.
#include "app/radiograph_dialogs.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <fstream>

#include "app/main_window.h"
#include "model/xray.h"
#include "support/atomic_file.h"
#include "ui_test_support.h"

namespace lumacet {
namespace {

using test::TRecordingPrompts;

QLineEdit* Field(QWidget* dialog, const char* name) { return test::Child<QLineEdit>(dialog, name); }

void Fill(QWidget* dialog, const char* name, const QString& text) { Field(dialog, name)->setText(text); }

std::string ReadText(const std::string& path) {
  std::string bytes;
  EXPECT_TRUE(ReadWholeFile(path, bytes));
  return bytes;
}

TTextFormats DayMonthYear() {
  TTextFormats formats;
  formats.ShortDateFormat = "dd/MM/yyyy";
  return formats;
}

TEST(RadiographDialogTest, RefusalsComeInOrderWithTheirFieldFocusedAndOkWaits) {
  test::Application();
  TRecordingPrompts prompts;
  TRadiographDialogContext context;
  context.Prompts = &prompts;
  context.Formats = DayMonthYear();
  context.TypeNames = {"Lateral Ceph"};
  TNewXRayDlg dialog(TNewXRayDlg::TMode::New, context);
  EXPECT_EQ(dialog.windowTitle(), "New Radiograph");
  Fill(&dialog, "name", "   ");
  Fill(&dialog, "dateOfBirth", "31/02/2001");
  Fill(&dialog, "dateTaken", "tomorrow");
  Fill(&dialog, "magnification", "-100");

  const std::string dateMessage =
      "Incorrect date format.\r\n\r\nDate format should be, for example: 31/12/1987";
  struct TStep {
    const char* fix;  // field corrected before the next OK
    const char* text;
    std::string expected;
    const char* focused;
  };
  const std::vector<TStep> steps = {
      {nullptr, nullptr, dateMessage, "dateOfBirth"},
      {"dateOfBirth", "2/3/2001", dateMessage, "dateTaken"},
      {"dateTaken", "1/3/2001", TText(kIncompatibleDatesMessage).English(), "dateOfBirth"},
      {"dateTaken", "2/3/2001", TText(kBadMagnificationMessage).English(), "magnification"},  // equal dates pass
      {"magnification", "1001", TText(kBadMagnificationMessage).English(), "magnification"},
      {"magnification", "-99.5", TText(kNameRequiredMessage).English(), "name"},
      {"name", "李",
       "Bad input.\r\n\r\nThe text holds a character that a radiograph file cannot store.", "name"},
      {"name", "Smith, John", "Bad input.\r\n\r\nCommas and double quotes cannot be used in names, dates and comments.",
       "name"},
  };
  for (const TStep& step : steps) {
    if (step.fix != nullptr) Fill(&dialog, step.fix, QString::fromUtf8(step.text));
    prompts.Shown.clear();
    dialog.accept();
    ASSERT_EQ(prompts.Shown.size(), 1u);
    EXPECT_EQ(prompts.Shown[0], step.expected);
    EXPECT_EQ(dialog.focusWidget(), Field(&dialog, step.focused)) << step.focused;
    EXPECT_NE(dialog.result(), QDialog::Accepted);
  }
  Fill(&dialog, "name", QString::fromUtf8("Zoë Smith"));
  prompts.Shown.clear();
  dialog.accept();
  EXPECT_TRUE(prompts.Shown.empty());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(RadiographDialogTest, QuotesAndCommasCannotBeTypedOrPasted) {
  test::Application();
  TRadiographDialogContext context;
  TNewXRayDlg dialog(TNewXRayDlg::TMode::New, context);
  QLineEdit* name = Field(&dialog, "name");
  name->setText("Ann");
  name->end(false);
  QKeyEvent quote(QEvent::KeyPress, Qt::Key_QuoteDbl, Qt::NoModifier, QStringLiteral("\""));
  QApplication::sendEvent(name, &quote);
  name->insert(QStringLiteral("a,b"));
  EXPECT_EQ(name->text(), "Ann");
  QLineEdit* magnification = Field(&dialog, "magnification");
  magnification->setText("8");
  magnification->end(false);
  QApplication::sendEvent(magnification, &quote);
  EXPECT_EQ(magnification->text(), "8");
  EXPECT_EQ(name->maxLength(), 30);
  EXPECT_EQ(Field(&dialog, "comments")->maxLength(), 30);
  EXPECT_EQ(Field(&dialog, "dateTaken")->maxLength(), 10);
}

class RadiographCommandsTest : public ::testing::Test {
 protected:
  test::TExampleFolder example;
};

TEST_F(RadiographCommandsTest, NewRadiographThenSaveAppendsItsRecord) {
  example.Settings.Radiograph.DefaultType = "Lateral Ceph";
  TMainWindow window(example.Settings, example.Folder.File("lumacet.ini"));
  const std::string before = ReadText(example.DataFile());
  test::WhenModal("New Radiograph", [&](QWidget* modal) {
    auto* dialog = qobject_cast<TNewXRayDlg*>(modal);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->TypeName(), "Lateral Ceph");
    EXPECT_EQ(Field(dialog, "dataFile")->text(), "PATIENT.CSV");
    Fill(dialog, "name", "Noah Berg");
    Fill(dialog, "dateOfBirth", "1/2/2010");
    Fill(dialog, "dateTaken", "15/6/2021");
    Fill(dialog, "magnification", "9.5");
    Fill(dialog, "comments", "First visit");
    dialog->findChild<QRadioButton*>("male")->setChecked(true);
    dialog->accept();
  });
  // No picture: the new radiograph is digitized on the screen alone.
  test::WhenModal("Select Digitizing Input", [](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
  window.Command("file.new")->trigger();
  TRadiograph* current = window.Workspace().Current();
  ASSERT_NE(current, nullptr);
  EXPECT_EQ(current->Name, "Noah Berg");
  // What every patient's radiograph shares is remembered, the patient is not: the next
  // "New..." starts without Noah's name.
  EXPECT_EQ(window.Settings().Radiograph.DefaultMagnification, "9.5");
  test::WhenModal("New Radiograph", [](QWidget* modal) {
    EXPECT_EQ(Field(modal, "name")->text(), "");
    EXPECT_EQ(Field(modal, "magnification")->text(), "9.5");
    static_cast<QDialog*>(modal)->reject();
  });
  window.Command("file.new")->trigger();
  window.Workspace().SetCurrent(current);

  window.Command("file.save")->trigger();
  const std::string after = ReadText(example.DataFile());
  ASSERT_EQ(after.substr(0, before.size()), before);
  const std::string added = after.substr(before.size());
  EXPECT_EQ(added.substr(0, 112),
            "Noah Berg                     ,1/2/2010  ,M,15/6/2021 ,9.5  ,First visit                   ,Lateral Ceph        ");
  EXPECT_EQ(added.substr(added.size() - 2), "\r\n");
}

TEST_F(RadiographCommandsTest, PropertiesAreRecordedAndLostByClosingWithoutSaving) {
  TMainWindow window(example.Settings, example.Folder.File("lumacet.ini"));
  ASSERT_GE(window.OpenPatient("Emma Lindqvist"), 1);
  auto* xray = static_cast<TXRay*>(window.Workspace().Current());
  const std::string before = ReadText(example.DataFile());
  test::WhenModal("Properties", [&](QWidget* modal) {
    auto* dialog = qobject_cast<TNewXRayDlg*>(modal);
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(dialog->findChild<QComboBox*>("type")->isEnabled());
    EXPECT_EQ(Field(dialog, "name")->text(), "Emma Lindqvist");
    Fill(dialog, "name", "Emma Lind");
    Fill(dialog, "magnification", "10");
    dialog->accept();
  });
  window.Command("file.properties")->trigger();
  EXPECT_EQ(xray->Name, "Emma Lind");
  EXPECT_EQ(xray->Magnification, 10);
  EXPECT_TRUE(xray->Modified);
  EXPECT_EQ(xray->ChangeHistory.back(), "Changed Properties.");

  test::WhenModal("Save", [](QWidget* prompt) { test::ClickButton(prompt, "&Don't Save"); });
  window.Command("file.close")->trigger();
  EXPECT_EQ(window.Workspace().Current(), nullptr);
  EXPECT_EQ(ReadText(example.DataFile()), before);
  ASSERT_GE(window.OpenPatient("Emma Lindqvist"), 1);
  EXPECT_EQ(window.Workspace().Current()->Magnification, 8);
}

TEST_F(RadiographCommandsTest, DuplicateShowsThePropertiesOfTheCopy) {
  TMainWindow window(example.Settings, example.Folder.File("lumacet.ini"));
  ASSERT_EQ(window.OpenPatient("Emma Lindqvist"), 3);
  TRadiograph* original = window.Workspace().Current();
  test::WhenModal("Properties", [&](QWidget* modal) {
    EXPECT_EQ(Field(modal, "name")->text(), "Emma Lindqvist");
    Fill(modal, "name", "Emma Copy");
    qobject_cast<QDialog*>(modal)->accept();
  });
  window.Command("file.duplicate")->trigger();
  EXPECT_EQ(window.Workspace().XRayPosition(window.Workspace().Current()), 3);
  EXPECT_EQ(window.Workspace().Current()->Name, "Emma Copy");
  EXPECT_EQ(original->Name, "Emma Lindqvist");
}

TEST(TypePropertiesDialogTest, NameAndPictureAreCheckedAndTheChangeRecorded) {
  test::Application();
  test::TTempFolder folder;
  TRecordingPrompts prompts;
  TXRayType type;
  TTypePropertiesDlg dialog(prompts);
  dialog.ShowType(type);
  EXPECT_EQ(Field(&dialog, "name")->text(), "Radiograph Type");

  Fill(&dialog, "name", " Lateral");
  dialog.accept();
  ASSERT_EQ(prompts.Shown.size(), 1u);
  EXPECT_EQ(prompts.Shown[0], "Bad input.\r\n\r\nA radiograph type name cannot begin or end with a blank.");
  EXPECT_EQ(dialog.focusWidget(), Field(&dialog, "name"));
  EXPECT_NE(dialog.result(), QDialog::Accepted);

  {
    std::ofstream notPicture(folder.File("notes.bmp"));
    notPicture << "not a picture";
  }
  EXPECT_FALSE(dialog.TakePicture(QString::fromStdString(folder.File("notes.bmp"))));
  EXPECT_EQ(prompts.Shown.size(), 2u);
  QImage picture(16, 16, QImage::Format_RGB32);
  picture.fill(Qt::red);
  ASSERT_TRUE(picture.save(QString::fromStdString(folder.File("type.bmp"))));
  EXPECT_TRUE(dialog.TakePicture(QString::fromStdString(folder.File("type.bmp"))));

  Fill(&dialog, "name", "Lateral");
  dialog.findChild<QCheckBox*>("positionOverride")->setChecked(true);
  dialog.findChild<QComboBox*>("autoDetect")->setCurrentIndex(1);
  dialog.accept();
  ASSERT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_FALSE(type.Modified);  // nothing until it is taken
  dialog.ApplyTo(type);
  EXPECT_EQ(type.Name, "Lateral");
  EXPECT_TRUE(type.PositionOverride);
  EXPECT_FALSE(type.ScaleOverride);
  EXPECT_EQ(type.AutoDetectResolution, 1);
  EXPECT_FALSE(type.IconIsIcon);
  EXPECT_EQ(TypePicture(type).pixelColor(3, 3), QColor(Qt::red));
  EXPECT_TRUE(type.Modified);
  EXPECT_EQ(type.ChangeHistory.back(), "Changed Properties.");
}

}  // namespace
}  // namespace lumacet
