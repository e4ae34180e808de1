// The tablet dialogs: the properties of one definition with its test read-out, and the
// error boxes and Retry question opening a tablet brings.
#pragma once

#include <QDialog>

#include <memory>

#include "digitize/digitizer.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class QWidget;

namespace lumacet {

// An error box of the tablet (OK and Help).
void ShowTabletError(QWidget* parent, const TText& message);
// Opens the tablet; a port that cannot be reached is offered again (Retry and Cancel), and
// each initialization command that could not be sent is told. False when it did not open,
// the failure told.
bool OpenTablet(QWidget* parent, TDigitizer& digitizer);

class TDigitizerProperties : public QDialog {
  Q_OBJECT

 public:
  // Shows `definition`; OK copies the controls into it when they can be taken.
  explicit TDigitizerProperties(TDigitizer& definition, QWidget* parent = nullptr);
  ~TDigitizerProperties() override;

  void accept() override;
  void done(int result) override;
  bool Testing() const { return fTest != nullptr; }
  // "Start &Test" and "Stop &Test".
  void ToggleTest();

 private:
  void ShowDefinition();
  // The controls as they stand, into `digitizer`.
  void Copy(TDigitizer& digitizer) const;
  void EnablePanels();
  void StopTest();
  void PollTest();

  TDigitizer& fDefinition;
  std::unique_ptr<TDigitizer> fTest;
  QTimer* fTimer = nullptr;
  QCheckBox* fWinTab = nullptr;
  QWidget* fSerialPanel = nullptr;
  QWidget* fWinTabPanel = nullptr;
  QComboBox* fBaud = nullptr;
  QComboBox* fDataBits = nullptr;
  QComboBox* fParity = nullptr;
  QComboBox* fStopBits = nullptr;
  QComboBox* fPort = nullptr;
  QLineEdit* fControl = nullptr;
  QPlainTextEdit* fCommands = nullptr;
  QLineEdit* fResolution = nullptr;
  QLineEdit* fYOrigin = nullptr;
  QPushButton* fTestButton = nullptr;
  QLabel* fX = nullptr;
  QLabel* fY = nullptr;
  QLabel* fReceived = nullptr;
};

}  // namespace lumacet
