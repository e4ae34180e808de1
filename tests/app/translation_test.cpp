// Engine texts reach the user translated: a translator installed in the application changes
// what the workspace's messages say on screen, with the arguments filled in after the
// translation (which may reorder them), while the engine's own English stays as it was.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMessageBox>
#include <QTranslator>

#include <map>
#include <utility>

#include "app/qt_prompts.h"
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

}  // namespace
}  // namespace lumacet
