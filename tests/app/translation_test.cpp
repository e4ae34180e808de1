// Engine texts reach the user translated: a translator installed in the application changes
// what the workspace's messages say on screen, with the arguments filled in after the
// translation (which may reorder them), while the engine's own English stays as it was.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QLibraryInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>

#include <filesystem>
#include <map>
#include <utility>

#include "app/language_pack.h"
#include "app/main_window.h"
#include "app/qt_prompts.h"
#include "app/radiograph_dialogs.h"
#include "persistence/data_file.h"
#include "imaging/image_link.h"
#include "model/xray.h"
#include "ui_test_support.h"

namespace lumacet {
namespace {

// Translates a fixed table of (context, source) pairs; everything else stays untranslated.
class TTableTranslator : public QTranslator {
 public:
  explicit TTableTranslator(std::map<std::pair<std::string, std::string>, QString> table) : fTable(std::move(table)) {}
  bool isEmpty() const override { return false; }
  QString translate(const char* context, const char* sourceText, const char* = nullptr, int = -1) const override {
    const auto found = fTable.find({context, sourceText});
    return found == fTable.end() ? QString() : found->second;
  }

 private:
  std::map<std::pair<std::string, std::string>, QString> fTable;
};

// Installs the translator for the lifetime of the object.
class TInstalledTranslator {
 public:
  explicit TInstalledTranslator(TTableTranslator& translator) : fTranslator(translator) {
    QCoreApplication::installTranslator(&fTranslator);
  }
  ~TInstalledTranslator() { QCoreApplication::removeTranslator(&fTranslator); }
  TInstalledTranslator(const TInstalledTranslator&) = delete;
  TInstalledTranslator& operator=(const TInstalledTranslator&) = delete;

 private:
  TTableTranslator& fTranslator;
};

// The text of the next message box, which is then closed.
void ReadNextBox(QString& text) {
  test::WhenModal("Lumacet", [&text](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    text = box->text();
    box->accept();
  });
}

TEST(TranslationTest, AnInstalledTranslatorChangesTheMessagesTheWorkspaceShows) {
  test::Application();
  test::TTempFolder folder;
  TTableTranslator translator({
      {{"DataFile", "No file name."}, QStringLiteral("Kein Dateiname.")},
      {{"TypeCache",
        "Could not find file for '%1'\r\nin Directory: %2\r\n\r\nMake sure the Default Directory for LCR files is "
        "correct."},
       QStringLiteral("Im Ordner %2\r\nfehlt die Datei für „%1“.")},
  });
  TInstalledTranslator installed(translator);
  TWorkspaceOptions options;
  options.Folders.TypeFolder = folder.Path().string();
  TWorkspace workspace(options);
  TQtPrompts prompts(nullptr, workspace);

  QString shown;
  ReadNextBox(shown);
  TXRay unnamed;
  EXPECT_FALSE(workspace.Save(unnamed, prompts));
  EXPECT_EQ(shown, QStringLiteral("Kein Dateiname."));

  ReadNextBox(shown);
  EXPECT_EQ(workspace.GetOrLoadType("Fernröntgen", false, prompts), nullptr);
  EXPECT_EQ(shown, QString::fromStdString("Im Ordner " + folder.Path().string() + "\nfehlt die Datei für „Fernröntgen“."));

  // Without the translator the same path shows the English, and the English rendering
  // never depends on it.
  EXPECT_EQ(TText(kNoFileNameMessage).English(), "No file name.");
}

TEST(TranslationTest, DisplayTextTranslatesMarkedPartsAndLeavesVerbatimPartsAlone) {
  test::Application();
  TTableTranslator translator({{{"DataFile", "Error saving radiograph."}, QStringLiteral("Fehler beim Speichern.")}});
  TInstalledTranslator installed(translator);
  const TText failure = TResult::Failure(kSaveErrorMessage, "Error saving radiograph. is read-only").TextWithReason();
  EXPECT_EQ(DisplayText(failure), QStringLiteral("Fehler beim Speichern.\nError saving radiograph. is read-only"));
  EXPECT_EQ(failure.English(), "Error saving radiograph.\r\nError saving radiograph. is read-only");
}

TEST(TranslationTest, TheWorkspacesImageQuestionsAreAskedTranslated) {
  test::Application();
  TTableTranslator translator(
      {{{"Image", "Do you want this folder:\r\n   %1\r\n\r\nto be the default image folder?"},
        QStringLiteral("Soll %1 der Bildordner werden?")}});
  TInstalledTranslator installed(translator);
  TWorkspace workspace(TWorkspaceOptions{});
  TQtPrompts prompts(nullptr, workspace);
  QString shown;
  test::WhenModal("Lumacet", [&shown](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    shown = box->text();
    box->button(QMessageBox::Yes)->click();
  });
  EXPECT_TRUE(prompts.ConfirmText(DefaultFolderQuestion("/bilder")));
  EXPECT_EQ(shown, QStringLiteral("Soll /bilder der Bildordner werden?"));
}

// The language packs the build made, beside the programs as the desktop program finds them.
std::filesystem::path BuildFolder() { return std::filesystem::path(LUMACET_CLI).parent_path(); }

// The translators InstallLanguage gave the application, removed when the test ends.
class TLanguageInstalled {
 public:
  TLanguageInstalled(const std::string& language, const std::filesystem::path& programFolder)
      : fUnusable(InstallLanguage(test::Application(), language, programFolder)) {}
  ~TLanguageInstalled() {
    for (QTranslator* translator : test::Application().findChildren<QTranslator*>(Qt::FindDirectChildrenOnly))
      delete translator;
  }
  TLanguageInstalled(const TLanguageInstalled&) = delete;
  TLanguageInstalled& operator=(const TLanguageInstalled&) = delete;

