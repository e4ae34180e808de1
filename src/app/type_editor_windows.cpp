#include "app/type_editor_windows.h"

#include <QApplication>
#include <QWindow>

#include <algorithm>

#include "app/type_editors.h"
#include "model/list_elements.h"
#include "model/xray_type.h"

namespace lumacet {

TTypeEditorWindows::TTypeEditorWindows(QObject* parent) : QObject(parent) {
  // The focus window, not the window activation events: a tool window shares its
  // activation with the window it stands above, so those events do not tell them apart.
  connect(qApp, &QGuiApplication::focusWindowChanged, this, &TTypeEditorWindows::FocusMoved);
}

TRollUpForm* TTypeEditorWindows::Open(TXRayType& type, int code, const TFactory& make) {
  TRollUpForm* form = Window(type, code);
  if (form == nullptr) {
    form = make(code);
    if (form == nullptr) return nullptr;
    if (code == ekAnalysis || code == ekView) fShown[form] = {type.CurrentAnalysis, type.CurrentView};
    TTypeWindows& windows = fTypes[&type];
    windows.Type = &type;
    windows.Windows.push_back(form);
    // The editor stays above the main window and leaves it, and the other editors, free to use.
    form->setWindowFlag(Qt::Tool);
    form->setModal(false);
    connect(form, &QDialog::finished, this, [this, &type, form] { Closed(type, form); });
  }
  form->show();
  form->raise();
  form->activateWindow();
  emit Changed();
  return form;
}

TRollUpForm* TTypeEditorWindows::Window(const TXRayType& type, int code) const {
  for (TRollUpForm* form : Windows(type))
    if (form->Code() == code) return form;
  return nullptr;
}

std::vector<TRollUpForm*> TTypeEditorWindows::Windows(const TXRayType& type) const {
  const auto found = fTypes.find(&type);
  return found == fTypes.end() ? std::vector<TRollUpForm*>{} : found->second.Windows;
}

TRollUpForm* TTypeEditorWindows::Current(const TXRayType& type) const {
  const auto found = fTypes.find(&type);
  return found == fTypes.end() ? nullptr : found->second.Current;
}

TRollUpForm* TTypeEditorWindows::Last(const TXRayType& type) const {
  const auto found = fTypes.find(&type);
  return found == fTypes.end() ? nullptr : found->second.Last;
}

TRollUpForm* TTypeEditorWindows::Previewing(const TXRayType& type) const {
  if (TRollUpForm* current = Current(type)) return current;
  TRollUpForm* last = Last(type);
  const bool places = last != nullptr &&
                      (last->Code() == ekDigPoint || last->Code() == ekVariable || last->Code() == ekSnake);
  return places ? last : nullptr;
}

void TTypeEditorWindows::FocusMoved(QWindow* window) {
  TRollUpForm* focused = nullptr;
  bool changed = false;
  for (auto& [type, windows] : fTypes) {
    for (TRollUpForm* form : windows.Windows)
      if (window != nullptr && form->windowHandle() == window) focused = form;
    if (windows.Current != nullptr && windows.Current != focused) {
      windows.Last = windows.Current;
      windows.Current = nullptr;
      changed = true;
    }
  }
  if (focused != nullptr) {
    TTypeWindows& windows = fTypes[&focused->Type()];
    if (windows.Current != focused) {
      windows.Current = focused;
      // Another editor, or the tracing, may have changed what this one lists.
      focused->Refresh();
      changed = true;
    }
  }
  if (changed) emit Changed();
}

bool TTypeEditorWindows::Forget(TXRayType& type, TRollUpForm* form) {
  const auto found = fTypes.find(&type);
  if (found == fTypes.end()) return false;
  TTypeWindows& windows = found->second;
  const auto at = std::find(windows.Windows.begin(), windows.Windows.end(), form);
  if (at == windows.Windows.end()) return false;
  windows.Windows.erase(at);
  windows.Current = nullptr;
  if (windows.Last == form) windows.Last = nullptr;
  if (windows.Windows.empty()) fTypes.erase(found);
  type.Selection.clear();
  if (const auto shown = fShown.find(form); shown != fShown.end()) {
    if (shown->second.Analysis == nullptr || type.IndexOf(shown->second.Analysis) >= 0)
      type.CurrentAnalysis = shown->second.Analysis;
    if (shown->second.View == nullptr || type.IndexOf(shown->second.View) >= 0) type.CurrentView = shown->second.View;
    fShown.erase(shown);
  }
  form->disconnect(this);
  form->Detach();
  return true;
}

void TTypeEditorWindows::Closed(TXRayType& type, TRollUpForm* form) {
  if (!Forget(type, form)) return;
  // The window may still be on its way out of one of its own handlers.
  form->deleteLater();
  const std::vector<TRollUpForm*> others = Windows(type);
  if (!others.empty()) {
    others.front()->raise();
    others.front()->activateWindow();
  }
  emit Changed();
}

void TTypeEditorWindows::CloseAll(TXRayType& type) {
  if (fTypes.find(&type) == fTypes.end()) return;
  for (TRollUpForm* form : Windows(type)) {
    Forget(type, form);
    // At once: the type goes next.
    delete form;
  }
  emit Changed();
}

void TTypeEditorWindows::CloseAll() {
  while (!fTypes.empty()) CloseAll(*fTypes.begin()->second.Type);
}

}  // namespace lumacet
