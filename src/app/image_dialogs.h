// The image dialogs: JPEG options for saving, the three enhancement dialogs (levels,
// brightness / contrast / gamma, colorize) and the DICOM patient-data question. The
// enhancement dialogs work on the image store they are given: on showing they keep a
// snapshot of the display bitmap, every change restores the snapshot and adjusts it anew (so
// effects never accumulate), OK keeps the result with the snapshot as the undo image and
// records the change, Cancel puts the image back as it was.
#pragma once

#include <QDialog>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/dicom_patient_data.h"
#include "imaging/image_adjust.h"
#include "imaging/image_commands.h"
#include "imaging/jpeg_codec.h"
#include "imaging/medical_readers.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QScrollBar;
class QSlider;
class QSpinBox;

namespace lumacet {

class TRadiograph;

inline constexpr std::string_view kNoLutFilesMessage = "No Color Look-Up files (*.LUT) were found.";

// "JPEG Options": quality 1..100 (90 at first) and grey output.
class TJpegOptionsDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TJpegOptionsDlg(QWidget* parent = nullptr);
  TJpegOptions Options() const;
  void SetOptions(const TJpegOptions& options);

 private:
  QSlider* fQuality = nullptr;
  QLabel* fQualityLabel = nullptr;
  QCheckBox* fGrayscale = nullptr;
};

// "DICOM Frame": the frame of a multi-frame file to show, "Frame:" 1..count (1 at first).
class TDicomFrameDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TDicomFrameDlg(int32_t count, QWidget* parent = nullptr);
  int32_t Frame() const;
  QSpinBox* FrameBox() const { return fFrame; }

 private:
  QSpinBox* fFrame = nullptr;
};

// Called after every change of the image, so that the display shows it at once.
using TImageChanged = std::function<void()>;

// What the enhancement dialogs share: the snapshot, OK and Cancel.
class TImageAdjustDialog : public QDialog {
  Q_OBJECT

 public:
  // OK: keeps the result, the snapshot as undo image, and records the change.
  void accept() override;
  // Cancel: the image as it was before the dialog.
  void reject() override;

 protected:
  TImageAdjustDialog(TRadiograph& radiograph, TImageDialog kind, TImageChanged changed, QWidget* parent);
  // The display bitmap becomes the snapshot again.
  void Restore();
  void Changed();

  TRadiograph& fRadiograph;
  TBitmap32 fSnapshot;
  TRawImage fRawBefore;  // window and gamma, for Cancel after the levels changed them

 private:
  TImageDialog fKind;
  TImageChanged fChanged;
};

// A strip that shows a 256-bin histogram with arrows under it; the arrows are dragged with
// the mouse.
class THistogramStrip;

// "Adjust Levels".
class THistoAdjDlg : public TImageAdjustDialog {
  Q_OBJECT

 public:
  THistoAdjDlg(TRadiograph& radiograph, TImageChanged changed = {}, QWidget* parent = nullptr);

  enum class TMode { Original, Current8Bit };
  TMode Mode() const { return fMode; }
  void SetMode(TMode mode);
  int Black() const { return fBlack; }
  int White() const { return fWhite; }
  double Gamma() const { return fGamma; }
  int RangeLow() const { return fRangeLow; }
  int RangeHigh() const { return fRangeHigh; }
  // As if the arrows were dragged there and released; held to their limits.
  void SetBlackWhite(int black, int white);
  void SetRange(int low, int high);
  // The gamma box's text followed by Enter: a number is held to 0.1 .. 10, anything else is
  // ignored.
  void EnterGamma(const QString& text);
  // The grey arrow dragged to a position between black and white.
  void SetGreyArrow(double position);
  int GreyArrow() const;
  // The large histogram as drawn.
  const std::array<std::uint32_t, 256>& Histogram() const { return fHistogram; }

 private:
  void Apply();
  void UpdateHistogram();
  void UpdateTexts();
  int MaxSample() const;

  TMode fMode = TMode::Original;
  int fBlack = 0;
  int fWhite = 255;
  double fGamma = 1.0;
  int fRangeLow = 0;
  int fRangeHigh = 255;
  std::array<std::uint32_t, 256> fHistogram{};
  THistogramStrip* fRawStrip = nullptr;
  THistogramStrip* fLevelsStrip = nullptr;
  QButtonGroup* fModes = nullptr;
  QLineEdit* fGammaBox = nullptr;
  QLabel* fRangeLabel = nullptr;
  QLabel* fLevelsLabel = nullptr;
};

// "Brightness - Contrast - Gamma".
class TConBrightAdjDlg : public TImageAdjustDialog {
  Q_OBJECT

 public:
  TConBrightAdjDlg(TRadiograph& radiograph, TImageChanged changed = {}, QWidget* parent = nullptr);
  TBrightnessContrastGamma Values() const;
  // As if the scroll bars were moved there and the boxes clicked.
  void SetValues(const TBrightnessContrastGamma& values);

 private:
  void Apply();
  void UpdateCaptions();

  std::array<QScrollBar*, 3> fBars{};
  std::array<QCheckBox*, 3> fBoxes{};
};

// "Colorize": the ".lut" files of the given folders, first folder first.
class TColorizeDlg : public TImageAdjustDialog {
  Q_OBJECT

 public:
  TColorizeDlg(TRadiograph& radiograph, const std::vector<std::string>& folders, TImageChanged changed = {},
               QWidget* parent = nullptr);
  // False when no look-up file was found (the dialog then says so and closes).
  bool HasTables() const { return !fFiles.empty(); }
  int exec() override;
  // Selects and applies the file at that row of the list.
  void Select(int row);
  const std::vector<std::string>& Files() const { return fFiles; }

 private:
  std::vector<std::string> fFiles;
  QListWidget* fList = nullptr;
  QLabel* fBar = nullptr;
};

// "Updata from DICOM data": OK applies what was chosen (or everything, "Update &All").
class TUpdataDICMDlg : public QDialog {
  Q_OBJECT

 public:
  TUpdataDICMDlg(const TRadiograph& radiograph, const TDicomInfo& info, const TTextFormats& formats,
                 QWidget* parent = nullptr);
  TDicomUpdate Chosen() const { return fChosen; }
  // The item boxes in order: name, ID, sex, birth date, date taken.
  QCheckBox* Box(int item) const { return fBoxes[static_cast<std::size_t>(item)]; }

 private:
  std::array<QCheckBox*, 5> fBoxes{};
  TDicomUpdate fChosen;
  TDicomUpdate fAll;
};

}  // namespace lumacet
