// TPCAViewForm, "PCA Viewer": the shape changes along the principal components of a PCA
// element, drawn in the consensus frame, and the current radiograph's shape statistics as
// text. Runs modally for the type of the current object.
#pragma once

#include <QDialog>

#include <string>
#include <vector>

#include "population/pca_view.h"

class QAction;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QSlider;
class QWidget;

namespace lumacet {

class TPcaStatistics;
class TRadiograph;
class TXRPCA;

class TPCAViewForm : public QDialog {
  Q_OBJECT

 public:
  // `current` stays loaded in its type while the viewer shows.
  TPCAViewForm(TRadiograph& current, TPcaStatistics& statistics, QWidget* parent = nullptr);

  QComboBox* PcaList() const { return fPcas; }
  QComboBox* ComponentList() const { return fComponents; }
  QSlider* Slider() const { return fSlider; }
  QLabel* SliderValue() const { return fValue; }
  QPlainTextEdit* TextPage() const { return fText; }
  QWidget* GraphArea() const { return fArea; }
  // The toggle of that caption ("&Current"), or null.
  QAction* Toggle(const QString& caption) const;
  // "&Hold" and "&Reset All".
  void Hold();
  void ResetAll();
  // The drawing "&Drawing..." chooses; an unknown name draws no lines.
  void SetDrawing(const std::string& name);
  // What is drawn now.
  TPcaGraph Graph() const;
  // "&Copy": the picture on the clipboard as SVG and PNG.
  void CopyPicture();
  // "&Save as SVG...": false when the file could not be written (and the user was told).
  bool SavePicture(const std::string& path);

 private:
  TXRPCA* CurrentPca() const;
  void PcaChosen();
  void ComponentChosen();
  void ShowComponents();
  void SliderMoved();
  void ChooseDrawing();
  void Redraw();

  TRadiograph& fCurrent;
  TPcaStatistics& fStatistics;
  QComboBox* fPcas = nullptr;
  QWidget* fArea = nullptr;
  QComboBox* fComponents = nullptr;
  QSlider* fSlider = nullptr;
  QLabel* fValue = nullptr;
  QPlainTextEdit* fText = nullptr;
  std::vector<QAction*> fToggles;
  std::vector<double> fHeld;  // standard deviations, per component
  std::string fDrawing;
};

}  // namespace lumacet
