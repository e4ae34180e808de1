// The workspace's questions as message boxes and the save prompt, and the one place
// engine texts become display texts.
#pragma once

#include <QString>

#include <string_view>

#include "shell/workspace.h"

class QWidget;

namespace lumacet {

// Engine data (names, paths) as Qt shows them.
QString Utf8(const std::string& text);
// A catalogue text for display: UTF-8, line breaks "\r\n" turned into "\n". Catalogue
// texts keep their "\r\n" so that translations match them.
QString DisplayText(std::string_view text);
// A marked engine text for display: each marked part translated by the application's
// translators (QCoreApplication::translate), its arguments filled in after, then as above.
QString DisplayText(const TText& text);

// A passing note on the status bar of the main window `parent` belongs to; nowhere when it
// belongs to none.
void ShowOnStatusBar(QWidget* parent, const QString& text);

// Opens the help page of `topic` in the desktop's browser, at `section` when given; says where
// the pages were looked for when they are not installed.
void ShowHelp(QWidget* parent, std::string_view topic, const QString& section = {});
// Opens the help of the window `widget` belongs to: the section of its name (a mode of a
// dialog), else of its part that is shown (a page of the options), else of its class or the nearest base class with help, else of the
// window it was opened from; the contents when none has any.
void ShowContextHelp(QWidget* widget);
// From now on F1 in every window but the main window (whose F1 is Help > Contents) opens
// that window's help.
void InstallContextHelp();

class TQtPrompts : public TWorkspacePrompts {
 public:
  TQtPrompts(QWidget* parent, TWorkspace& workspace) : fParent(parent), fWorkspace(workspace) {}

  void ShowMessage(const std::string& text) override;
  void ShowText(const TText& text) override;
  void Inform(const std::string& text) override;
  // On the status bar of the parent's main window.
  void ShowStatus(const TText& text) override;
  bool Confirm(const std::string& question) override;
  bool ConfirmText(const TText& question) override;
  bool ConfirmOkCancel(const std::string& question) override;
  TAnswer AskYesNoCancel(const std::string& question) override;
  // The "Save" prompt: description, history, image and tracing lines.
  bool OfferSave(TRadiograph& object) override;
  std::string ChooseImageFile(const std::string& folder, const std::string& name) override;
  bool Remind(const std::string& text) override;

 private:
  QWidget* fParent;
  TWorkspace& fWorkspace;
};

}  // namespace lumacet
