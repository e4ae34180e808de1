// The Movements window: the current radiograph's undo list above and its redo list below,
// one line per movement, with the commands that take entries back, do them again, reverse,
// repeat or delete them, and the options of the movement log in its status panels.
#pragma once

#include <QDialog>

#include <functional>

class QAction;
class QLabel;
class QListWidget;
class QPushButton;

namespace lumacet {

class TRadiograph;
struct TMovementOptions;
class TResult;

class TMovementForm : public QDialog {
  Q_OBJECT

 public:
  // The options' commands are the main window's, so that both keep their checks in step;
  // `current` gives the radiograph movements may run on, null when none may.
  struct TCommands {
    QAction* Undo;
    QAction* Redo;
    QAction* Connected;
    QAction* Compile;
    QAction* OriginalArea;
    QAction* CurrentArea;
  };
  TMovementForm(TCommands commands, TMovementOptions& options, std::function<TRadiograph*()> current,
                QWidget* parent = nullptr);

  // GetMovements: the lists of the radiograph (none empties them), lines re-made at the
  // width of the list boxes.
  void GetMovements(TRadiograph* radiograph);
  // The list boxes' width in characters, which the lines and the Undo/Redo captions take.
  int LineWidth() const;

  QListWidget* UndoList() const { return fUndo; }
  QListWidget* RedoList() const { return fRedo; }

 signals:
  // The radiograph's tracing or lists changed: the main window redraws and updates.
  void Changed();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void UpdateActionsMenus();
  void ShowOptions();
  // The list with selected lines (the undo list first) and its chosen rows.
  bool ChosenUndo() const;
  std::vector<std::size_t> ChosenRows() const;
  void Reverse();
  void Repeat();
  void Delete();
  void SelectArea();
  void Save();
  void EntryActivated(bool undo, int row);
  void AfterMovement(const TResult& done);

  TCommands fCommands;
  TMovementOptions& fOptions;
  std::function<TRadiograph*()> fCurrent;
  TRadiograph* fShown = nullptr;
  QListWidget* fUndo = nullptr;
  QListWidget* fRedo = nullptr;
  QPushButton* fReverse = nullptr;
  QPushButton* fRepeat = nullptr;
  QPushButton* fDelete = nullptr;
  QPushButton* fClearUndo = nullptr;
  QPushButton* fClearRedo = nullptr;
  QPushButton* fSelectArea = nullptr;
  QPushButton* fSave = nullptr;
  QLabel* fConnectedPanel = nullptr;
  QLabel* fCompilePanel = nullptr;
  QLabel* fAreaPanel = nullptr;
};

}  // namespace lumacet
