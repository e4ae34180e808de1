// TPCAsForm, "PCAs": the editor of a type's shape analyses (PCA elements). It chooses the
// points of each and imports the population data of a Procrustes report; any change of the
// points makes the data not valid until the next import.
#pragma once

#include <QDialog>

#include <functional>
#include <optional>
#include <string>

class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace lumacet {

class TWorkspacePrompts;
class TXRPCA;
class TXRayType;

class TPCAsForm : public QDialog {
  Q_OBJECT

 public:
  TPCAsForm(TXRayType& type, TWorkspacePrompts& prompts, QWidget* parent = nullptr);

  // The chosen element, or null.
  TXRPCA* CurrentElement() const;
  QComboBox* ElementList() const { return fElements; }
  // Digitized points, then derived points, in type order.
  QListWidget* PointList() const { return fPoints; }
  QLabel* DataNotValid() const { return fNotValid; }

  // What "&New...", "&Rename..." and "&Delete" do once the name is known (and, for delete,
  // confirmed); false with the refusal shown when the type refuses.
  bool NewElement(const std::string& name, bool copyChosen);
  bool RenameElement(const std::string& name);
  bool DeleteElement();
  void SelectAll();
  void DeselectAll();
  void InvertSelection();
  // "Import &Data..." of the chosen file.
  void ImportData(const std::string& path);

 signals:
  // The type changed (elements, points or data).
  void Changed();

 private:
  void FillElements(const std::string& chosen);
  // MainCBChange: shows the chosen element's points and data state.
  void ShowElement();
  // The checks became the chosen element's points.
  void PointsChanged();
  void SetAllChecks(const std::function<bool(bool)>& state);
  void AskNew();
  void AskRename();
  void AskImport();

  TXRayType& fType;
  TWorkspacePrompts& fPrompts;
  QComboBox* fElements = nullptr;
  QPushButton* fRename = nullptr;
  QPushButton* fDelete = nullptr;
  QPushButton* fImport = nullptr;
  QListWidget* fPoints = nullptr;
  QLabel* fNotValid = nullptr;
  bool fUpdating = false;
};

// The "Input" dialog of the type editors: a new name (no double quotes), with "Create a
// &Copy" when `copy` is given; nothing when cancelled.
std::optional<std::string> AskElementName(QWidget* parent, const std::string& initial, bool* copy);

}  // namespace lumacet
