// The dialogs that place the image under its tracing or turn and resize its pixels:
// "Image Position / Rotation", "Image Rotation (Resample)" and "Scale Image". They wire
// fields to the engine's image geometry and keep no rules of their own.
#pragma once

#include <QDialog>

#include <array>
#include <memory>
#include <vector>

#include "geometry/coordinates.h"
#include "model/image_store.h"
#include "simulation/image_geometry.h"
#include "support/result.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace lumacet {

class TImageRotation;
class TTwoPointAlignment;
class TRadiograph;

class TImagePositionDlg : public QDialog {
  Q_OBJECT

 public:
  // `locked`: the tracing follows the image; `centre`: the rotation centre.
  TImagePositionDlg(TRadiograph& radiograph, bool locked, TFloatPoint centre, QWidget* parent = nullptr);
  QLineEdit* XField() const { return fX; }
  QLineEdit* YField() const { return fY; }
  QLineEdit* AngleField() const { return fAngle; }
  QPushButton* SetPositionButton() const { return fSetPosition; }
  QPushButton* SetRotationButton() const { return fSetRotation; }

  void accept() override;
  void reject() override;

 signals:
  void Moved();

 private:
  void Show();
  void Position(double x, double y);
  void Rotation(double radians);

  TRadiograph& fRadiograph;
  bool fLocked;
  TFloatPoint fCentre;
  TImageFrame fKept;
  QLineEdit* fX = nullptr;
  QLineEdit* fY = nullptr;
  QLineEdit* fAngle = nullptr;
  QPushButton* fSetPosition = nullptr;
  QPushButton* fSetRotation = nullptr;
};

class TImageRotationDlg : public QDialog {
  Q_OBJECT

 public:
  TImageRotationDlg(TRadiograph& radiograph, bool locked, TFloatPoint centre, QWidget* parent = nullptr);
  ~TImageRotationDlg() override;
  QLineEdit* AngleField() const { return fAngle; }
  QPushButton* SetAtButton() const { return fSetAt; }
  QPushButton* ConvertButton() const { return fConvert; }

  void accept() override;
  void reject() override;

 signals:
  void Moved();

 private:
  std::unique_ptr<TImageRotation> fRotation;
  QLineEdit* fAngle = nullptr;
  QPushButton* fSetAt = nullptr;
  QPushButton* fConvert = nullptr;
};

class TImageScaleDlg : public QDialog {
  Q_OBJECT

 public:
  // `defaultWidth`, `defaultHeight`: "BMP Scale X" and "BMP Scale Y".
  TImageScaleDlg(TRadiograph& radiograph, double defaultWidth, double defaultHeight, QWidget* parent = nullptr);
  QLineEdit* PixelWidthField() const { return fPixelWidth; }
  QLineEdit* PixelHeightField() const { return fPixelHeight; }
  QLineEdit* WidthField() const { return fWidth; }
  QLineEdit* HeightField() const { return fHeight; }
  QLineEdit* ResolutionField() const { return fResolution; }
  QCheckBox* DownsampleBox() const { return fDownsample; }
  QCheckBox* KeepAspectBox() const { return fKeepAspect; }
  QPushButton* ApplySizeButton() const { return fApplySize; }
  QPushButton* ApplyPixelSizeButton() const { return fApplyPixelSize; }
  QPushButton* ApplyResolutionButton() const { return fApplyResolution; }
  QPushButton* DefaultButton() const { return fDefault; }

 private:
  void Finish(const TResult& result);
  void KeepAspect(QLineEdit* left, QLineEdit* other, bool widthLeft);

  TRadiograph& fRadiograph;
  QLineEdit* fPixelWidth = nullptr;
  QLineEdit* fPixelHeight = nullptr;
  QLineEdit* fWidth = nullptr;
  QLineEdit* fHeight = nullptr;
  QLineEdit* fResolution = nullptr;
  QCheckBox* fDownsample = nullptr;
  QCheckBox* fKeepAspect = nullptr;
  QPushButton* fApplySize = nullptr;
  QPushButton* fApplyPixelSize = nullptr;
  QPushButton* fApplyResolution = nullptr;
  QPushButton* fDefault = nullptr;
};

// "Align Tracing": not modal; while it is open the radiograph is aligning (its opener keeps
// the flag) and the clicks on the display are the marks.
class TAlignTracingDlg : public QDialog {
  Q_OBJECT

 public:
  // `movements` are the options "Adjust &Points" logs its movements with.
  TAlignTracingDlg(TRadiograph& radiograph, const TMovementOptions& movements, QWidget* parent = nullptr);
  ~TAlignTracingDlg() override;
  TRadiograph& Radiograph() const { return fRadiograph; }
  QComboBox* FirstPoint() const { return fFirst; }
  QComboBox* SecondPoint() const { return fSecond; }
  QComboBox* Orientation() const { return fOrientation; }
  // Re&size (None, Image, Tracing), &Translate and &Rotate (Image, Tracing).
  QComboBox* Option(int i) const { return fOptions.at(static_cast<size_t>(i)); }
  QComboBox* RefineDrawing() const { return fRefine; }
  QComboBox* AdjustDrawing() const { return fAdjust; }
  QLineEdit* HotZone() const { return fHotZone; }
  QSpinBox* Interpolate() const { return fInterpolate; }
  QSpinBox* Repeat() const { return fRepeat; }
  // "&Auto Refine" and "Adjust &Points".
  void Refine();
  void AdjustPoints();
  // A click of the display while aligning.
  void AddPoint(TFloatPoint at);
  const std::vector<TFloatPoint>& Marks() const;

 signals:
  void Aligned();

 private:
  void ChooseOrientation(int index);
  TAlignOptions Options() const;
  double HotZoneMm() const;

  TRadiograph& fRadiograph;
  const TMovementOptions& fMovements;
  std::unique_ptr<TTwoPointAlignment> fAlignment;
  QComboBox* fFirst = nullptr;
  QComboBox* fSecond = nullptr;
  QComboBox* fOrientation = nullptr;
  std::array<QComboBox*, 3> fOptions{};
  QComboBox* fRefine = nullptr;
  QComboBox* fAdjust = nullptr;
  QLineEdit* fHotZone = nullptr;
  QSpinBox* fInterpolate = nullptr;
  QSpinBox* fRepeat = nullptr;
};

}  // namespace lumacet
