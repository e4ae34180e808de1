// The "Move" dialog, which moves the selection by typed amounts and sets the rotation
// centre, and "Scale by...", which asks for the factor of a whole-tracing scaling.
#pragma once

#include <QDialog>

#include <functional>
#include <optional>

#include "model/movement.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace lumacet {

class TMovementTool;
class TRadiograph;

// A tool window that stays above the main window. Typed numbers that cannot be taken are
// named in the dialog's message line, and nothing moves.
class TMoveDetailedForm : public QDialog {
  Q_OBJECT

 public:
  // `current` gives the radiograph movements may run on (null when none may); `perform`
  // runs a movement of the selection through the program's one way of moving.
  TMoveDetailedForm(TMovementTool& tool, std::function<TRadiograph*()> current,
                    std::function<void(const TMovement&)> perform, QWidget* parent = nullptr);

  // After the current radiograph or the rotation centre changed.
  void Update();

  QLineEdit* DxField() const { return fDx; }
  QLineEdit* DyField() const { return fDy; }
  QLineEdit* AngleField() const { return fAngle; }
  QLineEdit* XField() const { return fX; }
  QLineEdit* YField() const { return fY; }
  QComboBox* PointList() const { return fPoints; }
  QLabel* Message() const { return fMessage; }

 signals:
  void CentreChanged();

 private:
  void Translate();
  void Rotate();
  void SetCentre();
  void SetCentreToPoint();
  // A refusal shown in the message line; an empty text clears it.
  void Show(const QString& message);

  TMovementTool& fTool;
  std::function<TRadiograph*()> fCurrent;
  std::function<void(const TMovement&)> fPerform;
  QLineEdit* fDx = nullptr;
  QLineEdit* fDy = nullptr;
  QLineEdit* fAngle = nullptr;
  QLineEdit* fX = nullptr;
  QLineEdit* fY = nullptr;
  QComboBox* fPoints = nullptr;
  QPushButton* fTranslate = nullptr;
  QPushButton* fRotate = nullptr;
  QPushButton* fSetToPoint = nullptr;
  QLabel* fMessage = nullptr;
};

// "Scale by...": reduce to life size, enlarge to radiograph size, or another factor.
class TScaleDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TScaleDlg(double magnification, QWidget* parent = nullptr);
  // The factor chosen; the dialog is accepted only with a valid one.
  double Factor() const;
  // An "Other" text that is not a positive number is refused and the dialog stays open.
  void accept() override;

 private:
  double fMagnification;
  QRadioButton* fReduce = nullptr;
  QRadioButton* fEnlarge = nullptr;
  QRadioButton* fOther = nullptr;
  QLineEdit* fOtherFactor = nullptr;
};

}  // namespace lumacet
