// The type editors: the common frame `TRollUpForm` (the kind's element list with "&New...",
// "&Rename..." and "&Delete", a page of fields for the chosen element, Ctrl+Z and
// Ctrl+Shift+Z through the type's undo stack) and the editors of digitized points, derived
// points and variables. Every change goes through the engine's type edits, which decide
// whether it stands; the editors hold no rules of their own. After each change the frame
// says so, and the main window redraws the tracing with the chosen element marked.
#pragma once

#include <QDialog>
#include <QListWidget>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/member_lists.h"
#include "support/result.h"

class QComboBox;
class QFormLayout;
class QHBoxLayout;
class QLabel;
class QCheckBox;
class QSpinBox;
class QLineEdit;
class QPushButton;
class QPlainTextEdit;
class QTabWidget;
class QTableWidget;

namespace lumacet {

class TCanvas;
class TTypeEdits;
class TWorkspacePrompts;
class TXRayElement;
class TXRayType;

// One change of a member list of the chosen element, stored as one undoable edit.
using TListEdit = std::function<void(TMemberList&)>;
using TApplyList = std::function<void(const TListEdit&)>;

// A list whose entries are dragged onto one another; what a drop means is the owner's.
class TDropList : public QListWidget {
 public:
  std::function<void(int from, int to)> Dropped;

 protected:
  void dropEvent(QDropEvent* event) override;
};

// A check list of elements, ticked where the element is a member: ticking appends it,
// unticking removes it; the pop-up menu has "Select &All", "&Deselect All" and
// "&Invert Selection", each in the shown order.
class TCheckList : public QListWidget {
 public:
  TCheckList(std::function<TMemberList()> shown, TApplyList apply);
  void Show(const TMemberList& members);
  void SelectAll();
  void DeselectAll();
  void InvertSelection();

 private:
  std::function<TMemberList()> fShown;
  TApplyList fApply;
  bool fFilling = false;
};

// The pair of lists of the protocol, analysis and drawing editors: the available elements
// on the left ("Sho&w Remaining" hides those already members), the members in order on the
// right. "&Include" (or a double click on the left) puts the element before the selected
// member, or at the end; "Remo&ve" (or a double click on the right) takes the selected member
// out; a blank typed on the right clears its selection; a member dragged onto another
// exchanges the two.
class TMemberPicker : public QWidget {
 public:
  TMemberPicker(const QString& available, const QString& inList, std::function<TMemberList()> candidates,
                TApplyList apply, bool offerRemaining);
  void Show(const TMemberList& members);
  QListWidget* Available() const { return fAvailable; }
  QListWidget* Members() const { return fMembers; }
  QCheckBox* ShowRemaining() const { return fRemaining; }
  void Include();
  void Remove();
  void Exchange(int from, int to);
  // "Move Up" (-1) and "Move Down" (+1) of the selected member.
  void Shift(int step);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FillAvailable();

  std::function<TMemberList()> fCandidates;
  TApplyList fApply;
  QString fAvailableCaption;
  QString fMembersCaption;
  QLabel* fAvailableLabel = nullptr;
  QLabel* fMembersLabel = nullptr;
  QListWidget* fAvailable = nullptr;
  TDropList* fMembers = nullptr;
  QCheckBox* fRemaining = nullptr;
  TMemberList fShown;
};

// "Rearrange": the kind's element names in list order; dragging one onto another moves it
// to that position. `Order` is the order shown.
class TArrangeForm : public QDialog {
  Q_OBJECT

 public:
  TArrangeForm(const TMemberList& elements, QWidget* parent);
  QListWidget* Names() const { return fNames; }
  void Move(int from, int to);
  const TMemberList& Order() const { return fOrder; }

 private:
  void Fill();

  TDropList* fNames = nullptr;
  TMemberList fOrder;
};

class TRollUpForm : public QDialog {
  Q_OBJECT

 public:
  TRollUpForm(TTypeEdits& edits, TWorkspacePrompts& prompts, int code, const QString& title, QWidget* parent);

  // The element of the editor's kind whose name the list shows, or null.
  TXRayElement* CurrentElement() const;
  int Code() const { return fCode; }
  TXRayType& Type() const { return fType; }
  QComboBox* ElementList() const { return fElements; }
  QPushButton* NewButton() const { return fNew; }
  QPushButton* RenameButton() const { return fRename; }
  QPushButton* DeleteButton() const { return fDelete; }
  // The "&Type:" list, the parameter fields and the operand lists of the kinds that have them.
  QComboBox* KindList() const { return fKind; }
  QLineEdit* Parameter(int i) const { return fParameters.at(static_cast<size_t>(i)); }
  QComboBox* OperandList(int slot) const { return fOperands.at(static_cast<size_t>(slot)); }

