// The type editor windows open on each type: at most one per element kind, side by side and
// none modal. Each type knows its current editor (the one active) and its last editor (the
// one active last), which takes the clicks on the type's tracing and draws its preview there.
// A type's editors close before the type goes, so none is ever left on a freed type.
#pragma once

#include <QObject>

#include <functional>
#include <map>
#include <vector>

class QWindow;

namespace lumacet {

class TRollUpForm;
class TXRAnalysis;
class TXRayType;
class TXRView;

class TTypeEditorWindows : public QObject {
  Q_OBJECT

 public:
  using TFactory = std::function<TRollUpForm*(int code)>;
  explicit TTypeEditorWindows(QObject* parent = nullptr);
  TTypeEditorWindows(const TTypeEditorWindows&) = delete;
  TTypeEditorWindows& operator=(const TTypeEditorWindows&) = delete;

  // The editor of `code` on the type, shown and brought forward; `make` builds it when the
  // kind has none open yet (null: no editor for that kind).
  TRollUpForm* Open(TXRayType& type, int code, const TFactory& make);
  // The open editor of that kind, or null.
  TRollUpForm* Window(const TXRayType& type, int code) const;
  // The type's editors in the order they were opened.
  std::vector<TRollUpForm*> Windows(const TXRayType& type) const;
  TRollUpForm* Current(const TXRayType& type) const;
  TRollUpForm* Last(const TXRayType& type) const;
  // The editor whose chosen element the type's tracing shows: the current one, else the
  // last one when it places what it edits by clicks (digitized points, snakes, variables).
  TRollUpForm* Previewing(const TXRayType& type) const;
  // Closes every editor of the type at once, before it is freed or the program ends.
  void CloseAll(TXRayType& type);
  void CloseAll();

 signals:
  // An editor opened, closed, became current or stopped being it: the display and the
  // command states follow.
  void Changed();

 private:
  struct TTypeWindows {
    TXRayType* Type = nullptr;
    std::vector<TRollUpForm*> Windows;
    TRollUpForm* Current = nullptr;
    TRollUpForm* Last = nullptr;
  };
  // What an analysis or view editor replaced in the type's display, put back when it closes
  // and the element is still part of the type.
  struct TShown {
    TXRAnalysis* Analysis = nullptr;
    TXRView* View = nullptr;
  };
  // The window with the keyboard focus changed: the editor that had it becomes its type's
  // last editor, the one that has it (if any) its type's current editor.
  void FocusMoved(QWindow* window);
  void Closed(TXRayType& type, TRollUpForm* form);
  // Takes the form out of the type's windows; true when it was there.
  bool Forget(TXRayType& type, TRollUpForm* form);

  std::map<const TXRayType*, TTypeWindows> fTypes;
  std::map<const TRollUpForm*, TShown> fShown;
};

}  // namespace lumacet
