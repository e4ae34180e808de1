// TPCAViewForm, "PCA Viewer": the shape changes along the principal components of a PCA
// element, drawn in the consensus frame, and the current radiograph's shape statistics as
// text. Runs modally for the type of the current object.
#pragma once

#include <QDialog>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "geometry/coordinates.h"

class QAction;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QSlider;
class QWidget;

namespace lumacet {

class TCanvas;
class TPcaStatistics;
class TRadiograph;
class TXRGraphic;
class TXRPCA;

inline constexpr std::string_view kPcaDataMissingMessage = "Data is missing or invalid.";

// The consensus deformed along the components: consensus_j + sum over i of
// deviations[i] sqrt(variance i) loading[j][i], deviations in standard deviations (one per
// component, missing ones 0). The element's data must be usable.
std::vector<double> DeformedShape(const TXRPCA& pca, const std::vector<double>& deviations);

// The "&Text" page for the radiograph whose coordinates are loaded in the element's type;
// lines end "\r\n".
std::string PcaViewText(TXRPCA& pca, TPcaStatistics& statistics);

// What the graph shows, in consensus coordinates (unit centroid size about the origin).
struct TPcaGraph {
  std::vector<TFloatPoint> Consensus;
  std::vector<TFloatPoint> Current;  // empty when the radiograph cannot be measured
  // The deformed shape; with "&Extremes" also the shape deformed the other way.
  std::vector<std::vector<TFloatPoint>> Extremes;
  std::vector<std::string> Labels;               // one per point
  std::vector<std::pair<size_t, size_t>> Lines;  // point index pairs joined by the drawing
  bool ShowCurrent = true;
  bool ShowConsensus = true;
  bool ShowLines = true;
  bool ShowLabels = false;
  bool ShowAxes = true;
};

// The graph fitted into the canvas's whole device area: grid, axes, lines, markers, labels.
void PaintPcaGraph(TCanvas& canvas, const TPcaGraph& graph);

// Pairs of the element's point indices that consecutive points of the drawing join.
std::vector<std::pair<size_t, size_t>> DrawingLinks(const TXRPCA& pca, const TXRGraphic& drawing);

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