  // What "&New...", "&Rename..." and "&Delete" do once the name is known (and, for delete,
  // confirmed); false with the refusal shown when the type refuses.
  bool NewElement(const std::string& name, bool copyChosen);
  bool RenameElement(const std::string& name);
  bool DeleteElement();
  void Choose(const std::string& name);
  bool Undo();
  bool Redo();
  // A click on the type at (x, y), tracing units, for the chosen element; false with the
  // refusal shown.
  bool DigitizeAt(double x, double y);
  // "Rearrange" with the new order; false with the refusal shown.
  bool Rearrange(const TMemberList& order);
  // The lists filled again from the type, which another editor may have changed, and the
  // chosen element shown again.
  void Refresh();
  // What the editor shows of its chosen element over the type's tracing, given tracing
  // units per screen pixel; the marked points of the chosen element are the type's selection.
  virtual void DrawPreview(TCanvas& canvas, double unitsPerPixel);
  // The window is closing with its type: it lets go of the type's elements, so that nothing
  // it still hears (a field losing the focus) reaches them.
  void Detach();

 signals:
  // The type changed, or another element was chosen.
  void Changed();

 protected:
  // Fills the fields from the chosen element (never null when called).
  virtual void MainCBChange(TXRayElement& chosen) = 0;
  // The fields' page, below the list and its buttons: the rows added from now on go there.
  QFormLayout* Page() const { return fPage; }
  // A tab of the fields' pages, which takes the rows added from now on; the first call puts
  // the tabs below the rows added so far.
  void AddTab(const QString& caption);
  // Runs an edit of the chosen element through the type edits; a refusal is shown and the
  // fields go back to what is stored.
  bool Apply(const std::function<TResult(TTypeEdits&, TXRayElement&)>& edit);
  // A field edit as one undoable change of the chosen element; edits of the same `field`
  // one after another are one step.
  bool ApplyField(const std::function<void(TXRayElement&)>& change, const std::string& field = {});
  // A text field holding a number, shown divided by `scale` and stored times it. A text
  // that is not a finite number turns the field red and changes nothing.
  void ConnectNumber(QLineEdit* field, double scale, const std::function<void(TXRayElement&, double)>& store);
  static void ShowNumber(QLineEdit* field, double stored, double scale);
  // "<none>" (when `withNone`) and the elements a slot of `slotClass` takes, sorted; `chosen`
  // selected (no choice when it is none and there is no "<none>").
  void FillOperands(QComboBox* list, int slotClass, const TXRayElement* chosen, bool withNone) const;
  static TXRayElement* ChosenOperand(const QComboBox* list);
  // The "&Type:" row with the kind names, choosing one as an edit.
  void AddKindRow(int count, const std::function<std::string_view(int)>& name);
  // `count` parameter rows (shown / scale, stored x scale) storing through `store`(element, index, value).
  void AddParameterRows(int count, const std::function<void(TXRayElement&, int, double)>& store, double scale = 10);
  // `count` operand rows; choosing in a list sets that operand, as an edit.
  void AddOperandRows(int count);
  // A parameter row as the kind has it: hidden without a caption.
  void ShowParameter(int i, std::string_view caption, double stored, double scale = 10);
  // An operand row as the kind has it: hidden when unused, captioned by its class.
  void ShowOperand(int slot, int slotClass, bool used, const TXRayElement* operand, bool withNone);
  // The elements of a kind, sorted or in list order.
  TMemberList ElementsOf(int code, bool sorted) const;
  // How a list widget stores into the member list `members` picks of the chosen element.
  TApplyList ListStore(std::function<TMemberList&(TXRayElement&)> members);
  // A check list or member pair filled from `members` of each chosen element.
  TCheckList* AddCheckList(std::function<TMemberList()> shown, std::function<TMemberList&(TXRayElement&)> members);
  TMemberPicker* AddMemberPicker(const QString& available, const QString& inList,
                                 std::function<TMemberList()> candidates,
                                 std::function<TMemberList&(TXRayElement&)> members, bool offerRemaining);
  // The "Rearrange" button, in the row of "&New...".
  void AddRearrangeButton();
  // A check box or choice list storing into the chosen element, shown from it.
  QCheckBox* AddCheck(const QString& caption, std::function<bool(const TXRayElement&)> shown,
                      std::function<void(TXRayElement&, bool)> store);
  // A whole number in a range; the box stores when its value is settled (a number typed digit
  // by digit is one change), and only when it differs from what `shown` gives.
  QSpinBox* AddSpin(const QString& caption, int low, int high, int step, std::function<int(const TXRayElement&)> shown,
                    std::function<void(TXRayElement&, int)> store);
  QComboBox* AddChoice(const QString& caption, const QStringList& entries,
                       std::function<int(const TXRayElement&)> shown,
                       std::function<void(TXRayElement&, int)> store);
  // Something more to show of each chosen element, after MainCBChange.
  void AddShow(std::function<void(TXRayElement&)> show) { fShows.push_back(std::move(show)); }

