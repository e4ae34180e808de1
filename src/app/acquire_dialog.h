// "&Acquire...": the scanner window. It lists the SANE devices, takes a preview of the
// whole bed on which an area can be drawn, and scans with the chosen resolution, mode,
// depth and number of passes, showing a progress window whose Cancel stops the scanner.
#pragma once

#include <QDialog>
#include <QImage>

#include <memory>
#include <optional>

#include "platform/sane_scanner.h"

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace lumacet {

class TRadiograph;
struct TSettings;
class TUserLevels;

class TAcquireDialog : public QDialog {
  Q_OBJECT

 public:
  // Starts SANE and lists its devices; `passes` and `reduction` are "Multiscan" and
  // "Noise Reduction".
  TAcquireDialog(int passes, TNoiseReduction reduction, QWidget* parent = nullptr);
  ~TAcquireDialog() override;

  // "&Preview": the whole bed at a low resolution; a drag over it chooses the area.
  void Preview();
  // "&Scan": on success the dialog is accepted with the scan as its result.
  void Scan();

  const TScan& Result() const { return fResult; }
  int Passes() const;
  TNoiseReduction Reduction() const;
  // The area drawn on the preview, in millimetres; none: the device's own.
  std::optional<TScanArea> Area() const { return fArea; }
  // What the panel says: the last problem, or what to do next.
  QString Status() const;

 private:
  class TPreviewArea;

  void OpenDevice();
  TScanSettings Settings() const;
  // Runs the scan on a worker thread behind a modal progress window.
  bool RunScan(const TScanSettings& settings, int passes, TScan& scan);
  void SetStatus(const QString& text);
  void UpdateControls();

  std::unique_ptr<TSaneSession> fSession;
  std::unique_ptr<TSaneScanner> fScanner;
  TScanCapabilities fCapabilities;
  TScan fResult;
  std::optional<TScanArea> fArea;
  QComboBox* fDevices = nullptr;
  QSpinBox* fResolution = nullptr;
  QComboBox* fMode = nullptr;
  QComboBox* fDepth = nullptr;
  QSpinBox* fPasses = nullptr;
  QComboBox* fReduction = nullptr;
  TPreviewArea* fPreview = nullptr;
  QLabel* fStatus = nullptr;
  QPushButton* fPreviewButton = nullptr;
  QPushButton* fScanButton = nullptr;
};

// The whole of "&Acquire..." for the current object: the save prompt for a changed image,
// the dialog, and the scan installed as the object's image with its pixel size. The
// chosen passes and noise reduction are kept in the settings. True when an image came.
bool AcquireImage(QWidget* parent, TRadiograph& object, TSettings& settings, const TUserLevels& levels);

}  // namespace lumacet
