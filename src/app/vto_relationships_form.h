// "VTO Relationships": the master point, the affected points and the shares of a
// relationship, in the common frame of the type editors.
#pragma once

#include <array>

#include "app/type_editors.h"

class QCheckBox;
class QListWidget;

namespace lumacet {

class THardSoftForm : public TRollUpForm {
  Q_OBJECT

 public:
  THardSoftForm(TTypeEdits& edits, TWorkspacePrompts& prompts, QWidget* parent = nullptr);

  QComboBox* MasterList() const { return fMaster; }
  QListWidget* AllPoints() const { return fAll; }
  QListWidget* AffectedPoints() const { return fAffected; }
  QPushButton* IncludeButton() const { return fInclude; }
  QPushButton* RemoveButton() const { return fRemove; }
  // +X, -X, +Y, -Y and rotation, as the relationship stores them.
  QLineEdit* Percent(int i) const { return fPercents.at(static_cast<size_t>(i)); }
  QCheckBox* RotationAsTranslation() const { return fAsTranslation; }

  // "&Include": the point highlighted in "A&ll Points:" goes before the highlighted
  // affected point (at the end when none is); "Remo&ve" takes the highlighted one out.
  void Include();
  void Remove();

 protected:
  void MainCBChange(TXRayElement& chosen) override;

 private:
  void ChooseMaster();

  QComboBox* fMaster = nullptr;
  QListWidget* fAll = nullptr;
  QListWidget* fAffected = nullptr;
  QPushButton* fInclude = nullptr;
  QPushButton* fRemove = nullptr;
  std::array<QLineEdit*, 5> fPercents{};
  QCheckBox* fAsTranslation = nullptr;
};

}  // namespace lumacet