  TXRayType& fType;
  TTypeEdits& fEdits;
  TWorkspacePrompts& fPrompts;
  const int fCode;
  bool fUpdating = false;

 private:
  void FillElements(const std::string& chosen);
  void ShowChosen();
  void AskNew();
  void AskRename();
  void AskDelete();

  QComboBox* fElements = nullptr;
  QPushButton* fNew = nullptr;
  QPushButton* fRename = nullptr;
  QPushButton* fDelete = nullptr;
  QHBoxLayout* fButtons = nullptr;
  std::vector<std::function<void(TXRayElement&)>> fShows;
  QWidget* fFields = nullptr;
  QFormLayout* fPage = nullptr;
  QTabWidget* fTabs = nullptr;
  QComboBox* fKind = nullptr;
  std::vector<QLineEdit*> fParameters;
  std::vector<QComboBox*> fOperands;
};

// The "Input" dialog of the type editors: a new name (no double quotes), with "Create a
// &Copy" when `copy` is given; nothing when cancelled.
std::optional<std::string> AskElementName(QWidget* parent, const std::string& initial, bool* copy);

// A transition's picture: the step from one grey to the other that edge lock looks for.
QPixmap TransitionPicture(int transition);

// "Digitized Points", with the edge lock of each point.
class TDigPointsForm : public TRollUpForm {
  Q_OBJECT

 public:
  TDigPointsForm(TTypeEdits& edits, TWorkspacePrompts& prompts, QWidget* parent = nullptr);
  // Every valid digitized point ringed, and the chosen point's edge-lock search line.
  void DrawPreview(TCanvas& canvas, double unitsPerPixel) override;
  QPushButton* Recalculate() const { return fRecalculate; }
  QSpinBox* SearchRange() const { return fRange; }
  QSpinBox* SearchAngle() const { return fAngle; }
  QComboBox* Direction(int i) const { return i == 0 ? fDirection1 : fDirection2; }
  QComboBox* Transition() const { return fTransition; }
  QCheckBox* CursorOnly() const { return fCursorOnly; }
  QSpinBox* LockBias() const { return fBias; }
  QComboBox* HintDrawing() const { return fHint; }
  QPlainTextEdit* Description() const { return fDescription; }

 protected:
  void MainCBChange(TXRayElement& chosen) override;
  // The description is stored when its memo loses the focus.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void AddEdgeLockRows();

  QPushButton* fRecalculate = nullptr;
  QPlainTextEdit* fDescription = nullptr;
  QSpinBox* fRange = nullptr;
  QSpinBox* fAngle = nullptr;
  QComboBox* fDirection1 = nullptr;
  QComboBox* fDirection2 = nullptr;
  QComboBox* fTransition = nullptr;
  QCheckBox* fCursorOnly = nullptr;
  QSpinBox* fBias = nullptr;
  QComboBox* fHint = nullptr;
};

// "Derived Points".
class TDerPointsForm : public TRollUpForm {
  Q_OBJECT

 public:
  TDerPointsForm(TTypeEdits& edits, TWorkspacePrompts& prompts, QWidget* parent = nullptr);

 protected:
  void MainCBChange(TXRayElement& chosen) override;
};

// "Variables", with the norms by age range for each sex.
class TVariablesForm : public TRollUpForm {
  Q_OBJECT

 public:
  TVariablesForm(TTypeEdits& edits, TWorkspacePrompts& prompts, QWidget* parent = nullptr);
  QLineEdit* NumberFormat() const { return fFormat; }
  // Female (0) and male (1) norms: age from, age to, mean, standard deviation per row.
  QTableWidget* Norms(int sex) const { return fNorms[static_cast<size_t>(sex)]; }
  void AddNorm(int sex);

 protected:
  void MainCBChange(TXRayElement& chosen) override;

 private:
  void NormEdited(int sex, int row, int column);

  QLineEdit* fFormat = nullptr;
  QLineEdit* fBefore = nullptr;
  QLineEdit* fAfter = nullptr;
  std::array<QTableWidget*, 2> fNorms{};
};

}  // namespace lumacet
