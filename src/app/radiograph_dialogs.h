// The particulars dialogs: "New Radiograph" and "Properties" (one dialog, two modes) for a
// radiograph, and the type properties dialog. Bad input is refused with its message, the
// field it concerns gets the focus, and nothing changes.
#pragma once

#include <QDialog>
#include <QImage>

#include <cstdint>
#include <string>
#include <vector>

#include "shell/radiograph_entry.h"
#include "shell/settings.h"
#include "shell/workspace.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace lumacet {

class TNewXRayDlg : public QDialog {
  Q_OBJECT

 public:
  enum class TMode { New, Properties };

  TNewXRayDlg(TMode mode, TRadiographDialogContext context, QWidget* parent = nullptr);

  // New mode: the defaults of the settings ("Def&aults" puts them in again).
  void ShowDefaults(const TRadiographSettings& defaults);
  // Properties mode: the radiograph's particulars, and its changes when it is modified.
  void ShowRadiograph(const TXRay& xray);

  QString TypeName() const;
  // Takes the accepted particulars: name, sex, dates, magnification, comments, data file;
  // in properties mode the change is recorded.
  void ApplyTo(TXRay& xray) const;
  // The rest of "&New..." once the dialog is accepted: a radiograph of the chosen type in
  // the first free slot, made current, with the particulars; with "Default Remember" on,
  // the entries become the next defaults. Its slot, or negative as NewXRayBasic gives.
  int CreateIn(TWorkspace& workspace, TWorkspacePrompts& prompts, TRadiographSettings& defaults) const;

  // OK: checks the fields and stays open on the first refusal.
  void accept() override;

 private:
  void PutDefaults();
  void ChooseDataFile();
  // The fields as they stand.
  TRadiographEntry Entry() const;
  void Refuse(const TText& message, QWidget* field);

  TMode fMode;
  TRadiographDialogContext fContext;
  TRadiographSettings fDefaults;
  TEntryCheck fAccepted;
  QComboBox* fType = nullptr;
  QLineEdit* fName = nullptr;
  QLineEdit* fDateOfBirth = nullptr;
  QLineEdit* fDateTaken = nullptr;
  QRadioButton* fFemale = nullptr;
  QRadioButton* fMale = nullptr;
  QLineEdit* fMagnification = nullptr;
  QLineEdit* fComments = nullptr;
  QLineEdit* fDataFile = nullptr;
  QLineEdit* fImageFile = nullptr;
  QLabel* fChanged = nullptr;
  QPushButton* fDetails = nullptr;
  QPlainTextEdit* fHistory = nullptr;
};

// "P&roperties..." of a radiograph: the dialog, and on OK its particulars with the change
// recorded. False on Cancel.
bool EditRadiographProperties(TXRay& xray, TRadiographDialogContext context, QWidget* parent);

class TTypePropertiesDlg : public QDialog {
  Q_OBJECT

 public:
  TTypePropertiesDlg(TWorkspacePrompts& prompts, QWidget* parent = nullptr);

  void ShowType(const TXRayType& type);
  // The picture from a file; false (and the user told why) when it is no picture.
  bool TakePicture(const QString& path);
  // Takes name, picture, both overrides and the resolution choice, and records the change.
  void ApplyTo(TXRayType& type) const;

  void accept() override;

 private:
  void ChoosePicture();
  void ShowPicture();

  TWorkspacePrompts& fPrompts;
  QLineEdit* fName = nullptr;
  QLabel* fPicture = nullptr;
  QCheckBox* fScaleOverride = nullptr;
  QCheckBox* fPositionOverride = nullptr;
  QComboBox* fAutoDetect = nullptr;
  std::vector<uint8_t> fIconData;
  bool fIconIsIcon = true;
};

// "P&roperties..." of a type; false on Cancel.
bool EditTypeProperties(TXRayType& type, TWorkspacePrompts& prompts, QWidget* parent);

// The picture a type carries, decoded; a null image when it has none or it does not decode.
QImage TypePicture(const TXRayType& type);

}  // namespace lumacet