  const TText& Unusable() const { return fUnusable; }

 private:
  TText fUnusable;
};

QStringList MenuTitles(const TMainWindow& window) {
  QStringList titles;
  for (QAction* menu : window.menuBar()->actions()) titles << menu->text();
  return titles;
}

TEST(TranslationTest, TheGermanPackTranslatesTheMainWindowAndTheEngineMessages) {
  test::TTempFolder folder;
  TLanguageInstalled german("de", BuildFolder());
  ASSERT_TRUE(german.Unusable().Empty()) << german.Unusable().English();

  TSettings settings;
  TMainWindow window(settings, folder.File("lumacet.ini"));
  const QStringList titles = MenuTitles(window);
  for (const char* title : {"&Datei", "&Bild", "Du&rchzeichnung", "&Werkzeuge", "&Ansicht", "&Hilfe"})
    EXPECT_TRUE(titles.contains(QString::fromUtf8(title))) << title << " in " << titles.join(' ').toStdString();
  for (const auto& [id, caption] : {std::pair{"file.open", "Ö&ffnen..."}, std::pair{"file.save_all", "&Alle speichern"},
                                     std::pair{"tracing.select_all", "&Alles auswählen"}}) {
    QAction* command = window.Command(id);
    ASSERT_NE(command, nullptr) << id;
    EXPECT_EQ(command->text(), QString::fromUtf8(caption)) << id;
  }

  // A message of the data-file code, as the workspace shows it.
  TWorkspaceOptions options;
  options.Folders.TypeFolder = folder.Path().string();
  TWorkspace workspace(options);
  TQtPrompts prompts(nullptr, workspace);
  QString shown;
  ReadNextBox(shown);
  TXRay unnamed;
  EXPECT_FALSE(workspace.Save(unnamed, prompts));
  EXPECT_EQ(shown, QStringLiteral("Kein Dateiname."));
  ReadNextBox(shown);
  EXPECT_EQ(workspace.GetOrLoadType("Fernröntgen", false, prompts), nullptr);
  EXPECT_TRUE(shown.startsWith(QStringLiteral("Die Datei für „Fernröntgen“ wurde nicht gefunden\nim Ordner: ")))
      << shown.toStdString();

  // Qt's own buttons follow where Qt's translations are installed.
  if (QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_de.qm"))) {
    QDialogButtonBox buttons(QDialogButtonBox::Cancel);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Abbrechen"));
  }
}

TEST(TranslationTest, TheGermanPackTranslatesTheParticularsRefusalsAndTheSettingsMessages) {
  test::TTempFolder folder;
  TLanguageInstalled german("de", BuildFolder());
  ASSERT_TRUE(german.Unusable().Empty()) << german.Unusable().English();

  // As the dialog shows them: each refusal in German, the date example filled in.
  TWorkspace workspace(TWorkspaceOptions{});
  TQtPrompts prompts(nullptr, workspace);
  TRadiographDialogContext context;
  context.Prompts = &prompts;
  context.Formats.ShortDateFormat = "dd/MM/yyyy";
  context.TypeNames = {"Lateral Ceph"};
  TNewXRayDlg dialog(TNewXRayDlg::TMode::New, context);
  test::Child<QLineEdit>(&dialog, "dateTaken")->setText("2/3/2001");
  test::Child<QLineEdit>(&dialog, "magnification")->setText("-100");
  test::Child<QLineEdit>(&dialog, "name")->setText("  ");
  struct TStep {
    const char* Field;
    const char* Text;
    const char* Shown;
  };
  for (const TStep& step : {
           TStep{"dateOfBirth", "31/02/2001", "Falsches Datumsformat.\n\nDas Datum sollte zum Beispiel so aussehen: 31/12/1987"},
           TStep{"dateOfBirth", "2/3/2011", "Unvereinbare Daten.\n\nDas Aufnahmedatum muss nach dem Geburtsdatum liegen."},
           TStep{"dateOfBirth", "2/3/2001", "Ungültige Eingabe.\n\nDer Vergrößerungswert ist keine gültige Zahl."},
           TStep{"magnification", "10", "Ungültige Eingabe.\n\nEin Patientenname ist erforderlich."},
           TStep{"name", "Smith, John", "Ungültige Eingabe.\n\nKommas"},
       }) {
    test::Child<QLineEdit>(&dialog, step.Field)->setText(QString::fromUtf8(step.Text));
    QString shown;
    ReadNextBox(shown);
    dialog.accept();
    EXPECT_TRUE(shown.startsWith(QString::fromUtf8(step.Shown))) << step.Text << ": " << shown.toStdString();
  }

  // The settings' own messages and the type name's refusal.
  TSettings settings;
  const std::string blocked = folder.File("file");
  test::WriteBytes(blocked, "");
  for (const auto& [text, translated] : {
           std::pair{settings.ResetReminders(), "Alle Erinnerungen sind jetzt eingeschaltet."},
           std::pair{settings.Save(blocked + "/lumacet.ini").Message,
                     "Dateifehler.\nDie Lumacet-Einstellungen konnten nicht gespeichert werden."},
           std::pair{TypeNameError(""), "Ungültige Eingabe."},
       })
    EXPECT_TRUE(DisplayText(text).startsWith(QString::fromUtf8(translated))) << DisplayText(text).toStdString();
}

TEST(TranslationTest, AnUnusablePackLeavesEnglishAndSaysWhy) {
  test::TTempFolder folder;
  const std::filesystem::path packs = folder.Path() / "translations";
  std::filesystem::create_directories(packs);
  test::WriteBytes((packs / "lc3_xx.qm").string(), "not a message file");
  test::WriteBytes((packs / "lc3_yy.qm").string(), "");
  struct TCase {
    const char* Language;
    const char* Says;
  };
  for (const TCase& sight : {TCase{"xx", "cannot be used"}, TCase{"yy", "cannot be used"},
                             TCase{"fr", "No language pack for \"fr\""}, TCase{"../translations/lc3_xx", "No language pack"}}) {
    TLanguageInstalled chosen(sight.Language, folder.Path());
    const std::string said = chosen.Unusable().English();
    EXPECT_NE(said.find(sight.Says), std::string::npos) << sight.Language << ": " << said;
    EXPECT_NE(said.find("English"), std::string::npos) << said;
    EXPECT_TRUE(test::Application().findChildren<QTranslator*>(Qt::FindDirectChildrenOnly).isEmpty()) << sight.Language;
    TSettings settings;
    TMainWindow window(settings, folder.File("lumacet.ini"));
    EXPECT_TRUE(MenuTitles(window).contains(QStringLiteral("&File"))) << sight.Language;
  }
  // No choice: English, and nothing to say.
  EXPECT_TRUE(TLanguageInstalled("", folder.Path()).Unusable().Empty());
}

}  // namespace
}  // namespace lumacet
