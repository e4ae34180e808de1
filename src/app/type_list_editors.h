// The type editors of the element kinds built from lists of other elements and of the
// movement elements, all in the common frame of type_editors.h: areas, protocols,
// analyses, views, drawings, snakes, superimpositions, orientations and shape analyses.
#pragma once

#include "app/type_editors.h"

class QSpinBox;
class QTabWidget;

namespace lumacet {

class TXRPCA;

// "Areas": the digitized points, sorted, ticked where they are members.
class TAreasForm : public TRollUpForm {
  Q_OBJECT

 public:
  TAreasForm(TTypeEdits& edits, TWorkspacePrompts& prompts, QWidget* parent = nullptr);
  TCheckList* Points() const { return fPoints; }

 protected:
  void MainCBChange(TXRayElement&) override {}

 private:
  TCheckList* fPoints = nullptr;
};

// "Protocols": the points and snakes to digitize, in order.
class TProtocolsForm : public TRollUpForm {
  Q_OBJECT

 public:
  TProtocolsForm(TTypeEdits& edits, TWorkspacePrompts& prompts, QWidget* parent = nullptr);
  TMemberPicker* Members() const { return fMembers; }
  QLineEdit* ErrorMargin() const { return fMargin; }

 protected:
  void MainCBChange(TXRayElement& chosen) override;

 private:
  TMemberPicker* fMembers = nullptr;
  QLineEdit* fMargin = nullptr;
};

// "Analyses": the variables and the drawings of each analysis, in order.
class TAnalysesForm : public TRollUpForm {
  Q_OBJECT

 public:
  TAnalysesForm(TTypeEdits& edits, TWorkspacePrompts& prompts, QWidget* parent = nullptr);
  TMemberPicker* Variables() const { return fVariables; }
  TMemberPicker* Graphics() const { return fGraphics; }

 protected:
  void MainCBChange(TXRayElement&) override {}

 private:
  TMemberPicker* fVariables = nullptr;
  TMemberPicker* fGraphics = nullptr;
};

// "Views": check lists of the drawings and the variables shown.
class TViewsForm : public TRollUpForm {
  Q_OBJECT

 public:
  TViewsForm(TTypeEdits& edits, TWorkspacePrompts& prompts, QWidget* parent = nullptr);
  TCheckList* Graphics() const { return fGraphics; }
  TCheckList* Variables() const { return fVariables; }

 protected:
  void MainCBChange(TXRayElement&) override {}

 private:
  TCheckList* fGraphics = nullptr;
  TCheckList* fVariables = nullptr;
};

// "Drawings": kind, pen, fill, size and the points (or shape analyses) drawn, in order.
class TDrawingsForm : public TRollUpForm {
  Q_OBJECT

 public:
  TDrawingsForm(TTypeEdits& edits, TWorkspacePrompts& prompts, QWidget* parent = nullptr);
  TMemberPicker* Members() const { return fMembers; }
  QLineEdit* Size() const { return fSize; }
  QComboBox* Colour() const { return fColour; }

 protected:
  void MainCBChange(TXRayElement& chosen) override;

 private:
  TMemberPicker* fMembers = nullptr;
  QLineEdit* fSize = nullptr;
  QComboBox* fColour = nullptr;
  QComboBox* fColourVariable = nullptr;
};

// "Snakes": the outline points digitized on the type, and how the snake locks onto edges.
class TSnakesForm : public TRollUpForm {
  Q_OBJECT

 public:
  TSnakesForm(TTypeEdits& edits, TWorkspacePrompts& prompts, QWidget* parent = nullptr);
  QPushButton* ClearAll() const { return fClear; }
  QPushButton* DeleteLast() const { return fDeleteLast; }
  // "&Fit": one fitting step of the chosen snake onto the edges of the type's image.
  QPushButton* Fit() const { return fFit; }
  QSpinBox* PointCount() const { return fCount; }
  QSpinBox* HotZone() const { return fHotZone; }
  QSpinBox* LockBias() const { return fBias; }

 protected:
  void MainCBChange(TXRayElement& chosen) override;

 private:
  QPushButton* fClear = nullptr;
  QPushButton* fDeleteLast = nullptr;
  QPushButton* fFit = nullptr;
  QSpinBox* fCount = nullptr;
  QSpinBox* fHotZone = nullptr;
  QComboBox* fTransition = nullptr;
  QSpinBox* fBias = nullptr;
  QLineEdit* fDescription = nullptr;
};

// "Superimpositions" and "Orientations": a kind and its operands; orientations add the
// angle and what they move.
class TSupimpsForm : public TRollUpForm {
  Q_OBJECT

 public:
  TSupimpsForm(TTypeEdits& edits, TWorkspacePrompts& prompts, QWidget* parent = nullptr);

 protected:
  void MainCBChange(TXRayElement& chosen) override;
};

class TOrientsForm : public TRollUpForm {
  Q_OBJECT

 public:
  TOrientsForm(TTypeEdits& edits, TWorkspacePrompts& prompts, QWidget* parent = nullptr);
  QComboBox* AffectedArea() const { return fArea; }

 protected:
  void MainCBChange(TXRayElement& chosen) override;

 private:
  QComboBox* fArea = nullptr;
};

// "PCAs": the points of each shape analysis and the import of its population data; any
// change of the points makes the data not valid until the next import.
class TPCAsForm : public TRollUpForm {
  Q_OBJECT

 public:
  TPCAsForm(TTypeEdits& edits, TWorkspacePrompts& prompts, QWidget* parent = nullptr);
  TXRPCA* ChosenPca() const;
  // Digitized points, then derived points, in type order.
  TCheckList* PointList() const { return fPoints; }
  QLabel* DataNotValid() const { return fNotValid; }
  // "Import &Data..." of the chosen file.
  void ImportData(const std::string& path);

 protected:
  void MainCBChange(TXRayElement& chosen) override;

 private:
  TCheckList* fPoints = nullptr;
  QLabel* fNotValid = nullptr;
};

}  // namespace lumacet
