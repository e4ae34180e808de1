// The "Digitize" window: one floating window per radiograph being digitized, which leads
// the user through the protocol. It shows the element to place next with its marker in the
// element list, the placements of the selected point, the profile along the edge search
// line and the edge choice, the snake panel and the re-registration panel, and takes the
// digitize tool's clicks. Its keys are the main window's, which answer while either window
// is active (a floating tool window keeps its parent's keys). Everything it decides is the engine's (TDigitizing, TDigitizeTool).
#pragma once

#include <QDialog>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "digitize/digitize_tool.h"
#include "digitize/digitizing.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QToolButton;

namespace lumacet {

class TDigitizeWindow : public QWidget {
  Q_OBJECT

 public:
  // What the window asks of the program at every use: the tool's options of the moment,
  // the reference radiograph for "&Get [R]" and whether ending corrects to life size.
  struct TEnvironment {
    std::function<TDigitizeToolOptions()> Options;
    std::function<TXRay*()> Reference;
    std::function<bool()> ShowLifeSize;
    // The edge choice, one for the whole program: every window sets it back to "Most
    // prominent." when it is shown.
    TEdgeChoice* Choice = nullptr;
    // The shape model that predicts the point to place next, built once for the session.
    std::optional<TLandmarkModel> Model;
  };
  TDigitizeWindow(std::unique_ptr<TDigitizing> digitizing, TEnvironment environment, QWidget* parent);
  ~TDigitizeWindow() override;

  TDigitizing& Digitizing() { return *fDigitizing; }
  TXRay& Radiograph() const { return fDigitizing->Radiograph(); }
  // The digitize tool's mouse move over the display, tracing units.
  void PointerMoved(TFloatPoint at);
  void PointerLeft();
  // A click of the digitize tool: a placement at the edge-locked position (left button with
  // edge lock on) or at the click; the right button on a snake moves the snake there.
  void Clicked(TFloatPoint at, bool left);
  // A report of the tablet: a placement where the film lies on it, without edge lock.
  void TabletAt(TFloatPoint at);
  // A press of the digitize tool on a handle of the selected snake (`pixel` tracing units a
  // screen pixel): with the left button a point, "Translate" or "Rotate" starts a drag and
  // the other icons run their commands. True when a handle took the press; anything else
  // is a click.
  bool Pressed(TFloatPoint at, bool left, double pixel);
  // The handle under the pointer, for the pointer's shape.
  std::optional<TSnakeHandle> HandleUnder(TFloatPoint at, double pixel) const;
  // While a handle is dragged: the snake follows; released, the drag ends as one step for
  // Ctrl+Z. False when no handle is being dragged.
  bool Dragged(TFloatPoint at);
  bool Released(TFloatPoint at);
  // Enter and Space: a placement at the last pointer position over the display; in the
  // re-registration's last step, "Proc&eed".
  void Accept();
  // Ctrl+Z: the last placement or snake change taken back (while re-registering, "&Back").
  bool Undo();
  TDigitizeStep UndoStep() const { return fDigitizing->UndoStep(); }
  // G: "Go to prediction", the pointer moved to where the selected point is expected.
  void GoToPrediction();
  // Backspace: "&Delete".
  void DeleteLast();
  void Next();
  void Previous();
  // "&End Digitization": the statistics and their question; true when digitizing ended.
  bool End();
  // Ends without asking, as when the radiograph closes.
  void Abandon();
  // Over the display, after everything else.
  void DrawOverlay(TCanvas& canvas) const;
  // After the radiograph or its image changed from outside the window.
  void Update();
  // Each beep of the protocol goes here; QApplication::beep unless set.
  void SetBeeper(std::function<void()> beep) { fBeep = std::move(beep); }
  const TDigitizeTool& Tool() const { return fTool; }

 signals:
  // The tracing changed: the main window redraws and brings its commands up to date.
  void Changed();
  // The pointer's cursor lines and hint moved: only the display's overlay is painted again.
  void OverlayChanged();
  // "Auto Center Digitizing": the display should show this tracing point.
  void CentreRequested(double x, double y);
  // Digitizing ended: the main window releases the window.
  void Ended();
  // The pointer should be over this tracing point of the display.
  void PointerRequested(double x, double y);
  // A placement was checked against its prediction: the flag for the status bar, empty when
  // the placement lay where it was expected.
  void PlacementChecked(const QString& flag);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  class TPlacementsBox;
  class TProfileBox;

  void Build();
  // "A&uto...": "Select Points to Update".
  void ChoosePointsToUpdate();
  // "&Fit", "&Reset" and "&Auto All", from their buttons or the snake's icons.
  void FitSnake();
  void ResetSnake();
  void AutoAll();
  void ShowSelection();
  void FillElements();
  void Place(TFloatPoint position);
  void Placed(const TPlacement& placement);
  const TGreyPlane& Plane();
  void Changes();
  TDigitizeToolOptions Options() const;

  std::unique_ptr<TDigitizing> fDigitizing;
  TEnvironment fEnvironment;
  TDigitizeTool fTool;
  std::function<void()> fBeep;
  // The grey plane of the radiograph's image, made again when the picture changes.
  TGreyPlane fPlane;
  const void* fPlaneOf = nullptr;
  std::size_t fPlaneSize = 0;
  std::uint32_t fPlaneProbe = 0;
  bool fEnded = false;

  QLabel* fMode = nullptr;
  QComboBox* fProtocol = nullptr;
  QComboBox* fElement = nullptr;
  QStackedWidget* fPanels = nullptr;
  TPlacementsBox* fPlacements = nullptr;
  TProfileBox* fProfile = nullptr;
  QToolButton* fGraph = nullptr;
  QSpinBox* fHotZone = nullptr;
  QSpinBox* fPointCount = nullptr;
  QPushButton* fBack = nullptr;
  QPushButton* fProceed = nullptr;
  QPushButton* fGoToPrediction = nullptr;
  TEdgeGraph fGraphShown = TEdgeGraph::SecondDerivative;
};

// "Select Digitizing Input": where the picture of a radiograph to digitize comes from.
class TDigitizingInputDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TDigitizingInputDlg(QWidget* parent = nullptr);
  // The input chosen (kInputScanner, kInputDigitizer, kInputImageFile), kInputNone after Cancel.
  int Input() const { return fInput; }
  // "&Use the same selection in the future without asking."
  bool Remember() const;

 private:
  int fInput = -1;
  QCheckBox* fRemember = nullptr;
};

}  // namespace lumacet
