// The window's side of the automation calls: settings, commands and visibility.
#include <QAction>
#include <QApplication>

#include "app/main_window.h"

namespace lumacet {

void TMainWindow::ChangeSettings(const std::function<void(TSettings&)>& change) {
  change(fSettings);
  ApplySettings();
}

TResult TMainWindow::SaveSettingsQuietly() {
  KeepPlace();
  fSettings.General.Remind[1] = fWorkspace->Options().RemindImageNotSaved;
  const TSettingsSaveResult result = fSettings.Save(fSettingsPath);
  if (!result.Ok) return TResult::Failure(result.Message, result.Reason);
  return {};
}

void TMainWindow::Opened(int opened) {
  if (opened > 0 && fSettings.Radiograph.BestFitOnLoading) BestFit();
  Refresh();
}

bool TMainWindow::RunCommand(std::string_view id) {
  Refresh();
  QAction* action = Command(id);
  if (action == nullptr || !action->isEnabled()) return false;
  action->trigger();
  return true;
}

bool TMainWindow::SetCommandChecked(std::string_view id, bool checked) {
  QAction* action = Command(id);
  if (action == nullptr || !action->isCheckable()) return false;
  if (action->isChecked() != checked) action->trigger();
  return true;
}

void TMainWindow::SetVisible(bool visible) {
  setVisible(visible);
  if (visible) raise();
}

bool TMainWindow::Busy() const { return fMorphing || QApplication::activeModalWidget() != nullptr; }

}  // namespace lumacet
